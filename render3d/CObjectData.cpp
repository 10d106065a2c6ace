#include "render3d/CObjectData.h"

#include "common/DebugLog.h"
#include "render3d/CAnimationManager.h"
#include "render3d/CXBoneFrame.h"
#include "render3d/CXFileReader.h"
#include "render3d/CXFrame.h"

#include <cstring>
#include <cmath>
#include <utility>

namespace {

constexpr uint16_t kNoParent = 5555;

void DeleteBones(std::vector<CXBoneFrame*>& bones)
{
    for (CXBoneFrame* pBone : bones)
        delete pBone;
    bones.clear();
}

bool Near(const D3DVERTEX& a, const D3DVERTEX& b)
{
    return std::fabs(a.x - b.x) <= 0.5f && std::fabs(a.y - b.y) <= 0.5f && std::fabs(a.z - b.z) <= 0.5f;
}

}  // namespace

struct CObjectData::SkeletonRead {
    CXMeshFrame* pFrame;
    std::vector<CXBoneFrame*>& bones;
    uint16_t wNextSlot;
    std::string error;
};

CObjectData::CObjectData(uint16_t wCapacity) : m_pAnimations(std::make_unique<CAnimationManager>(*this, 10))
{
    m_Objects.SetSize(wCapacity, 2);
    m_Objects.SetSize(0);
}

CObjectData::~CObjectData()
{
    for (uint16_t i = 0; i < m_wCount; ++i)
        DeleteEntry(Entry(i));
}

void CObjectData::DeleteEntry(ObjectEntry* pEntry)
{
    for (std::vector<CXBoneFrame*>& bones : pEntry->boneLevels)
        DeleteBones(bones);
    delete pEntry->pMeshFrame;
    delete pEntry;
}

CObjectData::ObjectEntry* CObjectData::Entry(uint16_t wObject) const
{
    return wObject < m_wCount ? static_cast<ObjectEntry*>(m_Objects.GetAt(wObject)) : nullptr;
}

uint16_t CObjectData::FindObject(const char* pszFileName) const
{
    for (uint16_t i = 0; i < m_wCount; ++i)
        if (Entry(i)->fileName == pszFileName)
            return i;
    return OBJECT_NOT_FOUND;
}

uint16_t CObjectData::Load(const char* pszFileName, uint8_t ucReuse)
{
    if (ucReuse) {
        const uint16_t wFound = FindObject(pszFileName);
        if (wFound != OBJECT_NOT_FOUND)
            return wFound;
    }
    if (m_wCount >= OBJECT_NOT_FOUND - 1) {
        DebugLog(6, "[CObjectData::Load] No room for %s", pszFileName);
        return OBJECT_NOT_FOUND;
    }
    auto* pFrame = new CXMeshFrame;
    if (!pFrame->Load(pszFileName) || pFrame->GetFaceCount() == 0) {
        DebugLog(6, "[CObjectData::Load] %s gave no faces: %s", pszFileName, pFrame->GetError().c_str());
        delete pFrame;
        return OBJECT_NOT_FOUND;
    }
    auto* pEntry = new ObjectEntry;
    pEntry->pMeshFrame = pFrame;
    pEntry->fileName = pszFileName;
    pEntry->ucLevelCount = static_cast<uint8_t>(pFrame->GetLevelsBelow() > 255 ? 255 : pFrame->GetLevelsBelow());
    if (!BuildMeshRecords(*pEntry)) {
        DebugLog(6, "[CObjectData::Load] %s has more than 255 material and texture pairs", pszFileName);
        DeleteEntry(pEntry);
        return OBJECT_NOT_FOUND;
    }
    m_Objects.SetAtGrow(m_wCount, pEntry);
    return m_wCount++;
}

