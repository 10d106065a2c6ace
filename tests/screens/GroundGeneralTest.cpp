// The ground general screen over a running game: the stands view lists the
// finished stands with their seats and the work in hand on them, with
// totals that add up; the facilities view lists facilities and pitch
// features; the title bar's view and club selectors open the screen again on
// their choice; and the seats filled at a home match come from the record's
// stands, its crowd share or the season-ticket holders.
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/MatchHistory.h"
#include "screens/CClientGroundGeneral.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "shell/CGameTitlebar.h"
#include "shell/FormattingFunctions.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <cstring>
#include <string>

namespace {

using Screen = CClientGroundGeneral;

class GroundGeneral : public ScreenGame {
protected:
    Screen& Open(uint32_t dwParameter)
    {
        g_pNavigationBar->SetNextClient(&GetGroundGeneralScreen(), dwParameter);
        m_game.Update();
        m_game.Update();
        EXPECT_EQ(g_pCurrentClient, &GetGroundGeneralScreen());
        return GetGroundGeneralScreen();
    }
    static std::string Cell(CXListBox& list, int nRow, int nColumn)
    {
        char szCell[LISTBOX_ROW_TEXT_SIZE] = {};
        list.GetColumnText(nRow, nColumn, szCell);
        return szCell;
    }
    static std::string Label(Screen& screen, uint32_t dwID)
    {
        const auto* pLabel = dynamic_cast<CXStatic*>(screen.FindControl(dwID));
        return pLabel ? pLabel->Text() : std::string("(none)");
    }
    static std::string Money(int64_t n) { return FormatMoney(static_cast<double>(n), 0, 0, MONEY_AS_STORED, 0, 1); }
    CGroundDatabase& Ground() { return *Human().GetClub()->m_pGround; }
    // Work on a stand of the human's ground that started a week ago: its
    // seats grow to nSeats.
    CComponentScheduleDatabase* Improve(CComponentDatabase& stand, int nSeats)
    {
        auto* pSchedule = new CComponentScheduleDatabase;
        pSchedule->SetID(m_pWorld->TakeNextComponentID());
        pSchedule->SetKind(SCHEDULE_IMPROVE);
        pSchedule->SetComponent(&stand);
        pSchedule->SetStartDate(CDate(m_pWorld->GetGameDate().GetValue(), -7));
        pSchedule->SetDuration(8);
        pSchedule->SetScheduleData(stand.GetSubType(), 0, 1000, 500, 40, 90000);
        std::memcpy(pSchedule->GetComponentData(), stand.GetSpecificData(), COMPONENT_STAND_DATA);
        pSchedule->GetComponentData()[STAND_SEATS] = static_cast<uint8_t>(nSeats);
        pSchedule->GetComponentData()[STAND_SEATS + 1] = static_cast<uint8_t>(nSeats >> 8);
        Ground().AddComponentSchedule(pSchedule);
        return pSchedule;
    }
};

TEST_F(GroundGeneral, StandsAreListedWithTheWorkOnThemAndTotalsThatAddUp)
{
    CComponentDatabase* pFirst = nullptr;
    int64_t nValue = 0, nYearly = 0, nSeats = 0, nStands = 0;
    for (CComponentDatabase* p : Ground().GetComponents().Items<CComponentDatabase>())
        if (p->IsStand() && p->IsFinished()) {
            if (!pFirst) {
                pFirst = p;
                continue;  // its work takes its place below
            }
            nValue += p->GetValue();
            nYearly += 12LL * p->GetMaintenanceCost();
            nSeats += p->GetStandSeats();
            ++nStands;
        }
    ASSERT_NE(pFirst, nullptr);
    const CComponentScheduleDatabase* pWork = Improve(*pFirst, pFirst->GetStandSeats() + 2500);
    Screen& screen = Open(Screen::Parameter(Human().GetClub()->GetID(), Screen::VIEW_STANDS));
    CXListBox& list = *screen.GetList();
    ASSERT_EQ(list.GetCount(), nStands + 1);
    // The stand under work is listed once, as its work: the planned seats,
    // none filled, and what the whole work costs.
    const int nLast = list.GetCount() - 1;
    EXPECT_EQ(Cell(list, nLast, Screen::COLUMN_STATE), "Improving");
    EXPECT_EQ(Cell(list, nLast, Screen::COLUMN_CAPACITY), FormatThousands(pFirst->GetStandSeats() + 2500));
    EXPECT_EQ(Cell(list, nLast, Screen::COLUMN_FILLED), "0");
    const int64_t nWorkCost = CGroundDatabase::GetScheduleCost(*pWork);
    EXPECT_EQ(nWorkCost, 1000 + 2 * 500);
    EXPECT_EQ(Cell(list, nLast, Screen::COLUMN_VALUE), Money(nWorkCost));
    for (int nRow = 0; nRow < nLast; ++nRow)
        EXPECT_EQ(Cell(list, nRow, Screen::COLUMN_STATE), "Built") << "row " << nRow;
    EXPECT_EQ(screen.GetTotalValue(), nValue + nWorkCost);
    EXPECT_EQ(screen.GetTotalYearly(), nYearly + 12 * 40);
    EXPECT_EQ(screen.GetTotalCapacity(), nSeats + pFirst->GetStandSeats() + 2500);
    EXPECT_EQ(Label(screen, Screen::ID_TOTAL_CAPACITY), FormatThousands(static_cast<int32_t>(screen.GetTotalCapacity())));
    EXPECT_EQ(Label(screen, Screen::ID_TOTAL_VALUE), Money(screen.GetTotalValue()));
    // Before any home match the human's stands hold their season-ticket holders.
    int64_t nHolders = 0;
    for (const CComponentDatabase* p : Ground().GetComponents().Items<CComponentDatabase>())
        if (p->IsStand() && p->IsFinished() && p != pFirst) {
            int nStandHolders = 0;
            for (int nSection = 0; nSection < STAND_SECTIONS; ++nSection)
                nStandHolders += Human().GetStandPrice(p->GetStandSide(), nSection, STAND_PRICE_SOLD);
            nHolders += std::min(nStandHolders, p->GetStandSeats());
        }
    EXPECT_EQ(screen.GetTotalFilled(), nHolders);
    Shoot("ground_general_stands");
}

TEST_F(GroundGeneral, FacilitiesViewListsFacilitiesAndFeaturesWithTheirValue)
{
    Screen& screen = Open(Screen::Parameter(Human().GetClub()->GetID(), Screen::VIEW_FACILITIES));
    ASSERT_EQ(screen.GetView(), Screen::VIEW_FACILITIES);
    int64_t nValue = 0, nRows = 0;
    for (const CComponentDatabase* p : Ground().GetComponents().Items<CComponentDatabase>())
        if (!p->IsStand() && p->IsFinished()) {
            nValue += p->GetValue();
            ++nRows;
        }
    ASSERT_GT(nRows, 0);
    EXPECT_EQ(screen.GetList()->GetCount(), nRows);
    EXPECT_EQ(screen.GetTotalValue(), nValue);
    // Only the two money totals stand in this view.
    EXPECT_FALSE(screen.FindControl(Screen::ID_TOTAL_CAPACITY)->m_bVisible);
    EXPECT_TRUE(screen.FindControl(Screen::ID_TOTAL_YEARLY)->m_bVisible);
    Shoot("ground_general_facilities");
}

TEST_F(GroundGeneral, TheTitleBarChoosesTheViewAndTheClub)
{
    Screen& screen = Open(Screen::Parameter(Human().GetClub()->GetID(), Screen::VIEW_STANDS));
    CXComboBox* pView = g_pTitlebar->GetSelector(Screen::kViewSelector);
    ASSERT_NE(pView, nullptr);
    ASSERT_EQ(pView->GetCount(), 2);
    pView->SetCurSel(pView->FindItemData(Screen::VIEW_FACILITIES));
    screen.OnSelChange(Screen::ID_VIEW_SELECTOR);
    m_game.Update();
    m_game.Update();
    EXPECT_EQ(screen.GetView(), Screen::VIEW_FACILITIES);
    EXPECT_EQ(screen.GetClub(), Human().GetClub());

    // Another club of the division: its own stands, none of the human's holders.
    const CClubDatabase* pOther = nullptr;
    for (int id = 1; id < 200 && !pOther; ++id) {
        const CClubDatabase* p = m_pWorld->GetClubFromID(static_cast<ID_CLUB>(id));
        if (p && p != Human().GetClub() && p->m_pDivision == Human().GetClub()->m_pDivision && p->m_pGround &&
            p->m_pGround != Human().GetClub()->m_pGround)
            pOther = p;
    }
    ASSERT_NE(pOther, nullptr);
    g_pTitlebar->SetSelectorItems(pOther);
    screen.OnSelChange(CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_CLUB));
    m_game.Update();
    m_game.Update();
    EXPECT_EQ(screen.GetClub(), pOther);
    EXPECT_EQ(screen.GetView(), Screen::VIEW_FACILITIES);
    pView->SetCurSel(pView->FindItemData(Screen::VIEW_STANDS));
    screen.OnSelChange(Screen::ID_VIEW_SELECTOR);
    m_game.Update();
    m_game.Update();
    ASSERT_EQ(screen.GetView(), Screen::VIEW_STANDS);
    EXPECT_GT(screen.GetTotalCapacity(), 0);
    EXPECT_EQ(screen.GetTotalFilled(), 0);
}

