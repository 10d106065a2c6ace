// The footballer's contact with the ball: the strike that sends it towards
// his aim with the error his skill and the pressure on him allow, and the
// goalkeeper's save: how hard the shot is to stop and whether he catches,
// parries or dives.
#include "match/actors/CMatchPlayer.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchReferee.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

// A player who has had the ball at his feet this long kicks whatever he chose.
constexpr uint32_t kLongestOnBallMs = 6000;

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kGravity = 981;

// Error in percent by rating / 10, then by pressure level.
constexpr int kPassError[10] = {18, 16, 14, 12, 10, 8, 6, 4, 2, 0};
constexpr int kPassPressureError[4] = {5, 8, 11, 14};
constexpr int kShotError[10] = {51, 47, 43, 39, 35, 31, 27, 23, 19, 15};
constexpr int kShotPressureError[4] = {10, 15, 20, 25};
constexpr int kHeaderError[10] = {33, 30, 27, 24, 21, 18, 15, 12, 9, 6};
constexpr int kHeaderPressureError[4] = {5, 9, 13, 17};
constexpr int kMovingTargetError = 20;
constexpr int kPenaltyError = -15;

// Save difficulty by half seconds since the kick, and by the restart.
constexpr int kSaveTimeDifficulty[6] = {0, 0, -5, -10, -15, -20};
constexpr int kSaveEventDifficulty[MATCHEVENT_NEXTEVENT] = {0, 0, 0, 0, 0, 0, 0, 0, 10, 15, 0};
constexpr uint32_t kSaveReassessMs = 500;

constexpr uint8_t kKickKindHeader = 2;
constexpr uint8_t kActionCatchInPlace = 9;
constexpr uint8_t kActionDivingSave = 33;
constexpr uint8_t kActionCatch = 43;
constexpr uint8_t kActionParry = 54;
constexpr uint8_t kMoveTypeSaving = 10;
constexpr uint8_t kMoveTypeHolding = 8;
// Kick animations: along the ground short and long, chipped short and long,
// the throw-in and the goalkeeper's punt.
constexpr uint8_t kActionShortKick = 20;
constexpr uint8_t kActionLongKick = 21;
constexpr uint8_t kActionShortChip = 22;
constexpr uint8_t kActionLongChip = 23;
constexpr uint8_t kActionThrowIn = 24;
constexpr uint8_t kActionKeeperPunt = 25;

int32_t Distance2D(const CVector& a, const CVector& b)
{
    return IntegerRoot(a.SquaredDistance2D(b));
}

int RatingTable(const int (&table)[10], int nRating)
{
    return table[std::clamp(nRating / 10, 0, 9)];
}

// One draw of the error spread: -e .. e - 1.
int ErrorDraw(int e)
{
    return plat::rand() % (2 * e) - e;
}

double AngleDraw(int e)
{
    return ErrorDraw(e) * kPi / 400.0;
}

// The angle error: two rounds of a draw that stops at -pi/4, the second
// only while the first stayed below pi/4.
double AngleError(int e)
{
    auto round = [e]() { return AngleDraw(e) <= -kPi / 4 ? -kPi / 4 : AngleDraw(e); };
    const double fFirst = round();
    return fFirst < kPi / 4 ? round() : kPi / 4;
}

uint8_t CauseOf(uint8_t byDecision)
{
    switch (byDecision) {
    case DECISION_PASS: return BALLCAUSE_PASS;
    case DECISION_CROSS: return BALLCAUSE_CROSS;
    case DECISION_SHOOT: return BALLCAUSE_SHOT;
    case DECISION_LONG_BALL: return BALLCAUSE_LONGBALL;
    case DECISION_CLEAR: return BALLCAUSE_CLEARANCE;
    default: return BALLCAUSE_NONE;
    }
}

}  // namespace

