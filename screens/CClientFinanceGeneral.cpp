#include "screens/CClientFinanceGeneral.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CFinanceMonthFile.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/DrawingFunctions.h"
#include "xframework/CXGraph.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLoanStatusSet = 28;
constexpr int kOverdraftStatusSet = 29;
constexpr int kCaptionSet = 189;
constexpr int kShortMonthSet = 130;
constexpr int kLabelTexts = 5;
constexpr int kLoanRepaymentCategory = 82;
constexpr int kSeasonBase = 1999;
constexpr int kMonthsShown = 12;
constexpr int kRecordsBeforeProjection = 5;

constexpr int kGraphLeft = 45, kGraphTop = 310, kGraphRight = 595, kGraphBottom = 450;
constexpr int kButtonY = 484;

constexpr COLORREF kIncomeColour = 0xff39bd;
constexpr COLORREF kExpenseColour = 0x08ad00;
constexpr COLORREF kBalanceColour = 0xff294a;
constexpr COLORREF kProjectionColour = 0x5a8cff;
constexpr COLORREF kAxisColour = 0xffffff;
constexpr COLORREF kValueColour = plat::RGB(242, 242, 234);
constexpr COLORREF kLabelTextColour = 0xadfdff;
constexpr COLORREF kDefaultClubColour = 0x9d37;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

CSaveGame* Human()
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

}  // namespace

CClientFinanceGeneral& GetFinanceGeneralScreen()
{
    static CClientFinanceGeneral s_Screen;
    return s_Screen;
}

CClientFinanceGeneral::CClientFinanceGeneral() { m_wScreenID = SCREEN_FINANCE_GENERAL; }

void CClientFinanceGeneral::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(Width(), Height(), false, false))
        return;
    CXSurface::Blit(m_pBackground, GetBackgroundSurface(), 0, 0);
    CGame* pGame = Game();
    CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr;
    auto shade = [&](int x1, int y1, int x2, int y2) {
        if (pShading)
            ShadeRectangle(m_pBackground, pShading, x1, y1, x2, y2);
        else
            ShadeRect(x1, y1, x2 - x1, y2 - y1);
    };
    shade(8, 48, 318, 280);
    shade(322, 48, 632, 280);
    shade(10, 300, 630, 470);
    // Under each line's toggle a strip of the line's colour ties the two
    // together.
    const std::pair<int, COLORREF> kStrips[] = {
        {8, kIncomeColour}, {98, kExpenseColour}, {188, kBalanceColour}, {278, kProjectionColour}};
    for (const auto& [x, crColour] : kStrips)
        m_pBackground->FillGradient(x + 2, kButtonY + 27, 80, 3, crColour, crColour);
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        static const CAPTIONTAB kTabs[] = {{2, 0, 0, 8, 32, 310}, {2, 1, 0, 322, 32, 310}, {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, kTabs);
    }
    DrawSurfaceText(g_hSmallFont, m_pBackground, kLabelTexts, kLabelTextColour);
    CSaveGame* pHuman = Human();
    if (const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr) {
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
    } else {
        DrawColourBoxes(m_pBackground, kDefaultClubColour, 0xffffff);
    }
}

CXStatic* CClientFinanceGeneral::AddValueLabel(uint32_t dwID, int x, int y, int nWidth)
{
    auto* pLabel = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, x, y, nWidth, 18, dwID, nullptr));
    if (pLabel) {
        pLabel->m_hFont = g_hSmallFont;
        pLabel->m_crText = kValueColour;
        pLabel->m_bFrame = 0;
    }
    return pLabel;
}

CXStatic* CClientFinanceGeneral::Label(uint32_t dwID) const { return dynamic_cast<CXStatic*>(FindControl(dwID)); }

void CClientFinanceGeneral::ShowButton(uint32_t dwID, bool bShow)
{
    if (CXControl* pButton = FindControl(dwID))
        pButton->Show(bShow, true);
}

