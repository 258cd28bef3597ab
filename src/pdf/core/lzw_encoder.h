// Encoder of the LZWDecode stream filter, for readers that use the default
// EarlyChange 1.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pdf {

// Codes are packed most significant bit first: Clear (256) first, greedy
// matching, new entries from 258, widths 9 to 12 bits switching right after
// the codes 511, 1023 and 2047 are given out. The table is cleared when the
// code 2^(9 + quality) - 1 has been given out, so `quality` 0 to 3 selects the
// largest code width (values above 3 count as 3). End of data (257) closes
// the stream; an empty input gives Clear and end of data.
std::vector<std::uint8_t> encode_lzw(std::span<const std::uint8_t> data, int quality = 3);

}  // namespace pdf
