#include "database/CNameDictionary.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"

#include <cstring>

void CNameDictionary::Free()
{
    delete[] m_ppIndex;
    delete[] m_pText;
    m_ppIndex = nullptr;
    m_pText = nullptr;
    m_nCount = 0;
    m_nTextSize = 0;
    std::memset(m_Header, 0, sizeof m_Header);
}

bool CNameDictionary::Load(const char* pszPath, bool bSorted)
{
    Free();
    FILE* pFile = plat::openFile(pszPath, "rb");
    if (!pFile) {
        DebugLog(0, "[CNameDictionary::Load] Cannot open %s", pszPath);
        return false;
    }
    CBinaryReader reader(pFile);
    uint32_t dwWords[3] = {};
    reader.ReadU32(dwWords[0]);
    reader.ReadU32(dwWords[1]);
    reader.ReadU32(dwWords[2]);
    const int64_t nTextSize = reader.Remaining();
    // Every name takes at least two bytes: one character and its NUL.
    if (reader.Failed() || dwWords[1] == 0 || nTextSize > 0x7FFFFFFF || !reader.CheckCount(dwWords[1], 2)) {
        DebugLog(0, "[CNameDictionary::Load] %s: bad header (count %u, %lld bytes of names)", pszPath, dwWords[1],
                 static_cast<long long>(nTextSize));
        std::fclose(pFile);
        return false;
    }
    char* pText = new char[static_cast<size_t>(nTextSize)];
    const bool bRead = reader.ReadBytes(pText, static_cast<size_t>(nTextSize));
    std::fclose(pFile);
    if (!bRead) {
        DebugLog(0, "[CNameDictionary::Load] %s: short read", pszPath);
        delete[] pText;
        return false;
    }

    const char** ppIndex = new const char*[dwWords[1]];
    size_t nPos = 0;
    const char* pszFault = nullptr;
    for (uint32_t i = 0; i < dwWords[1] && !pszFault; ++i) {
        const void* pEnd = std::memchr(pText + nPos, 0, static_cast<size_t>(nTextSize) - nPos);
        if (!pEnd) {
            pszFault = "fewer names than counted";
            break;
        }
        const size_t nLength = static_cast<const char*>(pEnd) - (pText + nPos);
        if (nLength == 0)
            pszFault = "empty name";
        else if (bSorted && i > 0 && std::strcmp(ppIndex[i - 1], pText + nPos) >= 0)
            pszFault = "names not in ascending order";
        ppIndex[i] = pText + nPos;
        nPos += nLength + 1;
    }
    if (!pszFault && nPos != static_cast<size_t>(nTextSize))
        pszFault = "more bytes than counted names";
    if (pszFault) {
        DebugLog(0, "[CNameDictionary::Load] %s: %s", pszPath, pszFault);
        delete[] ppIndex;
        delete[] pText;
        return false;
    }

    for (int i = 0; i < 3; ++i)
        for (int b = 0; b < 4; ++b)
            m_Header[i * 4 + b] = static_cast<uint8_t>(dwWords[i] >> (8 * b));
    m_nCount = dwWords[1];
    m_nTextSize = static_cast<uint32_t>(nTextSize);
    m_pText = pText;
    m_ppIndex = ppIndex;
    return true;
}

const char* CNameDictionary::GetName(int nIndex) const
{
    if (nIndex < 0 || static_cast<uint32_t>(nIndex) >= m_nCount)
        return nullptr;
    return m_ppIndex[nIndex];
}

const char* CNameDictionary::GetNameAtOffset(uint32_t dwOffset) const
{
    if (!m_pText || dwOffset >= m_nTextSize || m_pText[dwOffset] == 0)
        return nullptr;
    if (dwOffset > 0 && m_pText[dwOffset - 1] != 0)
        return nullptr;
    return m_pText + dwOffset;
}

bool CNameDictionary::FindName(const char* pszName, uint32_t& dwOffset, const char** ppName) const
{
    m_nLastSearchSteps = 0;
    if (m_nCount == 0 || !pszName)
        return false;
    uint32_t nLow = 0;
    uint32_t nHigh = m_nCount;
    for (;;) {
        const bool bLastStep = nHigh - nLow <= 1;
        const uint32_t nMid = (nLow + nHigh) / 2;
        ++m_nLastSearchSteps;
        const int nCompare = std::strcmp(pszName, m_ppIndex[nMid]);  // compares unsigned bytes
        if (nCompare == 0) {
            dwOffset = static_cast<uint32_t>(m_ppIndex[nMid] - m_pText);
            if (ppName)
                *ppName = m_ppIndex[nMid];
            return true;
        }
        if (nCompare > 0)
            nLow = nMid;
        else
            nHigh = nMid;
        if (bLastStep)
            return false;
    }
}

namespace {

// The block's size when every name can be written; 0 otherwise.
uint32_t CheckedTextSize(const char* pszWhere, const std::vector<std::string>& names)
{
    if (names.empty()) {
        DebugLog(0, "[CNameDictionary::Write] %s: no names", pszWhere);
        return 0;
    }
    uint32_t nTextSize = 0;
    for (const std::string& name : names) {
        if (name.empty() || name.size() > CNameDictionary::kMaxNameLength || name.find('\0') != std::string::npos) {
            DebugLog(0, "[CNameDictionary::Write] %s: bad name \"%s\"", pszWhere, name.c_str());
            return 0;
        }
        nTextSize += static_cast<uint32_t>(name.size() + 1);
    }
    return nTextSize;
}

}  // namespace

bool CNameDictionary::Write(FILE* pFile, const std::vector<std::string>& names)
{
    const uint32_t nTextSize = CheckedTextSize("file", names);
    if (nTextSize == 0 || !pFile)
        return false;
    CBinaryWriter writer(pFile);
    // Word 0 carries the size of the name block, word 2 is reserved.
    writer.WriteU32(nTextSize);
    writer.WriteU32(static_cast<uint32_t>(names.size()));
    writer.WriteU32(0);
    for (const std::string& name : names)
        writer.WriteBytes(name.c_str(), name.size() + 1);
    return !writer.Failed();
}

bool CNameDictionary::Write(const char* pszPath, const std::vector<std::string>& names)
{
    if (CheckedTextSize(pszPath, names) == 0)
        return false;
    const bool bOk = plat::writeFileSafely(pszPath, [&](FILE* pFile) { return Write(pFile, names); });
    if (!bOk)
        DebugLog(0, "[CNameDictionary::Write] Writing %s failed", pszPath);
    return bOk;
}
