// BMP headers, palettes, bit fields and run-length decoding.
#include "pdf/content/bmp_reader.h"

#include <algorithm>
#include <bit>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/pixel_rows.h"

namespace pdf {

namespace {

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t top = 1;

    explicit Channel(std::uint32_t m) : mask(m) {
        // A mask of 0 has no bits to shift to: refused rather than looped on.
        if (m == 0) picture_invalid("BMP bit-field mask of 0");
        shift = std::countr_zero(m);
        top = m >> shift;
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        const std::uint64_t v = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>(v * 255 / top);
    }
};

// Puts a palette index into the picture: the index itself, or the RGB of
// its entry when the picture is made RGB.
class IndexedPixels {
public:
    IndexedPixels(PixelRows& rows, const Bytes& palette, bool as_rgb) : rows_(rows), palette_(palette), rgb_(as_rgb) {}
    void put(std::int32_t x, std::int32_t y, std::uint8_t index) {
        if (!rgb_) return rows_.one(x, y, index);
        const std::uint8_t* entry = &palette_[std::size_t{index} * 3];
        rows_.rgb(x, y, entry[0], entry[1], entry[2]);
    }

private:
    PixelRows& rows_;
    const Bytes& palette_;
    bool rgb_;
};

// Run-length data (RLE8 or RLE4) into palette indices; every pass reads at
// least two bytes, so the loop ends with the data.
void decode_rle(ByteCursor& at, IndexedPixels& rows, std::int32_t width, std::int32_t height, bool four_bits) {
    std::int32_t x = 0, y = 0;  // y counted from the bottom, as stored
    auto put = [&](std::uint8_t index) {
        if (x < width && y < height) rows.put(x, height - 1 - y, index);
        ++x;
    };
    while (!at.at_end() && y < height) {
        const std::uint8_t count = at.u8();
        const std::uint8_t value = at.u8();
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(four_bits ? static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            x += at.u8();
            y += at.u8();
        } else {
            const std::size_t bytes = four_bits ? (value + 1u) / 2 : value;
            const auto data = at.bytes(bytes);
            for (int i = 0; i < value; ++i) {
                const std::uint8_t b = data[static_cast<std::size_t>(four_bits ? i / 2 : i)];
                if (x < width) put(four_bits ? static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            if (bytes % 2 != 0) at.skip(1);  // absolute runs end on a word
        }
    }
}

}  // namespace

RasterPicture read_bmp(std::span<const std::uint8_t> file, bool as_rgb) {
    ByteCursor at(file);
    return read_bmp(at, as_rgb);
}

RasterPicture read_bmp(ByteCursor& at, bool as_rgb) {
    check_picture_head(PictureKind::Bmp, at.bytes(std::min<std::size_t>(at.remaining(), 2)));
    at.skip(8);  // file size, reserved
    const std::uint32_t data_offset = at.u32le();
    const std::size_t header_start = at.position();
    const std::uint32_t header_size = at.u32le();

    std::int64_t width = 0, height = 0;
    std::uint16_t depth = 0;
    std::uint32_t compression = kRgb, colours_used = 0;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    bool core = false;
    if (header_size == 12) {
        core = true;
        width = at.u16le();
        height = at.u16le();
        at.skip(2);
        depth = at.u16le();
    } else if (header_size == 40 || header_size == 52 || header_size == 56 || header_size == 108 ||
               header_size == 124) {
        width = at.i32le();
        height = at.i32le();
        at.skip(2);
        depth = at.u16le();
        compression = at.u32le();
        at.skip(12);  // image size, resolution
        colours_used = at.u32le();
        at.skip(4);
        if (compression == kBitFields) {
            // In the longer headers the masks are part of it; after a 40-byte
            // header they follow it.
            for (auto& m : masks) m = at.u32le();
        }
    } else {
        picture_invalid("BMP header size");
    }
    const bool top_down = height < 0;
    if (top_down) height = -height;
    check_picture_size(width, height);
    const auto w = static_cast<std::int32_t>(width), h = static_cast<std::int32_t>(height);

    const bool palette_depth = depth == 1 || depth == 4 || depth == 8;
    const bool valid = (compression == kRgb && (palette_depth || depth == 16 || depth == 24 || depth == 32)) ||
                       (compression == kRle8 && depth == 8) || (compression == kRle4 && depth == 4) ||
                       (compression == kBitFields && (depth == 16 || depth == 32));
    if (!valid) picture_invalid("BMP depth or compression");
    if (top_down && (compression == kRle8 || compression == kRle4)) picture_invalid("top-down RLE BMP");

    RasterPicture picture;
    if (palette_depth) {
        at.seek(header_start + header_size);
        const std::uint32_t entries_allowed = 1u << depth;
        std::uint32_t entries = colours_used == 0 || colours_used > entries_allowed ? entries_allowed : colours_used;
        const std::size_t entry_size = core ? 3 : 4;
        // A palette cut short by the pixel data is read as far as it goes.
        if (data_offset > at.position()) {
            const std::size_t room = (data_offset - at.position()) / entry_size;
            if (room < entries) entries = static_cast<std::uint32_t>(room);
        }
        picture.palette.assign(std::size_t{3} * entries_allowed, 0);
        for (std::uint32_t i = 0; i < entries; ++i) {
            const auto e = at.bytes(entry_size);
            picture.palette[3 * i] = e[2];
            picture.palette[3 * i + 1] = e[1];
            picture.palette[3 * i + 2] = e[0];
        }
    }

    at.seek(data_offset);
    const std::size_t stride = (static_cast<std::size_t>(w) * depth + 31) / 32 * 4;
    const bool run_length = compression == kRle8 || compression == kRle4;
    // Rows the file cannot hold are not made room for.
    if (!run_length && stride * static_cast<std::size_t>(h) > at.remaining()) picture_truncated();
    // Nor is more read than the rows, or than run-length data in which
    // every record paints a pixel or moves to the next row (4 bytes at
    // most for each) and the last ends the picture: data that go on have
    // records that paint nothing, and what they hide is not guessed.
    const std::size_t pixels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    at.stop_at(data_offset + (run_length ? 4 * (pixels + static_cast<std::size_t>(h)) + 2 : stride * h),
               "BMP run-length data longer than its picture needs");
    const bool indexed = palette_depth && !as_rgb;
    PixelRows rows(picture, w, h, indexed ? 1 : 3);
    IndexedPixels indices(rows, picture.palette, as_rgb);
    if (run_length) {
        // Pixels the data leave out show entry 0.
        if (as_rgb) rows.fill(picture.palette[0], picture.palette[1], picture.palette[2]);
        decode_rle(at, indices, w, h, compression == kRle4);
    } else {
        const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
        for (std::int32_t stored = 0; stored < h; ++stored) {
            const std::int32_t y = top_down ? stored : h - 1 - stored;
            // Read as it lies: a row may be longer than a piece.
            const std::size_t row_end = at.position() + stride;
            if (palette_depth) {
                std::uint32_t bits = 0;
                int left = 0;
                for (std::int32_t x = 0; x < w; ++x) {
                    if (left == 0) {
                        bits = at.u8();
                        left = 8;
                    }
                    left -= depth;
                    indices.put(x, y, static_cast<std::uint8_t>((bits >> left) & ((1u << depth) - 1)));
                }
            } else if (depth == 24 || (depth == 32 && compression == kRgb)) {
                for (std::int32_t x = 0; x < w; ++x) {
                    const auto p = at.bytes(depth / 8);
                    rows.rgb(x, y, p[2], p[1], p[0]);
                }
            } else {
                for (std::int32_t x = 0; x < w; ++x) {
                    const std::uint32_t p = depth == 16 ? at.u16le() : at.u32le();
                    rows.rgb(x, y, red(p), green(p), blue(p));
                }
            }
            at.seek(row_end);  // past the padding
        }
    }
    // The samples hold the entries' colours now.
    if (as_rgb) picture.palette.clear();
    return picture;
}

}  // namespace pdf
