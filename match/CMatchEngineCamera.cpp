// What the viewer sees of the match: the two cameras and what they aim at,
// the keys and the mouse of the match view, the labels over the players, and
// the code of the match conditions.
#include "common/DebugLog.h"
#include "season/CGroundDatabase.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "platform/DeviceContext.h"
#include "render3d/C3DEngine.h"
#include "render3d/CCamera.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.2831853f;
constexpr float kLowestFollowPitch = 0.2f;
constexpr float kHighestFollowPitch = kPi / 2 - 0.1f;
// The orbit camera never leaves the stadium's bowl.
constexpr float kOrbitLimitBox[4] = {-700.0f, -700.0f, 10700.0f, 8200.0f};
constexpr float kFollowPoint[3] = {5000.0f, 8000.0f, 2000.0f};
constexpr uint32_t VK_END = 35, VK_INSERT = 45, VK_DELETE = 46, VK_C = 67, VK_L = 76, VK_O = 79, VK_P = 80,
                   VK_R = 82, VK_U = 85, VK_ADD = 107, VK_SUBTRACT = 109, VK_F2 = 113, VK_F3 = 114, VK_F4 = 115;

float WrapPi(float f)
{
    if (f > kPi)
        f -= kTwoPi;
    else if (f < -kPi)
        f += kTwoPi;
    return f;
}

}  // namespace

const float CMatchEngine::kaViewPoints[kViewPoints][3] = {
    {-500, -500, 2000}, {5000, -500, 2000}, {10500, -500, 2000}, {10500, 3750, 2000},
    {10500, 8000, 2000}, {5000, 8000, 2000}, {-500, 8000, 2000}, {-500, 3750, 2000}};

void CMatchEngine::SetupCameras()
{
    if (!m_p3DEngine || !C3DEngine::Is3DAvailable())
        return;
    m_afCameraTarget[0] = 5000.0f, m_afCameraTarget[1] = 3750.0f, m_afCameraTarget[2] = 0.0f;
    m_fCameraYaw = -kPi / 2;
    m_fCameraPitch = kPi / 4;
    m_bySelectedView = 0;
    m_p3DEngine->SetNumberOfCameras(2);
    CCamera* pOrbit = m_p3DEngine->GetCamera(0);
    pOrbit->SetupOrbit(2000, m_fCameraYaw, m_fCameraPitch, m_afCameraTarget, 7, 200.0f, 50000.0f);
    pOrbit->m_bLimitBox = true;
    pOrbit->m_pLimitBox = kOrbitLimitBox;
    pOrbit->m_pTracked = m_afCameraTarget;
    pOrbit->m_pYawSource = &m_fCameraYaw;
    // The view setting the zoom keys read: the frame width that keeps the distance.
    pOrbit->m_fFrameWidth = 2000.0f * std::tan(pOrbit->m_fFieldOfView);
    CCamera* pFollow = m_p3DEngine->GetCamera(1);
    pFollow->SetTrackingTarget(kFollowPoint, m_afCameraTarget, 2000.0f, 3, 1500.0f, 50000.0f);
    m_p3DEngine->m_ucCurrentCamera = 0;
}

