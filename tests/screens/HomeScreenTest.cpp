// The home screen over a running game: the continue pressed on it, what its
// calendar, diary, notices and mail summary show, and how it looks on a few
// days of a season.
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "shell/CGameDay.h"
#include "shell/CGamePopup.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXCalendar.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"

#include <cstring>

namespace {

using HomeScreen = ScreenGame;

constexpr uint32_t kNoticeRow = 0x10000;

std::string RowText(const CXListBox& list, int nRow)
{
    char szText[LISTBOX_ROW_TEXT_SIZE] = {};
    list.GetString(nRow, szText);
    return szText;
}

class HomeScreenOneDay : public ScreenGame {
protected:
    HomeScreenOneDay() { m_bOneDayAContinue = true; }
};

TEST_F(HomeScreenOneDay, ContinueAdvancesOneDayAndShowsThatDaysMail)
{
    ShowHome();
    const CDate yesterday = m_pWorld->GetGameDate();
    const CNewsItem* pLetter = Human().PostNews(131, Human().GetClub());
    ASSERT_NE(pLetter, nullptr);
    // Pressed until the day's screens have passed and the next day's work ran.
    for (int i = 0; i < 4 && m_pWorld->GetGameDate() == yesterday; ++i) {
        g_pNavigationBar->ContinueGame();
        m_game.Update();
    }
    m_game.Update();
    EXPECT_EQ(m_pWorld->GetGameDate(), CDate(yesterday.GetValue(), 1));
    ASSERT_EQ(g_pCurrentClient, &Home());
    EXPECT_EQ(Home().GetCalendar()->m_Chosen, m_pWorld->GetGameDate()) << "the calendar opens on today";
    const CXListBox& mail = *Home().GetMailSummaryList();
    ASSERT_EQ(mail.GetCount(), CNewspaperManager::MAIL_FOLDERS);
    const CNewspaperManager& news = Human().GetNews();
    EXPECT_GE(news.CountFolderItems(0, true), 1) << "the letter is filed with the chairman's";
    for (int nFolder = 0; nFolder < CNewspaperManager::MAIL_FOLDERS; ++nFolder) {
        char szExpected[64];
        std::snprintf(szExpected, sizeof szExpected, "\t%2d\t%2d", news.CountFolderItems(nFolder, true),
                      news.CountFolderItems(nFolder, true) - news.CountFolderItems(nFolder, false));
        const std::string row = RowText(mail, nFolder);
        EXPECT_EQ(row.substr(row.find('\t')), szExpected) << "folder " << nFolder;
    }
    Shoot("home-after-continue");
}

TEST_F(HomeScreen, TheContinuePassesTheTurnToTheNextManagerWithHisMail)
{
    CClubDatabase* pSecondClub = m_pWorld->GetClubFromID(2);
    ASSERT_NE(pSecondClub, nullptr);
    CSaveGame* pSecond = CSaveGame::CreateNewHuman(*m_pWorld, 1, "Bo Ferris", 7, 1);
    ASSERT_NE(pSecond, nullptr);
    pSecond->TakeOverClub(pSecondClub);
    const CNewsItem* pLetter = pSecond->PostNews(131, pSecondClub);
    ShowHome();
    const CDate today = m_pWorld->GetGameDate();
    g_pNavigationBar->ContinueGame();
    m_game.Update();
    m_game.Update();
    EXPECT_EQ(m_pWorld->GetCurrentHumanIndex(), 1) << "the second manager's turn";
    EXPECT_EQ(m_pWorld->GetGameDate(), today) << "the day waits for every manager";
    EXPECT_EQ(g_pCurrentClient, &Home());
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_TRUE(pBox && pBox->IsOnStack()) << "the message box names the manager to play";
    EXPECT_EQ(pBox->GetTextItem(), 0);
    Shoot("home-next-manager");
    pBox->OnClicked(884);
    m_game.Update();
    bool bFiled = false;
    for (const CNewsItem* pItem : pSecond->GetNews().GetArchive().Items<CNewsItem>())
        bFiled = bFiled || pItem == pLetter;
    EXPECT_TRUE(bFiled) << "his mail is filed when his turn comes";
    // Back to the first manager: the day goes on.
    for (int i = 0; i < 4 && m_pWorld->GetGameDate() == today; ++i) {
        g_pNavigationBar->ContinueGame();
        m_game.Update();
    }
    EXPECT_GT(m_pWorld->GetGameDate(), today);
    EXPECT_EQ(m_pWorld->GetCurrentHumanIndex(), 0);
}

TEST_F(HomeScreen, TheNoticesShownAreTheNoticeListsWithTheirStateIcons)
{
    CNoticeList& notices = Human().GetNotices();
    notices.AddNotice(12);
    notices.AddNotice(15);
    ShowHome();
    // The screen's recheck may change states; the rows follow the list as
    // it stands, in its order.
    ASSERT_GE(notices.GetCount(), 2);
    notices.FindNotice(12)->byResolved = CClientFootballToday::NOTICE_MARKED;
    notices.FindNotice(15)->byResolved = 0;
    Home().FillDayDiary();
    const CXListBox& diary = *Home().GetDiaryList();
    std::vector<const NOTICE*> shown;
    for (int nRow = 0; nRow < diary.GetCount(); ++nRow) {
        const int64_t nData = diary.GetItemData(nRow);
        if (!(nData & kNoticeRow))
            continue;
        const NOTICE* pNotice = notices.FindNotice(static_cast<uint8_t>(nData & 0xFF));
        ASSERT_NE(pNotice, nullptr) << RowText(diary, nRow);
        shown.push_back(pNotice);
        EXPECT_EQ(RowText(diary, nRow), std::string("\t") + GetTableText(0, pNotice->byCode));
        const CXListBox::Row* pRow = diary.GetRow(nRow);
        ASSERT_EQ(pRow->Graphics.size(), 1u);
        EXPECT_EQ(pRow->Graphics[0].pGraphic->m_nFirstY,
                  13 * CClientFootballToday::GetNoticeIcon(pNotice->byResolved));
    }
    std::vector<const NOTICE*> listed;
    for (const NOTICE* pNotice : notices.GetNotices().Items<NOTICE>())
        listed.push_back(pNotice);
    EXPECT_EQ(shown, listed);
    Shoot("home-notices");
}

TEST(HomeScreenNotices, AClickOnTheIconMarksAnUnreadNoticeAndUnmarksAMarkedOne)
{
    struct Case {
        uint8_t byState, byAfter;
    };
    const Case cases[] = {{0, 0x80}, {0x80, 0}, {0x85, 5}, {5, 5}, {1, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(CClientFootballToday::ToggleNoticeMark(c.byState), c.byAfter) << int(c.byState);
    EXPECT_EQ(CClientFootballToday::GetNoticeScreen(17), -1);
    EXPECT_EQ(CClientFootballToday::GetNoticeScreen(20), -1);
    EXPECT_EQ(CClientFootballToday::GetNoticeScreen(19), 17);
}

TEST_F(HomeScreen, TheCalendarMarksTheClubsMatchDaysAndTheDiaryNamesTheOpponent)
{
    const CClubDatabase* pClub = Human().GetClub();
    CDate match;
    const int nOpponent = m_pWorld->GetNextFixture(pClub, nullptr, nullptr, &match);
    ASSERT_GE(nOpponent, 0);
    const CClubDatabase* pOpponent = m_pWorld->GetClubFromID(static_cast<ID_CLUB>(nOpponent));
    const uint32_t dwMarks = CClientFootballToday::BuildMonthMarks(*m_pWorld, Human(), match);
    EXPECT_TRUE(dwMarks & (1u << match.GetDay()));
    const std::vector<std::string> rows = CClientFootballToday::BuildDiaryRows(*m_pWorld, Human(), match);
    bool bNamed = false;
    for (const std::string& row : rows)
        bNamed = bNamed || row.find(pOpponent->GetName()) != std::string::npos;
    EXPECT_TRUE(bNamed);
    // The month buttons move the calendar and mark the month shown.
    ShowHome();
    CXCalendar& calendar = *Home().GetCalendar();
    const CDate shown = calendar.m_ShownMonth;
    Home().OnClicked(CClientFootballToday::ID_NEXT_MONTH);
    const CDate next =
        shown.GetMonth() == 12 ? CDate(shown.GetYear() + 1, 1, 1) : CDate(shown.GetYear(), shown.GetMonth() + 1, 1);
    EXPECT_EQ(calendar.m_ShownMonth, next);
    EXPECT_EQ(calendar.m_dwMarkedDays, CClientFootballToday::BuildMonthMarks(*m_pWorld, Human(), next));
    Home().OnClicked(CClientFootballToday::ID_PREVIOUS_MONTH);
    EXPECT_EQ(calendar.m_ShownMonth, shown);
    // An unmarked day of the month has an empty diary.
    for (int nDay = 1; nDay <= match.GetDaysInMonth(); ++nDay)
        if (!(dwMarks & (1u << nDay))) {
            EXPECT_TRUE(CClientFootballToday::BuildDiaryRows(*m_pWorld, Human(),
                                                             CDate(match.GetYear(), match.GetMonth(), nDay))
                            .empty());
            break;
        }
}

TEST_F(HomeScreen, ShotsOnAFewDaysOfTheSeason)
{
    ShowHome();
    Shoot("home-first-day");
    const int aContinues[] = {6, 14, 20};
    const char* const apszNames[] = {"home-after-6-continues", "home-after-20-continues", "home-after-40-continues"};
    for (int n = 0; n < 3; ++n) {
        for (int i = 0; i < aContinues[n]; ++i) {
            CGameDay::ProcessDay(*m_pWorld);
            CGameDay::QueueMatchDayScreens(*m_pWorld);
            g_ClientList.clear();
            CGameDay::ProcessDailyNews(*m_pWorld);
        }
        ShowHome();
        ASSERT_GT(Home().GetMailSummaryList()->GetCount(), 0);
        Shoot(apszNames[n]);
    }
}

TEST_F(HomeScreen, ThePositionGraphHoldsOnlyTheMatchesPlayedOnTheMorningOfAMatchDay)
{
    const CClubDatabase* pClub = Human().GetClub();
    ASSERT_NE(pClub, nullptr);
    CDivisionDatabase* pDivision = pClub->m_pDivision;
    ASSERT_NE(pDivision, nullptr);
    const ID_CLUB idClub = pClub->GetID();
    m_pWorld->SetContinueMode(0);
    // Two league matches played, then the morning of the third, before it is played.
    int nPlayed = 0;
    bool bMorning = false;
    for (int nDay = 0; nDay < 150 && !bMorning; ++nDay) {
        m_pWorld->ProcessDay();
        const CDate today = m_pWorld->GetGameDate();
        const bool bMatchDay =
            pDivision->CountClubMatchDays(today, idClub, 0, false) > pDivision->CountClubMatchDays(today, idClub, 1, false);
        bMorning = bMatchDay && nPlayed == 2;
        if (!bMorning) {
            m_pWorld->DoMatchDay(today);
            nPlayed += bMatchDay ? 1 : 0;
        }
    }
    ASSERT_TRUE(bMorning) << "the club reached the day of its third league match";
    ShowHome();
    const CXGraph* pGraph = Home().GetPositionGraph();
    ASSERT_NE(pGraph, nullptr);
    const std::vector<double>& places = pGraph->GetSeries(1).values;
    EXPECT_EQ(places.size(), 2u) << "today's match is not drawn before it is played";
    for (double dPlace : places) {
        EXPECT_GE(dPlace, 1.0);
        EXPECT_LE(dPlace, pDivision->GetClubCount());
    }
    Shoot("home-match-day-morning");
}

class HomeScreenOutOfWork : public ScreenGame {
protected:
    HomeScreenOutOfWork() { m_bWithoutClub = true; }
};

TEST_F(HomeScreenOutOfWork, AManagerWithoutAClubSeesTheClubsLookingForOne)
{
    for (int i = 0; i < 5; ++i)
        CGameDay::ProcessDay(*m_pWorld);
    // Two league clubs and, where a country has one, a club of the pool
    // outside the ladder start looking for a manager.
    int nLeague = 0, nPool = 0;
    for (CCountryDatabase* pCountry : m_pWorld->GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            const bool bPool = pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER;
            if ((bPool ? nPool : nLeague) >= (bPool ? 1 : 2) || pDivision->m_lstClubsByID.IsEmpty())
                continue;
            pCountry->AddClubReview(static_cast<CClubDatabase*>(pDivision->m_lstClubsByID.GetHead()->pData));
            ++(bPool ? nPool : nLeague);
        }
    ShowHome();
    EXPECT_EQ(Home().GetPositionGraph(), nullptr);
    ASSERT_NE(Home().GetVacancyList(), nullptr);
    int nListed = 0;
    for (const CCountryDatabase* pCountry : m_pWorld->GetCountries().Items<CCountryDatabase>())
        for (const auto& vacancy : pCountry->GetManagerVacancies())
            nListed += vacancy.pClub->m_pDivision->m_byKind != DIVISION_KIND_BOTTOM_OTHER;
    EXPECT_GE(nListed, 2);
    EXPECT_EQ(Home().GetVacancyList()->GetCount(), nListed) << "the pool's clubs are not listed";
    Shoot("home-out-of-work");
}

}  // namespace

namespace {

TEST_F(HomeScreenOutOfWork, AFailedScenarioIsToldAndTheGameStartsAgain)
{
    ShowHome();
    Human().SetBoardObjective(0, 5);
    g_pNavigationBar->ContinueGame();
    for (int i = 0; i < 3 && !GetGameMessageBox()->IsOnStack(); ++i)
        m_game.Update();
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_NE(pBox, nullptr);
    ASSERT_EQ(g_pCurrentClient, &Home());
    ASSERT_TRUE(pBox->IsOnStack());
    EXPECT_EQ(pBox->GetTextItem(), 150);
    Shoot("home-scenario-failed");
    pBox->OnClicked(884);
    for (int i = 0; i < 4; ++i)
        m_game.Update();
    EXPECT_EQ(g_pCurrentClient, &m_start) << "the game went back to its start";
}

}  // namespace
