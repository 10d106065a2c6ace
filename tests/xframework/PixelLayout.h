#pragma once
// Switches the display layout the surfaces and pixel operations use.
#include "xframework/CXManager.h"

#include <cstdint>

inline void UseLayout(bool b555)
{
    g_dwGBitMask = b555 ? 0x03E0 : 0x07E0;
    g_dwRBBitMask = b555 ? 0x7C1F : 0xF81F;
    BuildColourTables();
}

inline uint16_t Pixel(bool b555, int r, int g, int b)
{
    return b555 ? static_cast<uint16_t>((r << 10) | (g << 5) | b) : static_cast<uint16_t>((r << 11) | (g << 5) | b);
}
