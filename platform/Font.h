#pragma once
// Fonts for drawing text on surfaces. "Arial" (and every other sans face) is
// served by Liberation Sans, which has Arial's metrics. A positive height is
// the cell height (ascent plus descent), a negative one the em height; weights
// up to 550 draw the regular face, heavier ones the bold face. Glyphs are
// drawn without anti-aliasing, so that no fringe appears on keyed surfaces.
#include <cstdint>
#include <functional>
#include <string>

namespace plat {

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

class Font {
public:
    // Null when no font file can be opened.
    static Font* create(int height, int weight, const char* face);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int cellHeight() const { return m_cellHeight; }
    int ascent() const { return m_ascent; }
    bool bold() const { return m_bold; }

    // Width of a text in the game's single-byte character set (Windows-1252):
    // the sum of the advances.
    int textWidth(const char* text, int length) const;
    // Calls plot(x, y) for each set pixel of the text, with (0, 0) the top-left
    // of its cell.
    void render(const char* text, int length, const std::function<void(int, int)>& plot) const;

private:
    Font() = default;
    void* m_font = nullptr;  // TTF_Font
    int m_cellHeight = 0;
    int m_ascent = 0;
    int m_glyphAscent = 0;
    bool m_bold = false;
};

// Windows-1252 text as UTF-8.
std::string ansiToUtf8(const char* text, int length);
// UTF-8 text as Windows-1252; characters outside it become '?'.
std::string utf8ToAnsi(const char* text);
// The file of the face that serves a font name ("Arial" is Liberation Sans);
// empty when it is not installed.
std::string fontFile(const char* face, bool bold);

}  // namespace plat