int CMatchPlayer::GetKickError() const
{
    const int nPressure = std::min<int>(m_byPressureLevel, 3);
    int e = 0;
    if (m_byKickKind == kKickKindHeader) {
        e = RatingTable(kHeaderError, m_abyRatings[RATING_HEADING_IN_PLAY]) + kHeaderPressureError[nPressure];
    } else {
        switch (m_byDecision) {
        case DECISION_PASS: case DECISION_CROSS: case DECISION_LONG_BALL:
            e = RatingTable(kPassError, m_abyRatings[RATING_PASSING_IN_PLAY]) + kPassPressureError[nPressure];
            break;
        case DECISION_SHOOT:
            e = RatingTable(kShotError, m_abyRatings[RATING_SHOOTING_IN_PLAY]) + kShotPressureError[nPressure];
            break;
        case DECISION_CLEAR:
            break;
        default:
            DebugLog(6, "[CMatchPlayer::KickBall] Invalid aim: %d", m_byDecision);
            break;
        }
    }
    if (m_bMovingTarget)
        e += kMovingTargetError;
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (byEvent != MATCHEVENT_NONE && m_bySpecialRole == ROLE_EVENT_PLAYER && byEvent == MATCHEVENT_PENALTY)
        e += kPenaltyError;
    return e;
}

bool CMatchPlayer::IsKickAllowed() const
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return false;
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE) {
        const CMatchReferee* pReferee = m_Engine.GetReferee();
        return m_bySpecialRole != ROLE_EVENT_PLAYER || !pReferee ||
               m_byKickSafety >= pReferee->GetRestartPatience();
    }
    if (pBall->IsHeldInHands()) {
        // Never in the first two seconds, then ever less fussy; gone by five.
        static constexpr int kHeldThresholds[6] = {101, 100, 80, 50, 0, 0};
        const float fHeld = pBall->GetHeldSeconds();
        if (fHeld > 5.0f)
            return true;
        return m_byKickSafety > kHeldThresholds[std::clamp(int(fHeld), 0, 5)];
    }
    if (m_pClub->IsInPenaltyArea(m_vPosition, false) && !CanHandleBall())
        return true;
    return m_byKickSafety > GetKickTriggerRating(m_byDecision, m_byOnBallPressure) ||
           m_Engine.GetMatchTime() - m_dwPossessionTime > kLongestOnBallMs;
}

bool CMatchPlayer::IsReadyToKick()
{
    if (!m_bHasBall)
        return false;
    switch (m_byDecision) {
    case DECISION_PASS:
    case DECISION_CROSS:
    case DECISION_SHOOT:
    case DECISION_CLEAR:
    case DECISION_LONG_BALL: return IsKickAllowed() && StartKick();
    default: return false;
    }
}

