#include "screens/CClientTablesStaticsFixtures.h"

#include "screens/FixtureScreenParts.h"
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

    fixture_screens::SetUpNavigation(this, m_bMatchDay, SCREEN_TABLES_CUP, "CClientTablesStaticsFixtures");
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
    m_Rows.Clear();
}

void CClientTablesStaticsFixtures::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

CXListBox* CClientTablesStaticsFixtures::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

const FixtureKitRow* CClientTablesStaticsFixtures::GetRow(int nListRow) const { return m_Rows.Get(GetList(), nListRow); }

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
    m_Rows.Clear();
    RestoreBackground(0, 0, Width(), Height());
    pList->SetUpColumns(0, 40, 640, 488, kColumns, true, true, kRowHeight, false);
    if (m_pDivision && pDatabase) {
        auto addRow = [&](uint32_t dwMatchID, ID_CLUB idHome, ID_CLUB idAway, const std::string& score, bool bPlayed) {
            m_Rows.Add(*pList, *pDatabase, dwMatchID, pDatabase->GetClubFromID(idHome), pDatabase->GetClubFromID(idAway),
                       bPlayed, score.c_str());
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
    fixture_screens::DrawListCaption(*this, *pList, kCaptionSet);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
    pList->Show(true, true);
}

void CClientTablesStaticsFixtures::OnDoubleClicked(uint32_t dwID)
{
    if (dwID == ID_LIST)
        m_Rows.OnDoubleClick(GetList(), m_bMatchDay);
}

int32_t CClientTablesStaticsFixtures::GetPreviousFixture()
{
    return m_Rows.Step(GetList(), false);
}

int32_t CClientTablesStaticsFixtures::GetNextFixture()
{
    return m_Rows.Step(GetList(), true);
}

void CClientTablesStaticsFixtures::OnPrint() { PrintControl(ID_LIST); }
