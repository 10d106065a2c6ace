#include "xframework/CXGraph.h"

#include "xframework/CXClient.h"
#include "xframework/CXEdit.h"

#include "common/DebugLog.h"
#include "platform/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

GraphEmptyTextLookup g_pfnGraphEmptyText = nullptr;

namespace {

// Labels and ticks are spread over (divisions - 1) gaps; one division would
// leave no gap, so it counts as two.
int Gaps(int nDivisions) { return std::max(1, nDivisions - 1); }

// A pixel position from a computed one; far-off values are pinned well
// outside any surface instead of overflowing.
int ToPixel(double dPosition)
{
    if (std::isnan(dPosition))
        return 0;
    return static_cast<int>(std::clamp(dPosition, -1.0e7, 1.0e7));
}

// The power of ten of a range end; ends below 1 in size count as 1.
double Magnitude(double dEnd)
{
    if (dEnd < 1.0)
        return 1.0;
    return std::pow(10.0, std::floor(std::log10(dEnd)));
}

// The most ticks an axis draws, so that a tiny step cannot stall a drawing.
constexpr int kMaxTicks = 200;

// Selects a pen and brush for the life of a block and puts back what was
// selected before.
class SelectedTools {
public:
    SelectedTools(plat::DeviceContext* pDC, plat::Pen* pPen, plat::Brush* pBrush) : m_pDC(pDC)
    {
        m_pOldPen = pDC->selectPen(pPen);
        if (pBrush)
            m_pOldBrush = pDC->selectBrush(pBrush);
        m_bBrush = pBrush != nullptr;
    }
    ~SelectedTools()
    {
        m_pDC->selectPen(m_pOldPen);
        if (m_bBrush)
            m_pDC->selectBrush(m_pOldBrush);
    }
    SelectedTools(const SelectedTools&) = delete;
    SelectedTools& operator=(const SelectedTools&) = delete;

private:
    plat::DeviceContext* m_pDC;
    plat::Pen* m_pOldPen = nullptr;
    plat::Brush* m_pOldBrush = nullptr;
    bool m_bBrush = false;
};

}  // namespace

CXGraph::CXGraph() { Clear(); }

CXGraph::~CXGraph() = default;

void CXGraph::SetUp(uint32_t dwStyle, COLORREF crAxis, COLORREF crLabel, double dLabelItemWidth,
                    COLORREF crLeftZero, COLORREF crRightZero)
{
    m_nPlotLeft = m_nLeft;
    m_nPlotTop = m_nTop;
    m_nPlotWidth = Width();
    m_nPlotHeight = Height();
    m_dwStyle = dwStyle;
    m_crAxis = crAxis;
    m_crLabel = crLabel;
    m_dLabelItemWidth = dLabelItemWidth;
    m_crLeftZero = crLeftZero;
    m_crRightZero = crRightZero;
}

void CXGraph::SetYRange(int nLeftMinimum, int nLeftMaximum, int nRightMinimum, int nRightMaximum, bool bEven,
                        bool bLeftRoundAxis, bool bRightRoundAxis)
{
    if (bEven) {
        nRightMinimum = (nRightMinimum | 1) - 1;
        nRightMaximum = (nRightMaximum | 1) + 1;
    }
    m_LeftAxis.nFixedMinimum = nLeftMinimum;
    m_LeftAxis.nFixedMaximum = nLeftMaximum;
    m_RightAxis.nFixedMinimum = nRightMinimum;
    m_RightAxis.nFixedMaximum = nRightMaximum;
    m_bLeftRoundAxis = bLeftRoundAxis ? 1 : 0;
    m_bRightRoundAxis = bRightRoundAxis ? 1 : 0;
}

void CXGraph::SetXAxis(int nDivisions, int nLeftLabelDivisions, int nRightLabelDivisions, int nEndValue)
{
    m_nDivisions = nDivisions;
    m_LeftAxis.nLabelDivisions = nLeftLabelDivisions;
    m_RightAxis.nLabelDivisions = nRightLabelDivisions;
    m_nEndValue = nEndValue;
}

