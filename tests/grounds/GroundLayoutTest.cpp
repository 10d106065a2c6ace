// Stadiums generated on the ground plan: stands from the tables, seats that
// add up, nothing overlapping, the same draws giving the same stadium.
#include "../humans/HumanWorld.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct RECT {
    int x, y, w, h;
};

bool Overlaps(const RECT& a, const RECT& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

class GroundWorld : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_handler = humans_test::LoadStartingWorld();
        ASSERT_NE(m_handler, nullptr) << "the generated starting world did not load";
    }
    CDatabaseHandler& H() { return *m_handler; }

    // Checks one generated ground; failures name the ground.
    void CheckGround(const CGroundDatabase& ground)
    {
        SCOPED_TRACE(ground.GetName());
        std::vector<RECT> rects;
        int nSeats = 0, nStands = 0, nFacilities = 0;
        int64_t nTableCapacity = 0;
        for (const CComponentDatabase* p : ground.GetComponents().Items<CComponentDatabase>()) {
            ASSERT_TRUE(IsComponentDataValid(p->GetMainType(), p->GetSubType(), p->GetSpecificData()));
            if (p->GetMainType() == COMPONENT_FACILITY) {
                ++nFacilities;
                RECT r{};
                ASSERT_TRUE(CGroundDatabase::GetComponentRect(p->GetMainType(), p->GetSubType(),
                                                              p->GetSpecificData(), r.x, r.y, r.w, r.h));
                for (const RECT& other : rects)
                    EXPECT_FALSE(Overlaps(r, other)) << "facility " << int(p->GetSubType()) << " overlaps";
                EXPECT_TRUE(CGroundDatabase::CheckIfFacilityComponentNearRoad(p->GetSpecificData(), nullptr));
                rects.push_back(r);
            }
            if (!p->IsStand())
                continue;
            ++nStands;
            const STANDTABLERECORD* pRow =
                H().GetStandTableRecord(p->GetStandSide(), p->GetSubType(), p->GetStandSize(), p->GetStandQuality());
            ASSERT_NE(pRow, nullptr) << "side " << p->GetStandSide();
            EXPECT_EQ(p->GetValue(), pRow->dwCost);
            nTableCapacity += pRow->dwCapacity;
            nSeats += p->GetStandSeats();
            RECT r{};
            ASSERT_TRUE(CGroundDatabase::GetComponentRect(p->GetMainType(), p->GetSubType(), p->GetSpecificData(),
                                                          r.x, r.y, r.w, r.h));
            for (const RECT& other : rects)
                EXPECT_FALSE(Overlaps(r, other)) << "stand on side " << p->GetStandSide() << " overlaps";
            rects.push_back(r);
            // Each stand keeps clear of the pitch and of the road ring.
            const CGroundDatabase empty;
            EXPECT_FALSE(empty.IsAreaOccupied(r.x, r.y, r.w, r.h, CGroundDatabase::AREA_INSIDE_PLAN, nullptr, nullptr))
                << "stand on side " << p->GetStandSide() << " is on the pitch or the road";
        }
        ASSERT_GT(nStands, 0);
        // One of each of the eight facility kinds; the plan has room for them all.
        EXPECT_EQ(nFacilities, 8);
        EXPECT_EQ(nSeats, ground.GetCapacity());
        // A small ground stops adding stands once their room covers its capacity.
        if (ground.GetCapacity() < 17800 && nStands < STAND_SIDES) {
            EXPECT_GE(nTableCapacity, ground.GetCapacity());
        }
    }

    std::unique_ptr<CDatabaseHandler> m_handler;
    CurrentFolder m_folder{BRELLOX_GAME_DIR};
};

