#include "common/CPointerArray.h"

#include <algorithm>
#include <cstring>

CPointerArray::~CPointerArray() { delete[] m_pData; }

void CPointerArray::SetSize(int nNewSize, int nGrowBy)
{
    if (nGrowBy != -1)
        m_nGrowBy = nGrowBy;
    if (nNewSize <= 0) {
        delete[] m_pData;
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
        return;
    }
    if (!m_pData) {
        m_pData = new void*[nNewSize]();
        m_nSize = m_nMaxSize = nNewSize;
        return;
    }
    if (nNewSize > m_nMaxSize) {
        int nStep = m_nGrowBy;
        if (nStep == 0)
            nStep = std::clamp(m_nSize / 8, 4, 1024);
        const int nNewMax = std::max(m_nMaxSize + nStep, nNewSize);
        void** pNew = new void*[nNewMax]();
        std::memcpy(pNew, m_pData, sizeof(void*) * m_nSize);
        delete[] m_pData;
        m_pData = pNew;
        m_nSize = nNewSize;
        m_nMaxSize = nNewMax;
        return;
    }
    for (int i = m_nSize; i < nNewSize; ++i)
        m_pData[i] = nullptr;
    m_nSize = nNewSize;
}

void CPointerArray::SetAtGrow(int nIndex, void* pElement)
{
    if (nIndex >= m_nSize)
        SetSize(nIndex + 1, -1);
    m_pData[nIndex] = pElement;
}

void CPointerArray::InsertAt(int nIndex, void* pElement, int nCount)
{
    if (nIndex < m_nSize) {
        const int nOldSize = m_nSize;
        SetSize(m_nSize + nCount, -1);
        std::memmove(m_pData + nIndex + nCount, m_pData + nIndex, sizeof(void*) * (nOldSize - nIndex));
        for (int i = 0; i < nCount; ++i)
            m_pData[nIndex + i] = nullptr;
    } else {
        SetSize(nIndex + nCount, -1);
    }
    for (int i = 0; i < nCount; ++i)
        m_pData[nIndex + i] = pElement;
}

void CPointerArray::RemoveAt(int nIndex, int nCount)
{
    const int nMove = m_nSize - (nIndex + nCount);
    if (nMove > 0)
        std::memmove(m_pData + nIndex, m_pData + nIndex + nCount, sizeof(void*) * nMove);
    for (int i = std::max(nIndex, m_nSize - nCount); i < m_nSize; ++i)
        m_pData[i] = nullptr;
}
