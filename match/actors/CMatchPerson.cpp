#include "match/actors/CMatchPerson.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"
#include "render3d/CObjectData.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr uint8_t kStandAction = 10;

CAnimationLibrary& Library()
{
    static CAnimationLibrary library;
    return library;
}
}  // namespace

void CMatchPerson::LoadAnimations(CObjectData& objects, uint16_t wMeshIndex, const std::string& folder)
{
    Library().Load(objects, wMeshIndex, folder);
}

void CMatchPerson::FreeAnimations()
{
    Library().Free();
}

const CAnimationLibrary& CMatchPerson::GetAnimationLibrary()
{
    return Library();
}

CMatchPerson::CMatchPerson(CMatchEngine& engine, uint8_t byPersonType) : m_Engine(engine), m_byPersonType(byPersonType)
{
    ClearAnimationRequest(m_Request);
    ClearAnimationRequest(m_Candidate);
    if (engine.GetMatchType() != 0) {
        m_pReplayRing = std::make_unique<CRingBuffer<PERSONREPLAYRECORD>>(kReplayCapacity);
        PERSONREPLAYRECORD* pRecord = m_pReplayRing->Write(engine.GetEngineClock());
        pRecord->vPosition = m_vPosition;
        pRecord->fFacing = m_fFacing;
    }
}

bool CMatchPerson::GetFacingOverride(float*)
{
    return false;
}

float CMatchPerson::GetTurnToTarget(const CVector& point, float* pfTurn)
{
    const double fAngle = m_vPosition.GetAngleTo(point);
    const double fTurn = WrapAngle(fAngle - m_fFacing);
    if (pfTurn)
        *pfTurn = float(fTurn);
    if (std::fabs(fTurn) > kPi / 2)
        return kTurnTooFar;
    if (fTurn < -kPi / 4) {
        if (pfTurn)
            *pfTurn = float(-kPi / 4);
        return float(m_fFacing - kPi / 4);
    }
    if (fTurn > kPi / 4) {
        if (pfTurn)
            *pfTurn = float(kPi / 4);
        return float(m_fFacing + kPi / 4);
    }
    return float(fAngle);
}

float CMatchPerson::AssessPosition(const CVector& point)
{
    const int32_t d = IntegerRoot(uint32_t(point.SquaredDistance2D(m_vTarget)));
    if (d == 0)
        return 1.0f;
    if (d < 3000)
        return 1.0f - d / 6000.0f;
    return 0.5f - (d - 3000) / 14000.0f;
}

float CMatchPerson::GetDistanceRating(const CVector& a, const CVector& b, int32_t nKnee, float fValueAtKnee)
{
    const int32_t d = IntegerRoot(uint32_t(a.SquaredDistance2D(b)));
    if (d == 0)
        return 1.0f;
    if (nKnee > 0 && d < nKnee)
        return 1.0f - d * fValueAtKnee / nKnee;
    if (nKnee >= 10000)
        return fValueAtKnee;
    return fValueAtKnee - (d - nKnee) * (1.0f - fValueAtKnee) / (10000 - nKnee);
}

void CMatchPerson::SetFacingTarget()
{
    if (m_byPersonType == PERSONTYPE_ASSISTANTREFEREE) {
        m_fFacingTarget = m_vPosition.y >= GOAL_CENTRE_Y ? float(kPi) : 0.0f;
        return;
    }
    if (m_byDecision != 0)
        m_fFacingTarget = float(m_vPosition.GetAngleTo(m_vTarget));
    else if (!m_bHasBall)
        m_fFacingTarget = m_fRestFacing;
    else
        m_fFacingTarget = float(m_vPosition.GetAngleTo(CVector(5000, GOAL_CENTRE_Y, 0)));
}

bool CMatchPerson::HasReachedTarget(const CVector& point)
{
    if (m_bRunningToTarget)
        return m_nDistanceToTarget < 100;
    return AssessPosition(point) >= m_fReachRating;
}

bool CMatchPerson::IsPositionFree(const CVector& point, bool)
{
    // The penalty-area condition belongs to the footballer and his club.
    if (m_Engine.IsPathBlocked(m_vPosition, point, 25, m_bAvoidGoalZones))
        return false;
    if (m_bAvoidPersons && m_Engine.IsPathBlockedByPerson(m_vPosition, point, 25, this))
        return false;
    return true;
}

