// CMatchPerson's animation requests and movement: the speed grades, the move
// type a decision asks for, steps, transitions, cycles, arrivals and standing
// turns. Each writes the one request that UpdateAnimation installs when the
// model's current animation ends.
#include "match/actors/CMatchPerson.h"

#include "common/DebugLog.h"
#include "match/CMatchEngine.h"
#include "render3d/CAnimationManager.h"
#include "render3d/CObjectData.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kQuarter = kPi / 4;
constexpr float kArrivalFactor = 1.5f;
constexpr float kTurnDeadZone = 0.4f;
constexpr uint16_t kMinFrameTime = 20;
constexpr uint16_t kMaxFrameTime = 45;
constexpr uint8_t kGradePercent[CMatchPerson::kGrades] = {30, 40, 50, 65, 75, 80, 85, 90, 95, 100};
constexpr uint8_t kHeadingAndScale = ANIMREQ_USE_START_HEADING | ANIMREQ_SCALE_Z;

struct GradeLimit {
    uint8_t byMoveType;
    int32_t nUpTo;
};
const std::vector<GradeLimit> kGradeLimits[CMatchPerson::GRADE_TABLES] = {
    {{MOVETYPE_WALK, 300}, {MOVETYPE_JOG, 500}, {MOVETYPE_RUN, INT_MAX}},
    {{MOVETYPE_DRIBBLE_WALK, 300}, {MOVETYPE_DRIBBLE_JOG, 600}, {MOVETYPE_DRIBBLE_RUN, INT_MAX}},
    {{MOVETYPE_HOLD_WALK, INT_MAX}},
    {{MOVETYPE_LIMP, INT_MAX}},
};

float Wrap(float fAngle)
{
    return float(WrapAngle(fAngle));
}

uint16_t ClampFrameTime(uint32_t dwMs)
{
    return uint16_t(dwMs < kMinFrameTime ? kMinFrameTime : dwMs > kMaxFrameTime ? kMaxFrameTime : dwMs);
}

const CAnimationLibrary& Library()
{
    return CMatchPerson::GetAnimationLibrary();
}

void SetHeading(ANIMATIONREQUEST& request, float fHeading)
{
    request.flags |= ANIMREQ_USE_START_HEADING;
    request.startHeading = Wrap(fHeading);
}

}  // namespace

int32_t CMatchPerson::GetMoveSpeed(uint8_t byStepDirection)
{
    return byStepDirection <= STEP_BACKWARD ? 200 : 300;
}

void CMatchPerson::GetPaceAttributes(int32_t* pnFirst, int32_t* pnMean) const
{
    *pnFirst = 50;
    *pnMean = 50;
}

void CMatchPerson::ClearAnimationRequest(ANIMATIONREQUEST& request)
{
    request = ANIMATIONREQUEST();
    request.frameTime = kDefaultFrameTime;
}

void CMatchPerson::TakeRequest(const ANIMATIONREQUEST& request, uint8_t byEventKind, uint8_t byNextMoveType)
{
    m_Request = request;
    // The action's event kind tells the model how to report its ball
    // contact frames (receiving, releasing, striking).
    m_Request.handledObjectMode = byEventKind;
    m_byRequestEventKind = byEventKind;
    m_byNextMoveType = byNextMoveType;
    m_bRequestPending = true;
}

bool CMatchPerson::TakeActionRecord(const ACTIONENTRY& entry, const ACTIONRECORD& record)
{
    ANIMATIONREQUEST request;
    ClearAnimationRequest(request);
    request.animation = record.wAnimation;
    TakeRequest(request, entry.byEventKind, record.byEndMoveType);
    return true;
}

void CMatchPerson::InstallMoveTypeTemplate()
{
    const MOVETYPEENTRY* pEntry = Library().GetMoveType(m_byMoveType);
    if (!pEntry || pEntry->wTemplate == NO_TEMPLATE_ANIMATION)
        return;
    ANIMATIONREQUEST request;
    ClearAnimationRequest(request);
    request.animation = pEntry->wTemplate;
    TakeRequest(request, 0, m_byMoveType);
}