bool CClientFinanceGeneral::OnInitDialog()
{
    // The controls of an earlier opening went with it.
    m_pGraph = nullptr;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors({6});

    CGame* pGame = Game();
    CXSurface* pFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog.bmp") : nullptr;
    const struct {
        uint32_t dwID;
        int x;
    } kBankButtons[] = {{ID_APPLY_OVERDRAFT, 226}, {ID_WITHDRAW_OVERDRAFT, 226}, {ID_LOAN_NOTICE, 440},
                        {ID_APPLY_LOAN, 540},      {ID_WITHDRAW_LOAN, 540}};
    for (const auto& button : kBankButtons) {
        auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, button.x, 240, 84, 26, button.dwID, nullptr));
        if (pButton) {
            pButton->m_hFont = g_hSmallFont;
            pButton->SetTextID(pFace, 0);
        }
    }
    const struct {
        uint32_t dwID;
        int x, y, nWidth;
    } kLabels[] = {
        {ID_OVERDRAFT_STATUS, 90, 80, 220},      {ID_OVERDRAFT_EXCESS_RATE, 90, 114, 60},
        {ID_OVERDRAFT_RATE, 240, 114, 70},       {ID_OVERDRAFT_AVAILABLE, 90, 148, 100},
        {ID_OVERDRAFT_AMOUNT, 90, 182, 100},     {ID_OVERDRAFT_PERIODS, 240, 182, 70},
        {ID_LOAN_STATUS, 404, 80, 220},          {ID_LOAN_AVAILABLE, 404, 114, 70},
        {ID_LOAN_RATE, 554, 114, 70},            {ID_LOAN_AMOUNT, 404, 148, 70},
        {ID_LOAN_PAYMENTS, 554, 148, 70},        {ID_LOAN_OWED, 404, 182, 70},
        {ID_LOAN_INSTALMENT, 554, 182, 70},
    };
    for (const auto& label : kLabels)
        AddValueLabel(label.dwID, label.x, label.y, label.nWidth);

    CSaveGame* pHuman = Human();
    const CCountryDatabase* pCountry = pHuman ? pHuman->GetCountry() : nullptr;
    m_nCurrentSeason = pCountry ? std::max(0, pCountry->GetSeasonYear() - kSeasonBase) : 0;
    m_nSelectedSeason = m_nCurrentSeason;
    m_pGraph = static_cast<CXGraph*>(
        AddControl(XCONTROL_GRAPH, kGraphLeft, kGraphTop, kGraphRight, kGraphBottom, ID_GRAPH, nullptr));
    CXSurface* pToggleFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog2.bmp") : nullptr;
    const struct {
        uint32_t dwID;
        int x, nLine;
    } kToggles[] = {{ID_INCOME_LINE, 8, LINE_INCOME},
                    {ID_EXPENSE_LINE, 98, LINE_EXPENSE},
                    {ID_BALANCE_LINE, 188, LINE_BALANCE},
                    {ID_PROJECTION_LINE, 278, LINE_PROJECTION}};
    for (const auto& toggle : kToggles) {
        auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, toggle.x, kButtonY, 84, 26, toggle.dwID, nullptr));
        if (!pButton)
            continue;
        pButton->m_hFont = g_hSmallFont;
        pButton->SetToggleTextID(pToggleFace, 0, m_pGraph, toggle.nLine, 0);
        pButton->SetChecked(1);
    }
    FillSeasonSelector();

    UpdateGraph();
    ShowAllControls(true);
    UpdateOverdraftPanel();
    UpdateLoanPanel();
    return bResult;
}

void CClientFinanceGeneral::FillSeasonSelector()
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(6) : nullptr;
    if (!pBox)
        return;
    pBox->ResetContent();
    CDatabaseHandler* pDatabase = Database();
    const int nLength = pDatabase ? pDatabase->GetGameSetting(0) : 0;
    int nRow = -1;
    for (int i = std::max(0, m_nCurrentSeason - nLength); i <= m_nCurrentSeason; ++i) {
        nRow = pBox->AddString(0xffffff, "%d / %d", kSeasonBase + i, kSeasonBase + 1 + i);
        pBox->SetItemData(nRow, static_cast<uint32_t>(i));
    }
    if (nRow >= 0)
        pBox->SetCurSel(nRow);
}

void CClientFinanceGeneral::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_SEASON_LIST) {
        const CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(6) : nullptr;
        if (pBox && pBox->GetSelection() >= 0) {
            m_nSelectedSeason = static_cast<int>(pBox->GetItemData(pBox->GetSelection()) & 0xFF);
            UpdateGraph();
        }
    }
    CGameClient::OnSelChange(dwID);
}

