#include "tools/gfxkit/Painter.h"

#include "tools/gfxkit/AdvertDesign.h"
#include "tools/gfxkit/GroundPreviewDesign.h"

#include "tools/gfxkit/BmpWriter.h"

#include "platform/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace tools {

namespace {

using plat::COLORREF;
using Palette = std::map<std::string, COLORREF>;

bool parseColor(const std::string& word, const Palette& palette, COLORREF& color)
{
    const auto named = palette.find(word);
    if (named != palette.end()) {
        color = named->second;
        return true;
    }
    if (word == "key") {
        color = plat::RGB(255, 0, 255);
        return true;
    }
    if (word.size() != 7 || word[0] != '#')
        return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(word.c_str() + 1, &end, 16);
    if (*end != 0)
        return false;
    color = plat::RGB(static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v));
    return true;
}

uint8_t mix(uint8_t a, uint8_t b, double t) { return static_cast<uint8_t>(std::lround(a + (b - a) * t)); }

COLORREF mixColor(COLORREF a, COLORREF b, double t)
{
    return plat::RGB(mix(plat::GetRValue(a), plat::GetRValue(b), t), mix(plat::GetGValue(a), plat::GetGValue(b), t),
                     mix(plat::GetBValue(a), plat::GetBValue(b), t));
}

class Canvas {
public:
    explicit Canvas(plat::Bitmap* bitmap) : m_bitmap(bitmap), m_dc(bitmap) { m_dc.setBkMode(plat::TRANSPARENT); }

    void set(int x, int y, COLORREF c)
    {
        if (x >= 0 && y >= 0 && x < m_bitmap->width() && y < m_bitmap->height())
            m_bitmap->setColorAt(x, y, c);
    }
    void rect(int x, int y, int w, int h, COLORREF c)
    {
        // Only the part inside the bitmap is walked ("fill" asks for far more).
        const int right = std::min(x + w, m_bitmap->width()), bottom = std::min(y + h, m_bitmap->height());
        for (int j = std::max(y, 0); j < bottom; ++j)
            for (int i = std::max(x, 0); i < right; ++i)
                m_bitmap->setColorAt(i, j, c);
    }
    void gradient(int x, int y, int w, int h, COLORREF a, COLORREF b, bool vertical)
    {
        const int span = std::max(1, (vertical ? h : w) - 1);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                set(x + i, y + j, mixColor(a, b, static_cast<double>(vertical ? j : i) / span));
    }
    void poly(const std::vector<int>& xy, COLORREF c)
    {
        const size_t n = xy.size() / 2;
        for (int y = 0; y < m_bitmap->height(); ++y) {
            const double cy = y + 0.5;
            std::vector<double> crossings;
            for (size_t i = 0; i < n; ++i) {
                const double x0 = xy[2 * i], y0 = xy[2 * i + 1];
                const double x1 = xy[2 * ((i + 1) % n)], y1 = xy[2 * ((i + 1) % n) + 1];
                if ((y0 <= cy && y1 > cy) || (y1 <= cy && y0 > cy))
                    crossings.push_back(x0 + (cy - y0) * (x1 - x0) / (y1 - y0));
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t k = 0; k + 1 < crossings.size(); k += 2)
                for (int x = 0; x < m_bitmap->width(); ++x)
                    if (x + 0.5 >= crossings[k] && x + 0.5 < crossings[k + 1])
                        set(x, y, c);
        }
    }
    plat::DeviceContext& dc() { return m_dc; }

private:
    plat::Bitmap* m_bitmap;
    plat::DeviceContext m_dc;
};

