// Grounds with their components and building schedules: the file form, the
// refusal of damaged files, and the capacity, price and attendance rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../database/GameTree.h"
#include "RecordBytes.h"
#include "database/CDatabaseHandler.h"
#include "platform/Random.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"

namespace {

auto LoadGround = [](CGroundDatabase& ground, CBinaryReader& reader) { return ground.Load(reader); };

CComponentDatabase* MakeStand(uint32_t dwID, int nSubType, int nSide, int nSize, int nQuality, int nSeats,
                              int nRoof = 0, int nBoxes = 0)
{
    auto* p = new CComponentDatabase(COMPONENT_STAND, 9);
    p->SetID(dwID);
    p->SetSubType(static_cast<uint8_t>(nSubType));
    p->SetValue(1000 * dwID);
    p->SetMaintenanceCost(100 * dwID);
    uint8_t data[COMPONENT_STAND_DATA] = {};
    data[STAND_QUALITY] = static_cast<uint8_t>(nQuality);
    data[STAND_SIDE] = static_cast<uint8_t>(nSide);
    data[STAND_SIZE] = static_cast<uint8_t>(nSize);
    data[STAND_ROOF] = static_cast<uint8_t>(nRoof);
    data[STAND_PARTS] = static_cast<uint8_t>(nBoxes);
    p->SetSpecificData(data);
    p->SetStandSeats(nSeats);
    return p;
}

CComponentDatabase* MakeItem(uint32_t dwID, int nMainType, int nSubType)
{
    auto* p = new CComponentDatabase(static_cast<uint8_t>(nMainType), 9);
    p->SetID(dwID);
    p->SetSubType(static_cast<uint8_t>(nSubType));
    p->SetValue(10 * dwID);
    const uint8_t data[COMPONENT_FACILITY_DATA] = {static_cast<uint8_t>(nSubType), 4, 20, 5};
    p->SetSpecificData(data);
    return p;
}

// A ground of three stands (one of them demolished), a facility, a pitch
// item, and one schedule of each kind.
void BuildGround(CGroundDatabase& ground)
{
    ground.SetID(9);
    ground.SetName("Harbour Lane");
    ground.SetStandLayout(0x00000321);
    ground.SetRoofLayout(0x05);
    ground.AddComponent(MakeStand(4, 0, 4, 0, 0, 3000));
    ground.AddComponent(MakeStand(1, 2, 0, 1, 1, 8000, 1, 2));
    CComponentDatabase* pOld = MakeStand(2, 1, 6, 3, 2, 1500);
    pOld->SetDemolished(true);
    ground.AddComponent(pOld);
    ground.AddComponent(MakeItem(5, COMPONENT_FACILITY, 9));
    ground.AddComponent(MakeItem(6, COMPONENT_PITCH_ITEM, 12));
    ground.SetCapacity(11000);

    CComponentDatabase* pNew = MakeStand(7, 3, 2, 2, 1, 0);
    pNew->SetUnderConstruction(true);
    ground.AddComponent(pNew);
    auto* pBuild = new CComponentScheduleDatabase;
    pBuild->SetID(31);
    pBuild->SetKind(SCHEDULE_BUILD);
    pBuild->SetStartDate(CDate(2024, 9, 2));
    pBuild->SetDuration(20);
    pBuild->SetComponent(pNew);
    pBuild->SetScheduleData(COMPONENT_STAND, 3, 900000, 40000, 7000, 2500000);
    std::memcpy(pBuild->GetComponentData(), pNew->GetSpecificData(), COMPONENT_STAND_DATA);
    pBuild->GetComponentData()[STAND_SEATS] = 0x10;  // 10000 seats when done
    pBuild->GetComponentData()[STAND_SEATS + 1] = 0x27;
    ground.AddComponentSchedule(pBuild);

    auto* pImprove = new CComponentScheduleDatabase;
    pImprove->SetID(32);
    pImprove->SetKind(SCHEDULE_IMPROVE);
    pImprove->SetStartDate(CDate(2024, 10, 1));
    pImprove->SetDuration(4);
    pImprove->SetComponent(ground.FindComponent(5));
    pImprove->SetScheduleData(9, 0, 50000, 1000, 800, 90000);
    const uint8_t facility[COMPONENT_FACILITY_DATA] = {9, 5, 22, 6};
    std::memcpy(pImprove->GetComponentData(), facility, sizeof facility);
    ground.AddComponentSchedule(pImprove);

    auto* pDemolish = new CComponentScheduleDatabase;
    pDemolish->SetID(33);
    pDemolish->SetKind(SCHEDULE_DEMOLISH);
    pDemolish->SetStartDate(CDate(2024, 11, 4));
    pDemolish->SetDuration(0);
    pDemolish->SetComponent(ground.FindComponent(6));
    ground.AddComponentSchedule(pDemolish);
}

size_t GroundFileSize()
{
    // Record; six components of 20 bytes with 10 (stands) or 4/1 bytes of data;
    // schedules of 20 bytes with their blocks.
    return 52 + 4 * (20 + 10) + (20 + 4) + (20 + 1) + (20 + 20 + 10) + (20 + 20 + 4) + (20 + 1);
}

} // namespace

