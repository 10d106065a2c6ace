// A club's money and mood on hand-built clubs: ticket prices, the gate and
// who books it, the lowest balance, and the fans', board's and bank's
// opinion after results and modifiers.
#include "../database/GameTree.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/Random.h"
#include "season/CGroundDatabase.h"

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kNoPosition = 4;

class HandClub : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::srand(7);
        for (CClubDatabase* pClub : {&m_club, &m_opponent}) {
            pClub->m_abyLatitude[2] = kNoPosition;
            pClub->m_pGround = &m_ground;
            pClub->m_bySupportLevel = 55;
            pClub->m_nFanConfidence = 50;
            pClub->m_nBoardConfidence = 50;
            pClub->m_byFinancialStability = 50;
        }
        m_opponent.m_pGround = nullptr;
        m_ground.SetCapacity(20000);
    }
    // The money a category group holds until the month's books close.
    int32_t Group(const CClubDatabase& club, int nCategory) const
    {
        return club.m_anFinanceAccumulators[CClubDatabase::FindFinanceCategory(nCategory)];
    }

    CGroundDatabase m_ground;
    CClubDatabase m_club;
    CClubDatabase m_opponent;
};

TEST_F(HandClub, TicketPricesFollowTheSupportBand)
{
    struct Case {
        uint8_t bySupport;
        int anPrices[4];
    };
    // Below 10 prices as 10-19; 110 and above as 100-109.
    const Case cases[] = {
        {0, {5, 6, 6, 6}},       {5, {5, 6, 6, 6}},       {15, {5, 6, 6, 6}},    {25, {8, 9, 9, 9}},
        {55, {13, 15, 16, 16}},  {105, {18, 20, 22, 22}}, {200, {18, 20, 22, 22}},
    };
    for (const Case& c : cases) {
        m_club.m_bySupportLevel = c.bySupport;
        for (int t = 0; t < 4; ++t)
            EXPECT_EQ(m_club.GetStandardTicketPrices(t), c.anPrices[t]) << "support " << int(c.bySupport) << " type "
                                                                        << t;
    }
    LogCapture log;
    EXPECT_EQ(m_club.GetStandardTicketPrices(4), 0);
    EXPECT_TRUE(log.Contains("Unknown TICKET_? Type!"));
}

TEST_F(HandClub, LeagueGateIsPaidToTheHomeClubLessItsCosts)
{
    int32_t nReceipts = -1;
    int nAttendance = -1;
    const int nPercentage = m_club.GetMatchAttendanceAsPercentage(&m_opponent, 0, &nReceipts, &nAttendance);
    // Factor (0 - 0 + 50 + 1) %, spread 2 % of the ground around it.
    EXPECT_GE(nAttendance, 10200 - 200);
    EXPECT_LE(nAttendance, 10200 + 200);
    EXPECT_EQ(nPercentage, nAttendance * 100 / 20000);
    EXPECT_EQ(nReceipts, 15 * nAttendance);
    EXPECT_EQ(Group(m_club, 5), nReceipts - static_cast<int32_t>(0.1 * nReceipts));
    for (int32_t n : m_opponent.m_anFinanceAccumulators)
        EXPECT_EQ(n, 0) << "the visitors share no league gate";
    EXPECT_EQ(m_club.m_SeasonAttendance.nAverage, nAttendance);
    EXPECT_EQ(m_club.m_SeasonAttendance.nHighest, nAttendance);
    EXPECT_EQ(m_club.m_SeasonAttendance.nLowest, nAttendance);

    // The books close into the bank at the month's finance run.
    m_club.m_nBankBalance = 1000;
    m_club.DoFinance();
    EXPECT_EQ(m_club.m_nBankBalance, 1000 + nReceipts - static_cast<int32_t>(0.1 * nReceipts));
    EXPECT_EQ(m_club.m_nPreviousBalance, m_club.m_nBankBalance);
    for (int32_t n : m_club.m_anFinanceAccumulators)
        EXPECT_EQ(n, 0);
}

TEST_F(HandClub, CupAndFriendlyGatesAreShared)
{
    int32_t nReceipts = 0;
    const int nCupCrowd = m_club.GetMatchAttendance(&m_opponent, 2, &nReceipts);
    EXPECT_EQ(nReceipts, 16 * nCupCrowd);
    const auto nThird = static_cast<int32_t>(nReceipts * 0.33333334);
    EXPECT_EQ(Group(m_club, 1), 2 * nThird - nThird);
    EXPECT_EQ(Group(m_opponent, 2), nThird);

    CClubDatabase home, away;
    home.m_pGround = &m_ground;
    home.m_bySupportLevel = 55;
    home.m_nFanConfidence = 50;
    const int nFriendlyCrowd = home.GetMatchAttendance(&away, 3, &nReceipts);
    EXPECT_EQ(nReceipts, 13 * nFriendlyCrowd);
    EXPECT_EQ(Group(home, 7), static_cast<int32_t>(0.75 * nReceipts));
    EXPECT_EQ(Group(away, 8), static_cast<int32_t>(0.25 * nReceipts));

    // At a neutral ground each club takes a third of the gate; a friendly
    // there takes none.
    CClubDatabase first, second;
    first.m_bySupportLevel = 55;
    first.BookNeutralGate(&second, 2, 9000);
    EXPECT_EQ(Group(first, 2), static_cast<int32_t>(16 * 9000 * 0.33333334));
    EXPECT_EQ(Group(second, 2), Group(first, 2));
    LogCapture log;
    CClubDatabase third, fourth;
    third.BookNeutralGate(&fourth, 3, 9000);
    EXPECT_TRUE(log.Contains("Trying to Play a Friendly game at Neutral Venue"));
    for (int32_t n : third.m_anFinanceAccumulators)
        EXPECT_EQ(n, 0);
}

