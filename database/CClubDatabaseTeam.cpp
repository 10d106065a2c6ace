// A club picks its team for a match: the eleven of its standard formation,
// then the substitutes, then whoever is left for places nobody could fill.
#include "database/CClubDatabase.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/MatchRecords.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kStandardFormations = 6;
constexpr int kSubstitutePlaces = 7;
// "4-4-2", "4-2-4", "5-3-2", "4-3-3", "3-5-2", "3-4-3": roles 0 goalkeeper,
// 1-6 defence, 7-11 midfield, 12-15 attack.
const uint8_t kFormations[kStandardFormations][11] = {
    {0, 1, 2, 3, 4, 7, 8, 9, 10, 12, 13},
    {0, 1, 2, 3, 4, 8, 9, 12, 13, 14, 15},
    {0, 1, 2, 3, 4, 5, 7, 8, 9, 12, 13},
    {0, 1, 2, 3, 4, 7, 8, 9, 12, 13, 14},
    {0, 1, 2, 3, 7, 8, 9, 10, 11, 12, 13},
    {0, 1, 2, 3, 7, 8, 9, 10, 12, 13, 14},
};
const uint8_t kSubstituteRoles[kSubstitutePlaces] = {0, 3, 9, 9, 14, 9, 14};

constexpr uint32_t kSelected = 0x01;
// Flag bits that keep a player out of the side (the selection mark and a
// lapsed work permit).
constexpr uint32_t kUnavailableFlags = 0x01 | PLAYER_FLAG_WORK_PERMIT_SETTLED;

#if defined(__SSE2__)
// Eight roles side by side: their positions, their bits in a role mask and
// the roles themselves.
struct RoleLanes {
    __m128i positions;
    __m128i bits;
    __m128i roles;
};
const std::array<RoleLanes, 2> kRoleLanes = [] {
    std::array<RoleLanes, 2> lanes{};
    for (int nHalf = 0; nHalf < 2; ++nHalf) {
        alignas(16) int16_t anPositions[8], anBits[8], anRoles[8];
        for (int i = 0; i < 8; ++i) {
            const int nRole = 8 * nHalf + i;
            anPositions[i] = static_cast<int16_t>(CPersonDatabase::GetPositionOfRole(nRole));
            anBits[i] = static_cast<int16_t>(1u << nRole);
            anRoles[i] = static_cast<int16_t>(nRole);
        }
        lanes[nHalf].positions = _mm_load_si128(reinterpret_cast<const __m128i*>(anPositions));
        lanes[nHalf].bits = _mm_load_si128(reinterpret_cast<const __m128i*>(anBits));
        lanes[nHalf].roles = _mm_load_si128(reinterpret_cast<const __m128i*>(anRoles));
    }
    return lanes;
}();
#endif

// The score of a player who may not be picked (picked already, or not fit
// to play): below every score a player's rating and bonuses can give.
constexpr int16_t kNoScore = INT16_MIN;

// The first of the best scores of a column of scores (a whole number of
// groups of eight) among the rows still open (pnOpen: INT16_MAX, or kNoScore
// for a row taken, which brings any score down to kNoScore); -1 when none is
// left.
int FirstBest(const int16_t* pnScores, const int16_t* pnOpen, size_t nCount)
{
#if defined(__SSE2__)
    const auto load = [&](size_t i) {
        return _mm_min_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pnScores + i)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(pnOpen + i)));
    };
    __m128i best = _mm_set1_epi16(kNoScore);
    for (size_t i = 0; i < nCount; i += 8)
        best = _mm_max_epi16(best, load(i));
    best = _mm_max_epi16(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(1, 0, 3, 2)));
    best = _mm_max_epi16(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(2, 3, 0, 1)));
    best = _mm_max_epi16(best, _mm_srli_epi32(best, 16));
    const int nBest = static_cast<int16_t>(_mm_cvtsi128_si32(best));
    if (nBest == kNoScore)
        return -1;
    best = _mm_set1_epi16(static_cast<int16_t>(nBest));
    for (size_t i = 0;; i += 8) {
        const int nMask = _mm_movemask_epi8(_mm_cmpeq_epi16(load(i), best));
        if (nMask)
            return static_cast<int>(i) + __builtin_ctz(static_cast<unsigned>(nMask)) / 2;
    }
#else
    int nPick = -1;
    for (size_t i = 0; i < nCount; ++i)
        if (pnScores[i] != kNoScore && pnOpen[i] != kNoScore && (nPick < 0 || pnScores[i] > pnScores[nPick]))
            nPick = static_cast<int>(i);
    return nPick;
#endif
}

