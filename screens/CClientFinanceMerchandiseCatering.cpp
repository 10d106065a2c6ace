#include "screens/CClientFinanceMerchandiseCatering.h"
#include "screens/ChoiceQuestion.h"

#include "screens/FinanceScreenLook.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/CBinaryFile.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/Files.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEditPopup.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <string>

namespace {

using Screen = CClientFinanceMerchandiseCatering;
const choice_question::Buttons kBottomButtons{Screen::ID_PRICING,
                                              Screen::ID_UNDO,
                                              Screen::ID_UNDO_ALL,
                                              Screen::MESSAGE_PRICING,
                                              Screen::MESSAGE_UNDO_ALL,
                                              {Screen::ID_PRICING_STANDARD, Screen::ID_PRICING_RATIO,
                                               Screen::ID_PRICING_COST_RATIO}};

constexpr int kFamilyTextSet = 32;
constexpr int kProductTextSet = 33;
constexpr int kMerchandiseCaptionSet = 196;
constexpr int kCateringCaptionSet = 197;
constexpr int kShortMonthSet = 130;
constexpr int kRowHeight = 32;
constexpr int kListLeft = 0, kListTop = 60, kListRight = 640, kListBottom = 284;
using finance_look::kGraphBottom;
using finance_look::kGraphLeft;
using finance_look::kGraphRight;
using finance_look::kGraphTop;
constexpr int kShadeLeft = 10, kShadeRight = 630, kShadeBottom = 470;
constexpr int kToggleTop = 484;
// A record of the weekly sales file: 17 entries {units, profit, price}.
constexpr int kWeekRecordBytes = CLUB_FACILITY_ROWS * 12;
constexpr int kCommercialStaff = 3;
constexpr COLORREF kRowColour = 0xffffff;
constexpr COLORREF kAxisColour = 0xffffff;
constexpr COLORREF kSoldColour = 0xff294a;
constexpr COLORREF kPriceColour = 0x08ad00;
constexpr COLORREF kProfitColour = 0x2121ff;

// The season's two columns take some of the room left of the scroll bar, so
// that their headers show whole.
const LISTCOLUMN kColumns[] = {
    {0, 140, 4, 0, 0, 0, 345, 0, 0},   {140, 190, 4, 0, 2, 0, 347, 0, 0}, {190, 250, 4, 0, 2, 0, 348, 0, 1},
    {250, 310, 4, 0, 2, 0, 349, 0, 0}, {310, 360, 4, 0, 2, 0, 350, 0, 0}, {360, 410, 4, 0, 2, 0, 351, 0, 0},
    {410, 470, 4, 0, 2, 0, 352, 0, 0}, {470, 530, 4, 0, 2, 0, 353, 0, 0}, {530, 600, 14, 0, 2, 0, 354, 0, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
// Only the selling price is typed in. The room holds the dearest price shown
// ("99,999.99"): a shorter one would cut the price the edit starts with, and
// accepting it unchanged would then lower the price.
const LISTCELLEDIT kCellEdits[] = {
    {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {1, 9, 1, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

std::string Hundredths(int64_t nAmount) { return FormatMoney(static_cast<double>(nAmount), 1, 1, MONEY_AS_STORED, 0, 1); }

// Profits are kept in hundredths and shown in whole money.
std::string WholeMoney(int64_t nHundredths) { return FormatMoney(static_cast<double>(nHundredths), 1, 0, MONEY_AS_STORED, 0, 1); }

std::string Thousands(int32_t nValue) { return FormatThousands(nValue); }

int FirstProduct(int nFamily) { return nFamily == 0 ? 0 : CClientFinanceMerchandiseCatering::kMerchandiseRows; }

int EndProduct(int nFamily)
{
    return nFamily == 0 ? CClientFinanceMerchandiseCatering::kMerchandiseRows : CLUB_FACILITY_ROWS;
}

}  // namespace

CClientFinanceMerchandiseCatering& GetFinanceMerchandiseCateringScreen()
{
    static CClientFinanceMerchandiseCatering s_Screen;
    return s_Screen;
}

CClientFinanceMerchandiseCatering::CClientFinanceMerchandiseCatering() { m_wScreenID = SCREEN_FINANCE_MERCHANDISE; }

void CClientFinanceMerchandiseCatering::ConstructScreen() { BuildBackground(); }

void CClientFinanceMerchandiseCatering::BuildBackground()
{
    finance_look::DrawBackground(*this, m_nFamily == FAMILY_MERCHANDISE ? kMerchandiseCaptionSet : kCateringCaptionSet,
                                 65);
    // The toggles' colour strips name the three lines.
    if (m_pBackground && m_pBackground->m_pSurface) {
        m_pBackground->FillGradient(8, kToggleTop + 27, 84, 3, kPriceColour, kPriceColour);
        m_pBackground->FillGradient(98, kToggleTop + 27, 84, 3, kProfitColour, kProfitColour);
        m_pBackground->FillGradient(188, kToggleTop + 27, 84, 3, kSoldColour, kSoldColour);
    }
}

bool CClientFinanceMerchandiseCatering::OnInitDialog()
{
    m_pList = nullptr;
    m_pGraph = nullptr;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    m_pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    m_pClub = m_pHuman ? m_pHuman->GetClub() : nullptr;
    // The notice to review the prices counts from this visit.
    if (m_pHuman && pDatabase)
        m_pHuman->SetReminderDate(2, pDatabase->GetGameDate());
    m_nFamily = FAMILY_MERCHANDISE;
    m_nSelectedRow = 0;
    m_Undo.clear();
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors({kFamilySelector});

    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 200, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    m_pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, kListBottom, ID_LIST, nullptr));
    if (m_pList) {
        m_pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, true, 0,
                       false, true, false);
        m_pList->SetUpColumns(kListLeft, kListTop, kListRight, kListBottom, kColumns, true, false,
                              kListBottom - kListTop, false);
        m_pList->SetAutoRedraw(true);
        m_pList->SetCellEditTable(kCellEdits);
    }
    AddBottomButton(ID_PRICING);
    AddBottomButton(ID_UNDO);
    AddBottomButton(ID_UNDO_ALL);
    m_pGraph = static_cast<CXGraph*>(
        AddControl(XCONTROL_GRAPH, kGraphLeft, kGraphTop, kGraphRight, kGraphBottom, ID_GRAPH, nullptr));
    CGame* pGame = Game();
    CXSurface* pToggleFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog2.bmp") : nullptr;
    for (const auto& [dwID, x, nLine] : {std::tuple{ID_PRICE_LINE, 8, int(LINE_PRICE)},
                                         std::tuple{ID_PROFIT_LINE, 98, int(LINE_PROFIT)},
                                         std::tuple{ID_SOLD_LINE, 188, int(LINE_SOLD)}})
        if (auto* pToggle = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, x, kToggleTop, 84, 26, dwID, nullptr))) {
            pToggle->m_hFont = g_hSmallFont;
            pToggle->SetToggleTextID(pToggleFace, 0, m_pGraph, nLine, 0);
            pToggle->SetChecked(1);
        }
    // The graph gets its plot area before anything shows it.
    UpdateGraph();
    FillFamilySelector();
    ApplyPricing(false);
    Redraw();
    return bResult;
}

