// Meeting the moving ball: of the records of an action, the one whose
// moment of contact brings the body part to the ball at the right time. The
// first key of each animation's ball track is where the ball is met, relative
// to the person; it is turned by the heading, timed against the ball's
// flight, and the animation is stretched to meet it. A record qualifies when
// the ball's flight needs only a small correction to reach the contact point.
#include "match/actors/CMatchPerson.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int64_t kCorrectionLimit = 90000;  // a squared horizontal speed: 300 cm/s
constexpr float kVerticalCorrectionBound = 200.0f;
constexpr int32_t kContactHeightOffset = 13;
constexpr int32_t kRollingContactLimit = 50;
constexpr float kMinFrameTime = 20.0f, kMaxFrameTime = 45.0f;
constexpr double kAirDeceleration = 0.01, kGroundDeceleration = 0.2;
constexpr double kMinScale = 0.2, kMaxScale = 2.5;
constexpr uint32_t kSaveFrameMs = 43;
constexpr int kSkillBonus[10] = {100, 89, 78, 67, 56, 45, 34, 23, 12, 1};

const CAnimationLibrary& Library()
{
    return CMatchPerson::GetAnimationLibrary();
}

// A key's offset turned by a heading and scaled.
CVector TurnOffset(float kx, float ky, float kz, double h, double fScale, int32_t nHeightOffset)
{
    return CVector(TruncateToInt((kx * std::cos(h) + ky * std::sin(h)) * fScale),
                   TruncateToInt((-kx * std::sin(h) + ky * std::cos(h)) * fScale),
                   TruncateToInt(kz) - nHeightOffset);
}

// The correction of the ball's flight that puts it on c after t seconds:
// true when the horizontal part is within the limit; the vertical part out.
bool CorrectionWithinLimit(const CMatchBall& ball, const CVector& c, float t, float* pfVertical)
{
    const CVector v = ball.GetVelocityTo(c, t);
    const CVector& now = ball.GetVelocity();
    const int64_t dx = int64_t(v.x) - now.x, dy = int64_t(v.y) - now.y;
    *pfVertical = float(std::abs(int64_t(v.z) - now.z));
    return dx * dx + dy * dy <= kCorrectionLimit;
}

double Direction(int32_t dx, int32_t dy)
{
    return std::atan2(double(dx), double(dy));
}

}  // namespace

bool CMatchPerson::FillContactRequest(const ACTIONENTRY& entry, const ACTIONRECORD& record, uint8_t byFlags,
                                      float fHeading, float fScale, float fFrameTime, const CVector& release,
                                      float fReleaseTime)
{
    ANIMATIONREQUEST request;
    ClearAnimationRequest(request);
    request.flags = byFlags;
    request.startHeading = fHeading;
    request.scale = fScale;
    request.animation = record.wAnimation;
    request.frameTime = uint16_t(fFrameTime);
    TakeRequest(request, entry.byEventKind, record.byEndMoveType);
    SetReleaseTarget(release, fReleaseTime);
    m_byHeaderCode = record.byHeaderCode;
    m_fHeadingAfterAnimation = float(WrapAngle(double(fHeading) + record.fHeadingChange));
    return true;
}

bool CMatchPerson::TimeContact(const ACTIONRECORD& record, float h, CONTACTTIMING& timing) const
{
    const CMatchBall* pBall = m_Engine.GetBall();
    float kx = 0, ky = 0, kz = 0;
    uint16_t wFrame = 0;
    if (!pBall || !m_pModel || !m_pModel->GetAnimationFirstKey(record.wAnimation, &kx, &ky, &kz, &wFrame) ||
        wFrame == 0)
        return false;
    timing.vContact = m_vPosition + TurnOffset(kx, ky, kz, h, 1.0, kContactHeightOffset);
    const CVector& b = pBall->GetPosition();
    const CVector& v = pBall->GetVelocity();
    const bool bRolling = b.z == 0 && v.z <= 0;
    if (bRolling && timing.vContact.z > kRollingContactLimit)
        return false;
    // The ball's remaining way to the contact point, along its travel.
    const double fLength = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    if (fLength <= 0.0)
        return false;
    const double ux = -v.x / fLength, uy = -v.y / fLength, uz = -v.z / fLength;
    const int32_t d0 = TruncateToInt(b.x * ux + b.y * uy + b.z * uz);
    const double fDistance =
        d0 - (timing.vContact.x * ux + timing.vContact.y * uy + timing.vContact.z * uz);
    const int32_t s = IntegerRoot(int64_t(v.x) * v.x + int64_t(v.y) * v.y);
    const double fLoss = fDistance * (b.z > 0 ? kAirDeceleration : kGroundDeceleration) * 0.5;
    if (s - fLoss <= 0.0)
        return false;  // the ball stops before it gets there
    const double t = TruncateToInt(fDistance / (s - fLoss) * 1000.0);
    const double tLeft = m_pModel->GetAnimationTimeLeft();
    timing.fFrameTime = std::clamp(float((t - tLeft) / wFrame), kMinFrameTime, kMaxFrameTime);
    // The contact comes after what is left of the current animation.
    timing.fContactSeconds = float((timing.fFrameTime * wFrame + tLeft) / 1000.0);
    return true;
}