void CClientFinanceGeneral::EnableCorrectBankButtons()
{
    const CSaveGame* pHuman = Human();
    if (!pHuman)
        return;
    if (pHuman->m_byLoanKind == 0) {
        ShowButton(ID_WITHDRAW_LOAN, false);
        ShowButton(ID_APPLY_LOAN, true);
    } else if (pHuman->m_byLoanKind <= 3) {
        ShowButton(ID_APPLY_LOAN, false);
        ShowButton(ID_WITHDRAW_LOAN, true);
    } else {
        DebugLog(0, "[CClientFinanceGeneral::EnableCorrectBankButtons] LoanStatus Must be corrupt!");
    }
    const FINANCEENTRY& repayment = pHuman->GetMonthEntry(kLoanRepaymentCategory);
    ShowButton(ID_LOAN_NOTICE, repayment.nIncome != repayment.nExpense);
    if (pHuman->m_byOverdraftKind == 0) {
        ShowButton(ID_WITHDRAW_OVERDRAFT, false);
        ShowButton(ID_APPLY_OVERDRAFT, true);
    } else if (pHuman->m_byOverdraftKind <= 2) {
        ShowButton(ID_APPLY_OVERDRAFT, false);
        ShowButton(ID_WITHDRAW_OVERDRAFT, true);
    } else {
        DebugLog(0, "[CClientFinanceGeneral::EnableCorrectBankButtons] Overdraft Status Must be corrupt!");
    }
}

void CClientFinanceGeneral::UpdateLoanPanel()
{
    const CSaveGame* pHuman = Human();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    if (!pClub)
        return;
    double dRate = 0.0;
    const int32_t nAvailable = pClub->GetAvailableLoan(&dRate, nullptr);
    if (CXStatic* p = Label(ID_LOAN_STATUS))
        p->SetText("%s", Text(kLoanStatusSet, pHuman->m_byLoanKind));
    SetMoneyText(Label(ID_LOAN_AVAILABLE), nAvailable, MONEY_AS_STORED);
    if (CXStatic* p = Label(ID_LOAN_RATE))
        p->SetText("%.2f%%", dRate);
    SetMoneyText(Label(ID_LOAN_AMOUNT), pClub->m_nLoan, MONEY_AS_STORED);
    if (CXStatic* p = Label(ID_LOAN_PAYMENTS))
        p->SetText("%d (%d)", pClub->m_byInstalmentsLeft, pClub->m_byLoanByte);
    SetMoneyText(Label(ID_LOAN_OWED), GetLoanStillOwed(*pClub), MONEY_AS_STORED);
    SetMoneyText(Label(ID_LOAN_INSTALMENT), pClub->m_nLoanInstalment, MONEY_AS_STORED);
    EnableCorrectBankButtons();
}

int64_t CClientFinanceGeneral::GetLoanStillOwed(const CClubDatabase& club)
{
    // What the bank still takes: the instalments left. A loan without a
    // fixed instalment owes its total with interest less what was repaid.
    if (club.m_nLoanInstalment > 0)
        return static_cast<int64_t>(club.m_nLoanInstalment) * club.m_byInstalmentsLeft;
    const double dRate = club.m_wLoanWord * static_cast<double>(0.0001f);
    return std::max<int64_t>(0, static_cast<int64_t>(CClubDatabase::GetLoanTotal(club.m_nLoan, dRate, club.m_byLoanByte)) -
                                    club.m_nLoanRepaid);
}

