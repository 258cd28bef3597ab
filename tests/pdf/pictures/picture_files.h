// Byte builders for the picture formats the writer reads: small, fully
// controlled files for the reader tests, the robustness corpus and the fuzz
// seeds. Each builder writes what the format says and nothing the readers
// under test provide.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace picturetest {

using ByteString = std::string;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kWhite{255, 255, 255};

inline void put16le(ByteString& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void put32le(ByteString& s, std::uint32_t v) {
    put16le(s, v & 0xFFFF);
    put16le(s, v >> 16);
}

// ---- GIF ----

// How the test LZW encoder behaves at the edges the decoder must handle.
struct GifLzwOptions {
    // With a full table (4096 codes) keep sending 12-bit codes without new
    // entries instead of a Clear code.
    bool deferred_clear = false;
    // Send every pixel as its own literal code (a Clear before the table
    // would widen): the output never refers to the entry being built.
    bool literal_only = false;
};

// GIF LZW (least significant bit first, the decoder's late width change).
inline ByteString gif_lzw(const std::vector<std::uint8_t>& pixels, int min_code_size, GifLzwOptions options = {},
                          int* kwkwk_count = nullptr) {
    const int clear = 1 << min_code_size, end = clear + 1;
    ByteString out;
    std::uint32_t acc = 0;
    int bits = 0;
    int width = min_code_size + 1;
    int decoder_next = clear + 2;
    bool first_after_clear = true;
    auto emit = [&](int code) {
        acc |= static_cast<std::uint32_t>(code) << bits;
        bits += width;
        while (bits >= 8) {
            out += static_cast<char>(acc & 0xFF);
            acc >>= 8;
            bits -= 8;
        }
        if (code == clear) {
            width = min_code_size + 1;
            decoder_next = clear + 2;
            first_after_clear = true;
            return;
        }
        // What the decoder does on reading this code: add an entry, widen
        // when the table reaches the width's limit.
        if (!first_after_clear && decoder_next < 4096) {
            ++decoder_next;
            if (decoder_next == (1 << width) && width < 12) ++width;
        }
        first_after_clear = false;
    };
    std::vector<std::vector<int>> children;  // [code * 256 + byte] -> code
    std::vector<int> dict(4096 * 256, -1);
    int next = clear + 2;
    auto reset = [&] {
        std::fill(dict.begin(), dict.end(), -1);
        next = clear + 2;
    };
    emit(clear);
    if (pixels.empty()) {
        emit(end);
    } else if (options.literal_only) {
        int since_clear = 0;
        for (auto p : pixels) {
            // Keep the decoder's table below the first widening.
            if (since_clear == (1 << (min_code_size + 1)) - clear - 3) {
                emit(clear);
                since_clear = 0;
            }
            emit(p);
            ++since_clear;
        }
        emit(end);
    } else {
        int prefix = pixels[0];
        int last_added = -1;
        for (std::size_t i = 1; i < pixels.size(); ++i) {
            const int b = pixels[i];
            const int found = dict[static_cast<std::size_t>(prefix) * 256 + b];
            if (found >= 0) {
                prefix = found;
                continue;
            }
            if (kwkwk_count != nullptr && prefix == last_added) ++*kwkwk_count;
            emit(prefix);
            last_added = -1;
            if (next < 4096) {
                dict[static_cast<std::size_t>(prefix) * 256 + b] = next;
                last_added = next;
                ++next;
            } else if (!options.deferred_clear) {
                emit(clear);
                reset();
            }
            prefix = b;
        }
        if (kwkwk_count != nullptr && prefix == last_added) ++*kwkwk_count;
        emit(prefix);
        emit(end);
    }
    if (bits > 0) out += static_cast<char>(acc & 0xFF);
    return out;
}

// Data cut into sub-blocks of up to 255 bytes, with the terminator.
inline ByteString sub_blocks(const ByteString& data, std::size_t block = 255) {
    ByteString out;
    for (std::size_t at = 0; at < data.size(); at += block) {
        const std::size_t n = std::min(block, data.size() - at);
        out += static_cast<char>(n);
        out += data.substr(at, n);
    }
    out += '\0';
    return out;
}

inline ByteString colour_table_bytes(const std::vector<Rgb>& colours) {
    ByteString out;
    for (const Rgb& c : colours) {
        out += static_cast<char>(c.r);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.b);
    }
    return out;
}

