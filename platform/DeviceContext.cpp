#include "platform/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace plat {

namespace {

// Runs of on and off pixels of the styled one-pixel pens.
struct Pattern {
    int runs[6];
    int count;
};
const Pattern kDash{{18, 6}, 2};
const Pattern kDot{{3, 3}, 2};
const Pattern kDashDot{{9, 6, 3, 6}, 4};
const Pattern kDashDotDot{{9, 3, 3, 3, 3, 3}, 6};

bool patternOn(const Pattern& p, int step)
{
    int period = 0;
    for (int i = 0; i < p.count; ++i)
        period += p.runs[i];
    int at = step % period;
    for (int i = 0; i < p.count; ++i) {
        if (at < p.runs[i])
            return i % 2 == 0;
        at -= p.runs[i];
    }
    return true;
}

bool hatchOn(int hatch, int x, int y)
{
    const bool horizontal = (y & 7) == 0;
    const bool vertical = (x & 7) == 0;
    const bool forward = ((x - y) & 7) == 0;
    const bool backward = ((x + y) & 7) == 0;
    switch (hatch) {
    case HS_HORIZONTAL:
        return horizontal;
    case HS_VERTICAL:
        return vertical;
    case HS_FDIAGONAL:
        return forward;
    case HS_BDIAGONAL:
        return backward;
    case HS_CROSS:
        return horizontal || vertical;
    case HS_DIAGCROSS:
        return forward || backward;
    default:
        return false;
    }
}

Brush* whiteBrush()
{
    static Brush* brush = Brush::createSolid(RGB(255, 255, 255));
    return brush;
}

}  // namespace

Pen* Pen::null()
{
    static Pen pen(PS_NULL, 1, 0);
    return &pen;
}

Brush* Brush::hollow()
{
    static Brush brush(Kind::Hollow, 0, 0);
    return &brush;
}

DeviceContext::DeviceContext(Surface* surface) : m_surface(surface)
{
    m_pen = &m_defaultPen;
    m_brush = whiteBrush();
    m_clip = {0, 0, width(), height()};
}

DeviceContext::DeviceContext(Bitmap* bitmap) : m_bitmap(bitmap)
{
    m_pen = &m_defaultPen;
    m_brush = whiteBrush();
    m_clip = {0, 0, width(), height()};
}

DeviceContext::~DeviceContext() { delete m_defaultFont; }

int DeviceContext::width() const { return m_surface ? m_surface->width() : m_bitmap ? m_bitmap->width() : 0; }

int DeviceContext::height() const { return m_surface ? m_surface->height() : m_bitmap ? m_bitmap->height() : 0; }

Font* DeviceContext::selectFont(Font* font)
{
    Font* old = m_font;
    m_font = font;
    return old;
}

Pen* DeviceContext::selectPen(Pen* pen)
{
    Pen* old = m_pen == &m_defaultPen ? nullptr : m_pen;
    m_pen = pen ? pen : &m_defaultPen;
    return old;
}

Brush* DeviceContext::selectBrush(Brush* brush)
{
    Brush* old = m_brush == whiteBrush() ? nullptr : m_brush;
    m_brush = brush ? brush : whiteBrush();
    return old;
}

Bitmap* DeviceContext::selectBitmap(Bitmap* bitmap)
{
    Bitmap* old = m_bitmap;
    if (!m_surface) {
        m_bitmap = bitmap;
        m_clip = {0, 0, width(), height()};
    }
    return old;
}

COLORREF DeviceContext::setTextColor(COLORREF color)
{
    const COLORREF old = m_textColor;
    m_textColor = color & 0xFFFFFF;
    return old;
}

COLORREF DeviceContext::setBkColor(COLORREF color)
{
    const COLORREF old = m_bkColor;
    m_bkColor = color & 0xFFFFFF;
    return old;
}

int DeviceContext::setBkMode(int mode)
{
    const int old = m_bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_bkMode = mode;
    return old;
}

uint32_t DeviceContext::setTextAlign(uint32_t align)
{
    const uint32_t old = m_align;
    m_align = align;
    return old;
}

Font* DeviceContext::font()
{
    if (m_font)
        return m_font;
    if (!m_defaultFont)
        m_defaultFont = Font::create(16, FW_NORMAL, "Arial");
    return m_defaultFont;
}

void DeviceContext::plot(int x, int y, COLORREF color)
{
    if (x < m_clip.left || y < m_clip.top || x >= m_clip.right || y >= m_clip.bottom)
        return;
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return;
    if (m_surface) {
        if (color != m_cachedColor) {
            m_cachedColor = color;
            m_cachedPixel = colorToPixel(color, m_surface->format());
        }
        m_surface->setPixel(x, y, m_cachedPixel);
    } else if (m_bitmap) {
        m_bitmap->setColorAt(x, y, color);
    }
}

