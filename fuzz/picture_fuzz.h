// What every picture reader's fuzz target checks: the reader returns a
// picture whose samples fit its size, or refuses the bytes with 62 or 321.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "pdf/PdfWriter.h"
#include "pdf/content/picture.h"

template <typename Read>
int fuzz_raster_reader(const std::uint8_t* data, std::size_t size, Read read) {
    try {
        const pdf::RasterPicture p = read(std::span<const std::uint8_t>(data, size));
        const auto pixels = static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height);
        if (p.width <= 0 || p.height <= 0 || pixels > static_cast<std::size_t>(pdf::kMostPicturePixels))
            __builtin_trap();
        if (p.filter.empty()) {
            const std::size_t components = !p.palette.empty() || p.colour_space == "/DeviceGray" ? 1 : 3;
            if (p.samples.size() != pixels * components) __builtin_trap();
            for (std::uint8_t index : p.palette.empty() ? pdf::Bytes{} : p.samples)
                if (std::size_t{index} * 3 + 3 > p.palette.size()) __builtin_trap();
        }
    } catch (const PdfError& error) {
        if (error.number() != 62 && error.number() != 321) __builtin_trap();
    }
    return 0;
}
