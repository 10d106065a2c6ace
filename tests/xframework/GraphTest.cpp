// The graph control on a screen: its axis ranges and labels, where bars and
// lines land, and the value tooltips of the newest drawing.
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/CXEdit.h"
#include "xframework/CXGraph.h"

#include "platform/DeviceContext.h"
#include "platform/PngWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF kAxis = plat::RGB(255, 255, 255);
constexpr COLORREF kLabel = plat::RGB(0, 255, 0);
constexpr COLORREF kRed = plat::RGB(255, 0, 0);
constexpr COLORREF kBlue = plat::RGB(0, 0, 255);
constexpr COLORREF kYellow = plat::RGB(255, 255, 0);

class GraphScreen : public CXClient {
public:
    // A black background, which each drawing restores under the graph.
    GraphScreen()
    {
        SetClientRect(0, 0, 400, 300);
        m_pBackground = new CXSurface;
        m_pBackground->Create(400, 300, false, false);
        m_pBackground->Fill(0);
    }
};

// A 200 x 100 plot at (60, 40) on a fixed 0-100 left axis, one pixel a unit.
class Graphs : public ::testing::Test {
protected:
    static constexpr int kLeft = 60, kTop = 40, kWidth = 200, kHeight = 100;
    void SetUp() override
    {
        m_screen.OnInitDialog();
        m_pGraph = dynamic_cast<CXGraph*>(
            m_screen.AddControl(XCONTROL_GRAPH, kLeft, kTop, kLeft + kWidth, kTop + kHeight, 7, nullptr));
        ASSERT_NE(m_pGraph, nullptr);
        m_pGraph->SetUp(0, kAxis, kLabel, 20.0, kYellow, kYellow);
    }
    void TearDown() override
    {
        m_screen.OnDestroy();
        g_pfnConvertCurrency = nullptr;
        g_pfnGraphEmptyText = nullptr;
    }
    uint16_t Pixel(int x, int y) const { return m_screen.m_pDrawingSurface->m_pSurface->pixel(x, y); }
    uint16_t Colour(COLORREF cr) const
    {
        return plat::colorToPixel(cr, m_screen.m_pDrawingSurface->m_pSurface->format());
    }
    std::string ToolTipAt(int x, int y)
    {
        m_screen.OnMouseMove(0, x, y);
        char szText[TOOLTIP_TEXT_SIZE] = {};
        m_pGraph->GetToolTipText(szText);
        return szText;
    }
    GraphScreen m_screen;
    CXGraph* m_pGraph = nullptr;
};

TEST(GraphLabels, MoneyIsShortenedByItsSize)
{
    const struct {
        double dValue;
        bool bWhole;
        const char* pszText;
    } cases[] = {
        {999, false, "999"},         {1500, false, "1.50k"},   {2500000, false, "2.50m"},
        {3000000000.0, false, "3.00bn"}, {2000, true, "2k"},   {-1500, false, "-1.50k"},
        {12000000, true, "12m"},
        // A whole axis's step between thousands keeps the decimals it needs.
        {1500, true, "1.5k"},        {2250, true, "2.25k"},    {-1500, true, "-1.5k"},
        {7500000, true, "7.5m"},
    };
    for (const auto& c : cases) {
        char szText[32];
        CXGraph::FormatAxisValue(c.dValue, szText, sizeof szText, c.bWhole);
        EXPECT_STREQ(szText, c.pszText) << c.dValue;
    }
    // A short buffer is cut, never overrun.
    char szShort[4];
    CXGraph::FormatAxisValue(2500000, szShort, sizeof szShort, false);
    EXPECT_STREQ(szShort, "2.5");
}