void DeviceContext::plotPen(int x, int y, bool on)
{
    if (!on) {
        if (m_bkMode == OPAQUE)
            plot(x, y, m_bkColor);
        return;
    }
    const int w = m_pen->width();
    if (w == 1) {
        plot(x, y, m_pen->color());
        return;
    }
    const int from = -(w - 1) / 2;
    for (int dy = from; dy < from + w; ++dy)
        for (int dx = from; dx < from + w; ++dx)
            plot(x + dx, y + dy, m_pen->color());
}

void DeviceContext::fillSpan(int y, int x0, int x1, const Brush* brush)
{
    if (!brush || brush->kind() == Brush::Kind::Hollow)
        return;
    for (int x = x0; x < x1; ++x) {
        if (brush->kind() == Brush::Kind::Solid)
            plot(x, y, brush->color());
        else if (hatchOn(brush->hatch(), x, y))
            plot(x, y, brush->color());
        else if (m_bkMode == OPAQUE)
            plot(x, y, m_bkColor);
    }
}

void DeviceContext::line(int x0, int y0, int x1, int y1)
{
    if (m_pen->style() == PS_NULL)
        return;
    const Pattern* pattern = nullptr;
    if (m_pen->width() == 1) {
        switch (m_pen->style()) {
        case PS_DASH:
            pattern = &kDash;
            break;
        case PS_DOT:
            pattern = &kDot;
            break;
        case PS_DASHDOT:
            pattern = &kDashDot;
            break;
        case PS_DASHDOTDOT:
            pattern = &kDashDotDot;
            break;
        default:
            break;
        }
    }
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    // The end pixel is left out, so that joined lines draw each pixel once.
    while (x != x1 || y != y1) {
        plotPen(x, y, pattern ? patternOn(*pattern, m_styleStep) : true);
        ++m_styleStep;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

bool DeviceContext::moveTo(int x, int y, Point* previous)
{
    if (previous)
        *previous = m_position;
    m_position = {x, y};
    m_styleStep = 0;
    return true;
}

bool DeviceContext::lineTo(int x, int y)
{
    line(m_position.x, m_position.y, x, y);
    m_position = {x, y};
    return true;
}

bool DeviceContext::rectangle(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const bool pen = m_pen->style() != PS_NULL;
    // Without a pen the fill stops one pixel short on the right and bottom.
    const int fillRight = pen ? right : right - 1;
    const int fillBottom = pen ? bottom : bottom - 1;
    for (int y = top; y < fillBottom; ++y)
        fillSpan(y, left, fillRight, m_brush);
    if (!pen || right - left < 1 || bottom - top < 1)
        return true;
    const Point saved = m_position;
    m_styleStep = 0;
    if (right - left < 2 || bottom - top < 2) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                plotPen(x, y, true);
    } else {
        line(left, top, right - 1, top);
        line(right - 1, top, right - 1, bottom - 1);
        line(right - 1, bottom - 1, left, bottom - 1);
        line(left, bottom - 1, left, top);
    }
    m_position = saved;
    return true;
}

bool DeviceContext::ellipse(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1)
        return true;
    // A pixel belongs to the ellipse when its centre lies inside the ellipse
    // inscribed in the box.
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double a = (right - left) / 2.0, b = (bottom - top) / 2.0;
    auto inside = [&](int x, int y) {
        if (x < left || x >= right || y < top || y >= bottom)
            return false;
        const double u = (x + 0.5 - cx) / a, v = (y + 0.5 - cy) / b;
        return u * u + v * v <= 1.0 + 1e-9;
    };
    const bool pen = m_pen->style() != PS_NULL;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge && pen)
                plotPen(x, y, true);
            else
                fillSpan(y, x, x + 1, m_brush);
        }
    return true;
}

bool DeviceContext::fillRect(const Rect& rect, const Brush* brush)
{
    for (int y = rect.top; y < rect.bottom; ++y)
        fillSpan(y, rect.left, rect.right, brush);
    return true;
}

COLORREF DeviceContext::setPixel(int x, int y, COLORREF color)
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return CLR_INVALID;
    plot(x, y, color & 0xFFFFFF);
    return getPixel(x, y);
}

COLORREF DeviceContext::getPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return CLR_INVALID;
    if (m_surface)
        return pixelToColor(m_surface->pixel(x, y), m_surface->format());
    return m_bitmap->colorAt(x, y);
}

bool DeviceContext::textOut(int x, int y, const char* text, int length)
{
    if (!text)
        return false;
    if (length < 0)
        length = static_cast<int>(std::strlen(text));
    Font* f = font();
    if (!f)
        return false;
    const int w = f->textWidth(text, length);
    int left = x;
    if ((m_align & TA_CENTER) == TA_CENTER)
        left = x - w / 2;
    else if (m_align & TA_RIGHT)
        left = x - w;
    int top = y;
    if ((m_align & TA_BASELINE) == TA_BASELINE)
        top = y - f->ascent();
    else if (m_align & TA_BOTTOM)
        top = y - f->cellHeight();
    if (m_bkMode == OPAQUE)
        for (int row = top; row < top + f->cellHeight(); ++row)
            for (int col = left; col < left + w; ++col)
                plot(col, row, m_bkColor);
    const COLORREF color = m_textColor;
    f->render(text, length, [&](int gx, int gy) { plot(left + gx, top + gy, color); });
    return true;
}

