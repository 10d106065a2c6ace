#include "shell/CConfigFile.h"

#include "common/DebugLog.h"
#include "platform/Files.h"

#include <cstdio>
#include <cstring>

namespace {
char* CopyText(const char* psz)
{
    const size_t n = std::strlen(psz);
    char* p = new char[n + 1];
    std::memcpy(p, psz, n + 1);
    return p;
}
}  // namespace

CConfigFile::CConfigFile(const char* pszFileName)
{
    FILE* pFile = pszFileName ? plat::openFile(pszFileName, "r") : nullptr;
    if (!pFile) {
        DebugLog(0, "Couldn't open config file '%s'. Using defaults.", pszFileName ? pszFileName : "(null)");
        return;
    }
    char szLine[160];
    while (std::fgets(szLine, sizeof szLine, pFile)) {
        if (char* pEnd = std::strchr(szLine, '\n')) {
            *pEnd = 0;
            // A line ending written as CR LF ends at the CR, as text mode reads it.
            if (pEnd > szLine && pEnd[-1] == '\r')
                pEnd[-1] = 0;
        }
        char* pEquals = std::strchr(szLine, '=');
        if (!pEquals) {
            DebugLog(0, "Bad line in config file:");
            DebugLog(0, "   '%s'", szLine);
            break;
        }
        *pEquals = 0;
        AddEntry(szLine, pEquals + 1);
    }
    // Closed also when a bad line ended the reading.
    std::fclose(pFile);
}

CConfigFile::~CConfigFile()
{
    for (CONFIGENTRY* pEntry : m_List.Items<CONFIGENTRY>()) {
        delete[] pEntry->pszKey;
        delete[] pEntry->pszValue;
        delete pEntry;
    }
    m_List.RemoveAll();
}

void CConfigFile::AddEntry(const char* pszKey, const char* pszValue)
{
    auto* pEntry = new CONFIGENTRY{CopyText(pszKey), CopyText(pszValue)};
    m_List.AddTail(pEntry);
}

CONFIGENTRY* CConfigFile::Find(const char* pszKey) const
{
    if (!pszKey)
        return nullptr;
    for (CONFIGENTRY* pEntry : m_List.Items<CONFIGENTRY>())
        if (std::strcmp(pEntry->pszKey, pszKey) == 0)
            return pEntry;
    return nullptr;
}

const char* CConfigFile::GetValue(const char* pszKey, const char* pszDefault) const
{
    const CONFIGENTRY* pEntry = Find(pszKey);
    return pEntry ? pEntry->pszValue : pszDefault;
}
