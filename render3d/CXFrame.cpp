#include "render3d/CXFrame.h"

#include "render3d/CMaterialManager.h"
#include "render3d/CTextureManager.h"
#include "render3d/CXFileReader.h"
#include "render3d/RendererModules.h"
#include "render3d/VertexTransform.h"

#include <cmath>

namespace {

constexpr uint16_t kNoMaterialNumber = 0xFFFF;  // a face of a mesh without a material list

}  // namespace

void XBounds::Reset()
{
    *this = XBounds{};
    for (int i = 0; i < 3; ++i) {
        max[i] = -99999.9f;
        min[i] = 99999.9f;
    }
}

void XBounds::Grow(const D3DVECTOR& p)
{
    const float v[3] = {p.x, p.y, p.z};
    for (int i = 0; i < 3; ++i) {
        max[i] = v[i] > max[i] ? v[i] : max[i];
        min[i] = v[i] < min[i] ? v[i] : min[i];
    }
}

void XBounds::FinishCentre()
{
    for (int i = 0; i < 3; ++i)
        centre[i] = max[i] + (min[i] - max[i]) * 0.5f;
}

CXFrame::CXFrame()
{
    m_Bounds.Reset();
}

CXFrame::~CXFrame()
{
    delete m_pChild;
}

bool CXFrame::Load(const std::string& gamePath)
{
    XFileData data;
    CXFileReader reader;
    if (!reader.ReadFile(gamePath, data)) {
        m_error = reader.GetError();
        return false;
    }
    const D3DMATRIX identity = IdentityMatrix();
    for (const XMeshData& mesh : data.meshes)
        if (!ReadMesh(mesh, identity))
            return false;
    for (const XFrameData& frame : data.frames) {
        if (!m_bFrameRead) {
            m_bFrameRead = true;
            if (!ReadFrame(frame, identity))
                return false;
        } else if (!CreateNextLevel(frame)) {
            return false;
        }
    }
    m_Bounds.FinishCentre();
    FinishLoad();
    return true;
}

bool CXFrame::ReadFrame(const XFrameData& frame, const D3DMATRIX& parentTransform)
{
    const D3DMATRIX transform = frame.hasTransform ? MultiplyMatrices(frame.transform, parentTransform) : parentTransform;
    for (const XMeshData& mesh : frame.meshes)
        if (!ReadMesh(mesh, transform))
            return false;
    for (const XFrameData& child : frame.frames)
        if (!ReadFrame(child, transform))
            return false;
    return true;
}

bool CXFrame::ReadMesh(const XMeshData& mesh, const D3DMATRIX& transform)
{
    const size_t base = m_Vertices.size();
    if (base + mesh.positions.size() > 65535 || m_wFaceCount + mesh.faces.size() > 65535) {
        m_error = "the meshes of one level hold more than 65535 vertices or faces";
        return false;
    }
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        D3DVERTEX v{};
        v.x = mesh.positions[i].x;
        v.y = mesh.positions[i].y;
        v.z = mesh.positions[i].z;
        if (!mesh.normals.empty()) {
            v.nx = mesh.normals[i].x;
            v.ny = mesh.normals[i].y;
            v.nz = mesh.normals[i].z;
        }
        if (!mesh.textureCoords.empty()) {
            v.tu = mesh.textureCoords[i][0];
            v.tv = mesh.textureCoords[i][1];
        }
        v = TransformVertex(v, transform, !mesh.normals.empty());
        m_Vertices.push_back(v);
        m_Bounds.Grow(D3DVECTOR{v.x, v.y, v.z});
    }
    for (const std::vector<uint16_t>& face : mesh.faces) {
        m_FaceList.push_back(static_cast<uint16_t>(face.size()));
        for (uint16_t corner : face)
            m_FaceList.push_back(static_cast<uint16_t>(base + corner));
    }
    m_wFaceCount = static_cast<uint16_t>(m_wFaceCount + mesh.faces.size());
    m_DrawnVertices = m_Vertices;
    return true;
}

bool CXFrame::CreateNextLevel(const XFrameData& frame)
{
    auto* pLevel = new CXFrame;
    pLevel->m_pParent = this;
    const bool bRead = pLevel->ReadFrame(frame, IdentityMatrix());
    pLevel->m_Bounds.FinishCentre();
    pLevel->FinishLoad();
    if (!bRead)
        m_error = pLevel->m_error;
    // Appended at the end of the child chain.
    CXFrame** ppSlot = &m_pChild;
    while (*ppSlot)
        ppSlot = &(*ppSlot)->m_pChild;
    *ppSlot = pLevel;
    return bRead;
}

void CXFrame::SetMesh(uint32_t dwVertexCount, const float* pPositions, uint16_t wFaceCount,
                      const std::vector<uint16_t>& faceList)
{
    m_Vertices.assign(dwVertexCount, D3DVERTEX{});
    m_Bounds.Reset();
    for (uint32_t i = 0; i < dwVertexCount; ++i) {
        m_Vertices[i].x = pPositions[i * 3];
        m_Vertices[i].y = pPositions[i * 3 + 1];
        m_Vertices[i].z = pPositions[i * 3 + 2];
        m_Bounds.Grow(D3DVECTOR{m_Vertices[i].x, m_Vertices[i].y, m_Vertices[i].z});
    }
    m_Bounds.FinishCentre();
    m_DrawnVertices = m_Vertices;
    m_wFaceCount = wFaceCount;
    m_FaceList = faceList;
}

