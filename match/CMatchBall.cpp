#include "match/CMatchBall.h"

#include "match/CMatchEngine.h"
#include "match/actors/CMatchPerson.h"
#include "platform/Random.h"
#include "render3d/VertexTransform.h"

#include <cmath>
#include <cstdlib>

namespace {

// Slower than this across the ground a ball beyond a line is going nowhere.
constexpr int32_t kStillSpeed = 100;

// a * b / c per component, truncating towards zero, without overflow.
int32_t MulDiv(int64_t a, int64_t b, int64_t c)
{
    return TruncateToInt(double((a * b) / c));
}

void ZeroSmallComponents(CVector& v, int32_t nLimit)
{
    if (std::abs(v.x) < nLimit)
        v.x = 0;
    if (std::abs(v.y) < nLimit)
        v.y = 0;
    if (std::abs(v.z) < nLimit)
        v.z = 0;
}

const float kBounceFactors[] = {0.6f, 0.5f, 0.4f, 0.7f, 0.7f, 0.6f};

}  // namespace

CMatchBall::CMatchBall(CMatchEngine& engine) : m_Engine(engine)
{
    m_RollingRotation = IdentityMatrix();
    m_vPosition.Set(5000, GOAL_CENTRE_Y, 0);
    m_vPreviousPosition = m_vPosition;
    m_vTickStart = m_vPosition;
    UpdateTransform(CVector());
    m_Query.pStart = &m_vTickStart;
    m_Query.pPosition = &m_vPosition;
    m_Query.pVelocity = &m_vVelocity;
    m_Query.nRadius = kRadius;
    m_Query.fFactor = 1.0f;
    m_fBounceFactor = GetBounceFactor(engine.GetWeatherCategory());
}

float CMatchBall::GetBounceFactor(uint8_t byWeatherCategory)
{
    return byWeatherCategory < sizeof(kBounceFactors) / sizeof(kBounceFactors[0]) ? kBounceFactors[byWeatherCategory]
                                                                                   : 0.6f;
}

void CMatchBall::Reset()
{
    m_vPosition.Set(5000, GOAL_CENTRE_Y, 0);
    m_vPreviousPosition.Set(20, 0, 0);
    m_vTickStart = m_vPosition;
    m_vVelocity = CVector();
    m_bInPlayArea = true;
    m_pLastToucher = m_pLastKicker = nullptr;
    m_pFastestHome = m_pFastestAway = m_pFastest = nullptr;
    m_byLastCause = 0;
    ClearBallInfo();
    SetHeld(false);
    m_bPlayTo = false;
    m_bSwerve = false;
    m_vSwerve = CVector();
    SetPossessor(nullptr);
    m_vGroundAcceleration = CVector();
    m_vAirAcceleration.Set(0, 0, -kGravity);
    m_RollingRotation = IdentityMatrix();
    UpdateTransform(CVector());
    m_bReplay = false;
    m_byReceiverWaiting = 0;
    m_pTrajectory.reset();
    if (m_Engine.GetMatchType() != 0) {
        m_pTrajectory = std::make_unique<CRingBuffer<BALLTRAJECTORYRECORD>>(kTrajectoryCapacity);
        RecordTrajectory(0, nullptr);
    }
}

CVector CMatchBall::GetGravity() const
{
    return m_vPosition.z >= 1 ? CVector(0, 0, -kGravity) : CVector();
}

CVector& CMatchBall::ComputeAcceleration(CVector& out) const
{
    out = CVector();
    if (m_pHolder)
        return out;
    const int32_t nSpeed = IntegerRoot(int64_t(m_vVelocity.x) * m_vVelocity.x + int64_t(m_vVelocity.y) * m_vVelocity.y +
                                       int64_t(m_vVelocity.z) * m_vVelocity.z);
    int32_t nDrag;
    if (m_vPosition.z < 1) {
        out = m_vGroundAcceleration;
        nDrag = -kRollingFriction;
    } else {
        out = m_vAirAcceleration;
        nDrag = -kAirDrag;
    }
    if (m_vVelocity != CVector() && nSpeed > 0) {
        CVector drag;
        m_vVelocity.Scale(float(nDrag) / float(nSpeed), drag);
        out = out + drag;
    }
    if (m_bSwerve)
        out = out + m_vSwerve;
    return out;
}

