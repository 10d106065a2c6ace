// The list box on a screen: how its cells compare and sort, how the selection
// moves with the mouse and the keys, how it scrolls (wheel direction, the
// limits, the linked bar), and what it draws and shows as a tooltip.
#include "../shell/LogCapture.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/CXEditPopup.h"
#include "xframework/CXListBox.h"
#include "xframework/CXManager.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include "platform/Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <memory>
#include <string>
#include <vector>

namespace {

class ListScreen : public CXClient {
public:
    ListScreen() { SetClientRect(0, 0, 400, 300); }
    void OnClicked(uint32_t dwID) override { events.push_back("clicked " + std::to_string(dwID)); }
    void OnSelChange(uint32_t dwID) override { events.push_back("selchange " + std::to_string(dwID)); }
    void OnSort(uint32_t dwID) override { events.push_back("sort " + std::to_string(dwID)); }
    void OnListNotify(uint32_t dwID) override { events.push_back("listnotify " + std::to_string(dwID)); }
    std::vector<std::string> events;
};

constexpr uint32_t kList = 50;
constexpr uint16_t kNameHeader = 901;
constexpr uint16_t kValueHeader = 902;
constexpr uint16_t kPlainHeader = 903;

// Name (text, hot), value (money with ',' groups), a column that does not sort.
const LISTCOLUMN kColumns[] = {
    {0, 80, 2, 0, 0, 0, kNameHeader, LISTSORT_TEXT, 1},
    {80, 140, 2, 0, 2, 0, kValueHeader, LISTSORT_NUMBER, 0},
    {140, 200, 2, 0, 0, 0, kPlainHeader, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A black background that rows are cleared to.
        m_screen.m_pBackground = new CXSurface;
        ASSERT_NE(m_screen.m_pBackground->Create(400, 300, false, false), nullptr);
        m_screen.m_pBackground->Fill(0);
        m_screen.OnInitDialog();
        m_pList = static_cast<CXListBox*>(m_screen.AddControl(XCONTROL_LISTBOX, 20, 40, 200, 120, kList, nullptr));
        ASSERT_NE(m_pList, nullptr);
    }
    void TearDown() override
    {
        m_screen.OnDestroy();
        g_pfnSetMousePointer = nullptr;
    }
    // Ten rows of 8 pixels fit; with columns, header buttons above.
    void SetUpList(bool bColumns, CXScrollBar* pBar = nullptr, uint8_t byStyle = LISTSTYLE_NOTIFY_SELECTION)
    {
        m_pList->SetUp(8, 0, m_pFont.get(), byStyle, true, pBar, bColumns, nullptr, false, 1, false, false,
                       false);
        if (bColumns)
            m_pList->SetUpColumns(20, 40, 220, 120, kColumns, false, false, 80, false);
        m_pList->SetAutoRedraw(true);
    }
    void Fill(int nRows)
    {
        for (int i = 0; i < nRows; ++i)
            m_pList->AddString(0x00FFFFFF, "Row %d\t%d", i, i);
    }
    std::vector<std::string> Column(int nColumn) const
    {
        std::vector<std::string> cells;
        char szCell[LISTBOX_ROW_TEXT_SIZE];
        for (int i = 0; i < m_pList->GetCount(); ++i) {
            m_pList->GetColumnText(i, nColumn, szCell);
            cells.emplace_back(szCell);
        }
        return cells;
    }
    std::unique_ptr<plat::Font> m_pFont{plat::Font::create(14, 400, "Arial")};
    ListScreen m_screen;
    CXListBox* m_pList = nullptr;
};

TEST(ListCells, CompareAsTheirSortTypeSays)
{
    const struct {
        const char* a;
        const char* b;
        uint8_t bySortType;
        uint8_t byDateOrder;
        int nOrder;
    } cases[] = {
        {"apple", "Banana", LISTSORT_TEXT, 0, -1},
        {"Zeta", "alpha", LISTSORT_TEXT, 0, 1},
        {"O'Neil", "Oakes", LISTSORT_TEXT, 0, 1},  // read as "ONeil"
        {"smith", "Smith", LISTSORT_TEXT, 0, -1},   // equal but for case: small first
        {"Smith", "Smith", LISTSORT_TEXT, 0, 0},
        {"1,200", "950", LISTSORT_NUMBER, 0, 1},
        {"-5", "3", LISTSORT_NUMBER, 0, -1},
        {"31/12/99", "1/1/00", LISTSORT_DATE, 0, -1},
        {"12/31/99", "1/1/00", LISTSORT_DATE, 1, -1},
        {"2/3/2001", "3/2/2001", LISTSORT_DATE, 0, 1},
        {"1999/12/31", "0/1/1", LISTSORT_DATE, 2, -1},  // year 0 is 2000; 1999 stays
        {"1. Zola", "2. Adams", LISTSORT_NUMBERED_TEXT, 0, 1},
        {"Mr Brown", "Dr Abbot", LISTSORT_AFTER_BLANK, 0, 1},
        {"Brown", "Abbot", LISTSORT_AFTER_BLANK, 0, 1},
    };
    for (const auto& c : cases) {
        const int n = CompareListCells(c.a, c.b, c.bySortType, c.byDateOrder);
        EXPECT_EQ((n > 0) - (n < 0), c.nOrder) << c.a << " vs " << c.b << " type " << int(c.bySortType);
    }
}

TEST(ListCells, CurrencyNumbersFollowTheSeparatorOption)
{
    char cThousands = 0, cDecimal = 0;
    for (int nOption = 0; nOption < 8; ++nOption) {
        SetNumberSeparatorOption(nOption);
        GetNumberSeparators(&cThousands, &cDecimal);
        if (cThousands == '.')
            break;
    }
    ASSERT_EQ(cThousands, '.') << "no option writes thousands with '.'";
    EXPECT_GT(CompareListCells("1.200", "950", LISTSORT_CURRENCY, 0), 0);
    EXPECT_LT(CompareListCells("2,5", "2,75", LISTSORT_CURRENCY, 0), 0);
    SetNumberSeparatorOption(0);
}

TEST_F(ListBoxTest, HeaderClicksSortUpThenDownAndReportTheHeader)
{
    SetUpList(true);
    for (const char* pszRow : {"delta\t1,500\tx", "Alpha\t20\ty", "charlie\t300\tz", "bravo\t4,000\tw"})
        m_pList->AppendRow(pszRow, 0x00FFFFFF, nullptr, 0);
    m_pList->SetItemData(1, 77);
    CXButton* pName = m_pList->HeaderButton(0);
    ASSERT_NE(pName, nullptr);
    ASSERT_EQ(m_pList->HeaderButton(2) != nullptr, true);
    EXPECT_EQ(m_pList->HeaderButton(2)->m_bDisabled, 1) << "a column that does not sort has a disabled header";

    // A real click on the header button, through the screen.
    const int x = pName->m_nLeft + 5, y = pName->m_nTop + 5;
    m_screen.OnLButtonDown(0, x, y);
    m_screen.OnLButtonUp(0, x, y);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta"}));
    EXPECT_EQ(m_pList->SortMark(0), 1);
    EXPECT_EQ(m_pList->GetItemData(0), 77) << "the item value travels with its row";
    m_screen.OnLButtonDown(0, x, y);
    m_screen.OnLButtonUp(0, x, y);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"delta", "charlie", "bravo", "Alpha"}));
    EXPECT_EQ(m_pList->SortMark(0), 2);
    EXPECT_EQ(std::count(m_screen.events.begin(), m_screen.events.end(), "sort 901"), 2);

    m_pList->OnLinkedButtonClicked(kValueHeader);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"20", "300", "1,500", "4,000"}));
    EXPECT_EQ(m_pList->SortMark(0), 0);
    EXPECT_EQ(m_pList->SortMark(1), 1);
    m_pList->AppendRow("echo\t1,000", 0, nullptr, 0);
    m_pList->Resort();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"20", "300", "1,000", "1,500", "4,000"}));

    // The column that does not sort leaves the order alone.
    m_pList->OnLinkedButtonClicked(kPlainHeader);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"20", "300", "1,000", "1,500", "4,000"}));
}

