// A screen's lists, trees and graphs as printed pages: tables with their
// caption and column headings (again on every page), plain text wrapped
// within a frame, and graphs as a full-page chart with hatched bars.
#include "xframework/CXClient.h"

#include "xframework/CPrintJob.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXTreeView.h"

#include "common/DebugLog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kRowFont = 3;
constexpr int kHeadingFont = 2;
constexpr int kGraphFont = 4;

// One heading of a printed table: its place on the page, text and alignment.
struct PrintedColumn {
    double dLeft;
    double dRight;
    std::string heading;
    int nAlignment;
};

const char* CaptionOf(uint32_t dwID)
{
    const char* pszText = g_pfnControlCaptionText ? g_pfnControlCaptionText(dwID) : nullptr;
    return pszText ? pszText : "";
}

class TablePrinter {
public:
    TablePrinter(CPrintJob& job, double& y, int& nLine) : m_Job(job), m_y(y), m_nLine(nLine) {}

    void Begin(const char* pszCaption, std::vector<PrintedColumn> columns)
    {
        m_Caption = pszCaption;
        m_Columns = std::move(columns);
        Headings();
    }
    void Row(const std::vector<std::string>& cells)
    {
        if (m_nLine >= CPrintJob::LinesPerPage()) {
            m_Job.NextPage();
            m_y = CPrintJob::kTopMargin;
            m_nLine = 0;
            Headings();
        }
        m_Job.SelectFont(kRowFont);
        for (size_t i = 0; i < m_Columns.size() && i < cells.size(); ++i)
            m_Job.Text(cells[i].c_str(), m_Columns[i].dLeft + 2, m_Columns[i].dRight - 2, Baseline(),
                       m_Columns[i].nAlignment);
        Advance();
    }
    // The line after a table stays empty.
    void End() { Advance(); }

private:
    double Baseline() const { return m_y + m_Job.LineHeight(kRowFont) - 3; }
    void Advance()
    {
        m_y += m_Job.LineHeight(kRowFont);
        ++m_nLine;
    }
    void Headings()
    {
        const double dHeight = m_Job.LineHeight(kHeadingFont);
        m_Job.SelectFont(kHeadingFont);
        m_Job.Frame(CPrintJob::kLeftMargin, m_y, CPrintJob::kRightEdge - CPrintJob::kLeftMargin, dHeight);
        m_Job.Text(m_Caption.c_str(), CPrintJob::kLeftMargin + 4, CPrintJob::kRightEdge - 4, Baseline(), 0);
        Advance();
        for (const PrintedColumn& column : m_Columns) {
            m_Job.Frame(column.dLeft, m_y, column.dRight - column.dLeft, dHeight);
            m_Job.Text(column.heading.c_str(), column.dLeft + 2, column.dRight - 2, Baseline(), column.nAlignment);
        }
        Advance();
    }

    CPrintJob& m_Job;
    double& m_y;
    int& m_nLine;
    std::string m_Caption;
    std::vector<PrintedColumn> m_Columns;
};

double Scaled(int nX, int nWidth)
{
    const double dScale = (CPrintJob::kRightEdge - CPrintJob::kLeftMargin) / std::max(1, nWidth);
    return CPrintJob::kLeftMargin + nX * dScale;
}

int PrintedAlignment(uint8_t byAlignment) { return byAlignment == 2 ? 2 : byAlignment == 6 || byAlignment == 'y' ? 6 : 0; }

std::vector<std::string> SplitFields(const char* pszText)
{
    std::vector<std::string> fields(1);
    for (const char* p = pszText; *p; ++p) {
        if (*p == '\t')
            fields.emplace_back();
        else
            fields.back() += *p;
    }
    return fields;
}

void PrintListTable(CPrintJob& job, const CXListBox& list, double& y, int& nLine)
{
    const LISTCOLUMN* pColumns = list.GetColumns();
    std::vector<PrintedColumn> columns;
    for (int i = 0; pColumns && i < list.GetColumnCount(); ++i) {
        const LISTCOLUMN& column = pColumns[i];
        if (column.byAlignment == 'x')
            continue;
        columns.push_back({Scaled(column.nLeft, list.Width()), Scaled(column.nRight, list.Width()),
                           column.wHeaderID ? CaptionOf(column.wHeaderID) : "", PrintedAlignment(column.byAlignment)});
    }
    TablePrinter table(job, y, nLine);
    table.Begin(CaptionOf(list.m_dwID), columns);
    for (int nRow = 0; nRow < list.GetCount(); ++nRow) {
        std::vector<std::string> cells;
        for (int i = 0; pColumns && i < list.GetColumnCount(); ++i) {
            if (pColumns[i].byAlignment == 'x')
                continue;
            char szCell[LISTBOX_ROW_TEXT_SIZE] = {};
            list.GetColumnText(nRow, i, szCell);
            cells.emplace_back(szCell);
        }
        table.Row(cells);
    }
    table.End();
}

