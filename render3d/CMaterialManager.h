#pragma once
// The materials of one engine, shared: adding a description equal in all its
// bytes to a known one gives the known index. Meshes name materials by index;
// NO_MATERIAL (6500) means none.
#include "common/CPointerArray.h"
#include "render3d/RenderTypes.h"

class CMaterialManager {
public:
    explicit CMaterialManager(int nCapacity);
    ~CMaterialManager();
    CMaterialManager(const CMaterialManager&) = delete;
    CMaterialManager& operator=(const CMaterialManager&) = delete;

    uint16_t AddMaterial(const D3DMATERIAL* pMaterial);
    // MATERIAL_NOT_FOUND when no record has the same 80 bytes.
    uint16_t FindMaterial(const D3DMATERIAL* pMaterial) const;
    // Indices at or above the count leave the material last set in effect.
    void SetCurrentMaterial(uint16_t wIndex);
    void ResetCurrent() { m_wCurrent = NO_MATERIAL; }
    void ReleaseMaterials();
    void RestoreMaterials();

    uint16_t GetCount() const { return m_wCount; }
    uint16_t GetCurrent() const { return m_wCurrent; }
    // Whether the record has its device material (false after ReleaseMaterials).
    bool IsLive(uint16_t wIndex) const;

private:
    struct MaterialRecord {
        D3DMATERIAL* pDescription;
        bool bLive;
        uint32_t* pHandle;
    };
    MaterialRecord* Record(uint16_t wIndex) const;

    uint16_t m_wCount = 0;
    uint16_t m_wCurrent = NO_MATERIAL;
    CPointerArray* m_pMaterials;
};
