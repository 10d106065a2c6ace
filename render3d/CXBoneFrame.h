#pragma once
// One bone of a skinned object: the vertices it moves (indices into the
// object's vertex array; each vertex belongs to one bone), its offset matrix
// (where the joint is) and inverse, the matrix it is drawn with, its bounds
// and its place in the skeleton (parent, first child, next sibling).
#include "render3d/CXFrame.h"

#include <vector>

class CXBoneFrame {
public:
    CXBoneFrame();
    CXBoneFrame(const CXBoneFrame&) = delete;
    CXBoneFrame& operator=(const CXBoneFrame&) = delete;

    // Stores the matrix; its inverse is made when the matrix is affine.
    void SetOffsetMatrix(const D3DMATRIX& matrix);
    // Appended after the parent's last child.
    void AttachToParent(CXBoneFrame* pParent);
    void SetBounds(const XBounds& bounds) { m_Bounds = bounds; }
    void AddVertex(uint16_t wVertex) { m_Vertices.push_back(wVertex); }
    void RemoveVertex(uint16_t wPosition);
    // The bone's vertices from pSource through its draw matrix (identity when
    // none is set) into pDrawn; normals turned and normalised when asked.
    void Skin(const D3DVERTEX* pSource, D3DVERTEX* pDrawn, bool bTurnNormals) const;

    const D3DMATRIX& GetOffsetMatrix() const { return m_Offset; }
    const D3DMATRIX& GetInverseOffsetMatrix() const { return m_InverseOffset; }
    D3DMATRIX& CurrentMatrix() { return m_Current; }
    void SetDrawMatrix(const D3DMATRIX* pMatrix) { m_pDrawMatrix = pMatrix; }
    const std::vector<uint16_t>& GetVertices() const { return m_Vertices; }
    const XBounds& GetBounds() const { return m_Bounds; }
    CXBoneFrame* GetParent() const { return m_pParent; }
    CXBoneFrame* GetFirstChild() const { return m_pFirstChild; }
    CXBoneFrame* GetNextSibling() const { return m_pNextSibling; }

    uint16_t m_wNameId = 0;
    uint16_t m_wSlot = 0;
    bool m_bNoMesh = false;

private:
    D3DMATRIX m_Current;
    D3DMATRIX m_Offset;
    D3DMATRIX m_InverseOffset;
    const D3DMATRIX* m_pDrawMatrix = nullptr;
    std::vector<uint16_t> m_Vertices;
    CXBoneFrame* m_pParent = nullptr;
    CXBoneFrame* m_pFirstChild = nullptr;
    CXBoneFrame* m_pNextSibling = nullptr;
    XBounds m_Bounds{};
};
