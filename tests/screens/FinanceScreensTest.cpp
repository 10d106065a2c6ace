// The finance screens over a running game some weeks into the season: the
// bank figures are the club record's, a pending application is withdrawn
// after the question, the graph follows the closed months' books, and the
// current account's tree adds up to the human's books of the chosen month.
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "screens/CClientFinanceCurrent.h"
#include "screens/CClientFinanceGeneral.h"
#include "screens/CClientFinanceDeposit.h"
#include "screens/CClientFinanceProjected.h"
#include "popups/CPopupLoanApplication.h"
#include "popups/CPopupOverdraftApplication.h"
#include "popups/CPopupTransferMoney.h"
#include "season/CFinanceMonthFile.h"
#include "season/CSaveGame.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXGraph.h"
#include "xframework/CXStatic.h"
#include "xframework/CXTreeView.h"

#include <string>

namespace {

using General = CClientFinanceGeneral;

class FinanceScreens : public ScreenGame {
protected:
    // Days played on until the human has closed this many months.
    void PlayUntilClosedMonths(int nMonths)
    {
        for (int i = 0; i < 140 && Human().CountFinanceMonths() < nMonths; ++i) {
            m_pWorld->ProcessDay();
            m_pWorld->DoMatchDay(m_pWorld->GetGameDate());
        }
        ASSERT_GE(Human().CountFinanceMonths(), nMonths);
    }
    void Show(int nScreen, CGameClient& screen)
    {
        g_pNavigationBar->OnClientChange(nScreen, true);
        m_game.Update();
        m_game.Update();
        ASSERT_EQ(g_pCurrentClient, &screen);
    }
    std::string LabelText(CGameClient& screen, uint32_t dwID)
    {
        const auto* pLabel = dynamic_cast<CXStatic*>(screen.FindControl(dwID));
        return pLabel ? pLabel->Text() : "<no label>";
    }
    bool Visible(CGameClient& screen, uint32_t dwID)
    {
        const CXControl* pControl = screen.FindControl(dwID);
        return pControl && pControl->m_bVisible;
    }
    // A button shown and open to a click.
    bool Clickable(CGameClient& screen, uint32_t dwID)
    {
        const auto* pButton = dynamic_cast<CXButton*>(screen.FindControl(dwID));
        return pButton && pButton->m_bVisible && !pButton->m_bDisabled;
    }
    static void SetEdit(CXPopup& popup, uint32_t dwID, const char* pszText)
    {
        auto* pEdit = dynamic_cast<CXEdit*>(popup.FindControl(dwID));
        ASSERT_NE(pEdit, nullptr) << "edit " << dwID;
        pEdit->SetText("%s", pszText);
        popup.OnEditChange(pEdit);
    }
    static std::string PopupLabel(CXPopup& popup, uint32_t dwID)
    {
        const auto* pLabel = dynamic_cast<CXStatic*>(popup.FindControl(dwID));
        return pLabel ? pLabel->Text() : "<no label>";
    }
    void Answer(uint32_t dwButton, int nExpectedItem)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_TRUE(pBox && pBox->IsOnStack());
        EXPECT_EQ(pBox->GetTextItem(), nExpectedItem);
        pBox->OnClicked(dwButton);
        m_game.Update();
        m_game.Update();
    }
    // The tab-separated fields of a tree row.
    static std::vector<std::string> Fields(const CXTreeView::Item& item)
    {
        std::vector<std::string> fields(1);
        for (const char* p = item.szText; *p; ++p)
            if (*p == '\t')
                fields.emplace_back();
            else
                fields.back() += *p;
        fields.resize(std::max<size_t>(fields.size(), 4));
        return fields;
    }
    // The balance the last heading shows: the month's opening balance with
    // every heading's money added.
    static std::string ClosingBalance(const CXTreeView& tree)
    {
        std::string balance = "<no heading>";
        for (int i = 0; i < tree.GetCount(); ++i)
            if (tree.GetItemAt(i)->byLevel == 0)
                balance = Fields(*tree.GetItemAt(i))[3];
        return balance;
    }
    static std::string Money(double dAmount) { return FormatMoney(dAmount, 0, 0, MONEY_AS_STORED, 0, 1); }
};

