// The transfer market: the filter groups, and the screen on a game some
// weeks into the season, checked against the database's own market lists and
// the human's shortlist.
#include "ScreenInPlay.h"

#include "screens/CClientTransferMarket.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CMarketEntries.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Market = CClientTransferMarket;

TEST(TransferMarketFilter, EveryGroupMustLetTheRowThrough)
{
    constexpr uint32_t kAll = Market::kAllTransferFilters;
    const struct {
        uint32_t dwMask;
        uint8_t byType;
        bool bHome;
        int nPosition;
        bool bNew;
        bool bShown;
    } cases[] = {
        {kAll, PLAYER_TRANSFER_LISTED, true, 0, false, true},
        {kAll, PLAYER_TRANSFER_LEAVING, false, 3, true, true},
        {kAll & ~1u, PLAYER_TRANSFER_LISTED, true, 0, false, false},
        {kAll & ~1u, PLAYER_TRANSFER_LEAVING, true, 0, false, true},
        {kAll & ~8u, PLAYER_TRANSFER_LISTED, false, 1, false, false},
        {kAll & ~(1u << 6), PLAYER_TRANSFER_LISTED, true, 2, false, false},
        {kAll & ~(1u << 6), PLAYER_TRANSFER_LISTED, true, 1, false, true},
        {kAll & ~512u, PLAYER_TRANSFER_LISTED, true, 1, true, false},
        {kAll & ~256u, PLAYER_TRANSFER_LISTED, true, 1, true, true},
        // A whole group cleared: nothing passes.
        {kAll & ~(0xFu << 4), PLAYER_TRANSFER_LISTED, true, 1, true, false},
        // Only listed and leaving players belong on the list.
        {kAll, PLAYER_TRANSFER_ON_LOAN, true, 1, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Market::PassesTransferFilter(c.dwMask, c.byType, c.bHome, c.nPosition, c.bNew), c.bShown)
            << "mask " << c.dwMask << " type " << int(c.byType) << " home " << c.bHome << " position "
            << c.nPosition << " new " << c.bNew;

    constexpr uint32_t kLoan = Market::kAllLoanFilters;
    EXPECT_TRUE(Market::PassesLoanFilter(kLoan, false, 3, true));
    EXPECT_FALSE(Market::PassesLoanFilter(kLoan & ~2u, false, 3, true));
    EXPECT_FALSE(Market::PassesLoanFilter(kLoan & ~(1u << 5), true, 3, true));
    EXPECT_FALSE(Market::PassesLoanFilter(kLoan & ~64u, true, 0, false));
    EXPECT_TRUE(Market::PassesLoanFilter(kLoan & ~128u, true, 0, false));
}

class TransferMarket : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        for (int i = 0; i < 42; ++i) {
            Database()->ProcessDay();
            Database()->DoMatchDay(Database()->GetGameDate());
        }
        OpenScreen(SCREEN_TRANSFER_MARKET);
        m_pScreen = dynamic_cast<Market*>(g_pCurrentClient);
        ASSERT_NE(m_pScreen, nullptr);
    }
    static std::string Cell(const CXListBox* pList, int nRow, int nColumn)
    {
        char szCell[LISTBOX_ROW_TEXT_SIZE];
        pList->GetColumnText(nRow, nColumn, szCell);
        return szCell;
    }
    static std::multiset<uint32_t> RowPlayers(const CXListBox* pList)
    {
        std::multiset<uint32_t> ids;
        for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
            ids.insert(static_cast<uint32_t>(pList->GetItemData(nRow)));
        return ids;
    }
    // The listed players of a market list that the screen should show.
    template <class ENTRY>
    std::multiset<uint32_t> Listed(const CXList& market)
    {
        std::multiset<uint32_t> ids;
        for (const ENTRY* pEntry : market.template Items<ENTRY>()) {
            const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(pEntry->GetPlayerID());
            if (pPlayer && !(pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING))
                ids.insert(pEntry->GetPlayerID());
        }
        return ids;
    }

    Market* m_pScreen = nullptr;
};

