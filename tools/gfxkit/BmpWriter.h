#pragma once
// Bitmap files as the game reads them: the 14-byte file header, the 40-byte
// info header, no colour table, uncompressed 24-bit rows bottom-up.
#include "platform/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// The whole file in memory; the bitmap must be 24-bit.
std::vector<uint8_t> encodeBmp(const plat::Bitmap& bitmap);
bool writeBmp(const plat::Bitmap& bitmap, const std::string& path);

}  // namespace tools
