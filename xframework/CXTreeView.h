#pragma once
// Control type 11: a scrolling list of text rows that form a tree. Items have
// a level, a parent, an expanded state and two integer data columns; branches
// open and close by mouse, double click and keys, optionally one branch at a
// time and opening down to the first leaf. The navigation menu and the
// account tree of the finance screen are built from it.
#include "xframework/CXControl.h"
#include "xframework/CXScrollBar.h"

#include "common/DebugLog.h"

#include <cstdint>
#include <memory>
#include <vector>

// An item text holds at most TREE_ITEM_TEXT_SIZE - 1 characters; longer
// texts are cut.
constexpr int TREE_ITEM_TEXT_SIZE = 160;
constexpr int TREE_DEFAULT_INDENT = 20;
constexpr COLORREF TREE_DISABLED_COLOUR = 0x00838383;
constexpr COLORREF TREE_HOVER_COLOUR = 0x0000FFFF;
constexpr COLORREF TREE_LINE_COLOUR = 0x00FFFFFF;
// AddItem when an item cannot be made.
constexpr int TREE_NO_MEMORY = -2;

// Style byte bits.
constexpr uint8_t TREESTYLE_NOTIFY_SELECTION = 0x01;
constexpr uint8_t TREESTYLE_NOTIFY_DOUBLE_CLICK = 0x02;

// One column of a caller's table: left and right from the tree's left, and
// the control-text id of its caption (0: none), and whether its texts stand
// at its right edge (numbers). The table ends with an entry whose left is
// TREECOLUMN_END and must outlive the tree.
constexpr uint16_t TREECOLUMN_END = 0xFFFF;
struct TREECOLUMN {
    uint16_t wLeft;
    uint16_t wRight;
    uint32_t dwCaptionID;
    uint8_t bAlignRight = 0;
};
constexpr int TREE_HEADER_HEIGHT = 16;

class CXAnimation;

class CXTreeView : public CXControl, public CXScrollTarget {
public:
    // A picture in an item's row: a still image is drawn with the row, an
    // animation on the screen every frame.
    struct ItemImage {
        CXAnimation* pImage = nullptr;
        uint16_t wX = 0;  // from the tree's left
        uint8_t bStill = 1;
    };
    struct Item {
        int32_t nID = 0;
        char szText[TREE_ITEM_TEXT_SIZE] = {};
        COLORREF crColour = 0;
        plat::Font* hFont = nullptr;
        int32_t nData[2] = {-1, -1};
        uint8_t bShown = 1;
        uint8_t bExpanded = 0;
        uint8_t byLevel = 0;
        uint8_t bEnabled = 1;
        Item* pParent = nullptr;
        std::vector<ItemImage> Images;
    };

    void SetUp(int nRowHeight, int nTextOffset, plat::Font* hFont, uint8_t byStyle, uint8_t byKeyMode,
               CXScrollBar* pScrollBar, uint8_t byBackgroundStyle, uint8_t bySpare, CXSurface* pSelectionImage);

    int AddItem(int nParentID, COLORREF crColour, plat::Font* hFont, const char* pszFormat, ...)
        BRELLOX_PRINTF(5, 6);
    int InsertItem(const char* pszText, COLORREF crColour, int nParentID, plat::Font* hFont);
    // Removes every item, without a redraw; ids start again from 0.
    void DeleteAllItems();
    // An image at x in the item's row, kept by the caller; a one-frame image
    // is always still. 0, or -1 for an unknown item or no image.
    int AddItemImage(int nID, CXAnimation* pImage, uint16_t wX, bool bStill);
    int SelectItem(int nID);
    void ExpandItem(int nID, bool bExpand, bool bOpenAncestors, bool bInner);
    int SetItemData(int nID, int32_t nValue, int nColumn);
    int32_t GetItemData(int nID, int nColumn) const;
    int FindItemByData(int32_t nValue, int nColumn) const;
    const Item* FindItem(int nID) const;
    void EnableItem(int nID, bool bEnabled);
    int IsItemEnabled(int nID) const;
    int IsItemVisible(int nID) const;
    void Redraw();
    void UpdateScrollBar();
    // Places the tree in the area (centred across it when asked) under a
    // header of the columns' captions; row texts split at TABs into columns.
    void CreateColumnHeader(const plat::Rect& rcArea, const TREECOLUMN* pColumns, bool bCentre, int nHeight);
    // Darkens the tree's area on the owner: whole, or cell by cell per column.
    void ShadeBackground();

    int ScrollLineCount() const override { return static_cast<int>(ShownItems().size()); }
    int ScrollVisibleLines() const override { return RowsOnScreen(); }
    void ScrollByLine(int nDirection) override;
    void ScrollToLine(int nFirstLine) override;

