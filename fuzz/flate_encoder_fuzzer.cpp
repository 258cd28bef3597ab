// Round trip: any bytes, at the quality the first byte picks, must compress
// to a stream that zlib's inflater accepts (checksum included) and turns back
// into exactly those bytes; our own decoder must agree. A first byte of 6 or
// more also cuts the input into blocks of a few hundred to a few thousand
// bytes, and the stream given in pieces must come out the same. The encoder
// reads no outside file, but its dictionary is addressed by positions and
// distances that only well-formed output can vouch for.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include <zlib.h>

#include "pdf/core/flate_decoder.h"
#include "pdf/core/flate_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int quality = data[0] % 6;
    const std::size_t block = data[0] < 6 ? pdf::flate_block_size : std::size_t(data[0]) * 37;
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    std::vector<std::uint8_t> stream;
    pdf::flate_encode(input, quality, stream, block);

    std::vector<std::uint8_t> back(input.size() + 1);
    uLongf back_size = uLongf(back.size());
    if (uncompress(back.data(), &back_size, stream.data(), uLong(stream.size())) != Z_OK) __builtin_trap();
    if (back_size != input.size() || (!input.empty() && std::memcmp(back.data(), input.data(), input.size()) != 0))
        __builtin_trap();

    // The raw deflate data lies between the two header bytes and the checksum.
    std::vector<std::uint8_t> ours;
    const auto raw = std::span(stream).subspan(2, stream.size() - 6);
    if (pdf::flate_decode(raw, input.size() + 1, ours) != pdf::FlateStatus::ok || ours.size() != input.size() ||
        (!input.empty() && std::memcmp(ours.data(), input.data(), input.size()) != 0))
        __builtin_trap();

    // Pieces of growing sizes, from one byte on.
    pdf::FlateStream pieces(quality, block);
    std::vector<std::uint8_t> streamed;
    for (std::size_t at = 0, piece = 1; at < input.size(); at += piece, piece = piece * 2 + 1) {
        piece = std::min(piece, input.size() - at);
        pieces.put(input.subspan(at, piece), streamed);
    }
    pieces.finish(streamed);
    if (streamed != stream) __builtin_trap();
    return 0;
}