bool CObjectData::BuildMeshRecords(ObjectEntry& entry)
{
    const CXMeshFrame& frame = *entry.pMeshFrame;
    const std::vector<uint16_t>& faceList = frame.GetFaceList();
    const D3DVERTEX* pSource = frame.GetVertices();
    // Groups by (material, texture) in order of first appearance.
    std::vector<std::pair<uint16_t, uint16_t>> keys;
    std::vector<std::vector<size_t>> groupFaces;  // offsets of the faces in the face list
    size_t at = 0;
    for (uint16_t f = 0; f < frame.GetFaceCount(); ++f) {
        const std::pair<uint16_t, uint16_t> key{frame.GetFaceMaterials()[f], frame.GetFaceTextures()[f]};
        size_t g = 0;
        while (g < keys.size() && keys[g] != key)
            ++g;
        if (g == keys.size()) {
            if (keys.size() == 255)
                return false;
            keys.push_back(key);
            groupFaces.emplace_back();
        }
        groupFaces[g].push_back(at);
        at += 1 + faceList[at];
    }
    for (size_t g = 0; g < keys.size(); ++g) {
        std::vector<D3DVERTEX> vertices;
        std::vector<uint16_t> indices;
        std::vector<int32_t> remap(frame.GetVertexCount(), -1);
        for (size_t faceAt : groupFaces[g]) {
            const uint16_t corners = faceList[faceAt];
            std::vector<uint16_t> local;
            for (uint16_t k = 0; k < corners; ++k) {
                const uint16_t v = faceList[faceAt + 1 + k];
                if (remap[v] < 0) {
                    remap[v] = static_cast<int32_t>(vertices.size());
                    vertices.push_back(pSource[v]);
                }
                local.push_back(static_cast<uint16_t>(remap[v]));
            }
            for (uint16_t k = 2; k < corners; ++k) {
                indices.push_back(local[0]);
                indices.push_back(local[k - 1]);
                indices.push_back(local[k]);
            }
        }
        if (indices.empty())
            continue;
        entry.recordVertices.push_back(std::move(vertices));
        entry.recordIndices.push_back(std::move(indices));
        ITEMMESHINFORMATION record;
        record.materialIndex = keys[g].first;
        record.textureIndex = keys[g].second;
        record.flags = MESH_VISIBLE | MESH_SCENE_VIEW;
        entry.records.push_back(record);
    }
    entry.bHasMeshRecords = !entry.records.empty();
    if (entry.records.empty())
        entry.records.emplace_back();
    // The arrays are in place now, so the records may point into them.
    for (size_t r = 0; r < entry.recordVertices.size(); ++r) {
        entry.records[r].pVertices = entry.recordVertices[r].data();
        entry.records[r].vertexCount = static_cast<uint32_t>(entry.recordVertices[r].size());
        entry.records[r].pIndices = entry.recordIndices[r].data();
        entry.records[r].indexCount = static_cast<uint32_t>(entry.recordIndices[r].size());
    }
    return true;
}

void CObjectData::SetLevelOfDetailList(uint16_t wObject, uint16_t wWanted, const uint16_t* pThresholds)
{
    ObjectEntry* pEntry = Entry(wObject);
    if (!pEntry || !pThresholds)
        return;
    const uint16_t wActual = static_cast<uint16_t>(pEntry->ucLevelCount + 1);
    if (wWanted != wActual)
        DebugLog(6, "[CObjectData::SetLevelOfDetailList] Setting wrong number of levels. Actual levels: %d, Desired levels: %d",
                 wActual, wWanted);
    const uint16_t wKept = wWanted < wActual ? wWanted : wActual;
    pEntry->thresholds.assign(pThresholds, pThresholds + wKept);
    pEntry->bThresholdsSet = true;
}

uint16_t CObjectData::SelectLevel(uint16_t wObject, uint16_t wValue) const
{
    const ObjectEntry* pEntry = Entry(wObject);
    if (!pEntry || !pEntry->bThresholdsSet)
        return 0;
    const std::vector<uint16_t>& t = pEntry->thresholds;
    for (size_t i = 0; i < t.size(); ++i)
        if (wValue >= t[i])
            return static_cast<uint16_t>(i);
    return t.empty() ? 0 : static_cast<uint16_t>(t.size() - 1);
}

uint16_t CObjectData::GetLevelCount(uint16_t wObject) const
{
    const ObjectEntry* pEntry = Entry(wObject);
    return pEntry ? pEntry->ucLevelCount : 0;
}