TEST_F(TransferMarket, ListsTheDatabasesListedPlayersAndSwitchesLists)
{
    Shoot("market_transfer.png");
    const CXListBox* pList = m_pScreen->GetMarketList();
    ASSERT_NE(pList, nullptr);
    ASSERT_EQ(m_pScreen->GetListKind(), Market::LIST_TRANSFER);
    const auto expected = Listed<CListMarketEntry>(Database()->GetListMarket());
    ASSERT_FALSE(expected.empty()) << "six weeks in, clubs have listed players";
    EXPECT_EQ(RowPlayers(pList), expected);
    // Each row's listing day, club and asking price as the database has them.
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const auto idPlayer = static_cast<ID_PLAYER>(pList->GetItemData(nRow));
        const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(idPlayer);
        const CListMarketEntry* pEntry = Database()->FindListMarketEntry(idPlayer);
        ASSERT_TRUE(pPlayer && pEntry);
        SCOPED_TRACE(pPlayer->GetShortName());
        EXPECT_EQ(Cell(pList, nRow, 0),
                  FormatPackedDate(Market::ListingDate(Database()->GetGameDate(), *pPlayer).GetValue()));
        EXPECT_EQ(Cell(pList, nRow, 2), pPlayer->m_pClub ? pPlayer->m_pClub->GetName() : "No club");
        EXPECT_EQ(Cell(pList, nRow, 8), FormatMoney(pEntry->GetAskingPrice(), 0, 0, MONEY_AS_STORED, 0, 1));
    }

    // Sorted by the price, dearest first.
    m_pScreen->GetMarketList()->Sort(8, false, LISTSORT_NUMBER, 0);
    uint32_t dwPrevious = UINT32_MAX;
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const uint32_t dwPrice =
            Database()->FindListMarketEntry(static_cast<ID_PLAYER>(pList->GetItemData(nRow)))->GetAskingPrice();
        EXPECT_LE(dwPrice, dwPrevious) << "row " << nRow;
        dwPrevious = dwPrice;
    }

    // A double click in the club column opens the player's club.
    CXListBox* pMarket = m_pScreen->GetMarketList();
    pMarket->OnMouseMove(0, 250, 8);
    pMarket->OnLButtonDblClk(0, 250, 8);
    const CPlayerDatabase* pFirst = Database()->GetPlayerFromID(static_cast<ID_PLAYER>(pMarket->GetItemData(0)));
    ASSERT_TRUE(pFirst && pFirst->m_pClub);
    EXPECT_EQ(g_pNextClient, GetScreenObject(SCREEN_CLUB_GENERAL));
    EXPECT_EQ(g_dwChangeParameter, pFirst->m_pClub->GetID());
    g_pNextClient = nullptr;
    // The details popup's browse hooks step through the list last opened.
    ASSERT_GT(pMarket->GetCount(), 1);
    EXPECT_EQ(m_pScreen->GetNextListPlayer(), pMarket->GetItemData(1));
    EXPECT_EQ(m_pScreen->GetPreviousListPlayer(), pMarket->GetItemData(0));

    // One country: only players who play there.
    auto* pCountries = dynamic_cast<CXComboBox*>(m_pScreen->FindControl(Market::ID_COUNTRY_CHOICE));
    ASSERT_NE(pCountries, nullptr);
    pCountries->SetCurSel(pCountries->FindItemData(m_pHuman->GetCountry()->GetID()));
    ASSERT_EQ(m_pScreen->GetCountry(), m_pHuman->GetCountry());
    int nInCountry = 0;
    for (uint32_t id : expected)
        nInCountry += Database()->GetPlayerFromID(id)->m_pCountry == m_pHuman->GetCountry();
    EXPECT_EQ(m_pScreen->GetMarketList()->GetCount(), nInCountry);
    pCountries->SetCurSel(0);
    EXPECT_EQ(m_pScreen->GetMarketList()->GetCount(), static_cast<int>(expected.size())) << "every country again";

    // A position group with nothing let through empties the list.
    m_pScreen->SetFilter(Market::kAllTransferFilters & ~(0xFu << 4));
    EXPECT_EQ(m_pScreen->GetMarketList()->GetCount(), 0);
    m_pScreen->SetFilter(Market::kAllTransferFilters);

    // The loan list from the list choice.
    auto* pKinds = dynamic_cast<CXComboBox*>(m_pScreen->FindControl(Market::ID_KIND_CHOICE));
    ASSERT_NE(pKinds, nullptr);
    pKinds->SetCurSel(Market::LIST_LOAN);
    ASSERT_EQ(m_pScreen->GetListKind(), Market::LIST_LOAN);
    const auto loans = Listed<CLoanMarketEntry>(Database()->GetLoanMarket());
    EXPECT_FALSE(loans.empty());
    EXPECT_EQ(RowPlayers(m_pScreen->GetMarketList()), loans);
    EXPECT_EQ(m_pScreen->GetMarketList()->GetColumnCount(), 8) << "no price on the loan list";
    Shoot("market_loan.png");
}

