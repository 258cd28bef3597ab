// Encoder of the ASCII85Decode stream filter.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pdf {

// Base-85 groups of five characters "!" to "u", a shortened last group,
// "~>" at the end; no "<~", no line breaks. "z" stands for four zero bytes
// only in the last group of the data when it is complete.
std::vector<std::uint8_t> encode_ascii85(std::span<const std::uint8_t> data);

}  // namespace pdf
