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
    // The place places[i] is to hold the record that lies at places[from[i]].
    std::vector<size_t> from(nCount);
    m_places.resize(nCount);
    for (size_t i = 0; i < nCount; ++i) {
        from[i] = static_cast<size_t>(std::lower_bound(places.begin(), places.end(), order[i]) - places.begin());
        m_places[from[i]] = {order[i], places[i]};
        m_nMoved += from[i] != i;
    }
    // A record holds nothing that points into itself (its lists' nodes live
    // in blocks of their own and point at each other, never at the list), so
    // its bytes may move as they stand. The records move round each cycle
    // of the exchange with one record's room: no copy of the whole squad
    // set, and a record that keeps its place is not touched.
    if (m_nMoved == 0)
        return;
    constexpr size_t kBytes = sizeof(CPlayerDatabase);
    const std::unique_ptr<unsigned char[]> held(new unsigned char[kBytes]);
    for (size_t nStart = 0; nStart < nCount; ++nStart) {
        if (from[nStart] == nStart)
            continue;
        std::memcpy(held.get(), static_cast<const void*>(places[nStart]), kBytes);
        size_t i = nStart;
        while (from[i] != nStart) {
            std::memcpy(static_cast<void*>(places[i]), static_cast<const void*>(places[from[i]]), kBytes);
            const size_t nNext = from[i];
            from[i] = i;
            i = nNext;
        }
        std::memcpy(static_cast<void*>(places[i]), held.get(), kBytes);
        from[i] = i;
    }
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
