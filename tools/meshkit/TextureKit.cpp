#include "tools/meshkit/TextureKit.h"

#include "common/CBinaryFile.h"
#include "render3d/CTextureManager.h"
#include "tools/gfxkit/AdvertDesign.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tools {

namespace {

constexpr uint32_t kKey = 0x00FF00FF;

struct Rgb {
    float r, g, b;
};

uint32_t Pack(Rgb c)
{
    auto channel = [](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    return channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

Rgb Mix(Rgb a, Rgb b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb a, float k)
{
    return {a.r * k, a.g * k, a.b * k};
}

Rgb ColourOf(const KitLine& line, const std::string& name, Rgb fallback)
{
    const std::vector<float> v = line.Numbers(name);
    if (v.empty())
        return fallback;
    if (v.size() != 3)
        throw KitError{line.Where(name + " needs three values")};
    return {v[0], v[1], v[2]};
}

using Dice = KitDice;

KitPicture Blank(const std::string& name, int width, int height)
{
    KitPicture p;
    p.name = name;
    p.width = width;
    p.height = height;
    p.indices.assign(static_cast<size_t>(width * height), 0);
    return p;
}

// A ramp of n colour-table entries from a to b, appended; its first index.
uint8_t Ramp(KitPicture& p, Rgb a, Rgb b, int n)
{
    const auto first = static_cast<uint8_t>(p.palette.size());
    for (int i = 0; i < n; ++i)
        p.palette.push_back(Pack(Mix(a, b, n > 1 ? static_cast<float>(i) / (n - 1) : 0)));
    return first;
}

void Set(KitPicture& p, int x, int y, uint8_t index)
{
    if (x >= 0 && y >= 0 && x < p.width && y < p.height)
        p.indices[static_cast<size_t>(y * p.width + x)] = index;
}

int SizeOf(const KitLine& line, int fallback)
{
    const int size = static_cast<int>(line.Number("size", static_cast<float>(fallback)));
    if (size < 1 || size > 1024)
        throw KitError{line.Where("size lies in 1..1024")};
    return size;
}

KitPicture Grass(const KitLine& line)
{
    const int n = SizeOf(line, 64);
    KitPicture p = Blank(line.words[0], n, n);
    const Rgb light = ColourOf(line, "light", {0.24f, 0.55f, 0.22f}), dark = ColourOf(line, "dark", {0.19f, 0.47f, 0.18f});
    const float speckle = line.Number("speckle", 0.1f), snow = line.Number("snow", 0);
    const uint8_t lightRamp = Ramp(p, Scale(light, 0.9f), Scale(light, 1.1f), 8);
    const uint8_t darkRamp = Ramp(p, Scale(dark, 0.9f), Scale(dark, 1.1f), 8);
    const uint8_t snowRamp = Ramp(p, {0.85f, 0.87f, 0.9f}, {0.98f, 0.98f, 1.0f}, 4);
    Dice dice(p.name);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const bool bLight = y < n / 2;
            int shade = 3 + static_cast<int>((dice.Next() - 0.5f) * 4);
            if (dice.Next() < speckle)
                shade = dice.Next() < 0.5f ? 0 : 7;
            uint8_t index = static_cast<uint8_t>((bLight ? lightRamp : darkRamp) + std::clamp(shade, 0, 7));
            if (dice.Next() < snow)
                index = static_cast<uint8_t>(snowRamp + static_cast<int>(dice.Next() * 4));
            Set(p, x, y, index);
        }
    return p;
}

KitPicture Solid(const KitLine& line)
{
    const int n = SizeOf(line, 8);
    KitPicture p = Blank(line.words[0], n, n);
    p.palette.push_back(Pack(ColourOf(line, "colour", {1, 1, 1})));
    return p;
}

KitPicture Shadow(const KitLine& line)
{
    const int n = SizeOf(line, 32);
    KitPicture p = Blank(line.words[0], n, n);
    // The match multiplies the grass by a shadow: white leaves it as it is.
    p.palette = {0x00FFFFFF};
    const float darkness = line.Number("darkness", 0.15f), stretch = line.Number("stretch", 1);
    const uint8_t ramp = Ramp(p, {darkness, darkness, darkness}, {darkness * 1.8f, darkness * 1.8f, darkness * 1.8f}, 4);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float dx = (x + 0.5f - n / 2.0f) / (n / 2.0f), dy = (y + 0.5f - n / 2.0f) / (n / 2.0f) * stretch;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < 0.95f)
                Set(p, x, y, static_cast<uint8_t>(ramp + std::min(3, static_cast<int>(d * 4))));
        }
    return p;
}