// Runs one drawing command; false with a reason.
bool paintCommand(Canvas& canvas, const Palette& palette, const std::string& command, std::istringstream& in,
                  std::string& error)
{
    auto ints = [&](int count, std::vector<int>& out) {
        out.resize(static_cast<size_t>(count));
        for (int& v : out)
            if (!(in >> v))
                return false;
        return true;
    };
    auto color = [&](COLORREF& c) {
        std::string word;
        return (in >> word) && parseColor(word, palette, c);
    };
    std::vector<int> v;
    COLORREF c1 = 0, c2 = 0;
    if (command == "fill") {
        if (!color(c1))
            return error = "fill needs a colour", false;
        canvas.rect(0, 0, 1 << 14, 1 << 14, c1);
    } else if (command == "rect") {
        if (!ints(4, v) || !color(c1))
            return error = "rect needs x y w h colour", false;
        canvas.rect(v[0], v[1], v[2], v[3], c1);
    } else if (command == "frame") {
        if (!ints(4, v) || !color(c1))
            return error = "frame needs x y w h colour [thickness]", false;
        int t = 1;
        in >> t;
        for (int k = 0; k < t; ++k) {
            canvas.rect(v[0] + k, v[1] + k, v[2] - 2 * k, 1, c1);
            canvas.rect(v[0] + k, v[1] + v[3] - 1 - k, v[2] - 2 * k, 1, c1);
            canvas.rect(v[0] + k, v[1] + k, 1, v[3] - 2 * k, c1);
            canvas.rect(v[0] + v[2] - 1 - k, v[1] + k, 1, v[3] - 2 * k, c1);
        }
    } else if (command == "bevel") {
        if (!ints(4, v) || !color(c1) || !color(c2))
            return error = "bevel needs x y w h light dark", false;
        canvas.rect(v[0], v[1], v[2], 1, c1);
        canvas.rect(v[0], v[1], 1, v[3], c1);
        canvas.rect(v[0], v[1] + v[3] - 1, v[2], 1, c2);
        canvas.rect(v[0] + v[2] - 1, v[1], 1, v[3], c2);
    } else if (command == "hgradient" || command == "vgradient") {
        if (!ints(4, v) || !color(c1) || !color(c2))
            return error = command + " needs x y w h from to", false;
        canvas.gradient(v[0], v[1], v[2], v[3], c1, c2, command == "vgradient");
    } else if (command == "bands") {
        if (!ints(5, v) || !color(c1) || !color(c2) || v[4] <= 0)
            return error = "bands needs x y w h size colour colour", false;
        std::string direction = "vertical";
        in >> direction;
        const bool vertical = direction == "vertical";
        for (int j = 0; j < v[3]; ++j)
            for (int i = 0; i < v[2]; ++i)
                canvas.set(v[0] + i, v[1] + j, (((vertical ? i : j) / v[4]) % 2) ? c2 : c1);
    } else if (command == "ellipse" || command == "ring") {
        if (!ints(4, v) || !color(c1))
            return error = command + " needs x y w h colour", false;
        int t = 1;
        in >> t;
        plat::Pen pen(plat::PS_SOLID, t, c1);
        std::unique_ptr<plat::Brush> brush(plat::Brush::createSolid(c1));
        canvas.dc().selectPen(&pen);
        canvas.dc().selectBrush(command == "ellipse" ? brush.get() : plat::Brush::hollow());
        canvas.dc().ellipse(v[0], v[1], v[0] + v[2], v[1] + v[3]);
        canvas.dc().selectPen(nullptr);
        canvas.dc().selectBrush(nullptr);
    } else if (command == "line") {
        if (!ints(4, v) || !color(c1))
            return error = "line needs x0 y0 x1 y1 colour", false;
        int t = 1;
        in >> t;
        plat::Pen pen(plat::PS_SOLID, t, c1);
        canvas.dc().selectPen(&pen);
        canvas.dc().moveTo(v[0], v[1]);
        canvas.dc().lineTo(v[2], v[3]);
        canvas.dc().selectPen(nullptr);
    } else if (command == "poly") {
        if (!color(c1))
            return error = "poly needs a colour", false;
        int n;
        while (in >> n)
            v.push_back(n);
        if (v.size() < 6 || v.size() % 2 != 0)
            return error = "poly needs at least three x y points", false;
        canvas.poly(v, c1);
    } else if (command == "adverts") {
        // The advertisers' logos, 128 x 32, five to a row from index 1 (index
        // 0 stands for no advertiser and stays as it is).
        std::string seed;
        int count = 0;
        if (!(in >> seed >> count) || count < 1 || count > 49)
            return error = "adverts needs a seed and a count of 1 to 49", false;
        for (int id = 1; id <= count; ++id) {
            const int left = (id % 5) * kAdvertWidth, top = (id / 5) * 32;
            PaintAdvert(seed, id - 1, 32, [&](int x, int y, int index) {
                const float* c = kAdvertColourTable[index];
                canvas.set(left + x, top + y,
                           plat::RGB(static_cast<uint8_t>(std::lround(c[0] * 255)),
                                     static_cast<uint8_t>(std::lround(c[1] * 255)),
                                     static_cast<uint8_t>(std::lround(c[2] * 255))));
            });
        }
    } else if (command == "text") {
        if (!ints(4, v) || !color(c1))
            return error = "text needs x y height weight colour align words", false;
        std::string align, words;
        in >> align;
        std::getline(in, words);
        words.erase(0, words.find_first_not_of(' '));
        std::unique_ptr<plat::Font> font(plat::Font::create(v[2], v[3], "Arial"));
        if (!font)
            return error = "no font for text", false;
        canvas.dc().selectFont(font.get());
        canvas.dc().setTextColor(c1);
        canvas.dc().setTextAlign(align == "center" ? plat::TA_CENTER : align == "right" ? plat::TA_RIGHT : plat::TA_LEFT);
        canvas.dc().textOut(v[0], v[1], words.c_str());
        canvas.dc().selectFont(nullptr);
    } else {
        return error = "unknown command '" + command + "'", false;
    }
    return true;
}

