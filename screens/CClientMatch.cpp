#include "screens/CClientMatch.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/MatchHistory.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchReferee.h"
#include "matchday/CShownMatchRecorder.h"
#include "platform/DeviceContext.h"
#include "popups/CPopupPlayerDetails.h"
#include "render3d/C3DEngine.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "season/CupStructureTable.h"
#include "season/MatchRecords.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Table-text sets of the screen.
constexpr int kModeSet = 82;        // the display modes of list 797
constexpr int kFiguresSet = 5;      // the players' figures of list 798
constexpr int kCameraSet = 84;      // the cameras of list 807
constexpr int kStatisticSet = 96;   // the names of the statistic rows
// The match display options: names, numbers, line-ups, then the alerts.
constexpr int kMatchLineUpsFlag = 2;
constexpr int kIncidentSet = 50;    // incident kinds in the incident lists

constexpr int kViewX = 290, kViewY = 30, kViewWidth = 320, kViewHeight = 240;
constexpr int kPlanViewX = 160;
// The radar draws the pitch upright, its length over the rectangle's width
// and its breadth over the height: these rectangles give it 201 by 227
// pixels, left of the 3-D view and in the middle of the view without 3-D.
constexpr MATCHRECT kSidePlan = {45, 36, 302, 264};
constexpr MATCHRECT kFullPlan = {60, 6, 317, 234};
constexpr int kPlanMargin = 6;
constexpr int kRowsY = 296, kRowStep = 18;
constexpr int kBarX = 236, kBarWidth = 168, kBarHeight = 16;
constexpr int kHomeValueX = 198, kAwayValueX = 408, kValueWidth = 34;
constexpr int kRowHeight = 16;
constexpr uint8_t kFirstLegUnplayed = 255;
constexpr uint8_t kRulesFirstLegDecides = 0x40;
constexpr uint32_t kMinute = 60000;
constexpr uint32_t kKeyPause = 'P';

const COLORREF kWhite = 0xFFFFFF;
const COLORREF kCommentaryColour = plat::RGB(255, 253, 173);
const COLORREF kPlanGrass = plat::RGB(24, 92, 40);
const COLORREF kPlanLines = plat::RGB(150, 200, 150);
const COLORREF kHomeBar = plat::RGB(196, 40, 40);
const COLORREF kAwayBar = plat::RGB(40, 80, 196);

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

