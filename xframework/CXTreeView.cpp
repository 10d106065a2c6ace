#include "xframework/CXTreeView.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXClient.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// Room between a right-aligned text and its column's right edge.
constexpr int kRightFieldMargin = 6;
constexpr int kWheelRows = 3;
constexpr int kMarkSize = 10;
constexpr int kMarkWidth = 12;
// Room left between a row's text and its first image.
constexpr int kImageGap = 3;
constexpr uint32_t kKeyPageUp = 33;
constexpr uint32_t kKeyPageDown = 34;
constexpr uint32_t kKeyEnd = 35;
constexpr uint32_t kKeyHome = 36;
constexpr uint32_t kKeyLeft = 37;
constexpr uint32_t kKeyUp = 38;
constexpr uint32_t kKeyRight = 39;
constexpr uint32_t kKeyDown = 40;

bool IsNavigationKey(uint32_t key) { return key >= kKeyPageUp && key <= kKeyDown; }

constexpr COLORREF kHeaderTextColour = 0x00FFFFFF;
constexpr COLORREF kColourKey = 0x00FF00FF;

}  // namespace

// ---- set-up and items ----

void CXTreeView::SetUp(int nRowHeight, int nTextOffset, plat::Font* hFont, uint8_t byStyle, uint8_t byKeyMode,
                       CXScrollBar* pScrollBar, uint8_t byBackgroundStyle, uint8_t bySpare,
                       CXSurface* pSelectionImage)
{
    m_nRowHeight = std::max(1, nRowHeight);
    m_nTextOffset = nTextOffset;
    m_hFont = hFont;
    m_byStyle = byStyle;
    m_byKeyMode = byKeyMode;
    m_pScrollBar = pScrollBar;
    m_byBackgroundStyle = byBackgroundStyle;
    m_bySpare = bySpare;
    m_pSelectionImage = pSelectionImage;
    m_nVisibleWidth = Width();
    m_nVisibleHeight = Height();
    m_crRowFill = 0x004A2921;
    m_crRowLight = 0x007B5242;
    m_crRowDark = 0x002A1010;
    if (m_pScrollBar)
        m_pScrollBar->SetLinkedControl(this, this);
    Move(m_nLeft, m_nTop, Width(), Height(), false);
    m_pRowBackground.reset();
    if (byBackgroundStyle == 1 && Width() > 0) {
        auto pBackground = std::make_unique<CXSurface>();
        if (pBackground->Create(Width(), m_nRowHeight, false, true)) {
            // A lit top line, a dark bottom line and the fill between.
            pBackground->Fill(0x00422918);
            plat::DeviceContext* pDC = pBackground->m_pSurface->getDC();
            DrawLine(pDC, 0, 0, Width(), 0, 0x00946352, 1, plat::PS_SOLID);
            DrawLine(pDC, 0, m_nRowHeight - 1, Width(), m_nRowHeight - 1, 0x006B4239, 1, plat::PS_SOLID);
            pBackground->m_pSurface->releaseDC(pDC);
            m_pRowBackground = std::move(pBackground);
        }
    }
}

int CXTreeView::AddItem(int nParentID, COLORREF crColour, plat::Font* hFont, const char* pszFormat, ...)
{
    char szText[TREE_ITEM_TEXT_SIZE];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof szText, pszFormat ? pszFormat : "", args);
    va_end(args);
    return InsertItem(szText, crColour, nParentID, hFont);
}

void CXTreeView::DeleteAllItems()
{
    m_pCurrent = m_pHover = m_pTop = m_pKeyDownCurrent = nullptr;
    m_Items.clear();
    m_nLastID = -1;
    UpdateScrollBar();
}

