#include "render3d/CModel.h"

#include "render3d/C3DEngine.h"
#include "render3d/CAnimationManager.h"
#include "render3d/CMeshManager.h"
#include "render3d/CObjectData.h"
#include "render3d/CXBoneFrame.h"
#include "render3d/CXFrame.h"
#include "render3d/RendererModules.h"
#include "render3d/VertexTransform.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint16_t kNoNextFrame = 65535;

float WrapAngle(float a)
{
    while (a > kPi)
        a -= 2 * kPi;
    while (a < -kPi)
        a += 2 * kPi;
    return a;
}

const CXMeshFrame* LevelFrame(const CXMeshFrame* pBase, uint8_t ucLevel)
{
    const CXMeshFrame* pFrame = pBase;
    for (uint8_t i = 0; i < ucLevel && pFrame; ++i)
        pFrame = pFrame->GetNextLevel();
    return pFrame;
}

}  // namespace

CModel::CModel(CObjectData& objects, uint16_t wObject, uint8_t ucFlags)
    : m_Objects(objects), m_Animations(objects.GetAnimationManager()), m_wObject(wObject),
      m_World(IdentityMatrix()), m_HandledObject(IdentityMatrix())
{
    m_ucFlags = FLAG_SCALE_X | FLAG_SCALE_Z | FLAG_RESKIN | FLAG_LIT;
    const std::vector<CXBoneFrame*>* pBones = objects.GetBoneTable(wObject, 0);
    if (pBones && !pBones->empty()) {
        const ITEMMESHINFORMATION* pRecord = objects.GetMeshRecord(wObject, 0);
        if (!pRecord)
            return;
        m_Records.push_back(*pRecord);
        m_Bones.resize(pBones->size());
        for (size_t s = 0; s < pBones->size(); ++s)
            if ((*pBones)[s])
                m_Bones[s].wNameId = (*pBones)[s]->m_wNameId;
        UseLevel(0);
    } else {
        CopyRecords(wObject);
    }
    if (m_Records.empty())
        return;
    m_BoundsMin[0] = m_BoundsMin[1] = m_BoundsMin[2] = 1e30f;
    m_BoundsMax[0] = m_BoundsMax[1] = m_BoundsMax[2] = -1e30f;
    GrowBounds(wObject);
    if (ucFlags & CREATE_TRIANGLE_PLANES)
        FillTrianglePlanes();
}

CModel::~CModel()
{
    if ((m_ucFlags & FLAG_IN_MESH_MANAGER) && g_p3DEngine)
        for (uint8_t i = 0; i < g_p3DEngine->GetMeshManagerCount(); ++i)
            g_p3DEngine->GetMeshManager(i)->Remove(this);
}

void CModel::CopyRecords(uint16_t wObject)
{
    const uint8_t ucCount = m_Objects.GetMeshRecordCount(wObject);
    for (uint8_t r = 0; r < ucCount; ++r) {
        const ITEMMESHINFORMATION* pSource = m_Objects.GetMeshRecord(wObject, r);
        if (!pSource || !pSource->pVertices || m_Records.size() == 255)
            continue;
        RecordStore store;
        const auto* pVertices = static_cast<const D3DVERTEX*>(pSource->pVertices);
        store.vertices.assign(pVertices, pVertices + pSource->vertexCount);
        store.indices.assign(pSource->pIndices, pSource->pIndices + pSource->indexCount);
        m_Stores.push_back(std::move(store));
        m_Records.push_back(*pSource);
    }
    // The stores are in place now, so the records may point into them.
    for (size_t r = 0; r < m_Records.size(); ++r) {
        m_Records[r].pVertices = m_Stores[r].vertices.data();
        m_Records[r].pIndices = m_Stores[r].indices.data();
    }
}

