// The drop-downs: when and where the popup opens, and how a choice in its
// list or on its calendar reaches the box and the box's owner.
#include "../shell/LogCapture.h"

#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/CXComboBox.h"

#include "platform/Font.h"
#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class BoxScreen : public CXClient {
public:
    BoxScreen() { SetClientRect(160, 85, 640, 515); }
    void OnSelChange(uint32_t dwID) override { events.push_back("selchange " + std::to_string(dwID)); }
    void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t flags) override
    {
        events.push_back("key " + std::to_string(key));
        CXClient::OnKeyUp(key, repeat, flags);
    }
    std::vector<std::string> events;
};

// A popup that Escape closes, as the game's own popups are.
class EscapePopup : public CXPopup {
public:
    void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t flags) override
    {
        CXPopup::OnKeyUp(key, repeat, flags);
        if (key == plat::VK_ESCAPE)
            Close();
    }
};

constexpr uint32_t kBox = 40;
const LISTCOLUMN kColumns[] = {
    {0, 100, 2, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

class DropDown : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_screen.m_pBackground = new CXSurface;
        ASSERT_NE(m_screen.m_pBackground->Create(640, 515, false, false), nullptr);
        m_screen.OnInitDialog();
        g_pCurrentClient = &m_screen;
    }
    void TearDown() override
    {
        for (int i = CXPopup::StackTop(); i >= 0; --i)
            CXPopup::StackEntry(i)->Close();
        m_screen.OnDestroy();
        g_pCurrentClient = nullptr;
    }
    // A box at y whose drop-down area is 80 high.
    template <typename Box>
    Box* AddBox(uint8_t byType, int y, std::initializer_list<const char*> rows)
    {
        auto* pBox = static_cast<Box*>(m_screen.AddControl(byType, 20, y, 120, y + 80, kBox, nullptr));
        pBox->SetUp(16, 6, m_pFont.get(), 3, false, nullptr, true, nullptr, false, 2, false, false, true);
        pBox->SetUpColumns(20, y, 120, y + 80, kColumns, false, false, 16, false);
        for (const char* pszRow : rows)
            pBox->AddString(0x00FFFFFF, "%s", pszRow);
        return pBox;
    }
    // A click at a point of the popup, and the paint of the next frame.
    static void ClickPopup(CXPopup& popup, int x, int y)
    {
        popup.OnLButtonDown(0, x, y);
        popup.OnLButtonUp(0, x, y);
        popup.OnPaint();
    }
    // A key pressed and let go, each message going where the program sends
    // it: to the top popup when one is open, else to the screen.
    void PressKey(uint32_t key)
    {
        for (uint32_t message : {plat::WM_KEYDOWN, plat::WM_CHAR, plat::WM_KEYUP}) {
            if (CXPopup* pTop = CXPopup::TopPopup())
                pTop->WindowProc(message, key, 1);
            else
                m_screen.WindowProc(message, key, 1);
        }
    }
    std::unique_ptr<plat::Font> m_pFont{plat::Font::create(14, 400, "Arial")};
    BoxScreen m_screen;
};

TEST_F(DropDown, TheBoxIsOneRowHighAndOpensOnlyWithAChoiceToMake)
{
    auto* pBox = AddBox<CXComboBox>(XCONTROL_COMBOBOX, 40, {"only"});
    EXPECT_EQ(pBox->Height(), 16);
    EXPECT_EQ(pBox->m_rcDropDown.bottom, 120);
    ASSERT_NE(pBox->ArrowButton(), nullptr);
    EXPECT_EQ(pBox->ArrowButton()->m_nLeft, 120) << "the arrow stands at the box's right";
    EXPECT_FALSE(pBox->OpenDropDown()) << "one row";
    pBox->AddString(0, "second");
    pBox->m_bNoDropDown = 1;
    EXPECT_FALSE(pBox->OpenDropDown());
    pBox->m_bNoDropDown = 0;
    // A click on the arrow opens it, under the box, where the screen sits.
    m_screen.OnLButtonDown(0, 125, 45);
    m_screen.OnLButtonUp(0, 125, 45);
    CXComboPopup& popup = ComboPopup();
    ASSERT_TRUE(popup.IsOnStack());
    EXPECT_EQ(popup.m_nLeft, 160 + 20);
    EXPECT_EQ(popup.m_nTop, 85 + 40 + 16);
    EXPECT_EQ(popup.Height(), 2 * 16) << "two rows need no more";
    EXPECT_EQ(popup.m_bOpensUpwards, 0);
    ASSERT_NE(popup.m_pList, nullptr);
    EXPECT_EQ(popup.m_pList->GetCount(), 2);
}