TEST_F(Graphs, AutomaticRangesRoundToAStepThatGrowsWithTheMaximum)
{
    const struct {
        double dLow, dHigh, dMinimum, dMaximum;
    } cases[] = {
        {0, 12500, 0, 13000},        {0, 12000, 0, 12000},       {0, 9700, 0, 10000},
        {730, 9000, 500, 9000},      {0, 250000, 0, 300000},     {0, 300000, 0, 300000},
        {0, 1100000, 0, 1250000},    {-730, 1000, -1000, 1000},
    };
    for (const auto& c : cases) {
        m_pGraph->Clear();
        m_pGraph->SetUp(GRAPH_LEFT_AUTOMATIC, kAxis, kLabel, 20.0, kYellow, kYellow);
        m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
        m_pGraph->AddValue(0, c.dLow);
        m_pGraph->AddValue(0, c.dHigh);
        EXPECT_EQ(m_pGraph->GetAxis(true).dAutoMinimum, c.dMinimum) << c.dLow << " " << c.dHigh;
        EXPECT_EQ(m_pGraph->GetAxis(true).dAutoMaximum, c.dMaximum) << c.dLow << " " << c.dHigh;
    }

    // A single 0 spreads to -1 to 1, with 0 in the middle of the plot.
    m_pGraph->Clear();
    m_pGraph->SetUp(GRAPH_LEFT_AUTOMATIC, kAxis, kLabel, 20.0, kYellow, kYellow);
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
    m_pGraph->AddValue(0, 0.0);
    EXPECT_EQ(m_pGraph->GetAxis(true).dAutoMinimum, -1.0);
    EXPECT_EQ(m_pGraph->GetAxis(true).dAutoMaximum, 1.0);
    EXPECT_EQ(m_pGraph->ValueY(true, 0.0), kTop + kHeight / 2);
}

TEST_F(Graphs, FixedRangesKeepTheirEndsAndTheEvenRightRangeWidens)
{
    m_pGraph->SetYRange(0, 50, 3, 8, true, false, false);
    EXPECT_EQ(m_pGraph->GetAxis(true).nFixedMinimum, 0);
    EXPECT_EQ(m_pGraph->GetAxis(true).nFixedMaximum, 50);
    EXPECT_EQ(m_pGraph->GetAxis(false).nFixedMinimum, 2);
    EXPECT_EQ(m_pGraph->GetAxis(false).nFixedMaximum, 10);
    m_pGraph->SetYRange(0, 50, -3, 10, true, false, false);
    EXPECT_EQ(m_pGraph->GetAxis(false).nFixedMinimum, -4);
    EXPECT_EQ(m_pGraph->GetAxis(false).nFixedMaximum, 12);

    // A range wholly below zero still holds its values inside the plot.
    m_pGraph->SetYRange(-100, -50, 0, 10, false, false, false);
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
    m_pGraph->AddValue(0, -75.0);
    EXPECT_EQ(m_pGraph->ValueY(true, -50.0), kTop);
    EXPECT_EQ(m_pGraph->ValueY(true, -75.0), kTop + kHeight / 2);
    EXPECT_EQ(m_pGraph->ValueY(true, -100.0), kTop + kHeight);
}

TEST_F(Graphs, OneDivisionCountsAsTwoOnEveryAxis)
{
    m_pGraph->SetUp(GRAPH_RIGHT_AXIS_DRAWN, kAxis, kLabel, 20.0, kYellow, kYellow);
    m_pGraph->SetYRange(0, 100, 0, 100, false, false, false);
    m_pGraph->SetXAxis(1, 1, 1, 10);
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
    m_pGraph->SetUpLine(0, 1, 1, kBlue, GRAPH_LINE, false, true, 0.0, 0);
    m_pGraph->AddValue(0, 10.0);
    m_pGraph->AddValue(1, 20.0);
    // Ticks at both ends of each axis and none between.
    const int nBottom = kTop + kHeight, nRight = kLeft + kWidth;
    EXPECT_EQ(Pixel(kLeft - 2, nBottom), Colour(kAxis));
    EXPECT_EQ(Pixel(kLeft - 2, kTop), Colour(kAxis));
    EXPECT_NE(Pixel(kLeft - 2, kTop + kHeight / 2), Colour(kAxis));
    EXPECT_EQ(Pixel(nRight + 2, nBottom), Colour(kAxis));
    EXPECT_EQ(Pixel(nRight + 2, kTop), Colour(kAxis));
    EXPECT_EQ(Pixel(kLeft, nBottom + 2), Colour(kAxis));
    EXPECT_EQ(Pixel(nRight, nBottom + 2), Colour(kAxis));
    EXPECT_NE(Pixel(kLeft + kWidth / 2, nBottom + 2), Colour(kAxis));
}