TEST_F(GroundWorld, EveryStartingGroundGetsAStadiumThatFitsItsCapacity)
{
    plat::srand(4242);
    ASSERT_GT(H().GetGroundCount(), 0);
    int nChecked = 0;
    for (CGroundDatabase* pGround : H().GetGrounds().Items<CGroundDatabase>()) {
        ASSERT_EQ(pGround->GetStandLayout(), 0u);
        ASSERT_EQ(pGround->GetComponentCount(), 0);
        pGround->GenerateGroundStadiums();
        pGround->GenerateGroundFacilities();
        CheckGround(*pGround);
        ++nChecked;
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(nChecked, H().GetGroundCount());
}

std::vector<std::vector<uint32_t>> Describe(const CGroundDatabase& ground)
{
    std::vector<std::vector<uint32_t>> out;
    for (const CComponentDatabase* p : ground.GetComponents().Items<CComponentDatabase>()) {
        std::vector<uint32_t> row{p->GetMainType(), p->GetSubType(), p->GetValue(), p->GetMaintenanceCost()};
        for (int i = 0; i < GetComponentDataSize(p->GetMainType()); ++i)
            row.push_back(p->GetSpecificData()[i]);
        out.push_back(row);
    }
    return out;
}

TEST_F(GroundWorld, SameSeedGivesTheSameStadium)
{
    const CGroundDatabase* pModel = nullptr;
    for (const CGroundDatabase* pGround : H().GetGrounds().Items<CGroundDatabase>())
        if (pGround->GetOwner() && pGround->GetCapacity() >= 10000 && pGround->GetCapacity() < 25000)
            pModel = pGround;
    ASSERT_NE(pModel, nullptr);
    auto make = [&](unsigned nSeed) {
        auto pGround = std::make_unique<CGroundDatabase>();
        pGround->SetID(pModel->GetID());
        pGround->SetCapacity(pModel->GetCapacity());
        pGround->SetOwner(pModel->GetOwner());
        plat::srand(nSeed);
        pGround->GenerateGroundStadiums();
        pGround->GenerateGroundFacilities();
        return pGround;
    };
    const auto a = make(77), b = make(77);
    EXPECT_FALSE(Describe(*a).empty());
    EXPECT_EQ(Describe(*a), Describe(*b));
    // Different draws change the roofs or the pitch items of some seed.
    bool bDiffers = false;
    for (unsigned nSeed = 1; nSeed < 20 && !bDiffers; ++nSeed)
        bDiffers = Describe(*make(nSeed)) != Describe(*a);
    EXPECT_TRUE(bDiffers);
}

TEST_F(GroundWorld, StandLayoutChoosesTierAndRoofPerSide)
{
    CGroundDatabase ground;
    ground.SetID(900);
    ground.SetCapacity(30000);
    // Side 0 value 2 (tier 0), side 4 value 5 (tier 1), side 2 value 8 (tier 2), side 6 value 10 (tier 3);
    // the corners have none. Roofs on sides 0 and 6.
    ground.SetStandLayout(0x2u | (0x5u << 16) | (0x8u << 8) | (0xAu << 24));
    ground.SetRoofLayout(0x41);
    ground.GenerateGroundStadiums();
    ASSERT_EQ(ground.GetComponentCount(), 4);
    const struct {
        int nSide, nKind;
        bool bRoof;
    } expected[] = {{0, 0, true}, {2, 2, false}, {4, 1, false}, {6, 3, true}};
    for (const auto& e : expected) {
        const CComponentDatabase* p = ground.GetStandOnSide(e.nSide);
        ASSERT_NE(p, nullptr) << "side " << e.nSide;
        EXPECT_EQ(p->GetSubType(), e.nKind) << "side " << e.nSide;
        EXPECT_EQ(p->GetStandRoof() != 0, e.bRoof) << "side " << e.nSide;
    }
    // Long sides weigh 4, ends 3: 30000 / 14 a share; what rounding leaves
    // goes to the last stand made (side 2).
    int nSum = 0;
    for (const CComponentDatabase* p : ground.GetComponents().Items<CComponentDatabase>())
        nSum += p->GetStandSeats();
    EXPECT_EQ(nSum, 30000);
    EXPECT_EQ(ground.GetStandOnSide(0)->GetStandSeats(), static_cast<int>(30000.0 / 14 * 4));
    EXPECT_EQ(ground.GetStandOnSide(6)->GetStandSeats(), static_cast<int>(30000.0 / 14 * 3));
    EXPECT_EQ(ground.GetStandOnSide(2)->GetStandSeats(), 30000 - 2 * 8571 - 6428);
}

TEST_F(GroundWorld, EveryStandALayoutNamesHasSectionsToSell)
{
    // Each of the ten values on side 0 alone: the stand it builds must split
    // into tiers with seats, or its club sells no tickets there.
    for (uint32_t nValue = 1; nValue <= 10; ++nValue) {
        CGroundDatabase ground;
        ground.SetID(901);
        ground.SetCapacity(20000);
        ground.SetStandLayout(nValue);
        ground.GenerateGroundStadiums();
        const CComponentDatabase* p = ground.GetStandOnSide(0);
        ASSERT_NE(p, nullptr) << "value " << nValue;
        EXPECT_GT(p->GetNumberOfTiers(), 0) << "value " << nValue << " size " << int(p->GetSpecificData()[STAND_SIZE]);
        for (int nTier = 0; nTier < p->GetNumberOfTiers(); ++nTier)
            EXPECT_GT(p->GetSectionSeats(nTier), 0) << "value " << nValue << " tier " << nTier;
    }
}

TEST_F(GroundWorld, FacilityWithNoRoomLeftIsDroppedAndLogged)
{
    CGroundDatabase ground;
    ground.SetID(901);
    ground.SetName("Crowded Lane");
    plat::srand(5);
    // Fill the plan with the biggest facility until one no longer fits.
    LogCapture log;
    int nPlaced = 0;
    while (nPlaced < 40 && ground.PlaceNewFacility(10, 2))
        ++nPlaced;
    ASSERT_LT(nPlaced, 40);
    EXPECT_GT(nPlaced, 0);
    EXPECT_EQ(ground.GetComponentCount(), nPlaced);
    EXPECT_TRUE(log.Contains("[CGroundDatabase::GenerateGroundFacilities] Facility Position Failure: Owner Club , "
                             "Country , Ground Name Crowded Lane, Capacity 0"));
}

TEST_F(GroundWorld, PitchItemsFollowTheClimate)
{
    CGroundDatabase* pModel = nullptr;
    for (CGroundDatabase* pGround : H().GetGrounds().Items<CGroundDatabase>())
        if (pGround->GetOwner() && pGround->GetOwner()->GetCountry())
            pModel = pGround;
    ASSERT_NE(pModel, nullptr);
    pModel->GetOwner()->GetCountry()->SetClimate(2);
    plat::srand(31);
    int anCount[17] = {};
    const int nGrounds = 400;
    for (int i = 0; i < nGrounds; ++i) {
        CGroundDatabase ground;
        ground.SetCapacity(pModel->GetCapacity());
        ground.SetOwner(pModel->GetOwner());
        ground.GenerateGroundFacilities();
        for (const CComponentDatabase* p : ground.GetComponents().Items<CComponentDatabase>())
            if (p->GetMainType() == COMPONENT_PITCH_ITEM)
                ++anCount[p->GetSubType()];
    }
    EXPECT_EQ(anCount[13], nGrounds);
    EXPECT_EQ(anCount[14], nGrounds);
    // 80, 10 and 10 in a hundred in a cold country.
    EXPECT_NEAR(anCount[16], nGrounds * 0.8, nGrounds * 0.08);
    EXPECT_NEAR(anCount[12], nGrounds * 0.1, nGrounds * 0.06);
    EXPECT_NEAR(anCount[15], nGrounds * 0.1, nGrounds * 0.06);
}

// One world at a time: the records' class-wide root pointer is the last root built.
TEST(GroundNewGame, NewGameBuildsEveryGroundsStands)
{
    GameTreeCopy tree;
    CurrentFolder here(tree.Root());
    auto handler = humans_test::LoadStartingWorld();
    ASSERT_NE(handler, nullptr);
    ASSERT_TRUE(handler->SetUpNewGameRecords());
    for (const CGroundDatabase* pGround : handler->GetGrounds().Items<CGroundDatabase>()) {
        EXPECT_NE(pGround->GetStandOnSide(0), nullptr) << pGround->GetName();
        EXPECT_GT(pGround->GetTotal(COMPONENT_STAND), 0) << pGround->GetName();
    }
}

TEST(GroundPlan, AreaChecksFindPitchRoadAndComponents)
{
    CGroundDatabase ground;
    CGroundDatabase::AREACLASH clash;
    int nFailures = 0;
    // The pitch, and its surround only when asked.
    EXPECT_TRUE(ground.IsAreaOccupied(30, 20, 1, 1, 0, &clash, &nFailures));
    EXPECT_EQ(clash.nKind, CGroundDatabase::CLASH_PITCH);
    EXPECT_FALSE(ground.IsAreaOccupied(22, 14, 2, 2, 0, &clash, &nFailures));
    EXPECT_TRUE(ground.IsAreaOccupied(22, 14, 2, 2, CGroundDatabase::AREA_PITCH_SURROUND, &clash, &nFailures));
    EXPECT_EQ(clash.nKind, CGroundDatabase::CLASH_PITCH);
    // Road rows and the plan's edge.
    EXPECT_TRUE(ground.IsAreaOccupied(5, 2, 2, 2, CGroundDatabase::AREA_INSIDE_PLAN, &clash, &nFailures));
    EXPECT_EQ(clash.nKind, CGroundDatabase::CLASH_ROAD);
    EXPECT_TRUE(ground.IsAreaOccupied(60, 5, 3, 1, CGroundDatabase::AREA_INSIDE_PLAN, &clash, &nFailures));
    EXPECT_EQ(clash.nKind, CGroundDatabase::CLASH_ROAD);
    EXPECT_FALSE(ground.IsAreaOccupied(5, 5, 4, 4, 3, &clash, &nFailures));
    EXPECT_EQ(clash.nKind, CGroundDatabase::CLASH_NONE);
    EXPECT_EQ(nFailures, 4);

    // A finished facility occupies its footprint; a demolished one does not.
    auto* pFacility = new CComponentDatabase(COMPONENT_FACILITY, 0);
    uint8_t* pData = pFacility->GetSpecificData();
    pData[FACILITY_FOOTPRINT] = 5;  // 3 x 3
    pData[FACILITY_X] = 5;
    pData[FACILITY_Y] = 5;
    ground.AddComponent(pFacility);
    EXPECT_TRUE(ground.IsAreaOccupied(7, 7, 2, 2, 3, &clash, nullptr));
    EXPECT_EQ(clash.nKind, CGroundDatabase::CLASH_COMPONENT);
    EXPECT_EQ(clash.pItem, pFacility);
    EXPECT_FALSE(ground.IsAreaOccupied(8, 8, 2, 2, 3, &clash, nullptr));
    pFacility->SetDemolished(true);
    EXPECT_FALSE(ground.IsAreaOccupied(7, 7, 2, 2, 3, &clash, nullptr));
}

TEST(GroundPlan, ComponentsInAreaListsPitchRoadAndComponents)
{
    CGroundDatabase ground;
    auto* pFacility = new CComponentDatabase(COMPONENT_FACILITY, 0);
    uint8_t* pData = pFacility->GetSpecificData();
    pData[FACILITY_FOOTPRINT] = 4;  // 2 x 2
    pData[FACILITY_X] = 10;
    pData[FACILITY_Y] = 4;
    ground.AddComponent(pFacility);
    auto kinds = [&](int x, int y, int w, int h, bool bSurround) {
        CXList list;
        ground.GetComponentsInArea(x, y, w, h, bSurround, list);
        std::vector<int> out;
        while (!list.IsEmpty()) {
            auto* p = static_cast<CGroundDatabase::AREACLASH*>(list.RemoveHead());
            out.push_back(p->nKind);
            if (p->nKind == CGroundDatabase::CLASH_COMPONENT) {
                EXPECT_EQ(p->pItem, pFacility);
            }
            delete p;
        }
        return out;
    };
    // Across row 3's road onto the facility.
    EXPECT_EQ(kinds(9, 2, 3, 3, false),
              (std::vector<int>{CGroundDatabase::CLASH_ROAD, CGroundDatabase::CLASH_COMPONENT}));
    EXPECT_EQ(kinds(11, 5, 1, 1, false), (std::vector<int>{CGroundDatabase::CLASH_COMPONENT}));
    EXPECT_EQ(kinds(22, 14, 2, 2, false), (std::vector<int>{}));
    EXPECT_EQ(kinds(22, 14, 2, 2, true), (std::vector<int>{CGroundDatabase::CLASH_PITCH}));
}

TEST(GroundPlan, FacilityPositionAndRoadChecks)
{
    uint8_t data[COMPONENT_FACILITY_DATA] = {0, 7, 51, 36};  // 11 x 8 reaching the far corner
    EXPECT_TRUE(CGroundDatabase::IsFacilityPositionValid(data));
    data[FACILITY_X] = 52;
    EXPECT_FALSE(CGroundDatabase::IsFacilityPositionValid(data));
    data[FACILITY_X] = 0;
    data[FACILITY_Y] = 37;
    EXPECT_FALSE(CGroundDatabase::IsFacilityPositionValid(data));
    data[FACILITY_FOOTPRINT] = FACILITY_FOOTPRINTS;
    data[FACILITY_Y] = 0;
    EXPECT_FALSE(CGroundDatabase::IsFacilityPositionValid(data));

    int nFailures = 0;
    // Row 3 is road: a cell on row 4 touches it, one on row 6 does not.
    EXPECT_TRUE(CGroundDatabase::CheckIfFacilityComponentNearRoad(10, 4, 10, 4, &nFailures));
    EXPECT_FALSE(CGroundDatabase::CheckIfFacilityComponentNearRoad(10, 6, 11, 7, &nFailures));
    EXPECT_EQ(nFailures, 1);
    nFailures = 1025;
    LogCapture log;
    EXPECT_TRUE(CGroundDatabase::CheckIfFacilityComponentNearRoad(10, 6, 11, 7, &nFailures));
    EXPECT_TRUE(log.Contains("[CGroundDatabase::CheckIfFacilityComponentNearRoad] Gone over road failure count!"));
}

TEST(GroundPlan, QualityTableCountsDownThenGivesLuxury)
{
    int table[3] = {1, 0, 2};
    EXPECT_EQ(CGroundDatabase::GetNextQualityValueFromTable(table), 0);
    EXPECT_EQ(CGroundDatabase::GetNextQualityValueFromTable(table), 2);
    EXPECT_EQ(CGroundDatabase::GetNextQualityValueFromTable(table), 2);
    LogCapture log;
    EXPECT_EQ(CGroundDatabase::GetNextQualityValueFromTable(table), 2);
    EXPECT_TRUE(log.Contains("[CGroundDatabase::GetNextQualityValueFromTable] There were no values"));
}

}  // namespace