// A list without columns: its rows as running text, wrapped at words, in a
// frame; plain text does not break pages.
void PrintPlainText(CPrintJob& job, const CXListBox& list, double& y, int& nLine)
{
    const double dTop = y;
    const double dLeft = CPrintJob::kLeftMargin + 4;
    const double dRight = CPrintJob::kRightEdge - 2;
    const double dLine = job.LineHeight(kRowFont);
    job.SelectFont(kRowFont);
    double x = dLeft;
    auto newLine = [&] {
        x = dLeft;
        y += dLine;
        ++nLine;
    };
    for (int nRow = 0; nRow < list.GetCount(); ++nRow) {
        char szRow[LISTBOX_ROW_TEXT_SIZE] = {};
        list.GetString(nRow, szRow);
        if (!*szRow) {
            newLine();
            continue;
        }
        std::string word;
        const size_t nLength = std::strlen(szRow);
        for (size_t i = 0; i <= nLength; ++i) {
            const char c = szRow[i];
            if (c)
                word += c;
            if (c && c != ' ' && c != '.' && c != ',')
                continue;
            const double dWidth = job.TextWidth(word.c_str());
            if (x + dWidth > dRight && x > dLeft)
                newLine();
            job.Text(word.c_str(), x, dRight, y + dLine - 3, 0);
            x += dWidth;
            word.clear();
        }
        newLine();
    }
    job.Frame(CPrintJob::kLeftMargin, dTop, CPrintJob::kRightEdge - CPrintJob::kLeftMargin, y - dTop);
}

void PrintTree(CPrintJob& job, const CXTreeView& tree, double& y, int& nLine)
{
    const TREECOLUMN* pColumns = tree.GetColumns();
    std::vector<PrintedColumn> columns;
    for (int i = 0; pColumns && i < tree.GetColumnCount(); ++i)
        columns.push_back({Scaled(pColumns[i].wLeft, tree.Width()), Scaled(pColumns[i].wRight, tree.Width()),
                           CaptionOf(pColumns[i].dwCaptionID), 0});
    if (columns.empty())
        columns.push_back({CPrintJob::kLeftMargin, CPrintJob::kRightEdge, "", 0});
    TablePrinter table(job, y, nLine);
    table.Begin(CaptionOf(tree.m_dwID), columns);
    for (int i = 0; i < tree.GetCount(); ++i) {
        const CXTreeView::Item* pItem = tree.GetItemAt(i);
        std::vector<std::string> cells = SplitFields(pItem->szText);
        // Each level one step further in.
        cells[0] = std::string(2u * pItem->byLevel, ' ') + cells[0];
        table.Row(cells);
    }
    table.End();
}

