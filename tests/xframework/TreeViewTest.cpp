// The tree view on a screen: where items land and when they show, branches
// opening and closing (one at a time, down to the first leaf), selection by
// mouse and keys, wheel direction, cut texts, and what it draws.
#include "xframework/CXAnimation.h"
#include "xframework/CXClient.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXTreeView.h"

#include "platform/DeviceContext.h"
#include "platform/Font.h"
#include "platform/PngWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

class TreeScreen : public CXClient {
public:
    TreeScreen() { SetClientRect(0, 0, 400, 300); }
    void OnSelChange(uint32_t dwID) override { events.push_back("selchange " + std::to_string(dwID)); }
    void OnDoubleClicked(uint32_t dwID) override { events.push_back("doubleclicked " + std::to_string(dwID)); }
    std::vector<std::string> events;
};

constexpr uint32_t kTree = 60;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kGreen = 0x0000FF00;

// The tree at (20, 40), 200 x 80: five rows of 16 pixels.
class TreeViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_screen.m_pBackground = new CXSurface;
        ASSERT_NE(m_screen.m_pBackground->Create(400, 300, false, false), nullptr);
        m_screen.m_pBackground->Fill(0);
        m_screen.OnInitDialog();
        m_pTree = dynamic_cast<CXTreeView*>(
            m_screen.AddControl(XCONTROL_TREEVIEW, 20, 40, 220, 120, kTree, nullptr));
        ASSERT_NE(m_pTree, nullptr);
        m_pTree->SetUp(16, 2, m_pFont.get(), TREESTYLE_NOTIFY_SELECTION, 1, nullptr, 1, 0, nullptr);
    }
    void TearDown() override { m_screen.OnDestroy(); }
    int Add(int nParent, const char* pszText) { return m_pTree->AddItem(nParent, kWhite, nullptr, "%s", pszText); }
    // Two clubs, each with two leaves: 0 A (1 a1, 2 a2), 3 B (4 b1, 5 b2).
    void AddTwoBranches()
    {
        const int a = Add(-1, "A");
        Add(a, "a1");
        Add(a, "a2");
        const int b = Add(-1, "B");
        Add(b, "b1");
        Add(b, "b2");
    }
    // Client point of a row's text, or of its expand mark.
    static int RowY(int nRow) { return 40 + nRow * 16 + 8; }
    void Click(int x, int nRow) { m_screen.OnLButtonDown(0, 20 + x, RowY(nRow)); m_screen.OnLButtonUp(0, 20 + x, RowY(nRow)); }
    int CountPixels(COLORREF crColour, int nLeft, int nTop, int nRight, int nBottom) const
    {
        const plat::Surface& surface = *m_screen.m_pDrawingSurface->m_pSurface;
        const uint16_t wPixel = plat::colorToPixel(crColour, surface.format());
        int n = 0;
        for (int y = nTop; y < nBottom; ++y)
            for (int x = nLeft; x < nRight; ++x)
                n += surface.pixel(x, y) == wPixel;
        return n;
    }
    std::unique_ptr<plat::Font> m_pFont{plat::Font::create(14, 400, "Arial")};
    TreeScreen m_screen;
    CXTreeView* m_pTree = nullptr;
};

TEST_F(TreeViewTest, ChildrenLandAfterTheParentsSubtreeAndShowOnlyWhenItIsOpen)
{
    const int a = Add(-1, "A");
    const int b = Add(-1, "B");
    const int a1 = Add(a, "a1");
    const int a1x = Add(a1, "a1x");
    EXPECT_EQ(m_pTree->RowIDs(), (std::vector<int>{a, b})) << "children of a closed branch stay hidden";
    EXPECT_EQ(m_pTree->IsItemVisible(a1), 0);
    m_pTree->ExpandItem(a1x, true, true, false);
    EXPECT_EQ(m_pTree->IsItemVisible(a1x), 1) << "opening with ancestors opens the whole chain";
    // A second child of A lands after A's grandchild, before B.
    const int a2 = Add(a, "a2");
    EXPECT_EQ(m_pTree->RowIDs(), (std::vector<int>{a, a1, a1x, a2, b}));
    const CXTreeView::Item* pGrandchild = m_pTree->FindItem(a1x);
    ASSERT_NE(pGrandchild, nullptr);
    EXPECT_EQ(pGrandchild->byLevel, 2);
    EXPECT_EQ(m_pTree->GetCurrentID(), a) << "the first item is current";
    // Collapsing A hides its whole subtree; ids keep counting.
    m_pTree->ExpandItem(a, false, false, false);
    EXPECT_EQ(m_pTree->RowIDs(), (std::vector<int>{a, b}));
    EXPECT_EQ(m_pTree->IsItemVisible(a1x), 0);
    EXPECT_EQ(Add(-1, "C"), a2 + 1);
    EXPECT_EQ(m_pTree->AddItem(99, kWhite, nullptr, "orphan"), -1) << "an unknown parent is refused";
    EXPECT_EQ(m_pTree->GetCount(), 6);
}

