// The club overview on a game in play: the current season's facts of the
// human's club and of another, the cup runs entered, the seasons offered and
// a finished season read from the division's season summaries, the graph of
// points and place, and the job and board questions of the bottom bar.
#include "CutCells.h"
#include "ScreenInPlay.h"

#include "popups/GamePopups.h"
#include "screens/CClientClubGeneral.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXPopup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Screen = CClientClubGeneral;

// The compensation payments (finance category 77) as "club +income" or
// "club -expense".
struct CompensationBook : CClubDatabase::FINANCEOBSERVER {
    void OnTransaction(const CClubDatabase& club, int nCategory, int32_t nIncome, int32_t nExpense) override
    {
        if (nCategory == 77)
            entries.push_back(std::string(club.GetName()) + (nIncome ? " +" + std::to_string(nIncome)
                                                                     : " -" + std::to_string(nExpense)));
    }
    void OnBalanceSet(const CClubDatabase&, int32_t, int32_t) override {}
    void OnBanked(const CClubDatabase&) override {}
    std::vector<std::string> entries;
};

class ClubGeneral : public ScreenInPlay {
protected:
    ClubGeneral() : ScreenInPlay(20) {}
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }
    Screen* Open(uint32_t dwParameter)
    {
        g_pNavigationBar->SetNextClient(&GetClubGeneralScreen(), dwParameter);
        m_game.Update();
        m_game.Update();
        return dynamic_cast<Screen*>(g_pCurrentClient);
    }
    static std::string Row(const CXListBox* pList, int nRow)
    {
        char szText[LISTBOX_ROW_TEXT_SIZE];
        pList->GetString(nRow, szText);
        return szText;
    }
    static std::vector<uint32_t> ShownButtons(const Screen& screen)
    {
        std::vector<uint32_t> shown;
        for (uint32_t dwID : {Screen::ID_RESIGN, Screen::ID_BOARD_DECISION, Screen::ID_APPLY, Screen::ID_WITHDRAW,
                              Screen::ID_ACCEPT})
            if (const CXControl* pButton = screen.FindControl(dwID); pButton && pButton->m_bVisible)
                shown.push_back(dwID);
        return shown;
    }
    // Answers the open message box with OK.
    static void AnswerYes(Screen& screen, int nMessage)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_NE(pBox, nullptr);
        ASSERT_TRUE(pBox->IsOnStack());
        ASSERT_EQ(pBox->GetTextItem(), nMessage);
        pBox->OnClicked(CGamePopup::kOkButtonID);
        (void)screen;
    }
    CClubDatabase* OtherClubOfDivision()
    {
        for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            if (pClub != m_pClub)
                return pClub;
        return nullptr;
    }
};