TEST(Ground, FileFormRoundTrip)
{
    CGroundDatabase ground;
    BuildGround(ground);
    ground.SortComponents();
    const std::vector<uint8_t> bytes = SaveBytes(ground);
    ASSERT_EQ(bytes.size(), GroundFileSize());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[12])), "Harbour Lane");
    EXPECT_EQ(bytes[51], 0);

    CGroundDatabase copy;
    ASSERT_TRUE(LoadBytes(copy, bytes, LoadGround));
    EXPECT_EQ(SaveBytes(copy), bytes);
    EXPECT_EQ(copy.GetComponentCount(), 6);
    EXPECT_EQ(copy.GetScheduleCount(), 3);
    EXPECT_EQ(copy.GetCapacity(), 11000);
    // Loading sorts by stand side: the stand of side 0 first, the one of side 6 last.
    EXPECT_EQ(static_cast<CComponentDatabase*>(copy.GetComponents().GetHead()->pData)->GetID(), 1u);
    EXPECT_EQ(static_cast<CComponentDatabase*>(copy.GetComponents().GetTail()->pData)->GetID(), 2u);
    // Demolished components stay with their flag.
    ASSERT_NE(copy.FindComponent(2), nullptr);
    EXPECT_TRUE(copy.FindComponent(2)->IsDemolished());
    // Totals count finished components only.
    EXPECT_EQ(copy.GetTotal(COMPONENT_STAND), 1000 + 4000);
    EXPECT_EQ(copy.GetTotal(COMPONENT_FACILITY), 50);
    // Schedules find their components in the ground.
    CComponentScheduleDatabase* pBuild = copy.FindComponentSchedule(31);
    ASSERT_NE(pBuild, nullptr);
    EXPECT_EQ(pBuild->GetComponent(), copy.FindComponent(7));
    EXPECT_EQ(pBuild->GetComponentMonthlyCost(), 40000u);
    EXPECT_EQ(copy.FindComponentSchedule(33)->GetComponentSubType(), 12);
}

TEST(Ground, ShortFilesAreRefused)
{
    CGroundDatabase ground;
    BuildGround(ground);
    const std::vector<uint8_t> bytes = SaveBytes(ground);
    for (size_t nCut = 0; nCut < bytes.size(); ++nCut) {
        CGroundDatabase cut;
        EXPECT_FALSE(LoadBytes(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + nCut), LoadGround))
            << "cut at " << nCut;
    }
}

