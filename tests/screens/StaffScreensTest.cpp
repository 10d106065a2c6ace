// The staff screens on a game in play: the staff chart written into the
// club's staff places as rows are dragged, sacking after the message box's
// answer, and the staff market's filter over the free staff pool.
#include "CutCells.h"
#include "ScreenInPlay.h"

#include "screens/CClientStaffMarket.h"
#include "screens/CClientStaffSelection.h"
#include "shell/CGamePopup.h"
#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/PersonOwners.h"
#include "season/CScoutManager.h"
#include "xframework/CXListBoxEx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Selection = CClientStaffSelection;
using Market = CClientStaffMarket;

TEST(StaffMarketFilter, NationalityAndKindMustBothBeLetThrough)
{
    constexpr uint8_t kAll = Market::kWholeFilter;
    const uint8_t kNoNationality = kAll & ~(Market::FILTER_HOME | Market::FILTER_FOREIGN);
    const uint8_t kNoKind = Market::FILTER_HOME | Market::FILTER_FOREIGN;
    const struct {
        uint8_t byFilter;
        bool bHome;
        int nKind;
        bool bShown;
    } cases[] = {
        {kAll, true, 0, true},
        {kAll, false, 5, true},
        {kNoNationality, true, 2, false},
        {kNoNationality, false, 2, false},
        {kNoKind, true, 3, false},
        {static_cast<uint8_t>(kAll & ~Market::FILTER_FOREIGN), false, 1, false},
        {static_cast<uint8_t>(kAll & ~Market::FILTER_HOME), true, 1, false},
        // One kind's bit: that kind alone.
        {static_cast<uint8_t>(kNoKind | 64), true, 2, true},
        {static_cast<uint8_t>(kNoKind | 64), true, 0, false},
        {static_cast<uint8_t>(kNoKind | 128), false, 0, true},
        {static_cast<uint8_t>(kNoKind | 4), false, 3, true},
        {static_cast<uint8_t>(kNoKind | 4), false, 4, false},
        {kAll, true, 6, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Market::PassesFilter(c.byFilter, c.bHome, c.nKind), c.bShown)
            << "filter " << int(c.byFilter) << " home " << c.bHome << " kind " << c.nKind;
    // Each kind has a bit of its own.
    uint8_t bySeen = Market::FILTER_HOME | Market::FILTER_FOREIGN;
    for (int nKind = 0; nKind < STAFF_KINDS; ++nKind) {
        EXPECT_EQ(bySeen & Market::KindFilterBit(nKind), 0) << nKind;
        bySeen |= Market::KindFilterBit(nKind);
    }
    EXPECT_EQ(bySeen, kAll);
}

class StaffScreens : public ScreenInPlay {
protected:
    static std::vector<uint32_t> RowIds(const CXListBox* pList)
    {
        std::vector<uint32_t> ids;
        for (int nRow = 0; pList && nRow < pList->GetCount(); ++nRow)
            ids.push_back(static_cast<uint32_t>(pList->GetItemData(nRow)));
        return ids;
    }
    std::vector<ID_STAFF> Places(int nKind) const
    {
        std::vector<ID_STAFF> ids;
        for (int p = 0; p < g_anClubStaffPlaces[nKind] && m_pClub->m_awStaffSlots[nKind][p]; ++p)
            ids.push_back(m_pClub->m_awStaffSlots[nKind][p]);
        return ids;
    }
    // Drags a row with the mouse from a list to a point of the screen.
    void Drag(CXListBoxEx* pList, int nRow, int x, int y, const char* pszShot = nullptr)
    {
        ASSERT_NE(pList, nullptr);
        const int nRowY = (nRow - pList->GetFirstVisible()) * 16 + 8;
        pList->OnLButtonDown(1, 20, nRowY);
        pList->OnMouseMove(1, x - pList->m_nLeft, y - pList->m_nTop);
        if (pszShot)
            Shoot(pszShot);
        pList->OnLButtonUp(0, x - pList->m_nLeft, y - pList->m_nTop);
        m_game.Update();
    }
    int RowOf(const CXListBox* pList, ID_STAFF idStaff)
    {
        const std::vector<uint32_t> ids = RowIds(pList);
        for (size_t i = 0; i < ids.size(); ++i)
            if (ids[i] == idStaff)
                return static_cast<int>(i);
        return -1;
    }
    void Answer(uint32_t dwButton)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_TRUE(pBox && pBox->IsOnStack());
        pBox->OnClicked(dwButton);
        m_game.Update();
    }
};