TEST_F(FinanceScreens, TheBankFiguresAreTheClubRecordsAndTheGraphFollowsTheBooks)
{
    PlayUntilClosedMonths(2);
    CClubDatabase& club = *Human().GetClub();
    // A running loan and overdraft, as the bank would have granted them.
    club.m_nLoan = 400000;
    club.m_nLoanInstalment = 18000;
    club.m_byLoanByte = 24;
    club.m_byInstalmentsLeft = 20;
    club.m_nOverdraft = -150000;
    club.m_byOverdraftRunsLeft = 3;
    General& screen = GetFinanceGeneralScreen();
    Show(SCREEN_FINANCE_GENERAL, screen);

    double dRate = 0, dExcess = 0;
    const int32_t nOverdraftLeft = club.GetAvailableOverdraft(&dRate, &dExcess);
    double dLoanRate = 0;
    const int32_t nLoanLeft = club.GetAvailableLoan(&dLoanRate, nullptr);
    char szRate[32];
    std::snprintf(szRate, sizeof szRate, "%.2f%%", dLoanRate);
    const struct {
        uint32_t dwID;
        std::string expected;
    } kFigures[] = {
        {General::ID_LOAN_AMOUNT, Money(400000)},
        {General::ID_LOAN_INSTALMENT, Money(18000)},
        {General::ID_LOAN_PAYMENTS, "20 (24)"},
        {General::ID_LOAN_OWED, Money(18000.0 * 20)},
        {General::ID_LOAN_AVAILABLE, Money(nLoanLeft)},
        {General::ID_LOAN_RATE, szRate},
        {General::ID_OVERDRAFT_AMOUNT, Money(150000)},
        {General::ID_OVERDRAFT_AVAILABLE, Money(nOverdraftLeft)},
        {General::ID_OVERDRAFT_PERIODS, "3"},
    };
    for (const auto& figure : kFigures)
        EXPECT_EQ(LabelText(screen, figure.dwID), figure.expected) << "label " << figure.dwID;

    // The balance line: the first shown month's opening balance, then each
    // closed month's closing balance, as the books hold them.
    const std::vector<FINANCEMONTH> months = CFinanceMonthFile::ReadMonths(Human().GetHistoryFileName());
    ASSERT_GE(months.size(), 2u);
    const std::vector<double>& balance = screen.GetGraph()->GetSeries(General::LINE_BALANCE).values;
    ASSERT_EQ(balance.size(), months.size() + 1);
    EXPECT_EQ(balance.front(), months.front().nBalanceBefore);
    EXPECT_EQ(balance.back(), months.back().nBalanceAfter);
    double dIncome = 0;
    for (const FINANCEENTRY& entry : months.back().aMonth)
        dIncome += entry.nIncome;
    EXPECT_EQ(screen.GetGraph()->GetSeries(General::LINE_INCOME).values.back(), dIncome);
    const size_t nProjected =
        CFinanceMonthFile::ReadProjectedBalances(Human().GetProjectedFinanceFileName()).size();
    EXPECT_EQ(screen.GetGraph()->GetSeries(General::LINE_PROJECTION).values.size(), balance.size() + nProjected);
    Shoot("finance_general");
}

