#include "xframework/CXListBox.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/CXEditPopup.h"
#include "xframework/CXManager.h"
#include "xframework/DrawingFunctions.h"

#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr COLORREF kHeaderTextColour = 0x00FFFFFF;
constexpr COLORREF kSortingHeaderPressedColour = 0x00838383;
constexpr int kWheelRows = 3;
constexpr COLORREF kValueBarGreen = 0x0000B400;
constexpr COLORREF kValueBarRed = 0x000000B4;

// Words compare case-blind, hyphens and apostrophes left out, as a reader
// orders them; only texts equal that way fall back to the letters' case,
// small letters first.
int CompareWords(const char* a, const char* b)
{
    auto skip = [](const char*& p) {
        while (*p == '-' || *p == '\'')
            ++p;
    };
    const char* pa = a;
    const char* pb = b;
    for (;;) {
        skip(pa);
        skip(pb);
        const int ca = std::tolower(static_cast<unsigned char>(*pa));
        const int cb = std::tolower(static_cast<unsigned char>(*pb));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            break;
        ++pa;
        ++pb;
    }
    for (; *a && *b; ++a, ++b)
        if (*a != *b)
            return std::islower(static_cast<unsigned char>(*a)) ? -1 : 1;
    return std::strcmp(a, b) < 0 ? -1 : (std::strcmp(a, b) > 0 ? 1 : 0);
}

double NumberWithout(const char* pszCell, bool bCurrency)
{
    char szNumber[LISTBOX_ROW_TEXT_SIZE];
    std::snprintf(szNumber, sizeof szNumber, "%s", pszCell);
    if (bCurrency)
        NormaliseNumberText(szNumber);
    else
        RemoveChar(szNumber, ',');
    return std::strtod(szNumber, nullptr);
}

// Days since year 0 of a "d/m/y" cell in the date order; two-digit years
// below 90 are 2000s, 90 to 99 the 1900s.
long DateKey(const char* pszCell, uint8_t byDateOrder)
{
    int n[3] = {0, 0, 0};
    std::sscanf(pszCell, "%d/%d/%d", &n[0], &n[1], &n[2]);
    int nDay = n[0], nMonth = n[1], nYear = n[2];
    if (byDateOrder == 1) {
        nMonth = n[0];
        nDay = n[1];
    } else if (byDateOrder == 2) {
        nYear = n[0];
        nMonth = n[1];
        nDay = n[2];
    }
    if (nYear >= 0 && nYear < 90)
        nYear += 2000;
    else if (nYear >= 90 && nYear <= 99)
        nYear += 1900;
    return (static_cast<long>(nYear) * 13 + nMonth) * 32 + nDay;
}

const char* AfterNumberPrefix(const char* pszCell)
{
    return pszCell[0] && pszCell[1] == '.' && std::strlen(pszCell) >= 3 ? pszCell + 3 : pszCell;
}

const char* FromFirstBlank(const char* pszCell)
{
    const char* pBlank = std::strchr(pszCell, ' ');
    return pBlank ? pBlank : pszCell;
}

template <typename T>
int Order(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool IsNumericSort(uint8_t bySortType)
{
    return bySortType == LISTSORT_NUMBER || bySortType == LISTSORT_CURRENCY || bySortType == LISTSORT_DATE;
}

// The value a cell of a number or date column sorts by.
double NumericSortKey(const char* pszCell, uint8_t bySortType, uint8_t byDateOrder)
{
    if (bySortType == LISTSORT_DATE)
        return static_cast<double>(DateKey(pszCell, byDateOrder));
    return NumberWithout(pszCell, bySortType == LISTSORT_CURRENCY);
}


}  // namespace

std::string HeaderCaption(const plat::Font* pFont, const char* pszCaption, int nCellWidth, int* pnMargin)
{
    constexpr int kUsualMargin = 5, kLeastMargin = 2;
    const int nRoom = nCellWidth - HEADER_FACE_END - kLeastMargin;
    auto width = [pFont](const std::string& text) {
        return pFont ? pFont->textWidth(text.c_str(), static_cast<int>(text.size())) : 0;
    };
    std::string caption(pszCaption);
    const int nWidth = width(caption);
    if (nWidth <= nRoom) {
        *pnMargin = std::min(kUsualMargin, nCellWidth - HEADER_FACE_END - nWidth);
        return caption;
    }
    *pnMargin = kLeastMargin;
    const std::string ellipsis("\x85");
    while (!caption.empty() && (width(caption + ellipsis) > nRoom || caption.back() == ' '))
        caption.pop_back();
    if (!caption.empty())
        return caption + ellipsis;
    // Not one letter beside the ellipsis: the letters that fit alone.
    caption = pszCaption;
    while (!caption.empty() && width(caption) > nRoom)
        caption.pop_back();
    return caption;
}

int CompareListCells(const char* pszA, const char* pszB, uint8_t bySortType, uint8_t byDateOrder)
{
    if (IsNumericSort(bySortType))
        return Order(NumericSortKey(pszA, bySortType, byDateOrder), NumericSortKey(pszB, bySortType, byDateOrder));
    switch (bySortType) {
    case LISTSORT_NUMBERED_TEXT:
        return CompareWords(AfterNumberPrefix(pszA), AfterNumberPrefix(pszB));
    case LISTSORT_AFTER_BLANK:
        return CompareWords(FromFirstBlank(pszA), FromFirstBlank(pszB));
    default:
        return CompareWords(pszA, pszB);
    }
}

CXListBox::CXListBox() = default;

CXListBox::~CXListBox()
{
    // An open cell edit must not outlive its list on the popup stack.
    if (m_pCellEditPopup && m_pCellEditPopup->IsOnStack())
        m_pCellEditPopup->Close();
    // Headers and the bar belong to the owner and may outlive the list.
    for (CXButton*& pHeader : m_pHeaders) {
        if (pHeader && m_pOwner && m_pOwner->ControlType(pHeader) == XCONTROL_BUTTON)
            pHeader->m_pLinkedControl = nullptr;
        pHeader = nullptr;
    }
    if (m_pScrollBar && m_pOwner && m_pOwner->ControlType(m_pScrollBar) == XCONTROL_SCROLLBAR)
        m_pScrollBar->SetLinkedControl(nullptr, nullptr);
}

// ---- set-up ----

