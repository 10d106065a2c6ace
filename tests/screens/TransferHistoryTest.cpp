// The transfer history on a game in play: the season's moves of every
// division of the human's country (a move between two of its divisions
// once), the filter masks, the club columns opening the club, and closed
// seasons read back from the divisions' archives.
#include "ScreenInPlay.h"

#include "screens/CClientTransferHistory.h"
#include "popups/CPopupPlayerDetails.h"
#include "shell/CGameTitlebar.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using History = CClientTransferHistory;

std::string Trim(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    return text;
}

class TransferHistory : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        m_pCountry = m_pClub->m_pCountry;
        m_pHome = m_pClub->m_pDivision;
        for (CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
            if (pDivision != m_pHome && pDivision->GetClubCount() > 2 && !m_pOther)
                m_pOther = pDivision;
        ASSERT_NE(m_pOther, nullptr);
    }
    CClubDatabase* ClubOf(CDivisionDatabase* pDivision, int nIndex)
    {
        int i = 0;
        for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            if (pClub != m_pClub && i++ == nIndex)
                return pClub;
        return nullptr;
    }
    static CPlayerDatabase* PlayerOf(CClubDatabase* pClub, int nIndex)
    {
        int i = 0;
        for (CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            if (i++ == nIndex)
                return pPlayer;
        return nullptr;
    }
    // A completed transfer as the market records it: in the divisions of
    // both clubs.
    void RecordTransfer(const CPlayerDatabase* pPlayer, const CClubDatabase* pFrom, const CClubDatabase* pTo,
                        uint32_t dwFee, uint8_t byListing, const CDate& date)
    {
        TRANSFERHISTORYVALUES values;
        values.dwValue0 = pPlayer->m_idPerson;
        values.dwValue1 = dwFee;
        values.wValue0 = pFrom->m_wClubId;
        values.wValue1 = pTo->m_wClubId;
        values.date = date;
        values.byValue = byListing;
        pFrom->m_pDivision->AddTransferRecord(values);
        if (pTo->m_pDivision != pFrom->m_pDivision)
            pTo->m_pDivision->AddTransferRecord(values);
    }
    History& Screen()
    {
        auto* pScreen = dynamic_cast<History*>(g_pCurrentClient);
        EXPECT_NE(pScreen, nullptr);
        return *pScreen;
    }
    // The rows naming the player, each as its cells.
    std::vector<std::vector<std::string>> RowsOf(const CPlayerDatabase* pPlayer)
    {
        std::vector<std::vector<std::string>> rows;
        const CXListBox* pList = Screen().GetList();
        char szCell[LISTBOX_ROW_TEXT_SIZE];
        for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
            std::vector<std::string> cells;
            for (int c = 0; c < pList->GetColumnCount(); ++c) {
                pList->GetColumnText(nRow, c, szCell);
                cells.push_back(Trim(szCell));
            }
            if (cells[1] == pPlayer->GetShortName())
                rows.push_back(cells);
        }
        return rows;
    }
    // The seasons the title bar offers.
    static std::vector<std::string> SeasonRows()
    {
        std::vector<std::string> rows;
        const CXComboBox* pBox = g_pTitlebar->GetSelector(6);
        char szCell[LISTBOX_ROW_TEXT_SIZE];
        for (int nRow = 0; pBox && nRow < pBox->GetCount(); ++nRow) {
            pBox->GetColumnText(nRow, 0, szCell);
            rows.push_back(Trim(szCell));
        }
        return rows;
    }

    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pHome = nullptr;
    CDivisionDatabase* m_pOther = nullptr;
};

