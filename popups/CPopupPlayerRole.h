#pragma once
// The choice of the role a player fills in the team: the sixteen roles in
// four lists (goalkeeper, defence, midfield, attack), each row with the
// role's picture, its name, the player's rating in it and a mark for his
// natural role (a star) or a role he can play (a tick). OK ends the popup
// with 884 and the chosen role only when it differs from the one he had;
// OK on the unchanged role ends it as cancel (883). The owner stores the
// role. Opened for an outfield place, the goalkeeper's row cannot be chosen.
#include "shell/CGamePopup.h"
#include "shell/PlayerRowIcons.h"

#include <cstdint>
#include <memory>
#include <vector>

class CPlayerDatabase;
class CXAnimation;
class CXListBox;

class CPopupPlayerRole : public CGamePopup {
public:
    enum : uint32_t { ID_KEEPER_LIST = 685, ID_DEFENCE_LIST = 686, ID_MIDFIELD_LIST = 687, ID_ATTACK_LIST = 688 };

    CPopupPlayerRole();
    ~CPopupPlayerRole() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // Opens the popup for the player, who plays nRole now; with
    // byFirstListFlag 0 the goalkeeper's role can be neither chosen nor
    // confirmed. False when there is no player, the role is out of range or
    // the popup cannot open.
    bool Show(uint8_t byFirstListFlag, const CPlayerDatabase* pPlayer, int nRole);
    // The list and row of a role; false (with a log line) for a role out of
    // range.
    static bool GetCorrectListBox(int nRole, uint32_t& dwListID, int& nRow);
    // The role chosen at the end: the starting role unless OK changed it.
    int GetChosenRole() const { return m_nChosenRole; }
    int GetStartingRole() const { return m_nStartingRole; }
    const CPlayerDatabase* GetPlayer() const { return m_pPlayer; }
    uint32_t GetCurrentList() const { return m_dwCurrentList; }
    CXListBox* GetList(uint32_t dwID) const;
    // The role of the current list's selected row; -1 without one.
    int GetSelectedRole() const;

private:
    void Fill();
    void Confirm();
    bool IsChoosable(uint32_t dwID) const;
    void SetCurrentList(uint32_t dwID);

    const CPlayerDatabase* m_pPlayer = nullptr;
    uint8_t m_byFirstListFlag = 0;
    int m_nStartingRole = 0;
    int m_nChosenRole = 0;
    uint32_t m_dwCurrentList = 0;
    PlayerRowIcons m_RowIcons;
};