// Shirt number, name and the three figures, the numbers right-aligned.
const LISTCOLUMN kPlayerColumns[] = {
    {0, 26, 2, 0, 2, 0, 0, LISTSORT_NONE, 0},      {32, 160, 2, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {156, 188, 2, 0, 2, 0, 0, LISTSORT_NONE, 0},   {188, 216, 2, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {216, 244, 2, 0, 2, 0, 0, LISTSORT_NONE, 0},   {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
// Home club, score and away club of another match.
const LISTCOLUMN kResultColumns[] = {
    {0, 270, 4, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {270, 340, 0, 0, 6, 0, 0, LISTSORT_NONE, 0},
    {340, 600, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

// A side's pair of one statistic row, in row order.
void ReadStatistic(int nRow, uint8_t& byHome, uint8_t& byAway)
{
    const CMatchEngine& e = g_MatchEngine;
    switch (nRow) {
    case 0:
        byHome = uint8_t(std::clamp(e.GetPossessionPercent(), 0, 100));
        byAway = uint8_t(100 - byHome);
        break;
    case 1:
        byHome = uint8_t(std::clamp(e.GetTerritoryPercent(), 0, 100));
        byAway = uint8_t(100 - byHome);
        break;
    case 2: e.GetShots(byHome, byAway); break;
    case 3: e.GetShotsOnTarget(byHome, byAway); break;
    case 4: e.GetFouls(byHome, byAway); break;
    case 5: e.GetOffsides(byHome, byAway); break;
    case 6: e.GetFreeKicks(byHome, byAway); break;
    case 7: e.GetCorners(byHome, byAway); break;
    case 8: e.GetBookings(byHome, byAway); break;
    case 9: e.GetSubstitutions(byHome, byAway); break;
    default: e.GetPenaltyGoals(byHome, byAway); break;
    }
}

// The three figures of a footballer by the kind chosen in list 798.
std::array<int, 3> Figures(const CMatchPlayer& player, uint8_t byKind)
{
    switch (byKind) {
    case CClientMatch::FIGURES_CONDITION:
        return {player.GetFitness() / 100, player.GetStamina() / 100, player.GetMorale() / 10};
    case CClientMatch::FIGURES_SHOTS:
        return {player.GetShotCount(), player.GetShotsOnTarget(), player.GetGoals()};
    case CClientMatch::FIGURES_PASSES:
        return {player.GetPassCount(), player.GetPassesCompleted(), player.GetPassesCredited()};
    default: {
        // Long passes: over a third of the pitch; how many, how many kept,
        // and the longest in metres.
        int nLong = 0, nKept = 0, nLongest = 0;
        for (const PLAYERTOUCH& touch : player.GetPasses()) {
            const double dx = touch.vEnd.x - touch.vStart.x, dy = touch.vEnd.y - touch.vStart.y;
            const int nLength = int(std::sqrt(dx * dx + dy * dy));
            if (nLength < PITCH_LENGTH / 3)
                continue;
            ++nLong;
            nKept += touch.byResult != 0;
            nLongest = std::max(nLongest, nLength / 100);
        }
        return {nLong, nKept, nLongest};
    }
    }
}

bool IsGoalKind(uint8_t byKind)
{
    return byKind == MATCHEVENT_GOAL || byKind == MATCHEVENT_PENALTY_SCORED || byKind == MATCHEVENT_OWN_GOAL;
}

}  // namespace

CClientMatch& GetMatchScreen()
{
    static CClientMatch s_Screen;
    return s_Screen;
}

CClientMatch::CClientMatch() { m_wScreenID = SCREEN_MATCH; }

CClientMatch::~CClientMatch() = default;

bool CClientMatch::IsMatchRunning() const
{
    return g_MatchEngine.IsMatchBuilt() && g_MatchEngine.GetMatchState() != MATCHSTATE_NONE;
}

std::string CClientMatch::FormatScore(int nHome, int nAway, bool bTwoLegs, int nFirstLegHome, int nFirstLegAway)
{
    char szText[48];
    // The first leg was played at today's away club: its away goals are
    // today's home club's.
    if (bTwoLegs)
        std::snprintf(szText, sizeof szText, "(%d) %2d - %2d (%d)", nHome + nFirstLegAway, nHome, nAway,
                      nAway + nFirstLegHome);
    else
        std::snprintf(szText, sizeof szText, "%2d - %2d", nHome, nAway);
    return szText;
}

std::string CClientMatch::FormatResultAt(const OTHERRESULT& result, int nMinute)
{
    auto upTo = [nMinute](const std::vector<uint8_t>& minutes) {
        return std::count_if(minutes.begin(), minutes.end(), [nMinute](uint8_t m) { return m <= nMinute; });
    };
    char szText[160];
    std::snprintf(szText, sizeof szText, "%s\t%d - %d\t%s", result.Home.c_str(), int(upTo(result.HomeGoalMinutes)),
                  int(upTo(result.AwayGoalMinutes)), result.Away.c_str());
    return szText;
}

bool CClientMatch::SetupFixture(CDatabaseHandler& database)
{
    m_Fixture = MATCHDAYFIXTURE{};
    m_byFirstLegHome = m_byFirstLegAway = 0;
    MATCHDAYFIXTURE* pEntry = nullptr;
    for (MATCHDAYFIXTURE& entry : g_aMatchDayFixtures)
        if (entry.pFixture) {
            pEntry = &entry;
            break;
        }
    if (!pEntry) {
        DebugLog(0, "[CClientMatch::SetupFixture] No fixture waits for the match screen");
        return false;
    }
    m_Fixture = *pEntry;
    // A second match screen of the same day takes the next entry.
    pEntry->pFixture = nullptr;
    ITEMCUPMATCHRULES rules = CUP_FRIENDLY_MATCH_RULES;
    if (m_Fixture.byKind == 0) {
        const auto* pFixture = static_cast<const CDivisionFixturesDatabase*>(m_Fixture.pFixture);
        m_pHomeClub = database.GetClubFromID(pFixture->GetHomeClubID());
        m_pAwayClub = database.GetClubFromID(pFixture->GetAwayClubID());
        if (m_pHomeClub && m_pHomeClub->m_pDivision)
            rules = m_pHomeClub->m_pDivision->m_MatchRules.AsMatchRules();
    } else {
        const auto* pFixture = static_cast<const CCupFixturesDatabase*>(m_Fixture.pFixture);
        m_pHomeClub = database.GetClubFromID(pFixture->GetHomeClubID());
        m_pAwayClub = database.GetClubFromID(pFixture->GetAwayClubID());
        if (!pFixture->IsFriendly())
            if (const ITEMCUPMATCHRULES* pRules =
                    database.GetCupRoundRules(database.GetCupFromCupNumber(pFixture->GetCupNumber())))
                rules = *pRules;
        const CCupFixturesDatabase* pFirstLeg = pFixture->GetOtherLeg();
        if (pFirstLeg && pFirstLeg->GetDate() < pFixture->GetDate()) {
            if (pFirstLeg->GetHomeGoals() == kFirstLegUnplayed) {
                if (rules.byRules & kRulesFirstLegDecides)
                    rules.byRules = 0;
            } else {
                m_byFirstLegHome = pFirstLeg->GetHomeGoals();
                m_byFirstLegAway = pFirstLeg->GetAwayGoals();
            }
        }
    }
    m_Rules.abyRules[0] = rules.byRules;
    m_Rules.abyRules[1] = rules.bySubstitutions;
    m_Rules.abyRules[2] = rules.bySubstitutesNamed;
    m_Rules.abyRules[3] = rules.byByte3;
    m_Rules.byVenue = rules.byVenue;
    if (!m_pHomeClub || !m_pAwayClub) {
        DebugLog(0, "[CClientMatch::SetupFixture] The fixture names a club that is not in the world");
        return false;
    }
    return true;
}

bool CClientMatch::StartMatch(CDatabaseHandler& database)
{
    m_bRecorded = false;
    m_byDisplayMode = MODE_STATISTICS;
    m_byFigures = FIGURES_CONDITION;
    m_bHalted = false;
    const auto* pGame = dynamic_cast<CGame*>(g_pGame);
    const COptions* pOptions = pGame ? &pGame->GetOptions() : nullptr;
    m_byCamera = (pOptions && pOptions->m_n3DSettings == 2) || !C3DEngine::Is3DAvailable() ? kPlanCamera : 0;
    if (!SetupFixture(database))
        return false;
    m_byAttendancePercent = GetMatchAttendanceAsPercentage(database);
    g_MatchEngine.SetMatchType(database.GetMatchType());
    // With the line-ups shown the players walk out from the tunnel before
    // the kick-off; otherwise they start in their places.
    g_MatchEngine.SetShowLineUps(!pOptions || pOptions->m_MatchDisplayFlags[kMatchLineUpsFlag] != 0);
    if (!g_MatchEngine.StartGame(database, m_pHomeClub->m_wClubId, m_pAwayClub->m_wClubId, 1, m_Rules,
                                 m_byAttendancePercent, nullptr)) {
        DebugLog(0, "[CClientMatch::StartMatch] The match engine cannot set the match up");
        return false;
    }
    g_MatchEngine.SetFirstLegGoals(m_byFirstLegAway, m_byFirstLegHome);
    g_MatchEngine.SetMatchState(MATCHSTATE_STARTED);
    m_pCommentator = std::make_unique<CMatchCommentator>(g_MatchEngine);
    m_pHandler = std::make_unique<CMatchEventHandler>(*this);
    g_MatchEngine.SetEventReceiver(m_pHandler.get());
    m_nSavedHuman = database.GetCurrentHumanIndex();
    m_nShownIncidents = m_nShownLines = 0;
    m_bStatisticsShown = false;
    SendKickOffEvents(database);
    return true;
}

uint8_t CClientMatch::GetMatchAttendanceAsPercentage(CDatabaseHandler& database) const
{
    // The crowd the match is played before; the gate itself is booked when
    // the match is recorded.
    const CGroundDatabase* pGround = nullptr;
    if (m_Rules.byVenue == 0) {
        pGround = m_pHomeClub->GetGround();
    } else if (m_Rules.byVenue <= 3) {
        const ID_GROUND idGround =
            m_Fixture.byKind == 0 ? static_cast<const CDivisionFixturesDatabase*>(m_Fixture.pFixture)->GetGroundID()
                                  : static_cast<const CCupFixturesDatabase*>(m_Fixture.pFixture)->GetGroundID();
        pGround = database.GetGroundFromID(idGround);
    } else {
        DebugLog(0, "[CClientMatch::GetMatchAttendanceAsPercentage] Unknown rules venue");
        return 0;
    }
    if (!pGround) {
        DebugLog(0, "[CClientMatch::GetMatchAttendanceAsPercentage] Unable to find Ground!");
        return 0;
    }
    const int nKind = m_Fixture.byKind == 0 ? MATCHKIND_LEAGUE
                      : static_cast<const CCupFixturesDatabase*>(m_Fixture.pFixture)->IsFriendly() ? MATCHKIND_FRIENDLY
                                                                                                      : MATCHKIND_CUP;
    const int nAttendance = pGround->CalculateAttendance(m_pHomeClub->GetAttendanceFactor(m_pAwayClub, nKind));
    return uint8_t(std::clamp(pGround->GetAttendancePercentage(nAttendance), 0, 100));
}

void CClientMatch::SendKickOffEvents(CDatabaseHandler& database)
{
    auto send = [this](uint8_t byEvent, uint8_t byDetail) {
        ITEMMATCHEVENTINFORMATION& event = g_MatchEngine.GetEventRecord();
        event = ITEMMATCHEVENTINFORMATION{};
        event.dwMatchTime = g_MatchEngine.GetEngineClock();
        event.dwGameTime = g_MatchEngine.GetMatchTime();
        event.byEvent = byEvent;
        event.byDetail = byDetail;
        m_pHandler->OnMatchEvent(event);
    };
    send(1, database.GetGameDate().GetDayOfWeek() == 6 ? 1 : 0);
    if (m_pHomeClub->m_nFanConfidence >= 76)
        send(0, 1);
    else if (m_pHomeClub->m_nFanConfidence < 25)
        send(0, 0);
    send(2, g_MatchEngine.GetConditionsCode(m_pHomeClub));
    if (std::rand() % 100 > 70) {
        if (m_pHomeClub->m_byPitchCondition >= 91)
            send(34, 3);
        else if (m_pHomeClub->m_byPitchCondition < 30)
            send(34, 4);
    }
}

bool CClientMatch::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
        pGame->GetScreenHistory().ClearScreenHistory();
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    m_dwShownScore = m_dwShownSecond = 0xFFFFFFFF;
    m_nResultsMinute = -1;
    m_bStatisticsShown = false;
    m_pView = std::make_unique<CXSurface>();
    m_pView->Create(kViewWidth, kViewHeight, true, false);
    const bool bShown = pDatabase && pDatabase->GetMatchType() != 0;
    // The view's device: the game's when it has one, else one for the view.
    m_bOwn3D = false;
    if (bShown && !C3DEngine::Is3DAvailable() && m_pView->m_pSurface)
        m_bOwn3D = C3DEngine::SetupStatics(m_pView->m_pSurface, C3DEngine::DEVICE_ZBUFFER);

    bool bStarted = IsMatchRunning();
    if (!bStarted && pDatabase)
        bStarted = StartMatch(*pDatabase);
    BuildControls();
    if (bStarted) {
        g_MatchEngine.Enable3DDevice();
        g_MatchEngine.SetViewport(0, 0, kViewWidth, kViewHeight);
        if (!C3DEngine::Is3DAvailable())
            m_byCamera = kPlanCamera;
        SetCamera(m_byCamera);
        if (pDatabase)
            FillLatestResults(*pDatabase);
    }
    m_nShownIncidents = m_nShownLines = 0;
    FillTitleBarLists();
    if (g_pNavigationBar) {
        g_pNavigationBar->EndProgress();
        g_pNavigationBar->ShowMessage("");
        g_pNavigationBar->SetMode(3);
    }
    SetContinueIcon();
    SetDisplayMode(m_byDisplayMode);
    if (!bStarted) {
        // Nothing to play: the day goes on.
        DebugLog(0, "[CClientMatch::OnInitDialog] No match to show");
        return bResult;
    }
    if (pDatabase && pDatabase->GetMatchType() == 0)
        EndMatch();
    return bResult;
}

void CClientMatch::ConstructScreen() { MakeOwnBackground(); }

void CClientMatch::BuildControls()
{
    auto* pCaption = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, kViewX, 12, kViewWidth, 16, ID_CAPTION,
                                                           nullptr));
    // The labels that change during the match wipe their old text first.
    if (pCaption) {
        pCaption->m_bClearBackground = 1;
        pCaption->SetText(" ");
    }
    if (auto* p = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, kSidePlan.nLeft, 10, 150, 18, ID_SCORE,
                                                        nullptr))) {
        p->m_bClearBackground = 1;
        p->SetText(" ");
    }
    if (auto* p = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, kSidePlan.nLeft + 160, 10, 60, 18,
                                                        ID_CLOCK, nullptr))) {
        p->m_bClearBackground = 1;
        p->SetText(" ");
    }
    for (int i = 0; i < 2 * kStatisticRows; ++i) {
        const int x = i < kStatisticRows ? kHomeValueX : kAwayValueX;
        const int y = kRowsY + (i % kStatisticRows) * kRowStep;
        if (auto* p = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, x, y, kValueWidth, 17,
                                                            ID_FIRST_HOME_STATISTIC + uint32_t(i), nullptr)))
            p->m_bClearBackground = 1;
    }
    struct ListPlace {
        uint32_t dwID;
        int nLeft, nTop, nRight, nBottom;
        uint32_t dwBar, dwUp, dwDown;
    };
    const ListPlace places[] = {
        {ID_HOME_INCIDENTS, 8, 316, 178, 492, 0, 0, 0},   {ID_AWAY_INCIDENTS, 446, 316, 616, 492, 0, 0, 0},
        {ID_RESULTS, 0, 316, 616, 476, 901, 885, 886},    {ID_HOME_PLAYERS, 8, 316, 284, 492, 902, 887, 888},
        {ID_AWAY_PLAYERS, 356, 316, 616, 492, 903, 889, 890}, {ID_COMMENTARY, 8, 300, 616, 492, 904, 891, 892},
    };
    for (const ListPlace& place : places) {
        CXScrollBar* pBar = nullptr;
        if (place.dwBar) {
            pBar = static_cast<CXScrollBar*>(
                AddControl(XCONTROL_SCROLLBAR, place.nRight, place.nTop, place.nRight + 16, place.nBottom, place.dwBar,
                           nullptr));
            if (pBar)
                pBar->Create(place.dwUp, place.dwDown, 16, false, 0);
        }
        auto* pList = static_cast<CXListBox*>(
            AddControl(XCONTROL_LISTBOX, place.nLeft, place.nTop, place.nRight, place.nBottom, place.dwID, nullptr));
        if (!pList)
            continue;
        const LISTCOLUMN* pColumns = place.dwID == ID_RESULTS ? kResultColumns
                                     : place.dwID == ID_HOME_PLAYERS || place.dwID == ID_AWAY_PLAYERS ? kPlayerColumns
                                                                                                       : nullptr;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, pColumns != nullptr, nullptr,
                     false, 0, place.dwID == ID_COMMENTARY, false, false);
        if (pColumns)
            pList->SetUpColumns(place.nLeft, place.nTop, place.nRight, place.nBottom, pColumns, false, false,
                                place.nBottom - place.nTop, false);
        pList->SetAutoRedraw(true);
    }
}

