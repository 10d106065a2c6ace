#pragma once
// Control type 8: a chart of up to ten series (lines, lines with point
// markers, bars) against a left and a right value axis over item positions.
// Money sums are labelled short ("1.50k", "2.50m", "3.00bn") and may be shown
// in the player's currency. Hovering over a bar or a point shows its value.
#include "xframework/CXControl.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

constexpr int GRAPH_SERIES_COUNT = 10;
constexpr int GRAPH_HOT_SPOT_TEXT_SIZE = 20;
constexpr int GRAPH_ITEM_LABEL_TEXT_SIZE = 80;
constexpr int GRAPH_CAPTION_SIZE = 40;

// Style flags.
constexpr uint32_t GRAPH_LEFT_AUTOMATIC = 1;
constexpr uint32_t GRAPH_RIGHT_AUTOMATIC = 2;
constexpr uint32_t GRAPH_LEFT_DOWNWARD = 4;
constexpr uint32_t GRAPH_RIGHT_AXIS_DRAWN = 8;
constexpr uint32_t GRAPH_RIGHT_DOWNWARD = 16;
constexpr uint32_t GRAPH_ITEM_LABELS = 32;
constexpr uint32_t GRAPH_ITEM_LABELS_BY_DIVISION = 64;
constexpr uint32_t GRAPH_LEFT_ZERO_LINE = 128;
constexpr uint32_t GRAPH_RIGHT_ZERO_LINE = 256;
constexpr uint32_t GRAPH_LEFT_CURRENCY = 512;
constexpr uint32_t GRAPH_RIGHT_CURRENCY = 1024;

// Series kinds.
constexpr int GRAPH_LINE = 0;
constexpr int GRAPH_LINE_WITH_POINTS = 1;
constexpr int GRAPH_BARS = 2;

// Series flags.
constexpr uint32_t GRAPH_SERIES_DOWNWARD = 1;
constexpr uint32_t GRAPH_SERIES_CENTRED_POINTS = 2;
// The points step by the x axis's divisions, however many there are.
constexpr uint32_t GRAPH_SERIES_BY_DIVISION = 4;

// The language's text for a graph without values, or null.
using GraphEmptyTextLookup = const char* (*)();
extern GraphEmptyTextLookup g_pfnGraphEmptyText;

class CXGraph : public CXControl {
public:
    struct HotSpot {
        // Relative to the plot area's top-left; edges belong to the spot.
        plat::Rect rc{};
        char szText[GRAPH_HOT_SPOT_TEXT_SIZE] = {};
    };
    struct Series {
        std::vector<double> values;
        std::vector<HotSpot> hotSpots;
        int32_t nPenWidth = 0;
        COLORREF crColour = 0;
        int32_t nKind = GRAPH_LINE;
        int32_t nSpare = 0;
        uint32_t dwFlags = 0;
        uint8_t bActive = 0;
        // Hidden by a linked toggle button: kept, not drawn.
        uint8_t bHidden = 0;
        uint8_t bLeftAxis = 0;
        uint8_t bNormalised = 0;
        double dItemWidth = 0.0;
        double dMaximum = 0.0;
        double dMinimum = 0.0;
    };
    struct Axis {
        int32_t nFixedMinimum = 0;
        int32_t nFixedMaximum = 100;
        double dAutoMinimum = 0.0;
        double dAutoMaximum = 0.0;
        int32_t nLabelDivisions = 0;
        int32_t nValueCount = 0;
    };
    struct ItemLabel {
        int32_t nIndex = 0;
        char szText[GRAPH_ITEM_LABEL_TEXT_SIZE] = {};
    };

    CXGraph();
    ~CXGraph() override;

    void SetUp(uint32_t dwStyle, COLORREF crAxis, COLORREF crLabel, double dLabelItemWidth, COLORREF crLeftZero,
               COLORREF crRightZero);
    // With bEven the right range widens to even ends (3 to 8 becomes 2 to 10).
    void SetYRange(int nLeftMinimum, int nLeftMaximum, int nRightMinimum, int nRightMaximum, bool bEven,
                   bool bLeftRoundAxis, bool bRightRoundAxis);
    // Division counts of 1 count as 2; 0 draws no labels.
    void SetXAxis(int nDivisions, int nLeftLabelDivisions, int nRightLabelDivisions, int nEndValue);
    void SetUpLine(uint32_t dwFlags, int nSeries, int nPenWidth, COLORREF crColour, int nKind, bool bLeftAxis,
                   bool bNormalised, double dItemWidth, int nSpare);
    void AddValue(int nSeries, double dValue);
    // Hides or shows a series without losing its values; no drawing.
    void SetSeriesHidden(int nSeries, bool bHidden);
    void SetItemLabel(int nIndex, const char* pszText);
    double GetLastValue(int nSeries) const;
    void Clear();
    void Draw() override;