TEST_F(ClubGeneral, TheCurrentSeasonShowsTheClubsFactsRecordAndCupRuns)
{
    ASSERT_NE(m_pClub, nullptr);
    // A few league match days played.
    for (int nDay = 0; nDay < 90 && m_pClub->m_HomeRow.byPlayed + m_pClub->m_AwayRow.byPlayed < 3; ++nDay) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    // The day's end writes the table's history, as the game does before the
    // manager sees the screen again.
    m_pClub->m_pDivision->WriteDivisionHistory();
    // Entered in competitions 0 and 4 only.
    for (CLUBCUPSTATUS& status : m_pClub->m_aCupStatus)
        status.byRound = 255;
    m_pClub->m_aCupStatus[0].byRound = 2;
    m_pClub->m_aCupStatus[4].byRound = 1;
    Screen* pScreen = Open(m_pClub->GetID());
    ASSERT_NE(pScreen, nullptr);
    Shoot("club_general.png");
    EXPECT_EQ(pScreen->GetSelectedSeason(), pScreen->GetCurrentSeason());

    const CManagerDatabase* pManager = m_pClub->GetManager();
    ASSERT_NE(pManager, nullptr);
    EXPECT_EQ(pScreen->LabelText(Screen::ID_MANAGER), pManager->GetShortName());
    EXPECT_EQ(pScreen->LabelText(Screen::ID_DIVISION), m_pClub->m_pDivision->GetName());
    EXPECT_EQ(pScreen->LabelText(Screen::ID_EXPECTATION), GetTableTextOrEmpty(93, m_pClub->m_byTargetKind));
    ASSERT_NE(m_pClub->GetGround(), nullptr);
    EXPECT_EQ(pScreen->LabelText(Screen::ID_GROUND), m_pClub->GetGround()->GetName());
    EXPECT_EQ(pScreen->LabelText(Screen::ID_FIRST_FIGURE), std::to_string(m_pClub->m_byLeaguePosition));

    const CLUBLEAGUEROW& h = m_pClub->m_HomeRow;
    const CLUBLEAGUEROW& a = m_pClub->m_AwayRow;
    char szExpected[80];
    std::snprintf(szExpected, sizeof szExpected, "%2d\t%2d\t%2d\t%2d\t%3d\t%3d\t%2d", h.byPlayed + a.byPlayed,
                  h.byWon + a.byWon, h.byDrawn + a.byDrawn, h.byLost + a.byLost, m_pClub->GetGoalsFor(),
                  m_pClub->GetGoalsAgainst(), m_pClub->m_byPoints);
    ASSERT_EQ(pScreen->GetRecordList()->GetCount(), 1);
    EXPECT_EQ(Row(pScreen->GetRecordList(), 0), szExpected);
    EXPECT_GT(h.byPlayed + a.byPlayed, 0) << "the game in play has had no match day";

    // A row per competition entered (when the competition exists), none for the others.
    const CXListBox* pCups = pScreen->GetCupList();
    EXPECT_GE(pCups->GetCount(), 1);
    EXPECT_LE(pCups->GetCount(), 2);

    // The graph has a point per match day played on both lines.
    const CXGraph* pGraph = pScreen->GetGraph();
    ASSERT_NE(pGraph, nullptr);
    const std::vector<int> played =
        m_pClub->m_pDivision->CountPlayedMatchDays(Database()->GetGameDate(), {m_pClub->GetID()});
    ASSERT_FALSE(played.empty());
    EXPECT_EQ(pGraph->GetSeries(Screen::LINE_POINTS).values.size(), static_cast<size_t>(played[0]));
    EXPECT_EQ(pGraph->GetSeries(Screen::LINE_POSITION).values.size(), static_cast<size_t>(played[0]));
    if (played[0] > 0)
        EXPECT_EQ(pGraph->GetSeries(Screen::LINE_POINTS).values.back(), m_pClub->m_byPoints);

    EXPECT_EQ(ShownButtons(*pScreen), (std::vector<uint32_t>{Screen::ID_RESIGN, Screen::ID_BOARD_DECISION}));
}

TEST_F(ClubGeneral, EveryCompetitionAndRoundNameShowsWholeInTheCupList)
{
    // Entered everywhere, at each round in turn up to the replays past the
    // last: the longest names meet in one list.
    for (int nRound = 1; nRound <= 12; ++nRound) {
        for (CLUBCUPSTATUS& status : m_pClub->m_aCupStatus)
            status.byRound = static_cast<uint8_t>(nRound);
        Screen* pScreen = Open(m_pClub->GetID());
        ASSERT_NE(pScreen, nullptr);
        ASSERT_GE(pScreen->GetCupList()->GetCount(), 5) << "the country's cups and the European ones";
        EXPECT_EQ(CutCells(*pScreen->GetCupList()), std::vector<std::string>{}) << "round " << nRound;
    }
    Shoot("club_general_all_cups.png");
}

