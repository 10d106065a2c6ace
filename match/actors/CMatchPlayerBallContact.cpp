// The footballer meets the ball through his animations. A kick, a control
// or a catch is an animation whose prop track names the frame at which the
// foot or the hands reach the ball: the model reports that frame (mid
// animation) and the last one, and the footballer then touches, catches or
// strikes the ball there. Between contacts the ball he holds is carried:
// in his hands with a holding move type, else just in front of his feet.
#include "match/actors/CMatchPlayer.h"

#include "match/CCrowdSounds.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CAnimationLibrary.h"
#include "match/actors/CMatchReferee.h"
#include "render3d/CModel.h"

#include <cmath>

namespace {

// The model's frame states (CModel::GetCurrentFrameMatrix).
constexpr uint8_t kFrameNone = 0;
constexpr uint8_t kFrameMiddle = 2;
constexpr uint8_t kFrameLast = 3;
// The ball sits this much below the contact point (its radius).
constexpr int32_t kContactDrop = 13;
// How far in front of a dribbler the ball runs.
constexpr int32_t kDribbleReach = 30;
constexpr uint8_t kMoveClassHolding = 2;
constexpr uint8_t kEventKnocked = 27;
constexpr uint8_t kEventHeader = 14;
// The contact report of the volleys and headers (actions 26-29).
constexpr uint8_t kEventKindStrike = 3;
constexpr uint8_t kKickKindHeader = 2;
constexpr uint8_t ACTION_PICKING_UP = 10;
constexpr uint8_t ACTION_PUTTING_DOWN = 11;
constexpr uint8_t kIdleWaiting = 17;

}  // namespace

void CMatchPlayer::OnAnimationStep()
{
    CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || !m_pModel)
        return;
    D3DMATRIX frame;
    const uint8_t byFrame = m_pModel->GetCurrentFrameMatrix(&frame);
    const CVector contact(TruncateToInt(frame.m[3][0]), TruncateToInt(frame.m[3][1]),
                          TruncateToInt(frame.m[3][2]) - kContactDrop);
    if (m_byBallReleaseState == 1) {
        if (byFrame != kFrameMiddle && byFrame != kFrameLast)
            return;
        pBall->SetPosition(contact.x, contact.y, std::max(contact.z, 0), true);
        pBall->SetPreviousPosition(contact.x, contact.y, std::max(contact.z, 0));
        TouchBall();
        // A volley or a header strikes the ball as it meets it; a kick from
        // the feet once the foot reaches it, or at the animation's last frame.
        if (byFrame == kFrameLast || (m_byAction == ACTION_KICKING && m_byRequestEventKind == kEventKindStrike) ||
            IsPastKickContact())
            StrikeBall();
        return;
    }
    if (m_byBallReleaseState != 2 || pBall->GetHolder() != this)
        return;
    if (byFrame == kFrameNone) {
        if (CAnimationLibrary::GetMoveClass(m_byMoveType) != kMoveClassHolding) {
            const CVector ahead(m_vPosition.x + TruncateToInt(kDribbleReach * std::sin(double(m_fFacing))),
                                m_vPosition.y + TruncateToInt(kDribbleReach * std::cos(double(m_fFacing))), 0);
            pBall->SetPosition(ahead.x, ahead.y, 0, true);
        }
    } else if (byFrame == kFrameLast || (byFrame == kFrameMiddle && IsPastKickContact())) {
        StrikeBall();
    } else if (byFrame == kFrameMiddle) {
        pBall->SetModelInHand(frame, contact.x, contact.y, std::max(contact.z, 0), true);
        CatchBallAtContact();
    }
}

bool CMatchPlayer::IsPastKickContact() const
{
    // The ball's track of a kick animation flies on from the foot after the
    // contact; struck only at the last frame it would set off from there,
    // late, high and short of its aim.
    float x = 0.0f, y = 0.0f, z = 0.0f;
    uint16_t wContact = 0;
    return m_byAction == ACTION_KICKING && !m_bRequestPending && m_pModel &&
           m_pModel->GetAnimationFirstKey(m_wInstalledAnimation, &x, &y, &z, &wContact) && wContact > 0 &&
           m_pModel->GetCurrentFrame() >= wContact;
}

void CMatchPlayer::TouchBall()
{
    if (m_bReplaying)
        return;
    CMatchBall* pBall = m_Engine.GetBall();
    pBall->ClearExtraVelocity();
    if (pBall->GetHolder() != this)
        pBall->RecordTrajectory(m_Engine.GetEngineClock(), this);
    SetBallControl(2);
    switch (m_byAction) {
    case ACTION_HAS_TACKLED: TakeTackledBall(); break;
    case ACTION_CONTROLLING: pBall->SetPossessor(this); break;
    case ACTION_CATCHING:
        pBall->SetPossessor(this);
        pBall->SetHeld(true);
        break;
    case ACTION_PARRYING: DeflectBall(); break;
    case ACTION_PICKING_UP:
        if (!pBall->IsHeldInHands())
            pBall->SetHeld(true);
        break;
    default: break;
    }
}