bool CXGraph::SeriesIndexValid(int nSeries, const char* pszWhere) const
{
    if (nSeries >= 0 && nSeries < GRAPH_SERIES_COUNT)
        return true;
    DebugLog(0, "[CXGraph::%s] No series %d in graph %u", pszWhere, nSeries, m_dwID);
    return false;
}

void CXGraph::SetUpLine(uint32_t dwFlags, int nSeries, int nPenWidth, COLORREF crColour, int nKind, bool bLeftAxis,
                        bool bNormalised, double dItemWidth, int nSpare)
{
    if (!SeriesIndexValid(nSeries, "SetUpLine"))
        return;
    Series& series = m_Series[nSeries];
    series.dwFlags = dwFlags;
    series.nPenWidth = nPenWidth;
    series.crColour = crColour;
    series.nKind = nKind;
    series.bLeftAxis = bLeftAxis ? 1 : 0;
    series.bNormalised = bNormalised ? 1 : 0;
    series.dItemWidth = dItemWidth;
    series.nSpare = nSpare;
    series.bActive = 1;
    m_nBarSeries = 0;
    for (const Series& s : m_Series)
        m_nBarSeries += s.bActive && s.nKind == GRAPH_BARS;
    if (!bNormalised && dItemWidth == 0.0)
        DebugLog(0, "No item width supplied for unnormalised graph!  Graph ID is %d, Line is %d",
                 static_cast<int>(m_dwID), nSeries);
}

void CXGraph::RoundAutomaticRange(Axis& axis) const
{
    if (!(m_dwStyle & (GRAPH_LEFT_AUTOMATIC | GRAPH_RIGHT_AUTOMATIC)))
        return;
    const double dMinimum = std::trunc(axis.dAutoMinimum);
    const double dMaximum = std::trunc(axis.dAutoMaximum);
    double dStep = 250000.0;
    if (dMaximum < 10000.0)
        dStep = 500.0;
    else if (dMaximum < 100000.0)
        dStep = 1000.0;
    else if (dMaximum < 1000000.0)
        dStep = 100000.0;
    // Down to a whole step below the minimum, so that a negative minimum
    // stays inside the range as well.
    axis.dAutoMinimum = std::floor(dMinimum / dStep) * dStep;
    axis.dAutoMaximum = std::ceil(dMaximum / dStep) * dStep;
}

void CXGraph::SetSeriesHidden(int nSeries, bool bHidden)
{
    if (SeriesIndexValid(nSeries, "SetSeriesHidden"))
        m_Series[nSeries].bHidden = bHidden ? 1 : 0;
}

void CXGraph::AddValue(int nSeries, double dValue)
{
    if (!SeriesIndexValid(nSeries, "AddValue"))
        return;
    if (!std::isfinite(dValue)) {
        DebugLog(0, "[CXGraph::AddValue] Graph %u, series %d: a value that is not a number was left out", m_dwID,
                 nSeries);
        return;
    }
    Series& series = m_Series[nSeries];
    Axis& axis = series.bLeftAxis ? m_LeftAxis : m_RightAxis;
    if (axis.nValueCount == 0) {
        axis.dAutoMinimum = axis.dAutoMaximum = dValue;
    } else {
        axis.dAutoMinimum = std::min(axis.dAutoMinimum, dValue);
        axis.dAutoMaximum = std::max(axis.dAutoMaximum, dValue);
    }
    if (series.values.empty()) {
        series.dMinimum = series.dMaximum = dValue;
    } else {
        series.dMinimum = std::min(series.dMinimum, dValue);
        series.dMaximum = std::max(series.dMaximum, dValue);
    }
    ++axis.nValueCount;
    series.values.push_back(dValue);
    RoundAutomaticRange(axis);
    Draw();
}

void CXGraph::SetItemLabel(int nIndex, const char* pszText)
{
    ItemLabel label;
    label.nIndex = nIndex;
    std::snprintf(label.szText, sizeof label.szText, "%s", pszText ? pszText : "");
    auto it = std::find_if(m_ItemLabels.begin(), m_ItemLabels.end(),
                           [nIndex](const ItemLabel& l) { return l.nIndex >= nIndex; });
    if (it != m_ItemLabels.end() && it->nIndex == nIndex)
        *it = label;
    else
        m_ItemLabels.insert(it, label);
}

