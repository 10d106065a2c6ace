// The calendar: which months it walks to, where days sit in the grid (weeks
// from Sunday, month lengths and leap years), what a click chooses and
// reports, and the tooltip's date under the pointer wherever its owner sits.
#include "xframework/CXCalendar.h"
#include "xframework/CXClient.h"
#include "xframework/CXManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CalendarScreen : public CXClient {
public:
    // Sits away from the display's corner, as a popup would.
    CalendarScreen() { SetClientRect(130, 70, 300, 200); }
    void OnSelChange(uint32_t dwID) override { events.push_back("selchange " + std::to_string(dwID)); }
    std::vector<std::string> events;
};

// Seven 20-pixel columns and six 10-pixel rows at (10, 30).
constexpr int kLeft = 10, kTop = 30, kColumn = 20, kRow = 10;

class Calendar : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_screen.m_pBackground = new CXSurface;
        ASSERT_NE(m_screen.m_pBackground->Create(300, 200, false, false), nullptr);
        m_screen.OnInitDialog();
        m_pCalendar = static_cast<CXCalendar*>(
            m_screen.AddControl(XCONTROL_CALENDAR, kLeft, kTop, kLeft + 7 * kColumn, kTop + 6 * kRow, 8, nullptr));
        ASSERT_NE(m_pCalendar, nullptr);
    }
    void TearDown() override
    {
        m_screen.OnDestroy();
        g_pfnTableText = nullptr;
    }
    // The client point in the middle of a day's cell.
    void DayPoint(int nDay, int* px, int* py) const
    {
        int nColumn = 0, nRow = 0;
        m_pCalendar->DayCell(nDay, &nColumn, &nRow);
        *px = kLeft + nColumn * kColumn + kColumn / 2;
        *py = kTop + nRow * kRow + kRow / 2;
    }
    void ClickDay(int nDay)
    {
        int x = 0, y = 0;
        DayPoint(nDay, &x, &y);
        m_screen.OnLButtonDown(0, x, y);
        m_screen.OnLButtonUp(0, x, y);
    }
    std::string Shown() const
    {
        return std::to_string(m_pCalendar->m_ShownMonth.GetYear()) + "-" +
               std::to_string(m_pCalendar->m_ShownMonth.GetMonth());
    }
    CalendarScreen m_screen;
    CXCalendar* m_pCalendar = nullptr;
};

TEST_F(Calendar, WalksMonthsBetweenJanuary1999AndTheYear2037)
{
    EXPECT_EQ(Shown(), "1999-4") << "a new calendar shows April 1999";
    m_pCalendar->SetDate(CDate(1999, 1, 20).GetValue());
    m_pCalendar->PreviousMonth();
    EXPECT_EQ(Shown(), "1999-1");
    m_pCalendar->SetDate(CDate(2036, 12, 5).GetValue());
    m_pCalendar->NextMonth();
    EXPECT_EQ(Shown(), "2037-1") << "December turns into January of the next year";
    m_pCalendar->NextMonth();
    EXPECT_EQ(Shown(), "2037-1") << "no further than the year 2037";
    m_pCalendar->PreviousMonth();
    EXPECT_EQ(Shown(), "2036-12");
    EXPECT_EQ(m_pCalendar->m_Chosen, CDate(2036, 12, 5)) << "walking keeps the chosen date";
}

