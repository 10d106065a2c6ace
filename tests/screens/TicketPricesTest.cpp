// The ticket prices screen over a running game: a price typed into a row is
// the human's and is what the next home match charges, undo restores both
// the price and the cell of the row that was edited, a policy sets the
// standard prices and ends the undo history, and the graph has a point for
// every home match played with the chosen section's takings and crowd.
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/MatchHistory.h"
#include "screens/CClientTicketPrices.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "shell/CGamePopup.h"
#include "shell/FormattingFunctions.h"
#include "xframework/CXButton.h"
#include "xframework/CXEdit.h"
#include "xframework/CXEditPopup.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Screen = CClientTicketPrices;
constexpr int kLeagueGateCategory = 5;
constexpr int kLeagueColumn = Screen::kFirstPriceColumn + STAND_PRICE_LEAGUE;

class TicketPrices : public ScreenGame {
protected:
    Screen& Open()
    {
        g_pNavigationBar->OnClientChange(SCREEN_TICKET_PRICES, true);
        m_game.Update();
        m_game.Update();
        EXPECT_EQ(g_pCurrentClient, &GetTicketPricesScreen());
        return GetTicketPricesScreen();
    }
    CXListBox& List(Screen& screen)
    {
        CXListBox* pList = screen.GetSections();
        EXPECT_NE(pList, nullptr);
        return *pList;
    }
    static std::string Cell(CXListBox& list, int nRow, int nColumn)
    {
        char szCell[LISTBOX_ROW_TEXT_SIZE] = {};
        list.GetColumnText(nRow, nColumn, szCell);
        return szCell;
    }
    static std::string Money(int nPrice) { return FormatMoney(nPrice, 0, 0, MONEY_AS_STORED, 0, 1); }
    static bool Shown(Screen& screen, uint32_t dwID)
    {
        const auto* pButton = dynamic_cast<CXButton*>(screen.FindControl(dwID));
        return pButton && pButton->m_bVisible && !pButton->m_bDisabled;
    }
    // Plays on until the human's club has played this many more home
    // matches at its ground with their stand blocks kept.
    void PlayHomeMatches(int nMore)
    {
        const CClubDatabase* pClub = Human().GetClub();
        const size_t nWanted = HomeMatchesWithStands() + static_cast<size_t>(nMore);
        for (int i = 0; i < 120 && HomeMatchesWithStands() < nWanted; ++i) {
            m_pWorld->ProcessDay();
            m_pWorld->DoMatchDay(m_pWorld->GetGameDate());
        }
        ASSERT_GE(HomeMatchesWithStands(), nWanted) << "club " << pClub->m_wClubId;
    }
    bool LastHomeMatch(HOMEMATCHSTANDS& last)
    {
        const std::vector<HOMEMATCHSTANDS> matches = m_pWorld->GetHomeMatchStands(Human().GetClub());
        const auto it = std::find_if(matches.rbegin(), matches.rend(),
                                     [](const HOMEMATCHSTANDS& m) { return m.bHasStands; });
        if (it == matches.rend())
            return false;
        last = *it;
        return true;
    }
    size_t HomeMatchesWithStands()
    {
        size_t n = 0;
        for (const HOMEMATCHSTANDS& match : m_pWorld->GetHomeMatchStands(Human().GetClub()))
            n += match.bHasStands ? 1 : 0;
        return n;
    }
};

TEST_F(TicketPrices, RowsAreTheSectionsTheGateFillsWithTheHumansPrices)
{
    Screen& screen = Open();
    CXListBox& list = List(screen);
    ASSERT_GT(list.GetCount(), 0);
    const CGroundDatabase* pGround = Human().GetClub()->m_pGround;
    int nSeats = 0;
    for (int nRow = 0; nRow < list.GetCount(); ++nRow) {
        const auto dwRow = static_cast<uint32_t>(list.GetItemData(nRow));
        const int nPosition = static_cast<int>(dwRow >> 16), nSection = static_cast<int>(dwRow & 0xFFFF);
        const CComponentDatabase* pStand = pGround->GetStandOnSide(nPosition);
        ASSERT_NE(pStand, nullptr) << "row " << nRow;
        EXPECT_GT(pStand->GetSectionSeats(nSection), 0) << "row " << nRow;
        EXPECT_EQ(Cell(list, nRow, 4), FormatThousands(pStand->GetSectionSeats(nSection)));
        nSeats += pStand->GetSectionSeats(nSection);
        // A new game starts at the standard prices of the stands built for it.
        for (int nKind = 0; nKind < Screen::kPriceKinds; ++nKind) {
            const int nStandard = Human().GetStandardTicketPrices(nPosition, nKind);
            EXPECT_GT(nStandard, 0) << "row " << nRow << " kind " << nKind;
            EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, nKind), nStandard) << "row " << nRow;
            EXPECT_EQ(Cell(list, nRow, Screen::kFirstPriceColumn + nKind), Money(nStandard));
        }
        // A section drawn on the plan is clicked there.
        const plat::Rect rc = screen.GetSectionRect(nPosition, nSection);
        EXPECT_GT(rc.width(), 0) << "row " << nRow;
    }
    // Every seat of the finished stands is in one section.
    int nStandSeats = 0;
    for (int s = 0; s < STAND_SIDES; ++s)
        if (const CComponentDatabase* pStand = pGround->GetStandOnSide(s); pStand && pStand->IsFinished())
            nStandSeats += pStand->GetStandSeats();
    EXPECT_EQ(nSeats, nStandSeats);
    // The first row is chosen on opening; the pitch chooses the whole ground.
    EXPECT_EQ(list.GetSelection(), 0);
    screen.OnLButtonUp(0, (Screen::kPitchLeft + Screen::kPitchRight) / 2, (Screen::kPitchTop + Screen::kPitchBottom) / 2);
    EXPECT_TRUE(screen.IsWholeGround());
    Shoot("ticket_prices");
}