TEST_F(Graphs, BarSeriesShareEachSlotSideBySideTheFirstLeft)
{
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_BARS, true, true, 0.0, 0);
    m_pGraph->SetUpLine(0, 3, 1, kBlue, GRAPH_BARS, true, true, 0.0, 0);
    EXPECT_EQ(m_pGraph->GetBarSeriesCount(), 2);
    for (double dValue : {40.0, 80.0})
        m_pGraph->AddValue(0, dValue);
    for (double dValue : {60.0, 20.0})
        m_pGraph->AddValue(3, dValue);
    // Slots of 100 pixels, bars of 50; a value of 40 rises 40 pixels.
    const int nBottom = kTop + kHeight;
    EXPECT_EQ(Pixel(kLeft + 10, nBottom - 39), Colour(kRed));
    EXPECT_NE(Pixel(kLeft + 10, nBottom - 41), Colour(kRed));
    EXPECT_EQ(Pixel(kLeft + 60, nBottom - 59), Colour(kBlue));
    EXPECT_EQ(Pixel(kLeft + 110, nBottom - 79), Colour(kRed));
    EXPECT_EQ(Pixel(kLeft + 160, nBottom - 19), Colour(kBlue));
    EXPECT_NE(Pixel(kLeft + 160, nBottom - 25), Colour(kBlue));

    // Each bar tells its value; the mouse comes in screen coordinates.
    EXPECT_EQ(ToolTipAt(kLeft + 10, nBottom - 5), "40");
    EXPECT_EQ(ToolTipAt(kLeft + 60, nBottom - 5), "60");
    EXPECT_EQ(ToolTipAt(kLeft + 160, nBottom - 5), "20");
    EXPECT_EQ(ToolTipAt(kLeft + 160, nBottom - 50), "");
}

TEST_F(Graphs, HotSpotsFollowTheNewestDrawingOnly)
{
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE_WITH_POINTS, true, true, 0.0, 0);
    for (double dValue : {10.0, 50.0, 30.0})
        m_pGraph->AddValue(0, dValue);
    for (int i = 0; i < 5; ++i)
        m_pGraph->Draw();
    EXPECT_EQ(m_pGraph->GetSeries(0).hotSpots.size(), 3u);
    // Points 100 pixels apart; the middle one at 50.
    EXPECT_EQ(ToolTipAt(kLeft + 100 + 2, kTop + 50 - 2), "50");

    // Refilled, the old values no longer answer.
    m_pGraph->Clear();
    m_pGraph->SetUp(0, kAxis, kLabel, 20.0, kYellow, kYellow);
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE_WITH_POINTS, true, true, 0.0, 0);
    for (double dValue : {10.0, 90.0, 30.0})
        m_pGraph->AddValue(0, dValue);
    EXPECT_EQ(ToolTipAt(kLeft + 100, kTop + 50), "");
    EXPECT_EQ(ToolTipAt(kLeft + 100, kTop + 10), "90");
}

TEST_F(Graphs, LinesJoinTheirPointsAndCurrencyAxesConvert)
{
    g_pfnConvertCurrency = [](double dAmount) { return dAmount * 2.0; };
    m_pGraph->SetUp(GRAPH_LEFT_CURRENCY, kAxis, kLabel, 20.0, kYellow, kYellow);
    m_pGraph->SetYRange(0, 50, 0, 100, false, false, false);
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE_WITH_POINTS, true, true, 0.0, 0);
    // Converted: 20 and 60 on a 0-100 axis.
    m_pGraph->AddValue(0, 10.0);
    m_pGraph->AddValue(0, 30.0);
    const int nBottom = kTop + kHeight;
    EXPECT_EQ(Pixel(kLeft + 100, nBottom - 40), Colour(kRed));
    EXPECT_EQ(Pixel(kLeft + 201, nBottom - 62), Colour(kRed));
    EXPECT_EQ(ToolTipAt(kLeft + 1, nBottom - 20 + 1), "20");
}

