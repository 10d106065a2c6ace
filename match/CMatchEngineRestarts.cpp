// Where play is: who is in possession, the focus point and zone of play for
// open play and for each restart, told to the clubs when it changes; the
// grid cells the clubs place their players by; ends, score-line codes and
// the result.
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchReferee.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kNoReach = 999999.0f;

// Cells of the placement grid in percent of the length and the width.
struct GRIDCELLPERCENT {
    float fLeft, fRight, fTop, fBottom;
};
constexpr GRIDCELLPERCENT kGridCells[] = {
    {0, 20, 0, 20},       {0, 20, 20, 40},      {0, 20, 40, 60},      {0, 20, 60, 80},      {0, 20, 80, 100},
    {20, 40, 0, 20},      {20, 40, 20, 40},     {20, 40, 40, 60},     {20, 40, 60, 80},     {20, 40, 80, 100},
    {40, 60, 0, 20},      {40, 60, 20, 40},     {40, 60, 40, 60},     {40, 60, 60, 80},     {40, 60, 80, 100},
    {60, 75, 0, 33.3f},   {60, 75, 33.3f, 66.6f}, {60, 75, 66.6f, 100},
    {75, 100, 0, 10},
    {75, 85, 10, 20},     {75, 85, 20, 40},     {75, 85, 40, 60},     {75, 85, 60, 80},     {75, 85, 80, 90},
    {75, 100, 90, 100},
    {85, 92.5f, 10, 20},  {92.5f, 100, 10, 20}, {85, 92.5f, 80, 90},  {92.5f, 100, 80, 90},
};

CMatchPlayer* FastestOf(const CMatchClub* pClub, float* pfCost)
{
    CMatchPlayer* pBest = nullptr;
    float fBest = kNoReach;
    for (int i = 0; pClub && i < pClub->GetOnPitchCount(); ++i) {
        CMatchPlayer* p = pClub->GetSlot(i);
        if (!p || !p->IsBallChaser() || p->GetBallReachCost() == 0.0f)
            continue;
        if (p->GetBallReachCost() < fBest)
            pBest = p, fBest = p->GetBallReachCost();
    }
    *pfCost = fBest;
    return pBest;
}

}  // namespace

void CMatchEngine::BuildGridCells()
{
    m_aGridCells.clear();
    for (const GRIDCELLPERCENT& c : kGridCells)
        m_aGridCells.push_back({int32_t(c.fLeft * 100.0f), int32_t(c.fTop * 75.0f), int32_t(c.fRight * 100.0f),
                                int32_t(c.fBottom * 75.0f)});
}

int CMatchEngine::GetGridCell(const CVector& point) const
{
    for (size_t i = 0; i < m_aGridCells.size(); ++i) {
        const MATCHRECT& r = m_aGridCells[i];
        if (point.x >= r.nLeft && point.x <= r.nRight && point.y >= r.nTop && point.y <= r.nBottom)
            return int(i);
    }
    return kNoGridCell;
}

int CMatchEngine::GetZoneOfPoint(const CVector& point)
{
    const int nColumn = std::clamp(point.x / 2000, 0, 4);
    const int nRow = std::clamp(point.y / 1500, 0, 4);
    return nRow * 5 + nColumn;
}

bool CMatchEngine::UpdatePossession()
{
    if (!m_pBall)
        return false;
    if (m_pBall->GetHolder()) {
        m_pBall->SetFastestPlayers(nullptr, nullptr, nullptr);
    } else {
        float fHome = kNoReach, fAway = kNoReach;
        CMatchPlayer* pHome = FastestOf(m_pHomeClub.get(), &fHome);
        CMatchPlayer* pAway = FastestOf(m_pAwayClub.get(), &fAway);
        CMatchPlayer* pOverall = pHome && (!pAway || fHome < fAway) ? pHome : pAway;
        m_pBall->SetFastestPlayers(pHome, pAway, pOverall);
    }
    bool bChanged = false;
    CMatchClub* pClub = nullptr;
    const CMatchReferee* pReferee = m_pMatchReferee.get();
    if (m_byMatchEvent != MATCHEVENT_NONE && pReferee && pReferee->GetRestartClub()) {
        pClub = pReferee->GetRestartClub();
        bChanged = !pClub->HasBall();
    } else if (const CMatchPerson* pHolder = m_pBall->GetHolder()) {
        if (pHolder->GetPersonType() == PERSONTYPE_FOOTBALLER)
            pClub = static_cast<const CMatchPlayer*>(pHolder)->GetClub();
    } else if (const CMatchPerson* pFastest = m_pBall->GetFastest()) {
        pClub = static_cast<const CMatchPlayer*>(pFastest)->GetClub();
    }
    if (!pClub && m_pClubInPossession)
        bChanged = true;  // possession became open
    m_pClubInPossession = pClub;
    for (CMatchClub* p : {m_pHomeClub.get(), m_pAwayClub.get()})
        if (p)
            p->SetHasBall(p == pClub);
    return bChanged;
}

