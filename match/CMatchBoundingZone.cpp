#include "match/CMatchBoundingZone.h"

#include "common/DebugLog.h"

#include <cstdlib>

namespace {

int32_t& Axis(CVector& v, int a)
{
    return a == 0 ? v.x : a == 1 ? v.y : v.z;
}

int32_t Axis(const CVector& v, int a)
{
    return a == 0 ? v.x : a == 1 ? v.y : v.z;
}

// Face bits of the min and max side of each axis.
const uint32_t kMinFace[3] = {ZONE_MIN_X, ZONE_MIN_Y, ZONE_BOTTOM};
const uint32_t kMaxFace[3] = {ZONE_MAX_X, ZONE_MAX_Y, ZONE_TOP};

constexpr uint32_t kMaskedCorner = 999999999;
// Bit of each corner in the corner mask.
const uint8_t kCornerBit[4] = {1, 4, 2, 8};

// The velocity after a hit: scaled by the factors, small components stopped,
// the component of the plane's axis turned back.
CVector Rebound(const CVector& v, float fFactor, int nAxis)
{
    CVector out;
    v.Scale(fFactor, out);
    for (int a = 0; a < 3; ++a)
        if (std::abs(Axis(out, a)) < 120)
            Axis(out, a) = 0;
    Axis(out, nAxis) = -Axis(out, nAxis);
    return out;
}

}  // namespace

void CMatchBoundingZone::Create(const CVector& centre, const CVector& halfSize, float fFactor, uint32_t dwFlags,
                                uint8_t byCornerMask)
{
    m_vMin = centre - halfSize;
    m_vMin.z = centre.z;
    m_vMax = centre + halfSize;
    m_nLeft = m_vMin.x;
    m_nTop = m_vMin.y;
    m_nRight = m_vMax.x;
    m_nBottom = m_vMax.y;
    m_fFactor = fFactor;
    m_dwFlags = dwFlags;
    m_byCornerMask = byCornerMask;
    m_avCorners[0].Set(m_vMin.x - kCornerMargin, m_vMin.y - kCornerMargin, 0);
    m_avCorners[1].Set(m_vMax.x + kCornerMargin, m_vMin.y - kCornerMargin, 0);
    m_avCorners[2].Set(m_vMin.x - kCornerMargin, m_vMax.y + kCornerMargin, 0);
    m_avCorners[3].Set(m_vMax.x + kCornerMargin, m_vMax.y + kCornerMargin, 0);

    const int32_t nMidX = m_vMin.x + (m_vMax.x - m_vMin.x) / 2;
    const int32_t nMidY = m_vMin.y + (m_vMax.y - m_vMin.y) / 2;
    m_bHasEntrance = true;
    if (!(dwFlags & ZONE_MIN_Y)) {
        m_byEntranceSide = ZONE_MIN_Y;
        m_vEntrance.Set(nMidX, m_vMin.y, 0);
    } else if (!(dwFlags & ZONE_MAX_Y)) {
        m_byEntranceSide = ZONE_MAX_Y;
        m_vEntrance.Set(nMidX, m_vMax.y, 0);
    } else if (!(dwFlags & ZONE_MIN_X)) {
        m_byEntranceSide = ZONE_MIN_X;
        m_vEntrance.Set(m_vMin.x, nMidY, 0);
    } else if (!(dwFlags & ZONE_MAX_X)) {
        m_byEntranceSide = ZONE_MAX_X;
        m_vEntrance.Set(m_vMax.x, nMidY, 0);
    } else {
        m_bHasEntrance = false;
        m_byEntranceSide = 0;
        m_vEntrance = CVector();
    }
    for (int i = 0; i < 4; ++i)
        m_adwCornerToEntrance[i] = m_bHasEntrance ? uint32_t(m_avCorners[i].SquaredDistance2D(m_vEntrance)) : 0;
}

bool CMatchBoundingZone::IsAboveMin(const CVector& p) const
{
    return p.x >= m_vMin.x && p.y >= m_vMin.y && p.z >= m_vMin.z;
}

bool CMatchBoundingZone::IsBelowMax(const CVector& p) const
{
    return p.x <= m_vMax.x && p.y <= m_vMax.y && p.z <= m_vMax.z;
}