void PrintGraph(CPrintJob& job, const CXGraph& graph)
{
    const double dInset = 24.0;
    const double dLeft = CPrintJob::kLeftMargin + dInset, dRight = CPrintJob::kRightEdge - dInset;
    const double dTop = CPrintJob::kTopMargin + dInset, dBottom = CPrintJob::kBottomEdge - dInset;
    const double dTick = 2.0;
    job.SelectFont(kGraphFont);
    job.Frame(dLeft, dTop, dRight - dLeft, dBottom - dTop);
    const uint32_t dwStyle = graph.GetStyle();
    auto range = [&](bool bLeft, double& dMinimum, double& dMaximum) {
        const CXGraph::Axis& axis = graph.GetAxis(bLeft);
        const bool bAutomatic = (dwStyle & (bLeft ? GRAPH_LEFT_AUTOMATIC : GRAPH_RIGHT_AUTOMATIC)) != 0;
        dMinimum = bAutomatic ? axis.dAutoMinimum : axis.nFixedMinimum;
        dMaximum = bAutomatic ? axis.dAutoMaximum : axis.nFixedMaximum;
        if (dMaximum <= dMinimum)
            dMaximum = dMinimum + 1;
    };
    auto labels = [&](bool bLeft, double x, int nAlignment) {
        double dMinimum = 0, dMaximum = 0;
        range(bLeft, dMinimum, dMaximum);
        char szValue[32];
        const double dEdge = bLeft ? x - dTick : x + dTick;
        job.Line(x, dBottom, dEdge, dBottom, 0, false);
        job.Line(x, dTop, dEdge, dTop, 0, false);
        CXGraph::FormatAxisValue(dMinimum, szValue, sizeof szValue, graph.IsRoundAxis(bLeft));
        job.Text(szValue, bLeft ? CPrintJob::kLeftMargin : x + 2 * dTick, bLeft ? x - 2 * dTick : CPrintJob::kRightEdge,
                 dBottom, nAlignment);
        CXGraph::FormatAxisValue(dMaximum, szValue, sizeof szValue, graph.IsRoundAxis(bLeft));
        job.Text(szValue, bLeft ? CPrintJob::kLeftMargin : x + 2 * dTick, bLeft ? x - 2 * dTick : CPrintJob::kRightEdge,
                 dTop + 6, nAlignment);
    };
    labels(true, dLeft, 2);
    if (dwStyle & GRAPH_RIGHT_AXIS_DRAWN)
        labels(false, dRight, 0);
    const int nDivisions = std::max(1, graph.GetDivisions());
    const double dSlot = (dRight - dLeft) / nDivisions;
    for (const CXGraph::ItemLabel& label : graph.GetItemLabels())
        job.Text(label.szText, dLeft + label.nIndex * dSlot, dLeft + (label.nIndex + 1) * dSlot,
                 dBottom + job.LineHeight(kGraphFont), 6);

    // Bars from 0, side by side in each slot; then the lines.
    const int nBars = std::max(1, graph.GetBarSeriesCount());
    int nBar = 0;
    for (int nSeries = 0; nSeries < GRAPH_SERIES_COUNT; ++nSeries) {
        const CXGraph::Series& series = graph.GetSeries(nSeries);
        if (!series.bActive || series.nKind != GRAPH_BARS)
            continue;
        double dMinimum = 0, dMaximum = 0;
        range(series.bLeftAxis != 0, dMinimum, dMaximum);
        const double dUnit = (dBottom - dTop) / dMaximum;
        for (size_t j = 0; j < series.values.size(); ++j) {
            const double dValue = std::clamp(std::trunc(series.values[j]), 0.0, dMaximum);
            const double x0 = dLeft + 2 + (nBar + static_cast<double>(j) * nBars) * (dSlot / nBars);
            const double x1 = dLeft - 2 + (nBar + static_cast<double>(j) * nBars + 1) * (dSlot / nBars);
            if (x1 > x0 && dValue > 0)
                job.HatchedBar(x0, dBottom - dValue * dUnit, x1, dBottom - 2, series.crColour);
        }
        ++nBar;
    }
    for (int nSeries = 0; nSeries < GRAPH_SERIES_COUNT; ++nSeries) {
        const CXGraph::Series& series = graph.GetSeries(nSeries);
        if (!series.bActive || series.nKind == GRAPH_BARS || series.values.empty())
            continue;
        double dMinimum = 0, dMaximum = 0;
        range(series.bLeftAxis != 0, dMinimum, dMaximum);
        std::vector<double> points;
        const double dStep = series.values.size() > 1 ? (dRight - dLeft) / (series.values.size() - 1) : 0;
        for (size_t j = 0; j < series.values.size(); ++j) {
            const double dValue = std::clamp(series.values[j], dMinimum, dMaximum);
            points.push_back(dLeft + j * dStep);
            points.push_back(dBottom - (dValue - dMinimum) / (dMaximum - dMinimum) * (dBottom - dTop));
        }
        job.Polyline(points.data(), static_cast<int>(series.values.size()), series.crColour,
                     std::max(0.5, series.nPenWidth * 0.5));
    }
}

bool IsPrintable(uint8_t byType) { return byType == XCONTROL_LISTBOX || byType == XCONTROL_LISTBOXEX || byType == XCONTROL_TREEVIEW || byType == XCONTROL_GRAPH; }

// Lines a list or tree takes, its caption and headings included.
int PrintedLines(const CXControl* pControl, uint8_t byType)
{
    if (byType == XCONTROL_TREEVIEW)
        return static_cast<const CXTreeView*>(pControl)->GetCount() + 2;
    return static_cast<const CXListBox*>(pControl)->GetCount() + 2;
}

}  // namespace

