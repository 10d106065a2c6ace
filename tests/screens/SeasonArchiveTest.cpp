// The end-of-season archive after a season really played, opened by the
// continue that turns the season, in its division and country views; and
// the end of the career that the archive of the last season brings.
#include "ScreenInPlay.h"

#include "screens/CClientArchivesEndOfSeason.h"
#include "screens/CClientEndOfCareer.h"
#include "popups/CPopupManagerDetails.h"
#include "shell/CGameDay.h"
#include "shell/CGameTitlebar.h"
#include "shell/CompetitionNames.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CupStructureTable.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Archive = CClientArchivesEndOfSeason;

std::string Trim(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    return text;
}

std::vector<std::vector<std::string>> Rows(const CXListBox* pList)
{
    std::vector<std::vector<std::string>> rows;
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    for (int nRow = 0; pList && nRow < pList->GetCount(); ++nRow) {
        std::vector<std::string> cells;
        for (int c = 0; c < pList->GetColumnCount(); ++c) {
            pList->GetColumnText(nRow, c, szCell);
            cells.push_back(Trim(szCell));
        }
        rows.push_back(cells);
    }
    return rows;
}

// What the season's tables and scorers said on its last day.
struct SEASONEND {
    int nTopGoals = 0;
    std::set<std::string> topScorers;
    std::set<std::string> relegated;  // the clubs of the automatic zone
};

class SeasonArchive : public ScreenInPlay {
protected:
    Archive& Screen()
    {
        auto* pScreen = dynamic_cast<Archive*>(g_pCurrentClient);
        EXPECT_NE(pScreen, nullptr);
        return *pScreen;
    }
    void RunWorldTo(const CDate& date)
    {
        while (Database()->GetGameDate() < date) {
            Database()->ProcessDay();
            Database()->DoMatchDay(Database()->GetGameDate());
        }
    }
    static SEASONEND Note(const std::vector<const CDivisionDatabase*>& divisions)
    {
        SEASONEND end;
        for (const CDivisionDatabase* pDivision : divisions)
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
                    const int nGoals = pPlayer->GetSeasonTotal(MATCH_INFORMATION_GOALS);
                    if (nGoals > end.nTopGoals)
                        end.topScorers.clear();
                    if (nGoals >= end.nTopGoals && nGoals > 0)
                        end.topScorers.insert(pPlayer->GetShortName());
                    end.nTopGoals = std::max(end.nTopGoals, nGoals);
                }
        if (divisions.size() == 1) {
            const CDivisionDatabase* pDivision = divisions.front();
            int nPlace = 0;
            const int nClubs = pDivision->GetClubCount();
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                if (nPlace++ >= nClubs - pDivision->m_byRelegationZone)
                    end.relegated.insert(pClub->GetName());
        }
        return end;
    }
};