TEST_F(ClubGeneral, FinishedSeasonsComeFromTheDivisionsSummaries)
{
    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    CCountryDatabase* pCountry = m_pClub->GetCountry();
    ASSERT_NE(pCountry, nullptr);
    // Two finished seasons in the file: 30 points, then 42.
    const int nPoints = m_pClub->m_byPoints;
    m_pClub->m_byPoints = 30;
    m_pClub->m_byBestPosition = 3;
    ASSERT_TRUE(pDivision->WriteScheduleHistory(1, 5));
    m_pClub->m_byPoints = 42;
    m_pClub->m_byBestPosition = 1;
    ASSERT_TRUE(pDivision->WriteScheduleHistory(2, 5));
    m_pClub->m_byPoints = static_cast<uint8_t>(nPoints);
    pCountry->SetSeasonStartDate(CDate(Screen::kSeasonBase + 2, 7, 1));

    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->GetID(), 0));
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetCurrentSeason(), 2);
    // The seasons on offer, oldest first.
    const CXComboBox* pSeasons = g_pTitlebar->GetSelector(Screen::kSeasonSelector);
    ASSERT_NE(pSeasons, nullptr);
    ASSERT_EQ(pSeasons->GetCount(), 3);
    char szRow[LISTBOX_ROW_TEXT_SIZE];
    pSeasons->GetString(0, szRow);
    EXPECT_STREQ(szRow, "1999 / 2000");
    EXPECT_EQ(pSeasons->GetItemData(pSeasons->GetSelection()), 0);
    EXPECT_EQ(pScreen->GetSeasonSummary().abyRecord[6], 30);
    EXPECT_EQ(pScreen->LabelText(Screen::ID_FIRST_FIGURE + 1), "3");
    Shoot("club_general_finished.png");

    pScreen = Open(Screen::MakeParameter(m_pClub->GetID(), 1));
    EXPECT_EQ(pScreen->GetSeasonSummary().abyRecord[6], 42);
    EXPECT_EQ(pScreen->LabelText(Screen::ID_FIRST_FIGURE + 1), "1");
    EXPECT_EQ(pScreen->GetRecordList()->GetCount(), 1);

    // A season asked for beyond the current one is the current one.
    pScreen = Open(Screen::MakeParameter(m_pClub->GetID(), 9));
    EXPECT_EQ(pScreen->GetSelectedSeason(), 2);
    EXPECT_EQ(pScreen->LabelText(Screen::ID_FIRST_FIGURE + 1),
              m_pClub->m_byBestPosition ? std::to_string(m_pClub->m_byBestPosition) : "-");
}

TEST_F(ClubGeneral, ApplyingForAnotherClubsJobWithdrawingAndTakingIt)
{
    CClubDatabase* pOther = OtherClubOfDivision();
    ASSERT_NE(pOther, nullptr);
    Screen* pScreen = Open(pOther->GetID());
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(ShownButtons(*pScreen), std::vector<uint32_t>{Screen::ID_APPLY});
    Shoot("club_general_other.png");

    // Cancel changes nothing.
    pScreen->OnClicked(Screen::ID_APPLY);
    GetGameMessageBox()->OnClicked(CGamePopup::kCancelButtonID);
    EXPECT_EQ(m_pHuman->FindJobApplication(pOther), nullptr);

    pScreen->OnClicked(Screen::ID_APPLY);
    AnswerYes(*pScreen, Screen::MESSAGE_APPLY);
    ASSERT_NE(m_pHuman->FindJobApplication(pOther), nullptr);
    EXPECT_EQ(ShownButtons(*pScreen), std::vector<uint32_t>{Screen::ID_WITHDRAW});

    pScreen->OnClicked(Screen::ID_WITHDRAW);
    AnswerYes(*pScreen, Screen::MESSAGE_WITHDRAW);
    EXPECT_EQ(m_pHuman->FindJobApplication(pOther), nullptr);
    EXPECT_EQ(ShownButtons(*pScreen), std::vector<uint32_t>{Screen::ID_APPLY});

    // The club offers the job: he takes it, and his old club receives the
    // compensation the new one pays.
    m_pHuman->ApplyForJob(pOther)->dwStatus = 3;
    pScreen = Open(pOther->GetID());
    EXPECT_EQ(ShownButtons(*pScreen), (std::vector<uint32_t>{Screen::ID_WITHDRAW, Screen::ID_ACCEPT}));
    CClubDatabase* pOld = m_pClub;
    m_pHuman->m_nCompensation = 50000;
    CompensationBook book;
    CClubDatabase::s_pFinanceObserver = &book;
    pScreen->OnClicked(Screen::ID_ACCEPT);
    AnswerYes(*pScreen, Screen::MESSAGE_ACCEPT);
    CClubDatabase::s_pFinanceObserver = nullptr;
    EXPECT_EQ(m_pHuman->GetClub(), pOther);
    EXPECT_EQ(pOther->m_wManagerId, m_pHuman->GetManagerID());
    EXPECT_NE(pOld->m_wManagerId, m_pHuman->GetManagerID());
    EXPECT_EQ(book.entries, (std::vector<std::string>{std::string(pOld->GetName()) + " +50000",
                                                      std::string(pOther->GetName()) + " -50000"}));
    m_game.Update();
    EXPECT_EQ(g_pCurrentClient->m_wScreenID, SCREEN_FOOTBALL_TODAY);
}