bool CMatchBoundingZone::TestBallCollision(BALLCOLLISIONQUERY& query) const
{
    const int32_t r = query.nRadius;
    const CVector old = *query.pStart;
    const CVector v = *query.pVelocity;
    const float fFactor = m_fFactor * query.fFactor;
    // A ball starting level with or above an outside top can only land on it.
    const bool bSkipInsideSides = old.z >= m_vMax.z && Has(ZONE_OUTSIDE | ZONE_TOP);

    int nHitAxis = -1;
    CVector hitPoint, hitVelocity;
    for (int a = 0; a < 2; ++a) {
        const int32_t va = Axis(v, a);
        if (va == 0)
            continue;
        const int32_t nOld = Axis(old, a), nMin = Axis(m_vMin, a), nMax = Axis(m_vMax, a);
        int32_t nPlane;
        if (va > 0) {
            if (Has(ZONE_OUTSIDE | kMinFace[a]) && nOld <= nMin)
                nPlane = nMin - r;
            else if (!bSkipInsideSides && Has(ZONE_INSIDE | kMaxFace[a]) && nOld <= nMax)
                nPlane = nMax - r;
            else
                continue;
        } else {
            if (Has(ZONE_OUTSIDE | kMaxFace[a]) && nOld >= nMax)
                nPlane = nMax + r;
            else if (!bSkipInsideSides && Has(ZONE_INSIDE | kMinFace[a]) && nOld >= nMin)
                nPlane = nMin + r;
            else
                continue;
        }
        const float t = float(double(nPlane - nOld) / va);
        const int b = 1 - a;
        CVector crossing;
        Axis(crossing, a) = nPlane;
        Axis(crossing, b) = Axis(old, b) + TruncateToInt(Axis(v, b) * double(t));
        crossing.z = old.z + TruncateToInt(v.z * double(t));
        const bool bOnFace = Axis(crossing, b) >= Axis(m_vMin, b) - r && Axis(crossing, b) <= Axis(m_vMax, b) + r &&
                             crossing.z >= m_vMin.z - 2 * r && crossing.z <= m_vMax.z;
        if (bOnFace && t <= query.fImpactTime) {
            query.fImpactTime = t;
            nHitAxis = a;
            hitPoint = crossing;
            hitVelocity = Rebound(v, fFactor, a);
        }
    }

    if (v.z != 0) {
        int32_t nPlane = 0;
        bool bPlane = false;
        if (v.z < 0) {
            if (Has(ZONE_OUTSIDE | ZONE_TOP) && old.z >= m_vMax.z)
                nPlane = m_vMax.z, bPlane = true;
            else if (Has(ZONE_INSIDE | ZONE_BOTTOM) && old.z >= m_vMin.z)
                nPlane = m_vMin.z, bPlane = true;
        } else {
            if (Has(ZONE_OUTSIDE | ZONE_BOTTOM) && old.z <= m_vMin.z - 2 * r)
                nPlane = m_vMin.z - 2 * r, bPlane = true;
            else if (Has(ZONE_INSIDE | ZONE_TOP) && old.z <= m_vMax.z - 2 * r)
                nPlane = m_vMax.z - 2 * r, bPlane = true;
        }
        if (bPlane) {
            const float t = float(double(nPlane - old.z) / v.z);
            CVector crossing(old.x + TruncateToInt(v.x * double(t)), old.y + TruncateToInt(v.y * double(t)), nPlane);
            const bool bOnFace = crossing.x >= m_vMin.x - r && crossing.x <= m_vMax.x + r &&
                                 crossing.y >= m_vMin.y - r && crossing.y <= m_vMax.y + r;
            if (bOnFace && t <= query.fImpactTime) {
                query.fImpactTime = t;
                CVector velocity = Rebound(v, fFactor, 2);
                if (nPlane == m_vMax.z && m_vMax.z >= 1) {
                    // Landing on a roof: the ball rolls off away from the centre line.
                    query.pPosition->z = nPlane;
                    velocity.x += old.x < 5000 ? -200 : 200;
                } else {
                    *query.pPosition = crossing;
                }
                *query.pVelocity = velocity;
                return true;
            }
        }
    }

    if (nHitAxis < 0)
        return false;
    *query.pPosition = hitPoint;
    *query.pVelocity = hitVelocity;
    return true;
}