double CXGraph::GetLastValue(int nSeries) const
{
    if (!SeriesIndexValid(nSeries, "GetLastValue") || m_Series[nSeries].values.empty())
        return 0.0;
    return m_Series[nSeries].values.back();
}

void CXGraph::Clear()
{
    m_LeftAxis = Axis{};
    m_RightAxis = Axis{};
    m_nDivisions = 0;
    m_nEndValue = 0;
    m_dwStyle = GRAPH_RIGHT_AUTOMATIC;
    m_bReady = 1;
    for (Series& series : m_Series)
        series = Series{};
    m_ItemLabels.clear();
    m_szLeftCaption[0] = '\0';
    m_szRightCaption[0] = '\0';
    m_nBarSeries = 0;
}

void CXGraph::OnMouseMove(uint32_t flags, int x, int y)
{
    m_nMouseX = x;
    m_nMouseY = y;
    CXControl::OnMouseMove(flags, x, y);
}

void CXGraph::Move(int x, int y, int nWidth, int nHeight, bool bRedraw)
{
    CXControl::Move(x, y, nWidth, nHeight, bRedraw);
    m_nPlotLeft = m_nLeft;
    m_nPlotTop = m_nTop;
    m_nPlotWidth = Width();
    m_nPlotHeight = Height();
    if (bRedraw)
        Draw();
}

void CXGraph::GetToolTipText(char* pszText)
{
    // The mouse comes relative to the control, which is the plot area.
    for (const Series& series : m_Series) {
        if (!series.bActive)
            continue;
        for (const HotSpot& spot : series.hotSpots)
            if (m_nMouseX >= spot.rc.left && m_nMouseX <= spot.rc.right && m_nMouseY >= spot.rc.top &&
                m_nMouseY <= spot.rc.bottom)
                std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", spot.szText);
    }
}

void CXGraph::FormatAxisValue(double dValue, char* pszBuffer, size_t nSize, bool bWhole)
{
    const double dSize = std::fabs(dValue);
    const char* pszUnit = "";
    double dShort = dValue;
    if (dSize >= 1000000000.0) {
        pszUnit = "bn";
        dShort = dValue * 1e-9;
    } else if (dSize >= 1000000.0) {
        pszUnit = "m";
        dShort = dValue * 1e-6;
    } else if (dSize >= 1000.0) {
        pszUnit = "k";
        dShort = dValue * 0.001;
    } else {
        std::snprintf(pszBuffer, nSize, "%.0f", dValue);
        return;
    }
    // A whole axis keeps only the decimals its value needs: a step between
    // thousands (1,500) would otherwise read as the next one (2k).
    int nDecimals = 2;
    if (bWhole)
        for (nDecimals = 0; nDecimals < 2; ++nDecimals) {
            const double dScaled = dShort * std::pow(10.0, nDecimals);
            if (std::fabs(dScaled - std::round(dScaled)) < 1e-6)
                break;
        }
    std::snprintf(pszBuffer, nSize, "%.*f%s", nDecimals, dShort, pszUnit);
}

bool CXGraph::AxisHasValues(bool bLeft) const
{
    if ((bLeft ? m_LeftAxis : m_RightAxis).nValueCount == 0)
        return false;
    for (const Series& series : m_Series)
        if (series.bActive && (series.bLeftAxis != 0) == bLeft)
            return true;
    return false;
}