void CClientFinanceMerchandiseCatering::OnDestroy()
{
    CGameClient::OnDestroy();
    m_Undo.clear();
    m_pList = nullptr;
    m_pGraph = nullptr;
}

void CClientFinanceMerchandiseCatering::FillFamilySelector()
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(kFamilySelector) : nullptr;
    if (!pBox)
        return;
    m_bQuiet = true;
    pBox->ResetContent();
    for (int i = 0;; ++i) {
        const char* pszName = GetTableTextOrEmpty(kFamilyTextSet, i);
        if (!*pszName)
            break;
        pBox->SetItemData(pBox->AddString(0xffffff, "%s", pszName), static_cast<uint32_t>(i));
    }
    const int nRow = pBox->FindItemData(static_cast<uint32_t>(m_nFamily));
    if (nRow >= 0)
        pBox->SetCurSel(nRow);
    m_bQuiet = false;
}

void CClientFinanceMerchandiseCatering::Redraw()
{
    ShowAllControls(false);
    // The family's caption goes on the background.
    BuildBackground();
    RestoreBackground(0, 0, Width(), Height());
    FillList();
    ShowAllControls(true);
    if (m_pList)
        m_pList->Redraw();
    UpdateButtons();
    UpdateGraph();
}

void CClientFinanceMerchandiseCatering::UpdateButtons()
{
    // Only a commercial manager can keep the prices, and only while the
    // human keeps them himself.
    const bool bCommercial = m_pClub && m_pClub->m_awStaffSlots[kCommercialStaff][0] != 0;
    const bool bByHand = m_pHuman && m_pHuman->GetDelegation(SAVEGAME_DELEGATION_PRODUCT_PRICES) == 0;
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_PRICING))) {
        pButton->Enable(!(bCommercial && bByHand));
        pButton->Show(true, true);
    }
    for (uint32_t dwID : {ID_UNDO, ID_UNDO_ALL})
        if (auto* pButton = dynamic_cast<CXButton*>(FindControl(dwID))) {
            pButton->Enable(m_Undo.empty());
            pButton->Show(true, true);
        }
}

