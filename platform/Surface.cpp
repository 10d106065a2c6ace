#include "platform/Surface.h"

#include "platform/DeviceContext.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace plat {

PixelMasks pixelMasks(PixelFormat format)
{
    if (format == PixelFormat::Rgb555)
        return {0x7C00, 0x03E0, 0x001F};
    return {0xF800, 0x07E0, 0x001F};
}

PixelFormat formatFromGreenMask(uint32_t greenMask)
{
    return (greenMask & ~31u) == 0x3E0 ? PixelFormat::Rgb555 : PixelFormat::Rgb565;
}

uint16_t colorToPixel(COLORREF color, PixelFormat format)
{
    const uint32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    if (format == PixelFormat::Rgb555)
        return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

COLORREF pixelToColor(uint16_t pixel, PixelFormat format)
{
    uint32_t r, g, b;
    if (format == PixelFormat::Rgb555) {
        r = ((pixel >> 10) & 31) << 3;
        g = ((pixel >> 5) & 31) << 3;
    } else {
        r = ((pixel >> 11) & 31) << 3;
        g = ((pixel >> 5) & 63) << 2;
    }
    b = (pixel & 31) << 3;
    return RGB(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
}

Surface::Surface(int width, int height, PixelFormat format)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_format(format)
{
    // Rows are padded to 8 bytes, so that code which ignores the pitch shows up.
    m_pitch = (m_width * 2 + 7) & ~7;
    m_bytes.assign(static_cast<size_t>(m_pitch) * static_cast<size_t>(m_height), 0);
}

Surface::~Surface() = default;

uint16_t* Surface::lock(int* pitch)
{
    ++m_lockCount;
    if (pitch)
        *pitch = m_pitch;
    return reinterpret_cast<uint16_t*>(m_bytes.data());
}

void Surface::unlock()
{
    if (m_lockCount > 0)
        --m_lockCount;
}

uint16_t Surface::pixel(int x, int y) const
{
    assert(x >= 0 && y >= 0 && x < m_width && y < m_height);
    uint16_t v;
    std::memcpy(&v, m_bytes.data() + static_cast<size_t>(y) * m_pitch + static_cast<size_t>(x) * 2, 2);
    return v;
}

void Surface::setPixel(int x, int y, uint16_t value)
{
    assert(x >= 0 && y >= 0 && x < m_width && y < m_height);
    std::memcpy(m_bytes.data() + static_cast<size_t>(y) * m_pitch + static_cast<size_t>(x) * 2, &value, 2);
}

void Surface::setColorKey(uint16_t key)
{
    m_hasKey = true;
    m_key = key;
}

void Surface::clearColorKey() { m_hasKey = false; }

bool Surface::contains(const Rect& r) const
{
    return r.left >= 0 && r.top >= 0 && r.right <= m_width && r.bottom <= m_height && r.left <= r.right &&
           r.top <= r.bottom;
}

Result Surface::fill(const Rect* rect, uint16_t value)
{
    const Rect r = rect ? *rect : Rect{0, 0, m_width, m_height};
    if (!contains(r))
        return kErrInvalidRect;
    if (isLocked())
        return kErrSurfaceBusy;
    for (int y = r.top; y < r.bottom; ++y) {
        uint16_t* row = reinterpret_cast<uint16_t*>(m_bytes.data() + static_cast<size_t>(y) * m_pitch);
        std::fill(row + r.left, row + r.right, value);
    }
    return kOk;
}

Result Surface::bltFast(int x, int y, const Surface& source, const Rect* srcRect, uint32_t flags)
{
    const Rect s = srcRect ? *srcRect : Rect{0, 0, source.m_width, source.m_height};
    if (!source.contains(s))
        return kErrInvalidRect;
    const Rect d{x, y, x + s.width(), y + s.height()};
    if (!contains(d))
        return kErrInvalidRect;
    if (isLocked() || source.isLocked())
        return kErrSurfaceBusy;
    const int w = s.width(), h = s.height();
    if (w == 0 || h == 0)
        return kOk;
    const bool keyed = (flags & BLTFAST_SRCCOLORKEY) && source.m_hasKey;

    // Rows of the source, taken from a copy when source and destination overlap
    // in one surface, so that the result is that of a memmove.
    std::vector<uint8_t> copy;
    const uint8_t* srcBase = source.m_bytes.data() + static_cast<size_t>(s.top) * source.m_pitch;
    size_t srcPitch = static_cast<size_t>(source.m_pitch);
    int srcLeft = s.left;
    if (&source == this) {
        copy.resize(static_cast<size_t>(w) * 2 * h);
        for (int row = 0; row < h; ++row)
            std::memcpy(copy.data() + static_cast<size_t>(row) * w * 2,
                        srcBase + static_cast<size_t>(row) * srcPitch + static_cast<size_t>(s.left) * 2,
                        static_cast<size_t>(w) * 2);
        srcBase = copy.data();
        srcPitch = static_cast<size_t>(w) * 2;
        srcLeft = 0;
    }
    for (int row = 0; row < h; ++row) {
        const uint16_t* from = reinterpret_cast<const uint16_t*>(srcBase + row * srcPitch) + srcLeft;
        uint16_t* to = reinterpret_cast<uint16_t*>(m_bytes.data() + static_cast<size_t>(y + row) * m_pitch) + x;
        if (!keyed) {
            std::memcpy(to, from, static_cast<size_t>(w) * 2);
            continue;
        }
        for (int i = 0; i < w; ++i)
            if (from[i] != source.m_key)
                to[i] = from[i];
    }
    return kOk;
}

Result Surface::blt(const Rect* dstRect, const Surface* source, const Rect* srcRect, uint32_t flags,
                    uint16_t fillValue)
{
    const Rect d = dstRect ? *dstRect : Rect{0, 0, m_width, m_height};
    if (!contains(d))
        return kErrInvalidRect;
    if (flags & BLT_COLORFILL)
        return fill(&d, fillValue);
    if (!source)
        return kErrNoSource;
    const Rect s = srcRect ? *srcRect : Rect{0, 0, source->m_width, source->m_height};
    if (!source->contains(s))
        return kErrInvalidRect;
    if (s.width() == d.width() && s.height() == d.height())
        return bltFast(d.left, d.top, *source, &s, (flags & BLT_KEYSRC) ? BLTFAST_SRCCOLORKEY : 0);
    if (isLocked() || source->isLocked())
        return kErrSurfaceBusy;
    if (d.width() == 0 || d.height() == 0 || s.width() == 0 || s.height() == 0)
        return kOk;
    std::vector<uint16_t> scaled(static_cast<size_t>(d.width()) * d.height());
    for (int y = 0; y < d.height(); ++y) {
        const int sy = s.top + static_cast<int>(static_cast<int64_t>(y) * s.height() / d.height());
        for (int x = 0; x < d.width(); ++x) {
            const int sx = s.left + static_cast<int>(static_cast<int64_t>(x) * s.width() / d.width());
            scaled[static_cast<size_t>(y) * d.width() + x] = source->pixel(sx, sy);
        }
    }
    const bool keyed = (flags & BLT_KEYSRC) && source->m_hasKey;
    for (int y = 0; y < d.height(); ++y)
        for (int x = 0; x < d.width(); ++x) {
            const uint16_t v = scaled[static_cast<size_t>(y) * d.width() + x];
            if (!keyed || v != source->m_key)
                setPixel(d.left + x, d.top + y, v);
        }
    return kOk;
}

DeviceContext* Surface::getDC() { return new DeviceContext(this); }

void Surface::releaseDC(DeviceContext* dc) { delete dc; }

}  // namespace plat