// Digits of 3 x 5 cells, a row of bits each (4 = left).
constexpr std::array<std::array<uint8_t, 5>, 10> kGlyphs{{{7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7},
                                                          {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7},
                                                          {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7},
                                                          {7, 5, 7, 1, 7}}};

std::vector<KitPicture> Digits(const KitLine& line)
{
    const int n = SizeOf(line, 64);
    const int centre = static_cast<int>(line.Number("centre", 16)), row = static_cast<int>(line.Number("row", 5));
    const Rgb colour = ColourOf(line, "colour", {1, 1, 1});
    std::vector<KitPicture> pictures;
    for (int d = 0; d < 10; ++d) {
        // Alone, as the tens and as the units: the glyph is 6 wide, 10 high.
        const std::pair<std::string, int> forms[3] = {{"-" + std::to_string(d) + "-.bmp", centre - 3},
                                                      {std::to_string(d) + "-.bmp", centre - 7},
                                                      {"-" + std::to_string(d) + ".bmp", centre + 1}};
        for (const auto& [name, left] : forms) {
            KitPicture p = Blank(name, n, n);
            p.palette = {kKey, Pack(colour)};
            for (int gy = 0; gy < 5; ++gy)
                for (int gx = 0; gx < 3; ++gx)
                    if (kGlyphs[static_cast<size_t>(d)][static_cast<size_t>(gy)] & (4 >> gx))
                        for (int k = 0; k < 4; ++k)
                            Set(p, left + gx * 2 + k % 2, row + gy * 2 + k / 2, 1);
            pictures.push_back(std::move(p));
        }
    }
    return pictures;
}

// The colour of a recolouring slot's reference (hue, saturation, lightness on 0..255).
uint32_t Reference(float h, float s, float l)
{
    uint8_t bgr[3];
    HSLToRGB(h / 255, s / 255, l / 255, bgr);
    return static_cast<uint32_t>(bgr[2]) << 16 | static_cast<uint32_t>(bgr[1]) << 8 | bgr[0];
}

KitPicture KitMask(const KitLine& line)
{
    KitPicture p = Blank(line.words[0], 64, 64);
    p.palette.assign(256, 0x00404040);
    auto fill = [&](int first, int span, uint32_t colour) {
        for (int i = first; i <= std::min(255, first + span); ++i)
            p.palette[static_cast<size_t>(i)] = colour;
    };
    fill(108, 5, Reference(37, 255, 220));
    fill(11, 17, Reference(213, 255, 250));
    fill(49, 19, Reference(157, 250, 250));
    fill(0, 2, Reference(64, 255, 74));
    fill(92, 15, Reference(97, 159, 160));
    fill(250, 5, Reference(0, 203, 160));
    fill(248, 1, Reference(0, 203, 160));
    fill(kitmask::kSkin, 0, Pack(ColourOf(line, "skin", {0.87f, 0.68f, 0.52f})));
    fill(kitmask::kHair, 0, 0x00302010);
    const std::string pattern = line.Text("pattern", "plain");
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t index = kitmask::kShirt;
            if (y < 24) {
                const bool bOther = (pattern == "horizontal" && (y / 4) % 2 == 1) ||
                                    (pattern == "vertical" && (x / 4) % 2 == 1) ||
                                    (pattern == "checkers" && ((x / 8) + (y / 8)) % 2 == 1) ||
                                    (pattern == "half" && x >= 32);
                index = bOther ? kitmask::kShirtOther : kitmask::kShirt;
                if (line.Number("trim", 0) != 0 && y < 2)
                    index = kitmask::kTrim;
            } else if (y < 28) {
                index = pattern == "sleeves" ? kitmask::kShirtOther : kitmask::kShirt;
            } else if (y < 36) {
                index = kitmask::kShorts;
            } else if (y < 38) {
                index = kitmask::kSockTrim;
            } else if (y < 44) {
                index = kitmask::kSocks;
            } else if (y < 48) {
                index = kitmask::kHair;
            } else if (y < 56) {
                index = kitmask::kSkin;
            } else {
                index = kitmask::kBoots;
            }
            Set(p, x, y, index);
        }
    if (pattern != "plain" && pattern != "sleeves" && pattern != "horizontal" && pattern != "vertical" &&
        pattern != "checkers" && pattern != "half")
        throw KitError{line.Where("unknown kit pattern " + pattern)};
    return p;
}