bool CMatchEngine::SetupEventPositions()
{
    const uint8_t e = m_byMatchEvent;
    const bool bPossessionChanged = UpdatePossession();
    const CMatchReferee* pReferee = m_pMatchReferee.get();
    const CVector event = pReferee ? pReferee->GetEventPosition() : CVector(5000, GOAL_CENTRE_Y, 0);
    int nZone;
    switch (e) {
    case MATCHEVENT_NONE:
        if (!m_pBall || (m_pBall->GetHolder() && m_pBall->IsHeldInHands()))
            m_vFocusPoint.Set(5000, GOAL_CENTRE_Y, 0);
        else if (m_pBall->IsPlayTo())
            m_vFocusPoint = m_pBall->GetTarget();
        else
            m_vFocusPoint = m_pBall->GetPosition();
        nZone = GetZoneOfPoint(m_vFocusPoint);
        break;
    case MATCHEVENT_KICKOFF:
        m_vFocusPoint = event;
        nZone = ZONE_KICKOFF;
        break;
    case MATCHEVENT_GOALKICK:
        m_vFocusPoint.Set(5000, GOAL_CENTRE_Y, 0);
        nZone = ZONE_GOALKICK;
        break;
    case MATCHEVENT_CORNER:
        m_vFocusPoint = event;
        nZone = event.y <= GOAL_CENTRE_Y ? ZONE_CORNER_NEAR : ZONE_CORNER_FAR;
        break;
    case MATCHEVENT_FREEKICK:
    case MATCHEVENT_DIRECTFREEKICK: {
        // 2000 on from the kick towards the goal its club attacks.
        const CMatchClub* pClub = pReferee ? pReferee->GetRestartClub() : nullptr;
        const int32_t nGoalX = pClub && !pClub->AttacksHighEnd() ? 0 : PITCH_LENGTH;
        const double a = std::atan2(double(nGoalX - event.x), double(GOAL_CENTRE_Y - event.y));
        m_vFocusPoint.Set(event.x + TruncateToInt(2000.0 * std::sin(a)), event.y + TruncateToInt(2000.0 * std::cos(a)),
                          0);
        nZone = GetZoneOfPoint(m_vFocusPoint);
        break;
    }
    case MATCHEVENT_PENALTY:
        m_vFocusPoint = event;
        nZone = ZONE_PENALTY;
        break;
    default:
        m_vFocusPoint = event;
        nZone = GetZoneOfPoint(m_vFocusPoint);
        break;
    }
    if (nZone == m_nLastZoneTold && int(e) == m_nLastEventTold && !bPossessionChanged)
        return false;
    m_nLastZoneTold = int8_t(nZone);
    m_nLastEventTold = int8_t(e);
    ++m_dwZoneTellings;
    if (m_pHomeClub)
        m_pHomeClub->PlaceForZone(nZone);
    if (m_pAwayClub)
        m_pAwayClub->PlaceForZone(nZone);
    return true;
}

void CMatchEngine::SwapEnds()
{
    for (CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()})
        if (pClub)
            pClub->SetAttacksHighEnd(!pClub->AttacksHighEnd());
}

uint8_t CMatchEngine::GetGoalScoreCode() const
{
    uint8_t byHome = 0, byAway = 0;
    GetScore(byHome, byAway);
    return byHome == byAway ? 0 : byHome > byAway ? 1 : 2;
}

void CMatchEngine::SetResultCode(uint8_t byCode)
{
    m_byResultCode = byCode;
    if (m_pEventReceiver)
        m_pEventReceiver->OnMatchResult(byCode);
}
