// The list filter panel: its groups and rows from the owner's entries, the
// ticking rules (each group keeps a tick), closing when the pointer leaves,
// the owner reading the mask, and where the panel hangs.
#include "PopupGame.h"

#include "popups/CPopupListFilter.h"
#include "shell/WinMain.h"

#include "platform/Messages.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace popups_test;

class ListFilter : public PopupGame {
protected:
    void Send(uint32_t message, int x, int y) { MainWndProc(message, 0, plat::makeLParam(x, y)); }
    // A click in the frame's coordinates on row r of group g.
    void ClickRow(int nGroup, int nRow)
    {
        const CXListBox* pList = m_popup.GroupList(nGroup);
        ASSERT_NE(pList, nullptr);
        const int x = m_popup.m_nLeft + pList->m_nLeft + 20;
        const int y = m_popup.m_nTop + pList->m_nTop + nRow * CPopupListFilter::kRowHeight + 5;
        Send(plat::WM_MOUSEMOVE, x, y);
        Send(plat::WM_LBUTTONDOWN, x, y);
        Send(plat::WM_LBUTTONUP, x, y);
    }
    // The rows of a group as "text:bit:ticked".
    std::vector<std::string> Rows(int nGroup) const
    {
        std::vector<std::string> rows;
        const CXListBox* pList = m_popup.GroupList(nGroup);
        for (int r = 0; pList && r < pList->GetCount(); ++r) {
            char szText[LISTBOX_ROW_TEXT_SIZE];
            pList->GetColumnText(r, 0, szText);
            rows.push_back(std::string(szText) + ":" + std::to_string(pList->GetItemData(r)) + ":" +
                           (pList->GetRow(r)->Graphics.empty() ? "-" : "tick"));
        }
        return rows;
    }

    CPopupListFilter m_popup;
};

TEST_F(ListFilter, HeadingsSplitTheCriteriaIntoGroupListsWithABitEach)
{
    const std::vector<std::string> entries = {"A", "B", "\"Second", "C"};
    EXPECT_EQ(CPopupListFilter::HeightFor(entries), 68);
    ASSERT_TRUE(m_popup.Show(entries, 400, 100, 0b101));
    EXPECT_EQ(m_popup.Height(), 68);
    EXPECT_EQ(m_popup.Width(), 214);
    ASSERT_EQ(m_popup.GetGroupCount(), 2);
    EXPECT_EQ(Rows(0), (std::vector<std::string>{"A:0:tick", "B:1:-"}));
    EXPECT_EQ(Rows(1), (std::vector<std::string>{"C:2:tick"}));
    EXPECT_EQ(m_popup.GroupList(0)->m_nTop, 8);
    EXPECT_EQ(m_popup.GroupList(1)->m_nTop, 8 + 32 + 4);
    EXPECT_EQ(m_popup.GroupList(1)->m_nBottom, 60);
    Shoot("listfilter-small.png");
}

TEST_F(ListFilter, EveryGroupKeepsOneTickedCriterion)
{
    struct Case {
        const char* pszName;
        uint32_t dwStart;
        int nCriterion;
        uint32_t dwAfter;
    };
    const Case cases[] = {
        {"tick an unticked one", 0b101, 1, 0b111},
        {"untick one of two", 0b111, 0, 0b110},
        {"untick the only one of its group", 0b101, 0, 0b101},
        {"untick the only one of a one-row group", 0b111, 2, 0b111},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        ASSERT_TRUE(m_popup.Show({"A", "B", "\"Second", "C"}, 400, 100, c.dwStart));
        m_popup.ToggleCriterion(c.nCriterion);
        EXPECT_EQ(m_popup.GetMask(), c.dwAfter);
        m_popup.Close();
    }
}

TEST_F(ListFilter, ClicksTickRowsAndLeavingThePanelHandsTheMaskToTheOwner)
{
    const std::vector<std::string> entries = {"\"Where", "Here", "There", "\"What", "One", "Two", "Three"};
    ASSERT_TRUE(m_popup.Show(entries, 500, 60, 0b11111));
    // A leading heading leaves group 0 without rows (and without a list).
    ASSERT_EQ(m_popup.GetGroupCount(), 3);
    EXPECT_EQ(m_popup.GroupList(0), nullptr);
    ClickRow(2, 0);  // One off
    ClickRow(2, 0);  // One on again
    ClickRow(2, 1);  // Two off
    ClickRow(1, 1);  // There off
    ClickRow(1, 0);  // Here stays: the last tick of its group
    EXPECT_EQ(m_popup.GetMask(), 0b10101u);
    EXPECT_EQ(Rows(1), (std::vector<std::string>{"Here:0:tick", "There:1:-"}));
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"One:2:tick", "Two:3:-", "Three:4:tick"}));
    Shoot("listfilter-groups.png");
    EXPECT_TRUE(m_screen.ended.empty());
    // Inside it stays open; one pixel past its right edge it closes.
    Send(plat::WM_MOUSEMOVE, m_popup.m_nRight - 1, m_popup.m_nTop + 20);
    EXPECT_TRUE(m_popup.IsOnStack());
    Send(plat::WM_MOUSEMOVE, m_popup.m_nRight, m_popup.m_nTop + 20);
    EXPECT_FALSE(m_popup.IsOnStack());
    ASSERT_EQ(m_screen.ended.size(), 1u);
    EXPECT_EQ(m_screen.ended[0], &m_popup);
    EXPECT_EQ(m_popup.GetMask(), 0b10101u);
}

TEST_F(ListFilter, HangsLeftOfTheControlAndStaysInsideTheFrame)
{
    CXButton button;
    button.m_nLeft = 600;
    button.m_nRight = 616;
    button.m_nTop = 44;
    button.m_nBottom = 60;
    ASSERT_TRUE(m_popup.ShowBesideControl({"A", "B"}, &button, 3));
    // The owner's client area starts at (160, 85).
    EXPECT_EQ(m_popup.m_nRight, 160 + 616 + 16);
    EXPECT_EQ(m_popup.m_nTop, 85 + 44 - 16);
    m_popup.Close();
    // A control at the client's right edge: the panel is pulled back in.
    button.m_nLeft = 624;
    button.m_nRight = 640;
    ASSERT_TRUE(m_popup.ShowBesideControl({"A", "B"}, &button, 3));
    EXPECT_EQ(m_popup.m_nRight, 800);
}

TEST_F(ListFilter, CriteriaPastTheMaskAreLeftOut)
{
    std::vector<std::string> entries;
    for (int n = 0; n < 40; ++n)
        entries.push_back("C" + std::to_string(n));
    EXPECT_EQ(CPopupListFilter::HeightFor(entries), 16 + 32 * 16);
    ASSERT_TRUE(m_popup.Show(entries, 400, 0, 0xFFFFFFFF));
    ASSERT_EQ(m_popup.GroupList(0)->GetCount(), 32);
    EXPECT_EQ(m_popup.GroupList(0)->GetItemData(31), 31);
    m_popup.ToggleCriterion(31);
    EXPECT_EQ(m_popup.GetMask(), 0x7FFFFFFFu);
    // A tall panel still fits the frame.
    EXPECT_GE(m_popup.m_nTop, 0);
    EXPECT_LE(m_popup.m_nBottom, 600);
}

}  // namespace