TEST_F(SeasonArchive, ThePlayedSeasonOpensAtItsTurnWithItsTablesAndScorers)
{
    CCountryDatabase* pCountry = m_pClub->GetCountry();
    ASSERT_NE(pCountry, nullptr);
    // To the eve of the turn; the figures of each division and the country.
    RunWorldTo(CDate(2000, 7, 4));
    std::map<uint8_t, SEASONEND> divisions;
    std::vector<const CDivisionDatabase*> leagues;
    for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
        divisions[pDivision->m_byDivisionId] = Note({pDivision});
        if (pDivision->m_byKind == DIVISION_KIND_LEAGUE)
            leagues.push_back(pDivision);
    }
    const SEASONEND country = Note(leagues);
    const CClubDatabase* pCupWinner = pCountry->GetCupWinner(CUP_KIND_0);
    ASSERT_NE(pCupWinner, nullptr);
    const std::string cupWinner = pCupWinner->GetName();

    // The continue that turns the season opens its archive.
    for (int i = 0; i < 10 && g_pCurrentClient != GetScreenObject(SCREEN_LAST_MAIN); ++i) {
        CGameDay::ProcessDay(*Database());
        m_game.Update();
    }
    ASSERT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_LAST_MAIN));
    m_game.Update();
    Archive& screen = Screen();
    ASSERT_NE(screen.GetDivision(), nullptr);
    EXPECT_EQ(screen.GetDivision(), m_pClub->m_pDivision);
    EXPECT_EQ(screen.GetSeason(), 0);
    ASSERT_TRUE(screen.HasArchive());
    const CXComboBox* pSeasons = g_pTitlebar->GetSelector(Archive::kSeasonSelector);
    ASSERT_EQ(Rows(pSeasons).size(), 1u);
    EXPECT_EQ(Rows(pSeasons)[0][0], "1999 / 2000");
    Shoot("season_archive_division.png");

    // The division: its goals record and the player of the season are its top scorer.
    const SEASONEND& shown = divisions[screen.GetDivision()->m_byDivisionId];
    const auto records = Rows(screen.GetList(Archive::ID_RECORDS));
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0][0], "Most goals in a season");
    EXPECT_EQ(records[0][2], std::to_string(shown.nTopGoals));
    EXPECT_EQ(shown.topScorers.count(records[0][1]), 1u) << records[0][1];
    for (const auto& row : records)
        EXPECT_TRUE(row[0] != "Youngest player (born)" && row[0] != "Oldest player (born)") << row[0];
    const auto awards = Rows(screen.GetList(Archive::ID_AWARDS));
    ASSERT_EQ(awards.size(), 2u);
    EXPECT_EQ(awards[0][0], "Player of the season");
    EXPECT_EQ(shown.topScorers.count(awards[0][1]), 1u) << awards[0][1];
    EXPECT_EQ(awards[1][0], "Manager of the season");
    // The clubs that went down from the table's bottom places.
    std::set<std::string> relegated;
    for (const auto& row : Rows(screen.GetList(Archive::ID_RELEGATED)))
        relegated.insert(row[0]);
    for (const std::string& club : shown.relegated)
        EXPECT_EQ(relegated.count(club), 1u) << club;

    // The country: the "all" row of the division selector.
    CXComboBox* pDivisions = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_DIVISION);
    ASSERT_NE(pDivisions, nullptr);
    const int nAll = pDivisions->FindItemData(CGameTitlebar::kAllRowData);
    ASSERT_GE(nAll, 0);
    pDivisions->SetCurSel(nAll);
    m_game.Update();
    m_game.Update();
    Archive& countryView = Screen();
    EXPECT_EQ(countryView.GetDivision(), nullptr);
    EXPECT_EQ(countryView.GetCountry(), pCountry);
    EXPECT_EQ(countryView.GetSeason(), 0);
    Shoot("season_archive_country.png");
    const auto scorers = Rows(countryView.GetList(Archive::ID_TOP_SCORERS));
    ASSERT_FALSE(scorers.empty());
    EXPECT_EQ(scorers[0][1], std::to_string(country.nTopGoals));
    EXPECT_EQ(country.topScorers.count(scorers[0][0]), 1u) << scorers[0][0];
    for (size_t i = 1; i < scorers.size(); ++i)
        EXPECT_LE(std::stoi(scorers[i][1]), std::stoi(scorers[i - 1][1]));
    const auto finals = Rows(countryView.GetList(Archive::ID_COMPETITIONS));
    char szCup[128] = "";
    FormatCompetitionName(Database()->GetCupByCompetitionIndex(0, pCountry), Database(), szCup, sizeof szCup);
    const auto cup = std::find_if(finals.begin(), finals.end(), [&](const auto& row) { return row[0] == szCup; });
    ASSERT_NE(cup, finals.end()) << szCup;
    EXPECT_EQ((*cup)[1], cupWinner);
    EXPECT_NE((*cup)[2], cupWinner);
    EXPECT_FALSE(Rows(countryView.GetList(Archive::ID_FEES_PAID)).empty());
}

// A world one day in: no season has finished anywhere.
using SeasonArchiveEmpty = ScreenInPlay;

TEST_F(SeasonArchiveEmpty, WithoutAFinishedSeasonTheListsStayEmptyAndHidden)
{
    OpenScreen(SCREEN_LAST_MAIN);
    auto* pScreen = dynamic_cast<Archive*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_FALSE(pScreen->HasArchive());
    EXPECT_EQ(g_pTitlebar->GetSelector(Archive::kSeasonSelector)->GetCount(), 0);
    // No country has an archive to choose.
    const CXComboBox* pCountries = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_COUNTRY);
    ASSERT_GT(pCountries->GetCount(), 0);
    for (int nRow = 0; nRow < pCountries->GetCount(); ++nRow)
        EXPECT_FALSE(pCountries->IsRowEnabled(nRow)) << nRow;
    for (uint32_t dwID = Archive::ID_RECORDS; dwID <= Archive::ID_FEES_RECEIVED; ++dwID) {
        const CXListBox* pList = pScreen->GetList(dwID);
        ASSERT_NE(pList, nullptr);
        EXPECT_EQ(pList->GetCount(), 0) << dwID;
        EXPECT_FALSE(pList->m_bVisible) << dwID;
    }
    Shoot("season_archive_empty.png");
}

