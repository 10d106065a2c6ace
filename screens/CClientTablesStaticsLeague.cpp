#include "screens/CClientTablesStaticsLeague.h"

#include "popups/CPopupGeneralMatchDetails.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "platform/DeviceContext.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kRowHeight = 16;
constexpr COLORREF kText = plat::RGB(242, 242, 234);
constexpr int kLeagueCaptionSet = 160;
constexpr int kHomeAndAwayCaptionSet = 161;
// The points stand clear of the scroll bar that follows the last column.
constexpr int8_t kLastMargin = 10;

const LISTCOLUMN kLeagueColumns[] = {
    {0, 36, 4, 0, 2, 0, 1035, LISTSORT_NUMBER, 0},    {36, 188, 4, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {188, 218, 4, 0, 2, 0, 145, LISTSORT_NUMBER, 0},  {218, 248, 4, 0, 2, 0, 148, LISTSORT_NUMBER, 0},
    {248, 278, 4, 0, 2, 0, 149, LISTSORT_NUMBER, 0},  {278, 308, 4, 0, 2, 0, 150, LISTSORT_NUMBER, 0},
    {308, 338, 4, 0, 2, 0, 151, LISTSORT_NUMBER, 0},  {338, 368, 4, 0, 2, 0, 152, LISTSORT_NUMBER, 0},
    {368, 398, 4, 0, 2, 0, 146, LISTSORT_NUMBER, 0},  {398, 428, kLastMargin, 0, 2, 0, 147, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
// Goals for in place of the goal difference.
const LISTCOLUMN kLeagueGoalsColumns[] = {
    {0, 36, 4, 0, 2, 0, 1035, LISTSORT_NUMBER, 0},    {36, 188, 4, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {188, 218, 4, 0, 2, 0, 145, LISTSORT_NUMBER, 0},  {218, 248, 4, 0, 2, 0, 148, LISTSORT_NUMBER, 0},
    {248, 278, 4, 0, 2, 0, 149, LISTSORT_NUMBER, 0},  {278, 308, 4, 0, 2, 0, 150, LISTSORT_NUMBER, 0},
    {308, 338, 4, 0, 2, 0, 151, LISTSORT_NUMBER, 0},  {338, 368, 4, 0, 2, 0, 152, LISTSORT_NUMBER, 0},
    {368, 398, 4, 0, 2, 0, 971, LISTSORT_NUMBER, 0},  {398, 428, kLastMargin, 0, 2, 0, 147, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kHomeAndAwayColumns[] = {
    {0, 36, 4, 0, 2, 0, 1035, LISTSORT_NUMBER, 0},    {36, 188, 4, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {188, 218, 4, 0, 2, 0, 153, LISTSORT_NUMBER, 0},  {218, 248, 4, 0, 2, 0, 154, LISTSORT_NUMBER, 0},
    {248, 278, 4, 0, 2, 0, 155, LISTSORT_NUMBER, 0},  {278, 308, 4, 0, 2, 0, 156, LISTSORT_NUMBER, 0},
    {308, 338, 4, 0, 2, 0, 157, LISTSORT_NUMBER, 0},  {338, 368, 4, 0, 2, 0, 158, LISTSORT_NUMBER, 0},
    {368, 398, 4, 0, 2, 0, 159, LISTSORT_NUMBER, 0},  {398, 428, 4, 0, 2, 0, 160, LISTSORT_NUMBER, 0},
    {428, 458, 4, 0, 2, 0, 161, LISTSORT_NUMBER, 0},  {458, 488, 4, 0, 2, 0, 162, LISTSORT_NUMBER, 0},
    {488, 518, 4, 0, 2, 0, 163, LISTSORT_NUMBER, 0},  {518, 548, 4, 0, 2, 0, 164, LISTSORT_NUMBER, 0},
    {548, 578, kLastMargin, 0, 2, 0, 165, LISTSORT_NUMBER, 0},  {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kHomeAndAwayGoalsColumns[] = {
    {0, 36, 4, 0, 2, 0, 1035, LISTSORT_NUMBER, 0},    {36, 188, 4, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {188, 218, 4, 0, 2, 0, 153, LISTSORT_NUMBER, 0},  {218, 248, 4, 0, 2, 0, 154, LISTSORT_NUMBER, 0},
    {248, 278, 4, 0, 2, 0, 155, LISTSORT_NUMBER, 0},  {278, 308, 4, 0, 2, 0, 156, LISTSORT_NUMBER, 0},
    {308, 338, 4, 0, 2, 0, 157, LISTSORT_NUMBER, 0},  {338, 368, 4, 0, 2, 0, 158, LISTSORT_NUMBER, 0},
    {368, 398, 4, 0, 2, 0, 159, LISTSORT_NUMBER, 0},  {398, 428, 4, 0, 2, 0, 160, LISTSORT_NUMBER, 0},
    {428, 458, 4, 0, 2, 0, 161, LISTSORT_NUMBER, 0},  {458, 488, 4, 0, 2, 0, 162, LISTSORT_NUMBER, 0},
    {488, 518, 4, 0, 2, 0, 163, LISTSORT_NUMBER, 0},  {518, 548, 4, 0, 2, 0, 971, LISTSORT_NUMBER, 0},
    {548, 578, kLastMargin, 0, 2, 0, 165, LISTSORT_NUMBER, 0},  {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

int Sum(const uint8_t (&aby)[2]) { return aby[0] + aby[1]; }

}  // namespace

CClientTablesStaticsLeague::CClientTablesStaticsLeague(bool bHomeAndAway)
    : m_bHomeAndAway(bHomeAndAway), m_bClampToSeasonEnd(!bHomeAndAway)
{
    m_wScreenID = bHomeAndAway ? SCREEN_TABLES_HOME_AND_AWAY : SCREEN_TABLES_LEAGUE;
}

CClientTablesStaticsLeague::CClientTablesStaticsLeague(uint16_t wScreenID, bool bDateChoice, bool bClampToSeasonEnd)
    : m_bDateChoice(bDateChoice), m_bClampToSeasonEnd(bClampToSeasonEnd)
{
    m_wScreenID = wScreenID;
}

CClientTablesStaticsLeague::~CClientTablesStaticsLeague() = default;

// ---- ranking ----

bool CClientTablesStaticsLeague::CompareStandings(const STANDING& first, const STANDING& second, bool bGoalDifference)
{
    if (first.Points() != second.Points())
        return second.Points() > first.Points();
    const int nFirst = bGoalDifference ? first.GoalsFor() - first.GoalsAgainst() : first.GoalsFor();
    const int nSecond = bGoalDifference ? second.GoalsFor() - second.GoalsAgainst() : second.GoalsFor();
    if (nFirst != nSecond)
        return nSecond > nFirst;
    return std::strcmp(second.name.c_str(), first.name.c_str()) < 0;
}

void CClientTablesStaticsLeague::SortStandings(std::vector<STANDING>& standings, bool bGoalDifference)
{
    for (size_t nEnd = standings.size(); nEnd > 1; --nEnd)
        for (size_t i = 0; i + 1 < nEnd; ++i)
            if (CompareStandings(standings[i], standings[i + 1], bGoalDifference))
                std::swap(standings[i], standings[i + 1]);
}

// ---- entry and exit ----

bool CClientTablesStaticsLeague::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    // The division asked for, else the human's, else his country's first.
    m_pDivision = pDatabase ? pDatabase->GetDivisionFromID(static_cast<uint8_t>(m_dwChangeParameter)) : nullptr;
    if (m_dwChangeParameter == 0 || (m_pDivision && m_pDivision->m_byKind != DIVISION_KIND_LEAGUE))
        m_pDivision = nullptr;
    if (!m_pDivision && pHuman && pHuman->GetClub())
        m_pDivision = pHuman->GetClub()->m_pDivision;
    if (!m_pDivision && pHuman && pHuman->GetCountry())
        m_pDivision = pHuman->GetCountry()->GetDivisions().GetHead()
                          ? static_cast<CDivisionDatabase*>(pHuman->GetCountry()->GetDivisions().GetHead()->pData)
                          : nullptr;
    m_pCountry = m_pDivision ? m_pDivision->m_pCountry : nullptr;
    m_dateView = pDatabase ? pDatabase->GetGameDate() : CDate();
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();

    // The movement arrows.
    const struct {
        const char* pszName;
        int nWidth, nHeight;
        std::unique_ptr<CXAnimation>* ppIcon;
    } arrows[] = {{"icnUp.bmp", 8, 4, &m_pIconUp}, {"icnDown.bmp", 8, 4, &m_pIconDown}, {"icnSame.bmp", 10, 8, &m_pIconSame}};
    for (size_t i = 0; i < 3; ++i) {
        m_pArrowSurfaces[i].reset(LoadMainArchiveBitmap(arrows[i].pszName, true));
        arrows[i].ppIcon->reset();
        if (!m_pArrowSurfaces[i])
            DebugLog(0, "[CClientTablesStaticsLeague::OnInitDialog] '%s' could not be loaded", arrows[i].pszName);
        if (m_pArrowSurfaces[i]) {
            *arrows[i].ppIcon = std::make_unique<CXAnimation>();
            (*arrows[i].ppIcon)->Setup(m_pArrowSurfaces[i].get(), arrows[i].nWidth, arrows[i].nHeight, 0, 0, 1, 1);
        }
    }

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, 60, 640, 444, ID_TABLE, nullptr));
    if (pList)
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     pBar, true, nullptr, true, 0, false, false, false);
    ShowChoices();
    FillTable();
    UpdateBars();
    return bResult;
}

void CClientTablesStaticsLeague::OnDestroy()
{
    CGameClient::OnDestroy();
    m_pIconUp.reset();
    m_pIconDown.reset();
    m_pIconSame.reset();
    for (auto& pSurface : m_pArrowSurfaces)
        pSurface.reset();
}

void CClientTablesStaticsLeague::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

CXListBox* CClientTablesStaticsLeague::GetTable() const { return dynamic_cast<CXListBox*>(FindControl(ID_TABLE)); }

// ---- the choices ----

CXComboBox* CClientTablesStaticsLeague::DateChoice() const
{
    return m_bDateChoice && g_pTitlebar ? g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_DATE) : nullptr;
}

void CClientTablesStaticsLeague::ShowChoices()
{
    if (!g_pTitlebar)
        return;
    m_bFilling = true;
    if (m_bDateChoice)
        g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION,
                                   CGameTitlebar::SELECTOR_DATE});
    else
        g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION});
    g_pTitlebar->SelectDivision(m_pDivision);
    SelectLastPastDate();
    m_bFilling = false;
}

void CClientTablesStaticsLeague::SelectLastPastDate()
{
    CXComboBox* pDates = DateChoice();
    if (!pDates)
        return;
    for (int nRow = pDates->GetCount() - 1; nRow >= 0; --nRow)
        if (pDates->IsRowEnabled(nRow)) {
            pDates->SetSelection(nRow);
            pDates->Scroll(LISTSCROLL_TO_ROW, nRow);
            pDates->Redraw();
            return;
        }
}

bool CClientTablesStaticsLeague::ChooseDateRow(int nRow)
{
    CXComboBox* pDates = DateChoice();
    if (!pDates || nRow < 0 || nRow >= pDates->GetCount() || !pDates->IsRowEnabled(nRow))
        return false;
    pDates->SetCurSel(nRow);
    return true;
}

void CClientTablesStaticsLeague::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !g_pTitlebar)
        return;
    if (dwID == ID_COUNTRY_CHOICE || dwID == ID_DIVISION_CHOICE) {
        const CDivisionDatabase* pSelected = g_pTitlebar->GetSelectedDivision();
        CDivisionDatabase* pDivision = pSelected ? pDatabase->GetDivisionFromID(pSelected->m_byDivisionId) : nullptr;
        if (!pDivision)
            return;
        m_pDivision = pDivision;
        m_pCountry = pDivision->m_pCountry;
        m_dateView = pDatabase->GetGameDate();
        m_bFilling = true;
        SelectLastPastDate();
        m_bFilling = false;
        FillTable();
    } else if (dwID == ID_DATE_CHOICE && m_bDateChoice) {
        const CXComboBox* pDates = DateChoice();
        const int nRow = pDates ? pDates->GetSelection() : -1;
        if (nRow < 0)
            return;
        m_dateView = CDate(static_cast<uint32_t>(pDates->GetItemData(nRow)));
        FillTable();
    }
}

