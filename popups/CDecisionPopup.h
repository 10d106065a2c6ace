#pragma once
// The base of the small popups in which the human manager settles one
// transfer or contract question for one player or staff member: the caption
// and labels, the colour boxes, the OK and Cancel pair, money edits with
// spin buttons and plain read-outs. A member's Confirm makes its database
// calls; the popup closes with 884 when it answers true. A refusal of the
// database is told in the message box and the popup stays open.
#include "shell/CGamePopup.h"

#include <cstdint>

class CClubDatabase;
class CDatabaseHandler;
class CPlayerDatabase;
class CSaveGame;
class CXEdit;
class CXStatic;

class CDecisionPopup : public CGamePopup {
public:
    // The refusals told in the message box.
    enum : int {
        MESSAGE_ALREADY_LISTED = 120,
        MESSAGE_BID_REFUSED = 121,
        MESSAGE_EXTENSION_REFUSED = 122,
        MESSAGE_TOO_LATE_TO_EXTEND = 123,
    };
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // The player the popup works on; set before it opens.
    void SetPlayer(CPlayerDatabase* pPlayer) { m_pPlayer = pPlayer; }
    CPlayerDatabase* GetPlayer() const { return m_pPlayer; }

    // Writes an amount in the stored unit into a money edit.
    static void SetMoney(CXEdit* pEdit, int32_t nAmount);
    // Weeks left on his contract and his wage for them (the yearly wage over
    // 52, whole units).
    static int WeeksLeft(const CPlayerDatabase& player);
    static int32_t PayOff(const CPlayerDatabase& player);

protected:
    CDecisionPopup(uint16_t wScreenID, int nCaptionItem, int nLabels, int x, int y, int nWidth, int nHeight);

    // The popup's own controls, added after OK and Cancel.
    virtual void AddControls() = 0;
    // OK: true closes the popup.
    virtual bool Confirm() = 0;
    // The club whose colours the boxes show: the human's unless a member
    // says else.
    virtual const CClubDatabase* ColourClub() const;

    // A money edit with its spin pair (ids 909/910, a second edit 911/912).
    CXEdit* AddMoneyEdit(uint32_t dwID, int x, int y, int nWidth, int nMinimum, int nMaximum, int nStep, int nChars,
                         uint32_t dwSpinUp);
    CXStatic* AddReadout(uint32_t dwID, int x, int y, int nWidth);
    // Tells a refusal; the popup stays open.
    static void Refuse(int nMessage);

    static CDatabaseHandler* Database();
    static CSaveGame* Human();
    static CClubDatabase* HumanClub();
    // The club of the player worked on, for the members that show it.
    const CClubDatabase* PlayerClub() const;

    CPlayerDatabase* m_pPlayer = nullptr;

private:
    int m_nCaptionItem;
    int m_nLabels;
};