void CMatchEngine::UpdateCameraTarget(uint32_t dwElapsed)
{
    CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr;
    const uint8_t byCamera = m_p3DEngine ? m_p3DEngine->m_ucCurrentCamera : 0;
    if (m_bTurning && pCamera) {
        m_fCameraYaw = WrapPi(m_fCameraYaw + float(m_nTurnRateX) * float(dwElapsed) / 1000.0f / 70.0f);
        pCamera->m_fYaw = pCamera->m_fPreferredYaw = m_fCameraYaw;
        m_fCameraPitch = pCamera->m_fPitch + float(m_nTurnRateY) * float(dwElapsed) / 1000.0f / 70.0f;
        pCamera->m_fPitch = m_fCameraPitch;
    }
    if (m_bCameraDrag && !m_bTurning)
        return;

    float x = m_afCameraTarget[0], y = m_afCameraTarget[1];
    const CMatchPerson* pSelected = m_bDebugSelection ? GetSelectedPerson() : nullptr;
    if (pSelected) {
        x = float(pSelected->GetPosition().x), y = float(pSelected->GetPosition().y);
    } else if (m_CameraSubject.byFlag == 0) {
        if (m_pBall) {
            CVector at = m_pBall->GetPosition();
            // The orbit view leads the ball by half a second.
            if (byCamera == 0)
                at = at + CVector(m_pBall->GetVelocity().x / 2, m_pBall->GetVelocity().y / 2, 0);
            x = float(at.x), y = float(at.y);
        }
    } else if (m_CameraSubject.byFlag == 1 && m_CameraSubject.pPerson) {
        x = float(m_CameraSubject.pPerson->GetPosition().x), y = float(m_CameraSubject.pPerson->GetPosition().y);
    } else {
        DebugLog(6, "[CMatchEngine::UpdateCameraTarget] Invalid Target Type");
        x = 500.0f;
    }
    // The orbit camera keeps its target inside the play so that it stays in
    // the bowl; the follow view looks from its fixed point at the ball itself,
    // which near its own touch line would otherwise drop out of its frame.
    if (byCamera == 0) {
        x = std::fmin(std::fmax(x, 500.0f), 9500.0f);
        y = std::fmin(std::fmax(y, 500.0f), 7000.0f);
    }
    m_afCameraTarget[0] = x;
    m_afCameraTarget[1] = y;

    if (byCamera != 0 && pCamera) {
        m_fCameraPitch = std::fmin(std::fmax(m_fCameraPitch, kLowestFollowPitch), kHighestFollowPitch);
        pCamera->m_fPitch = m_fCameraPitch;
    }
}

void CMatchEngine::SelectCameraView(uint8_t byView)
{
    if (!C3DEngine::Is3DAvailable() || !m_p3DEngine || m_p3DEngine->GetCameraCount() < 2) {
        m_byCameraMode = CAMERA_NO_3D;
        return;
    }
    m_byCameraMode = CAMERA_ORBIT;
    m_bySelectedView = uint8_t(byView % kViewPoints);
    m_p3DEngine->m_ucCurrentCamera = 0;
    CCamera* pCamera = m_p3DEngine->GetCamera(0);
    const float* pPoint = kaViewPoints[m_bySelectedView];
    pCamera->m_FixedTarget = D3DVECTOR{pPoint[0], pPoint[1], pPoint[2]};
    // The camera swings round the play to the side of its view point and
    // looks down from that point's height, a little steeper so that the view
    // holds more of the pitch than of the stands.
    const float dx = pPoint[0] - m_afCameraTarget[0], dy = pPoint[1] - m_afCameraTarget[1];
    m_fCameraYaw = std::atan2(dx, dy);
    pCamera->m_fYaw = pCamera->m_fPreferredYaw = m_fCameraYaw;
    pCamera->m_fPitch = std::atan2(pPoint[2], std::sqrt(dx * dx + dy * dy) + 1.0f) + 0.2f;
    pCamera->EaseDistance(1.0f);
    pCamera->UpdateOrbitPosition();
    pCamera->BuildViewMatrix();
}

void CMatchEngine::SetCameraPitch(float fPitch)
{
    m_fCameraPitch = fPitch;
    if (CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr)
        pCamera->m_fPitch = fPitch;
}

void CMatchEngine::SetCameraYaw(float fYaw)
{
    m_fCameraYaw = fYaw;
    if (CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr)
        pCamera->m_fYaw = pCamera->m_fPreferredYaw = fYaw;
}

void CMatchEngine::ChangeZoom(float fStep)
{
    CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr;
    if (!pCamera || m_byCameraMode == CAMERA_NO_3D)
        return;
    const bool bOrbit = m_byCameraMode == CAMERA_ORBIT;
    float fValue = bOrbit ? pCamera->m_fFrameWidth / 1500.0f - 0.4f : pCamera->m_fFactor - 0.4f;
    fValue += fStep;
    if (fValue < 0.0f)
        fValue = 0.0f;
    fValue += 0.4f;
    if (bOrbit) {
        pCamera->SetFieldOfView(fValue * 1500.0f);
    } else {
        const float fOld = pCamera->m_fFactor;
        const float fNew = std::fmin(std::fmax(fValue, 0.05f), 3.0f);
        pCamera->m_fFactor = fNew;
        // A larger zoom factor narrows the frame the follow view keeps in sight.
        pCamera->m_fFrameWidth = pCamera->m_fFrameWidth * fOld / fNew;
    }
    TellViewChanged();
}

