// The sponsor and ground hoardings screens on a game in play, driven with
// the mouse: offers signed, swapped and undone into the sponsor manager and
// paid once the week turns; boards placed round the plan and taken off,
// undone, left short and placed by the commercial manager; and the weekly
// history graph after some weeks played.
#include "ScreenInPlay.h"

#include "screens/CClientFinanceSponsorAndAdvert.h"
#include "screens/CClientGroundHoardings.h"
#include "shell/CGameDay.h"
#include "shell/CGamePopup.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "platform/Files.h"
#include "season/CHoardingsManager.h"
#include "season/CSponsorManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBoxEx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Sponsors = CClientFinanceSponsorAndAdvert;
using Hoardings = CClientGroundHoardings;

constexpr int kRow = Sponsors::kRowHeight;

class SponsorScreens : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        // A club of the top band gets offers of every kind.
        m_pClub->m_bySupportLevel = m_pClub->m_byReputation = 95;
        m_pHuman->SetDelegation(Sponsors::kDelegateSponsors, 0);
        m_pHuman->SetDelegation(Hoardings::kDelegateHoardings, 0);
        m_pHuman->GetSponsors().ResetOffers();
    }
    CClientFinanceSponsorAndAdvert& Screen() { return GetFinanceSponsorAndAdvertScreen(); }
    CSponsorManager& Manager() { return m_pHuman->GetSponsors(); }
    CXListBoxEx* List(uint32_t dwID) { return Screen().GetList(dwID); }
    std::vector<const SPONSOR*> Items(const CXList& list)
    {
        std::vector<const SPONSOR*> items;
        for (const SPONSOR* p : list.Items<SPONSOR>())
            items.push_back(p);
        return items;
    }
    // Presses a row of a list, moves to a point of the screen and lets go there.
    void Drag(CXClient& screen, CXListBox* pList, int nRow, int x, int y, const char* pszShot = nullptr)
    {
        ASSERT_NE(pList, nullptr);
        const int nRowY = (nRow - pList->GetFirstVisible()) * kRow + kRow / 2;
        screen.OnLButtonDown(1, pList->m_nLeft + 20, pList->m_nTop + nRowY);
        screen.OnMouseMove(1, x, y);
        if (pszShot)
            Shoot(pszShot);
        screen.OnLButtonUp(0, x, y);
        m_game.Update();
    }
    // Below a list's last row (its area must reach that far).
    static int Below(const CXListBox* pList) { return pList->m_nTop + pList->GetCount() * kRow + 4; }
    void Answer(uint32_t dwButton)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_TRUE(pBox && pBox->IsOnStack());
        pBox->OnClicked(dwButton);
        m_game.Update();
    }
    bool Shown(uint32_t dwID)
    {
        const auto* pButton = dynamic_cast<const CXButton*>(g_pCurrentClient->FindControl(dwID));
        return pButton && pButton->m_bVisible && !pButton->m_bDisabled;
    }
};

