#include "editor/CNameTable.h"

#include "editor/CEditorProgress.h"
#include "editor/PersonNames.h"

#include "common/DebugLog.h"
#include "database/CNameDictionary.h"

#include <cstring>

namespace {

// The people a pass over one kind of name reaches at most: the name bar's
// range for that pass.
int PeopleInReach(CDatabaseHandler& handler, int nDictionary)
{
    const int nPeople = handler.GetPlayerTableSize() + handler.GetManagerTableSize();
    return nDictionary == NAMEDICTIONARY_LAST ? nPeople + handler.GetStaffTableSize() : nPeople;
}

}  // namespace

bool CNameTable::LoadFromDictionary(const CNameDictionary& dictionary, CEditorProgress* pProgress)
{
    Free();
    if (pProgress)
        pProgress->SetNameRange(dictionary.GetCount(), 10);
    for (int i = 0; i < dictionary.GetCount(); ++i) {
        if (pProgress && i > 0 && i % 10 == 0)
            pProgress->StepNames();
        const char* pszName = dictionary.GetName(i);
        if (!m_Names.empty() && std::strcmp(m_Names.back()->c_str(), pszName) >= 0) {
            DebugLog(0, "[CNameTable::LoadFromDictionary] \"%s\" is out of order", pszName);
            Free();
            return false;
        }
        m_Names.push_back(std::make_unique<std::string>(pszName));
        m_nTotalSize += static_cast<uint32_t>(m_Names.back()->size() + 1);
    }
    return true;
}

void CNameTable::Free()
{
    m_Names.clear();
    m_nTotalSize = 0;
}

const char* CNameTable::GetName(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_Names[static_cast<size_t>(nIndex)]->c_str() : nullptr;
}

int CNameTable::IndexOf(const char* pszName, bool& bFound) const
{
    // strcmp orders by unsigned bytes, as the dictionary files are sorted.
    int nLow = 0, nHigh = GetCount();
    while (nLow < nHigh) {
        const int nMiddle = (nLow + nHigh) / 2;
        if (std::strcmp(m_Names[static_cast<size_t>(nMiddle)]->c_str(), pszName) < 0)
            nLow = nMiddle + 1;
        else
            nHigh = nMiddle;
    }
    bFound = nLow < GetCount() && *m_Names[static_cast<size_t>(nLow)] == pszName;
    return nLow;
}

const char* CNameTable::Find(const char* pszName) const
{
    bool bFound = false;
    const int nIndex = IndexOf(pszName, bFound);
    return bFound ? m_Names[static_cast<size_t>(nIndex)]->c_str() : nullptr;
}

bool CNameTable::FindOrInsert(const char* pszName, const char** ppName)
{
    const size_t nLength = pszName ? std::strlen(pszName) : 0;
    if (nLength == 0 || nLength > CNameDictionary::kMaxNameLength) {
        DebugLog(0, "[CNameTable::FindOrInsert] \"%s\" cannot be a name", pszName ? pszName : "");
        return false;
    }
    bool bFound = false;
    const int nIndex = IndexOf(pszName, bFound);
    if (!bFound) {
        m_Names.insert(m_Names.begin() + nIndex, std::make_unique<std::string>(pszName));
        m_nTotalSize += static_cast<uint32_t>(nLength + 1);
    }
    *ppName = m_Names[static_cast<size_t>(nIndex)]->c_str();
    return true;
}

void CNameTable::RelinkRecords(CDatabaseHandler& handler, CEditorProgress* pProgress)
{
    const int nDictionary = m_nKind == KIND_FIRST ? NAMEDICTIONARY_FIRST : NAMEDICTIONARY_LAST;
    if (pProgress)
        pProgress->SetNameRange(PeopleInReach(handler, nDictionary), 1);
    ForEachPersonName(handler, nDictionary, [&](const char*& pszName, uint32_t&) {
        if (pProgress)
            pProgress->StepNames();
        // An empty name stays the shared empty name; a name outside the table
        // joins it, so that the pointer never outlives the text it names.
        if (*pszName != '\0' && !FindOrInsert(pszName, &pszName))
            DebugLog(0, "[CNameTable::RelinkRecords] \"%s\" kept outside the table", pszName);
    });
}

bool CNameTable::GetOffset(const char* pszName, uint32_t& dwOffset) const
{
    bool bFound = false;
    const int nIndex = IndexOf(pszName, bFound);
    if (!bFound)
        return false;
    uint32_t dwSum = 0;
    for (int i = 0; i < nIndex; ++i)
        dwSum += static_cast<uint32_t>(m_Names[static_cast<size_t>(i)]->size() + 1);
    dwOffset = dwSum;
    return true;
}

void CNameTable::ComputeNameOffsets(CDatabaseHandler& handler, CEditorProgress* pProgress) const
{
    // Offsets by the table's own copies: one pass over the table, then a
    // halving search per record.
    std::vector<uint32_t> offsets(m_Names.size());
    uint32_t dwSum = 0;
    for (size_t i = 0; i < m_Names.size(); ++i) {
        offsets[i] = dwSum;
        dwSum += static_cast<uint32_t>(m_Names[i]->size() + 1);
    }
    const int nDictionary = m_nKind == KIND_FIRST ? NAMEDICTIONARY_FIRST : NAMEDICTIONARY_LAST;
    if (pProgress)
        pProgress->SetNameRange(PeopleInReach(handler, nDictionary), 1);
    ForEachPersonName(handler, nDictionary, [&](const char*& pszName, uint32_t& dwOffset) {
        if (pProgress)
            pProgress->StepNames();
        bool bFound = false;
        const int nIndex = *pszName ? IndexOf(pszName, bFound) : 0;
        if (bFound)
            dwOffset = offsets[static_cast<size_t>(nIndex)];
    });
}

bool CNameTable::Write(FILE* pFile) const
{
    std::vector<std::string> names;
    names.reserve(m_Names.size());
    for (const auto& pName : m_Names)
        names.push_back(*pName);
    return CNameDictionary::Write(pFile, names);
}