bool CMatchPerson::InstallStandingTransition()
{
    m_bRequestPending =
        ChooseTransition(m_byMoveType, CAnimationLibrary::GetStandingMoveType(m_byMoveType), kDefaultFrameTime);
    return m_bRequestPending;
}

bool CMatchPerson::SelectRandomAction(uint8_t byAction)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    if (!pEntry || pEntry->records.empty())
        return false;
    return TakeActionRecord(*pEntry, pEntry->records[size_t(rand()) % pEntry->records.size()]);
}

bool CMatchPerson::SelectActionOfMoveType(uint8_t byAction)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    if (!pEntry) {
        DebugLog(6, "[CMatchPerson::SelectActionOfMoveType] Invalid Action Type: %d", byAction);
        return false;
    }
    for (const ACTIONRECORD& record : pEntry->records)
        if (record.byStartMoveType == m_byMoveType)
            return TakeActionRecord(*pEntry, record);
    return false;
}

bool CMatchPerson::SelectActionOfMoveType(uint8_t byAction, bool bTest, bool bInPenaltyArea)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    if (!pEntry) {
        DebugLog(6, "[CMatchPerson::SelectActionOfMoveType] Invalid Action Type: %d", byAction);
        return false;
    }
    const size_t nCount = pEntry->records.size();
    std::vector<bool> tried(nCount, false);
    for (size_t nTried = 0; nTried < nCount; ++nTried) {
        size_t r = size_t(rand()) % nCount;
        while (tried[r])
            r = size_t(rand()) % nCount;
        tried[r] = true;
        const ACTIONRECORD& record = pEntry->records[r];
        if (record.byStartMoveType != m_byMoveType)
            continue;
        if (bTest && m_pModel) {
            ClearAnimationRequest(m_Candidate);
            m_Candidate.animation = record.wAnimation;
            m_pModel->PredictAnimationEnd(&m_Candidate);
            if (!IsPositionFree(CVector(TruncateToInt(m_Candidate.x), TruncateToInt(m_Candidate.y), 0),
                                bInPenaltyArea))
                continue;
        }
        return TakeActionRecord(*pEntry, record);
    }
    return false;
}

void CMatchPerson::ChooseIdleAnimation(uint8_t byStandingMoveType)
{
    const bool bEvent = m_Engine.GetMatchEvent() != MATCHEVENT_NONE;
    switch (byStandingMoveType) {
    case MOVETYPE_STAND:
    case MOVETYPE_DRIBBLE_STAND:
        if (m_bHasBall && bEvent && rand() % 100 < 2)
            SelectRandomAction(15);
        else if (m_bHasBall || m_bFacingOverrideWanted)
            InstallMoveTypeTemplate();
        else
            SelectRandomAction(m_byDecision == DECISION_SUBSTITUTE_WARMUP ? 12 : 10);
        break;
    case MOVETYPE_HOLD_STAND:
        SelectRandomAction(rand() % 100 >= 5 ? 13 : 14);
        break;
    case MOVETYPE_CROUCH:
        // The referee's hold on the restart joins this test with the referee.
        if (bEvent)
            SelectRandomAction(18);
        else
            InstallMoveTypeTemplate();
        break;
    case MOVETYPE_COVER:
        InstallMoveTypeTemplate();
        break;
    case MOVETYPE_SEATED:
        SelectRandomAction(19);
        break;
    case MOVETYPE_POORLY:
        SelectRandomAction(17);
        break;
    default:
        break;
    }
    SetAction(ACTION_NOTHING);
}