uint8_t CObjectData::GetMeshRecordCount(uint16_t wObject) const
{
    const ObjectEntry* pEntry = Entry(wObject);
    return pEntry ? static_cast<uint8_t>(pEntry->records.size()) : 0;
}

ITEMMESHINFORMATION* CObjectData::GetMeshRecord(uint16_t wObject, uint8_t ucRecord) const
{
    ObjectEntry* pEntry = Entry(wObject);
    return pEntry && ucRecord < pEntry->records.size() ? &pEntry->records[ucRecord] : nullptr;
}

const CXMeshFrame* CObjectData::GetMeshFrame(uint16_t wObject) const
{
    const ObjectEntry* pEntry = Entry(wObject);
    return pEntry ? pEntry->pMeshFrame : nullptr;
}

bool CObjectData::ReadSkeletonFrame(const XFrameData& frame, uint16_t wParentSlot, SkeletonRead& read)
{
    const uint16_t wSlot = read.wNextSlot++;
    if (wSlot >= read.bones.size()) {
        read.error = "more frames than the " + std::to_string(read.bones.size()) + " bone slots";
        return false;
    }
    const uint16_t wNameId = m_BoneNames.RegisterBoneName(frame.name, static_cast<uint8_t>(wSlot));
    if (wNameId == BONE_NAME_NOT_FOUND) {
        read.error = "no room for the bone name " + frame.name;
        return false;
    }
    auto* pBone = new CXBoneFrame;
    read.bones[wSlot] = pBone;
    pBone->m_wNameId = wNameId;
    pBone->m_wSlot = wSlot;
    if (frame.hasTransform) {
        // The joint only: the rotation is the file's rest pose, already in the vertices.
        D3DMATRIX offset{};
        for (int i = 0; i < 4; ++i)
            offset.m[i][i] = 1;
        for (int j = 0; j < 3; ++j)
            offset.m[3][j] = frame.transform.m[3][j];
        pBone->SetOffsetMatrix(offset);
    }
    if (wParentSlot != kNoParent)
        pBone->AttachToParent(read.bones[wParentSlot]);
    const bool bNoMesh = frame.name.find("pec") != std::string::npos ||
                         frame.name.find("abdomen") != std::string::npos ||
                         frame.name.find("neck") != std::string::npos;
    for (const XMeshData& mesh : frame.meshes) {
        if (bNoMesh) {
            pBone->m_bNoMesh = true;
            continue;
        }
        const uint32_t dwBase = read.pFrame->GetVertexCount();
        if (!read.pFrame->AddMesh(mesh)) {
            read.error = read.pFrame->GetError();
            return false;
        }
        for (size_t i = 0; i < mesh.positions.size(); ++i)
            pBone->AddVertex(static_cast<uint16_t>(dwBase + i));
    }
    for (const XFrameData& child : frame.frames)
        if (!ReadSkeletonFrame(child, wSlot, read))
            return false;
    return true;
}

bool CObjectData::ReadSkeletonFile(const char* pszFileName, uint16_t wBoneCount, CXMeshFrame** ppFrame,
                                   std::vector<CXBoneFrame*>* pBones)
{
    XFileData data;
    CXFileReader reader;
    if (!reader.ReadFile(pszFileName, data)) {
        DebugLog(6, "[CObjectData::ReadXFile] %s", reader.GetError().c_str());
        return false;
    }
    auto* pFrame = new CXMeshFrame;
    pBones->assign(wBoneCount > 255 ? 255 : wBoneCount, nullptr);
    SkeletonRead read{pFrame, *pBones, 0, ""};
    for (const XFrameData& frame : data.frames) {
        if (!ReadSkeletonFrame(frame, kNoParent, read))
            break;
    }
    if (read.error.empty() && pFrame->GetVertexCount() == 0)
        read.error = "no vertices";
    if (!read.error.empty()) {
        DebugLog(6, "[CObjectData::ReadXFile] %s: %s", pszFileName, read.error.c_str());
        DeleteBones(*pBones);
        delete pFrame;
        return false;
    }
    pFrame->Finish();
    // Vertices on a joint seam that the parent also has move to the parent,
    // so that the seam does not open when the bone turns.
    const D3DVERTEX* pVertices = pFrame->GetVertices();
    for (CXBoneFrame* pBone : *pBones) {
        if (!pBone || !pBone->GetParent())
            continue;
        CXBoneFrame* pParent = pBone->GetParent();
        for (size_t k = pBone->GetVertices().size(); k-- > 0;) {
            const uint16_t v = pBone->GetVertices()[k];
            for (uint16_t p : pParent->GetVertices()) {
                if (Near(pVertices[v], pVertices[p])) {
                    pBone->RemoveVertex(static_cast<uint16_t>(k));
                    pParent->AddVertex(v);
                    break;
                }
            }
        }
    }
    for (CXBoneFrame* pBone : *pBones) {
        if (!pBone)
            continue;
        XBounds bounds;
        bounds.Reset();
        for (uint16_t v : pBone->GetVertices())
            bounds.Grow(D3DVECTOR{pVertices[v].x, pVertices[v].y, pVertices[v].z});
        bounds.FinishCentre();
        pBone->SetBounds(bounds);
    }
    *ppFrame = pFrame;
    return true;
}

