#include "screens/CPitchTacticsBoard.h"

#include "common/DebugLog.h"

#include <algorithm>
#include <cmath>

namespace {

// Areas as percentages of the pitch: from and to along it, from and to
// across it. The edges are worked out with single-precision factors, so a
// whole-number edge lands one pixel short, which is where the areas meet.
constexpr float kRolePercent[CPitchTacticsBoard::kRoleAreas][4] = {
    {0.0f, 8.3f, 33.3f, 66.6f},     {8.3f, 16.6f, 33.3f, 66.6f},   {0.0f, 33.3f, 0.0f, 33.3f},
    {16.6f, 33.3f, 33.3f, 66.6f},   {0.0f, 33.3f, 66.6f, 100.0f},  {33.3f, 41.6f, 0.0f, 33.3f},
    {33.3f, 41.6f, 66.6f, 100.0f},  {33.3f, 41.6f, 33.3f, 66.6f},  {41.6f, 58.2f, 0.0f, 33.3f},
    {41.6f, 58.2f, 33.3f, 66.6f},   {41.6f, 58.2f, 66.6f, 100.0f}, {58.2f, 66.6f, 33.3f, 66.6f},
    {58.2f, 100.0f, 0.0f, 33.3f},   {58.2f, 100.0f, 66.6f, 100.0f}, {66.6f, 80.0f, 33.3f, 66.6f},
    {80.0f, 100.0f, 33.3f, 66.6f},
};

constexpr float kFreeKickPercent[CPitchTacticsBoard::kFreeKickAreas][4] = {
    {0, 20, 0, 20},       {0, 20, 20, 40},      {0, 20, 40, 60},      {0, 20, 60, 80},      {0, 20, 80, 100},
    {20, 40, 0, 20},      {20, 40, 20, 40},     {20, 40, 40, 60},     {20, 40, 60, 80},     {20, 40, 80, 100},
    {40, 60, 0, 20},      {40, 60, 20, 40},     {40, 60, 40, 60},     {40, 60, 60, 80},     {40, 60, 80, 100},
    {60, 75, 0, 33.3f},   {60, 75, 33.3f, 66.6f}, {60, 75, 66.6f, 100}, {75, 100, 0, 10},   {75, 85, 10, 20},
    {75, 85, 20, 40},     {75, 85, 40, 60},     {75, 85, 60, 80},     {75, 85, 80, 90},     {75, 100, 90, 100},
    {85, 92.5f, 10, 20},  {92.5f, 100, 10, 20}, {85, 92.5f, 80, 90},  {92.5f, 100, 80, 90},
};

int Edge(float fPercent, int nOrigin, int nLength)
{
    return nOrigin + static_cast<int>(static_cast<double>(fPercent) * static_cast<double>(0.01f) * nLength);
}

plat::Rect AreaRect(const float* p)
{
    using B = CPitchTacticsBoard;
    const int nLength = B::kPitchRight - B::kPitchLeft, nWidth = B::kPitchBottom - B::kPitchTop;
    return plat::Rect{Edge(p[0], B::kPitchLeft, nLength), Edge(p[2], B::kPitchTop, nWidth),
                      Edge(p[1], B::kPitchLeft, nLength), Edge(p[3], B::kPitchTop, nWidth)};
}

bool InRect(const plat::Rect& rc, int x, int y)
{
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

BOARDPOINT Point(int x, int y)
{
    return BOARDPOINT{static_cast<int16_t>(x), static_cast<int16_t>(y)};
}

// The four zones round the ball and their weights, as the own team reads them.
struct ZONEWEIGHTS {
    int anZone[4];
    float afWeight[4];
};

bool WeighBall(int bx, int by, ZONEWEIGHTS& own, ZONEWEIGHTS& opposition)
{
    using B = CPitchTacticsBoard;
    if (bx < B::kPitchLeft || bx > B::kPitchRight || by < B::kPitchTop || by > B::kPitchBottom)
        return false;
    const int u = std::clamp(bx - B::kPitchLeft - B::kZoneWidth / 2, 0, 319);
    const int v = std::clamp(by - B::kPitchTop - B::kZoneHeight / 2, 0, 239);
    const int nColumn = u / B::kZoneWidth, nRow = v / B::kZoneHeight;
    const float fx = static_cast<float>(u % B::kZoneWidth) * (1.0f / 79.0f);
    const float fy = static_cast<float>(v % B::kZoneHeight) * (1.0f / 59.0f);
    const float wBase = (1 - fy) * (1 - fx), wRight = (1 - fy) * fx, wBelow = fy * (1 - fx), wBelowRight = fy * fx;
    const int nCell = nColumn + 5 * nRow;
    own = ZONEWEIGHTS{{nCell, nCell + 1, nCell + 5, nCell + 6}, {wBase, wRight, wBelow, wBelowRight}};
    // The opposition counts its columns from the other goal.
    const int nMirror = 5 * nRow + 3 - nColumn;
    opposition = ZONEWEIGHTS{{nMirror, nMirror + 1, nMirror + 5, nMirror + 6}, {wRight, wBase, wBelowRight, wBelow}};
    return true;
}

BOARDPOINT Interpolate(const BOARDPOINT (&table)[CPitchTacticsBoard::kEntries][CPitchTacticsBoard::kSets]
                                              [CPitchTacticsBoard::kPlayers],
                       const ZONEWEIGHTS& w, int nSet, int nPlayer)
{
    const BOARDPOINT& base = table[w.anZone[0]][nSet][nPlayer];
    int x = base.x, y = base.y;
    for (int k = 1; k < 4; ++k) {
        const BOARDPOINT& p = table[w.anZone[k]][nSet][nPlayer];
        x += static_cast<int>(w.afWeight[k] * static_cast<float>(p.x - base.x));
        y += static_cast<int>(w.afWeight[k] * static_cast<float>(p.y - base.y));
    }
    return Point(x, y);
}

// The board's sets against the file's: the first stored set is the one the
// match plays with the ball, the attacking set.
const int32_t (&StoredSet(const POSITIONBLOCK& block, int nSet))[FORMATION_ZONES][2]
{
    return nSet == CPitchTacticsBoard::SET_ATTACKING ? block.anFirst : block.anSecond;
}
int32_t (&StoredSet(POSITIONBLOCK& block, int nSet))[FORMATION_ZONES][2]
{
    return nSet == CPitchTacticsBoard::SET_ATTACKING ? block.anFirst : block.anSecond;
}

}  // namespace

// ---- geometry ----

plat::Rect CPitchTacticsBoard::GetRoleArea(int nRole)
{
    return nRole >= 0 && nRole < kRoleAreas ? AreaRect(kRolePercent[nRole]) : plat::Rect{};
}

plat::Rect CPitchTacticsBoard::GetFreeKickAreaRect(int nArea)
{
    return nArea >= 0 && nArea < kFreeKickAreas ? AreaRect(kFreeKickPercent[nArea]) : plat::Rect{};
}

int CPitchTacticsBoard::GetRoleFromPitchPosition(int x, int y)
{
    for (int nRole = 0; nRole < kRoleAreas; ++nRole)
        if (InRect(GetRoleArea(nRole), x, y))
            return nRole;
    DebugLog(0, "[CClientPitchTactics::GetRoleFromPitchPosition] : Unable to find a valid role, returning GK!");
    return 0;
}

int CPitchTacticsBoard::GetFreeKickArea(int x, int y)
{
    for (int nArea = 0; nArea < kFreeKickAreas; ++nArea)
        if (InRect(GetFreeKickAreaRect(nArea), x, y))
            return nArea;
    return -1;
}

BOARDPOINT CPitchTacticsBoard::GetCornerPoint(int nSet, int nSide)
{
    return Point(nSet == SET_ATTACKING ? kPitchRight : kPitchLeft, nSide == 1 ? kPitchBottom : kPitchTop);
}

bool CPitchTacticsBoard::IsCornerSpotHit(int nSet, int nSide, int x, int y)
{
    const BOARDPOINT spot = GetCornerPoint(nSet, nSide);
    return std::abs(x - spot.x) <= kCornerReach && std::abs(y - spot.y) <= kCornerReach;
}

int CPitchTacticsBoard::GetCornerSpot(int nSet, int x, int y)
{
    for (int nSide = 0; nSide < 2; ++nSide)
        if (IsCornerSpotHit(nSet, nSide, x, y))
            return nSide;
    return 0;
}

BOARDPOINT CPitchTacticsBoard::GetPenaltySpot(int nSet)
{
    return nSet == SET_ATTACKING ? Point(458, 150) : Point(130, 144);
}

bool CPitchTacticsBoard::IsOnPitch(int x, int y)
{
    return x >= kPitchLeft && x <= kPitchRight && y >= kPitchTop && y <= kPitchBottom;
}

bool CPitchTacticsBoard::IsMarkerHit(const BOARDPOINT& marker, int x, int y)
{
    return std::abs(x - marker.x) <= kMarkerReach && std::abs(y - marker.y) <= kMarkerReach;
}

int CPitchTacticsBoard::GetZoneAt(int x, int y)
{
    if (x < kPitchLeft || x >= kPitchRight || y < kPitchTop || y >= kPitchBottom)
        return -1;
    return (x - kPitchLeft) / kZoneWidth + 5 * ((y - kPitchTop) / kZoneHeight);
}

BOARDPOINT CPitchTacticsBoard::GetZoneCentre(int nZone)
{
    const int nColumn = nZone % 5, nRow = nZone / 5;
    return Point(kPitchLeft + kZoneWidth * nColumn + kZoneWidth / 2, kPitchTop + kZoneHeight * nRow + kZoneHeight / 2);
}

int CPitchTacticsBoard::MirrorZone(int nZone)
{
    return nZone >= 0 && nZone < kZones ? nZone / 5 * 5 + 4 - nZone % 5 : nZone;
}

BOARDPOINT CPitchTacticsBoard::ClampMarker(int nPlayer, BOARDPOINT point, int nEntry, int nSet)
{
    if (nPlayer == 0)
        return point;
    int x = point.x, y = point.y;
    if (nPlayer >= kPlayers)
        return Point(std::clamp(x, 100, 491), std::clamp(y, 313, 327));
    y = std::clamp(y, 13, 295);
    if (nEntry == ENTRY_KICK_OFF) {
        x = std::clamp(x, 100, 291);
        // At the kick-off the defending side keeps out of the centre circle.
        const int d = std::abs(y - 154);
        if (nSet == SET_DEFENDING && d < 40)
            x = std::min(x, 300 - static_cast<int>(std::sqrt(static_cast<double>(1600 - d * d))));
    } else if (nEntry == ENTRY_GOAL_KICK || nEntry == ENTRY_PENALTY) {
        // Nobody but the keeper and the taker inside the penalty area.
        int nLeft = 100, nRight = 491;
        if (y >= 62 && y <= 234) {
            if (nSet == SET_DEFENDING)
                nLeft = 172;
            else
                nRight = 419;
        }
        x = std::clamp(x, nLeft, nRight);
    } else {
        x = std::clamp(x, 100, 491);
    }
    return Point(x, y);
}

// ---- placing ----

bool CPitchTacticsBoard::PlaceForBall(int bx, int by, int nOwnSet, int nOppositionSet, BOARDPOINT* pOwn,
                                      BOARDPOINT* pOpposition) const
{
    ZONEWEIGHTS own{}, opposition{};
    if (!WeighBall(bx, by, own, opposition))
        return false;
    const int nOwnSet01 = nOwnSet ? 1 : 0, nOppositionSet01 = nOppositionSet ? 1 : 0;
    for (int i = 0; i < kPlayers; ++i) {
        if (pOwn)
            pOwn[i] = Interpolate(m_aZone, own, nOwnSet01, i);
        if (pOpposition)
            pOpposition[i] = Interpolate(m_aOpposition, opposition, nOppositionSet01, i);
    }
    return true;
}

// ---- the formation ----

void CPitchTacticsBoard::LoadFromFormation(const CSaveGame& human)
{
    for (int i = 0; i < kPlayers; ++i) {
        const FORMATIONENTRY& entry = human.GetWorkingEntry(i);
        const POSITIONBLOCK& block = human.GetWorkingBlock(i);
        m_aBase[i] = Point(entry.wX, entry.wY);
        for (int nSet = 0; nSet < kSets; ++nSet)
            for (int e = 0; e < kEntries; ++e) {
                const int32_t* p = StoredSet(block, nSet)[e];
                m_aZone[e][nSet][i] = Point(p[0] + kPitchLeft, p[1] + kPitchTop);
            }
        m_anRange[i] = static_cast<int16_t>(std::clamp<int32_t>(block.nValue, kRangeMin, kRangeMax));
        // A target outside the eleven means nobody.
        m_abyMarking[i] = block.nExtra >= 0 && block.nExtra < kPlayers ? static_cast<uint8_t>(block.nExtra) : kNoMarking;
    }
}

FORMATIONDATA CPitchTacticsBoard::StoreToFormation(const CSaveGame& human) const
{
    FORMATIONDATA data;
    for (int i = 0; i < kPlayers; ++i) {
        FORMATIONENTRY& entry = data.aEntries[i];
        entry = human.GetWorkingEntry(i);
        const int x = std::clamp<int>(m_aBase[i].x, kPitchLeft, kPitchRight);
        const int y = std::clamp<int>(m_aBase[i].y, kPitchTop, kPitchBottom);
        entry.wX = static_cast<uint16_t>(x);
        entry.wY = static_cast<uint16_t>(y);
        entry.byOrder = static_cast<uint8_t>(GetRoleFromPitchPosition(x, y));
        POSITIONBLOCK& block = data.aBlocks[i];
        for (int nSet = 0; nSet < kSets; ++nSet)
            for (int e = 0; e < kEntries; ++e) {
                BOARDPOINT p = ClampMarker(i, m_aZone[e][nSet][i], e, nSet);
                // The keeper is free to stand anywhere, but on the pitch:
                // the game refuses a formation file with a place off it.
                p = Point(std::clamp<int>(p.x, kPitchLeft, kPitchRight), std::clamp<int>(p.y, kPitchTop, kPitchBottom));
                StoredSet(block, nSet)[e][0] = p.x - kPitchLeft;
                StoredSet(block, nSet)[e][1] = p.y - kPitchTop;
            }
        block.nValue = std::clamp<int>(m_anRange[i], kRangeMin, kRangeMax);
        block.nExtra = m_abyMarking[i] < kPlayers ? m_abyMarking[i] : -1;
    }
    return data;
}

bool CPitchTacticsBoard::LoadOpposition(const std::string& path)
{
    FORMATIONDATA data;
    if (!CSaveGame::ReadFormationFile(path, data)) {
        DebugLog(0, "[CClientPitchTactics::LoadOpposition] Cannot read %s", path.c_str());
        return false;
    }
    for (int i = 0; i < kPlayers; ++i)
        for (int nSet = 0; nSet < kSets; ++nSet)
            for (int e = 0; e < kEntries; ++e) {
                const int32_t* p = StoredSet(data.aBlocks[i], nSet)[e];
                m_aOpposition[e][nSet][i] = Point(kPitchRight - p[0], p[1] + kPitchTop);
            }
    m_bOpposition = true;
    return true;
}

void CPitchTacticsBoard::ResetZonesToBase()
{
    for (auto& entry : m_aZone)
        for (auto& set : entry)
            std::copy(std::begin(m_aBase), std::end(m_aBase), set);
}

void CPitchTacticsBoard::GetRoles(uint8_t* pbyRoles) const
{
    for (int i = 0; i < kPlayers; ++i)
        pbyRoles[i] = static_cast<uint8_t>(GetRoleFromPitchPosition(m_aBase[i].x, m_aBase[i].y));
}

// ---- set pieces ----

void CPitchTacticsBoard::LoadSetPiece(const SETPIECEROUTINE& routine, const BOARDPOINT& spot, int nSet)
{
    if (routine.bHasPoints) {
        for (int i = 0; i < kPlayers; ++i)
            m_aSetPiece[i] = Point(routine.awPoints[i][0], routine.awPoints[i][1]);
        return;
    }
    if (!PlaceForBall(spot.x, spot.y, nSet, 0, m_aSetPiece, nullptr))
        std::copy(std::begin(m_aBase), std::end(m_aBase), m_aSetPiece);
}

void CPitchTacticsBoard::StoreSetPiece(SETPIECEROUTINE& routine, const BOARDPOINT& spot, int nSet) const
{
    if (!routine.bHasPoints) {
        BOARDPOINT aLayout[kPlayers];
        if (!PlaceForBall(spot.x, spot.y, nSet, 0, aLayout, nullptr))
            std::copy(std::begin(m_aBase), std::end(m_aBase), aLayout);
        if (std::equal(std::begin(aLayout), std::end(aLayout), std::begin(m_aSetPiece)))
            return;
    }
    routine.bHasPoints = true;
    for (int i = 0; i < kPlayers; ++i) {
        routine.awPoints[i][0] = static_cast<uint16_t>(m_aSetPiece[i].x);
        routine.awPoints[i][1] = static_cast<uint16_t>(m_aSetPiece[i].y);
    }
}

// ---- substitutions ----

BOARDPOINT CPitchTacticsBoard::GetBenchPoint(int nSubstitute)
{
    return Point(kPitchLeft + 18 + 28 * nSubstitute, 313);
}

void CPitchTacticsBoard::ResetGrid()
{
    for (int nSide = 0; nSide < 2; ++nSide)
        for (int k = 0; k < kSubstitutes; ++k) {
            m_aBench[nSide][k] = GetBenchPoint(k);
            m_aGrid[nSide][k] = SUBSTITUTIONCELL{};
        }
}