// The scores of eight rows of eight roles each (a row of pnRows every
// nRowLength), written as the eight roles' columns of eight rows (a column of
// pnColumns every nColumnLength).
void TransposeEight(const int16_t* pnRows, size_t nRowLength, int16_t* pnColumns, size_t nColumnLength)
{
#if defined(__SSE2__)
    __m128i a[8];
    for (size_t i = 0; i < 8; ++i)
        a[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pnRows + i * nRowLength));
    __m128i b[8];
    for (size_t i = 0; i < 8; i += 2) {
        b[i] = _mm_unpacklo_epi16(a[i], a[i + 1]);
        b[i + 1] = _mm_unpackhi_epi16(a[i], a[i + 1]);
    }
    // Pairs of roles of four rows, then single roles of eight.
    const __m128i c[8] = {_mm_unpacklo_epi32(b[0], b[2]), _mm_unpackhi_epi32(b[0], b[2]),
                          _mm_unpacklo_epi32(b[1], b[3]), _mm_unpackhi_epi32(b[1], b[3]),
                          _mm_unpacklo_epi32(b[4], b[6]), _mm_unpackhi_epi32(b[4], b[6]),
                          _mm_unpacklo_epi32(b[5], b[7]), _mm_unpackhi_epi32(b[5], b[7])};
    for (size_t i = 0; i < 4; ++i) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pnColumns + 2 * i * nColumnLength),
                         _mm_unpacklo_epi64(c[i], c[i + 4]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pnColumns + (2 * i + 1) * nColumnLength),
                         _mm_unpackhi_epi64(c[i], c[i + 4]));
    }
#else
    for (size_t nRow = 0; nRow < 8; ++nRow)
        for (size_t nRole = 0; nRole < 8; ++nRole)
            pnColumns[nRole * nColumnLength + nRow] = pnRows[nRow * nRowLength + nRole];
#endif
}

// Fit to play but for a ban for the match, which the caller checks apart
// (a side's build needs the ban on its own too).
bool IsAvailableUnlessBanned(const CPlayerDatabase* pPlayer)
{
    if (pPlayer->m_dwFlags & kUnavailableFlags)
        return false;
    if (pPlayer->IsInjured() && CPlayerDatabase::GetInjuryStatus(pPlayer->m_byInjuryType) != 1)
        return false;
    // A player lent to another club plays there.
    return pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN;
}

// A squad's players as one side is built: each is checked for fitness and
// bans once and scored once for every role, the scores of a role side by
// side, so that the pick for a place is a search of one short column.
class SquadRatings {
public:
    // Players cup-tied for the cup of the match are left out altogether.
    SquadRatings(const CXList& lstPlayers, int nMatchKind, const CUP* pCup = nullptr) : m_nMatchKind(nMatchKind)
    {
        // The tables are a few kilobytes: taken from the last build's instead
        // of asked of the heap for every side (a request that size makes the
        // allocator tidy its free lists first, dearer as the heap ages).
        m_rows.swap(SpareRows());
        m_rows.clear();
        m_anScores.swap(SpareScores());
        m_anOpen.swap(SpareOpen());
        lstPlayers.PrefetchItems(sizeof(CPlayerDatabase));
        m_rows.reserve(static_cast<size_t>(lstPlayers.GetCount()));
        for (CPlayerDatabase* pPlayer : lstPlayers.Items<CPlayerDatabase>())
            if (!pPlayer->IsCupTied(pCup)) {
                const bool bSuspended = pPlayer->IsSuspended(nMatchKind);
                m_rows.push_back({pPlayer, IsAvailableUnlessBanned(pPlayer) && !bSuspended,
                                  (pPlayer->m_dwFlags & kSelected) != 0, bSuspended});
            }
        m_nStride = (m_rows.size() + 7) / 8 * 8;
        // Each fit player's scores as a row, then the rows turned into the
        // roles' columns eight by eight.
        std::vector<int16_t>& anRows = SpareRowScores();
        anRows.assign(m_nStride * PLAYER_ROLE_COUNT, kNoScore);
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].bAvailable && !m_rows[i].bSelected)
                ScoreFit(m_rows[i], &anRows[i * PLAYER_ROLE_COUNT]);
        m_anScores.resize(PLAYER_ROLE_COUNT * m_nStride);
        for (size_t nRow = 0; nRow < m_nStride; nRow += 8)
            for (size_t nRole = 0; nRole < PLAYER_ROLE_COUNT; nRole += 8)
                TransposeEight(&anRows[nRow * PLAYER_ROLE_COUNT + nRole], PLAYER_ROLE_COUNT,
                               &m_anScores[nRole * m_nStride + nRow], m_nStride);
        m_anOpen.assign(m_nStride, INT16_MAX);
    }

    // The best player not yet selected for a role: among those fit to play,
    // or, for a place nobody fit could fill, among all of them. The first of
    // equals wins; null when nobody is left. With bSelect the one picked is
    // marked selected (kept in the table too, so that the search reads no
    // player's record).
    CPlayerDatabase* Pick(int nRole, bool bAllowUnfit, bool bSelect = false)
    {
        int nPick = -1;
        if (nRole >= 0 && nRole < PLAYER_ROLE_COUNT && !bAllowUnfit) {
            // An empty squad has no columns to search.
            if (m_nStride > 0)
                nPick = FirstBest(&m_anScores[static_cast<size_t>(nRole) * m_nStride], m_anOpen.data(), m_nStride);
        } else {
            // Rare: a place nobody fit could fill, or a place of no role.
            const bool bRole = nRole >= 0 && nRole < PLAYER_ROLE_COUNT;
            int nBest = 0;
            for (size_t i = 0; i < m_rows.size(); ++i) {
                const Row& row = m_rows[i];
                if (row.bSelected || !(bAllowUnfit || row.bAvailable))
                    continue;
                const CPlayerDatabase& player = *row.pPlayer;
                const int nScore =
                    bRole ? player.GetMatchSelectionScoreWithBan(nRole, true, player.GetRoleRatings()[nRole],
                                                                 row.bSuspended)
                          : player.GetMatchSelectionScore(nRole, m_nMatchKind, bAllowUnfit);
                if (nPick < 0 || nScore > nBest) {
                    nPick = static_cast<int>(i);
                    nBest = nScore;
                }
            }
        }
        if (nPick < 0)
            return nullptr;
        Row& row = m_rows[static_cast<size_t>(nPick)];
        if (bSelect) {
            row.bSelected = true;
            row.pPlayer->m_dwFlags |= kSelected;
            m_anOpen[static_cast<size_t>(nPick)] = kNoScore;
        }
        return row.pPlayer;
    }

    ~SquadRatings()
    {
        if (SpareRows().capacity() < m_rows.capacity())
            m_rows.swap(SpareRows());
        if (SpareScores().capacity() < m_anScores.capacity())
            m_anScores.swap(SpareScores());
        if (SpareOpen().capacity() < m_anOpen.capacity())
            m_anOpen.swap(SpareOpen());
    }
    SquadRatings(const SquadRatings&) = delete;
    SquadRatings& operator=(const SquadRatings&) = delete;

