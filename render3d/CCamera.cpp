#include "render3d/CCamera.h"

#include "render3d/C3DEngine.h"
#include "render3d/VertexTransform.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.2831853f;
constexpr float kHalfPi = 1.5707963f;

float Length(const D3DVECTOR& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

D3DVECTOR Normalised(const D3DVECTOR& v)
{
    const float l = Length(v);
    return l > 0.0f ? D3DVECTOR{v.x / l, v.y / l, v.z / l} : v;
}

float Dot(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

D3DVECTOR Minus(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return D3DVECTOR{a.x - b.x, a.y - b.y, a.z - b.z};
}

float EngineAspect()
{
    const int32_t w = C3DEngine::GetTargetWidth();
    return w > 0 ? static_cast<float>(C3DEngine::GetTargetHeight()) / static_cast<float>(w) : 0.75f;
}

}  // namespace

CCamera::CCamera()
    : m_ViewMatrix(IdentityMatrix()), m_ProjectionMatrix(IdentityMatrix()), m_ViewProjectionMatrix(IdentityMatrix())
{
}

void CCamera::SetupOrbit(int32_t nDistance, float fYaw, float fPitch, const float* pTarget, uint8_t ucAxisMask,
                         float fNear, float fFar)
{
    if (pTarget)
        m_FixedTarget = m_Target = D3DVECTOR{pTarget[0], pTarget[1], pTarget[2]};
    m_fScale = 1.0f;
    m_nDistance = m_nWantedDistance = nDistance;
    m_fYaw = m_fPreferredYaw = fYaw;
    m_fPitch = fPitch;
    m_ucAxisMask = ucAxisMask;
    m_fNear = fNear;
    m_fFar = fFar;
    m_fFieldOfView = m_fWantedFieldOfView = kPi / 3.0f;
    UpdateOrbitPosition();
    BuildProjectionMatrix();
    BuildViewMatrix();
}

void CCamera::SetTrackingTarget(const float* pPosition, const float* pTracked, float fFrameWidth, uint8_t ucAxisMask,
                                float fNear, float fFar)
{
    if (!pPosition || !pTracked)
        return;
    m_ucMode = MODE_TRACK;
    m_Target = m_FixedTarget = D3DVECTOR{pTracked[0], pTracked[1], pTracked[2]};
    m_pTracked = pTracked;
    m_Position = D3DVECTOR{pPosition[0], pPosition[1], pPosition[2]};
    m_Direction = Normalised(Minus(m_Target, m_Position));
    m_ucAxisMask = ucAxisMask;
    m_fNear = fNear;
    m_fFar = fFar;
    m_fFrameWidth = fFrameWidth;
    m_fFieldOfView = m_fWantedFieldOfView = std::atan2(fFrameWidth, Length(Minus(m_Target, m_Position)));
    BuildProjectionMatrix();
    BuildViewMatrix();
}

void CCamera::UpdateTargetFromTracked()
{
    if (!m_pTracked)
        return;
    m_Target.x = (m_ucAxisMask & 1) ? m_pTracked[0] : m_FixedTarget.x;
    m_Target.y = (m_ucAxisMask & 2) ? m_pTracked[1] : m_FixedTarget.y;
    m_Target.z = (m_ucAxisMask & 4) ? m_pTracked[2] : m_FixedTarget.z;
}

void CCamera::UpdateOrbitPosition()
{
    if (m_fPitch > kMaxPitch)
        m_fPitch = kMaxPitch;
    else if (m_fPitch < -kMaxPitch)
        m_fPitch = -kMaxPitch;
    const float d = static_cast<float>(m_nDistance);
    float vz = std::sin(m_fPitch) * d;
    const float h = std::trunc(std::sqrt(std::fmax(d * d - vz * vz, 0.0f)));
    float vx = std::sin(m_fYaw) * h;
    float vy = std::cos(m_fYaw) * h;
    m_Position = D3DVECTOR{m_Target.x + vx, m_Target.y + vy, m_Target.z + vz};
    if (m_bLimitBox && m_pLimitBox) {
        bool bClamped = false;
        if (m_Position.x < m_pLimitBox[0]) {
            m_Position.x = m_pLimitBox[0];
            bClamped = true;
        } else if (m_Position.x > m_pLimitBox[2]) {
            m_Position.x = m_pLimitBox[2];
            bClamped = true;
        }
        if (m_Position.y < m_pLimitBox[1]) {
            m_Position.y = m_pLimitBox[1];
            bClamped = true;
        } else if (m_Position.y > m_pLimitBox[3]) {
            m_Position.y = m_pLimitBox[3];
            bClamped = true;
        }
        if (bClamped) {
            vx = m_Position.x - m_Target.x;
            vy = m_Position.y - m_Target.y;
            vz = m_Position.z - m_Target.z;
        }
    }
    m_Direction = Normalised(D3DVECTOR{-vx, -vy, -vz});
}

void CCamera::BuildViewMatrix()
{
    const D3DVECTOR& d = m_Direction;
    const float ud = Dot(m_Up, d);
    D3DVECTOR u{m_Up.x - ud * d.x, m_Up.y - ud * d.y, m_Up.z - ud * d.z};
    if (Length(u) < 1.0e-6f) {
        // Looking along the up vector (a whole-unit orbit offset can vanish
        // even below the steepest pitch): up on the screen is then the
        // heading away from the camera, as it is just before.
        u = D3DVECTOR{-std::sin(m_fYaw), -std::cos(m_fYaw), 0.0f};
    }
    u = Normalised(u);
    const D3DVECTOR r{u.y * d.z - u.z * d.y, u.z * d.x - u.x * d.z, u.x * d.y - u.y * d.x};
    D3DMATRIX& m = m_ViewMatrix;
    m = D3DMATRIX{};
    m.m[0][0] = r.x;
    m.m[0][1] = u.x;
    m.m[0][2] = d.x;
    m.m[1][0] = r.y;
    m.m[1][1] = u.y;
    m.m[1][2] = d.y;
    m.m[2][0] = r.z;
    m.m[2][1] = u.z;
    m.m[2][2] = d.z;
    m.m[3][0] = -Dot(r, m_Position);
    m.m[3][1] = -Dot(u, m_Position);
    m.m[3][2] = -Dot(d, m_Position);
    m.m[3][3] = 1.0f;
    m_ViewProjectionMatrix = MultiplyMatrices(m_ViewMatrix, m_ProjectionMatrix);
}

void CCamera::BuildProjectionMatrix()
{
    const float half = m_fFieldOfView / 2.0f;
    const float c = std::cos(half) / std::sin(half);
    const float q = 1.0f / (1.0f - m_fNear / m_fFar);
    D3DMATRIX& m = m_ProjectionMatrix;
    m = D3DMATRIX{};
    m.m[0][0] = c;
    m.m[1][1] = c;
    m.m[2][2] = q;
    m.m[2][3] = 1.0f;
    m.m[3][2] = -q * m_fNear;
    // The near-plane window that the projection and the viewport's clip
    // volume show: x over -1..1 and y over -aspect..aspect at c.
    m_fNearWidth = 2.0f * m_fNear / c;
    m_fNearHeight = 2.0f * m_fNear * EngineAspect() / c;
}

void CCamera::UpdateYaw(float fElapsed)
{
    if (m_Up.z != 1.0f)
        return;
    const float p = m_fPreferredYaw;
    float wanted = p;
    if (m_bLimitBox && m_pLimitBox) {
        const D3DVECTOR& t = m_Target;
        if (t.x < m_pLimitBox[0])
            wanted = p < 0 ? (p <= -kHalfPi ? kPi : 0.0f) : p;
        else if (t.x > m_pLimitBox[2])
            wanted = p > 0 ? (p >= kHalfPi ? kPi : 0.0f) : p;
        else if (t.y < m_pLimitBox[1] && std::fabs(p) > kHalfPi)
            wanted = p > 0 ? kHalfPi : -kHalfPi;
        else if (t.y > m_pLimitBox[3] && std::fabs(p) < kHalfPi)
            wanted = p > 0 ? kHalfPi : -kHalfPi;
    }
    float diff = wanted - m_fYaw;
    if (diff > kPi)
        diff -= kTwoPi;
    else if (diff < -kPi)
        diff += kTwoPi;
    const float step = fElapsed * m_fTurnRate;
    if (std::fabs(diff) >= step)
        m_fYaw = diff < 0 ? m_fYaw - step : m_fYaw + step;
    else
        m_fYaw = wanted;
}

void CCamera::UpdateDirectionAndZoom(float fElapsed)
{
    const D3DVECTOR toTarget = Minus(m_Target, m_Position);
    const D3DVECTOR w = Normalised(toTarget);
    const D3DVECTOR diff = Minus(w, m_Direction);
    const float s = 10.0f * fElapsed * Length(diff);
    if (Length(diff) < s)
        m_Direction = w;
    else
        m_Direction = D3DVECTOR{m_Direction.x + diff.x * s, m_Direction.y + diff.y * s, m_Direction.z + diff.z * s};
    m_fWantedFieldOfView = std::atan2(m_fFrameWidth, Length(toTarget));
    if (m_fWantedFieldOfView != m_fFieldOfView) {
        const float step = 0.5f * fElapsed;
        if (std::fabs(m_fWantedFieldOfView - m_fFieldOfView) < step)
            m_fFieldOfView = m_fWantedFieldOfView;
        else
            m_fFieldOfView += m_fWantedFieldOfView > m_fFieldOfView ? step : -step;
        BuildProjectionMatrix();
    }
}

void CCamera::SetFieldOfView(float fFrameWidth)
{
    m_fFrameWidth = fFrameWidth;
    if (m_ucMode != MODE_TRACK) {
        const float t = std::tan(m_fFieldOfView);
        const float d = t != 0.0f ? fFrameWidth / t : 0.0f;
        m_nWantedDistance = std::fabs(d) < 2.0e9f ? static_cast<int32_t>(d) : m_nWantedDistance;
    }
}

void CCamera::EaseDistance(float fElapsed)
{
    const float fStep = static_cast<float>(m_nDistanceSpeed) * fElapsed;
    const int32_t nStep = static_cast<uint16_t>(fStep > 0.0f && fStep < 65536.0f ? static_cast<int32_t>(fStep) : 0);
    const int64_t gap = static_cast<int64_t>(m_nWantedDistance) - m_nDistance;
    if (std::llabs(gap) < nStep)
        m_nDistance = m_nWantedDistance;
    else
        m_nDistance += gap < 0 ? -nStep : nStep;
}

void CCamera::GetPickRay(float fX, float fY, D3DVECTOR* pOrigin, D3DVECTOR* pDirection) const
{
    const D3DMATRIX& v = m_ViewMatrix;
    D3DMATRIX inverse = IdentityMatrix();
    const bool bAffine = std::fabs(v.m[3][3] - 1.0f) <= 0.001f && std::fabs(v.m[0][3]) <= 0.001f &&
                         std::fabs(v.m[1][3]) <= 0.001f && std::fabs(v.m[2][3]) <= 0.001f;
    if (bAffine) {
        const float a = v.m[0][0], b = v.m[0][1], c = v.m[0][2];
        const float d = v.m[1][0], e = v.m[1][1], f = v.m[1][2];
        const float g = v.m[2][0], h = v.m[2][1], i = v.m[2][2];
        const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
        if (det != 0.0f) {
            const float k = 1.0f / det;
            inverse.m[0][0] = (e * i - f * h) * k;
            inverse.m[0][1] = (c * h - b * i) * k;
            inverse.m[0][2] = (b * f - c * e) * k;
            inverse.m[1][0] = (f * g - d * i) * k;
            inverse.m[1][1] = (a * i - c * g) * k;
            inverse.m[1][2] = (c * d - a * f) * k;
            inverse.m[2][0] = (d * h - e * g) * k;
            inverse.m[2][1] = (b * g - a * h) * k;
            inverse.m[2][2] = (a * e - b * d) * k;
            for (int col = 0; col < 3; ++col)
                inverse.m[3][col] = -(v.m[3][0] * inverse.m[0][col] + v.m[3][1] * inverse.m[1][col] +
                                      v.m[3][2] * inverse.m[2][col]);
        }
    }
    const float p[4] = {m_fNearWidth * fX * 0.5f, m_fNearHeight * fY * 0.5f, m_fNear, 1.0f};
    float world[4];
    for (int col = 0; col < 4; ++col)
        world[col] = p[0] * inverse.m[0][col] + p[1] * inverse.m[1][col] + p[2] * inverse.m[2][col] +
                     p[3] * inverse.m[3][col];
    const float w = std::fabs(world[3]) > 0.0f ? std::fabs(world[3]) : 1.0f;
    const D3DVECTOR point{world[0] / w, world[1] / w, world[2] / w};
    if (pOrigin)
        *pOrigin = m_Position;
    if (pDirection)
        *pDirection = Normalised(Minus(point, m_Position));
}