int CXTreeView::InsertItem(const char* pszText, COLORREF crColour, int nParentID, plat::Font* hFont)
{
    Item* pParent = nParentID == -1 ? nullptr : Find(nParentID);
    if (nParentID != -1 && !pParent) {
        DebugLog(0, "[CXTreeView::InsertItem] No parent item %d", nParentID);
        return -1;
    }
    std::unique_ptr<Item> pItem(new (std::nothrow) Item);
    if (!pItem)
        return TREE_NO_MEMORY;
    pItem->nID = ++m_nLastID;
    std::snprintf(pItem->szText, sizeof pItem->szText, "%s", pszText ? pszText : "");
    pItem->crColour = crColour;
    pItem->hFont = hFont;
    size_t nAt = m_Items.size();
    if (pParent) {
        pItem->pParent = pParent;
        pItem->bShown = pParent->bExpanded;
        pItem->byLevel = static_cast<uint8_t>(pParent->byLevel + 1);
        nAt = IndexOf(pParent) + 1;
        while (nAt < m_Items.size() && m_Items[nAt]->byLevel > pParent->byLevel)
            ++nAt;
    }
    Item* pNew = pItem.get();
    m_Items.insert(m_Items.begin() + static_cast<std::ptrdiff_t>(nAt), std::move(pItem));
    if (m_Items.size() == 1) {
        m_pTop = pNew;
        m_pCurrent = pNew;
    }
    Redraw();
    UpdateScrollBar();
    return pNew->nID;
}

int CXTreeView::AddItemImage(int nID, CXAnimation* pImage, uint16_t wX, bool bStill)
{
    Item* pItem = Find(nID);
    if (!pItem || !pImage)
        return -1;
    pItem->Images.push_back({pImage, wX, static_cast<uint8_t>(bStill || pImage->m_nFrameCount == 1 ? 1 : 0)});
    Redraw();
    return 0;
}

CXTreeView::Item* CXTreeView::Find(int nID) const
{
    for (const auto& pItem : m_Items)
        if (pItem->nID == nID)
            return pItem.get();
    return nullptr;
}

const CXTreeView::Item* CXTreeView::FindItem(int nID) const { return Find(nID); }

size_t CXTreeView::IndexOf(const Item* pItem) const
{
    for (size_t i = 0; i < m_Items.size(); ++i)
        if (m_Items[i].get() == pItem)
            return i;
    return m_Items.size();
}

bool CXTreeView::HasChildren(const Item* pItem) const
{
    const size_t nNext = IndexOf(pItem) + 1;
    return nNext < m_Items.size() && m_Items[nNext]->pParent == pItem;
}

int CXTreeView::SetItemData(int nID, int32_t nValue, int nColumn)
{
    Item* pItem = Find(nID);
    if (!pItem || nColumn < 0 || nColumn > 1)
        return -1;
    pItem->nData[nColumn] = nValue;
    return 1;
}

int32_t CXTreeView::GetItemData(int nID, int nColumn) const
{
    const Item* pItem = Find(nID);
    return pItem && nColumn >= 0 && nColumn <= 1 ? pItem->nData[nColumn] : -1;
}

int CXTreeView::FindItemByData(int32_t nValue, int nColumn) const
{
    if (nColumn < 0 || nColumn > 1)
        return -1;
    for (const auto& pItem : m_Items)
        if (pItem->nData[nColumn] == nValue)
            return pItem->nID;
    return -1;
}

void CXTreeView::EnableItem(int nID, bool bEnabled)
{
    if (Item* pItem = Find(nID)) {
        pItem->bEnabled = bEnabled ? 1 : 0;
        Redraw();
    }
}

int CXTreeView::IsItemEnabled(int nID) const
{
    const Item* pItem = Find(nID);
    return pItem ? pItem->bEnabled : 0;
}

bool CXTreeView::OnScreenChain(const Item* pItem) const
{
    for (; pItem; pItem = pItem->pParent)
        if (!pItem->bShown)
            return false;
    return true;
}

int CXTreeView::IsItemVisible(int nID) const
{
    const Item* pItem = Find(nID);
    return pItem && OnScreenChain(pItem) ? 1 : 0;
}