void CClientMatch::FillTitleBarLists()
{
    if (!g_pTitlebar)
        return;
    g_pTitlebar->SetMode(3);
    const int aSelectors[] = {15, 16, 26};
    const int aSets[] = {kModeSet, kFiguresSet, kCameraSet};
    const int aCounts[] = {MODE_COUNT, FIGURES_COUNT, kCameraCount};
    const uint8_t aSelected[] = {m_byDisplayMode, m_byFigures, m_byCamera};
    for (int k = 0; k < 3; ++k) {
        CXComboBox* pBox = g_pTitlebar->GetSelector(aSelectors[k]);
        if (!pBox)
            continue;
        pBox->ResetContent();
        for (int i = 0; i < aCounts[k]; ++i)
            pBox->SetItemData(pBox->AddString(kWhite, "%s", GetTableTextOrEmpty(aSets[k], i)), uint32_t(i));
        pBox->SetSelection(aSelected[k]);
    }
    if (CXComboBox* pModes = g_pTitlebar->GetSelector(15)) {
        const CDatabaseHandler* pDatabase = Database();
        auto isHuman = [pDatabase](const CClubDatabase* pClub) {
            for (int nSlot = 0; pDatabase && pClub && nSlot < HUMAN_SLOTS; ++nSlot)
                if (const CSaveGame* pHuman = pDatabase->GetHumanSlot(nSlot); pHuman && pHuman->GetClub() == pClub)
                    return true;
            return false;
        };
        pModes->EnableRow(MODE_RESULTS, !m_Results.empty());
        pModes->EnableRow(MODE_HOME_TACTICS, IsMatchRunning() && isHuman(m_pHomeClub));
        pModes->EnableRow(MODE_AWAY_TACTICS, IsMatchRunning() && isHuman(m_pAwayClub));
    }
    // The camera choice is kept to the plan without 3-D.
    if (CXComboBox* pCameras = g_pTitlebar->GetSelector(26))
        for (int i = 0; i < kCameraCount; ++i)
            pCameras->EnableRow(i, C3DEngine::Is3DAvailable() || i == kPlanCamera);
}

