#pragma once
// The advertisers' look, one for every picture of them: the boards round the
// 3-D pitch (meshkit) and the logos the sponsor and hoardings screens list
// (gfxkit's "adverts" command) are painted from the same design, so an
// advertiser looks the same on the screens and in the stadium. Each
// advertiser has a background colour, an emblem (square or diamond) at both
// ends and lettering blocks mirrored about the middle, none of which reads
// only one way round.
#include <cstdint>
#include <functional>
#include <string>

namespace tools {

// A small repeatable random source, seeded by a picture's name.
class KitDice {
public:
    explicit KitDice(const std::string& seed)
    {
        for (char c : seed)
            m_state = m_state * 31 + static_cast<uint8_t>(c);
    }
    float Next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<float>((m_state >> 33) & 0xFFFFFF) / static_cast<float>(0x1000000);
    }

private:
    uint64_t m_state = 88172645463325252ULL;
};

constexpr int kAdvertWidth = 128;
constexpr int kAdvertColours = 12;
// The design's colours as red, green, blue from 0 to 1.
extern const float kAdvertColourTable[kAdvertColours][3];

// Paints advertiser cell nCell (0 for the first advertiser) of the design
// named by the seed, 128 pixels wide and nHeight high (the design is drawn
// for 10 rows and stretched to the height): set(x, y, colour index).
void PaintAdvert(const std::string& seed, int nCell, int nHeight, const std::function<void(int, int, int)>& set);

}  // namespace tools
