#include "tools/gfxkit/IntroMovie.h"

#include "launcher/CMovieFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tools {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFrames = 30;
constexpr uint32_t kMicrosecondsPerFrame = 80000;

uint16_t Rgb555(int r, int g, int b)
{
    auto channel = [](int v) { return static_cast<uint16_t>(std::clamp(v, 0, 255) >> 3); };
    return static_cast<uint16_t>((channel(r) << 10) | (channel(g) << 5) | channel(b));
}

std::vector<uint16_t> PaintFrame(int nFrame)
{
    std::vector<uint16_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    const double t = static_cast<double>(nFrame) / (kFrames - 1);
    // The floodlights come up from dusk.
    const double light = 0.35 + 0.65 * t;
    const double ballX = 20 + t * (kWidth - 40);
    const double ballY = kHeight * 0.62 - std::sin(t * 3.14159) * kHeight * 0.4;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int r, g, b;
            if (y < kHeight / 3) {
                // Sky over the stand.
                r = 20 + y / 2;
                g = 24 + y / 2;
                b = 60 + y;
            } else {
                const bool bStripe = ((x + 2 * y) / 32) % 2 == 0;
                r = 30;
                g = bStripe ? 130 : 112;
                b = 40;
                const int dx = x - kWidth / 2, dy = y - (kHeight * 2) / 3;
                const int ring = static_cast<int>(std::sqrt(dx * dx + 4.0 * dy * dy));
                if (x == kWidth / 2 || y == kHeight / 3 + 2 || ring == 44)
                    r = g = b = 235;
            }
            const double bx = x - ballX, by = y - ballY;
            if (bx * bx + by * by <= 36.0)
                r = g = b = ((static_cast<int>(bx + 8) / 4 + static_cast<int>(by + 8) / 4) % 2) ? 250 : 40;
            pixels[static_cast<size_t>(y) * kWidth + x] =
                Rgb555(static_cast<int>(r * light), static_cast<int>(g * light), static_cast<int>(b * light));
        }
    }
    return pixels;
}

}  // namespace

bool writeIntroMovie(const std::string& path, std::string& error)
{
    std::vector<std::vector<uint16_t>> frames;
    for (int i = 0; i < kFrames; ++i)
        frames.push_back(PaintFrame(i));
    if (!CMovieFile::Write(path, kWidth, kHeight, kMicrosecondsPerFrame, frames)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace tools