bool CMatchPlayer::StartKick()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || !m_pModel)
        return false;
    const CVector aim = GetTarget();
    const bool bShort = Distance2D(pBall->GetPosition(), aim) < 1500;
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const bool bTaker = m_bySpecialRole == ROLE_EVENT_PLAYER && byEvent != MATCHEVENT_NONE;
    uint8_t byKick = bShort ? kActionShortKick : kActionLongKick, byFallback = 0;
    auto chipped = [&](bool bChip) {
        byKick = bChip ? kActionShortChip : kActionLongChip;
        byFallback = bChip ? kActionShortKick : kActionLongKick;
    };
    if (m_byKickKind == 3) {
        byKick = kActionThrowIn;
    } else if (m_byKickKind == 4) {
        const int32_t d = Distance2D(pBall->GetPosition(), aim);
        byKick = d < 1000 ? kActionShortKick : d < 2000 ? kActionKeeperPunt : kActionLongKick;
    } else if (bTaker && (byEvent == MATCHEVENT_GOALKICK || byEvent == MATCHEVENT_CORNER)) {
        chipped(bShort);
    } else if (bTaker && (byEvent == MATCHEVENT_FREEKICK || byEvent == MATCHEVENT_DIRECTFREEKICK)) {
        if (!bShort)
            chipped(false);
        else if (plat::rand() % 100 < 10)
            chipped(true);
        else
            byKick = kActionShortKick;
    } else if (bTaker && byEvent == MATCHEVENT_PENALTY) {
        chipped(aim.z < 30 && plat::rand() % 100 < 50);
    }
    const float fAim = float(m_vPosition.GetAngleTo(aim));
    float fRest = 0.0f;
    if (!SelectActionByHeadingChange(byKick, fAim, &fRest) &&
        !(byFallback && SelectActionByHeadingChange(byFallback, fAim, &fRest))) {
        const bool bInHands = pBall->GetHolder() == this && pBall->IsHeldInHands();
        InstallMoveCycle(bInHands ? kMoveTypeHolding : m_byMoveType == 3 ? 2 : 0, kDefaultFrameTime);
        return false;
    }
    const double fTurn = WrapAngle(double(fAim) - m_fFacing);
    if (std::fabs(fTurn) < kPi / 4)
        m_fFacing = float(WrapAngle(m_fFacing + fTurn));
    if (m_pDecisionPartner)
        m_pDecisionPartner->SetAimOverride(AIMOVERRIDE_AWAIT_PASS, this);
    SetAction(ACTION_KICKING);
    m_dwLastKickTime = m_Engine.GetMatchTime();
    SetBallControl(1);
    return true;
}

CVector CMatchPlayer::GetKickVelocity() const
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return CVector();
    const CVector aim = GetTarget();
    const CVector d = aim - pBall->GetPosition();
    const int32_t h = HorizontalLength(d);
    const bool bGround = aim.z == 0 && h < 2000;

    // The free ball's pull: gravity once it is lofted, the curl, and the
    // rolling friction or air drag that slows it along the kick, so that
    // the ball reaches its aim in the flight time instead of dying short.
    CVector a = bGround ? CVector() : CVector(0, 0, -kGravity);
    if (m_bCurl)
        a = a + m_vCurl;
    if (h > 0) {
        const double fDrag = bGround ? CMatchBall::kRollingFriction : CMatchBall::kAirDrag;
        a = a - CVector(TruncateToInt(d.x * fDrag / h), TruncateToInt(d.y * fDrag / h), 0);
    }
    const float t = m_fFlightTime > 0.0f ? m_fFlightTime : 0.001f;
    CVector v, fall;
    d.DivideByFloat(t, v);
    a.Scale(t * 0.5f, fall);
    v = v - fall;
    if (m_byDecision == DECISION_PASS && m_pDecisionPartner && m_pDecisionPartner->GetSquadPosition() != 0)
        v.ScaleBy(1.2f, v);

    const int32_t nKindLimit = m_aKicks[m_byKickKind].nMaxVerticalSpeed;
    v.z = bGround ? std::min(v.z / 4, nKindLimit) : std::min(v.z, nKindLimit);
    const int32_t nDecisionLimit = GetMaximumVerticalKickSpeed(m_byDecision);
    v.z = std::clamp(v.z, -nDecisionLimit, nDecisionLimit);
    return v;
}

