// The size of a domestic cup's round in the country it is played in. The
// cup's definition names the divisions that enter each round and the clubs
// each round holds, for a country of a certain make-up; a country with fewer
// divisions, or fewer or more clubs, would leave rounds short or overfull.
// So each round is sized from the clubs still to come: every club of the
// divisions a round names enters there (a division the country does not have
// brings none), and of a round's new entrants as many play as leave the next
// round full once its own entrants join; the others go through to it
// without playing. A round with more clubs than the cup can hold takes only
// as many as it can, in table order.
#include "season/CDomesticCupsDatabase.h"

#include <algorithm>
#include <vector>

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"

namespace {

// An entry code naming "from the top" (first) or "to the last division".
constexpr uint8_t kEntryAllDivisions = 6;

}  // namespace

bool CDomesticCupsDatabase::GetEntryDivisions(int nKind, int nRound, int& nFirst, int& nLast) const
{
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(pDefinition, nRound);
    if (!pRule || !m_pCountry)
        return false;
    const int nDivisions = m_pCountry->GetDivisions().GetCount();
    nFirst = pRule->byEntryCode0 == kEntryAllDivisions ? 0 : pRule->byEntryCode0;
    if (nRound == 1) {
        nLast = pRule->byEntryCode1 == kEntryAllDivisions ? nDivisions - 1 : pRule->byEntryCode1;
    }
    else {
        // A later round brings in the divisions above those the round before
        // it named; naming the same ones again brings in nobody.
        const ITEMCUPENTRYRULE* pPrevious = GetDefinitionEntryRule(pDefinition, nRound - 1);
        if (!pPrevious || pPrevious->byEntryCode1 == pRule->byEntryCode0)
            return false;
        nLast = pPrevious->byEntryCode1 - 1;
    }
    nLast = std::min(nLast, nDivisions - 1);
    return nFirst <= nLast;
}

CUPROUNDPLAN CDomesticCupsDatabase::PlanRound(int nKind) const
{
    CUPROUNDPLAN plan;
    const CUP* pCup = GetCup(nKind);
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
    if (!pCup || !pDefinition || !m_pCountry || pCup->byRound < 1 || pCup->byRound > pDefinition->byRounds)
        return plan;
    const int nRound = pCup->byRound;
    const int nRounds = pDefinition->byRounds;

    // The clubs each round from this one on brings in: those already waiting
    // for it and those of its divisions not yet in the cup. A club counts for
    // the first round that names his division.
    std::vector<int> entrants(static_cast<size_t>(nRounds) + 2, 0);
    std::vector<ID_CLUB> counted;
    for (int r = nRound; r <= nRounds; ++r) {
        int& nEntrants = entrants[static_cast<size_t>(r)];
        nEntrants = CountPending(nKind, r);
        int nFirst = 0, nLast = -1;
        if (!GetEntryDivisions(nKind, r, nFirst, nLast))
            continue;
        const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(pDefinition, r);
        int nIndex = 0;
        for (const CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            const int d = nIndex++;
            if (d < nFirst || d > nLast)
                continue;
            int nQuota = pDivision->GetClubCount();
            if (r == 1 && pRule->pClubsPerDivision && d - nFirst < pRule->byClubsPerDivisionCount)
                nQuota = pRule->pClubsPerDivision[d - nFirst];
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                if (nQuota <= 0)
                    break;
                const ID_CLUB idClub = pClub->m_wClubId;
                if (IsClubInCup(nKind, idClub) || IsClubListed(nKind, idClub) ||
                    std::find(counted.begin(), counted.end(), idClub) != counted.end())
                    continue;
                counted.push_back(idClub);
                ++nEntrants;
                --nQuota;
            }
        }
    }

    // From the final back to this round: the clubs each round should hold,
    // and so how many must come through the round before it.
    int nHeld = 0;
    int nThrough = 1;  // out of the final: its winner
    for (int r = nRounds; r > nRound; --r) {
        const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(pDefinition, r);
        nHeld = std::clamp<int>(pRule->wClubs, nThrough, 2 * nThrough);
        nThrough = std::max(1, nHeld - entrants[static_cast<size_t>(r)]);
    }

    const int nDrawn = pCup->wClubsDrawn;
    const int nClubs = std::max(nDrawn, std::min(nDrawn + entrants[static_cast<size_t>(nRound)], 2 * nThrough));
    int nTies = std::clamp(nClubs - nThrough, (nDrawn + 1) / 2, nClubs / 2);
    // A round is not left without a match: its clubs play, and the next
    // round is sized again from the winners.
    if (nTies == 0 && nRound < nRounds)
        nTies = nClubs / 2;
    nTies = std::min<int>(nTies, pCup->wTieSlots);
    plan.nClubs = nClubs;
    plan.nPlaying = 2 * nTies;
    return plan;
}