TEST(TransferHistoryMasks, EveryGroupCountsButTheLastVisit)
{
    const uint32_t kAll = 1023, kLoans = 255;
    const struct {
        uint32_t dwMask;
        uint8_t byListing;
        bool bHome;
        int nPosition;
        bool bShown;
    } cases[] = {
        {kAll, 0, true, 0, true},  // bought without a listing
        {kAll, PLAYER_TRANSFER_LISTED, false, 3, true},
        {kAll & ~1u, 0, true, 0, false},
        {kAll & ~1u, PLAYER_TRANSFER_LEAVING, true, 0, true},
        {kAll & ~2u, PLAYER_TRANSFER_LEAVING, true, 0, false},
        {kAll & ~4u, 0, true, 1, false},
        {kAll & ~8u, 0, true, 1, true},
        {kAll & ~(1u << 6), 0, true, 2, false},
        {kAll & ~0x300u, 0, true, 2, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(History::PassesTransferMask(c.dwMask, c.byListing, c.bHome, c.nPosition), c.bShown)
            << "mask " << c.dwMask << " listing " << int(c.byListing) << " position " << c.nPosition;
    EXPECT_TRUE(History::PassesLoanMask(kLoans & ~0xC0u, false, 3));
    EXPECT_FALSE(History::PassesLoanMask(kLoans & ~2u, false, 3));
    EXPECT_FALSE(History::PassesLoanMask(kLoans & ~(1u << 5), true, 3));
}

TEST_F(TransferHistory, ListsTheCountrysMovesOfTheSeasonOnce)
{
    CClubDatabase* pSeller = ClubOf(m_pOther, 0);
    CClubDatabase* pLocal = ClubOf(m_pHome, 0);
    CClubDatabase* pLocal2 = ClubOf(m_pHome, 1);
    ASSERT_TRUE(pSeller && pLocal && pLocal2);
    const CPlayerDatabase* pBought = PlayerOf(pSeller, 0);
    const CPlayerDatabase* pFree = PlayerOf(pLocal, 0);
    const CPlayerDatabase* pLoaned = PlayerOf(pSeller, 1);
    const CDate today = Database()->GetGameDate();
    RecordTransfer(pBought, pSeller, m_pClub, 250000, 0, today);
    RecordTransfer(pFree, pLocal, pLocal2, 0, PLAYER_TRANSFER_LEAVING, today);
    LOANHISTORYVALUES loan;
    loan.dwValue = pLoaned->m_idPerson;
    loan.awValues[0] = pSeller->m_wClubId;
    loan.awValues[1] = m_pClub->m_wClubId;
    loan.awValues[2] = 30;
    loan.awValues[3] = static_cast<uint16_t>(today.GetYear());
    loan.abyValues[0] = static_cast<uint8_t>(today.GetDay());
    loan.abyValues[1] = static_cast<uint8_t>(today.GetMonth());
    m_pOther->AddLoanRecord(loan);
    m_pHome->AddLoanRecord(loan);

    OpenScreen(SCREEN_TRANSFER_HISTORY);
    Shoot("transfer_history.png");
    History& screen = Screen();
    EXPECT_EQ(screen.GetCountry(), m_pCountry);
    const CXComboBox* pCountries = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_COUNTRY);
    EXPECT_EQ(pCountries->GetItemData(pCountries->GetFirstVisible()), m_pCountry->GetID()) << "the title bar shows it";
    EXPECT_EQ(screen.GetKind(), History::KIND_TRANSFERS);
    EXPECT_EQ(screen.GetSeason(), screen.GetCurrentSeason());
    EXPECT_EQ(SeasonRows().back(), std::to_string(today.GetYear()) + " / " + std::to_string(today.GetYear() + 1));

    const auto bought = RowsOf(pBought);
    ASSERT_EQ(bought.size(), 1u) << "a move between two divisions of the country is listed once";
    EXPECT_EQ(bought[0][0], FormatPackedDate(today.GetValue()));
    EXPECT_EQ(bought[0][2], m_pClub->GetName());
    EXPECT_EQ(bought[0][3], pSeller->GetName());
    EXPECT_EQ(bought[0][5], Trim(FormatMoney(250000.0, 0, 0, MONEY_AS_STORED, 0, 1)));
    ASSERT_EQ(RowsOf(pFree).size(), 1u);
    const int nRows = screen.GetList()->GetCount();

    // The filter: the moves for a fee, the free ones, his position.
    screen.SetFilter(1023 & ~1u);
    EXPECT_TRUE(RowsOf(pBought).empty());
    EXPECT_EQ(RowsOf(pFree).size(), 1u);
    screen.SetFilter(1023 & ~2u);
    EXPECT_EQ(RowsOf(pBought).size(), 1u);
    EXPECT_TRUE(RowsOf(pFree).empty());
    screen.SetFilter(1023 & ~(1u << (4 + pBought->m_byPosition)));
    EXPECT_TRUE(RowsOf(pBought).empty());
    screen.SetFilter(1023 & ~0x300u);
    EXPECT_EQ(screen.GetList()->GetCount(), nRows) << "the market's last visit does not count here";

    // The loans, chosen on the title bar.
    CXComboBox* pKinds = g_pTitlebar->GetSelector(21);
    ASSERT_NE(pKinds, nullptr);
    pKinds->SetCurSel(pKinds->FindItemData(History::KIND_LOANS));
    ASSERT_EQ(screen.GetKind(), History::KIND_LOANS);
    EXPECT_EQ(pKinds->GetFirstVisible(), pKinds->GetSelection());
    Shoot("transfer_history_loans.png");
    const auto loaned = RowsOf(pLoaned);
    ASSERT_EQ(loaned.size(), 1u);
    EXPECT_EQ(loaned[0][2], m_pClub->GetName());
    EXPECT_EQ(loaned[0][3], pSeller->GetName());
    EXPECT_EQ(loaned[0][5], "30");
    EXPECT_EQ(screen.GetCurrentListPlayer(), pLoaned->m_idPerson) << "the browse hooks name the row's player";

    // A double click on the club he joined opens that club.
    CXListBox* pList = screen.GetList();
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        if (screen.GetLoans()[static_cast<size_t>(pList->GetItemData(nRow))].dwValue == pLoaned->m_idPerson)
            pList->SetSelection(nRow);
    const int nFirst = pList->GetFirstVisible();
    // On the player's name it opens his details.
    pList->OnMouseMove(0, 100, (pList->GetSelection() - nFirst) * 16 + 8);
    ASSERT_EQ(pList->HoverColumn(), 1);
    screen.OnDoubleClicked(History::ID_LIST);
    ASSERT_EQ(CXPopup::TopPopup(), &GetPlayerDetailsPopup());
    EXPECT_EQ(GetPlayerDetailsPopup().GetPlayer(), pLoaned);
    GetPlayerDetailsPopup().Close();
    pList->OnMouseMove(0, 200, (pList->GetSelection() - nFirst) * 16 + 8);
    ASSERT_EQ(pList->HoverColumn(), 2);
    screen.OnDoubleClicked(History::ID_LIST);
    m_game.Update();
    EXPECT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_CLUB_GENERAL));
    EXPECT_EQ(g_pCurrentClient->m_dwChangeParameter, m_pClub->GetID());
}