TEST_F(ListBoxTest, SortingAnEmptyListReportsNothing)
{
    SetUpList(true);
    m_pList->Sort(0, true, LISTSORT_TEXT, 0);
    EXPECT_TRUE(m_screen.events.empty());
    EXPECT_EQ(m_pList->SortMark(0), 0);
}

TEST_F(ListBoxTest, RowsKeepTheirTextCellsAndValuesWithinBounds)
{
    SetUpList(false);
    EXPECT_EQ(m_pList->DeleteString(0), -1);
    EXPECT_EQ(m_pList->GetSelection(), -1);
    EXPECT_EQ(m_pList->AddString(0, "%s", "first"), 0);
    EXPECT_EQ(m_pList->GetSelection(), 0) << "the first row is selected";
    EXPECT_TRUE(m_screen.events.empty()) << "without telling the owner";

    // Longer texts are cut to the row's capacity, by format or by copy.
    const std::string long300(300, 'w');
    EXPECT_EQ(m_pList->AddString(0, "%s", long300.c_str()), 1);
    EXPECT_EQ(m_pList->AppendRow(long300.c_str(), 0, nullptr, 0), 2);
    m_pList->SetString(0, "%s!", long300.c_str());
    char szText[LISTBOX_ROW_TEXT_SIZE];
    for (int nRow : {0, 1, 2}) {
        ASSERT_EQ(m_pList->GetString(nRow, szText), 1);
        EXPECT_EQ(std::string(szText), std::string(LISTBOX_ROW_TEXT_SIZE - 1, 'w'));
    }
    EXPECT_EQ(m_pList->GetString(3, szText), 0);

    m_pList->SetRowText(1, "a\t\tc");
    m_pList->GetColumnText(1, 1, szText);
    EXPECT_STREQ(szText, "");
    m_pList->GetColumnText(1, 2, szText);
    EXPECT_STREQ(szText, "c");
    m_pList->GetColumnText(1, 5, szText);
    EXPECT_STREQ(szText, "");
    m_pList->SetColumnText(1, 1, "b");
    m_pList->SetColumnText(1, 3, "d");
    m_pList->GetString(1, szText);
    EXPECT_STREQ(szText, "a\tb\tc\td");

    EXPECT_EQ(m_pList->SetItemData(2, 9), 1);
    EXPECT_EQ(m_pList->SetItemData(1, 9), 1);
    EXPECT_EQ(m_pList->SetItemData(3, 9), -1);
    EXPECT_EQ(m_pList->FindItemData(9), 1);
    EXPECT_EQ(m_pList->FindItemData(8), -1);
    EXPECT_EQ(m_pList->GetItemData(3), -1);
    EXPECT_EQ(m_pList->GetItemData(-1), -1);

    // Deleting the selected last row selects the new last row.
    m_pList->SetSelection(2);
    EXPECT_EQ(m_pList->DeleteString(2), 2);
    EXPECT_EQ(m_pList->GetSelection(), 1);
}

