#pragma once
// A PNG file read back as 8-bit RGB rows, to look at what was drawn.
#include "platform/Surface.h"

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

// A PNG read back as 8-bit RGB rows.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    plat::COLORREF At(int x, int y) const
    {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return plat::RGB(p[0], p[1], p[2]);
    }
};

inline bool ReadPng(const std::string& path, Picture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}
