// The footballer's tackles: whether he goes in and would win, his tackle
// force, the standing tackle that resolves once he reaches his man, the
// tackle resolved where he meets the ball, and a loose ball or a ball
// played to somebody else that he gets to first. A tackle that comes only
// from intent to foul (not from in front of his man) is reported to the
// rules as a tackle from behind; every tackle is reported as aggressive
// play by its force. A tackle may knock (and injure) the tackled player,
// and is kept in the tackler's records.
#include "match/actors/CMatchPlayer.h"

#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kStandingTackleReach = 70;
constexpr int32_t kLooseBallHeight = 200;
constexpr uint8_t kKindTackle = 4;
// The tackled player's fall after a standing tackle, and the match event of a knock.
constexpr uint32_t kStandingFallTime = 1000;
constexpr uint8_t kEventKnocked = 27;
// Tackle animations: the lunge, the block, the shoulder challenge and the slide.
constexpr uint8_t kAnimationLunge = 30;
constexpr uint8_t kAnimationBlock = 31;
constexpr uint8_t kAnimationShoulder = 32;
constexpr uint8_t kAnimationSlide = 33;

// How readily he goes in: by his temper and the tackling order, and by how
// far he stands from his own goal line.
constexpr int kGoInByTemper[10] = {0, 3, 6, 9, 12, 15, 18, 21, 24, 30};
constexpr int kGoInByDepth[10] = {70, 60, 50, 40, 30, 20, 10, 0, 0, 0};
// Tackle force by Tackling / 10 and by anger / 100.
constexpr int kForceBySkill[10] = {30, 20, 10, 5, 0, 0, -5, -10, -20, -30};
constexpr int kForceByAnger[10] = {30, 40, 50, 60, 70, 80, 90, 100, 110, 120};

int32_t Distance2D(const CVector& a, const CVector& b)
{
    return IntegerRoot(a.SquaredDistance2D(b));
}

bool IsLooseBallAction(uint8_t byAction)
{
    switch (byAction) {
    case ACTION_NOTHING:
    case ACTION_MOVING:
    case ACTION_HAS_KICKED:
    case ACTION_STOPPING:
    case ACTION_TURNING:
    case ACTION_STEPPING:
    case ACTION_TRANSITION:
        return true;
    default:
        return false;
    }
}

}  // namespace

CMatchPlayer* CMatchPlayer::AsFootballer(CMatchPerson* pPerson)
{
    return pPerson && pPerson->GetPersonType() == PERSONTYPE_FOOTBALLER ? static_cast<CMatchPlayer*>(pPerson)
                                                                          : nullptr;
}

bool CMatchPlayer::RollTackle(const CMatchPlayer& target, bool* pbGoesIn) const
{
    *pbGoesIn = false;
    if (target.GetSquadPosition() == 0)
        return false;  // nobody goes in on the goalkeeper
    const int s = std::min((m_wTemper / 10 + m_abyTeamOrders[ORDER_TACKLING_STRENGTH]) / 20, 9);
    const int32_t d = m_pClub->AttacksHighEnd() ? m_vPosition.x : PITCH_LENGTH - m_vPosition.x;
    const int nBand = std::clamp(d / 1000, 0, 9);
    if (plat::rand() % 100 > kGoInByTemper[s] + kGoInByDepth[nBand])
        return false;
    *pbGoesIn = true;
    // Whether he would win is the ordinary challenge of tackling against dribbling.
    return WinsChallenge(target);
}

bool CMatchPlayer::RollKeeperTackle(const CMatchPlayer& target) const
{
    const int f = std::max(1, int(((m_abyRatings[RATING_TACKLING] + m_abyRatings[RATING_HANDLING]) / 2) * 2.0));
    const int b = std::max<int>(target.GetRating(RATING_DRIBBLING), 1);
    const int nMine = plat::rand() % f;
    return nMine > plat::rand() % b;
}

bool CMatchPlayer::IsInFrontOfPartner() const
{
    if (!m_pDecisionPartner)
        return false;
    const double a = m_pDecisionPartner->GetPosition().GetAngleTo(m_vPosition);
    return std::fabs(WrapAngle(a - m_pDecisionPartner->GetFacing())) < kPi / 2;
}