// ---- the table ----

void CClientTablesStaticsLeague::AdjustViewDate()
{
    const CDatabaseHandler* pDatabase = Database();
    const CDate today = pDatabase ? pDatabase->GetGameDate() : m_dateView;
    if (m_pDivision->m_SeasonStart.IsValid() && !(m_dateView > m_pDivision->m_SeasonStart))
        m_dateView = m_pDivision->m_SeasonStart;
    if (m_dateView > today)
        m_dateView = today;
    if (m_bClampToSeasonEnd && m_pDivision->m_SeasonEnd.IsValid() && m_dateView > m_pDivision->m_SeasonEnd)
        m_dateView = CDate(m_pDivision->m_SeasonEnd.GetValue(), 1);
}

CClientTablesStaticsLeague::RANKING CClientTablesStaticsLeague::RankDivision()
{
    RANKING ranking;
    CDatabaseHandler* pDatabase = Database();
    if (!m_pDivision || !pDatabase)
        return ranking;
    AdjustViewDate();
    const bool bToday = m_dateView == pDatabase->GetGameDate();
    const int nRecords = m_pDivision->GetHistoryRecordsPerClub();
    for (const CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
        const int nMatchDays = std::min(
            m_pDivision->CountClubMatchDays(m_dateView, pClub->m_wClubId, bToday ? 1 : 0, false), nRecords);
        ranking.nMostMatchDays = std::max(ranking.nMostMatchDays, nMatchDays);
        STANDING now{pClub, pClub->GetName(), {}}, before{pClub, pClub->GetName(), {}};
        if (nMatchDays >= 1)
            now.row = m_pDivision->GetClubHistoryRow(pClub->m_wClubId, nMatchDays);
        if (nMatchDays >= 2)
            before.row = m_pDivision->GetClubHistoryRow(pClub->m_wClubId, nMatchDays - 1);
        ranking.current.push_back(now);
        ranking.previous.push_back(before);
    }
    ranking.bGoalDifference = m_pDivision->m_byGoalValueRule == 1;
    SortStandings(ranking.current, ranking.bGoalDifference);
    SortStandings(ranking.previous, ranking.bGoalDifference);
    return ranking;
}