KitPicture Sky(const KitLine& line)
{
    KitPicture p = Blank(line.words[0], 64, 64);
    const Rgb top = ColourOf(line, "top", {0.3f, 0.5f, 0.85f}), horizon = ColourOf(line, "horizon", {0.8f, 0.85f, 0.95f});
    const float clouds = line.Number("clouds", 0);
    const uint8_t ramp = Ramp(p, top, horizon, 32);
    const uint8_t cloud = Ramp(p, Mix(horizon, {1, 1, 1}, 0.4f), Mix(horizon, {0.6f, 0.6f, 0.6f}, 0.3f), 8);
    Dice dice(p.name);
    // Clouds as soft blobs placed at random.
    std::vector<std::array<float, 3>> blobs;
    for (int i = 0; i < static_cast<int>(clouds * 40); ++i)
        blobs.push_back({dice.Next() * 64, 20 + dice.Next() * 40, 4 + dice.Next() * 8});
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t index = static_cast<uint8_t>(ramp + std::min(31, y / 2));
            for (const auto& b : blobs) {
                float dx = std::fabs(x - b[0]);
                dx = std::min(dx, 64 - dx);
                const float d = std::sqrt(dx * dx / 4 + (y - b[1]) * (y - b[1])) / b[2];
                if (d < 1)
                    index = static_cast<uint8_t>(cloud + std::min(7, static_cast<int>(d * 8)));
            }
            Set(p, x, y, index);
        }
    return p;
}

KitPicture Skyline(const KitLine& line)
{
    KitPicture p = Blank(line.words[0], 128, 64);
    p.palette = {kKey};
    const Rgb building = ColourOf(line, "building", {0.5f, 0.5f, 0.55f});
    const Rgb window = ColourOf(line, "window", {0.3f, 0.35f, 0.45f});
    const float lit = line.Number("lit", 0.2f);
    const uint8_t walls = Ramp(p, Scale(building, 0.8f), Scale(building, 1.15f), 4);
    const uint8_t windows = Ramp(p, window, window, 1);
    Dice dice(p.name);
    int x = 0;
    while (x < 128) {
        const int width = 6 + static_cast<int>(dice.Next() * 14);
        const int height = 14 + static_cast<int>(dice.Next() * 44);
        const auto shade = static_cast<uint8_t>(walls + static_cast<int>(dice.Next() * 4));
        for (int bx = x; bx < std::min(128, x + width); ++bx)
            for (int by = 64 - height; by < 64; ++by) {
                const bool bWindow = (bx - x) % 3 == 1 && by % 4 == 1 && bx < x + width - 1;
                Set(p, bx, by, bWindow && dice.Next() < lit * 2 ? windows : shade);
            }
        x += width + static_cast<int>(dice.Next() * 3);
    }
    return p;
}

KitPicture Seats(const KitLine& line)
{
    KitPicture p = Blank(line.words[0], 64, 64);
    const Rgb seat = ColourOf(line, "seat", {0.15f, 0.25f, 0.65f}), step = ColourOf(line, "step", {0.55f, 0.55f, 0.55f});
    const float crowd = line.Number("crowd", 0.7f);
    p.palette = {Pack(seat), Pack(step), Pack(Scale(seat, 0.7f))};
    const uint8_t shirts = Ramp(p, {0.85f, 0.1f, 0.1f}, {0.95f, 0.95f, 0.95f}, 6);
    const uint8_t more = Ramp(p, {0.1f, 0.2f, 0.7f}, {0.95f, 0.8f, 0.1f}, 6);
    const uint8_t skin = Ramp(p, {0.45f, 0.3f, 0.2f}, {0.9f, 0.72f, 0.58f}, 4);
    Dice dice(p.name);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            Set(p, x, y, (y % 8) >= 6 ? 1 : ((x % 4) == 3 ? 2 : 0));
    // Spectators: a head above a shirt in a share of the seats.
    for (int row = 0; row < 8; ++row)
        for (int s = 0; s < 16; ++s) {
            if (dice.Next() >= crowd)
                continue;
            const int x = s * 4, y = row * 8;
            const auto shirt = static_cast<uint8_t>((dice.Next() < 0.5f ? shirts : more) + static_cast<int>(dice.Next() * 6));
            const auto face = static_cast<uint8_t>(skin + static_cast<int>(dice.Next() * 4));
            for (int dx = 0; dx < 3; ++dx) {
                Set(p, x + dx, y + 3, shirt);
                Set(p, x + dx, y + 4, shirt);
                Set(p, x + dx, y + 5, shirt);
            }
            Set(p, x + 1, y + 1, face);
            Set(p, x + 1, y + 2, face);
        }
    return p;
}