TEST_F(StaffScreens, TheChartShowsTheClubsPlacesAndDragsChangeThem)
{
    OpenScreen(SCREEN_STAFF_SELECTION);
    auto* pScreen = dynamic_cast<Selection*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    Shoot("staff_selection.png");
    ASSERT_NE(pScreen->GetList(Selection::ID_ALL_STAFF), nullptr);
    EXPECT_EQ(CutCells(*pScreen->GetList(Selection::ID_ALL_STAFF)), std::vector<std::string>{});
    // Every box holds its kind's places in order, the list the whole staff.
    for (int nKind = 0; nKind < STAFF_KINDS; ++nKind) {
        const std::vector<ID_STAFF> places = Places(nKind);
        const std::vector<uint32_t> rows = RowIds(pScreen->GetList(Selection::KindBox(nKind)));
        EXPECT_EQ(rows, std::vector<uint32_t>(places.begin(), places.end())) << "kind " << nKind;
    }
    EXPECT_EQ(pScreen->GetList(Selection::ID_MANAGER)->GetCount(), 1);
    CXListBoxEx* pAll = pScreen->GetList(Selection::ID_ALL_STAFF);
    ASSERT_EQ(pAll->GetCount(), m_pClub->m_lstStaff.GetCount());
    ASSERT_GT(pAll->GetCount(), 1) << "the club employs staff";
    {
        // More staff than the list has rows: its scroll bar shows, to reach
        // the last of them.
        const CXControl* pBar = pScreen->FindControl(Selection::ID_SCROLLBAR);
        ASSERT_NE(pBar, nullptr);
        if (pAll->GetCount() > pAll->RowsPerView())
            EXPECT_TRUE(pBar->m_bVisible);
        EXPECT_LE(pBar->m_nRight, pScreen->Width());
    }

    // A member of another kind dragged below a box's rows joins it at a
    // quarter of his rating, and the kind's next place holds him.
    const CStaffDatabase* pMover = pScreen->GetRowStaff(Selection::ID_ALL_STAFF, 0);
    ASSERT_NE(pMover, nullptr);
    int nTargetKind = -1;
    for (int nKind = 0; nKind < STAFF_KINDS && nTargetKind < 0; ++nKind)
        if (nKind != pMover->m_byKind && nKind != Selection::kScoutKind &&
            static_cast<int>(Places(nKind).size()) < g_anClubStaffPlaces[nKind])
            nTargetKind = nKind;
    ASSERT_GE(nTargetKind, 0) << "a box with a free place";
    CXListBoxEx* pTarget = pScreen->GetList(Selection::KindBox(nTargetKind));
    const std::vector<ID_STAFF> before = Places(nTargetKind);
    const int nBelowRows = pTarget->m_nTop + static_cast<int>(before.size()) * 16 + 4;
    Drag(pAll, 0, pTarget->m_nLeft + 30, nBelowRows, "staff_selection_drag.png");
    std::vector<ID_STAFF> expected = before;
    expected.push_back(pMover->GetId());
    EXPECT_EQ(Places(nTargetKind), expected);
    char szRating[32];
    pTarget->GetColumnText(static_cast<int>(before.size()), 1, szRating);
    EXPECT_EQ(std::atoi(szRating), pMover->m_byRating / 4);
    ASSERT_NE(pAll->GetRow(0), nullptr);
    EXPECT_EQ(pAll->GetRow(0)->crColour, m_pHuman->GetColourForClub()) << "a member on the chart stands out";

    // Dropped again on the box that holds him: nothing changes.
    Drag(pAll, 0, pTarget->m_nLeft + 30, pTarget->m_nTop + 4);
    EXPECT_EQ(Places(nTargetKind), expected);

    // Onto the removal area he leaves the box, the places closing up.
    const int nRemovalX = (Selection::kRemovalLeft + Selection::kRemovalRight) / 2;
    const int nRemovalY = (Selection::kRemovalTop + Selection::kRemovalBottom) / 2;
    Drag(pTarget, static_cast<int>(before.size()), nRemovalX, nRemovalY);
    EXPECT_EQ(Places(nTargetKind), before);

    // Onto a row he takes that row's place.
    if (!before.empty()) {
        Drag(pAll, 0, pTarget->m_nLeft + 30, pTarget->m_nTop + 4);
        std::vector<ID_STAFF> replaced = before;
        replaced[0] = pMover->GetId();
        EXPECT_EQ(Places(nTargetKind), replaced);
    }
}