void CClientFinanceMerchandiseCatering::FillList()
{
    if (!m_pList)
        return;
    m_bQuiet = true;
    m_pList->ResetContent();
    for (int nProduct = FirstProduct(m_nFamily); nProduct < EndProduct(m_nFamily); ++nProduct) {
        const int nRow = m_pList->AddString(kRowColour, "%s", "");
        m_pList->SetItemData(nRow, static_cast<uint32_t>(nProduct));
        UpdateRow(nRow);
    }
    m_nSelectedRow = 0;
    m_pList->SetSelection(m_pList->GetCount() > 0 ? 0 : -1);
    m_pList->Redraw();
    m_bQuiet = false;
}

void CClientFinanceMerchandiseCatering::UpdateRow(int nRow)
{
    if (!m_pList || nRow < 0 || nRow >= m_pList->GetCount())
        return;
    const int nProduct = static_cast<int>(m_pList->GetItemData(nRow));
    auto field = [&](int nField) { return m_pHuman ? m_pHuman->GetTicketField(nProduct, nField) : 0; };
    const int32_t nCost = field(TICKET_FIELD_COST);
    const int32_t nPrice = field(TICKET_FIELD_PRICE);
    m_pList->SetString(nRow, "%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s", GetTableTextOrEmpty(kProductTextSet, nProduct),
                       Hundredths(nCost).c_str(), Hundredths(nPrice).c_str(),
                       Hundredths(static_cast<int64_t>(nPrice) - nCost).c_str(),
                       Thousands(field(TICKET_FIELD_STOCK)).c_str(), Thousands(field(TICKET_FIELD_LAST_BUYERS)).c_str(),
                       WholeMoney(field(TICKET_FIELD_LAST_PROFIT)).c_str(),
                       Thousands(field(TICKET_FIELD_SEASON_BUYERS)).c_str(),
                       WholeMoney(field(TICKET_FIELD_SEASON_PROFIT)).c_str());
    m_pList->RedrawRow(nRow, true);
}

int CClientFinanceMerchandiseCatering::GetSelectedProduct() const
{
    if (!m_pList || m_nSelectedRow < 0 || m_nSelectedRow >= m_pList->GetCount())
        return -1;
    return static_cast<int>(m_pList->GetItemData(m_nSelectedRow));
}

void CClientFinanceMerchandiseCatering::SelectRow(int nRow)
{
    if (!m_pList || nRow < 0 || nRow >= m_pList->GetCount())
        return;
    m_bQuiet = true;
    m_nSelectedRow = nRow;
    m_pList->SetSelection(nRow);
    m_pList->Redraw();
    m_bQuiet = false;
}

