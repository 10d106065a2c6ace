// The club's side of a stoppage: who takes the restart and who stands by
// him, where everyone stands for a zone or restart, the defensive wall, a
// human manager's set-piece routines, the penalty taker, and every way a
// player leaves or joins the pitch.
#include "match/CMatchClub.h"

#include "common/DebugLog.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchReferee.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint8_t EVENT_SUBSTITUTION = 30;
constexpr uint8_t INCIDENT_INJURED_OFF = 5, INCIDENT_SUBSTITUTION = 6;

// Where the players of each slot wait during a shoot-out, round their
// side's spot in the centre circle.
const CVector kShootOutOffsets[11] = {{0, 0, 0},      {0, 150, 0},    {0, -150, 0},   {150, 0, 0},
                                      {-150, 0, 0},   {100, 100, 0},  {-100, 100, 0}, {-100, -100, 0},
                                      {100, -100, 0}, {-170, 170, 0}, {170, -170, 0}};

bool IsOnPitchPoint(const CVector& p)
{
    return p.x >= 0 && p.x <= PITCH_LENGTH && p.y >= 0 && p.y <= PITCH_WIDTH;
}

}  // namespace

CVector CMatchClub::GetTouchLinePoint() const
{
    return CMatchEngine::kStartPoint;
}

int CMatchClub::GetPositionPriority(uint8_t byPosition)
{
    static const uint8_t kPriorities[16] = {0, 5, 15, 5, 15, 15, 15, 10, 20, 12, 20, 12, 35, 35, 50, 50};
    return byPosition < 16 ? kPriorities[byPosition] : 0;
}

void CMatchClub::UpdateSetPieceTakers()
{
    for (CMatchPlayer*& p : m_apTakers)
        p = nullptr;
    if (m_pSaveGame) {
        CMatchPlayer* pLast = GetSlot(m_nOnPitch - 1);
        for (int k = 0; k < kSetPieceTakers; ++k) {
            const CPlayerDatabase* pRecord = m_pSaveGame->GetSetPiecePlayer(k);
            CMatchPlayer* p = pRecord ? GetPlayerByRecord(pRecord, true) : nullptr;
            m_apTakers[k] = p ? p : pLast;
        }
        return;
    }
    m_apTakers[0] = m_nOnPitch > 9 ? GetSlot(9) : nullptr;
    m_apTakers[6] = m_nOnPitch > 2 ? GetSlot(2) : nullptr;
}

void CMatchClub::RebuildLineUp()
{
    // Slot 0 is the goalkeeper's: whoever holds number 0 on the pitch stands there.
    for (int i = 1; i < m_nOnPitch; ++i)
        if (m_apSlots[i] && m_apSlots[i]->GetSquadPosition() == 0 &&
            !(m_apSlots[0] && m_apSlots[0]->GetSquadPosition() == 0))
            std::swap(m_apSlots[0], m_apSlots[i]);
    for (CMatchPlayer*& p : m_apByLineUp)
        p = nullptr;
    for (int i = 0; i < m_nSquadCount; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p)
            continue;
        p->SetLineIndex(uint8_t(i));
        const int nLineUp = p->GetSquadPosition();
        // A player who left the pitch keeps his number; whoever holds it now comes first.
        if (nLineUp < kLineUpNumbers && (!m_apByLineUp[nLineUp] || i < m_nOnPitch))
            m_apByLineUp[nLineUp] = p;
    }
}

