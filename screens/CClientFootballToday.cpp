#include "screens/CClientFootballToday.h"

#include "shell/CGame.h"
#include "shell/CGameDay.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/CompetitionNames.h"
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
#include "database/CEventsDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/DeviceContext.h"
#include "platform/Files.h"
#include "season/CNewspaperManager.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXCalendar.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Table-text sets of this screen.
constexpr int kNoticeTextSet = 0;
constexpr int kDiaryTextSet = 1;
constexpr int kMailFolderSet = 2;
constexpr int kCaptionSet = 3;
constexpr int kWordSet = 114;
constexpr int kMonthNameSet = 128;
constexpr int kShortMonthSet = 130;
constexpr int kCountryNameSet = 92;

// Messages of the message box: a club whose screen cannot be opened, and
// the end of a scenario.
constexpr int kClubNotShown = 66;
constexpr int kScenarioFailed = 150;
constexpr int kScenarioAchieved = 151;

// Items of the diary set.
enum : int {
    DIARY_SEASON_START = 0,
    DIARY_SEASON_END = 1,
    DIARY_FRIENDLY = 2,
    DIARY_LEAGUE_MATCH = 3,
    DIARY_CONTRACT_ENDS = 20,
    DIARY_PLAY_OFF = 21,
};
// Items of the word set: the venue from the human club's side.
constexpr int kWordHome = 0;
constexpr int kWordAway = 1;
constexpr int kWordNeutral = 35;

// Scroll bars of the three lists and their arrows.
constexpr uint32_t kDiaryBar = 901, kMailBar = 902, kVacancyBar = 903;

constexpr int kIconWidth = 20;
constexpr int kIconHeight = 13;
constexpr int kRowHeight = 16;

constexpr COLORREF kPointsColour = 0xff294a;
constexpr COLORREF kPositionColour = 0x2121ff;
constexpr COLORREF kBalanceColour = 0xff294a;
constexpr COLORREF kProjectionColour = 0x5a8cff;
constexpr COLORREF kAxisColour = plat::RGB(111, 156, 192);
constexpr COLORREF kLabelColour = plat::RGB(242, 242, 234);
constexpr COLORREF kRowColour = plat::RGB(242, 242, 234);
constexpr COLORREF kDefaultClubColour = 0x9d37;

// The weekly finance records shown before the projection.
constexpr int kFinanceRecordsShown = 5;
constexpr int kProjectedRecordBytes = 888;
constexpr int kGraphPoints = 12;

// Bytes of a division history record the position graph draws.
constexpr int kHistoryPoints = 20;
constexpr int kHistoryPosition = 21;