TEST_F(SponsorScreens, AnOfferDraggedToThePlaceIsSignedUndoneAndPaidOnceTheWeekTurns)
{
    OpenScreen(SCREEN_FINANCE_SPONSORS);
    ASSERT_EQ(g_pCurrentClient, &Screen());
    CXListBoxEx* pOffers = List(Sponsors::ID_OFFERS);
    CXListBoxEx* pSigned = List(Sponsors::ID_SIGNED);
    ASSERT_TRUE(pOffers && pSigned);
    ASSERT_GE(pOffers->GetCount(), 2);
    ASSERT_EQ(Manager().GetAcceptedKit(), nullptr);
    const std::vector<const SPONSOR*> offersBefore = Items(Manager().GetOffers(SPONSORFOR_KIT));
    EXPECT_FALSE(Shown(Sponsors::ID_UNDO));
    Shoot("sponsors_open.png");

    // Below the empty signed place: the offer is signed.
    const SPONSOR* pFirst = offersBefore[1];
    Drag(Screen(), pOffers, 1, pSigned->m_nLeft + 40, pSigned->m_nTop + 10, "sponsors_drag.png");
    EXPECT_EQ(Manager().GetAcceptedKit(), pFirst);
    EXPECT_EQ(pSigned->GetCount(), 1);
    EXPECT_EQ(pOffers->GetCount(), static_cast<int>(offersBefore.size()) - 1);
    EXPECT_TRUE(Shown(Sponsors::ID_UNDO) && Shown(Sponsors::ID_UNDO_ALL));

    // An offer dropped onto the signed row swaps with it, row for row.
    const SPONSOR* pSecond = offersBefore[0];
    Drag(Screen(), pOffers, 0, pSigned->m_nLeft + 40, pSigned->m_nTop + 10);
    EXPECT_EQ(Manager().GetAcceptedKit(), pSecond);
    EXPECT_EQ(Manager().GetOffers(SPONSORFOR_KIT).GetHead()->pData, pFirst);
    Shoot("sponsors_signed.png");

    // The running place neither gives nor takes.
    Drag(Screen(), pOffers, 0, List(Sponsors::ID_RUNNING)->m_nLeft + 40, List(Sponsors::ID_RUNNING)->m_nTop + 10);
    EXPECT_EQ(Manager().GetAcceptedKit(), pSecond);
    EXPECT_EQ(Screen().GetUndoCount(), 2u);

    // Undone step by step: the swap, then the signing; the buttons go.
    g_pCurrentClient->OnClicked(Sponsors::ID_UNDO);
    EXPECT_EQ(Manager().GetAcceptedKit(), pFirst);
    g_pCurrentClient->OnClicked(Sponsors::ID_UNDO);
    EXPECT_EQ(Manager().GetAcceptedKit(), nullptr);
    EXPECT_EQ(Items(Manager().GetOffers(SPONSORFOR_KIT)).size(), offersBefore.size());
    EXPECT_EQ(pSigned->GetCount(), 0);
    EXPECT_FALSE(Shown(Sponsors::ID_UNDO) || Shown(Sponsors::ID_UNDO_ALL));

    // Signed again and left: the week's turn starts the contract and pays it.
    Drag(Screen(), pOffers, 0, pSigned->m_nLeft + 40, pSigned->m_nTop + 10);
    const SPONSOR* pSigning = Manager().GetAcceptedKit();
    ASSERT_NE(pSigning, nullptr);
    const int32_t nAmount = static_cast<int32_t>(pSigning->dwAmount);
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    const int32_t nBefore = m_pHuman->GetMonthEntry(CSponsorManager::CATEGORY_KIT).nIncome;
    const int32_t nBalance = m_pClub->m_nBankBalance;
    for (int nDay = 0; nDay < 8 && !Manager().GetCurrentKit(); ++nDay)
        CGameDay::ProcessDay(*Database());
    EXPECT_EQ(Manager().GetCurrentKit(), pSigning);
    EXPECT_EQ(m_pHuman->GetMonthEntry(CSponsorManager::CATEGORY_KIT).nIncome, nBefore + nAmount);
    EXPECT_NE(m_pClub->m_nBankBalance, nBalance);
}

TEST_F(SponsorScreens, ABoardPlaceTakesThreeWaitingSponsorsAndUndoAllGoesBackToTheStart)
{
    OpenScreen(SCREEN_FINANCE_SPONSORS);
    g_pCurrentClient->OnClicked(Sponsors::ID_FIRST_BOARD + 2);
    EXPECT_EQ(Screen().GetEditMode(), SPONSORFOR_BOARD);
    EXPECT_EQ(Screen().GetBoardSlot(), 2);
    CXListBoxEx* pOffers = List(Sponsors::ID_OFFERS);
    CXListBoxEx* pSigned = List(Sponsors::ID_SIGNED);
    ASSERT_GE(pOffers->GetCount(), 4);
    EXPECT_EQ(pSigned->Height(), 3 * kRow);
    for (int n = 0; n < 3; ++n)
        Drag(Screen(), pOffers, 0, pSigned->m_nLeft + 40, Below(pSigned));
    ASSERT_EQ(Manager().GetBoardQueue(2).GetCount(), CSponsorManager::QUEUE_PLACES);
    // A full place takes no fourth: dropped below its rows, the offer swaps
    // with the last.
    const SPONSOR* pFourth = static_cast<const SPONSOR*>(Manager().GetOffers(SPONSORFOR_BOARD).GetHead()->pData);
    Drag(Screen(), pOffers, 0, pSigned->m_nLeft + 40, pSigned->m_nTop + pSigned->Height() - 2);
    EXPECT_EQ(Manager().GetBoardQueue(2).GetCount(), CSponsorManager::QUEUE_PLACES);
    EXPECT_EQ(Manager().GetBoardQueue(2).GetTail()->pData, pFourth);
    Shoot("sponsors_board.png");

    // Another place looked at, then everything undone after the question.
    g_pCurrentClient->OnClicked(Sponsors::ID_SECOND);
    g_pCurrentClient->OnClicked(Sponsors::ID_UNDO_ALL);
    Answer(Sponsors::ID_CONFIRM);
    EXPECT_EQ(Manager().GetBoardQueue(2).GetCount(), 0);
    EXPECT_EQ(Screen().GetModeButton(), Sponsors::ID_MAIN);
    EXPECT_EQ(Screen().GetUndoCount(), 0u);
    EXPECT_FALSE(Shown(Sponsors::ID_UNDO));
}

