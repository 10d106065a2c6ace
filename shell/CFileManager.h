#pragma once
// An open BFS archive: a directory of members sorted by name without regard to
// case, and the archive's one stream, positioned at a member on request so
// that the caller reads it in place.
#include <cstdint>
#include <cstdio>

struct BFSSHORTENTRY {
    uint32_t dwOffset;
    uint32_t dwSize;
    char szName[16];
};

struct BFSLONGENTRY {
    uint32_t dwOffset;
    uint32_t dwSize;
    char szName[40];
};

// Name comparison of the directory: letters folded to lower case, bytes unsigned.
int CompareBFSNames(const char* pszA, const char* pszB);

class CFileManager {
public:
    CFileManager() = default;
    ~CFileManager();
    CFileManager(const CFileManager&) = delete;
    CFileManager& operator=(const CFileManager&) = delete;

    // Reads the directory; false (and a log line) when a file is open already,
    // the file does not open, or its directory is damaged.
    bool Open(const char* pszFileName);
    void Close();
    // The archive's stream positioned at the member, with its size; found is
    // false (and the stream is not positioned) when there is no such member.
    FILE* Get(const char* pszName, long* pnSize, bool* pbFound);

    int GetCount() const { return m_nCount; }
    // Name of a directory entry in directory order; null outside 0..count-1.
    const char* GetEntryName(int nIndex) const;

    uint8_t m_Header[8] = {};
    FILE* m_pFile = nullptr;
    int32_t m_nCount = 0;
    BFSSHORTENTRY* m_pShortDirectory = nullptr;
    BFSLONGENTRY* m_pLongDirectory = nullptr;
    uint16_t m_wNameForm = 0;

private:
    void FreeDirectory();
};