void CXGraph::RecomputeAutomaticRange(bool bLeft)
{
    if (!(m_dwStyle & (bLeft ? GRAPH_LEFT_AUTOMATIC : GRAPH_RIGHT_AUTOMATIC)))
        return;
    Axis& axis = bLeft ? m_LeftAxis : m_RightAxis;
    bool bAny = false;
    for (const Series& series : m_Series) {
        if (!series.bActive || (series.bLeftAxis != 0) != bLeft)
            continue;
        for (double dValue : series.values) {
            axis.dAutoMinimum = bAny ? std::min(axis.dAutoMinimum, dValue) : dValue;
            axis.dAutoMaximum = bAny ? std::max(axis.dAutoMaximum, dValue) : dValue;
            bAny = true;
        }
    }
    if (!bAny)
        return;
    RoundAutomaticRange(axis);
    if (axis.dAutoMinimum == axis.dAutoMaximum) {
        const double dValue = axis.dAutoMinimum;
        if (dValue > 0.0) {
            axis.dAutoMinimum = 0.0;
            axis.dAutoMaximum = 2.0 * dValue;
        } else if (dValue < 0.0) {
            axis.dAutoMinimum = 2.0 * dValue;
            axis.dAutoMaximum = 0.0;
        } else {
            axis.dAutoMinimum = -1.0;
            axis.dAutoMaximum = 1.0;
        }
    }
}

double CXGraph::Converted(bool bLeft, double dValue) const
{
    const bool bConvert = m_dwStyle & (bLeft ? GRAPH_LEFT_CURRENCY : GRAPH_RIGHT_CURRENCY);
    return bConvert && g_pfnConvertCurrency ? g_pfnConvertCurrency(dValue) : dValue;
}

CXGraph::Scale CXGraph::ComputeScale(bool bLeft) const
{
    const Axis& axis = bLeft ? m_LeftAxis : m_RightAxis;
    const bool bAutomatic = m_dwStyle & (bLeft ? GRAPH_LEFT_AUTOMATIC : GRAPH_RIGHT_AUTOMATIC);
    const bool bRound = bLeft ? m_bLeftRoundAxis : m_bRightRoundAxis;
    Scale scale;
    scale.bDownward = m_dwStyle & (bLeft ? GRAPH_LEFT_DOWNWARD : GRAPH_RIGHT_DOWNWARD);
    scale.dMinimum = Converted(bLeft, bAutomatic ? axis.dAutoMinimum : axis.nFixedMinimum);
    scale.dMaximum = Converted(bLeft, bAutomatic ? axis.dAutoMaximum : axis.nFixedMaximum);
    const int nGaps = Gaps(axis.nLabelDivisions);
    if (bRound) {
        // A negative maximum under a negative minimum counts as 0.
        const double dTop = scale.dMaximum < 0.0 && scale.dMinimum < 0.0 ? 0.0 : scale.dMaximum;
        const double dTopMagnitude = Magnitude(std::ceil(dTop));
        const double dBottomMagnitude = Magnitude(std::floor(std::fabs(scale.dMinimum)));
        scale.dMaximum = std::ceil(dTop / dTopMagnitude) * dTopMagnitude;
        scale.dMinimum = std::floor(scale.dMinimum / dBottomMagnitude) * dBottomMagnitude;
    }
    // Every value lies between the ends, whatever their signs.
    const double dRange = scale.dMaximum - scale.dMinimum;
    if (!bRound && !bAutomatic && !(m_dwStyle & (bLeft ? GRAPH_LEFT_CURRENCY : GRAPH_RIGHT_CURRENCY)))
        scale.dStep = static_cast<double>(static_cast<int64_t>(dRange) / nGaps);
    else
        scale.dStep = dRange / nGaps;
    scale.dPixelsPerUnit = dRange > 0.0 ? m_nPlotHeight / dRange : 0.0;
    return scale;
}

int CXGraph::ValueY(bool bLeft, double dValue) const
{
    const Scale& scale = bLeft ? m_LeftScale : m_RightScale;
    const double dOffset = (dValue - scale.dMinimum) * scale.dPixelsPerUnit;
    if (scale.bDownward)
        return m_nPlotTop + ToPixel(dOffset);
    return m_nPlotTop + m_nPlotHeight - ToPixel(dOffset);
}

int CXGraph::ZeroY(bool bLeft) const
{
    const Scale& scale = bLeft ? m_LeftScale : m_RightScale;
    return ValueY(bLeft, std::clamp(0.0, scale.dMinimum, std::max(scale.dMinimum, scale.dMaximum)));
}

