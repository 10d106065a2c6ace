#pragma once
// Device-independent bitmaps in memory (the bitmap sections that bitmap files
// are read into): uncompressed 16-, 24- or 32-bit rows, bottom-up when the
// height is positive, each row padded to four bytes.
#include "platform/Surface.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

constexpr uint32_t BI_RGB = 0;

struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;  // negative: rows top-down
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = BI_RGB;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

class Bitmap {
public:
    // Largest side accepted, so that a damaged header cannot ask for gigabytes.
    static constexpr int kMaxSide = 8192;

    // Null unless the header describes an uncompressed 16-, 24- or 32-bit
    // bitmap of a sane size; the pixels start zeroed.
    static Bitmap* create(const BitmapInfoHeader& header);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool topDown() const { return m_topDown; }
    int bitCount() const { return m_bitCount; }
    int stride() const { return m_stride; }
    size_t imageSize() const { return m_bits.size(); }
    uint8_t* bits() { return m_bits.data(); }
    const uint8_t* bits() const { return m_bits.data(); }

    // Colour of a pixel (16-bit bitmaps are 5-5-5); no bounds check beyond an assert.
    COLORREF colorAt(int x, int y) const;
    void setColorAt(int x, int y, COLORREF color);

private:
    Bitmap() = default;
    uint8_t* rowAt(int y);
    const uint8_t* rowAt(int y) const;

    int m_width = 0;
    int m_height = 0;
    bool m_topDown = false;
    int m_bitCount = 24;
    int m_stride = 0;
    std::vector<uint8_t> m_bits;
};

}  // namespace plat