TEST_F(HandClub, SmallAndMissingGroundsNeverDivideByZeroNorOverfill)
{
    LogCapture log;
    m_club.m_nFanConfidence = 100;
    for (int nCapacity : {1, 30, 49, 50, 60000}) {
        m_ground.SetCapacity(nCapacity);
        int nAttendance = -1;
        const int nPercentage = m_club.GetMatchAttendanceAsPercentage(&m_opponent, 0, nullptr, &nAttendance);
        EXPECT_LE(nAttendance, nCapacity);
        EXPECT_GE(nAttendance, 0);
        EXPECT_LE(nPercentage, 100);
    }
    EXPECT_FALSE(log.Contains("has no Seating Capacity"));

    m_ground.SetCapacity(0);
    int nAttendance = -1;
    const int nPercentage = m_club.GetMatchAttendanceAsPercentage(&m_opponent, 0, nullptr, &nAttendance);
    EXPECT_TRUE(log.Contains("has no Seating Capacity assuming 10000"));
    EXPECT_GT(nAttendance, 0);
    EXPECT_LE(nAttendance, 10000);
    EXPECT_EQ(nPercentage, nAttendance * 100 / 10000);

    m_club.m_pGround = nullptr;
    EXPECT_LE(m_club.GetMatchAttendance(&m_opponent, 9, nullptr), 10000);
    EXPECT_TRUE(log.Contains("Unknown Match Type"));
}

TEST_F(HandClub, MinimumBalanceStaysOnTheMoneyScale)
{
    EXPECT_EQ(CClubDatabase::GetMoneyScaleEntry(29), 100000);
    EXPECT_EQ(CClubDatabase::GetMoneyScaleEntry(99), 30000000);
    m_club.m_bySupportLevel = 0;
    m_club.m_byReputation = 0;
    EXPECT_EQ(m_club.GetMinimumBalance(), CDatabaseHandler::RoundMoneyValue(CClubDatabase::GetMoneyScaleEntry(0)));
    m_club.m_bySupportLevel = 255;
    m_club.m_byReputation = 255;
    EXPECT_EQ(m_club.GetMinimumBalance(), 30000000);
    m_club.m_bySupportLevel = 90;
    m_club.m_byReputation = 0;
    EXPECT_EQ(m_club.GetMinimumBalance(), 100000) << "index 30 reads entry 29";
}

TEST_F(HandClub, ConfidenceModifiersKeepTheirBounds)
{
    m_club.m_nFanConfidence = 95;
    m_club.UpdateFanConfidence(0);
    EXPECT_EQ(m_club.m_nFanConfidence, 100);
    m_club.m_nFanConfidence = 5;
    m_club.UpdateFanConfidence(15);
    EXPECT_EQ(m_club.m_nFanConfidence, 0);
    LogCapture log;
    m_club.UpdateFanConfidence(17);
    EXPECT_EQ(m_club.m_nFanConfidence, 0);
    EXPECT_TRUE(log.Contains("Unknown FANCONFIDENCE_MODIFIER_?"));

    m_club.m_nBoardConfidence = 98;
    m_club.UpdateBoardConfidence(10, 0);
    EXPECT_EQ(m_club.m_nBoardConfidence, 100);
    m_club.m_nBoardConfidence = 12;
    m_club.UpdateBoardConfidence(23, 0);
    EXPECT_EQ(m_club.m_nBoardConfidence, 10);
    m_club.m_nBoardConfidence = 60;
    m_club.UpdateBoardConfidence(15, 0);
    EXPECT_EQ(m_club.m_nBoardConfidence, 10) << "a ground worth nothing";
    // Without a manager the neutral term 50 stands in for his rating.
    m_club.m_byReputation = 70;
    m_club.UpdateBoardConfidence(0, 0);
    EXPECT_EQ(m_club.m_nBoardConfidence, (70 + 50) / 2 + 25);
    m_club.UpdateFinancialStability(0);
    EXPECT_EQ(m_club.m_byFinancialStability, (70 + 50) / 2 + 10);

    m_club.m_byFinancialStability = 25;
    m_club.UpdateFinancialStability(4);
    EXPECT_EQ(m_club.m_byFinancialStability, 21);
    m_club.m_byFinancialStability = 21;
    m_club.UpdateFinancialStability(4);
    EXPECT_EQ(m_club.m_byFinancialStability, 20);
}