void CXTreeView::CreateColumnHeader(const plat::Rect& rcArea, const TREECOLUMN* pColumns, bool bCentre,
                                    int nHeight)
{
    m_pColumns = pColumns;
    m_nColumnCount = 0;
    m_pHeader.reset();
    if (!pColumns)
        return;
    while (pColumns[m_nColumnCount].wLeft != TREECOLUMN_END)
        ++m_nColumnCount;
    int nWidth = rcArea.right - rcArea.left;
    if (m_nColumnCount > 0)
        nWidth = pColumns[m_nColumnCount - 1].wRight;
    const int x = bCentre ? rcArea.left + (rcArea.right - rcArea.left - nWidth) / 2 : rcArea.left;
    Move(x, rcArea.top + TREE_HEADER_HEIGHT, nWidth, nHeight, false);
    auto pHeader = std::make_unique<CXSurface>();
    if (!pHeader->Create(nWidth + 1, TREE_HEADER_HEIGHT + 1, false, true))
        return;
    pHeader->Fill(kColourKey);
    CXSurface* pFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnSort.bmp") : nullptr;
    plat::DeviceContext* pDC = nullptr;
    for (int i = 0; i < m_nColumnCount; ++i) {
        const TREECOLUMN& column = pColumns[i];
        if (pFace && pFace->m_pSurface)
            DrawHeaderCell(*pHeader->m_pSurface, column.wLeft, 0, column.wRight - column.wLeft, *pFace->m_pSurface,
                           0);
        const char* pszCaption =
            column.dwCaptionID && g_pfnControlCaptionText ? g_pfnControlCaptionText(column.dwCaptionID) : nullptr;
        if (!pszCaption)
            continue;
        if (!pDC) {
            pDC = pHeader->m_pSurface->getDC();
            pDC->setBkMode(plat::TRANSPARENT);
            pDC->setTextColor(kHeaderTextColour);
            if (g_hButtonFont)
                pDC->selectFont(g_hButtonFont);
        }
        pDC->textOut(column.wLeft + 5, 0, pszCaption, static_cast<int>(std::strlen(pszCaption)));
    }
    if (pDC)
        pHeader->m_pSurface->releaseDC(pDC);
    m_pHeader = std::move(pHeader);
}

void CXTreeView::ShadeBackground()
{
    if (!m_pOwner)
        return;
    if (m_nColumnCount == 0) {
        m_pOwner->ShadeRect(m_nLeft, m_nTop, m_nVisibleWidth, m_nVisibleHeight);
        return;
    }
    for (int y = 0; y + TREE_HEADER_HEIGHT <= m_nVisibleHeight; y += TREE_HEADER_HEIGHT)
        for (int i = 0; i < m_nColumnCount; ++i)
            m_pOwner->ShadeRect(m_nLeft + m_pColumns[i].wLeft, m_nTop + y,
                                m_pColumns[i].wRight - m_pColumns[i].wLeft - 1, TREE_HEADER_HEIGHT - 1);
}

// ---- rows ----

std::vector<CXTreeView::Item*> CXTreeView::ShownItems() const
{
    std::vector<Item*> items;
    for (const auto& pItem : m_Items)
        if (OnScreenChain(pItem.get()))
            items.push_back(pItem.get());
    return items;
}