CMatchPlayer* CMatchClub::PickPenaltyTaker(bool bSkipThoseWhoTook)
{
    CMatchPlayer* pTaker = m_apTakers[TAKER_PENALTY];
    if (pTaker && pTaker->GetSpecialRole() != ROLE_BENCH && (!bSkipThoseWhoTook || !pTaker->HasTakenPenalty()))
        return pTaker;
    // A shoot-out follows the human's order of the line-up places, as far
    // as their players are still on the pitch.
    if (m_pSaveGame && bSkipThoseWhoTook) {
        uint8_t abyOrder[SAVEGAME_LINEUP];
        m_pSaveGame->GetPenaltyOrder(abyOrder);
        for (uint8_t byPlace : abyOrder) {
            const CPlayerDatabase* pRecord = m_pSaveGame->GetSheetPlayer(byPlace);
            CMatchPlayer* p = pRecord ? GetPlayerByRecord(pRecord, true) : nullptr;
            if (p && p->GetSpecialRole() != ROLE_BENCH && !p->HasTakenPenalty())
                return p;
        }
    }
    CMatchPlayer* pBest = nullptr;
    int nBest = 0;
    for (int i = 0; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p || (bSkipThoseWhoTook && p->HasTakenPenalty()))
            continue;
        const int nRating = p->GetRating(RATING_SHOOTING_IN_PLAY);
        if (nRating > nBest)
            pBest = p, nBest = nRating;
    }
    return pBest;
}

CMatchPlayer* CMatchClub::ChooseEventPlayer()
{
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    if (!pReferee)
        return nullptr;
    const CVector& e = pReferee->GetEventPosition();
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const bool bFreeKick = byEvent == MATCHEVENT_FREEKICK || byEvent == MATCHEVENT_DIRECTFREEKICK;
    auto takerForZone = [this](int nZone) {
        return m_apTakers[nZone < 10 ? TAKER_DEFENCE_FREE_KICK : nZone < 15 ? TAKER_MIDFIELD_FREE_KICK
                                                                            : TAKER_ATTACK_FREE_KICK];
    };
    CMatchPlayer* pTaker = nullptr;
    if (m_bRoutineChosen) {
        if (m_Routine.byTaker < 255)
            pTaker = GetPlayer(m_Routine.byTaker, true);
        else if (byEvent == MATCHEVENT_CORNER)
            pTaker = m_apTakers[m_byCornerSide ? TAKER_CORNER_HIGH : TAKER_CORNER_LOW];
        else if (bFreeKick)
            pTaker = takerForZone(m_byFreeKickZone);
    }
    if (!pTaker) {
        const bool bHuman = m_pSaveGame != nullptr;
        if (byEvent == MATCHEVENT_GOALKICK) {
            pTaker = GetSlot(0);
        } else if (byEvent == MATCHEVENT_CORNER && bHuman) {
            const bool bLow = (!m_bAttacksHighEnd && e.y < 3750) || (m_bAttacksHighEnd && e.y >= 3751);
            pTaker = m_apTakers[bLow ? TAKER_CORNER_LOW : TAKER_CORNER_HIGH];
        } else if (bFreeKick && IsInPenaltyArea(e, false)) {
            pTaker = GetSlot(0);
        } else if (bFreeKick && bHuman) {
            const int nZone = GetZone(e.x, e.y);
            pTaker = m_apTakers[nZone == 1   ? TAKER_DEFENCE_FREE_KICK
                                : nZone == 2 ? TAKER_MIDFIELD_FREE_KICK
                                             : TAKER_ATTACK_FREE_KICK];
        } else if (byEvent == MATCHEVENT_PENALTY) {
            if (m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT) {
                pTaker = PickPenaltyTaker(true);
                if (!pTaker) {
                    // Everyone has taken one: a new round begins.
                    for (int i = 0; i < m_nOnPitch; ++i)
                        if (m_apSlots[i])
                            m_apSlots[i]->SetHasTakenPenalty(false);
                    pTaker = PickPenaltyTaker(false);
                }
                if (pTaker)
                    pTaker->SetHasTakenPenalty(true);
            } else {
                pTaker = PickPenaltyTaker(false);
            }
        }
    }
    if (!pTaker || pTaker->GetSpecialRole() == ROLE_BENCH)
        pTaker = GetNearestToTarget(e, nullptr);
    if (pTaker) {
        pTaker->SetBasePosition(e);
        pTaker->SetNotInPlace(false);
        pTaker->SetChosenForRestart(true);
    }
    return pTaker;
}

