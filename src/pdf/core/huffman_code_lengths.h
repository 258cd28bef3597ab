// Huffman code lengths limited to a maximum length, built by the procedure
// of ITU-T T.81 Annex K (code sizes, counting, adjustment), and canonical
// code assignment.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pdf {

// Code length of every symbol (0 for unused ones). Pairs of least frequent
// entries are merged in turn, the higher symbol counting as the less
// frequent among equal frequencies; sizes beyond `max_length` are brought
// down by the adjustment of the annex, and the adjusted lengths are handed
// out in order of the unadjusted sizes, then of the symbols. A single used
// symbol is paired with the lowest unused one so that a complete code of two
// one-bit codes results. Any depth of unadjusted sizes is handled.
std::vector<std::uint8_t> limited_code_lengths(std::span<const std::uint64_t> frequencies,
                                               int max_length);

// The same into `lengths`, which has one entry per frequency; alphabets of
// up to 288 symbols (deflate's largest) need no allocation.
void limited_code_lengths(std::span<const std::uint64_t> frequencies, int max_length,
                          std::span<std::uint8_t> lengths);

// Canonical codes (most significant bit first, as in the deflate format)
// for the given lengths; symbols of length 0 get code 0.
std::vector<std::uint16_t> canonical_codes(std::span<const std::uint8_t> lengths);

// The same into `codes`, which has one entry per length.
void canonical_codes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes);

}  // namespace pdf
