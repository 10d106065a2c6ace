#include "platform/PngWriter.h"

#include "platform/SafeFile.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace plat {

namespace {

uint8_t widen5(uint32_t v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
uint8_t widen6(uint32_t v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }

// The image into an open file; false when libpng reports an error.
bool writePngTo(const Surface& surface, FILE* file)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(surface.width()) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.width()), static_cast<png_uint_32>(surface.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const bool is555 = surface.format() == PixelFormat::Rgb555;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const uint16_t p = surface.pixel(x, y);
            uint8_t* out = &row[static_cast<size_t>(x) * 3];
            if (is555) {
                out[0] = widen5((p >> 10) & 31);
                out[1] = widen5((p >> 5) & 31);
            } else {
                out[0] = widen5((p >> 11) & 31);
                out[1] = widen6((p >> 5) & 63);
            }
            out[2] = widen5(p & 31);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePng(const Surface& surface, const std::string& path)
{
    if (surface.width() <= 0 || surface.height() <= 0)
        return false;
    return writeFileSafely(path, [&surface](FILE* file) { return writePngTo(surface, file); });
}

}  // namespace plat
