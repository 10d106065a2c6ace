// The skills page of the player details popup: ten skills as bars with the
// lowest and highest value of the last year marked, and the same skills week
// by week on the graph. Another club's player is seen through the human
// club's scout report: only up to the report's day, each value off by the
// report's error for it.
#include "popups/CPopupPlayerDetails.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int kWidth = 536;
constexpr int kLabels = 36;
constexpr int kMonthSet = 130;
constexpr int kWeeks = 52;
constexpr int kDaysBack = 364;
constexpr int kHistoryRecordBytes = 10;
constexpr int kBarWidth = 144, kBarHeight = 16;
constexpr int kMarkerWidth = 7, kMarkerHeight = 8;
constexpr COLORREF kAxisColour = 0xFFFFFF;
constexpr uint32_t kGraphStyle = 160;

struct SkillLine {
    COLORREF crColour;
    int nAttribute;
    int x, y;
};
// In the order of the weekly record: Pace stands before Strength.
constexpr SkillLine kLines[CPopupPlayerDetails::kSkillLines] = {
    {0x2121FF, 0, 70, 250}, {0x21F7FF, 1, 70, 275},  {0xBD42FF, 2, 70, 300},  {0x21FF73, 3, 70, 325},
    {0xFF39BD, 4, 70, 350}, {0xB5ADAD, 5, 330, 250}, {0xFF294A, 7, 330, 275}, {0x08AD00, 6, 330, 300},
    {0x5A8CFF, 8, 330, 325}, {0xFFFF52, 9, 330, 350}};

int BarPixels(int nValue) { return static_cast<int>(std::floor(1.44 * std::clamp(nValue, 0, 100))); }

}  // namespace

bool CPopupPlayerDetails::HasScoutReport() const
{
    CSaveGame* pHuman = Human();
    return m_pPlayer && pHuman && pHuman->GetScoutManager().FindReport(m_pPlayer->m_idPerson);
}

void CPopupPlayerDetails::SetUpGraph()
{
    CXGraph* pGraph = Graph();
    CDatabaseHandler* pDatabase = Database();
    if (!pGraph || !pDatabase || !m_pPlayer)
        return;
    const CDate today = pDatabase->GetGameDate();
    const int nCurrentWeek = CDatabaseHandler::GetWeekNumber(today);
    int anErrors[kSkillLines] = {};
    CDate reportDate;
    CSaveGame* pHuman = Human();
    if (const SCOUTREPORT* pReport = pHuman ? pHuman->GetScoutManager().FindReport(m_pPlayer->m_idPerson) : nullptr) {
        std::copy(std::begin(pReport->anErrors), std::end(pReport->anErrors), anErrors);
        reportDate = pReport->Date;
    }
    const double dItemWidth = static_cast<double>(pGraph->Width()) / kWeeks;
    pGraph->Clear();
    pGraph->SetUp(kGraphStyle, kAxisColour, kAxisColour, dItemWidth, 0, kAxisColour);
    pGraph->SetYRange(0, 100, 0, 100, true, false, false);
    pGraph->SetXAxis(8, 8, 0, kWeeks);
    pGraph->m_szLeftCaption[0] = pGraph->m_szRightCaption[0] = pGraph->m_szBottomCaption[0] = '\0';
    for (int i = 0; i < kSkillLines; ++i)
        pGraph->SetUpLine(0, i, 2, kLines[i].crColour, GRAPH_LINE, true, false, dItemWidth, 0);

    const int nHeader = m_pPlayer->GetHistoryHeaderOffset();
    uint8_t abyHeader[2] = {};
    if (nHeader < 0 || !pDatabase->ReadPlayerHistory(nHeader, abyHeader, sizeof abyHeader))
        return;
    const int nFirstWeek = abyHeader[0] | abyHeader[1] << 8;
    if (nFirstWeek == 0) {
        DebugLog(0, "[CPopupPlayerDetails::SetUpGraph] Could not find a valid week for this player!");
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
            pGraph->SetItemLabel(i, GetTableTextOrEmpty(kMonthSet, nMonth - 1));
        nLastMonth = nMonth;
    }
    const bool bOwn = IsOwnPlayer();
    CDate running = start;
    for (int nWeek = nStartWeek + 1; static_cast<uint16_t>(nWeek) < static_cast<uint16_t>(nCurrentWeek);
         ++nWeek, running.AddDays(7)) {
        // Another club's player is known only as far as the scout saw him.
        if (!bOwn && running > reportDate)
            break;
        uint8_t abyRecord[kHistoryRecordBytes] = {};
        const int nOffset = m_pPlayer->GetHistoryRecordOffset(nWeek);
        if (nOffset < 0 || !pDatabase->ReadPlayerHistory(nOffset, abyRecord, sizeof abyRecord))
            break;
        for (int i = 0; i < kSkillLines; ++i)
            pGraph->AddValue(i, abyRecord[i] + abyRecord[i] * anErrors[i] * 0.01);
    }
}