void CClientMatch::SetContinueIcon()
{
    if (!g_pNavigationBar || g_ClientList.empty())
        return;
    const CXClient* pNext = g_ClientList.front().pClient;
    if (pNext == this)
        g_pNavigationBar->SetContinueButton(CGameNavigationBar::LOOK_GO_ON);
    else if (pNext == GetScreenObject(SCREEN_TABLES_FIXTURES) || pNext == GetScreenObject(SCREEN_TABLES_CUP))
        g_pNavigationBar->SetContinueButton(CGameNavigationBar::LOOK_MATCH);
    else
        DebugLog(0, "[CClientMatch::DisplayDetails] Unknown next screen for continue icon!");
}

void CClientMatch::FillLatestResults(CDatabaseHandler& database)
{
    m_Results.clear();
    const CDate today = database.GetGameDate();
    auto isHuman = [&database](ID_CLUB idClub) {
        for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
            if (const CSaveGame* pHuman = database.GetHumanSlot(nSlot);
                pHuman && pHuman->GetClub() && pHuman->GetClub()->m_wClubId == idClub)
                return true;
        return false;
    };
    auto add = [&](ID_CLUB idHome, ID_CLUB idAway, uint32_t dwMatchID) {
        const CClubDatabase* pHome = database.GetClubFromID(idHome);
        const CClubDatabase* pAway = database.GetClubFromID(idAway);
        MATCHHISTORYHEADER header;
        MATCHRECORDBODY body;
        if (!pHome || !pAway || isHuman(idHome) || isHuman(idAway) || !database.FindMatchRecord(header, &body, dwMatchID))
            return;
        OTHERRESULT result{pHome->GetName(), pAway->GetName(), {}, {}};
        // An own goal counts for the other side.
        for (const MATCHEVENT& event : body.HomeEvents)
            if (IsGoalKind(event.byKind))
                (event.byKind == MATCHEVENT_OWN_GOAL ? result.AwayGoalMinutes : result.HomeGoalMinutes)
                    .push_back(event.byMinute);
        for (const MATCHEVENT& event : body.AwayEvents)
            if (IsGoalKind(event.byKind))
                (event.byKind == MATCHEVENT_OWN_GOAL ? result.HomeGoalMinutes : result.AwayGoalMinutes)
                    .push_back(event.byMinute);
        m_Results.push_back(std::move(result));
    };
    // Today's matches of the countries of the two clubs, and today's cup ties.
    for (const CClubDatabase* pClub : {m_pHomeClub, m_pAwayClub}) {
        const CCountryDatabase* pCountry = pClub ? pClub->GetCountry() : nullptr;
        if (!pCountry || (pClub == m_pAwayClub && m_pHomeClub && m_pHomeClub->GetCountry() == pCountry))
            continue;
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                if (p->GetDate() == today && p->IsPlayed())
                    add(p->GetHomeClubID(), p->GetAwayClubID(), p->GetFixtureID());
    }
    for (const CCupFixturesDatabase* p : database.GetCupFixtures().Items<CCupFixturesDatabase>())
        if (p->GetDate() == today && p->GetHomeGoals() != kFirstLegUnplayed && !p->IsFriendly())
            add(p->GetHomeClubID(), p->GetAwayClubID(), p->GetFixtureID());
}