bool CXClient::PrintControl(uint32_t dwID)
{
    CXControl* pControl = FindControl(dwID);
    const uint8_t byType = pControl ? ControlType(pControl) : 0;
    if (!pControl || !pControl->m_bVisible || !IsPrintable(byType))
        return false;
    int nPages = 1;
    if (byType != XCONTROL_GRAPH) {
        const int nPerPage = CPrintJob::LinesPerPage();
        const int nRows = PrintedLines(pControl, byType) - 2;
        nPages = std::max(1, (nRows + nPerPage - 1) / nPerPage);
        nPages = std::max(nPages, (nRows + 2 * nPages + nPerPage - 1) / nPerPage);
    }
    CPrintJob job;
    std::string error;
    if (!job.Start(nPages, error)) {
        DebugLog(0, "[CXClient::PrintControl] %s", error.c_str());
        OnPrintError(-1);
        return false;
    }
    double y = CPrintJob::kTopMargin;
    int nLine = 0;
    if (byType == XCONTROL_GRAPH)
        PrintGraph(job, *static_cast<CXGraph*>(pControl));
    else if (byType == XCONTROL_TREEVIEW)
        PrintTree(job, *static_cast<CXTreeView*>(pControl), y, nLine);
    else if (static_cast<CXListBox*>(pControl)->GetColumns())
        PrintListTable(job, *static_cast<CXListBox*>(pControl), y, nLine);
    else
        PrintPlainText(job, *static_cast<CXListBox*>(pControl), y, nLine);
    if (!job.Finish(error)) {
        DebugLog(0, "[CXClient::PrintControl] %s", error.c_str());
        OnPrintError(-1);
        return false;
    }
    return true;
}

bool CXClient::PrintAllControls()
{
    int nLines = 0, nGraphs = 0;
    for (int i = 0; i < GetControlCount(); ++i) {
        CXControl* pControl = GetControl(i);
        const uint8_t byType = ControlType(pControl);
        if (!pControl->m_bVisible || !IsPrintable(byType))
            continue;
        if (byType == XCONTROL_GRAPH)
            ++nGraphs;
        else
            nLines += PrintedLines(pControl, byType);
    }
    if (nLines == 0 && nGraphs == 0)
        return false;
    const int nPerPage = CPrintJob::LinesPerPage();
    const int nPages = (nLines + nPerPage - 1) / nPerPage + nGraphs;
    CPrintJob job;
    std::string error;
    if (!job.Start(nPages, error)) {
        DebugLog(0, "[CXClient::PrintAllControls] %s", error.c_str());
        OnPrintError(-1);
        return false;
    }
    // The tables run on from page to page in control order; each chart
    // follows on a page of its own, as the page count has it.
    double y = CPrintJob::kTopMargin;
    int nLine = 0;
    bool bPageUsed = false;
    for (int i = 0; i < GetControlCount(); ++i) {
        CXControl* pControl = GetControl(i);
        const uint8_t byType = ControlType(pControl);
        if (!pControl->m_bVisible || !IsPrintable(byType) || byType == XCONTROL_GRAPH)
            continue;
        if (nLine >= nPerPage) {
            job.NextPage();
            y = CPrintJob::kTopMargin;
            nLine = 0;
        }
        if (byType == XCONTROL_TREEVIEW)
            PrintTree(job, *static_cast<CXTreeView*>(pControl), y, nLine);
        else if (static_cast<CXListBox*>(pControl)->GetColumns())
            PrintListTable(job, *static_cast<CXListBox*>(pControl), y, nLine);
        else
            PrintPlainText(job, *static_cast<CXListBox*>(pControl), y, nLine);
        bPageUsed = true;
    }
    for (int i = 0; i < GetControlCount(); ++i) {
        CXControl* pControl = GetControl(i);
        if (!pControl->m_bVisible || ControlType(pControl) != XCONTROL_GRAPH)
            continue;
        if (bPageUsed)
            job.NextPage();
        PrintGraph(job, *static_cast<CXGraph*>(pControl));
        bPageUsed = true;
    }
    if (!job.Finish(error)) {
        DebugLog(0, "[CXClient::PrintAllControls] %s", error.c_str());
        OnPrintError(-1);
        return false;
    }
    return true;
}
