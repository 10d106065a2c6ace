#pragma once
// What the account screens of the finance pages share: the background with
// the shaded graph panel, the line colour strip under the graph toggle, one
// caption tab over the list, the club's colour boxes; and the graph with its
// toggle button.
#include "xframework/CXSurface.h"

#include <cstdint>
#include <initializer_list>

class CGameClient;
class CXGraph;

namespace finance_look {

constexpr int kGraphLeft = 45, kGraphTop = 310, kGraphRight = 595, kGraphBottom = 450;
constexpr COLORREF kLineColour = 0xff294a;

// The opening every account screen shares: the bars in their finance mode,
// the background drawn, the base opening, the title bar's selectors; answers
// the base opening's result.
bool OpenScreen(CGameClient& screen, std::initializer_list<int> selectors);
// Draws the screen's background; the caption tab (item 0 of the table set)
// stands at x over the list.
void DrawBackground(CGameClient& screen, int nCaptionSet, int nTabX);
// The graph and, under it, the toggle that shows or hides its line.
CXGraph* AddGraph(CGameClient& screen, uint32_t dwGraphID, uint32_t dwToggleID, int nLine);
// Clears the graph and sets it up as the account screens draw a month by
// month line: money up the left with its zero line, nMonths points labelled
// by division (nLabelDivisions steps up the axis), line nLine nLineWidth
// pixels wide.
void StartMonthGraph(CGameClient& screen, CXGraph& graph, int nMonths, int nLabelDivisions, int nLine,
                     int nLineWidth);
// The month (1-12) nBack months before month nThisMonth.
int MonthsBack(int nThisMonth, int nBack);
// Short month names under every nStep-th of nMonths points, from month
// nFirstMonth (1-12) on.
void LabelMonths(CXGraph& graph, int nFirstMonth, int nMonths, int nStep);
// The line shown or hidden as its toggle says, the graph drawn and shown.
void ShowGraph(CGameClient& screen, CXGraph& graph, uint32_t dwToggleID, int nLine);
// A row of toggles under a graph, from the screen's left edge: each button
// shows or hides its line of the graph.
struct GRAPHTOGGLE {
    uint32_t dwID;
    int nLine;
};
void AddGraphToggles(CGameClient& screen, CXGraph* pGraph, std::initializer_list<GRAPHTOGGLE> toggles);

}  // namespace finance_look