TEST_F(FinanceScreens, APendingApplicationIsWithdrawnOnlyOnYes)
{
    Human().m_byLoanKind = 1;
    Human().m_nLoanRequest = 250000;
    Human().m_byLoanTerm = 12;
    Human().m_byOverdraftKind = 1;
    Human().m_nOverdraftRequest = 90000;
    General& screen = GetFinanceGeneralScreen();
    Show(SCREEN_FINANCE_GENERAL, screen);
    EXPECT_TRUE(Visible(screen, General::ID_WITHDRAW_LOAN));
    EXPECT_FALSE(Visible(screen, General::ID_APPLY_LOAN));
    Shoot("finance_general_pending");

    screen.OnClicked(General::ID_WITHDRAW_LOAN);
    Answer(883, General::ASK_WITHDRAW_LOAN);
    EXPECT_EQ(Human().m_nLoanRequest, 250000) << "cancel keeps the application";

    screen.OnClicked(General::ID_WITHDRAW_LOAN);
    Answer(884, General::ASK_WITHDRAW_LOAN);
    EXPECT_EQ(Human().m_byLoanKind, 0);
    EXPECT_EQ(Human().m_nLoanRequest, 0);
    EXPECT_EQ(Human().m_byLoanTerm, 0);
    EXPECT_TRUE(Clickable(screen, General::ID_APPLY_LOAN));
    EXPECT_FALSE(Visible(screen, General::ID_WITHDRAW_LOAN));
    EXPECT_EQ(Human().m_nOverdraftRequest, 90000) << "the overdraft application is another matter";

    screen.OnClicked(General::ID_WITHDRAW_OVERDRAFT);
    Answer(884, General::ASK_WITHDRAW_OVERDRAFT);
    EXPECT_EQ(Human().m_byOverdraftKind, 0);
    EXPECT_EQ(Human().m_nOverdraftRequest, 0);
    EXPECT_TRUE(Clickable(screen, General::ID_APPLY_OVERDRAFT));
    EXPECT_FALSE(Visible(screen, General::ID_WITHDRAW_OVERDRAFT));
}

TEST_F(FinanceScreens, TheSeasonListRunsOverTheGamesLengthAndAnEarlierSeasonHasNoProjection)
{
    General& screen = GetFinanceGeneralScreen();
    Show(SCREEN_FINANCE_GENERAL, screen);
    CXComboBox* pSeasons = g_pTitlebar->GetSelector(6);
    ASSERT_NE(pSeasons, nullptr);
    const int nLength = m_pWorld->GetGameSetting(0);
    EXPECT_EQ(pSeasons->GetCount(), std::min(nLength, screen.GetCurrentSeason()) + 1);
    EXPECT_EQ(pSeasons->GetSelection(), pSeasons->GetCount() - 1) << "the current season is chosen";
    if (pSeasons->GetCount() > 1) {
        pSeasons->SetCurSel(pSeasons->GetCount() - 2);
        EXPECT_EQ(screen.GetSelectedSeason(), screen.GetCurrentSeason() - 1);
        EXPECT_TRUE(screen.GetGraph()->GetSeries(General::LINE_PROJECTION).values.empty())
            << "no history was written yet and an earlier season is not projected";
    }
}

using Current = CClientFinanceCurrent;

TEST_F(FinanceScreens, TheCurrentAccountAddsUpToTheBooksOfTheRunningAndOfAClosedMonth)
{
    PlayUntilClosedMonths(2);
    for (int i = 0; i < 9; ++i) {  // some days into the running month
        m_pWorld->ProcessDay();
        m_pWorld->DoMatchDay(m_pWorld->GetGameDate());
    }
    Current& screen = GetFinanceCurrentScreen();
    Show(SCREEN_FINANCE_CURRENT, screen);
    CXComboBox* pMonths = g_pTitlebar->GetSelector(7);
    ASSERT_NE(pMonths, nullptr);
    const int nClosed = Human().CountFinanceMonths();
    ASSERT_EQ(pMonths->GetCount(), nClosed + 1) << "the closed months and the running one";
    EXPECT_TRUE(screen.IsRunningMonth());
    // The running month shows what moved the balance since the last close.
    EXPECT_EQ(ClosingBalance(*screen.GetTree()), Money(Human().GetClub()->m_nBankBalance));
    Shoot("finance_current_running");

    pMonths->SetCurSel(nClosed - 1);
    ASSERT_FALSE(screen.IsRunningMonth());
    const std::vector<FINANCEMONTH> months = CFinanceMonthFile::ReadMonths(Human().GetHistoryFileName());
    const FINANCEMONTH& month = months[static_cast<size_t>(nClosed - 1)];
    EXPECT_EQ(ClosingBalance(*screen.GetTree()), Money(month.nBalanceAfter));

    // The players' wages are paid player by player: the category's own
    // cells stay empty and each payment has a row under it.
    constexpr int kPlayerWages = 9;
    int nPayments = 0;
    for (const FINANCETRANSACTION& t : month.Transactions)
        nPayments += t.dwCategory == kPlayerWages;
    ASSERT_GT(nPayments, 0);
    const CXTreeView& tree = *screen.GetTree();
    const int nRow = tree.FindItemByData(kPlayerWages, Current::DATA_CATEGORY);
    ASSERT_GE(nRow, 0);
    EXPECT_EQ(Fields(*tree.FindItem(nRow))[2], "");
    int nRows = 0;
    for (int i = 0; i < tree.GetCount(); ++i)
        nRows += tree.GetItemAt(i)->pParent && tree.GetItemAt(i)->pParent->nID == nRow;
    EXPECT_EQ(nRows, nPayments);

    // A heading chosen draws its group's figure for each month kept.
    auto& openTree = const_cast<CXTreeView&>(tree);
    openTree.SelectItem(nRow);
    openTree.ExpandItem(nRow, true, true, false);
    openTree.ExpandItem(tree.FindItemByData(17, Current::DATA_CATEGORY), true, true, false);
    openTree.Redraw();
    screen.UpdateGraph();
    EXPECT_EQ(screen.GetGraph()->GetSeries(4).values.size(), months.size());
    Shoot("finance_current_closed");
}

}  // namespace