KitPicture Noise(const KitLine& line)
{
    const int n = SizeOf(line, 32);
    KitPicture p = Blank(line.words[0], n, n);
    const Rgb colour = ColourOf(line, "colour", {0.6f, 0.6f, 0.6f});
    const float spread = line.Number("spread", 0.05f);
    const uint8_t ramp = Ramp(p, Scale(colour, 1 - spread), Scale(colour, 1 + spread), 8);
    Dice dice(p.name);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            Set(p, x, y, static_cast<uint8_t>(ramp + static_cast<int>(dice.Next() * 8)));
    return p;
}

KitPicture Ribs(const KitLine& line)
{
    const int n = SizeOf(line, 32);
    KitPicture p = Blank(line.words[0], n, n);
    p.palette = {Pack(ColourOf(line, "colour", {0.8f, 0.8f, 0.8f})), Pack(ColourOf(line, "rib", {0.55f, 0.55f, 0.6f}))};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            Set(p, x, y, x % 8 < 2 ? 1 : 0);
    return p;
}

KitPicture Stripes(const KitLine& line)
{
    const int n = SizeOf(line, 16);
    KitPicture p = Blank(line.words[0], n, n);
    p.palette = {Pack(ColourOf(line, "colour", {0.8f, 0.7f, 0.2f})), Pack(ColourOf(line, "other", {0.4f, 0.4f, 0.4f}))};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            Set(p, x, y, ((x + y) / 4) % 2 ? 1 : 0);
    return p;
}

KitPicture Grid(const KitLine& line)
{
    const int n = SizeOf(line, 32);
    const int spacing = std::max(2, static_cast<int>(line.Number("spacing", 4)));
    KitPicture p = Blank(line.words[0], n, n);
    p.palette = {kKey, Pack(ColourOf(line, "colour", {1, 1, 1}))};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            Set(p, x, y, (x % spacing == 0 || y % spacing == 0) ? 1 : 0);
    return p;
}

KitPicture BallSkin(const KitLine& line)
{
    KitPicture p = Blank(line.words[0], 64, 32);
    p.palette = {Pack(ColourOf(line, "colour", {1, 1, 1})), Pack(ColourOf(line, "patch", {0.1f, 0.1f, 0.1f}))};
    // Dark patches in two staggered rows and at the poles.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            bool bPatch = y < 3 || y > 28;
            for (int k = 0; k < 5; ++k) {
                const float cx = k * 12.8f + ((y < 16) ? 0 : 6.4f), cy = y < 16 ? 10.0f : 22.0f;
                float dx = std::fabs(x - cx);
                dx = std::min(dx, 64 - dx);
                if (dx * dx / 4 + (y - cy) * (y - cy) < 9)
                    bPatch = true;
            }
            Set(p, x, y, bPatch ? 1 : 0);
        }
    return p;
}

