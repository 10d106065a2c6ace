#pragma once
// What the two match orders popups share: a row's shaded track with its
// bitmap from the main archive, and the slider of 0-100 over a track.
#include "xframework/CXSurface.h"

#include <cstdint>

class CXClient;
class CXSlider;

namespace match_orders {

// The width and height of a track bitmap; the sliders span the width.
constexpr int kTrackWidth = 136;
constexpr int kTrackHeight = 16;

// The track bitmap of the main archive (with its colour key) over a dark
// panel at (x, y) of the background; only the panel when the bitmap is
// missing, which the log names.
void DrawTrack(CXSurface* pBackground, const char* pszBitmap, int x, int y);
// A slider of 0-100 along the track at (x, y), with the shared thumb.
CXSlider* AddSlider(CXClient& popup, uint32_t dwID, int x, int y);

}  // namespace match_orders
