#include "tools/gfxkit/AdvertDesign.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace tools {

const float kAdvertColourTable[kAdvertColours][3] = {
    {0.85f, 0.1f, 0.1f}, {0.1f, 0.25f, 0.75f}, {0.95f, 0.8f, 0.1f},  {0.1f, 0.55f, 0.25f},
    {0.95f, 0.5f, 0.05f}, {0.1f, 0.1f, 0.12f}, {0.55f, 0.1f, 0.55f}, {0.0f, 0.6f, 0.7f},
    {0.95f, 0.95f, 0.95f}, {0.6f, 0.05f, 0.15f}, {0.45f, 0.75f, 0.2f}, {0.2f, 0.2f, 0.45f}};

void PaintAdvert(const std::string& seed, int nCell, int nHeight, const std::function<void(int, int, int)>& set)
{
    constexpr int kRows = 10;
    std::array<std::array<uint8_t, kAdvertWidth>, kRows> design{};
    auto fill = [&](int x0, int y0, int x1, int y1, uint8_t index) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                design[static_cast<size_t>(y)][static_cast<size_t>(x)] = index;
    };
    KitDice dice(seed + std::to_string(nCell));
    const auto back = static_cast<uint8_t>(nCell % kAdvertColours);
    auto fore = static_cast<uint8_t>((nCell * 5 + 3 + static_cast<int>(dice.Next() * 3)) % kAdvertColours);
    if (fore == back)
        fore = static_cast<uint8_t>((fore + 6) % kAdvertColours);
    fill(0, 0, kAdvertWidth, kRows, back);
    // The emblem at both ends: a square or a diamond.
    const bool bDiamond = dice.Next() < 0.5f;
    for (int end = 0; end < 2; ++end) {
        const int cx = end ? 119 : 8;
        for (int y = 0; y < kRows; ++y)
            for (int x = -4; x <= 4; ++x) {
                const int dy = std::abs(y - 5);
                if (bDiamond ? std::abs(x) + dy <= 4 : (std::abs(x) <= 3 && y >= 2 && y <= 8))
                    design[static_cast<size_t>(y)][static_cast<size_t>(cx + x)] = fore;
            }
    }
    // Lettering blocks, centred, mirrored about the middle of the cell.
    std::vector<int> widths;
    int total = 0;
    while (total < 36) {
        const int w = 4 + static_cast<int>(dice.Next() * 9);
        widths.push_back(w);
        total += w + 3;
    }
    int x = 64 - total;
    for (int side = 0; side < 2; ++side)
        for (size_t k = 0; k < widths.size(); ++k) {
            const int w = widths[side ? widths.size() - 1 - k : k];
            fill(x, 3, x + w, 7, fore);
            x += w + 3;
        }
    if (dice.Next() < 0.5f)
        fill(16, 8, 112, 9, fore);
    for (int y = 0; y < nHeight; ++y)
        for (int i = 0; i < kAdvertWidth; ++i)
            set(i, y, design[static_cast<size_t>(y * kRows / nHeight)][static_cast<size_t>(i)]);
}

}  // namespace tools