// "colour NAME #rrggbb": a name for a colour, usable wherever a colour goes.
bool defineColour(std::istringstream& in, Palette& palette, std::string& error)
{
    std::string name;
    std::string word;
    COLORREF c = 0;
    if (!(in >> name >> word) || !parseColor(word, palette, c) || name == "key" || name[0] == '#')
        return error = "colour needs a name and #rrggbb", false;
    palette[name] = c;
    return true;
}

// Reads the "colour" lines of a palette file.
bool readPalette(const std::string& path, Palette& palette, std::string& error)
{
    std::ifstream file(path);
    if (!file)
        return error = path + ": cannot open", false;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        std::istringstream in(line);
        std::string command;
        if (!(in >> command) || command[0] == '#')
            continue;
        std::string reason;
        if (command != "colour")
            return error = path + ":" + std::to_string(number) + ": a palette holds only colour lines", false;
        if (!defineColour(in, palette, reason))
            return error = path + ":" + std::to_string(number) + ": " + reason, false;
    }
    return true;
}

}  // namespace

bool paintDescription(const std::string& path, std::vector<PaintedArchive>& archives, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot open";
        return false;
    }
    Palette palette;
    std::unique_ptr<plat::Bitmap> bitmap;
    std::unique_ptr<Canvas> canvas;
    std::string bitmapName;
    auto finish = [&]() {
        if (bitmap && !archives.empty())
            archives.back().members.push_back({bitmapName, encodeBmp(*bitmap)});
        canvas.reset();
        bitmap.reset();
    };
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        const std::string where = path + ":" + std::to_string(number) + ": ";
        std::istringstream in(line);
        std::string command;
        if (!(in >> command) || command[0] == '#')
            continue;
        if (command == "colour") {
            std::string reason;
            if (!defineColour(in, palette, reason))
                return error = where + reason, false;
        } else if (command == "palette") {
            std::string name;
            if (!(in >> name))
                return error = where + "palette needs a file name", false;
            const size_t slash = path.find_last_of('/');
            const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
            if (!readPalette(folder + name, palette, error))
                return false;
        } else if (command == "archive") {
            finish();
            std::string name;
            if (!(in >> name))
                return error = where + "archive needs a name", false;
            archives.push_back({name, {}});
        } else if (command == "bitmap") {
            finish();
            int w = 0, h = 0;
            if (archives.empty() || !(in >> bitmapName >> w >> h) || w <= 0 || h <= 0)
                return error = where + "bitmap needs an archive before it, a name, a width and a height", false;
            plat::BitmapInfoHeader header;
            header.width = w;
            header.height = h;
            bitmap.reset(plat::Bitmap::create(header));
            if (!bitmap)
                return error = where + "bitmap size not possible", false;
            canvas = std::make_unique<Canvas>(bitmap.get());
        } else if (command == "groundpreviews") {
            // The ground popup's preview pictures, each a bitmap of its own.
            if (archives.empty())
                return error = where + "groundpreviews needs an archive before it", false;
            for (const PreviewDrawing& drawing : groundPreviewDrawings()) {
                finish();
                plat::BitmapInfoHeader header;
                header.width = kPreviewPictureWidth;
                header.height = kPreviewPictureHeight;
                bitmap.reset(plat::Bitmap::create(header));
                if (!bitmap)
                    return error = where + "bitmap size not possible", false;
                canvas = std::make_unique<Canvas>(bitmap.get());
                bitmapName = drawing.name;
                for (const std::string& commandLine : drawing.commands) {
                    std::istringstream drawingIn(commandLine);
                    std::string drawingCommand, reason;
                    drawingIn >> drawingCommand;
                    if (!paintCommand(*canvas, palette, drawingCommand, drawingIn, reason))
                        return error = where + drawing.name + ": " + reason, false;
                }
            }
            finish();
        } else {
            if (!canvas)
                return error = where + "drawing before any bitmap", false;
            std::string reason;
            if (!paintCommand(*canvas, palette, command, in, reason))
                return error = where + reason, false;
        }
    }
    finish();
    return true;
}

}  // namespace tools
