#include "pdf/core/ascii_hex_encoder.h"

namespace pdf {

namespace {
constexpr char hex_digits[] = "0123456789ABCDEF";

template <typename Out>
void append_hex(Out& out, const std::uint8_t* data, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(hex_digits[data[i] >> 4]);
        out.push_back(hex_digits[data[i] & 15]);
    }
}
}  // namespace

std::vector<std::uint8_t> encode_ascii_hex(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out;
    out.reserve(2 * data.size());
    append_hex(out, data.data(), data.size());
    return out;
}

std::string encode_ascii_hex(std::string_view data) {
    std::string out;
    out.reserve(2 * data.size());
    append_hex(out, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    return out;
}

void AsciiHexEncoder::put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) {
    append_hex(out, data.data(), data.size());
}

}  // namespace pdf
