// The cup tables: the score cell of a tie, and the screen over a game some
// weeks into the season showing a played two-legged tie with its totals.
#include "ScreenInPlay.h"

#include "screens/CClientTablesStaticsCup.h"
#include "screens/FixtureKitRow.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CupRecords.h"
#include "shell/CTableText.h"
#include "xframework/CXListBox.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXSurface.h"
#include "platform/DeviceContext.h"
#include "database/CCountryDatabase.h"
#include "database/PersonOwners.h"
#include "season/CupStructureTable.h"
#include "shell/CGameTitlebar.h"
#include "shell/PlayerRowIcons.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using Cup = CClientTablesStaticsCup;

std::string Cell(const CXListBox* pList, int nRow, int nColumn)
{
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    pList->GetColumnText(nRow, nColumn, szCell);
    return szCell;
}

class CupTables : public ScreenInPlay {
protected:
    // A played second leg of a European or domestic tie, once the season
    // has run far enough to have one.
    const CCupFixturesDatabase* RunToPlayedSecondLeg()
    {
        for (int i = 0; i < 150; ++i) {
            for (const CCupFixturesDatabase* p : Database()->GetCupFixtures().Items<CCupFixturesDatabase>())
                if (p->IsPlayed() && p->GetOtherLeg() && p->GetOtherLeg()->IsPlayed() &&
                    p->GetOtherLeg()->GetDate() < p->GetDate() && !p->IsReplay())
                    return p;
            Database()->ProcessDay();
            Database()->DoMatchDay(Database()->GetGameDate());
        }
        return nullptr;
    }
    void OpenCup(uint32_t dwParameter)
    {
        g_pNavigationBar->SetNextClient(GetScreenObject(SCREEN_TABLES_CUP), dwParameter);
        m_game.Update();
        m_game.Update();
    }
    static int FindRow(const Cup* pScreen, uint32_t dwMatchID)
    {
        const CXListBox* pList = pScreen->GetFixtureList();
        for (int nRow = 0; pList && nRow < pList->GetCount(); ++nRow)
            if (pScreen->GetRow(nRow) && pScreen->GetRow(nRow)->GetMatchID() == dwMatchID)
                return nRow;
        return -1;
    }
};

TEST_F(CupTables, ATieScoresOneMatchFirstLegsAndTotalsOverBothLegs)
{
    CCupFixturesDatabase first, second;
    first.Set(1, CDate(2026, 8, 5), 10, 20, 901, 1, 0, 20, 0);
    second.Set(1, CDate(2026, 8, 19), 20, 10, 902, 1, 0, 20, 0);
    first.SetOtherLeg(&second);
    second.SetOtherLeg(&first);
    struct Case {
        bool bFirstPlayed, bSecondPlayed, bSecondView;
        const CCupFixturesDatabase* pShown;
        const char* pszExpected;
    } cases[] = {
        {false, false, false, &first, "-"},
        {true, false, false, &first, "3 - 1"},
        {true, false, true, &second, "-"},          // the second leg still to come
        {true, true, false, &first, "3 - 1"},       // the first-leg view keeps its own score
        {true, true, true, &second, "(3) 2 - 1 (4)"},  // club 20: 2 + 1 away; club 10: 1 + 3
    };
    for (const Case& c : cases) {
        first.SetGoals(c.bFirstPlayed ? 3 : 255, c.bFirstPlayed ? 1 : 255);
        second.SetGoals(c.bSecondPlayed ? 2 : 255, c.bSecondPlayed ? 1 : 255);
        EXPECT_EQ(Cup::TieScore(*Database(), *c.pShown, true, c.bSecondView), c.pszExpected)
            << c.bFirstPlayed << c.bSecondPlayed << c.bSecondView;
    }
}