private:
    struct Row {
        CPlayerDatabase* pPlayer;
        bool bAvailable;
        bool bSelected;
        bool bSuspended;  // for the match: the same whatever the role
    };

    // A fit player's score for every role, as GetMatchSelectionScoreWithBan
    // gives it (a fit player is not banned).
    static void ScoreFit(const Row& row, int16_t anScores[PLAYER_ROLE_COUNT])
    {
        const CPlayerDatabase& player = *row.pPlayer;
        const int16_t* pnRatings = player.GetRoleRatings();
#if defined(__SSE2__)
        const __m128i position = _mm_set1_epi16(player.m_byPosition);
        const __m128i injured = _mm_set1_epi16(player.IsInjured() ? -1 : 0);
        const __m128i roleMask = _mm_set1_epi16(static_cast<int16_t>(player.m_wRoleMask));
        const __m128i primary = _mm_set1_epi16(player.m_byRole);
        for (int nHalf = 0; nHalf < 2; ++nHalf) {
            const RoleLanes& lanes = kRoleLanes[nHalf];
            __m128i score = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pnRatings + 8 * nHalf));
            score = _mm_add_epi16(
                score, _mm_and_si128(_mm_cmpeq_epi16(_mm_load_si128(&lanes.positions), position), _mm_set1_epi16(20)));
            const __m128i bits = _mm_load_si128(&lanes.bits);
            __m128i bonus = _mm_and_si128(_mm_cmpeq_epi16(_mm_and_si128(roleMask, bits), bits), _mm_set1_epi16(40));
            bonus = _mm_add_epi16(
                bonus, _mm_and_si128(_mm_cmpeq_epi16(_mm_load_si128(&lanes.roles), primary), _mm_set1_epi16(50)));
            // Injured: 1000 off, and no bonus for his roles.
            bonus = _mm_or_si128(_mm_and_si128(injured, _mm_set1_epi16(-1000)), _mm_andnot_si128(injured, bonus));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(anScores + 8 * nHalf), _mm_add_epi16(score, bonus));
        }
#else
        for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole)
            anScores[nRole] = static_cast<int16_t>(player.GetMatchSelectionScoreWithBan(
                nRole, false, pnRatings[nRole], row.bSuspended));