TEST_F(TreeViewTest, DataAndUnknownIds)
{
    AddTwoBranches();
    EXPECT_EQ(m_pTree->GetItemData(4, 0), -1);
    EXPECT_EQ(m_pTree->SetItemData(4, 77, 1), 1);
    EXPECT_EQ(m_pTree->SetItemData(2, 77, 1), 1);
    EXPECT_EQ(m_pTree->GetItemData(4, 1), 77);
    EXPECT_EQ(m_pTree->FindItemByData(77, 1), 2) << "the first in display order";
    EXPECT_EQ(m_pTree->FindItemByData(77, 0), -1);
    EXPECT_EQ(m_pTree->GetItemData(42, 0), -1);
    EXPECT_EQ(m_pTree->SetItemData(42, 1, 0), -1);
    EXPECT_EQ(m_pTree->SetItemData(4, 1, 2), -1) << "only columns 0 and 1";
    EXPECT_EQ(m_pTree->IsItemEnabled(42), 0);
    m_screen.events.clear();
    EXPECT_EQ(m_pTree->SelectItem(42), 0);
    EXPECT_EQ(m_pTree->GetCurrentID(), 0);
    EXPECT_TRUE(m_screen.events.empty());
    EXPECT_EQ(m_pTree->SelectItem(0), 1) << "already current: no report";
    EXPECT_TRUE(m_screen.events.empty());
    EXPECT_EQ(m_pTree->SelectItem(5), 1);
    EXPECT_EQ(m_pTree->GetCurrentID(), 5);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"selchange 60"}));
}

TEST_F(TreeViewTest, OneBranchAtATimeClosesOpenSiblingsOnly)
{
    // Two groups, each with two branches of one leaf.
    const int g = Add(-1, "G");
    const int g1 = Add(g, "g1"), g2 = Add(g, "g2");
    Add(g1, "g1 leaf");
    Add(g2, "g2 leaf");
    const int h = Add(-1, "H");
    const int h1 = Add(h, "h1");
    Add(h1, "h1 leaf");
    m_pTree->ExpandItem(g1, true, true, false);
    m_pTree->ExpandItem(h1, true, true, false);
    m_pTree->m_bOneBranchOpen = 1;
    m_pTree->ExpandItem(g2, true, false, false);
    EXPECT_EQ(m_pTree->FindItem(g1)->bExpanded, 0) << "a sibling branch closes";
    EXPECT_EQ(m_pTree->FindItem(g2)->bExpanded, 1);
    EXPECT_EQ(m_pTree->FindItem(h1)->bExpanded, 1) << "a branch under another parent stays open";
    m_pTree->ExpandItem(g, true, false, false);
    EXPECT_EQ(m_pTree->FindItem(h)->bExpanded, 0) << "top-level siblings: opening G closes H";
    // With collapsing locked, an outside collapse is ignored.
    m_pTree->m_bCollapsingLocked = 1;
    m_pTree->ExpandItem(g2, false, false, false);
    EXPECT_EQ(m_pTree->FindItem(g2)->bExpanded, 1);
}

TEST_F(TreeViewTest, OpeningDownToTheFirstLeafSelectsIt)
{
    const int a = Add(-1, "A");
    const int a1 = Add(a, "a1");
    const int leaf = Add(a1, "leaf");
    Add(a1, "other");
    m_pTree->m_bOpenToFirstLeaf = 1;
    m_screen.events.clear();
    m_pTree->ExpandItem(a, true, false, false);
    EXPECT_EQ(m_pTree->FindItem(a1)->bExpanded, 1);
    EXPECT_EQ(m_pTree->GetCurrentID(), leaf);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"selchange 60"}));
}

