#pragma once
// Control type 2: the multi-column list of squads, tables, fixtures and
// messages. Each row is one text whose cells are separated by TABs, with an
// item value, a colour, a font, an alignment, an enabled flag and per-cell
// colours. Columns come from the caller's table; a column with a header id
// gets a header button that sorts the list by it. The list scrolls by rows
// (wheel, keys, a linked scroll bar) and highlights the cell under the
// pointer in hot columns.
#include "xframework/CXControl.h"
#include "xframework/CXScrollBar.h"

#include "common/DebugLog.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CXAnimation;
class CXButton;
class CXEditPopup;

// A row text holds at most LISTBOX_ROW_TEXT_SIZE - 1 characters; longer
// texts are cut.
constexpr int LISTBOX_ROW_TEXT_SIZE = 160;
constexpr int LISTBOX_MAX_COLUMNS = 20;
constexpr COLORREF LISTBOX_DISABLED_COLOUR = 0x007A7A7A;
constexpr COLORREF LISTBOX_HOVER_COLOUR = 0x0000FFFF;

// One column of a caller's table; the table ends with an entry whose left is
// LISTCOLUMN_END and must outlive the list.
constexpr int16_t LISTCOLUMN_END = -1;
struct LISTCOLUMN {
    int16_t nLeft;
    int16_t nRight;
    int8_t nTextMargin;
    COLORREF crColour;   // 0: the row's colour
    // 0 left, 2 right, 6 centred, 'x' not drawn, 'y' a value bar (a
    // percentage) with or without its number, 'z' a bar of three steps only
    uint8_t byAlignment;
    int8_t nTextOffset;
    uint16_t wHeaderID;  // 0: no header button
    uint8_t bySortType;  // LISTSORT_*; 0: the column does not sort
    uint8_t bHot;        // the cell reacts to the pointer
};

// The room a cell's text is cut to, so that it stays inside its cell: the
// column less the list's text indent and, for text that starts at the margin
// (left-aligned), the margin; right-aligned text ends at the margin instead,
// so it keeps one pixel and the margin clear on the right.
inline int CellTextRoom(const LISTCOLUMN& column, int nTextIndent)
{
    const int nWidth = column.nRight - column.nLeft;
    if (column.byAlignment == 2)
        return nWidth - std::max(nTextIndent, column.nTextMargin + 1);
    const bool bFromMargin = column.byAlignment != 6 && column.byAlignment != 'y';
    return nWidth - nTextIndent - (bFromMargin ? column.nTextMargin : 0);
}

// A header cell's face ends this many pixels before the next cell.
constexpr int HEADER_FACE_END = 3;
// The caption a header cell shows and its left margin. A caption too wide for
// the usual margin moves left, up to a pixel clear of the bevel; one wider
// still keeps its whole leading letters and ends in an ellipsis, rather than
// run on under the next cell, which would slice it through a letter.
std::string HeaderCaption(const plat::Font* pFont, const char* pszCaption, int nCellWidth, int* pnMargin);

// How the cells of a column compare when sorting.
enum : uint8_t {
    LISTSORT_NONE = 0,
    LISTSORT_TEXT = 1,           // words as a person reads them, case-blind
    LISTSORT_NUMBER = 2,         // whole numbers written with ',' groups
    LISTSORT_DATE = 3,           // "d/m/y" in the list's date order
    LISTSORT_NUMBERED_TEXT = 4,  // text after a "1. " style prefix
    LISTSORT_AFTER_BLANK = 5,    // text from the first blank on
    LISTSORT_CURRENCY = 6,       // numbers with the Currency option's separators
};

// A column table of plain columns (the row's colour, no text offset, no hot
// cells), written one column to a brace: left, right, text margin,
// alignment, header id and sort type; the end entry follows them.
struct LISTCOLUMNPLAIN {
    int16_t nLeft, nRight;
    int8_t nTextMargin;
    uint8_t byAlignment;
    uint16_t wHeaderID;
    uint8_t bySortType = LISTSORT_NONE;
};
template <size_t N>
struct LISTCOLUMNTABLE {
    LISTCOLUMN aColumns[N + 1];
    operator const LISTCOLUMN*() const { return aColumns; }
};
template <size_t N>
constexpr LISTCOLUMNTABLE<N> MakeColumnTable(const LISTCOLUMNPLAIN (&aPlain)[N])
{
    LISTCOLUMNTABLE<N> table{};
    for (size_t i = 0; i < N; ++i)
        table.aColumns[i] = {aPlain[i].nLeft, aPlain[i].nRight, aPlain[i].nTextMargin, 0, aPlain[i].byAlignment, 0,
                             aPlain[i].wHeaderID, aPlain[i].bySortType, 0};
    table.aColumns[N] = {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0};
    return table;
}

