// The ground development screen over a running game: every built stand and
// facility of the plan has a hover button that names it, a planned facility
// dragged to a free place moves there (its schedule and the component it
// prepares), one dropped on the stadium plot, a road, another building or
// past the plan's edge stays, and a planned building dropped off the plan is
// cancelled; work begun, work on what stands and other clubs' grounds cannot
// be picked up.
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "screens/CClientGroundDevelopment.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "shell/FormattingFunctions.h"
#include "xframework/CXButton.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using Screen = CClientGroundDevelopment;
constexpr int kTrainingGround = 10, kLargest = 2, kFootprint11x8 = 7;

class GroundDevelopment : public ScreenGame {
protected:
    Screen& Open(const CClubDatabase* pClub)
    {
        g_pNavigationBar->SetNextClient(&GetGroundDevelopmentScreen(), pClub->GetID());
        m_game.Update();
        m_game.Update();
        EXPECT_EQ(g_pCurrentClient, &GetGroundDevelopmentScreen());
        return GetGroundDevelopmentScreen();
    }
    CClubDatabase& Club() { return *Human().GetClub(); }
    CGroundDatabase& Ground() { return *Club().m_pGround; }
    // A planned building of the human's ground that starts in nDays.
    CComponentScheduleDatabase* Plan(uint8_t byMainType, uint8_t bySubType, const uint8_t* pData, int nDays)
    {
        auto* pComponent = new CComponentDatabase(byMainType, Ground().GetID());
        pComponent->SetSubType(bySubType);
        pComponent->SetSpecificData(pData);
        pComponent->SetUnderConstruction(true);
        Ground().AddComponent(pComponent);
        auto* pSchedule = new CComponentScheduleDatabase;
        pSchedule->SetID(m_pWorld->TakeNextComponentID());
        pSchedule->SetKind(SCHEDULE_BUILD);
        pSchedule->SetComponent(pComponent);
        pSchedule->SetStartDate(CDate(m_pWorld->GetGameDate().GetValue(), nDays));
        pSchedule->SetDuration(26);
        pSchedule->SetScheduleData(byMainType, bySubType, 1000, 100, 10, 5000);
        std::memcpy(pSchedule->GetComponentData(), pData, static_cast<size_t>(GetComponentDataSize(byMainType)));
        Ground().AddComponentSchedule(pSchedule);
        return pSchedule;
    }
    // Nothing built on the plan outside the stadium plot.
    void ClearFacilities()
    {
        for (CComponentDatabase* p : Ground().GetComponents().Items<CComponentDatabase>())
            if (p->GetMainType() == COMPONENT_FACILITY)
                p->SetDemolished(true);
    }
    static void Drag(Screen& screen, const CComponentScheduleDatabase& schedule, int nToX, int nToY)
    {
        const plat::Rect rc = Screen::GetRecordRect(Screen::RECORD_SCHEDULE, &schedule);
        screen.OnLButtonDown(0, rc.left + 3, rc.top + 3);
        screen.OnMouseMove(0, nToX + 3, nToY + 3);
        screen.OnLButtonUp(0, nToX + 3, nToY + 3);
    }
    static int Column(const CComponentScheduleDatabase& s) { return s.GetComponentData()[FACILITY_X]; }
    static int Row(const CComponentScheduleDatabase& s) { return s.GetComponentData()[FACILITY_Y]; }
    static int CellX(int nColumn) { return Screen::kPlanLeft + nColumn * Screen::kCell; }
    static int CellY(int nRow) { return Screen::kPlanTop + nRow * Screen::kCell; }
};

