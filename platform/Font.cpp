#include "platform/Font.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

namespace plat {

namespace {

// Liberation Sans: units per em and the Windows ascent and descent.
constexpr double kUnitsPerEm = 2048.0;
constexpr double kWinAscent = 1854.0;
constexpr double kWinDescent = 434.0;

// The code points of 0x80..0x9F in Windows-1252 (0 where undefined).
constexpr uint16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool ensureTtf()
{
    if (TTF_WasInit() > 0)
        return true;
    return TTF_Init() == 0;
}

}  // namespace

std::string fontFile(const char* face, bool bold)
{
    std::string family = "Sans";
    if (face && (strncasecmp(face, "Times", 5) == 0))
        family = "Serif";
    else if (face && strncasecmp(face, "Courier", 7) == 0)
        family = "Mono";
    const std::string name = "Liberation" + family + (bold ? "-Bold.ttf" : "-Regular.ttf");
    for (const char* folder : {"/usr/share/fonts/truetype/liberation2/", "/usr/share/fonts/truetype/liberation/"}) {
        const std::string path = folder + name;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            std::fclose(f);
            return path;
        }
    }
    return {};
}

std::string ansiToUtf8(const char* text, int length)
{
    std::string out;
    for (int i = 0; i < length; ++i) {
        uint32_t c = static_cast<uint8_t>(text[i]);
        if (c >= 0x80 && c < 0xA0)
            c = kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : '?';
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToAnsi(const char* text)
{
    std::string out;
    const auto* p = reinterpret_cast<const uint8_t*>(text);
    while (*p) {
        uint32_t c;
        int extra;
        if (*p < 0x80) {
            c = *p;
            extra = 0;
        } else if ((*p & 0xE0) == 0xC0) {
            c = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            c = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            c = *p & 0x07;
            extra = 3;
        } else {
            ++p;
            out += '?';
            continue;
        }
        ++p;
        bool bad = false;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) {
                bad = true;
                break;
            }
            c = (c << 6) | (*p & 0x3F);
            ++p;
        }
        char ch = '?';
        if (!bad) {
            if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
                ch = static_cast<char>(c);
            } else {
                for (int i = 0; i < 32; ++i)
                    if (kCp1252High[i] == c)
                        ch = static_cast<char>(0x80 + i);
            }
        }
        out += ch;
    }
    return out;
}

Font* Font::create(int height, int weight, const char* face)
{
    if (!ensureTtf())
        return nullptr;
    const bool bold = weight > 550;
    const std::string path = fontFile(face, bold);
    if (path.empty())
        return nullptr;
    if (height == 0)
        height = 16;
    int em;
    int cell;
    int ascent;
    if (height > 0) {
        cell = height;
        em = std::max(1, static_cast<int>(std::lround(height * kUnitsPerEm / (kWinAscent + kWinDescent))));
        ascent = static_cast<int>(std::lround(height * kWinAscent / (kWinAscent + kWinDescent)));
    } else {
        em = -height;
        ascent = static_cast<int>(std::lround(em * kWinAscent / kUnitsPerEm));
        cell = ascent + static_cast<int>(std::lround(em * kWinDescent / kUnitsPerEm));
    }
    TTF_Font* ttf = TTF_OpenFont(path.c_str(), em);
    if (!ttf)
        return nullptr;
    TTF_SetFontKerning(ttf, 0);
    TTF_SetFontHinting(ttf, TTF_HINTING_MONO);
    Font* font = new Font;
    font->m_font = ttf;
    font->m_cellHeight = cell;
    font->m_ascent = ascent;
    font->m_glyphAscent = TTF_FontAscent(ttf);
    font->m_bold = bold;
    return font;
}

Font::~Font()
{
    if (m_font && TTF_WasInit() > 0)
        TTF_CloseFont(static_cast<TTF_Font*>(m_font));
}

int Font::textWidth(const char* text, int length) const
{
    if (length <= 0)
        return 0;
    const std::string utf8 = ansiToUtf8(text, length);
    int w = 0, h = 0;
    if (TTF_SizeUTF8(static_cast<TTF_Font*>(m_font), utf8.c_str(), &w, &h) != 0)
        return 0;
    return w;
}

void Font::render(const char* text, int length, const std::function<void(int, int)>& plot) const
{
    if (length <= 0)
        return;
    const std::string utf8 = ansiToUtf8(text, length);
    SDL_Surface* glyphs = TTF_RenderUTF8_Solid(static_cast<TTF_Font*>(m_font), utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (!glyphs)
        return;
    // The rendering puts the baseline at the font's own ascent; the cell puts it
    // at the cell's ascent.
    const int shift = m_ascent - m_glyphAscent;
    SDL_LockSurface(glyphs);
    for (int y = 0; y < glyphs->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(glyphs->pixels) + static_cast<size_t>(y) * glyphs->pitch;
        for (int x = 0; x < glyphs->w; ++x)
            if (row[x] != 0)
                plot(x, y + shift);
    }
    SDL_UnlockSurface(glyphs);
    SDL_FreeSurface(glyphs);
}

}  // namespace plat