void CXListBox::SetUp(int nRowHeight, int nTextIndent, plat::Font* hFont, uint8_t byStyle, bool bSelectable,
                      CXScrollBar* pScrollBar, bool bColumnsWithHeaders, CXSurface* pSelectionImage, bool bHeaderStrip,
                      uint8_t byBackgroundStyle, bool bAutoScroll, bool bAlwaysShowSelection, bool bWholeRowHover)
{
    m_nRowHeight = std::max(1, nRowHeight);
    m_nTextIndent = nTextIndent;
    m_hFont = hFont;
    m_byStyle = byStyle;
    m_bSelectable = bSelectable ? 1 : 0;
    m_pScrollBar = pScrollBar;
    m_bColumnsWithHeaders = bColumnsWithHeaders ? 1 : 0;
    m_pSelectionImage = pSelectionImage;
    m_bHeaderStrip = bHeaderStrip ? 1 : 0;
    m_byBackgroundStyle = byBackgroundStyle;
    m_bAutoScroll = bAutoScroll ? 1 : 0;
    m_bAlwaysShowSelection = bAlwaysShowSelection ? 1 : 0;
    m_bWholeRowHover = bWholeRowHover ? 1 : 0;
    m_bChanged = 0;
    m_crCellFill = 0x004A2921;
    m_crCellLight = 0x007B5242;
    m_crCellDark = 0x002A1010;
    if (m_pScrollBar)
        m_pScrollBar->SetLinkedControl(this, this);
    // Lays out the row area, and the bar at the list's right.
    Move(m_nLeft, m_nTop, Width(), Height(), false);
}

void CXListBox::SetUpColumns(int nLeft, int nTop, int nRight, int nBottom, const LISTCOLUMN* pColumns, bool bCentreX,
                             bool bCentreY, int nVisibleHeight, bool bHeaderOption)
{
    if (m_bAutoRedraw)
        UpdateScrollBar();
    m_bAutoRedraw = 0;
    int x = nLeft, y = nTop, nWidth = nRight - nLeft, nHeight = nBottom - nTop;
    if (bCentreX && pColumns) {
        int nLastRight = 0;
        for (const LISTCOLUMN* p = pColumns; p->nLeft != LISTCOLUMN_END; ++p)
            nLastRight = p->nRight;
        nWidth = nLastRight;
        x = nLeft + (nRight - nLeft - nWidth) / 2;
        if (m_pScrollBar)
            x -= CXScrollBar::kTrackWidth / 2;
    }
    if (bCentreY) {
        y = nTop + (nBottom - nTop) / 2 + m_nHeaderHeight / 2 - nVisibleHeight / 2;
        nHeight = nVisibleHeight;
    }
    Move(x, y, nWidth, nHeight, false);
    CreateColumnHeaders(pColumns, bHeaderOption);
}

void CXListBox::FreeColumnHeaders()
{
    for (CXButton*& pHeader : m_pHeaders) {
        if (pHeader && m_pOwner && m_pOwner->ControlType(pHeader) == XCONTROL_BUTTON) {
            pHeader->m_pLinkedControl = nullptr;
            for (int i = 0; i < m_pOwner->GetControlCount(); ++i)
                if (m_pOwner->GetControl(i) == pHeader) {
                    m_pOwner->RemoveControl(i);
                    break;
                }
        }
        pHeader = nullptr;
    }
    m_pHeaderStrip.reset();
}

void CXListBox::CreateColumnHeaders(const LISTCOLUMN* pColumns, bool bHeaderOption)
{
    m_bAutoRedraw = 0;
    FreeColumnHeaders();
    m_pColumns = pColumns;
    m_nColumnCount = 0;
    if (pColumns)
        while (pColumns[m_nColumnCount].nLeft != LISTCOLUMN_END)
            ++m_nColumnCount;
    m_nVisibleColumns = m_nColumnCount;
    std::fill(std::begin(m_bySortMarks), std::end(m_bySortMarks), 0);
    m_nSortColumn = -1;
    if (m_bHeaderStrip)
        BuildHeaderStrip();
    if (m_pOwner) {
        for (int i = 0; i < std::min(m_nColumnCount, LISTBOX_MAX_COLUMNS); ++i) {
            const LISTCOLUMN& column = m_pColumns[i];
            if (column.wHeaderID == 0)
                continue;
            auto* pHeader = static_cast<CXButton*>(
                m_pOwner->AddControlXYWH(XCONTROL_BUTTON, m_nLeft + column.nLeft, m_nTop - m_nHeaderHeight,
                                         column.nRight - column.nLeft, m_nHeaderHeight, column.wHeaderID, nullptr));
            if (!pHeader)
                continue;
            m_pHeaders[i] = pHeader;
            pHeader->SetLinkedButton(this, m_pHeaderStrip.get(), column.nLeft, m_nHeaderHeight);
            if (column.bySortType == LISTSORT_NONE)
                pHeader->Enable(true);
        }
    }
    if (bHeaderOption || m_byBackgroundStyle == 1)
        CreateRowBackground();
}

void CXListBox::BuildHeaderStrip()
{
    CXSurface* pHeaderFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnSort.bmp") : nullptr;
    auto pStrip = std::make_unique<CXSurface>();
    if (!pStrip->Create(Width() + 1, 2 * m_nHeaderHeight, false, true))
        return;
    pStrip->Fill(0x00FF00FF);
    for (int i = 0; i < m_nColumnCount; ++i) {
        const LISTCOLUMN& column = m_pColumns[i];
        const int nWidth = column.nRight - column.nLeft;
        if (nWidth < 4)
            continue;
        for (int nLook = 0; nLook < 2 && pHeaderFace && pHeaderFace->m_pSurface; ++nLook) {
            const int nSourceX = nLook * 32, y = nLook * m_nHeaderHeight;
            DrawHeaderCell(*pStrip->m_pSurface, column.nLeft, y, nWidth, *pHeaderFace->m_pSurface, nSourceX);
        }
        const char* pszCaption = g_pfnControlCaptionText ? g_pfnControlCaptionText(column.wHeaderID) : nullptr;
        if (!column.wHeaderID || !pszCaption)
            continue;
        plat::DeviceContext* pDC = pStrip->m_pSurface->getDC();
        pDC->setBkMode(plat::TRANSPARENT);
        if (g_hButtonFont)
            pDC->selectFont(g_hButtonFont);
        int nMargin = 0;
        const std::string caption = HeaderCaption(g_hButtonFont, pszCaption, nWidth, &nMargin);
        const int nLength = static_cast<int>(caption.size());
        pDC->setTextColor(kHeaderTextColour);
        pDC->textOut(column.nLeft + nMargin, 0, caption.c_str(), nLength);
        pDC->setTextColor(column.bySortType ? kSortingHeaderPressedColour : kHeaderTextColour);
        pDC->textOut(column.nLeft + nMargin + 1, m_nHeaderHeight + 1, caption.c_str(), nLength);
        pStrip->m_pSurface->releaseDC(pDC);
    }
    m_pHeaderStrip = std::move(pStrip);
}