void CMatchBall::Update(uint32_t dwStep, uint32_t dwNow)
{
    int64_t dt = dwStep & 0xFFFF;
    if (m_bReplay) {
        m_vPreviousPosition = m_vPosition;
        bool bRead = false;
        uint32_t dwSlotTime = 0, dwLastTime = 0;
        if (m_pTrajectory)
            while (BALLTRAJECTORYRECORD* pRecord = m_pTrajectory->ReadNext(dwNow, &dwSlotTime)) {
                ApplyTrajectoryRecord(*pRecord, true);
                dwLastTime = dwSlotTime;
                bRead = true;
            }
        if (bRead)
            dt = (dwNow - dwLastTime) & 0xFFFF;
    }
    if (m_pHolder)
        return;

    if (m_bPlayTo && dwNow >= m_dwArrivalTime) {
        m_vPosition = m_vTarget;
        m_vVelocity = CVector();
        m_vAcceleration = CVector();
    } else {
        ComputeAcceleration(m_vAcceleration);
    }

    m_vTickStart = m_vPosition;
    const bool bRolling = m_vPosition.z < 1 && m_vVelocity.z == 0 && !m_bSwerve;
    const CVector oldVelocity = m_vVelocity;
    CVector dv(MulDiv(m_vAcceleration.x, dt, 1000), MulDiv(m_vAcceleration.y, dt, 1000),
               MulDiv(m_vAcceleration.z, dt, 1000));
    const int64_t nHalf = dt / 2;
    CVector displacement(TruncateToInt(double((int64_t(m_vVelocity.x) * dt + int64_t(dv.x) * nHalf) / 1000)),
                         TruncateToInt(double((int64_t(m_vVelocity.y) * dt + int64_t(dv.y) * nHalf) / 1000)),
                         TruncateToInt(double((int64_t(m_vVelocity.z) * dt + int64_t(dv.z) * nHalf) / 1000)));
    m_vPosition = m_vPosition + displacement;
    m_vVelocity = m_vVelocity + dv;
    // Friction only slows a rolling ball: once it would turn the ball back,
    // the ball has stopped.
    if (bRolling && int64_t(m_vVelocity.x) * oldVelocity.x + int64_t(m_vVelocity.y) * oldVelocity.y <= 0) {
        m_vVelocity.x = 0;
        m_vVelocity.y = 0;
    }

    if (!m_bReplay)
        ResolveCollisions(float(dt) * 0.001f);
    else if (m_vPosition.z < 0)
        m_vPosition.z = 0;
    UpdateTransform(m_vPosition - m_vTickStart);
}

void CMatchBall::UpdateTransform(const CVector& displacement)
{
    const double dx = displacement.x, dy = displacement.y;
    const double fLength = std::sqrt(dx * dx + dy * dy);
    if (fLength > 0.0) {
        const float x = float(dy / fLength), y = float(-dx / fLength), z = 0.0f;
        const float fTheta = float(fLength / kRadius);
        const float c = std::cos(fTheta), s = std::sin(fTheta), t = 1.0f - c;
        D3DMATRIX r{};
        r.m[0][0] = c + x * x * t, r.m[0][1] = x * y * t - z * s, r.m[0][2] = x * z * t + y * s;
        r.m[1][0] = x * y * t + z * s, r.m[1][1] = c + y * y * t, r.m[1][2] = y * z * t - x * s;
        r.m[2][0] = x * z * t - y * s, r.m[2][1] = y * z * t + x * s, r.m[2][2] = c + z * z * t;
        r.m[3][3] = 1.0f;
        MatrixMultiply(&m_RollingRotation, &m_RollingRotation, &r);
    }
    D3DMATRIX translation;
    MatrixTranslation(&translation, CVector(m_vPosition.x, m_vPosition.y, m_vPosition.z + kRadius).ToFloat());
    MatrixMultiply(&m_WorldTransform, &m_RollingRotation, &translation);
}

bool CMatchBall::ResolveCollisions(float fSeconds)
{
    m_bDeflected = false;
    if (m_vVelocity == CVector()) {
        if (m_vPosition.z < 0)
            m_vPosition.z = 0;
        // A ball left at rest inside an obstacle rolls out of it.
        CVector probe = m_vPosition;
        if (m_Engine.IsPointInZone(probe, 50)) {
            const CVector d = probe - m_vPosition;
            const int32_t n = HorizontalLength(d);
            if (n != 0)
                m_vVelocity.Set(MulDiv(d.x, 200, n), MulDiv(d.y, 200, n), MulDiv(d.z, 200, n));
        }
        return false;
    }
    if (m_vPosition.z < 0) {
        m_bSwerve = false;
        BounceOffPlane(0, m_fBounceFactor, fSeconds);
    }
    m_Query.fImpactTime = fSeconds;
    if (!m_Engine.TestBallCollision(m_Query, fSeconds))
        return m_bDeflected;
    if (m_vPosition.z < 0)
        m_vPosition.z = 0;
    ZeroSmallComponents(m_vVelocity, kRestSpeed);
    RecordTrajectory(m_Engine.GetEngineClock() + uint32_t(TruncateToInt(m_Query.fImpactTime * 1000.0)), nullptr);
    return true;
}