void CMatchPlayer::KickBall()
{
    CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return;
    AdvanceSetPieceRoutine();
    ChoosePassAgainAtStrike();
    CVector v = GetKickVelocity();
    if (m_bCurl)
        pBall->SetExtraVelocity(m_vCurl);
    pBall->SetPossessor(nullptr);
    SetBallControl(0);
    pBall->StartBallInfo(CauseOf(m_byDecision), this);
    // The taker playing the ball at a restart puts it back in play.
    CMatchReferee* pReferee = m_Engine.GetReferee();
    if (pReferee && m_bySpecialRole == ROLE_EVENT_PLAYER && m_Engine.GetMatchEvent() != MATCHEVENT_NONE &&
        pReferee->GetEventPlayer() == this)
        pReferee->OnRestartTaken();

    const int e = GetKickError();
    if (e > 0) {
        v.z = TruncateToInt((ErrorDraw(e) + 100) * 0.01 * v.z);
        const double fDirection = WrapAngle(std::atan2(double(v.x), double(v.y)) + AngleError(e));
        int32_t nHorizontal = HorizontalLength(v);
        const int f = plat::rand() % 100 < 50 ? 25 : 100;
        const int m = f * e / 100;
        if (m > 0)
            nHorizontal = TruncateToInt(double(plat::rand() % (2 * m) - m + 100) * nHorizontal / 100.0);
        v.x = TruncateToInt(std::sin(fDirection) * nHorizontal);
        v.y = TruncateToInt(std::cos(fDirection) * nHorizontal);
    }
    pBall->SetVelocity(v);
    pBall->RecordTrajectory(m_Engine.GetMatchTime(), this);
    m_Engine.CheckOffside(this);
    SetAction(ACTION_HAS_KICKED);
    m_bMovingTarget = false;
}

const SAVEASSESSMENT& CMatchPlayer::AssessSave(int32_t nReach)
{
    const uint32_t dwNow = m_Engine.GetMatchTime();
    if (m_bSaveAssessed && dwNow - m_dwSaveAssessedAt <= kSaveReassessMs)
        return m_Save;
    const CMatchBall* pBall = m_Engine.GetBall();
    const CMatchPerson* pLast = pBall ? pBall->GetLastKicker() : nullptr;
    const CMatchPlayer* pKicker =
        pLast && pLast->GetPersonType() == PERSONTYPE_FOOTBALLER ? static_cast<const CMatchPlayer*>(pLast) : nullptr;
    const int nShooting = pKicker ? pKicker->GetRating(RATING_SHOOTING_IN_PLAY) : 0;
    const int nHandling = m_abyRatings[RATING_HANDLING_IN_PLAY];
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    int nDifficulty;
    if (byEvent == MATCHEVENT_PENALTY) {
        nDifficulty = 80 + nShooting / 5 - nHandling / 5;
    } else {
        int nBase = nReach < 400 ? 5 + 40 * nReach / 400 : 45;
        nBase += kSaveEventDifficulty[std::min<int>(byEvent, MATCHEVENT_NEXTEVENT - 1)];
        const uint32_t dwSinceKick = pKicker ? dwNow - pKicker->GetLastKickTime() : 0;
        nBase += kSaveTimeDifficulty[std::min<uint32_t>(dwSinceKick / 500, 5)];
        nDifficulty = TruncateToInt(double(nShooting * 50 - nHandling * 100 + 10000) * nBase / 10000.0);
    }
    m_Save.nDifficulty = nDifficulty;
    m_Save.nSuccess = nDifficulty > 100 ? 0 : nDifficulty < 0 ? 100 : 100 - nDifficulty;
    m_Save.bSucceeds = plat::rand() % 100 < m_Save.nSuccess;
    m_Save.bCaught = plat::rand() % 110 < m_Save.nSuccess;
    m_bSaveAssessed = true;
    m_dwSaveAssessedAt = dwNow;
    DebugLog(0, "[CMatchPlayer::TrySavingBall] Successful: %d, Caught: %d, Difficulty: %d, Target Time: %d",
             int(m_Save.bSucceeds), int(m_Save.bCaught), nDifficulty, TruncateToInt(m_fInterceptTimeFactor * 1000.0));
    return m_Save;
}

CVector CMatchPlayer::GetSavePoint() const
{
    // Where the ball will be when he meets it, at its height then: the
    // meeting point on its way is measured across the ground only.
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || m_fInterceptTimeFactor <= 0.0f)
        return m_vInterceptPoint;
    return pBall->PredictPosition(m_fInterceptTimeFactor, false);
}

bool CMatchPlayer::CatchBall()
{
    if (!SelectSaveAnimationAtPoint(kActionCatch, GetSavePoint(), 2, m_fInterceptTimeFactor, false))
        return false;
    SetAction(ACTION_CATCHING);
    return true;
}