CMatchPlayer* CMatchClub::ChooseSecondEventPlayer()
{
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    if (!pReferee)
        return nullptr;
    const CVector& p = pReferee->GetSecondEventPosition();
    CMatchPlayer* pSecond = nullptr;
    switch (m_Engine.GetMatchEvent()) {
    case MATCHEVENT_THROWIN: {
        int32_t nDistance = 0;
        pSecond = GetNearestToTargetExcept(p, pReferee->GetEventPlayer(), &nDistance);
        if (nDistance < 1500)
            pSecond = nullptr;  // somebody is near enough already
        break;
    }
    case MATCHEVENT_PENALTY:
        pSecond = GetSlot(0);
        break;
    case MATCHEVENT_INJURY: {
        const CMatchPerson* pInjured = pReferee->GetInjuredPlayer();
        pSecond = GetNearestToTargetExcept(
            p, pInjured && pInjured->GetPersonType() == PERSONTYPE_FOOTBALLER ? static_cast<const CMatchPlayer*>(pInjured)
                                                                              : nullptr,
            nullptr);
        break;
    }
    default:
        pSecond = GetNearestToTargetExcept(p, pReferee->GetEventPlayer(), nullptr);
        break;
    }
    if (pSecond) {
        pSecond->SetBasePosition(p);
        pSecond->SetNotInPlace(false);
    }
    return pSecond;
}

bool CMatchClub::IsEventPlayerUnassigned() const
{
    for (int i = 0; i < m_nSquadCount; ++i)
        if (m_apSlots[i] && m_apSlots[i]->IsChosenForRestart())
            return false;
    return true;
}

bool CMatchClub::IsReadyForRestart() const
{
    for (int i = 0; i < m_nOnPitch; ++i)
        if (m_apSlots[i] && (m_apSlots[i]->IsNotInPlace() || m_apSlots[i]->IsWalkingOut()))
            return false;
    return true;
}

int CMatchClub::GetWallSize(const CVector& kick, const CVector& goal)
{
    // The mouth from post to post as the kicker sees it.
    const CVector post1(goal.x, goal.y - 416, 0), post2(goal.x, goal.y + 416, 0);
    const double fVisible = std::fabs(WrapAngle(kick.GetAngleTo(post1) - kick.GetAngleTo(post2)));
    const double afAbove[4] = {0.4, 0.3, 0.2, 0.1};
    for (int i = 0; i < 4; ++i)
        if (fVisible > afAbove[i] * kPi / 4)
            return 5 - i;
    return 1;
}

void CMatchClub::BuildWall(const CVector& kick)
{
    CVector goal;
    GetGoalPosition(goal);
    const int nSize = GetWallSize(kick, goal);
    const double a = kick.GetAngleTo(goal);
    const CVector centre(kick.x + TruncateToInt(std::sin(a) * 1015), kick.y + TruncateToInt(std::cos(a) * 1015), 0);
    // Across the line of the kick, alternately either side of the centre.
    const double fAcrossX = std::cos(a), fAcrossY = -std::sin(a);
    const int32_t anSteps[5] = {0, 100, -200, 300, -400};
    int32_t nOffset = 0;
    for (int i = 0; i < nSize && m_nOnPitch - 1 - i > 0; ++i) {
        nOffset += anSteps[i];
        CMatchPlayer* p = GetSlot(m_nOnPitch - 1 - i);
        const CVector point(centre.x + TruncateToInt(fAcrossX * nOffset), centre.y + TruncateToInt(fAcrossY * nOffset),
                            0);
        if (!p || !IsOnPitchPoint(point) || p->GetSpecialRole() != ROLE_NONE)
            continue;
        p->SetSpecialRole(ROLE_FETCHER);
        p->SetBasePosition(point);
        p->SetNotInPlace(false);
    }
}

