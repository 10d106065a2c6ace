#pragma once
// One staff member: his details and a written report on him, and the
// actions that fit him for the human manager: sacking or a new wage for one
// of his own staff; for anyone else a job offer (through the staff wage
// popup it owns), withdrawing it, or agreeing once he has accepted. Sacking,
// withdrawing and agreeing are asked in the message box first. The screen
// behind may let the user step through its staff.
#include "shell/CGamePopup.h"
#include "shell/CFormScript.h"

#include "common/Identifiers.h"

#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CPopupStaffNegotiation;
class CStaffDatabase;
class CXListBox;
class CXSurface;

class CPopupStaffDetails : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 77;
    enum : uint32_t {
        ID_REPORT = 771,
        ID_PREVIOUS = 773,
        ID_NEXT = 774,
        ID_SACK = 775,
        ID_OFFER = 776,
        ID_WITHDRAW = 777,
        ID_AGREE = 778,
        ID_NEW_WAGE = 779,
        ID_TITLE = 1056,
        ID_BIRTH = 1111,
        ID_AGE = 1112,
        ID_NATIONALITY = 1113,
        ID_RATING = 1114,
        ID_WAGE = 1115,
        ID_PREVIOUS_RATING = 1121,
        ID_ROLE = 1134,
        ID_QUALIFICATIONS = 1135,
    };
    // The questions asked in the message box, by message number.
    enum : int { MESSAGE_SACK = 431, MESSAGE_WITHDRAW = 432, MESSAGE_AGREE = 433 };

    CPopupStaffDetails();
    ~CPopupStaffDetails() override;

    // Opens the popup on the staff member; the option byte is kept for the
    // opener. False when he is none or the popup is open already.
    bool Show(CStaffDatabase* pStaff, uint8_t byOption);
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnEndMessageBoxPopup() override;
    void ConstructScreen() override;

    CStaffDatabase* GetStaff() const;
    uint8_t GetOption() const { return m_byOption; }
    // The action buttons his situation offers, in placement order.
    std::vector<uint32_t> GetActionButtons() const;
    CXListBox* Report() const;
    CPopupStaffNegotiation* Negotiation() const { return m_pNegotiation.get(); }
    // What sacking him costs the club: the screen behind's own figure when
    // it sacks him, else a month's wage.
    int32_t SackCost() const;

private:
    class CGameClient* Owner() const;
    // The screen behind sacks him itself: it has him chosen and says so.
    bool OwnerSacks() const;
    void AddControls();
    void ShowStaff();
    void FillReport(const CStaffDatabase& staff);
    void UpdateActionButtons();
    void Browse(bool bNext);
    void AskToSack();
    void Sack();

    ID_STAFF m_idStaff = 0;
    uint8_t m_byOption = 0;
    // The staff member the sacking question is about.
    ID_STAFF m_idAskedToSack = 0;
    CFormScript m_Report;
    std::unique_ptr<CXSurface> m_pSmallFaces;
    std::unique_ptr<CPopupStaffNegotiation> m_pNegotiation;
};

// The game's one staff details popup.
CPopupStaffDetails& GetStaffDetailsPopup();
// Opens it over the current screen or popup on the staff member with this
// id; false when there is none or it cannot open.
bool ShowStaffDetails(ID_STAFF idStaff, uint8_t byOption = 1);