int CClientTablesStaticsLeague::MoveOf(const RANKING& ranking, int nRank)
{
    if (ranking.nMostMatchDays <= 1 || nRank < 0 || nRank >= static_cast<int>(ranking.current.size()))
        return 2;
    const CClubDatabase* pClub = ranking.current[static_cast<size_t>(nRank)].pClub;
    int nBefore = 0;
    const int nClubs = static_cast<int>(ranking.previous.size());
    while (nBefore < nClubs && ranking.previous[static_cast<size_t>(nBefore)].pClub != pClub)
        ++nBefore;
    return nRank < nBefore ? 1 : nRank > nBefore ? -1 : 0;
}

void CClientTablesStaticsLeague::AddMoveArrow(CXListBox& list, int nRow, int nMove)
{
    m_Moves.push_back(nMove);
    if (nMove == 2)
        return;
    CXAnimation* pArrow = nMove > 0 ? m_pIconUp.get() : nMove < 0 ? m_pIconDown.get() : m_pIconSame.get();
    if (pArrow)
        list.AddColumnGraphic(nRow, pArrow, 6, 0, true);
}

COLORREF CClientTablesStaticsLeague::ClubColour(const CClubDatabase& club) const
{
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetSaveGameForClub(&club) : nullptr;
    return pHuman ? pHuman->GetColourForClub() : kText;
}