TEST_F(GroundDevelopment, BuiltPartsHaveButtonsThatNameThemAndTheLabelGivesTheCapacity)
{
    Screen& screen = Open(&Club());
    ASSERT_TRUE(screen.IsEditable());
    int nDrawn = 0;
    for (const CComponentDatabase* p : Ground().GetComponents().Items<CComponentDatabase>())
        if (p->IsFinished() && p->GetMainType() != COMPONENT_PITCH_ITEM)
            ++nDrawn;
    const auto& controls = screen.GetComponentControls();
    ASSERT_EQ(static_cast<int>(controls.size()), nDrawn);
    bool bStand = false, bFacility = false;
    for (const Screen::COMPONENTCONTROL& entry : controls) {
        const auto* pComponent = static_cast<const CComponentDatabase*>(entry.pRecord);
        const plat::Rect rc = Screen::GetRecordRect(entry.nKind, entry.pRecord);
        EXPECT_EQ(entry.pButton->m_nLeft, rc.left);
        EXPECT_EQ(entry.pButton->Width(), rc.width());
        char szTip[TOOLTIP_TEXT_SIZE] = {};
        screen.OnGetToolTipText(entry.pButton->GetID(), szTip);
        const uint8_t* pData = pComponent->GetSpecificData();
        if (pComponent->IsStand()) {
            static const char* const kQuality[] = {"Basic", "Standard", "Luxury"};
            static const char* const kKind[] = {"Terrace", "Single tier", "Two tiers", "Three tiers"};
            EXPECT_EQ(std::string(szTip),
                      std::string(kQuality[pData[STAND_QUALITY]]) + " " + kKind[pComponent->GetSubType()]);
            bStand = true;
        } else {
            EXPECT_NE(std::strstr(szTip, pData[0] == 0 ? "Small" : pData[0] == 1 ? "Medium" : "Large"), nullptr)
                << szTip;
            bFacility = true;
        }
    }
    EXPECT_TRUE(bStand);
    EXPECT_TRUE(bFacility);
    // An id that names no part leaves the text alone.
    char szTip[TOOLTIP_TEXT_SIZE] = "unchanged";
    screen.OnGetToolTipText(Screen::ID_FIRST_COMPONENT + 999, szTip);
    EXPECT_STREQ(szTip, "unchanged");
    const auto* pLabel = dynamic_cast<CXStatic*>(screen.FindControl(Screen::ID_CAPACITY));
    ASSERT_NE(pLabel, nullptr);
    EXPECT_EQ(std::string(pLabel->Text()),
              std::string(Ground().GetName()) + " (" + FormatThousands(Ground().GetCapacity()) + ")");
}

TEST_F(GroundDevelopment, APlannedFacilityMovesOnlyToAFreePlace)
{
    ClearFacilities();
    const uint8_t abyData[COMPONENT_FACILITY_DATA] = {kLargest, kFootprint11x8, 2, 14};
    CComponentScheduleDatabase* pPlan = Plan(COMPONENT_FACILITY, kTrainingGround, abyData, 10);
    Screen& screen = Open(&Club());
    m_game.Update();
    // The largest footprint fits exactly against the plan's right edge.
    Drag(screen, *pPlan, CellX(51), CellY(4));
    EXPECT_EQ(Column(*pPlan), 51);
    EXPECT_EQ(Row(*pPlan), 4);
    EXPECT_EQ(pPlan->GetComponent()->GetSpecificData()[FACILITY_X], 51);
    EXPECT_EQ(pPlan->GetComponent()->GetSpecificData()[FACILITY_Y], 4);
    // A small move over its own cells is taken.
    Drag(screen, *pPlan, CellX(50), CellY(5));
    EXPECT_EQ(Column(*pPlan), 50);
    EXPECT_EQ(Row(*pPlan), 5);
    struct Refused {
        int nColumn, nRow;
        const char* pszWhy;
    };
    const uint8_t abyOther[COMPONENT_FACILITY_DATA] = {1, 4, 2, 5};  // 2 x 2 at column 2, row 5
    Plan(COMPONENT_FACILITY, 11, abyOther, 10);
    const Refused refused[] = {
        {52, 4, "past the right edge"}, {45, 37, "past the bottom edge"}, {15, 10, "on the stadium plot"},
        {2, 35, "across the road of row 41"},  {0, 0, "across the road of row 3"},
        {1, 5, "on the other planned building"},
    };
    for (const Refused& r : refused) {
        Drag(screen, *pPlan, CellX(r.nColumn), CellY(r.nRow));
        EXPECT_EQ(Column(*pPlan), 50) << r.pszWhy;
        EXPECT_EQ(Row(*pPlan), 5) << r.pszWhy;
    }
    m_game.Update();
    Shoot("ground_development_planned");
    // While it is dragged the building follows the pointer.
    const plat::Rect rc = Screen::GetRecordRect(Screen::RECORD_SCHEDULE, pPlan);
    screen.OnLButtonDown(0, rc.left + 3, rc.top + 3);
    ASSERT_EQ(screen.GetDragMode(), Screen::DRAG_FACILITY);
    screen.OnMouseMove(0, CellX(5) + 3, CellY(22) + 3);
    Shoot("ground_development_dragging");
    screen.OnLButtonUp(0, CellX(5) + 3, CellY(22) + 3);
    EXPECT_EQ(Column(*pPlan), 5);
    EXPECT_EQ(Row(*pPlan), 22);
}

