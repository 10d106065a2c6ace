#include "screens/CClientTablesStaticsFixtures.h"

#include "screens/FixtureKitRow.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/MatchHistory.h"
#include "season/CSaveGame.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRowHeight = 28;
constexpr int kCaptionSet = 163;

// Names stand clear of the shirts at the columns' outer edges.
const LISTCOLUMN kColumns[] = {
    {0, 182, 30, 0, 0, 0, CClientTablesStaticsFixtures::ID_HOME_HEADER, LISTSORT_TEXT, 1},
    {182, 272, 4, 0, 6, 0, CClientTablesStaticsFixtures::ID_SCORE_HEADER, LISTSORT_NONE, 1},
    {272, 454, 30, 0, 2, 0, CClientTablesStaticsFixtures::ID_AWAY_HEADER, LISTSORT_TEXT, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CDatabaseHandler* Database()
{
    const auto* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetDatabase() : nullptr;
}

std::string Score(int nFirst, int nSecond)
{
    char szScore[32];
    FormatScore(szScore, sizeof(szScore), nFirst, nSecond);
    return szScore;
}

}  // namespace

CClientTablesStaticsFixtures::CClientTablesStaticsFixtures() { m_wScreenID = SCREEN_TABLES_FIXTURES; }

CClientTablesStaticsFixtures::~CClientTablesStaticsFixtures() = default;

CDate CClientTablesStaticsFixtures::DefaultViewDate(const CDatabaseHandler& database, const CDivisionDatabase& division)
{
    const CDate today = database.GetGameDate();
    CDate next;
    if (division.GetNextMatchDate(CDate(today.GetValue(), -1), next))
        return next;
    const CCountryDatabase* pCountry = division.m_pCountry;
    if (pCountry && today < pCountry->GetSeasonEndDate() && pCountry->GetSeasonEndDate().GetYear() > 1999) {
        CDate last;
        if (division.GetLastFixtureDate(last))
            return last;
    }
    return division.m_SeasonStart;
}

std::string CClientTablesStaticsFixtures::LeagueScore(CDatabaseHandler& database, const CDivisionDatabase& division,
                                                      const CDivisionFixturesDatabase& fixture)
{
    if (!fixture.IsPlayed())
        return "-";
    if (fixture.GetRound() != DIVISION_FIXTURE_PLAYOFF)
        return Score(fixture.GetHomeGoals(), fixture.GetAwayGoals());
    const CDivisionFixturesDatabase* pFirstLeg = division.GetReverseFixture(&fixture);
    if (pFirstLeg && pFirstLeg->IsPlayed() && pFirstLeg->GetDate() < fixture.GetDate()) {
        char szText[64];
        std::snprintf(szText, sizeof(szText), "(%d) %s (%d)", fixture.GetHomeGoals() + pFirstLeg->GetAwayGoals(),
                      Score(fixture.GetHomeGoals(), fixture.GetAwayGoals()).c_str(),
                      fixture.GetAwayGoals() + pFirstLeg->GetHomeGoals());
        return szText;
    }
    // The wording of extra time or penalties comes from the match's record.
    MATCHHISTORYHEADER header;
    const uint8_t byKind = database.FindMatchRecord(header, nullptr, fixture.GetFixtureID())
                               ? header.Result.byResult
                               : static_cast<uint8_t>(fixture.GetResultValue());
    char szScore[64];
    FormatFixtureScore(0, szScore, sizeof(szScore), static_cast<int8_t>(fixture.GetHomeGoals()),
                       static_cast<int8_t>(fixture.GetAwayGoals()), byKind);
    return szScore;
}

bool CClientTablesStaticsFixtures::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    // Opened from the match-day queue: the home screen still waits in it.
    m_bMatchDay = !g_ClientList.empty();
    m_pDivision = pDatabase ? pDatabase->GetDivisionFromID(static_cast<uint8_t>(m_dwChangeParameter)) : nullptr;
    if (m_pDivision && m_pDivision->m_byKind != DIVISION_KIND_LEAGUE)
        m_pDivision = nullptr;
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (!m_pDivision && pHuman && pHuman->GetClub())
        m_pDivision = pHuman->GetClub()->m_pDivision;
    m_pCountry = m_pDivision ? m_pDivision->m_pCountry : nullptr;

    if (g_pNavigationBar) {
        if (!m_bMatchDay) {
            g_pNavigationBar->SetMode(2);
        } else {
            g_pNavigationBar->SetMode(5);
            g_pNavigationBar->SetBlock(0);
            g_pNavigationBar->SetBlock(1);
            const CXClient* pNext = g_ClientList.front().pClient;
            if (pNext == this || pNext == GetScreenObject(SCREEN_TABLES_CUP))
                g_pNavigationBar->SetContinueButton(CGameNavigationBar::LOOK_MATCH);
            else if (pNext == GetScreenObject(SCREEN_FOOTBALL_TODAY))
                g_pNavigationBar->SetContinueButton(CGameNavigationBar::LOOK_MATCH_GOES_ON);
            else
                DebugLog(0, "[CClientTablesStaticsFixtures::OnInitDialog] Unknown next screen for continue icon!");
        }
    }
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar) {
        g_pTitlebar->SetMode(2);
        g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION,
                                   CGameTitlebar::SELECTOR_MATCH_DAY});
        g_pTitlebar->SelectDivision(m_pDivision);
    }
    m_dateView = pDatabase && m_pDivision ? DefaultViewDate(*pDatabase, *m_pDivision) : CDate();
    SelectViewDate();

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, 40, 640, 448, ID_LIST, nullptr));
    if (pList)
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, true, 0,
                     false, false, false);
    FillTable();
    UpdateBars();
    return bResult;
}