void CMatchPlayer::CatchBallAtContact()
{
    if (m_bReplaying)
        return;
    CMatchBall* pBall = m_Engine.GetBall();
    switch (m_byAction) {
    case ACTION_HAS_TACKLED: TakeTackledBall(); break;
    case ACTION_CATCHING:
        if (!pBall->IsHeldInHands())
            pBall->SetPossessor(this);
        pBall->SetHeld(true);
        break;
    case ACTION_PICKING_UP:
        if (!pBall->IsHeldInHands())
            pBall->SetHeld(true);
        break;
    case ACTION_PUTTING_DOWN:
        if (pBall->IsHeldInHands())
            pBall->SetHeld(false);
        break;
    default: break;
    }
}

void CMatchPlayer::StrikeBall()
{
    if (m_bReplaying)
        return;
    CMatchBall* pBall = m_Engine.GetBall();
    switch (m_byAction) {
    case ACTION_KICKING:
        if (m_byKickKind == kKickKindHeader)
            RaiseHeaderEvent();
        KickBall();
        break;
    case ACTION_PARRYING: DeflectBall(); break;
    case ACTION_PUTTING_DOWN:
        if (pBall->IsHeldInHands())
            pBall->SetHeld(false);
        break;
    default: break;
    }
}

void CMatchPlayer::TakeTackledBall()
{
    RaiseKnockedEvent(m_pClub->IsInPenaltyArea(m_vPosition, false) ? 2 : 1);
    m_Engine.GetBall()->SetPossessor(this);
}

void CMatchPlayer::RaiseHeaderEvent()
{
    ITEMMATCHEVENTINFORMATION& event = m_Engine.GetEventRecord();
    event.pPerson = this;
    event.dwMatchTime = m_Engine.GetEngineClock();
    event.dwGameTime = m_Engine.GetMatchTime();
    event.byEvent = kEventHeader;
    event.byDetail = m_pClub->IsInPenaltyArea(m_vPosition, false) ? 5 : 4;
    m_Engine.SendMatchEvent();
}

void CMatchPlayer::RaiseKnockedEvent(uint8_t byDetail)
{
    ITEMMATCHEVENTINFORMATION& event = m_Engine.GetEventRecord();
    event.dwMatchTime = m_Engine.GetEngineClock();
    event.dwGameTime = m_Engine.GetMatchTime();
    event.byEvent = kEventKnocked;
    event.byDetail = byDetail;
    m_Engine.SendMatchEvent();
}

void CMatchPlayer::DeflectBall()
{
    CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return;
    if (m_byDecision == DECISION_TACKLE && m_pClub->IsInPenaltyArea(m_vPosition, false))
        RaiseKnockedEvent(3);
    // Also ends a ball played to him, which would otherwise be put back on
    // its play-to point.
    pBall->SetPossessor(nullptr);
    pBall->SetVelocity(m_vDeflection);
    pBall->RecordTrajectory(m_Engine.GetEngineClock(), this);
    SetBallControl(0);
    m_Engine.PlayCrowdSound(CROWDSOUND_BALLBOUNCE);
    pBall->StartBallInfo(BALLCAUSE_DEFLECTION, this);
    pBall->SetDeflected(true);
    SetAction(ACTION_HAS_KICKED);
}

bool CMatchPlayer::IsBusy()
{
    CMatchBall* pBall = m_Engine.GetBall();
    if (m_bHasBall && pBall && pBall->GetHolder() == this) {
        const bool bHoldingMove = m_byMoveType == MOVETYPE_HOLD_STAND || m_byMoveType == MOVETYPE_HOLD_WALK;
        if (bHoldingMove && !pBall->IsHeldInHands())
            pBall->SetHeld(true);
        else if (!bHoldingMove && pBall->IsHeldInHands())
            pBall->SetHeld(false);
    }
    return CMatchPerson::IsBusy();
}

void CMatchPlayer::UpdateIdle()
{
    if (m_byMoveType == MOVETYPE_POORLY && m_bHeldForReferee)
        SelectRandomAction(kIdleWaiting);
}

bool CMatchPlayer::HasReachedTarget(const CVector& point)
{
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    if (m_bySpecialRole == ROLE_EVENT_PLAYER && pReferee && pReferee->IsSetupComplete())
        return true;
    return CMatchPerson::HasReachedTarget(point);
}

int32_t CMatchPlayer::GetMoveSpeed(uint8_t byStepDirection)
{
    if (m_bySquadPosition == 0)
        return byStepDirection <= STEP_BACKWARD ? 300 : 400;
    return CMatchPerson::GetMoveSpeed(byStepDirection);
}