bool CMatchPlayer::CanTackle()
{
    m_bFoulTackle = false;
    if (!IsInFrontOfPartner()) {
        if (!m_bFoulIntent)
            return false;
        m_bFoulTackle = true;
    }
    // A booked man holds back: going in as hard as before sent nearly one
    // player a match off for a second booking.
    const int nForce = (kForceBySkill[std::min(m_abyRatings[RATING_TACKLING] / 10, 9)] +
                        kForceByAnger[std::clamp(m_nAnger / 100, 0, 9)]) *
                       GetTacticsTacklingStrength() / 100 / (m_byYellowCards > 0 ? 2 : 1);
    m_nTackleForce = nForce >= 1 ? plat::rand() % nForce : 0;
    return true;
}

void CMatchPlayer::KeepTackleRecord(const TACKLERECORD& record)
{
    m_LastTackle = record;
}

void CMatchPlayer::UpdateWhileBusy()
{
    if (m_byAction == ACTION_TACKLING)
        UpdateTackle();
    else if (m_bySquadPosition == 0)
        UpdateGoalkeeperWhileBusy();
}

void CMatchPlayer::PreUpdate()
{
    if (m_byAction != ACTION_TACKLING)
        return;
    TACKLERECORD record;
    record.vStart = record.vEnd = m_vPosition;
    record.byResult = 1;
    AddTackleInfo(record);
    SetAction(ACTION_HAS_TACKLED);
}

void CMatchPlayer::UpdateTackle()
{
    CMatchPlayer* pPartner = m_pDecisionPartner;
    CMatchBall* pBall = m_Engine.GetBall();
    if (!pPartner || !pBall) {
        SetAction(ACTION_MOVING);  // nobody left to tackle
        return;
    }
    if (Distance2D(m_vPosition, pPartner->GetPosition()) > kStandingTackleReach)
        return;
    SetAction(ACTION_MOVING);
    TACKLERECORD record;
    record.vStart = record.vEnd = m_vPosition;
    if (m_bFoulTackle)
        m_Engine.ReportTackle(this, pPartner);
    m_Engine.ReportAggressivePlay(this, m_vPosition, m_nTackleForce / 3);
    if (pPartner->GetRating(RATING_AGILITY) < m_nTackleForce)
        pPartner->TakeChallenge(m_abyRatings[RATING_STRENGTH] + m_nTackleForce, kStandingFallTime);
    if (pBall->GetHolder() == pPartner &&
        pPartner->GetRating(RATING_DRIBBLING) < plat::rand() % 100 + m_abyRatings[RATING_TACKLING]) {
        record.byResult = 0;
        if (plat::rand() % 100 < m_abyRatings[RATING_DRIBBLING]) {
            pBall->SetPossessor(this);
        } else {
            // Knocked loose: it runs off in any direction.
            pBall->SetPossessor(nullptr);
            const double a = (plat::rand() % 628) * 0.01;
            pBall->SetVelocity(CVector(TruncateToInt(500 * std::sin(a)), TruncateToInt(500 * std::cos(a)), 0));
            pBall->RecordTrajectory(m_Engine.GetEngineClock(), nullptr);
            pBall->StartBallInfo(BALLCAUSE_DEFLECTION, plat::rand() % 100 > 50 ? pPartner : this);
        }
    } else {
        record.byResult = 1;
    }
    AddTackleInfo(record);
}

