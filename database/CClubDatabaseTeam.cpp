// A club picks its team for a match: the eleven of its standard formation,
// then the substitutes, then whoever is left for places nobody could fill.
#include "database/CClubDatabase.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/MatchRecords.h"

#include <array>
#include <cmath>
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

// For each role, the first role whose rating weighs the same skills the
// same way: roles that share it share a player's rating. (The role tables
// are constants, set before any code runs.)
const std::array<int, PLAYER_ROLE_COUNT> kRatingClasses = [] {
    std::array<int, PLAYER_ROLE_COUNT> an{};
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole) {
        an[nRole] = nRole;
        for (int nOther = 0; nOther < nRole; ++nOther) {
            bool bSame = true;
            for (int i = 0; i < PLAYER_SKILL_COUNT; ++i)
                bSame = bSame &&
                        CPersonDatabase::s_abyRoleTargets[nRole][i] == CPersonDatabase::s_abyRoleTargets[nOther][i] &&
                        CPersonDatabase::s_abyRoleWeights[nRole][i] == CPersonDatabase::s_abyRoleWeights[nOther][i];
            if (bSame) {
                an[nRole] = nOther;
                break;
            }
        }
    }
    return an;
}();

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

// A role's bit in a set of roles; none for a value that is not a role.
uint32_t RoleBit(int nRole)
{
    return nRole >= 0 && nRole < PLAYER_ROLE_COUNT ? 1u << nRole : 0;
}

// The rating classes of every role whose bit is set.
uint32_t RatingClassesOf(uint32_t dwRoles)
{
    uint32_t dwClasses = 0;
    for (; dwRoles; dwRoles &= dwRoles - 1)
        dwClasses |= 1u << kRatingClasses[static_cast<size_t>(__builtin_ctz(dwRoles))];
    return dwClasses;
}

// A squad's players as one side is built: each is checked for fitness and
// bans once, rated once for every rating class the side's places ask for,
// and scored once for each of those places' roles, so that a pick walks a
// table of small rows without touching a player's record.
class SquadRatings {
public:
    // Players cup-tied for the cup of the match are left out altogether.
    // dwRoles: the roles (one bit each) the side's places will ask for.
    SquadRatings(const CXList& lstPlayers, int nMatchKind, uint32_t dwRoles, const CUP* pCup = nullptr)
        : m_nMatchKind(nMatchKind)
    {
        // The table is a few kilobytes: taken from the last build's instead
        // of asked of the heap for every side (a request that size makes the
        // allocator tidy its free lists first, dearer as the heap ages).
        m_rows.swap(SpareRows());
        m_rows.clear();
        lstPlayers.PrefetchItems(sizeof(CPlayerDatabase));
        m_rows.reserve(static_cast<size_t>(lstPlayers.GetCount()));
        for (CPlayerDatabase* pPlayer : lstPlayers.Items<CPlayerDatabase>())
            if (!pPlayer->IsCupTied(pCup))
                m_rows.emplace_back(pPlayer, CClubDatabase::IsAvailable(pPlayer, nMatchKind),
                                    (pPlayer->m_dwFlags & kSelected) != 0, pPlayer->IsSuspended(nMatchKind));
        AddRoles(dwRoles & ((1u << PLAYER_ROLE_COUNT) - 1));
    }

    // The best player not yet selected for a role: among those fit to play,
    // or, for a place nobody fit could fill, among all of them. The first of
    // equals wins; null when nobody is left. With bSelect the one picked is
    // marked selected (kept in the table too, so that the walk reads no
    // player's record).
    CPlayerDatabase* Pick(int nRole, bool bAllowUnfit, bool bSelect = false)
    {
        Row* pBest = nullptr;
        int nBest = 0;
        auto consider = [&](Row& row, int nScore) {
            if (!pBest || nScore > nBest) {
                pBest = &row;
                nBest = nScore;
            }
        };
        if (nRole < 0 || nRole >= PLAYER_ROLE_COUNT) {
            for (Row& row : m_rows)
                if (!row.bSelected && (bAllowUnfit || row.bAvailable))
                    consider(row, row.pPlayer->GetMatchSelectionScore(nRole, m_nMatchKind, bAllowUnfit));
        } else if (!bAllowUnfit) {
            if (!(m_dwRoles & (1u << nRole)))
                AddRoles(1u << nRole);
            for (Row& row : m_rows)
                if (!row.bSelected && row.bAvailable)
                    consider(row, row.anFitScore[nRole]);
        } else {
            // Rare: a place nobody fit could fill.
            if (!(m_dwRoles & (1u << nRole)))
                AddRoles(1u << nRole);
            const int nClass = kRatingClasses[static_cast<size_t>(nRole)];
            for (Row& row : m_rows) {
                if (row.bSelected)
                    continue;
                if (!row.bRated)
                    Rate(row);
                consider(row, row.pPlayer->GetMatchSelectionScoreWithBan(nRole, true, row.anRating[nClass],
                                                                         row.bSuspended));
            }
        }
        if (!pBest)
            return nullptr;
        if (bSelect) {
            pBest->bSelected = true;
            pBest->pPlayer->m_dwFlags |= kSelected;
        }
        return pBest->pPlayer;
    }