void CMatchEngine::HandleKey(uint32_t dwKey)
{
    const bool b3D = C3DEngine::Is3DAvailable() && m_p3DEngine && m_p3DEngine->GetCameraCount() >= 2;
    CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr;
    switch (dwKey) {
    case VK_END:
        if (m_p3DEngine) {
            const uint32_t dwFilter = m_p3DEngine->GetTextureFilter();
            m_p3DEngine->SetTextureFilter(dwFilter == 1 ? 2 : dwFilter == 2 ? 3 : dwFilter == 3 ? 1 : 2);
        }
        break;
    case VK_INSERT: ChangeZoom(-0.1f); break;
    case VK_DELETE: ChangeZoom(0.1f); break;
    case VK_C:
        m_byCameraMode = b3D ? uint8_t((m_byCameraMode + 1) % 3) : uint8_t(CAMERA_NO_3D);
        if (b3D && m_byCameraMode != CAMERA_NO_3D)
            m_p3DEngine->m_ucCurrentCamera = m_byCameraMode;
        UpdateFog();
        TellViewChanged();
        break;
    case VK_L:
    case VK_O:
        if (pCamera && m_p3DEngine->m_ucCurrentCamera != 0) {
            m_fCameraPitch = WrapPi(pCamera->m_fPitch + (dwKey == VK_L ? -0.1f : 0.1f));
            pCamera->m_fPitch = m_fCameraPitch;
        }
        break;
    case VK_P:
        m_bPaused = !m_bPaused;
        TellViewChanged();
        break;
    case VK_R: SeekReplay(1000); break;
    case VK_U: SkipToHighlight(); break;
    case VK_ADD:
        ChangeSpeedFactor(0.2f);
        TellViewChanged();
        break;
    case VK_SUBTRACT:
        ChangeSpeedFactor(-0.2f);
        TellViewChanged();
        break;
    case VK_F2:
        if (m_byCameraMode == CAMERA_ORBIT)
            m_bySelectedView = uint8_t((m_bySelectedView + 1) % kViewPoints);
        SelectCameraView(m_bySelectedView);
        TellViewChanged();
        break;
    case VK_F3:
        m_byCameraMode = b3D ? uint8_t(CAMERA_FOLLOW) : uint8_t(CAMERA_NO_3D);
        if (b3D)
            m_p3DEngine->m_ucCurrentCamera = 1;
        UpdateFog();
        TellViewChanged();
        break;
    case VK_F4:
        m_byCameraMode = CAMERA_NO_3D;
        UpdateFog();
        TellViewChanged();
        break;
    default: break;
    }
}

void CMatchEngine::OnLButtonDown(uint32_t dwFlags, int32_t x, int32_t y)
{
    CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr;
    if (m_bDebugMode && (dwFlags & plat::MK_SHIFT) && m_pBall && m_p3DEngine) {
        float fx = 0, fy = 0, fz = 0;
        m_p3DEngine->ConvertScreenToWorld(&fx, &fy, &fz, x - m_ViewRect.nLeft, y - m_ViewRect.nTop);
        if (fx >= kPlayBounds.nLeft && fx <= kPlayBounds.nRight && fy >= kPlayBounds.nTop &&
            fy <= kPlayBounds.nBottom) {
            m_pBall->SetPosition(int32_t(fx), int32_t(fy), 0, true);
            m_bBallPicked = true;
            m_nLastDragX = int32_t(fx), m_nLastDragY = int32_t(fy);
            m_bTickStop = true;
        }
        return;
    }
    if ((dwFlags & plat::MK_CONTROL) && pCamera) {
        m_bCameraDrag = true;
        m_nLastDragX = x, m_nLastDragY = y;
        m_dwSavedCameraMode = pCamera->m_ucMode;
        pCamera->m_ucMode = CCamera::MODE_ORBIT;
        return;
    }
    const MATCHRECT& r = m_ViewRect;
    if (m_byCameraMode == CAMERA_FOLLOW && x >= r.nLeft && x < r.nRight && y >= r.nTop && y < r.nBottom) {
        m_bTurning = true;
        m_nTurnRateX = x - (r.nLeft + r.nRight) / 2;
        m_nTurnRateY = (r.nTop + r.nBottom) / 2 - y;
    }
}