TEST_F(TicketPrices, APriceChangedIsChargedAtTheNextHomeMatch)
{
    Screen& screen = Open();
    CXListBox& list = List(screen);
    ASSERT_GT(list.GetCount(), 0);
    const auto dwRow = static_cast<uint32_t>(list.GetItemData(0));
    const int nPosition = static_cast<int>(dwRow >> 16), nSection = static_cast<int>(dwRow & 0xFFFF);
    const int nNewPrice = Human().GetStandPrice(nPosition, nSection, STAND_PRICE_LEAGUE) / 2 + 3;
    screen.SetPrice(0, kLeagueColumn, nNewPrice);
    EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_LEAGUE), nNewPrice);
    EXPECT_EQ(Cell(list, 0, kLeagueColumn), Money(nNewPrice));
    EXPECT_EQ(Human().GetDelegation(6), Screen::POLICY_MANUAL);

    // The next home league match: the section took its crowd's price, and
    // the league gate booked what all sections took.
    Human().SetStandPrice(nPosition, nSection, STAND_PRICE_SOLD, 0);
    const size_t nBefore = HomeMatchesWithStands();
    HOMEMATCHSTANDS last;
    int32_t nGateBefore = 0;
    for (int i = 0; i < 120; ++i) {
        nGateBefore = Human().GetSeasonEntry(kLeagueGateCategory).nIncome;
        PlayHomeMatches(1);
        ASSERT_TRUE(LastHomeMatch(last));
        if (last.byMatchKind == 0)
            break;
    }
    ASSERT_GT(HomeMatchesWithStands(), nBefore);
    ASSERT_EQ(last.byMatchKind, 0);
    const int nEntry = nPosition * STAND_SECTIONS + nSection;
    EXPECT_GT(last.awCrowd[nEntry], 0);
    EXPECT_EQ(last.adwTakings[nEntry], static_cast<uint32_t>(last.awCrowd[nEntry]) * nNewPrice);
    int64_t nTaken = 0;
    for (uint32_t dwTaken : last.adwTakings)
        nTaken += dwTaken;
    EXPECT_EQ(Human().GetSeasonEntry(kLeagueGateCategory).nIncome - nGateBefore, nTaken);
}

TEST_F(TicketPrices, APriceTypedIntoItsCellIsTheSections)
{
    Screen& screen = Open();
    CXListBox& list = List(screen);
    ASSERT_GT(list.GetCount(), 0);
    const auto dwRow = static_cast<uint32_t>(list.GetItemData(0));
    const int nPosition = static_cast<int>(dwRow >> 16), nSection = static_cast<int>(dwRow & 0xFFFF);
    // The first row's league cell, found by the list itself.
    const int x = 500;
    int y = list.m_nTop, nRow = -1, nColumn = -1;
    for (; y < list.m_nTop + 60; ++y)
        if (list.HitTestRow(x, y, &nRow, &nColumn) && nRow == 0 && nColumn == kLeagueColumn)
            break;
    ASSERT_EQ(nRow, 0);
    ASSERT_EQ(nColumn, kLeagueColumn);
    screen.OnLButtonDblClk(0, x, y);
    CXEditPopup* pPopup = list.CellEditPopup();
    ASSERT_NE(pPopup, nullptr);
    ASSERT_NE(pPopup->Edit(), nullptr);
    pPopup->Edit()->SetText("%s", "1,234");
    pPopup->Edit()->OnChar(plat::VK_RETURN, 1, 0);
    EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_LEAGUE), 1234);
    EXPECT_EQ(Cell(list, 0, kLeagueColumn), Money(1234));
    EXPECT_EQ(screen.GetUndoCount(), 1u);

    // A price beyond what a ticket can cost is kept at the dearest one.
    screen.OnLButtonDblClk(0, x, y);
    pPopup = list.CellEditPopup();
    ASSERT_NE(pPopup, nullptr);
    pPopup->Edit()->SetText("%s", "99,999,999");
    pPopup->Edit()->OnChar(plat::VK_RETURN, 1, 0);
    EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_LEAGUE), 65535);

    // Text without a number changes nothing.
    screen.OnLButtonDblClk(0, x, y);
    pPopup = list.CellEditPopup();
    ASSERT_NE(pPopup, nullptr);
    pPopup->Edit()->SetText("%s", "free");
    pPopup->Edit()->OnChar(plat::VK_RETURN, 1, 0);
    EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_LEAGUE), 65535);
    EXPECT_EQ(screen.GetUndoCount(), 2u);
}