void CClientFinanceGeneral::UpdateOverdraftPanel()
{
    const CSaveGame* pHuman = Human();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    if (!pClub)
        return;
    double dRate = 0.0, dExcessRate = 0.0;
    const int32_t nAvailable = pClub->GetAvailableOverdraft(&dRate, &dExcessRate);
    if (CXStatic* p = Label(ID_OVERDRAFT_STATUS))
        p->SetText("%s", Text(kOverdraftStatusSet, pHuman->m_byOverdraftKind));
    if (CXStatic* p = Label(ID_OVERDRAFT_EXCESS_RATE))
        p->SetText("%.2f%%", dExcessRate);
    if (CXStatic* p = Label(ID_OVERDRAFT_RATE))
        p->SetText("%.2f%%", dRate);
    SetMoneyText(Label(ID_OVERDRAFT_AVAILABLE), nAvailable, MONEY_AS_STORED);
    // The club keeps its overdraft as a negative limit.
    SetMoneyText(Label(ID_OVERDRAFT_AMOUNT), -static_cast<double>(pClub->m_nOverdraft), MONEY_AS_STORED);
    // The bank keeps the months left of a running overdraft, not its term.
    if (CXStatic* p = Label(ID_OVERDRAFT_PERIODS))
        p->SetText("%d", pClub->m_byOverdraftRunsLeft);
    EnableCorrectBankButtons();
}

void CClientFinanceGeneral::UpdateGraph()
{
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = Database();
    if (!m_pGraph || !pHuman || !pDatabase)
        return;
    RestoreBackground(kGraphLeft, kGraphTop, kGraphRight - kGraphLeft, kGraphBottom - kGraphTop);
    m_pGraph->Clear();
    m_pGraph->SetUp(GRAPH_ITEM_LABELS | GRAPH_ITEM_LABELS_BY_DIVISION | GRAPH_LEFT_CURRENCY | GRAPH_LEFT_ZERO_LINE,
                    kAxisColour, kAxisColour, 0.0, kAxisColour, 0);
    m_pGraph->SetXAxis(kMonthsShown, 2, 0, kMonthsShown);
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_INCOME, 2, kIncomeColour, GRAPH_LINE_WITH_POINTS, true, false, 0.0, 0);
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_EXPENSE, 2, kExpenseColour, GRAPH_LINE_WITH_POINTS, true, false, 0.0, 0);
    // The projection first, so that the balance is drawn over it.
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_PROJECTION, 2, kProjectionColour, GRAPH_LINE, true, false, 0.0, 0);
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_BALANCE, 2, kBalanceColour, GRAPH_LINE, true, false, 0.0, 0);

    const bool bCurrent = m_nSelectedSeason >= m_nCurrentSeason;
    std::vector<FINANCEMONTH> months;
    int nFirstMonth = 0;  // 1 January
    if (bCurrent) {
        months = CFinanceMonthFile::ReadMonths(pHuman->GetHistoryFileName());
        if (months.size() > static_cast<size_t>(kRecordsBeforeProjection))
            months.erase(months.begin(), months.end() - kRecordsBeforeProjection);
        nFirstMonth = pDatabase->GetGameDate().GetMonth() - static_cast<int>(months.size());
    } else {
        // Each finished season's twelve months went to the history at its
        // turn, the latest last: counted from the end, a short first
        // season cannot shift the later ones.
        std::vector<FINANCEMONTH> all = CFinanceMonthFile::ReadMonths(pHuman->GetFinanceHistoryFileName());
        const int64_t nBack = m_nCurrentSeason - m_nSelectedSeason;
        const int64_t nEnd = std::max<int64_t>(0, static_cast<int64_t>(all.size()) - kMonthsShown * (nBack - 1));
        const int64_t nBegin = std::max<int64_t>(0, nEnd - kMonthsShown);
        months.assign(std::make_move_iterator(all.begin() + nBegin), std::make_move_iterator(all.begin() + nEnd));
        const CCountryDatabase* pCountry = pHuman->GetCountry();
        nFirstMonth = pCountry && pCountry->GetSeasonStartDate().IsValid() ? pCountry->GetSeasonStartDate().GetMonth() : 7;
    }
    if (nFirstMonth <= 0)
        nFirstMonth += 12;
    for (int i = 0; i < kMonthsShown; i += 2)
        m_pGraph->SetItemLabel(i, Text(kShortMonthSet, (nFirstMonth - 1 + i) % 12));

    double dLowest = 0.0, dHighest = 0.0;
    auto add = [&](int nLine, double dValue) {
        m_pGraph->AddValue(nLine, dValue);
        dLowest = std::min(dLowest, dValue);
        dHighest = std::max(dHighest, dValue);
    };
    for (size_t i = 0; i < months.size(); ++i) {
        const FINANCEMONTH& month = months[i];
        if (i == 0) {
            add(LINE_BALANCE, month.nBalanceBefore);
            add(LINE_PROJECTION, month.nBalanceBefore);
        }
        double dIncome = 0.0, dExpense = 0.0;
        for (const FINANCEENTRY& entry : month.aMonth) {
            dIncome += entry.nIncome;
            dExpense += entry.nExpense;
        }
        add(LINE_INCOME, dIncome);
        add(LINE_EXPENSE, dExpense);
        add(LINE_BALANCE, month.nBalanceAfter);
        add(LINE_PROJECTION, month.nBalanceAfter);
    }
    if (bCurrent) {
        if (months.empty() && pHuman->GetClub()) {
            add(LINE_BALANCE, pHuman->GetClub()->m_nPreviousBalance);
            add(LINE_PROJECTION, pHuman->GetClub()->m_nPreviousBalance);
        }
        for (int32_t nBalance : CFinanceMonthFile::ReadProjectedBalances(pHuman->GetProjectedFinanceFileName()))
            add(LINE_PROJECTION, nBalance);
    }
    m_pGraph->SetYRange(static_cast<int>(dLowest), static_cast<int>(std::max(dHighest, 1.0)), 0, 100, false, true,
                        false);
    const struct {
        uint32_t dwToggle;
        int nLine;
    } kLines[] = {{ID_INCOME_LINE, LINE_INCOME},
                  {ID_EXPENSE_LINE, LINE_EXPENSE},
                  {ID_BALANCE_LINE, LINE_BALANCE},
                  {ID_PROJECTION_LINE, LINE_PROJECTION}};
    for (const auto& line : kLines) {
        const auto* pToggle = dynamic_cast<CXButton*>(FindControl(line.dwToggle));
        m_pGraph->SetSeriesHidden(line.nLine, pToggle && !pToggle->m_bChecked);
    }
    m_pGraph->Draw();
    m_pGraph->Show(true, true);
}

