// Filling a raster picture pixel by pixel in display coordinates (row 0 at
// the top) while the samples keep the bottom row first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pdf/content/picture.h"

namespace pdf {

class PixelRows {
public:
    // components: 1 (grey or palette index) or 3 (RGB). The size must have
    // passed check_picture_size.
    PixelRows(RasterPicture& picture, std::int32_t width, std::int32_t height, int components)
        : picture_(picture), width_(static_cast<std::size_t>(width)), height_(height), components_(components) {
        picture.width = width;
        picture.height = height;
        picture.bits = 8;
        picture.samples.assign(width_ * static_cast<std::size_t>(height) * static_cast<std::size_t>(components), 0);
    }
    // The first sample of pixel (x, y), y counted from the top.
    std::uint8_t* at(std::int32_t x, std::int32_t y) {
        const std::size_t row = static_cast<std::size_t>(height_ - 1 - y);
        return &picture_.samples[(row * width_ + static_cast<std::size_t>(x)) * static_cast<std::size_t>(components_)];
    }
    void rgb(std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        std::uint8_t* p = at(x, y);
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
    void one(std::int32_t x, std::int32_t y, std::uint8_t v) { *at(x, y) = v; }
    // Every pixel of an RGB picture in one colour (they start black).
    void fill(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        if ((r | g | b) == 0) return;
        auto& s = picture_.samples;
        for (std::size_t i = 0; i + 2 < s.size(); i += 3) {
            s[i] = r;
            s[i + 1] = g;
            s[i + 2] = b;
        }
    }

private:
    RasterPicture& picture_;
    std::size_t width_;
    std::int32_t height_;
    int components_;
};

}  // namespace pdf
