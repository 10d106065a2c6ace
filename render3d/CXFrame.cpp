#include "render3d/CXFrame.h"

#include "render3d/CMaterialManager.h"
#include "render3d/CTextureManager.h"
#include "render3d/CXFileReader.h"
#include "render3d/RendererModules.h"

#include <cmath>

namespace {

constexpr uint16_t kNoMaterialNumber = 0xFFFF;  // a face of a mesh without a material list

D3DMATRIX Identity()
{
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i)
        m.m[i][i] = 1;
    return m;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b)
{
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

D3DVECTOR TransformPoint(const D3DVECTOR& p, const D3DMATRIX& m)
{
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

D3DVECTOR TurnNormal(const D3DVECTOR& n, const D3DMATRIX& m)
{
    D3DVECTOR r{n.x * m.m[0][0] + n.y * m.m[1][0] + n.z * m.m[2][0],
                n.x * m.m[0][1] + n.y * m.m[1][1] + n.z * m.m[2][1],
                n.x * m.m[0][2] + n.y * m.m[1][2] + n.z * m.m[2][2]};
    const float length = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
    if (length > 0) {
        r.x /= length;
        r.y /= length;
        r.z /= length;
    }
    return r;
}

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
    const D3DMATRIX identity = Identity();
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
    const D3DMATRIX transform = frame.hasTransform ? Multiply(frame.transform, parentTransform) : parentTransform;
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
        const D3DVECTOR p = TransformPoint(mesh.positions[i], transform);
        v.x = p.x;
        v.y = p.y;
        v.z = p.z;
        if (!mesh.normals.empty()) {
            const D3DVECTOR n = TurnNormal(mesh.normals[i], transform);
            v.nx = n.x;
            v.ny = n.y;
            v.nz = n.z;
        }
        if (!mesh.textureCoords.empty()) {
            v.tu = mesh.textureCoords[i][0];
            v.tv = mesh.textureCoords[i][1];
        }
        m_Vertices.push_back(v);
        m_Bounds.Grow(p);
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
    const bool bRead = pLevel->ReadFrame(frame, Identity());
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

void CXMeshFrame::FinishLoad()
{
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

void CXMeshFrame::AssignFaceMaterials()
{
    m_FaceMaterials.clear();
    m_FaceTextures.clear();
    for (uint16_t number : m_FaceMaterialNumbers) {
        const bool bNone = number == kNoMaterialNumber;
        m_FaceMaterials.push_back(bNone ? NO_MATERIAL : GetMaterialIndex(number));
        m_FaceTextures.push_back(bNone ? NO_TEXTURE : GetTextureIndex(number));
    }
}

bool CXMeshFrame::CreateNextLevel(const XFrameData& frame)
{
    auto* pLevel = new CXMeshFrame;
    AppendLevel(pLevel);
    pLevel->m_bFrameRead = true;
    D3DMATRIX identity = Identity();
    if (!pLevel->ReadFrame(frame, identity)) {
        m_error = pLevel->m_error;
        return false;
    }
    pLevel->m_Bounds.FinishCentre();
    pLevel->FinishLoad();
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