uint8_t CMatchClub::ChooseRoutine()
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (m_bRoutineLive && byEvent == MATCHEVENT_NONE && m_bHasBall)
        return m_Routine.byHasPoints;
    m_bRoutineChosen = m_bRoutineLive = false;
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    if (!m_pSaveGame || !pReferee)
        return 0;
    const CVector& e = pReferee->GetEventPosition();
    const bool bOurs = pReferee->GetRestartClub() == this;
    if (byEvent == MATCHEVENT_CORNER) {
        const int nSide = m_bAttacksHighEnd ? (e.y > 3750) : (e.y < 3751);
        const int nKind = bOurs ? 1 : 0;
        const int nCount = m_pSaveGame->GetCornerRoutineCount(nSide, nKind);
        if (nCount > 0 && m_pSaveGame->GetCornerRoutine(m_Routine, nSide, nKind, plat::rand() % nCount)) {
            m_bRoutineChosen = true;
            m_byCornerSide = uint8_t(nSide);
        }
    } else if ((byEvent == MATCHEVENT_FREEKICK || byEvent == MATCHEVENT_DIRECTFREEKICK) && bOurs) {
        const CVector seen = m_bAttacksHighEnd ? e : CVector(PITCH_LENGTH - e.x, PITCH_WIDTH - e.y, 0);
        const int nZone = m_Engine.GetGridCell(seen);
        m_byFreeKickZone = uint8_t(nZone);
        const int nCount = nZone == CMatchEngine::kNoGridCell ? 0 : m_pSaveGame->GetFreeKickRoutineCount(nZone);
        if (nCount > 0 && m_pSaveGame->GetFreeKickRoutine(m_Routine, nZone, plat::rand() % nCount))
            m_bRoutineChosen = true;
    }
    m_bRoutineLive = m_bRoutineChosen;
    m_nRoutineStep = 0;
    return m_bRoutineChosen ? m_Routine.byHasPoints : 0;
}

void CMatchClub::AdvanceRoutineStep()
{
    if (++m_nRoutineStep >= std::min<int>(m_Routine.byTargetCount, SETPIECE_TARGETS))
        m_bRoutineLive = false;
}

uint8_t CMatchClub::GetThreatRating(int nLineUp) const
{
    return nLineUp >= 0 && nLineUp < kLineUpNumbers ? m_abyThreatRatings[nLineUp] : 0;
}

void CMatchClub::SetThreatRating(int nLineUp, uint8_t byRating)
{
    if (nLineUp >= 0 && nLineUp < kLineUpNumbers)
        m_abyThreatRatings[nLineUp] = std::min<uint8_t>(byRating, 100);
}

int CMatchClub::GetShootingZone(int32_t x, int32_t y) const
{
    // Measured at the goal the club attacks.
    const int32_t d = m_bAttacksHighEnd ? x : PITCH_LENGTH - x;
    if (d >= 9800 && d <= PITCH_LENGTH && y >= 3334 && y <= 4166)
        return 0;
    if (d >= 8350 && d <= PITCH_LENGTH && y >= 1684 && y <= 5816)
        return 1;
    return 2;
}