TEST_F(ListBoxTest, ClicksSelectEnabledRowsAndAlwaysReport)
{
    SetUpList(false);
    Fill(4);
    m_pList->EnableRow(2, false);
    m_screen.OnLButtonDown(0, 30, 40 + 8 + 3);  // row 1
    EXPECT_EQ(m_pList->GetSelection(), 1);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"selchange 50", "clicked 50"}));

    m_screen.events.clear();
    m_screen.OnLButtonDown(0, 30, 40 + 2 * 8 + 3);  // the disabled row
    m_screen.OnLButtonDown(0, 30, 40 + 6 * 8 + 3);  // below the last row
    EXPECT_EQ(m_pList->GetSelection(), 1);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"clicked 50", "clicked 50"}));
}

TEST_F(ListBoxTest, KeysStepOverDisabledRowsAndTurnRoundAtTheEnd)
{
    SetUpList(false);
    Fill(25);
    m_screen.SetFocus(m_pList);
    m_pList->OnKeyDown(plat::VK_DOWN, 1, 0);
    EXPECT_EQ(m_pList->GetSelection(), 1);
    m_pList->EnableRow(2, false);
    m_pList->OnKeyDown(plat::VK_DOWN, 1, 0);
    EXPECT_EQ(m_pList->GetSelection(), 3);

    // Moving below the view scrolls it so that the selection is the last row.
    m_pList->OnKeyDown(plat::VK_NEXT, 1, 0);
    EXPECT_EQ(m_pList->GetSelection(), 12);
    EXPECT_EQ(m_pList->GetFirstVisible(), 3);
    m_pList->OnKeyDown(plat::VK_HOME, 1, 0);
    EXPECT_EQ(m_pList->GetSelection(), 0);
    EXPECT_EQ(m_pList->GetFirstVisible(), 0);

    // Every row below 20 disabled: End turns round to the nearest enabled row.
    for (int i = 21; i < 25; ++i)
        m_pList->EnableRow(i, false);
    m_pList->OnKeyDown(plat::VK_END, 1, 0);
    EXPECT_EQ(m_pList->GetSelection(), 20);
    m_pList->OnKeyDown(plat::VK_DOWN, 1, 0);
    EXPECT_EQ(m_pList->GetSelection(), 20) << "nothing enabled below: it stays";
}

TEST_F(ListBoxTest, ScrollingStopsAtTheEndsAndMovesTheLinkedBar)
{
    auto* pBar = static_cast<CXScrollBar*>(m_screen.AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 50, 60, nullptr));
    pBar->Create(61, 62, 16, false, 0);
    SetUpList(false, pBar);
    EXPECT_EQ(pBar->m_nLeft, m_pList->m_nRight) << "the bar sits at the list's right";
    Fill(25);
    EXPECT_EQ(m_pList->RowsPerView(), 10);
    m_pList->Scroll(LISTSCROLL_TO_ROW, 100);
    EXPECT_EQ(m_pList->GetFirstVisible(), 15);
    EXPECT_EQ(pBar->GetPos(), 15);
    m_pList->Scroll(LISTSCROLL_LINE_DOWN, 0);
    EXPECT_EQ(m_pList->GetFirstVisible(), 15);
    m_pList->Scroll(LISTSCROLL_PAGE_UP, 0);
    EXPECT_EQ(m_pList->GetFirstVisible(), 5);
    m_pList->Scroll(LISTSCROLL_PAGE_UP, 0);
    EXPECT_EQ(m_pList->GetFirstVisible(), 0);
    m_pList->Scroll(LISTSCROLL_BOTTOM, 0);
    EXPECT_EQ(m_pList->GetFirstVisible(), 15);

    // Shown with the screen's controls, the list shows its bar; the bar's
    // arrow scrolls the list one row.
    m_screen.ShowAllControls(true);
    ASSERT_TRUE(pBar->UpButton()->m_bVisible);
    m_screen.OnLButtonDown(0, pBar->UpButton()->m_nLeft + 3, pBar->UpButton()->m_nTop + 3);
    m_screen.OnLButtonUp(0, pBar->UpButton()->m_nLeft + 3, pBar->UpButton()->m_nTop + 3);
    EXPECT_EQ(m_pList->GetFirstVisible(), 14);

    // Deleting the last row at the bottom of the view moves the view up.
    m_pList->Scroll(LISTSCROLL_BOTTOM, 0);
    m_pList->DeleteString(24);
    EXPECT_EQ(m_pList->GetFirstVisible(), 14);

    while (m_pList->GetCount() > 6)
        m_pList->DeleteString(0);
    m_pList->Scroll(LISTSCROLL_TO_ROW, 3);
    EXPECT_EQ(m_pList->GetFirstVisible(), 0) << "all rows fit";
}

