// Encoder of the ASCIIHexDecode stream filter (also used for the file
// identifier of the trailer).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/core/stream_encoder.h"

namespace pdf {

// Two upper-case hexadecimal digits per byte, high digit first; no
// separators and no ">" end marker.
std::vector<std::uint8_t> encode_ascii_hex(std::span<const std::uint8_t> data);
std::string encode_ascii_hex(std::string_view data);

// The same digits for input given piece by piece.
class AsciiHexEncoder : public StreamEncoder {
public:
    void put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) override;
    void finish(std::vector<std::uint8_t>&) override {}
};

}  // namespace pdf
