#pragma once
// The records the renderer's modules share: vectors, colours, matrices, the
// material and light descriptions, the mesh record every builder makes and the
// engine draws, and the vertex records of the transforms.
#include "platform/Device3D.h"

#include <cstdint>

constexpr uint16_t NO_TEXTURE = 65000;         // no texture, or a bad index
constexpr uint16_t NO_MATERIAL = 6500;         // no material; also the default draw-order key
constexpr uint16_t DEFAULT_DRAW_ORDER = 6500;
constexpr uint16_t MATERIAL_NOT_FOUND = 65535;

using D3DMATRIX = plat::Matrix4;

struct D3DVECTOR {
    float x, y, z;
};

struct D3DCOLORVALUE {
    float r, g, b, a;
};

// 80 bytes; materials are equal when all 80 bytes are.
struct D3DMATERIAL {
    uint32_t dwSize;
    D3DCOLORVALUE diffuse;
    D3DCOLORVALUE ambient;
    D3DCOLORVALUE specular;
    D3DCOLORVALUE emissive;
    float power;
    uint32_t hTexture;
    uint32_t dwRampSize;
};
static_assert(sizeof(D3DMATERIAL) == 80);

constexpr uint32_t D3DLIGHT_POINT = 1;
constexpr uint32_t D3DLIGHT_SPOT = 2;
constexpr uint32_t D3DLIGHT_DIRECTIONAL = 3;

// 80 bytes.
struct D3DLIGHT2 {
    uint32_t dwSize;
    uint32_t dltType;
    D3DCOLORVALUE dcvColor;
    D3DVECTOR dvPosition;
    D3DVECTOR dvDirection;
    float dvRange;
    float dvFalloff;
    float dvAttenuation0;
    float dvAttenuation1;
    float dvAttenuation2;
    float dvTheta;
    float dvPhi;
    uint32_t dwFlags;
};
static_assert(sizeof(D3DLIGHT2) == 80);

// Primitive types and vertex layouts as the mesh records carry them.
constexpr uint32_t D3DPT_TRIANGLELIST = 4;
constexpr uint32_t D3DPT_TRIANGLEFAN = 6;
constexpr uint32_t D3DFVF_XYZ = plat::VERTEX_XYZ;
constexpr uint32_t D3DFVF_NORMAL = plat::VERTEX_NORMAL;
constexpr uint32_t D3DFVF_DIFFUSE = plat::VERTEX_DIFFUSE;
constexpr uint32_t D3DFVF_SPECULAR = plat::VERTEX_SPECULAR;
constexpr uint32_t D3DFVF_TEX1 = plat::VERTEX_TEX1;
constexpr uint32_t D3DFVF_VERTEX = 0x112;  // position, normal, one texture pair: 32 bytes
constexpr uint32_t D3DDP_DONOTLIGHT = 0x10;

// Z-compare functions.
constexpr uint32_t D3DCMP_LESS = 2;
constexpr uint32_t D3DCMP_LESSEQUAL = 4;
constexpr uint32_t D3DCMP_ALWAYS = 8;

// Flag byte of a mesh record.
constexpr uint8_t MESH_VISIBLE = 0x01;
constexpr uint8_t MESH_SCENE_VIEW = 0x04;   // drawn with the view matrix (else in eye space)
constexpr uint8_t MESH_NO_ZENABLE = 0x10;
constexpr uint8_t MESH_NO_FOG = 0x40;
constexpr uint8_t MESH_NO_PERSPECTIVE = 0x80;

struct D3DVERTEX {
    float x, y, z;
    float nx, ny, nz;
    float tu, tv;
};
static_assert(sizeof(D3DVERTEX) == 32);

struct ITEMMESHINFORMATION {
    uint32_t primitiveType = D3DPT_TRIANGLELIST;
    uint32_t vertexFormat = D3DFVF_VERTEX;
    void* pVertices = nullptr;
    uint32_t vertexCount = 0;
    uint16_t* pIndices = nullptr;
    uint32_t indexCount = 0;
    uint32_t drawFlags = 0;
    uint32_t zCompare = D3DCMP_LESS;
    uint16_t materialIndex = NO_MATERIAL;
    uint16_t textureIndex = NO_TEXTURE;
    uint8_t blendMode = 0;
    uint8_t flags = 0;
    uint16_t drawOrderKey = DEFAULT_DRAW_ORDER;
    D3DMATRIX* pMatrix = nullptr;  // null: identity
};

// A transformed vertex: screen x, y, depth 0..1 and 1 / w.
struct D3DTLVERTEX {
    float sx, sy, sz, rhw;
    uint32_t color, specular;
    float tu, tv;
};

// The clip record of a transformed vertex: its clip flags and homogeneous x, y, z.
struct D3DHVERTEX {
    uint32_t dwFlags;
    float hx, hy, hz;
};

// Clip flags: outside the named plane of the clip volume.
constexpr uint32_t D3DCLIP_LEFT = 0x01;
constexpr uint32_t D3DCLIP_RIGHT = 0x02;
constexpr uint32_t D3DCLIP_TOP = 0x04;
constexpr uint32_t D3DCLIP_BOTTOM = 0x08;
constexpr uint32_t D3DCLIP_FRONT = 0x10;
constexpr uint32_t D3DCLIP_BACK = 0x20;

struct D3DRECT {
    int32_t x1, y1, x2, y2;
};
