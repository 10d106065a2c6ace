// The humans' week beyond training: ground work that rises and is paid for,
// fixtures held for the match screen, the humans' turns, the pitch and a
// club's start ratings.
#include "HumanWorld.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperManager.h"

#include <cstdlib>
#include <string>

using namespace humans_test;

namespace {

constexpr uint32_t kScheduleId = 0x7100001;

// A stand of 4000 seats to be built on a side of the ground from the start
// date over the weeks given.
CComponentScheduleDatabase* ScheduleStand(CGroundDatabase& ground, const CDate& start, int nWeeks)
{
    int nSide = 0;
    while (nSide < 7 && (ground.GetStandOnSide(nSide) || ground.GetScheduledStandOnSide(nSide)))
        ++nSide;
    auto* pStand = new CComponentDatabase(COMPONENT_STAND, ground.GetID());
    pStand->SetUnderConstruction(true);
    ground.AddComponent(pStand);
    auto* pSchedule = new CComponentScheduleDatabase;
    pSchedule->SetID(kScheduleId);
    pSchedule->SetKind(SCHEDULE_BUILD);
    pSchedule->SetStartDate(start);
    pSchedule->SetDuration(static_cast<uint16_t>(nWeeks));
    pSchedule->SetExtraCost(5000);
    pSchedule->SetComponent(pStand);
    pSchedule->SetScheduleData(COMPONENT_STAND, 1, 200000, 10000, 3000, 900000);
    uint8_t* pData = pSchedule->GetComponentData();
    pData[STAND_QUALITY] = 1;
    pData[STAND_SIDE] = static_cast<uint8_t>(nSide);
    pData[STAND_SIZE] = 1;
    pData[STAND_SEATS] = 4000 & 0xFF;
    pData[STAND_SEATS + 1] = 4000 >> 8;
    ground.PrepareScheduledComponent(pSchedule);
    ground.AddComponentSchedule(pSchedule, true);
    return pSchedule;
}

// The building payments of the log lines "(category 50)".
long BuildingPayments(const LogCapture& log)
{
    long nSum = 0;
    for (const std::string& line : log.Lines())
        if (line.find("[BookClubMoney]") != std::string::npos && line.find("(category 50)") != std::string::npos) {
            const size_t nColon = line.rfind(": ");
            nSum += std::atol(line.c_str() + nColon + 2);
        }
    return nSum;
}

}  // namespace

TEST_F(HumanWorld, AStandScheduledAtTheSeasonStartIsBuiltPaidForAndSeated)
{
    CGroundDatabase* pGround = H().GetGroundFromID(m_pClub->m_wHomeGroundId);
    ASSERT_NE(pGround, nullptr);
    ASSERT_EQ(pGround->GetOwner(), m_pClub);
    m_pClub->m_nBankBalance = 5000000;
    const int nCapacity = pGround->GetCapacity();
    const CDate seasonStart(1999, 7, 5);
    CComponentScheduleDatabase* pSchedule = ScheduleStand(*pGround, seasonStart, 8);
    CComponentDatabase* pStand = pSchedule->GetComponent();
    EXPECT_EQ(CGroundDatabase::GetScheduleCost(*pSchedule), 200000 + 2 * 10000 + 5000);

    LogCapture log;
    while (H().GetGameDate() < CDate(seasonStart.GetValue(), 8 * 7 - 1))
        RunDays(1);
    EXPECT_TRUE(pStand->IsUnderConstruction()) << "not done the day before its end";
    EXPECT_EQ(pGround->GetCapacity(), nCapacity);
    RunDays(1);
    EXPECT_FALSE(pStand->IsUnderConstruction());
    EXPECT_EQ(pGround->GetCapacity(), nCapacity + 4000);
    EXPECT_EQ(BuildingPayments(log), -(200000 + 2 * 10000 + 5000)) << "paid what the schedule says";
}

TEST_F(HumanWorld, WorkTheClubCannotPayForIsCalledOffBeforeItStarts)
{
    CGroundDatabase* pGround = H().GetGroundFromID(m_pClub->m_wHomeGroundId);
    ASSERT_NE(pGround, nullptr);
    const int nComponents = pGround->GetComponentCount();
    ScheduleStand(*pGround, CDate(1999, 7, 12), 4);
    ASSERT_NE(m_pClub->m_pCountry->FindEvent(30, kScheduleId), nullptr);
    m_pClub->m_nBankBalance = 100000;

    LogCapture log;
    RunDays(5);  // to Monday 5 July, one week before the work
    EXPECT_EQ(pGround->FindComponentSchedule(kScheduleId), nullptr);
    EXPECT_EQ(pGround->GetComponentCount(), nComponents) << "the unbuilt stand went with its schedule";
    EXPECT_EQ(m_pClub->m_pCountry->FindEvent(30, kScheduleId), nullptr) << "and so did its events";
    bool bNews = false;
    for (const CNewsItem* pItem : m_pHuman->GetNews().GetIncoming().Items<CNewsItem>())
        bNews = bNews || pItem->GetType() == 165;
    EXPECT_TRUE(bNews);
    RunDays(10);
    EXPECT_EQ(BuildingPayments(log), 0);
}