TEST_F(SponsorScreens, TheCommercialManagerFillsTheEmptyPlacesUntilAChangeIsMade)
{
    const struct {
        ID_STAFF idCommercial;
        bool bShown;
    } cases[] = {{0, false}, {1, true}};
    for (const auto& c : cases) {
        m_pClub->m_awStaffSlots[3][0] = c.idCommercial;
        OpenScreen(SCREEN_FINANCE_SPONSORS);
        EXPECT_EQ(Shown(Sponsors::ID_AUTOMATIC), c.bShown) << c.idCommercial;
        OpenScreen(SCREEN_FOOTBALL_TODAY);
    }
    const int nBoardOffers = Manager().GetOffers(SPONSORFOR_BOARD).GetCount();
    OpenScreen(SCREEN_FINANCE_SPONSORS);
    g_pCurrentClient->OnClicked(Sponsors::ID_MAIN);  // a step to undo
    g_pCurrentClient->OnClicked(Sponsors::ID_AUTOMATIC);
    Answer(Sponsors::ID_CONFIRM);
    EXPECT_EQ(m_pHuman->GetDelegation(Sponsors::kDelegateSponsors), 1);
    EXPECT_NE(Manager().GetAcceptedKit(), nullptr);
    EXPECT_NE(Manager().GetAcceptedShirt(), nullptr);
    int nQueued = 0;
    for (int s = 0; s < CSponsorManager::BOARD_SLOTS; ++s)
        nQueued += Manager().GetBoardQueue(s).GetCount();
    EXPECT_EQ(nQueued, std::min(nBoardOffers, CSponsorManager::BOARD_SLOTS * CSponsorManager::QUEUE_PLACES));
    EXPECT_EQ(Screen().GetUndoCount(), 0u);
    EXPECT_FALSE(Shown(Sponsors::ID_AUTOMATIC) || Shown(Sponsors::ID_UNDO));
    Shoot("sponsors_automatic.png");

    // Signing one's own sponsor takes the job back.
    CXListBoxEx* pSigned = List(Sponsors::ID_SIGNED);
    Drag(Screen(), pSigned, 0, List(Sponsors::ID_OFFERS)->m_nLeft + 40, List(Sponsors::ID_OFFERS)->m_nTop + 4);
    EXPECT_EQ(m_pHuman->GetDelegation(Sponsors::kDelegateSponsors), 0);
    EXPECT_TRUE(Shown(Sponsors::ID_AUTOMATIC));
}

// ---- the ground hoardings ----