bool CMatchPerson::SelectReceivingAnimation(uint8_t byAction, bool bHeadingCheck, bool bUseRestFacing)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pEntry || !pBall || !m_pModel)
        return false;
    const float h = bUseRestFacing ? m_fRestFacing : m_fFacing;
    float fBest = kVerticalCorrectionBound;
    bool bTaken = false;
    for (const ACTIONRECORD& record : pEntry->records) {
        if (record.byStartMoveType != m_byMoveType)
            continue;
        // The records carry no heading offset of their own.
        if (bHeadingCheck && std::fabs(WrapAngle(double(h) - m_fRestFacing)) > kPi / 4)
            continue;
        CONTACTTIMING timing;
        float fVertical = 0.0f;
        if (!TimeContact(record, h, timing) ||
            !CorrectionWithinLimit(*pBall, timing.vContact, timing.fContactSeconds, &fVertical) || fVertical >= fBest)
            continue;
        fBest = fVertical;
        bTaken = FillContactRequest(*pEntry, record, ANIMREQ_USE_START_HEADING, h, 1.0f, timing.fFrameTime,
                                    timing.vContact, timing.fContactSeconds);
    }
    return bTaken;
}

bool CMatchPerson::SelectStrikingAnimation(uint8_t byAction, const CVector& target, bool bUseRestFacing,
                                           int nFootSkill, int nHeadSkill, int nMinimumChance, bool bHeadersOnly)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pEntry || !pBall || !m_pModel)
        return false;
    const float h = bUseRestFacing ? m_fRestFacing : m_fFacing;
    bool bTaken = false;
    for (const ACTIONRECORD& record : pEntry->records) {
        if (record.byStartMoveType != m_byMoveType || (bHeadersOnly && !record.byHeaderCode))
            continue;
        const int nSkill = record.byHeaderCode ? nHeadSkill : nFootSkill;
        if (nSkill != 101) {
            const int nChance = std::max(std::min(100, nSkill + kSkillBonus[std::min<int>(record.byContactCode, 9)]),
                                         nMinimumChance);
            if (plat::rand() % 100 > nChance)
                continue;
        }
        // The ball must leave towards the target: the heading after the
        // animation within a quarter turn of it.
        const double fAfter = WrapAngle(double(h) + record.fHeadingChange);
        const double fToTarget = Direction(target.x - m_vPosition.x, target.y - m_vPosition.y);
        if (std::fabs(WrapAngle(fToTarget - fAfter)) > kPi / 2)
            continue;
        CONTACTTIMING timing;
        float fVertical = 0.0f;
        if (!TimeContact(record, h, timing) ||
            !CorrectionWithinLimit(*pBall, timing.vContact, timing.fContactSeconds, &fVertical) ||
            fVertical > kVerticalCorrectionBound)
            continue;
        bTaken = FillContactRequest(*pEntry, record, ANIMREQ_USE_START_HEADING, h, 1.0f, timing.fFrameTime,
                                    timing.vContact, timing.fContactSeconds);
    }
    return bTaken;
}