// Modes of Scroll.
enum : int {
    LISTSCROLL_LINE_UP = 0,
    LISTSCROLL_LINE_DOWN = 1,
    LISTSCROLL_PAGE_UP = 2,
    LISTSCROLL_PAGE_DOWN = 3,
    LISTSCROLL_TO_ROW = 4,
    LISTSCROLL_TO_ROW_TOO = 5,
    LISTSCROLL_TOP = 6,
    LISTSCROLL_BOTTOM = 7,
};

// Value-bar option bits.
constexpr uint8_t VALUEBAR_DRAW_NUMBER = 0x01;
constexpr uint8_t VALUEBAR_DRAW_BAR = 0x02;

// Style byte bits.
constexpr uint8_t LISTSTYLE_NOTIFY_SELECTION = 0x01;
constexpr uint8_t LISTSTYLE_NOTIFY_DOUBLE_CLICK = 0x02;

// A wrapped line holds at most this many characters before it becomes a row
// (and is cut to the row's size).
constexpr int LISTBOX_WRAPPED_LINE_SIZE = 256;

// One entry per column, in column order, of a screen's cell-edit table: a
// double click on a cell of an editable column opens the edit popup over it.
struct LISTCELLEDIT {
    uint8_t bEditable;
    int32_t nMaxLength;  // 0: the popup's default
    uint8_t byMoneyKind;
    int32_t nMinimum;    // both 0: no range
    int32_t nMaximum;
};

// Compares two cells as the sort type does: below, equal or above zero.
// nDateOrder: 0 day/month/year, 1 month/day/year, 2 year/month/day.
int CompareListCells(const char* pszA, const char* pszB, uint8_t bySortType, uint8_t byDateOrder);

class CXListBox : public CXControl, public CXScrollTarget {
public:
    struct Row {
        char szText[LISTBOX_ROW_TEXT_SIZE] = {};
        COLORREF crColour = 0;
        uint32_t dwItemData = 0;
        uint8_t bEnabled = 1;
        plat::Font* hFont = nullptr;
        uint8_t byAlignment = 0;
        // Cells with a colour of their own: (column, colour).
        std::vector<std::pair<uint8_t, COLORREF>> CellColours;
        // Images inside the row; the list does not own them.
        struct Graphic {
            CXAnimation* pGraphic = nullptr;
            int32_t x = 0;
            uint8_t bStill = 1;
            int32_t nColumn = -1;
        };
        std::vector<Graphic> Graphics;
    };

    CXListBox();
    ~CXListBox() override;

    void SetUp(int nRowHeight, int nTextIndent, plat::Font* hFont, uint8_t byStyle, bool bSelectable,
               CXScrollBar* pScrollBar, bool bColumnsWithHeaders, CXSurface* pSelectionImage, bool bHeaderStrip,
               uint8_t byBackgroundStyle, bool bAutoScroll, bool bAlwaysShowSelection, bool bWholeRowHover);
    void SetUpColumns(int nLeft, int nTop, int nRight, int nBottom, const LISTCOLUMN* pColumns, bool bCentreX,
                      bool bCentreY, int nVisibleHeight, bool bHeaderOption);
    void CreateColumnHeaders(const LISTCOLUMN* pColumns, bool bHeaderOption);
    void FreeColumnHeaders();
    void SetAutoRedraw(bool bAutoRedraw) { m_bAutoRedraw = bAutoRedraw ? 1 : 0; }
    void SetDateOrder(uint8_t byOrder) { m_byDateOrder = byOrder; }
    void CreateRowBackground();

