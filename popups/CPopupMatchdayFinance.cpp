#include "popups/CPopupMatchdayFinance.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"

namespace {

constexpr int kCaptionItem = 49;
constexpr int kLabels = 52;
constexpr int kCaptionSet = 229;
// The products' names are the merchandise screen's, the costs' of their own.
constexpr int kProductTextSet = 33;
constexpr int kCostTextSet = 42;
constexpr int kRowHeight = 16;
constexpr int kListLeft = 8;
constexpr int kListRight = 198;
constexpr int kValueX = 128;
constexpr int kValueWidth = 69;

const LISTCOLUMN kIncomeColumns[] = {
    {0, 120, 0, 0, 0, 0, 877, LISTSORT_NONE, 0},
    {120, 190, 10, 0, 2, 0, 878, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kExpenseColumns[] = {
    {0, 120, 0, 0, 0, 0, 879, LISTSORT_NONE, 0},
    {120, 190, 10, 0, 2, 0, 880, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

const char* Money(int64_t nAmount) { return FormatMoney(static_cast<double>(nAmount), 0, 0, MONEY_AS_STORED, 0, 1); }

}  // namespace

CPopupMatchdayFinance::CPopupMatchdayFinance()
{
    m_wScreenID = kScreenID;
    SetPopupRect(367, 105, 226, 440);
}

int64_t CPopupMatchdayFinance::RoundHundredths(int64_t nHundredths)
{
    // Floor division of the value moved up by a half: -1.50 gives -1, -1.51 gives -2.
    const int64_t n = nHundredths + 50;
    return n >= 0 ? n / 100 : -((-n + 99) / 100);
}

bool CPopupMatchdayFinance::Show(uint32_t dwMatchID)
{
    m_dwMatchID = dwMatchID;
    return Open();
}

void CPopupMatchdayFinance::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB tabs[] = {{2, 0, 0, kListLeft, 100 - kRowHeight - 17, kListRight - kListLeft},
                               {2, 1, 0, kListLeft, 256 - kRowHeight - 17, kListRight - kListLeft},
                               {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, tabs);
}

CXListBox* CPopupMatchdayFinance::AddMoneyList(uint32_t dwListID, uint32_t dwBarID, int nTop, int nBottom,
                                               const LISTCOLUMN* pColumns)
{
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 120, dwBarID, nullptr));
    if (pBar)
        pBar->Create(dwBarID == ID_INCOME_SCROLLBAR ? 885 : 887, dwBarID == ID_INCOME_SCROLLBAR ? 886 : 888,
                     kRowHeight, false, 0);
    auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, kListLeft, nTop, kListRight, nBottom,
                                                      dwListID, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, 3, true, pBar, true, nullptr, true, 0, false, false, false);
        pList->SetUpColumns(kListLeft, nTop, kListRight, nBottom, pColumns, false, false,
                            nBottom - nTop, false);
    }
    return pList;
}

bool CPopupMatchdayFinance::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    AddConfirmButton(kOkButtonID, CancelX());
    AddCloseButton(false, true);
    m_pIncome = AddMoneyList(ID_INCOME_LIST, ID_INCOME_SCROLLBAR, 100, 196, kIncomeColumns);
    m_pExpenses = AddMoneyList(ID_EXPENSE_LIST, ID_EXPENSE_SCROLLBAR, 256, 352, kExpenseColumns);
    for (const auto& [dwID, y] : {std::pair{ID_GATE, 40}, {ID_INCOME_TOTAL, 198}, {ID_EXPENSE_TOTAL, 354},
                                  {ID_RESULT, 378}})
        if (CXStatic* pLabel = popup_look::AddValueLabel(*this, dwID, kValueX, y, kValueWidth))
            pLabel->m_byAlignment = 2;
    Fill();
    ShowAllControls(true);
    return true;
}

void CPopupMatchdayFinance::Fill()
{
    m_Finance = MATCHDAYFINANCE();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    MATCHHISTORYHEADER header;
    MATCHRECORDBODY body;
    if (pDatabase && pDatabase->FindMatchRecord(header, &body, m_dwMatchID))
        m_Finance = body.Finance;
    else
        DebugLog(1, "[CPopupMatchdayFinance::Fill] No record of match %u: its money shows as nothing", m_dwMatchID);

    m_nIncomeTotal = m_nExpenseTotal = 0;
    for (CXListBox* pList : {m_pIncome, m_pExpenses})
        if (pList) {
            pList->SetAutoRedraw(false);
            pList->ResetContent();
        }
    for (int i = 0; i < MATCHDAY_FACILITY_ROWS; ++i) {
        const int64_t nIncome = RoundHundredths(m_Finance.anFacilityProfit[i]);
        m_nIncomeTotal += nIncome;
        if (m_pIncome)
            m_pIncome->AddString(0xFFFFFF, "%s\t%s", GetTableTextOrEmpty(kProductTextSet, i), Money(nIncome));
    }
    for (int i = 0; i < MATCHDAY_COST_ROWS; ++i) {
        m_nExpenseTotal += m_Finance.anCosts[i];
        if (m_pExpenses)
            m_pExpenses->AddString(0xFFFFFF, "%s\t%s", GetTableTextOrEmpty(kCostTextSet, i), Money(m_Finance.anCosts[i]));
    }
    for (CXListBox* pList : {m_pIncome, m_pExpenses})
        if (pList) {
            pList->SetAutoRedraw(true);
            pList->UpdateScrollBar();
            pList->Redraw();
        }
    auto setMoney = [this](uint32_t dwID, int64_t nAmount) {
        SetMoneyText(dynamic_cast<CXStatic*>(FindControl(dwID)), static_cast<double>(nAmount), MONEY_AS_STORED);
    };
    setMoney(ID_GATE, m_Finance.nGate);
    setMoney(ID_INCOME_TOTAL, m_nIncomeTotal);
    setMoney(ID_EXPENSE_TOTAL, m_nExpenseTotal);
    setMoney(ID_RESULT, m_Finance.nGate - m_nExpenseTotal + m_nIncomeTotal);
}

void CPopupMatchdayFinance::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kOkButtonID && IsOnStack()) {
        m_dwResultID = kOkButtonID;
        Close();
    }
}