bool CMatchPlayer::ResolveTackle(bool bFlag)
{
    SetAction(ACTION_HAS_TACKLED);
    CMatchPlayer* pPartner = m_pDecisionPartner;
    TACKLERECORD record;
    record.vStart = record.vEnd = m_vInterceptPoint;
    if (pPartner && pPartner->GetAction() == ACTION_KICKING) {
        // He got the ball away first.
        record.byResult = 1;
        AddTackleInfo(record);
        return false;
    }
    SetBallControl(1);
    const bool bOwnArea = m_pClub->IsInPenaltyArea(m_vInterceptPoint, false);
    record.byResult = bOwnArea ? 2 : 0;
    AddTackleInfo(record);
    if (pPartner && m_bFoulTackle)
        m_Engine.ReportTackle(this, pPartner);
    m_Engine.ReportAggressivePlay(this, m_vInterceptPoint, m_nTackleForce);
    if (pPartner) {
        pPartner->Provoke(std::min(m_nTackleForce / 10, 9), this);
        const uint32_t dwFall = uint32_t(TruncateToInt(double(m_fInterceptTimeFactor) * 1000.0));
        if (pPartner->TakeChallenge(m_abyRatings[RATING_STRENGTH] + m_nTackleForce, dwFall)) {
            ITEMMATCHEVENTINFORMATION& event = m_Engine.GetEventRecord();
            event.dwMatchTime = m_Engine.GetEngineClock();
            event.dwGameTime = m_Engine.GetMatchTime();
            event.byEvent = kEventKnocked;
            event.byDetail = 0;
            m_Engine.SendMatchEvent();
        }
    }
    if (m_bySquadPosition == 0)
        return true;
    const int t = bOwnArea ? (bFlag ? 100 : 70) : (bFlag ? 170 : 100);
    if (plat::rand() % t < m_abyRatings[RATING_DRIBBLING])
        return true;  // he keeps it cleanly
    // It comes off him.
    SetAction(ACTION_PARRYING);
    const double a = (plat::rand() % 628) * 0.01;
    m_vDeflection.Set(TruncateToInt(800 * std::sin(a)), TruncateToInt(800 * std::cos(a)), plat::rand() % 700);
    if (CMatchBall* pBall = m_Engine.GetBall()) {
        pBall->Deflect(this);
        pBall->SetVelocity(m_vDeflection);
        pBall->RecordTrajectory(m_Engine.GetEngineClock(), nullptr);
    }
    SetBallControl(0);
    return true;
}

bool CMatchPlayer::TryTackleNow()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || !pBall->GetHolder() || !m_pDecisionPartner || !CanTackle())
        return false;
    const float h = m_pDecisionPartner->GetFacing();
    const CVector point = m_pDecisionPartner->GetPosition() +
                          CVector(TruncateToInt(50 * std::sin(h)), TruncateToInt(50 * std::cos(h)), 0);
    m_vInterceptPoint = point;
    m_fInterceptTimeFactor = 0.0f;
    if (StartStandingTackle())
        return true;
    if (!m_bGoesIn || !SelectSaveAnimationAtPoint(kAnimationLunge, point, kKindTackle, -1.0f, false))
        return false;
    SetAction(ACTION_TACKLING);
    m_nTackleForce += 15;
    if (m_bTackleRoll)
        ResolveTackle(true);
    return true;
}

bool CMatchPlayer::StartStandingTackle()
{
    if (m_nBallDistance > 600)
        return false;
    if (m_bKeeperTackleRoll) {
        if (SelectSaveAnimationAtPoint(kAnimationSlide, m_vInterceptPoint, kKindTackle, -1.0f, false)) {
            ResolveTackle(false);
            return true;
        }
        return false;  // no standing challenge after a slide that did not fit
    }
    if (m_bChallengeWon && SelectSaveAnimationAtPoint(kAnimationBlock, m_vInterceptPoint, kKindTackle, -1.0f, false)) {
        ResolveTackle(false);
        return true;
    }
    const CMatchBall* pBall = m_Engine.GetBall();
    if (m_nBallDistance >= 250 || !pBall)
        return false;
    float fRest = 0.0f;
    if (!SelectActionByHeadingChange(kAnimationShoulder, float(m_vPosition.GetAngleTo(pBall->GetPosition())), &fRest) ||
        std::fabs(fRest) >= kPi / 4) {
        if (m_bRequestPending)
            CancelPendingAnimation();
        return false;
    }
    SetAction(ACTION_HAS_TACKLED);
    return true;
}

bool CMatchPlayer::CanReachLooseBall(int32_t* pnDistance) const
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || !IsLooseBallAction(m_byAction))
        return false;
    if (m_byAction == ACTION_HAS_KICKED && pBall->GetLastToucher() == this)
        return false;
    if (pBall->GetPosition().z > kLooseBallHeight)
        return false;
    const int32_t nReach = m_Engine.GetMatchEvent() == MATCHEVENT_NONE ? 70 : 90;
    int32_t nAlong = 0;
    if (pBall->GetDistanceToPath(m_vPosition, &nAlong) > nReach)
        return false;
    *pnDistance = nAlong;
    return true;
}

