// The footballer's moods acting before his ordinary decision: frustration
// at a miss, the celebration of his club's goal (the scorer dances off,
// team-mates gather round him, the bench claps) and arguing with whoever
// provoked him.
#include "match/actors/CMatchPlayer.h"

#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchReferee.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Library actions of the reactions.
constexpr uint8_t kActionFrustration = 37;
constexpr uint8_t kActionScorerDance = 34;
constexpr uint8_t kActionClapping = 35;
constexpr uint8_t kActionRunningGesture = 36;
constexpr uint8_t kActionArguing = 42;
constexpr uint8_t kEventArguing = 18;
// Morale / 10 above this celebrates a goal; after one celebration morale
// drops just below it so that no second one starts at the same kick-off.
constexpr int32_t kCelebrationMorale = 85;
constexpr int32_t kRunningGestureDistance = 500;
constexpr int kRunningGestureChance = 80;
constexpr int kBenchClappingChance = 20;
constexpr int32_t kNearScorer = 600;
constexpr int64_t kJoiningRange = 5000;
constexpr int32_t kInPlace = 70;
// Anger / 10 from which a player argues.
constexpr int32_t kArguingAnger = 91;

const CVector kGatheringOffsets[11] = {{0, 0, 0},       {0, 150, 0},     {0, -150, 0},    {150, 0, 0},
                                       {-150, 0, 0},    {100, 100, 0},   {-100, 100, 0},  {-100, -100, 0},
                                       {100, -100, 0},  {-170, 170, 0},  {170, -170, 0}};
const uint32_t kCelebrationTimes[10] = {1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500};

}  // namespace

const CVector CMatchPlayer::kCelebrationPoints[5] = {
    {10000, 0, 0}, {10000, 7500, 0}, {5000, 3750, 0}, {5000, 0, 0}, {5000, 7500, 0}};

uint32_t CMatchPlayer::GetCelebrationTime(int32_t nMorale)
{
    return kCelebrationTimes[std::clamp(nMorale / 100, 0, 9)];
}

CVector CMatchPlayer::GetGatheringOffset(int nSquadPosition)
{
    return kGatheringOffsets[std::clamp(nSquadPosition, 0, 10)];
}

void CMatchPlayer::RequestCelebrationMove(bool bScorer)
{
    if (!CAnimationLibrary::IsStandingMoveType(m_byMoveType) && m_nDistanceToTarget > kRunningGestureDistance) {
        if (plat::rand() % 100 < kRunningGestureChance &&
            SelectActionOfMoveType(kActionRunningGesture, true, GetClub()->IsInPenaltyArea(m_vPosition, false))) {
            m_Request.flags |= 1;  // keep the heading
            m_Request.heading = float(m_vPosition.GetAngleTo(m_vTarget));
        }
    } else if (m_nDistanceToTarget < kInPlace) {
        SelectActionOfMoveType(bScorer ? kActionScorerDance : kActionClapping);
    }
}

bool CMatchPlayer::StartArguing(CMatchPerson& other)
{
    if (m_nDistanceToTarget < kInPlace && SelectRandomAction(kActionArguing))
        AdjustAnger(-100);
    if (m_byDecision != DECISION_ARGUE)
        m_dwStoredMoment = m_Engine.GetEngineClock();
    if (other.GetPersonType() == PERSONTYPE_REFEREE) {
        ITEMMATCHEVENTINFORMATION& record = m_Engine.GetEventRecord();
        record.pPerson = &other;
        record.dwMatchTime = m_Engine.GetEngineClock();
        record.dwGameTime = m_Engine.GetMatchTime();
        record.byEvent = kEventArguing;
        record.byDetail = 1;
        m_Engine.SendMatchEvent();
    }
    SetDecision(DECISION_ARGUE);
    CVector offset = GetGatheringOffset(m_bySquadPosition);
    if (m_pClub->AttacksHighEnd())
        offset.y = -offset.y;
    SetTarget(other.GetPosition() + offset, kNoFacing);
    return true;
}

