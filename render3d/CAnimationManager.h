#pragma once
// The skeletal animations of one object data's skinned objects, imported from
// precalculated animation files (CPaFile): every key of every bone holds the
// bone's whole transform, so playing needs no hierarchy walk and no
// interpolation. Animations are referred to by the u16 index the import gives
// (ANIMATION_IMPORT_FAILED when it failed). The bone names are the object
// data's shared table.
#include "common/CPointerArray.h"
#include "render3d/RenderTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CObjectData;

constexpr uint16_t ANIMATION_IMPORT_FAILED = 9999;

struct ANIMATIONKEY {
    D3DMATRIX matrix;
    uint16_t frame;
};

// A displacement in the file's axes (y up) at a frame.
struct ROOTKEY {
    float x, y, z;
    uint16_t frame;
};

struct BONETRACK {
    std::vector<ANIMATIONKEY> keys;
    D3DMATRIX matrix;  // identity with the bone's translation in row 3 (not for slot 0)
    uint16_t nameId = 0;
};

struct ANIMATION {
    std::vector<BONETRACK> bones;  // by bone slot
    std::unique_ptr<BONETRACK> propMatrixTrack;
    std::vector<ROOTKEY> rootTrack;
    std::vector<ROOTKEY> propPositionTrack;
    uint16_t boneCount = 0;
    uint16_t lastFrame = 0;
    uint16_t header = 0;
    uint16_t firstFrame = 1000;  // 1000 when no track had keys
};

class CAnimationManager {
public:
    CAnimationManager(CObjectData& objects, uint16_t wCapacity);
    ~CAnimationManager();
    CAnimationManager(const CAnimationManager&) = delete;
    CAnimationManager& operator=(const CAnimationManager&) = delete;

    // Null when the index is not below the count.
    const ANIMATION* GetAnimation(uint16_t wIndex) const;
    uint16_t GetAnimationCount() const { return m_wCount; }
    // The last root key (file axes) and the heading change of the last key of
    // bone slot 0; false without the animation or its root track.
    bool GetAnimationDisplacement(uint16_t wIndex, float* pXYZ, float* pHeading) const;
    // Reads a .pa file (by game path) for a skinned object; logs and gives
    // ANIMATION_IMPORT_FAILED when the object or the file is not usable.
    uint16_t ImportPrecalculatedAnimation(const char* pszFileName, uint16_t wObject);
    // The same from bytes already in memory; the name only labels messages.
    uint16_t ImportPrecalculatedAnimation(const uint8_t* pBytes, size_t nSize, const char* pszName,
                                          uint16_t wObject);

    // The bone names of the object data's skinned objects (CBoneNameTable).
    uint16_t RegisterBoneName(const std::string& name, uint8_t ucSlot);
    uint16_t FindBoneName(const std::string& name) const;
    bool GetBoneSlot(uint16_t wNameId, uint8_t* pucSlot) const;
    std::string GetBoneName(uint16_t wIndex) const;

private:
    CObjectData& m_Objects;
    CPointerArray m_Animations;
    uint16_t m_wCount = 0;
};
