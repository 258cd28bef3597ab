// GIF LZW decoding. Each table entry keeps its prefix code, its last byte,
// its first byte and its length, so a code's string is written straight into
// its row from its end backwards: no stack, one pass over the output. The
// rare string that runs on into the next row goes through a small buffer.
#include "pdf/content/gif_lzw.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "pdf/content/picture.h"

namespace pdf {

namespace {

constexpr int kMostCodes = 4096;

struct Table {
    std::array<std::uint16_t, kMostCodes> prefix;
    std::array<std::uint8_t, kMostCodes> last;
    std::array<std::uint8_t, kMostCodes> first;
    std::array<std::uint16_t, kMostCodes> length;
    // A string that crosses rows, before it is shared out among them.
    std::array<std::uint8_t, kMostCodes> spill;
};

}  // namespace

std::uint64_t gif_lzw_most_pixels(int min_code_size, std::size_t data_bytes) {
    // Codes are never narrower than the narrowest code size allows.
    const int narrowest = std::clamp(min_code_size, 2, 8) + 1;
    const std::uint64_t codes = std::uint64_t{data_bytes} * 8 / static_cast<std::uint64_t>(narrowest);
    if (codes <= kMostCodes) return codes * (codes + 1) / 2;
    return std::uint64_t{kMostCodes} * (kMostCodes + 1) / 2 + (codes - kMostCodes) * kMostCodes;
}

void check_gif_code_size(int min_code_size) {
    if (min_code_size < 2 || min_code_size > 8)
        picture_invalid("GIF LZW minimum code size " + std::to_string(min_code_size));
}

void decode_gif_lzw(int min_code_size, ByteCursor& sub_blocks, std::size_t width, std::size_t height,
                    const GifRowTarget& row_at) {
    check_gif_code_size(min_code_size);
    const int clear = 1 << min_code_size;
    const int end = clear + 1;

    auto table = std::make_unique<Table>();
    for (int c = 0; c < clear; ++c) {
        table->prefix[c] = 0;
        table->last[c] = static_cast<std::uint8_t>(c);
        table->first[c] = static_cast<std::uint8_t>(c);
        table->length[c] = 1;
    }

    if (width == 0 || height == 0) return;
    std::size_t row = 0;     // rows complete
    std::size_t column = 0;  // pixels of row `row` written
    std::uint8_t* target = row_at(0);
    auto next_row = [&] {
        column = 0;
        if (++row < height) target = row_at(row);
    };

    std::span<const std::uint8_t> block;  // what is left of the current sub-block
    std::uint64_t bit_buffer = 0;
    int bit_count = 0;
    int code_width = min_code_size + 1;
    int next = clear + 2;
    int previous = -1;

    // Every pass consumes at least one code, and codes come from the data:
    // the loop ends with the data at the latest.
    while (row < height) {
        while (bit_count < code_width) {
            if (block.empty()) {
                // A sub-block that the file cuts short gives what it holds.
                const std::uint8_t size = sub_blocks.at_end() ? 0 : sub_blocks.u8();
                if (size == 0 || sub_blocks.at_end()) picture_invalid("GIF picture data end early");
                block = sub_blocks.bytes(std::min<std::size_t>(size, sub_blocks.remaining()));
            }
            bit_buffer |= static_cast<std::uint64_t>(block.front()) << bit_count;
            block = block.subspan(1);
            bit_count += 8;
        }
        const int code = static_cast<int>(bit_buffer & ((1u << code_width) - 1));
        bit_buffer >>= code_width;
        bit_count -= code_width;

        if (code == clear) {
            code_width = min_code_size + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) picture_invalid("GIF picture data end early");

        int length;
        std::uint8_t first;
        if (code < next && (code < clear || code > end)) {
            length = table->length[code];
            first = table->first[code];
        } else if (code == next && previous >= 0) {
            // The entry being built: the previous string and its own first byte.
            length = table->length[previous] + 1;
            first = table->first[previous];
        } else {
            picture_invalid("GIF code not in the table");
        }
        if (previous < 0 && code >= clear) picture_invalid("GIF code not in the table");

        if (previous >= 0 && next < kMostCodes) {
            table->prefix[next] = static_cast<std::uint16_t>(previous);
            table->last[next] = first;
            table->first[next] = table->first[previous];
            table->length[next] = static_cast<std::uint16_t>(table->length[previous] + 1);
            ++next;
            if (next == (1 << code_width) && code_width < 12) ++code_width;
        }

        const auto n = static_cast<std::size_t>(length);
        const bool fits = n <= width - column;
        std::uint8_t* out = fits ? target + column : table->spill.data();
        int c = code;
        for (std::size_t i = n; i-- > 0;) {
            out[i] = table->last[c];
            c = table->prefix[c];
        }
        if (fits) {
            column += n;
            if (column == width) next_row();
        } else {
            // Shared out row by row; what lies past the frame's last pixel
            // is dropped.
            for (std::size_t from = 0; from < n && row < height;) {
                const std::size_t piece = std::min(n - from, width - column);
                std::memcpy(target + column, out + from, piece);
                from += piece;
                column += piece;
                if (column == width) next_row();
            }
        }
        previous = code;
    }
}

}  // namespace pdf