#endif
    }

    static std::vector<Row>& SpareRows()
    {
        thread_local std::vector<Row> s_spare;
        return s_spare;
    }
    static std::vector<int16_t>& SpareScores()
    {
        thread_local std::vector<int16_t> s_spare;
        return s_spare;
    }
    static std::vector<int16_t>& SpareOpen()
    {
        thread_local std::vector<int16_t> s_spare;
        return s_spare;
    }
    // Scratch for the scores by player before they are turned into columns.
    static std::vector<int16_t>& SpareRowScores()
    {
        thread_local std::vector<int16_t> s_scratch;
        return s_scratch;
    }

    int m_nMatchKind;
    std::vector<Row> m_rows;
    // The scores by role: the column of a role holds one score for each row,
    // then kNoScore up to a whole group of eight; and for each row INT16_MAX
    // while it is open, kNoScore once it is taken.
    size_t m_nStride = 0;
    std::vector<int16_t> m_anScores;
    std::vector<int16_t> m_anOpen;
};

}  // namespace

const uint8_t* CClubDatabase::GetStandardFormation(int nIndex)
{
    if (nIndex < 0 || nIndex >= kStandardFormations)
        nIndex = 0;
    return kFormations[nIndex];
}

const uint8_t* CClubDatabase::GetFormation() const
{
    return GetStandardFormation(m_byFormation);
}

int CClubDatabase::GetSubstituteRole(int nPlace)
{
    if (nPlace < 0)
        nPlace = 0;
    return kSubstituteRoles[nPlace % kSubstitutePlaces];
}

bool CClubDatabase::IsAvailable(const CPlayerDatabase* pPlayer, int nMatchKind)
{
    return IsAvailableUnlessBanned(pPlayer) && !pPlayer->IsSuspended(nMatchKind);
}

int CClubDatabase::CountUnavailable(int nMatchKind) const
{
    int nCount = 0;
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        if (!IsAvailable(pPlayer, nMatchKind) && !(pPlayer->m_dwFlags & kSelected))
            ++nCount;
    return nCount;
}

void CClubDatabase::ClearSelection()
{
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        pPlayer->m_dwFlags &= ~kSelected;
}

CPlayerDatabase* CClubDatabase::PickBestPlayerForRole(int nRole, int nMatchKind) const
{
    return SquadRatings(m_lstPlayers, nMatchKind).Pick(nRole, false);
}

CPlayerDatabase* CClubDatabase::PickBestSubstitute(int nRole, int nMatchKind) const
{
    return SquadRatings(m_lstPlayers, nMatchKind).Pick(nRole, true);
}

void CClubDatabase::SelectTeam(const uint8_t* pbyFormation, CPlayerDatabase** apPlayers, int nMatchKind,
                               int nSubstitutes)
{
    if (!pbyFormation)
        pbyFormation = GetFormation();
    if (nSubstitutes < 0)
        nSubstitutes = 0;
    const int nPlaces = 11 + nSubstitutes;
    ClearSelection();
    auto roleOf = [pbyFormation](int nPlace) {
        return nPlace < 11 ? pbyFormation[nPlace] : GetSubstituteRole(nPlace - 11);
    };
    const CUP* pCup = nMatchKind == MATCHKIND_CUP && m_pDatabaseHandler ? m_pDatabaseHandler->GetNextCupForClub(this)
                                                                        : nullptr;
    SquadRatings ratings(m_lstPlayers, nMatchKind, pCup);
    for (int i = 0; i < nPlaces; ++i)
        apPlayers[i] = ratings.Pick(roleOf(i), false, true);
    // Places nobody available could fill take the best of the rest, fit or
    // not; a cup-tied player is never eligible.
    for (int i = 0; i < nPlaces; ++i) {
        if (apPlayers[i])
            continue;
        apPlayers[i] = ratings.Pick(roleOf(i), true, true);
    }
}

float CClubDatabase::GetMapDistance(const CClubDatabase* pOther) const
{
    constexpr uint8_t kNoPosition = 4;
    constexpr float kFar = 1000.0f;
    if (!pOther || m_abyLatitude[2] == kNoPosition || pOther->m_abyLatitude[2] == kNoPosition)
        return kFar;
    auto degrees = [](const uint8_t* p) {
        return static_cast<float>(p[0]) + static_cast<float>(p[1]) / 60.0f;
    };
    const float fLatitude = degrees(m_abyLatitude) - degrees(pOther->m_abyLatitude);
    float fLongitude = degrees(m_abyLongitude) - degrees(pOther->m_abyLongitude);
    // Either side of the meridian.
    if (m_abyLongitude[2] != pOther->m_abyLongitude[2])
        fLongitude = degrees(m_abyLongitude) + degrees(pOther->m_abyLongitude);
    return std::sqrt(fLatitude * fLatitude + fLongitude * fLongitude);
}

int CClubDatabase::GetMoraleValue() const
{
    return (m_nFanConfidence - 50) / 10;
}
