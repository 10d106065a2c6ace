#pragma once
// The root's list of buy or loan offers, or of a market's listings, with each
// player's entries found at once: a big world holds thousands of open offers
// and listings, and every new offer, answer, withdrawal or delisting asks for
// one player's few. The list keeps the entries' order (it is saved in that
// order); each player's nodes are kept in the same order.
// The list owns its nodes, not the offers, like CXList.
#include <unordered_map>
#include <vector>

#include "common/CXList.h"
#include "common/Identifiers.h"

template <typename Offer>
class CPlayerOfferList {
public:
    using Nodes = std::vector<LPXLISTNODE>;

    const CXList& List() const { return m_list; }
    LPXLISTNODE GetHead() const { return m_list.GetHead(); }
    int GetCount() const { return m_list.GetCount(); }
    bool IsEmpty() const { return m_list.IsEmpty(); }
    template <typename T = Offer>
    CXList::Range<T> Items() const { return m_list.Items<T>(); }

    // The offer's player must not change while it is in the list.
    LPXLISTNODE AddTail(Offer* pOffer)
    {
        LPXLISTNODE pNode = m_list.AddTail(pOffer);
        m_byPlayer[pOffer->GetPlayerID()].push_back(pNode);
        return pNode;
    }

    // A node of this list.
    void Remove(LPXLISTNODE pNode)
    {
        auto it = m_byPlayer.find(static_cast<Offer*>(pNode->pData)->GetPlayerID());
        if (it != m_byPlayer.end()) {
            Nodes& nodes = it->second;
            for (auto at = nodes.begin(); at != nodes.end(); ++at)
                if (*at == pNode) {
                    nodes.erase(at);
                    break;
                }
            if (nodes.empty())
                m_byPlayer.erase(it);
        }
        m_list.Remove(pNode);
    }

    // The list must not be empty.
    Offer* RemoveHead()
    {
        auto* pOffer = static_cast<Offer*>(m_list.GetHead()->pData);
        Remove(m_list.GetHead());
        return pOffer;
    }

    // The player's offers in list order; empty when he has none.
    const Nodes& OfPlayer(ID_PLAYER idPlayer) const
    {
        static const Nodes kNone;
        auto it = m_byPlayer.find(idPlayer);
        return it == m_byPlayer.end() ? kNone : it->second;
    }

    // The first of the player's offers for which pred holds, or null.
    template <typename Pred>
    Offer* FindOfPlayer(ID_PLAYER idPlayer, Pred pred) const
    {
        for (LPXLISTNODE pNode : OfPlayer(idPlayer))
            if (auto* pOffer = static_cast<Offer*>(pNode->pData); pred(pOffer))
                return pOffer;
        return nullptr;
    }

    // The offer's node, null when it is not in the list.
    LPXLISTNODE Find(const Offer* pOffer) const
    {
        for (LPXLISTNODE pNode : OfPlayer(pOffer->GetPlayerID()))
            if (pNode->pData == pOffer)
                return pNode;
        return nullptr;
    }

private:
    CXList m_list;
    std::unordered_map<ID_PLAYER, Nodes> m_byPlayer;
};
