// The club ratings screen over a game played some weeks: each line of the
// graph is the weekly history the division wrote, ending in the club
// record's present value, which the toggle shows as its caption; a toggle
// hides its line, and choosing another club on the title bar keeps the
// lines as they were.
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "platform/Files.h"
#include "screens/CClientClubRatings.h"
#include "season/CSaveGame.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXGraph.h"

#include <string>
#include <vector>

namespace {

using Ratings = CClientClubRatings;

// The club record's value of each line, by name, for the captions.
int RecordValue(const CClubDatabase& club, int nLine)
{
    switch (nLine) {
    case 0: return club.m_byAveragePotential;
    case 1: return club.m_byAverageRating;
    case 2: return club.m_byAverageMorale;
    case 3: return club.m_wManagerId && club.GetManager() ? club.GetManager()->m_byAbility : 0;
    case 4: return club.m_byReputation;
    case 5: return club.m_bySupportLevel;
    case 6: return club.m_bySupportExtra;
    case 7: return club.m_nFanConfidence;
    case 8: return club.m_nBoardConfidence;
    default: return static_cast<int8_t>(club.m_byFinancialStability);
    }
}

class ClubRatings : public ScreenGame {
protected:
    void SetUp() override
    {
        ScreenGame::SetUp();
        if (HasFatalFailure())
            return;
        for (int i = 0; i < 30; ++i) {
            m_pWorld->ProcessDay();
            m_pWorld->DoMatchDay(m_pWorld->GetGameDate());
        }
    }
    Ratings& Screen() { return GetClubRatingsScreen(); }
    void Show()
    {
        g_pNavigationBar->OnClientChange(SCREEN_CLUB_RATINGS, true);
        m_game.Update();
        m_game.Update();
        ASSERT_EQ(g_pCurrentClient, &Screen());
    }
    CXButton* Toggle(int k) { return dynamic_cast<CXButton*>(Screen().FindControl(Ratings::ID_FIRST_TOGGLE + k)); }
    void Click(int k)
    {
        CXButton* pToggle = Toggle(k);
        ASSERT_NE(pToggle, nullptr);
        pToggle->OnLButtonDown(0, 2, 2);
        pToggle->OnLButtonUp(0, 2, 2);
        m_game.Update();
    }
};

TEST_F(ClubRatings, LinesAreTheWeeklyHistoryEndingInTheClubRecord)
{
    CClubDatabase* pClub = Human().GetClub();
    ASSERT_NE(pClub, nullptr);
    // A signed rating below zero shows as it is.
    pClub->m_nFanConfidence = -7;
    ASSERT_NO_FATAL_FAILURE(Show());
    Shoot("club_ratings");
    ASSERT_EQ(Screen().GetClub(), pClub);

    // The history as the division wrote it to disk: week after week, one
    // ten-byte record per club in id order.
    ASSERT_TRUE(m_pWorld->FlushWorkingFiles());
    CDivisionDatabase* pDivision = pClub->m_pDivision;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::readWholeFile(pDivision->GetClubHistoryFileName(), bytes));
    const auto clubs = pDivision->m_lstClubsByID.Items<CClubDatabase>();
    const size_t nClubs = pDivision->m_lstClubsByID.GetCount();
    size_t nSlot = 0;
    for (const CClubDatabase* p : clubs) {
        if (p == pClub)
            break;
        ++nSlot;
    }
    const size_t nWeeks = bytes.size() / (nClubs * 10);
    ASSERT_GE(nWeeks, 3u);