bool CMatchBall::BounceOffPlane(int32_t nHeight, float fFactor, float fSeconds)
{
    if (m_vVelocity.z == 0) {
        m_vPosition.z = 0;
        return false;
    }
    // Times are measured from the start of this step.
    const float t = float(double(nHeight - m_vTickStart.z) / m_vVelocity.z);
    if (t >= fSeconds)
        return false;
    const CVector crossing(m_vTickStart.x + TruncateToInt(m_vVelocity.x * double(t)),
                           m_vTickStart.y + TruncateToInt(m_vVelocity.y * double(t)), nHeight);
    const float fAlong = (fFactor + 1.0f) * 0.5f;
    CVector velocity(TruncateToInt(m_vVelocity.x * double(fAlong)), TruncateToInt(m_vVelocity.y * double(fAlong)),
                     TruncateToInt(-m_vVelocity.z * double(fFactor)));
    if (std::abs(velocity.z) < kRestSpeed)
        velocity.z = 0;
    m_vVelocity = velocity;
    m_vPosition = crossing;
    RecordTrajectory(m_Engine.GetEngineClock() + uint32_t(TruncateToInt(double(t) * 1000.0)), nullptr);
    m_bDeflected = true;
    return true;
}

void CMatchBall::ComputeExit()
{
    const CVector v = m_pHolder ? m_pHolder->GetVelocity() : m_vVelocity;
    const double tx = v.x == 0 ? kNoExit : double((v.x < 1 ? 20 : 9980) - m_vPosition.x) / v.x;
    const double ty = v.y == 0 ? kNoExit : double((v.y < 1 ? 20 : 7480) - m_vPosition.y) / v.y;
    const bool bAcross = ty < tx;
    m_fExitTime = float(bAcross ? ty : tx);
    if (m_fExitTime == kNoExit)
        return;
    m_vExitPoint = PredictPosition(m_fExitTime, false);
    if (bAcross)
        m_vExitPoint.y = v.y < 1 ? 20 : 7480;
    else
        m_vExitPoint.x = v.x < 1 ? 20 : 9980;
    int32_t nMiss = 0 - m_vExitPoint.z;
    if (3334 - m_vExitPoint.y > nMiss)
        nMiss = 3334 - m_vExitPoint.y;
    if (m_vExitPoint.y - 4166 > nMiss)
        nMiss = m_vExitPoint.y - 4166;
    if (m_vExitPoint.z - 284 > nMiss)
        nMiss = m_vExitPoint.z - 284;
    m_nMissDistance = nMiss;
}

void CMatchBall::ComputeCrossing(int32_t nHeight, BALLHEIGHTCROSSING& crossing) const
{
    const float vz = float(m_vVelocity.z);
    const float d = float(m_vPosition.z - nHeight);
    const float r = std::sqrt(vz * vz + 1962.0f * d);  // not a number when the ball never gets there
    crossing.fUpTime = (vz - r) / 981.0f;
    crossing.fDownTime = (vz + r) / 981.0f;
    crossing.vUp = PredictPosition(crossing.fUpTime, false);
    crossing.vDown = PredictPosition(crossing.fDownTime, false);
}

void CMatchBall::ComputeWindow(const BALLHEIGHTCROSSING& c, BALLREACHWINDOW& w) const
{
    if (c.fDownTime > 0.0f && c.fUpTime <= kPredictionHorizon) {
        if (c.fDownTime <= m_fExitTime) {
            w.vStart = c.vDown;
            w.fStartTime = c.fDownTime;
            if (m_fLandingTime <= m_fExitTime) {
                w.vEnd = m_vLandingPoint;
                w.fEndTime = m_fLandingTime;
            } else {
                w.vEnd = m_vExitPoint;
                w.fEndTime = m_fExitTime;
            }
        } else {
            w.vStart = m_vPosition;
            w.fStartTime = 0.0f;
            if (c.fUpTime < 0.0f || c.fUpTime > m_fExitTime) {
                w.vEnd = m_vExitPoint;
                w.fEndTime = m_fExitTime;
            } else {
                w.vEnd = c.vUp;
                w.fEndTime = c.fUpTime;
            }
        }
        return;
    }
    w.vStart = m_vPosition;
    w.fStartTime = 0.0f;
    if (m_fExitTime > kPredictionHorizon) {
        w.vEnd = PredictPosition(kPredictionHorizon, false);
        w.fEndTime = kPredictionHorizon;
    } else {
        w.vEnd = m_vExitPoint;
        w.fEndTime = m_fExitTime;
    }
}