void CMatchClub::PlaceForZone(int nZone)
{
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    const CVector e = pReferee ? pReferee->GetEventPosition() : CVector(5000, GOAL_CENTRE_Y, 0);
    const CVector second = pReferee ? pReferee->GetSecondEventPosition() : e;
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    // The layout is drawn from the club's own end: for the club attacking the
    // low end a ball zone turns with the pitch, and a corner by one touch
    // line is, seen from its end, a corner by the other.
    int nOwnZone = nZone;
    if (!m_bAttacksHighEnd && nZone < 25)
        nOwnZone = (4 - nZone / 5) * 5 + (4 - nZone % 5);
    else if (!m_bAttacksHighEnd && nZone == CMatchEngine::ZONE_CORNER_FAR)
        nOwnZone = CMatchEngine::ZONE_CORNER_NEAR;
    else if (!m_bAttacksHighEnd && nZone == CMatchEngine::ZONE_CORNER_NEAR)
        nOwnZone = CMatchEngine::ZONE_CORNER_FAR;
    for (int i = 0; i < m_nOnPitch; ++i)
        if (CMatchPlayer* p = m_apSlots[i].get();
            p && (p->GetSpecialRole() == ROLE_FETCHER || p->GetSpecialRole() == ROLE_OFFSIDE_TRAP))
            p->SetSpecialRole(ROLE_NONE);
    if (byEvent == MATCHEVENT_DIRECTFREEKICK && pReferee && pReferee->GetRestartClub() == m_pOpponent &&
        GetZone(e.x, e.y) == 1)
        BuildWall(e);
    const uint8_t byRoutine = ChooseRoutine();
    const bool bShootOut = m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT;
    for (int i = 0; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p)
            continue;
        const int nLineUp = p->GetSquadPosition();
        CVector base = p->GetBasePosition();
        switch (p->GetSpecialRole()) {
        case ROLE_EVENT_PLAYER:
            base = e;
            break;
        case ROLE_SECOND_EVENT_PLAYER:
            base = second;
            break;
        case ROLE_NONE:
            if (bShootOut) {
                base = i == 0 ? CVector(100, 1684, 0)
                              : CVector(4500, m_bHome ? 4250 : 3250, 0) + kShootOutOffsets[std::min(i, 10)];
            } else if (byRoutine && nLineUp < SETPIECE_POINTS) {
                const CVector point(m_Routine.anPoints[nLineUp][0], m_Routine.anPoints[nLineUp][1], 0);
                base = m_bAttacksHighEnd ? point : CVector(PITCH_LENGTH - point.x, PITCH_WIDTH - point.y, 0);
            } else if (byEvent == MATCHEVENT_HALFTIME || byEvent == MATCHEVENT_FULLTIME) {
                base = GetTouchLinePoint();
            } else if (const MATCHLAYOUTENTRY* pEntry = nZone < 25 ? GetLayoutEntry(nLineUp) : nullptr) {
                p->SetFormationPosition(*pEntry, nOwnZone);
                base = m_bHasBall ? p->GetFormationSecond() : p->GetFormationStart();
            } else {
                base = GetFormationPoint(nLineUp, nOwnZone, m_bHasBall);
            }
            break;
        default:
            continue;  // the wall stays where it was built
        }
        p->SetBasePosition(base);
        p->SetNotInPlace(false);
        p->UpdateBasePosition();
    }
}

bool CMatchClub::RemoveFromPitch(CMatchPlayer* pPlayer)
{
    int nSlot = -1;
    for (int i = 0; i < m_nOnPitch; ++i)
        if (m_apSlots[i].get() == pPlayer)
            nSlot = i;
    if (nSlot < 0) {
        DebugLog(6, "[CMatchClub::RemoveFromPitch] The player is not on the pitch");
        return false;
    }
    std::rotate(m_apSlots + nSlot, m_apSlots + nSlot + 1, m_apSlots + m_nSquadCount);
    --m_nOnPitch;
    RebuildLineUp();
    UpdateSetPieceTakers();
    CMatchReferee* pReferee = m_Engine.GetReferee();
    if (!pReferee)
        return true;
    // His restart role passes on to whoever is chosen now.
    if (pReferee->GetEventPlayer() == pPlayer) {
        pPlayer->SetChosenForRestart(false);
        CMatchPlayer* pNew = ChooseEventPlayer();
        pReferee->ReplaceEventPlayer(pNew);
        if (pNew) {
            pNew->SetSpecialRole(ROLE_EVENT_PLAYER);
            pNew->UpdateBasePosition();
        }
    }
    if (pReferee->GetSecondEventPlayer() == pPlayer) {
        CMatchPlayer* pNew = ChooseSecondEventPlayer();
        pReferee->ReplaceSecondEventPlayer(pNew);
        if (pNew) {
            pNew->SetSpecialRole(ROLE_SECOND_EVENT_PLAYER);
            pNew->UpdateBasePosition();
        }
    }
    return true;
}

void CMatchClub::LeaveForBench(CMatchPlayer* pPlayer, const CVector& seat)
{
    pPlayer->SetSpecialRole(ROLE_BENCH);
    pPlayer->SetDecision(DECISION_SUBSTITUTE_BENCH);
    pPlayer->SetBasePosition(seat);
    pPlayer->SetNotInPlace(false);
    pPlayer->SetAvailableSubstitute(false);
    pPlayer->SetChosenForRestart(false);
    pPlayer->UpdateBasePosition();
}