TEST_F(TransferHistory, ClosedSeasonsComeFromTheArchives)
{
    Database()->SetGameSetting(0, 1);
    CClubDatabase* pSeller = ClubOf(m_pOther, 0);
    ASSERT_NE(pSeller, nullptr);
    const CPlayerDatabase* pFirst = PlayerOf(pSeller, 0);
    const CPlayerDatabase* pSecond = PlayerOf(pSeller, 1);
    const CPlayerDatabase* pThird = PlayerOf(pSeller, 2);
    auto closeSeason = [&](int nNextYear) {
        for (CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
            ASSERT_TRUE(pDivision->ArchiveTransfers(m_pCountry->GetSeasonIndex(), m_pCountry->GetSeasonsKept()));
        m_pCountry->SetSeasonDates(nNextYear);
    };
    RecordTransfer(pFirst, pSeller, m_pClub, 1000, 0, CDate(1999, 8, 2));
    closeSeason(2000);
    RecordTransfer(pSecond, pSeller, m_pClub, 2000, 0, CDate(2000, 8, 2));

    OpenScreen(SCREEN_TRANSFER_HISTORY);
    History& screen = Screen();
    EXPECT_EQ(screen.GetCurrentSeason(), 1);
    EXPECT_EQ(SeasonRows(), (std::vector<std::string>{"1999 / 2000", "2000 / 2001"}));
    EXPECT_EQ(RowsOf(pSecond).size(), 1u);
    EXPECT_TRUE(RowsOf(pFirst).empty());
    // The older season, chosen on the title bar.
    CXComboBox* pSeasons = g_pTitlebar->GetSelector(6);
    pSeasons->SetCurSel(0);
    EXPECT_EQ(screen.GetSeason(), 0);
    Shoot("transfer_history_archived.png");
    EXPECT_EQ(RowsOf(pFirst).size(), 1u);
    EXPECT_TRUE(RowsOf(pSecond).empty());

    // A season further on, one season kept: the oldest choice is the
    // current one less the game's length, the first block of the archive.
    closeSeason(2001);
    RecordTransfer(pThird, pSeller, m_pClub, 3000, 0, CDate(2001, 8, 2));
    OpenScreen(SCREEN_TRANSFER_HISTORY);
    EXPECT_EQ(SeasonRows(), (std::vector<std::string>{"2000 / 2001", "2001 / 2002"}));
    EXPECT_EQ(RowsOf(pThird).size(), 1u);
    Screen().ShowSeason(1);
    EXPECT_EQ(RowsOf(pSecond).size(), 1u);
    EXPECT_TRUE(RowsOf(pFirst).empty());
    Screen().ShowSeason(0);
    EXPECT_EQ(Screen().GetSeason(), 1) << "a season the archives no longer keep cannot be chosen";
}

}  // namespace