void CMatchPerson::Update()
{
    if (m_bRequestPending || (m_pModel && m_pModel->GetAnimationTimeLeft() > MATCH_TICK_MS)) {
        UpdateWhileBusy();
        return;
    }
    if (!m_bUnderDecisionControl)
        return;  // steered by the user's input
    PreUpdate();
    const CVector vSavedPosition = m_vPosition;
    const float fSavedFacing = m_fFacing;
    if (m_pModel) {
        const D3DMATRIX& world = m_pModel->GetWorldMatrix();
        m_vPosition.Set(TruncateToInt(world.m[3][0]), TruncateToInt(world.m[3][1]), 0);
        m_fFacing = m_pModel->GetHeading();
    }
    const bool bDue = IsDecisionDue();
    if (!bDue) {
        UpdateIdle();
    } else {
        const uint32_t dwStanding = m_Engine.GetEngineClock() - m_dwStandingSince;
        if (dwStanding < 5000 || !m_bRunningToTarget || m_nDistanceToTarget < 70) {
            m_bAvoidPersons = !m_Engine.IsPersonCrowded(this);
            m_bAvoidGoalZones = true;
        } else {
            // Stuck for 5 s on the way to a far target: walk through.
            m_bAvoidPersons = false;
            m_bAvoidGoalZones = false;
        }
        m_bMoveChosen = false;
        MakeDecision();
        SetFacingTarget();
        ChooseSpeedGrade();
        if (!m_bRequestPending && m_pModel) {
            SetAction(ACTION_MOVING);
            ChooseMovementType();
            PlanStep();
            if (!IsBusy() && !IsReadyToKick() && !m_bRequestPending) {
                m_fBestScore = kNoBestScore;
                m_bRequestPending = true;
                if (!TryHoldPosition())
                    InstallFallbackMove();
            }
        }
    }
    if (!(CAnimationLibrary::IsStandingMoveType(m_byMoveType) && bDue) &&
        CAnimationLibrary::IsStandingMoveType(m_byNextMoveType))
        m_dwStandingSince = m_Engine.GetEngineClock();
    m_vPosition = vSavedPosition;
    m_fFacing = fSavedFacing;
}

void CMatchPerson::UpdateAnimation(uint16_t wStep)
{
    if (!m_pModel) {
        DebugLog(6, "[CMatchPerson::UpdateAnimation] Model not initialised");
        return;
    }
    if (m_byMoveType >= MOVETYPE_COUNT)
        DebugLog(6, "[CMatchPerson::UpdateAnimation] Invalid Move Type :%d", m_byMoveType);
    ANIMATIONREQUEST state;
    const uint32_t dwElapsed = wStep;
    bool bEnded = m_pModel->Update(&state, &dwElapsed);
    if (m_bReplaying && ReplayStep())
        bEnded = true;
    OnAnimationStep();
    if ((bEnded || m_bReinstall) && m_bRequestPending) {
        m_bReinstall = false;
        const uint32_t dwRemainder = bEnded ? state.remainder : 0;
        InstallRequest();
        if (!m_bReplaying && m_pReplayRing)
            PushReplayRecord(m_Engine.GetEngineClock() + dwElapsed - dwRemainder, m_pModel->GetX(), m_pModel->GetY(),
                             m_pModel->GetStartHeading());
        m_pModel->Update(&state, &dwRemainder);
        OnAnimationStep();
    }
    FollowModel(state.x, state.y, state.heading);
}

void CMatchPerson::FollowModel(float x, float y, float fHeading)
{
    // A footballer's marker follows him here.
    m_vPosition.Set(TruncateToInt(x), TruncateToInt(y), 0);
    OnMoved();
    m_fFacing = fHeading;
    const MOVETYPEENTRY* pMoveType = Library().GetMoveType(m_byMoveType);
    const float fPerFrame = pMoveType ? pMoveType->fDistancePerFrame : 0.0f;
    const float fFrameTime = m_pModel->GetFrameTime();
    m_nSpeed = TruncateToInt(fFrameTime * fPerFrame);
    m_nSpeedPerFrame = TruncateToInt(fPerFrame);
    m_dwAnimationTimeLeft = m_pModel->GetAnimationTimeLeft();
    m_vVelocity.Set(TruncateToInt(std::sin(double(m_fFacing)) * m_nSpeed),
                    TruncateToInt(std::cos(double(m_fFacing)) * m_nSpeed), 0);
}

void CMatchPerson::InstallRequest()
{
    if (m_byNextMoveType >= MOVETYPE_COUNT)
        DebugLog(6, "[CMatchPerson::UpdateAnimation] Installing invalid move type :%d", m_byNextMoveType);
    m_pModel->SetAnimation(&m_Request);
    m_wInstalledAnimation = m_Request.animation;
    m_byMoveType = m_byNextMoveType;
    m_bRequestPending = false;
}

void CMatchPerson::PushReplayRecord(uint32_t dwTime, float x, float y, float fHeading)
{
    PERSONREPLAYRECORD* pRecord = m_pReplayRing->Write(dwTime);
    pRecord->request = m_Request;
    pRecord->byMoveType = m_byMoveType;
    pRecord->vPosition.Set(TruncateToInt(x), TruncateToInt(y), 0);
    pRecord->fFacing = fHeading;
}