// Smallest flags size code (n: 2^(n+1) entries) that holds `count` colours.
inline int table_size_code(std::size_t count) {
    int n = 0;
    while ((std::size_t{2} << n) < count) ++n;
    return n;
}

struct GifFrame {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;  // rows top to bottom (display order)
    std::vector<Rgb> local_colours;    // empty: none
    bool interlaced = false;
    int min_code_size = 2;
    GifLzwOptions lzw;
};

// The rows of a frame in the order an interlaced file stores them.
inline std::vector<std::uint8_t> interlace_rows(const GifFrame& f) {
    std::vector<std::uint8_t> out;
    const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = starts[pass]; y < f.height; y += steps[pass]) {
            out.insert(out.end(), f.pixels.begin() + y * f.width, f.pixels.begin() + (y + 1) * f.width);
        }
    }
    return out;
}

// A GIF89a file: global colour table, then a comment and a graphic control
// extension before every frame (readers must skip both), then the frames.
inline ByteString gif_file(const std::vector<Rgb>& global_colours, const std::vector<GifFrame>& frames,
                           bool trailer = true) {
    ByteString s = "GIF89a";
    int screen_w = 0, screen_h = 0;
    for (const auto& f : frames) {
        screen_w = std::max(screen_w, f.width);
        screen_h = std::max(screen_h, f.height);
    }
    put16le(s, static_cast<unsigned>(screen_w));
    put16le(s, static_cast<unsigned>(screen_h));
    ByteString global;
    if (!global_colours.empty()) {
        const int code = table_size_code(global_colours.size());
        s += static_cast<char>(0x80 | 0x70 | code);
        global = colour_table_bytes(global_colours);
        global.resize((std::size_t{2} << code) * 3, '\0');
    } else {
        s += '\0';
    }
    s += '\0';
    s += '\0';
    s += global;
    for (const auto& f : frames) {
        s += "\x21\xFE";
        s += sub_blocks("made by the picture tests", 7);
        s += "\x21\xF9\x04";
        s += ByteString("\x04\x0A\x00\x00\x00", 5);
        s += '\x2C';
        put16le(s, 0);
        put16le(s, 0);
        put16le(s, static_cast<unsigned>(f.width));
        put16le(s, static_cast<unsigned>(f.height));
        std::uint8_t flags = f.interlaced ? 0x40 : 0;
        ByteString local;
        if (!f.local_colours.empty()) {
            const int code = table_size_code(f.local_colours.size());
            flags |= static_cast<std::uint8_t>(0x80 | code);
            local = colour_table_bytes(f.local_colours);
            local.resize((std::size_t{2} << code) * 3, '\0');
        }
        s += static_cast<char>(flags);
        s += local;
        s += static_cast<char>(f.min_code_size);
        s += sub_blocks(gif_lzw(f.interlaced ? interlace_rows(f) : f.pixels, f.min_code_size, f.lzw));
    }
    if (trailer) s += '\x3B';
    return s;
}

// A picture whose top half is index 0 and bottom half index 1.
inline GifFrame halves_frame(int width, int height) {
    GifFrame f;
    f.width = width;
    f.height = height;
    f.pixels.assign(static_cast<std::size_t>(width * height), 1);
    std::fill(f.pixels.begin(), f.pixels.begin() + (height / 2) * width, 0);
    return f;
}