TEST_F(HumanWorld, MatchTypeHoldsAHumansFixtureForTheMatchScreen)
{
    // The human's fixtures of a day: how many, and how many were played;
    // and how many of the others were played.
    auto countDay = [this](const CDate& day, int& nHuman, int& nHumanPlayed, int& nOthersPlayed) {
        nHuman = nHumanPlayed = nOthersPlayed = 0;
        for (const CDivisionFixturesDatabase* p : m_pClub->m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
            if (p->GetDate() != day)
                continue;
            if (p->IsClubInvolved(m_pClub->GetID())) {
                ++nHuman;
                nHumanPlayed += p->IsPlayed();
            }
            else
                nOthersPlayed += p->IsPlayed();
        }
    };
    struct Case {
        uint8_t byMatchType;
        int nHumanPlayed;
    };
    for (const Case& c : {Case{1, 0}, Case{0, 1}}) {
        SCOPED_TRACE(static_cast<int>(c.byMatchType));
        H().SetMatchType(c.byMatchType);
        CDate match;
        ASSERT_TRUE(H().GetNextMatchDate(m_pClub, H().GetGameDate(), match));
        while (H().GetGameDate() < match)
            RunDays(1);
        int nHuman = 0, nHumanPlayed = 0, nOthersPlayed = 0;
        countDay(match, nHuman, nHumanPlayed, nOthersPlayed);
        EXPECT_EQ(nHuman, 1);
        EXPECT_EQ(nHumanPlayed, c.nHumanPlayed);
        EXPECT_GT(nOthersPlayed, 0) << "the other fixtures of the day are played";
    }
}

TEST_F(HumanWorld, TwoHumansTakeTheirTurnsInSlotOrder)
{
    CSaveGame* pSecond = CSaveGame::CreateNewHuman(H(), 2, "Bo Strand", 7, 1);
    ASSERT_NE(pSecond, nullptr);
    pSecond->TakeOverClub(H().GetClubFromID(3));
    H().SetCurrentHumanIndex(0);
    EXPECT_EQ(H().GetNextHumanPlayerIndex(), 2);
    EXPECT_EQ(H().SelectNextHumanPlayer(), pSecond);
    EXPECT_EQ(H().GetCurrentHumanIndex(), 2);
    EXPECT_EQ(H().SelectNextHumanPlayer(), m_pHuman) << "after the last the first comes round again";
    EXPECT_EQ(H().GetSaveGameForManager(H().GetManagerFromID(pSecond->GetManagerID())), pSecond);
    EXPECT_EQ(H().GetSaveGameForManager(nullptr), nullptr);

    // With slot 0 empty the turn passes to the first occupied slot, not to
    // nobody.
    H().SetHumanSlot(0, nullptr);
    m_pHuman = nullptr;
    EXPECT_EQ(H().SelectNextHumanPlayer(), pSecond);
    EXPECT_EQ(H().GetNextHumanPlayerIndex(), 2) << "a lone human keeps the turn";
}

TEST_F(HumanWorld, ThePitchWearsWithWeatherAndMatchesAndRecovers)
{
    CClubDatabase* pClub = H().GetClubFromID(2);
    ASSERT_NE(pClub, nullptr);
    pClub->m_wHomeGroundId = 0;  // no pitch items to help
    struct Case {
        int nPlayed;
        int nWeather;
        int nReputation;
        int nPitch;
        int nAfter;
    };
    for (const Case& c : {Case{0, 0, 80, 50, 50 - 1 + 4}, Case{5, 4, 0, 50, 50 - 10}, Case{2, 1, 100, 99, 99 - 6 + 5},
                          Case{3, 4, 0, 5, 0}, Case{0, 5, 100, 98, 100}}) {
        pClub->m_HomeRow.byPlayed = static_cast<uint8_t>(c.nPlayed);
        pClub->m_pCountry->SetWeather(static_cast<uint8_t>(c.nWeather << 2));
        pClub->m_byReputation = static_cast<uint8_t>(c.nReputation);
        pClub->m_byPitchCondition = static_cast<uint8_t>(c.nPitch);
        pClub->UpdatePitchCondition();
        EXPECT_EQ(pClub->m_byPitchCondition, c.nAfter) << c.nPlayed << " " << c.nWeather;
    }
}

TEST_F(HumanWorld, MissingRatingsAreGivenFromTheDivisionsLevel)
{
    CClubDatabase* pClub = H().GetClubFromID(2);
    ASSERT_NE(pClub, nullptr);
    ASSERT_EQ(pClub->m_pDivision->m_byDivisionNumber, 1);
    const uint8_t bySupport = pClub->m_bySupportLevel;
    pClub->m_byReputation = 0;
    pClub->GenerateMissingRatings();
    EXPECT_GE(pClub->m_byReputation, 80);
    EXPECT_LT(pClub->m_byReputation, 95);
    EXPECT_EQ(pClub->m_bySupportLevel, bySupport) << "a rating the club has is kept";
    EXPECT_GE(pClub->m_nFanConfidence, 50);
    EXPECT_LT(pClub->m_nFanConfidence, 65);
    EXPECT_LE(pClub->m_nBoardConfidence, 100);
    EXPECT_GE(pClub->m_nBoardConfidence, pClub->m_byReputation - 5);
    EXPECT_GE(pClub->m_byPitchCondition, 70);
    EXPECT_LT(pClub->m_byPitchCondition, 90);
    EXPECT_EQ(pClub->m_nBankBalance, pClub->GetMinimumBalance());
}
