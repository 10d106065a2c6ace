// The merchandise and catering screen over a running game: a typed price is
// the human's and sells at the next home match, the figures shown are the
// books', undo walks the changes back, and the pricing choice needs a
// commercial manager.
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "screens/CClientFinanceMerchandiseCatering.h"
#include "season/CSaveGame.h"
#include "shell/CGamePopup.h"
#include "shell/FormattingFunctions.h"
#include "xframework/CXButton.h"
#include "xframework/CXEditPopup.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Screen = CClientFinanceMerchandiseCatering;

class MerchandiseCatering : public ScreenGame {
protected:
    Screen& TheScreen() { return GetFinanceMerchandiseCateringScreen(); }
    void Open()
    {
        g_pNavigationBar->OnClientChange(SCREEN_FINANCE_MERCHANDISE, true);
        m_game.Update();
        m_game.Update();
        ASSERT_EQ(g_pCurrentClient, &TheScreen());
    }
    bool Clickable(uint32_t dwID)
    {
        const auto* pButton = dynamic_cast<CXButton*>(TheScreen().FindControl(dwID));
        return pButton && pButton->m_bVisible && !pButton->m_bDisabled;
    }
    std::string Cell(int nRow, int nColumn)
    {
        char szText[LISTBOX_ROW_TEXT_SIZE] = {};
        TheScreen().GetList()->GetColumnText(nRow, nColumn, szText);
        return szText;
    }
    int RowOf(int nProduct) { return TheScreen().GetList()->FindItemData(static_cast<uint32_t>(nProduct)); }
    static std::string Price(int32_t nHundredths) { return FormatMoney(nHundredths, 1, 1, MONEY_AS_STORED, 0, 1); }
    static std::string Profit(int32_t nHundredths) { return FormatMoney(nHundredths, 1, 0, MONEY_AS_STORED, 0, 1); }
    void Answer(uint32_t dwButton, int nExpectedItem)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_TRUE(pBox && pBox->IsOnStack());
        EXPECT_EQ(pBox->GetTextItem(), nExpectedItem);
        pBox->OnClicked(dwButton);
        m_game.Update();
        m_game.Update();
    }
};

constexpr int kBurger = 11;
constexpr int kBurgerCategory = 39;

TEST_F(MerchandiseCatering, ATypedPriceSellsAtTheNextHomeMatchAndTheRowShowsTheBooks)
{
    Open();
    Shoot("merchandise");
    TheScreen().SetFamily(Screen::FAMILY_CATERING, true);
    const int nRow = RowOf(kBurger);
    ASSERT_GE(nRow, 0) << "the burger is a catering product";
    Human().SetDelegation(SAVEGAME_DELEGATION_PRODUCT_PRICES, 2);
    ASSERT_TRUE(TheScreen().SetTypedPrice(nRow, Price(455).c_str()));
    EXPECT_EQ(Human().GetTicketField(kBurger, TICKET_FIELD_PRICE), 455);
    EXPECT_EQ(Human().GetDelegation(SAVEGAME_DELEGATION_PRODUCT_PRICES), 0) << "a typed price is kept by hand";
    EXPECT_EQ(Cell(nRow, Screen::COLUMN_PRICE), Price(455));
    const int32_t nCost = Human().GetTicketField(kBurger, TICKET_FIELD_COST);
    EXPECT_EQ(Cell(nRow, Screen::COLUMN_MARGIN), Price(455 - nCost));
    Shoot("catering_typed_price");

    // Day by day until the club has sold burgers at a home match.
    bool bSold = false;
    for (int nDay = 0; nDay < 120 && !bSold; ++nDay) {
        m_pWorld->ProcessDay();
        // The starting ground has no shops or stalls: the club is given some.
        Human().SetTicketField(kBurger, TICKET_FIELD_STOCK, 5000);
        Human().SetTicketField(0, TICKET_FIELD_STOCK, 5000);
        const int32_t nBefore = Human().GetMonthEntry(kBurgerCategory).nIncome;
        m_pWorld->DoMatchDay(m_pWorld->GetGameDate());
        const int32_t nIncome = Human().GetMonthEntry(kBurgerCategory).nIncome - nBefore;
        if (nIncome == 0)
            continue;
        bSold = true;
        const int32_t nBuyers = Human().GetTicketField(kBurger, TICKET_FIELD_LAST_BUYERS);
        ASSERT_GT(nBuyers, 0);
        EXPECT_EQ(nIncome, static_cast<int32_t>(455 * 0.01 * nBuyers)) << "sold at the typed price";
        EXPECT_EQ(Human().GetTicketField(kBurger, TICKET_FIELD_LAST_PROFIT), (455 - nCost) * nBuyers);
    }
    ASSERT_TRUE(bSold) << "no home match in 120 days";
    EXPECT_EQ(Human().GetTicketField(kBurger, TICKET_FIELD_PRICE), 455) << "nobody repriced it";

    Open();
    TheScreen().SetFamily(Screen::FAMILY_CATERING, false);
    const int nShown = RowOf(kBurger);
    EXPECT_EQ(Cell(nShown, Screen::COLUMN_PRICE), Price(455));
    EXPECT_EQ(Cell(nShown, 5), FormatThousands(Human().GetTicketField(kBurger, TICKET_FIELD_LAST_BUYERS)));
    EXPECT_EQ(Cell(nShown, 6), Profit(Human().GetTicketField(kBurger, TICKET_FIELD_LAST_PROFIT)));
    EXPECT_EQ(Cell(nShown, 7), FormatThousands(Human().GetTicketField(kBurger, TICKET_FIELD_SEASON_BUYERS)));
    EXPECT_EQ(Cell(nShown, 8), Profit(Human().GetTicketField(kBurger, TICKET_FIELD_SEASON_PROFIT)));
    Shoot("catering_after_match");
    TheScreen().SetFamily(Screen::FAMILY_MERCHANDISE, false);
    Shoot("merchandise_weekly_graph");
    dynamic_cast<CXButton*>(TheScreen().FindControl(Screen::ID_PRICE_LINE))->SetChecked(0);
    TheScreen().OnClicked(Screen::ID_PRICE_LINE);
    EXPECT_TRUE(TheScreen().GetGraph()->GetSeries(Screen::LINE_PRICE).bHidden);
    EXPECT_FALSE(TheScreen().GetGraph()->GetSeries(Screen::LINE_SOLD).bHidden);
    EXPECT_FALSE(TheScreen().GetGraph()->GetSeries(Screen::LINE_SOLD).values.empty()) << "the shirts sold by the week";
}

