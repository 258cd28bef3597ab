// Byte builders for the picture formats the writer reads: small, fully
// controlled files for the reader tests, the robustness corpus and the fuzz
// seeds. Each builder writes what the format says and nothing the readers
// under test provide.
#pragma once

#include <cstdint>
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

}  // namespace picturetest