void CXFrame::Triangulate()
{
    m_Indices.clear();
    size_t at = 0;
    for (uint16_t f = 0; f < m_wFaceCount && at < m_FaceList.size(); ++f) {
        const size_t corners = m_FaceList[at];
        const uint16_t* pCorner = &m_FaceList[at + 1];
        for (size_t k = 2; k < corners && at + 1 + k < m_FaceList.size(); ++k) {
            m_Indices.push_back(pCorner[0]);
            m_Indices.push_back(pCorner[k - 1]);
            m_Indices.push_back(pCorner[k]);
        }
        at += 1 + corners;
    }
}

CXMeshFrame::~CXMeshFrame()
{
    delete m_pNextLevel;
}

bool CXMeshFrame::AddMesh(const XMeshData& mesh)
{
    return ReadMesh(mesh, IdentityMatrix());
}

void CXMeshFrame::Finish()
{
    m_Bounds.FinishCentre();
    FinishLoad();
}

void CXMeshFrame::FinishLoad()
{
    BuildFaces();
    AssignFaceMaterials();
    Triangulate();
    ComputeBoundingPlanes();
}

bool CXMeshFrame::ReadMesh(const XMeshData& mesh, const D3DMATRIX& transform)
{
    if (!CXFrame::ReadMesh(mesh, transform))
        return false;
    // Material numbers of this mesh follow those of the meshes merged before.
    const auto materialBase = static_cast<uint16_t>(m_MaterialIndices.size());
    for (size_t f = 0; f < mesh.faces.size(); ++f)
        m_FaceMaterialNumbers.push_back(mesh.hasMaterialList && !mesh.materials.empty()
                                            ? static_cast<uint16_t>(materialBase + mesh.faceMaterials[f])
                                            : kNoMaterialNumber);
    for (const XMaterialData& material : mesh.materials)
        ReadMaterial(material);
    return true;
}

void CXMeshFrame::ReadMaterial(const XMaterialData& material)
{
    D3DMATERIAL record{};
    record.dwSize = sizeof record;
    record.diffuse = material.faceColour;
    record.ambient = material.faceColour;
    record.specular = {material.specular.x, material.specular.y, material.specular.z, 1};
    record.emissive = {material.emissive.x, material.emissive.y, material.emissive.z, 1};
    record.power = material.power;
    m_MaterialIndices.push_back(g_pMaterialManager ? g_pMaterialManager->AddMaterial(&record) : 0);
    uint16_t wTexture = NO_TEXTURE;
    if (g_pTextureManager && !material.textureFilename.empty())
        wTexture = g_pTextureManager->LoadTexture(material.textureFilename.c_str(), 0, nullptr);
    m_TextureIndices.push_back(wTexture);
}

void CXMeshFrame::BuildFaces()
{
    m_Faces.clear();
    m_Faces.reserve(m_wFaceCount);
    size_t at = 0;
    for (uint16_t f = 0; f < m_wFaceCount; ++f) {
        const uint16_t corners = m_FaceList[at];
        CFace face;
        face.SetSize(static_cast<uint8_t>(corners > 255 ? 255 : corners));
        for (uint8_t k = 0; k < face.GetVertexCount(); ++k)
            face.GetVertices()[k] = m_Vertices[m_FaceList[at + 1 + k]];
        m_Faces.push_back(face);
        at += 1 + corners;
    }
}

void CXMeshFrame::AssignFaceMaterials()
{
    m_FaceMaterials.clear();
    m_FaceTextures.clear();
    for (size_t f = 0; f < m_FaceMaterialNumbers.size(); ++f) {
        const uint16_t number = m_FaceMaterialNumbers[f];
        const bool bNone = number == kNoMaterialNumber;
        m_FaceMaterials.push_back(bNone ? NO_MATERIAL : GetMaterialIndex(number));
        m_FaceTextures.push_back(bNone ? NO_TEXTURE : GetTextureIndex(number));
        if (f < m_Faces.size()) {
            m_Faces[f].m_wMaterial = m_FaceMaterials.back();
            m_Faces[f].m_wTexture = m_FaceTextures.back();
        }
    }
}

bool CXMeshFrame::CreateNextLevel(const XFrameData& frame)
{
    auto* pLevel = new CXMeshFrame;
    AppendLevel(pLevel);
    pLevel->m_bFrameRead = true;
    D3DMATRIX identity = IdentityMatrix();
    if (!pLevel->ReadFrame(frame, identity)) {
        m_error = pLevel->m_error;
        return false;
    }
    pLevel->Finish();
    return true;
}

uint16_t CXMeshFrame::AppendLevel(CXMeshFrame* pLevel)
{
    uint16_t wDepth = 1;
    CXMeshFrame* pNode = this;
    while (pNode->m_pNextLevel) {
        ++pNode->m_wLevelsBelow;
        pNode = pNode->m_pNextLevel;
        ++wDepth;
    }
    ++pNode->m_wLevelsBelow;
    pNode->m_pNextLevel = pLevel;
    pLevel->m_pPreviousLevel = pNode;
    return wDepth;
}

void CXMeshFrame::ComputeBoundingPlanes()
{
    if (m_Vertices.empty())
        return;
    const float* hi = m_Bounds.max;
    const float* lo = m_Bounds.min;
    // The three box edges leaving the max corner.
    const float edges[3][3] = {{lo[0] - hi[0], 0, 0}, {0, lo[1] - hi[1], 0}, {0, 0, lo[2] - hi[2]}};
    for (int p = 0; p < 3; ++p) {
        const float* a = edges[p];
        const float* b = edges[(p + 1) % 3];
        float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (float& c : n)
            c = length > 0 ? c / length : 0;
        for (int i = 0; i < 3; ++i)
            m_Bounds.planeNormals[p][i] = n[i];
        m_Bounds.planeDistances[p] = -(n[0] * hi[0] + n[1] * hi[1] + n[2] * hi[2]);
    }
}