bool CMatchPlayer::ParryBall()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    const CVector point = GetSavePoint();
    if (!pBall || !SelectSaveAnimationAtPoint(kActionParry, point, 2, m_fInterceptTimeFactor, false))
        return false;
    SetAction(ACTION_PARRYING);
    pBall->GetVelocity().Scale(0.5f, m_vDeflection);
    if (point.z >= 150) {
        m_vDeflection.z += 500;  // over the bar
    } else {
        CVector goal;
        m_pClub->GetGoalPosition(goal);
        m_vDeflection.y += point.y >= goal.y ? 500 : -500;
    }
    const int32_t nAway = plat::rand() % 800;
    m_vDeflection.x += m_pClub->AttacksHighEnd() ? nAway : -nAway;
    return true;
}

bool CMatchPlayer::TrySavingBall(int32_t nReach)
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || pBall->GetVelocity() == CVector())
        return false;
    const CVector toMe = m_vPosition - pBall->GetPosition();
    const CVector& v = pBall->GetVelocity();
    if (int64_t(v.x) * toMe.x + int64_t(v.y) * toMe.y < 1 || !CanHandleBall())
        return false;
    const SAVEASSESSMENT save = AssessSave(nReach);
    const uint8_t byMoveType = m_byMoveType;
    m_byMoveType = kMoveTypeSaving;
    // Standing in his pose, on his way or turning, he does not finish that
    // first: the save is timed from now and goes in at once.
    m_bSaveCutsIn = MayBreakOffForSave(m_byAction);
    const bool bStarted = StartSave(save);
    if (bStarted && m_bSaveCutsIn)
        m_bReinstall = true;
    m_bSaveCutsIn = false;
    if (!bStarted)
        m_byMoveType = byMoveType;
    return bStarted;
}

bool CMatchPlayer::MayBreakOffForSave(uint8_t byAction)
{
    switch (byAction) {
    case ACTION_NOTHING: case ACTION_MOVING: case ACTION_STOPPING: case ACTION_TURNING: case ACTION_STEPPING:
    case ACTION_TRANSITION:
        return true;
    default:
        return false;
    }
}

bool CMatchPlayer::StartSave(const SAVEASSESSMENT& save)
{
    const CMatchBall* pBall = m_Engine.GetBall();
    // The catch in place is not timed to the ball: it is no save for a
    // keeper who could start it only after what is left of a step or a turn.
    if (save.bSucceeds && (m_bSaveCutsIn || !m_bSavingWhileBusy) &&
        SelectSaveAnimation(kActionCatchInPlace, 2, false)) {
        SetAction(ACTION_CATCHING);
        return true;
    }
    const bool bOpenPlay = m_Engine.GetMatchEvent() == MATCHEVENT_NONE;
    if (bOpenPlay && m_bySquadPosition == 0 && pBall->GetLastCause() == BALLCAUSE_SHOT &&
        pBall->GetPosition().z < 200) {
        if (save.bSucceeds) {
            const bool bSaved = save.bCaught ? (CatchBall() || ParryBall()) : (ParryBall() || CatchBall());
            if (bSaved)
                return true;
            if (SelectSaveAnimationAtPoint(kActionDivingSave, GetSavePoint(), 4, m_fInterceptTimeFactor, false)) {
                SetAction(ACTION_CONTROLLING);
                return true;
            }
        } else if (pBall->GetPosition().z < 150 && m_fInterceptTimeFactor >= 0.1f &&
                   m_fInterceptTimeFactor <= 0.75f) {
            // Beaten, he goes down all the same.
            const float fAngle = float(m_vPosition.GetAngleTo(m_vInterceptPoint));
            float fRest = 0.0f;
            if (SelectActionByHeadingChange(kActionParry, fAngle, &fRest)) {
                SetAction(ACTION_DIVING);
                return true;
            }
        }
    }
    return false;
}