TEST_F(Graphs, ALoneValueOfALineShowsAsAPoint)
{
    m_pGraph->SetYRange(0, 100, 0, 100, false, false, false);
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
    m_pGraph->AddValue(0, 50.0);
    const int y = kTop + kHeight - 50;
    for (const auto& [dx, dy] : {std::pair{0, 0}, {-1, -1}, {1, 1}, {-2, 0}})
        EXPECT_EQ(Pixel(kLeft + dx, y + dy), Colour(kRed)) << dx << "," << dy;
    EXPECT_NE(Pixel(kLeft + 4, y), Colour(kRed));
    EXPECT_EQ(ToolTipAt(kLeft + 1, y + 1), "50");
}

TEST_F(Graphs, ValuesBeyondAFixedAxisStayInsideThePlot)
{
    m_pGraph->SetYRange(0, 100, 0, 100, false, false, false);
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
    m_pGraph->AddValue(0, 50.0);
    m_pGraph->AddValue(0, 1.0e7);
    m_pGraph->AddValue(0, -1.0e7);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (y < kTop - 1 || y > kTop + kHeight + 1) {
                ASSERT_NE(Pixel(x, y), Colour(kRed)) << "line drawn off the plot at " << x << "," << y;
            }
    EXPECT_EQ(Pixel(kLeft + 100, kTop), Colour(kRed)) << "the high value sits on the plot's top edge";
}

TEST_F(Graphs, WithoutValuesOnlyTheEmptyTextAxesAndCaptionsAreDrawn)
{
    g_pfnGraphEmptyText = [] { return "No figures yet"; };
    m_pGraph->SetUp(GRAPH_RIGHT_AXIS_DRAWN | GRAPH_ITEM_LABELS, kAxis, kLabel, 20.0, kYellow, kYellow);
    m_pGraph->SetXAxis(5, 5, 5, 100);
    m_pGraph->SetItemLabel(1, "Week 1");
    std::snprintf(m_pGraph->m_szLeftCaption, GRAPH_CAPTION_SIZE, "Money");
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
    m_pGraph->Draw();
    const int nBottom = kTop + kHeight;
    EXPECT_EQ(Pixel(kLeft, kTop + 10), Colour(kAxis));
    EXPECT_EQ(Pixel(kLeft + 10, nBottom), Colour(kAxis));
    EXPECT_EQ(Pixel(kLeft + kWidth, kTop + 10), Colour(kAxis));
    auto labelPixels = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Pixel(x, y) == Colour(kLabel);
        return n;
    };
    EXPECT_GT(labelPixels(kLeft + 1, kTop + 30, kLeft + kWidth, kTop + 70), 20);
    // The upright caption, but no tick labels and no item labels.
    EXPECT_GT(labelPixels(kLeft - 26, kTop, kLeft - 13, nBottom), 10);
    EXPECT_EQ(labelPixels(kLeft - 12, kTop - 10, kLeft, nBottom + 10), 0);
    EXPECT_EQ(labelPixels(kLeft, nBottom + 1, kLeft + kWidth, nBottom + 25), 0);
}

// Match days bunch up over the winter: a month whose first match day comes a
// few pixels after the last one's keeps its tick but not its name.
TEST_F(Graphs, AnItemLabelThatWouldRunIntoTheOneBeforeIsLeftOut)
{
    auto labelPixels = [&](std::initializer_list<std::pair<int, const char*>> labels) {
        m_pGraph->Clear();
        m_pGraph->SetUp(GRAPH_ITEM_LABELS | GRAPH_ITEM_LABELS_BY_DIVISION, kAxis, kLabel, 20.0, kYellow, kYellow);
        m_pGraph->SetXAxis(50, 2, 2, 50);
        for (const auto& [nIndex, pszText] : labels)
            m_pGraph->SetItemLabel(nIndex, pszText);
        // Without values a graph draws no labels.
        m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
        for (double dValue : {10.0, 20.0, 30.0})
            m_pGraph->AddValue(0, dValue);
        m_pGraph->Draw();
        int n = 0;
        for (int y = kTop + kHeight + 1; y < kTop + kHeight + 25; ++y)
            for (int x = 0; x < 400; ++x)
                n += Pixel(x, y) == Colour(kLabel);
        return n;
    };
    const int nDecember = labelPixels({{10, "Dec"}});
    ASSERT_GT(nDecember, 10);
    EXPECT_EQ(labelPixels({{10, "Dec"}, {11, "Jan"}}), nDecember);
    EXPECT_GT(labelPixels({{10, "Dec"}, {11, "Jan"}, {30, "Apr"}}), nDecember) << "a label with room is drawn";
}

