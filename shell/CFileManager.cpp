#include "shell/CFileManager.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "platform/Files.h"

#include <cstring>

int CompareBFSNames(const char* pszA, const char* pszB)
{
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    for (;; ++pszA, ++pszB) {
        const int a = lower(static_cast<unsigned char>(*pszA));
        const int b = lower(static_cast<unsigned char>(*pszB));
        if (a != b || a == 0)
            return a - b;
    }
}

CFileManager::~CFileManager()
{
    if (m_pFile)
        std::fclose(m_pFile);
    FreeDirectory();
}

void CFileManager::FreeDirectory()
{
    delete[] m_pShortDirectory;
    delete[] m_pLongDirectory;
    m_pShortDirectory = nullptr;
    m_pLongDirectory = nullptr;
    m_nCount = 0;
}

bool CFileManager::Open(const char* pszFileName)
{
    if (m_pFile) {
        DebugLog(0, "[CFileManager::Open] There is already a file open.");
        return false;
    }
    FILE* pFile = pszFileName ? plat::openFile(pszFileName, "rb") : nullptr;
    if (!pFile) {
        DebugLog(0, "[CFileManager::Open] Could not open : %s", pszFileName ? pszFileName : "(null)");
        return false;
    }
    CBinaryReader reader(pFile);
    const int64_t nFileSize = reader.Remaining();
    reader.ReadBytes(m_Header, sizeof m_Header);
    const uint16_t wCount = static_cast<uint16_t>(m_Header[4] | (m_Header[5] << 8));
    const uint16_t wNameForm = static_cast<uint16_t>(m_Header[6] | (m_Header[7] << 8));
    const size_t nNameLength = wNameForm ? sizeof(BFSLONGENTRY::szName) : sizeof(BFSSHORTENTRY::szName);
    const char* pszProblem = nullptr;
    if (reader.Failed())
        pszProblem = "the header is cut short";
    else if (!reader.CheckCount(wCount, 8 + nNameLength))
        pszProblem = "the directory is longer than the file";
    BFSSHORTENTRY* pShort = nullptr;
    BFSLONGENTRY* pLong = nullptr;
    if (!pszProblem) {
        if (wNameForm)
            pLong = new BFSLONGENTRY[wCount > 0 ? wCount : 1];
        else
            pShort = new BFSSHORTENTRY[wCount > 0 ? wCount : 1];
    }
    const char* pszPrevious = nullptr;
    for (int i = 0; !pszProblem && i < wCount; ++i) {
        uint32_t dwOffset = 0, dwSize = 0;
        char* pszName = wNameForm ? pLong[i].szName : pShort[i].szName;
        reader.ReadU32(dwOffset);
        reader.ReadU32(dwSize);
        reader.ReadBytes(pszName, nNameLength);
        if (wNameForm) {
            pLong[i].dwOffset = dwOffset;
            pLong[i].dwSize = dwSize;
        } else {
            pShort[i].dwOffset = dwOffset;
            pShort[i].dwSize = dwSize;
        }
        if (reader.Failed())
            pszProblem = "the directory is cut short";
        else if (std::memchr(pszName, 0, nNameLength) == nullptr || pszName[0] == 0)
            pszProblem = "a member name is empty or not terminated";
        else if (static_cast<int64_t>(dwOffset) + dwSize > nFileSize)
            pszProblem = "a member lies beyond the end of the file";
        // Members are found by a binary search: the directory must be in order.
        else if (pszPrevious && CompareBFSNames(pszPrevious, pszName) >= 0)
            pszProblem = "the directory is not sorted by name";
        pszPrevious = pszName;
    }
    if (pszProblem) {
        DebugLog(0, "[CFileManager::Open] Damaged archive %s: %s", pszFileName, pszProblem);
        delete[] pShort;
        delete[] pLong;
        std::fclose(pFile);
        return false;
    }
    m_pFile = pFile;
    m_nCount = wCount;
    m_wNameForm = wNameForm;
    m_pShortDirectory = pShort;
    m_pLongDirectory = pLong;
    return true;
}

void CFileManager::Close()
{
    if (!m_pFile) {
        DebugLog(0, "[CFileManager::Close] Cannot close file, no file is open");
        return;
    }
    std::fclose(m_pFile);
    m_pFile = nullptr;
    FreeDirectory();
}

const char* CFileManager::GetEntryName(int nIndex) const
{
    if (!m_pFile || nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    return m_wNameForm ? m_pLongDirectory[nIndex].szName : m_pShortDirectory[nIndex].szName;
}

FILE* CFileManager::Get(const char* pszName, long* pnSize, bool* pbFound)
{
    if (pbFound)
        *pbFound = false;
    if (!m_pFile) {
        DebugLog(0, "[CFileManager::Get] Cannot get file, no file is open.");
        return m_pFile;
    }
    if (pszName && m_nCount > 0) {
        int nLow = 0, nHigh = m_nCount;
        bool bLastPass = false;
        while (!bLastPass) {
            bLastPass = nHigh - nLow < 2;
            const int nMiddle = (nLow + nHigh) / 2;
            const int nCompare = CompareBFSNames(pszName, GetEntryName(nMiddle));
            if (nCompare > 0) {
                nLow = nMiddle;
            } else if (nCompare < 0) {
                nHigh = nMiddle;
            } else {
                const uint32_t dwOffset =
                    m_wNameForm ? m_pLongDirectory[nMiddle].dwOffset : m_pShortDirectory[nMiddle].dwOffset;
                const uint32_t dwSize = m_wNameForm ? m_pLongDirectory[nMiddle].dwSize : m_pShortDirectory[nMiddle].dwSize;
                if (std::fseek(m_pFile, static_cast<long>(dwOffset), SEEK_SET) != 0) {
                    DebugLog(0, "[CFileManager::Get] Could not seek to %s", pszName);
                    return m_pFile;
                }
                if (pnSize)
                    *pnSize = static_cast<long>(dwSize);
                if (pbFound)
                    *pbFound = true;
                return m_pFile;
            }
        }
    }
    DebugLog(0, "[CFileManager::Get] Could not find Filename : %s", pszName ? pszName : "(null)");
    return m_pFile;
}
