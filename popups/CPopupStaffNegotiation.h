#pragma once
// A weekly wage offered to a staff member: a new wage for one of the human
// club's staff at once, or an offer the staff member answers later.
#include "popups/CDecisionPopup.h"

class CStaffDatabase;

class CPopupStaffNegotiation : public CDecisionPopup {
public:
    enum : uint32_t { ID_WEEKLY_WAGE = 874 };
    CPopupStaffNegotiation();
    void SetStaff(CStaffDatabase* pStaff) { m_pStaff = pStaff; }

protected:
    void AddControls() override;
    bool Confirm() override;

private:
    CStaffDatabase* m_pStaff = nullptr;
};