void CMatchBall::UpdatePrediction()
{
    ComputeExit();
    if (!m_pHolder) {
        const int64_t vx = m_vVelocity.x, vy = m_vVelocity.y, vz = m_vVelocity.z;
        m_nHorizontalSpeed = IntegerRoot(vx * vx + vy * vy);
        m_nSpeed = IntegerRoot(vx * vx + vy * vy + vz * vz);
        m_nPeakHeight = m_vPosition.z + TruncateToInt(double(vz * vz) * 0.000509684);
        m_bHighBall = m_nPeakHeight > 250;
        const float fVz = float(vz);
        m_fLandingTime =
            fVz * 0.001019368f + std::sqrt(fVz * fVz * 1.0391111e-6f + 2.0f * float(m_vPosition.z) * 0.001019368f);
        m_vLandingPoint = PredictPosition(m_fLandingTime, false);
        ComputeCrossing(220, m_aCrossings[0]);
        ComputeCrossing(320, m_aCrossings[1]);
        ComputeWindow(m_aCrossings[0], m_aWindows[0]);
        ComputeWindow(m_aCrossings[1], m_aWindows[1]);
    }
    const bool bInside =
        m_vPosition.x >= -31 && m_vPosition.x <= 10031 && m_vPosition.y >= -31 && m_vPosition.y <= 7531;
    // The lines are judged on the tick the ball crosses them and on every
    // tick after while it stays out in open play: a crossing the officials
    // could not take up then (a decision still pending, nobody on the ball)
    // is judged as soon as they can, never left lying behind a line.
    if (m_bInPlayArea || (!bInside && IsOutOfPlay())) {
        m_Engine.CheckBallOffPitchEnd();
        m_Engine.CheckBallOffPitchSide();
    }
    m_bInPlayArea = bInside;
    // Whether the ball has been inside the lines since the last restart: a
    // throw-in starts outside them and is not out until it has come in.
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE)
        m_bEnteredPlay = false;
    else if (bInside)
        m_bEnteredPlay = true;
    m_vPreviousPosition = m_vPosition;
}

bool CMatchBall::IsOutOfPlay() const
{
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE)
        return false;
    if (m_vPosition.x >= -31 && m_vPosition.x <= 10031 && m_vPosition.y >= -31 && m_vPosition.y <= 7531)
        return false;
    if (m_bEnteredPlay)
        return true;
    if (m_pHolder)
        return false;
    // Not yet in since the restart: out once it is no longer coming in
    // (lying still, or moving away from the pitch across the line it is beyond).
    const CVector& v = m_vVelocity;
    if (HorizontalLength(v) < kStillSpeed)
        return true;
    return (m_vPosition.x < -31 && v.x <= 0) || (m_vPosition.x > 10031 && v.x >= 0) ||
           (m_vPosition.y < -31 && v.y <= 0) || (m_vPosition.y > 7531 && v.y >= 0);
}

CVector CMatchBall::PredictPosition(float fSeconds, bool bClampToExit) const
{
    if (bClampToExit && fSeconds > m_fExitTime)
        return m_vExitPoint;
    if (m_pHolder)
        return m_pHolder->PredictPosition(fSeconds);
    CVector moved, fall;
    m_vVelocity.Scale(fSeconds, moved);
    GetGravity().Scale(fSeconds * fSeconds * 0.5f, fall);
    CVector result = m_vPosition + moved + fall;
    if (result.z < 0)
        result.z = 0;
    return result;
}