void CXListBox::CreateRowBackground()
{
    // A filled cell per column with a light top-left and a dark bottom-right
    // edge, laid behind the selected row.
    auto pRow = std::make_unique<CXSurface>();
    const int nWidth = std::max(1, Width()), nHeight = std::max(1, m_nRowHeight);
    if (!pRow->Create(nWidth, nHeight, false, false))
        return;
    pRow->Fill(m_crCellDark);
    plat::DeviceContext* pDC = pRow->m_pSurface->getDC();
    auto cell = [&](int nLeft, int nRight) {
        DrawFilledRect(pDC, nLeft, 0, nRight - 1, nHeight - 1, m_crCellFill);
        DrawLine(pDC, nLeft, 0, nRight - 1, 0, m_crCellLight, 1, plat::PS_SOLID);
        DrawLine(pDC, nLeft, 0, nLeft, nHeight - 1, m_crCellLight, 1, plat::PS_SOLID);
    };
    if (m_nColumnCount > 0)
        for (int i = 0; i < m_nColumnCount; ++i)
            cell(m_pColumns[i].nLeft, m_pColumns[i].nRight);
    else
        cell(0, nWidth);
    pRow->m_pSurface->releaseDC(pDC);
    m_pRowBackground = std::move(pRow);
}

// ---- rows ----

CXListBox::Row* CXListBox::RowAt(int nRow)
{
    return nRow >= 0 && nRow < GetCount() ? m_Rows[static_cast<size_t>(nRow)].get() : nullptr;
}

const CXListBox::Row* CXListBox::RowAt(int nRow) const
{
    return nRow >= 0 && nRow < GetCount() ? m_Rows[static_cast<size_t>(nRow)].get() : nullptr;
}

const CXListBox::Row* CXListBox::GetRow(int nRow) const { return RowAt(nRow); }

int CXListBox::AppendRow(const char* pszText, COLORREF crColour, plat::Font* hFont, uint8_t byAlignment)
{
    auto pRow = std::make_unique<Row>();
    std::snprintf(pRow->szText, sizeof pRow->szText, "%s", pszText ? pszText : "");
    pRow->crColour = crColour;
    pRow->hFont = hFont;
    pRow->byAlignment = byAlignment;
    m_Rows.push_back(std::move(pRow));
    AfterAppend();
    return GetCount() - 1;
}

int CXListBox::AddString(COLORREF crColour, const char* pszFormat, ...)
{
    char szText[LISTBOX_ROW_TEXT_SIZE];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof szText, pszFormat, args);
    va_end(args);
    return AppendRow(szText, crColour, nullptr, 0);
}

int CXListBox::AppendRowLike(const Row& source)
{
    const bool bAutoRedraw = m_bAutoRedraw;
    m_bAutoRedraw = 0;
    const int nRow = AppendRow(source.szText, source.crColour, source.hFont, source.byAlignment);
    Row& row = *RowAt(nRow);
    row.Graphics = source.Graphics;
    row.bEnabled = source.bEnabled;
    m_bAutoRedraw = bAutoRedraw;
    if (m_bAutoRedraw)
        RedrawRow(nRow, true);
    return nRow;
}

int CXListBox::AddFile(const char* pszPath, COLORREF crColour)
{
    std::vector<uint8_t> bytes;
    if (!pszPath || !plat::readWholeFile(pszPath, bytes)) {
        AddString(crColour, "%s", "File not found!");
        return 1;
    }
    const int nBefore = GetCount();
    std::string line;
    auto flush = [&] {
        if (line.empty())
            AddString(crColour, "%s", "");
        else
            AddWrappedString(line.c_str(), crColour, nullptr, 0);
        line.clear();
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r')
            continue;
        if (c == '\n')
            flush();
        else
            line += c == '\t' ? ' ' : c;
    }
    if (!line.empty())
        flush();
    return GetCount() - nBefore;
}

int CXListBox::AddWrappedString(const char* pszText, COLORREF crColour, plat::Font* hFont, uint8_t byAlignment)
{
    if (!pszText)
        return -1;
    plat::Font* pFont = hFont ? hFont : m_hFont;
    const int nRoom = m_nRowAreaWidth - m_nTextIndent;
    auto width = [&](const std::string& text) {
        return pFont ? pFont->textWidth(text.c_str(), static_cast<int>(text.size())) : 0;
    };
    int nFirst = -1;
    std::string line;
    auto finish = [&]() {
        if (line.empty())
            return;
        // A line is cut to the wrapped-line buffer, the row then cuts it again.
        if (line.size() > LISTBOX_WRAPPED_LINE_SIZE - 1)
            line.resize(LISTBOX_WRAPPED_LINE_SIZE - 1);
        const int nRow = AppendRow(line.c_str(), crColour, hFont, byAlignment);
        if (nFirst < 0)
            nFirst = nRow;
        line.clear();
    };
    const char* p = pszText;
    while (*p) {
        // A word runs up to and including the next blank.
        std::string word;
        while (*p && *p != ' ') {
            if (static_cast<unsigned char>(*p) >= 0x20)
                word += *p;
            ++p;
        }
        if (*p == ' ') {
            word += ' ';
            ++p;
        }
        if (!line.empty() && width(line + word) > nRoom)
            finish();
        line += word;
    }
    finish();
    return nFirst;
}

void CXListBox::AfterAppend()
{
    const int nCount = GetCount();
    if (m_nSelected < 0)
        m_nSelected = 0;
    // A list that showed its last row keeps showing it.
    if (m_bAutoScroll && m_nFirstVisible + RowsPerView() >= nCount - 1 && nCount > RowsPerView())
        m_nFirstVisible = nCount - RowsPerView();
    if (m_bAutoRedraw) {
        Redraw();
        UpdateScrollBar();
        if (m_pScrollBar)
            m_pScrollBar->SetPos(m_nFirstVisible, true);
    }
}

int CXListBox::DeleteString(int nRow)
{
    if (!RowAt(nRow))
        return -1;
    const bool bLastInView = nRow == GetCount() - 1 && nRow == m_nFirstVisible + RowsPerView() - 1;
    m_Rows.erase(m_Rows.begin() + nRow);
    const int nCount = GetCount();
    if (m_nSelected >= nCount)
        m_nSelected = nCount - 1;
    if (m_nHoverRow >= nCount)
        m_nHoverRow = -1;
    if (bLastInView && m_nFirstVisible > 0)
        --m_nFirstVisible;
    m_nFirstVisible = std::clamp(m_nFirstVisible, 0, LargestFirstVisible());
    UpdateScrollBar();
    if (m_bAutoRedraw)
        Redraw();
    return nCount;
}

void CXListBox::ResetContent()
{
    m_Rows.clear();
    m_nSelected = -1;
    m_nFirstVisible = 0;
    m_nHoverRow = -1;
    UpdateScrollBar();
    if (m_bAutoRedraw)
        Redraw();
}

void CXListBox::SetRowText(int nRow, const char* pszText)
{
    Row* pRow = RowAt(nRow);
    if (!pRow)
        return;
    std::snprintf(pRow->szText, sizeof pRow->szText, "%s", pszText ? pszText : "");
    RedrawRow(nRow, true);
}

void CXListBox::SetString(int nRow, const char* pszFormat, ...)
{
    char szText[LISTBOX_ROW_TEXT_SIZE];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof szText, pszFormat, args);
    va_end(args);
    SetRowText(nRow, szText);
}

