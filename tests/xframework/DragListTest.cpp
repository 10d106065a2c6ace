// The drag-and-drop list: rows dragged within a list change places, rows
// dropped onto another such list exchange with the row there, and anything
// else is the owner's to decide; disabled rows never move.
#include "xframework/CXClient.h"
#include "xframework/CXListBoxEx.h"

#include "platform/Font.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class DragScreen : public CXClient {
public:
    DragScreen() { SetClientRect(100, 50, 400, 300); }
    void OnDragInternally(uint32_t dwID, int nTarget, uint32_t dwSource) override
    {
        events.push_back("within " + std::to_string(dwID) + " " + std::to_string(dwSource) + ">" +
                         std::to_string(nTarget));
    }
    void OnDragExternally(uint32_t dwID, int x, int y) override
    {
        events.push_back("outside " + std::to_string(dwID) + " at " + std::to_string(x) + "," + std::to_string(y));
    }
    void OnDragNotify(uint32_t dwID, uint32_t dwTarget, uint32_t dwRow, uint32_t dwSource) override
    {
        events.push_back("onto " + std::to_string(dwID) + " " + std::to_string(dwSource) + ">" +
                         std::to_string(dwTarget) + ":" + std::to_string(static_cast<int32_t>(dwRow)));
    }
    std::vector<std::string> events;
};

constexpr uint32_t kLeft = 1, kRight = 2, kPlain = 3;
constexpr int kRowHeight = 16;

class DragList : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_screen.m_pBackground = new CXSurface;
        ASSERT_NE(m_screen.m_pBackground->Create(400, 300, false, false), nullptr);
        m_screen.OnInitDialog();
        // Five rows of room each; the left list holds four, the right three
        // with its middle row disabled.
        m_pLeft = static_cast<CXListBoxEx*>(Add(XCONTROL_LISTBOXEX, kLeft, 20, {"a0", "a1", "a2", "a3"}));
        m_pRight = static_cast<CXListBoxEx*>(Add(XCONTROL_LISTBOXEX, kRight, 200, {"b0", "b1", "b2"}));
        m_pRight->EnableRow(1, false);
        m_pPlain = Add(XCONTROL_LISTBOX, kPlain, 20, {"c0", "c1"}, 200);
    }
    void TearDown() override { m_screen.OnDestroy(); }
    CXListBox* Add(uint8_t byType, uint32_t dwID, int x, std::initializer_list<const char*> rows, int y = 40)
    {
        auto* pList = static_cast<CXListBox*>(m_screen.AddControl(byType, x, y, x + 100, y + 5 * kRowHeight, dwID, nullptr));
        pList->SetUp(kRowHeight, 0, m_pFont.get(), 0, true, nullptr, false, nullptr, false, 1, false, false, false);
        for (const char* pszRow : rows)
            pList->AddString(0x00FFFFFF, "%s", pszRow);
        return pList;
    }
    static int RowY(int nRow, int nTop = 40) { return nTop + nRow * kRowHeight + 8; }
    void Drag(int x1, int y1, int x2, int y2)
    {
        m_screen.OnLButtonDown(0, x1, y1);
        m_screen.OnMouseMove(0, x2, y2);
        m_screen.OnLButtonUp(0, x2, y2);
    }
    static std::vector<std::string> Rows(const CXListBox* pList)
    {
        std::vector<std::string> rows;
        for (int i = 0; i < pList->GetCount(); ++i)
            rows.emplace_back(pList->GetRow(i)->szText);
        return rows;
    }
    std::unique_ptr<plat::Font> m_pFont{plat::Font::create(14, 400, "Arial")};
    DragScreen m_screen;
    CXListBoxEx* m_pLeft = nullptr;
    CXListBoxEx* m_pRight = nullptr;
    CXListBox* m_pPlain = nullptr;
};

