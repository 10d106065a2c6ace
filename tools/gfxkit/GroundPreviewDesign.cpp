#include "tools/gfxkit/GroundPreviewDesign.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace tools {

namespace {

constexpr int kWidth = kPreviewPictureWidth, kHeight = kPreviewPictureHeight;
// Where everything stands: the top of the grass in front of the stand.
constexpr int kGround = 128;
constexpr int kCentre = kWidth / 2;

class Drawing {
public:
    explicit Drawing(std::string name) { m_drawing.name = std::move(name); }

    __attribute__((format(printf, 2, 3))) Drawing& add(const char* format, ...)
    {
        char line[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        m_drawing.commands.emplace_back(line);
        return *this;
    }
    void rect(int x, int y, int w, int h, const char* colour) { add("rect %d %d %d %d %s", x, y, w, h, colour); }
    void line(int x0, int y0, int x1, int y1, const char* colour, int t = 1)
    {
        add("line %d %d %d %d %s %d", x0, y0, x1, y1, colour, t);
    }
    void quad(const char* colour, int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3)
    {
        add("poly %s %d %d %d %d %d %d %d %d", colour, x0, y0, x1, y1, x2, y2, x3, y3);
    }
    PreviewDrawing take() { return std::move(m_drawing); }

private:
    PreviewDrawing m_drawing;
};

// The evening sky over the ground, the grass in front, and the frame.
void backdrop(Drawing& d)
{
    d.add("vgradient 0 0 %d %d navy_deep navy_mid", kWidth, kGround);
    d.rect(0, kGround, kWidth, kHeight - kGround, "pitch_dark");
    d.add("bands 0 %d %d %d 16 pitch pitch_dark vertical", kGround + 8, kWidth, kHeight - kGround - 8);
    d.rect(0, kGround + 6, kWidth, 2, "text_light");
}

void frame(Drawing& d) { d.add("frame 0 0 %d %d edge", kWidth, kHeight); }

// One tier of a stand between its bottom and top, its two sides at the
// bottom (left, right) and how far the right side leans in at the top.
void tier(Drawing& d, int left, int right, int bottom, int top, int lean, bool seats)
{
    const char* body = seats ? "slate_light" : "grey";
    const char* rows = seats ? "slate" : "grey_dark";
    d.quad(body, left, bottom, right, bottom, right - lean, top, left, top);
    // Rows of seats or terrace steps, every four pixels up the tier.
    const int height = std::max(1, bottom - top);
    for (int y = bottom - 4; y > top; y -= 4) {
        const int r = right - lean * (bottom - y) / height;
        d.line(left + 1, y, r - 1, y, rows);
    }
    if (seats) {
        // Gangways.
        for (int x = left + 22; x < right - lean - 8; x += 26)
            d.line(x, bottom - 1, x, top + 1, "navy_line");
    } else {
        // Crush barriers on the terrace.
        for (int y = bottom - 6; y > top + 2; y -= 8)
            for (int x = left + 8 + (y % 16); x + 10 < right - lean; x += 22)
                d.line(x, y, x + 8, y, "silver");
    }
    // The front wall and the side walls.
    d.rect(left, bottom - 2, right - left, 2, "steel");
    d.line(left, bottom, left, top, "face_deep", 2);
    d.line(right, bottom, right - lean, top, "face_deep", 2);
}

PreviewDrawing stand(const char* kind, int tiers, int size, const char* position, bool seats, bool roof)
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%d%s%s%s.bmp", kind, size + 1, position, seats ? "S" : "", roof ? "R" : "");
    Drawing d(name);
    backdrop(d);
    const bool end = position[0] == 'N' && position[1] == 'N';
    const bool corner = position[0] == 'N' && position[1] == 'E';
    static const int kEndWidths[3] = {100, 124, 148}, kSideWidths[3] = {130, 156, 178}, kCornerWidths[3] = {84, 104, 124};
    static const int kTierHeights[3] = {16, 20, 24};
    const int width = end ? kEndWidths[size] : corner ? kCornerWidths[size] : kSideWidths[size];
    const int tierHeight = kTierHeights[size] - (tiers == 3 ? 2 : 0);
    // A corner stand narrows towards its top on the side away from the pitch's end.
    const int lean = corner ? tierHeight * 3 / 4 : 0;
    int left = kCentre - width / 2, right = kCentre + width / 2;
    int bottom = kGround;
    for (int t = 0; t < tiers; ++t) {
        const int top = bottom - tierHeight;
        tier(d, left, right, bottom, top, lean, seats);
        right -= lean;
        bottom = top;
        if (t + 1 < tiers) {
            // The concourse between two tiers, and the upper tier set back.
            d.rect(left, bottom - 4, right - left, 4, "face_deep");
            d.line(left, bottom - 4, right, bottom - 4, "steel");
            bottom -= 4;
            left += 5;
            right -= 5;
        }
    }
    // The back wall above the top tier.
    d.rect(left, bottom - 3, right - left, 3, "face_dark");
    bottom -= 3;
    if (roof) {
        // The roof slab on its columns in front of the stand.
        const int roofLeft = kCentre - width / 2 - 4, roofRight = kCentre + width / 2 + 4 - lean * tiers;
        const int roofTop = bottom - 10;
        d.quad("silver", roofLeft, roofTop + 6, roofRight, roofTop + 6, roofRight - 4, roofTop, roofLeft + 4, roofTop);
        d.rect(roofLeft, roofTop + 6, roofRight - roofLeft, 2, "grey_dark");
        const int columns = width > 120 ? 3 : 2;
        for (int c = 0; c < columns; ++c) {
            const int x = roofLeft + 8 + c * (roofRight - roofLeft - 16) / (columns - 1);
            d.line(x, roofTop + 8, x, kGround, "grey_dark", 2);
        }
    }
    frame(d);
    return d.take();
}

// A building of the facility's size with the sign of its use over the door.
struct Building {
    int left, right, top;
};

Building building(Drawing& d, int size, const char* wall)
{
    static const int kWidths[3] = {70, 100, 130}, kHeights[3] = {34, 44, 54};
    const int w = kWidths[size], h = kHeights[size];
    const Building b{kCentre - w / 2, kCentre + w / 2, kGround - h};
    d.rect(b.left, b.top, w, h, wall);
    d.add("bevel %d %d %d %d face_light face_deep", b.left, b.top, w, h);
    // A shallow roof, the door and a row of windows.
    d.quad("face_dark", b.left - 4, b.top, b.right + 4, b.top, b.right - 6, b.top - 8, b.left + 6, b.top - 8);
    d.rect(kCentre - 6, kGround - 16, 12, 16, "face_deep");
    for (int x = b.left + 8; x + 10 < kCentre - 8; x += 16)
        d.rect(x, b.top + 8, 10, 8, "gold_light");
    for (int x = kCentre + 10; x + 10 < b.right - 4; x += 16)
        d.rect(x, b.top + 8, 10, 8, "gold_light");
    return b;
}

// The sign board over the door: 28 x 16 above the door.
void signBoard(Drawing& d, const Building& b, const char* colour)
{
    d.rect(kCentre - 14, b.top - 26, 28, 18, colour);
    d.add("frame %d %d 28 18 outline", kCentre - 14, b.top - 26);
    d.line(kCentre - 8, b.top - 8, kCentre - 8, b.top, "grey_dark");
    d.line(kCentre + 8, b.top - 8, kCentre + 8, b.top, "grey_dark");
}

PreviewDrawing facility(const char* code, int size)
{
    char name[16];
    std::snprintf(name, sizeof name, "%s%d.bmp", code, size + 1);
    Drawing d(name);
    backdrop(d);
    const std::string c = code;
    if (c == "CP") {
        // Bays marked on tarmac with parked cars, and the parking sign.
        static const int kBays[3] = {4, 6, 8};
        const int bays = kBays[size], w = bays * 18;
        const int left = kCentre - w / 2, top = kGround - 30;
        d.quad("grey_dark", left - 10, kGround + 4, left + w + 10, kGround + 4, left + w, top, left, top);
        static const char* kCars[4] = {"red", "steel", "gold", "silver"};
        for (int i = 0; i <= bays; ++i)
            d.line(left + i * 18, top + 2, left + i * 18 - 4, kGround + 2, "text_light");
        for (int i = 0; i < bays; ++i)
            if (i % 3 != 2) {
                const int x = left + i * 18 + 3;
                d.rect(x, top + 10, 11, 14, kCars[i % 4]);
                d.rect(x + 2, top + 13, 7, 4, "navy_deep");
            }
        // The sign stands left of the tarmac, or on it when the tarmac fills the picture.
        const int sign = std::max(left - 14, 14);
        d.line(sign, kGround + 2, sign, top - 14, "grey", 2);
        d.rect(sign - 10, top - 34, 20, 20, "slate");
        d.add("frame %d %d 20 20 text_light", sign - 10, top - 34);
        d.add("text %d %d 18 700 text_light center P", sign, top - 34);
    } else if (c == "TG") {
        // A practice pitch with a goal and cones.
        static const int kWidths[3] = {110, 140, 170};
        const int w = kWidths[size], left = kCentre - w / 2, top = kGround - 40;
        d.quad("pitch", left - 8, kGround + 4, left + w + 8, kGround + 4, left + w - 10, top, left + 10, top);
        d.quad("pitch_light", left + 2, kGround, left + w - 2, kGround, left + w - 12, top + 4, left + 12, top + 4);
        d.quad("pitch", left + 4, kGround - 1, left + w - 4, kGround - 1, left + w - 13, top + 5, left + 13, top + 5);
        d.line(kCentre, top + 5, kCentre, kGround - 1, "pitch_light");
        d.rect(left + 16, top - 8, 24, 14, "text_light");
        d.rect(left + 18, top - 6, 20, 12, "pitch");
        for (int i = 0; i < 3 + size; ++i) {
            const int x = kCentre + 8 + i * 14, y = kGround - 10 - (i % 2) * 10;
            d.add("poly amber %d %d %d %d %d %d", x, y, x + 6, y, x + 3, y - 7);
        }
    } else if (c == "FF") {
        // A kiosk under a striped awning.
        static const int kWidths[3] = {54, 76, 98};
        const int w = kWidths[size], left = kCentre - w / 2, top = kGround - 40;
        d.rect(left, top, w, 40, "face");
        d.rect(left + 6, top + 14, w - 12, 12, "navy_deep");
        d.rect(left, top + 26, w, 4, "silver");
        d.add("bands %d %d %d 10 6 red text_light vertical", left - 4, top - 10, w + 8);
        d.add("poly red %d %d %d %d %d %d", left - 4, top, left + w + 4, top, kCentre, top - 18);
        d.add("text %d %d 13 700 gold_light center %s", kCentre, top - 16, "FOOD");
    } else {
        const Building b = building(d, size, c == "GM" ? "slate" : "face");
        if (c == "FA") {
            signBoard(d, b, "text_light");
            d.rect(kCentre - 2, b.top - 23, 4, 12, "red");
            d.rect(kCentre - 6, b.top - 19, 12, 4, "red");
        } else if (c == "SP") {
            // A shirt on the shop's sign.
            signBoard(d, b, "gold");
            d.rect(kCentre - 5, b.top - 23, 10, 13, "navy");
            d.rect(kCentre - 10, b.top - 23, 20, 4, "navy");
            d.rect(kCentre - 10, b.top - 19, 3, 3, "navy");
            d.rect(kCentre + 7, b.top - 19, 3, 3, "navy");
            d.rect(kCentre - 2, b.top - 23, 4, 2, "gold");
        } else if (c == "TO") {
            signBoard(d, b, "steel");
            d.add("text %d %d 13 700 text_dark center WC", kCentre, b.top - 25);
        } else if (c == "RT") {
            // Plate, knife and fork.
            signBoard(d, b, "navy");
            d.add("ring %d %d 10 10 text_light", kCentre - 5, b.top - 22);
            d.line(kCentre - 9, b.top - 23, kCentre - 9, b.top - 11, "text_light");
            d.line(kCentre + 9, b.top - 23, kCentre + 9, b.top - 11, "text_light");
        } else {
            // The gym's dumbbell.
            signBoard(d, b, "amber");
            d.rect(kCentre - 8, b.top - 18, 16, 2, "text_dark");
            d.rect(kCentre - 11, b.top - 22, 4, 10, "text_dark");
            d.rect(kCentre + 7, b.top - 22, 4, 10, "text_dark");
        }
    }
    frame(d);
    return d.take();
}

// The pitch cut open: grass on top and the soil below, with pipes of a colour.
void soil(Drawing& d, const char* pipes, bool wavy)
{
    d.add("vgradient 0 0 %d 70 navy_deep navy_mid", kWidth);
    d.add("bands 0 70 %d 16 16 pitch pitch_dark vertical", kWidth);
    d.rect(0, 86, kWidth, kHeight - 86, "gold_deep");
    d.add("bands 0 120 %d 41 3 gold_deep gold_dark horizontal", kWidth);
    for (int row = 0; row < 2; ++row) {
        const int y = 98 + row * 30;
        if (wavy) {
            for (int x = 6; x < kWidth - 12; x += 12)
                d.line(x, y + ((x / 12) % 2) * 6, x + 12, y + ((x / 12 + 1) % 2) * 6, pipes, 3);
        } else {
            d.line(6, y, kWidth - 6, y, pipes, 4);
            for (int x = 16; x < kWidth - 8; x += 18)
                d.rect(x, y - 1, 3, 2, "navy_deep");
        }
    }
}

PreviewDrawing feature(const char* name)
{
    Drawing d(name);
    const std::string n = name;
    if (n == "USoilH.bmp") {
        soil(d, "red", true);
    } else if (n == "USoilD.bmp") {
        soil(d, "slate_light", false);
    } else {
        backdrop(d);
        if (n == "SLight.bmp") {
            // Lamps on short poles along the roof line, their beams on the grass.
            for (int i = 0; i < 3; ++i) {
                const int x = 40 + i * 55;
                d.add("poly yellow_light %d 60 %d 60 %d %d %d %d", x - 3, x + 3, x + 22, kGround + 8, x - 22,
                      kGround + 8);
                d.line(x, 60, x, 40, "grey", 3);
                d.add("ellipse %d 34 12 8 gold_light", x - 6);
                d.add("ring %d 34 12 8 outline", x - 6);
            }
        } else if (n == "FLight.bmp") {
            // A lattice pylon with its bank of lamps.
            d.line(80, kGround, 92, 30, "grey", 3);
            d.line(110, kGround, 98, 30, "grey", 3);
            for (int y = kGround - 12; y > 36; y -= 14) {
                const int half = 15 - (kGround - y) * 10 / (kGround - 30);
                d.line(95 - half, y, 95 + half, y - 12, "grey_dark");
                d.line(95 + half, y, 95 - half, y - 12, "grey_dark");
            }
            d.rect(70, 8, 50, 26, "face_deep");
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 5; ++c)
                    d.rect(73 + c * 9, 11 + r * 7, 7, 5, "yellow_light");
            d.add("frame 70 8 50 26 outline");
        } else if (n == "SBoard.bmp") {
            d.line(70, kGround, 70, 80, "grey", 3);
            d.line(120, kGround, 120, 80, "grey", 3);
            d.rect(45, 34, 100, 50, "navy_deep");
            d.add("frame 45 34 100 50 silver 2");
            d.add("text 95 40 18 700 amber center 2 - 1");
            d.add("text 95 62 13 400 text_light center 63:12");
        } else if (n == "VWall.bmp") {
            d.line(60, kGround, 60, 96, "grey", 3);
            d.line(130, kGround, 130, 96, "grey", 3);
            d.rect(25, 26, 140, 72, "edge");
            d.add("vgradient 29 30 132 64 slate_light slate");
            d.add("bands 29 70 132 24 12 pitch pitch_dark vertical");
            d.add("ellipse 88 58 14 14 text_light");
            d.add("frame 25 26 140 72 silver 2");
        } else {
            // A sprinkler head throwing its water in arcs over the grass.
            d.add("bands 0 %d %d %d 16 pitch pitch_dark vertical", kGround - 40, kWidth, 48);
            d.rect(89, kGround - 10, 12, 12, "grey_dark");
            d.rect(93, kGround - 18, 4, 8, "silver");
            // Drops along arcs to both sides, rising and falling.
            for (int side : {-1, 1})
                for (int arc = 1; arc <= 3; ++arc)
                    for (int k = 1; k <= 12; ++k) {
                        const int x = 95 + side * k * (3 + 2 * arc), y = kGround - 18 - k * (13 - k) * arc / 6;
                        d.add("ellipse %d %d 4 4 %s", x - 2, y - 2, arc == 2 ? "text_light" : "steel");
                    }
        }
    }
    frame(d);
    return d.take();
}

}  // namespace