// The advert picture of the boards round the pitch: 256 x 256, two columns
// of 128 x 10 cells, one per advertiser, then the board of a place without
// an advert. Each advertiser has its own colours, emblem and lettering
// blocks; nothing in a cell reads only one way round, since a board seen
// from behind the touchline shows it turned.
KitPicture Adverts(const KitLine& line)
{
    const int advertisers = static_cast<int>(line.Number("advertisers", 49));
    if (advertisers < 1 || advertisers > 49)
        throw KitError{line.Where("advertisers lies in 1..49")};
    const Rgb empty = ColourOf(line, "empty", {0.1f, 0.3f, 0.15f});
    KitPicture p = Blank(line.words[0], 256, 256);
    for (const float* c : kAdvertColourTable)
        p.palette.push_back(Pack({c[0], c[1], c[2]}));
    p.palette.push_back(Pack(empty));
    p.palette.push_back(Pack(Mix(empty, {1, 1, 1}, 0.6f)));
    const auto emptyIndex = static_cast<uint8_t>(kAdvertColours), rimIndex = static_cast<uint8_t>(kAdvertColours + 1);
    auto fill = [&](int x0, int y0, int x1, int y1, uint8_t index) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                Set(p, x, y, index);
    };
    for (int cell = 0; cell <= advertisers; ++cell) {
        const int left = (cell % 2) * 128, top = (cell / 2) * 10;
        if (cell == advertisers) {
            fill(left, top, left + 128, top + 10, rimIndex);
            fill(left + 1, top + 1, left + 127, top + 9, emptyIndex);
            continue;
        }
        PaintAdvert(line.words[0], cell, 10,
                    [&](int x, int y, int index) { Set(p, left + x, top + y, static_cast<uint8_t>(index)); });
    }
    return p;
}


// A road piece of the ground's surroundings: asphalt with kerbs and grass
// verges; the straight piece runs along v, the corner joins the v = 1 edge
// to the u = 1 edge, the T-junction adds a branch to u = 1 and the cross
// road one to each side; a crossing lays stripes across the straight piece.
KitPicture Road(const KitLine& line)
{
    const int n = SizeOf(line, 64);
    const std::string shape = line.Text("shape", "straight");
    bool bNorth = true, bSouth = true, bEast = false, bWest = false, bStripes = false;
    if (shape == "corner")
        bSouth = false, bEast = true;
    else if (shape == "tee")
        bEast = true;
    else if (shape == "cross")
        bEast = bWest = true;
    else if (shape == "crossing")
        bStripes = true;
    else if (shape != "straight")
        throw KitError{line.Where("shape is straight, corner, tee, cross or crossing")};
    KitPicture p = Blank(line.words[0], n, n);
    const Rgb grass = ColourOf(line, "grass", {0.26f, 0.5f, 0.2f}), asphalt = ColourOf(line, "asphalt", {0.3f, 0.3f, 0.32f});
    const uint8_t grassRamp = Ramp(p, Scale(grass, 0.9f), Scale(grass, 1.1f), 4);
    const uint8_t roadRamp = Ramp(p, Scale(asphalt, 0.9f), Scale(asphalt, 1.1f), 4);
    const uint8_t kerb = Ramp(p, {0.7f, 0.7f, 0.68f}, {0.7f, 0.7f, 0.68f}, 1);
    const uint8_t paint = Ramp(p, {0.95f, 0.95f, 0.92f}, {0.95f, 0.95f, 0.92f}, 1);
    Dice dice(p.name);
    const float lo = n * 0.22f, hi = n * 0.78f, mid = n * 0.5f;
    // Whether a pixel lies on the road: the centre square and the arms.
    auto onRoad = [&](float x, float y, float margin) {
        const bool inX = x >= lo - margin && x < hi + margin, inY = y >= lo - margin && y < hi + margin;
        if (inX && inY)
            return true;
        return (inX && ((bNorth && y >= mid) || (bSouth && y < mid))) ||
               (inY && ((bEast && x >= mid) || (bWest && x < mid)));
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const int shade = static_cast<int>(dice.Next() * 4);
            uint8_t index = static_cast<uint8_t>(grassRamp + shade);
            if (onRoad(fx, fy, 0))
                index = static_cast<uint8_t>(roadRamp + shade);
            else if (onRoad(fx, fy, n / 32.0f))
                index = kerb;
            Set(p, x, y, index);
        }
    const int dash = std::max(1, n / 32);
    for (int i = 0; i < n; ++i) {
        const bool bDash = (i / (n / 8)) % 2 == 0;
        for (int w = -dash / 2; w <= dash / 2; ++w) {
            const int c = static_cast<int>(mid) + w;
            if (bStripes)
                continue;
            if (bDash && ((bNorth && i >= mid) || (bSouth && i < mid)) && (shape != "corner" || i >= hi))
                Set(p, c, i, paint);
            if (bDash && ((bEast && i >= hi) || (bWest && i < lo)))
                Set(p, i, c, paint);
        }
    }
    if (bStripes)
        for (int y = static_cast<int>(n * 0.3f); y < static_cast<int>(n * 0.7f); ++y)
            for (int x = static_cast<int>(lo); x < static_cast<int>(hi); ++x)
                if ((x / std::max(1, n / 16)) % 2 == 0)
                    Set(p, x, y, paint);
    return p;
}

