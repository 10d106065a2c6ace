#pragma once
// An axis-aligned obstacle box on or beside the pitch (a dugout, the tunnel, a
// goal post, a crossbar, a goal net) that the ball bounces off and that people
// walk round. Its flags say which faces are walls and whether they stop things
// from outside, from inside or both; it knows four detour corners 120 cm
// outside it and, when one side is open, an entrance in the middle of that side.
#include "match/CVector.h"

#include <cstdint>

class CMatchPerson;

// The ball's movement of one tick, as the collision tests see it.
struct BALLCOLLISIONQUERY {
    const CVector* pStart = nullptr;  // position at the start of the tick
    CVector* pPosition = nullptr;     // position at its end; moved to a hit
    CVector* pVelocity = nullptr;     // turned by a hit
    int32_t nRadius = 13;
    float fFactor = 1.0f;
    float fImpactTime = 0.0f;         // seconds from the tick's start; lowered by each earlier hit
    const CMatchPerson* pMover = nullptr;
    bool bTestPersons = false;
};

enum ZONEFLAGS : uint32_t {
    ZONE_OUTSIDE = 1,    // walls stop from outside
    ZONE_INSIDE = 2,     // walls stop from inside
    ZONE_MIN_X = 4,
    ZONE_MAX_X = 8,
    ZONE_MIN_Y = 16,
    ZONE_MAX_Y = 32,
    ZONE_BOTTOM = 64,
    ZONE_TOP = 128
};

class CMatchBoundingZone {
public:
    static constexpr int32_t kCornerMargin = 120;

    // The face meshes of the drawn zones belong to the scene objects that are
    // not built yet; every zone of a match is built without them.
    void Create(const CVector& centre, const CVector& halfSize, float fFactor, uint32_t dwFlags, uint8_t byCornerMask);

    bool TestBallCollision(BALLCOLLISIONQUERY& query) const;
    bool IsSegmentBlocked(const CVector& from, const CVector& delta, int32_t nMargin, float* pfFraction) const;
    bool FindPathAround(const CMatchPerson* pPerson, const CVector& from, CVector& target) const;
    bool PushPointOut(CVector& point, int32_t nMargin) const;
    bool IsAboveMin(const CVector& point) const;
    bool IsBelowMax(const CVector& point) const;
    bool Contains(const CVector& point) const { return IsAboveMin(point) && IsBelowMax(point); }

    const CVector& GetMin() const { return m_vMin; }
    const CVector& GetMax() const { return m_vMax; }
    const CVector& GetCorner(int n) const { return m_avCorners[n & 3]; }
    bool HasEntrance() const { return m_bHasEntrance; }
    const CVector& GetEntrance() const { return m_vEntrance; }
    uint8_t GetEntranceSide() const { return m_byEntranceSide; }

private:
    bool Has(uint32_t dwBits) const { return (m_dwFlags & dwBits) == dwBits; }
    uint32_t CornerValue(int nCorner, const CVector& target, bool bToEntrance) const;

    CVector m_vMax, m_vMin;
    int32_t m_nLeft = 0, m_nTop = 0, m_nRight = 0, m_nBottom = 0;
    float m_fFactor = 1.0f;
    uint32_t m_dwFlags = 0;
    CVector m_avCorners[4];
    uint8_t m_byCornerMask = 0;
    CVector m_vEntrance;
    uint8_t m_byEntranceSide = 0;
    uint32_t m_adwCornerToEntrance[4] = {};
    bool m_bHasEntrance = false;
};
