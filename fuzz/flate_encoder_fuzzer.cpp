// Round trip: any bytes, at the quality the first byte picks, must compress
// to a stream that zlib's inflater accepts (checksum included) and turns back
// into exactly those bytes; our own decoder must agree. The encoder reads no
// outside file, but its dictionary is addressed by positions and distances
// that only well-formed output can vouch for.
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
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    const std::vector<std::uint8_t> stream = pdf::flate_encode(input, quality);

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
    return 0;
}
