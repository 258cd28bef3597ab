// GIF LZW decoding. Each table entry keeps its prefix code, its last byte,
// its first byte and its length, so a code's string is written straight into
// the output from its end backwards: no stack, one pass over the output.
#include "pdf/content/gif_lzw.h"

#include <algorithm>
#include <array>
#include <memory>

#include "pdf/content/picture.h"

namespace pdf {

namespace {

constexpr int kMostCodes = 4096;

struct Table {
    std::array<std::uint16_t, kMostCodes> prefix;
    std::array<std::uint8_t, kMostCodes> last;
    std::array<std::uint8_t, kMostCodes> first;
    std::array<std::uint16_t, kMostCodes> length;
};

}  // namespace

Bytes decode_gif_lzw(int min_code_size, std::span<const std::uint8_t> data, std::size_t pixel_count) {
    if (min_code_size < 2 || min_code_size > 8) picture_invalid("GIF code size");
    const int clear = 1 << min_code_size;
    const int end = clear + 1;

    auto table = std::make_unique<Table>();
    for (int c = 0; c < clear; ++c) {
        table->prefix[c] = 0;
        table->last[c] = static_cast<std::uint8_t>(c);
        table->first[c] = static_cast<std::uint8_t>(c);
        table->length[c] = 1;
    }

    // The output grows with what the data really give, so a header that
    // announces a huge picture over a few bytes of data costs nothing.
    Bytes out(std::min(pixel_count, data.size() * 16 + 4096));
    std::size_t written = 0;
    std::size_t in = 0;
    std::uint64_t bit_buffer = 0;
    int bit_count = 0;
    int width = min_code_size + 1;
    int next = clear + 2;
    int previous = -1;

    // Every pass consumes at least one code, and codes come from the data:
    // the loop ends with the data at the latest.
    while (written < pixel_count) {
        while (bit_count < width) {
            if (in >= data.size()) picture_invalid("GIF picture data end early");
            bit_buffer |= static_cast<std::uint64_t>(data[in++]) << bit_count;
            bit_count += 8;
        }
        const int code = static_cast<int>(bit_buffer & ((1u << width) - 1));
        bit_buffer >>= width;
        bit_count -= width;

        if (code == clear) {
            width = min_code_size + 1;
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
            if (next == (1 << width) && width < 12) ++width;
        }

        // Write the string from its end; a string longer than the room left
        // is cut to the picture's pixel count.
        std::size_t room = pixel_count - written;
        std::size_t n = static_cast<std::size_t>(length);
        if (written + std::min(n, room) > out.size())
            out.resize(std::min(pixel_count, std::max(out.size() * 2, written + n)));
        int c = code;
        while (n > room) {
            c = table->prefix[c];
            --n;
        }
        for (std::size_t i = n; i-- > 0;) {
            out[written + i] = table->last[c];
            c = table->prefix[c];
        }
        written += n;
        previous = code;
    }
    return out;
}

}  // namespace pdf
