#include "render3d/CXBoneFrame.h"

#include "render3d/VertexTransform.h"

#include <cmath>

CXBoneFrame::CXBoneFrame() : m_Current(IdentityMatrix()), m_Offset(IdentityMatrix()), m_InverseOffset(IdentityMatrix())
{
    m_Bounds.Reset();
}

void CXBoneFrame::SetOffsetMatrix(const D3DMATRIX& matrix)
{
    m_Offset = matrix;
    const auto& m = matrix.m;
    const bool bAffine = std::fabs(m[3][3] - 1) < 0.001f && std::fabs(m[0][3]) < 0.001f &&
                         std::fabs(m[1][3]) < 0.001f && std::fabs(m[2][3]) < 0.001f;
    const float det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                      m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                      m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (!bAffine || std::fabs(det) < 1e-12f)
        return;  // the previous inverse stays
    D3DMATRIX inv{};
    auto& r = inv.m;
    r[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    r[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    r[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    r[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    r[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    r[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    r[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    r[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    r[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    // Translation -t R^-1 for row vectors.
    for (int j = 0; j < 3; ++j)
        r[3][j] = -(m[3][0] * r[0][j] + m[3][1] * r[1][j] + m[3][2] * r[2][j]);
    r[3][3] = 1;
    m_InverseOffset = inv;
}

void CXBoneFrame::AttachToParent(CXBoneFrame* pParent)
{
    m_pParent = pParent;
    if (!pParent)
        return;
    CXBoneFrame** ppSlot = &pParent->m_pFirstChild;
    while (*ppSlot)
        ppSlot = &(*ppSlot)->m_pNextSibling;
    *ppSlot = this;
}

void CXBoneFrame::RemoveVertex(uint16_t wPosition)
{
    if (wPosition < m_Vertices.size())
        m_Vertices.erase(m_Vertices.begin() + wPosition);
}

void CXBoneFrame::Skin(const D3DVERTEX* pSource, D3DVERTEX* pDrawn, bool bTurnNormals) const
{
    const D3DMATRIX matrix = m_pDrawMatrix ? *m_pDrawMatrix : IdentityMatrix();
    for (uint16_t v : m_Vertices)
        pDrawn[v] = TransformVertex(pSource[v], matrix, bTurnNormals);
}