int CXTreeView::ShownIndex(const Item* pItem) const
{
    const std::vector<Item*> items = ShownItems();
    const auto it = std::find(items.begin(), items.end(), pItem);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

CXTreeView::Item* CXTreeView::ItemAtRow(int nRow) const
{
    const std::vector<Item*> items = ShownItems();
    const int nTop = std::max(0, ShownIndex(m_pTop));
    const int nIndex = nTop + nRow;
    if (nRow < 0 || nRow >= RowsOnScreen() || nIndex >= static_cast<int>(items.size()))
        return nullptr;
    return items[static_cast<size_t>(nIndex)];
}

int CXTreeView::RowOf(const Item* pItem) const
{
    const int nIndex = ShownIndex(pItem);
    if (nIndex < 0)
        return -1;
    const int nRow = nIndex - std::max(0, ShownIndex(m_pTop));
    return nRow >= 0 && nRow < RowsOnScreen() ? nRow : -1;
}

std::vector<int> CXTreeView::RowIDs() const
{
    std::vector<int> ids;
    for (int nRow = 0; const Item* pItem = ItemAtRow(nRow); ++nRow)
        ids.push_back(pItem->nID);
    return ids;
}

void CXTreeView::SetTopIndex(int nShownIndex)
{
    const std::vector<Item*> items = ShownItems();
    if (items.empty()) {
        m_pTop = nullptr;
        return;
    }
    const int nLargest = std::max(0, static_cast<int>(items.size()) - RowsOnScreen());
    m_pTop = items[static_cast<size_t>(std::clamp(nShownIndex, 0, nLargest))];
}

void CXTreeView::ScrollCurrentIntoView()
{
    const int nCurrent = ShownIndex(m_pCurrent);
    if (nCurrent < 0)
        return;
    const int nTop = std::max(0, ShownIndex(m_pTop));
    if (nCurrent < nTop)
        SetTopIndex(nCurrent);
    else if (nCurrent >= nTop + RowsOnScreen())
        SetTopIndex(nCurrent - RowsOnScreen() + 1);
    else
        SetTopIndex(nTop);
    if (m_pScrollBar)
        m_pScrollBar->SetPos(std::max(0, ShownIndex(m_pTop)), true);
}

void CXTreeView::ScrollByLine(int nDirection)
{
    SetTopIndex(std::max(0, ShownIndex(m_pTop)) + (nDirection < 0 ? -1 : 1));
    if (m_pScrollBar)
        m_pScrollBar->SetPos(std::max(0, ShownIndex(m_pTop)), true);
    Redraw();
}

void CXTreeView::ScrollToLine(int nFirstLine)
{
    SetTopIndex(nFirstLine);
    if (m_pScrollBar)
        m_pScrollBar->SetPos(std::max(0, ShownIndex(m_pTop)), true);
    Redraw();
}

void CXTreeView::UpdateScrollBar()
{
    const int nShown = static_cast<int>(ShownItems().size());
    // A top row that was hidden by a collapse, or a view that now holds every
    // row, starts again from a row that is on screen.
    if (nShown <= RowsOnScreen() && !m_Items.empty())
        m_pTop = m_Items.front().get();
    else if (m_pTop && !OnScreenChain(m_pTop)) {
        Item* pTop = m_pTop;
        while (pTop && !OnScreenChain(pTop))
            pTop = pTop->pParent;
        m_pTop = pTop;
    }
    SetTopIndex(std::max(0, ShownIndex(m_pTop)));
    if (m_pScrollBar) {
        m_pScrollBar->SetRange(0, nShown);
        m_pScrollBar->SetPos(std::max(0, ShownIndex(m_pTop)), true);
    }
}

// ---- selection and branches ----

void CXTreeView::NotifySelection()
{
    if (m_bNotifyOwner && m_pOwner)
        m_pOwner->OnSelChange(m_dwID);
}

int CXTreeView::SelectItem(int nID)
{
    Item* pItem = Find(nID);
    if (!pItem)
        return 0;
    if (pItem == m_pCurrent)
        return 1;
    m_pCurrent = pItem;
    ScrollCurrentIntoView();
    Redraw();
    NotifySelection();
    return 1;
}

void CXTreeView::ExpandItem(int nID, bool bExpand, bool bOpenAncestors, bool bInner)
{
    Item* pItem = Find(nID);
    while (pItem) {
        if (!bExpand && !bInner && m_bOneBranchOpen && m_bCollapsingLocked)
            return;
        if (bOpenAncestors && pItem->pParent)
            ExpandItem(pItem->pParent->nID, true, true, false);
        const size_t nIndex = IndexOf(pItem);
        if (HasChildren(pItem)) {
            pItem->bExpanded = bExpand ? 1 : 0;
            for (size_t i = nIndex + 1; i < m_Items.size() && m_Items[i]->byLevel > pItem->byLevel; ++i)
                if (m_Items[i]->byLevel == pItem->byLevel + 1)
                    m_Items[i]->bShown = pItem->bExpanded;
        }
        if (!bExpand)
            return;
        if (m_bOneBranchOpen)
            CollapseSiblings(pItem);
        if (!m_bOpenToFirstLeaf)
            return;
        Item* pNext = nIndex + 1 < m_Items.size() ? m_Items[nIndex + 1].get() : nullptr;
        if (pNext && pNext->pParent == pItem) {
            pItem = pNext;
            bOpenAncestors = false;
            bInner = false;
            continue;
        }
        SelectItem(pItem->nID);
        return;
    }
}

void CXTreeView::CollapseSiblings(const Item* pItem)
{
    for (const auto& pOther : m_Items)
        if (pOther.get() != pItem && pOther->pParent == pItem->pParent && pOther->bExpanded)
            ExpandItem(pOther->nID, false, false, true);
}

CXTreeView::Item* CXTreeView::EndOfFirstChildChain(Item* pItem) const
{
    while (pItem && HasChildren(pItem))
        pItem = m_Items[IndexOf(pItem) + 1].get();
    return pItem;
}

void CXTreeView::Toggle(Item* pItem) { ExpandItem(pItem->nID, !pItem->bExpanded, false, false); }

// ---- input ----

void CXTreeView::OnLButtonDown(uint32_t flags, int x, int y)
{
    CXControl::OnLButtonDown(flags, x, y);
    if (m_Items.empty() || m_bDisabled || y < 0)
        return;
    Item* pItem = ItemAtRow(y / m_nRowHeight);
    if (!pItem || !pItem->bEnabled)
        return;
    if (!HasChildren(pItem)) {
        if (pItem != m_pCurrent) {
            m_pCurrent = pItem;
            if (m_bOneBranchOpen)
                CollapseSiblings(pItem);
            UpdateScrollBar();
        }
        Redraw();
        if (m_byStyle & TREESTYLE_NOTIFY_SELECTION) {
            NotifySelection();
            if (m_pScrollBar)
                m_pScrollBar->SetPos(std::max(0, ShownIndex(m_pTop)), true);
        }
        return;
    }
    const int nMarkLeft = m_nIndent * pItem->byLevel;
    if (m_bClickAnywhereToggles || (x >= nMarkLeft && x <= nMarkLeft + kMarkWidth))
        Toggle(pItem);
    if (m_bOpenToFirstLeaf) {
        if (Item* pLeaf = EndOfFirstChildChain(m_pCurrent))
            SelectItem(pLeaf->nID);
        UpdateScrollBar();
        Redraw();
        return;
    }
    UpdateScrollBar();
    Redraw();
    if (m_byStyle & TREESTYLE_NOTIFY_SELECTION)
        NotifySelection();
}

void CXTreeView::OnLButtonDblClk(uint32_t, int, int y)
{
    if (m_Items.empty() || m_bDisabled || y < 0)
        return;
    if (Item* pItem = ItemAtRow(y / m_nRowHeight))
        Toggle(pItem);
    if (m_bOpenToFirstLeaf)
        if (Item* pLeaf = EndOfFirstChildChain(m_pCurrent))
            SelectItem(pLeaf->nID);
    UpdateScrollBar();
    Redraw();
    if ((m_byStyle & TREESTYLE_NOTIFY_DOUBLE_CLICK) && m_pOwner)
        m_pOwner->OnDoubleClicked(m_dwID);
}

void CXTreeView::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t)
{
    if (m_Items.empty() || m_bDisabled || !IsNavigationKey(key))
        return;
    const std::vector<Item*> items = ShownItems();
    const int nLast = static_cast<int>(items.size()) - 1;
    const int nCurrent = std::max(0, ShownIndex(m_pCurrent));
    const int nPage = std::max(1, RowsOnScreen() - 1);
    const int nSteps = std::max<int>(1, static_cast<int>(repeat));
    Item* pOld = m_pCurrent;
    m_pKeyDownCurrent = pOld;
    auto moveTo = [&](int nIndex) { m_pCurrent = items[static_cast<size_t>(std::clamp(nIndex, 0, nLast))]; };
    switch (key) {
    case kKeyPageUp:
        moveTo(nCurrent - nPage);
        break;
    case kKeyPageDown:
        moveTo(nCurrent + nPage);
        break;
    case kKeyEnd:
        moveTo(nLast);
        break;
    case kKeyHome:
        moveTo(0);
        m_pTop = m_pCurrent;
        break;
    case kKeyLeft:
    case kKeyRight:
        if (m_pCurrent && HasChildren(m_pCurrent))
            ExpandItem(m_pCurrent->nID, key == kKeyRight, false, false);
        UpdateScrollBar();
        break;
    case kKeyUp:
    case kKeyDown:
        if (m_byKeyMode == 1)
            moveTo(nCurrent + (key == kKeyUp ? -nSteps : nSteps));
        else
            SetTopIndex(std::max(0, ShownIndex(m_pTop)) + (key == kKeyUp ? -1 : 1));
        break;
    default:
        break;
    }
    if (m_pCurrent != pOld && (m_byStyle & TREESTYLE_NOTIFY_SELECTION) && !m_bReportOnKeyRelease)
        NotifySelection();
    // Scrolling keys of key mode 0 leave the current item where it is.
    if (m_byKeyMode == 1 || (key != kKeyUp && key != kKeyDown))
        ScrollCurrentIntoView();
    Redraw();
}

