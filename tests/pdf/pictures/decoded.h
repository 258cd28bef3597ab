// Reading a decoded picture back in display order, for comparing it with the
// picture a test file was built from.
#pragma once

#include <span>
#include <string>

#include "pdf/content/picture.h"
#include "picture_files.h"

namespace picturetest {

inline std::span<const std::uint8_t> span_of(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}
inline pdf::Bytes bytes_of(const std::string& s) { return pdf::Bytes(s.begin(), s.end()); }

// The colour of pixel (x, y), y from the top; samples are bottom row first.
inline Rgb pixel(const pdf::RasterPicture& p, int x, int y) {
    const std::size_t n = static_cast<std::size_t>(p.height - 1 - y) * static_cast<std::size_t>(p.width) +
                          static_cast<std::size_t>(x);
    if (!p.palette.empty()) {
        const std::size_t i = p.samples.at(n) * std::size_t{3};
        return {p.palette.at(i), p.palette.at(i + 1), p.palette.at(i + 2)};
    }
    if (p.colour_space == "/DeviceGray") {
        const std::uint8_t v = p.samples.at(n);
        return {v, v, v};
    }
    return {p.samples.at(3 * n), p.samples.at(3 * n + 1), p.samples.at(3 * n + 2)};
}

// Whether the decoded picture shows `im` exactly (the test pictures use full
// and zero channels, which every bit depth holds exactly); returns a
// description of the first difference, empty when equal.
inline std::string difference(const pdf::RasterPicture& p, const Image& im) {
    if (p.width != im.width || p.height != im.height)
        return "size " + std::to_string(p.width) + "x" + std::to_string(p.height);
    for (int y = 0; y < im.height; ++y) {
        for (int x = 0; x < im.width; ++x) {
            const Rgb a = pixel(p, x, y), b = im.at(x, y);
            if (a != b)
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " is " + std::to_string(a.r) + " " +
                       std::to_string(a.g) + " " + std::to_string(a.b);
        }
    }
    return {};
}

}  // namespace picturetest
