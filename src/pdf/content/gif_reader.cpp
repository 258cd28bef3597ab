// GIF file structure: header, logical screen, colour tables, the block
// sequence (extensions, image descriptors, trailer), sub-block chains.
#include "pdf/content/gif_reader.h"

#include <algorithm>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/gif_lzw.h"

namespace pdf {

namespace {

// Skips a chain of sub-blocks up to and including its empty terminator;
// returns the number of bytes the blocks hold.
std::size_t skip_sub_blocks(ByteCursor& at) {
    std::size_t held = 0;
    for (std::uint8_t size = at.u8(); size != 0; size = at.u8()) {
        at.skip(size);
        held += size;
    }
    return held;
}

// The colour table that a flags byte announces, or empty.
Bytes colour_table(ByteCursor& at, std::uint8_t flags) {
    if ((flags & 0x80) == 0) return {};
    const std::size_t entries = std::size_t{2} << (flags & 0x07);
    const auto bytes = at.bytes(entries * 3);
    return Bytes(bytes.begin(), bytes.end());
}

// The row of the picture that the n-th decoded row of an interlaced frame
// fills: every 8th row from 0, every 8th from 4, every 4th from 2, every
// 2nd from 1.
std::int32_t interlaced_row(std::int32_t n, std::int32_t height) {
    const std::int32_t pass1 = (height + 7) / 8;
    if (n < pass1) return n * 8;
    n -= pass1;
    const std::int32_t pass2 = (height + 3) / 8;
    if (n < pass2) return 4 + n * 8;
    n -= pass2;
    const std::int32_t pass3 = (height + 1) / 4;
    if (n < pass3) return 2 + n * 4;
    n -= pass3;
    return 1 + n * 2;
}

}  // namespace

RasterPicture read_gif(std::span<const std::uint8_t> file, std::int32_t frame) {
    ByteCursor at(file);
    return read_gif(at, frame);
}

RasterPicture read_gif(ByteCursor& at, std::int32_t frame) {
    if (frame < 1) frame = 1;
    check_picture_head(PictureKind::Gif, at.bytes(std::min<std::size_t>(at.remaining(), 6)));
    at.skip(4);  // logical screen size: each frame is placed at its own size
    const std::uint8_t screen_flags = at.u8();
    at.skip(2);  // background colour, aspect ratio
    const Bytes global = colour_table(at, screen_flags);

    std::int32_t seen = 0;
    for (;;) {
        const std::uint8_t block = at.u8();
        if (block == 0x3B) picture_invalid("GIF frame not in the file");
        if (block == 0x21) {
            at.skip(1);  // label: every extension is a chain of sub-blocks
            skip_sub_blocks(at);
            continue;
        }
        if (block != 0x2C) picture_invalid("GIF block");

        at.skip(4);  // position on the logical screen
        const std::int32_t width = at.u16le();
        const std::int32_t height = at.u16le();
        const std::uint8_t flags = at.u8();
        const Bytes local = colour_table(at, flags);
        const int code_size = at.u8();
        if (++seen < frame) {
            skip_sub_blocks(at);
            continue;
        }

        check_picture_size(width, height);
        // Named before the data are measured against it.
        check_gif_code_size(code_size);
        // Decoded from the file's own bytes, sub-block by sub-block.
        const std::size_t chain = at.position();
        const std::size_t held = skip_sub_blocks(at);
        at.seek(chain);
        const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
        if (w * h > gif_lzw_most_pixels(code_size, held)) picture_invalid("GIF picture data end early");

        RasterPicture picture;
        picture.width = width;
        picture.height = height;
        // Decoded straight into the rows that are written, bottom row first.
        picture.samples.resize(w * h);
        const bool interlaced = (flags & 0x40) != 0;
        decode_gif_lzw(code_size, at, w, h, [&](std::size_t n) {
            const auto shown = static_cast<std::size_t>(
                interlaced ? interlaced_row(static_cast<std::int32_t>(n), height) : static_cast<std::int32_t>(n));
            return picture.samples.data() + (h - 1 - shown) * w;
        });

        picture.colour_space = "/DeviceRGB";
        picture.palette = !local.empty() ? local : global;
        if (picture.palette.empty()) {
            for (int i = 0; i < 256; ++i) picture.palette.insert(picture.palette.end(), 3, static_cast<std::uint8_t>(i));
        }
        const std::size_t needed = std::size_t{3} << code_size;
        if (picture.palette.size() < needed) picture.palette.resize(needed, 0);
        return picture;
    }
}

}  // namespace pdf
