// A club picks its team for a match: the eleven of its standard formation,
// then the substitutes, then whoever is left for places nobody could fill.
#include "database/CClubDatabase.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/MatchRecords.h"

#include <array>
#include <cmath>
#include <vector>

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
// same way: roles that share it share a player's rating.
const std::array<int, PLAYER_ROLE_COUNT>& RatingClasses()
{
    static const std::array<int, PLAYER_ROLE_COUNT> s_anClasses = [] {
        std::array<int, PLAYER_ROLE_COUNT> an{};
        for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole) {
            an[nRole] = nRole;
            for (int nOther = 0; nOther < nRole; ++nOther) {
                bool bSame = true;
                for (int i = 0; i < PLAYER_SKILL_COUNT; ++i)
                    bSame = bSame && CPersonDatabase::s_abyRoleTargets[nRole][i] ==
                                         CPersonDatabase::s_abyRoleTargets[nOther][i] &&
                            CPersonDatabase::s_abyRoleWeights[nRole][i] == CPersonDatabase::s_abyRoleWeights[nOther][i];
                if (bSame) {
                    an[nRole] = nOther;
                    break;
                }
            }
        }
        return an;
    }();
    return s_anClasses;
}

// A squad's players as one side is built: each is checked for fitness and
// bans once and rated the first time a role of each rating class is asked
// for, however many places ask for it.
class SquadRatings {
public:
    // Players cup-tied for the cup of the match are left out altogether.
    SquadRatings(const CXList& lstPlayers, int nMatchKind, const CUP* pCup = nullptr) : m_nMatchKind(nMatchKind)
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
        for (Row& row : m_rows) {
            if (row.bSelected || (!bAllowUnfit && !row.bAvailable))
                continue;
            const int nScore = Score(row, nRole, bAllowUnfit);
            if (!pBest || nScore > nBest) {
                pBest = &row;
                nBest = nScore;
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
        // The scores and ratings are read only once their bits say they are
        // worked out, so a new row leaves them as they lie instead of
        // clearing two hundred bytes for every player of every side.
        Row(CPlayerDatabase* pPlayerIn, bool bAvailableIn, bool bSelectedIn, bool bSuspendedIn)
            : pPlayer(pPlayerIn), bAvailable(bAvailableIn), bSelected(bSelectedIn), bSuspended(bSuspendedIn)
        {
        }
        CPlayerDatabase* pPlayer;
        bool bAvailable;
        bool bSelected;
        bool bSuspended;  // for the match: the same whatever the role
        uint32_t dwScored = 0;  // one bit per role and fitness rule
        uint32_t dwRated = 0;   // one bit per rating class
        int anScore[2][PLAYER_ROLE_COUNT];
        int anRating[PLAYER_ROLE_COUNT];
    };

    int Score(Row& row, int nRole, bool bAllowUnfit) const
    {
        if (nRole < 0 || nRole >= PLAYER_ROLE_COUNT)
            return row.pPlayer->GetMatchSelectionScore(nRole, m_nMatchKind, bAllowUnfit);
        const uint32_t dwBit = 1u << (nRole + (bAllowUnfit ? PLAYER_ROLE_COUNT : 0));
        int& nScore = row.anScore[bAllowUnfit ? 1 : 0][nRole];
        if (!(row.dwScored & dwBit)) {
            const int nClass = RatingClasses()[nRole];
            if (!(row.dwRated & (1u << nClass))) {
                row.anRating[nClass] = row.pPlayer->GetRatingForPosition(nClass);
                row.dwRated |= 1u << nClass;
            }
            nScore = row.pPlayer->GetMatchSelectionScoreWithBan(nRole, bAllowUnfit, row.anRating[nClass], row.bSuspended);
            row.dwScored |= dwBit;
        }
        return nScore;
    }

    static std::vector<Row>& SpareRows()
    {
        thread_local std::vector<Row> s_spare;
        return s_spare;
    }

    int m_nMatchKind;
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
