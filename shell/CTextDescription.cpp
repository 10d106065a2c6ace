#include "shell/CTextDescription.h"

#include "common/DebugLog.h"

namespace {
constexpr const char* kTextDescriptionPath = "TextDescriptionScript\\%s\\TextDescriptionScript.tdc";
const CTextDescription* g_pInstalled = nullptr;
}  // namespace

bool CTextDescription::Load(const char* pszLanguage)
{
    Free();
    return ReadTextScript(kTextDescriptionPath, pszLanguage, "CTextDescription::Load",
                          [this](FILE* f) { return Read(f); });
}

bool CTextDescription::LoadFile(const char* pszPath)
{
    Free();
    return ReadTextScript(pszPath, nullptr, "CTextDescription::Load", [this](FILE* f) { return Read(f); });
}

bool CTextDescription::LoadStream(FILE* pFile)
{
    Free();
    return Read(pFile);
}

bool CTextDescription::Read(FILE* pFile)
{
    CBinaryReader reader(pFile);
    uint32_t dwUnused = 0;
    uint32_t dwIndexCount = 0;
    uint32_t dwStringSize = 0;
    uint32_t dwRecordCount = 0;
    uint32_t dwCapacity = 0;
    reader.ReadU32(dwUnused);
    reader.ReadU32(dwIndexCount);
    reader.ReadU32(dwStringSize);
    reader.ReadU32(dwRecordCount);
    reader.ReadU32(dwCapacity);
    if (reader.Failed() || dwCapacity < dwIndexCount || !reader.CheckCount(dwIndexCount, 4) ||
        !reader.CheckCount(dwRecordCount, 8))
        return false;
    std::vector<uint32_t> index(dwIndexCount);
    for (uint32_t& dwEntry : index)
        reader.ReadU32(dwEntry);
    std::vector<uint32_t> offsets(dwRecordCount);
    m_Records.resize(dwRecordCount);
    for (uint32_t i = 0; i < dwRecordCount; ++i) {
        reader.ReadI16(m_Records[i].x);
        reader.ReadI16(m_Records[i].y);
        reader.ReadU32(offsets[i]);
    }
    bool bValid = !reader.Failed() && m_Strings.Read(reader, dwStringSize) && reader.Remaining() == 0;
    // A record with -1 in either field ends a run and carries no text.
    for (uint32_t i = 0; bValid && i < dwRecordCount; ++i) {
        TEXTDESCRIPTIONRECORD& record = m_Records[i];
        const bool bEnd = record.x == -1 || record.y == -1;
        bValid = bEnd || m_Strings.IsValidOffset(offsets[i]);
        record.pszText = bEnd ? nullptr : m_Strings.At(offsets[i]);
        if (bEnd)
            record.x = -1;
    }
    // Every run must end inside the table.
    for (uint32_t i = 0; bValid && i < dwIndexCount; ++i) {
        if (index[i] == kNone)
            continue;
        uint32_t dwRecord = index[i] / 4;
        bValid = index[i] % 4 == 0 && dwRecord < dwRecordCount;
        while (bValid && m_Records[dwRecord].x != -1)
            bValid = ++dwRecord < dwRecordCount;
        index[i] /= 4;
    }
    if (!bValid) {
        Free();
        return false;
    }
    m_Index = std::move(index);
    m_bLoaded = true;
    return true;
}

void CTextDescription::Free()
{
    if (g_pInstalled == this) {
        g_pInstalled = nullptr;
        SetTextDescriptionHandler(nullptr);
    }
    m_Records.clear();
    m_Index.clear();
    m_Strings.Free();
    m_bLoaded = false;
}

const TEXTDESCRIPTIONRECORD* CTextDescription::GetTextDescription(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_Index.size()) || m_Index[nIndex] == kNone)
        return nullptr;
    return &m_Records[m_Index[nIndex]];
}

void CTextDescription::Install()
{
    g_pInstalled = this;
    SetTextDescriptionHandler([this](int nIndex) { return GetTextDescription(nIndex); });
}