bool CMatchBoundingZone::IsSegmentBlocked(const CVector& from, const CVector& delta, int32_t nMargin,
                                          float* pfFraction) const
{
    bool bBlocked = false;
    float fBest = 1.0f;
    for (int a = 0; a < 2; ++a) {
        const int32_t d = Axis(delta, a);
        if (d == 0)
            continue;
        const int32_t nFrom = Axis(from, a), nMin = Axis(m_vMin, a), nMax = Axis(m_vMax, a);
        int32_t nPlane;
        if (d > 0) {
            if (Has(ZONE_OUTSIDE | kMinFace[a]) && nFrom <= nMin)
                nPlane = nMin - nMargin;
            else if (Has(ZONE_INSIDE | kMaxFace[a]) && nFrom <= nMax)
                nPlane = nMax - nMargin;
            else
                continue;
        } else {
            if (Has(ZONE_OUTSIDE | kMaxFace[a]) && nFrom >= nMax)
                nPlane = nMax + nMargin;
            else if (Has(ZONE_INSIDE | kMinFace[a]) && nFrom >= nMin)
                nPlane = nMin + nMargin;
            else
                continue;
        }
        const float t = float(double(nPlane - nFrom) / d);
        if (t > 1.0f)
            continue;
        const int b = 1 - a;
        const int32_t nOther = Axis(from, b) + TruncateToInt(Axis(delta, b) * double(t));
        if (nOther >= Axis(m_vMin, b) - nMargin && nOther <= Axis(m_vMax, b) + nMargin) {
            if (!bBlocked || t < fBest)
                fBest = t;
            bBlocked = true;
        }
    }
    if (bBlocked && pfFraction)
        *pfFraction = fBest;
    return bBlocked;
}

uint32_t CMatchBoundingZone::CornerValue(int nCorner, const CVector& target, bool bToEntrance) const
{
    if (!(m_byCornerMask & kCornerBit[nCorner]))
        return kMaskedCorner;
    if (bToEntrance)
        return m_adwCornerToEntrance[nCorner];
    return uint32_t(m_avCorners[nCorner].SquaredDistance2D(target));
}

bool CMatchBoundingZone::FindPathAround(const CMatchPerson*, const CVector& from, CVector& target) const
{
    const bool bFromInside = Contains(from);
    const bool bTargetInside = Contains(target);
    if (bFromInside && bTargetInside)
        return false;

    if (bFromInside) {
        if (!m_bHasEntrance) {
            DebugLog(6, "[CMatchBoundingZone::FindPathAround] Inside entrance-less zone");
            return true;
        }
        switch (m_byEntranceSide) {
        case ZONE_MIN_X: target.Set(m_vMin.x - kCornerMargin, from.y, from.z); break;
        case ZONE_MAX_X: target.Set(m_vMax.x + kCornerMargin, from.y, from.z); break;
        case ZONE_MIN_Y: target.Set(from.x, m_vMin.y - kCornerMargin, from.z); break;
        case ZONE_MAX_Y: target.Set(from.x, m_vMax.y + kCornerMargin, from.z); break;
        default: DebugLog(6, "[CMatchBoundingZone::FindPathAround] Undefined entrance"); break;
        }
        return true;
    }

    // The first side of the box that the straight way crosses.
    const double dx = double(target.x) - from.x, dy = double(target.y) - from.y;
    double fBest = 1.0;
    uint32_t dwSide = 0;
    const uint32_t aSides[4] = {ZONE_MIN_Y, ZONE_MAX_Y, ZONE_MIN_X, ZONE_MAX_X};
    for (uint32_t dwTry : aSides) {
        if (bTargetInside && !(m_dwFlags & dwTry))
            continue;
        const bool bYSide = dwTry == ZONE_MIN_Y || dwTry == ZONE_MAX_Y;
        const double d = bYSide ? dy : dx;
        if (d == 0.0)
            continue;
        const int32_t nLine = dwTry == ZONE_MIN_Y ? m_vMin.y : dwTry == ZONE_MAX_Y ? m_vMax.y
                            : dwTry == ZONE_MIN_X ? m_vMin.x : m_vMax.x;
        const double t = (nLine - (bYSide ? from.y : from.x)) / d;
        if (t <= 0.0 || t >= 1.0 || t >= fBest)
            continue;
        const double fAcross = bYSide ? from.x + dx * t : from.y + dy * t;
        const bool bWithin = bYSide ? fAcross > m_vMin.x && fAcross < m_vMax.x : fAcross > m_vMin.y && fAcross < m_vMax.y;
        if (bWithin) {
            fBest = t;
            dwSide = dwTry;
        }
    }
    if (dwSide == 0)
        return false;

    if (bTargetInside && m_bHasEntrance) {
        if (!IsSegmentBlocked(from, m_vEntrance - from, 50, nullptr)) {
            target = m_vEntrance;
            return true;
        }
        // A waypoint level with the entrance, when it can be reached straight.
        CVector waypoint;
        bool bWaypoint = false;
        if ((m_byEntranceSide == ZONE_MIN_Y && from.y < m_vEntrance.y) ||
            (m_byEntranceSide == ZONE_MAX_Y && from.y > m_vEntrance.y)) {
            waypoint.Set(m_vEntrance.x, from.y, 0);
            bWaypoint = true;
        } else if ((m_byEntranceSide == ZONE_MIN_X && from.x < m_vEntrance.x) ||
                   (m_byEntranceSide == ZONE_MAX_X && from.x > m_vEntrance.x)) {
            waypoint.Set(from.x, m_vEntrance.y, 0);
            bWaypoint = true;
        }
        if (bWaypoint && !IsSegmentBlocked(from, waypoint - from, 50, nullptr)) {
            target = waypoint;
            return true;
        }
    }

    const bool bToEntrance = bTargetInside && m_bHasEntrance;
    uint32_t adwValue[4];
    for (int i = 0; i < 4; ++i)
        adwValue[i] = CornerValue(i, target, bToEntrance);
    int nFirst, nSecond;
    switch (dwSide) {
    case ZONE_MIN_X: nFirst = 0, nSecond = 2; break;
    case ZONE_MAX_X: nFirst = 1, nSecond = 3; break;
    case ZONE_MIN_Y: nFirst = 0, nSecond = 1; break;
    default: nFirst = 2, nSecond = 3; break;
    }
    int nCorner = adwValue[nFirst] < adwValue[nSecond] ? nFirst : nSecond;
    if (m_avCorners[nCorner].SquaredDistance2D(from) < 22500) {
        // Standing at that corner already: on to the next one along the outline.
        const int aNext[4][2] = {{2, 1}, {0, 3}, {3, 0}, {1, 2}};
        const int nA = aNext[nCorner][0], nB = aNext[nCorner][1];
        nCorner = adwValue[nB] < adwValue[nA] ? nB : nA;
    }
    target = m_avCorners[nCorner];
    return true;
}