void CMatchPlayer::TakeLooseBall()
{
    CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return;
    // A goalkeeper gathers it in his hands where he may handle it; that is
    // judged before the touch makes him the last toucher.
    const bool bInHands = m_bySquadPosition == 0 && CanHandleBall();
    auto take = [&] {
        pBall->SetPossessor(this);
        if (bInHands)
            pBall->SetHeld(true);
    };
    const CMatchPlayer* pLast = AsFootballer(pBall->GetLastToucher());
    if (pLast && pLast->GetClub() == m_pClub) {
        take();
        return;
    }
    if (pBall->GetSecondsSinceMark() > 0.3f) {
        const double d = WrapAngle(double(m_fFacing) - m_fRestFacing);
        const int nChance = m_abyRatings[RATING_DRIBBLING] - pBall->GetSpeed() / 50 - m_nSpeed / 32 -
                            TruncateToInt(47 * std::fabs(d)) + 100;
        if (plat::rand() % 100 < nChance) {
            CMatchPlayer* pKeeper = pBall->IsPlayTo() ? AsFootballer(pBall->GetIntendedReceiver()) : nullptr;
            const bool bKeeperReceiving = pKeeper && pKeeper != this && pKeeper->GetClub() != m_pClub &&
                                          pKeeper->GetSquadPosition() == 0 &&
                                          (pKeeper->GetAction() == ACTION_CONTROLLING ||
                                           pKeeper->GetAction() == ACTION_CATCHING ||
                                           pKeeper->GetAction() == ACTION_PARRYING);
            if (!bKeeperReceiving) {
                take();
            } else if (Distance2D(m_vPosition, pBall->GetTarget()) <= 100) {
                // He and the goalkeeper meet at the ball: the goalkeeper's challenge.
                const CVector target = pBall->GetTarget();
                take();
                pKeeper->SetDecisionPartner(this);
                pKeeper->SetInterceptPoint(target, 0.0f);
                pKeeper->CanTackle();
                pKeeper->ResolveTackle(false);
            } else {
                pKeeper->CancelPendingAnimation();
                m_Engine.SetKeeperChallenge(true);
                take();
            }
            return;
        }
    }
    pBall->Deflect(this);
}

bool CMatchPlayer::ContestBall(bool bCheckPath)
{
    CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return false;
    const CVector& ball = pBall->GetPosition();
    if (bCheckPath && m_vInterceptPoint.z < 200 &&
        m_Engine.IsPathBlockedByPerson(ball, m_vInterceptPoint, m_Engine.GetMatchEvent() == MATCHEVENT_NONE ? 70 : 90,
                                       this))
        return false;
    if (!pBall->IsPlayTo()) {
        ReleaseBall();
        return true;
    }
    const CVector& playTo = pBall->GetTarget();
    if (playTo.z - 50 > m_vInterceptPoint.z)
        return false;
    const int64_t tMe = TruncateToInt(double(m_fInterceptTimeFactor) * 1000.0);
    const int64_t tBall = int64_t(pBall->GetPlayToTime()) - int64_t(m_Engine.GetEngineClock());
    const int64_t dMe = ball.SquaredDistance2D(m_vInterceptPoint);
    const int64_t dBall = ball.SquaredDistance2D(playTo);
    if (tBall < tMe - 400 || dBall < dMe - 100)
        return false;  // it reaches its receiver first
    CMatchPlayer* pReceiver = AsFootballer(pBall->GetIntendedReceiver());
    if (pReceiver == this)
        pReceiver = nullptr;
    if (pReceiver && tMe >= tBall - 400 && dMe >= dBall - 100) {
        bool bWins;
        if (pReceiver->GetClub() != m_pClub) {
            if (pReceiver->GetSquadPosition() == 0)
                bWins = false;
            else if (m_bySquadPosition == 0)
                bWins = true;
            else
                bWins = plat::rand() % std::max<int>(m_abyRatings[RATING_TACKLING], 1) >
                        plat::rand() % std::max<int>(pReceiver->GetRating(RATING_TACKLING), 1);
        } else {
            bWins = dMe < dBall;
        }
        if (!bWins)
            return false;
    }
    if (pReceiver) {
        if (pReceiver->GetSquadPosition() == 0 &&
            (pReceiver->GetAction() == ACTION_CATCHING || pReceiver->GetAction() == ACTION_PARRYING))
            pReceiver->CancelPendingAnimation();
        pReceiver->SetBallControl(0);
    }
    ReleaseBall();
    return true;
}
