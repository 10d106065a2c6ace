#pragma once
// Precalculated animation files (".pa"), little-endian, with no magic and no
// length: a header word, one block per bone slot of the object (its bone name
// id, its keys, and then the root track for slot 0 or the bone's translation
// for the others), then the held object's position entries and, when there are
// any, its matrix keys. Every key holds a bone's whole transform. The reader
// bounds every read by the bytes it has and refuses a block whose bone name id
// the object does not know; the writer writes the same layout, so the tools'
// files and the game's reader agree.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PaKey {
    uint16_t frame = 0;
    float rows[4][3] = {};  // rows 0-3 of the 4 x 4 matrix; column 3 is 0, 0, 0, 1
};

struct PaRootKey {
    uint16_t frame = 0;
    float x = 0, y = 0, z = 0;
};

struct PaBoneBlock {
    uint16_t nameId = 0;
    uint8_t slot = 0;  // from the name id; the root track belongs to slot 0
    std::vector<PaKey> keys;
    std::vector<PaRootKey> rootKeys;  // slot 0 only
    float translation[3] = {};        // other slots only
};

struct PaFileData {
    uint16_t header = 0;
    std::vector<PaBoneBlock> bones;  // in file order
    std::vector<PaRootKey> propPositions;
    std::vector<PaKey> propKeys;  // only written when there are prop positions
};

class CPaFile {
public:
    static constexpr size_t kKeyBytes = 50;
    static constexpr size_t kRootKeyBytes = 14;

    // Gives the bone slot of a bone name id; false for an id it does not know.
    using SlotOfName = std::function<bool(uint16_t nameId, uint8_t* pSlot)>;

    // Reads exactly boneCount bone blocks. False, with the reason in *pError,
    // when a read would pass the end, a name id is unknown, its slot is not
    // below the bone count or is given twice, or a bone has no keys.
    static bool Read(const uint8_t* pBytes, size_t nSize, uint16_t wBoneCount, const SlotOfName& slotOf,
                     PaFileData* pOut, std::string* pError);
    static std::vector<uint8_t> Write(const PaFileData& data);
};
