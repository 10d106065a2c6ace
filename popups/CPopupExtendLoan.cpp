#include "popups/CPopupExtendLoan.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CHistoryEntries.h"
#include "database/CEventsDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"
#include "xframework/CXStatic.h"

#include <algorithm>

namespace {
constexpr int kCaptionItem = 37;
constexpr int kLabels = 18;
constexpr uint8_t kLoanReturnEvent = 26;

const char* DateText(const CDate& date) { return FormatDate(date.GetDay(), date.GetMonth(), date.GetYear()); }
}  // namespace

CPopupExtendLoan::CPopupExtendLoan()
    : CDecisionPopup(SCREEN_EXTEND_LOAN_POPUP, kCaptionItem, kLabels, 330, 245, 300, 160)
{
}

const CClubDatabase* CPopupExtendLoan::ColourClub() const { return PlayerClub(); }

int CPopupExtendLoan::MostWeeks()
{
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    const CCountryDatabase* pCountry = pHuman ? pHuman->GetCountry() : nullptr;
    if (!pDatabase || !pCountry)
        return kMostWeeks;
    return std::min(kMostWeeks, pCountry->GetSeasonEndDate().DaysBetween(pDatabase->GetGameDate()) / 7);
}

int CPopupExtendLoan::Weeks() const
{
    const auto* pEdit = dynamic_cast<const CXEdit*>(const_cast<CPopupExtendLoan*>(this)->FindControl(ID_WEEKS));
    return pEdit ? pEdit->ReadNumber() : kFewestWeeks;
}

void CPopupExtendLoan::AddControls()
{
    AddReadout(ID_BEGAN, 90, 40, 70);
    AddReadout(ID_RETURN, 200, 40, 70);
    AddReadout(ID_NEW_RETURN, 90, 108, 70);
    CXEdit* pWeeks = popup_look::AddNumberEdit(*this, ID_WEEKS, 90, 74, 30, false, 2, 909, 910, 1, kFewestWeeks,
                                               std::max(kFewestWeeks, MostWeeks()));
    if (pWeeks) {
        pWeeks->m_nAlignment = 2;
        pWeeks->SetText("%d", kFewestWeeks);
        SetFocus(pWeeks);
    }
    DisplayDetails();
}

void CPopupExtendLoan::OnEditChange(CXControl* pControl)
{
    if (pControl && pControl->m_dwID == ID_WEEKS)
        DisplayDetails();
}

void CPopupExtendLoan::DisplayDetails()
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !m_pPlayer)
        return;
    // The club he returns to holds him; the loan's return is an event of his
    // country.
    if (!m_pPlayer->m_pClub) {
        DebugLog(1, "[CPopupExtendLoan::DisplayDetails] Could not find the club to return to for the player!");
        return;
    }
    const CEventsDatabase* pReturn =
        m_pPlayer->m_pCountry ? m_pPlayer->m_pCountry->FindEvent(kLoanReturnEvent, m_pPlayer->m_idPerson) : nullptr;
    if (!pReturn) {
        DebugLog(1, "[CPopupExtendLoan::DisplayDetails] Could not find the return loan event for the player!");
        return;
    }
    auto label = [this](uint32_t dwID) { return dynamic_cast<CXStatic*>(FindControl(dwID)); };
    // The start comes from the season's loan records of the borrowing club's
    // division; a loan made last season has none there and shows no start.
    const CClubDatabase* pBorrower = pDatabase->GetClubFromID(m_pPlayer->m_wLoanClubId);
    const LOANHISTORYVALUES* pLoan = pBorrower && pBorrower->m_pDivision
                                         ? pBorrower->m_pDivision->FindSeasonLoan(m_pPlayer->m_idPerson,
                                                                                  pBorrower->m_wClubId)
                                         : nullptr;
    if (CXStatic* pBegan = label(ID_BEGAN); pBegan && pLoan)
        pBegan->SetText("%s", FormatDate(pLoan->abyValues[0], pLoan->abyValues[1], pLoan->awValues[3]));
    if (CXStatic* pReturnDate = label(ID_RETURN))
        pReturnDate->SetText("%s", DateText(pReturn->GetDate()));
    if (CXStatic* pNewReturn = label(ID_NEW_RETURN))
        pNewReturn->SetText("%s", DateText(CDate(pReturn->GetDate().GetValue(), Weeks() * 7)));
}

bool CPopupExtendLoan::Confirm()
{
    CDatabaseHandler* pDatabase = Database();
    const CClubDatabase* pClub = HumanClub();
    if (!pDatabase || !m_pPlayer || !pClub)
        return true;
    const int nWeeks = std::clamp(Weeks(), kFewestWeeks, kMostWeeks);
    if (MostWeeks() < kFewestWeeks) {
        Refuse(MESSAGE_TOO_LATE_TO_EXTEND);
        return false;
    }
    // Only a player out on loan at the human's club has a loan to extend.
    const bool bOnLoanHere =
        m_pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN && m_pPlayer->m_wLoanClubId == pClub->m_wClubId;
    if (!bOnLoanHere ||
        pDatabase->MakeLoanOffer(m_pPlayer, kExtensionOffer, pClub->m_wClubId, static_cast<uint16_t>(nWeeks * 7), 0) != 0) {
        Refuse(MESSAGE_EXTENSION_REFUSED);
        return false;
    }
    return true;
}