void CClientTablesStaticsLeague::StartTable(CXListBox& list, const LISTCOLUMN* pColumns, int nRows)
{
    m_ZoneColours.clear();
    m_Moves.clear();
    list.SetAutoRedraw(false);
    for (int nRow = 0; nRow < list.GetCount(); ++nRow)
        list.RemoveRowGraphics(nRow);
    list.ResetContent();
    list.SetUpColumns(0, 60, 640, 444, pColumns, true, true, kRowHeight * std::max(1, nRows), false);
}

void CClientTablesStaticsLeague::ShowTable(CXListBox& list, int nCaptionSet)
{
    CGame* pGame = Game();
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const int nTabTop = list.m_nTop - list.m_nHeaderHeight - 17;
    const CAPTIONTAB tabs[] = {{2, 0, 0, list.m_nLeft, nTabTop, list.Width()}, {0, 0, 0, 0, 0, 0}};
    RestoreBackground(0, 20, Width(), list.m_nTop - 20);
    DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, nCaptionSet, tabs);
    list.Sort(0, true, LISTSORT_NUMBER, 0);
    list.UpdateScrollBar();
    list.SetAutoRedraw(true);
    list.Redraw();
    list.Show(true, true);
}

void CClientTablesStaticsLeague::FillTable()
{
    CXListBox* pList = GetTable();
    if (!pList || !m_pDivision || !Database())
        return;
    const RANKING ranking = RankDivision();
    const bool bGoalDifference = ranking.bGoalDifference;
    const LISTCOLUMN* pColumns = m_bHomeAndAway ? (bGoalDifference ? kHomeAndAwayColumns : kHomeAndAwayGoalsColumns)
                                                : (bGoalDifference ? kLeagueColumns : kLeagueGoalsColumns);
    const int nClubs = static_cast<int>(ranking.current.size());
    StartTable(*pList, pColumns, nClubs);
    for (int nRank = 0; nRank < nClubs; ++nRank) {
        const STANDING& s = ranking.current[static_cast<size_t>(nRank)];
        const DIVISIONHISTORYROW& r = s.row;
        const int nGoals = bGoalDifference ? s.GoalsFor() - s.GoalsAgainst() : s.GoalsFor();
        const COLORREF crRow = ClubColour(*s.pClub);
        int nRow;
        if (m_bHomeAndAway)
            nRow = pList->AddString(crRow, bGoalDifference ? "%2d\t%s\t%2d\t%2d\t%2d\t%2d\t%3d\t%3d\t%2d\t%2d\t%2d\t%3d\t%3d\t%+2d\t%2d"
                                                           : "%2d\t%s\t%2d\t%2d\t%2d\t%2d\t%3d\t%3d\t%2d\t%2d\t%2d\t%3d\t%3d\t%2d\t%2d",
                                    nRank + 1, s.name.c_str(), Sum(r.abyPlayed), r.abyWon[0], r.abyDrawn[0], r.abyLost[0],
                                    r.abyGoalsFor[0], r.abyGoalsAgainst[0], r.abyWon[1], r.abyDrawn[1], r.abyLost[1],
                                    r.abyGoalsFor[1], r.abyGoalsAgainst[1], nGoals, s.Points());
        else
            nRow = pList->AddString(crRow, bGoalDifference ? "%2d\t%s\t%2d\t%2d\t%2d\t%2d\t%3d\t%3d\t%+2d\t%2d"
                                                           : "%2d\t%s\t%2d\t%2d\t%2d\t%2d\t%3d\t%3d\t%2d\t%2d",
                                    nRank + 1, s.name.c_str(), Sum(r.abyPlayed), Sum(r.abyWon), Sum(r.abyDrawn),
                                    Sum(r.abyLost), s.GoalsFor(), s.GoalsAgainst(), nGoals, s.Points());
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, s.pClub->m_wClubId);
        AddMoveArrow(*pList, nRow, MoveOf(ranking, nRank));
    }
    ShowTable(*pList, m_bHomeAndAway ? kHomeAndAwayCaptionSet : kLeagueCaptionSet);
}