void CClientFinanceMerchandiseCatering::OnSelChange(uint32_t dwID)
{
    if (m_bQuiet) {
        CGameClient::OnSelChange(dwID);
        return;
    }
    if (dwID == ID_LIST && m_pList) {
        const int nRow = m_pList->GetSelection();
        if (nRow >= 0 && nRow != m_nSelectedRow) {
            PushUndo(UNDO_ROW, m_nSelectedRow);
            m_nSelectedRow = nRow;
            UpdateGraph();
        }
        return;
    }
    if (dwID == ID_FAMILY_LIST) {
        const CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(kFamilySelector) : nullptr;
        const int nRow = pBox ? pBox->GetSelection() : -1;
        if (nRow >= 0 && static_cast<int>(pBox->GetItemData(nRow)) != m_nFamily)
            SetFamily(static_cast<int>(pBox->GetItemData(nRow)), true);
        return;
    }
    CGameClient::OnSelChange(dwID);
}

void CClientFinanceMerchandiseCatering::SetFamily(int nFamily, bool bWithUndo)
{
    if (nFamily != FAMILY_MERCHANDISE && nFamily != FAMILY_CATERING)
        return;
    if (bWithUndo) {
        PushUndo(UNDO_ROW, m_nSelectedRow);
        PushUndo(UNDO_FAMILY, m_nFamily);
    }
    m_nFamily = nFamily;
    FillFamilySelector();
    Redraw();
}

bool CClientFinanceMerchandiseCatering::SetTypedPrice(int nRow, const char* pszText)
{
    if (!m_pHuman || !m_pList || nRow < 0 || nRow >= m_pList->GetCount() || !pszText)
        return false;
    // A text without a digit is not a price, however the money reader takes it.
    if (std::none_of(pszText, pszText + std::strlen(pszText), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        UpdateRow(nRow);
        return false;
    }
    const double dPrice = MoneyValueFromText(pszText, 1);
    if (!(dPrice >= 0.0 && dPrice <= kHighestPrice)) {
        UpdateRow(nRow);
        return false;
    }
    // The row priced becomes the chosen one, as a click on it makes it, so
    // that undoing the price finds its product.
    if (nRow != m_nSelectedRow) {
        PushUndo(UNDO_ROW, m_nSelectedRow);
        SelectRow(nRow);
    }
    const int nProduct = static_cast<int>(m_pList->GetItemData(nRow));
    m_pHuman->SetDelegation(SAVEGAME_DELEGATION_PRODUCT_PRICES, 0);
    PushUndo(UNDO_PRICE, m_pHuman->GetTicketField(nProduct, TICKET_FIELD_PRICE));
    m_pHuman->SetTicketField(nProduct, TICKET_FIELD_PRICE, static_cast<int32_t>(dPrice));
    UpdateRow(nRow);
    UpdateButtons();
    UpdateGraph();
    return true;
}

void CClientFinanceMerchandiseCatering::OnListNotify(uint32_t dwScreenID)
{
    const CXEditPopup* pPopup = m_pList ? m_pList->CellEditPopup() : nullptr;
    if (dwScreenID != EDIT_POPUP_SCREEN_ID || !pPopup || pPopup->m_nColumn != COLUMN_PRICE)
        return;
    SetTypedPrice(pPopup->m_nRow, pPopup->Text());
}

void CClientFinanceMerchandiseCatering::PushUndo(uint8_t byKind, int32_t nValue)
{
    m_Undo.push_back({byKind, nValue});
    UpdateButtons();
}

void CClientFinanceMerchandiseCatering::ClearUndo()
{
    m_Undo.clear();
    UpdateButtons();
}

void CClientFinanceMerchandiseCatering::Undo()
{
    if (m_Undo.empty())
        return;
    const UNDORECORD record = m_Undo.back();
    m_Undo.pop_back();
    switch (record.byKind) {
    case UNDO_ROW:
        SelectRow(record.nValue);
        UpdateGraph();
        break;
    case UNDO_PRICE:
        if (const int nProduct = GetSelectedProduct(); nProduct >= 0 && m_pHuman) {
            m_pHuman->SetTicketField(nProduct, TICKET_FIELD_PRICE, record.nValue);
            UpdateRow(m_nSelectedRow);
        }
        break;
    case UNDO_FAMILY:
        SetFamily(record.nValue, false);
        // The row chosen before the change was stored with it.
        Undo();
        break;
    default:
        break;
    }
    UpdateButtons();
}

void CClientFinanceMerchandiseCatering::UndoAll()
{
    while (!m_Undo.empty())
        Undo();
}

void CClientFinanceMerchandiseCatering::ApplyPricing(bool bReset)
{
    if (!m_pHuman)
        return;
    if (bReset)
        m_pHuman->SetDelegation(SAVEGAME_DELEGATION_PRODUCT_PRICES, 0);
    m_pHuman->ApplyProductPricing();
    m_pHuman->GetNotices().ClearResolvedNotices();
}

void CClientFinanceMerchandiseCatering::OnClicked(uint32_t dwID)
{
    const bool bBottomButton = choice_question::OnBottomButton(dwID, kBottomButtons, [this] {
        Undo();
        if (m_pList)
            m_pList->Redraw();
    });
    if (bBottomButton)
        return;
    switch (dwID) {
    case ID_PRICE_LINE:
    case ID_PROFIT_LINE:
    case ID_SOLD_LINE:
        CGameClient::OnClicked(dwID);
        UpdateGraph();
        return;
    default:
        CGameClient::OnClicked(dwID);
        return;
    }
}

void CClientFinanceMerchandiseCatering::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox) {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    // The ways are pricing modes 1 (standard prices) to 3.
    const bool bAnswered = choice_question::OnAnswer(
        *pBox, kBottomButtons,
        [this](int nChoice) {
            if (nChoice < 0 || !m_pHuman)
                return;
            m_pHuman->SetDelegation(SAVEGAME_DELEGATION_PRODUCT_PRICES, static_cast<uint8_t>(nChoice + 1));
            ApplyPricing(false);
            Redraw();
        },
        [this] {
            UndoAll();
            Redraw();
        });
    if (!bAnswered)
        CGameClient::OnEndMessageBoxPopup();
}

