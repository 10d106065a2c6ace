#pragma once
// Doubly linked list of untyped pointers. The list owns its nodes, never the
// elements: owners free their records before they empty the list.
//
// A list takes its nodes from blocks of its own, each twice the size of the
// one before, and reuses a removed node for the next one added: a squad or
// a history stays in a few cache lines however its members come and go,
// instead of being spread over the heap. The blocks go when the list is
// empty again. Nodes never move while they are in the list.
#include "common/Prefetch.h"

struct XLISTNODE {
    void* pData = nullptr;
    XLISTNODE* pPrev = nullptr;
    XLISTNODE* pNext = nullptr;
};
using LPXLISTNODE = XLISTNODE*;

class CXList {
public:
    CXList() = default;
    ~CXList();
    CXList(const CXList&) = delete;
    CXList& operator=(const CXList&) = delete;

    LPXLISTNODE AddTail(void* pData);
    // The list must not be empty.
    void* RemoveHead();
    void* RemoveTail();
    void RemoveAll();

    LPXLISTNODE Find(const void* pData, LPXLISTNODE pStart = nullptr) const;
    // Null for an index outside 0..count-1; walks from the nearer end.
    LPXLISTNODE GetAt(int nIndex) const;
    // Count when the element is absent.
    int IndexOf(const void* pData) const;
    void Remove(LPXLISTNODE pNode);
    // Exchanges the data of two nodes; both indexes must be valid.
    LPXLISTNODE Swap(int nIndex1, int nIndex2);
    // Both insert nothing and answer null on an empty list.
    LPXLISTNODE InsertBefore(LPXLISTNODE pNode, void* pData);
    LPXLISTNODE InsertAfter(LPXLISTNODE pNode, void* pData);
    // Moves the nodes into one new block in list order, so that a walk over
    // a long-lived list reads adjacent lines instead of jumping between
    // blocks; the elements and their order stay. Every node moves: nobody
    // may hold one across the call.
    void Compact();

    // The first element, taken as a T, for which pred holds; ppNode (optional)
    // receives its node, null when there is none.
    template <typename T, typename Pred>
    T* FindItem(Pred pred, LPXLISTNODE* ppNode = nullptr) const
    {
        for (LPXLISTNODE pNode = m_pHead; pNode; pNode = pNode->pNext) {
            T* pItem = static_cast<T*>(pNode->pData);
            if (pred(pItem)) {
                if (ppNode)
                    *ppNode = pNode;
                return pItem;
            }
        }
        if (ppNode)
            *ppNode = nullptr;
        return nullptr;
    }

    LPXLISTNODE GetHead() const { return m_pHead; }
    LPXLISTNODE GetTail() const { return m_pTail; }
    int GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    // Walks the elements in order as a given type: for (T* p : list.Items<T>()).
    template <typename T>
    class Range {
    public:
        class Iterator {
        public:
            explicit Iterator(LPXLISTNODE p) : m_p(p) {}
            T* operator*() const { return static_cast<T*>(m_p->pData); }
            Iterator& operator++()
            {
                m_p = m_p->pNext;
                return *this;
            }
            bool operator!=(const Iterator& other) const { return m_p != other.m_p; }

        private:
            LPXLISTNODE m_p;
        };
        explicit Range(LPXLISTNODE pHead) : m_pHead(pHead) {}
        Iterator begin() const { return Iterator(m_pHead); }
        Iterator end() const { return Iterator(nullptr); }

    private:
        LPXLISTNODE m_pHead;
    };
    template <typename T>
    Range<T> Items() const { return Range<T>(m_pHead); }

    // Starts loading the first nBytes of every element (at most nMaxItems of
    // them): the elements of a long-lived list lie scattered once their order
    // in memory is lost, and a walk doing much work on each would otherwise
    // wait for each in turn (common/Prefetch.h).
    void PrefetchItems(size_t nBytes, int nMaxItems = 64) const
    {
        int n = 0;
        for (LPXLISTNODE pNode = m_pHead; pNode && n < nMaxItems; pNode = pNode->pNext, ++n)
            PrefetchBytes(pNode->pData, nBytes);
    }
    // The last node, and the first nBytes of the last element: in that order,
    // with other work between, as the second reads the first.
    void PrefetchTailNode() const
    {
        if (m_pTail)
            PrefetchBytes(m_pTail, sizeof(XLISTNODE));
    }
    void PrefetchTailItem(size_t nBytes) const
    {
        if (m_pTail)
            PrefetchBytes(m_pTail->pData, nBytes);
    }

private:
    struct NodeBlock;
    LPXLISTNODE NewNode(void* pData, LPXLISTNODE pPrev, LPXLISTNODE pNext);
    void FreeNode(LPXLISTNODE pNode);
    void FreeBlocks();

    LPXLISTNODE m_pHead = nullptr;
    LPXLISTNODE m_pTail = nullptr;
    NodeBlock* m_pBlocks = nullptr;  // the newest first
    int m_nCount = 0;
};