TEST(Ground, DamagedFilesAreRefused)
{
    CGroundDatabase ground;
    BuildGround(ground);
    const std::vector<uint8_t> good = SaveBytes(ground);
    // Offsets: components from 52 in list order (stand 4 first, 30 bytes each
    // for stands), schedules after the six components.
    const size_t nFirstSchedule = 52 + 4 * 30 + 24 + 21;
    struct Case {
        const char* pszWhat;
        size_t nOffset;
        int nWidth;
        uint32_t dwValue;
    } cases[] = {
        {"component count beyond the file", 4, 4, 0xFFFFFFFF},
        {"schedule count beyond the file", 8, 4, 1000},
        {"negative capacity", 0, 4, 0x80000000},
        {"unknown main type", 52 + 6, 1, 3},
        {"stand side 8", 52 + 20 + STAND_SIDE, 1, 8},
        {"stand quality 3", 52 + 20 + STAND_QUALITY, 1, 3},
        {"stand tier code 4", 52 + 7, 1, 4},
        {"repeated component identifier", 52 + 30, 4, 4},
        {"schedule kind 3", nFirstSchedule + 4, 1, 3},
        {"schedule of a missing component", nFirstSchedule + 16, 4, 99},
        {"schedule start 31 April", nFirstSchedule + 5, 2, 0x041F},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        for (int i = 0; i < c.nWidth; ++i)
            bytes[c.nOffset + static_cast<size_t>(i)] = static_cast<uint8_t>(c.dwValue >> (8 * i));
        CGroundDatabase damaged;
        LogCapture log;
        EXPECT_FALSE(LoadBytes(damaged, bytes, LoadGround)) << c.pszWhat;
        EXPECT_TRUE(log.Contains("[CGroundDatabase::Load]")) << c.pszWhat;
    }
}

TEST(Ground, StandComputations)
{
    // Ticket prices: base by side class, tier code and quality, times the
    // factor of the club figure's distance from 100.
    struct Price {
        int nSubType, nSide, nQuality, nFigure, nPrice;
    } prices[] = {
        {0, 0, 0, 100, 12}, {3, 4, 2, 109, 25}, {1, 1, 1, 120, 14},  // 16 x 0.9
        {2, 6, 0, 60, 14},                                           // 18 x 0.8
        {0, 2, 0, 5, 3},                                             // distance 10: the last factor, 12 x 0.3
        {3, 7, 2, 250, 6},                                           // 22 x 0.3
    };
    for (const Price& p : prices) {
        std::unique_ptr<CComponentDatabase> pStand(MakeStand(1, p.nSubType, p.nSide, 1, p.nQuality, 100));
        EXPECT_EQ(pStand->GetStandardTicketPrice(p.nFigure), p.nPrice)
            << p.nSubType << "/" << p.nSide << "/" << p.nQuality << " figure " << p.nFigure;
    }
    // Composite types and tiers.
    struct Tier {
        int nSubType, nSize, nComposite, nTiers;
    } tiers[] = {{0, 0, 1, 1}, {1, 4, 2, 1}, {1, 5, 3, 1}, {2, 1, 4, 2}, {2, 5, 5, 2},
                 {3, 4, 6, 3}, {3, 2, 7, 3}, {2, 0, 0, 0}, {3, 3, 0, 0}};
    for (const Tier& t : tiers) {
        std::unique_ptr<CComponentDatabase> pStand(MakeStand(1, t.nSubType, 0, t.nSize, 0, 100));
        EXPECT_EQ(pStand->GetStadiumCompositeType(), t.nComposite) << t.nSubType << "/" << t.nSize;
        EXPECT_EQ(pStand->GetNumberOfTiers(), t.nTiers) << t.nSubType << "/" << t.nSize;
    }
    // Not a stand: no composite, no tiers and no seats, with the log lines.
    LogCapture log;
    std::unique_ptr<CComponentDatabase> pFacility(MakeItem(3, COMPONENT_FACILITY, 9));
    EXPECT_EQ(pFacility->GetStadiumCompositeType(), 0);
    EXPECT_EQ(pFacility->GetTierSeats(1), 0);
    EXPECT_EQ(pFacility->GetStandardTicketPrice(100), 0);
    EXPECT_TRUE(log.Contains("[CComponentDatabase::GetStadiumCompositeType] Component is not a stadium!"));
    EXPECT_TRUE(log.Contains("[CComponentDatabase::GetNumberOfTiers] Component is not a Stadium!"));
}