TEST_F(TicketPrices, ASingleTierStandOfTheMiddleSizeHasOneSectionOverTwoThirdsOfItsDepth)
{
    CComponentDatabase* pStand = Human().GetClub()->m_pGround->GetStandOnSide(0);
    ASSERT_NE(pStand, nullptr);
    pStand->SetSubType(1);
    pStand->GetSpecificData()[STAND_SIZE] = 1;
    pStand->GetSpecificData()[STAND_PARTS] = 0;
    ASSERT_EQ(pStand->GetStadiumCompositeType(), 2);
    Screen& screen = Open();
    CXListBox& list = List(screen);
    int nRows = 0;
    for (int nRow = 0; nRow < list.GetCount(); ++nRow)
        nRows += list.GetItemData(nRow) >> 16 == 0 ? 1 : 0;
    EXPECT_EQ(nRows, 1);
    ASSERT_EQ(list.GetItemData(0), 0);
    // The north side's area is 58 deep above the pitch.
    const plat::Rect rc = screen.GetSectionRect(0, 0);
    EXPECT_EQ(rc.bottom, Screen::kPitchTop);
    EXPECT_EQ(rc.height(), 58 * 2 / 3);
    EXPECT_EQ(rc.width(), Screen::kPitchRight - Screen::kPitchLeft);
    EXPECT_EQ(screen.GetSectionRect(0, 1).width(), 0);
}

TEST_F(TicketPrices, UndoRestoresThePriceAndCellOfTheEditedRow)
{
    Screen& screen = Open();
    CXListBox& list = List(screen);
    ASSERT_GE(list.GetCount(), 2);
    const auto dwRow = static_cast<uint32_t>(list.GetItemData(1));
    const int nPosition = static_cast<int>(dwRow >> 16), nSection = static_cast<int>(dwRow & 0xFFFF);
    const int nOld = Human().GetStandPrice(nPosition, nSection, STAND_PRICE_CUP);
    const std::string oldCell = Cell(list, 1, kLeagueColumn + 1);
    EXPECT_FALSE(Shown(screen, Screen::ID_UNDO));

    // An edit of the second row chooses it; a later choice of another row
    // is undone first, then the price, then the choice.
    screen.SetPrice(1, kLeagueColumn + 1, nOld + 17);
    EXPECT_EQ(list.GetSelection(), 1);
    EXPECT_TRUE(Shown(screen, Screen::ID_UNDO));
    list.SetSelection(0);
    screen.OnSelChange(Screen::ID_SECTIONS);
    screen.OnClicked(Screen::ID_UNDO);
    EXPECT_EQ(list.GetSelection(), 1);
    EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_CUP), nOld + 17);
    screen.OnClicked(Screen::ID_UNDO);
    EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_CUP), nOld);
    EXPECT_EQ(Cell(list, 1, kLeagueColumn + 1), oldCell);
    screen.OnClicked(Screen::ID_UNDO);
    EXPECT_EQ(list.GetSelection(), 0);
    EXPECT_EQ(screen.GetUndoCount(), 0u);
    EXPECT_FALSE(Shown(screen, Screen::ID_UNDO));
    EXPECT_FALSE(Shown(screen, Screen::ID_UNDO_ALL));

    // Undo all, after the question, takes back every edit newest first.
    screen.SetPrice(0, kLeagueColumn, 11);
    screen.SetPrice(0, kLeagueColumn, 22);
    screen.SetPrice(1, kLeagueColumn + 1, 33);
    screen.OnClicked(Screen::ID_UNDO_ALL);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_NE(pBox, nullptr);
    pBox->m_dwResultID = Screen::ID_CONFIRM;
    screen.OnEndMessageBoxPopup();
    EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_CUP), nOld);
    EXPECT_EQ(screen.GetUndoCount(), 0u);
}