void CMatchPerson::FitAnimationToTime(uint32_t dwMs)
{
    if (!m_pModel)
        return;
    const uint32_t dwFrames = m_pModel->GetFramesLeft();
    if (dwFrames != 0)
        m_pModel->SetFrameTime(ClampFrameTime(dwMs / dwFrames));
    if (m_pReplayRing && !m_bReplaying && m_pModel->GetEndFrame() != 0) {
        auto* pLatest = m_pReplayRing->GetLatest();
        const uint32_t dwSince = m_Engine.GetEngineClock() - pLatest->dwTime;
        pLatest->pRecord->request.frameTime = ClampFrameTime((dwSince + dwMs) / m_pModel->GetEndFrame());
    }
}

void CMatchPerson::CancelPendingAnimation()
{
    m_bRequestPending = false;
}

void CMatchPerson::BuildSpeedGrades()
{
    int32_t nFirst = 50, nMean = 50;
    GetPaceAttributes(&nFirst, &nMean);
    m_anPace[GRADES_NO_BALL] = 500 + nFirst * 300 / 100;
    m_anPace[GRADES_BALL] = 400 + nMean * 300 / 100;
    m_anPace[GRADES_HOLDING] = 250;
    m_anPace[GRADES_INJURED] = 250;
    for (int t = 0; t < GRADE_TABLES; ++t) {
        size_t k = 0;
        for (int g = 0; g < kGrades; ++g) {
            SPEEDGRADE& grade = m_aSpeedGrades[t][g];
            grade.nSpeed = kGradePercent[g] * m_anPace[t] / 100;
            while (k + 1 < kGradeLimits[t].size() && grade.nSpeed > kGradeLimits[t][k].nUpTo)
                ++k;
            grade.byMoveType = kGradeLimits[t][k].byMoveType;
            const MOVETYPEENTRY* pEntry = Library().GetMoveType(grade.byMoveType);
            const int32_t nPerFrame = pEntry ? TruncateToInt(pEntry->fDistancePerFrame * 1000.0f) : 0;
            const int32_t nFrameTime = grade.nSpeed > 0 ? nPerFrame / grade.nSpeed : 0;
            grade.byFrameTime = uint8_t(nFrameTime > 255 ? 255 : nFrameTime);
        }
    }
}

void CMatchPerson::ChooseMovementType()
{
    if (m_byPersonType == PERSONTYPE_PHYSIO) {
        m_byIntendedMoveType = MOVETYPE_PHYSIO_JOG;
        m_wIntendedFrameTime = kDefaultFrameTime;
        m_bMoveChosen = true;
        return;
    }
    const uint8_t byClass = CAnimationLibrary::GetMoveClass(m_byMoveType);
    int nTable = GRADES_NO_BALL;
    switch (byClass) {
    case 0:
    case 1:
        if (m_bMoveChosen)
            return;
        if (CAnimationLibrary::IsStandingMoveType(m_byMoveType) && m_byMoveType != MOVETYPE_STAND) {
            m_byIntendedMoveType = MOVETYPE_STAND;
            m_wIntendedFrameTime = kDefaultFrameTime;
            return;
        }
        nTable = m_bHasBall ? GRADES_BALL : GRADES_NO_BALL;
        break;
    case 2:
        if (m_byMoveType == MOVETYPE_HOLD_STAND &&
            (!m_bMoveChosen || CAnimationLibrary::GetMoveClass(m_byIntendedMoveType) != 2)) {
            m_byIntendedMoveType = MOVETYPE_STAND;
            m_wIntendedFrameTime = kDefaultFrameTime;
            return;
        }
        nTable = GRADES_HOLDING;
        break;
    case 3:
        nTable = GRADES_INJURED;
        break;
    default:
        DebugLog(6, "[CMatchPerson::ChooseMovementType] Current move class is invalid: %d", byClass);
        return;
    }
    const SPEEDGRADE& grade = m_aSpeedGrades[nTable][m_bySpeedGrade < kGrades ? m_bySpeedGrade : kGrades - 1];
    if (m_byMoveType == MOVETYPE_STAND || grade.byMoveType == MOVETYPE_STAND || grade.byMoveType == m_byMoveType ||
        !CAnimationLibrary::IsStandingMoveType(grade.byMoveType)) {
        m_byIntendedMoveType = grade.byMoveType;
        m_wIntendedFrameTime = grade.byFrameTime;
        m_bMoveChosen = true;
    }
}

