#pragma once
// Growable array of untyped pointers. Frees only its own block, never the
// elements. RemoveAt keeps the size: the emptied slots at the end hold null.

class CPointerArray {
public:
    CPointerArray() = default;
    ~CPointerArray();
    CPointerArray(const CPointerArray&) = delete;
    CPointerArray& operator=(const CPointerArray&) = delete;

    // nGrowBy -1 keeps the current grow-by; 0 lets the array choose its step.
    void SetSize(int nNewSize, int nGrowBy = -1);
    void SetAtGrow(int nIndex, void* pElement);
    void InsertAt(int nIndex, void* pElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);

    int GetSize() const { return m_nSize; }
    int GetMaxSize() const { return m_nMaxSize; }
    // Null for an index outside 0..size-1.
    void* GetAt(int nIndex) const { return nIndex >= 0 && nIndex < m_nSize ? m_pData[nIndex] : nullptr; }
    void SetAt(int nIndex, void* pElement) { m_pData[nIndex] = pElement; }
    void** GetData() const { return m_pData; }

private:
    void** m_pData = nullptr;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};