namespace {

TEST(BankForms, LoanFiguresAndTheStatusOfAnApplication)
{
    // Simple interest on the whole principal, the rate carried through the
    // single-precision hundredth and every figure truncated.
    const double dRate = 9.5 * static_cast<double>(0.01f);
    EXPECT_EQ(static_cast<int64_t>(CClubDatabase::GetLoanTotal(10000, dRate, 6)), 10949);
    EXPECT_EQ(static_cast<int64_t>(CClubDatabase::GetLoanRepayment(10000, dRate, 6)), 1824);
    EXPECT_EQ(CClubDatabase::GetLoanRepayment(10000, dRate, 0), 0.0);

    using Loan = CPopupLoanApplication;
    const struct {
        int32_t nAmount;
        int nPayments, nRunningLoan, nRunningPayments;
        uint8_t byStatus;
    } kLoans[] = {
        {10000, 6, 0, 0, Loan::STATUS_NEW},      {20000, 6, 50000, 12, Loan::STATUS_FURTHER},
        {0, 24, 50000, 12, Loan::STATUS_PAYMENTS}, {0, 12, 50000, 12, Loan::STATUS_NONE},
        {0, 6, 0, 0, Loan::STATUS_NONE},
    };
    for (const auto& c : kLoans)
        EXPECT_EQ(Loan::ApplicationStatus(c.nAmount, c.nPayments, c.nRunningLoan, c.nRunningPayments), c.byStatus)
            << c.nAmount << " over " << c.nPayments;

    using Overdraft = CPopupOverdraftApplication;
    const struct {
        int32_t nAmount;
        int nTerm, nRunningAmount, nRunningTerm;
        uint8_t byStatus;
    } kOverdrafts[] = {
        {10000, 3, 0, 0, Overdraft::STATUS_NEW},
        {10000, 3, 10000, 3, Overdraft::STATUS_NONE},
        {10000, 6, 10000, 3, Overdraft::STATUS_CHANGE},
        {40000, 3, 10000, 3, Overdraft::STATUS_CHANGE},
    };
    for (const auto& c : kOverdrafts)
        EXPECT_EQ(Overdraft::ApplicationStatus(c.nAmount, c.nTerm, c.nRunningAmount, c.nRunningTerm), c.byStatus)
            << c.nAmount << " over " << c.nTerm;
}

TEST_F(FinanceScreens, AnApplicationMadeOnTheFormsWaitsForTheBank)
{
    CClubDatabase& club = *Human().GetClub();
    club.m_nLoan = 50000;
    club.m_byLoanByte = 12;
    General& screen = GetFinanceGeneralScreen();
    Show(SCREEN_FINANCE_GENERAL, screen);
    ASSERT_TRUE(Clickable(screen, General::ID_APPLY_LOAN));
    screen.OnClicked(General::ID_APPLY_LOAN);
    m_game.Update();
    CPopupLoanApplication& loan = screen.GetLoanPopup();
    ASSERT_TRUE(loan.IsOnStack());
    EXPECT_EQ(PopupLabel(loan, CPopupLoanApplication::ID_PRINCIPAL), Money(60000)) << "10,000 on top of the loan";
    SetEdit(loan, CPopupLoanApplication::ID_AMOUNT, "20000");
    SetEdit(loan, CPopupLoanApplication::ID_PAYMENTS, "10");
    EXPECT_EQ(PopupLabel(loan, CPopupLoanApplication::ID_PRINCIPAL), Money(70000));
    EXPECT_EQ(PopupLabel(loan, CPopupLoanApplication::ID_PRINCIPAL_PAYMENTS), "10");
    Shoot("popup_loan_application");
    const int32_t nInstalment = loan.GetInstalment();
    EXPECT_GT(nInstalment, 7000) << "the principal and its interest over ten payments";
    loan.OnClicked(CGamePopup::kOkButtonID);
    m_game.Update();
    EXPECT_FALSE(loan.IsOnStack());
    EXPECT_EQ(Human().m_byLoanKind, CPopupLoanApplication::STATUS_FURTHER);
    EXPECT_EQ(Human().m_nLoanRequest, 20000);
    EXPECT_EQ(Human().m_byLoanTerm, 10);
    EXPECT_EQ(Human().m_nLoanRequest2, nInstalment);
    EXPECT_EQ(club.m_nLoan, 50000) << "the form moves no money";
    EXPECT_TRUE(Visible(screen, General::ID_WITHDRAW_LOAN));
    EXPECT_FALSE(Visible(screen, General::ID_APPLY_LOAN));

    // Reopened, the form shows the application waiting.
    screen.OnClicked(General::ID_WITHDRAW_LOAN);
    Answer(883, General::ASK_WITHDRAW_LOAN);
    screen.GetLoanPopup().Open();
    m_game.Update();
    EXPECT_STREQ(dynamic_cast<CXEdit*>(loan.FindControl(CPopupLoanApplication::ID_PAYMENTS))->Text(), "10");
    loan.OnClicked(CGamePopup::kCancelButtonID);

    // An overdraft asked for; cancel on a second opening changes nothing.
    screen.OnClicked(General::ID_APPLY_OVERDRAFT);
    m_game.Update();
    CPopupOverdraftApplication& overdraft = screen.GetOverdraftPopup();
    ASSERT_TRUE(overdraft.IsOnStack());
    EXPECT_EQ(PopupLabel(overdraft, CPopupOverdraftApplication::ID_FEE), Money(500));
    SetEdit(overdraft, CPopupOverdraftApplication::ID_AMOUNT, "25000");
    Shoot("popup_overdraft_application");
    overdraft.OnClicked(CGamePopup::kOkButtonID);
    m_game.Update();
    EXPECT_EQ(Human().m_byOverdraftKind, CPopupOverdraftApplication::STATUS_NEW);
    EXPECT_EQ(Human().m_nOverdraftRequest, 25000);
    EXPECT_EQ(Human().m_byOverdraftTerm, 3);
    EXPECT_EQ(Human().m_nOverdraftFee, 500);
}

TEST_F(FinanceScreens, MoneyMovesToTheDepositOnlyWhenTheAccountHoldsIt)
{
    CClubDatabase& club = *Human().GetClub();
    Current& screen = GetFinanceCurrentScreen();
    Show(SCREEN_FINANCE_CURRENT, screen);
    CPopupTransferMoney& form = screen.GetTransferPopup();
    auto move = [&](const char* pszAmount, uint32_t dwButton) {
        screen.OnClicked(Current::ID_TRANSFER);
        m_game.Update();
        ASSERT_TRUE(form.IsOnStack());
        EXPECT_STREQ(dynamic_cast<CXEdit*>(form.FindControl(CPopupTransferMoney::ID_AMOUNT))->Text(), "1")
            << "every opening starts from 1";
        SetEdit(form, CPopupTransferMoney::ID_AMOUNT, pszAmount);
        form.OnClicked(dwButton);
        m_game.Update();
    };
    club.m_nBankBalance = 100000;
    move("40000", CGamePopup::kCancelButtonID);
    EXPECT_EQ(club.m_nBankBalance, 100000) << "cancel moves nothing";
    move("40000", CGamePopup::kOkButtonID);
    EXPECT_EQ(form.GetAmount(), 40000);
    EXPECT_EQ(club.m_nBankBalance, 60000);
    EXPECT_EQ(Human().GetMonthEntry(86).nExpense, 40000);
    move("90000", CGamePopup::kOkButtonID);
    EXPECT_EQ(club.m_nBankBalance, 60000) << "more than the account holds moves nothing";
    screen.OnClicked(Current::ID_TRANSFER);
    m_game.Update();
    Shoot("popup_transfer_money");
    form.OnClicked(CGamePopup::kCancelButtonID);
}

TEST_F(FinanceScreens, TheDepositStatementFollowsMoneyPaidInAndTakenOut)
{
    using Deposit = CClientFinanceDeposit;
    BALANCERECORD interest;
    interest.wYear = 1999;
    interest.byMonth = 9;
    interest.byDay = 1;
    interest.nAmount = 350;
    interest.nBalanceAfter = 10350;
    interest.wParameter = 350;
    interest.wKind = 3;
    EXPECT_EQ(Deposit::StatementRow(interest).substr(0, 15), "Interest at 3%\t") << "whole percent, rounded down";

    Deposit& screen = GetFinanceDepositScreen();
    Show(SCREEN_FINANCE_DEPOSIT, screen);
    ASSERT_NE(screen.GetStatement(), nullptr);
    const int nLines = Human().GetBalanceRecords().GetCount();
    EXPECT_EQ(screen.GetStatement()->GetCount(), nLines);
    EXPECT_EQ(screen.GetGraph()->GetSeries(Deposit::LINE_DEPOSIT).values.back(), Human().GetSavings())
        << "the live balance closes the line";

    // Paid in on the current account, taken out here.
    CClubDatabase& club = *Human().GetClub();
    club.m_nBankBalance = 100000;
    const int32_t nSaved = Human().GetSavings();
    club.AddFinanceTransaction(86, 0, 30000, 0, 0);
    Show(SCREEN_FINANCE_DEPOSIT, screen);
    ASSERT_EQ(screen.GetStatement()->GetCount(), nLines + 1);
    EXPECT_EQ(Human().GetSavings(), nSaved + 30000);
    CPopupTransferMoney& form = screen.GetTransferPopup();
    auto takeOut = [&](const std::string& amount) {
        screen.OnClicked(Deposit::ID_WITHDRAW);
        m_game.Update();
        ASSERT_TRUE(form.IsOnStack());
        SetEdit(form, CPopupTransferMoney::ID_AMOUNT, amount.c_str());
        form.OnClicked(CGamePopup::kOkButtonID);
        m_game.Update();
    };
    takeOut(std::to_string(nSaved + 30001));
    EXPECT_EQ(Human().GetSavings(), nSaved + 30000) << "more than the deposit holds moves nothing";
    EXPECT_EQ(screen.GetStatement()->GetCount(), nLines + 1);
    takeOut("12000");
    EXPECT_EQ(Human().GetSavings(), nSaved + 18000);
    EXPECT_EQ(club.m_nBankBalance, 100000 - 30000 + 12000);
    ASSERT_EQ(screen.GetStatement()->GetCount(), nLines + 2);
    const std::string row = screen.GetStatement()->GetRow(nLines + 1)->szText;
    EXPECT_EQ(row.substr(0, 10), "Taken out\t");
    EXPECT_NE(row.find(Money(12000) + "\t" + Money(nSaved + 18000)), std::string::npos) << row;
    Shoot("finance_deposit");
}

TEST_F(FinanceScreens, ADepositWithoutStatementLinesSaysItHasNothingToShow)
{
    // The periodic review drops lines over a year old: a year on, a deposit
    // nobody touched has none left.
    CDate later = m_pWorld->GetGameDate();
    later.AddDays(400);
    m_pWorld->SetGameDate(later);
    Human().DoPeriodicReview();
    ASSERT_EQ(Human().GetBalanceRecords().GetCount(), 0);
    CClientFinanceDeposit& screen = GetFinanceDepositScreen();
    Show(SCREEN_FINANCE_DEPOSIT, screen);
    ASSERT_NE(screen.GetStatement(), nullptr);
    ASSERT_EQ(screen.GetStatement()->GetCount(), 1);
    EXPECT_STREQ(screen.GetStatement()->GetRow(0)->szText, GetTableText(114, 26));
    Shoot("finance_deposit_empty");
    // The first line paid in takes the text's place.
    Human().GetClub()->m_nBankBalance = 100000;
    Human().GetClub()->AddFinanceTransaction(86, 0, 30000, 0, 0);
    Show(SCREEN_FINANCE_DEPOSIT, screen);
    ASSERT_EQ(screen.GetStatement()->GetCount(), 1);
    EXPECT_STRNE(screen.GetStatement()->GetRow(0)->szText, GetTableText(114, 26));
}

TEST_F(FinanceScreens, AFullYearOfClosedMonthsKeepsTheDepositLineInsideItsTwelveMonths)
{
    using Deposit = CClientFinanceDeposit;
    // The month file keeps a year: twelve closed months and the live balance
    // would be thirteen points on twelve places.
    for (int i = 0; i < 13; ++i)
        Human().CloseFinanceMonth();
    ASSERT_EQ(CFinanceMonthFile::ReadMonths(Human().GetHistoryFileName()).size(), 12u);
    Deposit& screen = GetFinanceDepositScreen();
    Show(SCREEN_FINANCE_DEPOSIT, screen);
    const CXGraph* pGraph = screen.GetGraph();
    ASSERT_NE(pGraph, nullptr);
    const std::vector<double>& line = pGraph->GetSeries(Deposit::LINE_DEPOSIT).values;
    ASSERT_EQ(line.size(), 12u);
    EXPECT_EQ(line.back(), Human().GetSavings());
    // The last place is this month's, so the first is the month after it.
    ASSERT_EQ(pGraph->GetItemLabels().size(), 12u);
    const int nMonth = m_game.GetDatabase()->GetGameDate().GetMonth();
    EXPECT_STREQ(pGraph->GetItemLabels().back().szText, GetTableText(130, nMonth - 1));
    EXPECT_STREQ(pGraph->GetItemLabels().front().szText, GetTableText(130, nMonth % 12));
    Shoot("finance_deposit_year");
}

TEST_F(FinanceScreens, TheProjectionShowsEachOfSixMonthsFromItsOwnOpeningBalance)
{
    using Projected = CClientFinanceProjected;
    PlayUntilClosedMonths(1);
    const std::vector<PROJECTEDMONTH> months =
        CFinanceMonthFile::ReadProjectedMonths(Human().GetProjectedFinanceFileName());
    ASSERT_EQ(months.size(), 6u);
    Projected& screen = GetFinanceProjectedScreen();
    Show(SCREEN_FINANCE_PROJECTED, screen);
    CXComboBox* pMonths = g_pTitlebar->GetSelector(7);
    ASSERT_NE(pMonths, nullptr);
    EXPECT_EQ(pMonths->GetCount(), 6);

    // The fourth month: its first heading's balance is that month's opening
    // balance with the heading's group added.
    pMonths->SetCurSel(3);
    screen.OnSelChange(Projected::ID_MONTH_LIST);
    const CXTreeView& tree = *screen.GetTree();
    ASSERT_GT(tree.GetCount(), 0);
    const CXTreeView::Item& first = *tree.GetItemAt(0);
    const int nGroup = tree.GetItemData(first.nID, Projected::DATA_TREE_ROW);
    ASSERT_GE(nGroup, 0);
    EXPECT_EQ(Fields(first)[3], Money(static_cast<double>(months[3].nBalance) + months[3].anGroupTotals[nGroup]));

    // The heading's line runs over the six months, by size.
    screen.GetTree()->SelectItem(first.nID);
    screen.UpdateGraph();
    const std::vector<double>& line = screen.GetGraph()->GetSeries(Projected::kGroupLine).values;
    ASSERT_EQ(line.size(), 6u);
    for (size_t i = 0; i < line.size(); ++i)
        EXPECT_EQ(line[i], std::abs(static_cast<double>(months[i].anGroupTotals[nGroup])));
    Shoot("finance_projected");
}

}  // namespace