void CMatchClub::TakePlayerOff(CMatchPlayer* pPlayer)
{
    if (!pPlayer || !RemoveFromPitch(pPlayer))
        return;
    if (pPlayer->IsInjured()) {
        ITEMMATCHEVENTINFORMATION& record = m_Engine.GetEventRecord();
        record.pPerson = pPlayer;
        record.pSecondPerson = nullptr;
        record.dwMatchTime = m_Engine.GetEngineClock();
        record.dwGameTime = m_Engine.GetMatchTime();
        record.byEvent = INCIDENT_INJURED_OFF;
        record.byDetail = 0;
        m_Engine.SendIncident();
    }
    LeaveForBench(pPlayer, GetTouchLinePoint());
}

void CMatchClub::CompleteSubstitution(CMatchPlayer* pPlayer)
{
    if (!pPlayer)
        return;
    const uint8_t byPosition = pPlayer->GetSelectedPosition();
    const int nLineUp = pPlayer->GetSquadPosition();
    if (!RemoveFromPitch(pPlayer))
        return;
    LeaveForBench(pPlayer, GetTouchLinePoint());
    if (!m_pSaveGame)
        ReshapeAfterSendingOff(byPosition, nLineUp);
    m_Counters.bySubstitutions++;
}

void CMatchClub::ReshapeAfterSendingOff(uint8_t byPosition, int nLeavingLineUp)
{
    if (byPosition == 14 || byPosition == 15)
        return;
    CMatchPlayer* pLeaving = GetPlayer(nLeavingLineUp, false);
    const int nPriority = GetPositionPriority(byPosition);
    auto swapNumbers = [this](CMatchPlayer* a, CMatchPlayer* b) {
        const uint8_t byA = a->GetSquadPosition();
        a->SetSquadPosition(b->GetSquadPosition());
        b->SetSquadPosition(byA);
        RebuildLineUp();
    };
    auto byPriorityRule = [&]() {
        CMatchPlayer* pBest = nullptr;
        int nBest = 0;
        for (int i = 0; i < m_nOnPitch; ++i) {
            CMatchPlayer* p = m_apSlots[i].get();
            if (!p || GetPositionPriority(p->GetSelectedPosition()) <= nPriority)
                continue;
            const int nRating = p->GetRecord() ? p->GetRecord()->GetRatingForPosition(byPosition) : 0;
            if (nRating > nBest)
                pBest = p, nBest = nRating;
        }
        if (pBest && pLeaving)
            swapNumbers(pBest, pLeaving);
    };
    if (m_bySubstitutions >= kSubstitutionLimit) {
        byPriorityRule();
        return;
    }
    CMatchPlayer* pHighest = nullptr;
    for (int i = 0; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (p && (!pHighest || GetPositionPriority(p->GetSelectedPosition()) >
                                   GetPositionPriority(pHighest->GetSelectedPosition())))
            pHighest = p;
    }
    int nBench = -1, nBestRating = 0;
    for (int i = m_nOnPitch; i < m_nSquadCount; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p || !p->IsAvailableSubstitute())
            continue;
        if (byPosition == 0 && (p->GetNaturalPosition() == 0 || p->GetSelectedPosition() == 0)) {
            nBench = i;  // a goalkeeper on the bench goes in goal at once
            break;
        }
        const int nRating = p->GetRecord() ? p->GetRecord()->GetRatingForPosition(byPosition) : 0;
        if (nBench < 0 || nRating > nBestRating)
            nBench = i, nBestRating = nRating;
    }
    CMatchReferee* pReferee = m_Engine.GetReferee();
    if (pHighest && nBench >= 0 && pReferee && GetPositionPriority(pHighest->GetSelectedPosition()) >= nPriority) {
        // The player to be taken off carries the vacant number until the
        // substitution hands it to the bench player.
        if (pLeaving)
            swapNumbers(pLeaving, pHighest);
        int nOff = 0;
        for (int i = 0; i < m_nOnPitch; ++i)
            if (m_apSlots[i].get() == pHighest)
                nOff = i;
        pReferee->RequestSubstitution(m_bHome ? 0 : 1, nBench - m_nOnPitch, nOff);
        return;
    }
    byPriorityRule();
}