TEST_F(CupTables, ATwoLeggedRoundShowsTheTotalsInTheSecondLegView)
{
    const CCupFixturesDatabase* pSecond = RunToPlayedSecondLeg();
    ASSERT_NE(pSecond, nullptr) << "no two-legged tie played in the season's first months";
    const CCupFixturesDatabase* pFirst = pSecond->GetOtherLeg();
    const CUP_NUMBER byCup = pSecond->GetCupNumber();
    OpenCup(byCup == 0 ? Cup::kFirstEuropeanCup : byCup);
    auto* pScreen = dynamic_cast<Cup*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    ASSERT_NE(pScreen->GetCup(), nullptr);
    EXPECT_EQ(MakeCupNumberFromKind(pScreen->GetCup()->byKind, pScreen->GetCountryID()), byCup);

    // The round whose first legs the tie's first leg belongs to.
    int nFirstRow = -1;
    for (int nRound = 1; nRound <= pScreen->GetCup()->byRounds && nFirstRow < 0; ++nRound)
        if (pScreen->ChooseRound(nRound) && pScreen->ChooseLegOrGroup(0))
            nFirstRow = FindRow(pScreen, pFirst->GetFixtureID());
    ASSERT_GE(nFirstRow, 0) << "the tie's round is not listed";
    Shoot("cup_first_leg.png");
    const CXListBox* pList = pScreen->GetFixtureList();
    EXPECT_EQ(Cell(pList, nFirstRow, 1),
              std::to_string(pFirst->GetHomeGoals()) + " - " + std::to_string(pFirst->GetAwayGoals()));

    ASSERT_TRUE(pScreen->ChooseLegOrGroup(1));
    EXPECT_EQ(pScreen->GetLegOrGroup(), 1);
    Shoot("cup_second_leg.png");
    const int nRow = FindRow(pScreen, pSecond->GetFixtureID());
    ASSERT_GE(nRow, 0);
    const FixtureKitRow* pRow = pScreen->GetRow(nRow);
    EXPECT_EQ(pRow->GetHomeClub()->m_wClubId, pSecond->GetHomeClubID()) << "the clubs as they play the second leg";
    const std::string expected = "(" + std::to_string(pSecond->GetHomeGoals() + pFirst->GetAwayGoals()) + ") " +
                                 std::to_string(pSecond->GetHomeGoals()) + " - " +
                                 std::to_string(pSecond->GetAwayGoals()) + " (" +
                                 std::to_string(pSecond->GetAwayGoals() + pFirst->GetHomeGoals()) + ")";
    EXPECT_EQ(Cell(pScreen->GetFixtureList(), nRow, 1), expected);
}

TEST_F(CupTables, AGroupRoundShowsTheGroupTableAndItsMatchDay)
{
    // On to the first played match day of a European group stage.
    const CEuropeanCupDatabase* pEurope = Database()->GetEuropeanCups();
    ASSERT_NE(pEurope, nullptr);
    const CUP* pGroupCup = nullptr;
    auto playedGroup = [&]() -> const MINILEAGUEGROUP* {
        if (pEurope->GetGroups().IsEmpty())
            return nullptr;
        const auto* pGroup = static_cast<const MINILEAGUEGROUP*>(pEurope->GetGroups().GetHead()->pData);
        const MINILEAGUEROW& row = pGroup->pRows[0];
        return row.byWon + row.byDrawn + row.byLost > 0 ? pGroup : nullptr;
    };
    for (int i = 0; i < 240 && !playedGroup(); ++i) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    ASSERT_NE(playedGroup(), nullptr) << "no group match day in the season's first months";
    for (int nKind : {0, 1, 3})
        if (const CUP* pCup = pEurope->GetCup(nKind); pCup && pCup->byLegs == CUP_LEGS_GROUP)
            pGroupCup = pCup;
    ASSERT_NE(pGroupCup, nullptr);
    OpenCup(pGroupCup->byKind == 0 ? Cup::kFirstEuropeanCup : MakeCupNumberFromKind(pGroupCup->byKind, 0));
    auto* pScreen = dynamic_cast<Cup*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    ASSERT_EQ(pScreen->GetCup(), pGroupCup);
    EXPECT_EQ(pScreen->GetRound(), pGroupCup->byRound) << "the round in play";
    ASSERT_TRUE(pScreen->ChooseLegOrGroup(0));
    Shoot("cup_group.png");
    const auto* pGroup = static_cast<const MINILEAGUEGROUP*>(pEurope->GetGroups().GetHead()->pData);
    const CXListBox* pTable = pScreen->GetGroupList();
    ASSERT_EQ(pTable->GetCount(), pGroup->byFilled);
    for (int r = 0; r < pGroup->byFilled; ++r) {
        const MINILEAGUEROW& row = pGroup->pRows[r];
        const int nRow = row.byPosition - 1;
        ASSERT_GE(nRow, 0);
        EXPECT_EQ(pTable->GetItemData(nRow), row.dwClub);
        EXPECT_EQ(std::stoi(Cell(pTable, nRow, 9)), 3 * row.byWon + row.byDrawn);
    }
    ASSERT_GE(pScreen->GetGroupMarks().size(), 2u);
    EXPECT_EQ(pScreen->GetGroupMarks()[0], Cup::kQualifyMark);
    EXPECT_EQ(pScreen->GetGroupMarks()[1], Cup::kQualifyMark);
    // The group's matches of its match day: each club of the group once.
    const CXListBox* pList = pScreen->GetFixtureList();
    EXPECT_EQ(pList->GetCount(), pGroup->byFilled / 2);
    const CDate firstDay = Database()->GetGameDate();

    // Two match days on, the cup still stands on its first group round: the
    // screen opens on the third match day with the same groups and that
    // day's matches, and goes back to the first day's matches.
    const int nFirstRound = pGroupCup->byRound;
    auto played = [&]() { return pGroup->pRows[0].byWon + pGroup->pRows[0].byDrawn + pGroup->pRows[0].byLost; };
    for (int i = 0; i < 60 && played() < 3; ++i) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    ASSERT_EQ(played(), 3);
    ASSERT_EQ(pGroupCup->byRound, nFirstRound);
    OpenCup(pGroupCup->byKind == 0 ? Cup::kFirstEuropeanCup : MakeCupNumberFromKind(pGroupCup->byKind, 0));
    pScreen = dynamic_cast<Cup*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetRound(), nFirstRound + 2);
    ASSERT_TRUE(pScreen->ChooseLegOrGroup(0));
    Shoot("cup_group_third_day.png");
    auto expectMatchDay = [&](const CDate& day) {
        EXPECT_EQ(pScreen->GetGroupList()->GetCount(), pGroup->byFilled);
        ASSERT_EQ(pScreen->GetFixtureList()->GetCount(), pGroup->byFilled / 2);
        for (int nRow = 0; nRow < pScreen->GetFixtureList()->GetCount(); ++nRow) {
            const FixtureKitRow* pRow = pScreen->GetRow(nRow);
            ASSERT_NE(pRow, nullptr);
            const CCupFixturesDatabase* pFixture = Database()->FindCupFixtureByMatchId(pRow->GetMatchID());
            ASSERT_NE(pFixture, nullptr);
            EXPECT_TRUE(pFixture->GetDate() == day);
            EXPECT_TRUE(pFixture->IsPlayed());
        }
    };
    expectMatchDay(Database()->GetGameDate());
    ASSERT_TRUE(pScreen->ChooseRound(nFirstRound));
    ASSERT_TRUE(pScreen->ChooseLegOrGroup(0));
    expectMatchDay(firstDay);
}