TEST_F(DropDown, ThePopupIsAsTallAsItsRowsUpToTheDropDownArea)
{
    struct Case {
        int nRows;
        int nHeight;
    };
    // The area is 80 high: five rows of 16 fill it, more scroll inside it.
    for (const Case& c : {Case{3, 48}, Case{5, 80}, Case{9, 80}}) {
        auto* pBox = AddBox<CXComboBox>(XCONTROL_COMBOBOX, 40, {});
        for (int i = 0; i < c.nRows; ++i)
            pBox->AddString(0x00FFFFFF, "row %d", i);
        ASSERT_TRUE(pBox->OpenDropDown()) << c.nRows;
        CXComboPopup& popup = ComboPopup();
        EXPECT_EQ(popup.Height(), c.nHeight) << c.nRows << " rows";
        ASSERT_NE(popup.m_pList, nullptr);
        EXPECT_EQ(popup.m_pList->RowsPerView(), c.nHeight / 16) << c.nRows << " rows";
        popup.Close();
    }
}

TEST_F(DropDown, NearTheDisplaysBottomThePopupOpensUpwardsEndingAtTheBox)
{
    auto* pBox = AddBox<CXComboBox>(XCONTROL_COMBOBOX, 440, {"a", "b", "c", "d", "e", "f"});
    ASSERT_TRUE(pBox->OpenDropDown());
    CXComboPopup& popup = ComboPopup();
    EXPECT_EQ(popup.m_bOpensUpwards, 1);
    EXPECT_EQ(popup.m_nBottom, 85 + 440);
    EXPECT_EQ(popup.Height(), 80);
    popup.Close();
    // Three rows still fit under the box.
    auto* pShort = AddBox<CXComboBox>(XCONTROL_COMBOBOX, 440, {"a", "b", "c"});
    ASSERT_TRUE(pShort->OpenDropDown());
    EXPECT_EQ(popup.m_bOpensUpwards, 0);
    EXPECT_EQ(popup.m_nTop, 85 + 440 + 16);
    EXPECT_EQ(popup.Height(), 3 * 16);
}

TEST_F(DropDown, AnEnabledRowChosenInThePopupBecomesTheBoxsChoice)
{
    auto* pBox = AddBox<CXComboBox>(XCONTROL_COMBOBOX, 40, {"4-4-2", "4-3-3", "3-5-2", "5-3-2"});
    pBox->EnableRow(3, false);
    CXComboPopup& popup = ComboPopup();

    ASSERT_TRUE(pBox->OpenDropDown());
    ClickPopup(popup, 30, 3 * 16 + 8);
    EXPECT_FALSE(popup.IsOnStack()) << "a click closes the popup at the next paint";
    EXPECT_EQ(pBox->GetSelection(), 0) << "a disabled row is no choice";
    EXPECT_TRUE(m_screen.events.empty());

    ASSERT_TRUE(pBox->OpenDropDown());
    ClickPopup(popup, 30, 2 * 16 + 8);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(pBox->GetSelection(), 2);
    EXPECT_EQ(pBox->GetFirstVisible(), 2) << "the closed box shows the choice";
    EXPECT_EQ(m_screen.events, std::vector<std::string>{"selchange 40"});
}

TEST_F(DropDown, ThePointerLeavingThePopupClosesIt)
{
    auto* pBox = AddBox<CXComboBox>(XCONTROL_COMBOBOX, 40, {"a", "b"});
    CXComboPopup& popup = ComboPopup();
    ASSERT_TRUE(pBox->OpenDropDown());
    popup.OnMouseMove(0, -5, -10);  // over the closed box: still inside
    popup.OnPaint();
    EXPECT_TRUE(popup.IsOnStack());
    popup.OnMouseMove(0, popup.Width() + 20, 10);
    popup.OnPaint();
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(pBox->GetSelection(), 0);
}