bool DeviceContext::textOutRotated(int x, int y, int degrees, const char* text, int length)
{
    if (!text || (degrees != 90 && degrees != 270))
        return false;
    if (length < 0)
        length = static_cast<int>(std::strlen(text));
    Font* f = font();
    if (!f)
        return false;
    const int w = f->textWidth(text, length);
    // Distance along the reading direction from (x, y) back to the text's start.
    int back = 0;
    if ((m_align & TA_CENTER) == TA_CENTER)
        back = w / 2;
    else if (m_align & TA_RIGHT)
        back = w;
    const COLORREF color = m_textColor;
    if (degrees == 90)
        f->render(text, length, [&](int gx, int gy) { plot(x + gy, y + back - gx, color); });
    else
        f->render(text, length, [&](int gx, int gy) { plot(x - gy, y - back + gx, color); });
    return true;
}

bool DeviceContext::getTextExtentPoint(const char* text, int length, Size* size)
{
    Font* f = font();
    if (!text || !size || !f)
        return false;
    if (length < 0)
        length = static_cast<int>(std::strlen(text));
    size->cx = f->textWidth(text, length);
    size->cy = f->cellHeight();
    return true;
}

int DeviceContext::drawText(const char* text, int length, Rect* rect, uint32_t format)
{
    Font* f = font();
    if (!text || !rect || !f)
        return 0;
    if (length < 0)
        length = static_cast<int>(std::strlen(text));
    std::string s;
    for (int i = 0; i < length; ++i) {
        // Without DT_NOPREFIX an ampersand marks the next character; "&&" is one '&'.
        if (!(format & DT_NOPREFIX) && text[i] == '&') {
            if (i + 1 < length && text[i + 1] == '&')
                s += text[++i];
            continue;
        }
        s += text[i];
    }
    std::vector<std::string> paragraphs;
    if (format & DT_SINGLELINE) {
        std::string one;
        for (char c : s)
            if (c != '\r' && c != '\n')
                one += c;
        paragraphs.push_back(one);
    } else {
        std::string current;
        for (char c : s) {
            if (c == '\r')
                continue;
            if (c == '\n') {
                paragraphs.push_back(current);
                current.clear();
            } else {
                current += c;
            }
        }
        paragraphs.push_back(current);
    }
    auto widthOf = [&](const std::string& t) { return f->textWidth(t.data(), static_cast<int>(t.size())); };
    std::vector<std::string> lines;
    const int boxWidth = rect->right - rect->left;
    for (const std::string& p : paragraphs) {
        if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) {
            lines.push_back(p);
            continue;
        }
        std::string line;
        size_t i = 0;
        while (i < p.size()) {
            size_t j = i;
            while (j < p.size() && p[j] == ' ')
                ++j;
            size_t k = j;
            while (k < p.size() && p[k] != ' ')
                ++k;
            const std::string spaces = p.substr(i, j - i);
            const std::string word = p.substr(j, k - j);
            if (!line.empty() && widthOf(line + spaces + word) > boxWidth) {
                lines.push_back(line);
                line = word;
            } else {
                line += spaces + word;
            }
            i = k;
        }
        lines.push_back(line);
    }
    const int lineHeight = f->cellHeight();
    const int total = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const std::string& l : lines)
            widest = std::max(widest, widthOf(l));
        rect->right = rect->left + widest;
        rect->bottom = rect->top + total;
        return total;
    }
    int y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect->bottom - lineHeight;
    }
    const Rect savedClip = m_clip;
    if (!(format & DT_NOCLIP))
        m_clip = {std::max(m_clip.left, rect->left), std::max(m_clip.top, rect->top),
                  std::min(m_clip.right, rect->right), std::min(m_clip.bottom, rect->bottom)};
    const uint32_t savedAlign = m_align;
    m_align = TA_LEFT | TA_TOP;
    for (const std::string& l : lines) {
        const int w = widthOf(l);
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (boxWidth - w) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - w;
        textOut(x, y, l.data(), static_cast<int>(l.size()));
        y += lineHeight;
    }
    m_align = savedAlign;
    m_clip = savedClip;
    return total;
}

bool DeviceContext::stretchBlt(int x, int y, int w, int h, const DeviceContext& source, int sx, int sy, int sw,
                               int sh)
{
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return false;
    if (!source.m_surface && !source.m_bitmap)
        return false;
    for (int j = 0; j < h; ++j) {
        const int srcY = sy + static_cast<int>(static_cast<int64_t>(j) * sh / h);
        if (srcY < 0 || srcY >= source.height())
            continue;
        for (int i = 0; i < w; ++i) {
            const int srcX = sx + static_cast<int>(static_cast<int64_t>(i) * sw / w);
            if (srcX < 0 || srcX >= source.width())
                continue;
            plot(x + i, y + j, source.getPixel(srcX, srcY));
        }
    }
    return true;
}

}  // namespace plat
