#include "shell/CTableText.h"

#include "common/DebugLog.h"
#include "common/ShellServices.h"

#include <algorithm>

namespace {
constexpr const char* kTableTextPath = "TableTextScript\\%s\\TableTextScript.ttc";
constexpr int kPlanNameSet = 114;
constexpr int kPlanNameItem = 24;
const CTableText* g_pInstalled = nullptr;
}  // namespace

bool CTableText::Load(const char* pszLanguage)
{
    Free();
    return ReadTextScript(kTableTextPath, pszLanguage, "CTableText::Load", [this](FILE* f) { return Read(f); });
}

bool CTableText::LoadFile(const char* pszPath)
{
    Free();
    return ReadTextScript(pszPath, nullptr, "CTableText::Load", [this](FILE* f) { return Read(f); });
}

bool CTableText::LoadStream(FILE* pFile)
{
    Free();
    return Read(pFile);
}

bool CTableText::Read(FILE* pFile)
{
    CBinaryReader reader(pFile);
    uint32_t dwUnused = 0;
    uint32_t dwSetCount = 0;
    uint32_t dwStringSize = 0;
    uint32_t dwItemSize = 0;
    uint32_t dwSetSize = 0;
    reader.ReadU32(dwUnused);
    reader.ReadU32(dwSetCount);
    reader.ReadU32(dwStringSize);
    reader.ReadU32(dwItemSize);
    reader.ReadU32(dwSetSize);
    if (reader.Failed() || dwSetCount != kSetCount) {
        DebugLog(1, "[CTableText::Load] The table text set count is %u, not %d", dwSetCount, kSetCount);
        return false;
    }
    if (dwSetSize != kSetCount * 4 || dwItemSize == 0 || dwItemSize % 4 != 0 || !reader.CheckCount(dwItemSize / 4, 4))
        return false;
    std::vector<uint32_t> setStarts(kSetCount);
    std::vector<uint32_t> items(dwItemSize / 4);
    for (uint32_t& dwStart : setStarts)
        reader.ReadU32(dwStart);
    for (uint32_t& dwItem : items)
        reader.ReadU32(dwItem);
    if (reader.Failed() || !m_Strings.Read(reader, dwStringSize) || reader.Remaining() != 0) {
        Free();
        return false;
    }
    for (uint32_t dwItem : items)
        if (!m_Strings.IsValidOffset(dwItem)) {
            Free();
            return false;
        }
    // A set runs from its start to the next set's start (or the table's end)
    // and closes with a null item, which bounds every look-up.
    std::vector<uint32_t> sortedStarts;
    for (uint32_t dwStart : setStarts) {
        if (dwStart % 4 != 0 || dwStart / 4 >= items.size()) {
            Free();
            return false;
        }
        sortedStarts.push_back(dwStart / 4);
    }
    std::sort(sortedStarts.begin(), sortedStarts.end());
    m_Sets.resize(kSetCount);
    for (int nSet = 0; nSet < kSetCount; ++nSet) {
        const uint32_t dwFirst = setStarts[nSet] / 4;
        const auto next = std::upper_bound(sortedStarts.begin(), sortedStarts.end(), dwFirst);
        const uint32_t dwEnd = next == sortedStarts.end() ? static_cast<uint32_t>(items.size()) : *next;
        if (items[dwEnd - 1] != 0) {
            Free();
            return false;
        }
        for (uint32_t i = dwFirst; i < dwEnd; ++i)
            m_Sets[nSet].push_back(m_Strings.At(items[i]));
    }
    return true;
}

void CTableText::Free()
{
    if (g_pInstalled == this) {
        g_pInstalled = nullptr;
        SetTableTextHandler(nullptr);
    }
    m_Sets.clear();
    m_Strings.Free();
}

const char* const* CTableText::GetTableTextSet(int nSet, int* pnCount) const
{
    if (pnCount)
        *pnCount = 0;
    if (nSet < 0 || nSet >= static_cast<int>(m_Sets.size()))
        return nullptr;
    if (pnCount)
        *pnCount = static_cast<int>(m_Sets[nSet].size()) - 1;
    return m_Sets[nSet].data();
}

const char* CTableText::GetTableText(int nSet, int nItem) const
{
    int nCount = 0;
    const char* const* ppItems = GetTableTextSet(nSet, &nCount);
    return ppItems && nItem >= 0 && nItem < nCount ? ppItems[nItem] : nullptr;
}

void CTableText::Install()
{
    g_pInstalled = this;
    SetTableTextHandler([this](int nSet, int* pnCount) { return GetTableTextSet(nSet, pnCount); });
}

const char* GetTableText(int nSet, int nItem)
{
    return g_pInstalled ? g_pInstalled->GetTableText(nSet, nItem) : nullptr;
}

const char* GetTableTextOrEmpty(int nSet, int nItem)
{
    const char* pszText = GetTableText(nSet, nItem);
    return pszText ? pszText : "";
}

const char* GetDefaultPlanName()
{
    return GetTableText(kPlanNameSet, kPlanNameItem);
}