const LISTCOLUMN kDiaryColumns[] = {
    {0, 18, 0, 0, 0, 0, 1001, LISTSORT_NONE, 0},
    {18, 286, 6, 0, 0, 0, 1011, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kMailColumns[] = {
    {0, 172, 6, 0, 0, 0, 20, LISTSORT_NONE, 0},
    {172, 226, 10, 0, 6, 0, 21, LISTSORT_NONE, 0},
    {226, 286, 10, 0, 6, 0, 22, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kVacancyColumns[] = {
    {0, 80, 8, 0, 6, 0, 980, LISTSORT_DATE, 0},
    {80, 300, 6, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {300, 440, 6, 0, 0, 0, 29, LISTSORT_TEXT, 0},
    {440, 624, 6, 0, 0, 0, 30, LISTSORT_TEXT, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const CALENDARDAYNAME kDayNames[] = {
    {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {6, 0, 0}, {7, 0, 0}, {CALENDAR_DAY_NAMES_END, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

std::string Format(const char* pszFormat, const char* a, const char* b = "", const char* c = "",
                   const char* d = "", const char* e = "")
{
    char szRow[LISTBOX_ROW_TEXT_SIZE];
    std::snprintf(szRow, sizeof szRow, pszFormat, a, b, c, d, e);
    return szRow;
}

// The fixture row of the diary: text, venue word, opponent and, once played,
// the result word and the score.
std::string FixtureRow(CDatabaseHandler& database, const CClubDatabase& club, const CDate& date)
{
    void* pFixture = nullptr;
    int nKind = 0;
    const CClubDatabase* pOpponent = database.GetFixtureOpponent(club.GetID(), date, 0, 2, &pFixture, &nKind);
    if (!pOpponent || !pFixture)
        return {};
    ID_CLUB idHome = 0;
    ID_GROUND idGround = 0;
    int8_t cHome = -1, cAway = -1;
    bool bPlayed = false;
    const char* pszText = "";
    char szCompetition[64] = {};
    if (nKind == 0) {
        const auto* pLeague = static_cast<const CDivisionFixturesDatabase*>(pFixture);
        idHome = pLeague->GetHomeClubID();
        idGround = pLeague->GetGroundID();
        cHome = static_cast<int8_t>(pLeague->GetHomeGoals());
        cAway = static_cast<int8_t>(pLeague->GetAwayGoals());
        bPlayed = pLeague->IsPlayed();
        pszText = Text(kDiaryTextSet, pLeague->GetState() == 1 ? DIARY_PLAY_OFF : DIARY_LEAGUE_MATCH);
    } else {
        const auto* pCup = static_cast<const CCupFixturesDatabase*>(pFixture);
        idHome = pCup->GetHomeClubID();
        idGround = pCup->GetGroundID();
        cHome = static_cast<int8_t>(pCup->GetHomeGoals());
        cAway = static_cast<int8_t>(pCup->GetAwayGoals());
        bPlayed = pCup->IsPlayed();
        if (pCup->GetCup())
            FormatCompetitionName(pCup->GetCup(), &database, szCompetition, sizeof szCompetition);
        pszText = szCompetition[0] ? szCompetition : Text(kDiaryTextSet, DIARY_FRIENDLY);
    }
    const CClubDatabase* pHome = database.GetClubFromID(idHome);
    const bool bAtHomeGround = pHome && idGround == pHome->m_wHomeGroundId;
    const bool bHumanAtHome = idHome == club.GetID();
    const char* pszVenue =
        Text(kWordSet, !bAtHomeGround ? kWordNeutral : bHumanAtHome ? kWordHome : kWordAway);
    if (!bPlayed)
        return Format("\t%s : %s : %s", pszText, pszVenue, pOpponent->GetName());
    char szScore[32];
    const char* pszResult = FormatFixtureScore(bHumanAtHome ? 0 : 1, szScore, sizeof szScore, cHome, cAway, 0);
    return Format("\t%s : %s : %s : %s %s", pszText, pszVenue, pOpponent->GetName(), pszResult ? pszResult : "",
                  szScore);
}

const char* PersonName(CDatabaseHandler& database, uint32_t idPerson)
{
    if (const CPlayerDatabase* pPlayer = database.GetPlayerFromID(idPerson))
        return pPlayer->GetShortName();
    return "";
}

// The diary row of an event that concerns the club; empty for a type the
// diary does not show.
std::string EventRow(CDatabaseHandler& database, const CEventsDatabase& event)
{
    const uint8_t byType = event.GetType();
    switch (byType) {
    case 0:
        return Format("\t%s", Text(kDiaryTextSet, 7));
    case 25:
    case 26:
    case 27:
    case 28:
    case 29: {
        static const int kItems[] = {8, 9, 6, 4, 5};
        return Format("\t%s : %s", Text(kDiaryTextSet, kItems[byType - 25]), PersonName(database, event.GetDataID()));
    }
    case 30:
    case 33:
    case 34:
    case 35:
    case 36:
    case EVENT_BLOCKED_PERIOD_START:
    case EVENT_BLOCKED_PERIOD_END: {
        static const int kItems[] = {10, 0, 0, 11, 12, 13, 14, 15, 16};
        return Format("\t%s", Text(kDiaryTextSet, kItems[byType - 30]));
    }
    case EVENT_CUP_ROUND:
        return Format("\t%s", Text(kDiaryTextSet, 17));
    case 43:
    case 44:
        return Format("\t%s", Text(kDiaryTextSet, byType == 43 ? 18 : 19));
    default:
        return {};
    }
}

}  // namespace

CClientFootballToday& GetFootballTodayScreen()
{
    static CClientFootballToday s_Screen;
    return s_Screen;
}

CClientFootballToday::CClientFootballToday() { m_wScreenID = SCREEN_FOOTBALL_TODAY; }

CClientFootballToday::~CClientFootballToday() { FreeIcons(); }

std::vector<std::string> CClientFootballToday::BuildDiaryRows(CDatabaseHandler& database, const CSaveGame& human,
                                                              const CDate& date)
{
    std::vector<std::string> rows;
    const CClubDatabase* pClub = human.GetClub();
    const CCountryDatabase* pCountry = pClub ? pClub->m_pCountry : human.GetCountry();
    if (pCountry) {
        if (pCountry->GetSeasonStartDate() == date)
            rows.push_back(Format("\t%s", Text(kDiaryTextSet, DIARY_SEASON_START)));
        if (pCountry->GetSeasonEndDate() == date)
            rows.push_back(Format("\t%s", Text(kDiaryTextSet, DIARY_SEASON_END)));
    }
    if (!pClub)
        return rows;
    if (std::string fixture = FixtureRow(database, *pClub, date); !fixture.empty())
        rows.push_back(fixture);
    for (const CCountryDatabase* pEventCountry : database.GetCountries().Items<CCountryDatabase>())
        for (const CEventsDatabase* pEvent : pEventCountry->GetEvents().Items<CEventsDatabase>()) {
            if (pEvent->GetDate() > date)
                break;
            if (pEvent->GetDate() == date && pEvent->IsClubEvent(pClub))
                if (std::string row = EventRow(database, *pEvent); !row.empty())
                    rows.push_back(row);
        }
    for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->m_Contract.dwEndDate == date.GetValue())
            rows.push_back(Format("\t%s : %s", Text(kDiaryTextSet, DIARY_CONTRACT_ENDS), pPlayer->GetShortName()));
    return rows;
}

uint32_t CClientFootballToday::BuildMonthMarks(CDatabaseHandler& database, const CSaveGame& human, const CDate& month)
{
    uint32_t dwMarks = 0;
    CDate day(month.GetYear(), month.GetMonth(), 1);
    const int nDays = day.GetDaysInMonth();
    for (int nDay = 1; nDay <= nDays; ++nDay) {
        day.SetDay(nDay);
        if (!BuildDiaryRows(database, human, day).empty())
            dwMarks |= 1u << nDay;
    }
    return dwMarks;
}

int CClientFootballToday::GetNoticeScreen(int nCode)
{
    static const int kScreens[] = {27, 7, 7, 33, 37, 4, 5, 38, 32, 35, 36, 21, 20, 28, 17, 39, 26, -1, 17, 17};
    return nCode >= 0 && nCode < static_cast<int>(std::size(kScreens)) ? kScreens[nCode] : -1;
}

int CClientFootballToday::GetNoticeIcon(uint8_t byState)
{
    if (byState & NOTICE_MARKED)
        return ICON_NOTICE_MARKED;
    return byState ? ICON_NOTICE_READ : ICON_NOTICE_UNREAD;
}

uint8_t CClientFootballToday::ToggleNoticeMark(uint8_t byState)
{
    if (byState == 0)
        return NOTICE_MARKED;
    if (byState & NOTICE_MARKED)
        return static_cast<uint8_t>(byState & ~NOTICE_MARKED);
    return byState;
}

void CClientFootballToday::FreeIcons()
{
    for (auto& pIcon : m_apDiaryIcons)
        pIcon.reset();
    m_pCalendarIcons.reset();
    m_pMonthButtons.reset();
}

void CClientFootballToday::BuildBackground(bool bHasClub)
{
    CGame* pGame = Game();
    if (!SetBackgroundBitmap("bgMain.bmp"))
        return;
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(Width(), Height(), false, false))
        return;
    CXSurface::Blit(m_pBackground, GetBackgroundSurface(), 0, 0);
    CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr;
    auto shade = [&](int x1, int y1, int x2, int y2) {
        if (pShading)
            ShadeRectangle(m_pBackground, pShading, x1, y1, x2, y2);
        else
            ShadeRect(x1, y1, x2 - x1, y2 - y1);
    };
    if (bHasClub) {
        shade(10, 280, 310, 470);
        shade(330, 280, 630, 470);
        // Under each line's toggle a strip of the line's colour ties the
        // two together.
        const std::pair<int, COLORREF> kStrips[] = {
            {8, kPositionColour}, {98, kPointsColour}, {330, kBalanceColour}, {420, kProjectionColour}};
        for (const auto& [x, crColour] : kStrips)
            m_pBackground->FillGradient(x + 2, kBottomButtonY + 27, 80, 3, crColour, crColour);
    }
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    if (!pTabs)
        return;
    // The lists carry their own headers; the graphs and the vacancies get a
    // caption tab each.
    static const CAPTIONTAB kWithClub[] = {
        {2, 3, 0, 16, 284, 200},
        {2, 4, 0, 336, 284, 200},
        {0, 0, 0, 0, 0, 0},
    };
    static const CAPTIONTAB kWithoutClub[] = {
        {2, 5, 0, 0, 284, 220},
        {0, 0, 0, 0, 0, 0},
    };
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, bHasClub ? kWithClub : kWithoutClub);
}

CXListBox* CClientFootballToday::AddList(uint32_t dwID, uint32_t dwBarID, uint32_t dwUpID, uint32_t dwDownID,
                                         int nLeft, int nTop, int nRight, int nBottom, const LISTCOLUMN* pColumns)
{
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, dwBarID, nullptr));
    if (pBar)
        pBar->Create(dwUpID, dwDownID, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (!pList)
        return nullptr;
    pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true, pBar,
                 true, nullptr, true, 0, false, false, false);
    pList->SetUpColumns(nLeft, nTop, nRight, nBottom, pColumns, false, false, nBottom - nTop, false);
    pList->SetAutoRedraw(true);
    return pList;
}

void CClientFootballToday::AddGraphButtons()
{
    CGame* pGame = Game();
    CXSurface* pFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog2.bmp") : nullptr;
    struct TOGGLE {
        uint32_t dwID;
        int x;
        CXGraph* pGraph;
        int nLine;
    };
    const TOGGLE kToggles[] = {
        {ID_POSITION_LINE, 8, m_pPositionGraph, 1},
        {ID_POINTS_LINE, 98, m_pPositionGraph, 0},
        {ID_BALANCE_LINE, 330, m_pFinanceGraph, 4},
        {ID_PROJECTION_LINE, 420, m_pFinanceGraph, 2},
    };
    for (const TOGGLE& toggle : kToggles) {
        auto* pButton = static_cast<CXButton*>(
            AddControlXYWH(XCONTROL_BUTTON, toggle.x, kBottomButtonY, 84, 26, toggle.dwID, nullptr));
        if (!pButton)
            continue;
        pButton->m_hFont = g_hSmallFont;
        pButton->SetToggleTextID(pFace, 0, toggle.pGraph, toggle.nLine, 0);
        pButton->SetChecked(1);
    }
}

bool CClientFootballToday::OnInitDialog()
{
    if (m_bReturnToStartup) {
        // The game starts again from the start-up screen.
        m_bReturnToStartup = 0;
        if (CGame* pGame = Game())
            pGame->m_bRestartRequest = 1;
        return CGameClient::OnInitDialog();
    }
    CDatabaseHandler* pDatabase = Database();
    CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    BuildBackground(pClub != nullptr);
    CGameClient::OnInitDialog();
    if (m_bContinueOnShow) {
        m_bContinueOnShow = 0;
        if (g_pNavigationBar)
            g_pNavigationBar->ContinueGame();
    }

    FreeIcons();
    m_pCalendarIcons.reset(LoadMainArchiveBitmap("icnCal.bmp", true));
    if (m_pCalendarIcons)
        for (int i = 0; i < 4; ++i) {
            m_apDiaryIcons[i] = std::make_unique<CXAnimation>();
            m_apDiaryIcons[i]->Setup(m_pCalendarIcons.get(), kIconWidth, kIconHeight, 0, i * kIconHeight, 1, 1);
        }
    if (g_pNavigationBar)
        g_pNavigationBar->UpdateContinueButton();
    if (pHuman)
        pHuman->GetNotices().RecheckNotices();

    m_pCalendar = static_cast<CXCalendar*>(AddControl(XCONTROL_CALENDAR, 8, 40, 316, 270, ID_CALENDAR, nullptr));
    m_pMonthButtons.reset(LoadMainArchiveBitmap("btnMonth.bmp", true));
    for (uint32_t dwID : {ID_PREVIOUS_MONTH, ID_NEXT_MONTH}) {
        const int x = dwID == ID_PREVIOUS_MONTH ? 282 : 300;
        auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, x, 6, 16, 16, dwID, nullptr));
        if (pButton && m_pMonthButtons)
            pButton->SetBitmap(m_pMonthButtons.get(), 0, dwID == ID_PREVIOUS_MONTH ? 0 : 16, true, true);
    }
    m_pMonthLabel = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 10, 4, 180, 22, ID_MONTH_LABEL, nullptr));
    if (m_pMonthLabel) {
        m_pMonthLabel->m_hFont = g_hLargeBoldFont;
        m_pMonthLabel->m_crText = 0x00FFFFFF;
        m_pMonthLabel->m_bFrame = 0;
    }
    m_pDiaryList = AddList(ID_DIARY, kDiaryBar, 885, 886, 330, 40, 616, 136, kDiaryColumns);
    m_pMailSummaryList = AddList(ID_MAIL, kMailBar, 887, 888, 330, 176, 616, 272, kMailColumns);
    m_pPositionGraph = nullptr;
    m_pFinanceGraph = nullptr;
    m_pVacancyList = nullptr;
    if (pClub) {
        m_pPositionGraph =
            static_cast<CXGraph*>(AddControl(XCONTROL_GRAPH, 45, 306, 275, 450, ID_POSITION_GRAPH, nullptr));
        m_pFinanceGraph =
            static_cast<CXGraph*>(AddControl(XCONTROL_GRAPH, 365, 306, 595, 450, ID_FINANCE_GRAPH, nullptr));
        AddGraphButtons();
    } else {
        m_pVacancyList = AddList(ID_VACANCIES, kVacancyBar, 889, 890, 0, 320, 640, 464, kVacancyColumns);
    }

    if (m_pCalendar && pDatabase) {
        m_pCalendar->SetDate(pDatabase->GetGameDate().GetValue());
        // The manager's colour, darkened so that the day's white number on
        // it stays readable.
        const COLORREF crColour = pHuman ? pHuman->GetColourForClub() : kDefaultClubColour;
        m_pCalendar->m_crChosenFill = plat::RGB(static_cast<uint8_t>((crColour & 0xFF) * 45 / 100),
                                                static_cast<uint8_t>(((crColour >> 8) & 0xFF) * 45 / 100),
                                                static_cast<uint8_t>(((crColour >> 16) & 0xFF) * 45 / 100));
        m_pCalendar->SetDayNames(kDayNames);
    }
    UpdateMonthLabel();
    MarkCalendarMonth();
    FillDayDiary();
    FillMailSummary();
    if (pClub) {
        FillLeaguePositionGraph();
        FillFinanceGraph();
    } else {
        FillVacancyList();
    }
    ShowAllControls(true);
    UpdateBars();
    // A scenario decided by the day just run ends the game here.
    if (const int nOutcome = CGameDay::TakeScenarioOutcome(); nOutcome != CGameDay::SCENARIO_UNDECIDED)
        ShowScenarioOutcome(nOutcome == CGameDay::SCENARIO_ACHIEVED);
    return true;
}