bool CMatchBoundingZone::PushPointOut(CVector& point, int32_t nMargin) const
{
    bool bMovedX = false;
    if ((m_dwFlags & ZONE_INSIDE) && point.x >= m_nLeft && point.x <= m_nRight && point.y >= m_nTop &&
        point.y <= m_nBottom) {
        if ((m_dwFlags & ZONE_MIN_X) && point.x - m_nLeft < nMargin)
            point.x = m_nLeft + nMargin, bMovedX = true;
        else if ((m_dwFlags & ZONE_MAX_X) && m_nRight - point.x < nMargin)
            point.x = m_nRight - nMargin, bMovedX = true;
        if ((m_dwFlags & ZONE_MIN_Y) && point.y - m_nTop < nMargin) {
            point.y = m_nTop + nMargin;
            return true;
        }
        if ((m_dwFlags & ZONE_MAX_Y) && m_nBottom - point.y < nMargin) {
            point.y = m_nBottom - nMargin;
            return true;
        }
        return bMovedX;
    }
    if ((m_dwFlags & ZONE_OUTSIDE) && point.x >= m_nLeft - nMargin && point.x <= m_nRight + nMargin &&
        point.y >= m_nTop - nMargin && point.y <= m_nBottom + nMargin) {
        if ((m_dwFlags & ZONE_MIN_X) && point.x < m_nLeft)
            point.x = m_nLeft - nMargin, bMovedX = true;
        else if ((m_dwFlags & ZONE_MAX_X) && point.x > m_nRight)
            point.x = m_nRight + nMargin, bMovedX = true;
        if ((m_dwFlags & ZONE_MIN_Y) && point.y < m_nTop) {
            point.y = m_nTop - nMargin;
            return true;
        }
        if ((m_dwFlags & ZONE_MAX_Y) && point.y > m_nBottom) {
            point.y = m_nBottom + nMargin;
            return true;
        }
        return bMovedX;
    }
    return false;
}