TEST_F(ClubGeneral, TheHumansOwnClubAsksTheBoardAndResigns)
{
    Screen* pScreen = Open(m_pClub->GetID());
    ASSERT_NE(pScreen, nullptr);
    pScreen->OnClicked(Screen::ID_BOARD_DECISION);
    AnswerYes(*pScreen, Screen::MESSAGE_BOARD_DECISION);
    EXPECT_EQ(m_pHuman->m_byBoardRequest, 1);
    EXPECT_EQ(ShownButtons(*pScreen), std::vector<uint32_t>{Screen::ID_RESIGN});
    pScreen->OnClicked(Screen::ID_RESIGN);
    AnswerYes(*pScreen, Screen::MESSAGE_RESIGN);
    EXPECT_EQ(m_pHuman->m_byResign, 1);
    EXPECT_TRUE(ShownButtons(*pScreen).empty());
    // Both wait for the day's update; the club is still his.
    EXPECT_EQ(m_pHuman->GetClub(), m_pClub);
}

TEST_F(ClubGeneral, TheTitleBarsSeasonChoiceReopensTheScreenWithTheLinesAsTheyWere)
{
    m_pClub->GetCountry()->SetSeasonStartDate(CDate(Screen::kSeasonBase + 1, 7, 1));
    // From the navigation tree: the human's club, this season.
    OpenScreen(SCREEN_CLUB_GENERAL);
    auto* pScreen = dynamic_cast<Screen*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetClub(), m_pClub);
    EXPECT_EQ(pScreen->GetSelectedSeason(), 1);
    // The place line hidden by its button.
    auto* pButton = dynamic_cast<CXButton*>(pScreen->FindControl(Screen::ID_POSITION_LINE));
    ASSERT_NE(pButton, nullptr);
    pButton->OnLButtonDown(0, 2, 2);
    pButton->OnLButtonUp(0, 2, 2);
    ASSERT_EQ(pButton->m_bChecked, 0);
    EXPECT_TRUE(pScreen->GetGraph()->GetSeries(Screen::LINE_POSITION).bHidden);

    CXComboBox* pSeasons = g_pTitlebar->GetSelector(Screen::kSeasonSelector);
    ASSERT_NE(pSeasons, nullptr);
    pSeasons->SetCurSel(pSeasons->FindItemData(0));
    pScreen->OnSelChange(CGameTitlebar::GetSelectorControlID(Screen::kSeasonSelector));
    m_game.Update();
    m_game.Update();
    pScreen = dynamic_cast<Screen*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetSelectedSeason(), 0);
    EXPECT_EQ(pScreen->GetClub(), m_pClub);
    pButton = dynamic_cast<CXButton*>(pScreen->FindControl(Screen::ID_POSITION_LINE));
    EXPECT_EQ(pButton->m_bChecked, 0);
    EXPECT_TRUE(pScreen->GetGraph()->GetSeries(Screen::LINE_POSITION).bHidden);
    EXPECT_FALSE(pScreen->GetGraph()->GetSeries(Screen::LINE_POINTS).bHidden);
}

}  // namespace
