// Differential: any bytes as raw deflate data must give exactly what zlib's
// inflater gives, or fail where zlib fails, within the output cap.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include <zlib.h>

#include "pdf/core/flate_decoder.h"

namespace {
constexpr std::size_t kCap = 1 << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> ours;
    const pdf::FlateStatus status = pdf::flate_decode(std::span(data, size), kCap, ours);
    if (ours.size() > kCap) __builtin_trap();

    static std::vector<std::uint8_t> theirs(kCap + 1);
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return 0;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    z.next_out = theirs.data();
    z.avail_out = static_cast<uInt>(theirs.size());
    const int rc = inflate(&z, Z_FINISH);
    const std::size_t produced = z.total_out;
    inflateEnd(&z);

    // Past the cap zlib stops for want of room; ours must stop at the cap.
    if ((produced > kCap) != (status == pdf::FlateStatus::output_too_large)) __builtin_trap();
    if (produced > kCap) return 0;
    const bool zlib_ok = rc == Z_STREAM_END;
    if (zlib_ok != (status == pdf::FlateStatus::ok)) __builtin_trap();
    if (zlib_ok && (ours.size() != produced || std::memcmp(ours.data(), theirs.data(), produced) != 0))
        __builtin_trap();
    return 0;
}
