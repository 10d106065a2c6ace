#pragma once
// The viewport and the transforms done on the processor: points through the
// world, view and projection matrices (row vectors) onto the viewport, with
// clip flags, and the screen outcode of a transformed point.
#include "render3d/RenderTypes.h"

#include <cstddef>

// The viewport's screen rectangle and its clip volume: x from clipX over
// clipWidth, y from clipY downwards over clipHeight, depth minZ..maxZ.
struct ViewportTransform {
    int32_t left = 0, top = 0, width = 0, height = 0;
    float clipX = -1.0f, clipY = 0.75f, clipWidth = 2.0f, clipHeight = 1.5f;
    float minZ = 0.0f, maxZ = 1.0f;
};

D3DMATRIX IdentityMatrix();
D3DMATRIX MultiplyMatrices(const D3DMATRIX& a, const D3DMATRIX& b);
// The vertex's position through the matrix (row vector); its normal turned by
// the 3 x 3 part and normalised when asked, else kept.
D3DVERTEX TransformVertex(const D3DVERTEX& vertex, const D3DMATRIX& matrix, bool bTurnNormal);

// Transforms count points (x, y, z floats at the given stride) by the combined
// matrix onto the viewport. The clip records (may be null) receive each
// point's clip flags and homogeneous coordinates; extent (may be null) the
// bounding rectangle of the screen points. Returns the flags that every point
// shares (0 when some point is inside the volume or the points lie outside on
// different sides). A point with w = 0 is flagged in front and maps to (0, 0).
uint32_t TransformVertices(const D3DMATRIX& combined, const ViewportTransform& viewport, const void* points,
                           size_t stride, size_t count, D3DTLVERTEX* out, D3DHVERTEX* clip, D3DRECT* extent);

// Bits of a screen point against the target: 1 x < 0, 2 x > width (else),
// 8 y < 0, 4 y > height (else), 16 z < 0.
uint8_t GetScreenOutcode(const float* point, int32_t targetWidth, int32_t targetHeight);
