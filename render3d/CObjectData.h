#pragma once
// The 3-D objects one view has loaded from .x files, referred to by a u16
// index (OBJECT_NOT_FOUND when a load gave nothing). A static object keeps its
// geometry as a `CXMeshFrame` and mesh records ready for a draw list, one per
// (material, texture) pair of its faces; further top-level frames of its file
// are its further levels of detail, chosen by a list of thresholds. A skinned
// object keeps its merged geometry and a skeleton: one bone per frame of the
// file, numbered depth-first, each moving the vertices of its frame's mesh;
// its levels of detail are further files, their bones matched by name.
#include "common/CPointerArray.h"
#include "render3d/CBoneNameTable.h"
#include "render3d/RenderTypes.h"

#include <memory>
#include <string>
#include <vector>

class CAnimationManager;
class CXBoneFrame;
class CXMeshFrame;
struct XFrameData;

constexpr uint16_t OBJECT_NOT_FOUND = 4095;

class CObjectData {
public:
    explicit CObjectData(uint16_t wCapacity);
    ~CObjectData();
    CObjectData(const CObjectData&) = delete;
    CObjectData& operator=(const CObjectData&) = delete;

    // With reuse set an object already loaded from the same name is given back.
    uint16_t Load(const char* pszFileName, uint8_t ucReuse);
    // Vertices in the file are where the bones stand at rest; a frame's
    // transform gives only its joint (the translation). At most bone-count
    // frames (and 255); frames named with "pec", "abdomen" or "neck" keep no mesh.
    uint16_t LoadSkinned(const char* pszFileName, uint16_t wBoneCount);
    // One more level of detail of a skinned object from another file.
    void AddLevel(uint16_t wObject, const char* pszFileName, uint16_t wBoneCount);
    // Thresholds from the largest value down, one per level; a count other
    // than the object's levels is logged and the smaller count kept.
    void SetLevelOfDetailList(uint16_t wObject, uint16_t wWanted, const uint16_t* pThresholds);
    // The first level whose threshold the value reaches; the last level when none.
    uint16_t SelectLevel(uint16_t wObject, uint16_t wValue) const;
    // Exact name, case counting.
    uint16_t FindObject(const char* pszFileName) const;
    // Levels after the first; 0 for an unknown index.
    uint16_t GetLevelCount(uint16_t wObject) const;

    uint16_t GetObjectCount() const { return m_wCount; }
    // Zero records, and null, for an unknown index.
    uint8_t GetMeshRecordCount(uint16_t wObject) const;
    ITEMMESHINFORMATION* GetMeshRecord(uint16_t wObject, uint8_t ucRecord) const;
    const CXMeshFrame* GetMeshFrame(uint16_t wObject) const;
    // The bone table (one per slot, null where no frame gave one) of a level
    // of a skinned object; null otherwise.
    const std::vector<CXBoneFrame*>* GetBoneTable(uint16_t wObject, uint16_t wLevel) const;
    CBoneNameTable& GetBoneNames() { return m_BoneNames; }
    // The animations of the skinned objects (capacity 10 to begin with).
    CAnimationManager& GetAnimationManager() { return *m_pAnimations; }

private:
    struct ObjectEntry {
        std::vector<ITEMMESHINFORMATION> records;
        std::vector<std::vector<D3DVERTEX>> recordVertices;
        std::vector<std::vector<uint16_t>> recordIndices;
        CXMeshFrame* pMeshFrame = nullptr;
        std::string fileName;
        uint8_t ucLevelCount = 0;
        bool bHasMeshRecords = false;
        std::vector<uint16_t> thresholds;
        bool bThresholdsSet = false;
        uint8_t ucBoneCount = 0;
        std::vector<std::vector<CXBoneFrame*>> boneLevels;  // the base level's table first
    };
    struct SkeletonRead;
    // The mesh frame and bone table of a skinned file; false (logged) when the
    // file is unreadable, has too many frames or gives no vertices.
    bool ReadSkeletonFile(const char* pszFileName, uint16_t wBoneCount, CXMeshFrame** ppFrame,
                          std::vector<CXBoneFrame*>* pBones);
    bool ReadSkeletonFrame(const XFrameData& frame, uint16_t wParentSlot, SkeletonRead& read);
    static void DeleteEntry(ObjectEntry* pEntry);
    ObjectEntry* Entry(uint16_t wObject) const;
    static bool BuildMeshRecords(ObjectEntry& entry);

    CBoneNameTable m_BoneNames;
    std::unique_ptr<CAnimationManager> m_pAnimations;
    CPointerArray m_Objects;
    uint16_t m_wCount = 0;
};