std::vector<CClientFinanceMerchandiseCatering::WEEKSALES> CClientFinanceMerchandiseCatering::ReadWeeklySales(
    const char* pszFile, int nProduct)
{
    std::vector<WEEKSALES> weeks;
    if (nProduct < 0 || nProduct >= CLUB_FACILITY_ROWS)
        return weeks;
    const int64_t nBytes = plat::fileSize(pszFile);
    if (nBytes < kWeekRecordBytes)
        return weeks;
    FILE* pFile = plat::openFile(pszFile, "rb");
    if (!pFile)
        return weeks;
    // Only whole records count; the last year is the file's last 52.
    const int64_t nRecords = nBytes / kWeekRecordBytes;
    const int64_t nFirst = std::max<int64_t>(0, nRecords - kWeeks);
    if (std::fseek(pFile, static_cast<long>(nFirst * kWeekRecordBytes), SEEK_SET) == 0) {
        CBinaryReader reader(pFile);
        for (int64_t r = nFirst; r < nRecords; ++r) {
            WEEKSALES week;
            bool bRead = true;
            for (int e = 0; e < CLUB_FACILITY_ROWS && bRead; ++e) {
                uint32_t dwUnits = 0, dwPrice = 0;
                int32_t nProfit = 0;
                bRead = reader.ReadU32(dwUnits) && reader.ReadI32(nProfit) && reader.ReadU32(dwPrice);
                if (bRead && e == nProduct) {
                    week.nUnits = dwUnits;
                    week.nProfit = nProfit;
                    week.nPrice = dwPrice;
                }
            }
            if (!bRead)
                break;
            weeks.push_back(week);
        }
    }
    std::fclose(pFile);
    return weeks;
}

