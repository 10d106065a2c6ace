#pragma once
// A texture picture read from a .bmp file: uncompressed 8-bit with a colour
// table of at most 256 entries, or 24- or 32-bit. Every size, offset and
// count in the file is checked against the bytes the file holds before it is
// used; a palette index beyond the table refuses the file.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class CTextureBitmap {
public:
    static constexpr int kMaxSide = 4096;

    // Reads nSize bytes from the stream's position (a loose file or an archive
    // member). Null with the reason in *pError when the file is not such a bitmap.
    static std::unique_ptr<CTextureBitmap> Read(FILE* pFile, int64_t nSize, std::string* pError);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    bool IsPalettised() const { return !m_Palette.empty(); }
    // Colour table as 0x00RRGGBB; entries may be recoloured before Colour() is used.
    std::vector<uint32_t>& Palette() { return m_Palette; }
    // 0x00RRGGBB of a pixel, rows top-down.
    uint32_t Colour(int x, int y) const;

private:
    CTextureBitmap() = default;

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<uint32_t> m_Palette;
    std::vector<uint8_t> m_Indices;   // palettised pixels, top-down
    std::vector<uint32_t> m_Colours;  // deeper pixels, top-down
};
