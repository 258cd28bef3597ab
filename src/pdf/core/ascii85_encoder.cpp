#include "pdf/core/ascii85_encoder.h"

#include <algorithm>

namespace pdf {

namespace {

// Encodes the groups from the start of `data`; unless `last`, only those
// that more bytes follow (the last group may become "z"). Returns the
// bytes they cover.
std::size_t encode_groups(std::span<const std::uint8_t> data, bool last, std::vector<std::uint8_t>& out) {
    const std::size_t n = data.size();
    std::size_t i = 0;
    for (; last ? i < n : i + 4 < n; i += 4) {
        const std::size_t group = std::min<std::size_t>(4, n - i);
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < 4; ++k)
            value = (value << 8) | (k < group ? data[i + k] : 0u);
        if (value == 0 && group == 4 && i + 4 == n) {
            out.push_back('z');
            return n;
        }
        std::uint8_t digits[5];
        for (int k = 4; k >= 0; --k) {
            digits[k] = std::uint8_t(value % 85 + 33);
            value /= 85;
        }
        out.insert(out.end(), digits, digits + group + 1);
    }
    return std::min(i, n);
}

void put_end(std::vector<std::uint8_t>& out) {
    out.push_back('~');
    out.push_back('>');
}

}  // namespace

std::vector<std::uint8_t> encode_ascii85(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out;
    out.reserve(data.size() / 4 * 5 + 7);
    encode_groups(data, true, out);
    put_end(out);
    return out;
}

std::uint64_t ascii85_length(std::uint64_t size, bool ends_in_zero_group) {
    const std::uint64_t rest = size % 4;
    std::uint64_t length = size / 4 * 5 + (rest > 0 ? rest + 1 : 0) + 2;
    if (size > 0 && rest == 0 && ends_in_zero_group) length -= 4;
    return length;
}

Ascii85Encoder::Ascii85Encoder() : HoldingEncoder(encode_groups, "~>") {}

}  // namespace pdf