TEST_F(TicketPrices, APolicySetsTheStandardPricesAndAnEditEndsIt)
{
    Screen& screen = Open();
    CXListBox& list = List(screen);
    ASSERT_GT(list.GetCount(), 0);
    const auto dwRow = static_cast<uint32_t>(list.GetItemData(0));
    const int nPosition = static_cast<int>(dwRow >> 16), nSection = static_cast<int>(dwRow & 0xFFFF);
    screen.SetPrice(0, kLeagueColumn, 1);
    ASSERT_EQ(screen.GetUndoCount(), 1u);

    screen.OnClicked(Screen::ID_POLICY);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_NE(pBox, nullptr);
    EXPECT_EQ(pBox->GetTextItem(), Screen::MESSAGE_POLICY);
    pBox->m_dwResultID = Screen::ID_POLICY_STANDARD;
    screen.OnEndMessageBoxPopup();
    EXPECT_EQ(Human().GetDelegation(6), Screen::POLICY_STANDARD);
    for (int nKind = 0; nKind < Screen::kPriceKinds; ++nKind) {
        const int nStandard = Human().GetStandardTicketPrices(nPosition, nKind);
        EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, nKind), nStandard) << "kind " << nKind;
        EXPECT_EQ(Cell(list, 0, Screen::kFirstPriceColumn + nKind), Money(nStandard)) << "kind " << nKind;
    }
    EXPECT_EQ(screen.GetUndoCount(), 0u);
    EXPECT_FALSE(Shown(screen, Screen::ID_UNDO));
    EXPECT_FALSE(Shown(screen, Screen::ID_POLICY));

    // The raise policy asks a little more than the standard.
    screen.SetPrice(0, kLeagueColumn, 5);
    EXPECT_EQ(Human().GetDelegation(6), Screen::POLICY_MANUAL);
    EXPECT_EQ(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_LEAGUE), 5);
    Human().SetDelegation(6, Screen::POLICY_RAISE);
    screen.UpdateButtons(false);
    EXPECT_GT(Human().GetStandPrice(nPosition, nSection, STAND_PRICE_LEAGUE),
              Human().GetStandardTicketPrices(nPosition, STAND_PRICE_LEAGUE));
}

TEST_F(TicketPrices, TheGraphHasAPointForEveryHomeMatchPlayed)
{
    PlayHomeMatches(2);
    Screen& screen = Open();
    const std::vector<HOMEMATCHSTANDS> matches = m_pWorld->GetHomeMatchStands(Human().GetClub());
    const int nPosition = screen.GetSelectedPosition(), nSection = screen.GetSelectedSection();
    ASSERT_NE(nPosition, Screen::kNoPosition);
    std::vector<double> takings, crowd;
    for (const HOMEMATCHSTANDS& match : matches)
        if (match.bHasStands) {
            takings.push_back(match.adwTakings[nPosition * STAND_SECTIONS + nSection]);
            crowd.push_back(match.awCrowd[nPosition * STAND_SECTIONS + nSection]);
        }
    ASSERT_GE(takings.size(), 2u);
    EXPECT_EQ(screen.GetTakingsPoints(), takings);
    EXPECT_EQ(screen.GetCrowdPoints(), crowd);
    EXPECT_DOUBLE_EQ(screen.GetGraph()->GetLastValue(Screen::LINE_CROWD), crowd.back());
    // The filled column shows the last of them.
    EXPECT_EQ(Cell(List(screen), List(screen).GetSelection(), 6),
              FormatThousands(static_cast<int32_t>(crowd.back())));

    Shoot("ticket_prices_graph");

    // The whole ground: the crowd of every section, the average takings of
    // those that took money.
    screen.OnLButtonUp(0, Screen::kPitchLeft + 5, Screen::kPitchTop + 5);
    ASSERT_TRUE(screen.IsWholeGround());
    const HOMEMATCHSTANDS& last = *std::find_if(matches.rbegin(), matches.rend(),
                                                [](const HOMEMATCHSTANDS& m) { return m.bHasStands; });
    double dCrowd = 0.0, dTakings = 0.0;
    int nPaying = 0;
    for (int e = 0; e < MATCH_STAND_ENTRIES; ++e) {
        dCrowd += last.awCrowd[e];
        dTakings += last.adwTakings[e];
        nPaying += last.adwTakings[e] ? 1 : 0;
    }
    ASSERT_GT(nPaying, 0);
    EXPECT_DOUBLE_EQ(screen.GetCrowdPoints().back(), dCrowd);
    EXPECT_DOUBLE_EQ(screen.GetTakingsPoints().back(), dTakings / nPaying);
    // A click beside every section clears the choice and empties the graph.
    screen.OnLButtonUp(0, Screen::kPlanX - 10, Screen::kPitchTop + 40);
    EXPECT_EQ(screen.GetSelectedPosition(), Screen::kNoPosition);
    EXPECT_TRUE(screen.GetTakingsPoints().empty());
}

}  // namespace