void CMatchPerson::PlanStep()
{
    m_bStepPlanned = false;
    if (!m_bRunningToTarget)
        return;
    const float fDir = float(m_vPosition.GetAngleTo(m_vTarget));
    switch (m_byMoveType) {
    case MOVETYPE_STAND:
        m_byStepAction = m_bHasBall ? 3 : 1;
        break;
    case MOVETYPE_HOLD_STAND:
        m_byStepAction = 4;
        break;
    case MOVETYPE_CROUCH:
        m_byStepAction = 2;
        break;
    default:
        if (m_nDistanceToTarget >= 70)
            m_fFacingTarget = fDir;
        return;
    }
    const float d = Wrap(m_fFacingTarget - fDir);
    if (std::fabs(d) < kQuarter) {
        m_byStepDirection = STEP_FORWARD;
        m_fStepHeading = fDir;
    } else if (std::fabs(d) <= 3 * kQuarter) {
        // Headings grow clockwise: facing a quarter clockwise of the target's
        // direction, the target lies to the left.
        m_byStepDirection = d >= 0 ? STEP_LEFT : STEP_RIGHT;
        m_fStepHeading = Wrap(d >= 0 ? fDir + kPi / 2 : fDir - kPi / 2);
    } else {
        m_byStepDirection = STEP_BACKWARD;
        m_fStepHeading = Wrap(fDir - kPi);
    }
    if (m_byMoveType == MOVETYPE_CROUCH)
        m_bStepPlanned = m_bMoveChosen && m_byIntendedMoveType == MOVETYPE_CROUCH;
    else
        m_bStepPlanned = GetMoveSpeed(m_byStepDirection) >= m_nDistanceToTarget;
    if (!m_bStepPlanned)
        m_fFacingTarget = fDir;
}

bool CMatchPerson::TestAnimationAgainstCurrentBest(uint8_t byEndMoveType)
{
    if (byEndMoveType >= MOVETYPE_COUNT)
        DebugLog(6, "[CMatchPerson::TestAnimationAgainstCurrentBest] Invalid End Type: %d", byEndMoveType);
    if (!m_pModel)
        return false;
    m_pModel->PredictAnimationEnd(&m_Candidate);
    const CVector end(TruncateToInt(m_Candidate.x), TruncateToInt(m_Candidate.y), 0);
    if (!IsPositionFree(end, false))
        return false;
    const float fRating = TryAssessPosition(end);
    if (fRating > m_fBestScore) {
        m_fBestScore = fRating;
        TakeRequest(m_Candidate, 0, byEndMoveType);
        SetAction(ACTION_MOVING);
    }
    return true;
}

bool CMatchPerson::TryHeadings(uint8_t byEndMoveType)
{
    if (!m_bRunningToTarget) {
        bool bFree = TestAnimationAgainstCurrentBest(byEndMoveType);
        for (float fTurn : {-kQuarter, kQuarter}) {
            SetHeading(m_Candidate, m_fFacing + fTurn);
            bFree = TestAnimationAgainstCurrentBest(byEndMoveType) || bFree;
        }
        return bFree;
    }
    const bool bEvent = m_Engine.GetMatchEvent() != MATCHEVENT_NONE;
    const bool bStanding = CAnimationLibrary::IsStandingMoveType(m_byMoveType);
    float fHeading = 0;
    if (!bEvent && bStanding) {
        fHeading = float(m_vPosition.GetAngleTo(m_vTarget));
    } else {
        fHeading = GetTurnToTarget(m_vTarget, nullptr);
        if (fHeading == kTurnTooFar)
            return false;
    }
    SetHeading(m_Candidate, fHeading);
    if (TestAnimationAgainstCurrentBest(byEndMoveType))
        return true;
    if (bEvent && !bStanding)
        return false;
    bool bFree = false;
    for (float fTurn : {-(kQuarter - 0.1f), kQuarter - 0.1f}) {
        SetHeading(m_Candidate, m_fFacing + fTurn);
        bFree = TestAnimationAgainstCurrentBest(byEndMoveType) || bFree;
    }
    return bFree;
}