// A frame of one colour whose data keep the table full without a Clear: the
// longest strings GIF allows, so a few kilobytes stand for millions of
// pixels.
inline ByteString one_colour_gif(int width, int height) {
    GifFrame f;
    f.width = width;
    f.height = height;
    f.min_code_size = 8;
    f.lzw.deferred_clear = true;
    f.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return gif_file({kRed, kBlue}, {f});
}

// ---- Pictures in display order ----

// A picture as the tests mean it: pixels row by row from the top.
struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Top half red, bottom half blue, a green pixel in the top-left corner (so
// a mirrored picture is told from a correct one).
inline Image marked_halves(int width, int height) {
    Image im{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) im.pixels.push_back(y < height / 2 ? kRed : kBlue);
    im.pixels[0] = kGreen;
    return im;
}

// The index of each pixel's colour in `palette` (which must hold it).
inline std::vector<std::uint8_t> indices_of(const Image& im, const std::vector<Rgb>& palette) {
    std::vector<std::uint8_t> out;
    for (const Rgb& c : im.pixels)
        out.push_back(static_cast<std::uint8_t>(std::find(palette.begin(), palette.end(), c) - palette.begin()));
    return out;
}

// ---- BMP ----

struct BmpSpec {
    int header = 40;       // 12, 40, 52, 56, 108, 124
    int depth = 24;        // 1, 4, 8, 16, 24, 32
    int compression = 0;   // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
    bool top_down = false;
    std::uint32_t masks[3] = {0, 0, 0};  // bit fields (0: 5-5-5 / 8-8-8)
};

inline const std::vector<Rgb>& bmp_palette() {
    static const std::vector<Rgb> p = {kRed, kBlue, kGreen, kWhite};
    return p;
}

inline std::uint32_t bmp_pack(const Rgb& c, const BmpSpec& spec) {
    if (spec.compression != 3) {
        if (spec.depth == 16) return ((c.r >> 3u) << 10) | ((c.g >> 3u) << 5) | (c.b >> 3u);
        return (static_cast<std::uint32_t>(c.r) << 16) | (c.g << 8) | c.b;
    }
    std::uint32_t v = 0;
    const std::uint8_t comps[3] = {c.r, c.g, c.b};
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t m = spec.masks[i];
        const int shift = __builtin_ctz(m);
        const std::uint32_t top = m >> shift;
        v |= ((comps[i] * top + 127) / 255) << shift;
    }
    return v;
}

// Run-length rows (bottom row first) of palette indices.
inline ByteString bmp_rle(const Image& im, bool four_bits) {
    const auto idx = indices_of(im, bmp_palette());
    ByteString out;
    for (int y = im.height - 1; y >= 0; --y) {
        const auto* row = &idx[static_cast<std::size_t>(y * im.width)];
        int x = 0;
        // The first three pixels as an absolute run when the row is wide
        // enough, the rest as runs.
        if (im.width >= 3) {
            out += '\x00';
            out += '\x03';
            if (four_bits) {
                out += static_cast<char>((row[0] << 4) | row[1]);
                out += static_cast<char>(row[2] << 4);
            } else {
                out += static_cast<char>(row[0]);
                out += static_cast<char>(row[1]);
                out += static_cast<char>(row[2]);
                out += '\x00';
            }
            x = 3;
        }
        while (x < im.width) {
            int n = 1;
            while (x + n < im.width && row[x + n] == row[x] && n < 255) ++n;
            out += static_cast<char>(n);
            out += static_cast<char>(four_bits ? (row[x] << 4) | row[x] : row[x]);
            x += n;
        }
        out += ByteString("\x00\x00", 2);
    }
    out += ByteString("\x00\x01", 2);
    return out;
}