bool CMatchPerson::SelectAnimationToPoint(uint8_t byAction, const CVector& point, float fSeconds,
                                          float fWantedEndHeading)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pEntry || !pBall || !m_pModel)
        return false;
    const float fTimeLeft = float(m_pModel->GetAnimationTimeLeft());
    if (fSeconds >= 0.0f && fTimeLeft > fSeconds * 1000.0f)
        return false;
    const bool bWantedHeading = fWantedEndHeading != kNoEndHeading;
    double fBestTurn = kPi / 3;
    bool bTaken = false;
    for (const ACTIONRECORD& record : pEntry->records) {
        if (record.byStartMoveType != m_byMoveType)
            continue;
        float kx = 0, ky = 0, kz = 0;
        uint16_t wFrame = 0;
        if (!m_pModel->GetAnimationFirstKey(record.wAnimation, &kx, &ky, &kz, &wFrame) || wFrame == 0)
            continue;
        float fFrameTime = float(kDefaultFrameTime);
        if (fSeconds >= 0.0f) {
            fFrameTime = (fSeconds * 1000.0f - fTimeLeft) / wFrame;
            if (fFrameTime < kMinFrameTime || fFrameTime > kMaxFrameTime)
                continue;
        }
        const float fContact = (fFrameTime * wFrame + fTimeLeft) / 1000.0f;
        const double fHeading = WrapAngle(Direction(point.x - m_vPosition.x, point.y - m_vPosition.y) -
                                          Direction(TruncateToInt(kx), TruncateToInt(ky)));
        if (std::fabs(WrapAngle(fHeading - m_fFacing)) > kPi / 4)
            continue;
        const double fAfter = WrapAngle(fHeading + record.fHeadingChange);
        if (bWantedHeading && std::fabs(WrapAngle(fAfter - fWantedEndHeading)) >= fBestTurn)
            continue;
        const double fReach = std::sqrt(double(kx) * kx + double(ky) * ky);
        const double fScale = fReach > 0.0 ? std::sqrt(double(m_vPosition.SquaredDistance2D(point))) / fReach : 0.0;
        if (fScale < kMinScale || fScale > kMaxScale)
            continue;
        const CVector release(point.x, point.y, TruncateToInt(kz) - kContactHeightOffset);
        float fVertical = 0.0f;
        if (pBall->GetHolder() == nullptr &&
            (!CorrectionWithinLimit(*pBall, release, fContact, &fVertical) || fVertical > kVerticalCorrectionBound))
            continue;
        if (!KeyIsFree(record, false, fHeading, fScale))
            continue;
        bTaken = FillContactRequest(*pEntry, record, ANIMREQ_USE_START_HEADING | ANIMREQ_SCALE_X | ANIMREQ_SCALE_Z,
                                    float(fHeading),
                                    float(fScale), fFrameTime, release, fContact);
        if (!bWantedHeading)
            break;
        fBestTurn = std::fabs(WrapAngle(fAfter - fWantedEndHeading));
    }
    return bTaken;
}

bool CMatchPerson::KeyIsFree(const ACTIONRECORD& record, bool bMiddle, double fHeading, double fScale)
{
    float kx = 0, ky = 0, kz = 0;
    const bool bKnown = bMiddle ? m_pModel->GetAnimationMiddleKey(record.wAnimation, &kx, &ky, &kz, nullptr)
                                    : m_pModel->GetAnimationLastKey(record.wAnimation, &kx, &ky, &kz, nullptr);
    if (!bKnown)
        return true;  // nothing known of the way: nothing stands in it
    return IsPositionFree(m_vPosition + TurnOffset(kx, ky, 0, fHeading, fScale, 0), record.bHands);
}

bool CMatchPerson::SelectSaveAt(uint8_t byAction, const CVector* pPoint, uint8_t byKind, float fSeconds,
                                bool bUseRestFacing)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pEntry || !pBall || !m_pModel)
        return false;
    const float fTimeLeft = m_bSaveCutsIn ? 0.0f : float(m_pModel->GetAnimationTimeLeft());
    if (pPoint && fSeconds >= 0.0f && fTimeLeft > fSeconds * 1000.0f)
        return false;
    const float fFacing = bUseRestFacing ? m_fRestFacing : m_fFacing;
    for (const ACTIONRECORD& record : pEntry->records) {
        if (record.byStartMoveType != m_byMoveType)
            continue;
        float kx = 0, ky = 0, kz = 0;
        uint16_t wFrame = 0;
        if (!m_pModel->GetAnimationFirstKey(record.wAnimation, &kx, &ky, &kz, &wFrame) || wFrame == 0)
            continue;
        // A save at a known point is timed to the ball's arrival there: the
        // animation is stretched so that its contact frame comes then.
        float fFrameTime = float(kSaveFrameMs);
        const bool bTimed = pPoint && fSeconds >= 0.0f;
        if (bTimed) {
            fFrameTime = (fSeconds * 1000.0f - fTimeLeft) / wFrame;
            if (fFrameTime < kMinFrameTime || fFrameTime > kMaxFrameTime)
                continue;
        }
        const float fContact = bTimed ? (fFrameTime * wFrame + fTimeLeft) / 1000.0f : float(wFrame * kSaveFrameMs) / 1000.0f;
        const CVector ball = pPoint ? *pPoint : pBall->PredictPosition(fContact, false);
        const double fHeading = WrapAngle(Direction(ball.x - m_vPosition.x, ball.y - m_vPosition.y) -
                                          Direction(TruncateToInt(kx), TruncateToInt(ky)));
        if (std::fabs(WrapAngle(fHeading - fFacing)) > kPi / 2)
            continue;
        const double fReach = std::sqrt(double(kx) * kx + double(ky) * ky);
        double fScale = fReach > 0.0 ? std::sqrt(double(m_vPosition.SquaredDistance2D(ball))) / fReach : 0.0;
        // A ball timed to arrive nearer than the record reaches (a shot
        // straight at him) is within it: the reach is shortened to the least.
        if (bTimed && fReach > 0.0 && fScale < kMinScale)
            fScale = kMinScale;
        if (fScale < kMinScale || fScale > kMaxScale)
            continue;
        float fVertical = 0.0f;
        if (pBall->GetHolder() == nullptr &&
            (!CorrectionWithinLimit(*pBall, ball, fContact, &fVertical) || fVertical > kVerticalCorrectionBound))
            continue;
        if (!KeyIsFree(record, true, fHeading, fScale) || !KeyIsFree(record, false, fHeading, fScale))
            continue;
        // Scaled on both axes, so that the turned offset keeps its direction.
        const uint8_t byFlags = uint8_t(byKind | ANIMREQ_USE_START_HEADING | ANIMREQ_SCALE_X | ANIMREQ_SCALE_Z);
        return FillContactRequest(*pEntry, record, byFlags, float(fHeading),
                                  float(fScale), fFrameTime, ball, fContact);
    }
    return false;
}

