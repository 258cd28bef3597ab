// Encoder of the LZWDecode stream filter, for readers that use the default
// EarlyChange 1.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "pdf/core/stream_encoder.h"

namespace pdf {

// Codes are packed most significant bit first: Clear (256) first, greedy
// matching, new entries from 258, widths 9 to 12 bits switching right after
// the codes 511, 1023 and 2047 are given out. The table is cleared when the
// code 2^(9 + quality) - 1 has been given out, so `quality` 0 to 3 selects the
// largest code width (values above 3 count as 3). End of data (257) closes
// the stream; an empty input gives Clear and end of data.
std::vector<std::uint8_t> encode_lzw(std::span<const std::uint8_t> data, int quality = 3);

// The same codes for input given piece by piece.
class LzwEncoder : public StreamEncoder {
public:
    explicit LzwEncoder(int quality = 3);
    ~LzwEncoder() override;
    void put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) override;
    void finish(std::vector<std::uint8_t>& out) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pdf