std::vector<COLORREF> CClientTablesStaticsLeague::ComputeZones() const
{
    const int nClubs = m_pDivision ? m_pDivision->GetClubCount() : 0;
    std::vector<COLORREF> zones(static_cast<size_t>(nClubs), 0);
    if (!m_pDivision)
        return zones;
    int nRow = 0;
    auto mark = [&](int nCount, COLORREF cr) {
        for (int i = 0; i < nCount && nRow < nClubs; ++i)
            zones[static_cast<size_t>(nRow++)] = cr;
    };
    mark(m_pDivision->m_byPromotionZone, kPromotionColour);
    if (m_pDivision->HasPlayOffTemplate())
        mark(m_pDivision->m_byPlayOffPlaces, kPlayOffColour);
    const int nRelegated = std::min<int>(m_pDivision->m_byRelegationZone, nClubs);
    if (m_pDivision->m_byLowerPlayOffPlaces > 0)
        for (int i = nClubs - nRelegated - 2; i < nClubs - nRelegated; ++i)
            if (i >= nRow)
                zones[static_cast<size_t>(i)] = kLowerPlayOffColour;
    for (int i = std::max(nRow, nClubs - nRelegated); i < nClubs; ++i)
        zones[static_cast<size_t>(i)] = kRelegationColour;
    return zones;
}