void CXTreeView::OnKeyUp(uint32_t key, uint32_t, uint32_t)
{
    if (!m_bReportOnKeyRelease || !IsNavigationKey(key) || m_pCurrent == m_pKeyDownCurrent)
        return;
    m_pKeyDownCurrent = m_pCurrent;
    if (m_byStyle & TREESTYLE_NOTIFY_SELECTION)
        NotifySelection();
    if (m_pScrollBar)
        m_pScrollBar->SetPos(std::max(0, ShownIndex(m_pTop)), true);
}

void CXTreeView::OnMouseWheel(int delta)
{
    // A wheel turned away from the user (positive) shows earlier rows.
    if (delta == 0 || static_cast<int>(ShownItems().size()) <= RowsOnScreen())
        return;
    ScrollToLine(std::max(0, ShownIndex(m_pTop)) + (delta > 0 ? -kWheelRows : kWheelRows));
}

void CXTreeView::OnMouseMove(uint32_t flags, int x, int y)
{
    m_bMouseInside = 1;
    m_nHoverColumn = ColumnAt(x);
    Item* pHover = y >= 0 ? ItemAtRow(y / m_nRowHeight) : nullptr;
    if (pHover != m_pHover) {
        m_pHover = pHover;
        Redraw();
    }
    CXControl::OnMouseMove(flags, x, y);
}