void CXListBox::SetColumnText(int nRow, int nColumn, const char* pszText)
{
    const Row* pRow = RowAt(nRow);
    if (!pRow || nColumn < 0)
        return;
    int nCells = 1;
    for (const char* p = pRow->szText; *p; ++p)
        nCells += *p == '\t';
    std::string text;
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    for (int i = 0; i < std::max(nCells, nColumn + 1); ++i) {
        if (i > 0)
            text += '\t';
        if (i == nColumn) {
            text += pszText ? pszText : "";
        } else {
            GetColumnText(nRow, i, szCell);
            text += szCell;
        }
    }
    SetRowText(nRow, text.c_str());
}

int CXListBox::GetString(int nRow, char* pszOut) const
{
    const Row* pRow = RowAt(nRow);
    if (!pRow)
        return 0;
    std::memcpy(pszOut, pRow->szText, sizeof pRow->szText);
    return 1;
}

void CXListBox::GetColumnText(int nRow, int nColumn, char* pszOut) const
{
    const Row* pRow = RowAt(nRow);
    if (!pRow || nColumn < 0) {
        pszOut[0] = '\0';
        return;
    }
    CopyTabField(pRow->szText, nColumn, pszOut, LISTBOX_ROW_TEXT_SIZE);
}

int CXListBox::SetItemData(int nRow, uint32_t dwValue)
{
    Row* pRow = RowAt(nRow);
    if (!pRow)
        return -1;
    pRow->dwItemData = dwValue;
    return 1;
}

int64_t CXListBox::GetItemData(int nRow) const
{
    const Row* pRow = RowAt(nRow);
    return pRow ? static_cast<int64_t>(pRow->dwItemData) : -1;
}

int CXListBox::FindItemData(uint32_t dwValue) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_Rows[static_cast<size_t>(i)]->dwItemData == dwValue)
            return i;
    return -1;
}

void CXListBox::SetRowColour(int nRow, COLORREF crColour)
{
    if (Row* pRow = RowAt(nRow)) {
        pRow->crColour = crColour;
        RedrawRow(nRow, true);
    }
}

COLORREF CXListBox::GetRowColour(int nRow) const
{
    const Row* pRow = RowAt(nRow);
    return pRow ? pRow->crColour : 0;
}

void CXListBox::SetRowFont(int nRow, plat::Font* hFont)
{
    if (Row* pRow = RowAt(nRow)) {
        pRow->hFont = hFont;
        RedrawRow(nRow, true);
    }
}

void CXListBox::EnableRow(int nRow, bool bEnabled)
{
    if (Row* pRow = RowAt(nRow)) {
        pRow->bEnabled = bEnabled ? 1 : 0;
        RedrawRow(nRow, true);
    }
}

bool CXListBox::IsRowEnabled(int nRow) const
{
    const Row* pRow = RowAt(nRow);
    return pRow && pRow->bEnabled;
}

void CXListBox::AddColumnColour(int nRow, int nColumn, COLORREF crColour)
{
    Row* pRow = RowAt(nRow);
    if (!pRow) {
        DebugLog(0, "[CXListBox::AddColumnColour] WARNING: Attempting to add a colour to a non-existent string in "
                    "the list box");
        return;
    }
    for (const auto& cell : pRow->CellColours)
        if (cell.first == nColumn) {
            DebugLog(0, "[CXListBox::AddColumnColour] Attempting to add a second colour to the same column!");
            return;
        }
    pRow->CellColours.emplace_back(static_cast<uint8_t>(nColumn), crColour);
}

void CXListBox::ExchangeRows(int nRowA, int nRowB, bool bFollow)
{
    if (!RowAt(nRowA) || !RowAt(nRowB) || nRowA == nRowB)
        return;
    std::swap(m_Rows[static_cast<size_t>(nRowA)], m_Rows[static_cast<size_t>(nRowB)]);
    if (bFollow) {
        if (m_nSelected == nRowA)
            m_nSelected = nRowB;
        else if (m_nSelected == nRowB)
            m_nSelected = nRowA;
    }
    RedrawRow(nRowA, true);
    RedrawRow(nRowB, true);
}

// ---- cell graphics ----

int CXListBox::AddGraphic(int nRow, CXAnimation* pGraphic, int x, bool bStill)
{
    if (!pGraphic) {
        DebugLog(0, "[CXListBox::AddGraphic] WARNING: Attempting to add NULL animation to the list box");
        return 0;
    }
    Row* pRow = RowAt(nRow);
    if (!pRow) {
        DebugLog(0, "[CXListBox::AddGraphic] WARNING: Attempting to add a graphic to a non-existent string in the "
                    "list box");
        return 0;
    }
    // A single frame never moves, so it is drawn with its row.
    const bool bOneFrame = pGraphic->m_nFrameCount == 1;
    pRow->Graphics.push_back({pGraphic, x, static_cast<uint8_t>(bStill || bOneFrame ? 1 : 0), m_bColumnsWithHeaders ? ColumnHolding(x) : -1});
    RedrawRow(nRow, true);
    return 0;
}

int CXListBox::AddColumnGraphic(int nRow, CXAnimation* pGraphic, int nOffset, int nColumn, bool bStill)
{
    const int nLeft = nColumn >= 0 && nColumn < m_nColumnCount ? m_pColumns[nColumn].nLeft : 0;
    return AddGraphic(nRow, pGraphic, nLeft + nOffset, bStill);
}

namespace {
// The offset of a graphic of the width inside a column; false for an unknown
// alignment.
bool AlignedOffset(const LISTCOLUMN& column, int nWidth, uint8_t byAlignment, int* pnOffset)
{
    switch (byAlignment) {
    case 0:
        *pnOffset = 0;
        return true;
    case 2:
        *pnOffset = column.nRight - nWidth - column.nLeft - 2;
        return true;
    case 6:
        *pnOffset = (column.nRight - column.nLeft) / 2 - nWidth / 2;
        return true;
    default:
        *pnOffset = 0;
        return false;
    }
}
}  // namespace

int CXListBox::AddAlignedColumnGraphic(int nRow, CXAnimation* pGraphic, uint8_t byAlignment, int nColumn, bool bStill)
{
    int nOffset = 0;
    if (pGraphic && nColumn >= 0 && nColumn < m_nColumnCount &&
        !AlignedOffset(m_pColumns[nColumn], pGraphic->m_nFrameWidth, byAlignment, &nOffset))
        DebugLog(0, "Invalid alignment value in CXListBox::AddAlignedColumnGraphic");
    return AddColumnGraphic(nRow, pGraphic, nOffset, nColumn, bStill);
}

void CXListBox::DeleteColumnGraphics(int nRow, int nColumn)
{
    Row* pRow = RowAt(nRow);
    if (!pRow)
        return;
    std::erase_if(pRow->Graphics, [nColumn](const Row::Graphic& graphic) { return graphic.nColumn == nColumn; });
    RedrawRow(nRow, true);
}

