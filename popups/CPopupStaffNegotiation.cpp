#include "popups/CPopupStaffNegotiation.h"

#include "popups/PopupLook.h"
#include "shell/ScreenIDs.h"

#include "database/CStaffDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"

namespace {
constexpr int kCaptionItem = 48;
constexpr int kLabels = 48;
}  // namespace

CPopupStaffNegotiation::CPopupStaffNegotiation()
    : CDecisionPopup(SCREEN_STAFF_NEGOTIATION_POPUP, kCaptionItem, kLabels, 370, 255, 220, 140)
{
}

void CPopupStaffNegotiation::AddControls()
{
    CXEdit* pWage = AddMoneyEdit(ID_WEEKLY_WAGE, 90, 40, 50, 1, 999999, 100, 7, 909);
    SetMoney(pWage, m_pStaff ? static_cast<int32_t>(m_pStaff->m_dwWage / 52) : 0);
    SetFocus(pWage);
}

bool CPopupStaffNegotiation::Confirm()
{
    CSaveGame* pHuman = Human();
    if (!m_pStaff || !pHuman)
        return true;
    const int32_t nYearly = popup_look::ReadMoney(dynamic_cast<CXEdit*>(FindControl(ID_WEEKLY_WAGE))) * 52;
    if (m_pStaff->m_pClub && m_pStaff->m_pClub == HumanClub()) {
        m_pStaff->ChangeWage(static_cast<uint32_t>(nYearly));
    } else if (STAFFNEGOTIATION* pOpen = pHuman->FindStaffNegotiation(m_pStaff->GetId())) {
        // A second offer replaces the first rather than standing beside it.
        pOpen->nOffer = nYearly;
    } else {
        pHuman->AddStaffNegotiation(m_pStaff->GetId(), nYearly);
    }
    return true;
}