    const CXGraph* pGraph = Screen().GetGraph();
    ASSERT_NE(pGraph, nullptr);
    // The byte of the record each line reads, and whether it is signed.
    const struct {
        int nByte;
        bool bSigned;
    } kBytes[Ratings::kRatings] = {{5, false}, {4, false}, {6, false}, {7, false}, {1, false},
                                   {2, false}, {3, false}, {9, true},  {8, true},  {0, true}};
    for (int k = 0; k < Ratings::kRatings; ++k) {
        const std::vector<double>& values = pGraph->GetSeries(k).values;
        ASSERT_EQ(values.size(), nWeeks + 1) << "line " << k;
        for (size_t w = 0; w < nWeeks; ++w) {
            const uint8_t byValue = bytes[(w * nClubs + nSlot) * 10 + kBytes[k].nByte];
            EXPECT_EQ(values[w], kBytes[k].bSigned ? static_cast<int8_t>(byValue) : byValue)
                << "line " << k << " week " << w;
        }
        EXPECT_EQ(values.back(), RecordValue(*pClub, k)) << "line " << k;
        ASSERT_NE(Toggle(k), nullptr);
        EXPECT_EQ(std::string(Toggle(k)->Caption()), std::to_string(RecordValue(*pClub, k)) + "%") << "line " << k;
    }
    EXPECT_EQ(std::string(Toggle(7)->Caption()), "-7%");
    EXPECT_GT(pClub->m_bySupportExtra, 0) << "the club starts with a following";
    // Months name the weeks they begin in.
    ASSERT_FALSE(pGraph->GetItemLabels().empty());
    EXPECT_EQ(pGraph->GetItemLabels().front().nIndex, 0);
}

TEST_F(ClubRatings, ToggleHidesItsLineAndAnotherClubKeepsTheChoice)
{
    ASSERT_NO_FATAL_FAILURE(Show());
    CXGraph* pGraph = Screen().GetGraph();
    ASSERT_NE(pGraph, nullptr);
    EXPECT_FALSE(pGraph->GetSeries(4).bHidden);
    ASSERT_NO_FATAL_FAILURE(Click(4));
    EXPECT_TRUE(pGraph->GetSeries(4).bHidden);
    EXPECT_TRUE(Toggle(4)->m_bPressed);
    EXPECT_FALSE(Toggle(3)->m_bPressed);
    Shoot("club_ratings_line_hidden");

    // Another club of the division on the title bar's club selector.
    CXComboBox* pClubs = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_CLUB);
    ASSERT_NE(pClubs, nullptr);
    const CClubDatabase* pHumanClub = Human().GetClub();
    int nOther = -1;
    for (int nRow = 0; nRow < pClubs->GetCount() && nOther < 0; ++nRow)
        if (pClubs->GetItemData(nRow) != pHumanClub->GetID())
            nOther = nRow;
    ASSERT_GE(nOther, 0);
    const auto idOther = static_cast<ID_CLUB>(pClubs->GetItemData(nOther));
    CClubDatabase* pOther = m_pWorld->GetClubFromID(idOther);
    ASSERT_NE(pOther, nullptr);
    // Without a manager his rating is nought and has no bar.
    const auto wManager = pOther->m_wManagerId;
    pOther->m_wManagerId = 0;
    pClubs->SetCurSel(nOther);
    Screen().OnSelChange(CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_CLUB));
    m_game.Update();
    m_game.Update();
    ASSERT_EQ(g_pCurrentClient, &Screen());
    EXPECT_EQ(Screen().GetClub(), pOther);
    pGraph = Screen().GetGraph();
    ASSERT_NE(pGraph, nullptr);
    EXPECT_TRUE(pGraph->GetSeries(4).bHidden);
    EXPECT_TRUE(Toggle(4)->m_bPressed);
    EXPECT_FALSE(pGraph->GetSeries(0).bHidden);
    EXPECT_EQ(std::string(Toggle(3)->Caption()), "0%");
    EXPECT_EQ(std::string(Toggle(4)->Caption()), std::to_string(pOther->m_byReputation) + "%");
    Shoot("club_ratings_other_club");
    pOther->m_wManagerId = wManager;
}

}  // namespace

namespace {

TEST_F(ClubRatings, AFullYearOfHistoryIsLabelledFromAYearAgo)
{
    CDivisionDatabase* pDivision = Human().GetClub()->m_pDivision;
    for (int nWeek = 0; nWeek < 60; ++nWeek)
        ASSERT_TRUE(pDivision->WriteClubHistory());
    ASSERT_NO_FATAL_FAILURE(Show());
    const CXGraph* pGraph = Screen().GetGraph();
    ASSERT_NE(pGraph, nullptr);
    // The year kept, then today's value.
    EXPECT_EQ(pGraph->GetSeries(0).values.size(), 53u);
    CDate start = m_pWorld->GetGameDate();
    start.AddDays(-357);
    ASSERT_FALSE(pGraph->GetItemLabels().empty());
    EXPECT_STREQ(pGraph->GetItemLabels().front().szText, GetTableTextOrEmpty(130, start.GetMonth() - 1));
    Shoot("club_ratings_full_year");
}

}  // namespace