void CClientFootballToday::ShowScenarioOutcome(bool bAchieved)
{
    // The scenario's own page tells how it ended; a game without its
    // scenario number is told in the message box.
    const CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    auto* pScenario = dynamic_cast<CGameScenarioPopup*>(GetPopupObject(SCREEN_SCENARIO_POPUP));
    if (pScenario && pHuman && pHuman->GetScenario() != CSaveGame::SCENARIO_NONE &&
        pScenario->Show(pHuman->GetScenario(), bAchieved ? 2 : 1)) {
        m_bScenarioOutcomeShown = 1;
        return;
    }
    ShowGameMessageBox(CGameMessageBox::MODE_OK, bAchieved ? kScenarioAchieved : kScenarioFailed);
}

void CClientFootballToday::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (!m_bScenarioOutcomeShown || !dynamic_cast<const CGameScenarioPopup*>(pPopup))
        return;
    // The scenario is over: the game starts again from the start-up screen.
    m_bScenarioOutcomeShown = 0;
    m_bReturnToStartup = 1;
    if (g_pNavigationBar)
        g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, true);
}

void CClientFootballToday::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    const int nItem = pBox ? pBox->GetTextItem() : 0;
    if (nItem == kScenarioAchieved || nItem == kScenarioFailed) {
        m_bReturnToStartup = 1;
        if (g_pNavigationBar)
            g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, true);
        return;
    }
    CGameClient::OnEndMessageBoxPopup();
}