inline ByteString bmp_file(const Image& im, const BmpSpec& spec) {
    const bool palette = spec.depth <= 8;
    ByteString pixels;
    if (spec.compression == 1 || spec.compression == 2) {
        pixels = bmp_rle(im, spec.compression == 2);
    } else {
        const std::size_t stride = (static_cast<std::size_t>(im.width) * spec.depth + 31) / 32 * 4;
        const auto idx = palette ? indices_of(im, bmp_palette()) : std::vector<std::uint8_t>{};
        for (int r = 0; r < im.height; ++r) {
            const int y = spec.top_down ? r : im.height - 1 - r;
            ByteString row;
            std::uint32_t acc = 0;
            int filled = 0;
            for (int x = 0; x < im.width; ++x) {
                if (palette) {
                    acc = (acc << spec.depth) | idx[static_cast<std::size_t>(y * im.width + x)];
                    filled += spec.depth;
                    if (filled == 8) {
                        row += static_cast<char>(acc);
                        acc = 0;
                        filled = 0;
                    }
                } else {
                    const std::uint32_t v = bmp_pack(im.at(x, y), spec);
                    for (int b = 0; b < spec.depth / 8; ++b) row += static_cast<char>((v >> (8 * b)) & 0xFF);
                }
            }
            if (filled > 0) row += static_cast<char>(acc << (8 - filled));
            row.resize(stride, '\x00');
            pixels += row;
        }
    }
    ByteString header;
    const bool masks_after = spec.compression == 3 && spec.header == 40;
    put32le(header, static_cast<std::uint32_t>(spec.header));
    if (spec.header == 12) {
        put16le(header, static_cast<unsigned>(im.width));
        put16le(header, static_cast<unsigned>(im.height));
        put16le(header, 1);
        put16le(header, static_cast<unsigned>(spec.depth));
    } else {
        put32le(header, static_cast<std::uint32_t>(im.width));
        put32le(header, static_cast<std::uint32_t>(spec.top_down ? -im.height : im.height));
        put16le(header, 1);
        put16le(header, static_cast<unsigned>(spec.depth));
        put32le(header, static_cast<std::uint32_t>(spec.compression));
        put32le(header, static_cast<std::uint32_t>(pixels.size()));
        put32le(header, 2835);
        put32le(header, 2835);
        put32le(header, palette ? static_cast<std::uint32_t>(bmp_palette().size()) : 0);
        put32le(header, 0);
        if (spec.header > 40)
            for (std::uint32_t m : spec.masks) put32le(header, m);
        header.resize(static_cast<std::size_t>(spec.header), '\x00');
        if (masks_after)
            for (std::uint32_t m : spec.masks) put32le(header, m);
    }
    ByteString table;
    if (palette) {
        std::size_t entries = spec.header == 12 ? std::size_t{1} << spec.depth : bmp_palette().size();
        for (std::size_t i = 0; i < entries; ++i) {
            const Rgb c = i < bmp_palette().size() ? bmp_palette()[i] : Rgb{};
            table += static_cast<char>(c.b);
            table += static_cast<char>(c.g);
            table += static_cast<char>(c.r);
            if (spec.header != 12) table += '\x00';
        }
    }
    ByteString s = "BM";
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + header.size() + table.size());
    put32le(s, static_cast<std::uint32_t>(offset + pixels.size()));
    put32le(s, 0);
    put32le(s, offset);
    return s + header + table + pixels;
}

// An 8-bit RLE BMP of width x height pixels whose data end at once: 1,080
// bytes, every pixel left at palette entry 0.
inline ByteString empty_rle8_bmp(int width, int height) {
    ByteString s = "BM";
    put32le(s, 1080);
    put32le(s, 0);
    put32le(s, 1078);
    for (std::uint32_t v : {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) put32le(s, v);
    put16le(s, 1);
    put16le(s, 8);
    for (std::uint32_t v : {1u, 2u, 2835u, 2835u, 256u, 0u}) put32le(s, v);
    for (int i = 0; i < 256; ++i) s += ByteString{static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), 0};
    return s + ByteString("\x00\x01", 2);
}

// ---- TGA ----