bool CMatchPerson::ReplayStep()
{
    bool bRead = false;
    while (const PERSONREPLAYRECORD* pRecord = m_pReplayRing->ReadNext(m_Engine.GetEngineClock() + MATCH_TICK_MS)) {
        m_bRequestPending = true;
        m_Request = pRecord->request;
        m_pModel->SetPositionAndHeading(float(pRecord->vPosition.x), float(pRecord->vPosition.y), pRecord->fFacing);
        m_byNextMoveType = pRecord->byMoveType;
        bRead = true;
    }
    return bRead;
}

bool CMatchPerson::SeekReplay(uint32_t dwTime)
{
    if (!m_pReplayRing || !m_pModel)
        return false;
    const auto* pSlot = m_pReplayRing->Seek(dwTime);
    if (!pSlot)
        return false;
    const PERSONREPLAYRECORD& record = *pSlot->pRecord;
    m_bReplaying = true;
    m_bRequestPending = false;
    m_pModel->SetPositionAndHeading(float(record.vPosition.x), float(record.vPosition.y), record.fFacing);
    ANIMATIONREQUEST request = record.request;
    m_pModel->SetAnimation(&request);
    m_wInstalledAnimation = request.animation;
    m_byMoveType = m_byNextMoveType = record.byMoveType;
    ANIMATIONREQUEST state;
    const uint32_t dwSince = dwTime > pSlot->dwTime ? dwTime - pSlot->dwTime : 0;
    m_pModel->Update(&state, &dwSince);
    FollowModel(state.x, state.y, state.heading);
    return true;
}

const PERSONREPLAYRECORD* CMatchPerson::EndReplay()
{
    m_bReplaying = false;
    return m_pReplayRing ? m_pReplayRing->GetLatest()->pRecord : nullptr;
}

void CMatchPerson::SetKitTexture(uint16_t wTexture)
{
    m_wKitTexture = wTexture;
    if (m_pModel)
        m_pModel->SetMeshTexture(wTexture);
}

void CMatchPerson::SetupModel(uint16_t wModelIndex)
{
    m_pModel.reset();
    CObjectData* pObjects = Library().GetObjectData();
    if (pObjects) {
        auto pModel = std::make_unique<CModel>(*pObjects, wModelIndex, 0);
        if (pModel->IsValid())
            m_pModel = std::move(pModel);
    }
    if (!m_pModel) {
        DebugLog(6, "[CMatchEngine::SetupModel] Model creation failed: %d", wModelIndex);
        return;
    }
    m_pModel->AddToMeshManager(0);
    m_pModel->SetPositionAndHeading(float(m_vPosition.x), float(m_vPosition.y), m_fFacing);
    ClearAnimationRequest(m_Request);
    m_byMoveType = m_byIntendedMoveType = m_byNextMoveType = MOVETYPE_STAND;
    const ACTIONENTRY* pStand = Library().GetAction(kStandAction);
    if (pStand && !pStand->records.empty()) {
        m_Request.animation = pStand->records[0].wAnimation;
        m_pModel->SetAnimation(&m_Request);
        m_wInstalledAnimation = m_Request.animation;
    }
    if (m_pReplayRing)
        PushReplayRecord(m_Engine.GetEngineClock(), float(m_vPosition.x), float(m_vPosition.y), m_fFacing);
    ClearAnimationRequest(m_Request);
    m_bMoveChosen = m_bRequestPending = m_bReinstall = false;
    m_dwStandingSince = m_Engine.GetEngineClock();
    BuildSpeedGrades();
    m_dwAnimationTimeLeft = m_pModel->GetAnimationTimeLeft();
}

bool CMatchPerson::IsDecisionDue() const
{
    return m_bActive && !m_bHeldForReferee && m_Engine.GetEngineClock() >= m_dwNextDecisionTime;
}

void CMatchPerson::SetDecisionDelay(float fSeconds)
{
    // A negative delay means at once, never 49 days ahead.
    const int32_t nDelay = TruncateToInt(double(fSeconds) * 1000.0);
    m_dwNextDecisionTime = m_Engine.GetEngineClock() + uint32_t(nDelay > 0 ? nDelay : 0);
}

void CMatchPerson::SetTarget(const CVector& point, float fFacingAtTarget)
{
    m_bRunningToTarget = true;
    m_vTarget = point;
    m_Engine.FindPathAroundZones(this, m_vPosition, m_vTarget);
    m_Engine.IsPointInZone(m_vTarget, 50);
    // The footballer's club keeps him inside its play area; that joins with the clubs.
    m_vTarget.z = 0;
    m_nDistanceToTarget = IntegerRoot(uint32_t(m_vPosition.SquaredDistance2D(m_vTarget)));
    m_fFacingAtTarget = fFacingAtTarget;
    m_bFacingAtTargetWanted = fFacingAtTarget >= 0.0f;
}