void CClientFootballToday::OnDestroy()
{
    CGameClient::OnDestroy();
    m_pDiaryList = m_pMailSummaryList = m_pVacancyList = nullptr;
    m_pCalendar = nullptr;
    m_pMonthLabel = nullptr;
    m_pPositionGraph = m_pFinanceGraph = nullptr;
    FreeIcons();
}

void CClientFootballToday::UpdateMonthLabel()
{
    if (!m_pMonthLabel || !m_pCalendar)
        return;
    const CDate& shown = m_pCalendar->m_ShownMonth;
    m_pMonthLabel->SetText("%s %d", Text(kMonthNameSet, shown.GetMonth()), shown.GetYear());
}

void CClientFootballToday::MarkCalendarMonth()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (!m_pCalendar)
        return;
    m_pCalendar->m_dwMarkedDays = pHuman ? BuildMonthMarks(*pDatabase, *pHuman, m_pCalendar->m_ShownMonth) : 0;
    m_pCalendar->DrawMonth();
}

void CClientFootballToday::FillDayDiary()
{
    if (!m_pDiaryList)
        return;
    m_pDiaryList->ResetContent();
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (pHuman && m_pCalendar)
        for (const std::string& row : BuildDiaryRows(*pDatabase, *pHuman, m_pCalendar->m_Chosen)) {
            const int nRow = m_pDiaryList->AddString(kRowColour, "%s", row.c_str());
            if (nRow >= 0 && m_apDiaryIcons[ICON_DIARY])
                m_pDiaryList->AddAlignedColumnGraphic(nRow, m_apDiaryIcons[ICON_DIARY].get(), 6, 0, true);
        }
    AddNoticeRows();
}

