// The kit colour test and the rule that sends the away side into its away kit.
#include "shell/KitClash.h"

#include <gtest/gtest.h>

namespace {

using plat::RGB;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

TEST(KitClash, ColoursAreCloseByClassAndDistance)
{
    struct Case {
        COLORREF a, b;
        bool bClose;
        int nDistance;
    };
    const Case cases[] = {
        {kBlack, RGB(200, 200, 200), true, 0},        // two greys within 200 levels
        {kBlack, kWhite, false, 0},                   // two greys too far apart
        {RGB(128, 128, 128), RGB(150, 110, 100), true, 0},  // a grey and a near-grey colour
        {RGB(128, 128, 128), RGB(151, 110, 100), false, 0}, // channels 51 apart
        {kRed, RGB(200, 0, 0), true, 55},             // both red: the red channel alone
        {kRed, RGB(155, 200, 0), false, 300},         // red and green class: the sum of differences
        {kRed, RGB(156, 20, 0), true, 99},           // same class, the other channels not counted
        {RGB(150, 120, 0), RGB(120, 150, 0), true, 60},
        {RGB(150, 120, 0), RGB(55, 150, 65), false, 190},
        {RGB(100, 100, 0), RGB(100, 0, 100), true, 0},  // ties go to red: one class, not green and blue
    };
    for (const Case& c : cases) {
        int nDistance = -1;
        EXPECT_EQ(AreKitColoursClose(c.a, c.b, &nDistance), c.bClose) << std::hex << c.a << " " << c.b;
        EXPECT_EQ(nDistance, c.nDistance) << std::hex << c.a << " " << c.b;
        EXPECT_EQ(AreKitColoursClose(c.b, c.a), c.bClose) << "either order";
    }
}

TEST(KitClash, TheAwaySideChangesOnlyWhenItsKitClashes)
{
    struct Case {
        const char* pszWhat;
        KITCOLOURS home, awayHome, awayAway;
        bool bChange;
    };
    const Case cases[] = {
        {"same shirt", {kRed, kWhite, 0}, {kRed, kBlack, 0}, {kRed, kWhite, 0}, true},
        {"different shirts", {kRed, kWhite, 0}, {kBlue, kWhite, 0}, {kWhite, kBlack, 0}, false},
        {"close shirts, away kit stands apart", {kRed, kWhite, 0}, {RGB(200, 0, 0), kWhite, 0}, {kWhite, kBlack, 0},
         true},
        {"away kit closer to the home shirt", {kRed, kWhite, 0}, {RGB(200, 0, 0), kWhite, 0},
         {RGB(230, 0, 0), kWhite, 0}, false},
        {"away kit further though still close", {kRed, kWhite, 0}, {RGB(200, 0, 0), kWhite, 0},
         {RGB(160, 0, 0), kWhite, 0}, true},
        {"black against grey", {kBlack, kWhite, 0}, {RGB(128, 128, 128), kBlack, 0}, {kRed, kBlack, 0}, true},
        {"patterned home's second colour is the away shirt", {kRed, kWhite, 2}, {kWhite, kBlack, 0},
         {kBlue, kWhite, 0}, true},
        {"patterned home's second colour apart", {kRed, kBlack, 2}, {kWhite, kBlack, 0}, {kBlue, kWhite, 0}, false},
        {"patterned away's second colour is the home shirt", {kBlue, kWhite, 0}, {kRed, kBlue, 3},
         {kYellow, kBlack, 0}, true},
        {"patterned away's change kit no better", {kBlue, kWhite, 0}, {kRed, kBlue, 3}, {RGB(0, 0, 200), kBlack, 0},
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShouldWearAwayKit(c.home, c.awayHome, c.awayAway), c.bChange) << c.pszWhat;
}

}  // namespace