TEST_F(MerchandiseCatering, TextThatIsNoPriceIsRefusedAndChangesNothing)
{
    Open();
    const int32_t nPrice = Human().GetTicketField(0, TICKET_FIELD_PRICE);
    for (const char* pszText : {"", "abc", "-5", "99999999999"}) {
        EXPECT_FALSE(TheScreen().SetTypedPrice(0, pszText)) << '"' << pszText << '"';
        EXPECT_EQ(Human().GetTicketField(0, TICKET_FIELD_PRICE), nPrice) << '"' << pszText << '"';
    }
    EXPECT_EQ(TheScreen().GetUndoCount(), 0u);
    EXPECT_FALSE(Clickable(Screen::ID_UNDO));
}

TEST_F(MerchandiseCatering, ThePriceCellEditsInPlaceAndAnUntouchedEditKeepsThePrice)
{
    Open();
    CXListBox& list = *TheScreen().GetList();
    // A price wider than five characters, as dear shirts are.
    Human().SetTicketField(0, TICKET_FIELD_PRICE, 11235);
    TheScreen().SetFamily(Screen::FAMILY_MERCHANDISE, false);
    const int x = list.m_nLeft + list.GetColumns()[Screen::COLUMN_PRICE].nLeft + 10;
    const int y = list.m_nTop + list.m_nRowHeight / 2;
    auto edit = [&](const char* pszTyped) {
        TheScreen().OnLButtonDblClk(0, x, y);
        CXEditPopup* pPopup = list.CellEditPopup();
        ASSERT_TRUE(pPopup && pPopup->IsOnStack() && pPopup->Edit());
        if (pszTyped)
            pPopup->Edit()->SetText("%s", pszTyped);
        pPopup->Edit()->OnChar(plat::VK_RETURN, 1, 0);
        m_game.Update();
    };
    edit(nullptr);
    EXPECT_EQ(Human().GetTicketField(0, TICKET_FIELD_PRICE), 11235) << "accepted as it stood";
    edit("50");
    EXPECT_EQ(Human().GetTicketField(0, TICKET_FIELD_PRICE), 5000);
    EXPECT_EQ(Cell(0, Screen::COLUMN_PRICE), Price(5000));
}