void CClientFootballToday::AddNoticeRows()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (!m_pDiaryList || !pHuman)
        return;
    for (const NOTICE* pNotice : pHuman->GetNotices().GetNotices().Items<NOTICE>()) {
        const int nRow = m_pDiaryList->AddString(kRowColour, "\t%s", Text(kNoticeTextSet, pNotice->byCode));
        if (nRow < 0)
            continue;
        m_pDiaryList->SetItemData(nRow, pNotice->byCode | static_cast<uint32_t>(pNotice->byResolved) << 8 | 0x10000u);
        if (const auto& pIcon = m_apDiaryIcons[GetNoticeIcon(pNotice->byResolved)])
            m_pDiaryList->AddAlignedColumnGraphic(nRow, pIcon.get(), 6, 0, true);
    }
}

void CClientFootballToday::FillMailSummary()
{
    if (!m_pMailSummaryList)
        return;
    m_pMailSummaryList->ResetContent();
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (!pHuman)
        return;
    const CNewspaperManager& news = pHuman->GetNews();
    for (int nFolder = 0; nFolder < CNewspaperManager::MAIL_FOLDERS; ++nFolder) {
        const int nTotal = news.CountFolderItems(nFolder, true);
        const int nUnread = nTotal - news.CountFolderItems(nFolder, false);
        m_pMailSummaryList->AddString(kRowColour, "%s\t%2d\t%2d", Text(kMailFolderSet, nFolder), nTotal, nUnread);
    }
}

