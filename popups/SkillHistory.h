#pragma once
// What the player and youth details popups share on their skills pages: the
// ten skills of the weekly player history as graph lines over the last year,
// and a bar per skill with the lowest and highest value of its line marked.
#include "xframework/CXSurface.h"

#include "common/CDate.h"

#include <cstdint>

class CDatabaseHandler;
class CPersonDatabase;
class CXGraph;

namespace skill_history {

constexpr int kLines = 10;

struct LINE {
    COLORREF crColour;
    int nAttribute;  // the person's attribute the line's bar shows
    int x, y;        // the bar's place on the page
};
// In the order of the weekly record: Pace stands before Strength.
extern const LINE kLineTable[kLines];

// The graph set up for 52 weeks ending at the game date, with a line per
// skill filled from the person's weekly records. Without bWhole the lines end
// at the last day seen; anErrors (per cent, may be null) puts each value off
// as a scout misjudged it. pszLogTag names the caller in the log line of a
// person without a recorded week.
void FillGraph(CXGraph& graph, CDatabaseHandler& database, const CPersonDatabase& person, bool bWhole,
               const CDate& lastSeen, const int* anErrors, const char* pszLogTag);
// The lowest and highest value of a graph line (0 and 0 for an empty one).
void GetLineRange(const CXGraph* pGraph, int nLine, int& nLowest, int& nHighest);
// The last value of a graph line, 0 for an empty one.
int GetLastValue(const CXGraph* pGraph, int nLine);
// A bar of a value 0-100 in a 144 x 16 area of the panel, with the marker
// bitmap at the lowest and highest values (a range of 0 to 100 is the value
// alone).
void DrawSkillBar(CXSurface* pPanel, CXSurface* pMarker, COLORREF crColour, int x, int y, int nValue, int nLowest,
                  int nHighest);

}  // namespace skill_history