TEST_F(ListBoxTest, AnAutoScrollingListFollowsItsNewRowsOnlyFromTheBottom)
{
    auto* pBar = static_cast<CXScrollBar*>(m_screen.AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 50, 60, nullptr));
    pBar->Create(61, 62, 16, false, 0);
    m_pList->SetUp(8, 0, nullptr, 0, true, pBar, false, nullptr, false, 1, true, false, false);
    m_pList->SetAutoRedraw(true);
    Fill(15);
    EXPECT_EQ(m_pList->GetFirstVisible(), 5);
    EXPECT_EQ(pBar->GetPos(), 5);
    m_pList->Scroll(LISTSCROLL_TOP, 0);
    Fill(1);
    EXPECT_EQ(m_pList->GetFirstVisible(), 0) << "scrolled up, the view stays";
}

TEST_F(ListBoxTest, TheWheelTurnedAwayShowsEarlierRowsAndTowardsLaterOnes)
{
    SetUpList(false);
    Fill(25);
    m_screen.SetFocus(m_pList);
    // Through the window message, as the platform delivers a signed delta.
    m_screen.WindowProc(plat::WM_MOUSEWHEEL, static_cast<plat::WPARAM>(plat::makeLParam(0, -plat::WHEEL_DELTA)), 0);
    EXPECT_EQ(m_pList->GetFirstVisible(), 3);
    m_screen.OnMouseWheel(-120);
    EXPECT_EQ(m_pList->GetFirstVisible(), 6);
    m_screen.OnMouseWheel(120);
    EXPECT_EQ(m_pList->GetFirstVisible(), 3);
    m_screen.OnMouseWheel(120);
    m_screen.OnMouseWheel(120);
    EXPECT_EQ(m_pList->GetFirstVisible(), 0);
    EXPECT_EQ(std::count(m_screen.events.begin(), m_screen.events.end(), "selchange 50"), 5);

    // All rows in view: the wheel does nothing and tells nobody.
    while (m_pList->GetCount() > 10)
        m_pList->DeleteString(0);
    m_screen.events.clear();
    m_screen.OnMouseWheel(-120);
    EXPECT_EQ(m_pList->GetFirstVisible(), 0);
    EXPECT_TRUE(m_screen.events.empty());
}

TEST_F(ListBoxTest, TheHotCellUnderThePointerIsHighlightedAndACutCellIsItsTooltip)
{
    ASSERT_NE(m_pFont, nullptr);
    static std::vector<int> pointers;
    pointers.clear();
    g_pfnSetMousePointer = [](int nKind, int, int) { pointers.push_back(nKind); };
    m_pList->SetUp(16, 0, m_pFont.get(), 0, true, nullptr, true, nullptr, false, 1, false, false, false);
    m_pList->SetUpColumns(20, 40, 220, 120, kColumns, false, false, 80, false);
    m_pList->SetAutoRedraw(true);
    m_pList->AppendRow("Anne\t1", 0x00FFFFFF, nullptr, 0);
    m_pList->AppendRow("A name far too long for its column\t2", 0x00FFFFFF, nullptr, 0);
    m_pList->Redraw();

    // Nothing of the cut cell is drawn past its column.
    plat::Surface& surface = *m_screen.m_pDrawingSurface->m_pSurface;
    for (int x = 20 + 80; x < 20 + 80 + 40; ++x)
        for (int y = 56; y < 72; ++y)
            ASSERT_EQ(surface.pixel(x, y), 0) << x << "," << y;

    // The pointer over the name of row 1: a hot cell, drawn yellow.
    m_screen.OnMouseMove(0, 30, 40 + 16 + 8);
    EXPECT_EQ(m_pList->HoverRow(), 1);
    EXPECT_EQ(m_pList->HoverColumn(), 0);
    EXPECT_EQ(m_screen.m_pHoverListBox, m_pList);
    ASSERT_FALSE(pointers.empty());
    EXPECT_EQ(pointers.back(), 1);
    const uint16_t wYellow = plat::colorToPixel(LISTBOX_HOVER_COLOUR, surface.format());
    auto countPixels = [&](uint16_t wPixel) {
        int n = 0;
        for (int x = 20; x < 100; ++x)
            for (int y = 56; y < 72; ++y)
                n += surface.pixel(x, y) == wPixel;
        return n;
    };
    EXPECT_GT(countPixels(wYellow), 0);
    char szTip[TOOLTIP_TEXT_SIZE];
    m_pList->GetToolTipText(szTip);
    EXPECT_STREQ(szTip, "A name far too long for its column");

    // Over the value column: not hot, the stock pointer, no tooltip for a
    // cell that fits.
    m_screen.OnMouseMove(0, 20 + 100, 40 + 8);
    EXPECT_EQ(m_pList->HoverColumn(), 1);
    EXPECT_EQ(pointers.back(), 0);
    m_pList->GetToolTipText(szTip);
    EXPECT_STREQ(szTip, "");

    // Leaving the list takes the highlight away.
    m_screen.OnMouseMove(0, 20, 40 + 16 + 8);
    m_screen.OnMouseMove(0, 390, 290);
    EXPECT_EQ(m_screen.m_pHoverListBox, nullptr);
    EXPECT_EQ(m_pList->m_bHoverHighlight, 0);
    EXPECT_EQ(countPixels(wYellow), 0);
}