std::vector<PreviewDrawing> groundPreviewDrawings()
{
    std::vector<PreviewDrawing> drawings;
    static const char* kPositions[3] = {"NN", "EE", "NE"};
    struct Kind {
        const char* code;
        int tiers;
        bool terraceToo;
    };
    // Kind 0 is a terrace (no "S"); every other kind has seats.
    static const Kind kKinds[3] = {{"ST", 1, true}, {"DT", 2, false}, {"TT", 3, false}};
    for (const Kind& kind : kKinds)
        for (int size = 0; size < 3; ++size)
            for (const char* position : kPositions)
                for (bool roof : {false, true}) {
                    drawings.push_back(stand(kind.code, kind.tiers, size, position, true, roof));
                    if (kind.terraceToo)
                        drawings.push_back(stand(kind.code, kind.tiers, size, position, false, roof));
                }
    for (const char* code : {"FA", "SP", "TO", "RT", "CP", "FF", "TG", "GM"})
        for (int size = 0; size < 3; ++size)
            drawings.push_back(facility(code, size));
    for (const char* name : {"USoilH.bmp", "SLight.bmp", "FLight.bmp", "VWall.bmp", "SBoard.bmp", "USoilD.bmp",
                             "Sprink.bmp"})
        drawings.push_back(feature(name));
    return drawings;
}

}  // namespace tools