void CPopupPlayerDetails::GetSkillValues(int anValues[kSkillLines]) const
{
    const CXGraph* pGraph = Graph();
    const bool bOwn = IsOwnPlayer();
    for (int i = 0; i < kSkillLines; ++i) {
        if (bOwn && m_pPlayer)
            anValues[i] = m_pPlayer->m_awAttributes[kLines[i].nAttribute] / 100;
        else
            anValues[i] = pGraph && !pGraph->GetSeries(i).values.empty()
                              ? static_cast<int>(pGraph->GetSeries(i).values.back())
                              : 0;
    }
}

void CPopupPlayerDetails::ShowSkillsPage()
{
    BeginPage(PAGE_SKILLS);
    m_pBackground->ShadeRect(10, 60, kWidth - 20, 160, 2);
    popup_look::DrawLabels(m_pBackground, kLabels);
    m_pBarMarker.reset(LoadMainArchiveBitmap("BarMrkr.bmp", true));
    int anValues[kSkillLines];
    GetSkillValues(anValues);
    const CXGraph* pGraph = Graph();
    for (int i = 0; i < kSkillLines; ++i) {
        int nLowest = 0, nHighest = 0;
        if (pGraph && !pGraph->GetSeries(i).values.empty()) {
            const auto& values = pGraph->GetSeries(i).values;
            nLowest = static_cast<int>(*std::min_element(values.begin(), values.end()));
            nHighest = static_cast<int>(*std::max_element(values.begin(), values.end()));
        }
        DrawSkillBar(kLines[i].crColour, kLines[i].x, kLines[i].y, anValues[i], nLowest, nHighest);
    }
    m_pBarMarker.reset();
    const bool bUnknown = !IsOwnPlayer() && !HasScoutReport();
    for (int i = 0; i < kSkillLines; ++i)
        if (auto* pToggle = dynamic_cast<CXButton*>(FindControl(kToggleIDs[i]))) {
            if (bUnknown)
                pToggle->SetText("?%%");
            else
                pToggle->SetText("%d%%", anValues[i]);
        }
    uint32_t page[kSkillLines + 1];
    std::copy(std::begin(kToggleIDs), std::end(kToggleIDs), page);
    page[kSkillLines] = ID_GRAPH;
    EndPage(page, std::size(page));
    if (CXGraph* pShown = Graph()) {
        pShown->Show(true, false);
        pShown->Draw();
    }
}

void CPopupPlayerDetails::DrawSkillBar(COLORREF crColour, int x, int y, int nValue, int nLowest, int nHighest)
{
    if (!m_pBackground || !m_pBackground->m_pSurface)
        return;
    if (nLowest == 0 && nHighest == 100)
        nLowest = nHighest = nValue;
    m_pBackground->ShadeRect(x, y, kBarWidth, kBarHeight, 2);
    const int nFill = BarPixels(nValue) - 1;
    if (nFill > 0)
        m_pBackground->BlendRect(x + 1, y + 1, nFill, kBarHeight - 1, crColour, crColour, 0.85f);
    if (!m_pBarMarker || !m_pBarMarker->m_pSurface || nLowest + nHighest <= 0)
        return;
    const plat::Rect rcLowest{kMarkerWidth, 0, 2 * kMarkerWidth, kMarkerHeight};
    const plat::Rect rcHighest{0, 0, kMarkerWidth, kMarkerHeight};
    m_pBackground->m_pSurface->bltFast(x + BarPixels(nLowest) - 3, y + 10, *m_pBarMarker->m_pSurface, &rcLowest,
                                       plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
    m_pBackground->m_pSurface->bltFast(x + BarPixels(nHighest) - 3, y - 2, *m_pBarMarker->m_pSurface, &rcHighest,
                                       plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}
