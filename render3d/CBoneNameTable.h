#pragma once
// The bone names of the skinned objects, shared by all of them: each name
// (compared without regard to case, kept lower-cased) has a 1-based id and the
// skeleton slot the object reader gave it when the name was first registered.
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t BONE_NAME_NOT_FOUND = 999;

class CBoneNameTable {
public:
    // The name's id; a new name is added with the slot (BONE_NAME_NOT_FOUND
    // once the ids would reach it).
    uint16_t RegisterBoneName(const std::string& name, uint8_t ucSlot);
    // BONE_NAME_NOT_FOUND without a match.
    uint16_t FindBoneName(const std::string& name) const;
    // False for an id not in the table.
    bool GetBoneSlot(uint16_t wNameId, uint8_t* pucSlot) const;
    // Entry n (0-based); empty beyond the count.
    std::string GetBoneName(uint16_t wIndex) const;
    uint16_t GetCount() const { return static_cast<uint16_t>(m_Entries.size()); }

private:
    struct Entry {
        std::string lowerName;
        uint8_t ucSlot;
    };
    std::vector<Entry> m_Entries;
};
