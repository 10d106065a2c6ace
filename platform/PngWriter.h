#pragma once
// Any surface written as a PNG picture, so that a screen, a popup or a frame
// can be looked at and compared.
#include "platform/Surface.h"

#include <string>

namespace plat {

// 8-bit RGB; each channel widened by repeating its high bits. False on failure.
bool writePng(const Surface& surface, const std::string& path);

}  // namespace plat
