#include "shell/CControlText.h"

#include "common/DebugLog.h"

namespace {
constexpr const char* kControlScriptPath = "ControlsScripts\\%s\\ControlScript.csc";
}

bool CControlText::Load(const char* pszLanguage)
{
    Free();
    return ReadTextScript(kControlScriptPath, pszLanguage, "CControlText::Load", [this](FILE* f) { return Read(f); });
}

bool CControlText::LoadFile(const char* pszPath)
{
    Free();
    return ReadTextScript(pszPath, nullptr, "CControlText::Load", [this](FILE* f) { return Read(f); });
}

bool CControlText::LoadStream(FILE* pFile)
{
    Free();
    return Read(pFile);
}

bool CControlText::Read(FILE* pFile)
{
    CBinaryReader reader(pFile);
    uint16_t wUnused = 0;
    uint16_t wCount = 0;
    uint32_t dwSize = 0;
    reader.ReadU16(wUnused);
    reader.ReadU16(wCount);
    reader.ReadU32(dwSize);
    if (reader.Failed() || wCount != kEntryCount) {
        DebugLog(1, "[CControlText::Load] The control text count is %u, not %d", wCount, kEntryCount);
        return false;
    }
    std::vector<uint32_t> offsets(2 * kEntryCount);
    if (reader.CheckCount(offsets.size(), 4))
        for (uint32_t& dwOffset : offsets)
            reader.ReadU32(dwOffset);
    const bool bBlock = !reader.Failed() && m_Strings.Read(reader, dwSize);
    bool bValid = bBlock && reader.Remaining() == 0;
    for (uint32_t dwOffset : offsets)
        bValid = bValid && m_Strings.IsValidOffset(dwOffset);
    if (!bValid) {
        Free();
        return false;
    }
    m_Entries.resize(kEntryCount);
    for (int i = 0; i < kEntryCount; ++i)
        m_Entries[i] = {m_Strings.At(offsets[2 * i]), m_Strings.At(offsets[2 * i + 1])};
    return true;
}

void CControlText::Free()
{
    m_Entries.clear();
    m_Strings.Free();
}

const CONTROLTEXT* CControlText::GetControlText(int nId) const
{
    return nId >= 0 && nId < static_cast<int>(m_Entries.size()) ? &m_Entries[nId] : nullptr;
}

const char* CControlText::GetText(int nId) const
{
    const CONTROLTEXT* pEntry = GetControlText(nId);
    return pEntry ? pEntry->pszText : nullptr;
}

const char* CControlText::GetTooltip(int nId) const
{
    const CONTROLTEXT* pEntry = GetControlText(nId);
    return pEntry ? pEntry->pszTooltip : nullptr;
}
