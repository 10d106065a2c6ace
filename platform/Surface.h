#pragma once
// Memory surfaces of 16-bit pixels in place of display-card surfaces. Two
// layouts exist, 5-6-5 (the default) and 5-5-5; every surface knows its own.
// Blits do not clip: a rectangle that does not lie wholly inside its surface
// fails the whole blit, and the callers clip first.
#include <cstdint>
#include <vector>

namespace plat {

using COLORREF = uint32_t;  // 0x00BBGGRR
constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GetGValue(COLORREF c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(COLORREF c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

enum class PixelFormat { Rgb565, Rgb555 };

struct PixelMasks {
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};
PixelMasks pixelMasks(PixelFormat format);
// The layout a green mask stands for: 5-5-5 when the mask without its low five
// bits is 0x3E0, 5-6-5 otherwise.
PixelFormat formatFromGreenMask(uint32_t greenMask);

// Colour to pixel by truncating each channel; RGB(255, 0, 255) gives exactly the
// colour key (0xF81F in 5-6-5, 0x7C1F in 5-5-5).
uint16_t colorToPixel(COLORREF color, PixelFormat format);
// Pixel to colour with the channel bits in the high bits of each byte, so that
// colorToPixel(pixelToColor(p)) == p.
COLORREF pixelToColor(uint16_t pixel, PixelFormat format);

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};
struct Size {
    int32_t cx = 0;
    int32_t cy = 0;
};

// Results of surface operations: 0 is success.
using Result = int32_t;
constexpr Result kOk = 0;
constexpr Result kErrInvalidParams = -1;
constexpr Result kErrInvalidRect = -2;
constexpr Result kErrSurfaceBusy = -3;
constexpr Result kErrNoSource = -4;

// Flags of bltFast.
constexpr uint32_t BLTFAST_NOCOLORKEY = 0x00;
constexpr uint32_t BLTFAST_SRCCOLORKEY = 0x01;
constexpr uint32_t BLTFAST_WAIT = 0x10;
// Flags of blt.
constexpr uint32_t BLT_COLORFILL = 0x00000400;
constexpr uint32_t BLT_KEYSRC = 0x00008000;
constexpr uint32_t BLT_WAIT = 0x01000000;

class DeviceContext;

class Surface {
public:
    Surface(int width, int height, PixelFormat format = PixelFormat::Rgb565);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    PixelFormat format() const { return m_format; }
    PixelMasks masks() const { return pixelMasks(m_format); }
    // Bytes per row; may be larger than width * 2.
    int pitch() const { return m_pitch; }

    // The first pixel and the pitch; the surface stays locked until unlock.
    // Blits to or from a locked surface fail.
    uint16_t* lock(int* pitch = nullptr);
    void unlock();
    bool isLocked() const { return m_lockCount > 0; }

    // Direct pixel access for the layer itself and for tests; no bounds check
    // beyond the asserted range.
    uint16_t pixel(int x, int y) const;
    void setPixel(int x, int y, uint16_t value);
    const uint8_t* bytes() const { return m_bytes.data(); }

    void setColorKey(uint16_t key);
    void clearColorKey();
    bool hasColorKey() const { return m_hasKey; }
    uint16_t colorKey() const { return m_key; }

    // Fills a rectangle (null: the whole surface) with a raw pixel value.
    Result fill(const Rect* rect, uint16_t value);
    // Copies srcRect (null: the whole source) to (x, y). With
    // BLTFAST_SRCCOLORKEY source pixels equal to the source's key are skipped.
    // Overlapping copies within one surface behave like memmove.
    Result bltFast(int x, int y, const Surface& source, const Rect* srcRect, uint32_t flags);
    // Copies srcRect onto dstRect (nulls: whole surfaces), stretching by
    // nearest pixel when the sizes differ; BLT_COLORFILL fills dstRect with
    // fillValue instead; BLT_KEYSRC honours the source key.
    Result blt(const Rect* dstRect, const Surface* source, const Rect* srcRect, uint32_t flags,
               uint16_t fillValue = 0);
    // Memory surfaces are never lost; kept so that callers can restore as they would.
    Result restore() { return kOk; }

    // A drawing context over this surface; the caller deletes it (releaseDC).
    DeviceContext* getDC();
    void releaseDC(DeviceContext* dc);

private:
    bool contains(const Rect& r) const;

    int m_width;
    int m_height;
    int m_pitch;
    PixelFormat m_format;
    std::vector<uint8_t> m_bytes;
    int m_lockCount = 0;
    bool m_hasKey = false;
    uint16_t m_key = 0;
};

}  // namespace plat
