#pragma once
// Frame nodes: the geometry of an .x file. A `CXFrame` holds the vertices
// (32-byte records, with a second copy that is the one drawn), the faces as a
// list of corner counts and corner indices, their triangle list and the
// bounds. A `CXMeshFrame` also keeps the materials and textures of its faces
// and chains further levels of detail. Every mesh met in a frame tree is
// merged into the node, placed by the frame transforms above it.
#include "render3d/CFace.h"
#include "render3d/RenderTypes.h"
#include "render3d/XFileData.h"

#include <string>
#include <vector>

// Max corner, min corner, centre, then three planes through the max corner
// (normals and distances) made by ComputeBoundingPlanes.
struct XBounds {
    float max[3];
    float min[3];
    float centre[3];
    float planeNormals[3][3];
    float planeDistances[3];

    void Reset();
    void Grow(const D3DVECTOR& p);
    void FinishCentre();
};

class CXFrame {
public:
    CXFrame();
    virtual ~CXFrame();
    CXFrame(const CXFrame&) = delete;
    CXFrame& operator=(const CXFrame&) = delete;

    // Reads a whole file: top-level meshes and the first top-level frame give
    // this node's geometry, each further frame one more level (CreateNextLevel).
    // False, with GetError(), when the file is unreadable or malformed.
    bool Load(const std::string& gamePath);
    // Replaces the geometry: positions (3 floats each) into both vertex arrays
    // with zero normals and coordinates, the face list as given, new bounds.
    void SetMesh(uint32_t dwVertexCount, const float* pPositions, uint16_t wFaceCount,
                 const std::vector<uint16_t>& faceList);
    // Each face of n corners as a fan of n - 2 triangles.
    void Triangulate();

    uint32_t GetVertexCount() const { return static_cast<uint32_t>(m_Vertices.size()); }
    const D3DVERTEX* GetVertices() const { return m_Vertices.data(); }
    D3DVERTEX* GetDrawnVertices() { return m_DrawnVertices.data(); }
    uint16_t GetFaceCount() const { return m_wFaceCount; }
    // Per face: its corner count n, then n vertex indices.
    const std::vector<uint16_t>& GetFaceList() const { return m_FaceList; }
    const std::vector<uint16_t>& GetIndices() const { return m_Indices; }
    const XBounds& GetBounds() const { return m_Bounds; }
    CXFrame* GetChild() const { return m_pChild; }
    const std::string& GetError() const { return m_error; }

protected:
    // Reads a frame tree into this node (meshes merged, transforms applied).
    bool ReadFrame(const XFrameData& frame, const D3DMATRIX& parentTransform);
    // Merges one mesh; false (with the error set) when 16-bit indices cannot hold it.
    virtual bool ReadMesh(const XMeshData& mesh, const D3DMATRIX& transform);
    virtual bool CreateNextLevel(const XFrameData& frame);
    // After the whole file was read (and after each level of a mesh frame).
    virtual void FinishLoad() { Triangulate(); }

    std::vector<D3DVERTEX> m_Vertices;
    std::vector<D3DVERTEX> m_DrawnVertices;
    std::vector<uint16_t> m_FaceList;
    uint16_t m_wFaceCount = 0;
    std::vector<uint16_t> m_Indices;
    XBounds m_Bounds{};
    bool m_bFrameRead = false;
    CXFrame* m_pChild = nullptr;
    CXFrame* m_pParent = nullptr;
    std::string m_error;
};

class CXMeshFrame : public CXFrame {
public:
    CXMeshFrame() = default;
    ~CXMeshFrame() override;

    // Appends a level at the end of the chain; every node passed counts one
    // more level below it. The new level's depth (1 for the direct next one).
    uint16_t AppendLevel(CXMeshFrame* pLevel);
    // Merges a mesh as it stands (no transform); false when 16-bit indices
    // cannot reach it. Finish once every mesh is in.
    bool AddMesh(const XMeshData& mesh);
    void Finish();
    // One polygon per face, its corners copied from the vertices.
    void BuildFaces();
    // Each face's (and polygon's) material and texture from its material number.
    void AssignFaceMaterials();
    void ComputeBoundingPlanes();

    const std::vector<CFace>& GetFaces() const { return m_Faces; }
    uint16_t GetLevelsBelow() const { return m_wLevelsBelow; }
    CXMeshFrame* GetNextLevel() const { return m_pNextLevel; }
    // Per face: material number within the node, engine material and texture.
    const std::vector<uint16_t>& GetFaceMaterialNumbers() const { return m_FaceMaterialNumbers; }
    const std::vector<uint16_t>& GetFaceMaterials() const { return m_FaceMaterials; }
    const std::vector<uint16_t>& GetFaceTextures() const { return m_FaceTextures; }
    uint16_t GetMaterialCount() const { return static_cast<uint16_t>(m_MaterialIndices.size()); }
    // Of material number k: 0 / NO_TEXTURE when unknown.
    uint16_t GetMaterialIndex(uint16_t k) const { return k < m_MaterialIndices.size() ? m_MaterialIndices[k] : 0; }
    uint16_t GetTextureIndex(uint16_t k) const { return k < m_TextureIndices.size() ? m_TextureIndices[k] : NO_TEXTURE; }

protected:
    bool ReadMesh(const XMeshData& mesh, const D3DMATRIX& transform) override;
    bool CreateNextLevel(const XFrameData& frame) override;
    void FinishLoad() override;

private:
    // Material number of one material read into the engine's managers.
    void ReadMaterial(const XMaterialData& material);

    std::vector<CFace> m_Faces;
    std::vector<uint16_t> m_FaceMaterialNumbers;
    std::vector<uint16_t> m_MaterialIndices;
    std::vector<uint16_t> m_TextureIndices;
    std::vector<uint16_t> m_FaceMaterials;
    std::vector<uint16_t> m_FaceTextures;
    uint16_t m_wLevelsBelow = 0;
    CXMeshFrame* m_pNextLevel = nullptr;
    CXMeshFrame* m_pPreviousLevel = nullptr;
};