int32_t CMatchBall::GetSegmentDistance(const CVector& p, const CVector& a, const CVector& b, CVector* pNearest)
{
    const int64_t abx = int64_t(b.x) - a.x, aby = int64_t(b.y) - a.y;
    const int64_t apx = int64_t(p.x) - a.x, apy = int64_t(p.y) - a.y;
    const int64_t nPA = apx * apx + apy * apy;
    if (abx == 0 && aby == 0) {
        if (pNearest)
            *pNearest = a;
        return IntegerRoot(nPA);
    }
    if (apx * abx + apy * aby < 0) {
        if (pNearest)
            *pNearest = a;
        return IntegerRoot(nPA);
    }
    const int64_t bpx = int64_t(b.x) - p.x, bpy = int64_t(b.y) - p.y;
    if (bpx * abx + bpy * aby < 0) {
        if (pNearest)
            *pNearest = b;
        return IntegerRoot(bpx * bpx + bpy * bpy);
    }
    const int64_t nCross = std::llabs(apy * abx - apx * aby);
    const int64_t ax = std::llabs(abx), ay = std::llabs(aby);
    const int64_t nLength = (ax > ay ? ax : ay) + (ax > ay ? ay : ax) / 2;
    const int32_t nDistance = TruncateToInt(double(nCross / nLength));
    if (pNearest) {
        const int32_t nAlong = IntegerRoot(nPA - int64_t(nDistance) * nDistance);
        const double fAngle = std::atan2(double(abx), double(aby));
        pNearest->Set(a.x + TruncateToInt(std::sin(fAngle) * nAlong), a.y + TruncateToInt(std::cos(fAngle) * nAlong), 0);
    }
    return nDistance;
}

int32_t CMatchBall::GetInterceptPoint(const CMatchPerson* pPlayer, bool bGoalkeeper, CVector* pPoint,
                                      float* pfTime) const
{
    const BALLREACHWINDOW& w = m_aWindows[bGoalkeeper ? 1 : 0];
    CVector nearest;
    const int32_t nDistance = GetSegmentDistance(pPlayer->GetPosition(), w.vStart, w.vEnd, &nearest);
    if (pPoint)
        *pPoint = nearest;
    if (pfTime) {
        // The time at the nearest point, along the window.
        const int32_t nWhole = HorizontalLength(w.vEnd - w.vStart);
        const int32_t nPart = HorizontalLength(nearest - w.vStart);
        *pfTime = nWhole > 0 ? w.fStartTime + (w.fEndTime - w.fStartTime) * float(nPart) / float(nWhole) : w.fStartTime;
    }
    return nDistance;
}

int32_t CMatchBall::GetDistanceToPath(const CVector& point, int32_t* pnAlong) const
{
    CVector nearest;
    const int32_t nDistance = GetSegmentDistance(point, m_vTickStart, m_vPosition, &nearest);
    if (pnAlong)
        *pnAlong = IntegerRoot(m_vTickStart.SquaredDistance2D(nearest));
    return nDistance;
}

bool CMatchBall::IsPathObstructed(const CVector& a, const CVector& b) const
{
    return m_Engine.IsPathBlocked(a, b, 100, true);
}

void CMatchBall::SetPossessor(CMatchPerson* pPerson)
{
    if (m_pHolder) {
        m_pHolder->SetPossession(false);
        SetHeld(false);
    }
    if (pPerson) {
        StartBallInfo(BALLCAUSE_CONTROLLED, pPerson);
        pPerson->SetPossession(true);
        m_pHolder = pPerson;
        m_bHasHolder = true;
        m_bHighBall = m_bLoose = m_bSwerve = false;
        m_vVelocity = CVector();
        RecordTrajectory(m_Engine.GetEngineClock(), pPerson);
    } else {
        m_pHolder = nullptr;
        m_bHasHolder = false;
        m_bLoose = true;
    }
    if (m_bPlayTo && pPerson != m_pTargetReceiver && m_pTargetReceiver)
        m_pTargetReceiver->SetBallControl(0);
    m_bPlayTo = false;
}

void CMatchBall::SetHeld(bool bHeld)
{
    m_bHeldInHands = bHeld;
    m_bNotHeld = !bHeld;
    if (bHeld)
        m_dwTimeTakenInHands = m_Engine.GetEngineClock();
}

float CMatchBall::GetHeldSeconds() const
{
    return float(m_Engine.GetEngineClock() - m_dwTimeTakenInHands) * 0.001f;
}

float CMatchBall::GetSecondsSinceMark() const
{
    return float(m_Engine.GetEngineClock() - m_dwLastKickTime) * 0.001f;
}

void CMatchBall::SetModelInHand(const D3DMATRIX& matrix, int32_t x, int32_t y, int32_t z, bool bWithModel)
{
    m_vPosition.Set(x, y, z);
    if (bWithModel) {
        m_WorldTransform = matrix;
        m_WorldTransform.m[3][0] = float(x);
        m_WorldTransform.m[3][1] = float(y);
        m_WorldTransform.m[3][2] = float(z + kRadius);
    }
}