TEST_F(TreeViewTest, ClicksToggleAtTheMarkAndSelectLeaves)
{
    AddTwoBranches();
    Click(60, 0);
    EXPECT_EQ(m_pTree->FindItem(0)->bExpanded, 0) << "the text of a branch does not toggle it";
    Click(5, 0);
    EXPECT_EQ(m_pTree->FindItem(0)->bExpanded, 1) << "its expand mark does";
    EXPECT_EQ(m_pTree->RowIDs(), (std::vector<int>{0, 1, 2, 3}));
    m_screen.events.clear();
    Click(60, 2);
    EXPECT_EQ(m_pTree->GetCurrentID(), 2);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"selchange 60"}));
    // A disabled leaf and a row past the last keep the current item.
    m_pTree->EnableItem(1, false);
    Click(60, 1);
    EXPECT_EQ(m_pTree->GetCurrentID(), 2);
    Click(60, 4);
    EXPECT_EQ(m_pTree->GetCurrentID(), 2);
    // Click anywhere on a branch toggles it; a double click does too.
    m_pTree->m_bClickAnywhereToggles = 1;
    Click(100, 3);
    EXPECT_EQ(m_pTree->FindItem(3)->bExpanded, 1);
    m_pTree->m_byStyle |= TREESTYLE_NOTIFY_DOUBLE_CLICK;
    m_screen.events.clear();
    m_screen.OnLButtonDblClk(0, 100, RowY(0));
    EXPECT_EQ(m_pTree->FindItem(0)->bExpanded, 0);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"doubleclicked 60"}));
}

TEST_F(TreeViewTest, KeysMoveTheCurrentItemAndOpenAndCloseBranches)
{
    for (int i = 0; i < 12; ++i)
        Add(-1, ("Top " + std::to_string(i)).c_str());
    Add(2, "child of 2");  // id 12
    m_screen.SetFocus(m_pTree);
    m_screen.events.clear();
    m_screen.OnKeyDown(40, 3, 0);
    EXPECT_EQ(m_pTree->GetCurrentID(), 3) << "Down by the repeat count";
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"selchange 60"}));
    m_screen.OnKeyDown(38, 1, 0);
    EXPECT_EQ(m_pTree->GetCurrentID(), 2);
    m_screen.OnKeyDown(39, 1, 0);
    EXPECT_EQ(m_pTree->IsItemVisible(12), 1) << "Right opens the branch";
    m_screen.OnKeyDown(37, 1, 0);
    EXPECT_EQ(m_pTree->IsItemVisible(12), 0) << "Left closes it";
    m_screen.OnKeyDown(34, 1, 0);
    EXPECT_EQ(m_pTree->GetCurrentID(), 6) << "Page Down: rows on screen - 1";
    EXPECT_EQ(m_pTree->GetTopID(), 2) << "the current row is kept on screen";
    m_screen.OnKeyDown(35, 1, 0);
    EXPECT_EQ(m_pTree->GetCurrentID(), 11);
    EXPECT_EQ(m_pTree->GetTopID(), 7);
    m_screen.OnKeyDown(34, 1, 0);
    EXPECT_EQ(m_pTree->GetCurrentID(), 11) << "stops at the last shown item";
    m_screen.OnKeyDown(33, 1, 0);
    EXPECT_EQ(m_pTree->GetCurrentID(), 7);
    m_screen.OnKeyDown(36, 1, 0);
    EXPECT_EQ(m_pTree->GetCurrentID(), 0);
    EXPECT_EQ(m_pTree->GetTopID(), 0);
    // Key mode 0: Up and Down scroll the rows, the current item stays.
    m_pTree->m_byKeyMode = 0;
    m_screen.OnKeyDown(40, 1, 0);
    EXPECT_EQ(m_pTree->GetTopID(), 1);
    EXPECT_EQ(m_pTree->GetCurrentID(), 0);
}

TEST_F(TreeViewTest, ReportOnKeyReleaseWaitsForTheRelease)
{
    AddTwoBranches();
    m_pTree->m_bReportOnKeyRelease = 1;
    m_screen.SetFocus(m_pTree);
    m_screen.events.clear();
    m_screen.OnKeyDown(40, 1, 0);
    EXPECT_TRUE(m_screen.events.empty());
    m_screen.OnKeyUp(40, 1, 0);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"selchange 60"}));
}

