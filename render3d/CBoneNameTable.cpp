#include "render3d/CBoneNameTable.h"

#include <cctype>

namespace {

std::string Lower(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

uint16_t CBoneNameTable::RegisterBoneName(const std::string& name, uint8_t ucSlot)
{
    const uint16_t wFound = FindBoneName(name);
    if (wFound != BONE_NAME_NOT_FOUND)
        return wFound;
    if (m_Entries.size() + 1 >= BONE_NAME_NOT_FOUND)
        return BONE_NAME_NOT_FOUND;  // ids stay below the marker
    m_Entries.push_back({Lower(name), ucSlot});
    return static_cast<uint16_t>(m_Entries.size());
}

uint16_t CBoneNameTable::FindBoneName(const std::string& name) const
{
    const std::string lower = Lower(name);
    for (size_t i = 0; i < m_Entries.size() && i + 1 < BONE_NAME_NOT_FOUND; ++i)
        if (m_Entries[i].lowerName == lower)
            return static_cast<uint16_t>(i + 1);
    return BONE_NAME_NOT_FOUND;
}

bool CBoneNameTable::GetBoneSlot(uint16_t wNameId, uint8_t* pucSlot) const
{
    if (wNameId == 0 || wNameId > m_Entries.size())
        return false;
    *pucSlot = m_Entries[wNameId - 1].ucSlot;
    return true;
}

std::string CBoneNameTable::GetBoneName(uint16_t wIndex) const
{
    return wIndex < m_Entries.size() ? m_Entries[wIndex].lowerName : std::string();
}