// A left-aligned cell starts at its margin and a right-aligned one ends at
// it, whatever the list's text indent: nothing of a cell, cut or whole, reaches
// the next column.
TEST_F(ListBoxTest, ACellEndsInsideItsColumnWhateverItsMarginAndAlignment)
{
    ASSERT_NE(m_pFont, nullptr);
    const struct {
        int8_t nMargin;
        uint8_t byAlignment;
        int nIndent;
        const char* pszText;
    } kCases[] = {
        {12, 0, 4, "Cup : Away : A name far too long for its column"},
        {0, 2, 6, "28,140"},
        {4, 2, 6, "28,140"},
        {6, 2, 6, "A number far too long: 1,234,567,890"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.pszText);
        const LISTCOLUMN columns[] = {
            {0, 80, c.nMargin, 0, c.byAlignment, 0, 0, LISTSORT_NONE, 0},
            {80, 140, 2, 0, 0, 0, 0, LISTSORT_NONE, 0},
            {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
        };
        m_pList->SetUp(16, c.nIndent, m_pFont.get(), 0, true, nullptr, true, nullptr, false, 1, false, false, false);
        m_pList->SetUpColumns(20, 40, 220, 120, columns, false, false, 80, false);
        m_pList->SetAutoRedraw(true);
        m_pList->ResetContent();
        m_screen.m_pDrawingSurface->m_pSurface->fill(nullptr, 0);
        m_pList->AppendRow((std::string(c.pszText) + "\t").c_str(), 0x00FFFFFF, nullptr, 0);
        m_pList->Redraw();
        const plat::Surface& surface = *m_screen.m_pDrawingSurface->m_pSurface;
        int nInside = 0;
        for (int y = 40; y < 120; ++y) {
            for (int x = 20; x < 20 + 80; ++x)
                nInside += surface.pixel(x, y) != 0;
            for (int x = 20 + 80; x < 20 + 140; ++x)
                ASSERT_EQ(surface.pixel(x, y), 0) << x << "," << y;
        }
        EXPECT_GT(nInside, 0) << "the text is drawn";
    }
}

// A header caption stays inside its cell's face: whole where it fits (moved
// left only as far as it must), else its leading letters and an ellipsis,
// else the letters that fit alone; never run on under the next cell.
TEST(HeaderCaptions, StayInsideTheirCellsFace)
{
    const std::unique_ptr<plat::Font> pBold(plat::Font::create(14, 700, "Arial"));
    ASSERT_NE(pBold, nullptr);
    auto width = [&](const std::string& text) { return pBold->textWidth(text.c_str(), static_cast<int>(text.size())); };
    const struct {
        const char* pszCaption;
        int nCell;
        const char* pszShown;  // null: its leading letters and an ellipsis
    } kCases[] = {
        {"Club", 80, "Club"},
        {"Mor", 30, "Mor"},         // whole, a little left of the usual margin
        {"Friendly", 58, "Friendly"},
        {"Friendly", 40, nullptr},
        {"Home matches", 70, nullptr},
        {"No.", 24, "No"},          // no room for a letter and the ellipsis
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.pszCaption) + " in " + std::to_string(c.nCell));
        int nMargin = -1;
        const std::string shown = HeaderCaption(pBold.get(), c.pszCaption, c.nCell, &nMargin);
        EXPECT_GE(nMargin, 2) << "clear of the bevel";
        EXPECT_LE(nMargin, 5);
        EXPECT_LE(nMargin + width(shown), c.nCell - HEADER_FACE_END) << "inside the face";
        if (c.pszShown) {
            EXPECT_EQ(shown, c.pszShown);
        } else {
            ASSERT_GE(shown.size(), 2u);
            EXPECT_EQ(shown.back(), '\x85');
            const std::string letters = shown.substr(0, shown.size() - 1);
            EXPECT_EQ(std::string(c.pszCaption).compare(0, letters.size(), letters), 0) << "its leading letters";
            EXPECT_NE(letters.back(), ' ');
            // The next letter too would not fit (a blank is never left before
            // the ellipsis).
            size_t nMore = letters.size() + 1;
            while (c.pszCaption[nMore - 1] == ' ')
                ++nMore;
            const std::string oneMore(c.pszCaption, nMore);
            EXPECT_GT(nMargin + width(oneMore + "\x85"), c.nCell - HEADER_FACE_END) << "as many letters as fit";
        }
    }
    int nMargin = -1;
    HeaderCaption(pBold.get(), "Club", 80, &nMargin);
    EXPECT_EQ(nMargin, 5) << "a caption with room keeps the usual margin";
}