TEST_F(TreeViewTest, TheWheelTurnedTowardsTheUserShowsLaterRows)
{
    for (int i = 0; i < 12; ++i)
        Add(-1, "row");
    m_screen.SetFocus(m_pTree);
    // Through the window message, as the platform delivers a signed delta.
    m_screen.WindowProc(plat::WM_MOUSEWHEEL, static_cast<plat::WPARAM>(plat::makeLParam(0, -plat::WHEEL_DELTA)), 0);
    EXPECT_EQ(m_pTree->GetTopID(), 3);
    m_screen.OnMouseWheel(-120);
    m_screen.OnMouseWheel(-120);
    EXPECT_EQ(m_pTree->GetTopID(), 7) << "stops with the last row at the bottom";
    m_screen.OnMouseWheel(120);
    EXPECT_EQ(m_pTree->GetTopID(), 4);
    m_screen.OnMouseWheel(120);
    m_screen.OnMouseWheel(120);
    EXPECT_EQ(m_pTree->GetTopID(), 0);
}

TEST_F(TreeViewTest, LongTextsAreCutToTheItemsCapacity)
{
    const std::string sLong(400, 'x');
    const int n = m_pTree->AddItem(-1, kWhite, nullptr, "%s and %d", sLong.c_str(), 5);
    ASSERT_GE(n, 0);
    EXPECT_EQ(std::strlen(m_pTree->FindItem(n)->szText), static_cast<size_t>(TREE_ITEM_TEXT_SIZE - 1));
    const int m = m_pTree->InsertItem(sLong.c_str(), kWhite, -1, nullptr);
    EXPECT_EQ(std::string(m_pTree->FindItem(m)->szText), sLong.substr(0, TREE_ITEM_TEXT_SIZE - 1));
    // A '%' in an inserted text is taken as it stands.
    const int p = m_pTree->InsertItem("100%s", kWhite, -1, nullptr);
    EXPECT_STREQ(m_pTree->FindItem(p)->szText, "100%s");
}

TEST_F(TreeViewTest, DrawsTheSelectionLinesAndColoursOfTheRows)
{
    ASSERT_NE(m_pFont, nullptr);
    AddTwoBranches();
    m_pTree->ExpandItem(0, true, false, false);
    m_pTree->InsertItem("A leaf with a name much too long for the width of the tree", kGreen, 0, nullptr);  // id 6
    m_pTree->EnableItem(1, false);
    m_pTree->SelectItem(2);
    m_screen.SetFocus(m_pTree);
    m_screen.OnMouseMove(0, 20 + 60, RowY(0));
    plat::writePng(*m_screen.m_pDrawingSurface->m_pSurface, "tree_view.png");
    // Rows: 0 A, 1 a1 (disabled), 2 a2 (current), 3 long leaf, 4 B.
    EXPECT_EQ(m_pTree->RowIDs(), (std::vector<int>{0, 1, 2, 6, 3}));
    const int nRowTop[] = {40, 56, 72, 88, 104};
    EXPECT_GT(CountPixels(TREE_HOVER_COLOUR, 20, nRowTop[0], 220, nRowTop[1]), 0) << "hover row yellow";
    EXPECT_GT(CountPixels(TREE_DISABLED_COLOUR, 20, nRowTop[1], 220, nRowTop[2]), 0) << "disabled row grey";
    EXPECT_EQ(CountPixels(kWhite, 50, nRowTop[1], 220, nRowTop[2]), 0) << "no white text on the disabled row";
    // The selection bar fills the current row only.
    EXPECT_GT(CountPixels(0x00422918, 20, nRowTop[2], 220, nRowTop[3]), 1000);
    EXPECT_EQ(CountPixels(0x00422918, 20, nRowTop[3], 220, 120), 0);
    // The connector stub of a child at its row's middle, from indent 0 + 5.
    const plat::Surface& surface = *m_screen.m_pDrawingSurface->m_pSurface;
    const uint16_t wWhite = plat::colorToPixel(kWhite, surface.format());
    EXPECT_EQ(surface.pixel(20 + 5, nRowTop[1] + 8), wWhite);
    EXPECT_EQ(surface.pixel(20 + 15, nRowTop[1] + 8), wWhite);
    EXPECT_EQ(surface.pixel(20 + 5, nRowTop[1] + 2), wWhite) << "the line continues up to the parent";
    // The long text is cut inside the tree: green up to the edge, none past it.
    EXPECT_GT(CountPixels(kGreen, 180, nRowTop[3], 220, nRowTop[4]), 0);
    EXPECT_EQ(CountPixels(kGreen, 220, nRowTop[3], 400, nRowTop[4]), 0);
}

