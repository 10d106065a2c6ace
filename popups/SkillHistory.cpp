#include "popups/SkillHistory.h"

#include "shell/CTableText.h"

#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CPersonDatabase.h"
#include "xframework/CXGraph.h"

#include <algorithm>
#include <cmath>

namespace skill_history {

namespace {

constexpr int kMonthSet = 130;
constexpr int kWeeks = 52;
constexpr int kDaysBack = 364;
constexpr int kHistoryRecordBytes = 10;
constexpr int kBarWidth = 144, kBarHeight = 16;
constexpr int kMarkerWidth = 7, kMarkerHeight = 8;
constexpr COLORREF kAxisColour = 0xFFFFFF;
constexpr uint32_t kGraphStyle = 160;

int BarPixels(int nValue) { return static_cast<int>(std::floor(1.44 * std::clamp(nValue, 0, 100))); }

}  // namespace

const LINE kLineTable[kLines] = {
    {0x2121FF, 0, 70, 250}, {0x21F7FF, 1, 70, 275},  {0xBD42FF, 2, 70, 300},  {0x21FF73, 3, 70, 325},
    {0xFF39BD, 4, 70, 350}, {0xB5ADAD, 5, 330, 250}, {0xFF294A, 7, 330, 275}, {0x08AD00, 6, 330, 300},
    {0x5A8CFF, 8, 330, 325}, {0xFFFF52, 9, 330, 350}};

void FillGraph(CXGraph& graph, CDatabaseHandler& database, const CPersonDatabase& person, bool bWhole,
               const CDate& lastSeen, const int* anErrors, const char* pszLogTag)
{
    const CDate today = database.GetGameDate();
    const int nCurrentWeek = CDatabaseHandler::GetWeekNumber(today);
    const double dItemWidth = static_cast<double>(graph.Width()) / kWeeks;
    graph.Clear();
    graph.SetUp(kGraphStyle, kAxisColour, kAxisColour, dItemWidth, 0, kAxisColour);
    graph.SetYRange(0, 100, 0, 100, true, false, false);
    graph.SetXAxis(8, 8, 0, kWeeks);
    graph.m_szLeftCaption[0] = graph.m_szRightCaption[0] = graph.m_szBottomCaption[0] = '\0';
    for (int i = 0; i < kLines; ++i)
        graph.SetUpLine(0, i, 2, kLineTable[i].crColour, GRAPH_LINE, true, false, dItemWidth, 0);

    const int nHeader = person.GetHistoryHeaderOffset();
    uint8_t abyHeader[2] = {};
    if (nHeader < 0 || !database.ReadPlayerHistory(nHeader, abyHeader, sizeof abyHeader))
        return;
    const int nFirstWeek = abyHeader[0] | abyHeader[1] << 8;
    if (nFirstWeek == 0) {
        DebugLog(0, "[%s::SetUpGraph] Could not find a valid week for this player!", pszLogTag);
        return;
    }
    CDate start(today.GetValue(), -kDaysBack);
    int nStartWeek = CDatabaseHandler::GetWeekNumber(start);
    if (start < CDatabaseHandler::GetDateFromWeekNumber(nFirstWeek)) {
        start = CDatabaseHandler::GetDateFromWeekNumber(nFirstWeek);
        nStartWeek = nFirstWeek;
    }
    int nLastMonth = 0;
    for (int i = 0; i < kWeeks; ++i) {
        const int nMonth = CDate(start.GetValue(), 7 * i).GetMonth();
        if (nMonth != nLastMonth)
            graph.SetItemLabel(i, GetTableTextOrEmpty(kMonthSet, nMonth - 1));
        nLastMonth = nMonth;
    }
    CDate running = start;
    for (int nWeek = nStartWeek + 1; static_cast<uint16_t>(nWeek) < static_cast<uint16_t>(nCurrentWeek);
         ++nWeek, running.AddDays(7)) {
        if (!bWhole && running > lastSeen)
            break;
        uint8_t abyRecord[kHistoryRecordBytes] = {};
        const int nOffset = person.GetHistoryRecordOffset(nWeek);
        if (nOffset < 0 || !database.ReadPlayerHistory(nOffset, abyRecord, sizeof abyRecord))
            break;
        for (int i = 0; i < kLines; ++i)
            graph.AddValue(i, abyRecord[i] + (anErrors ? abyRecord[i] * anErrors[i] * 0.01 : 0.0));
    }
}

void GetLineRange(const CXGraph* pGraph, int nLine, int& nLowest, int& nHighest)
{
    nLowest = nHighest = 0;
    if (!pGraph || pGraph->GetSeries(nLine).values.empty())
        return;
    const auto& values = pGraph->GetSeries(nLine).values;
    nLowest = static_cast<int>(*std::min_element(values.begin(), values.end()));
    nHighest = static_cast<int>(*std::max_element(values.begin(), values.end()));
}

int GetLastValue(const CXGraph* pGraph, int nLine)
{
    return pGraph && !pGraph->GetSeries(nLine).values.empty() ? static_cast<int>(pGraph->GetSeries(nLine).values.back())
                                                              : 0;
}

void DrawSkillBar(CXSurface* pPanel, CXSurface* pMarker, COLORREF crColour, int x, int y, int nValue, int nLowest,
                  int nHighest)
{
    if (!pPanel || !pPanel->m_pSurface)
        return;
    if (nLowest == 0 && nHighest == 100)
        nLowest = nHighest = nValue;
    pPanel->ShadeRect(x, y, kBarWidth, kBarHeight, 2);
    const int nFill = BarPixels(nValue) - 1;
    if (nFill > 0)
        pPanel->BlendRect(x + 1, y + 1, nFill, kBarHeight - 1, crColour, crColour, 0.85f);
    if (!pMarker || !pMarker->m_pSurface || nLowest + nHighest <= 0)
        return;
    const plat::Rect rcLowest{kMarkerWidth, 0, 2 * kMarkerWidth, kMarkerHeight};
    const plat::Rect rcHighest{0, 0, kMarkerWidth, kMarkerHeight};
    pPanel->m_pSurface->bltFast(x + BarPixels(nLowest) - 3, y + 10, *pMarker->m_pSurface, &rcLowest,
                                plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
    pPanel->m_pSurface->bltFast(x + BarPixels(nHighest) - 3, y - 2, *pMarker->m_pSurface, &rcHighest,
                                plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}

}  // namespace skill_history