TEST_F(HandClub, ResultsMoveConfidenceAndForm)
{
    struct Case {
        const char* pszName;
        uint8_t byKind;
        int nFor, nAgainst;
        int nFan, nBoard;
    };
    const Case cases[] = {
        {"narrow win", 0, 1, 0, 51, 51},  {"big win", 0, 5, 0, 51, 55},       {"draw", 0, 2, 2, 50, 50},
        {"narrow loss", 0, 0, 1, 49, 49}, {"heavy loss", 0, 0, 4, 49, 46},    {"friendly loss", 3, 0, 4, 50, 50},
    };
    for (const Case& c : cases) {
        CClubDatabase club;
        club.m_nFanConfidence = 50;
        club.m_nBoardConfidence = 50;
        club.DoMatchResultUpdate(c.byKind, c.nFor, c.nAgainst, true, nullptr);
        EXPECT_EQ(club.m_nFanConfidence, c.nFan) << c.pszName;
        EXPECT_EQ(club.m_nBoardConfidence, c.nBoard) << c.pszName;
    }

    // Three wins, then a defeat: the win run ends, its best stays.
    for (int i = 0; i < 3; ++i)
        m_club.DoMatchResultUpdate(0, 2, 0, i % 2 == 0, nullptr);
    EXPECT_EQ(m_club.m_abyResultRuns[0][1], 3);
    EXPECT_EQ(m_club.m_abyResultRuns[1][1], 2) << "two of them at home";
    EXPECT_EQ(m_club.m_abyResultRuns[2][1], 1);
    EXPECT_EQ(m_club.m_nFanConfidence, 53);
    EXPECT_EQ(m_club.m_nBoardConfidence, 53);
    EXPECT_EQ(m_club.m_awResultTotals[0], 6);
    m_club.DoMatchResultUpdate(0, 0, 3, true, nullptr);
    EXPECT_EQ(m_club.m_abyResultRuns[0][1], 0);
    EXPECT_EQ(m_club.m_abyResultRuns[0][0], 1);
    EXPECT_EQ(m_club.m_abyResultRuns[0][4], 3) << "season best win run";
    EXPECT_EQ(m_club.m_abyBestRuns[0][1], 3);
    EXPECT_EQ(m_club.m_nFanConfidence, 52);
    EXPECT_EQ(m_club.m_nBoardConfidence, 50);
    EXPECT_EQ(m_club.m_awResultTotals[1], 3);
}

TEST_F(HandClub, NewSeasonRaisesAComputerClubToItsLowestBalanceAndClearsTheSeason)
{
    m_club.m_bySupportLevel = 90;
    m_club.m_byReputation = 0;
    // Below its lowest balance even with the gate it books below.
    m_club.m_nBankBalance = -500000;
    m_club.DoMatchResultUpdate(0, 2, 0, true, nullptr);
    m_club.GetMatchAttendance(&m_opponent, 0, nullptr);
    LogCapture log;
    m_club.StartNewSeason();
    EXPECT_EQ(m_club.m_nBankBalance, 100000);
    EXPECT_EQ(m_club.m_nPreviousBalance, 100000);
    EXPECT_TRUE(log.Contains("Bank Balance : "));
    EXPECT_EQ(m_club.m_abyResultRuns[0][1], 0);
    EXPECT_EQ(m_club.m_abyBestRuns[0][1], 1) << "the best ever run stays";
    EXPECT_EQ(m_club.m_SeasonAttendance.nHighest, 0);
    EXPECT_GT(m_club.m_RecordAttendance.nHighest, 0);
    EXPECT_EQ(m_club.m_nSeasonMarker, -1);
    for (int32_t n : m_club.m_anFinanceAccumulators)
        EXPECT_EQ(n, 0);

    // A richer club keeps its money.
    m_club.m_nBankBalance = 5000000;
    m_club.StartNewSeason();
    EXPECT_EQ(m_club.m_nBankBalance, 5000000);
}

TEST_F(HandClub, StaffWorkloadWithoutCoachesIsOverloaded)
{
    EXPECT_EQ(m_club.GetStaffWorkloadStatus(0, 0), 0);
    EXPECT_EQ(m_club.GetStaffWorkloadStatus(0, 3), 2) << "no players for three coaches";
    EXPECT_EQ(m_club.GetStaffNeeded(1), 1);
    m_ground.SetCapacity(60000);
    EXPECT_EQ(m_club.GetStaffNeeded(1), 3);
    EXPECT_EQ(m_club.GetStaffWorkloadStatus(1, 3), 1);
    EXPECT_EQ(m_club.GetStaffWorkloadStatus(1, 4), 2);
    LogCapture log;
    EXPECT_EQ(m_club.GetStaffWorkloadStatus(6, 1), 1);
    EXPECT_TRUE(log.Contains("Unhandled Staff Type"));
    // An empty squad has averages of 0.
    m_club.UpdateSquadAverages();
    EXPECT_EQ(m_club.m_byAverageRating, 0);
}

}  // namespace
