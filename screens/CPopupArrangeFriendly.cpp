#include "screens/CPopupArrangeFriendly.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/PlayerRowIcons.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/PersonOwners.h"
#include "season/CSaveGame.h"
#include "season/CTrainingManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>

namespace {

constexpr int kCaptionItem = 90;
constexpr int kLabels = 90;
constexpr int kVenueSet = 45;
constexpr int kVenues = 2;
constexpr int kWordsSet = 114;
constexpr int kNoDaysLeftWord = 90;
constexpr int kMostRowsShown = 16;

// The rows of the three choices hold the ids of their records.
CCountryDatabase* SelectedCountry(const CXComboBox* pBox)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const int nRow = pBox ? pBox->GetSelection() : -1;
    return pDatabase && nRow >= 0 ? pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(pBox->GetItemData(nRow)))
                                  : nullptr;
}

CDivisionDatabase* SelectedDivision(const CXComboBox* pBox)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const int nRow = pBox ? pBox->GetSelection() : -1;
    return pDatabase && nRow >= 0 ? pDatabase->GetDivisionFromID(static_cast<uint8_t>(pBox->GetItemData(nRow)))
                                  : nullptr;
}

CClubDatabase* SelectedClub(const CXComboBox* pBox)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const int nRow = pBox ? pBox->GetSelection() : -1;
    return pDatabase && nRow >= 0 ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(pBox->GetItemData(nRow))) : nullptr;
}

}  // namespace

CPopupArrangeFriendly::CPopupArrangeFriendly()
{
    m_wScreenID = kScreenID;
    SetPopupRect(360, 200, 240, 250);
}

bool CPopupArrangeFriendly::IsDateFree(const CDatabaseHandler& database, const CSaveGame& human,
                                       const CClubDatabase& opponent, const CDate& date)
{
    const CClubDatabase* pClub = human.GetClub();
    if (!pClub || pClub == &opponent)
        return false;
    for (const CClubDatabase* pSide : {pClub, &opponent})
        if (database.GetFixtureOpponent(pSide->m_wClubId, date, kClearDays, 2))
            return false;
    return !human.GetTrainingManager().FindClashingCamp(date, 1, nullptr);
}

std::vector<CDate> CPopupArrangeFriendly::FreeDates(const CDatabaseHandler& database, const CSaveGame& human,
                                                    const CClubDatabase& opponent, bool* pbNoDaysLeft)
{
    std::vector<CDate> dates;
    const CDate first(database.GetGameDate().GetValue(), kNoticeDays);
    CDate seasonEnd;
    database.GetSeasonEndDate(seasonEnd);
    const int nCount = seasonEnd.DaysBetween(first) - kSeasonEndDays;
    if (pbNoDaysLeft)
        *pbNoDaysLeft = nCount < 1;
    for (int d = 0; d < nCount; ++d) {
        const CDate day(first.GetValue(), d);
        if (IsDateFree(database, human, opponent, day))
            dates.push_back(day);
    }
    return dates;
}

CXComboBox* CPopupArrangeFriendly::Box(uint32_t dwID) const { return dynamic_cast<CXComboBox*>(FindControl(dwID)); }

void CPopupArrangeFriendly::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
    popup_look::DrawClubColourBoxes(*this);
}

bool CPopupArrangeFriendly::OnInitDialog()
{
    m_wScreenID = kScreenID;
    m_bFilling = true;
    m_Date = CDate();
    m_byVenue = VENUE_HOME;
    m_bFreeDates = false;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddCloseButton(true, false);
    CXScrollBar* apBars[2] = {};
    const uint32_t adwBars[2][3] = {{ID_CLUB_BAR, 885, 886}, {ID_DATE_BAR, 887, 888}};
    for (int i = 0; i < 2; ++i) {
        apBars[i] = static_cast<CXScrollBar*>(
            AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 120, adwBars[i][0], nullptr));
        if (apBars[i])
            apBars[i]->Create(adwBars[i][1], adwBars[i][2], 16, false, 0);
    }
    using popup_look::AddDropDown;
    using popup_look::TextColumn;
    AddDropDown(*this, ID_COUNTRY, 90, 40, 200, 840);
    AddDropDown(*this, ID_DIVISION, 90, 74, 200, 202);
    AddDropDown(*this, ID_CLUB, 90, 108, 200, 268, TextColumn(110), apBars[0]);
    AddDropDown(*this, ID_VENUE, 90, 142, 200, 174);
    AddDropDown(*this, ID_DATE, 90, 176, 200, 304, TextColumn(110), apBars[1]);
    ShowAllControls(true);
    // The scroll bars only serve the open lists.
    for (CXScrollBar* pBar : apBars)
        if (pBar)
            pBar->Show(false, false);

    // The human's own country first.
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    m_pCountry = pClub ? pClub->m_pCountry : nullptr;
    FillCountries();
    if (m_pCountry)
        popup_look::SelectValue(Box(ID_COUNTRY), m_pCountry->GetID());
    m_pCountry = SelectedCountry(Box(ID_COUNTRY));
    FillDivisions();
    TakeDivision();
    FillVenues();
    FillDates(0);
    m_bFilling = false;
    return true;
}

void CPopupArrangeFriendly::FillCountries()
{
    CXComboBox* pBox = Box(ID_COUNTRY);
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pBox || !pDatabase)
        return;
    pBox->ResetContent();
    for (CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>()) {
        // Only countries with a league have clubs to play.
        bool bLeague = false;
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            bLeague = bLeague || (pDivision->m_byKind == DIVISION_KIND_LEAGUE && pDivision->GetClubCount() > 0);
        if (!bLeague)
            continue;
        popup_look::AddTextRow(pBox, pCountry->GetName(), pCountry->GetID());
        if (CXAnimation* pFlag = PlayerRowIcons::NationFlag(GetCountryNationality(pCountry)))
            pBox->AddAlignedColumnGraphic(pBox->GetCount() - 1, pFlag, 2, 0, true);
    }
    pBox->Sort(0, true, LISTSORT_TEXT, 0);
    if (pBox->GetCount() > 0)
        pBox->SetCurSel(0);
}