// A list without columns (a drop-down's one row) stops a long row inside the
// box, whole characters only, whichever way the row is aligned.
TEST_F(ListBoxTest, ARowWithoutColumnsStaysInsideTheBox)
{
    ASSERT_NE(m_pFont, nullptr);
    m_pList->SetUp(16, 6, m_pFont.get(), 0, true, nullptr, false, nullptr, false, 1, false, false, false);
    m_pList->SetAutoRedraw(true);
    const std::string longRow = "A competition name far too long for the box it is shown in";
    for (uint8_t byAlignment : {0, 2, 6}) {
        m_pList->ResetContent();
        m_pList->AppendRow(longRow.c_str(), 0x00FFFFFF, nullptr, byAlignment);
        m_pList->Redraw();
        plat::Surface& surface = *m_screen.m_pDrawingSurface->m_pSurface;
        int nInside = 0;
        for (int y = 40; y < 56; ++y) {
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(surface.pixel(x, y), 0) << int{byAlignment} << ": " << x << "," << y;
            for (int x = 20; x < 200; ++x)
                nInside += surface.pixel(x, y) != 0;
            for (int x = 200; x < 400; ++x)
                ASSERT_EQ(surface.pixel(x, y), 0) << int{byAlignment} << ": " << x << "," << y;
        }
        EXPECT_GT(nInside, 50) << "the part that fits is drawn";
    }
}

TEST_F(ListBoxTest, ItLeavesNoDanglingLinksWhenRemovedBeforeItsHeadersAndBar)
{
    auto* pBar = static_cast<CXScrollBar*>(m_screen.AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 50, 60, nullptr));
    pBar->Create(61, 62, 16, false, 0);
    SetUpList(true, pBar);
    Fill(20);
    CXButton* pHeader = m_pList->HeaderButton(0);
    m_screen.RemoveControlByID(kList);
    EXPECT_EQ(pHeader->m_pLinkedControl, nullptr);
    EXPECT_FALSE(pBar->IsLinked());
    // The header and the bar still take clicks without reaching the list.
    m_screen.OnLButtonDown(0, pHeader->m_nLeft + 2, pHeader->m_nTop + 2);
    m_screen.OnLButtonUp(0, pHeader->m_nLeft + 2, pHeader->m_nTop + 2);
    m_screen.OnLButtonDown(0, pBar->DownButton()->m_nLeft + 2, pBar->DownButton()->m_nTop + 2);
    m_screen.OnLButtonUp(0, pBar->DownButton()->m_nLeft + 2, pBar->DownButton()->m_nTop + 2);
}

TEST_F(ListBoxTest, TheListThatHadTheFocusLastKeepsShowingItsSelection)
{
    auto* pOther = static_cast<CXListBox*>(m_screen.AddControl(XCONTROL_LISTBOX, 240, 40, 380, 120, 51, nullptr));
    auto* pButton = m_screen.AddControl(XCONTROL_BUTTON, 240, 200, 300, 220, 52, nullptr);
    ASSERT_NE(pButton, nullptr);
    SetUpList(false);
    pOther->SetUp(8, 0, m_pFont.get(), 0, true, nullptr, false, nullptr, false, 1, false, false, false);
    for (CXListBox* pList : {m_pList, pOther}) {
        pList->CreateRowBackground();
        pList->AddString(0x00FFFFFF, "%s", "");
        pList->AddString(0x00FFFFFF, "%s", "");
    }
    plat::Surface& surface = *m_screen.m_pDrawingSurface->m_pSurface;
    const uint16_t wSelected = plat::colorToPixel(m_pList->m_crCellFill, surface.format());
    auto selectionShown = [&] { return surface.pixel(m_pList->m_nLeft + 20, m_pList->m_nTop + 4) == wSelected; };

    m_pList->Redraw();
    EXPECT_FALSE(selectionShown()) << "not focused yet";
    m_screen.OnLButtonDown(0, m_pList->m_nLeft + 20, m_pList->m_nTop + 4);
    EXPECT_TRUE(selectionShown());
    m_screen.OnLButtonDown(0, 250, 210);  // the button takes the focus
    m_screen.OnLButtonUp(0, 250, 210);
    EXPECT_NE(m_screen.m_pFocused, m_pList);
    EXPECT_TRUE(selectionShown());
    m_screen.OnLButtonDown(0, 250, 44);  // the other list takes it
    EXPECT_EQ(m_screen.m_pFocused, pOther);
    EXPECT_FALSE(selectionShown());
}