void CClientMatch::SetDisplayMode(uint8_t byMode)
{
    if (byMode == MODE_HOME_TACTICS || byMode == MODE_AWAY_TACTICS) {
        CDatabaseHandler* pDatabase = Database();
        const CClubDatabase* pClub = byMode == MODE_HOME_TACTICS ? m_pHomeClub : m_pAwayClub;
        for (int nSlot = 0; pDatabase && pClub && nSlot < HUMAN_SLOTS; ++nSlot)
            if (const CSaveGame* pHuman = pDatabase->GetHumanSlot(nSlot); pHuman && pHuman->GetClub() == pClub) {
                pDatabase->SetCurrentHumanIndex(uint8_t(nSlot));
                if (g_pNavigationBar)
                    g_pNavigationBar->SetNextClient(GetScreenObject(SCREEN_PITCH_TACTICS), 0);
                return;
            }
        return;
    }
    if (byMode >= MODE_HOME_TACTICS)
        return;
    m_byDisplayMode = byMode;
    if (g_pTitlebar) {
        if (byMode == MODE_PLAYERS)
            g_pTitlebar->SetSelectors({16, 15, 26});
        else
            g_pTitlebar->SetSelectors({15, 26});
    }
    ResetOwnBackground();
    RestoreBackground(0, 0, Width(), Height());
    auto show = [this](uint32_t dwID, bool bShown) {
        if (CXControl* p = FindControl(dwID))
            p->Show(bShown, false);
    };
    show(ID_HOME_INCIDENTS, byMode == MODE_STATISTICS);
    show(ID_AWAY_INCIDENTS, byMode == MODE_STATISTICS);
    for (int i = 0; i < 2 * kStatisticRows; ++i)
        show(ID_FIRST_HOME_STATISTIC + uint32_t(i), byMode == MODE_STATISTICS);
    show(ID_HOME_PLAYERS, byMode == MODE_PLAYERS);
    show(ID_AWAY_PLAYERS, byMode == MODE_PLAYERS);
    show(902, byMode == MODE_PLAYERS);
    show(903, byMode == MODE_PLAYERS);
    show(ID_COMMENTARY, byMode == MODE_COMMENTARY);
    show(904, byMode == MODE_COMMENTARY);
    show(ID_RESULTS, byMode == MODE_RESULTS);
    show(901, byMode == MODE_RESULTS);
    m_bStatisticsShown = false;
    m_nResultsMinute = -1;
    m_dwShownScore = m_dwShownSecond = 0xFFFFFFFF;
    m_bForceCaption = true;
    RefreshModePanel(true);
}

void CClientMatch::SetCamera(uint8_t byCamera)
{
    if (!C3DEngine::Is3DAvailable())
        byCamera = kPlanCamera;
    m_byCamera = byCamera < kCameraCount ? byCamera : 0;
    if (!IsMatchRunning())
        return;
    if (m_byCamera == kPlanCamera) {
        g_MatchEngine.SetCameraMode(CMatchEngine::CAMERA_NO_3D);
        g_MatchEngine.SetRadarRect(kFullPlan);
    } else {
        g_MatchEngine.SetCameraMode(CMatchEngine::CAMERA_ORBIT);
        g_MatchEngine.SelectCameraView(m_byCamera);
        g_MatchEngine.SetRadarRect(kSidePlan);
    }
    g_MatchEngine.UpdateFog();
    ResetOwnBackground();
    RestoreBackground(0, 0, Width(), kRowsY - 4);
    m_dwShownScore = m_dwShownSecond = 0xFFFFFFFF;
}

void CClientMatch::RefreshModePanel(bool bRebuild)
{
    if (!IsMatchRunning())
        return;
    switch (m_byDisplayMode) {
    case MODE_STATISTICS:
        DrawStatistics(bRebuild);
        RefreshIncidents();
        break;
    case MODE_PLAYERS: RefreshPlayers(bRebuild); break;
    case MODE_COMMENTARY: RefreshCommentary(); break;
    default: RefreshResults(bRebuild); break;
    }
}

