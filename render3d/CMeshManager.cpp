#include "render3d/CMeshManager.h"

#include "common/DebugLog.h"
#include "render3d/C3DEngine.h"
#include "render3d/CBillboard.h"
#include "render3d/CModel.h"
#include "render3d/CTextureManager.h"
#include "render3d/PointerQuickSort.h"
#include "render3d/RendererModules.h"

CMeshManager::CMeshManager()
{
    m_Entries.SetSize(0, 10);
}

CMeshManager::~CMeshManager()
{
    for (uint32_t i = 0; i < m_dwEntryCount; ++i)
        delete Entry(static_cast<int>(i));
    delete[] m_ppDeferred;
}

CMeshManager::MeshEntry* CMeshManager::Entry(int nIndex) const
{
    return static_cast<MeshEntry*>(m_Entries.GetAt(nIndex));
}

void* CMeshManager::GetEntryObject(uint32_t dwIndex) const
{
    return dwIndex < m_dwEntryCount ? Entry(static_cast<int>(dwIndex))->pObject : nullptr;
}

const ITEMMESHINFORMATION* CMeshManager::EntryMesh(const MeshEntry* pEntry) const
{
    if (pEntry->ucKind == MESH_ENTRY_BILLBOARD)
        return &static_cast<const CBillboard*>(pEntry->pObject)->GetMesh();
    if (pEntry->ucKind == MESH_ENTRY_MODEL) {
        ITEMMESHINFORMATION* pMesh = nullptr;
        static_cast<CModel*>(pEntry->pObject)->GetMesh(0, &pMesh);
        return pMesh;
    }
    return static_cast<const ITEMMESHINFORMATION*>(pEntry->pObject);
}

uint32_t CMeshManager::Add(void* pObject, uint8_t ucKind)
{
    if (m_bSorted)
        ClearSort();
    if (ucKind > MESH_ENTRY_MODEL || !pObject || m_dwEntryCount >= 65535)
        return MESH_ADD_REFUSED;
    const uint8_t ucMeshes = ucKind == MESH_ENTRY_MODEL ? static_cast<CModel*>(pObject)->GetMeshCount() : 1;
    m_dwMeshCount += ucMeshes;
    m_Entries.SetAtGrow(static_cast<int>(m_dwEntryCount), new MeshEntry{pObject, ucKind, ucMeshes});
    return ++m_dwEntryCount;
}

void CMeshManager::Remove(void* pObject)
{
    for (uint32_t i = 0; i < m_dwEntryCount; ++i) {
        MeshEntry* pEntry = Entry(static_cast<int>(i));
        if (pEntry->pObject != pObject)
            continue;
        ClearSort();
        if (pEntry->ucKind > MESH_ENTRY_MODEL) {
            DebugLog(0, "[CMeshManager::Remove] Invalid type: %d", pEntry->ucKind);
            return;
        }
        m_dwMeshCount -= pEntry->ucMeshes;
        delete pEntry;
        m_Entries.RemoveAt(static_cast<int>(i));
        --m_dwEntryCount;
        return;
    }
}

void CMeshManager::AddMeshCount(int32_t nDelta)
{
    ClearSort();
    m_dwMeshCount = static_cast<uint32_t>(static_cast<int64_t>(m_dwMeshCount) + nDelta);
}

void CMeshManager::ClearSort()
{
    delete[] m_ppDeferred;
    m_ppDeferred = nullptr;
    m_dwDeferredRoom = 0;
    m_bSorted = false;
}

void CMeshManager::BuildDeferredList()
{
    if (m_dwMeshCount == 0)
        return;
    delete[] m_ppDeferred;
    m_ppDeferred = new ITEMMESHINFORMATION*[m_dwMeshCount];
    m_dwDeferredRoom = m_dwMeshCount;
    if (m_dwEntryCount > 1)
        QuickSortPointers(
            m_Entries, 0, static_cast<int>(m_dwEntryCount) - 1,
            [this](void* p) { return EntryMesh(static_cast<const MeshEntry*>(p))->drawOrderKey; },
            [](uint16_t a, uint16_t b) { return a < b; });
    m_bSorted = true;
}

void CMeshManager::Candidate(ITEMMESHINFORMATION* pMesh)
{
    const bool bSeeThrough = pMesh->textureIndex != NO_TEXTURE && pMesh->drawOrderKey == DEFAULT_DRAW_ORDER &&
                             g_pTextureManager &&
                             (g_pTextureManager->GetFlags(pMesh->textureIndex) & TEXTURE_COLOURKEYED);
    if (bSeeThrough && m_wDeferredCount < m_dwDeferredRoom)
        m_ppDeferred[m_wDeferredCount++] = pMesh;
    else if (g_p3DEngine)
        g_p3DEngine->DrawMesh(pMesh);
}

void CMeshManager::Draw()
{
    if (!m_bSorted)
        BuildDeferredList();
    m_wDeferredCount = 0;
    for (uint32_t i = 0; i < m_dwEntryCount; ++i) {
        MeshEntry* pEntry = Entry(static_cast<int>(i));
        if (pEntry->ucKind == MESH_ENTRY_RECORD) {
            auto* pMesh = static_cast<ITEMMESHINFORMATION*>(pEntry->pObject);
            if (pMesh->flags & MESH_VISIBLE)
                Candidate(pMesh);
        } else if (pEntry->ucKind == MESH_ENTRY_BILLBOARD) {
            ITEMMESHINFORMATION* pMesh = nullptr;
            if (static_cast<CBillboard*>(pEntry->pObject)->Update(&pMesh))
                Candidate(pMesh);
        } else if (pEntry->ucKind == MESH_ENTRY_MODEL) {
            auto* pModel = static_cast<CModel*>(pEntry->pObject);
            for (uint8_t m = 0; m < pModel->GetMeshCount(); ++m) {
                ITEMMESHINFORMATION* pMesh = nullptr;
                if (pModel->GetMesh(m, &pMesh) && (pMesh->flags & MESH_VISIBLE))
                    Candidate(pMesh);
            }
        } else {
            DebugLog(0, "CMeshManager::Draw: Unknown type");
        }
    }
    for (uint16_t i = 0; i < m_wDeferredCount; ++i)
        if (g_p3DEngine)
            g_p3DEngine->DrawMesh(m_ppDeferred[i]);
}