void CClientTablesStaticsFixtures::OnDestroy()
{
    CGameClient::OnDestroy();
    m_Rows.clear();
}

void CClientTablesStaticsFixtures::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

CXListBox* CClientTablesStaticsFixtures::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

const FixtureKitRow* CClientTablesStaticsFixtures::GetRow(int nListRow) const
{
    const CXListBox* pList = GetList();
    if (!pList || nListRow < 0 || nListRow >= pList->GetCount())
        return nullptr;
    const int64_t nIndex = pList->GetItemData(nListRow);
    return nIndex >= 0 && nIndex < static_cast<int64_t>(m_Rows.size()) ? m_Rows[static_cast<size_t>(nIndex)].get()
                                                                         : nullptr;
}

void CClientTablesStaticsFixtures::SelectViewDate()
{
    CXComboBox* pDates = g_pTitlebar ? g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_MATCH_DAY) : nullptr;
    const int nRow = pDates ? pDates->FindItemData(m_dateView.GetValue()) : -1;
    if (nRow < 0)
        return;
    pDates->SetSelection(nRow);
    pDates->Scroll(LISTSCROLL_TO_ROW, nRow);
    pDates->Redraw();
}

void CClientTablesStaticsFixtures::TakeSelectedDivision()
{
    const CDatabaseHandler* pDatabase = Database();
    const CDivisionDatabase* pSelected = g_pTitlebar ? g_pTitlebar->GetSelectedDivision() : nullptr;
    if (!pSelected || !pDatabase)
        return;
    m_pDivision = pDatabase->GetDivisionFromID(pSelected->m_byDivisionId);
    m_pCountry = m_pDivision ? m_pDivision->m_pCountry : nullptr;
}

void CClientTablesStaticsFixtures::OnSelChange(uint32_t dwID)
{
    const CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return;
    if (dwID == ID_COUNTRY_CHOICE || dwID == ID_DIVISION_CHOICE) {
        TakeSelectedDivision();
        if (!m_pDivision)
            return;
        m_dateView = DefaultViewDate(*pDatabase, *m_pDivision);
        SelectViewDate();
        FillTable();
    } else if (dwID == ID_DATE_CHOICE) {
        TakeSelectedDivision();
        const CXComboBox* pDates = g_pTitlebar ? g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_MATCH_DAY) : nullptr;
        const int nRow = pDates ? pDates->GetSelection() : -1;
        if (nRow < 0)
            return;
        m_dateView = CDate(static_cast<uint32_t>(pDates->GetItemData(nRow)));
        FillTable();
    }
}