void CClientFootballToday::FillVacancyList()
{
    if (!m_pVacancyList)
        return;
    m_pVacancyList->ResetContent();
    const CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return;
    for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>())
        for (const CCountryDatabase::MANAGERVACANCY& vacancy : pCountry->GetManagerVacancies()) {
            const CDivisionDatabase* pDivision = vacancy.pClub->m_pDivision;
            if (pDivision && pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER)
                continue;
            const int nRow = m_pVacancyList->AddString(
                kRowColour, "%s\t%s\t%s\t%s", FormatPackedDate(vacancy.date.GetValue()), vacancy.pClub->GetName(),
                Text(kCountryNameSet, pCountry->GetID()), pDivision ? pDivision->GetName() : "");
            if (nRow >= 0)
                m_pVacancyList->SetItemData(nRow, vacancy.pClub->GetID());
        }
    m_pVacancyList->Sort(0, true, LISTSORT_DATE, 0);
}

void CClientFootballToday::FillLeaguePositionGraph()
{
    CXGraph* pGraph = m_pPositionGraph;
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    CDivisionDatabase* pDivision = pClub ? pClub->m_pDivision : nullptr;
    if (!pGraph || !pDivision)
        return;
    pGraph->Clear();
    const int nClubs = std::max(1, pDivision->GetClubCount());
    const int nMatchDays = std::max(1, 2 * (pDivision->m_lstFixtures.GetCount() / nClubs));
    const int nPoints = pClub->m_byPoints;
    const int nTopPoints = std::max(2, (nPoints | 1) + 1);
    pGraph->SetUp(GRAPH_ITEM_LABELS | GRAPH_ITEM_LABELS_BY_DIVISION | GRAPH_RIGHT_AXIS_DRAWN | GRAPH_RIGHT_DOWNWARD,
                  kAxisColour, kLabelColour, 0.0, 0, 0);
    pGraph->SetYRange(0, nTopPoints, 1, nClubs, false, false, false);
    pGraph->SetXAxis(nMatchDays, 2, 2, nMatchDays);
    pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, 0, 2, kPointsColour, GRAPH_LINE, true, false, 0.0, 0);
    pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, 1, 2, kPositionColour, GRAPH_LINE, false, false, 0.0, 0);
    // A month's name under the first match day of the month.
    const CDate today = pDatabase->GetGameDate();
    CDate date = pDivision->m_SeasonStart;
    int nLastMonth = -1;
    for (int nDay = 0; nDay < nMatchDays; ++nDay) {
        CDate next;
        if (!pDivision->GetNextFixtureDateForClub(pClub->GetID(), date, next))
            break;
        if (next.GetMonth() != nLastMonth) {
            pGraph->SetItemLabel(nDay, Text(kShortMonthSet, next.GetMonth() - 1));
            nLastMonth = next.GetMonth();
        }
        date = CDate(next.GetValue(), 1);
    }
    const int nPlayed = pDivision->CountClubMatchDays(today, pClub->GetID(), 0, false);
    const std::vector<uint8_t> records = pDivision->ReadClubHistory(pClub->GetID(), nPlayed);
    for (size_t nOffset = 0; nOffset + CDivisionDatabase::HISTORY_RECORD_BYTES <= records.size();
         nOffset += CDivisionDatabase::HISTORY_RECORD_BYTES) {
        // On a match day before its matches are played, today's match is
        // counted but its record not yet written: a place of 0 is no match.
        if (records[nOffset + kHistoryPosition] == 0)
            break;
        pGraph->AddValue(0, records[nOffset + kHistoryPoints]);
        pGraph->AddValue(1, records[nOffset + kHistoryPosition]);
    }
}