class EndOfCareer : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        g_ClientList.clear();
        // A second manager in the third slot; the second stays free.
        m_pSecond = CSaveGame::CreateNewHuman(*Database(), 2, "Bea Marsh", 7, 1);
        ASSERT_NE(m_pSecond, nullptr);
    }
    void TearDown() override
    {
        g_ClientList.clear();
        ScreenInPlay::TearDown();
    }
    CXClient* EndScreen() { return GetScreenObject(SCREEN_END_OF_CAREER); }
    bool EndQueued() const
    {
        return std::any_of(g_ClientList.begin(), g_ClientList.end(), [](const CLIENTLISTENTRY& entry) {
            return entry.pClient == GetScreenObject(SCREEN_END_OF_CAREER);
        });
    }
    CSaveGame* m_pSecond = nullptr;
};

TEST_F(EndOfCareer, OnlyTheArchiveSeenInJuly2024QueuesTheEnd)
{
    const struct {
        CDate date;
        bool bEnds;
    } cases[] = {
        {CDate(2024, 6, 30), false}, {CDate(2024, 7, 1), true},  {CDate(2024, 7, 31), true},
        {CDate(2024, 8, 1), false},  {CDate(2023, 7, 10), false},
    };
    for (const auto& c : cases) {
        g_ClientList.clear();
        Database()->SetGameDate(c.date);
        OpenScreen(SCREEN_LAST_MAIN);
        EXPECT_EQ(EndQueued(), c.bEnds) << c.date.GetYear() << "-" << c.date.GetMonth() << "-" << c.date.GetDay();
        // Choosing another view of the archive does not queue it twice.
        OpenScreen(SCREEN_LAST_MAIN);
        EXPECT_EQ(std::count_if(g_ClientList.begin(), g_ClientList.end(),
                                [this](const CLIENTLISTENTRY& entry) { return entry.pClient == EndScreen(); }),
                  c.bEnds ? 1 : 0);
    }
}

TEST_F(EndOfCareer, TheContinueAfterTheLastArchiveEndsTheGameWithAButtonPerManager)
{
    const CDate end(2024, 7, 5);
    Database()->SetGameDate(end);
    OpenScreen(SCREEN_CLUB_GENERAL);
    OpenScreen(SCREEN_LAST_MAIN);
    ASSERT_TRUE(EndQueued());
    g_pNavigationBar->ContinueGame();
    m_game.Update();
    m_game.Update();
    ASSERT_EQ(g_pCurrentClient, EndScreen());
    EXPECT_EQ(Database()->GetGameDate(), end) << "no day runs behind the last screen";
    EXPECT_FALSE(m_game.GetScreenHistory().CanGoBack()) << "the history ends with the career";
    const auto* pContinue = dynamic_cast<const CXButton*>(g_pNavigationBar->FindControl(CGameNavigationBar::ID_CONTINUE));
    ASSERT_NE(pContinue, nullptr);
    EXPECT_TRUE(pContinue->m_bDisabled) << "no way back into the season";
    Shoot("end_of_career.png");

    // Slots 0 and 2: their buttons keep their places, the free slot's stays empty.
    const struct {
        uint32_t dwID;
        int x;
        const CSaveGame* pHuman;
    } buttons[] = {{879, 278, m_pHuman}, {880, 0, nullptr}, {881, 458, m_pSecond}, {882, 0, nullptr}};
    for (const auto& b : buttons) {
        auto* pButton = dynamic_cast<CXButton*>(EndScreen()->FindControl(b.dwID));
        if (!b.pHuman) {
            EXPECT_EQ(pButton, nullptr) << b.dwID;
            continue;
        }
        ASSERT_NE(pButton, nullptr) << b.dwID;
        EXPECT_EQ(pButton->m_nLeft, b.x);
        const CManagerDatabase* pManager = Database()->GetManagerFromID(b.pHuman->GetManagerID());
        ASSERT_NE(pManager, nullptr);
        EXPECT_STREQ(pButton->Caption(), pManager->GetShortName());
    }
    // The second manager's button opens his details.
    auto* pButton = dynamic_cast<CXButton*>(EndScreen()->FindControl(881));
    ASSERT_NE(pButton, nullptr);
    pButton->OnLButtonDown(0, 2, 2);
    pButton->OnLButtonUp(0, 2, 2);
    m_game.Update();
    EXPECT_EQ(CXPopup::TopPopup(), &GetManagerDetailsPopup());
    EXPECT_EQ(GetManagerDetailsPopup().GetManager(), Database()->GetManagerFromID(m_pSecond->GetManagerID()));
    Shoot("end_of_career_manager.png");
}

}  // namespace