    void OnMouseMove(uint32_t flags, int x, int y) override;
    void Move(int x, int y, int nWidth, int nHeight, bool bRedraw) override;
    void GetToolTipText(char* pszText) override;

    // Money in short form; bWhole keeps only the decimals the k, m and bn
    // forms need (2k, 1.5k, 2.25k), else there are two.
    static void FormatAxisValue(double dValue, char* pszBuffer, size_t nSize, bool bWhole);

    const Axis& GetAxis(bool bLeft) const { return bLeft ? m_LeftAxis : m_RightAxis; }
    const Series& GetSeries(int nSeries) const { return m_Series[nSeries]; }
    const std::vector<ItemLabel>& GetItemLabels() const { return m_ItemLabels; }
    int GetBarSeriesCount() const { return m_nBarSeries; }
    uint32_t GetStyle() const { return m_dwStyle; }
    bool IsRoundAxis(bool bLeft) const { return (bLeft ? m_bLeftRoundAxis : m_bRightRoundAxis) != 0; }
    int GetDivisions() const { return m_nDivisions; }
    // The y of a value on an axis in the newest drawing.
    int ValueY(bool bLeft, double dValue) const;

    char m_szRightCaption[GRAPH_CAPTION_SIZE] = {};
    char m_szLeftCaption[GRAPH_CAPTION_SIZE] = {};
    char m_szBottomCaption[GRAPH_CAPTION_SIZE] = {};

private:
    // Where an axis sits in the newest drawing.
    struct Scale {
        double dMinimum = 0.0;
        double dMaximum = 0.0;
        double dStep = 0.0;
        double dPixelsPerUnit = 0.0;
        bool bDownward = false;
    };
    bool SeriesIndexValid(int nSeries, const char* pszWhere) const;
    bool AxisHasValues(bool bLeft) const;
    void RoundAutomaticRange(Axis& axis) const;
    void RecomputeAutomaticRange(bool bLeft);
    double Converted(bool bLeft, double dValue) const;
    Scale ComputeScale(bool bLeft) const;
    int ZeroY(bool bLeft) const;
    void DrawAxes(plat::DeviceContext* pDC);
    void DrawAxisLabels(plat::DeviceContext* pDC, bool bLeft);
    void DrawHorizontalLabels(plat::DeviceContext* pDC);
    void DrawCaptions(plat::DeviceContext* pDC);
    void DrawBars(plat::DeviceContext* pDC);
    void DrawLines(plat::DeviceContext* pDC);
    plat::Font* LabelFont();
    plat::Font* EmptyTextFont();

    // The widest tick label of each axis in the newest drawing, and how far
    // left and right of the plot that drawing reached.
    int32_t m_nLeftLabelWidth = 0;
    int32_t m_nRightLabelWidth = 0;
    int32_t m_nDrawnLeft = 0;
    int32_t m_nDrawnRight = 0;
    int32_t m_nPlotLeft = 0;
    int32_t m_nPlotTop = 0;
    int32_t m_nPlotWidth = 0;
    int32_t m_nPlotHeight = 0;
    uint32_t m_dwStyle = GRAPH_RIGHT_AUTOMATIC;
    Axis m_LeftAxis;
    Axis m_RightAxis;
    double m_dLabelItemWidth = 0.0;
    int32_t m_nDivisions = 0;
    int32_t m_nEndValue = 0;
    uint8_t m_bReady = 0;
    uint8_t m_bLeftRoundAxis = 0;
    uint8_t m_bRightRoundAxis = 0;
    Series m_Series[GRAPH_SERIES_COUNT];
    COLORREF m_crLeftZero = 0;
    COLORREF m_crRightZero = 0;
    COLORREF m_crAxis = 0;
    COLORREF m_crLabel = 0;
    std::vector<ItemLabel> m_ItemLabels;
    Scale m_LeftScale;
    Scale m_RightScale;
    int32_t m_nMouseX = -1;
    int32_t m_nMouseY = -1;
    int32_t m_nBarSeries = 0;
    int32_t m_nBarGap = 0;
    std::unique_ptr<plat::Font> m_pLabelFont;
    std::unique_ptr<plat::Font> m_pEmptyTextFont;
};