struct TgaSpec {
    int type = 2;         // 1, 2, 3, 9, 10, 11
    int depth = 24;       // pixel bits (map index bits for types 1 and 9)
    int map_bits = 24;    // colour map entry size
    int map_first = 0;    // first index of the colour map
    bool from_top = false;
    bool from_right = false;
};

inline ByteString tga_colour(const Rgb& c, int bits) {
    ByteString out;
    if (bits == 15 || bits == 16) {
        put16le(out, ((c.r >> 3u) << 10) | ((c.g >> 3u) << 5) | (c.b >> 3u));
    } else {
        out += static_cast<char>(c.b);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.r);
        if (bits == 32) out += '\xFF';
    }
    return out;
}

inline ByteString tga_file(const Image& im, const TgaSpec& spec) {
    const int base = spec.type & 7;
    const bool mapped = base == 1, grey = base == 3;
    const auto& map = bmp_palette();
    ByteString s;
    const std::string id = "test";
    s += static_cast<char>(id.size());
    s += static_cast<char>(mapped ? 1 : 0);
    s += static_cast<char>(spec.type);
    put16le(s, mapped ? static_cast<unsigned>(spec.map_first) : 0);
    put16le(s, mapped ? static_cast<unsigned>(map.size()) : 0);
    s += static_cast<char>(mapped ? spec.map_bits : 0);
    put32le(s, 0);
    put16le(s, static_cast<unsigned>(im.width));
    put16le(s, static_cast<unsigned>(im.height));
    s += static_cast<char>(grey ? 8 : spec.depth);
    s += static_cast<char>((spec.from_top ? 0x20 : 0) | (spec.from_right ? 0x10 : 0));
    s += id;
    if (mapped)
        for (const Rgb& c : map) s += tga_colour(c, spec.map_bits);

    // Stored pixel values, in storage order.
    std::vector<ByteString> stored;
    for (int r = 0; r < im.height; ++r) {
        const int y = spec.from_top ? r : im.height - 1 - r;
        for (int c = 0; c < im.width; ++c) {
            const int x = spec.from_right ? im.width - 1 - c : c;
            const Rgb px = im.at(x, y);
            if (grey) {
                stored.push_back(ByteString(1, static_cast<char>((px.r * 30 + px.g * 59 + px.b * 11) / 100)));
            } else if (mapped) {
                const auto i = static_cast<unsigned>(std::find(map.begin(), map.end(), px) - map.begin()) +
                               static_cast<unsigned>(spec.map_first);
                ByteString v;
                if (spec.depth == 8) v += static_cast<char>(i);
                else put16le(v, i);
                stored.push_back(v);
            } else {
                stored.push_back(tga_colour(px, spec.depth));
            }
        }
    }
    if ((spec.type & 8) == 0) {
        for (const auto& v : stored) s += v;
        return s;
    }
    // Run packets for repeats, raw packets otherwise; packets cross rows.
    for (std::size_t i = 0; i < stored.size();) {
        std::size_t n = 1;
        while (i + n < stored.size() && stored[i + n] == stored[i] && n < 128) ++n;
        if (n > 1) {
            s += static_cast<char>(0x80 | (n - 1));
            s += stored[i];
            i += n;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < stored.size() && raw < 128 &&
               (i + raw + 1 >= stored.size() || stored[i + raw] != stored[i + raw + 1]))
            ++raw;
        s += static_cast<char>(raw - 1);
        for (std::size_t k = 0; k < raw; ++k) s += stored[i + k];
        i += raw;
    }
    return s;
}

// A run-length true-colour TGA of width x height pixels made of the
// longest run packets: 4 bytes for every 128 pixels.
inline ByteString long_runs_tga(int width, int height) {
    ByteString s(18, '\0');
    s[2] = 10;
    s[12] = static_cast<char>(width & 0xFF);
    s[13] = static_cast<char>(width >> 8);
    s[14] = static_cast<char>(height & 0xFF);
    s[15] = static_cast<char>(height >> 8);
    s[16] = 24;
    const std::size_t packets = (static_cast<std::size_t>(width) * static_cast<std::size_t>(height) + 127) / 128;
    for (std::size_t i = 0; i < packets; ++i) s += ByteString("\xFF\x20\x40\x60", 4);
    return s;
}

