#include "tools/gfxkit/BmpWriter.h"

#include "platform/SafeFile.h"

#include <cstdio>

namespace tools {

namespace {
void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
}  // namespace

std::vector<uint8_t> encodeBmp(const plat::Bitmap& bitmap)
{
    const int stride = ((bitmap.width() * 24 + 31) / 32) * 4;
    const uint32_t imageSize = static_cast<uint32_t>(stride * bitmap.height());
    std::vector<uint8_t> out;
    out.reserve(54 + imageSize);
    put16(out, 0x4D42);
    put32(out, 54 + imageSize);
    put16(out, 0);
    put16(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(bitmap.width()));
    put32(out, static_cast<uint32_t>(bitmap.height()));
    put16(out, 1);
    put16(out, 24);
    put32(out, plat::BI_RGB);
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = bitmap.height() - 1; y >= 0; --y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const plat::COLORREF c = bitmap.colorAt(x, y);
            out.push_back(plat::GetBValue(c));
            out.push_back(plat::GetGValue(c));
            out.push_back(plat::GetRValue(c));
        }
        for (int pad = bitmap.width() * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

bool writeBmp(const plat::Bitmap& bitmap, const std::string& path)
{
    const std::vector<uint8_t> bytes = encodeBmp(bitmap);
    return plat::writeWholeFile(path, bytes.data(), bytes.size());
}

}  // namespace tools