void CMatchEngine::OnLButtonUp(uint32_t, int32_t x, int32_t y)
{
    m_bTurning = false;
    if (m_bCameraDrag) {
        m_bCameraDrag = false;
        if (CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr)
            pCamera->m_ucMode = uint8_t(m_dwSavedCameraMode);
    }
    if (m_bBallPicked && m_pBall && m_p3DEngine) {
        m_bBallPicked = false;
        m_bTickStop = false;
        float fx = 0, fy = 0, fz = 0;
        m_p3DEngine->ConvertScreenToWorld(&fx, &fy, &fz, x - m_ViewRect.nLeft, y - m_ViewRect.nTop);
        if (fx >= kPlayBounds.nLeft && fx <= kPlayBounds.nRight && fy >= kPlayBounds.nTop &&
            fy <= kPlayBounds.nBottom)
            m_pBall->SetVelocity(CVector(4 * (int32_t(fx) - m_nLastDragX), 4 * (int32_t(fy) - m_nLastDragY), 0));
    }
}

void CMatchEngine::OnRButtonDown(uint32_t, int32_t x, int32_t y)
{
    if (!m_bDebugMode)
        return;
    m_bRightDrag = true;
    m_nLastDragX = x, m_nLastDragY = y;
}

void CMatchEngine::OnRButtonUp(uint32_t, int32_t, int32_t)
{
    m_bRightDrag = false;
}

void CMatchEngine::OnMouseMove(uint32_t, int32_t x, int32_t y)
{
    CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr;
    if (m_bCameraDrag) {
        m_fCameraYaw = WrapPi(m_fCameraYaw - 0.01f * float(x - m_nLastDragX));
        if (pCamera)
            pCamera->m_fYaw = pCamera->m_fPreferredYaw = m_fCameraYaw;
        m_nLastDragX = x, m_nLastDragY = y;
        return;
    }
    const MATCHRECT& r = m_ViewRect;
    if (m_bTurning && x >= r.nLeft && x < r.nRight && y >= r.nTop && y < r.nBottom) {
        m_nTurnRateX = x - (r.nLeft + r.nRight) / 2;
        m_nTurnRateY = (r.nTop + r.nBottom) / 2 - y;
    }
    if (m_bRightDrag && m_bDebugMode && pCamera) {
        ChangeZoom(0.01f * float(y - m_nLastDragY));
        pCamera->m_fFieldOfView = std::fmin(std::fmax(pCamera->m_fFieldOfView + 0.01f * float(x - m_nLastDragX), 0.1f), 3.0f);
        pCamera->BuildProjectionMatrix();
        m_nLastDragX = x, m_nLastDragY = y;
    }
}

bool CMatchEngine::ProjectToView(const CVector& point, int32_t& x, int32_t& y) const
{
    const CCamera* pCamera = m_p3DEngine ? m_p3DEngine->GetCamera(m_p3DEngine->m_ucCurrentCamera) : nullptr;
    if (!pCamera || m_byCameraMode == CAMERA_NO_3D)
        return false;
    const D3DMATRIX& m = pCamera->m_ViewProjectionMatrix;
    const float px = float(point.x), py = float(point.y), pz = float(point.z);
    const float cx = px * m.m[0][0] + py * m.m[1][0] + pz * m.m[2][0] + m.m[3][0];
    const float cy = px * m.m[0][1] + py * m.m[1][1] + pz * m.m[2][1] + m.m[3][1];
    const float cw = px * m.m[0][3] + py * m.m[1][3] + pz * m.m[2][3] + m.m[3][3];
    if (cw <= pCamera->m_fNear)
        return false;
    const float fAspect = C3DEngine::GetClipHalfHeight();
    const float fWidth = float(m_ViewRect.nRight - m_ViewRect.nLeft);
    const float fHeight = float(m_ViewRect.nBottom - m_ViewRect.nTop);
    x = m_ViewRect.nLeft + int32_t((cx / cw + 1.0f) / 2.0f * fWidth);
    y = m_ViewRect.nTop + int32_t((fAspect - cy / cw) / (2.0f * fAspect) * fHeight);
    return true;
}