plat::Font* CXGraph::LabelFont()
{
    if (!m_pLabelFont)
        m_pLabelFont.reset(plat::Font::create(12, 300, "Arial"));
    return m_pLabelFont.get();
}

plat::Font* CXGraph::EmptyTextFont()
{
    if (!m_pEmptyTextFont)
        m_pEmptyTextFont.reset(plat::Font::create(18, 300, "Arial"));
    return m_pEmptyTextFont.get();
}

void CXGraph::Draw()
{
    if (!m_bVisible || !m_bReady || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    RecomputeAutomaticRange(true);
    RecomputeAutomaticRange(false);
    m_LeftScale = ComputeScale(true);
    m_RightScale = ComputeScale(false);
    // The tooltips follow this drawing only.
    for (Series& series : m_Series)
        series.hotSpots.clear();
    // The last drawing's captions may lie further out than the usual margins.
    const int nRestoreLeft = std::min(m_nPlotLeft - 35, m_nDrawnLeft);
    const int nRestoreRight = std::max(m_nPlotLeft + m_nPlotWidth + 45, m_nDrawnRight);
    if (m_pOwner)
        m_pOwner->RestoreBackground(nRestoreLeft, m_nPlotTop - 10, nRestoreRight - nRestoreLeft, m_nPlotHeight + 35);
    m_nLeftLabelWidth = m_nRightLabelWidth = 0;
    m_nDrawnLeft = m_nPlotLeft - 35;
    m_nDrawnRight = m_nPlotLeft + m_nPlotWidth + 45;
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    const int nOldMode = pDC->setBkMode(plat::TRANSPARENT);
    const uint32_t nOldAlign = pDC->setTextAlign(plat::TA_LEFT | plat::TA_TOP);
    DrawAxes(pDC);
    if (AxisHasValues(true) || AxisHasValues(false)) {
        DrawBars(pDC);
        DrawLines(pDC);
    }
    pDC->setTextAlign(nOldAlign);
    pDC->setBkMode(nOldMode);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
}

void CXGraph::DrawAxes(plat::DeviceContext* pDC)
{
    const int nBottom = m_nPlotTop + m_nPlotHeight;
    const int nRight = m_nPlotLeft + m_nPlotWidth;
    plat::Pen axisPen(plat::PS_SOLID, 1, m_crAxis);
    {
        SelectedTools tools(pDC, &axisPen, nullptr);
        pDC->moveTo(m_nPlotLeft, m_nPlotTop);
        pDC->lineTo(m_nPlotLeft, nBottom);
        pDC->lineTo(nRight, nBottom);
        if (m_dwStyle & GRAPH_RIGHT_AXIS_DRAWN)
            pDC->lineTo(nRight, m_nPlotTop);
    }
    const bool bLeftValues = AxisHasValues(true);
    const bool bRightValues = AxisHasValues(false);
    if (!bLeftValues && !bRightValues) {
        const char* pszEmpty = g_pfnGraphEmptyText ? g_pfnGraphEmptyText() : nullptr;
        if (pszEmpty && EmptyTextFont()) {
            plat::Font* pOld = pDC->selectFont(EmptyTextFont());
            pDC->setTextColor(m_crLabel);
            const uint32_t nOldAlign = pDC->setTextAlign(plat::TA_CENTER | plat::TA_TOP);
            pDC->textOut(m_nPlotLeft + m_nPlotWidth / 2, m_nPlotTop + (m_nPlotHeight - EmptyTextFont()->cellHeight()) / 2,
                         pszEmpty);
            pDC->setTextAlign(nOldAlign);
            pDC->selectFont(pOld);
        }
        DrawCaptions(pDC);
        return;
    }
    if (bLeftValues)
        DrawAxisLabels(pDC, true);
    if ((m_dwStyle & GRAPH_RIGHT_AXIS_DRAWN) && bRightValues)
        DrawAxisLabels(pDC, false);
    const struct {
        bool bLeft;
        uint32_t dwStyle;
        int nPenStyle;
        COLORREF crColour;
        int nFrom;
        int nTo;
    } zeroLines[] = {
        {true, GRAPH_LEFT_ZERO_LINE, plat::PS_DASHDOT, m_crLeftZero, m_nPlotLeft - 3, nRight},
        {false, GRAPH_RIGHT_ZERO_LINE, plat::PS_DOT, m_crRightZero, nRight + 3, m_nPlotLeft},
    };
    for (const auto& line : zeroLines) {
        const Scale& scale = line.bLeft ? m_LeftScale : m_RightScale;
        if (!(m_dwStyle & line.dwStyle) || !(scale.dMinimum < 0.0 && scale.dMaximum > 0.0))
            continue;
        plat::Pen pen(line.nPenStyle, 1, line.crColour);
        SelectedTools tools(pDC, &pen, nullptr);
        const int y = ZeroY(line.bLeft);
        pDC->moveTo(line.nFrom, y);
        pDC->lineTo(line.nTo, y);
    }
    DrawHorizontalLabels(pDC);
    DrawCaptions(pDC);
}

void CXGraph::DrawAxisLabels(plat::DeviceContext* pDC, bool bLeft)
{
    const Axis& axis = bLeft ? m_LeftAxis : m_RightAxis;
    const Scale& scale = bLeft ? m_LeftScale : m_RightScale;
    if (axis.nLabelDivisions == 0)
        return;
    plat::Font* pFont = LabelFont();
    plat::Pen axisPen(plat::PS_SOLID, 1, m_crAxis);
    SelectedTools tools(pDC, &axisPen, nullptr);
    plat::Font* pOldFont = pFont ? pDC->selectFont(pFont) : nullptr;
    pDC->setTextColor(m_crLabel);
    const int nRight = m_nPlotLeft + m_nPlotWidth;
    const bool bWhole = bLeft ? m_bLeftRoundAxis : m_bRightRoundAxis;
    const int nTicks = scale.dStep > 0.0 ? kMaxTicks : 1;
    for (int i = 0; i < nTicks; ++i) {
        const double dValue = scale.dMinimum + i * scale.dStep;
        if (i > 0 && dValue > scale.dMaximum + scale.dStep / 2)
            break;
        const int y = ValueY(bLeft, dValue);
        char szText[32];
        FormatAxisValue(dValue, szText, sizeof szText, bWhole);
        if (bLeft) {
            pDC->moveTo(m_nPlotLeft - 3, y);
            pDC->lineTo(m_nPlotLeft, y);
        } else {
            pDC->moveTo(nRight + 3, y);
            pDC->lineTo(nRight, y);
        }
        if (!pFont)
            continue;
        plat::Size size{0, 0};
        pDC->getTextExtentPoint(szText, -1, &size);
        int32_t& nWidest = bLeft ? m_nLeftLabelWidth : m_nRightLabelWidth;
        nWidest = std::max<int32_t>(nWidest, size.cx);
        const int x = bLeft ? m_nPlotLeft - size.cx - 5 : nRight + 7;
        // A wide label reaches past the usual margin: the next drawing
        // clears as far out, or its digits show through the new label.
        if (bLeft)
            m_nDrawnLeft = std::min(m_nDrawnLeft, x);
        else
            m_nDrawnRight = std::max(m_nDrawnRight, x + size.cx);
        pDC->textOut(x, y - size.cy / 2, szText);
    }
    if (pFont)
        pDC->selectFont(pOldFont);
}

void CXGraph::DrawHorizontalLabels(plat::DeviceContext* pDC)
{
    if (m_nDivisions == 0)
        return;
    plat::Font* pFont = LabelFont();
    plat::Pen axisPen(plat::PS_SOLID, 1, m_crAxis);
    SelectedTools tools(pDC, &axisPen, nullptr);
    plat::Font* pOldFont = pFont ? pDC->selectFont(pFont) : nullptr;
    pDC->setTextColor(m_crLabel);
    const int nBottom = m_nPlotTop + m_nPlotHeight;
    const int nGaps = Gaps(m_nDivisions);
    const int nDivisionWidth = m_nPlotWidth / nGaps;
    auto label = [&](int x, const char* pszText) {
        pDC->moveTo(x, nBottom + 3);
        pDC->lineTo(x, nBottom);
        if (pFont)
            pDC->textOut(x, nBottom + 4, pszText);
    };
    if (!(m_dwStyle & GRAPH_ITEM_LABELS)) {
        for (int i = 0; i <= nGaps; ++i) {
            char szText[32];
            std::snprintf(szText, sizeof szText, "%.0f", static_cast<double>(m_nEndValue) / nGaps * i);
            label(m_nPlotLeft + nDivisionWidth * i, szText);
        }
    } else {
        // Items close together (a month with few match days) keep their
        // tick, but a label that would run into the one before it is left out.
        constexpr int kLabelGap = 4;
        int nFreeFrom = m_nPlotLeft - kLabelGap;
        for (const ItemLabel& item : m_ItemLabels) {
            const int nOffset = (m_dwStyle & GRAPH_ITEM_LABELS_BY_DIVISION)
                                    ? nDivisionWidth * item.nIndex
                                    : ToPixel(item.nIndex * m_dLabelItemWidth);
            const int x = m_nPlotLeft + nOffset;
            plat::Size size{0, 0};
            if (pFont)
                pDC->getTextExtentPoint(item.szText, -1, &size);
            if (x < nFreeFrom) {
                pDC->moveTo(x, nBottom + 3);
                pDC->lineTo(x, nBottom);
                continue;
            }
            label(x, item.szText);
            nFreeFrom = x + size.cx + kLabelGap;
        }
    }
    if (pFont)
        pDC->selectFont(pOldFont);
}

void CXGraph::DrawCaptions(plat::DeviceContext* pDC)
{
    plat::Font* pFont = LabelFont();
    if (!pFont)
        return;
    plat::Font* pOldFont = pDC->selectFont(pFont);
    pDC->setTextColor(m_crLabel);
    plat::Size size{0, 0};
    // Upright captions stand clear of the widest tick label beside them.
    constexpr int kCaptionGap = 3;
    if (m_szLeftCaption[0]) {
        pDC->getTextExtentPoint(m_szLeftCaption, -1, &size);
        const int x = std::min(m_nPlotLeft - 26, m_nPlotLeft - 5 - m_nLeftLabelWidth - kCaptionGap - size.cy);
        const uint32_t nOld = pDC->setTextAlign(plat::TA_RIGHT | plat::TA_TOP);
        pDC->textOutRotated(x, m_nPlotTop + (m_nPlotHeight - size.cx) / 2, 90, m_szLeftCaption);
        pDC->setTextAlign(nOld);
        m_nDrawnLeft = std::min(m_nDrawnLeft, x);
    }
    if (m_szRightCaption[0]) {
        pDC->getTextExtentPoint(m_szRightCaption, -1, &size);
        const int nRight = m_nPlotLeft + m_nPlotWidth;
        const int x = std::max(nRight + 26, nRight + 7 + m_nRightLabelWidth + kCaptionGap + size.cy);
        pDC->textOutRotated(x, m_nPlotTop + (m_nPlotHeight - size.cx) / 2, 270, m_szRightCaption);
        m_nDrawnRight = std::max(m_nDrawnRight, x + 1);
    }
    if (m_szBottomCaption[0]) {
        pDC->getTextExtentPoint(m_szBottomCaption, -1, &size);
        pDC->textOut(m_nPlotLeft + m_nPlotWidth / 2 - 26, m_nPlotTop + m_nPlotHeight + size.cy, m_szBottomCaption);
    }
    pDC->selectFont(pOldFont);
}

void CXGraph::DrawBars(plat::DeviceContext* pDC)
{
    int nDrawn = 0;
    for (Series& series : m_Series) {
        if (!series.bActive || series.bHidden || series.nKind != GRAPH_BARS || series.values.empty())
            continue;
        const bool bLeft = series.bLeftAxis;
        const double dSlot = series.bNormalised
                                 ? static_cast<double>(m_nPlotWidth / static_cast<int>(series.values.size()))
                                 : series.dItemWidth;
        const double dBarWidth = (dSlot - m_nBarGap) / std::max(1, static_cast<int>(m_nBarSeries));
        const int nZeroY = ZeroY(bLeft);
        std::unique_ptr<plat::Brush> pBrush(plat::Brush::createSolid(series.crColour));
        SelectedTools tools(pDC, plat::Pen::null(), pBrush.get());
        for (size_t i = 0; i < series.values.size(); ++i) {
            const int x1 = ToPixel(m_nPlotLeft + 2 + i * dSlot + nDrawn * dBarWidth);
            if (x1 > m_nPlotLeft + m_nPlotWidth)
                break;
            const int x2 = ToPixel(m_nPlotLeft + 1 + i * dSlot + (nDrawn + 1) * dBarWidth);
            const double dValue = Converted(bLeft, std::trunc(series.values[i]));
            const int y = std::clamp(ValueY(bLeft, dValue), m_nPlotTop, m_nPlotTop + m_nPlotHeight);
            const int nTop = std::min(y, nZeroY), nBottom = std::max(y, nZeroY);
            pDC->rectangle(x1, nTop, x2, nBottom);
            HotSpot spot;
            spot.rc = {x1 - m_nPlotLeft, nTop - m_nPlotTop, x2 - m_nPlotLeft, nBottom - m_nPlotTop};
            FormatAxisValue(dValue, spot.szText, sizeof spot.szText, false);
            series.hotSpots.push_back(spot);
        }
        ++nDrawn;
    }
}

void CXGraph::DrawLines(plat::DeviceContext* pDC)
{
    for (Series& series : m_Series) {
        if (!series.bActive || series.bHidden || series.nKind == GRAPH_BARS || series.values.empty())
            continue;
        const bool bLeft = series.bLeftAxis;
        // A single value has no gap to spread over; it sits at the left.
        const size_t nGaps = series.values.size() - 1;
        const double dSlot = (series.dwFlags & GRAPH_SERIES_BY_DIVISION)
                                 ? static_cast<double>(m_nPlotWidth) / Gaps(m_nDivisions)
                             : !series.bNormalised ? series.dItemWidth
                             : nGaps > 0           ? static_cast<double>(m_nPlotWidth) / static_cast<double>(nGaps)
                                                   : static_cast<double>(m_nPlotWidth);
        const int nShift = (series.dwFlags & GRAPH_SERIES_CENTRED_POINTS) ? 2 + ToPixel(dSlot / 2) : 0;
        plat::Pen pen(plat::PS_SOLID, series.nPenWidth, series.crColour);
        std::unique_ptr<plat::Brush> pBrush(plat::Brush::createSolid(series.crColour));
        plat::Pen markerPen(plat::PS_SOLID, 1, series.crColour);
        {
            SelectedTools tools(pDC, &pen, nullptr);
            for (size_t i = 0; i < series.values.size(); ++i) {
                const int x = m_nPlotLeft + ToPixel(i * dSlot) + nShift;
                const double dValue = Converted(bLeft, series.values[i]);
                // A value beyond the axis is drawn on the plot's edge, never
                // over the screen around it.
                const int y = std::clamp(ValueY(bLeft, dValue), m_nPlotTop, m_nPlotTop + m_nPlotHeight);
                if (i == 0)
                    pDC->moveTo(x, y);
                else
                    pDC->lineTo(x, y);
                HotSpot spot;
                spot.rc = {x - 2 - m_nPlotLeft, y - 2 - m_nPlotTop, x + 2 - m_nPlotLeft, y + 2 - m_nPlotTop};
                FormatAxisValue(dValue, spot.szText, sizeof spot.szText, false);
                series.hotSpots.push_back(spot);
            }
        }
        // A lone value has no line to draw; it shows as a point.
        if (series.nKind == GRAPH_LINE_WITH_POINTS || series.values.size() == 1) {
            SelectedTools tools(pDC, &markerPen, pBrush.get());
            for (const HotSpot& spot : series.hotSpots)
                pDC->rectangle(spot.rc.left + m_nPlotLeft, spot.rc.top + m_nPlotTop, spot.rc.right + m_nPlotLeft,
                               spot.rc.bottom + m_nPlotTop);
        }
    }
}