bool CMatchPerson::SelectSaveAnimation(uint8_t byAction, uint8_t byKind, bool bUseRestFacing)
{
    return SelectSaveAt(byAction, nullptr, byKind, -1.0f, bUseRestFacing);
}

bool CMatchPerson::SelectSaveAnimationAtPoint(uint8_t byAction, const CVector& point, uint8_t byKind, float fSeconds,
                                              bool bUseRestFacing)
{
    return SelectSaveAt(byAction, &point, byKind, fSeconds, bUseRestFacing);
}

bool CMatchPerson::SelectActionByHeadingChange(uint8_t byAction, float fAngle, float* pfRest)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    if (!pEntry || !m_pModel)
        return false;
    const double fWanted = WrapAngle(double(m_pModel->GetHeading()) - fAngle);
    const ACTIONRECORD* pBest = nullptr;
    double fBestGap = 999999.0;
    for (const ACTIONRECORD& record : pEntry->records) {
        if (record.byStartMoveType != m_byMoveType)
            continue;
        const double fGap = std::fabs(WrapAngle(fWanted - record.fHeadingChange));
        if (fGap < fBestGap)
            pBest = &record, fBestGap = fGap;
    }
    if (!pBest)
        return false;
    if (pfRest)
        *pfRest = float(WrapAngle(fWanted - pBest->fHeadingChange));
    return TakeActionRecord(*pEntry, *pBest);
}

bool CMatchPerson::SelectActionByHeadingChangeFree(uint8_t byAction, float fWantedChange, float* pfRest, bool bTest)
{
    const ACTIONENTRY* pEntry = Library().GetAction(byAction);
    if (!pEntry || !m_pModel || pEntry->records.empty())
        return false;
    // Tried in random order, each once.
    std::vector<size_t> order(pEntry->records.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    for (size_t i = order.size() - 1; i > 0; --i)
        std::swap(order[i], order[size_t(plat::rand()) % (i + 1)]);
    const ACTIONRECORD* pBest = nullptr;
    double fBestGap = 999999.0;
    for (size_t i : order) {
        const ACTIONRECORD& record = pEntry->records[i];
        if (record.byStartMoveType != m_byMoveType)
            continue;
        const double fGap = std::fabs(WrapAngle(double(fWantedChange) - record.fHeadingChange));
        if (fGap >= fBestGap)
            continue;
        if (bTest) {
            ANIMATIONREQUEST end;
            ClearAnimationRequest(end);
            end.animation = record.wAnimation;
            m_pModel->PredictAnimationEnd(&end);
            if (!IsPositionFree(CVector(TruncateToInt(end.x), TruncateToInt(end.y), 0), record.bHands))
                continue;
        }
        pBest = &record, fBestGap = fGap;
    }
    if (!pBest)
        return false;
    if (pfRest)
        *pfRest = float(WrapAngle(double(fWantedChange) - pBest->fHeadingChange));
    return TakeActionRecord(*pEntry, *pBest);
}
