// Back and forward through the screens visited.
#include "shell/CScreenHistory.h"

#include <gtest/gtest.h>

namespace {

struct Screen {
    bool bCanReturn = true;
    bool CanReturnTo() const { return bCanReturn; }
};

TEST(ScreenHistoryTest, BackForwardAndANewScreenDropsTheLaterRecords)
{
    Screen a, b, c, d, e;
    CScreenHistory<Screen> history;
    EXPECT_EQ(history.ScreenHistoryBack(), nullptr);
    EXPECT_EQ(history.GetIndex(), -1);
    history.AddScreenHistory(&a, 1);
    history.AddScreenHistory(&b, 2);
    history.AddScreenHistory(&c, 3);
    history.AddScreenHistory(&d, 4);
    EXPECT_TRUE(history.CanGoBack());
    EXPECT_FALSE(history.CanGoForward());

    ASSERT_EQ(history.ScreenHistoryBack()->pScreen, &c);
    const auto* pBack = history.ScreenHistoryBack();
    ASSERT_TRUE(pBack);
    EXPECT_EQ(pBack->pScreen, &b);
    EXPECT_EQ(pBack->dwParameter, 2u);
    EXPECT_TRUE(history.CanGoForward());
    EXPECT_EQ(history.ScreenHistoryForward()->pScreen, &c);
    history.ScreenHistoryBack();

    // Entering a new screen after going back twice drops c and d.
    history.AddScreenHistory(&e, 5);
    EXPECT_EQ(history.GetIndex(), 2);
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_EQ(history.ScreenHistoryForward(), nullptr);
    EXPECT_EQ(history.ScreenHistoryBack()->pScreen, &b);
    EXPECT_EQ(history.ScreenHistoryForward()->pScreen, &e);

    // Past the first size the array grows.
    for (int i = 0; i < 40; ++i)
        history.AddScreenHistory(&a, 100 + i);
    EXPECT_EQ(history.GetIndex(), 42);
    EXPECT_EQ(history.ScreenHistoryBack()->dwParameter, 138u);

    history.ClearScreenHistory();
    EXPECT_EQ(history.GetIndex(), -1);
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_EQ(history.ScreenHistoryForward(), nullptr);
}

TEST(ScreenHistoryTest, ScreensThatRefuseAreSkippedAndAFailedSearchKeepsTheIndex)
{
    Screen a, b, c, d;
    CScreenHistory<Screen> history;
    for (Screen* p : {&a, &b, &c, &d})
        history.AddScreenHistory(p, 0);
    b.bCanReturn = false;
    c.bCanReturn = false;
    EXPECT_EQ(history.ScreenHistoryBack()->pScreen, &a);  // b and c skipped
    EXPECT_EQ(history.GetIndex(), 0);
    EXPECT_EQ(history.ScreenHistoryForward()->pScreen, &d);
    a.bCanReturn = false;
    EXPECT_EQ(history.ScreenHistoryBack(), nullptr);
    EXPECT_EQ(history.GetIndex(), 3);
}

}  // namespace