    int AddString(COLORREF crColour, const char* pszFormat, ...) BRELLOX_PRINTF(3, 4);
    int AppendRow(const char* pszText, COLORREF crColour, plat::Font* hFont, uint8_t byAlignment);
    // Appends a row that shows as the given one: text, colour, font,
    // alignment, cell graphics and enabled state.
    int AppendRowLike(const Row& source);
    // Breaks the text at blanks into rows that fit the row area; the index of
    // the first row added, -1 when none.
    int AddWrappedString(const char* pszText, COLORREF crColour, plat::Font* hFont, uint8_t byAlignment);
    // Each line of a text file (a game path) wrapped to the rows' width, an
    // empty line kept as an empty row; the one row "File not found!" when the
    // file cannot be read. Answers the rows added.
    int AddFile(const char* pszPath, COLORREF crColour);
    int DeleteString(int nRow);
    void ResetContent();
    void SetRowText(int nRow, const char* pszText);
    void SetString(int nRow, const char* pszFormat, ...) BRELLOX_PRINTF(3, 4);
    void SetColumnText(int nRow, int nColumn, const char* pszText);
    // The buffers hold LISTBOX_ROW_TEXT_SIZE characters.
    int GetString(int nRow, char* pszOut) const;
    void GetColumnText(int nRow, int nColumn, char* pszOut) const;
    int SetItemData(int nRow, uint32_t dwValue);
    int64_t GetItemData(int nRow) const;
    int FindItemData(uint32_t dwValue) const;
    void SetRowColour(int nRow, COLORREF crColour);
    // The row's text colour; 0 for a row that does not exist.
    COLORREF GetRowColour(int nRow) const;
    void SetRowFont(int nRow, plat::Font* hFont);
    void EnableRow(int nRow, bool bEnabled);
    bool IsRowEnabled(int nRow) const;
    void AddColumnColour(int nRow, int nColumn, COLORREF crColour);
    void ExchangeRows(int nRowA, int nRowB, bool bFollow);

    // Cell graphics: still ones are drawn with their rows, animations every
    // frame. 0 when added or refused (with a log line).
    int AddGraphic(int nRow, CXAnimation* pGraphic, int x, bool bStill);
    int AddColumnGraphic(int nRow, CXAnimation* pGraphic, int nOffset, int nColumn, bool bStill);
    // Alignment 0 left, 2 right, 6 centred in the column.
    int AddAlignedColumnGraphic(int nRow, CXAnimation* pGraphic, uint8_t byAlignment, int nColumn, bool bStill);
    void DeleteColumnGraphics(int nRow, int nColumn);
    void RemoveRowGraphics(int nRow);
    void DrawAnimations() override;

    // The table must outlive the list; null turns cell editing off.
    void SetCellEditTable(const LISTCELLEDIT* pTable) { m_pCellEdit = pTable; }
    // The edit popup opened over a cell, while it lives: its row, column,
    // text and value reach the owner with OnListNotify.
    CXEditPopup* CellEditPopup() const { return m_pCellEditPopup.get(); }
    const Row* GetRow(int nRow) const;

    void Sort(int nColumn, bool bAscending, uint8_t bySortType, int nFirstRow);
    void Resort();
    void SortByItemData(bool bAscending);
    // The header button of a sorting column was clicked.
    void OnLinkedButtonClicked(uint32_t dwHeaderID) override;

    void Scroll(int nMode, int nRow);
    void Redraw();
    void RedrawRow(int nRow, bool bClear);
    void UpdateScrollBar();
    void SetHoverHighlight(bool bOn);
    void SetSelection(int nRow);
    // The list that had the focus last keeps showing its selection.
    void ShowSelectionUnfocused(bool bShow);
    // Client point to row (not checked against the count) and column.
    bool HitTestRow(int x, int y, int* pnRow, int* pnColumn) const;

    int ScrollLineCount() const override { return GetCount(); }
    int ScrollVisibleLines() const override { return RowsPerView(); }
    void ScrollByLine(int nDirection) override { Scroll(nDirection < 0 ? LISTSCROLL_LINE_UP : LISTSCROLL_LINE_DOWN, 0); }
    void ScrollToLine(int nFirstLine) override { Scroll(LISTSCROLL_TO_ROW, nFirstLine); }

    void OnLButtonDblClk(uint32_t flags, int x, int y) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnSetFocus() override;
    void OnKillFocus() override;
    void OnMouseWheel(int delta) override;
    void Show(bool bVisible, bool bRedraw) override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void Move(int x, int y, int nWidth, int nHeight, bool bRedraw) override;
    void GetToolTipText(char* pszText) override;

