#include "render3d/CFaceManager.h"

#include "common/DebugLog.h"
#include "render3d/C3DEngine.h"
#include "render3d/CFace.h"
#include "render3d/PointerQuickSort.h"

CFaceManager::CFaceManager()
{
    m_Faces.SetSize(200, 200);
}

CFaceManager::~CFaceManager()
{
    if (m_ucKind == KIND_STATIC)
        FreeFaces();
}

void CFaceManager::AddFace(CFace* pFace)
{
    if (!pFace || m_ucKind != KIND_STATIC || m_wFaceCount == UINT16_MAX) {
        DebugLog(0, "[CFaceManager::AddFace] only a static list with room takes a face");
        delete pFace;
        return;
    }
    m_Faces.SetAtGrow(m_wFaceCount++, pFace);
}

CFace* CFaceManager::GetFace(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_wFaceCount ? static_cast<CFace*>(m_Faces.GetAt(nIndex)) : nullptr;
}

void CFaceManager::FreeFaces()
{
    // Every slot, so that faces left behind by ClearFaces go too. A dynamic
    // list's faces belong to others: it only lets go of them.
    for (int i = 0; i < m_Faces.GetSize(); ++i) {
        if (m_ucKind == KIND_STATIC)
            delete static_cast<CFace*>(m_Faces.GetAt(i));
        m_Faces.SetAt(i, nullptr);
    }
    m_wFaceCount = 0;
}

void CFaceManager::UpdateDynamicFaces()
{
    if (m_ucKind != KIND_DYNAMIC) {
        DebugLog(0, "[CFaceManager: UpdateDynamicFaces] FM not Dynamic!");
        return;
    }
    m_wFaceCount = 0;
    for (CFace* pFace = m_pFirstDynamic; pFace && m_wFaceCount < UINT16_MAX; pFace = pFace->m_pNext) {
        if ((m_ucFlags & TEST_VISIBILITY) && !pFace->Update())
            continue;
        m_Faces.SetAtGrow(m_wFaceCount++, pFace);
    }
}

void CFaceManager::Sort()
{
    const int nLast = m_wFaceCount - 1;
    if (m_ucFlags & SORT_BY_TEXTURE) {
        const bool bDescending = C3DEngine::HasZBuffer();
        QuickSortPointers(
            m_Faces, 0, nLast, [](void* p) { return static_cast<const CFace*>(p)->m_wTexture; },
            [bDescending](uint16_t a, uint16_t b) { return bDescending ? a > b : a < b; });
    }
    // Last, so that depth decides the order when both are asked for.
    if (m_ucFlags & SORT_BACK_TO_FRONT)
        QuickSortPointers(
            m_Faces, 0, nLast, [](void* p) { return static_cast<const CFace*>(p)->GetBoxMax().z; },
            [](float a, float b) { return a > b; });
}

void CFaceManager::Draw()
{
    if (m_ucKind == KIND_DYNAMIC)
        UpdateDynamicFaces();
    if (m_wFaceCount == 0)
        return;
    // Depth keys and visibility come from this frame's update, made before
    // sorting; a dynamic list with visibility testing has just made it.
    const bool bTestVisibility = m_ucKind == KIND_STATIC && (m_ucFlags & TEST_VISIBILITY);
    const bool bFreshDynamic = m_ucKind == KIND_DYNAMIC && (m_ucFlags & TEST_VISIBILITY);
    if (bTestVisibility || ((m_ucFlags & SORT_BACK_TO_FRONT) && !bFreshDynamic))
        for (int i = 0; i < m_wFaceCount; ++i)
            GetFace(i)->Update();
    if (m_wFaceCount > 1)
        Sort();
    for (int i = 0; i < m_wFaceCount; ++i) {
        CFace* pFace = GetFace(i);
        if (!bTestVisibility || pFace->WasVisible())
            pFace->Draw();
    }
}