TEST(Ground, PictureAndMeshNames)
{
    char szStand[32], szRoof[32];
    std::unique_ptr<CComponentDatabase> pStand(MakeStand(1, 2, 3, 4, 1, 100, 2, 1));
    ASSERT_TRUE(pStand->Get2DComponentFilename(szStand, szRoof));
    EXPECT_STREQ(szStand, "DT2SES.BMP");
    EXPECT_STREQ(szRoof, "DT2SER.BMP");
    std::unique_ptr<CComponentDatabase> pPlain(MakeStand(1, 0, 6, 2, 0, 100));
    ASSERT_TRUE(pPlain->Get2DComponentFilename(szStand, szRoof));
    EXPECT_STREQ(szStand, "ST3WW.BMP");
    EXPECT_STREQ(szRoof, "ST3WW.BMP");

    ASSERT_TRUE(pStand->Get3DComponentFilename(szStand, szRoof, true, 100));
    EXPECT_STREQ(szStand, "DT2NEB.x");
    EXPECT_STREQ(szRoof, "DT2NER.x");
    std::unique_ptr<CComponentDatabase> pSouth(MakeStand(1, 3, 4, 1, 0, 100, 1));
    ASSERT_TRUE(pSouth->Get3DComponentFilename(szStand, szRoof, false, 100));
    EXPECT_STREQ(szStand, "TT2SS");
    EXPECT_STREQ(szRoof, "TT2NNR");
    ASSERT_TRUE(pSouth->Get3DComponentFilename(szStand, szRoof, false, 30));
    EXPECT_STREQ(szStand, "TT2NNUC");
    EXPECT_STREQ(szRoof, "");
    ASSERT_TRUE(pSouth->Get3DComponentFilename(szStand, szRoof, true, 50));
    EXPECT_STREQ(szStand, "TT2NNUC2.x");

    LogCapture log;
    std::unique_ptr<CComponentDatabase> pItem(MakeItem(2, COMPONENT_PITCH_ITEM, 13));
    EXPECT_FALSE(pItem->Get3DComponentFilename(szStand, szRoof, true, 100));
    EXPECT_TRUE(log.Contains("[CComponentDatabase::Get3DComponentFilename] Attempting to load a feature"));
    EXPECT_FALSE(pItem->Get2DComponentFilename(szStand, szRoof));
}

