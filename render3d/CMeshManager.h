#pragma once
// One draw list of the engine: mesh records and billboards to draw each frame,
// sorted once by their draw-order key; see-through records with the default
// key are drawn after everything else of the list. The list never owns the
// objects.
#include "common/CPointerArray.h"
#include "render3d/RenderTypes.h"

constexpr uint8_t MESH_ENTRY_RECORD = 0;
constexpr uint8_t MESH_ENTRY_BILLBOARD = 1;
constexpr uint8_t MESH_ENTRY_MODEL = 2;  // a CModel, asked for each of its meshes
constexpr uint32_t MESH_ADD_REFUSED = 65000;

class CMeshManager {
public:
    CMeshManager();
    ~CMeshManager();
    CMeshManager(const CMeshManager&) = delete;
    CMeshManager& operator=(const CMeshManager&) = delete;

    // The new entry count, or MESH_ADD_REFUSED for a kind this list cannot draw.
    uint32_t Add(void* pObject, uint8_t ucKind);
    void Remove(void* pObject);
    void AddMeshCount(int32_t nDelta);
    void BuildDeferredList();
    void ClearSort();
    void Draw();

    uint32_t GetMeshCount() const { return m_dwMeshCount; }
    uint32_t GetEntryCount() const { return m_dwEntryCount; }
    bool IsSorted() const { return m_bSorted; }
    // The object of an entry in the current order; null outside the list.
    void* GetEntryObject(uint32_t dwIndex) const;

private:
    struct MeshEntry {
        void* pObject;
        uint8_t ucKind;
        uint8_t ucMeshes;  // the meshes it added to the count
    };
    MeshEntry* Entry(int nIndex) const;
    const ITEMMESHINFORMATION* EntryMesh(const MeshEntry* pEntry) const;
    void Candidate(ITEMMESHINFORMATION* pMesh);

    bool m_bSorted = false;
    uint32_t m_dwMeshCount = 0;
    uint32_t m_dwEntryCount = 0;
    CPointerArray m_Entries;
    uint16_t m_wDeferredCount = 0;
    ITEMMESHINFORMATION** m_ppDeferred = nullptr;
    uint32_t m_dwDeferredRoom = 0;
};
