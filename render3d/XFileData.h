#pragma once
// The part of a text .x file the renderer reads and the mesh kit writes:
// frames with their transform, meshes with normals, texture coordinates and a
// material list whose materials may name a texture file.
#include "render3d/RenderTypes.h"

#include <array>
#include <string>
#include <vector>

struct XMaterialData {
    D3DCOLORVALUE faceColour{1, 1, 1, 1};
    float power = 0;
    D3DVECTOR specular{0, 0, 0};
    D3DVECTOR emissive{0, 0, 0};
    std::string textureFilename;  // empty: no texture
};

struct XMeshData {
    std::string name;
    std::vector<D3DVECTOR> positions;
    std::vector<std::vector<uint16_t>> faces;  // corner vertex indices, at least 3 each
    std::vector<D3DVECTOR> normals;            // empty or one per vertex
    std::vector<std::array<float, 2>> textureCoords;  // empty or one per vertex
    bool hasMaterialList = false;
    std::vector<uint16_t> faceMaterials;  // material number per face
    std::vector<XMaterialData> materials;
};

struct XFrameData {
    std::string name;
    bool hasTransform = false;
    D3DMATRIX transform{};  // row-vector, v' = v M
    std::vector<XMeshData> meshes;
    std::vector<XFrameData> frames;
};

// A whole file: its top-level frames and meshes in file order within each kind.
struct XFileData {
    std::vector<XFrameData> frames;
    std::vector<XMeshData> meshes;
};
