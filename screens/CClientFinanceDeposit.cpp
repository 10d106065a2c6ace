#include "screens/CClientFinanceDeposit.h"

#include "screens/FinanceScreenLook.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CFinanceMonthFile.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kKindNameSet = 31;
constexpr int kCaptionSet = 191;
constexpr int kEmptyTextSet = 114, kEmptyTextItem = 26;
// Taken out of the deposit into the current account (as income).
constexpr int kDepositCategory = 86;
constexpr int kRowHeight = 16;
constexpr int kMonthsShown = 12;
constexpr COLORREF kRowColour = 0xffffff;

const LISTCOLUMN kColumns[] = {
    {0, 200, 6, 0, 0, 0, 333, LISTSORT_NONE, 0},     {200, 290, 6, 0, 0, 0, 980, LISTSORT_DATE, 0},
    {290, 400, 6, 0, 2, 0, 323, LISTSORT_NONE, 0},   {400, 510, 6, 0, 2, 0, 324, LISTSORT_NONE, 0},
    {510, 620, 6, 0, 2, 0, 331, LISTSORT_NONE, 0},   {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CSaveGame* Human()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

std::string Money(int64_t nAmount) { return FormatMoney(static_cast<double>(nAmount), 0, 0, MONEY_AS_STORED, 0, 1); }

}  // namespace

CClientFinanceDeposit& GetFinanceDepositScreen()
{
    static CClientFinanceDeposit s_Screen;
    return s_Screen;
}

CClientFinanceDeposit::CClientFinanceDeposit() { m_wScreenID = SCREEN_FINANCE_DEPOSIT; }

void CClientFinanceDeposit::ConstructScreen() { finance_look::DrawBackground(*this, kCaptionSet, 20); }

bool CClientFinanceDeposit::OnInitDialog()
{
    // The controls of an earlier opening went with it.
    m_pStatement = nullptr;
    m_pGraph = nullptr;
    const bool bResult = finance_look::OpenScreen(*this, {});
    AddBottomButton(ID_WITHDRAW);
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 200, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    // The list's column header sits above its rows, under the caption tab.
    m_pStatement = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, 56, 640, 296, ID_STATEMENT, nullptr));
    if (m_pStatement) {
        m_pStatement->SetUp(kRowHeight, 6, g_hSmallFont, 0, true, pBar, true, nullptr, true, 0, false, true, false);
        m_pStatement->SetUpColumns(0, 56, 640, 296, kColumns, false, false, 296 - 56, false);
        m_pStatement->SetAutoRedraw(true);
    }
    m_pGraph = finance_look::AddGraph(*this, ID_GRAPH, ID_GRAPH_LINE, LINE_DEPOSIT);
    UpdateGraph();
    FillStatement();
    ShowAllControls(true);
    return bResult;
}

std::string CClientFinanceDeposit::StatementRow(const BALANCERECORD& line)
{
    const char* pszName = GetTableTextOrEmpty(kKindNameSet, line.wKind);
    const std::string date = FormatDate(line.byDay, line.byMonth, line.wYear);
    const std::string amount = Money(line.nAmount);
    const std::string balance = Money(line.nBalanceAfter);
    char szRow[256];
    switch (line.wKind) {
    case 1:
        std::snprintf(szRow, sizeof szRow, "%s\t%s\t%s\t\t%s", pszName, date.c_str(), amount.c_str(), balance.c_str());
        break;
    case 2:
    case 4:
        std::snprintf(szRow, sizeof szRow, "%s\t%s\t\t%s\t%s", pszName, date.c_str(), amount.c_str(), balance.c_str());
        break;
    case 3:
        // The rate in whole percent, rounded down.
        std::snprintf(szRow, sizeof szRow, "%s %d%%\t%s\t%s\t\t%s", pszName, line.wParameter / 100, date.c_str(),
                      amount.c_str(), balance.c_str());
        break;
    default:
        std::snprintf(szRow, sizeof szRow, "%s\t%s\t\t\t%s", pszName, date.c_str(), balance.c_str());
        break;
    }
    return szRow;
}

void CClientFinanceDeposit::FillStatement()
{
    if (!m_pStatement)
        return;
    m_pStatement->ResetContent();
    const CSaveGame* pHuman = Human();
    if (!pHuman)
        return;
    uint32_t dwLine = 0;
    for (const BALANCERECORD* pLine : pHuman->GetBalanceRecords().Items<BALANCERECORD>()) {
        const int nRow = m_pStatement->AddString(kRowColour, "%s", StatementRow(*pLine).c_str());
        m_pStatement->SetItemData(nRow, dwLine++);
    }
    // Lines go after a year: a deposit left alone that long says it has
    // nothing to show, as the other empty lists do.
    if (dwLine == 0)
        m_pStatement->SetItemData(
            m_pStatement->AddString(kRowColour, "%s", GetTableTextOrEmpty(kEmptyTextSet, kEmptyTextItem)), UINT32_MAX);
}

void CClientFinanceDeposit::UpdateGraph()
{
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!m_pGraph || !pHuman || !pDatabase)
        return;
    finance_look::StartMonthGraph(*this, *m_pGraph, kMonthsShown, 11, LINE_DEPOSIT, 1);
    std::vector<FINANCEMONTH> months = CFinanceMonthFile::ReadMonths(pHuman->GetHistoryFileName());
    // The live balance takes the last of the twelve places: a full year of
    // closed months gives up its oldest, or the line runs past the plot.
    if (months.size() > static_cast<size_t>(kMonthsShown - 1))
        months.erase(months.begin(), months.end() - (kMonthsShown - 1));
    finance_look::LabelMonths(
        *m_pGraph, finance_look::MonthsBack(pDatabase->GetGameDate().GetMonth(), static_cast<int>(months.size())),
        kMonthsShown, 1);
    std::vector<double> values;
    for (const FINANCEMONTH& month : months)
        values.push_back(month.nSavings);
    values.push_back(pHuman->GetSavings());
    for (double dValue : values)
        m_pGraph->AddValue(LINE_DEPOSIT, dValue);
    const double dLowest = std::min(0.0, *std::min_element(values.begin(), values.end()));
    // An empty deposit still gets an axis of round money figures.
    const double dHighest = std::max(1000.0, *std::max_element(values.begin(), values.end()));
    m_pGraph->SetYRange(static_cast<int>(std::max(dLowest, -2.0e9)), static_cast<int>(std::min(dHighest, 2.0e9)), 0,
                        100, false, true, false);
    finance_look::ShowGraph(*this, *m_pGraph, ID_GRAPH_LINE, LINE_DEPOSIT);
}

void CClientFinanceDeposit::OnClicked(uint32_t dwID)
{
    if (dwID == ID_WITHDRAW)
        m_TransferPopup.Open();
    CGameClient::OnClicked(dwID);
}

void CClientFinanceDeposit::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup != &m_TransferPopup || pPopup->m_dwResultID != CGamePopup::kOkButtonID)
        return;
    // Only what the deposit holds can be taken out.
    CSaveGame* pHuman = Human();
    CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    const int32_t nAmount = m_TransferPopup.GetAmount();
    if (!pClub || nAmount <= 0 || pHuman->GetSavings() < nAmount)
        return;
    pClub->AddFinanceTransaction(kDepositCategory, nAmount, 0, 0, 0);
    FillStatement();
    UpdateGraph();
    UpdateBars();
}

void CClientFinanceDeposit::OnPrint() { PrintControl(ID_STATEMENT); }