uint16_t CObjectData::LoadSkinned(const char* pszFileName, uint16_t wBoneCount)
{
    if (m_wCount >= OBJECT_NOT_FOUND - 1)
        return OBJECT_NOT_FOUND;
    CXMeshFrame* pFrame = nullptr;
    std::vector<CXBoneFrame*> bones;
    if (!ReadSkeletonFile(pszFileName, wBoneCount, &pFrame, &bones))
        return OBJECT_NOT_FOUND;
    auto* pEntry = new ObjectEntry;
    pEntry->pMeshFrame = pFrame;
    pEntry->fileName = pszFileName;
    pEntry->ucBoneCount = static_cast<uint8_t>(bones.size());
    pEntry->boneLevels.push_back(std::move(bones));
    // One record; each model supplies the vertices it has moved.
    ITEMMESHINFORMATION record;
    record.vertexCount = pFrame->GetVertexCount();
    record.indexCount = static_cast<uint32_t>(pFrame->GetIndices().size());
    record.materialIndex = pFrame->GetMaterialCount() ? pFrame->GetMaterialIndex(0) : 0;
    record.textureIndex = pFrame->GetTextureIndex(0);
    record.flags = MESH_VISIBLE | MESH_SCENE_VIEW;
    pEntry->records.push_back(record);
    pEntry->bHasMeshRecords = true;
    m_Objects.SetAtGrow(m_wCount, pEntry);
    return m_wCount++;
}

void CObjectData::AddLevel(uint16_t wObject, const char* pszFileName, uint16_t wBoneCount)
{
    ObjectEntry* pEntry = Entry(wObject);
    if (!pEntry || pEntry->boneLevels.empty() || pEntry->ucLevelCount == 255) {
        DebugLog(6, "[CObjectData::AddLevel] %s: object %d is not a skinned object with room for a level", pszFileName,
                 wObject);
        return;
    }
    CXMeshFrame* pFrame = nullptr;
    std::vector<CXBoneFrame*> bones;
    if (!ReadSkeletonFile(pszFileName, wBoneCount, &pFrame, &bones))
        return;
    const uint16_t wPosition = pEntry->pMeshFrame->AppendLevel(pFrame);
    ++pEntry->ucLevelCount;
    // Bones take the slots of the same names in the level before.
    const std::vector<CXBoneFrame*>& previous = pEntry->boneLevels[wPosition - 1];
    for (CXBoneFrame* pBone : bones) {
        if (!pBone)
            continue;
        for (const CXBoneFrame* pMatch : previous) {
            if (pMatch && pMatch->m_wNameId == pBone->m_wNameId) {
                pBone->m_wSlot = pMatch->m_wSlot;
                break;
            }
        }
    }
    pEntry->boneLevels.insert(pEntry->boneLevels.begin() + wPosition, std::move(bones));
}

const std::vector<CXBoneFrame*>* CObjectData::GetBoneTable(uint16_t wObject, uint16_t wLevel) const
{
    const ObjectEntry* pEntry = Entry(wObject);
    return pEntry && wLevel < pEntry->boneLevels.size() ? &pEntry->boneLevels[wLevel] : nullptr;
}
