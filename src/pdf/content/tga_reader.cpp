// TGA header, colour map and (run-length) pixel data.
#include "pdf/content/tga_reader.h"

#include <array>
#include <vector>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/pixel_rows.h"

namespace pdf {

namespace {

using Colour = std::array<std::uint8_t, 3>;

// One stored pixel or map entry of `bits` bits, little-endian BGR(A) or a
// 5-5-5 packed word.
Colour read_colour(ByteCursor& at, int bits) {
    if (bits == 15 || bits == 16) {
        const std::uint16_t v = at.u16le();
        auto five = [](unsigned c) { return static_cast<std::uint8_t>((c & 0x1F) * 255 / 31); };
        return {five(v >> 10), five(v >> 5), five(v)};
    }
    const auto p = at.bytes(static_cast<std::size_t>(bits / 8));
    return {p[2], p[1], p[0]};
}

// The 18-byte header, refused (321) unless the reader takes what it says.
struct Header {
    std::uint8_t id_length, map_type, type;
    std::uint16_t map_first, map_length;
    std::uint8_t map_bits;
    std::int32_t width, height;
    std::uint8_t depth, descriptor;
};

Header read_header(ByteCursor& at) {
    Header h{};
    h.id_length = at.u8();
    h.map_type = at.u8();
    h.type = at.u8();
    h.map_first = at.u16le();
    h.map_length = at.u16le();
    h.map_bits = at.u8();
    at.skip(4);  // origin on the screen
    h.width = at.u16le();
    h.height = at.u16le();
    h.depth = at.u8();
    h.descriptor = at.u8();

    const int base = h.type & 7;
    if ((h.type & ~8) < 1 || (h.type & ~8) > 3 || h.map_type > 1) picture_invalid("TGA image type");
    if (base == 1 && (h.map_type != 1 || (h.depth != 8 && h.depth != 16))) picture_invalid("TGA colour map");
    if (base == 2 && h.depth != 15 && h.depth != 16 && h.depth != 24 && h.depth != 32) picture_invalid("TGA depth");
    if (base == 3 && h.depth != 8) picture_invalid("TGA grey depth");
    if (h.map_type == 1 && h.map_bits != 15 && h.map_bits != 16 && h.map_bits != 24 && h.map_bits != 32)
        picture_invalid("TGA colour map entry size");
    check_picture_size(h.width, h.height);
    return h;
}

}  // namespace

void check_tga_header(std::span<const std::uint8_t> header) {
    ByteCursor at(header);
    read_header(at);
}

RasterPicture read_tga(std::span<const std::uint8_t> file) {
    ByteCursor at(file);
    return read_tga(at);
}

RasterPicture read_tga(ByteCursor& at) {
    const Header header = read_header(at);
    const std::uint8_t map_type = header.map_type, map_bits = header.map_bits, depth = header.depth;
    const std::uint16_t map_first = header.map_first, map_length = header.map_length;
    const std::int32_t width = header.width, height = header.height;
    const int base = header.type & 7;
    const bool mapped = base == 1, grey = base == 3, packed = (header.type & 8) != 0;

    at.skip(header.id_length);
    std::vector<Colour> map;
    if (map_type == 1) {
        map.reserve(map_length);
        for (int i = 0; i < map_length; ++i) map.push_back(read_colour(at, map_bits));
    }

    const std::int64_t count = std::int64_t{width} * height;
    // Pixels the file cannot hold are not made room for: a run packet of
    // 128 pixels takes at least two bytes.
    const std::int64_t pixel_bytes = grey ? 1 : (depth + 7) / 8;
    const auto left = static_cast<std::int64_t>(at.remaining());
    if (packed ? count > left * 64 : count * pixel_bytes > left) picture_truncated();
    // Nor is more read than the pixels take: each packet holds one at
    // least. The rest of the file (an extension area) is not read.
    at.stop_at(at.position() + static_cast<std::size_t>(count * (packed ? 1 + pixel_bytes : pixel_bytes)),
               "TGA pixel data longer than its picture");

    RasterPicture picture;
    if (grey) picture.colour_space = "/DeviceGray";
    PixelRows rows(picture, width, height, grey ? 1 : 3);
    const bool from_top = (header.descriptor & 0x20) != 0, from_right = (header.descriptor & 0x10) != 0;

    auto read_pixel = [&]() -> Colour {
        if (grey) {
            const std::uint8_t v = at.u8();
            return {v, v, v};
        }
        if (mapped) {
            const unsigned index = depth == 8 ? at.u8() : at.u16le();
            // Indices below the map's first entry or past its end are black.
            if (index < map_first || index - map_first >= map.size()) return {0, 0, 0};
            return map[index - map_first];
        }
        return read_colour(at, depth);
    };
    auto put = [&](std::int64_t n, const Colour& c) {
        const auto stored_row = static_cast<std::int32_t>(n / width);
        const auto stored_column = static_cast<std::int32_t>(n % width);
        const std::int32_t y = from_top ? stored_row : height - 1 - stored_row;
        const std::int32_t x = from_right ? width - 1 - stored_column : stored_column;
        if (grey) rows.one(x, y, c[0]);
        else rows.rgb(x, y, c[0], c[1], c[2]);
    };

    std::int64_t n = 0;
    while (n < count) {
        if (!packed) {
            put(n++, read_pixel());
            continue;
        }
        const std::uint8_t head = at.u8();
        const std::int64_t length = (head & 0x7F) + 1;
        if (head & 0x80) {
            const Colour c = read_pixel();
            for (std::int64_t i = 0; i < length && n < count; ++i) put(n++, c);
        } else {
            for (std::int64_t i = 0; i < length && n < count; ++i) put(n++, read_pixel());
        }
    }
    return picture;
}

}  // namespace pdf