TEST_F(ListBoxTest, ValueBarsShowAPercentageOrThreeStepsWithinTheirColumn)
{
    static const LISTCOLUMN kBars[] = {
        {0, 53, 0, 0, 'y', 0, 0, LISTSORT_NONE, 0},
        {53, 106, 0, 0, 'z', 0, 0, LISTSORT_NONE, 0},
        {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    m_pList->SetUp(16, 0, m_pFont.get(), 0, true, nullptr, true, nullptr, false, 1, false, false, false);
    m_pList->SetUpColumns(20, 40, 220, 120, kBars, false, false, 80, false);
    m_pList->SetAutoRedraw(true);
    m_pList->AppendRow("40\t50", 0x00FFFFFF, nullptr, 0);
    m_pList->AppendRow("150\t20", 0x00FFFFFF, nullptr, 0);
    m_pList->AppendRow("80\t80", 0x00FFFFFF, nullptr, 0);
    m_pList->EnableRow(2, false);
    m_pList->Redraw();
    plat::Surface& surface = *m_screen.m_pDrawingSurface->m_pSurface;
    const uint16_t wGreen = plat::colorToPixel(0x0000B400, surface.format());
    const uint16_t wRed = plat::colorToPixel(0x000000B4, surface.format());
    const uint16_t wWhite = plat::colorToPixel(0x00FFFFFF, surface.format());
    // One pixel into the bar, above the number.
    auto at = [&](int nColumnX, int nRow) { return surface.pixel(20 + nColumnX, 40 + nRow * 16 + 1); };
    // 40 of 50 pixels: green up to 20, red after it up to 2 short of the edge.
    EXPECT_EQ(at(1, 0), wGreen);
    EXPECT_EQ(at(19, 0), wGreen);
    EXPECT_EQ(at(20, 0), wRed);
    EXPECT_EQ(at(50, 0), wRed);
    EXPECT_NE(at(51, 0), wRed);
    // Three steps: 50 stays 50, 20 counts as nothing.
    EXPECT_EQ(at(53 + 24, 0), wGreen);
    EXPECT_EQ(at(53 + 25, 0), wRed);
    EXPECT_EQ(at(53 + 1, 1), wRed);
    // Above 100 the bar stops at the column's edge.
    EXPECT_EQ(at(49, 1), wGreen);
    EXPECT_NE(at(53, 1), wGreen);
    // The number shows on its bar, not in the bar-only column; a disabled
    // row draws no bar.
    auto whitePixels = [&](int nLeft, int nRight) {
        int n = 0;
        for (int x = nLeft; x < nRight; ++x)
            for (int y = 0; y < 32; ++y)
                n += surface.pixel(20 + x, 40 + y) == wWhite;
        return n;
    };
    EXPECT_GT(whitePixels(0, 53), 0);
    EXPECT_EQ(whitePixels(53, 106), 0);
    for (int x = 0; x < 106; ++x)
        ASSERT_NE(at(x, 2), wGreen) << x;
}

TEST_F(ListBoxTest, ADoubleClickOnAnEditableCellOpensTheEditPopupOverItWhereverTheOwnerSits)
{
    // The owner sits where a popup would, not at the screens' usual place.
    m_screen.SetClientRect(100, 60, 400, 300);
    g_pCurrentClient = &m_screen;
    SetUpList(true);
    Fill(3);
    m_pList->SetColumnText(1, 1, "1,500");
    const LISTCELLEDIT edits[] = {{0, 0, 0, 0, 0}, {1, 6, 0, 0, 9000}, {0, 0, 0, 0, 0}};
    m_pList->SetCellEditTable(edits);

    m_screen.OnLButtonDblClk(0, 30, 40 + 8 + 4);
    EXPECT_EQ(m_pList->CellEditPopup(), nullptr) << "the name column is not editable";

    m_screen.OnLButtonDblClk(0, 120, 40 + 8 + 4);
    CXEditPopup* pPopup = m_pList->CellEditPopup();
    ASSERT_NE(pPopup, nullptr);
    EXPECT_TRUE(pPopup->IsOnStack());
    EXPECT_EQ(pPopup->m_nLeft, 100 + 20 + 80);
    EXPECT_EQ(pPopup->m_nTop, 60 + 40 + 8);
    EXPECT_EQ(pPopup->Width(), 60);
    EXPECT_EQ(pPopup->Height(), 8);
    EXPECT_EQ(pPopup->m_nRow, 1);
    EXPECT_EQ(pPopup->m_nColumn, 1);
    EXPECT_EQ(pPopup->m_nMaximum, 9000);
    EXPECT_EQ(pPopup->m_nAlignment, 2);
    ASSERT_NE(pPopup->Edit(), nullptr);
    EXPECT_STREQ(pPopup->Edit()->Text(), "1,500");

    // A second double click while it is open opens nothing more.
    m_screen.OnLButtonDblClk(0, 120, 40 + 4);
    EXPECT_EQ(m_pList->CellEditPopup(), pPopup);

    // Return accepts and tells the owner, with the number read back.
    pPopup->Edit()->OnChar('0', 1, 0);
    pPopup->Edit()->OnChar(plat::VK_RETURN, 1, 0);
    EXPECT_FALSE(pPopup->IsOnStack());
    EXPECT_EQ(m_screen.events.back(), "listnotify 83");
    EXPECT_EQ(pPopup->m_dValue, 15000.0);
    g_pCurrentClient = nullptr;
}

TEST_F(ListBoxTest, WrappedTextBreaksAtBlanksIntoRowsThatFit)
{
    SetUpList(false);
    Fill(1);
    const std::string text =
        "The board expects a place in the top half of the table and a run in the cup; the fans want goals.";
    EXPECT_EQ(m_pList->AddWrappedString(text.c_str(), 0x00FFFFFF, nullptr, 0), 1);
    ASSERT_GT(m_pList->GetCount(), 2);
    std::string joined;
    for (int i = 1; i < m_pList->GetCount(); ++i) {
        const char* pszRow = m_pList->GetRow(i)->szText;
        EXPECT_LE(m_pFont->textWidth(pszRow, static_cast<int>(std::strlen(pszRow))), 200) << pszRow;
        joined += pszRow;
    }
    EXPECT_EQ(joined, text) << "every word kept, in order";

    // Control characters are dropped; a line without blanks is cut to a row.
    m_pList->ResetContent();
    m_pList->AddWrappedString("tab\there\nand there", 0, nullptr, 0);
    EXPECT_STREQ(m_pList->GetRow(0)->szText, "tabhereand there");
    m_pList->ResetContent();
    const std::string word(300, 'w');
    EXPECT_EQ(m_pList->AddWrappedString(word.c_str(), 0, nullptr, 0), 0);
    ASSERT_EQ(m_pList->GetCount(), 1);
    EXPECT_EQ(std::strlen(m_pList->GetRow(0)->szText), static_cast<size_t>(LISTBOX_ROW_TEXT_SIZE - 1));
    EXPECT_EQ(m_pList->AddWrappedString("", 0, nullptr, 0), -1);
}

TEST_F(ListBoxTest, CellGraphicsLandInTheirColumnsAndAreDrawnWithTheirRows)
{
    SetUpList(true);
    Fill(12);
    CXSurface source;
    ASSERT_NE(source.Create(10, 8, false, false), nullptr);
    source.Fill(0x000000FF);
    CXAnimation icon;
    icon.Setup(&source, 10, 8, 0, 0, 1, 1);
    {
        LogCapture log;
        EXPECT_EQ(m_pList->AddGraphic(0, nullptr, 0, true), 0);
        EXPECT_TRUE(log.Contains("NULL animation"));
        EXPECT_EQ(m_pList->AddGraphic(40, &icon, 0, true), 0);
        EXPECT_TRUE(log.Contains("non-existent string"));
        EXPECT_EQ(m_pList->AddAlignedColumnGraphic(1, &icon, 7, 2, true), 0);
        EXPECT_TRUE(log.Contains("Invalid alignment value"));
    }
    EXPECT_TRUE(m_pList->GetRow(0)->Graphics.empty());
    // Right-aligned in the value column (80-140), centred in the last.
    m_pList->AddAlignedColumnGraphic(2, &icon, 2, 1, true);
    m_pList->AddAlignedColumnGraphic(2, &icon, 6, 2, true);
    const auto& graphics = m_pList->GetRow(2)->Graphics;
    ASSERT_EQ(graphics.size(), 2u);
    EXPECT_EQ(graphics[0].x, 128);
    EXPECT_EQ(graphics[0].nColumn, 1);
    EXPECT_EQ(graphics[1].x, 165);
    EXPECT_EQ(graphics[1].nColumn, 2);
    EXPECT_EQ(m_pList->GetRow(1)->Graphics.at(0).x, 140) << "an unknown alignment takes the column's left";

    const plat::Surface& drawn = *m_screen.m_pDrawingSurface->m_pSurface;
    const uint16_t wRed = plat::colorToPixel(0x000000FF, drawn.format());
    m_pList->Redraw();
    EXPECT_EQ(drawn.pixel(20 + 128 + 5, 40 + 2 * 8 + 4), wRed);
    m_pList->DeleteColumnGraphics(2, 1);
    ASSERT_EQ(m_pList->GetRow(2)->Graphics.size(), 1u);
    EXPECT_EQ(m_pList->GetRow(2)->Graphics[0].nColumn, 2);
    m_pList->Redraw();
    EXPECT_NE(drawn.pixel(20 + 128 + 5, 40 + 2 * 8 + 4), wRed);
    EXPECT_EQ(drawn.pixel(20 + 165 + 5, 40 + 2 * 8 + 4), wRed);
    // Scrolled, the row's graphics go with it.
    m_pList->Scroll(LISTSCROLL_TO_ROW, 2);
    EXPECT_EQ(drawn.pixel(20 + 165 + 5, 40 + 4), wRed) << "row 2 is now the top row";
    EXPECT_NE(drawn.pixel(20 + 165 + 5, 40 + 2 * 8 + 4), wRed);
    m_pList->RemoveRowGraphics(2);
    EXPECT_TRUE(m_pList->GetRow(2)->Graphics.empty());
}

}  // namespace
