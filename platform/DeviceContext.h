#pragma once
// A drawing context over a surface or a bitmap, with the drawing rules the game
// relies on: shapes cover left..right-1 and top..bottom-1, a line leaves out its
// end pixel, a rectangle without a pen fills one pixel less to the right and
// bottom, text is placed by its cell and measured by its advances.
#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Surface.h"

#include <cstdint>

namespace plat {

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;

// Hatch styles.
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Text alignment.
constexpr uint32_t TA_LEFT = 0;
constexpr uint32_t TA_RIGHT = 2;
constexpr uint32_t TA_CENTER = 6;
constexpr uint32_t TA_TOP = 0;
constexpr uint32_t TA_BOTTOM = 8;
constexpr uint32_t TA_BASELINE = 24;

// DrawText format flags.
constexpr uint32_t DT_TOP = 0x0000;
constexpr uint32_t DT_LEFT = 0x0000;
constexpr uint32_t DT_CENTER = 0x0001;
constexpr uint32_t DT_RIGHT = 0x0002;
constexpr uint32_t DT_VCENTER = 0x0004;
constexpr uint32_t DT_BOTTOM = 0x0008;
constexpr uint32_t DT_WORDBREAK = 0x0010;
constexpr uint32_t DT_SINGLELINE = 0x0020;
constexpr uint32_t DT_NOCLIP = 0x0100;
constexpr uint32_t DT_CALCRECT = 0x0400;
constexpr uint32_t DT_NOPREFIX = 0x0800;

class Pen {
public:
    Pen(int style, int width, COLORREF color) : m_style(style), m_width(width < 1 ? 1 : width), m_color(color) {}
    // The shared pen that draws nothing; never deleted.
    static Pen* null();
    int style() const { return m_style; }
    int width() const { return m_width; }
    COLORREF color() const { return m_color; }

private:
    int m_style;
    int m_width;
    COLORREF m_color;
};

class Brush {
public:
    enum class Kind { Solid, Hollow, Hatched };
    static Brush* createSolid(COLORREF color) { return new Brush(Kind::Solid, 0, color); }
    static Brush* createHatch(int hatch, COLORREF color) { return new Brush(Kind::Hatched, hatch, color); }
    // The shared brush that fills nothing; never deleted.
    static Brush* hollow();
    Kind kind() const { return m_kind; }
    int hatch() const { return m_hatch; }
    COLORREF color() const { return m_color; }

private:
    Brush(Kind kind, int hatch, COLORREF color) : m_kind(kind), m_hatch(hatch), m_color(color) {}
    Kind m_kind;
    int m_hatch;
    COLORREF m_color;
};

class DeviceContext {
public:
    explicit DeviceContext(Surface* surface);
    // A memory context; a bitmap is selected into it with selectBitmap.
    explicit DeviceContext(Bitmap* bitmap = nullptr);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    int width() const;
    int height() const;

    // Each select answers the object selected before (null for the defaults).
    Font* selectFont(Font* font);
    Pen* selectPen(Pen* pen);
    Brush* selectBrush(Brush* brush);
    Bitmap* selectBitmap(Bitmap* bitmap);

    COLORREF setTextColor(COLORREF color);
    COLORREF setBkColor(COLORREF color);
    int setBkMode(int mode);
    uint32_t setTextAlign(uint32_t align);

    // Text in the game's single-byte character set; length -1 = up to the NUL.
    bool textOut(int x, int y, const char* text, int length = -1);
    // Text turned a quarter (90: reading upward, the cell's top to the left)
    // or three quarters (270: reading downward, the top to the right) about
    // (x, y); the horizontal alignment applies along the reading direction.
    // Other angles are refused.
    bool textOutRotated(int x, int y, int degrees, const char* text, int length = -1);
    bool getTextExtentPoint(const char* text, int length, Size* size);
    // Answers the height of the text drawn (or measured with DT_CALCRECT).
    int drawText(const char* text, int length, Rect* rect, uint32_t format);

    bool moveTo(int x, int y, Point* previous = nullptr);
    bool lineTo(int x, int y);
    bool rectangle(int left, int top, int right, int bottom);
    bool ellipse(int left, int top, int right, int bottom);
    bool fillRect(const Rect& rect, const Brush* brush);

    COLORREF setPixel(int x, int y, COLORREF color);
    COLORREF getPixel(int x, int y) const;

    // Copies (and stretches by nearest pixel) a part of another context.
    bool stretchBlt(int x, int y, int width, int height, const DeviceContext& source, int sx, int sy, int sw, int sh);
    bool bitBlt(int x, int y, int width, int height, const DeviceContext& source, int sx, int sy)
    {
        return stretchBlt(x, y, width, height, source, sx, sy, width, height);
    }

private:
    void plot(int x, int y, COLORREF color);
    void plotPen(int x, int y, bool on);
    void fillSpan(int y, int x0, int x1, const Brush* brush);
    void line(int x0, int y0, int x1, int y1);
    Font* font();

    Surface* m_surface = nullptr;
    Bitmap* m_bitmap = nullptr;
    Font* m_font = nullptr;
    Font* m_defaultFont = nullptr;
    Pen m_defaultPen{PS_SOLID, 1, RGB(0, 0, 0)};
    Brush* m_defaultBrush = nullptr;
    Pen* m_pen = nullptr;
    Brush* m_brush = nullptr;
    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
    uint32_t m_align = TA_LEFT | TA_TOP;
    Point m_position;
    int m_styleStep = 0;
    Rect m_clip;
    // Last colour converted for the surface, to spare the conversion per pixel.
    COLORREF m_cachedColor = CLR_INVALID;
    uint16_t m_cachedPixel = 0;
};

}  // namespace plat