TEST(Ground, ScheduleProgress)
{
    CComponentScheduleDatabase schedule;
    schedule.SetKind(SCHEDULE_BUILD);
    schedule.SetStartDate(CDate(2024, 9, 2));
    schedule.SetDuration(2);
    struct Case {
        CDate date;
        int nPercent;
        bool bElapsed;
    } cases[] = {
        {CDate(2024, 8, 30), 0, false}, {CDate(2024, 9, 2), 0, false}, {CDate(2024, 9, 9), 50, false},
        {CDate(2024, 9, 15), 92, false}, {CDate(2024, 9, 16), 100, true}, {CDate(2025, 1, 1), 100, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(schedule.GetPercentComplete(c.date), c.nPercent) << c.date.GetMonth() << "/" << c.date.GetDay();
        EXPECT_EQ(schedule.HasDurationElapsed(c.date), c.bElapsed) << c.date.GetMonth() << "/" << c.date.GetDay();
    }
    // A schedule of 0 weeks is done on its start day (no division by zero),
    // not before.
    schedule.SetDuration(0);
    EXPECT_EQ(schedule.GetPercentComplete(CDate(2024, 9, 2)), 100);
    EXPECT_EQ(schedule.GetPercentComplete(CDate(2024, 9, 1)), 0);
    EXPECT_TRUE(schedule.HasDurationElapsed(CDate(2024, 9, 2)));
    EXPECT_FALSE(schedule.IsDue(CDate(2024, 9, 2)));
    EXPECT_TRUE(schedule.IsDue(CDate(2024, 9, 3)));

    // A corrupt kind answers the neutral values with its log lines.
    LogCapture log;
    schedule.SetKind(7);
    EXPECT_EQ(schedule.GetComponentMainType(), 255);
    EXPECT_EQ(schedule.GetComponentInitialCost(), 0u);
    EXPECT_EQ(schedule.GetAssociatedComponentSpecificData(), nullptr);
    EXPECT_TRUE(log.Contains("[CComponentScheduleDatabase::GetComponentInitialCost] Schedule type corrupt"));
}

TEST(Ground, CompletingSchedules)
{
    CGroundDatabase ground;
    BuildGround(ground);
    CComponentScheduleDatabase* pBuild = ground.FindComponentSchedule(31);
    CComponentScheduleDatabase* pImprove = ground.FindComponentSchedule(32);
    CComponentScheduleDatabase* pDemolish = ground.FindComponentSchedule(33);

    // Each completion refuses a schedule of another kind.
    LogCapture log;
    EXPECT_FALSE(ground.ProcessBuildComponentSchedule(pDemolish));
    EXPECT_TRUE(log.Contains("The schedule passed is not a build schedule!"));

    ground.PrepareScheduledComponent(pBuild);
    ASSERT_TRUE(ground.ProcessBuildComponentSchedule(pBuild));
    EXPECT_EQ(ground.GetCapacity(), 11000 + 10000);
    EXPECT_FALSE(ground.FindComponent(7)->IsUnderConstruction());
    EXPECT_EQ(ground.GetTotal(COMPONENT_STAND), 1000 + 4000 + 2500000);
    EXPECT_EQ(ground.GetStandOnSide(2), ground.FindComponent(7));

    ASSERT_TRUE(ground.ProcessImproveComponentSchedule(pImprove));
    EXPECT_EQ(ground.FindComponent(5)->GetSpecificData()[FACILITY_FOOTPRINT], 5);
    EXPECT_EQ(ground.GetTotal(COMPONENT_FACILITY), 90000);

    EXPECT_TRUE(ground.GetPitchConditionComponent(1));
    EXPECT_FALSE(ground.GetPitchConditionComponent(2));
    ASSERT_TRUE(ground.ProcessDemolishComponentSchedule(pDemolish));
    EXPECT_EQ(ground.CountComponentsOfMainType(COMPONENT_PITCH_ITEM), 0);
    EXPECT_EQ(ground.GetComponentCount(), 6);

    // Demolishing a stand takes its seats off.
    auto* pStandDemolish = new CComponentScheduleDatabase;
    pStandDemolish->SetKind(SCHEDULE_DEMOLISH);
    pStandDemolish->SetStartDate(CDate(2025, 1, 6));
    pStandDemolish->SetComponent(ground.FindComponent(1));
    ground.AddComponentSchedule(pStandDemolish);
    ASSERT_TRUE(ground.ProcessDemolishComponentSchedule(pStandDemolish));
    EXPECT_EQ(ground.GetCapacity(), 21000 - 8000);
    EXPECT_EQ(ground.GetStandOnSide(0), nullptr);
}

TEST(Ground, RemovingABuildScheduleTakesItsComponent)
{
    CGroundDatabase ground;
    BuildGround(ground);
    ground.RemoveComponentSchedule(ground.FindComponentSchedule(31));
    EXPECT_EQ(ground.GetScheduleCount(), 2);
    EXPECT_EQ(ground.FindComponent(7), nullptr);
    ground.RemoveComponentSchedule(ground.FindComponentSchedule(33));
    EXPECT_NE(ground.FindComponent(6), nullptr);
}

TEST(Ground, Attendance)
{
    plat::srand(7);
    CGroundDatabase ground;
    ground.SetCapacity(20000);
    for (float f : {0.0f, 0.3f, 0.99f, 1.0f, 1.5f}) {
        for (int i = 0; i < 50; ++i) {
            const int n = ground.CalculateAttendance(f);
            EXPECT_GE(n, 0);
            EXPECT_LE(n, 20000);
            EXPECT_NEAR(n, std::min(20000.0f, f * 20000), 200.0f);
        }
    }
    EXPECT_EQ(ground.GetAttendancePercentage(15000), 75);

    // Without seats the ground is taken to hold 10000.
    CGroundDatabase empty;
    LogCapture log;
    for (int i = 0; i < 50; ++i)
        EXPECT_LE(empty.CalculateAttendance(2.0f), CGroundDatabase::DEFAULT_CAPACITY);
    EXPECT_TRUE(log.Contains("[CGroundDatabase::GetMatchAttendance] Has no Seating Capacity assuming 10000"));
    EXPECT_EQ(empty.GetAttendancePercentage(5000), 50);

    // Under 50 seats the random spread is 0; no division by zero.
    CGroundDatabase tiny;
    tiny.SetCapacity(30);
    EXPECT_EQ(tiny.CalculateAttendance(0.5f), 15);
}

TEST(Ground, TableLookupsOfTheRoot)
{
    CurrentFolder folder(BRELLOX_GAME_DIR);
    CDatabaseHandler handler;
    ASSERT_TRUE(handler.AreFixedTablesLoaded());

    // New components take the root's counter.
    handler.SetNextComponentID(40);
    CComponentDatabase first(COMPONENT_FACILITY, 3);
    CComponentDatabase second(COMPONENT_STAND, 3);
    EXPECT_EQ(first.GetID(), 40u);
    EXPECT_EQ(second.GetID(), 41u);
    EXPECT_EQ(handler.GetNextComponentID(), 42u);

    // Tier seats: the boxes (part 0) hold their per-unit figure each; the rest
    // is shared between the tiers, the top tier taking what division leaves.
    std::unique_ptr<CComponentDatabase> pStand(MakeStand(1, 3, 0, 4, 1, 10001, 0, 2));
    const STANDPARTTABLERECORD* pPart = handler.GetStandPartTableRecord(0, 3, 4, 0);
    ASSERT_NE(pPart, nullptr);
    const int nBase = 2 * static_cast<int>(pPart->dwCapacityPerUnit);
    const int nShare = (10001 - nBase) / 3;
    EXPECT_EQ(pStand->GetTierSeats(1), nShare);
    EXPECT_EQ(pStand->GetTierSeats(2), nShare);
    EXPECT_EQ(pStand->GetTierSeats(3), 10001 - 2 * nShare - nBase);
    EXPECT_EQ(pStand->GetTierSeats(4), nBase);
    EXPECT_EQ(pStand->GetTierSeats(1) + pStand->GetTierSeats(2) + pStand->GetTierSeats(3) + nBase, 10001);

    // The yearly rise touches finished stands only, by their row's percentage.
    CGroundDatabase ground;
    ground.AddComponent(MakeStand(1, 2, 0, 4, 1, 100));
    CComponentDatabase* pBuilding = MakeStand(2, 2, 4, 4, 1, 100);
    pBuilding->SetUnderConstruction(true);
    ground.AddComponent(pBuilding);
    ground.AddComponent(MakeItem(3, COMPONENT_FACILITY, 9));
    const STANDTABLERECORD* pRow = handler.GetStandTableRecord(0, 2, 4, 1);
    ASSERT_NE(pRow, nullptr);
    ground.ApplyYearlyCostRise();
    EXPECT_EQ(ground.FindComponent(1)->GetMaintenanceCost(),
              static_cast<uint32_t>((pRow->byYearlyCostRise * 0.01 + 1.0) * 100));
    EXPECT_EQ(ground.FindComponent(2)->GetMaintenanceCost(), 200u);
    EXPECT_EQ(ground.FindComponent(3)->GetMaintenanceCost(), 0u);
}