void CClientFootballToday::FillFinanceGraph()
{
    CXGraph* pGraph = m_pFinanceGraph;
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (!pGraph || !pHuman)
        return;
    pGraph->Clear();
    pGraph->SetUp(GRAPH_LEFT_AUTOMATIC | GRAPH_ITEM_LABELS | GRAPH_ITEM_LABELS_BY_DIVISION | GRAPH_LEFT_CURRENCY |
                      GRAPH_LEFT_ZERO_LINE,
                  kAxisColour, kLabelColour, 0.0, kAxisColour, 0);
    pGraph->SetXAxis(kGraphPoints, 2, 0, kGraphPoints);
    // The projection first, so that the balance is drawn over it.
    pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, 2, 2, kProjectionColour, GRAPH_LINE, true, false, 0.0, 0);
    pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, 4, 2, kBalanceColour, GRAPH_LINE, true, false, 0.0, 0);

    // The balances of the months closed: each record {u32 length, i32
    // previous balance, i32 balance, ...}.
    std::vector<std::pair<int32_t, int32_t>> balances;
    if (FILE* pFile = plat::openFile(pHuman->GetHistoryFileName(), "rb")) {
        uint8_t abyLength[4];
        while (std::fread(abyLength, 1, 4, pFile) == 4) {
            const uint32_t dwLength = abyLength[0] | abyLength[1] << 8 | abyLength[2] << 16 |
                                      static_cast<uint32_t>(abyLength[3]) << 24;
            uint8_t abyBalances[8];
            if (dwLength < 8 || std::fread(abyBalances, 1, 8, pFile) != 8 ||
                std::fseek(pFile, static_cast<long>(dwLength - 8), SEEK_CUR) != 0)
                break;
            auto i32 = [](const uint8_t* p) {
                return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
            };
            balances.emplace_back(i32(abyBalances), i32(abyBalances + 4));
        }
        std::fclose(pFile);
    }
    if (balances.size() > static_cast<size_t>(kFinanceRecordsShown))
        balances.erase(balances.begin(), balances.end() - kFinanceRecordsShown);
    const int nShown = static_cast<int>(balances.size());
    const int nFirstMonth = pDatabase->GetGameDate().GetMonth() - nShown;
    // Every other month is named: twelve names do not fit under the axis.
    for (int i = 0; i < kGraphPoints; i += 2)
        pGraph->SetItemLabel(i, Text(kShortMonthSet, ((nFirstMonth - 1 + i) % 12 + 12) % 12));
    if (!balances.empty()) {
        pGraph->AddValue(4, balances.front().first);
        pGraph->AddValue(2, balances.front().first);
        for (const auto& balance : balances) {
            pGraph->AddValue(4, balance.second);
            pGraph->AddValue(2, balance.second);
        }
    } else {
        // No month closed yet: both lines start from today's balance.
        const double dBalance = pHuman->GetClub()->m_nBankBalance;
        pGraph->AddValue(4, dBalance);
        pGraph->AddValue(2, dBalance);
    }
    if (FILE* pFile = plat::openFile(pHuman->GetProjectedFinanceFileName(), "rb")) {
        uint8_t abyRecord[kProjectedRecordBytes];
        int nValues = static_cast<int>(balances.size()) + 1;
        while (nValues < kGraphPoints && std::fread(abyRecord, 1, sizeof abyRecord, pFile) == sizeof abyRecord) {
            const int32_t nValue = static_cast<int32_t>(abyRecord[0] | abyRecord[1] << 8 | abyRecord[2] << 16 |
                                                        static_cast<uint32_t>(abyRecord[3]) << 24);
            pGraph->AddValue(2, nValue);
            ++nValues;
        }
        std::fclose(pFile);
    }
}

