#include "render3d/CObjectData.h"

#include "common/DebugLog.h"
#include "render3d/CXFrame.h"

#include <cstring>
#include <utility>

CObjectData::CObjectData(uint16_t wCapacity)
{
    m_Objects.SetSize(wCapacity, 2);
    m_Objects.SetSize(0);
}

CObjectData::~CObjectData()
{
    for (uint16_t i = 0; i < m_wCount; ++i) {
        ObjectEntry* pEntry = Entry(i);
        delete pEntry->pMeshFrame;
        delete pEntry;
    }
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
        delete pFrame;
        delete pEntry;
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
