// The match-day money popup: a home match of the human club shows its
// record's sales and services with their totals and the day's result; a
// match without the club's parts shows nothing but zeros.
#include "MatchesPlayed.h"

#include "popups/CPopupMatchdayFinance.h"
#include "shell/FormattingFunctions.h"

#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <cstring>
#include <string>

namespace {

std::string Cell(const CXListBox* pList, int nRow, int nColumn)
{
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    pList->GetColumnText(nRow, nColumn, szCell);
    return szCell;
}

std::string Money(int64_t nAmount) { return FormatMoney(static_cast<double>(nAmount), 0, 0, MONEY_AS_STORED, 0, 1); }

class MatchdayFinance : public MatchesPlayed {
protected:
    std::string Label(uint32_t dwID)
    {
        const auto* pLabel = dynamic_cast<const CXStatic*>(m_popup.FindControl(dwID));
        return pLabel ? pLabel->Text() : "(no label)";
    }
    const CXListBox* List(uint32_t dwID) { return dynamic_cast<const CXListBox*>(m_popup.FindControl(dwID)); }

    CPopupMatchdayFinance m_popup;
};

TEST(MatchdayFinanceRounding, HundredthsRoundToWholeUnitsHalvesUp)
{
    const struct {
        int64_t nHundredths, nUnits;
    } cases[] = {{0, 0}, {49, 0}, {50, 1}, {149, 1}, {150, 2}, {-49, 0}, {-50, 0}, {-51, -1}, {-150, -1}, {-151, -2}};
    for (const auto& c : cases)
        EXPECT_EQ(CPopupMatchdayFinance::RoundHundredths(c.nHundredths), c.nUnits) << c.nHundredths;
}

TEST_F(MatchdayFinance, AHomeMatchShowsItsRecordsMoneyAndTheDaysResult)
{
    MATCHHISTORYHEADER header;
    const MATCHRECORDBODY body = Record(m_pHomeMatch->GetFixtureID(), header);
    ASSERT_TRUE(header.byOptionalParts & MATCHPART_CLUB_MATCH);
    ASSERT_TRUE(m_popup.Show(m_pHomeMatch->GetFixtureID()));
    Shoot("matchday_finance_home.png");

    const CXListBox* pIncome = List(CPopupMatchdayFinance::ID_INCOME_LIST);
    const CXListBox* pCosts = List(CPopupMatchdayFinance::ID_EXPENSE_LIST);
    ASSERT_NE(pIncome, nullptr);
    ASSERT_NE(pCosts, nullptr);
    ASSERT_EQ(pIncome->GetCount(), MATCHDAY_FACILITY_ROWS);
    ASSERT_EQ(pCosts->GetCount(), MATCHDAY_COST_ROWS);
    int64_t nIncome = 0, nCosts = 0;
    for (int i = 0; i < MATCHDAY_FACILITY_ROWS; ++i) {
        const int64_t n = CPopupMatchdayFinance::RoundHundredths(body.Finance.anFacilityProfit[i]);
        nIncome += n;
        EXPECT_EQ(Cell(pIncome, i, 1), Money(n)) << "sales row " << i;
        EXPECT_FALSE(Cell(pIncome, i, 0).empty()) << "sales row " << i << " is named";
    }
    for (int i = 0; i < MATCHDAY_COST_ROWS; ++i) {
        nCosts += body.Finance.anCosts[i];
        EXPECT_EQ(Cell(pCosts, i, 1), Money(body.Finance.anCosts[i])) << "service row " << i;
        EXPECT_FALSE(Cell(pCosts, i, 0).empty()) << "service row " << i << " is named";
    }
    EXPECT_GT(body.Finance.nGate, 0);
    EXPECT_GT(nIncome, 0);
    EXPECT_EQ(Label(CPopupMatchdayFinance::ID_GATE), Money(body.Finance.nGate));
    EXPECT_EQ(Label(CPopupMatchdayFinance::ID_INCOME_TOTAL), Money(nIncome));
    EXPECT_EQ(Label(CPopupMatchdayFinance::ID_EXPENSE_TOTAL), Money(nCosts));
    EXPECT_EQ(Label(CPopupMatchdayFinance::ID_RESULT), Money(body.Finance.nGate - nCosts + nIncome));

    m_popup.OnClicked(CPopupMatchdayFinance::kOkButtonID);
    EXPECT_FALSE(m_popup.IsOnStack());
}

TEST_F(MatchdayFinance, AMatchWithoutTheClubsPartsOrWithoutARecordShowsZeros)
{
    MATCHHISTORYHEADER header;
    Record(m_pAwayMatch->GetFixtureID(), header);
    ASSERT_EQ(header.byOptionalParts, 0) << "an away match carries none of the club's parts";
    for (uint32_t dwMatchID : {m_pAwayMatch->GetFixtureID(), 0x7FFFFFF0u}) {
        ASSERT_TRUE(m_popup.Show(dwMatchID));
        const CXListBox* pIncome = List(CPopupMatchdayFinance::ID_INCOME_LIST);
        ASSERT_EQ(pIncome->GetCount(), MATCHDAY_FACILITY_ROWS);
        for (int i = 0; i < MATCHDAY_FACILITY_ROWS; ++i)
            EXPECT_EQ(Cell(pIncome, i, 1), Money(0));
        for (uint32_t dwID : {CPopupMatchdayFinance::ID_GATE, CPopupMatchdayFinance::ID_INCOME_TOTAL,
                              CPopupMatchdayFinance::ID_EXPENSE_TOTAL, CPopupMatchdayFinance::ID_RESULT})
            EXPECT_EQ(Label(dwID), Money(0)) << dwID;
        m_popup.Close();
    }
}

}  // namespace

