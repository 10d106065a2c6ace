#pragma once
// One viewpoint of the engine: orbiting a target, following a tracked point
// with a preferred heading, turning round it, or tracking it from a fixed
// place with a zoom that keeps a frame width in view. The world is
// right-handed with z up; yaw runs from +y towards +x; angles in radians.
#include "render3d/RenderTypes.h"

class CCamera {
public:
    enum Mode : uint8_t { MODE_ORBIT = 0, MODE_FOLLOW = 1, MODE_TURNING = 2, MODE_TRACK = 3 };
    // The steepest pitch: straight down would leave the view without an up direction.
    static constexpr float kMaxPitch = 1.5707963f - 0.01f;

    CCamera();

    void SetupOrbit(int32_t nDistance, float fYaw, float fPitch, const float* pTarget, uint8_t ucAxisMask,
                    float fNear, float fFar);
    void SetTrackingTarget(const float* pPosition, const float* pTracked, float fFrameWidth, uint8_t ucAxisMask,
                           float fNear, float fFar);
    void UpdateTargetFromTracked();
    void UpdateOrbitPosition();
    void BuildViewMatrix();
    void BuildProjectionMatrix();
    void UpdateYaw(float fElapsed);
    void UpdateDirectionAndZoom(float fElapsed);
    void SetFieldOfView(float fFrameWidth);
    void GetPickRay(float fX, float fY, D3DVECTOR* pOrigin, D3DVECTOR* pDirection) const;
    // Moves the current distance towards the wanted one by the distance speed.
    void EaseDistance(float fElapsed);

    D3DMATRIX m_ViewMatrix;
    D3DMATRIX m_ProjectionMatrix;
    D3DMATRIX m_ViewProjectionMatrix;
    float m_fNear = 1.0f;
    float m_fFar = 1000.0f;
    float m_fNearWidth = 0.0f;
    float m_fNearHeight = 0.0f;
    float m_fFieldOfView = 1.0471976f;
    float m_fWantedFieldOfView = 1.0471976f;
    D3DVECTOR m_Up{0, 0, 1};
    D3DVECTOR m_Position{0, 0, 0};
    D3DVECTOR m_Direction{0, 1, 0};
    float m_fFrameWidth = 0.0f;
    uint8_t m_ucAxisMask = 0;
    D3DVECTOR m_FixedTarget{0, 0, 0};
    D3DVECTOR m_Target{0, 0, 0};
    float m_fScale = 1.0f;
    int32_t m_nDistance = -200;
    int32_t m_nWantedDistance = -200;
    float m_fYaw = 0.0f;
    float m_fPreferredYaw = 0.0f;
    float m_fPitch = 0.0f;
    bool m_bLimitBox = false;
    const float* m_pLimitBox = nullptr;  // min x, min y, max x, max y
    uint8_t m_ucMode = MODE_ORBIT;
    const float* m_pTracked = nullptr;
    const float* m_pYawSource = nullptr;
    int32_t m_nDistanceSpeed = 1500;
    float m_fTurnRate = 0.8f;
    float m_fFactor = 1.0f;
};
