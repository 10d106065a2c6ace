#include "render3d/CAnimationManager.h"

#include "common/DebugLog.h"
#include "platform/Files.h"
#include "render3d/CObjectData.h"
#include "render3d/CPaFile.h"
#include "render3d/CXBoneFrame.h"
#include "render3d/VertexTransform.h"

#include <algorithm>
#include <cmath>

namespace {

ANIMATIONKEY ToKey(const PaKey& key)
{
    ANIMATIONKEY out{IdentityMatrix(), key.frame};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            out.matrix.m[r][c] = key.rows[r][c];
    return out;
}

ROOTKEY ToRootKey(const PaRootKey& key)
{
    return ROOTKEY{key.x, key.y, key.z, key.frame};
}

}  // namespace

CAnimationManager::CAnimationManager(CObjectData& objects, uint16_t wCapacity) : m_Objects(objects)
{
    m_Animations.SetSize(wCapacity, 2);
    m_Animations.SetSize(0);
}

CAnimationManager::~CAnimationManager()
{
    for (uint16_t i = 0; i < m_wCount; ++i)
        delete static_cast<ANIMATION*>(m_Animations.GetAt(i));
}

const ANIMATION* CAnimationManager::GetAnimation(uint16_t wIndex) const
{
    return wIndex < m_wCount ? static_cast<const ANIMATION*>(m_Animations.GetAt(wIndex)) : nullptr;
}

bool CAnimationManager::GetAnimationDisplacement(uint16_t wIndex, float* pXYZ, float* pHeading) const
{
    const ANIMATION* pAnimation = GetAnimation(wIndex);
    if (!pAnimation || pAnimation->rootTrack.empty())
        return false;
    const ROOTKEY& last = pAnimation->rootTrack.back();
    pXYZ[0] = last.x;
    pXYZ[1] = last.y;
    pXYZ[2] = last.z;
    *pHeading = 0;
    if (!pAnimation->bones.empty() && !pAnimation->bones[0].keys.empty()) {
        const D3DMATRIX& m = pAnimation->bones[0].keys.back().matrix;
        *pHeading = -std::atan2(m.m[2][0], m.m[2][2]);
    }
    return true;
}

uint16_t CAnimationManager::ImportPrecalculatedAnimation(const char* pszFileName, uint16_t wObject)
{
    if (wObject >= m_Objects.GetObjectCount()) {
        DebugLog(6, "CAnimationManager::ImportPrecalculatedAnimation: Invalid mesh index");
        return ANIMATION_IMPORT_FAILED;
    }
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(pszFileName, bytes)) {
        DebugLog(6, "CAnimationManager::ImportPrecalculatedAnimation: Could not load: %s", pszFileName);
        return ANIMATION_IMPORT_FAILED;
    }
    return ImportPrecalculatedAnimation(bytes.data(), bytes.size(), pszFileName, wObject);
}

uint16_t CAnimationManager::ImportPrecalculatedAnimation(const uint8_t* pBytes, size_t nSize, const char* pszName,
                                                         uint16_t wObject)
{
    const std::vector<CXBoneFrame*>* pBones = m_Objects.GetBoneTable(wObject, 0);
    if (!pBones || pBones->empty()) {
        DebugLog(6, "CAnimationManager::ImportPrecalculatedAnimation: Invalid mesh index");
        return ANIMATION_IMPORT_FAILED;
    }
    if (m_wCount >= ANIMATION_IMPORT_FAILED) {
        DebugLog(6, "CAnimationManager::ImportPrecalculatedAnimation: no room for %s", pszName);
        return ANIMATION_IMPORT_FAILED;
    }
    const auto wBoneCount = static_cast<uint16_t>(pBones->size());
    CBoneNameTable& names = m_Objects.GetBoneNames();
    PaFileData file;
    std::string error;
    const bool bRead = CPaFile::Read(
        pBytes, nSize, wBoneCount, [&names](uint16_t wId, uint8_t* pSlot) { return names.GetBoneSlot(wId, pSlot); },
        &file, &error);
    if (!bRead) {
        DebugLog(6, "CAnimationManager::ImportPrecalculatedAnimation: Could not load: %s (%s)", pszName,
                 error.c_str());
        return ANIMATION_IMPORT_FAILED;
    }
    auto* pAnimation = new ANIMATION;
    pAnimation->boneCount = wBoneCount;
    pAnimation->header = file.header;
    pAnimation->bones.resize(wBoneCount);
    uint16_t wFirst = 999;
    for (uint16_t s = 0; s < wBoneCount; ++s) {
        pAnimation->bones[s].matrix = IdentityMatrix();
        if ((*pBones)[s])
            pAnimation->bones[s].nameId = (*pBones)[s]->m_wNameId;
    }
    for (const PaBoneBlock& block : file.bones) {
        BONETRACK& track = pAnimation->bones[block.slot];
        for (const PaKey& key : block.keys)
            track.keys.push_back(ToKey(key));
        if (block.slot == 0) {
            for (const PaRootKey& key : block.rootKeys)
                pAnimation->rootTrack.push_back(ToRootKey(key));
        } else {
            for (int j = 0; j < 3; ++j)
                track.matrix.m[3][j] = block.translation[j];
        }
        pAnimation->lastFrame = std::max(pAnimation->lastFrame, track.keys.back().frame);
        wFirst = std::min(wFirst, track.keys.front().frame);
    }
    if (!pAnimation->rootTrack.empty())
        wFirst = std::min(wFirst, pAnimation->rootTrack.front().frame);
    pAnimation->firstFrame = wFirst == 999 ? 1000 : wFirst;
    for (const PaRootKey& key : file.propPositions)
        pAnimation->propPositionTrack.push_back(ToRootKey(key));
    if (!file.propKeys.empty()) {
        pAnimation->propMatrixTrack = std::make_unique<BONETRACK>();
        pAnimation->propMatrixTrack->matrix = IdentityMatrix();
        for (const PaKey& key : file.propKeys)
            pAnimation->propMatrixTrack->keys.push_back(ToKey(key));
    }
    m_Animations.SetAtGrow(m_wCount, pAnimation);
    return m_wCount++;
}

uint16_t CAnimationManager::RegisterBoneName(const std::string& name, uint8_t ucSlot)
{
    return m_Objects.GetBoneNames().RegisterBoneName(name, ucSlot);
}

uint16_t CAnimationManager::FindBoneName(const std::string& name) const
{
    return m_Objects.GetBoneNames().FindBoneName(name);
}

bool CAnimationManager::GetBoneSlot(uint16_t wNameId, uint8_t* pucSlot) const
{
    return m_Objects.GetBoneNames().GetBoneSlot(wNameId, pucSlot);
}

std::string CAnimationManager::GetBoneName(uint16_t wIndex) const
{
    return m_Objects.GetBoneNames().GetBoneName(wIndex);
}
