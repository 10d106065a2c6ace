#include "database/CMarketDigest.h"

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
}

bool CMarketDigest::Describes(const CXList& listed, const CXList& loans) const
{
    const auto same = [](const CXList& list, const std::vector<Row>& rows) {
        return static_cast<size_t>(list.GetCount()) == rows.size() &&
               (rows.empty() || (list.GetHead() == rows.front().pNode && list.GetTail() == rows.back().pNode));
    };
    return same(listed, m_listed) && same(loans, m_loans);
}