    void OnLButtonDblClk(uint32_t flags, int x, int y) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnSetFocus() override;
    void OnKillFocus() override;
    void OnMouseWheel(int delta) override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnMouseLeave() override;
    void DrawAnimations() override;
    void Move(int x, int y, int nWidth, int nHeight, bool bRedraw) override;
    void GetToolTipText(char* pszText) override;

    int GetCount() const { return static_cast<int>(m_Items.size()); }
    // The item at a place of the display order; null past the end.
    // Where an item's text starts, from the tree's left.
    int TextLeft(const Item* pItem) const;
    const Item* GetItemAt(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetCount() ? m_Items[static_cast<size_t>(nIndex)].get() : nullptr;
    }
    const TREECOLUMN* GetColumns() const { return m_pColumns; }
    int GetCurrentID() const { return m_pCurrent ? m_pCurrent->nID : -1; }
    int GetTopID() const { return m_pTop ? m_pTop->nID : -1; }
    int GetHoverID() const { return m_pHover ? m_pHover->nID : -1; }
    int GetHoverColumn() const { return m_nHoverColumn; }
    int GetColumnCount() const { return m_nColumnCount; }
    int RowsOnScreen() const { return m_nRowHeight > 0 ? m_nVisibleHeight / m_nRowHeight : 0; }
    // The ids of the rows on screen, top first.
    std::vector<int> RowIDs() const;

    CXSurface* m_pSelectionImage = nullptr;
    uint8_t m_bFocused = 0;
    uint8_t m_bRedrawOnChange = 1;
    uint8_t m_bReportOnKeyRelease = 0;
    uint8_t m_bSelectionBarAlways = 0;
    uint8_t m_bMouseInside = 0;
    uint8_t m_bySpare = 0;
    uint8_t m_bClickAnywhereToggles = 0;
    uint8_t m_bOneBranchOpen = 0;
    uint8_t m_bCollapsingLocked = 0;
    uint8_t m_bOpenToFirstLeaf = 0;
    uint8_t m_bConnectorLines = 1;
    uint8_t m_bExpandMarks = 1;
    uint8_t m_bNotifyOwner = 1;
    uint8_t m_bDisabled = 0;
    uint8_t m_byKeyMode = 1;
    plat::Font* m_hFont = nullptr;
    uint8_t m_byStyle = 0;
    int32_t m_nRowHeight = 16;
    int32_t m_nTextOffset = 0;
    int32_t m_nVisibleWidth = 0;
    int32_t m_nVisibleHeight = 0;
    int32_t m_nIndent = TREE_DEFAULT_INDENT;
    uint8_t m_byBackgroundStyle = 0;
    COLORREF m_crRowFill = 0x004A2921;
    COLORREF m_crRowLight = 0x007B5242;
    COLORREF m_crRowDark = 0x002A1010;

protected:
    void Draw() override { Redraw(); }

private:
    Item* Find(int nID) const;
    size_t IndexOf(const Item* pItem) const;
    bool HasChildren(const Item* pItem) const;
    bool OnScreenChain(const Item* pItem) const;
    // The items whose whole ancestor chain is open, in display order.
    std::vector<Item*> ShownItems() const;
    int ShownIndex(const Item* pItem) const;
    Item* ItemAtRow(int nRow) const;
    int RowOf(const Item* pItem) const;
    bool ShowsSelection() const;
    void SetTopIndex(int nShownIndex);
    void ScrollCurrentIntoView();
    void CollapseSiblings(const Item* pItem);
    void Toggle(Item* pItem);
    Item* EndOfFirstChildChain(Item* pItem) const;
    void NotifySelection();
    void DrawRow(plat::DeviceContext* pDC, const Item* pItem, int nRow);
    int ImageY(const ItemImage& image, int nRowTop) const;
    void DrawColumnFields(plat::DeviceContext* pDC, const Item* pItem, int nTextY);
    // Where field n of a row's text starts and the right edge it is cut at.
    int FieldLeft(const Item* pItem, int nColumn) const;
    int FieldRight(int nColumn) const;
    int ColumnAt(int x) const;
    void DrawConnectors(plat::DeviceContext* pDC, const Item* pItem, int nRowTop);
    void DrawExpandMark(const Item* pItem, int nRowTop);

    std::vector<std::unique_ptr<Item>> m_Items;  // display order
    int32_t m_nLastID = -1;
    Item* m_pCurrent = nullptr;
    Item* m_pHover = nullptr;
    Item* m_pTop = nullptr;
    Item* m_pKeyDownCurrent = nullptr;
    CXScrollBar* m_pScrollBar = nullptr;
    std::unique_ptr<CXSurface> m_pRowBackground;
    const TREECOLUMN* m_pColumns = nullptr;
    int32_t m_nColumnCount = 0;
    int32_t m_nHoverColumn = -1;
    std::unique_ptr<CXSurface> m_pHeader;
};