void CClientMatch::DrawStatistics(bool bForce)
{
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    std::array<uint8_t, 2 * kStatisticRows> values{};
    for (int r = 0; r < kStatisticRows; ++r)
        ReadStatistic(r, values[size_t(r)], values[size_t(r + kStatisticRows)]);
    if (!bForce && m_bStatisticsShown && values == m_abyShownStatistics)
        return;
    m_abyShownStatistics = values;
    m_bStatisticsShown = true;
    plat::DeviceContext dc(m_pBackground->m_pSurface);
    dc.selectFont(g_hSmallFont);
    dc.setBkMode(plat::TRANSPARENT);
    dc.setTextAlign(plat::TA_CENTER | plat::TA_TOP);
    for (int r = 0; r < kStatisticRows; ++r) {
        const int nHome = values[size_t(r)], nAway = values[size_t(r + kStatisticRows)];
        const bool bShare = r < 2;
        if (auto* p = static_cast<CXStatic*>(FindControl(ID_FIRST_HOME_STATISTIC + uint32_t(r))))
            bShare ? p->SetText("%d%%", nHome) : p->SetText("%d", nHome);
        if (auto* p = static_cast<CXStatic*>(FindControl(ID_FIRST_HOME_STATISTIC + uint32_t(r + kStatisticRows))))
            bShare ? p->SetText("%d%%", nAway) : p->SetText("%d", nAway);
        // The bar split by the pair, even when both are nought.
        const int y = kRowsY + r * kRowStep;
        const int nSplit = nHome + nAway > 0 ? kBarWidth * nHome / (nHome + nAway) : kBarWidth / 2;
        m_pBackground->FillGradient(kBarX, y, nSplit, kBarHeight, kHomeBar, kHomeBar);
        m_pBackground->FillGradient(kBarX + nSplit, y, kBarWidth - nSplit, kBarHeight, kAwayBar, kAwayBar);
        dc.setTextColor(kWhite);
        dc.textOut(kBarX + kBarWidth / 2, y + 1, GetTableTextOrEmpty(kStatisticSet, r));
        RestoreBackground(kBarX, y, kBarWidth, kBarHeight);
    }
}

void CClientMatch::RefreshIncidents()
{
    if (!m_pHandler)
        return;
    const std::vector<ITEMINCIDENTINFORMATION>& incidents = m_pHandler->GetIncidents();
    if (m_nShownIncidents == 0)
        for (uint32_t dwID : {ID_HOME_INCIDENTS, ID_AWAY_INCIDENTS})
            if (CXListBox* p = GetList(dwID))
                p->ResetContent();
    for (; m_nShownIncidents < incidents.size(); ++m_nShownIncidents) {
        const ITEMINCIDENTINFORMATION& incident = incidents[m_nShownIncidents];
        CXListBox* pList = GetList(incident.byHomeSide ? ID_HOME_INCIDENTS : ID_AWAY_INCIDENTS);
        if (!pList || !incident.pPlayer)
            continue;
        pList->AddString(kWhite, "%02d %s %s", incident.byMinute, incident.pPlayer->GetShortName(),
                         GetTableTextOrEmpty(kIncidentSet, incident.byKind));
    }
}

void CClientMatch::RefreshPlayers(bool bRebuild)
{
    const CMatchClub* apClubs[2] = {g_MatchEngine.GetHomeClub(), g_MatchEngine.GetAwayClub()};
    for (int s = 0; s < 2; ++s) {
        CXListBox* pList = GetList(s == 0 ? ID_HOME_PLAYERS : ID_AWAY_PLAYERS);
        if (!pList || !apClubs[s])
            continue;
        const int nOnPitch = std::min(apClubs[s]->GetOnPitchCount(), 11);
        if (bRebuild || pList->GetCount() != nOnPitch) {
            pList->ResetContent();
            for (int i = 0; i < nOnPitch; ++i)
                pList->AddString(kWhite, " ");
            for (auto& figures : m_anShownFigures)
                figures = {-1, -1, -1};
        }
        for (int i = 0; i < nOnPitch; ++i) {
            const CMatchPlayer* p = apClubs[s]->GetSlot(i);
            if (!p || !p->GetRecord())
                continue;
            const std::array<int, 3> figures = Figures(*p, m_byFigures);
            std::array<int, 3>& shown = m_anShownFigures[size_t(s * 11 + i)];
            if (figures == shown && !bRebuild)
                continue;
            shown = figures;
            const CPlayerDatabase* pRecord = p->GetRecord();
            const int nNumber = pRecord->m_bySquadNumber ? pRecord->m_bySquadNumber : p->GetSquadPosition() + 1;
            char szRow[128];
            std::snprintf(szRow, sizeof szRow, "%d\t%s\t%d\t%d\t%d", nNumber, pRecord->GetShortName(), figures[0],
                          figures[1], figures[2]);
            pList->SetRowText(i, szRow);
        }
        pList->Redraw();
    }
}

void CClientMatch::RefreshCommentary()
{
    CXListBox* pList = GetList(ID_COMMENTARY);
    if (!pList || !m_pCommentator)
        return;
    const std::vector<MATCHCOMMENTARYTEXT>& lines = m_pCommentator->GetLines();
    if (m_nShownLines > lines.size() || pList->GetCount() == 0)
        m_nShownLines = 0, pList->ResetContent();
    for (; m_nShownLines < lines.size(); ++m_nShownLines)
        pList->AddWrappedString(
            (std::string(lines[m_nShownLines].byMinute < 10 ? "0" : "") + std::to_string(lines[m_nShownLines].byMinute) +
             " : " + lines[m_nShownLines].Text)
                .c_str(),
            kCommentaryColour, g_hSmallFont, 0);
}