// Upright pictures for the billboards of the surroundings on a 256 x 256
// picture keyed in the given colour: trees, a street lamp and a crossing
// beacon unlit and lit, each inside its pixel rectangle x0,x1,y0,y1.
KitPicture Sprites(const KitLine& line)
{
    KitPicture p = Blank(line.words[0], 256, 256);
    const std::vector<float> key = line.Numbers("key");
    if (key.size() != 3)
        throw KitError{line.Where("key needs three values 0..255")};
    p.palette.push_back(static_cast<uint32_t>(key[0]) << 16 | static_cast<uint32_t>(key[1]) << 8 |
                        static_cast<uint32_t>(key[2]));
    const uint8_t leaves = Ramp(p, {0.1f, 0.3f, 0.08f}, {0.3f, 0.55f, 0.2f}, 6);
    const uint8_t trunk = Ramp(p, {0.3f, 0.2f, 0.1f}, {0.4f, 0.28f, 0.15f}, 2);
    const uint8_t pole = Ramp(p, {0.15f, 0.15f, 0.15f}, {0.85f, 0.85f, 0.85f}, 2);
    const uint8_t lamp = Ramp(p, {0.9f, 0.85f, 0.6f}, {0.9f, 0.85f, 0.6f}, 1);
    const uint8_t beacon = Ramp(p, {0.55f, 0.35f, 0.1f}, {1.0f, 0.7f, 0.15f}, 2);
    Dice dice(p.name);
    auto rect = [&](const std::string& name, int r[4]) {
        const std::vector<float> v = line.Numbers(name);
        if (v.empty())
            return false;
        if (v.size() != 4)
            throw KitError{line.Where(name + " needs x0,x1,y0,y1")};
        for (int i = 0; i < 4; ++i)
            r[i] = std::clamp(static_cast<int>(v[i]), 0, 256);
        return true;
    };
    auto fill = [&](int x0, int x1, int y0, int y1, uint8_t index) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                Set(p, x, y, index);
    };
    int r[4];
    for (const char* name : {"tree", "tree2"}) {
        if (!rect(name, r))
            continue;
        const float cx = (r[0] + r[1]) / 2.0f, w = static_cast<float>(r[1] - r[0]), h = static_cast<float>(r[3] - r[2]);
        fill(static_cast<int>(cx - w * 0.06f), static_cast<int>(cx + w * 0.06f) + 1, r[2] + static_cast<int>(h * 0.6f),
             r[3], trunk);
        // A crown of overlapping discs, darker low down.
        for (int blob = 0; blob < 14; ++blob) {
            const float bx = cx + (dice.Next() - 0.5f) * w * 0.55f;
            const float by = r[2] + h * (0.18f + dice.Next() * 0.42f);
            const float br = w * (0.16f + dice.Next() * 0.12f);
            for (int y = static_cast<int>(by - br); y <= static_cast<int>(by + br); ++y)
                for (int x = static_cast<int>(bx - br); x <= static_cast<int>(bx + br); ++x)
                    if ((x - bx) * (x - bx) + (y - by) * (y - by) <= br * br && x >= r[0] && x < r[1] && y >= r[2])
                        Set(p, x, y, static_cast<uint8_t>(leaves + std::clamp(5 - (y - r[2]) * 4 / static_cast<int>(h) + static_cast<int>(dice.Next() * 2), 0, 5)));
        }
    }
    if (rect("lamp", r)) {
        const int cx = (r[0] + r[1]) / 2;
        fill(cx - 2, cx + 2, r[2] + 8, r[3], pole);
        fill(cx - 2, cx + 12, r[2] + 8, r[2] + 11, pole);
        fill(cx + 6, cx + 13, r[2] + 11, r[2] + 14, lamp);
    }
    for (const char* name : {"beacon", "beaconlit"}) {
        if (!rect(name, r))
            continue;
        const int cx = (r[0] + r[1]) / 2, w = (r[1] - r[0]) / 2;
        for (int y = r[2] + w * 2; y < r[3]; ++y)
            fill(cx - 2, cx + 2, y, y + 1, static_cast<uint8_t>(pole + ((y / 8) % 2)));
        const bool bLit = std::string(name) == "beaconlit";
        for (int y = r[2]; y < r[2] + w * 2; ++y)
            for (int x = r[0]; x < r[1]; ++x)
                if ((x - cx) * (x - cx) + (y - r[2] - w) * (y - r[2] - w) <= (w - 2) * (w - 2))
                    Set(p, x, y, static_cast<uint8_t>(beacon + (bLit ? 1 : 0)));
    }
    return p;
}