TEST_F(Calendar, EveryMonthHasItsLengthAndItsFirstDayUnderItsWeekday)
{
    // Walking the whole range month by month adds up to the days between
    // its ends, so each month had its own length, leap Februaries included.
    m_pCalendar->SetDate(CDate(1999, 1, 1).GetValue());
    int nDays = 0, nFebruary29 = 0;
    for (int nMonth = 0; nMonth < (2037 - 1999) * 12; ++nMonth) {
        nDays += m_pCalendar->DaysInShownMonth();
        nFebruary29 += m_pCalendar->m_ShownMonth.GetMonth() == 2 && m_pCalendar->DaysInShownMonth() == 29;
        m_pCalendar->NextMonth();
    }
    EXPECT_EQ(Shown(), "2037-1");
    EXPECT_EQ(nDays, CDate(2037, 1, 1).DaysBetween(CDate(1999, 1, 1)));
    EXPECT_EQ(nFebruary29, 10) << "2000, 2004, ..., 2036";

    const struct {
        CDate month;
        int nLength;
        int nFirstColumn;  // 0 Sunday
    } cases[] = {
        {CDate(2000, 2, 1), 29, 2},  // divisible by 400: a leap year, 1 February a Tuesday
        {CDate(2001, 2, 1), 28, 4},
        {CDate(2004, 2, 1), 29, 0},
        {CDate(2100, 2, 1), 28, 1},  // a century: no leap year
        {CDate(2001, 4, 1), 30, 0},
        {CDate(2000, 12, 1), 31, 5},
    };
    for (const auto& c : cases) {
        m_pCalendar->SetDate(c.month.GetValue());
        const std::string name = std::to_string(c.month.GetYear()) + "-" + std::to_string(c.month.GetMonth());
        EXPECT_EQ(m_pCalendar->DaysInShownMonth(), c.nLength) << name;
        int nColumn = -1, nRow = -1;
        m_pCalendar->DayCell(1, &nColumn, &nRow);
        EXPECT_EQ(nColumn, c.nFirstColumn) << name;
        EXPECT_EQ(nRow, 0) << name;
        // The grid's hit test agrees: the first day, the last, and nothing
        // in the cells around them.
        int x = 0, y = 0;
        DayPoint(1, &x, &y);
        EXPECT_EQ(m_pCalendar->DayAt(x - kLeft, y - kTop), 1) << name;
        DayPoint(c.nLength, &x, &y);
        EXPECT_EQ(m_pCalendar->DayAt(x - kLeft, y - kTop), c.nLength) << name;
        if (c.nFirstColumn > 0)
            EXPECT_EQ(m_pCalendar->DayAt(c.nFirstColumn * kColumn - 1, 1), 0) << name;
        DayPoint(c.nLength + 1, &x, &y);
        EXPECT_EQ(m_pCalendar->DayAt(x - kLeft, y - kTop), 0) << name << ": after the last day";
    }
}

TEST_F(Calendar, AClickChoosesADayAndReportsOnlyAChange)
{
    m_pCalendar->SetDate(CDate(2001, 4, 7).GetValue());
    m_pCalendar->Show(true, true);
    // Before the 1st of April 2001 (a Sunday) there are no empty cells; the
    // cells after the 30th are empty.
    m_screen.OnLButtonDown(0, kLeft + 6 * kColumn + 5, kTop + 5 * kRow + 5);
    m_screen.OnLButtonUp(0, kLeft + 6 * kColumn + 5, kTop + 5 * kRow + 5);
    EXPECT_TRUE(m_screen.events.empty());
    EXPECT_EQ(m_pCalendar->m_Chosen, CDate(2001, 4, 7));

    ClickDay(7);
    EXPECT_TRUE(m_screen.events.empty()) << "the chosen day again";
    ClickDay(19);
    EXPECT_EQ(m_screen.events, std::vector<std::string>{"selchange 8"});
    EXPECT_EQ(m_pCalendar->m_Chosen, CDate(2001, 4, 19));
    EXPECT_EQ(m_pCalendar->m_Today, CDate(2001, 4, 7)) << "today stays";

    // The same day number in another month is another date.
    m_pCalendar->NextMonth();
    ClickDay(19);
    EXPECT_EQ(m_pCalendar->m_Chosen, CDate(2001, 5, 19));
    EXPECT_EQ(m_screen.events.size(), 2u);
}

TEST_F(Calendar, TheTooltipNamesTheDateUnderThePointerWhereverTheOwnerSits)
{
    g_pfnTableText = [](int nSet, int nItem) -> const char* {
        static const char* const kMonths[] = {"", "January", "February", "March", "April"};
        static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday"};
        if (nSet == 128 && nItem >= 1 && nItem <= 4)
            return kMonths[nItem];
        return nSet == 129 && nItem >= 0 && nItem <= 4 ? kDays[nItem] : nullptr;
    };
    m_pCalendar->SetDate(CDate(2001, 4, 1).GetValue());
    int x = 0, y = 0;
    DayPoint(17, &x, &y);
    g_nMouseX = m_screen.m_nLeft + x;
    g_nMouseY = m_screen.m_nTop + y;
    char szText[TOOLTIP_TEXT_SIZE] = "stale";
    m_pCalendar->GetToolTipText(szText);
    EXPECT_STREQ(szText, "Tuesday 17 April 2001");

    g_nMouseX = m_screen.m_nLeft + kLeft + 6 * kColumn + 5;
    g_nMouseY = m_screen.m_nTop + kTop + 5 * kRow + 5;
    m_pCalendar->GetToolTipText(szText);
    EXPECT_STREQ(szText, "") << "an empty cell has no tooltip";
}

}  // namespace