void CMatchClub::SubstitutePlayer(int nOffSlot, int nOnSlot)
{
    CMatchPlayer* pOff = nOffSlot >= 0 && nOffSlot < m_nOnPitch ? GetSlot(nOffSlot) : nullptr;
    CMatchPlayer* pOn = nOnSlot >= m_nOnPitch ? GetSlot(nOnSlot) : nullptr;
    if (!pOff || !pOn || !pOn->IsAvailableSubstitute()) {
        DebugLog(6, "[CMatchClub::SubstitutePlayer] No substitution of slot %d by slot %d", nOffSlot, nOnSlot);
        return;
    }
    DebugLog(6, "[CMatchClub::SubstitutePlayer] On: %s, Off: %s",
             pOn->GetRecord() ? pOn->GetRecord()->GetShortName() : "?",
             pOff->GetRecord() ? pOff->GetRecord()->GetShortName() : "?");
    pOn->SetRoamingRadius(GetFormationRoamingRadius(pOff->GetSquadPosition()));
    CMatchBall* pBall = m_Engine.GetBall();
    if (pBall && pBall->GetHolder() && m_Engine.GetMatchEvent() != MATCHEVENT_NONE) {
        pBall->SetPossessor(nullptr);
        pBall->RecordTrajectory(m_Engine.GetEngineClock(), nullptr);
    }
    CMatchReferee* pReferee = m_Engine.GetReferee();
    const uint8_t byRole = pOff->GetSpecialRole();
    if (byRole == ROLE_EVENT_PLAYER && pReferee && pReferee->GetEventPlayer() == pOff) {
        pReferee->ReplaceEventPlayer(pOn);
        pOn->SetChosenForRestart(pOff->IsChosenForRestart());
        pOff->SetChosenForRestart(false);
    } else if (byRole == ROLE_SECOND_EVENT_PLAYER && pReferee && pReferee->GetSecondEventPlayer() == pOff) {
        pReferee->ReplaceSecondEventPlayer(pOn);
    }
    pOn->SetSpecialRole(byRole);

    ITEMMATCHEVENTINFORMATION& record = m_Engine.GetEventRecord();
    auto send = [&](uint8_t byDetail) {
        record.pPerson = pOn;
        record.pSecondPerson = pOff;
        record.dwMatchTime = m_Engine.GetEngineClock();
        record.dwGameTime = m_Engine.GetMatchTime();
        record.byEvent = EVENT_SUBSTITUTION;
        record.byDetail = byDetail;
        m_Engine.SendMatchEvent();
    };
    send(pOff->GetMatchRating() < 41 ? 3 : 0);
    send(pOff->IsInjured() ? 2 : 1);
    record.pPerson = pOff;
    record.pSecondPerson = pOn;
    record.byEvent = pOff->IsInjured() ? INCIDENT_INJURED_OFF : INCIDENT_SUBSTITUTION;
    record.byDetail = 0;
    m_Engine.SendIncident();

    const uint8_t byOffNumber = pOff->GetSquadPosition();
    pOff->SetSquadPosition(pOn->GetSquadPosition());
    pOn->SetSquadPosition(byOffNumber);
    if (pOn->GetSpecialRole() == ROLE_BENCH)
        pOn->SetSpecialRole(ROLE_NONE);
    pOn->ApplyWarmUpBonus();  // while his decision still tells how long he warmed up
    pOn->SetDecision(DECISION_POSITION_BASE);
    pOn->SetBasePosition(pOff->GetBasePosition());
    pOn->SetNotInPlace(false);
    pOn->UpdateBasePosition();
    LeaveForBench(pOff, GetBenchSeat(nOnSlot));
    pOn->SetColour(pOff->GetColour());
    pOn->SetTookPart(true);
    pOn->SetAvailableSubstitute(false);

    std::swap(m_apSlots[nOffSlot], m_apSlots[nOnSlot]);
    RebuildLineUp();
    ++m_bySubstitutions;
    m_Counters.bySubstitutions++;
    ApplyTeamOrders();
}