void CMatchBall::SetPosition(int32_t x, int32_t y, int32_t z, bool bWithModel)
{
    m_vPosition.Set(x, y, z);
    if (bWithModel)
        MatrixTranslation(&m_WorldTransform, CVector(x, y, z + kRadius).ToFloat());
}

void CMatchBall::SetExtraVelocity(const CVector& v)
{
    m_bSwerve = true;
    m_vSwerve = v;
}

void CMatchBall::PlayTo(const CVector& target, float fSeconds, CMatchPerson* pReceiver)
{
    if (!(fSeconds > 0.0f))
        fSeconds = 0.001f;  // a zero flight time would divide by zero
    m_pTargetReceiver = pReceiver;
    m_bPlayTo = true;
    m_vTarget = target;
    m_dwArrivalTime = m_Engine.GetEngineClock() + uint32_t(TruncateToInt(double(fSeconds) * 1000.0));
    m_vVelocity = GetVelocityTo(target, fSeconds);
    RecordTrajectory(m_Engine.GetEngineClock(), nullptr);
}

CVector CMatchBall::GetVelocityTo(const CVector& target, float fSeconds) const
{
    if (!(fSeconds > 0.0f))
        fSeconds = 0.001f;
    CVector acceleration, v, lift;
    ComputeAcceleration(acceleration);
    (target - m_vPosition).DivideByFloat(fSeconds, v);
    acceleration.Scale(fSeconds * 0.5f, lift);
    v = v - lift;
    if (target.z < 20 && v.z > m_vVelocity.z)
        v.z = m_vVelocity.z;
    return v;
}

void CMatchBall::Deflect(CMatchPerson* pPerson)
{
    const int32_t s = TruncateToInt(m_nSpeed * 0.5);
    const double a = (plat::rand() % 600) * 0.01;
    m_vVelocity.Set(TruncateToInt(std::sin(a) * s), TruncateToInt(std::cos(a) * s), 0);
    if (pPerson && pPerson->GetPersonType() == PERSONTYPE_FOOTBALLER) {
        SetPossessor(nullptr);
        StartBallInfo(BALLCAUSE_DEFLECTION, pPerson);
    }
    RecordTrajectory(m_Engine.GetEngineClock(), nullptr);
    m_bDeflected = true;
}

void CMatchBall::RecordTrajectory(uint32_t dwTime, CMatchPerson* pPerson)
{
    if (!m_pTrajectory)
        return;
    BALLTRAJECTORYRECORD* pRecord = m_pTrajectory->Write(dwTime);
    pRecord->pPerson = pPerson ? pPerson : m_pHolder;
    pRecord->vVelocity = m_vVelocity;
    pRecord->vPosition = m_vPosition;
    pRecord->vSwerve = m_vSwerve;
    pRecord->bSwerve = m_bSwerve;
}

void CMatchBall::ApplyTrajectoryRecord(const BALLTRAJECTORYRECORD& record, bool bTakeHolder)
{
    SetPosition(record.vPosition.x, record.vPosition.y, record.vPosition.z, true);
    m_vVelocity = record.vVelocity;
    if (bTakeHolder && record.pPerson != m_pHolder) {
        if (m_pHolder)
            m_pHolder->SetBallControl(0);
        if (record.pPerson)
            record.pPerson->SetBallControl(2);
        m_pHolder = record.pPerson;
    }
    m_bSwerve = record.bSwerve;
    m_vSwerve = record.bSwerve ? record.vSwerve : CVector();
}

void CMatchBall::SeekReplay(uint32_t dwTime)
{
    m_bReplay = true;
    if (m_pTrajectory)
        if (auto* pSlot = m_pTrajectory->Seek(dwTime)) {
            ApplyTrajectoryRecord(*pSlot->pRecord, true);
            Update(dwTime - pSlot->dwTime, dwTime);
        }
    m_bPlayTo = false;
    m_bSwerve = false;
}

void CMatchBall::EndReplay()
{
    m_bReplay = false;
    // A ball that became loose after its newest record stays loose.
    if (!m_bHasHolder)
        m_pHolder = nullptr;
    if (!m_pTrajectory)
        return;
    auto* pSlot = m_pTrajectory->GetLatest();
    ApplyTrajectoryRecord(*pSlot->pRecord, m_bHasHolder);
    const uint32_t dwClock = m_Engine.GetEngineClock();
    Update(dwClock - pSlot->dwTime, dwClock);
}