bool CMatchPerson::ChooseTransition(uint8_t byCurrent, uint8_t byIntended, uint16_t wFrameTime)
{
    if (byCurrent == byIntended)
        return false;
    if (byCurrent >= MOVETYPE_COUNT || byIntended >= MOVETYPE_COUNT) {
        if (byCurrent >= MOVETYPE_COUNT)
            DebugLog(6, "[CMatchPerson::ChooseTransition] Current Move Type Invalid: %d", byCurrent);
        else
            DebugLog(6, "[CMatchPerson::ChooseTransition] Intended Move Type Invalid: %d", byIntended);
        return false;
    }
    const TRANSITIONENTRY& pair = *Library().GetTransition(byCurrent, byIntended);
    if (pair.animations.empty())
        return false;
    if (CAnimationLibrary::IsStandingMoveType(byIntended)) {
        ANIMATIONREQUEST request;
        ClearAnimationRequest(request);
        request.animation = pair.animations[size_t(rand()) % pair.animations.size()];
        request.frameTime = wFrameTime;
        TakeRequest(request, 0, byIntended);
        SetAction(ACTION_TRANSITION);
        return true;
    }
    if (m_bRunningToTarget && ArriveWithTransition(pair, byIntended))
        return true;
    ClearAnimationRequest(m_Candidate);
    m_Candidate.animation = pair.animations[0];
    m_Candidate.frameTime = wFrameTime;
    TryHeadings(byIntended);
    for (size_t i = 1; i < pair.animations.size(); ++i) {
        ClearAnimationRequest(m_Candidate);
        m_Candidate.animation = pair.animations[i];
        m_Candidate.frameTime = wFrameTime;
        SetHeading(m_Candidate, m_fFacing);
        TestAnimationAgainstCurrentBest(byIntended);
    }
    SetAction(ACTION_TRANSITION);
    return true;
}

bool CMatchPerson::ArriveWithTransition(const TRANSITIONENTRY& pair, uint8_t byIntended)
{
    const int32_t nNeeded = Library().GetMoveType(byIntended)->nStartDistance + pair.nDistance;
    if (nNeeded <= 0 || m_nDistanceToTarget > nNeeded * kArrivalFactor)
        return false;
    ANIMATIONREQUEST request;
    ClearAnimationRequest(request);
    request.animation = pair.animations[0];
    request.flags = kHeadingAndScale;
    request.startHeading = float(m_vPosition.GetAngleTo(m_vTarget));
    request.scale = float(m_nDistanceToTarget) / float(nNeeded);
    TakeRequest(request, 0, byIntended);
    SetAction(ACTION_STOPPING);
    return true;
}

bool CMatchPerson::InstallMoveCycle(uint8_t byMoveType, uint16_t wFrameTime)
{
    const MOVETYPEENTRY* pEntry = Library().GetMoveType(byMoveType);
    if (!pEntry || CAnimationLibrary::IsStandingMoveType(byMoveType) || pEntry->items.empty())
        return false;
    ClearAnimationRequest(m_Candidate);
    m_Candidate.animation = pEntry->items[0].wAnimation;
    m_Candidate.frameTime = wFrameTime;
    TryHeadings(byMoveType);
    return true;
}

bool CMatchPerson::StopNow()
{
    const uint8_t byStanding = CAnimationLibrary::GetStandingMoveType(m_byMoveType);
    const TRANSITIONENTRY& stop = *Library().GetTransition(m_byMoveType, byStanding);
    ANIMATIONREQUEST request;
    ClearAnimationRequest(request);
    request.animation = stop.animations[0];
    m_pModel->PredictAnimationEnd(&request);
    TakeRequest(request, 0, byStanding);
    SetAction(ACTION_MOVING);
    m_fBestScore = AssessPosition(CVector(TruncateToInt(request.x), TruncateToInt(request.y), 0)) * 0.5f;
    return false;
}