void CXTreeView::OnMouseLeave()
{
    m_bMouseInside = 0;
    m_pHover = nullptr;
    Redraw();
    CXControl::OnMouseLeave();
}

void CXTreeView::OnSetFocus()
{
    m_bFocused = 1;
    Redraw();
}

void CXTreeView::OnKillFocus()
{
    m_bFocused = 0;
    Redraw();
}

void CXTreeView::Move(int x, int y, int nWidth, int nHeight, bool bRedraw)
{
    CXControl::Move(x, y, nWidth, nHeight, false);
    m_nVisibleWidth = nWidth;
    m_nVisibleHeight = nHeight;
    if (m_pScrollBar)
        m_pScrollBar->Move(x + nWidth, y, CXScrollBar::kTrackWidth, nHeight, bRedraw);
    if (bRedraw)
        Redraw();
}

void CXTreeView::GetToolTipText(char* pszText)
{
    pszText[0] = '\0';
    if (!m_pHover)
        return;
    plat::Font* pFont = m_pHover->hFont ? m_pHover->hFont : m_hFont;
    char szField[TREE_ITEM_TEXT_SIZE];
    int nLeft = m_nLeft + TextLeft(m_pHover), nRight = m_nLeft + m_nVisibleWidth;
    if (m_nColumnCount > 0) {
        if (m_nHoverColumn < 0)
            return;
        CopyTabField(m_pHover->szText, m_nHoverColumn, szField, sizeof szField);
        nLeft = FieldLeft(m_pHover, m_nHoverColumn);
        nRight = FieldRight(m_nHoverColumn);
    } else {
        std::snprintf(szField, sizeof szField, "%s", m_pHover->szText);
    }
    if (pFont && nLeft + pFont->textWidth(szField, static_cast<int>(std::strlen(szField))) > nRight)
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", szField);
}

// ---- drawing ----

bool CXTreeView::ShowsSelection() const { return m_bFocused || m_bSelectionBarAlways; }

int CXTreeView::TextLeft(const Item* pItem) const
{
    return m_nIndent * pItem->byLevel + m_nTextOffset + (m_bConnectorLines && m_bExpandMarks ? kMarkWidth : 0);
}