void CClientTablesStaticsLeague::DrawZones(bool bShow)
{
    CXListBox* pList = GetTable();
    if (!pList || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    RestoreBackground(pList->m_nLeft - 8, pList->m_nTop, 8, pList->Height());
    m_ZoneColours = bShow ? ComputeZones() : std::vector<COLORREF>(static_cast<size_t>(pList->GetCount()), 0);
    if (!bShow)
        return;
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    const int nVisible = std::min<int>(pList->RowsPerView(), static_cast<int>(m_ZoneColours.size()));
    for (int i = 0; i < nVisible; ++i) {
        const COLORREF cr = m_ZoneColours[static_cast<size_t>(i + pList->GetFirstVisible())];
        if (cr == 0)
            continue;
        const int nTop = pList->m_nTop + i * kRowHeight + 1;
        DrawColourBox(pDC, pList->m_nLeft - 7, nTop, pList->m_nLeft - 2, nTop + 13, cr, true);
    }
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
}

void CClientTablesStaticsLeague::OnSort(uint32_t dwHeaderID)
{
    const CXListBox* pList = GetTable();
    DrawZones(pList && dwHeaderID == ID_RANK_HEADER && pList->SortMark(0) == 1);
}

void CClientTablesStaticsLeague::OnPrint() { PrintControl(ID_TABLE); }

int CClientTablesStaticsLeague::MatchListOfColumn(uint16_t wHeaderID)
{
    using Popup = CPopupGeneralMatchDetails;
    switch (wHeaderID) {
    case 145: case 153: return Popup::TYPE_CLUB_PLAYED;
    case 148: return 1;
    case 149: return 2;
    case 150: return 3;
    case 151: case 971: return 4;
    case 152: return 5;
    case 147: case 165: return 6;
    case 166: return Popup::TYPE_HOME_FORM;
    case 167: return Popup::TYPE_AWAY_FORM;
    case 976: return Popup::TYPE_CLUB_BOOKINGS;
    default:
        // Home won to away against: the home and the away lists in turn.
        if (wHeaderID >= 154 && wHeaderID <= 163)
            return Popup::TYPE_CLUB_HOME_WON + (wHeaderID - 154);
        return -1;
    }
}

void CClientTablesStaticsLeague::OnDoubleClicked(uint32_t dwID)
{
    CGameClient::OnDoubleClicked(dwID);
    const CXListBox* pList = GetTable();
    if (dwID != ID_TABLE || !pList || pList->GetSelection() < 0 || !pList->GetColumns() ||
        pList->m_nClickedColumn < 0 || pList->m_nClickedColumn >= pList->GetColumnCount())
        return;
    const int nType = MatchListOfColumn(pList->GetColumns()[pList->m_nClickedColumn].wHeaderID);
    if (nType < 0)
        return;
    CPopupGeneralMatchDetails& popup = GetGeneralMatchDetailsPopup();
    popup.SetClub(static_cast<ID_CLUB>(pList->GetItemData(pList->GetSelection())));
    popup.SetReferenceDate(m_dateView);
    // The table counts league matches only.
    popup.Show(nType, 1, CPopupGeneralMatchDetails::kRunningSeason);
}