TEST_F(DropDown, EscapeClosesOnlyTheOpenDropDownAndChoosesNothing)
{
    auto* pBox = AddBox<CXComboBox>(XCONTROL_COMBOBOX, 40, {"a", "b", "c"});
    auto* pDates = AddBox<CXComboList>(XCONTROL_COMBOLIST, 140, {"7/4/2001", "21/4/2001"});
    pDates->SetItemData(0, CDate(2001, 4, 7).GetValue());
    pDates->SetItemData(1, CDate(2001, 4, 21).GetValue());
    EscapePopup beneath;
    beneath.SetClientRect(200, 150, 300, 200);
    beneath.m_pBackground = new CXSurface;
    ASSERT_NE(beneath.m_pBackground->Create(300, 200, false, false), nullptr);
    for (CXComboBox* pOpened : {pBox, static_cast<CXComboBox*>(pDates)}) {
        SCOPED_TRACE(pOpened == pBox ? "list" : "dates");
        // Over the screen: the screen never hears the key.
        ASSERT_TRUE(pOpened->OpenDropDown());
        PressKey(plat::VK_ESCAPE);
        EXPECT_EQ(CXPopup::StackTop(), -1) << "the drop-down closed at once";
        EXPECT_EQ(pOpened->GetSelection(), 0);
        EXPECT_TRUE(m_screen.events.empty()) << m_screen.events.front();
        // Over another popup: that popup stays until the next Escape.
        ASSERT_TRUE(beneath.Open());
        ASSERT_TRUE(pOpened->OpenDropDown());
        PressKey(plat::VK_ESCAPE);
        EXPECT_EQ(CXPopup::TopPopup(), &beneath);
        PressKey(plat::VK_ESCAPE);
        EXPECT_FALSE(beneath.IsOnStack());
        EXPECT_TRUE(m_screen.events.empty());
    }
}

TEST_F(DropDown, TheDatePopupMarksTheRowsDaysAndTakesOnlyAMarkedDay)
{
    auto* pBox = AddBox<CXComboList>(XCONTROL_COMBOLIST, 40, {"7/4/2001", "21/4/2001", "5/5/2001"});
    const CDate dates[] = {CDate(2001, 4, 7), CDate(2001, 4, 21), CDate(2001, 5, 5)};
    for (int i = 0; i < 3; ++i)
        pBox->SetItemData(i, dates[i].GetValue());
    ASSERT_TRUE(pBox->OpenDropDown());
    CXComboListPopup& popup = ComboListPopup();
    EXPECT_EQ(popup.Width(), 100 + 80) << "wider by the calendar's room";
    ASSERT_NE(popup.m_pCalendar, nullptr);
    CXCalendar& calendar = *popup.m_pCalendar;
    EXPECT_EQ(calendar.m_ShownMonth, CDate(2001, 4, 1)) << "the month of the box's choice";
    EXPECT_EQ(calendar.m_dwMarkedDays, (1u << 7) | (1u << 21)) << "only the days of the shown month";

    auto clickDay = [&](int nDay) {
        int nColumn = 0, nRow = 0;
        calendar.DayCell(nDay, &nColumn, &nRow);
        const int nWidth = calendar.Width() / 7, nHeight = calendar.Height() / 6;
        ClickPopup(popup, calendar.m_nLeft + nColumn * nWidth + nWidth / 2,
                   calendar.m_nTop + nRow * nHeight + nHeight / 2);
    };
    clickDay(9);
    EXPECT_TRUE(popup.IsOnStack()) << "a day without a row is no choice";
    EXPECT_EQ(pBox->GetSelection(), 0);
    EXPECT_TRUE(m_screen.events.empty());

    clickDay(21);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(pBox->GetSelection(), 1);
    EXPECT_EQ(m_screen.events, std::vector<std::string>{"selchange 40"});
}

TEST(DropDownPopups, WithoutABoxThePopupRefusesToBuild)
{
    LogCapture log;
    CXComboPopup& popup = ComboPopup();
    popup.m_pBox = nullptr;
    popup.SetClientRect(0, 0, 100, 80);
    EXPECT_FALSE(popup.OnInitDialog());
    EXPECT_TRUE(log.Contains("no combo box has been passed"));
    EXPECT_EQ(popup.m_pList, nullptr);
}

}  // namespace