    int GetCount() const { return static_cast<int>(m_Rows.size()); }
    int GetSelection() const { return m_nSelected; }
    int GetFirstVisible() const { return m_nFirstVisible; }
    int RowsPerView() const { return m_nRowHeight > 0 ? m_nRowAreaHeight / m_nRowHeight : 0; }
    int GetColumnCount() const { return m_nColumnCount; }
    // The column table the list was set up with; null for a plain text list.
    const LISTCOLUMN* GetColumns() const { return m_pColumns; }
    uint8_t SortMark(int nColumn) const;
    int HoverRow() const { return m_nHoverRow; }
    int HoverColumn() const { return m_nHoverColumn; }
    CXButton* HeaderButton(int nColumn) const;
    // The caller's column table, or null.
    const LISTCOLUMN* Columns() const { return m_pColumns; }

    CXSurface* m_pSelectionImage = nullptr;
    uint8_t m_bHasFocus = 0;
    uint8_t m_bChanged = 0;
    uint8_t m_bAutoRedraw = 1;
    uint8_t m_bNotifyOnKeyRelease = 0;
    uint8_t m_bHoverHighlight = 0;
    uint8_t m_bSelectable = 1;
    uint8_t m_bColumnsWithHeaders = 0;
    uint8_t m_bHeaderStrip = 0;
    uint8_t m_bAutoScroll = 0;
    uint8_t m_bAlwaysShowSelection = 0;
    uint8_t m_bWholeRowHover = 0;
    uint8_t m_bAllowDisabledRows = 0;
    uint8_t m_bShowSelectionUnfocused = 0;
    uint8_t m_byValueBarOptions = VALUEBAR_DRAW_NUMBER | VALUEBAR_DRAW_BAR;
    plat::Font* m_hFont = nullptr;
    uint8_t m_byStyle = 0;
    int32_t m_nRowHeight = 1;
    int32_t m_nTextIndent = 0;
    int32_t m_nHeaderHeight = 16;
    uint8_t m_byBackgroundStyle = 0;
    uint8_t m_byDateOrder = 0;
    int32_t m_nClickedColumn = -1;
    uint32_t m_dwClickedHeaderID = 0;
    COLORREF m_crCellFill = 0x004A2921;
    COLORREF m_crCellLight = 0x007B5242;
    COLORREF m_crCellDark = 0x002A1010;

protected:
    void Draw() override { Redraw(); }
    Row* RowAt(int nRow);
    const Row* RowAt(int nRow) const;
    void SetHoverRow(int nRow, int nColumn);
    int ColumnAt(int x) const;

private:
    void OpenCellEdit(int nRow, int nColumn);
    // The last visible column whose span holds x, -1 for none.
    int ColumnHolding(int x) const;
    void DrawRowGraphics(int nRow);
    int GraphicY(const Row::Graphic& graphic, int nRowTop) const;
    int LargestFirstVisible() const;
    bool RowInView(int nRow) const;
    int RowTop(int nRow) const;
    bool ShowsSelection() const;
    // Right edge of the last visible column, or the width without columns.
    int DrawnWidth() const;
    void DrawSelection(int nRowTop);
    void DrawRowText(plat::DeviceContext* pDC, int nRow);
    void DrawValueBar(plat::DeviceContext* pDC, const LISTCOLUMN& column, int nRowTop, int nValue, bool bThreeSteps);
    COLORREF CellColour(const Row& row, int nRow, int nColumn) const;
    void BuildHeaderStrip();
    void NotifySelChange();
    void AfterAppend();

    std::vector<std::unique_ptr<Row>> m_Rows;
    int32_t m_nSelected = -1;
    int32_t m_nFirstVisible = 0;
    int32_t m_nHoverRow = -1;
    int32_t m_nHoverColumn = -1;
    int32_t m_nRowAreaWidth = 0;
    int32_t m_nRowAreaHeight = 0;
    CXScrollBar* m_pScrollBar = nullptr;
    const LISTCOLUMN* m_pColumns = nullptr;
    int32_t m_nColumnCount = 0;
    int32_t m_nVisibleColumns = 0;
    CXButton* m_pHeaders[LISTBOX_MAX_COLUMNS] = {};
    uint8_t m_bySortMarks[LISTBOX_MAX_COLUMNS] = {};
    int32_t m_nSortColumn = -1;
    std::unique_ptr<CXSurface> m_pHeaderStrip;
    std::unique_ptr<CXSurface> m_pRowBackground;
    const LISTCELLEDIT* m_pCellEdit = nullptr;
    std::unique_ptr<CXEditPopup> m_pCellEditPopup;
};
