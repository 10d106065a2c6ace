#pragma once
// One placed instance of an object of CObjectData: its own mesh records, a
// world matrix from its position and heading, and for a skinned object the
// animation it plays (one current key per bone, stepped, not blended) and its
// level of detail. The mesh manager draws it as a model entry and asks it for
// its meshes one by one.
//
// World axes have z up; object and animation files have y up. With heading h
// (cosine c, sine s) a file point (x, y, z) goes to (x c - z s + px,
// -x s - z c + py, y + pz).
#include "render3d/RenderTypes.h"

#include <cstdint>
#include <vector>

class CObjectData;
class CAnimationManager;
struct ANIMATION;

// Flags of an animation request.
constexpr uint8_t ANIMREQ_USE_START_HEADING = 1;
constexpr uint8_t ANIMREQ_SCALE_X = 2;
constexpr uint8_t ANIMREQ_SCALE_Z = 4;

struct ANIMATIONREQUEST {
    float x = 0, y = 0, z = 0;
    float heading = 0;
    float startHeading = 0;
    float scale = 1;
    uint16_t animation = 0;
    uint16_t remainder = 0;  // ms below one frame
    uint16_t frameTime = 0;  // ms; 0 keeps the model's
    uint8_t flags = 0;
    uint8_t handledObjectMode = 0;  // 1 shown from its second key, 2 report the last key
};

class CModel {
public:
    // Creation flag: keep a plane (normal and distance) per triangle.
    static constexpr uint8_t CREATE_TRIANGLE_PLANES = 1;
    // Model flags.
    static constexpr uint8_t FLAG_SCALE_X = 2;
    static constexpr uint8_t FLAG_SCALE_Z = 4;
    static constexpr uint8_t FLAG_HANDLED_OBJECT = 8;
    static constexpr uint8_t FLAG_RESKIN = 16;
    static constexpr uint8_t FLAG_LIT = 32;
    static constexpr uint8_t FLAG_IN_MESH_MANAGER = 64;
    static constexpr float kDefaultFrameTime = 42.0f;

    CModel(CObjectData& objects, uint16_t wObject, uint8_t ucFlags);
    ~CModel();
    CModel(const CModel&) = delete;
    CModel& operator=(const CModel&) = delete;

    // False when the object index gave nothing to draw.
    bool IsValid() const { return !m_Records.empty(); }

    void SetPositionAndHeading(float x, float y, float fHeading);
    // The layer number when out of range, else the list's result.
    uint32_t AddToMeshManager(uint8_t ucLayer);
    void RemoveFromMeshManager(uint8_t ucLayer);

    bool SetAnimation(ANIMATIONREQUEST* pRequest);
    // True when the animation ended (or none runs).
    bool Update(ANIMATIONREQUEST* pOut, const uint32_t* pElapsedMs);
    void PredictAnimationEnd(ANIMATIONREQUEST* pRequest) const;
    uint32_t GetAnimationTimeLeft() const;
    uint32_t GetFramesLeft() const;
    // The held object's transform; 0 nothing held, 1 not shown yet, 2 shown,
    // 3 shown at its last key (mode 2).
    uint8_t GetCurrentFrameMatrix(D3DMATRIX* pOut) const;
    // The last root key in world axes (x, -z, y).
    bool GetAnimationDisplacement(uint16_t wAnimation, float* pX, float* pY, float* pZ) const;
    bool GetAnimationFirstKey(uint16_t wAnimation, float* pX, float* pY, float* pZ, uint16_t* pFrame) const;
    bool GetAnimationLastKey(uint16_t wAnimation, float* pX, float* pY, float* pZ, uint16_t* pFrame) const;
    bool GetAnimationMiddleKey(uint16_t wAnimation, float* pX, float* pY, float* pZ, uint16_t* pFrame) const;
    bool GetAnimationFirstKeyInWorld(uint16_t wAnimation, float* pX, float* pY, float* pZ, uint16_t* pTime,
                                     uint16_t* pFrame) const;
    void SetLevelOfDetail(uint16_t wValue);
    // For the mesh manager; re-skins first when needed.
    bool GetMesh(uint8_t ucMesh, ITEMMESHINFORMATION** ppOut);
    uint8_t GetMeshCount() const { return static_cast<uint8_t>(m_Records.size()); }
    // Appends the records of another object and widens the bounds.
    void Merge(uint16_t wObject);
    // The box round every record, in the object's own axes.
    const float* GetBoundsMin() const { return m_BoundsMin; }
    const float* GetBoundsMax() const { return m_BoundsMax; }
    void ComputeFlatNormals();
    void SetMeshTexture(uint16_t wTexture);
    void SetMeshMaterial(uint16_t wMaterial);

