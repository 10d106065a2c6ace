#include "common/CXList.h"

#include <algorithm>
#include <new>

namespace {
constexpr int kFirstBlockNodes = 4;
constexpr int kLargestBlockNodes = 256;
}  // namespace

// A block's header, followed by its nodes. The newest block keeps the free
// nodes of the whole list (linked through pNext) and the place of its first
// node never handed out.
struct CXList::NodeBlock {
    NodeBlock* pOlder;
    LPXLISTNODE pFree;
    int nNodes;
    int nHandedOut;
    XLISTNODE* Nodes() { return reinterpret_cast<XLISTNODE*>(this + 1); }
};

CXList::~CXList() { RemoveAll(); }

LPXLISTNODE CXList::NewNode(void* pData, LPXLISTNODE pPrev, LPXLISTNODE pNext)
{
    static_assert(sizeof(NodeBlock) % alignof(XLISTNODE) == 0, "nodes follow the header aligned");
    NodeBlock* pBlock = m_pBlocks;
    XLISTNODE* pNode = nullptr;
    if (pBlock && pBlock->pFree) {
        pNode = pBlock->pFree;
        pBlock->pFree = pNode->pNext;
    } else {
        if (!pBlock || pBlock->nHandedOut == pBlock->nNodes) {
            const int nNodes = pBlock ? std::min(pBlock->nNodes * 2, kLargestBlockNodes) : kFirstBlockNodes;
            void* pMemory = ::operator new(sizeof(NodeBlock) + sizeof(XLISTNODE) * static_cast<size_t>(nNodes));
            auto* pNew = static_cast<NodeBlock*>(pMemory);
            pNew->pOlder = pBlock;
            pNew->pFree = nullptr;
            pNew->nNodes = nNodes;
            pNew->nHandedOut = 0;
            m_pBlocks = pBlock = pNew;
        }
        pNode = pBlock->Nodes() + pBlock->nHandedOut++;
    }
    return new (pNode) XLISTNODE{pData, pPrev, pNext};
}

void CXList::FreeNode(LPXLISTNODE pNode)
{
    if (m_nCount == 0) {
        FreeBlocks();
        return;
    }
    pNode->pData = nullptr;
    pNode->pPrev = nullptr;
    pNode->pNext = m_pBlocks->pFree;
    m_pBlocks->pFree = pNode;
}

void CXList::FreeBlocks()
{
    while (m_pBlocks) {
        NodeBlock* pOlder = m_pBlocks->pOlder;
        ::operator delete(m_pBlocks);
        m_pBlocks = pOlder;
    }
}

void CXList::Compact()
{
    if (m_nCount == 0)
        return;
    const int nNodes = std::max(m_nCount, kFirstBlockNodes);
    void* pMemory = ::operator new(sizeof(NodeBlock) + sizeof(XLISTNODE) * static_cast<size_t>(nNodes));
    auto* pBlock = static_cast<NodeBlock*>(pMemory);
    pBlock->pOlder = nullptr;
    pBlock->pFree = nullptr;
    pBlock->nNodes = nNodes;
    pBlock->nHandedOut = m_nCount;
    XLISTNODE* pNodes = pBlock->Nodes();
    int i = 0;
    for (LPXLISTNODE pNode = m_pHead; pNode; pNode = pNode->pNext, ++i)
        new (&pNodes[i]) XLISTNODE{pNode->pData, i > 0 ? &pNodes[i - 1] : nullptr, nullptr};
    for (int j = 0; j + 1 < m_nCount; ++j)
        pNodes[j].pNext = &pNodes[j + 1];
    FreeBlocks();
    m_pBlocks = pBlock;
    m_pHead = &pNodes[0];
    m_pTail = &pNodes[m_nCount - 1];
}

LPXLISTNODE CXList::AddTail(void* pData)
{
    auto* pNode = NewNode(pData, m_pTail, nullptr);
    if (m_pTail)
        m_pTail->pNext = pNode;
    else
        m_pHead = pNode;
    m_pTail = pNode;
    ++m_nCount;
    return pNode;
}

void* CXList::RemoveHead()
{
    LPXLISTNODE pNode = m_pHead;
    void* pData = pNode->pData;
    m_pHead = pNode->pNext;
    if (m_pHead)
        m_pHead->pPrev = nullptr;
    else
        m_pTail = nullptr;
    --m_nCount;
    FreeNode(pNode);
    return pData;
}

void* CXList::RemoveTail()
{
    LPXLISTNODE pNode = m_pTail;
    void* pData = pNode->pData;
    m_pTail = pNode->pPrev;
    if (m_pTail)
        m_pTail->pNext = nullptr;
    else
        m_pHead = nullptr;
    --m_nCount;
    FreeNode(pNode);
    return pData;
}

void CXList::RemoveAll()
{
    FreeBlocks();
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
}

LPXLISTNODE CXList::Find(const void* pData, LPXLISTNODE pStart) const
{
    for (LPXLISTNODE pNode = pStart ? pStart : m_pHead; pNode; pNode = pNode->pNext)
        if (pNode->pData == pData)
            return pNode;
    return nullptr;
}

LPXLISTNODE CXList::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    LPXLISTNODE pNode;
    if (nIndex <= m_nCount / 2) {
        pNode = m_pHead;
        for (int i = 0; i < nIndex; ++i)
            pNode = pNode->pNext;
    } else {
        pNode = m_pTail;
        for (int i = 0; i < m_nCount - 1 - nIndex; ++i)
            pNode = pNode->pPrev;
    }
    return pNode;
}

int CXList::IndexOf(const void* pData) const
{
    int nIndex = 0;
    for (LPXLISTNODE pNode = m_pHead; pNode; pNode = pNode->pNext, ++nIndex)
        if (pNode->pData == pData)
            return nIndex;
    return m_nCount;
}

void CXList::Remove(LPXLISTNODE pNode)
{
    if (pNode->pPrev)
        pNode->pPrev->pNext = pNode->pNext;
    else
        m_pHead = pNode->pNext;
    if (pNode->pNext)
        pNode->pNext->pPrev = pNode->pPrev;
    else
        m_pTail = pNode->pPrev;
    --m_nCount;
    FreeNode(pNode);
}

LPXLISTNODE CXList::Swap(int nIndex1, int nIndex2)
{
    LPXLISTNODE pFirst = GetAt(nIndex1);
    LPXLISTNODE pSecond = GetAt(nIndex2);
    void* pData = pFirst->pData;
    pFirst->pData = pSecond->pData;
    pSecond->pData = pData;
    return pSecond;
}

LPXLISTNODE CXList::InsertBefore(LPXLISTNODE pNode, void* pData)
{
    if (m_nCount == 0 || !pNode)
        return nullptr;
    LPXLISTNODE pNew = NewNode(pData, pNode->pPrev, pNode);
    if (pNode->pPrev)
        pNode->pPrev->pNext = pNew;
    else
        m_pHead = pNew;
    pNode->pPrev = pNew;
    ++m_nCount;
    return pNew;
}

LPXLISTNODE CXList::InsertAfter(LPXLISTNODE pNode, void* pData)
{
    if (m_nCount == 0 || !pNode)
        return nullptr;
    LPXLISTNODE pNew = NewNode(pData, pNode, pNode->pNext);
    if (pNode->pNext)
        pNode->pNext->pPrev = pNew;
    else
        m_pTail = pNew;
    pNode->pNext = pNew;
    ++m_nCount;
    return pNew;
}