void CClientTablesStaticsFixtures::ShowDate(const CDate& date)
{
    m_dateView = date;
    SelectViewDate();
    FillTable();
}

void CClientTablesStaticsFixtures::FillTable()
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = Database();
    if (!pList)
        return;
    pList->Show(false, true);
    pList->SetAutoRedraw(false);
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        pList->RemoveRowGraphics(nRow);
    pList->ResetContent();
    m_Rows.clear();
    RestoreBackground(0, 0, Width(), Height());
    pList->SetUpColumns(0, 40, 640, 488, kColumns, true, true, kRowHeight, false);
    if (m_pDivision && pDatabase) {
        auto addRow = [&](uint32_t dwMatchID, ID_CLUB idHome, ID_CLUB idAway, const std::string& score, bool bPlayed) {
            auto pRow = std::make_unique<FixtureKitRow>(dwMatchID, pDatabase->GetClubFromID(idHome),
                                                        pDatabase->GetClubFromID(idAway));
            pRow->SetPlayed(bPlayed);
            if (pRow->AddTo(*pList, *pDatabase, score.c_str(), static_cast<uint32_t>(m_Rows.size())) >= 0)
                m_Rows.push_back(std::move(pRow));
        };
        for (const CDivisionFixturesDatabase* p : m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (p->GetDate() == m_dateView)
                addRow(p->GetFixtureID(), p->GetHomeClubID(), p->GetAwayClubID(),
                       LeagueScore(*pDatabase, *m_pDivision, *p), p->IsPlayed());
        for (const CCupFixturesDatabase* p : pDatabase->GetCupFixtures().Items<CCupFixturesDatabase>()) {
            if (p->GetKind() != CCupFixturesDatabase::KIND_FRIENDLY || p->GetDate() != m_dateView)
                continue;
            if (!m_pDivision->GetClubFromID(p->GetHomeClubID()) && !m_pDivision->GetClubFromID(p->GetAwayClubID()))
                continue;
            addRow(p->GetFixtureID(), p->GetHomeClubID(), p->GetAwayClubID(),
                   p->IsPlayed() ? Score(p->GetHomeGoals(), p->GetAwayGoals()) : std::string("-"), p->IsPlayed());
        }
    }
    const int nRows = std::clamp(pList->GetCount(), 1, kMaxRows);
    pList->SetUpColumns(0, 40, 640, 488, kColumns, true, true, kRowHeight * nRows, false);
    pList->Sort(0, true, LISTSORT_TEXT, 0);
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB tabs[] = {{2, 0, 0, pList->m_nLeft, pList->m_nTop - pList->m_nHeaderHeight - 17, pList->Width()},
                               {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, kCaptionSet, tabs);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
    pList->Show(true, true);
}

void CClientTablesStaticsFixtures::OnDoubleClicked(uint32_t dwID)
{
    // The score column of a played match opens its details, which step
    // through this list; a league club's column would open the club screen,
    // still to come.
    const CXListBox* pList = GetList();
    const FixtureKitRow* pRow = pList && dwID == ID_LIST ? GetRow(pList->GetSelection()) : nullptr;
    if (pRow)
        pRow->OnDoubleClick(pList->m_nClickedColumn, m_bMatchDay);
}

int32_t CClientTablesStaticsFixtures::GetPreviousFixture()
{
    return StepFixtureSelection(GetList(), false, [this](int nRow) { return GetRow(nRow); });
}

int32_t CClientTablesStaticsFixtures::GetNextFixture()
{
    return StepFixtureSelection(GetList(), true, [this](int nRow) { return GetRow(nRow); });
}

void CClientTablesStaticsFixtures::OnPrint() { PrintControl(ID_LIST); }