    // A hidden model stays in its draw list but none of its meshes is drawn.
    void SetVisible(bool bVisible);
    bool IsVisible() const { return m_bVisible; }
    uint8_t GetFlags() const { return m_ucFlags; }
    void ClearFlags(uint8_t ucFlags) { m_ucFlags = static_cast<uint8_t>(m_ucFlags & ~ucFlags); }
    const D3DMATRIX& GetWorldMatrix() const { return m_World; }
    // Replaces the world matrix (scaled or tilted scenery); the next position
    // or animation change rebuilds it.
    void SetWorldMatrix(const D3DMATRIX& matrix) { m_World = matrix; }
    float GetX() const { return m_fX; }
    float GetY() const { return m_fY; }
    float GetHeading() const { return m_fHeading; }
    float GetStartHeading() const { return m_fStartHeading; }
    uint16_t GetCurrentFrame() const { return m_wCurrentFrame; }
    uint16_t GetEndFrame() const { return m_wEndFrame; }
    uint16_t GetRemainder() const { return m_wRemainder; }
    float GetFrameTime() const { return m_fFrameTime; }
    void SetFrameTime(float fMs);
    uint8_t GetLevel() const { return m_ucLevel; }
    // The key matrix bone slot n is drawn with; null when none.
    const D3DMATRIX* GetBoneMatrix(uint16_t wSlot) const;
    const std::vector<float>& GetTrianglePlanes() const { return m_TrianglePlanes; }

private:
    struct BoneState {
        const D3DMATRIX* pKey = nullptr;
        uint16_t wKeyIndex = 0;
        uint16_t wNameId = 0;
        uint8_t ucPlaying = 0;
    };
    struct RecordStore {
        std::vector<D3DVERTEX> vertices;
        std::vector<uint16_t> indices;
    };

    const ANIMATION* CurrentAnimation() const;
    void RebuildWorldMatrix();
    void AdvanceFrames(uint32_t dwFrames);
    void SampleBones();
    void SampleRootTrack(const ANIMATION& animation);
    void SampleHandledObject(const ANIMATION& animation);
    void Reskin();
    void UseLevel(uint8_t ucLevel);
    void CopyRecords(uint16_t wObject);
    void GrowBounds(uint16_t wObject);
    bool PropKey(uint16_t wAnimation, size_t nEntry, float* pX, float* pY, float* pZ, uint16_t* pFrame) const;
    void FillTrianglePlanes();

    CObjectData& m_Objects;
    CAnimationManager& m_Animations;
    uint16_t m_wObject;
    uint8_t m_ucFlags = 0;
    bool m_bVisible = true;
    std::vector<ITEMMESHINFORMATION> m_Records;
    std::vector<RecordStore> m_Stores;  // own vertices and indices of each record
    std::vector<D3DVERTEX> m_Skinned;   // a skinned object's drawn vertices
    const std::vector<D3DVERTEX>* m_pRest = nullptr;
    std::vector<D3DVERTEX> m_RestVertices;
    std::vector<uint16_t> m_LevelIndices;
    std::vector<float> m_TrianglePlanes;

    float m_fX = 0, m_fY = 0, m_fZ = 0;
    float m_fEndX = 0, m_fEndY = 0;
    float m_fHeading = 0, m_fCos = 1, m_fSin = 0;
    float m_fStartHeading = 0, m_fStartCos = 1, m_fStartSin = 0;
    float m_fScale = 1;
    D3DMATRIX m_World;
    D3DMATRIX m_HandledObject;

    std::vector<BoneState> m_Bones;
    uint16_t m_wAnimation = 0;
    uint16_t m_wFirstFrame = 0;
    uint16_t m_wEndFrame = 0;
    uint16_t m_wCurrentFrame = 0;
    uint16_t m_wRemainder = 0;
    float m_fFrameTime = kDefaultFrameTime;
    uint16_t m_wFrameTime = 42;
    float m_RootMotion[3] = {0, 0, 0};
    uint16_t m_wNextRootFrame = 0;
    uint16_t m_wRootIndex = 0;
    float m_HandledPosition[3] = {0, 0, 0};
    uint16_t m_wNextHandledFrame = 0;
    uint16_t m_wHandledIndex = 0;
    uint16_t m_wHandledCount = 0;
    uint8_t m_ucHandledMode = 0;
    uint8_t m_ucLevel = 0;
    float m_BoundsMin[3] = {0, 0, 0};
    float m_BoundsMax[3] = {0, 0, 0};
};
