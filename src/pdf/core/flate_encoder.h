// Deflate compressor for the FlateDecode stream filter: a zlib stream
// (RFC 1950) holding one deflate block (RFC 1951) chosen as the cheapest of
// stored, fixed-Huffman and dynamic-Huffman.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pdf {

// Parameters of one quality level.
struct FlateLevel {
    int first_stop;   // a match this long ends the first search
    int second_stop;  // ... and its continuation
    int lazy_limit;   // matches shorter than this are checked one byte later
    int chain_size;   // positions remembered per three-byte string
};

// The level of `quality` 0 to 5; higher values count as 5.
FlateLevel flate_level(int quality);

// Compresses `data` into `out` (replacing its content). Stored output longer
// than 65,535 bytes is split into several stored blocks, the last one final.
void flate_encode(std::span<const std::uint8_t> data, int quality, std::vector<std::uint8_t>& out);

inline std::vector<std::uint8_t> flate_encode(std::span<const std::uint8_t> data, int quality) {
    std::vector<std::uint8_t> out;
    flate_encode(data, quality, out);
    return out;
}

// One symbol of the encoder's first pass: a literal byte (distance 0) or a
// match of `length` bytes `distance` bytes back.
struct FlateSymbol {
    int length;  // the byte value for a literal
    int distance;
    bool operator==(const FlateSymbol&) const = default;
};

// The first pass alone: the literals and matches the encoder chooses for
// `data` at `quality`, in order (the end-of-block symbol left out).
std::vector<FlateSymbol> flate_parse(std::span<const std::uint8_t> data, int quality);

// Adler-32 checksum of RFC 1950.
std::uint32_t adler32(std::span<const std::uint8_t> data);

}  // namespace pdf