TEST_F(Graphs, ItemLabelsStaySortedByIndexAndBadSeriesOrValuesAreRefused)
{
    m_pGraph->SetItemLabel(4, "May");
    m_pGraph->SetItemLabel(1, "Feb");
    m_pGraph->SetItemLabel(4, "Mai");
    m_pGraph->SetItemLabel(2, std::string(120, 'x').c_str());
    const auto& labels = m_pGraph->GetItemLabels();
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].nIndex, 1);
    EXPECT_EQ(labels[1].nIndex, 2);
    EXPECT_EQ(std::string(labels[1].szText).size(), static_cast<size_t>(GRAPH_ITEM_LABEL_TEXT_SIZE - 1));
    EXPECT_STREQ(labels[2].szText, "Mai");

    m_pGraph->AddValue(10, 5.0);
    m_pGraph->AddValue(-1, 5.0);
    EXPECT_EQ(m_pGraph->GetLastValue(10), 0.0);
    m_pGraph->SetUpLine(0, 2, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
    m_pGraph->AddValue(2, 5.0);
    m_pGraph->AddValue(2, 7.5);
    m_pGraph->AddValue(2, std::nan(""));
    m_pGraph->AddValue(2, HUGE_VAL);
    EXPECT_EQ(m_pGraph->GetLastValue(2), 7.5);
    EXPECT_EQ(m_pGraph->GetSeries(2).values.size(), 2u);
}

TEST_F(Graphs, ALinkedToggleHidesAndShowsItsSeriesKeepingTheValues)
{
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_BARS, true, true, 0.0, 0);
    m_pGraph->SetUpLine(0, 1, 1, kBlue, GRAPH_BARS, true, true, 0.0, 0);
    for (double dValue : {40.0, 60.0})
        m_pGraph->AddValue(0, dValue);
    for (double dValue : {50.0, 30.0})
        m_pGraph->AddValue(1, dValue);
    auto* pToggle = static_cast<CXButton*>(m_screen.AddControl(XCONTROL_BUTTON, 300, 10, 360, 30, 12, nullptr));
    pToggle->SetToggleTextID(nullptr, 0, m_pGraph, 1, 0);
    pToggle->SetChecked(1);
    m_pGraph->Draw();
    auto count = [&](COLORREF cr) {
        int n = 0;
        for (int y = kTop; y < kTop + kHeight; ++y)
            for (int x = kLeft; x < kLeft + kWidth; ++x)
                n += Pixel(x, y) == Colour(cr);
        return n;
    };
    const int nRed = count(kRed), nBlue = count(kBlue);
    ASSERT_GT(nBlue, 0);
    auto click = [&] {
        m_screen.OnLButtonDown(0, 310, 20);
        m_screen.OnLButtonUp(0, 310, 20);
    };
    click();
    EXPECT_EQ(pToggle->m_bChecked, 0);
    EXPECT_EQ(count(kBlue), 0) << "the unchecked toggle's series is gone";
    EXPECT_EQ(count(kRed), nRed) << "the other series stays where it was";
    EXPECT_EQ(m_pGraph->GetSeries(1).values.size(), 2u);
    click();
    EXPECT_EQ(count(kBlue), nBlue);
}