void CClientMatch::RefreshResults(bool bForce)
{
    CXListBox* pList = GetList(ID_RESULTS);
    const int nMinute = int(g_MatchEngine.GetMatchTime() / kMinute);
    if (!pList || (!bForce && nMinute == m_nResultsMinute))
        return;
    m_nResultsMinute = nMinute;
    pList->ResetContent();
    for (const OTHERRESULT& result : m_Results)
        pList->AddString(kWhite, "%s", FormatResultAt(result, nMinute).c_str());
    pList->Redraw();
}

void CClientMatch::AddToCommentary(const ITEMMATCHEVENTINFORMATION& event)
{
    if (m_pCommentator)
        m_pCommentator->AddToCommentary(event);
}

void CClientMatch::QueueCrowdSound(int nCategory, uint32_t dwDelay) { g_MatchEngine.QueueCrowdSound(nCategory, dwDelay); }
void CClientMatch::PlayCrowdSound(int nCategory) { g_MatchEngine.PlayCrowdSound(nCategory); }
void CClientMatch::UpdateCrowdMood(CMatchClub* pClub, int nCode) { g_MatchEngine.UpdateCrowdMood(pClub, nCode); }
void CClientMatch::PlayCrowdReaction(CMatchClub* pClub, int nCode) { g_MatchEngine.PlayCrowdReaction(pClub, nCode); }
void CClientMatch::ShowIncident(const ITEMINCIDENTINFORMATION&) {}

void CClientMatch::DrawRadarPlan(plat::Surface& target) const
{
    plat::DeviceContext dc(&target);
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0, xm = 0, ym = 0;
    g_MatchEngine.RadarPoint(CVector(0, 0, 0), x0, y0);
    g_MatchEngine.RadarPoint(CVector(PITCH_LENGTH, PITCH_WIDTH, 0), x1, y1);
    g_MatchEngine.RadarPoint(CVector(PITCH_LENGTH / 2, PITCH_WIDTH / 2, 0), xm, ym);
    const int32_t nLeft = std::min(x0, x1), nRight = std::max(x0, x1), nTop = std::min(y0, y1),
                  nBottom = std::max(y0, y1);
    std::unique_ptr<plat::Brush> pGrass(plat::Brush::createSolid(kPlanGrass));
    dc.fillRect({nLeft - kPlanMargin, nTop - kPlanMargin, nRight + kPlanMargin + 1, nBottom + kPlanMargin + 1},
                pGrass.get());
    plat::Pen lines(plat::PS_SOLID, 1, kPlanLines);
    dc.selectBrush(plat::Brush::hollow());
    dc.selectPen(&lines);
    dc.rectangle(nLeft, nTop, nRight + 1, nBottom + 1);
    dc.moveTo(nLeft, ym);
    dc.lineTo(nRight + 1, ym);
    dc.ellipse(xm - 18, ym - 18, xm + 19, ym + 19);
    dc.selectPen(nullptr);
    dc.selectBrush(nullptr);
    g_MatchEngine.DrawRadar(&target);
}

void CClientMatch::DrawView()
{
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface || !m_pView || !m_pView->m_pSurface)
        return;
    plat::Surface& view = *m_pView->m_pSurface;
    int x = kViewX;
    if (m_byCamera == kPlanCamera) {
        x = kPlanViewX;
        view.fill(nullptr, 0);
        DrawRadarPlan(view);
    } else {
        if (!m_bHalted && C3DEngine::SetRenderTarget(&view)) {
            g_MatchEngine.Get3DEngine()->UpdateCamera(0.04f);
            g_MatchEngine.DrawOverlay(&view);
        }
        DrawRadarPlan(*m_pDrawingSurface->m_pSurface);
    }
    m_pDrawingSurface->m_pSurface->bltFast(x, kViewY, view, nullptr, plat::BLTFAST_WAIT);
    if (m_bHalted)
        m_pDrawingSurface->ShadeRect(x, kViewY, kViewWidth, kViewHeight, 2);
}

void CClientMatch::UpdateClockAndScore()
{
    const uint32_t dwSecond = g_MatchEngine.GetMatchTime() / 1000;
    if (dwSecond != m_dwShownSecond) {
        m_dwShownSecond = dwSecond;
        if (auto* p = static_cast<CXStatic*>(FindControl(ID_CLOCK)))
            p->SetText("%d:%02d", int(dwSecond / 60), int(dwSecond % 60));
    }
    uint8_t byHome = 0, byAway = 0;
    g_MatchEngine.GetScore(byHome, byAway);
    const uint32_t dwScore = uint32_t(byHome) << 8 | byAway;
    if (dwScore != m_dwShownScore) {
        m_dwShownScore = dwScore;
        const bool bTwoLegs = (m_Rules.abyRules[0] & CMatchReferee::RULE_AGGREGATE) != 0;
        const std::string score = FormatScore(byHome, byAway, bTwoLegs, m_byFirstLegHome, m_byFirstLegAway);
        if (auto* p = static_cast<CXStatic*>(FindControl(ID_SCORE)))
            p->SetText("%s", score.c_str());
        if (g_pTitlebar && m_pHomeClub && m_pAwayClub)
            g_pTitlebar->SetMatch(m_pHomeClub->GetID(), m_pAwayClub->GetID(), score.c_str());
    }
    if (auto* p = static_cast<CXStatic*>(FindControl(ID_CAPTION))) {
        char szCaption[160];
        std::snprintf(szCaption, sizeof szCaption, "  %s - %s", m_pHomeClub ? m_pHomeClub->GetName() : "",
                      m_pAwayClub ? m_pAwayClub->GetName() : "");
        if (m_bForceCaption || std::string(p->Text()) != szCaption)
            p->SetText("%s", szCaption);
        m_bForceCaption = false;
    }
}