// The facility signs of the ground view: a board on a post for each of the
// colours given (r,g,b each), side by side in cells of 32 x 64 on the key,
// each board with a white rim and as many white bars as its place in the row.
KitPicture Signs(const KitLine& line)
{
    const std::vector<float> v = line.Numbers("colours");
    if (v.empty() || v.size() % 3 != 0 || v.size() / 3 > 8)
        throw KitError{line.Where("colours needs one to eight r,g,b triples")};
    const int nSigns = static_cast<int>(v.size() / 3);
    KitPicture p = Blank(line.words[0], 32 * nSigns, 64);
    p.palette.push_back(kKey);
    const uint8_t white = Ramp(p, {1, 1, 1}, {1, 1, 1}, 1);
    const uint8_t post = Ramp(p, {0.3f, 0.3f, 0.32f}, {0.3f, 0.3f, 0.32f}, 1);
    for (int k = 0; k < nSigns; ++k) {
        const uint8_t board = Ramp(p, {v[3 * k], v[3 * k + 1], v[3 * k + 2]}, {v[3 * k], v[3 * k + 1], v[3 * k + 2]}, 1);
        const int left = 32 * k;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 32; ++x) {
                uint8_t index = 0;
                if (y < 34)
                    index = (x < 2 || x > 29 || y < 2 || y > 31) ? white : board;
                else if (x >= 14 && x < 18)
                    index = post;
                Set(p, left + x, y, index);
            }
        for (int bar = 0; bar <= k; ++bar)
            for (int x = 8; x < 24; ++x)
                for (int t = 0; t < 2; ++t)
                    Set(p, left + x, 6 + bar * 3 + t, white);
    }
    return p;
}


// An alert icon over a player's head: a round badge with a dark rim and a
// white glyph (morale: an arrow pointing down, fitness: a nearly empty
// battery, anger: an exclamation mark) on its own colour key.
KitPicture AlertIcon(const KitLine& line)
{
    const int n = SizeOf(line, 32);
    KitPicture p = Blank(line.words[0], n, n);
    p.palette.push_back(Pack(ColourOf(line, "key", {1, 0, 1})));
    const uint8_t rim = Ramp(p, {0.06f, 0.08f, 0.1f}, {0.06f, 0.08f, 0.1f}, 1);
    const uint8_t badge = Ramp(p, ColourOf(line, "badge", {0.5f, 0.5f, 0.5f}), ColourOf(line, "badge", {0.5f, 0.5f, 0.5f}), 1);
    const uint8_t glyph = Ramp(p, {0.96f, 0.96f, 0.93f}, {0.96f, 0.96f, 0.93f}, 1);
    const uint8_t low = Ramp(p, {0.85f, 0.19f, 0.19f}, {0.85f, 0.19f, 0.19f}, 1);
    const std::string shape = line.Text("glyph", "");
    const float c = (n - 1) / 2.0f, r = n / 2.0f - 0.5f;
    // Drawn on a 32-unit grid whatever the size.
    const float u = n / 32.0f;
    auto inBox = [&](int x, int y, float x0, float y0, float x1, float y1) {
        return x >= x0 * u && x < x1 * u && y >= y0 * u && y < y1 * u;
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float d = std::hypot(x - c, y - c);
            if (d > r)
                continue;
            uint8_t index = d > r - 2 * u ? rim : badge;
            if (shape == "morale") {
                // A shaft and a head pointing down.
                const bool shaft = inBox(x, y, 13, 6, 19, 17);
                const float fy = y / u, fx = x / u;
                const bool head = fy >= 15 && fy < 26 && std::fabs(fx - 15.5f) <= (26 - fy);
                if (shaft || head)
                    index = glyph;
            } else if (shape == "fitness") {
                const bool body = inBox(x, y, 7, 10, 24, 22) && !inBox(x, y, 9, 12, 22, 20);
                const bool cap = inBox(x, y, 24, 13, 26, 19);
                if (body || cap)
                    index = glyph;
                else if (inBox(x, y, 10, 13, 14, 19))
                    index = low;
            } else if (shape == "anger") {
                if (inBox(x, y, 13, 5, 19, 19) || inBox(x, y, 13, 22, 19, 27))
                    index = glyph;
            } else {
                throw KitError{line.Where("glyph is morale, fitness or anger")};
            }
            Set(p, x, y, index);
        }
    return p;
}

}  // namespace