bool CMatchPlayer::MakeReactionDecision()
{
    if (m_bHasBall)
        return false;
    const CMatchBall* pBall = m_Engine.GetBall();
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    const uint8_t byCause = pReferee ? pReferee->GetResolvedCause() : static_cast<uint8_t>(CAUSE_NONE);

    // A miss: once the moment has passed he stands and shows it.
    if (m_byDecision == DECISION_EMOTION_FRUSTRATION &&
        ((pBall && (pBall->GetHolder() || !pBall->IsInPlayArea())) || byCause != CAUSE_NONE)) {
        // He shows it where he stands, once: a player still on the move (or
        // one without the gesture) lets it go, so the restart never waits
        // on him.
        if (m_byMoveType == MOVETYPE_STAND)
            SelectRandomAction(kActionFrustration);
        SetTarget(m_vPosition, kNoFacing);
        SetDecision(DECISION_POSITION_BASE);
        return true;
    }

    // His club scored and the other side waits to kick off.
    CMatchPlayer* pScorer = pReferee ? pReferee->GetOffender() : nullptr;
    if (m_Engine.GetMatchEvent() == MATCHEVENT_KICKOFF && byCause == CAUSE_GOAL && pScorer &&
        pReferee->GetRestartClub() != m_pClub && pScorer->GetClub() == m_pClub) {
        const bool bScorer = pScorer == this;
        const uint32_t dwSince = m_Engine.GetEngineClock() - m_dwStoredMoment;
        CVector gathering = GetGatheringOffset(m_bySquadPosition);
        if (pScorer->GetPosition().y < GOAL_CENTRE_Y)
            gathering.y = -gathering.y;
        if (m_bySpecialRole == ROLE_BENCH) {
            if (plat::rand() % 100 < kBenchClappingChance)
                SelectActionOfMoveType(kActionClapping);
        } else if (m_byDecision == DECISION_CELEBRATE && dwSince <= m_dwCelebrationTime) {
            if (bScorer) {
                int32_t nMate = 0;
                const bool bMateNear = m_pClub->GetNearestPlayerExcept(m_vPosition, this, &nMate) && nMate < kNearScorer;
                if (m_vPosition == m_vTarget && bMateNear) {
                    CVector point = kCelebrationPoints[plat::rand() % 5];
                    if (!m_pClub->AttacksHighEnd())
                        point.x = PITCH_LENGTH - point.x;
                    point.x += plat::rand() % 800 - 400;
                    point.y += plat::rand() % 800 - 400;
                    SetTarget(point, kNoFacing);
                } else {
                    SetTarget(m_vTarget, kNoFacing);
                }
            } else {
                SetTarget(pScorer->GetPosition() + gathering, kNoFacing);
            }
            RequestCelebrationMove(bScorer);
            return true;
        } else if (m_byDecision == DECISION_CELEBRATE) {
            m_nMorale = kCelebrationMorale * 10 - 1;
        } else if (m_nMorale / 10 > kCelebrationMorale &&
                   (bScorer || (pScorer->GetDecision() == DECISION_CELEBRATE &&
                                int64_t(m_vPosition.SquaredDistance2D(pScorer->GetPosition())) <
                                    kJoiningRange * kJoiningRange))) {
            m_dwCelebrationTime = GetCelebrationTime(m_nMorale);
            m_dwStoredMoment = m_Engine.GetEngineClock();
            SetDecision(DECISION_CELEBRATE);
            SetTarget(bScorer ? m_vPosition : pScorer->GetPosition() + gathering, kNoFacing);
            return true;
        }
    }

    // Arguing with whoever is arguing with him, or walking up to the one who
    // provoked him.
    if (m_pArguedBy && m_nAnger / 10 >= kArguingAnger)
        return StartArguing(*m_pArguedBy);
    if (m_pProvoker && m_Engine.GetMatchEvent() != MATCHEVENT_NONE) {
        if (m_nAnger / 10 < kArguingAnger) {
            m_pProvoker->SetArguedBy(nullptr);
            m_pProvoker = nullptr;
            return false;
        }
        m_pProvoker->SetArguedBy(this);
        return StartArguing(*m_pProvoker);
    }
    return false;
}