void CXListBox::RemoveRowGraphics(int nRow)
{
    Row* pRow = RowAt(nRow);
    if (!pRow)
        return;
    pRow->Graphics.clear();
    RedrawRow(nRow, true);
}

int CXListBox::GraphicY(const Row::Graphic& graphic, int nRowTop) const
{
    return nRowTop + m_nRowHeight / 2 - graphic.pGraphic->m_nFrameHeight / 2;
}

void CXListBox::DrawRowGraphics(int nRow)
{
    const Row* pRow = RowAt(nRow);
    if (!pRow || !RowInView(nRow))
        return;
    for (const Row::Graphic& graphic : pRow->Graphics)
        if (graphic.bStill && graphic.x < DrawnWidth())
            graphic.pGraphic->DrawFrame(m_pDrawingSurface, m_nLeft + graphic.x, GraphicY(graphic, RowTop(nRow)), -1,
                                        true);
}

void CXListBox::DrawAnimations()
{
    CXSurface* pScreen = GetScreenSurface();
    if (!m_bVisible || !pScreen)
        return;
    const int nOwnerX = m_pOwner ? m_pOwner->m_nLeft : 0, nOwnerY = m_pOwner ? m_pOwner->m_nTop : 0;
    const int nLast = std::min(GetCount(), m_nFirstVisible + RowsPerView());
    for (int i = m_nFirstVisible; i < nLast; ++i)
        for (const Row::Graphic& graphic : m_Rows[static_cast<size_t>(i)]->Graphics)
            if (!graphic.bStill && graphic.x < DrawnWidth())
                graphic.pGraphic->Draw(pScreen, nOwnerX + m_nLeft + graphic.x, nOwnerY + GraphicY(graphic, RowTop(i)),
                                       true);
}

// ---- order ----

uint8_t CXListBox::SortMark(int nColumn) const
{
    return nColumn >= 0 && nColumn < LISTBOX_MAX_COLUMNS ? m_bySortMarks[nColumn] : 0;
}

CXButton* CXListBox::HeaderButton(int nColumn) const
{
    return nColumn >= 0 && nColumn < LISTBOX_MAX_COLUMNS ? m_pHeaders[nColumn] : nullptr;
}