    ~SquadRatings()
    {
        if (SpareRows().capacity() < m_rows.capacity())
            m_rows.swap(SpareRows());
    }
    SquadRatings(const SquadRatings&) = delete;
    SquadRatings& operator=(const SquadRatings&) = delete;

private:
    struct Row {
        // The ratings and scores are read only for the classes and roles the
        // table has worked out, so a new row leaves them as they lie.
        Row(CPlayerDatabase* pPlayerIn, bool bAvailableIn, bool bSelectedIn, bool bSuspendedIn)
            : pPlayer(pPlayerIn), bAvailable(bAvailableIn), bSelected(bSelectedIn), bSuspended(bSuspendedIn)
        {
        }
        CPlayerDatabase* pPlayer;
        bool bAvailable;
        bool bSelected;
        bool bSuspended;  // for the match: the same whatever the role
        bool bRated = false;  // for every class of the table's roles
        int16_t anFitScore[PLAYER_ROLE_COUNT];  // fit players only
        int16_t anRating[PLAYER_ROLE_COUNT];    // by rating class
    };

    // Rates and scores every fit player for more roles; a player who is not
    // fit is rated only once a pick among all of them needs it.
    void AddRoles(uint32_t dwRoles)
    {
        m_dwRoles |= dwRoles;
        m_dwClasses = RatingClassesOf(m_dwRoles);
        for (Row& row : m_rows) {
            if (!row.bAvailable) {
                row.bRated = false;
                continue;
            }
            Rate(row);
            ScoreFit(row);
        }
    }

    // A fit player's score for every role of the table, as
    // GetMatchSelectionScoreWithBan gives it (a fit player is not banned).
    void ScoreFit(Row& row) const
    {
        const CPlayerDatabase& player = *row.pPlayer;
#if defined(__SSE2__)
        alignas(16) int16_t anRatings[PLAYER_ROLE_COUNT] = {};
        for (uint32_t dw = m_dwRoles; dw; dw &= dw - 1) {
            const size_t nRole = static_cast<size_t>(__builtin_ctz(dw));
            anRatings[nRole] = row.anRating[kRatingClasses[nRole]];
        }
        const __m128i position = _mm_set1_epi16(player.m_byPosition);
        const __m128i injured = _mm_set1_epi16(player.IsInjured() ? -1 : 0);
        const __m128i roleMask = _mm_set1_epi16(static_cast<int16_t>(player.m_wRoleMask));
        const __m128i primary = _mm_set1_epi16(player.m_byRole);
        for (int nHalf = 0; nHalf < 2; ++nHalf) {
            const RoleLanes& lanes = kRoleLanes[nHalf];
            __m128i score = _mm_load_si128(reinterpret_cast<const __m128i*>(anRatings + 8 * nHalf));
            score = _mm_add_epi16(
                score, _mm_and_si128(_mm_cmpeq_epi16(_mm_load_si128(&lanes.positions), position), _mm_set1_epi16(20)));
            const __m128i bits = _mm_load_si128(&lanes.bits);
            __m128i bonus = _mm_and_si128(_mm_cmpeq_epi16(_mm_and_si128(roleMask, bits), bits), _mm_set1_epi16(40));
            bonus = _mm_add_epi16(
                bonus, _mm_and_si128(_mm_cmpeq_epi16(_mm_load_si128(&lanes.roles), primary), _mm_set1_epi16(50)));
            // Injured: 1000 off, and no bonus for his roles.
            bonus = _mm_or_si128(_mm_and_si128(injured, _mm_set1_epi16(-1000)), _mm_andnot_si128(injured, bonus));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row.anFitScore + 8 * nHalf), _mm_add_epi16(score, bonus));
        }
#else
        for (uint32_t dw = m_dwRoles; dw; dw &= dw - 1) {
            const int nRole = __builtin_ctz(dw);
            row.anFitScore[nRole] = static_cast<int16_t>(player.GetMatchSelectionScoreWithBan(
                nRole, false, row.anRating[kRatingClasses[static_cast<size_t>(nRole)]], row.bSuspended));
        }
#endif
    }

    void Rate(Row& row) const
    {
        row.pPlayer->GetRatingsForRoles(m_dwClasses, row.anRating);
        row.bRated = true;
    }

    static std::vector<Row>& SpareRows()
    {
        thread_local std::vector<Row> s_spare;
        return s_spare;
    }

    int m_nMatchKind;
    uint32_t m_dwRoles = 0;
    uint32_t m_dwClasses = 0;
    std::vector<Row> m_rows;
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
    if (pPlayer->m_dwFlags & kUnavailableFlags)
        return false;
    if (pPlayer->IsInjured() && CPlayerDatabase::GetInjuryStatus(pPlayer->m_byInjuryType) != 1)
        return false;
    if (pPlayer->IsSuspended(nMatchKind))
        return false;
    // A player lent to another club plays there.
    return pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN;
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
    return SquadRatings(m_lstPlayers, nMatchKind, RoleBit(nRole)).Pick(nRole, false);
}

CPlayerDatabase* CClubDatabase::PickBestSubstitute(int nRole, int nMatchKind) const
{
    return SquadRatings(m_lstPlayers, nMatchKind, RoleBit(nRole)).Pick(nRole, true);
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
    uint32_t dwRoles = 0;
    for (int i = 0; i < nPlaces; ++i)
        dwRoles |= RoleBit(roleOf(i));
    SquadRatings ratings(m_lstPlayers, nMatchKind, dwRoles, pCup);
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
