// The skills page of the player details popup: ten skills as bars with the
// lowest and highest value of the last year marked, and the same skills week
// by week on the graph. Another club's player is seen through the human
// club's scout report: only up to the report's day, each value off by the
// report's error for it.
#include "popups/CPopupPlayerDetails.h"

#include "popups/PopupLook.h"
#include "popups/SkillHistory.h"
#include "shell/CGame.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kWidth = 536;
constexpr int kLabels = 36;
using skill_history::kLineTable;

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
    int anErrors[kSkillLines] = {};
    CDate reportDate;
    CSaveGame* pHuman = Human();
    if (const SCOUTREPORT* pReport = pHuman ? pHuman->GetScoutManager().FindReport(m_pPlayer->m_idPerson) : nullptr) {
        std::copy(std::begin(pReport->anErrors), std::end(pReport->anErrors), anErrors);
        reportDate = pReport->Date;
    }
    // Another club's player is known only as far as the scout saw him.
    skill_history::FillGraph(*pGraph, *pDatabase, *m_pPlayer, IsOwnPlayer(), reportDate, anErrors,
                             "CPopupPlayerDetails");
}

void CPopupPlayerDetails::GetSkillValues(int anValues[kSkillLines]) const
{
    const CXGraph* pGraph = Graph();
    const bool bOwn = IsOwnPlayer();
    for (int i = 0; i < kSkillLines; ++i) {
        if (bOwn && m_pPlayer)
            anValues[i] = m_pPlayer->m_awAttributes[kLineTable[i].nAttribute] / 100;
        else
            anValues[i] = skill_history::GetLastValue(pGraph, i);
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
        skill_history::GetLineRange(pGraph, i, nLowest, nHighest);
        DrawSkillBar(kLineTable[i].crColour, kLineTable[i].x, kLineTable[i].y, anValues[i], nLowest, nHighest);
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
    skill_history::DrawSkillBar(m_pBackground, m_pBarMarker.get(), crColour, x, y, nValue, nLowest, nHighest);
}