void CClientFinanceMerchandiseCatering::UpdateGraph()
{
    if (!m_pGraph)
        return;
    // A line drawn to an earlier scale may reach above the shaded area.
    RestoreBackground(kShadeLeft, kListBottom, kShadeRight - kShadeLeft, kShadeBottom - kListBottom);
    m_pGraph->Clear();
    m_pGraph->SetUp(GRAPH_ITEM_LABELS | GRAPH_ITEM_LABELS_BY_DIVISION | GRAPH_RIGHT_AXIS_DRAWN | GRAPH_LEFT_CURRENCY |
                        GRAPH_LEFT_ZERO_LINE,
                    kAxisColour, kAxisColour, 0.0, kAxisColour, 0);
    // A point a week; five labelled steps up each axis.
    m_pGraph->SetXAxis(kWeeks, 5, 5, kWeeks);
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_PRICE, 1, kPriceColour, GRAPH_LINE, true, false, 0.0, 0);
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_PROFIT, 1, kProfitColour, GRAPH_LINE, true, false, 0.0, 0);
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_SOLD, 1, kSoldColour, GRAPH_LINE, false, false, 0.0, 0);

    std::vector<WEEKSALES> weeks;
    if (m_pClub) {
        char szFile[32];
        std::snprintf(szFile, sizeof szFile, "Temp%d.wmh", m_pClub->m_wClubId);
        weeks = ReadWeeklySales(szFile, GetSelectedProduct());
    }
    // Weeks before the first sale and after the last are left out.
    auto first = std::find_if(weeks.begin(), weeks.end(), [](const WEEKSALES& w) { return w.nUnits != 0; });
    auto last = std::find_if(weeks.rbegin(), weeks.rend(), [](const WEEKSALES& w) { return w.nUnits != 0; }).base();
    const CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CDate today = pDatabase ? pDatabase->GetGameDate() : CDate();
    int64_t nMostMoney = 100, nMostUnits = 10;
    int nItem = 0;
    int nLastMonth = -1;
    for (auto it = first; it < last; ++it, ++nItem) {
        const int nWeeksAgo = static_cast<int>(weeks.end() - it) - 1;
        CDate date = today;
        date.AddDays(-7 * nWeeksAgo);
        if (date.GetMonth() != nLastMonth) {
            m_pGraph->SetItemLabel(nItem, GetTableTextOrEmpty(kShortMonthSet, date.GetMonth() - 1));
            nLastMonth = date.GetMonth();
        }
        m_pGraph->AddValue(LINE_SOLD, static_cast<double>(it->nUnits));
        m_pGraph->AddValue(LINE_PROFIT, static_cast<double>(it->nProfit / 100));
        m_pGraph->AddValue(LINE_PRICE, static_cast<double>(it->nPrice / 100));
        nMostMoney = std::max({nMostMoney, it->nProfit / 100, it->nPrice / 100});
        nMostUnits = std::max(nMostUnits, it->nUnits);
    }
    m_pGraph->SetYRange(0, static_cast<int>(std::min<int64_t>(nMostMoney, INT32_MAX)), 0,
                        static_cast<int>(std::min<int64_t>(nMostUnits, INT32_MAX)), false, true, true);
    for (const auto& [dwID, nLine] : {std::pair{ID_PRICE_LINE, int(LINE_PRICE)}, std::pair{ID_PROFIT_LINE, int(LINE_PROFIT)},
                                      std::pair{ID_SOLD_LINE, int(LINE_SOLD)}}) {
        const auto* pToggle = dynamic_cast<CXButton*>(FindControl(dwID));
        m_pGraph->SetSeriesHidden(nLine, pToggle && !pToggle->m_bChecked);
    }
    m_pGraph->Draw();
    m_pGraph->Show(true, true);
}

void CClientFinanceMerchandiseCatering::OnPrint() { PrintControl(ID_LIST); }