std::vector<KitPicture> TextureKit::Build(const std::vector<KitLine>& lines) const
{
    std::vector<KitPicture> pictures;
    for (const KitLine& line : lines) {
        if (line.command == "digits") {
            for (KitPicture& p : Digits(line))
                pictures.push_back(std::move(p));
            continue;
        }
        if (line.words.size() != 1)
            throw KitError{line.Where(line.command + " needs one file name")};
        if (line.command == "grass")
            pictures.push_back(Grass(line));
        else if (line.command == "solid")
            pictures.push_back(Solid(line));
        else if (line.command == "shadow")
            pictures.push_back(Shadow(line));
        else if (line.command == "kitmask")
            pictures.push_back(KitMask(line));
        else if (line.command == "sky")
            pictures.push_back(Sky(line));
        else if (line.command == "skyline")
            pictures.push_back(Skyline(line));
        else if (line.command == "seats")
            pictures.push_back(Seats(line));
        else if (line.command == "noise")
            pictures.push_back(Noise(line));
        else if (line.command == "ribs")
            pictures.push_back(Ribs(line));
        else if (line.command == "stripes")
            pictures.push_back(Stripes(line));
        else if (line.command == "grid")
            pictures.push_back(Grid(line));
        else if (line.command == "ballskin")
            pictures.push_back(BallSkin(line));
        else if (line.command == "adverts")
            pictures.push_back(Adverts(line));
        else if (line.command == "road")
            pictures.push_back(Road(line));
        else if (line.command == "sprites")
            pictures.push_back(Sprites(line));
        else if (line.command == "signs")
            pictures.push_back(Signs(line));
        else if (line.command == "alerticon")
            pictures.push_back(AlertIcon(line));
        else
            throw KitError{line.Where("unknown texture kind " + line.command)};
        if (pictures.back().palette.size() > 256)
            throw KitError{line.Where("more than 256 colours")};
    }
    return pictures;
}

std::vector<uint8_t> encodeBmp8(const KitPicture& picture)
{
    const int stride = (picture.width + 3) & ~3;
    const auto paletteBytes = static_cast<uint32_t>(picture.palette.size() * 4);
    const uint32_t offBits = 14 + 40 + paletteBytes;
    std::vector<uint8_t> bytes;
    CBinaryWriter out(bytes);
    out.WriteU16(0x4D42);
    out.WriteU32(offBits + static_cast<uint32_t>(stride * picture.height));
    out.WriteU32(0);
    out.WriteU32(offBits);
    out.WriteU32(40);
    out.WriteI32(picture.width);
    out.WriteI32(picture.height);
    out.WriteU16(1);
    out.WriteU16(8);
    out.WriteU32(0);
    out.WriteU32(static_cast<uint32_t>(stride * picture.height));
    out.WriteU32(2835);
    out.WriteU32(2835);
    out.WriteU32(static_cast<uint32_t>(picture.palette.size()));
    out.WriteU32(0);
    for (uint32_t c : picture.palette) {
        out.WriteU8(c & 0xFF);
        out.WriteU8((c >> 8) & 0xFF);
        out.WriteU8((c >> 16) & 0xFF);
        out.WriteU8(0);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        out.WriteBytes(&picture.indices[static_cast<size_t>(y * picture.width)], static_cast<size_t>(picture.width));
        out.WriteZeros(static_cast<size_t>(stride - picture.width));
    }
    return bytes;
}

}  // namespace tools