bool CMatchPerson::ArriveOrStop()
{
    const uint8_t byStanding = CAnimationLibrary::GetStandingMoveType(m_byMoveType);
    const TRANSITIONENTRY& stop = *Library().GetTransition(m_byMoveType, byStanding);
    const MOVETYPEENTRY& current = *Library().GetMoveType(m_byMoveType);
    const float fHeading = float(m_vPosition.GetAngleTo(m_vTarget));
    if (!IsPositionFree(m_vTarget, false))
        return StopNow();
    ANIMATIONREQUEST request;
    ClearAnimationRequest(request);
    request.startHeading = fHeading;
    const float fDistance = float(m_nDistanceToTarget);
    if (current.nStartDistance > 0 && fDistance <= current.nStartDistance * kArrivalFactor) {
        request.animation = stop.animations[0];
        request.flags = uint8_t((fDistance > 20 ? ANIMREQ_USE_START_HEADING : 0) | ANIMREQ_SCALE_Z);
        request.scale = fDistance / float(current.nStartDistance);
        TakeRequest(request, 0, byStanding);
        SetAction(ACTION_STOPPING);
        return true;
    }
    if (current.nStartPlusStride > 0 && fDistance < current.nStartPlusStride * kArrivalFactor &&
        !current.items.empty()) {
        request.animation = current.items[0].wAnimation;
        request.flags = kHeadingAndScale;
        request.scale = fDistance / float(current.nStartPlusStride);
        TakeRequest(request, 0, m_byMoveType);
        SetAction(ACTION_STOPPING);
        return true;
    }
    return StopNow();
}

bool CMatchPerson::TryHoldPosition()
{
    const uint8_t byStanding = CAnimationLibrary::GetStandingMoveType(m_byMoveType);
    if (!CAnimationLibrary::IsStandingMoveType(m_byMoveType)) {
        const TRANSITIONENTRY* pStop = Library().GetTransition(m_byMoveType, byStanding);
        if (!pStop || pStop->animations.empty())
            return false;
        if (m_bRunningToTarget)
            return ArriveOrStop();
        ANIMATIONREQUEST request;
        ClearAnimationRequest(request);
        request.animation = pStop->animations[0];
        m_pModel->PredictAnimationEnd(&request);
        TakeRequest(request, 0, byStanding);
        SetAction(ACTION_MOVING);
        m_fBestScore = AssessPosition(CVector(TruncateToInt(request.x), TruncateToInt(request.y), 0));
        return m_fBestScore >= m_fReachRating;
    }
    if (CAnimationLibrary::IsStandingMoveType(m_byIntendedMoveType) && m_byIntendedMoveType != m_byMoveType) {
        if (!ChooseTransition(m_byMoveType, m_byIntendedMoveType, kDefaultFrameTime))
            ChooseIdleAnimation(m_byIntendedMoveType);
    } else if (SelectStandingTurn(m_byMoveType)) {
        SetAction(ACTION_TURNING);
    } else {
        ChooseIdleAnimation(m_byMoveType);
        SetAction(ACTION_NOTHING);
        SetHeading(m_Request, m_fFacingTarget);
    }
    // The event player's hold at a restart joins here with the referee.
    if (m_fReachRating == 1.0f && m_bRunningToTarget && m_nDistanceToTarget < 70)
        return true;
    m_fBestScore = AssessPosition(m_vPosition);
    return m_fBestScore >= m_fReachRating;
}