void CClientFootballToday::OnClicked(uint32_t dwID)
{
    switch (dwID) {
    case ID_DIARY:
        if (m_pDiaryList) {
            const int nRow = m_pDiaryList->GetSelection();
            const int64_t nData = m_pDiaryList->GetItemData(nRow);
            CDatabaseHandler* pDatabase = Database();
            CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
            if (nData > 0 && (nData & 0x10000) && pHuman && m_pDiaryList->m_nClickedColumn == 0) {
                NOTICE* pNotice = pHuman->GetNotices().FindNotice(static_cast<uint8_t>(nData & 0xFF));
                if (pNotice) {
                    pNotice->byResolved = ToggleNoticeMark(pNotice->byResolved);
                    m_pDiaryList->SetItemData(nRow, pNotice->byCode |
                                                        static_cast<uint32_t>(pNotice->byResolved) << 8 | 0x10000u);
                    m_pDiaryList->DeleteColumnGraphics(nRow, 0);
                    if (const auto& pIcon = m_apDiaryIcons[GetNoticeIcon(pNotice->byResolved)])
                        m_pDiaryList->AddAlignedColumnGraphic(nRow, pIcon.get(), 6, 0, true);
                    m_pDiaryList->RedrawRow(nRow, true);
                }
            }
        }
        break;
    case ID_PREVIOUS_MONTH:
    case ID_NEXT_MONTH:
        if (m_pCalendar) {
            if (dwID == ID_PREVIOUS_MONTH)
                m_pCalendar->PreviousMonth();
            else
                m_pCalendar->NextMonth();
            UpdateMonthLabel();
            MarkCalendarMonth();
        }
        break;
    default:
        break;
    }
    CGameClient::OnClicked(dwID);
}

void CClientFootballToday::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_CALENDAR)
        FillDayDiary();
}

void CClientFootballToday::OnDoubleClicked(uint32_t dwID)
{
    switch (dwID) {
    case ID_DIARY: {
        if (!m_pDiaryList || m_pDiaryList->GetCount() == 0)
            return;
        const int64_t nData = m_pDiaryList->GetItemData(m_pDiaryList->GetSelection());
        if (nData <= 0 || !(nData & 0x10000))
            return;
        const int nScreen = GetNoticeScreen(static_cast<int>(nData & 0xFF));
        if (nScreen >= 0 && g_pNavigationBar)
            g_pNavigationBar->OnClientChange(nScreen, true);
        break;
    }
    case ID_MAIL:
        if (g_pNavigationBar)
            g_pNavigationBar->OnClientChange(SCREEN_ARCHIVES_MAIL, true);
        break;
    case ID_VACANCIES: {
        if (!m_pVacancyList || m_pVacancyList->GetCount() == 0)
            return;
        const CDatabaseHandler* pDatabase = Database();
        const int64_t nClub = m_pVacancyList->GetItemData(m_pVacancyList->GetSelection());
        const CClubDatabase* pClub =
            pDatabase && nClub > 0 ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(nClub)) : nullptr;
        if (!pClub)
            return;
        if (pClub->m_pDivision && pClub->m_pDivision->m_byKind == DIVISION_KIND_LEAGUE) {
            if (g_pNavigationBar)
                g_pNavigationBar->OnClientChange(SCREEN_CLUB_GENERAL, true);
        } else {
            ShowGameMessageBox(CGameMessageBox::MODE_OK, kClubNotShown);
        }
        break;
    }
    default:
        break;
    }
}

void CClientFootballToday::OnPrint()
{
    if (m_pPositionGraph)
        PrintControl(ID_POSITION_GRAPH);
    if (m_pFinanceGraph)
        PrintControl(ID_FINANCE_GRAPH);
}