void CClientMatch::UpdateFrame()
{
    if (!IsMatchRunning())
        return;
    m_bHalted = g_MatchEngine.IsPaused();
    if (!m_bHalted && g_MatchEngine.GetMatchState() == MATCHSTATE_STARTED)
        g_MatchEngine.Update();
    DrawView();
    UpdateClockAndScore();
    RefreshModePanel(false);
}

void CClientMatch::OnPaint()
{
    UpdateFrame();
    CGameClient::OnPaint();
}

void CClientMatch::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags)
{
    CGameClient::OnKeyDown(key, repeat, flags);
    if (!IsMatchRunning() || g_MatchEngine.GetMatchState() != MATCHSTATE_STARTED)
        return;
    g_MatchEngine.HandleKey(key);
    if (key == kKeyPause)
        m_bHalted = g_MatchEngine.IsPaused();
}

void CClientMatch::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    if (dwID == CGameNavigationBar::ID_CONTINUE_MATCH) {
        if (!m_bRecorded)
            EndMatch();
        else if (g_pNavigationBar)
            g_pNavigationBar->ContinueGame();
    }
}

void CClientMatch::OnSelChange(uint32_t dwID)
{
    CGameClient::OnSelChange(dwID);
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(dwID == ID_DISPLAY_MODE     ? 15
                                                              : dwID == ID_PLAYER_FIGURES ? 16
                                                                                          : 26)
                                   : nullptr;
    if (!pBox || pBox->GetSelection() < 0)
        return;
    const uint8_t byChoice = uint8_t(pBox->GetItemData(pBox->GetSelection()));
    if (dwID == ID_DISPLAY_MODE)
        SetDisplayMode(byChoice);
    else if (dwID == ID_PLAYER_FIGURES && byChoice < FIGURES_COUNT) {
        m_byFigures = byChoice;
        RefreshModePanel(true);
    } else if (dwID == ID_CAMERA) {
        SetCamera(byChoice);
        if (m_byCamera != byChoice)
            pBox->SetSelection(m_byCamera);
    }
}

void CClientMatch::OnDoubleClicked(uint32_t dwID)
{
    CGameClient::OnDoubleClicked(dwID);
    if (dwID != ID_HOME_PLAYERS && dwID != ID_AWAY_PLAYERS)
        return;
    const CMatchClub* pClub = dwID == ID_HOME_PLAYERS ? g_MatchEngine.GetHomeClub() : g_MatchEngine.GetAwayClub();
    const CXListBox* pList = GetList(dwID);
    const int nRow = pList ? pList->GetSelection() : -1;
    if (!pClub || nRow < 0 || nRow >= pClub->GetOnPitchCount())
        return;
    if (const CMatchPlayer* p = pClub->GetSlot(nRow); p && p->GetRecord())
        GetPlayerDetailsPopup().Show(p->GetRecord(), 0, false);
}

bool CClientMatch::EndMatch()
{
    CDatabaseHandler* pDatabase = Database();
    if (!IsMatchRunning() || m_bRecorded || !pDatabase)
        return false;
    g_MatchEngine.SetMatchState(MATCHSTATE_ENDED);
    g_MatchEngine.SetPaused(false);
    m_bHalted = true;
    // The rest is played through, period after period, to the referee's
    // last whistle.
    for (int nPeriod = 0; nPeriod < 8 && g_MatchEngine.GetResultCode() == CMatchEngine::kNoResult; ++nPeriod)
        g_MatchEngine.SkipToEvent(CMatchEngine::kNextPeriod);
    const uint8_t byResult = g_MatchEngine.GetResultCode();
    const bool bRecorded = CShownMatchRecorder::Record(
        *pDatabase, m_Fixture, DescribeShownMatch(g_MatchEngine), m_pHandler->GetIncidents(),
        byResult == CMatchEngine::kNoResult ? CShownMatchRecorder::kScoreDecides : int(byResult));
    if (!bRecorded)
        DebugLog(0, "[CClientMatch::EndMatch] The match could not be recorded");
    m_bRecorded = true;
    UpdateClockAndScore();
    RefreshModePanel(true);
    DrawView();
    if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
        pGame->GetScreenHistory().ClearScreenHistory();
    if (g_pNavigationBar)
        g_pNavigationBar->ContinueGame();
    return bRecorded;
}

void CClientMatch::OnDestroy()
{
    CGameClient::OnDestroy();
    CDatabaseHandler* pDatabase = Database();
    const uint8_t byState = g_MatchEngine.IsMatchBuilt() ? g_MatchEngine.GetMatchState() : uint8_t(MATCHSTATE_NONE);
    g_MatchEngine.Disable3DDevice();
    if (byState == MATCHSTATE_NONE)
        DebugLog(0, "[CClientMatch::OnDestroy] Match Engine not active");
    if (byState == MATCHSTATE_ENDED) {
        if (g_pTitlebar)
            g_pTitlebar->SetMatch(0, 0, "");
        if (pDatabase)
            pDatabase->SetCurrentHumanIndex(uint8_t(m_nSavedHuman));
        g_MatchEngine.SetEventReceiver(nullptr);
        g_MatchEngine.EndGame();
        g_MatchEngine.SetMatchState(MATCHSTATE_NONE);
        m_pHandler.reset();
        m_pCommentator.reset();
    }
    if (m_bOwn3D && byState != MATCHSTATE_STARTED) {
        C3DEngine::DestroyStatics();
        m_bOwn3D = false;
    }
    m_Results.clear();
    m_pView.reset();
    DebugLog(0, "[CClientMatch::OnDestroy] Left Client Match");
}

CXListBox* CClientMatch::GetList(uint32_t dwID) const { return dynamic_cast<CXListBox*>(FindControl(dwID)); }

std::string CClientMatch::ControlText(uint32_t dwID) const
{
    const auto* p = dynamic_cast<const CXStatic*>(FindControl(dwID));
    return p ? p->Text() : "";
}