TEST_F(Graphs, UprightCaptionsStandClearOfWideTickLabels)
{
    // Money labels such as "1.50m" are wider than the captions' usual gap.
    m_pGraph->SetUp(GRAPH_LEFT_AUTOMATIC | GRAPH_RIGHT_AUTOMATIC | GRAPH_RIGHT_AXIS_DRAWN, kAxis, kLabel, 20.0,
                    kYellow, kYellow);
    m_pGraph->SetYRange(0, 100, 0, 100, false, false, false);
    m_pGraph->SetXAxis(0, 5, 5, 0);
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
    m_pGraph->SetUpLine(0, 1, 1, kBlue, GRAPH_LINE, false, true, 0.0, 0);
    for (double dValue : {-1250000.0, 2500000.0})
        m_pGraph->AddValue(0, dValue);
    for (double dValue : {-1250000.0, 2500000.0})
        m_pGraph->AddValue(1, dValue);
    // Label pixels beside the plot, by column, without and with captions.
    auto labelColumns = [&](int nFrom, int nTo) {
        std::vector<int> columns;
        for (int x = nFrom; x < nTo; ++x) {
            int n = 0;
            for (int y = kTop - 10; y < kTop + kHeight + 10; ++y)
                n += Pixel(x, y) == Colour(kLabel);
            columns.push_back(n);
        }
        return columns;
    };
    m_pGraph->Draw();
    const std::vector<int> leftBare = labelColumns(0, kLeft), rightBare = labelColumns(kLeft + kWidth, 400);
    std::snprintf(m_pGraph->m_szLeftCaption, GRAPH_CAPTION_SIZE, "Balance");
    std::snprintf(m_pGraph->m_szRightCaption, GRAPH_CAPTION_SIZE, "Wages");
    m_pGraph->Draw();
    const std::vector<int> leftCaptioned = labelColumns(0, kLeft), rightCaptioned = labelColumns(kLeft + kWidth, 400);
    // The labels' outermost columns on each side.
    const int nLabelsLeft = static_cast<int>(std::find_if(leftBare.begin(), leftBare.end(), [](int n) { return n > 0; }) -
                                             leftBare.begin());
    int nLabelsRight = static_cast<int>(rightBare.size()) - 1;
    while (nLabelsRight >= 0 && rightBare[static_cast<size_t>(nLabelsRight)] == 0)
        --nLabelsRight;
    ASSERT_LT(nLabelsLeft, kLeft - 26) << "the labels reach past the usual caption place";
    ASSERT_GE(nLabelsRight, 0);
    for (int x = nLabelsLeft; x < kLeft; ++x)
        EXPECT_EQ(leftCaptioned[static_cast<size_t>(x)], leftBare[static_cast<size_t>(x)]) << "left column " << x;
    for (int x = 0; x <= nLabelsRight; ++x)
        EXPECT_EQ(rightCaptioned[static_cast<size_t>(x)], rightBare[static_cast<size_t>(x)]) << "right column " << x;
    const auto sum = [](const std::vector<int>& v, size_t from, size_t to) {
        int n = 0;
        for (size_t i = from; i < to; ++i)
            n += v[i];
        return n;
    };
    EXPECT_GT(sum(leftCaptioned, 0, static_cast<size_t>(nLabelsLeft)), 0) << "the left caption stands outside";
    EXPECT_GT(sum(rightCaptioned, static_cast<size_t>(nLabelsRight) + 1, rightCaptioned.size()), 0);

    // A new drawing without captions leaves none behind, however far out.
    m_pGraph->m_szLeftCaption[0] = m_pGraph->m_szRightCaption[0] = '\0';
    m_pGraph->Draw();
    const std::vector<int> leftAgain = labelColumns(0, kLeft), rightAgain = labelColumns(kLeft + kWidth, 400);
    EXPECT_EQ(sum(leftAgain, 0, static_cast<size_t>(nLabelsLeft)), 0);
    EXPECT_EQ(sum(rightAgain, static_cast<size_t>(nLabelsRight) + 1, rightAgain.size()), 0);
}

