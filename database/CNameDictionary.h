#pragma once
// One names file: a 12-byte header (the second word is the name count) and a
// block of NUL-terminated names. Used for the two sorted dictionaries, whose
// byte offsets person records store, and for the per-nationality pools.
// Reading and writing both live here so that every program uses one format.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class CNameDictionary {
public:
    CNameDictionary() = default;
    ~CNameDictionary() { Free(); }
    CNameDictionary(const CNameDictionary&) = delete;
    CNameDictionary& operator=(const CNameDictionary&) = delete;

    // Reads a names file. Refuses (log line, false, nothing kept) a missing or
    // short file, a count of 0, a block that does not hold exactly the
    // counted names, an empty name and, when bSorted, names out of ascending
    // byte order or repeated.
    bool Load(const char* pszPath, bool bSorted);
    void Free();

    bool IsLoaded() const { return m_pText != nullptr; }
    int GetCount() const { return static_cast<int>(m_nCount); }
    uint32_t GetTextSize() const { return m_nTextSize; }
    const char* GetText() const { return m_pText; }
    // Bytes of the header as read (word 1 is the count).
    const uint8_t* GetHeader() const { return m_Header; }
    // Null outside 0..count-1.
    const char* GetName(int nIndex) const;
    // The name that begins at this offset of the text block; null when the
    // offset lies outside the block or in the middle of a name, so that an
    // offset read from a file can be checked before it is used.
    const char* GetNameAtOffset(uint32_t dwOffset) const;
    // Halving search over a sorted dictionary: true with the name's offset in
    // the text block (and its text when ppName is given).
    bool FindName(const char* pszName, uint32_t& dwOffset, const char** ppName = nullptr) const;
    // Comparisons FindName made in its last call, for checking its bound.
    int GetLastSearchSteps() const { return m_nLastSearchSteps; }

    // Writes names in the given order. Refuses an empty list and names that
    // are empty or longer than kMaxNameLength.
    static bool Write(const char* pszPath, const std::vector<std::string>& names);
    // The same into an open file, for a caller that writes several files as
    // one set.
    static bool Write(FILE* pFile, const std::vector<std::string>& names);
    static constexpr size_t kMaxNameLength = 26;

private:
    uint8_t m_Header[12] = {};
    uint32_t m_nCount = 0;
    uint32_t m_nTextSize = 0;
    char* m_pText = nullptr;
    const char** m_ppIndex = nullptr;
    mutable int m_nLastSearchSteps = 0;
};