TEST(GroundGeneralSeats, FilledSeatsComeFromTheStandsTheShareOrTheHolders)
{
    CComponentDatabase stand;
    stand.SetMainType(COMPONENT_STAND);
    stand.GetSpecificData()[STAND_SIDE] = 2;
    stand.SetStandSeats(8000);
    HOMEMATCHSTANDS withStands;
    withStands.bRecordFound = withStands.bHasStands = true;
    withStands.awCrowd[2 * STAND_SECTIONS] = 3000;
    withStands.awCrowd[2 * STAND_SECTIONS + 3] = 200;
    withStands.awCrowd[3 * STAND_SECTIONS] = 999;  // the next side's
    HOMEMATCHSTANDS share;
    share.bRecordFound = true;
    share.byAttendancePercentage = 40;
    HOMEMATCHSTANDS nothing;
    nothing.bRecordFound = true;
    struct Case {
        const HOMEMATCHSTANDS* pMatch;
        int nHolders;
        int nFilled;
    };
    const Case cases[] = {
        {&withStands, 500, 3200},  // the holders are in the sections' crowd
        {&share, 0, 3200},         {&share, 700, 3900},   {&share, 6000, 8000},
        {&nothing, 0, 0},          {&nothing, 450, 450},  {nullptr, 450, 450},
        {nullptr, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Screen::GetStandSeatsFilled(stand, c.pMatch, c.nHolders), c.nFilled)
            << "holders " << c.nHolders << " share " << (c.pMatch ? c.pMatch->byAttendancePercentage : -1);
}

}  // namespace