TEST_F(Graphs, ANewDrawingClearsTheWideLabelsOfTheLastOne)
{
    // Millions with pennies make labels wider than the usual margin; once
    // the figures shrink, none of their digits may stay beside the new ones.
    // Each drawing is set up afresh, as the home screen does every day.
    auto fill = [&](std::initializer_list<double> values) {
        m_pGraph->Clear();
        m_pGraph->SetUp(GRAPH_LEFT_AUTOMATIC | GRAPH_RIGHT_AUTOMATIC | GRAPH_RIGHT_AXIS_DRAWN, kAxis, kLabel, 20.0,
                        kYellow, kYellow);
        m_pGraph->SetXAxis(0, 5, 5, 0);
        m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_LINE, true, true, 0.0, 0);
        m_pGraph->SetUpLine(0, 1, 1, kBlue, GRAPH_LINE, false, true, 0.0, 0);
        for (double dValue : values) {
            m_pGraph->AddValue(0, dValue);
            m_pGraph->AddValue(1, dValue);
        }
        m_pGraph->Draw();
    };
    auto labelPixels = [&](int nFrom, int nTo) {
        int n = 0;
        for (int x = nFrom; x < nTo; ++x)
            for (int y = kTop - 10; y < kTop + kHeight + 10; ++y)
                n += Pixel(x, y) == Colour(kLabel);
        return n;
    };
    const int nLeftMargin = kLeft - 35, nRightMargin = kLeft + kWidth + 45;
    fill({-12345678.0, 35500000.0});
    ASSERT_GT(labelPixels(0, nLeftMargin), 0) << "the labels must reach past the left margin for this case";
    ASSERT_GT(labelPixels(nRightMargin, 400), 0) << "and past the right one";
    fill({0.0, 100.0});
    EXPECT_EQ(labelPixels(0, nLeftMargin), 0);
    EXPECT_EQ(labelPixels(nRightMargin, 400), 0);
}

// Draws a bar graph and a line graph side by side into graphs.png under the
// build tree, to be looked at.
TEST_F(Graphs, APictureOfBothKindsIsWritten)
{
    m_pGraph->SetUp(GRAPH_LEFT_AUTOMATIC | GRAPH_ITEM_LABELS, kAxis, kLabel, 50.0, kYellow, kYellow);
    m_pGraph->SetYRange(0, 100, 0, 100, false, true, false);
    m_pGraph->SetXAxis(4, 5, 0, 0);
    for (int i = 0; i < 4; ++i)
        m_pGraph->SetItemLabel(i, ("W" + std::to_string(i + 1)).c_str());
    std::snprintf(m_pGraph->m_szLeftCaption, GRAPH_CAPTION_SIZE, "Income");
    std::snprintf(m_pGraph->m_szBottomCaption, GRAPH_CAPTION_SIZE, "Week");
    m_pGraph->SetUpLine(0, 0, 1, kRed, GRAPH_BARS, true, true, 0.0, 0);
    m_pGraph->SetUpLine(0, 1, 1, kBlue, GRAPH_BARS, true, true, 0.0, 0);
    for (double dValue : {120000.0, 340000.0, 80000.0, 260000.0})
        m_pGraph->AddValue(0, dValue);
    for (double dValue : {90000.0, 150000.0, 310000.0, 200000.0})
        m_pGraph->AddValue(1, dValue);

    auto* pLines = dynamic_cast<CXGraph*>(m_screen.AddControl(XCONTROL_GRAPH, 60, 190, 340, 270, 8, nullptr));
    ASSERT_NE(pLines, nullptr);
    pLines->SetUp(GRAPH_RIGHT_AXIS_DRAWN | GRAPH_LEFT_ZERO_LINE, kAxis, kLabel, 0.0, kYellow, kYellow);
    pLines->SetYRange(-50, 50, 0, 10, false, false, false);
    pLines->SetXAxis(5, 5, 3, 40);
    std::snprintf(pLines->m_szRightCaption, GRAPH_CAPTION_SIZE, "Place");
    pLines->SetUpLine(0, 0, 2, kRed, GRAPH_LINE, true, true, 0.0, 0);
    pLines->SetUpLine(0, 1, 1, kYellow, GRAPH_LINE_WITH_POINTS, false, true, 0.0, 0);
    for (double dValue : {-20.0, 10.0, 35.0, 5.0, -40.0, 0.0})
        pLines->AddValue(0, dValue);
    for (double dValue : {8.0, 6.0, 3.0, 4.0, 1.0, 2.0})
        pLines->AddValue(1, dValue);
    // The zero line crosses the plot half way down.
    EXPECT_EQ(pLines->ValueY(true, 0.0), 190 + 40);

    ASSERT_TRUE(plat::writePng(*m_screen.m_pDrawingSurface->m_pSurface, "graphs.png"));
}

}  // namespace