void CXListBox::Sort(int nColumn, bool bAscending, uint8_t bySortType, int nFirstRow)
{
    if (m_Rows.empty() || nColumn < 0)
        return;
    if (nColumn < LISTBOX_MAX_COLUMNS) {
        std::fill(std::begin(m_bySortMarks), std::end(m_bySortMarks), 0);
        m_bySortMarks[nColumn] = bAscending ? 1 : 2;
    }
    m_nSortColumn = nColumn;
    const int nFirst = std::clamp(nFirstRow, 0, GetCount());
    // Each cell is cut out, and a number or date read, once, not at every
    // comparison.
    struct Keyed {
        std::string cell;
        double dNumber;
        std::unique_ptr<Row> pRow;
    };
    const bool bNumeric = IsNumericSort(bySortType);
    const uint8_t byDateOrder = m_byDateOrder;
    std::vector<Keyed> keyed;
    keyed.reserve(m_Rows.size() - static_cast<size_t>(nFirst));
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    for (size_t i = static_cast<size_t>(nFirst); i < m_Rows.size(); ++i) {
        CopyTabField(m_Rows[i]->szText, nColumn, szCell, sizeof szCell);
        const double dNumber = bNumeric ? NumericSortKey(szCell, bySortType, byDateOrder) : 0.0;
        keyed.push_back({bNumeric ? std::string() : std::string(szCell), dNumber, std::move(m_Rows[i])});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const int n = bNumeric ? Order(a.dNumber, b.dNumber)
                               : CompareListCells(a.cell.c_str(), b.cell.c_str(), bySortType, byDateOrder);
        return bAscending ? n < 0 : n > 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        m_Rows[static_cast<size_t>(nFirst) + i] = std::move(keyed[i].pRow);
    if (m_pOwner && nColumn < m_nColumnCount)
        m_pOwner->OnSort(m_pColumns[nColumn].wHeaderID);
}

void CXListBox::Resort()
{
    if (m_nSortColumn < 0 || m_nSortColumn >= m_nColumnCount)
        return;
    Sort(m_nSortColumn, SortMark(m_nSortColumn) != 2, m_pColumns[m_nSortColumn].bySortType, 0);
}

void CXListBox::SortByItemData(bool bAscending)
{
    std::stable_sort(m_Rows.begin(), m_Rows.end(), [bAscending](const auto& a, const auto& b) {
        return bAscending ? a->dwItemData < b->dwItemData : a->dwItemData > b->dwItemData;
    });
}

void CXListBox::OnLinkedButtonClicked(uint32_t dwHeaderID)
{
    for (int i = 0; i < std::min(m_nColumnCount, LISTBOX_MAX_COLUMNS); ++i) {
        const LISTCOLUMN& column = m_pColumns[i];
        if (column.wHeaderID == dwHeaderID && column.bySortType != LISTSORT_NONE)
            Sort(i, m_bySortMarks[i] != 1, column.bySortType, 0);
    }
    Redraw();
}

// ---- view ----

int CXListBox::LargestFirstVisible() const { return std::max(0, GetCount() - RowsPerView()); }

bool CXListBox::RowInView(int nRow) const
{
    return nRow >= 0 && nRow < GetCount() && nRow >= m_nFirstVisible && nRow < m_nFirstVisible + RowsPerView();
}

int CXListBox::RowTop(int nRow) const { return m_nTop + (nRow - m_nFirstVisible) * m_nRowHeight; }

bool CXListBox::ShowsSelection() const
{
    return m_bSelectable && (m_bHasFocus || m_bAlwaysShowSelection || m_bShowSelectionUnfocused);
}

void CXListBox::ShowSelectionUnfocused(bool bShow)
{
    m_bShowSelectionUnfocused = bShow ? 1 : 0;
    RedrawRow(-1, true);
}

int CXListBox::DrawnWidth() const
{
    if (m_bColumnsWithHeaders && m_nVisibleColumns > 0)
        return m_pColumns[m_nVisibleColumns - 1].nRight;
    return m_nRowAreaWidth;
}

int CXListBox::ColumnHolding(int x) const
{
    int nColumn = -1;
    for (int i = 0; i < m_nVisibleColumns; ++i)
        if (x >= m_pColumns[i].nLeft && x <= m_pColumns[i].nRight)
            nColumn = i;
    return nColumn;
}

int CXListBox::ColumnAt(int x) const { return std::max(0, ColumnHolding(x)); }

void CXListBox::Scroll(int nMode, int nRow)
{
    const int nOld = m_nFirstVisible, nLargest = LargestFirstVisible();
    switch (nMode) {
    case LISTSCROLL_LINE_UP:
        m_nFirstVisible = std::max(0, m_nFirstVisible - 1);
        break;
    case LISTSCROLL_LINE_DOWN:
        m_nFirstVisible = std::min(nLargest, m_nFirstVisible + 1);
        break;
    case LISTSCROLL_PAGE_UP:
        m_nFirstVisible = std::max(0, m_nFirstVisible - RowsPerView());
        break;
    case LISTSCROLL_PAGE_DOWN:
        m_nFirstVisible = std::max(m_nFirstVisible, std::min(nLargest, m_nFirstVisible + RowsPerView()));
        break;
    case LISTSCROLL_TO_ROW:
    case LISTSCROLL_TO_ROW_TOO:
        m_nFirstVisible = std::clamp(nRow, 0, nLargest);
        break;
    case LISTSCROLL_TOP:
        m_nFirstVisible = 0;
        break;
    case LISTSCROLL_BOTTOM:
        m_nFirstVisible = nLargest;
        break;
    default:
        return;
    }
    if (m_nFirstVisible == nOld)
        return;
    if (m_pScrollBar)
        m_pScrollBar->SetPos(m_nFirstVisible, true);
    Redraw();
}

void CXListBox::UpdateScrollBar()
{
    if (m_pScrollBar)
        m_pScrollBar->SetRange(0, GetCount());
}

void CXListBox::SetSelection(int nRow)
{
    if (!RowAt(nRow) || nRow == m_nSelected)
        return;
    const int nOld = m_nSelected;
    m_nSelected = nRow;
    RedrawRow(nOld, true);
    RedrawRow(nRow, true);
}

// ---- drawing ----

void CXListBox::DrawSelection(int nRowTop)
{
    if (!ShowsSelection() || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    plat::Surface& dest = *m_pDrawingSurface->m_pSurface;
    if (m_pSelectionImage && m_pSelectionImage->m_pSurface) {
        if (!m_bColumnsWithHeaders) {
            const plat::Rect rc{0, 0, Width(), m_nRowHeight};
            dest.bltFast(m_nLeft, nRowTop, *m_pSelectionImage->m_pSurface, &rc, plat::BLTFAST_WAIT);
            return;
        }
        for (int i = 0; i < m_nVisibleColumns; ++i) {
            const LISTCOLUMN& column = m_pColumns[i];
            const plat::Rect rc{0, 0, column.nRight - column.nLeft - 1, m_nRowHeight - 1};
            dest.bltFast(m_nLeft + column.nLeft, nRowTop, *m_pSelectionImage->m_pSurface, &rc, plat::BLTFAST_WAIT);
        }
        return;
    }
    if (m_pRowBackground && m_pRowBackground->m_pSurface) {
        const plat::Rect rc{0, 0, DrawnWidth(), m_nRowHeight};
        dest.bltFast(m_nLeft, nRowTop, *m_pRowBackground->m_pSurface, &rc, plat::BLTFAST_WAIT);
    }
}

COLORREF CXListBox::CellColour(const Row& row, int nRow, int nColumn) const
{
    if (!row.bEnabled)
        return LISTBOX_DISABLED_COLOUR;
    const LISTCOLUMN& column = m_pColumns[nColumn];
    if (nRow == m_nHoverRow && m_bHoverHighlight && column.bHot && (nColumn == m_nHoverColumn || m_bWholeRowHover))
        return LISTBOX_HOVER_COLOUR;
    for (const auto& cell : row.CellColours)
        if (cell.first == nColumn)
            return cell.second;
    return column.crColour ? column.crColour : row.crColour;
}

void CXListBox::DrawRowText(plat::DeviceContext* pDC, int nRow)
{
    const Row& row = *m_Rows[static_cast<size_t>(nRow)];
    pDC->selectFont(row.hFont ? row.hFont : m_hFont);
    const int nTextY = RowTop(nRow) + m_nRowHeight / 2 - 8;
    if (!m_bColumnsWithHeaders || m_nColumnCount == 0) {
        // A long row (a drop-down's competition name) stops inside the box
        // rather than running on under the arrow and beyond.
        int nTextWidth = 0;
        const int nLength = FittingLength(pDC, row.szText, Width() - m_nTextIndent - 3, &nTextWidth);
        int x = m_nTextIndent;
        if (row.byAlignment == 2)
            x = Width() - nTextWidth - 3;
        else if (row.byAlignment == 6)
            x = Width() / 2 - nTextWidth / 2;
        pDC->setTextColor(row.bEnabled ? row.crColour : LISTBOX_DISABLED_COLOUR);
        pDC->textOut(m_nLeft + x, nTextY, row.szText, nLength);
        return;
    }
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    for (int i = 0; i < m_nVisibleColumns; ++i) {
        const LISTCOLUMN& column = m_pColumns[i];
        CopyTabField(row.szText, i, szCell, sizeof szCell);
        if (column.byAlignment == 'x' || !szCell[0])
            continue;
        const bool bBarOnly = column.byAlignment == 'z';
        const bool bBarAndNumber = column.byAlignment == 'y';
        if (row.bEnabled && (bBarOnly || (bBarAndNumber && (m_byValueBarOptions & VALUEBAR_DRAW_BAR))))
            DrawValueBar(pDC, column, RowTop(nRow), std::atoi(szCell), bBarOnly);
        if (bBarOnly || (bBarAndNumber && !(m_byValueBarOptions & VALUEBAR_DRAW_NUMBER)))
            continue;
        // Whole characters while they fit in the cell's text room.
        int nTextWidth = 0;
        const int nShown = FittingLength(pDC, szCell, CellTextRoom(column, m_nTextIndent), &nTextWidth);
        int x = column.nLeft + column.nTextMargin;
        // The indent is a left indent: right-aligned and centred text is
        // placed without it.
        if (column.byAlignment == 2)
            x = column.nRight - column.nTextMargin - nTextWidth - 1 - m_nTextIndent;
        else if (column.byAlignment == 6 || bBarAndNumber)
            x = column.nLeft + ((column.nRight - column.nLeft) / 2 - nTextWidth / 2) - m_nTextIndent;
        pDC->setTextColor(CellColour(row, nRow, i));
        pDC->textOut(m_nLeft + x + m_nTextIndent, nTextY + column.nTextOffset, szCell, nShown);
    }
}

void CXListBox::DrawValueBar(plat::DeviceContext* pDC, const LISTCOLUMN& column, int nRowTop, int nValue,
                             bool bThreeSteps)
{
    if (bThreeSteps)
        nValue = nValue > 70 ? 100 : (nValue > 30 ? 50 : 0);
    // A percentage: beyond 100 the bar would run into the next column.
    nValue = std::clamp(nValue, 0, 100);
    const int nLength = (column.nRight - column.nLeft - 3) * nValue / 100;
    const int nLeft = m_nLeft + column.nLeft + 1, nSplit = m_nLeft + column.nLeft + nLength;
    const int nTop = nRowTop + 1, nBottom = nRowTop + m_nRowHeight - 2;
    const std::unique_ptr<plat::Brush> pGreen(plat::Brush::createSolid(kValueBarGreen));
    const std::unique_ptr<plat::Brush> pRed(plat::Brush::createSolid(kValueBarRed));
    if (nLength > 0)
        pDC->fillRect({nLeft, nTop, nSplit, nBottom}, pGreen.get());
    pDC->fillRect({std::max(nLeft, nSplit), nTop, m_nLeft + column.nRight - 2, nBottom}, pRed.get());
}

void CXListBox::Redraw()
{
    if (!m_bVisible || !m_bAutoRedraw || !m_pOwner || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    m_pOwner->RestoreBackground(m_nLeft, m_nTop, m_nRowAreaWidth, m_nRowAreaHeight);
    if (RowInView(m_nSelected))
        DrawSelection(RowTop(m_nSelected));
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    const int nLast = std::min(GetCount(), m_nFirstVisible + RowsPerView());
    for (int i = m_nFirstVisible; i < nLast; ++i)
        DrawRowText(pDC, i);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    for (int i = m_nFirstVisible; i < nLast; ++i)
        DrawRowGraphics(i);
}

void CXListBox::RedrawRow(int nRow, bool bClear)
{
    if (nRow == -1)
        nRow = m_nSelected;
    if (!RowInView(nRow) || !m_bVisible || !m_bAutoRedraw || !m_pOwner || !m_pDrawingSurface ||
        !m_pDrawingSurface->m_pSurface)
        return;
    const int nTop = RowTop(nRow);
    if (bClear)
        m_pOwner->RestoreBackground(m_nLeft, nTop, m_nRowAreaWidth, m_nRowHeight);
    if (nRow == m_nSelected)
        DrawSelection(nTop);
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    DrawRowText(pDC, nRow);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    DrawRowGraphics(nRow);
}

void CXListBox::Show(bool bVisible, bool bRedraw)
{
    if (bVisible && m_byBackgroundStyle == 0 && m_pDrawingSurface && m_pDrawingSurface->m_pSurface) {
        plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
        DrawRectOutline(pDC, m_nLeft - 1, m_nTop - 1, m_nRight + 1, m_nBottom + 1, m_crCellLight, 1);
        m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    }
    if (m_pScrollBar && m_pScrollBar->UpButton()) {
        if (Height() > 2 * m_pScrollBar->UpButton()->Height())
            m_pScrollBar->Show(bVisible, true);
    } else if (m_pScrollBar) {
        m_pScrollBar->Show(bVisible, true);
    }
    for (int i = 0; i < std::min(m_nColumnCount, LISTBOX_MAX_COLUMNS); ++i)
        if (m_pHeaders[i])
            m_pHeaders[i]->Show(bVisible && i < m_nVisibleColumns, true);
    CXControl::Show(bVisible, bRedraw);
}

void CXListBox::Move(int x, int y, int nWidth, int nHeight, bool bRedraw)
{
    if (m_bColumnsWithHeaders && m_nVisibleColumns > 0 && m_nVisibleColumns < m_nColumnCount)
        nWidth = m_pColumns[m_nVisibleColumns - 1].nRight;
    CXControl::Move(x, y, nWidth, nHeight, bRedraw);
    m_nRowAreaWidth = Width();
    m_nRowAreaHeight = Height();
    if (m_pScrollBar) {
        const int nButton = m_pScrollBar->UpButton() ? m_pScrollBar->UpButton()->Height() : 0;
        const int nTop = m_nTop + nButton * (m_pScrollBar->m_bExtraTop ? 2 : 1);
        m_pScrollBar->Move(m_nRight, nTop, CXScrollBar::kTrackWidth, m_nBottom - nButton - nTop, bRedraw);
    }
}

// ---- input ----

bool CXListBox::HitTestRow(int x, int y, int* pnRow, int* pnColumn) const
{
    if (!HitTest(x, y))
        return false;
    if (pnRow)
        *pnRow = (y - m_nTop) / m_nRowHeight + m_nFirstVisible;
    if (pnColumn)
        *pnColumn = ColumnAt(x - m_nLeft);
    return true;
}

void CXListBox::NotifySelChange()
{
    if (m_pOwner)
        m_pOwner->OnSelChange(m_dwID);
}

void CXListBox::OnLButtonDown(uint32_t flags, int x, int y)
{
    if (!m_Rows.empty()) {
        const int nRow = y / m_nRowHeight + m_nFirstVisible;
        if (m_bColumnsWithHeaders && m_nColumnCount > 0) {
            m_nClickedColumn = ColumnAt(x);
            m_dwClickedHeaderID = m_pColumns[m_nClickedColumn].wHeaderID;
        }
        const bool bTakes = nRow < GetCount() && (IsRowEnabled(nRow) || m_bAllowDisabledRows);
        if (bTakes && nRow != m_nSelected) {
            SetSelection(nRow);
            if (m_byStyle & LISTSTYLE_NOTIFY_SELECTION) {
                NotifySelChange();
                if (m_pScrollBar)
                    m_pScrollBar->SetPos(m_nFirstVisible, true);
            }
        }
        if (m_pOwner)
            m_pOwner->OnClicked(m_dwID);
    }
    CXControl::OnLButtonDown(flags, x, y);
}

void CXListBox::OnLButtonDblClk(uint32_t flags, int x, int y)
{
    OnLButtonDown(flags, x, y);
    const int nRow = y / m_nRowHeight + m_nFirstVisible;
    if (m_pCellEdit && m_bColumnsWithHeaders && m_nColumnCount > 0 && RowAt(nRow)) {
        const int nColumn = ColumnAt(x);
        if (m_pCellEdit[nColumn].bEditable)
            OpenCellEdit(nRow, nColumn);
    }
    if ((m_byStyle & LISTSTYLE_NOTIFY_DOUBLE_CLICK) && m_pOwner)
        m_pOwner->OnDoubleClicked(m_dwID);
}

void CXListBox::OpenCellEdit(int nRow, int nColumn)
{
    if (m_pCellEditPopup && m_pCellEditPopup->IsOnStack())
        return;
    const LISTCELLEDIT& entry = m_pCellEdit[nColumn];
    const LISTCOLUMN& column = m_pColumns[nColumn];
    m_pCellEditPopup = std::make_unique<CXEditPopup>();
    CXEditPopup& popup = *m_pCellEditPopup;
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    GetColumnText(nRow, nColumn, szCell);
    popup.SetInitialText(szCell);
    popup.m_pOpener = m_pOwner;
    popup.m_pListBox = this;
    popup.m_nRow = nRow;
    popup.m_nColumn = nColumn;
    popup.m_nMaxLength = entry.nMaxLength;
    if (entry.nMinimum != 0 || entry.nMaximum != 0) {
        popup.m_nMinimum = entry.nMinimum;
        popup.m_nMaximum = entry.nMaximum;
    }
    popup.m_byMoneyKind = entry.byMoneyKind;
    popup.m_nAlignment = column.byAlignment == 'y' ? 6 : column.byAlignment;
    // Over the cell wherever the owner sits on the display.
    popup.PlaceOverCell(*this, column.nLeft, (nRow - m_nFirstVisible) * m_nRowHeight, column.nRight - column.nLeft,
                        m_nRowHeight);
    popup.Open();
}

void CXListBox::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t)
{
    const int nCount = GetCount();
    if (nCount == 0)
        return;
    const int nStep = std::max<int>(1, static_cast<int>(repeat));
    const int nOld = m_nSelected;
    int nNew = nOld;
    int nDirection = 1;
    switch (key) {
    case plat::VK_PRIOR:
        nNew = std::max(0, nOld - RowsPerView() + 1);
        nDirection = -1;
        break;
    case plat::VK_NEXT:
        nNew = std::min(nCount - 1, nOld + RowsPerView() - 1);
        break;
    case plat::VK_END:
        nNew = nCount - 1;
        nDirection = -1;
        break;
    case plat::VK_HOME:
        nNew = 0;
        break;
    case plat::VK_UP:
        if (!m_bSelectable)
            return;
        nNew = std::max(0, nOld - nStep);
        nDirection = -1;
        break;
    case plat::VK_DOWN:
        if (!m_bSelectable)
            return;
        nNew = std::min(nCount - 1, nOld + nStep);
        break;
    default:
        return;
    }
    if (!m_bAllowDisabledRows) {
        // Over disabled rows in the search direction, turning round at the
        // end, never past the old selection.
        bool bTurned = false;
        while (nNew != nOld && !IsRowEnabled(nNew)) {
            nNew += nDirection;
            if (nNew < 0 || nNew >= nCount) {
                if (bTurned) {
                    nNew = nOld;
                    break;
                }
                bTurned = true;
                nDirection = -nDirection;
                nNew = std::clamp(nNew, 0, nCount - 1);
            }
        }
    }
    if (nNew == nOld)
        return;
    m_nSelected = nNew;
    if ((m_byStyle & LISTSTYLE_NOTIFY_SELECTION) && !m_bNotifyOnKeyRelease)
        NotifySelChange();
    RedrawRow(nOld, true);
    if (nNew < m_nFirstVisible)
        Scroll(LISTSCROLL_TO_ROW, nNew);
    else if (nNew >= m_nFirstVisible + RowsPerView())
        Scroll(LISTSCROLL_TO_ROW, nNew - RowsPerView() + 1);
    else
        RedrawRow(nNew, true);
}

void CXListBox::OnKeyUp(uint32_t key, uint32_t, uint32_t)
{
    switch (key) {
    case plat::VK_PRIOR:
    case plat::VK_NEXT:
    case plat::VK_END:
    case plat::VK_HOME:
    case plat::VK_UP:
    case plat::VK_DOWN:
        if ((m_byStyle & LISTSTYLE_NOTIFY_SELECTION) && m_bNotifyOnKeyRelease) {
            if (m_pScrollBar)
                m_pScrollBar->SetPos(m_nFirstVisible, true);
            NotifySelChange();
        }
        break;
    default:
        break;
    }
}

void CXListBox::OnSetFocus()
{
    m_bHasFocus = 1;
    if (!m_bChanged)
        RedrawRow(-1, true);
}

void CXListBox::OnKillFocus()
{
    m_bHasFocus = 0;
    if (!m_bChanged)
        RedrawRow(-1, true);
}

void CXListBox::OnMouseWheel(int delta)
{
    // A wheel turned away from the user (positive) shows earlier rows.
    if (GetCount() <= RowsPerView() || delta == 0)
        return;
    Scroll(LISTSCROLL_TO_ROW, m_nFirstVisible + (delta > 0 ? -kWheelRows : kWheelRows));
    int nRow = -1, nColumn = -1;
    if (m_pOwner && HitTestRow(g_nMouseX - m_pOwner->m_nLeft, g_nMouseY - m_pOwner->m_nTop, &nRow, &nColumn) &&
        nRow < GetCount())
        SetHoverRow(nRow, nColumn);
    else
        SetHoverRow(-1, -1);
    NotifySelChange();
}

void CXListBox::SetHoverRow(int nRow, int nColumn)
{
    const int nOldRow = m_nHoverRow, nOldColumn = m_nHoverColumn;
    m_nHoverRow = nRow;
    m_nHoverColumn = nColumn;
    if (nOldRow != nRow || nOldColumn != nColumn) {
        RedrawRow(nOldRow, true);
        if (nRow != nOldRow)
            RedrawRow(nRow, true);
    }
}

void CXListBox::SetHoverHighlight(bool bOn)
{
    m_bHoverHighlight = bOn ? 1 : 0;
    RedrawRow(m_nHoverRow, true);
    if (!bOn && m_bColumnsWithHeaders && m_pOwner && m_pOwner->ControlType(this) == XCONTROL_LISTBOX &&
        g_pfnSetMousePointer)
        g_pfnSetMousePointer(0, 0, 0);
}

void CXListBox::OnMouseMove(uint32_t flags, int x, int y)
{
    if (m_bColumnsWithHeaders && m_pOwner) {
        const bool bInside = x >= 0 && y >= 0 && x < m_nRowAreaWidth && y < m_nRowAreaHeight;
        if (bInside) {
            if (!m_bHoverHighlight)
                m_pOwner->SetHoverListBox(this);
            int nRow = -1, nColumn = -1;
            HitTestRow(x + m_nLeft, y + m_nTop, &nRow, &nColumn);
            if (nRow >= GetCount())
                nRow = -1;
            if (nRow >= 0 && g_pfnSetMousePointer && m_pOwner->ControlType(this) == XCONTROL_LISTBOX) {
                const bool bHot = m_bWholeRowHover || (m_nColumnCount > 0 && m_pColumns[nColumn].bHot);
                g_pfnSetMousePointer(bHot ? 1 : 0, bHot ? 7 : 0, bHot ? 7 : 0);
            }
            SetHoverRow(nRow, nColumn);
        }
    }
    CXControl::OnMouseMove(flags, x, y);
}

void CXListBox::GetToolTipText(char* pszText)
{
    pszText[0] = '\0';
    const Row* pRow = RowAt(m_nHoverRow);
    if (!pRow || !m_bColumnsWithHeaders || m_nHoverColumn < 0 || m_nHoverColumn >= m_nColumnCount)
        return;
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    CopyTabField(pRow->szText, m_nHoverColumn, szCell, sizeof szCell);
    plat::Font* pFont = pRow->hFont ? pRow->hFont : m_hFont;
    const LISTCOLUMN& column = m_pColumns[m_nHoverColumn];
    if (pFont && pFont->textWidth(szCell, static_cast<int>(std::strlen(szCell))) > CellTextRoom(column, m_nTextIndent))
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", szCell);
}