void CModel::GrowBounds(uint16_t wObject)
{
    const CXMeshFrame* pFrame = m_Objects.GetMeshFrame(wObject);
    if (!pFrame)
        return;
    const XBounds& b = pFrame->GetBounds();
    for (int i = 0; i < 3; ++i) {
        m_BoundsMin[i] = std::min(m_BoundsMin[i], b.min[i]);
        m_BoundsMax[i] = std::max(m_BoundsMax[i], b.max[i]);
    }
}

void CModel::FillTrianglePlanes()
{
    m_TrianglePlanes.clear();
    for (const ITEMMESHINFORMATION& record : m_Records) {
        const auto* pV = static_cast<const D3DVERTEX*>(record.pVertices);
        for (uint32_t i = 0; i + 2 < record.indexCount; i += 3) {
            const D3DVERTEX& a = pV[record.pIndices[i]];
            const D3DVERTEX& b = pV[record.pIndices[i + 1]];
            const D3DVERTEX& c = pV[record.pIndices[i + 2]];
            const float u[3] = {b.x - a.x, b.y - a.y, b.z - a.z}, v[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
            float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
            const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            if (length > 0)
                for (float& k : n)
                    k /= length;
            m_TrianglePlanes.insert(m_TrianglePlanes.end(),
                                    {n[0], n[1], n[2], -(n[0] * a.x + n[1] * a.y + n[2] * a.z)});
        }
    }
}

void CModel::UseLevel(uint8_t ucLevel)
{
    const CXMeshFrame* pFrame = LevelFrame(m_Objects.GetMeshFrame(m_wObject), ucLevel);
    if (!pFrame || !m_Objects.GetBoneTable(m_wObject, ucLevel))
        return;
    m_ucLevel = ucLevel;
    m_RestVertices.assign(pFrame->GetVertices(), pFrame->GetVertices() + pFrame->GetVertexCount());
    m_Skinned = m_RestVertices;
    m_LevelIndices = pFrame->GetIndices();
    ITEMMESHINFORMATION& record = m_Records[0];
    record.pVertices = m_Skinned.data();
    record.vertexCount = static_cast<uint32_t>(m_Skinned.size());
    record.pIndices = m_LevelIndices.data();
    record.indexCount = static_cast<uint32_t>(m_LevelIndices.size());
    m_ucFlags |= FLAG_RESKIN;
}

void CModel::SetLevelOfDetail(uint16_t wValue)
{
    if (m_Bones.empty())
        return;
    const uint16_t wLevel = m_Objects.SelectLevel(m_wObject, wValue);
    if (wLevel != m_ucLevel && wLevel < 256)
        UseLevel(static_cast<uint8_t>(wLevel));
}

void CModel::SetPositionAndHeading(float x, float y, float fHeading)
{
    m_fX = m_fEndX = x;
    m_fY = m_fEndY = y;
    m_fHeading = m_fStartHeading = fHeading;
    m_fCos = m_fStartCos = std::cos(fHeading);
    m_fSin = m_fStartSin = std::sin(fHeading);
    RebuildWorldMatrix();
}

void CModel::RebuildWorldMatrix()
{
    const float c = m_fStartCos, s = m_fStartSin;
    const float rx = m_RootMotion[0] * ((m_ucFlags & FLAG_SCALE_X) ? m_fScale : 1.0f);
    const float ry = m_RootMotion[1];
    const float rz = m_RootMotion[2] * ((m_ucFlags & FLAG_SCALE_Z) ? m_fScale : 1.0f);
    D3DMATRIX& m = m_World;
    m = IdentityMatrix();
    m.m[0][0] = c;
    m.m[0][1] = -s;
    m.m[0][2] = 0;
    m.m[1][0] = 0;
    m.m[1][1] = 0;
    m.m[1][2] = 1;
    m.m[2][0] = -s;
    m.m[2][1] = -c;
    m.m[2][2] = 0;
    m.m[3][0] = m_fX + rx * c - rz * s;
    m.m[3][1] = m_fY - rx * s - rz * c;
    m.m[3][2] = m_fZ + ry;
}

uint32_t CModel::AddToMeshManager(uint8_t ucLayer)
{
    if (!g_p3DEngine || ucLayer >= g_p3DEngine->GetMeshManagerCount())
        return ucLayer;
    CMeshManager* pLayer = g_p3DEngine->GetMeshManager(ucLayer);
    if (!pLayer)
        return ucLayer;
    const uint32_t dwResult = pLayer->Add(this, MESH_ENTRY_MODEL);
    if (dwResult != MESH_ADD_REFUSED)
        m_ucFlags |= FLAG_IN_MESH_MANAGER;
    return dwResult;
}

void CModel::RemoveFromMeshManager(uint8_t ucLayer)
{
    if (g_p3DEngine && ucLayer < g_p3DEngine->GetMeshManagerCount())
        g_p3DEngine->GetMeshManager(ucLayer)->Remove(this);
    m_ucFlags = static_cast<uint8_t>(m_ucFlags & ~FLAG_IN_MESH_MANAGER);
}

const ANIMATION* CModel::CurrentAnimation() const
{
    return m_Animations.GetAnimation(m_wAnimation);
}

void CModel::SetFrameTime(float fMs)
{
    m_fFrameTime = fMs;
    m_wFrameTime = static_cast<uint16_t>(fMs < 1 ? 1 : fMs);
}

bool CModel::SetAnimation(ANIMATIONREQUEST* pRequest)
{
    if (m_Bones.empty() || !pRequest)
        return false;
    const ANIMATION* pAnimation = m_Animations.GetAnimation(pRequest->animation);
    if (!pAnimation)
        return false;
    m_wEndFrame = pAnimation->lastFrame;
    m_wFirstFrame = pAnimation->firstFrame;
    m_wAnimation = pRequest->animation;
    m_wCurrentFrame = 0;
    PredictAnimationEnd(pRequest);
    m_fEndX = pRequest->x;
    m_fEndY = pRequest->y;
    m_fHeading = pRequest->heading;
    m_fCos = std::cos(m_fHeading);
    m_fSin = std::sin(m_fHeading);
    m_ucFlags = static_cast<uint8_t>((m_ucFlags & ~(FLAG_SCALE_X | FLAG_SCALE_Z)) |
                                     (pRequest->flags & (FLAG_SCALE_X | FLAG_SCALE_Z)));
    if (pRequest->flags & ANIMREQ_USE_START_HEADING) {
        m_fStartHeading = pRequest->startHeading;
        m_fStartCos = std::cos(m_fStartHeading);
        m_fStartSin = std::sin(m_fStartHeading);
    }
    if (pRequest->flags & (ANIMREQ_SCALE_X | ANIMREQ_SCALE_Z))
        m_fScale = pRequest->scale;
    for (size_t s = 0; s < m_Bones.size(); ++s) {
        BoneState& bone = m_Bones[s];
        const BONETRACK& track = pAnimation->bones[s < pAnimation->bones.size() ? s : 0];
        bone.wNameId = track.nameId;
        bone.wKeyIndex = 0;
        bone.ucPlaying = 1;
        bone.pKey = track.keys.empty() ? nullptr : &track.keys[0].matrix;
    }
    m_RootMotion[0] = m_RootMotion[1] = m_RootMotion[2] = 0;
    m_wNextRootFrame = kNoNextFrame;
    m_wRootIndex = 0;
    if (!pAnimation->rootTrack.empty()) {
        const ROOTKEY& first = pAnimation->rootTrack[0];
        m_RootMotion[0] = first.x;
        m_RootMotion[1] = first.y;
        m_RootMotion[2] = first.z;
        m_wNextRootFrame = first.frame;
    }
    m_wHandledIndex = 0;
    if (!pAnimation->propPositionTrack.empty()) {
        const ROOTKEY& first = pAnimation->propPositionTrack[0];
        m_HandledPosition[0] = first.x;
        m_HandledPosition[1] = first.y;
        m_HandledPosition[2] = first.z;
        m_wNextHandledFrame = first.frame;
        m_wHandledCount = static_cast<uint16_t>(pAnimation->propPositionTrack.size());
        m_ucHandledMode = pRequest->handledObjectMode;
        m_ucFlags |= FLAG_HANDLED_OBJECT;
    } else {
        m_wHandledCount = 0;
        m_ucFlags = static_cast<uint8_t>(m_ucFlags & ~FLAG_HANDLED_OBJECT);
    }
    if (pRequest->frameTime != 0)
        SetFrameTime(pRequest->frameTime);
    RebuildWorldMatrix();
    m_ucFlags |= FLAG_RESKIN;
    return true;
}

bool CModel::Update(ANIMATIONREQUEST* pOut, const uint32_t* pElapsedMs)
{
    const uint32_t dwElapsed = pElapsedMs ? *pElapsedMs : 0;
    const uint32_t t = m_wRemainder + dwElapsed;
    if (m_Bones.empty() || !m_Bones[0].ucPlaying || t == 0 || m_wEndFrame == 0) {
        if (pOut) {
            pOut->remainder = static_cast<uint16_t>(std::min<uint32_t>(dwElapsed, 65535));
            pOut->x = m_fX;
            pOut->y = m_fY;
            pOut->heading = m_fStartHeading;
        }
        return true;
    }
    const uint32_t dwFrames = t / m_wFrameTime;
    m_wRemainder = static_cast<uint16_t>(t % m_wFrameTime);
    bool bEnded = false;
    if (dwFrames > 0) {
        m_ucFlags |= FLAG_RESKIN;
        const uint32_t dwTarget = m_wCurrentFrame + dwFrames;
        if (dwTarget >= m_wEndFrame) {
            m_wCurrentFrame = m_wEndFrame;
            bEnded = true;
        } else {
            AdvanceFrames(dwFrames);
        }
    }
    if (!bEnded) {
        RebuildWorldMatrix();
        if (pOut) {
            pOut->x = m_World.m[3][0];
            pOut->y = m_World.m[3][1];
            pOut->z = 0;
            const D3DMATRIX* pRoot = m_Bones[0].pKey;
            const float fTurn = pRoot ? std::atan2(pRoot->m[2][0], pRoot->m[2][2]) : 0.0f;
            pOut->heading = WrapAngle(m_fStartHeading - fTurn);
        }
        return false;
    }
    // The animation has ended: the model stands where it was predicted to.
    const uint16_t wRemainder = m_wRemainder;
    m_wRemainder = 0;
    m_fX = m_fEndX;
    m_fY = m_fEndY;
    m_fStartHeading = m_fHeading;
    m_fStartCos = m_fCos;
    m_fStartSin = m_fSin;
    m_RootMotion[0] = m_RootMotion[1] = m_RootMotion[2] = 0;
    SetFrameTime(m_fFrameTime);
    RebuildWorldMatrix();
    if (pOut) {
        pOut->x = m_fEndX;
        pOut->y = m_fEndY;
        pOut->heading = m_fHeading;
        pOut->remainder = wRemainder;
    }
    for (BoneState& bone : m_Bones)
        bone.ucPlaying = 0;
    return true;
}

void CModel::AdvanceFrames(uint32_t dwFrames)
{
    const ANIMATION* pAnimation = CurrentAnimation();
    if (!pAnimation)
        return;
    m_wCurrentFrame = static_cast<uint16_t>(m_wCurrentFrame + dwFrames);
    SampleBones();
    if (!pAnimation->rootTrack.empty() && m_wCurrentFrame >= m_wNextRootFrame)
        SampleRootTrack(*pAnimation);
    if ((m_ucFlags & FLAG_HANDLED_OBJECT) && m_wCurrentFrame >= m_wNextHandledFrame)
        SampleHandledObject(*pAnimation);
}

void CModel::SampleBones()
{
    const ANIMATION* pAnimation = CurrentAnimation();
    for (size_t s = 0; s < m_Bones.size() && s < pAnimation->bones.size(); ++s) {
        const std::vector<ANIMATIONKEY>& keys = pAnimation->bones[s].keys;
        BoneState& bone = m_Bones[s];
        if (keys.empty())
            continue;
        size_t k = bone.wKeyIndex;
        if (m_wCurrentFrame == 0)
            k = 0;
        else if (m_wCurrentFrame >= keys.back().frame)
            k = keys.size() - 1;
        else
            while (k + 1 < keys.size() && keys[k + 1].frame <= m_wCurrentFrame)
                ++k;
        bone.wKeyIndex = static_cast<uint16_t>(k);
        bone.pKey = &keys[k].matrix;
    }
}

void CModel::SampleRootTrack(const ANIMATION& animation)
{
    const std::vector<ROOTKEY>& track = animation.rootTrack;
    size_t k = m_wRootIndex;
    while (k + 1 < track.size() && track[k + 1].frame <= m_wCurrentFrame)
        ++k;
    m_wRootIndex = static_cast<uint16_t>(k);
    m_RootMotion[0] = track[k].x;
    m_RootMotion[1] = track[k].y;
    m_RootMotion[2] = track[k].z;
    m_wNextRootFrame = k + 1 < track.size() ? track[k + 1].frame : kNoNextFrame;
}

void CModel::SampleHandledObject(const ANIMATION& animation)
{
    const std::vector<ROOTKEY>& track = animation.propPositionTrack;
    size_t k = m_wHandledIndex;
    while (k < track.size() && track[k].frame <= m_wCurrentFrame)
        ++k;
    // k is the first later entry (or the count); the one before it is shown.
    m_wHandledIndex = static_cast<uint16_t>(k);
    const ROOTKEY& shown = track[k - 1];
    m_HandledPosition[0] = shown.x;
    m_HandledPosition[1] = shown.y;
    m_HandledPosition[2] = shown.z;
    m_wNextHandledFrame = k < track.size() ? track[k].frame : kNoNextFrame;
    if (animation.propMatrixTrack && k - 1 < animation.propMatrixTrack->keys.size())
        m_HandledObject = animation.propMatrixTrack->keys[k - 1].matrix;
}

void CModel::PredictAnimationEnd(ANIMATIONREQUEST* pRequest) const
{
    const float h0 = (pRequest->flags & ANIMREQ_USE_START_HEADING) ? pRequest->startHeading : m_fHeading;
    float d[3] = {0, 0, 0};
    float fTurn = 0;
    m_Animations.GetAnimationDisplacement(pRequest->animation, d, &fTurn);
    if (pRequest->flags & ANIMREQ_SCALE_X)
        d[0] *= pRequest->scale;
    if (pRequest->flags & ANIMREQ_SCALE_Z)
        d[2] *= pRequest->scale;
    const float c = std::cos(h0), s = std::sin(h0);
    pRequest->x = d[0] * c - d[2] * s + m_fEndX;
    pRequest->y = -d[0] * s - d[2] * c + m_fEndY;
    pRequest->z = d[1] + m_fZ;
    pRequest->heading = WrapAngle(h0 + fTurn);
}

uint32_t CModel::GetAnimationTimeLeft() const
{
    if (m_Bones.empty() || !m_Bones[0].ucPlaying)
        return 0;
    const int64_t left = static_cast<int64_t>(m_wEndFrame - m_wCurrentFrame) * m_wFrameTime - m_wRemainder;
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

uint32_t CModel::GetFramesLeft() const
{
    if (m_Bones.empty() || !m_Bones[0].ucPlaying)
        return 0;
    return static_cast<uint32_t>(m_wEndFrame - m_wCurrentFrame);
}

uint8_t CModel::GetCurrentFrameMatrix(D3DMATRIX* pOut) const
{
    *pOut = IdentityMatrix();
    if (m_Bones.empty() || !m_Bones[0].ucPlaying || !(m_ucFlags & FLAG_HANDLED_OBJECT))
        return 0;
    if (m_wHandledIndex == 0 || (m_ucHandledMode == 1 && m_wHandledIndex < 2))
        return 1;
    D3DMATRIX key = m_HandledObject;
    for (int j = 0; j < 3; ++j)
        key.m[3][j] = m_HandledPosition[j] - m_RootMotion[j];
    *pOut = MultiplyMatrices(key, m_World);
    return (m_ucHandledMode == 2 && m_wHandledIndex + 1 >= m_wHandledCount) ? 3 : 2;
}

bool CModel::GetAnimationDisplacement(uint16_t wAnimation, float* pX, float* pY, float* pZ) const
{
    float d[3];
    float fTurn = 0;
    if (!m_Animations.GetAnimationDisplacement(wAnimation, d, &fTurn))
        return false;
    *pX = d[0];
    *pY = -d[2];
    *pZ = d[1];
    return true;
}

bool CModel::PropKey(uint16_t wAnimation, size_t nEntry, float* pX, float* pY, float* pZ, uint16_t* pFrame) const
{
    const ANIMATION* pAnimation = m_Animations.GetAnimation(wAnimation);
    if (!pAnimation || pAnimation->propPositionTrack.size() < 2 || nEntry >= pAnimation->propPositionTrack.size())
        return false;
    const ROOTKEY& key = pAnimation->propPositionTrack[nEntry];
    *pX = key.x;
    *pY = -key.z;
    *pZ = key.y;
    if (pFrame)
        *pFrame = key.frame;
    return true;
}

bool CModel::GetAnimationFirstKey(uint16_t wAnimation, float* pX, float* pY, float* pZ, uint16_t* pFrame) const
{
    return PropKey(wAnimation, 1, pX, pY, pZ, pFrame);
}

bool CModel::GetAnimationLastKey(uint16_t wAnimation, float* pX, float* pY, float* pZ, uint16_t* pFrame) const
{
    const ANIMATION* pAnimation = m_Animations.GetAnimation(wAnimation);
    return pAnimation && !pAnimation->propPositionTrack.empty() &&
           PropKey(wAnimation, pAnimation->propPositionTrack.size() - 1, pX, pY, pZ, pFrame);
}

bool CModel::GetAnimationMiddleKey(uint16_t wAnimation, float* pX, float* pY, float* pZ, uint16_t* pFrame) const
{
    const ANIMATION* pAnimation = m_Animations.GetAnimation(wAnimation);
    return pAnimation && PropKey(wAnimation, pAnimation->propPositionTrack.size() / 2, pX, pY, pZ, pFrame);
}

bool CModel::GetAnimationFirstKeyInWorld(uint16_t wAnimation, float* pX, float* pY, float* pZ, uint16_t* pTime,
                                         uint16_t* pFrame) const
{
    const ANIMATION* pAnimation = m_Animations.GetAnimation(wAnimation);
    if (!pAnimation || pAnimation->propPositionTrack.size() < 2)
        return false;
    const ROOTKEY& key = pAnimation->propPositionTrack[1];
    const float c = m_fStartCos, s = m_fStartSin;
    *pX = key.x * c - key.z * s + m_fEndX;
    *pY = -key.x * s - key.z * c + m_fEndY;
    *pZ = key.y + m_fZ;
    uint32_t dwTime = static_cast<uint32_t>(key.frame) * 42;
    if (!m_Bones.empty() && m_Bones[0].ucPlaying)
        dwTime += m_wFrameTime;
    *pTime = static_cast<uint16_t>(std::min<uint32_t>(dwTime, 65535));
    if (pFrame)
        *pFrame = key.frame;
    return true;
}

const D3DMATRIX* CModel::GetBoneMatrix(uint16_t wSlot) const
{
    return wSlot < m_Bones.size() ? m_Bones[wSlot].pKey : nullptr;
}

void CModel::Reskin()
{
    const std::vector<CXBoneFrame*>* pBones = m_Objects.GetBoneTable(m_wObject, m_ucLevel);
    if (!pBones)
        return;
    for (const CXBoneFrame* pBone : *pBones) {
        if (!pBone || pBone->m_wSlot >= m_Bones.size())
            continue;
        const D3DMATRIX* pKey = m_Bones[pBone->m_wSlot].pKey;
        for (uint16_t v : pBone->GetVertices())
            if (v < m_Skinned.size())
                m_Skinned[v] = pKey ? TransformVertex(m_RestVertices[v], *pKey, true) : m_RestVertices[v];
    }
}

void CModel::SetVisible(bool bVisible)
{
    m_bVisible = bVisible;
}

bool CModel::GetMesh(uint8_t ucMesh, ITEMMESHINFORMATION** ppOut)
{
    if (ucMesh >= m_Records.size())
        return false;
    if ((m_ucFlags & FLAG_RESKIN) && !m_Bones.empty()) {
        Reskin();
        m_ucFlags = static_cast<uint8_t>(m_ucFlags & ~FLAG_RESKIN);
    }
    ITEMMESHINFORMATION& record = m_Records[ucMesh];
    record.pMatrix = &m_World;
    // The records are remade with the level of detail: visibility is applied as they are drawn.
    record.flags = static_cast<uint8_t>(m_bVisible ? (record.flags | MESH_VISIBLE) : (record.flags & ~MESH_VISIBLE));
    *ppOut = &record;
    return true;
}

void CModel::Merge(uint16_t wObject)
{
    CModel other(m_Objects, wObject, 0);
    if (!other.IsValid() || !other.m_Bones.empty() || m_Records.size() + other.m_Records.size() > 255)
        return;
    const size_t nFirst = m_Records.size();
    for (size_t r = 0; r < other.m_Records.size(); ++r) {
        m_Stores.push_back(std::move(other.m_Stores[r]));
        m_Records.push_back(other.m_Records[r]);
    }
    for (size_t r = nFirst; r < m_Records.size(); ++r) {
        m_Records[r].pVertices = m_Stores[r].vertices.data();
        m_Records[r].pIndices = m_Stores[r].indices.data();
    }
    GrowBounds(wObject);
}

namespace {

// Each triangle's normal written to its three corners.
void FlatNormals(D3DVERTEX* pV, const uint16_t* pIndices, uint32_t dwIndexCount)
{
    for (uint32_t i = 0; i + 2 < dwIndexCount; i += 3) {
        D3DVERTEX* corners[3] = {&pV[pIndices[i]], &pV[pIndices[i + 1]], &pV[pIndices[i + 2]]};
        const float u[3] = {corners[1]->x - corners[0]->x, corners[1]->y - corners[0]->y,
                            corners[1]->z - corners[0]->z};
        const float v[3] = {corners[2]->x - corners[0]->x, corners[2]->y - corners[0]->y,
                            corners[2]->z - corners[0]->z};
        const float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length <= 0)
            continue;
        for (D3DVERTEX* pCorner : corners) {
            pCorner->nx = n[0] / length;
            pCorner->ny = n[1] / length;
            pCorner->nz = n[2] / length;
        }
    }
}

}  // namespace

void CModel::ComputeFlatNormals()
{
    if (!m_Bones.empty()) {
        // The rest pose gets the normals; the next draw turns them with the bones.
        FlatNormals(m_RestVertices.data(), m_LevelIndices.data(), static_cast<uint32_t>(m_LevelIndices.size()));
        m_ucFlags |= FLAG_RESKIN;
        return;
    }
    for (ITEMMESHINFORMATION& record : m_Records)
        FlatNormals(static_cast<D3DVERTEX*>(record.pVertices), record.pIndices, record.indexCount);
}

void CModel::SetMeshTexture(uint16_t wTexture)
{
    for (ITEMMESHINFORMATION& record : m_Records)
        record.textureIndex = wTexture;
}

void CModel::SetMeshMaterial(uint16_t wMaterial)
{
    for (ITEMMESHINFORMATION& record : m_Records)
        record.materialIndex = wMaterial;
}
