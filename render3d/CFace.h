#pragma once
// One textured polygon drawn as a triangle fan with its own material, texture,
// blend mode and matrix. Each frame it can be tested against the view volume,
// which also gives it the screen box and plane that face lists sort by.
#include "render3d/RenderTypes.h"
#include "render3d/VertexTransform.h"

#include <vector>

class CFace {
public:
    // Bits of a transformed position outside the view volume.
    static constexpr uint8_t OUT_LEFT = 0x01;
    static constexpr uint8_t OUT_RIGHT = 0x02;
    static constexpr uint8_t OUT_TOP = 0x04;
    static constexpr uint8_t OUT_BOTTOM = 0x08;
    static constexpr uint8_t OUT_NEAR = 0x10;
    static constexpr uint8_t OUT_FAR = 0x20;
    static constexpr uint8_t VIEW_EYE_SPACE = 0;
    static constexpr uint8_t VIEW_CAMERA = 1;

    CFace() = default;
    // The other's vertices, matrix, look and switch; not its list link.
    CFace(const CFace& other);
    CFace& operator=(const CFace&) = delete;

    void SetSize(uint8_t ucCount);
    uint8_t GetVertexCount() const { return static_cast<uint8_t>(m_Vertices.size()); }
    D3DVERTEX* GetVertices() { return m_Vertices.data(); }
    bool Draw();
    // Transforms the vertices by this frame's matrices; false when disabled,
    // not a polygon, or wholly outside the view volume.
    bool Update();

    // Results of the last update: normalised device positions, their box
    // (the box's far z is the depth key), the plane, and whether every vertex
    // is inside the volume.
    const std::vector<D3DVECTOR>& GetTransformed() const { return m_Transformed; }
    const D3DVECTOR& GetBoxMin() const { return m_BoxMin; }
    const D3DVECTOR& GetBoxMax() const { return m_BoxMax; }
    const D3DVECTOR& GetPlaneNormal() const { return m_PlaneNormal; }
    float GetPlaneConstant() const { return m_fPlaneConstant; }
    bool IsInside() const { return m_bInside; }
    bool WasVisible() const { return m_bVisible; }

    uint32_t m_dwEnabled = 1;
    // Camera faces: their world matrix (null: none), not owned. Eye-space
    // faces are placed each update at the eye-space place of the world position.
    const D3DMATRIX* m_pMatrix = nullptr;
    D3DVECTOR m_WorldPosition{0, 0, 0};
    uint8_t m_ucViewMode = VIEW_CAMERA;
    uint16_t m_wMaterial = 0;
    uint16_t m_wTexture = NO_TEXTURE;
    uint8_t m_ucBlendMode = 0;
    CFace* m_pNext = nullptr;  // list link of its owner; never copied

private:
    const D3DMATRIX* WorldMatrix() const;

    std::vector<D3DVERTEX> m_Vertices;
    std::vector<D3DVECTOR> m_Transformed;
    D3DMATRIX m_EyeMatrix = IdentityMatrix();
    D3DVECTOR m_PlaneNormal{0, 0, 0};
    float m_fPlaneConstant = 0.0f;
    D3DVECTOR m_BoxMin{0, 0, 0};
    D3DVECTOR m_BoxMax{0, 0, 0};
    bool m_bInside = false;
    bool m_bVisible = false;
};
