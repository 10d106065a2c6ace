#pragma once
// The match textures of the mesh kit, from data/meshes/Textures.txt: 8-bit
// pictures with a colour table (grass, markings, shadows, shirt digits, the
// kit masks whose colour-table entries lie in the ranges that recolouring
// moves, skies, skylines and the stand and scenery surfaces), written as
// uncompressed .bmp files.
#include "tools/meshkit/KitSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

struct KitPicture {
    std::string name;
    int width = 0, height = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB, at most 256
    std::vector<uint8_t> indices;   // top-down rows
};

// Palette entries of the kit masks: each part of the kit lies in the key
// range of the colour slot that paints it, away from the other slots' keys.
namespace kitmask {
constexpr uint8_t kSockTrim = 108;    // slot 1: the kit's last colour
constexpr uint8_t kShirt = 11;        // slot 2: the shirt
constexpr uint8_t kShirtOther = 49;   // slot 3: the second colour
constexpr uint8_t kBoots = 1;         // slot 4
constexpr uint8_t kShorts = 93;       // slot 5
constexpr uint8_t kSocks = 250;       // slot 6
constexpr uint8_t kTrim = 248;        // slot 8
constexpr uint8_t kSkin = 46;         // the skin entry only
constexpr uint8_t kHair = 200;
}  // namespace kitmask

class TextureKit {
public:
    // Throws KitError on a malformed source.
    std::vector<KitPicture> Build(const std::vector<KitLine>& lines) const;
};

// An 8-bit .bmp file: headers, colour table, rows bottom-up padded to 4 bytes.
std::vector<uint8_t> encodeBmp8(const KitPicture& picture);

}  // namespace tools