// ---- Windows metafile ----

// One record: size in words, function, parameters (16-bit words).
inline ByteString wmf_record(std::uint16_t function, const std::vector<int>& params) {
    ByteString r;
    put32le(r, static_cast<std::uint32_t>(3 + params.size()));
    put16le(r, function);
    for (int p : params) put16le(r, static_cast<unsigned>(p) & 0xFFFF);
    return r;
}

// A placeable metafile of the frame (left, top) - (right, bottom) at
// `inch` units per inch, with the given records and an end record.
inline ByteString wmf_file(int left, int top, int right, int bottom, int inch, const ByteString& records) {
    ByteString s;
    put32le(s, 0x9AC6CDD7u);
    put16le(s, 0);
    for (int v : {left, top, right, bottom}) put16le(s, static_cast<unsigned>(v) & 0xFFFF);
    put16le(s, static_cast<unsigned>(inch));
    put32le(s, 0);
    put16le(s, 0);
    ByteString body = records + wmf_record(0, {});
    put16le(s, 1);
    put16le(s, 9);
    put16le(s, 0x0300);
    put32le(s, static_cast<std::uint32_t>(9 + body.size() / 2));
    put16le(s, 4);
    put32le(s, 16);
    put16le(s, 0);
    return s + body;
}

// Pen and brush records: a colour as (r, g, b).
inline ByteString wmf_pen(int style, int width, Rgb c) {
    return wmf_record(0x02FA, {style, width, 0, c.r | (c.g << 8), c.b});
}
inline ByteString wmf_brush(int style, Rgb c) { return wmf_record(0x02FC, {style, c.r | (c.g << 8), c.b, 0}); }
inline ByteString wmf_select(int index) { return wmf_record(0x012D, {index}); }
inline ByteString wmf_rectangle(int left, int top, int right, int bottom) {
    return wmf_record(0x041B, {bottom, right, top, left});
}

// 1440 units per inch, 1600 x 1200 units (80 x 60 points): a red top half
// and a blue bottom half, each a rectangle drawn with a hollow pen.
inline ByteString red_over_blue_wmf() {
    ByteString r = wmf_pen(5, 0, kRed) + wmf_brush(0, kRed) + wmf_brush(0, kBlue);
    r += wmf_record(0x020B, {0, 0}) + wmf_record(0x020C, {1200, 1600});
    r += wmf_select(0) + wmf_select(1) + wmf_rectangle(0, 0, 1600, 600);
    r += wmf_select(2) + wmf_rectangle(0, 600, 1600, 1200);
    return wmf_file(0, 0, 1600, 1200, 1440, r);
}

// ---- EPS ----

// An EPS file around `body`, with a prolog whose drawing must not show.
inline ByteString eps_file(const std::string& bounding_box, const std::string& body) {
    return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: " + bounding_box +
           "\n%%EndComments\n%%BeginProlog\n/m {moveto} def 0 0 m 5 5 l S\n%%EndProlog\n%%BeginSetup\n"
           "1 0 0 1 k 9 9 m\n%%EndSetup\n" +
           body + "\n%%PageTrailer\n0 0 m 50 50 l S\n%%Trailer\n%%EOF\n";
}

// Box 10 20 90 80 (80 x 60 points): a red top half and a blue bottom half,
// after a path without a current point (which readers must not be given).
inline ByteString red_over_blue_eps() {
    return eps_file("10 20 90 80",
                    "50 50 l 60 60 l h f\n0 1 1 0 k\n10 50 m 90 50 l 90 80 l 10 80 l f\n"
                    "0 0 1 Xa\n10 20 m\r90 20 L 90 50 l 10 50 l F\nshowpage\n0 0 m 90 80 l S");
}

}  // namespace picturetest