void CXTreeView::DrawConnectors(plat::DeviceContext* pDC, const Item* pItem, int nRowTop)
{
    const int nMiddle = nRowTop + m_nRowHeight / 2, nBottom = nRowTop + m_nRowHeight;
    // Whether an item of this level under the same parent follows later.
    auto siblingFollows = [&](const Item* pOf) {
        for (size_t i = IndexOf(pOf) + 1; i < m_Items.size(); ++i) {
            if (m_Items[i]->byLevel < pOf->byLevel)
                return false;
            if (m_Items[i]->pParent == pOf->pParent)
                return true;
        }
        return false;
    };
    auto line = [&](int x1, int y1, int x2, int y2) { DrawLine(pDC, x1, y1, x2, y2, TREE_LINE_COLOUR, 1, plat::PS_SOLID); };
    if (pItem->byLevel == 0)
        return;
    const int x = m_nLeft + m_nIndent * (pItem->byLevel - 1) + 5;
    line(x, nMiddle, m_nLeft + m_nIndent * pItem->byLevel + 5, nMiddle);
    // Its own level's line: on to the next sibling, or ending here.
    line(x, nRowTop, x, siblingFollows(pItem) ? nBottom : nMiddle + 1);
    // The lines of open ancestors that still have siblings below.
    for (const Item* pAncestor = pItem->pParent; pAncestor && pAncestor->byLevel > 0; pAncestor = pAncestor->pParent)
        if (siblingFollows(pAncestor)) {
            const int xAncestor = m_nLeft + m_nIndent * (pAncestor->byLevel - 1) + 5;
            line(xAncestor, nRowTop, xAncestor, nBottom);
        }
}

