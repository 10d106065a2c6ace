#include "database/CPlayerRelocation.h"

#include "common/CXList.h"
#include "database/CPlayerDatabase.h"

#include <algorithm>
#include <cstring>
#include <memory>

CPlayerRelocation::CPlayerRelocation(const std::vector<CPlayerDatabase*>& order)
{
    const size_t nCount = order.size();
    if (nCount == 0)
        return;
    std::vector<CPlayerDatabase*> places(order);
    std::sort(places.begin(), places.end());
    // A player named twice would be copied over another's place.
    if (std::adjacent_find(places.begin(), places.end()) != places.end() || !places.front())
        return;
    // A record holds nothing that points into itself (its lists' nodes live
    // in blocks of their own and point at each other, never at the list), so
    // its bytes may move as they stand: through a buffer, as the places are
    // exchanged among the records.
    constexpr size_t kBytes = sizeof(CPlayerDatabase);
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[nCount * kBytes]);
    for (size_t i = 0; i < nCount; ++i)
        std::memcpy(buffer.get() + i * kBytes, static_cast<const void*>(order[i]), kBytes);
    m_places.reserve(nCount);
    for (size_t i = 0; i < nCount; ++i) {
        std::memcpy(static_cast<void*>(places[i]), buffer.get() + i * kBytes, kBytes);
        m_places.emplace_back(order[i], places[i]);
        m_nMoved += order[i] != places[i];
    }
    std::sort(m_places.begin(), m_places.end());
}

CPlayerDatabase* CPlayerRelocation::NewPlace(CPlayerDatabase* pPlayer) const
{
    const auto it = std::lower_bound(m_places.begin(), m_places.end(), pPlayer,
                                     [](const auto& place, const CPlayerDatabase* p) { return place.first < p; });
    return it != m_places.end() && it->first == pPlayer ? it->second : pPlayer;
}

void CPlayerRelocation::UpdateList(CXList& list) const
{
    for (LPXLISTNODE pNode = list.GetHead(); pNode; pNode = pNode->pNext)
        pNode->pData = NewPlace(static_cast<CPlayerDatabase*>(pNode->pData));
}