TEST_F(TreeViewTest, ALinkedScrollBarCountsTheShownRowsAndFollowsTheView)
{
    auto* pBar = static_cast<CXScrollBar*>(m_screen.AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 80, 61, nullptr));
    ASSERT_NE(pBar, nullptr);
    pBar->Create(0, 0, 0, false, 0);
    m_pTree->SetUp(16, 2, m_pFont.get(), TREESTYLE_NOTIFY_SELECTION, 1, pBar, 0, 0, nullptr);
    EXPECT_EQ(pBar->m_nLeft, 220) << "placed at the tree's right";
    const int a = Add(-1, "A");
    for (int i = 0; i < 8; ++i)
        Add(a, "leaf");
    Add(-1, "B");
    m_pTree->ExpandItem(a, true, false, false);
    m_pTree->UpdateScrollBar();
    EXPECT_EQ(m_pTree->ScrollLineCount(), 10);
    m_screen.SetFocus(m_pTree);
    m_screen.OnMouseWheel(-120);
    EXPECT_EQ(pBar->GetPos(), 3);
    // The bar asks the tree to scroll; collapsing brings every row into view.
    m_pTree->ScrollByLine(1);
    EXPECT_EQ(m_pTree->GetTopID(), 4);
    EXPECT_EQ(pBar->GetPos(), 4);
    m_pTree->ExpandItem(a, false, false, false);
    m_pTree->UpdateScrollBar();
    EXPECT_EQ(m_pTree->GetTopID(), a);
    EXPECT_EQ(m_pTree->ScrollLineCount(), 2);
    EXPECT_EQ(pBar->GetPos(), 0);
}

TEST_F(TreeViewTest, ExpandMarksShowEachBranchsState)
{
    // A mark bitmap: red collapsed mark above a blue expanded one.
    static CXSurface marks;
    ASSERT_NE(marks.Create(10, 20, false, true), nullptr);
    marks.Fill(0x000000FF);
    const plat::Rect rcLower{0, 10, 10, 20};
    const std::unique_ptr<plat::Brush> pBlue(plat::Brush::createSolid(0x00FF0000));
    plat::DeviceContext* pDC = marks.m_pSurface->getDC();
    pDC->fillRect(rcLower, pBlue.get());
    marks.m_pSurface->releaseDC(pDC);
    g_pfnSharedBitmap = [](const char* pszName) { return std::strcmp(pszName, "btnTree.bmp") == 0 ? &marks : nullptr; };
    AddTwoBranches();
    m_pTree->ExpandItem(0, true, false, false);
    m_pTree->Redraw();
    g_pfnSharedBitmap = nullptr;
    // Rows: 0 A (open), 1 a1, 2 a2, 3 B (closed); leaves have no mark.
    EXPECT_EQ(CountPixels(0x00FF0000, 20, 40, 32, 56), 100) << "A: the expanded mark";
    EXPECT_EQ(CountPixels(0x000000FF, 20, 88, 32, 104), 100) << "B: the collapsed mark";
    EXPECT_EQ(CountPixels(0x000000FF, 20, 56, 60, 88) + CountPixels(0x00FF0000, 20, 56, 60, 88), 0);
}

