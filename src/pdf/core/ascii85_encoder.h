// Encoder of the ASCII85Decode stream filter.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pdf/core/stream_encoder.h"

namespace pdf {

// Base-85 groups of five characters "!" to "u", a shortened last group,
// "~>" at the end; no "<~", no line breaks. "z" stands for four zero bytes
// only in the last group of the data when it is complete.
std::vector<std::uint8_t> encode_ascii85(std::span<const std::uint8_t> data);

// The length of the encoding of `size` bytes, given whether their last four
// are zero.
std::uint64_t ascii85_length(std::uint64_t size, bool ends_in_zero_group);

// The same text for input given piece by piece; it holds back the last one
// to four bytes of what it has been given, the group that may be the last.
class Ascii85Encoder : public HoldingEncoder {
public:
    Ascii85Encoder();
};

}  // namespace pdf