#include "screens/CClientFinanceCurrent.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenIDs.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXTreeView.h"

namespace {

// The current account names a match day's payments by the opponent and
// opens that match day's money on a double click.
TEST_F(MatchdayFinance, TheCurrentAccountOpensAMatchDaysMoneyFromItsPayments)
{
    OpenScreen(SCREEN_FINANCE_CURRENT);
    CClientFinanceCurrent& screen = GetFinanceCurrentScreen();
    CXComboBox* pMonths = g_pTitlebar->GetSelector(7);
    ASSERT_NE(pMonths, nullptr);
    CXTreeView* pTree = screen.GetTree();
    ASSERT_NE(pTree, nullptr);
    // The running month first, then the closed ones back to the home match.
    int nItem = -1;
    for (int nRow = pMonths->GetCount() - 1; nRow >= 0 && nItem < 0; --nRow) {
        pMonths->SetCurSel(nRow);
        screen.OnSelChange(CClientFinanceCurrent::ID_MONTH_LIST);
        for (int i = 0; i < pTree->GetCount() && nItem < 0; ++i) {
            uint32_t dwMatchID = 0;
            if (screen.FindMatchOfItem(pTree->GetItemAt(i)->nID, dwMatchID) &&
                dwMatchID == m_pHomeMatch->GetFixtureID())
                nItem = pTree->GetItemAt(i)->nID;
        }
    }
    ASSERT_GE(nItem, 0) << "no payment of the home match";
    const CClubDatabase* pOpponent = Database()->GetClubFromID(m_pHomeMatch->GetAwayClubID());
    ASSERT_NE(pOpponent, nullptr);
    EXPECT_EQ(std::string(pTree->FindItem(nItem)->szText).substr(0, std::strlen(pOpponent->GetName())),
              pOpponent->GetName());

    pTree->SelectItem(nItem);
    screen.OnDoubleClicked(CClientFinanceCurrent::ID_TREE);
    CPopupMatchdayFinance& popup = screen.GetMatchdayPopup();
    EXPECT_TRUE(popup.IsOnStack());
    EXPECT_EQ(popup.GetMatchID(), m_pHomeMatch->GetFixtureID());
    EXPECT_GT(popup.GetIncomeTotal(), 0);
    Shoot("matchday_finance_from_current_account.png");
    popup.Close();

    // A heading is no match day: nothing opens.
    pTree->SelectItem(pTree->GetItemAt(0)->nID);
    screen.OnDoubleClicked(CClientFinanceCurrent::ID_TREE);
    EXPECT_FALSE(popup.IsOnStack());
}

}  // namespace
