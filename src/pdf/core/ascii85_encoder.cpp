#include "pdf/core/ascii85_encoder.h"

#include <algorithm>

namespace pdf {

std::vector<std::uint8_t> encode_ascii85(std::span<const std::uint8_t> data) {
    const std::size_t n = data.size();
    std::vector<std::uint8_t> out;
    out.reserve(n / 4 * 5 + 7);
    for (std::size_t i = 0; i < n; i += 4) {
        const std::size_t group = std::min<std::size_t>(4, n - i);
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < 4; ++k)
            value = (value << 8) | (k < group ? data[i + k] : 0u);
        if (value == 0 && group == 4 && i + 4 == n) {
            out.push_back('z');
            break;
        }
        std::uint8_t digits[5];
        for (int k = 4; k >= 0; --k) {
            digits[k] = std::uint8_t(value % 85 + 33);
            value /= 85;
        }
        out.insert(out.end(), digits, digits + group + 1);
    }
    out.push_back('~');
    out.push_back('>');
    return out;
}

}  // namespace pdf
