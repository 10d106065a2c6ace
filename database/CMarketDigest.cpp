#include "database/CMarketDigest.h"

#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CMarketEntries.h"
#include "database/CPlayerDatabase.h"
#include "database/IdentifierEntries.h"

namespace {

// The facts of the player an entry names, when he is in memory; a retired
// player (read back from his file) or a youth is left to the full check.
template <typename Entry>
void Describe(CDatabaseHandler& root, const CXList& list, std::vector<CMarketDigest::Row>& rows)
{
    rows.reserve(static_cast<size_t>(list.GetCount()));
    for (LPXLISTNODE pNode = list.GetHead(); pNode; pNode = pNode->pNext) {
        CMarketDigest::Row row;
        row.pNode = pNode;
        if (const auto* pEntry = static_cast<const Entry*>(pNode->pData)) {
            row.bEntry = true;
            if constexpr (requires { pEntry->GetAskingPrice(); })
                row.dwAskingPrice = pEntry->GetAskingPrice();
            const LPITEMPLAYERINFORMATION pInfo = root.GetPlayerInformation(pEntry->GetPlayerID());
            if (pInfo && !(pInfo->dwFlags & (PLAYERINFO_YOUTH | PLAYERINFO_RETIRED)) && pInfo->pPlayer) {
                row.bFacts = true;
                row.facts = CClubDatabase::TargetFacts::Of(*pInfo->pPlayer);
            }
        }
        rows.push_back(row);
    }
}

}  // namespace

CMarketDigest::CMarketDigest(CDatabaseHandler& root)
{
    Describe<CListMarketEntry>(root, root.GetListMarket(), m_listed);
    Describe<CLoanMarketEntry>(root, root.GetLoanMarket(), m_loans);
    m_listedIndex.Build(m_listed);
    m_loanIndex.Build(m_loans);
}

namespace {

// The slot of a row's player by country and area; -1 for a player no search
// of one country can take (no country, or a role outside the areas).
int KeyOf(const CClubDatabase::TargetFacts& facts)
{
    const int nArea = CClubDatabase::GetRoleArea(facts.byRole);
    return facts.pCountry && nArea >= 0 && nArea < 8 ? facts.pCountry->GetID() * 8 + nArea : -1;
}

}  // namespace

void CMarketDigest::Index::Build(const std::vector<Row>& rows)
{
    for (const Row& row : rows)
        if (row.bEntry && row.bFacts)
            if (const int nKey = KeyOf(row.facts); nKey >= 0 && anSlots[static_cast<size_t>(nKey)] < 0) {
                anSlots[static_cast<size_t>(nKey)] = static_cast<int>(buckets.size());
                buckets.emplace_back();
            }
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        if (!row.bEntry)
            continue;
        if (!row.bFacts) {
            fullCheck.push_back(static_cast<int>(i));
            for (std::vector<int>& bucket : buckets)
                bucket.push_back(static_cast<int>(i));
            for (std::vector<int>& bucket : areaBuckets)
                bucket.push_back(static_cast<int>(i));
            continue;
        }
        if (const int nKey = KeyOf(row.facts); nKey >= 0)
            buckets[static_cast<size_t>(anSlots[static_cast<size_t>(nKey)])].push_back(static_cast<int>(i));
        // A search of every country takes a player of no country too.
        if (const int nArea = CClubDatabase::GetRoleArea(row.facts.byRole); nArea >= 0 && nArea < kAreas)
            areaBuckets[static_cast<size_t>(nArea)].push_back(static_cast<int>(i));
    }
}

const std::vector<int>& CMarketDigest::Index::OfEveryCountry(int nArea) const
{
    return nArea >= 0 && nArea < kAreas ? areaBuckets[static_cast<size_t>(nArea)] : fullCheck;
}

const std::vector<int>& CMarketDigest::Index::Of(const CCountryDatabase* pCountry, int nArea) const
{
    if (!pCountry || nArea < 0 || nArea >= kAreas)
        return fullCheck;
    const int nSlot = anSlots[static_cast<size_t>(pCountry->GetID() * kAreas + nArea)];
    return nSlot < 0 ? fullCheck : buckets[static_cast<size_t>(nSlot)];
}

bool CMarketDigest::Describes(const CXList& listed, const CXList& loans) const
{
    const auto same = [](const CXList& list, const std::vector<Row>& rows) {
        return static_cast<size_t>(list.GetCount()) == rows.size() &&
               (rows.empty() || (list.GetHead() == rows.front().pNode && list.GetTail() == rows.back().pNode));
    };
    return same(listed, m_listed) && same(loans, m_loans);
}
