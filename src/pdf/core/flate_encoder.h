// Deflate compressor for the FlateDecode stream filter: a zlib stream
// (RFC 1950) whose input is cut into blocks of flate_block_size bytes, each
// one deflate block (RFC 1951) chosen as the cheapest of stored,
// fixed-Huffman and dynamic-Huffman. A block's matches reach back into the
// blocks before it (the 32 KiB window runs on), so the cut costs next to
// nothing, while the encoder's working memory stays that of one block
// (about 6 bytes per byte of it and 2 MiB of tables: some 8 MiB) however
// long the stream is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pdf/core/stream_encoder.h"

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

// The bytes of input per deflate block: a stream no longer than this is
// one block.
inline constexpr std::size_t flate_block_size = std::size_t{1} << 20;

// Compresses `data` into `out` (replacing its content). Stored output longer
// than 65,535 bytes is split into several stored blocks, the last one final.
// `block_size` other than flate_block_size only for tests.
void flate_encode(std::span<const std::uint8_t> data, int quality, std::vector<std::uint8_t>& out,
                  std::size_t block_size = flate_block_size);

inline std::vector<std::uint8_t> flate_encode(std::span<const std::uint8_t> data, int quality) {
    std::vector<std::uint8_t> out;
    flate_encode(data, quality, out);
    return out;
}

// The same stream as flate_encode, for input given piece by piece: it
// holds a block of input and 32 KiB before it, and puts out each block once
// the input shows that another follows.
class FlateStream : public StreamEncoder {
public:
    explicit FlateStream(int quality, std::size_t block_size = flate_block_size);
    void put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) override;
    void finish(std::vector<std::uint8_t>& out) override;

private:
    void write_block(std::vector<std::uint8_t>& out, bool last);

    FlateLevel level_;
    std::size_t block_size_;
    std::vector<std::uint8_t> window_;  // history, then the block's input so far
    std::size_t history_ = 0;
    std::uint64_t pending_bits_ = 0;  // what the last block left short of a byte
    int pending_count_ = 0;
    std::uint32_t checksum_ = 1;
    bool started_ = false;
};

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

// Adler-32 checksum of RFC 1950; `checksum` is that of the bytes before
// `data`.
std::uint32_t adler32(std::span<const std::uint8_t> data, std::uint32_t checksum = 1);

}  // namespace pdf