void CMatchPerson::SetHoldTarget(const CVector& point)
{
    m_vTarget = point;
    m_bRunningToTarget = false;
    m_bFacingAtTargetWanted = false;
    m_fFacingAtTarget = kNoFacing;
    m_nDistanceToTarget = IntegerRoot(uint32_t(m_vPosition.SquaredDistance2D(m_vTarget)));
}

void CMatchPerson::SetPosition(const CVector& point)
{
    m_vPosition.Set(point.x, point.y, 0);
    OnMoved();
    if (m_pModel) {
        m_pModel->SetPositionAndHeading(float(point.x), float(point.y), m_fFacing);
        // A person put somewhere (a restart, a substitution) is put there
        // in the replay too.
        if (m_pReplayRing && !m_bReplaying)
            PushReplayRecord(m_Engine.GetEngineClock(), float(point.x), float(point.y), m_fFacing);
    }
}

void CMatchPerson::SetPossession(bool bHasBall)
{
    m_bHasBall = bHasBall;
    m_bFacingOverrideWanted = false;
    if (m_bRunUp) {
        m_bRunUp = false;
        SetAction(0);
    }
    if (!bHasBall) {
        SetBallControl(0);
        return;
    }
    m_dwPossessionTime = m_Engine.GetMatchTime();
    m_vPossessionPosition = m_vPosition;
    SetBallControl(2);
    OnPossessionGained();
}

void CMatchPerson::SetBallControl(uint8_t byState)
{
    if (!m_bReplaying && byState == 0 && m_byMoveType == 8)
        m_byMoveType = 0;
    m_byBallReleaseState = byState;
    if (CMatchBall* pBall = m_Engine.GetBall())
        pBall->SetReceiverWaiting(byState);
}

void CMatchPerson::SetReleaseTarget(const CVector& target, float fSeconds)
{
    m_vReleaseTarget = target;
    m_fReleaseTime = fSeconds;
}

void CMatchPerson::ReleaseBall()
{
    if (CMatchBall* pBall = m_Engine.GetBall())
        pBall->PlayTo(m_vReleaseTarget, m_fReleaseTime, this);
    SetBallControl(1);
}

void CMatchPerson::SetColour(uint32_t dwRGB)
{
    m_dwColour = dwRGB;
    const uint32_t dwMean = ((dwRGB >> 16 & 0xFF) + (dwRGB >> 8 & 0xFF) + (dwRGB & 0xFF)) / 3;
    m_dwLabelColour = dwMean >= 128 ? 0x000000 : 0xFFFFFF;
}

uint32_t CMatchPerson::GetTimeSinceMoment() const
{
    const uint32_t dwNow = m_Engine.GetMatchTime();
    return dwNow > m_dwStoredMoment ? dwNow - m_dwStoredMoment : 0;
}

bool CMatchPerson::IsAngleNearFacingTarget(float fAngle) const
{
    return std::fabs(WrapAngle(double(fAngle) - m_fFacingTarget)) < kPi / 4;
}

CVector CMatchPerson::PredictPosition(float fSeconds) const
{
    const int64_t n = TruncateToInt(double(fSeconds) * 1000.0);
    if (int64_t(m_dwAnimationTimeLeft) > n)
        return m_vPosition;
    const double fDistance = double(n - m_dwAnimationTimeLeft) * m_nSpeedPerFrame / 42.0;
    return CVector(m_vPosition.x + TruncateToInt(std::sin(double(m_fFacing)) * fDistance),
                   m_vPosition.y + TruncateToInt(std::cos(double(m_fFacing)) * fDistance), 0);
}

uint8_t CMatchPerson::GetViewRating(const CVector& point) const
{
    const int32_t d = IntegerRoot(uint32_t(m_vPosition.SquaredDistance2D(point)));
    int32_t nDistancePart = d < 4000 ? (4000 - d) / 80 : 0;
    if (nDistancePart > 50)
        nDistancePart = 50;
    const double fDiff = WrapAngle(double(m_fFacing) - m_vPosition.GetAngleTo(point));
    int32_t nAnglePart = TruncateToInt((kPi - std::fabs(fDiff)) * 50.0 / kPi);
    if (nAnglePart > 50)
        nAnglePart = 50;
    return uint8_t(nDistancePart + nAnglePart);
}

const char* CMatchPerson::GetEventName() const
{
    return GetMatchEventName(m_Engine.GetMatchEvent());
}