// Each country of the country selector carries its flag beside its name.
TEST_F(CupTables, ARoundNotDrawnYetSaysSo)
{
    OpenCup(MakeCupNumberFromKind(CUP_KIND_1, 1));
    auto* pScreen = dynamic_cast<Cup*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    const CXListBox* pList = pScreen->GetFixtureList();
    ASSERT_NE(pList, nullptr);
    Shoot("cup_not_drawn.png");
    ASSERT_EQ(pList->GetCount(), 1) << "the first round is drawn later in the season";
    EXPECT_EQ(Cell(pList, 0, 0), GetTableText(114, 26));
    EXPECT_EQ(pScreen->GetRow(0), nullptr) << "the row stands for no match";
}

TEST_F(CupTables, TheCountrySelectorShowsEachCountrysFlag)
{
    OpenCup(MakeCupNumberFromKind(CUP_KIND_1, 1));
    auto* pScreen = dynamic_cast<Cup*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    // The title bar's cup country selector.
    constexpr int kCountrySelector = 18;
    const CXComboBox* pCountries = g_pTitlebar->GetSelector(kCountrySelector);
    ASSERT_NE(pCountries, nullptr);
    int nCountries = 0;
    for (int nRow = 0; nRow < pCountries->GetCount(); ++nRow) {
        const CCountryDatabase* pCountry =
            Database()->GetCountryFromID(static_cast<ID_COUNTRY>(pCountries->GetItemData(nRow)));
        if (!pCountry)
            continue;  // the European competitions
        ++nCountries;
        CXAnimation* pFlag = PlayerRowIcons::NationFlag(GetCountryNationality(pCountry));
        ASSERT_NE(pFlag, nullptr) << pCountry->GetName();
        bool bFlag = false;
        for (const auto& graphic : pCountries->GetRow(nRow)->Graphics)
            bFlag = bFlag || graphic.pGraphic == pFlag;
        EXPECT_TRUE(bFlag) << pCountry->GetName();
    }
    EXPECT_EQ(nCountries, 9);
    Shoot("cup_countries.png");
}

// The width of a text in a font, as the list box measures it.
int TextWidth(plat::Font* pFont, const char* pszText)
{
    return pFont && pszText ? pFont->textWidth(pszText, static_cast<int>(std::strlen(pszText))) : -1;
}

TEST_F(CupTables, CompetitionsNamesFitTheirSelectorClosedAndOpen)
{
    constexpr int kCupSelector = 19;
    for (uint32_t dwCup : {static_cast<uint32_t>(Cup::kFirstEuropeanCup), static_cast<uint32_t>(MakeCupNumberFromKind(CUP_KIND_1, 1))}) {
        OpenCup(dwCup);
        ASSERT_NE(dynamic_cast<Cup*>(g_pCurrentClient), nullptr);
        const CXComboBox* pCups = g_pTitlebar->GetSelector(kCupSelector);
        ASSERT_NE(pCups, nullptr);
        ASSERT_GT(pCups->GetCount(), 0);
        const int nRoom = pCups->Width() - pCups->m_nTextIndent;
        for (int nRow = 0; nRow < pCups->GetCount(); ++nRow) {
            const CXListBox::Row* pRow = pCups->GetRow(nRow);
            SCOPED_TRACE(pRow->szText);
            // The closed box writes in its own face, the opened list in the
            // buttons' bolder one, unless the row has a face of its own.
            EXPECT_LE(TextWidth(pRow->hFont ? pRow->hFont : pCups->m_hFont, pRow->szText), nRoom);
            EXPECT_LE(TextWidth(pRow->hFont ? pRow->hFont : g_hButtonFont, pRow->szText), nRoom);
        }
    }
    Shoot("cup_competitions.png");
}

}  // namespace