TEST_F(DragList, WithinTheListRowsChangePlacesOnlyWhenTheTargetIsAnotherEnabledRow)
{
    const struct {
        const char* pszCase;
        int nFrom;
        int nTo;
        std::vector<std::string> rows;
        std::vector<std::string> events;
    } cases[] = {
        {"down", 0, 2, {"a2", "a1", "a0", "a3"}, {"within 1 0>2"}},
        {"up", 3, 1, {"a0", "a3", "a2", "a1"}, {"within 1 3>1"}},
        {"onto itself", 1, 1, {"a0", "a1", "a2", "a3"}, {}},
        {"below the last row", 1, 4, {"a0", "a1", "a2", "a3"}, {}},
    };
    for (const auto& c : cases) {
        m_screen.OnDestroy();
        m_screen.events.clear();
        SetUp();
        Drag(60, RowY(c.nFrom), 60, RowY(c.nTo));
        EXPECT_EQ(Rows(m_pLeft), c.rows) << c.pszCase;
        EXPECT_EQ(m_screen.events, c.events) << c.pszCase;
        if (!c.events.empty())
            EXPECT_EQ(m_pLeft->GetSelection(), c.nTo) << c.pszCase << ": the moved row is selected";
        EXPECT_FALSE(m_pLeft->IsDragging());
        EXPECT_EQ(m_screen.m_pCaptured, nullptr) << c.pszCase << ": the capture is given back";
    }
}

TEST_F(DragList, DisabledRowsNeitherStartADragNorTakeOne)
{
    // Pressing a disabled row is still a click, but no drag.
    m_screen.OnLButtonDown(0, 240, RowY(1));
    EXPECT_FALSE(m_pRight->IsDragging());
    m_screen.OnLButtonUp(0, 240, RowY(0));
    EXPECT_EQ(Rows(m_pRight), (std::vector<std::string>{"b0", "b1", "b2"}));

    Drag(240, RowY(2), 240, RowY(1));
    EXPECT_EQ(Rows(m_pRight), (std::vector<std::string>{"b0", "b1", "b2"}));
    EXPECT_TRUE(m_screen.events.empty());

    // Another list's disabled row refuses the drop: the owner hears of it,
    // and of the drop outside that follows.
    Drag(60, RowY(0), 240, RowY(1));
    EXPECT_EQ(Rows(m_pLeft)[0], "a0");
    EXPECT_EQ(Rows(m_pRight)[1], "b1");
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"onto 1 0>2:-1", "outside 1 at 340,114"}));
}

TEST_F(DragList, ADropOntoAnotherDragListExchangesTheTwoRows)
{
    Drag(60, RowY(1), 240, RowY(2));
    EXPECT_EQ(Rows(m_pLeft), (std::vector<std::string>{"a0", "b2", "a2", "a3"}));
    EXPECT_EQ(Rows(m_pRight), (std::vector<std::string>{"b0", "b1", "a1"}));
    EXPECT_EQ(m_pRight->GetSelection(), 2);
    EXPECT_EQ(m_screen.m_pFocused, m_pRight);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"onto 1 1>2:2"})) << "and nothing reported outside";

    // Below the target's rows nothing is exchanged; the owner hears of both.
    m_screen.events.clear();
    Drag(60, RowY(0), 240, RowY(4));
    EXPECT_EQ(Rows(m_pLeft)[0], "a0");
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"onto 1 0>2:-1", "outside 1 at 340,162"}));
}

TEST_F(DragList, PlainListsAndEmptyPlacesAreDropsOutsideInDisplayCoordinates)
{
    Drag(60, RowY(0), 60, RowY(0, 200));
    Drag(60, RowY(0), 160, 150);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"outside 1 at 160,258", "outside 1 at 260,200"}));
    EXPECT_EQ(Rows(m_pPlain), (std::vector<std::string>{"c0", "c1"}));

    m_screen.events.clear();
    m_pLeft->m_bDragOut = 0;
    Drag(60, RowY(0), 160, 150);
    EXPECT_TRUE(m_screen.events.empty());
}

TEST_F(DragList, ReportOnlyModesLeaveTheRowsToTheOwner)
{
    m_pLeft->m_bReportOnlyInside = 1;
    Drag(60, RowY(0), 60, RowY(2));
    EXPECT_EQ(Rows(m_pLeft), (std::vector<std::string>{"a0", "a1", "a2", "a3"}));

    m_pLeft->m_bReportOnlyOutside = 1;
    Drag(60, RowY(1), 240, RowY(2));
    EXPECT_EQ(Rows(m_pRight), (std::vector<std::string>{"b0", "b1", "b2"}));
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"within 1 0>2", "onto 1 1>2:2", "outside 1 at 340,130"}));
}

}  // namespace