TEST_F(TransferMarket, NewListingsSinceTheLastVisitAndTheShortlistKept)
{
    // Leaving stamps the visit; a week later only the new listings are new.
    ASSERT_TRUE(m_pHuman->GetShortlist().IsEmpty());
    g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, true);
    m_game.Update();
    EXPECT_EQ(m_pHuman->GetLastMarketVisit(Market::LIST_TRANSFER), Database()->GetGameDate());
    for (int i = 0; i < 7; ++i) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    // A listed player from another club goes on the shortlist.
    CPlayerDatabase* pWanted = nullptr;
    for (const CListMarketEntry* pEntry : Database()->GetListMarket().Items<CListMarketEntry>()) {
        CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(pEntry->GetPlayerID());
        if (pPlayer && pPlayer->m_pClub != m_pClub && !(pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING))
            pWanted = pPlayer;
    }
    ASSERT_NE(pWanted, nullptr);
    m_pHuman->AddToShortlist(pWanted);
    OpenScreen(SCREEN_TRANSFER_MARKET);
    m_pScreen = dynamic_cast<Market*>(g_pCurrentClient);
    ASSERT_NE(m_pScreen, nullptr);

    const CDate visit = m_pHuman->GetLastMarketVisit(Market::LIST_TRANSFER);
    std::multiset<uint32_t> fresh;
    for (uint32_t id : Listed<CListMarketEntry>(Database()->GetListMarket()))
        if (Market::ListingDate(Database()->GetGameDate(), *Database()->GetPlayerFromID(id)) >= visit)
            fresh.insert(id);
    m_pScreen->SetFilter(Market::kAllTransferFilters & ~256u);
    EXPECT_EQ(RowPlayers(m_pScreen->GetMarketList()), fresh);
    m_pScreen->SetFilter(Market::kAllTransferFilters);

    // The shortlist row: the player, the day he was added, his asking price.
    const CXListBox* pShort = m_pScreen->GetShortlist();
    ASSERT_EQ(pShort->GetCount(), 1);
    EXPECT_EQ(pShort->GetItemData(0), pWanted->m_idPerson);
    EXPECT_EQ(Cell(pShort, 0, 0), FormatPackedDate(Database()->GetGameDate().GetValue()));
    EXPECT_EQ(Cell(pShort, 0, 7), FormatMoney(pWanted->m_dwAskingPrice, 0, 0, MONEY_AS_STORED, 0, 1));
    Shoot("market_shortlist.png");

    // Saved and loaded, he is still on it.
    const ID_PLAYER idWanted = pWanted->m_idPerson;
    ASSERT_TRUE(m_game.SaveGame("Market")) << m_game.GetFileError();
    ASSERT_TRUE(m_game.LoadGame("Market", false)) << m_game.GetFileError();
    ASSERT_TRUE(Database()->GetCurrentSaveGame()->IsShortlisted(idWanted));
    OpenScreen(SCREEN_TRANSFER_MARKET);
    m_pScreen = dynamic_cast<Market*>(g_pCurrentClient);
    ASSERT_NE(m_pScreen, nullptr);
    ASSERT_EQ(m_pScreen->GetShortlist()->GetCount(), 1);
    EXPECT_EQ(m_pScreen->GetShortlist()->GetItemData(0), idWanted);
}

}  // namespace
