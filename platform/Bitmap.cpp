#include "platform/Bitmap.h"

#include <cassert>
#include <cstdlib>

namespace plat {

Bitmap* Bitmap::create(const BitmapInfoHeader& header)
{
    if (header.compression != BI_RGB)
        return nullptr;
    if (header.bitCount != 16 && header.bitCount != 24 && header.bitCount != 32)
        return nullptr;
    if (header.width <= 0 || header.width > kMaxSide || header.height == 0 || header.height < -kMaxSide ||
        header.height > kMaxSide)
        return nullptr;
    Bitmap* bitmap = new Bitmap;
    bitmap->m_width = header.width;
    bitmap->m_height = std::abs(header.height);
    bitmap->m_topDown = header.height < 0;
    bitmap->m_bitCount = header.bitCount;
    bitmap->m_stride = ((header.width * header.bitCount + 31) / 32) * 4;
    bitmap->m_bits.assign(static_cast<size_t>(bitmap->m_stride) * bitmap->m_height, 0);
    return bitmap;
}

uint8_t* Bitmap::rowAt(int y)
{
    const int row = m_topDown ? y : m_height - 1 - y;
    return m_bits.data() + static_cast<size_t>(row) * m_stride;
}

const uint8_t* Bitmap::rowAt(int y) const { return const_cast<Bitmap*>(this)->rowAt(y); }

COLORREF Bitmap::colorAt(int x, int y) const
{
    assert(x >= 0 && y >= 0 && x < m_width && y < m_height);
    const uint8_t* row = rowAt(y);
    if (m_bitCount == 16) {
        const uint16_t p = static_cast<uint16_t>(row[x * 2] | (row[x * 2 + 1] << 8));
        return pixelToColor(p, PixelFormat::Rgb555);
    }
    const uint8_t* p = row + x * (m_bitCount / 8);
    return RGB(p[2], p[1], p[0]);
}

void Bitmap::setColorAt(int x, int y, COLORREF color)
{
    assert(x >= 0 && y >= 0 && x < m_width && y < m_height);
    uint8_t* row = rowAt(y);
    if (m_bitCount == 16) {
        const uint16_t p = colorToPixel(color, PixelFormat::Rgb555);
        row[x * 2] = static_cast<uint8_t>(p & 0xFF);
        row[x * 2 + 1] = static_cast<uint8_t>(p >> 8);
        return;
    }
    uint8_t* p = row + x * (m_bitCount / 8);
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
    if (m_bitCount == 32)
        p[3] = 0;
}

}  // namespace plat