class HoardingScreen : public SponsorScreens {
protected:
    struct PlanPoint {
        int x, y;
    };
    void SetUp() override
    {
        SponsorScreens::SetUp();
        if (HasFatalFailure())
            return;
        CHoardingsManager& manager = m_pHuman->GetHoardings();
        manager.RemoveAll();
        manager.Reset();
        // Advertiser 7 wants three boards anywhere and stays only with two;
        // advertiser 12 takes the long sides only and one board will do.
        manager.AddOffer(Advertiser(7, 3, 2, true, true, 500));
        manager.AddOffer(Advertiser(12, 2, 1, false, true, 300));
        platRemoveHistory();
    }
    static ADVERTISER Advertiser(uint8_t byId, uint8_t byWanted, int8_t nLeast, bool bEnds, bool bSides,
                                 uint32_t dwAmount)
    {
        ADVERTISER a;
        a.byId = byId;
        a.byPayments = 20;
        a.byBoardsWanted = byWanted;
        a.nMinimumBoards = nLeast;
        a.byShortRows = bEnds ? 1 : 0;
        a.byLongRows = bSides ? 1 : 0;
        a.dwAmount = dwAmount;
        return a;
    }
    void platRemoveHistory() { plat::removeFile(m_pHuman->GetHoardings().GetHistoryFileName()); }
    Hoardings& Screen() { return GetGroundHoardingsScreen(); }
    CHoardingsManager& Manager() { return m_pHuman->GetHoardings(); }
    CXListBox* AdvertiserList() { return dynamic_cast<CXListBox*>(Screen().FindControl(Hoardings::ID_ADVERTISERS)); }
    int RowOf(uint8_t byId) { return AdvertiserList()->FindItemData(byId); }
    static PlanPoint Centre(int nPlace)
    {
        const plat::Rect rc = Hoardings::PlaceRect(nPlace);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void DragOnPlan(int nFrom, int x, int y, const char* pszShot = nullptr)
    {
        const PlanPoint from = Centre(nFrom);
        Screen().OnLButtonDown(1, from.x, from.y);
        Screen().OnMouseMove(1, x, y);
        if (pszShot)
            Shoot(pszShot);
        Screen().OnLButtonUp(0, x, y);
        m_game.Update();
    }
    uint8_t BoardAt(int nPlace)
    {
        const HOARDING* p = Manager().GetHoardings(Hoardings::PlaceDirection(nPlace), Hoardings::PlaceIndex(nPlace));
        return p ? p->byAdvertiser : 0;
    }
};

TEST(HoardingPlan, PointsFindTheirPlaceAndTheCornersAndPitchFindNone)
{
    constexpr int X = Hoardings::kPlanX, Y = Hoardings::kPlanY;
    const struct {
        int x, y;
        int nPlace;
    } cases[] = {
        {X + 5, Y + 5, -1},                 // top-left corner of the ring
        {X + 275, Y + 197, -1},             // bottom-right corner
        {X + 140, Y + 100, -1},             // the pitch
        {X - 1, Y + 30, -1},                // off the plan
        {X + 5, Y + 25, 0},                 // the left end's first place
        {X + 275, Y + 165, 17},             // the right end's last
        {X + 25, Y + 190, 18},              // the bottom side's first
        {X + 255, Y + 5, 41},               // the top side's last
        {X + 20, Y + 20, -1},               // the pitch's corner, inside the ring's hole
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hoardings::HitTestPlace(c.x, c.y), c.nPlace) << c.x - X << ", " << c.y - Y;
    // Every place's centre finds it again, in its own direction.
    for (int k = 0; k < Hoardings::kPlaces; ++k) {
        const plat::Rect rc = Hoardings::PlaceRect(k);
        EXPECT_EQ(Hoardings::HitTestPlace((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2), k);
    }
}

TEST_F(HoardingScreen, BoardsArePlacedTakenOffAndUndoneAtTheirPlaces)
{
    OpenScreen(SCREEN_GROUND_HOARDINGS);
    ASSERT_EQ(g_pCurrentClient, &Screen());
    ASSERT_EQ(AdvertiserList()->GetCount(), 2);
    ADVERTISER* pSeven = Manager().FindOffer(7);
    ADVERTISER* pTwelve = Manager().FindOffer(12);
    const PlanPoint top = Centre(30), end = Centre(0);

    // Dragged from the list onto a free place; advertiser 12 takes no end.
    Drag(Screen(), AdvertiserList(), RowOf(7), top.x, top.y);
    Drag(Screen(), AdvertiserList(), RowOf(12), end.x, end.y);
    EXPECT_EQ(BoardAt(30), 7);
    EXPECT_EQ(BoardAt(0), CHoardingsManager::EMPTY);
    EXPECT_EQ(pSeven->byBoardsPlaced, 1);
    EXPECT_EQ(pTwelve->byBoardsPlaced, 0);
    // An occupied place takes no second board.
    Drag(Screen(), AdvertiserList(), RowOf(12), top.x, top.y);
    EXPECT_EQ(BoardAt(30), 7);

    // A board dragged to another free place adds one there; off the plan
    // it comes down.
    DragOnPlan(30, end.x, end.y, "hoardings_drag.png");
    EXPECT_EQ(BoardAt(30), 7);
    EXPECT_EQ(BoardAt(0), 7);
    EXPECT_EQ(pSeven->byBoardsPlaced, 2);
    DragOnPlan(30, 100, 100);
    EXPECT_EQ(BoardAt(30), CHoardingsManager::EMPTY);
    EXPECT_EQ(pSeven->byBoardsPlaced, 1);
    Shoot("hoardings_placed.png");

    // Undo puts it back and picks its advertiser's row; all the rest after
    // the question.
    AdvertiserList()->SetSelection(RowOf(12));
    g_pCurrentClient->OnClicked(Hoardings::ID_UNDO);
    EXPECT_EQ(BoardAt(30), 7);
    EXPECT_EQ(Screen().GetSelected(), pSeven);
    EXPECT_EQ(AdvertiserList()->GetSelection(), RowOf(7));
    g_pCurrentClient->OnClicked(Hoardings::ID_UNDO_ALL);
    Answer(Hoardings::ID_CONFIRM);
    for (int k : {0, 30})
        EXPECT_EQ(BoardAt(k), CHoardingsManager::EMPTY) << k;
    EXPECT_EQ(pSeven->byBoardsPlaced, 0);
    EXPECT_FALSE(Shown(Hoardings::ID_UNDO));
}

TEST_F(HoardingScreen, LeavingTakesDownTheBoardsOfAdvertisersShortOfTheirLeast)
{
    OpenScreen(SCREEN_GROUND_HOARDINGS);
    Drag(Screen(), AdvertiserList(), RowOf(7), Centre(30).x, Centre(30).y);
    Drag(Screen(), AdvertiserList(), RowOf(12), Centre(31).x, Centre(31).y);
    ASSERT_EQ(BoardAt(30), 7);
    ASSERT_EQ(BoardAt(31), 12);
    EXPECT_EQ(Hoardings::StatusColour(Manager().FindOffer(7)), Hoardings::kTooFew);
    EXPECT_EQ(Hoardings::StatusColour(Manager().FindOffer(12)), Hoardings::kSome);
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    EXPECT_EQ(BoardAt(30), CHoardingsManager::EMPTY);
    EXPECT_EQ(Manager().FindOffer(7)->byBoardsPlaced, 0);
    EXPECT_EQ(BoardAt(31), 12);
}

TEST_F(HoardingScreen, TheCommercialManagerPlacesTheBoards)
{
    m_pClub->m_awStaffSlots[3][0] = 1;
    OpenScreen(SCREEN_GROUND_HOARDINGS);
    ASSERT_TRUE(Shown(Hoardings::ID_AUTOMATIC));
    g_pCurrentClient->OnClicked(Hoardings::ID_AUTOMATIC);
    Answer(Hoardings::ID_CONFIRM);
    EXPECT_EQ(m_pHuman->GetDelegation(Hoardings::kDelegateHoardings), 1);
    EXPECT_EQ(Manager().FindOffer(7)->byBoardsPlaced, 3);
    EXPECT_EQ(Manager().FindOffer(12)->byBoardsPlaced, 2);
    EXPECT_EQ(Manager().CountEmptyBoards(3), Hoardings::kPlaces - 5);
    EXPECT_FALSE(Shown(Hoardings::ID_AUTOMATIC));
    Shoot("hoardings_automatic.png");
}

TEST_F(HoardingScreen, TheGraphShowsTheWeeksPlayedAndNothingWithoutAHistory)
{
    OpenScreen(SCREEN_GROUND_HOARDINGS);
    CXGraph* pGraph = Screen().GetGraph();
    ASSERT_NE(pGraph, nullptr);
    EXPECT_TRUE(pGraph->GetItemLabels().empty());
    EXPECT_TRUE(pGraph->GetSeries(Hoardings::LINE_INCOME).values.empty());

    Drag(Screen(), AdvertiserList(), RowOf(12), Centre(30).x, Centre(30).y);
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    // A continue runs to the next event: some weeks go by.
    for (int nDay = 0; nDay < 6; ++nDay)
        CGameDay::ProcessDay(*Database());
    const int64_t nWeeks = plat::fileSize(Manager().GetHistoryFileName()) / CHoardingsManager::HISTORY_BYTES;
    ASSERT_GE(nWeeks, 2);
    OpenScreen(SCREEN_GROUND_HOARDINGS);
    pGraph = Screen().GetGraph();
    const std::vector<double>& income = pGraph->GetSeries(Hoardings::LINE_INCOME).values;
    const std::vector<double>& boards = pGraph->GetSeries(Hoardings::LINE_BOARDS).values;
    ASSERT_EQ(income.size(), static_cast<size_t>(std::min<int64_t>(nWeeks, Hoardings::kWeeks)));
    ASSERT_EQ(boards.size(), income.size());
    for (size_t w = 0; w < income.size(); ++w) {
        EXPECT_EQ(income[w], 300.0) << w;
        EXPECT_EQ(boards[w], 1.0) << w;
    }
    EXPECT_FALSE(pGraph->GetItemLabels().empty());
    Shoot("hoardings_graph.png");
}

}  // namespace