TEST_F(MerchandiseCatering, UndoTakesBackPricesFamilyAndRowInTurn)
{
    Open();
    EXPECT_FALSE(Clickable(Screen::ID_UNDO));
    EXPECT_FALSE(Clickable(Screen::ID_UNDO_ALL));
    const int32_t nShirt = Human().GetTicketField(0, TICKET_FIELD_PRICE);
    ASSERT_TRUE(TheScreen().SetTypedPrice(0, Price(nShirt + 1000).c_str()));
    EXPECT_TRUE(Clickable(Screen::ID_UNDO));
    EXPECT_TRUE(Clickable(Screen::ID_UNDO_ALL));
    // The row chosen in merchandise, then the family changed.
    TheScreen().GetList()->SetSelection(3);
    TheScreen().OnSelChange(Screen::ID_LIST);
    TheScreen().SetFamily(Screen::FAMILY_CATERING, true);
    ASSERT_EQ(TheScreen().GetFamily(), Screen::FAMILY_CATERING);

    TheScreen().Undo();
    EXPECT_EQ(TheScreen().GetFamily(), Screen::FAMILY_MERCHANDISE);
    EXPECT_EQ(TheScreen().GetSelectedProduct(), 3) << "the row chosen before the family change";
    TheScreen().Undo();
    EXPECT_EQ(TheScreen().GetSelectedProduct(), 0);
    EXPECT_EQ(Human().GetTicketField(0, TICKET_FIELD_PRICE), nShirt + 1000);
    TheScreen().Undo();
    EXPECT_EQ(Human().GetTicketField(0, TICKET_FIELD_PRICE), nShirt);
    EXPECT_EQ(Cell(0, Screen::COLUMN_PRICE), Price(nShirt));
    EXPECT_EQ(TheScreen().GetUndoCount(), 0u);
    EXPECT_FALSE(Clickable(Screen::ID_UNDO)) << "nothing left to undo";
    EXPECT_FALSE(Clickable(Screen::ID_UNDO_ALL));

    // Undo all asks first.
    ASSERT_TRUE(TheScreen().SetTypedPrice(1, Price(111).c_str()));
    ASSERT_TRUE(TheScreen().SetTypedPrice(1, Price(222).c_str()));
    TheScreen().OnClicked(Screen::ID_UNDO_ALL);
    Answer(Screen::ID_CONFIRM, Screen::MESSAGE_UNDO_ALL);
    EXPECT_EQ(TheScreen().GetUndoCount(), 0u);
    EXPECT_NE(Human().GetTicketField(1, TICKET_FIELD_PRICE), 111);
    EXPECT_NE(Human().GetTicketField(1, TICKET_FIELD_PRICE), 222);
}

TEST_F(MerchandiseCatering, OnlyACommercialManagerKeepsThePrices)
{
    CClubDatabase& club = *Human().GetClub();
    club.m_awStaffSlots[3][0] = 0;
    Open();
    EXPECT_FALSE(Clickable(Screen::ID_PRICING)) << "no commercial manager";

    club.m_awStaffSlots[3][0] = 1;
    Open();
    ASSERT_TRUE(Clickable(Screen::ID_PRICING));
    for (int r = 0; r < CLUB_FACILITY_ROWS; ++r)
        Human().SetTicketField(r, TICKET_FIELD_PRICE, 1);
    TheScreen().OnClicked(Screen::ID_PRICING);
    Shoot("merchandise_pricing_question");
    Answer(Screen::ID_PRICING_STANDARD, Screen::MESSAGE_PRICING);
    EXPECT_EQ(Human().GetDelegation(SAVEGAME_DELEGATION_PRODUCT_PRICES), 1);
    EXPECT_GT(Human().GetTicketField(0, TICKET_FIELD_PRICE), 1) << "the standard prices were set";
    EXPECT_EQ(Cell(0, Screen::COLUMN_PRICE), Price(Human().GetTicketField(0, TICKET_FIELD_PRICE)));
    EXPECT_FALSE(Clickable(Screen::ID_PRICING)) << "the manager keeps them now";

    // The daily upkeep keeps them too.
    Human().SetTicketField(2, TICKET_FIELD_PRICE, 1);
    Human().DoDailyUpdate();
    EXPECT_GT(Human().GetTicketField(2, TICKET_FIELD_PRICE), 1);
}

TEST_F(MerchandiseCatering, WeeklySalesAreReadFromWholeRecordsOnly)
{
    const std::string name = "TempWeeks.wmh";
    {
        std::ofstream file(std::filesystem::current_path() / name, std::ios::binary);
        // Two whole weeks and half of a third.
        for (int nWeek = 0; nWeek < 2; ++nWeek)
            for (int e = 0; e < CLUB_FACILITY_ROWS; ++e)
                for (int32_t n : {e == 4 ? 10 + nWeek : 0, e == 4 ? 700 : 0, e == 4 ? 950 : 0})
                    file.write(reinterpret_cast<const char*>(&n), 4);
        file.write(std::string(100, '\x7f').data(), 100);
    }
    const auto weeks = Screen::ReadWeeklySales(name.c_str(), 4);
    ASSERT_EQ(weeks.size(), 2u);
    EXPECT_EQ(weeks[0].nUnits, 10);
    EXPECT_EQ(weeks[1].nUnits, 11);
    EXPECT_EQ(weeks[1].nProfit, 700);
    EXPECT_EQ(weeks[1].nPrice, 950);
    EXPECT_TRUE(Screen::ReadWeeklySales("NoSuchFile.wmh", 4).empty());
    EXPECT_TRUE(Screen::ReadWeeklySales(name.c_str(), CLUB_FACILITY_ROWS).empty());
}

}  // namespace