std::vector<CMatchEngine::PLAYERLABEL> CMatchEngine::GetPlayerLabels() const
{
    std::vector<PLAYERLABEL> labels;
    if (!m_bShowNames && !m_bShowNumbers)
        return labels;
    for (const CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()}) {
        if (!pClub)
            continue;
        for (int i = 0; i < pClub->GetOnPitchCount(); ++i) {
            const CMatchPlayer* p = pClub->GetSlot(i);
            if (!p || !p->GetRecord())
                continue;
            PLAYERLABEL label{};
            label.pPerson = p;
            // Over the head of a standing man.
            if (!ProjectToView(p->GetPosition() + CVector(0, 0, 200), label.x, label.y))
                continue;
            const CPlayerDatabase* pRecord = p->GetRecord();
            const int nNumber = pRecord->m_bySquadNumber ? pRecord->m_bySquadNumber : p->GetSquadPosition() + 1;
            if (m_bShowNames && m_bShowNumbers)
                std::snprintf(label.szText, sizeof label.szText, "(%d) %s", nNumber, pRecord->GetShortName());
            else if (m_bShowNames)
                std::snprintf(label.szText, sizeof label.szText, "%s", pRecord->GetShortName());
            else
                std::snprintf(label.szText, sizeof label.szText, "%d", nNumber);
            labels.push_back(label);
        }
    }
    return labels;
}

void CMatchEngine::DrawOverlay(plat::Surface* pSurface)
{
    if (m_byCameraMode == CAMERA_NO_3D) {
        DrawPlanView(pSurface);
        return;
    }
    if (!m_p3DEngine)
        return;
    PrepareScene();
    m_p3DEngine->Render();
    DrawPlayerLabels(pSurface);
    if (m_bDebugMode)
        DrawPersonDebug(pSurface);
}

void CMatchEngine::DrawPlayerLabels(plat::Surface* pSurface) const
{
    if (!pSurface)
        return;
    static std::unique_ptr<plat::Font> s_pFont(plat::Font::create(13, plat::FW_BOLD, "Arial"));
    if (!s_pFont)
        return;
    plat::DeviceContext dc(pSurface);
    dc.selectFont(s_pFont.get());
    dc.setBkMode(plat::TRANSPARENT);
    dc.setTextAlign(plat::TA_CENTER | plat::TA_BOTTOM);
    for (const PLAYERLABEL& label : GetPlayerLabels()) {
        // A dark edge keeps the light text readable on grass and on stands.
        dc.setTextColor(plat::RGB(16, 20, 40));
        for (const int d : {-1, 1}) {
            dc.textOut(label.x + d, label.y, label.szText);
            dc.textOut(label.x, label.y + d, label.szText);
        }
        dc.setTextColor(plat::RGB(244, 242, 230));
        dc.textOut(label.x, label.y, label.szText);
    }
}

uint8_t CMatchEngine::GetConditionsCode(const CClubDatabase*) const
{
    return MakeConditionsCode(m_Weather, m_pGround && m_pGround->GetPitchConditionComponent(1));
}

uint8_t CMatchEngine::MakeConditionsCode(const MATCHWEATHER& weather, bool bSnowProtectedPitch)
{
    uint8_t byCode = 0;
    if (weather.bFog)
        byCode = 1;
    else if (weather.byCategory == 0)
        byCode = 0;
    else if (weather.byCategory <= 2)
        byCode = 2;
    else if (weather.byCategory <= 4)
        byCode = bSnowProtectedPitch ? 4 : 3;
    else
        byCode = 5;
    if (weather.bEvening && byCode == 0)
        byCode = 5;
    return byCode;
}