TEST_F(TreeViewTest, ColumnsSplitTheRowTextAtTabsUnderAHeader)
{
    ASSERT_NE(m_pFont, nullptr);
    static const TREECOLUMN kColumns[] = {{0, 100, 901}, {100, 160, 902}, {TREECOLUMN_END, 0, 0}};
    g_pfnControlCaptionText = [](uint32_t dwID) -> const char* { return dwID == 901 ? "Account" : "Sum"; };
    m_pTree->CreateColumnHeader({10, 100, 210, 200}, kColumns, true, 48);
    g_pfnControlCaptionText = nullptr;
    EXPECT_EQ(m_pTree->m_nLeft, 30) << "centred across the area";
    EXPECT_EQ(m_pTree->m_nTop, 116) << "under the header";
    EXPECT_EQ(m_pTree->Width(), 160);
    m_pTree->InsertItem("A\tB", kGreen, -1, nullptr);
    m_pTree->InsertItem("Only\t", kWhite, -1, nullptr);
    m_pTree->InsertItem("Wages\t1,234,567,890,123", kWhite, -1, nullptr);
    m_pTree->Redraw();
    plat::writePng(*m_screen.m_pDrawingSurface->m_pSurface, "tree_view_columns.png");
    EXPECT_GT(CountPixels(kWhite, 30, 100, 190, 116), 0) << "header captions";
    // Row 0: A in the first column, B in the second.
    EXPECT_GT(CountPixels(kGreen, 30, 116, 130, 132), 0);
    EXPECT_GT(CountPixels(kGreen, 130, 116, 190, 132), 0);
    // Row 1 has an empty second field; row 2's number is cut at its column.
    EXPECT_EQ(CountPixels(kWhite, 130, 132, 190, 148), 0);
    EXPECT_EQ(CountPixels(kWhite, 190, 148, 400, 164), 0);
    // The pointer over the cut number: its full text is the tooltip.
    m_screen.OnMouseMove(0, 150, 156);
    EXPECT_EQ(m_pTree->GetHoverColumn(), 1);
    char szTip[TOOLTIP_TEXT_SIZE];
    m_pTree->GetToolTipText(szTip);
    EXPECT_STREQ(szTip, "1,234,567,890,123");
    m_screen.OnMouseMove(0, 40, 156);
    m_pTree->GetToolTipText(szTip);
    EXPECT_STREQ(szTip, "") << "a field that fits has none";
}

TEST_F(TreeViewTest, ShadingDarkensEachColumnCellAndLeavesTheGaps)
{
    static const TREECOLUMN kColumns[] = {{0, 100, 0}, {100, 160, 0}, {TREECOLUMN_END, 0, 0}};
    m_screen.m_pBackground->Fill(0x00808080);
    m_pTree->CreateColumnHeader({10, 100, 170, 200}, kColumns, false, 32);
    m_pTree->ShadeBackground();
    const plat::Surface& background = *m_screen.m_pBackground->m_pSurface;
    const uint16_t wGrey = plat::colorToPixel(0x00808080, background.format());
    EXPECT_NE(background.pixel(10 + 50, 116 + 5), wGrey) << "inside a cell";
    EXPECT_NE(background.pixel(10 + 130, 116 + 16 + 5), wGrey) << "second row, second column";
    EXPECT_EQ(background.pixel(10 + 99, 116 + 5), wGrey) << "the gap between columns";
    EXPECT_EQ(background.pixel(10 + 50, 116 + 15), wGrey) << "the gap between rows";
    EXPECT_EQ(background.pixel(10 + 50, 116 + 40), wGrey) << "below the tree";
}

TEST_F(TreeViewTest, StillImagesAreDrawnWithTheirRowsOnly)
{
    CXSurface picture;
    ASSERT_NE(picture.Create(6, 6, false, true), nullptr);
    picture.Fill(0x000000FF);
    CXAnimation image;
    image.Setup(&picture, 6, 6, 0, 0, 1, 1);
    AddTwoBranches();
    EXPECT_EQ(m_pTree->AddItemImage(1, &image, 150, false), 0);
    EXPECT_EQ(m_pTree->AddItemImage(42, &image, 150, false), -1);
    EXPECT_EQ(m_pTree->AddItemImage(1, nullptr, 150, false), -1);
    m_pTree->Redraw();
    EXPECT_EQ(CountPixels(0x000000FF, 20, 40, 220, 120), 0) << "a1 is in a closed branch";
    m_pTree->ExpandItem(0, true, false, false);
    m_pTree->Redraw();
    // a1 is row 1 (y 56-71): the image centred there at x 170.
    EXPECT_EQ(CountPixels(0x000000FF, 170, 61, 176, 67), 36);
    EXPECT_EQ(CountPixels(0x000000FF, 20, 40, 220, 120), 36);
}

}  // namespace