void CXTreeView::DrawExpandMark(const Item* pItem, int nRowTop)
{
    CXSurface* pMarks = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnTree.bmp") : nullptr;
    const int y = nRowTop + m_nRowHeight / 2 - kMarkSize / 2;
    if (!pMarks || !pMarks->m_pSurface || y + kMarkSize > m_nTop + m_nVisibleHeight)
        return;
    const int nSourceY = pItem->bExpanded ? kMarkSize : 0;
    const plat::Rect rc{0, nSourceY, kMarkSize, nSourceY + kMarkSize};
    m_pDrawingSurface->m_pSurface->bltFast(m_nLeft + m_nIndent * pItem->byLevel, y, *pMarks->m_pSurface, &rc,
                                           plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}

void CXTreeView::DrawRow(plat::DeviceContext* pDC, const Item* pItem, int nRow)
{
    const int nRowTop = m_nTop + nRow * m_nRowHeight;
    if (m_bConnectorLines)
        DrawConnectors(pDC, pItem, nRowTop);
    pDC->selectFont(pItem->hFont ? pItem->hFont : m_hFont);
    COLORREF crText = pItem->crColour;
    if (!pItem->bEnabled)
        crText = TREE_DISABLED_COLOUR;
    else if (pItem == m_pHover && m_bMouseInside)
        crText = TREE_HOVER_COLOUR;
    pDC->setTextColor(crText);
    const int nTextY = nRowTop + m_nRowHeight / 2 - 8;
    if (m_nColumnCount > 0) {
        DrawColumnFields(pDC, pItem, nTextY);
        return;
    }
    const int x = m_nLeft + TextLeft(pItem);
    // The text stops short of the row's images.
    int nRight = m_nLeft + m_nVisibleWidth;
    for (const ItemImage& image : pItem->Images)
        if (m_nLeft + image.wX > x)
            nRight = std::min(nRight, m_nLeft + image.wX - kImageGap);
    pDC->textOut(x, nTextY, pItem->szText, FittingLength(pDC, pItem->szText, nRight - x));
}

int CXTreeView::FieldLeft(const Item* pItem, int nColumn) const
{
    return m_nLeft + (nColumn == 0 ? TextLeft(pItem) : m_pColumns[nColumn].wLeft + m_nTextOffset);
}

int CXTreeView::FieldRight(int nColumn) const { return m_nLeft + m_pColumns[nColumn].wRight; }

void CXTreeView::DrawColumnFields(plat::DeviceContext* pDC, const Item* pItem, int nTextY)
{
    char szField[TREE_ITEM_TEXT_SIZE];
    for (int i = 0; i < m_nColumnCount; ++i) {
        CopyTabField(pItem->szText, i, szField, sizeof szField);
        int x = FieldLeft(pItem, i);
        if (m_pColumns[i].bAlignRight) {
            plat::Size size{0, 0};
            pDC->getTextExtentPoint(szField, static_cast<int>(std::strlen(szField)), &size);
            x = std::max(x, FieldRight(i) - kRightFieldMargin - size.cx);
        }
        pDC->textOut(x, nTextY, szField, FittingLength(pDC, szField, FieldRight(i) - x));
    }
}

int CXTreeView::ColumnAt(int x) const
{
    for (int i = 0; i < m_nColumnCount; ++i)
        if (x >= m_pColumns[i].wLeft && x < m_pColumns[i].wRight)
            return i;
    return -1;
}

void CXTreeView::Redraw()
{
    if (!m_bVisible || !m_bRedrawOnChange || !m_pOwner || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    m_pOwner->RestoreBackground(m_nLeft, m_nTop, m_nVisibleWidth, m_nVisibleHeight);
    plat::Surface& dest = *m_pDrawingSurface->m_pSurface;
    if (m_pHeader && m_pHeader->m_pSurface) {
        const plat::Rect rc{0, 0, m_nVisibleWidth + 1, TREE_HEADER_HEIGHT + 1};
        dest.bltFast(m_nLeft, m_nTop - TREE_HEADER_HEIGHT, *m_pHeader->m_pSurface, &rc,
                     plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
    }
    const int nCurrentRow = RowOf(m_pCurrent);
    if (nCurrentRow >= 0 && ShowsSelection()) {
        CXSurface* pBar = m_pSelectionImage ? m_pSelectionImage : m_pRowBackground.get();
        const int nRowTop = m_nTop + nCurrentRow * m_nRowHeight;
        if (pBar && pBar->m_pSurface && m_nColumnCount == 0) {
            const plat::Rect rc{0, 0, m_nVisibleWidth, m_nRowHeight};
            dest.bltFast(m_nLeft, nRowTop, *pBar->m_pSurface, &rc, plat::BLTFAST_WAIT);
        }
        for (int i = 0; pBar && pBar->m_pSurface && i < m_nColumnCount; ++i) {
            const plat::Rect rc{0, 0, m_pColumns[i].wRight - m_pColumns[i].wLeft - 1, m_nRowHeight - 1};
            dest.bltFast(m_nLeft + m_pColumns[i].wLeft, nRowTop, *pBar->m_pSurface, &rc, plat::BLTFAST_WAIT);
        }
    }
    std::vector<std::pair<const Item*, int>> rows;
    for (int nRow = 0; const Item* pItem = ItemAtRow(nRow); ++nRow)
        rows.emplace_back(pItem, nRow);
    plat::DeviceContext* pDC = dest.getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    for (const auto& [pItem, nRow] : rows)
        DrawRow(pDC, pItem, nRow);
    dest.releaseDC(pDC);
    if (m_bExpandMarks)
        for (const auto& [pItem, nRow] : rows)
            if (HasChildren(pItem))
                DrawExpandMark(pItem, m_nTop + nRow * m_nRowHeight);
    // Still images go with their rows; animations are drawn every frame.
    for (const auto& [pItem, nRow] : rows)
        for (const ItemImage& image : pItem->Images)
            if (image.bStill)
                image.pImage->DrawFrame(m_pDrawingSurface, m_nLeft + image.wX,
                                        ImageY(image, m_nTop + nRow * m_nRowHeight), -1, true);
}

int CXTreeView::ImageY(const ItemImage& image, int nRowTop) const
{
    return nRowTop + m_nRowHeight / 2 - image.pImage->m_nFrameHeight / 2;
}

void CXTreeView::DrawAnimations()
{
    CXSurface* pScreen = GetScreenSurface();
    if (!m_bVisible || !pScreen)
        return;
    const int nOwnerX = m_pOwner ? m_pOwner->m_nLeft : 0, nOwnerY = m_pOwner ? m_pOwner->m_nTop : 0;
    for (int nRow = 0; const Item* pItem = ItemAtRow(nRow); ++nRow)
        for (const ItemImage& image : pItem->Images)
            if (!image.bStill)
                image.pImage->Draw(pScreen, nOwnerX + m_nLeft + image.wX,
                                   nOwnerY + ImageY(image, m_nTop + nRow * m_nRowHeight), true);
}