TEST_F(StaffScreens, AScoutTakesASlotOnTheChartAndGivesItUpOffIt)
{
    OpenScreen(SCREEN_STAFF_SELECTION);
    auto* pScreen = dynamic_cast<Selection*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    CXListBoxEx* pScouts = pScreen->GetList(Selection::KindBox(Selection::kScoutKind));
    CScoutManager& scouts = m_pHuman->GetScoutManager();
    // Clear the box first: every scout gives up his slot.
    while (pScouts->GetCount() > 0)
        Drag(pScouts, 0, Selection::kRemovalLeft + 10, Selection::kRemovalTop + 10);
    EXPECT_TRUE(Places(Selection::kScoutKind).empty());
    for (int i = 0; i < SCOUT_SLOTS; ++i)
        EXPECT_EQ(scouts.GetSlot(i).wStaffId, 0) << "slot " << i;

    CXListBoxEx* pAll = pScreen->GetList(Selection::ID_ALL_STAFF);
    const CStaffDatabase* pNewScout = pScreen->GetRowStaff(Selection::ID_ALL_STAFF, 0);
    ASSERT_NE(pNewScout, nullptr);
    Drag(pAll, 0, pScouts->m_nLeft + 30, pScouts->m_nTop + 4);
    ASSERT_EQ(Places(Selection::kScoutKind), std::vector<ID_STAFF>{pNewScout->GetId()});
    EXPECT_NE(scouts.FindScoutSlot(pNewScout->GetId()), nullptr);

    // Replaced by another, he hands the newcomer his slot.
    const CStaffDatabase* pSecond = pScreen->GetRowStaff(Selection::ID_ALL_STAFF, 1);
    ASSERT_NE(pSecond, nullptr);
    Drag(pAll, 1, pScouts->m_nLeft + 30, pScouts->m_nTop + 4);
    EXPECT_EQ(Places(Selection::kScoutKind), std::vector<ID_STAFF>{pSecond->GetId()});
    EXPECT_EQ(scouts.FindScoutSlot(pNewScout->GetId()), nullptr);
    EXPECT_NE(scouts.FindScoutSlot(pSecond->GetId()), nullptr);

    // The scout whose reports the manager follows leaves: the reference goes.
    m_pHuman->SetScoutReport(pSecond->GetId(), 0);
    Drag(pScouts, 0, Selection::kRemovalLeft + 10, Selection::kRemovalTop + 10);
    EXPECT_EQ(scouts.FindScoutSlot(pSecond->GetId()), nullptr);
    EXPECT_EQ(m_pHuman->GetScoutReportStaff(), 0);
}

TEST_F(StaffScreens, ASackIsCarriedOutOnlyAfterYes)
{
    OpenScreen(SCREEN_STAFF_SELECTION);
    auto* pScreen = dynamic_cast<Selection*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    CStaffDatabase* pStaff = pScreen->GetSelectedStaff();
    ASSERT_NE(pStaff, nullptr);
    const ID_STAFF idStaff = pStaff->GetId();
    // A wage that a sixth of does not divide evenly.
    pStaff->m_dwWage = 4003;
    const int32_t nCompensation = 4003 / 6;
    // Compensation is booked in the month's accounts and settles at its end.
    const int32_t nBooked = m_pHuman->GetMonthEntry(78).nExpense;
    const int nStaff = m_pClub->m_lstStaff.GetCount();

    pScreen->OnClicked(Selection::ID_SACK);
    m_game.Update();
    Shoot("staff_sack_question.png");
    const CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_TRUE(pBox && pBox->IsOnStack());
    EXPECT_NE(pBox->GetText().find(pStaff->GetLastName()), std::string::npos) << pBox->GetText();
    Answer(883);
    EXPECT_TRUE(m_pClub->HasStaff(idStaff));
    EXPECT_EQ(m_pHuman->GetMonthEntry(78).nExpense, nBooked);
    EXPECT_EQ(m_pClub->m_lstStaff.GetCount(), nStaff);

    ASSERT_TRUE(pScreen->SelectStaff(idStaff));
    pScreen->OnClicked(Selection::ID_SACK);
    m_game.Update();
    Answer(884);
    EXPECT_FALSE(m_pClub->HasStaff(idStaff));
    EXPECT_FALSE(m_pClub->IsStaffPlaced(idStaff));
    EXPECT_EQ(pStaff->m_pClub, nullptr);
    EXPECT_EQ(m_pHuman->GetMonthEntry(78).nExpense, nBooked + nCompensation);
    EXPECT_EQ(pScreen->GetList(Selection::ID_ALL_STAFF)->GetCount(), nStaff - 1);
    EXPECT_EQ(RowOf(pScreen->GetList(Selection::ID_ALL_STAFF), idStaff), -1);
    // He is free to be hired again.
    EXPECT_NE(Database()->GetStaffPool().Find(reinterpret_cast<void*>(static_cast<uintptr_t>(idStaff))), nullptr);

    // Only the last one sacked leaves the list empty, and the answer says so.
    const int nLeft = pScreen->GetList(Selection::ID_ALL_STAFF)->GetCount();
    for (int i = 0; i < nLeft; ++i) {
        ASSERT_NE(pScreen->GetSelectedStaff(), nullptr);
        EXPECT_EQ(pScreen->SackSelectedStaff(), i + 1 < nLeft) << i;
    }
    EXPECT_TRUE(m_pClub->m_lstStaff.IsEmpty());
    for (int nKind = 0; nKind < STAFF_KINDS; ++nKind)
        EXPECT_TRUE(Places(nKind).empty()) << nKind;
}

