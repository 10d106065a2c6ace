#pragma once
// A textured quad that always faces the camera: its corners lie in eye space
// around the eye-space place of a world point. Directional sprites pick their
// texture rectangle by the side from which the camera sees the billboard.
#include "render3d/RenderTypes.h"

// A rectangle of a texture: left u, top v, right u, bottom v.
struct BillboardTextureRect {
    float left, top, right, bottom;
};

class CBillboard {
public:
    CBillboard();
    CBillboard(const CBillboard&) = delete;
    CBillboard& operator=(const CBillboard&) = delete;

    // The rectangles stay the caller's: directions x frames per direction of
    // them, the frames of one direction side by side. Null: the whole texture.
    void SetTextureRect(uint8_t ucFramesPerDirection, uint8_t ucDirections, const BillboardTextureRect* pRects);
    // Corners centred on the point.
    void SetHalfSize(float fHalfHeight, float fHalfWidth);
    // Corners from (x0, y0) to (x1, y1), the top edge leaned half its height
    // towards the eye.
    void SetCorners(float x0, float y0, float x1, float y1);
    // Places the quad for this frame and gives its mesh record; false when
    // disabled or wholly off screen.
    bool Update(ITEMMESHINFORMATION** ppMesh);

    const ITEMMESHINFORMATION& GetMesh() const { return m_Mesh; }
    void SetTextureIndex(uint16_t wTexture) { m_Mesh.textureIndex = wTexture; }
    const D3DVECTOR& GetEyePosition() const { return m_EyePosition; }

    // The users place it, texture it, turn its directions and switch it.
    D3DVECTOR m_WorldPosition{0, 0, 0};
    D3DMATRIX m_Orientation;  // turns the camera direction into the sprite's own frame
    bool m_bEnabled = true;

private:
    void SetTextureCoordinates();
    int DirectionIndex() const;

    ITEMMESHINFORMATION m_Mesh;
    D3DVERTEX m_Vertices[4] = {};
    // Wound so that the side towards the eye is the front the device keeps.
    uint16_t m_Indices[6] = {0, 2, 1, 0, 3, 2};
    D3DMATRIX m_WorldMatrix;
    D3DVECTOR m_EyePosition{0, 0, 0};
    uint8_t m_ucFramesPerDirection = 0;
    uint8_t m_ucDirections = 0;
    const BillboardTextureRect* m_pRects = nullptr;
};