TEST_F(GroundDevelopment, WorkThatCannotBeMovedStaysAndAPlanDroppedOffThePlanIsCancelled)
{
    ClearFacilities();
    const uint8_t abyFacility[COMPONENT_FACILITY_DATA] = {1, 4, 4, 5};
    CComponentScheduleDatabase* pStarted = Plan(COMPONENT_FACILITY, 11, abyFacility, -3);
    CComponentDatabase* pStand = Ground().GetStandOnSide(0);
    ASSERT_NE(pStand, nullptr);
    uint8_t abyStand[COMPONENT_STAND_DATA];
    std::memcpy(abyStand, pStand->GetSpecificData(), sizeof abyStand);
    pStand->SetDemolished(true);  // the north side stands empty for the new stand
    CComponentScheduleDatabase* pNewStand = Plan(COMPONENT_STAND, pStand->GetSubType(), abyStand, 10);
    Screen& screen = Open(&Club());
    const int nSchedules = Ground().GetScheduleCount();

    // Work begun stays where it is.
    Drag(screen, *pStarted, CellX(50), CellY(5));
    EXPECT_EQ(screen.GetDragMode(), Screen::DRAG_NONE);
    EXPECT_EQ(Column(*pStarted), 4);
    // A stand dropped on the plan keeps its side; off the plan it is cancelled
    // with the component it was to build.
    const plat::Rect rcStand = Screen::GetRecordRect(Screen::RECORD_SCHEDULE, pNewStand);
    Drag(screen, *pNewStand, CellX(50), CellY(20));
    EXPECT_EQ(Ground().GetScheduleCount(), nSchedules);
    EXPECT_EQ(Screen::GetRecordRect(Screen::RECORD_SCHEDULE, pNewStand).left, rcStand.left);
    const int nComponents = Ground().GetComponentCount();
    screen.OnLButtonDown(0, rcStand.left + 2, rcStand.top + 2);
    EXPECT_EQ(screen.GetDragMode(), Screen::DRAG_STAND);
    screen.OnLButtonUp(0, Screen::kPlanRight + 5, 200);
    EXPECT_EQ(Ground().GetScheduleCount(), nSchedules - 1);
    EXPECT_EQ(Ground().GetComponentCount(), nComponents - 1);
    EXPECT_EQ(Ground().FindComponentSchedule(pStarted->GetID()), pStarted);

    // Work called off behind the screen's back (the weekly check of the
    // club's money) is no longer named, and leaves the plan at the next frame.
    m_game.Update();
    const auto it = std::find_if(screen.GetComponentControls().begin(), screen.GetComponentControls().end(),
                                 [&](const Screen::COMPONENTCONTROL& e) { return e.pRecord == pStarted; });
    ASSERT_NE(it, screen.GetComponentControls().end());
    const uint32_t dwButton = it->pButton->GetID();
    const size_t nButtons = screen.GetComponentControls().size();
    Ground().RemoveComponentSchedule(pStarted);
    char szTip[TOOLTIP_TEXT_SIZE] = "unchanged";
    screen.OnGetToolTipText(dwButton, szTip);
    EXPECT_STREQ(szTip, "unchanged");
    m_game.Update();
    EXPECT_EQ(screen.GetComponentControls().size(), nButtons - 1);
}

TEST_F(GroundDevelopment, AnotherClubsGroundIsOnlyLookedAt)
{
    const CClubDatabase* pOther = nullptr;
    for (int id = 1; id < 200 && !pOther; ++id) {
        const CClubDatabase* p = m_pWorld->GetClubFromID(static_cast<ID_CLUB>(id));
        if (p && p != &Club() && p->m_pGround && p->m_pGround != Club().m_pGround)
            pOther = p;
    }
    ASSERT_NE(pOther, nullptr);
    Screen& screen = Open(pOther);
    EXPECT_EQ(screen.GetClub(), pOther);
    EXPECT_FALSE(screen.IsEditable());
    EXPECT_FALSE(screen.GetComponentControls().empty());
    Shoot("ground_development_other_club");
}

TEST(GroundDevelopmentCells, PointsFallInTheirCells)
{
    struct Case {
        int x, y, nColumn, nRow;
    };
    const Case cases[] = {{8, 30, 0, 0}, {17, 39, 0, 0}, {18, 40, 1, 1}, {628, 470, 62, 44},
                          {0, 22, 0, 0}, {268, 210, 26, 18}};
    for (const Case& c : cases) {
        int nColumn = -1, nRow = -1;
        Screen::CellOfPoint(c.x, c.y, nColumn, nRow);
        EXPECT_EQ(nColumn, c.nColumn) << c.x;
        EXPECT_EQ(nRow, c.nRow) << c.y;
    }
}

}  // namespace