TEST_F(StaffScreens, LeavingWithoutAnAssistantEndsTheAssistantsTeamPicking)
{
    OpenScreen(SCREEN_STAFF_SELECTION);
    auto* pScreen = dynamic_cast<Selection*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    m_pHuman->SetDelegation(1, 2);
    m_pHuman->SetDelegation(4, 1);
    CXListBoxEx* pAssistants = pScreen->GetList(Selection::KindBox(0));
    while (pAssistants->GetCount() > 0)
        Drag(pAssistants, 0, Selection::kRemovalLeft + 10, Selection::kRemovalTop + 10);
    const bool bCommercialManager = !Places(3).empty();
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    EXPECT_EQ(m_pHuman->GetDelegation(1), 0);
    // The commercial manager is still there and keeps his business.
    EXPECT_EQ(m_pHuman->GetDelegation(4), bCommercialManager ? 1 : 0);
}

TEST_F(StaffScreens, TheMarketListsTheFreeStaffInPoolOrderAndTheFilterNarrowsIt)
{
    // An offer to the first free staff member stands in the negotiations.
    const auto idOffered =
        static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(Database()->GetStaffPool().GetHead()->pData));
    m_pHuman->AddStaffNegotiation(idOffered, 500);
    OpenScreen(SCREEN_STAFF_MARKET);
    auto* pScreen = dynamic_cast<Market*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    Shoot("staff_market.png");
    EXPECT_EQ(CutCells(*pScreen->GetMarketList()), std::vector<std::string>{});

    std::vector<uint32_t> pool;
    for (const void* pValue : Database()->GetStaffPool().Items<void>())
        pool.push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pValue)));
    ASSERT_GT(pool.size(), 6u);
    EXPECT_EQ(RowIds(pScreen->GetMarketList()), pool);

    const int nHome = GetCountryNationality(m_pHuman->GetCountry());
    const uint8_t byBoth = Market::FILTER_HOME | Market::FILTER_FOREIGN;
    const struct {
        uint8_t byFilter;
        bool (*passes)(const CStaffDatabase&, int nHome);
    } filters[] = {
        {static_cast<uint8_t>(byBoth | Market::KindFilterBit(2)),
         [](const CStaffDatabase& s, int) { return s.m_byKind == 2; }},
        {static_cast<uint8_t>(Market::FILTER_FOREIGN | Market::KindFilterBit(0) | Market::KindFilterBit(4)),
         [](const CStaffDatabase& s, int nHomeRow) {
             return s.m_byNationality != nHomeRow && (s.m_byKind == 0 || s.m_byKind == 4);
         }},
        {static_cast<uint8_t>(Market::kWholeFilter & ~byBoth), [](const CStaffDatabase&, int) { return false; }},
        {byBoth, [](const CStaffDatabase&, int) { return false; }},
    };
    for (const auto& f : filters) {
        pScreen->SetFilter(f.byFilter);
        std::vector<uint32_t> expected;
        for (uint32_t id : pool)
            if (f.passes(*Database()->GetStaffFromID(static_cast<ID_STAFF>(id)), nHome))
                expected.push_back(id);
        EXPECT_EQ(RowIds(pScreen->GetMarketList()), expected) << "filter " << int(f.byFilter);
    }
    pScreen->SetFilter(Market::kWholeFilter);
    EXPECT_EQ(RowIds(pScreen->GetMarketList()), pool);

    const CXListBox* pNegotiations = pScreen->GetNegotiationList();
    ASSERT_EQ(RowIds(pNegotiations), std::vector<uint32_t>{idOffered});
    char szState[64];
    pNegotiations->GetColumnText(0, 6, szState);
    EXPECT_STREQ(szState, GetTableTextOrEmpty(23, 0));
}

}  // namespace