void CPopupArrangeFriendly::FillDivisions()
{
    CXComboBox* pBox = Box(ID_DIVISION);
    if (!pBox)
        return;
    pBox->ResetContent();
    if (m_pCountry)
        for (CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
            if (pDivision->m_byKind == DIVISION_KIND_LEAGUE && pDivision->GetClubCount() > 0)
                popup_look::AddTextRow(pBox, pDivision->GetName(), pDivision->m_byDivisionId);
    if (pBox->GetCount() > 0)
        pBox->SetCurSel(0);
    pBox->Redraw();
}

void CPopupArrangeFriendly::FillClubs()
{
    CXComboBox* pBox = Box(ID_CLUB);
    if (!pBox)
        return;
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    const CClubDatabase* pOwn = pHuman ? pHuman->GetClub() : nullptr;
    pBox->ResetContent();
    if (m_pDivision)
        for (CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            if (pClub != pOwn)
                popup_look::AddTextRow(pBox, pClub->GetName(), pClub->m_wClubId);
    pBox->Sort(0, true, LISTSORT_TEXT, 0);
    // The open list shows at most 16 rows and scrolls the rest.
    const int nRows = std::min(pBox->GetCount(), kMostRowsShown) + 1;
    pBox->m_rcDropDown.bottom = pBox->m_rcDropDown.top + nRows * pBox->m_nRowHeight;
    if (pBox->GetCount() > 0)
        pBox->SetCurSel(0);
    pBox->Redraw();
}

void CPopupArrangeFriendly::FillVenues()
{
    CXComboBox* pBox = Box(ID_VENUE);
    if (!pBox)
        return;
    pBox->ResetContent();
    for (int i = 0; i < kVenues; ++i)
        popup_look::AddRow(pBox, kVenueSet, i, static_cast<uint32_t>(i));
    pBox->SetCurSel(0);
    m_byVenue = VENUE_HOME;
}

void CPopupArrangeFriendly::FillDates(uint32_t dwKeep)
{
    CXComboBox* pBox = Box(ID_DATE);
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    if (!pBox)
        return;
    pBox->ResetContent();
    bool bNoDaysLeft = true;
    const std::vector<CDate> dates = pDatabase && pHuman && m_pOpponent
                                         ? FreeDates(*pDatabase, *pHuman, *m_pOpponent, &bNoDaysLeft)
                                         : std::vector<CDate>();
    for (const CDate& date : dates)
        popup_look::AddTextRow(pBox, FormatPackedDate(date.GetValue()), date.GetValue());
    m_bFreeDates = !dates.empty();
    if (bNoDaysLeft)
        popup_look::AddTextRow(pBox, GetTableTextOrEmpty(kWordsSet, kNoDaysLeftWord), 0);
    if (!popup_look::SelectValue(pBox, dwKeep) && pBox->GetCount() > 0)
        pBox->SetCurSel(0);
    pBox->m_bNoDropDown = m_bFreeDates ? 0 : 1;
    if (CXButton* pArrow = pBox->ArrowButton())
        pArrow->Enable(!m_bFreeDates);
    // Too late in the season for any friendly: nothing to confirm.
    if (auto* pOk = dynamic_cast<CXButton*>(FindControl(kOkButtonID))) {
        pOk->Enable(bNoDaysLeft);
        pOk->Show(!bNoDaysLeft, true);
    }
    pBox->Redraw();
}

void CPopupArrangeFriendly::TakeDivision()
{
    m_pDivision = SelectedDivision(Box(ID_DIVISION));
    FillClubs();
    TakeOpponent();
}

void CPopupArrangeFriendly::TakeOpponent() { m_pOpponent = SelectedClub(Box(ID_CLUB)); }

void CPopupArrangeFriendly::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    m_bFilling = true;
    const uint32_t dwDate = popup_look::SelectedValue(Box(ID_DATE), 0);
    switch (dwID) {
    case ID_COUNTRY:
        m_pCountry = SelectedCountry(Box(ID_COUNTRY));
        FillDivisions();
        TakeDivision();
        FillDates(dwDate);
        break;
    case ID_DIVISION:
        TakeDivision();
        FillDates(dwDate);
        break;
    case ID_CLUB:
        TakeOpponent();
        FillDates(dwDate);
        break;
    case ID_VENUE:
        m_byVenue = static_cast<uint8_t>(popup_look::SelectedValue(Box(ID_VENUE), VENUE_HOME));
        break;
    default:
        CGamePopup::OnSelChange(dwID);
        break;
    }
    m_bFilling = false;
}

void CPopupArrangeFriendly::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kCancelButtonID) {
        Close();
        return;
    }
    if (dwID != kOkButtonID || !IsOnStack())
        return;
    m_dwResultID = 0;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    if (!m_bFreeDates || !m_pOpponent) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, kMessageNoDate);
        return;
    }
    const CDate date(popup_look::SelectedValue(Box(ID_DATE), 0));
    // The list was made before; another match or camp may have taken the day.
    if (!pDatabase || !pHuman || !date.IsValid() ||
        date < CDate(pDatabase->GetGameDate().GetValue(), kNoticeDays) ||
        !IsDateFree(*pDatabase, *pHuman, *m_pOpponent, date)) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, kMessageDateTaken);
        return;
    }
    m_Date = date;
    m_dwResultID = kOkButtonID;
    Close();
}