void CClientFinanceGeneral::OnClicked(uint32_t dwID)
{
    switch (dwID) {
    case ID_WITHDRAW_LOAN:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, ASK_WITHDRAW_LOAN);
        break;
    case ID_WITHDRAW_OVERDRAFT:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, ASK_WITHDRAW_OVERDRAFT);
        break;
    case ID_LOAN_NOTICE:
        ShowGameMessageBox(CGameMessageBox::MODE_OK, LOAN_NOTICE);
        break;
    case ID_APPLY_LOAN:
        m_LoanPopup.Open();
        break;
    case ID_APPLY_OVERDRAFT:
        m_OverdraftPopup.Open();
        break;
    default:
        break;
    }
    CGameClient::OnClicked(dwID);
}

void CClientFinanceGeneral::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    // An application stored turns the apply button into the withdraw button.
    if (pPopup == &m_LoanPopup)
        UpdateLoanPanel();
    else if (pPopup == &m_OverdraftPopup)
        UpdateOverdraftPanel();
}

void CClientFinanceGeneral::OnEndMessageBoxPopup()
{
    CGameClient::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    CSaveGame* pHuman = Human();
    if (!pBox || pBox->m_dwResultID != 884 || !pHuman)
        return;
    switch (pBox->GetTextItem()) {
    case ASK_WITHDRAW_LOAN:
        pHuman->m_byLoanKind = 0;
        pHuman->m_nLoanRequest = 0;
        pHuman->m_byLoanTerm = 0;
        pHuman->m_nLoanRequest2 = 0;
        pHuman->m_nLoanFee = 0;
        pHuman->m_wLoanInterest = 0;
        UpdateLoanPanel();
        break;
    case ASK_WITHDRAW_OVERDRAFT:
        pHuman->m_byOverdraftKind = 0;
        pHuman->m_nOverdraftRequest = 0;
        pHuman->m_nOverdraftFee = 0;
        pHuman->m_byOverdraftTerm = 0;
        UpdateOverdraftPanel();
        break;
    case LOAN_NOTICE:
        UpdateLoanPanel();
        break;
    default:
        break;
    }
}

void CClientFinanceGeneral::OnPrint() { PrintControl(ID_GRAPH); }
