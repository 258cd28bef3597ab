#include "pdf/core/run_length_encoder.h"

namespace pdf {

namespace {

// A run is settled by at most this many bytes from its start: 128 of its
// own and the two after them.
constexpr std::size_t settled_by = 130;

// Encodes the runs from the start of `data`; unless `last`, only those
// that what follows in `data` settles. Returns the bytes they cover.
std::size_t encode_runs(std::span<const std::uint8_t> data, bool last_piece, std::vector<std::uint8_t>& out) {
    const std::size_t n = data.size();
    std::size_t i = 0;
    while (last_piece ? i < n : i + settled_by <= n) {
        const std::size_t last = n - 1;
        if (i == last) {
            out.push_back(0);
            out.push_back(data[i]);
            ++i;
        } else if (data[i] == data[i + 1]) {
            std::size_t count = 2;
            while (count < 128 && i + count < n && data[i + count] == data[i]) ++count;
            out.push_back(std::uint8_t(257 - count));
            out.push_back(data[i]);
            i += count;
        } else {
            std::size_t j = i;
            std::size_t count = 0;
            while (j < last && data[j] != data[j + 1] && count < 128) {
                ++j;
                ++count;
            }
            if (j == last && count < 128) ++count;  // the last byte joins the run
            out.push_back(std::uint8_t(count - 1));
            out.insert(out.end(), data.begin() + std::ptrdiff_t(i), data.begin() + std::ptrdiff_t(i + count));
            i += count;
        }
    }
    return i;
}

}  // namespace

std::vector<std::uint8_t> encode_run_length(std::span<const std::uint8_t> data) {
    const std::size_t n = data.size();
    std::vector<std::uint8_t> out;
    // Worst case: one-byte literal runs between two-byte repeat runs.
    out.reserve(n + n / 3 + 2);
    encode_runs(data, true, out);
    out.push_back(128);
    return out;
}

RunLengthEncoder::RunLengthEncoder() : HoldingEncoder(encode_runs, "\x80") {}

}  // namespace pdf