void CMatchPerson::InstallFallbackMove()
{
    if (m_bStepPlanned) {
        const ACTIONENTRY* pStep = Library().GetAction(m_byStepAction);
        if (!pStep || m_byStepDirection >= pStep->records.size())
            return;
        ClearAnimationRequest(m_Candidate);
        m_Candidate.animation = pStep->records[m_byStepDirection].wAnimation;
        m_Candidate.frameTime = kStepFrameTime;
        SetHeading(m_Candidate, m_fStepHeading);
        if (TestAnimationAgainstCurrentBest(m_byMoveType))
            SetAction(ACTION_STEPPING);
        return;
    }
    if (!ChooseTransition(m_byMoveType, m_byIntendedMoveType, m_wIntendedFrameTime))
        InstallMoveCycle(m_byIntendedMoveType, m_wIntendedFrameTime);
}

bool CMatchPerson::SelectStandingTurn(uint8_t byMoveType)
{
    const uint8_t byTurns = byMoveType == MOVETYPE_STAND && m_bHasBall ? uint8_t(MOVETYPE_DRIBBLE_STAND) : byMoveType;
    const MOVETYPEENTRY* pEntry = Library().GetMoveType(byTurns);
    if (!pEntry) {
        DebugLog(6, "[CMatchPerson::SelectStandingTurn] Invalid Move Type: %d", byTurns);
        return false;
    }
    if (!CAnimationLibrary::IsStandingMoveType(byTurns) || pEntry->items.empty())
        return false;
    const float d = Wrap(m_fFacingTarget - m_fFacing);
    const float fSize = std::fabs(d);
    if (fSize < kTurnDeadZone)
        return false;
    const int nBand = fSize <= 3 * kPi / 8 ? 0 : fSize <= 7 * kPi / 8 ? 1 : 2;
    // Headings grow clockwise, so a positive difference is a turn to the right.
    const size_t nTurn = nBand == 2 ? size_t(TURN_180) : size_t(nBand * 2 + (d > 0 ? 1 : 0));
    if (nTurn >= pEntry->items.size()) {
        DebugLog(6, "[CMatchPerson::SelectStandingTurn] Selecting invalid turn: %d, %d, %d", int(nTurn), nBand,
                 TruncateToInt(fSize * 1000));
        return false;
    }
    const MOVETYPEITEM& turn = pEntry->items[nTurn];
    if (turn.byEndMoveType >= MOVETYPE_COUNT)
        DebugLog(6, "[CMatchPerson::SelectStandingTurn] Invalid Anim End Type: %d", turn.byEndMoveType);
    float afDisplacement[3] = {0, 0, 0};
    float fChange = 0;
    Library().GetObjectData()->GetAnimationManager().GetAnimationDisplacement(turn.wAnimation, afDisplacement,
                                                                             &fChange);
    const float fRest = Wrap(d - fChange);
    ANIMATIONREQUEST request;
    ClearAnimationRequest(request);
    request.animation = turn.wAnimation;
    if (fRest < kQuarter)
        SetHeading(request, m_fFacing + fRest);
    TakeRequest(request, 0, turn.byEndMoveType);
    return true;
}

float CMatchPerson::UpdateFacing()
{
    const int32_t nReach = m_nDistanceToTarget < 500 ? m_nDistanceToTarget : 500;
    std::vector<float> directions;
    if (m_bLookAround)
        directions.push_back(m_fFacing - (kPi / 2 + 0.5f));
    directions.insert(directions.end(), {m_fFacing + 0.3f, m_fFacing - 0.3f, float(m_vPosition.GetAngleTo(m_vTarget)),
                                         m_fFacing, float(m_vPosition.GetAngleTo(m_vBasePosition))});
    float fBest = -99999.0f;
    for (float fDirection : directions) {
        const CVector point(m_vPosition.x + TruncateToInt(nReach * std::sin(double(fDirection))),
                            m_vPosition.y + TruncateToInt(nReach * std::cos(double(fDirection))), 0);
        const float fRating = TryAssessPosition(point);
        if (fRating > fBest) {
            fBest = fRating;
            m_vLookPoint = point;
        }
    }
    return fBest;
}
