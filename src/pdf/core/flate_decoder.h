// Deflate decompressor (RFC 1951: stored, fixed-Huffman and dynamic-Huffman
// blocks) for the Flate-encoded streams of PDF files we read.
//
// The input is untrusted: every read is bounds-checked, the output is capped,
// and the first fault of any kind stops decoding with a status that says
// which. The decoder accepts exactly what zlib's inflate accepts (including
// the lone one-bit code zlib allows for an otherwise empty tree).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pdf {

enum class FlateStatus {
    ok,
    truncated,           // the data end before the final block does
    bad_stored_length,   // LEN is not the ones' complement of NLEN
    bad_block_type,      // block type 3
    bad_code_counts,     // HLIT above 286 or HDIST above 30
    bad_code_lengths,    // over-subscribed or incomplete code, bad repeat, no end-of-block code
    bad_symbol,          // a code that is not in the tree, length symbols 286/287, distances 30/31
    bad_distance,        // a distance reaching back before the start of the output
    output_too_large,    // more than the caller's cap
    bad_zlib_header,     // zlib_decode only: not a zlib stream we can decode
};

// A short Italian description of a status, for error messages.
const char* flate_status_text(FlateStatus status);

// Decodes the raw deflate data `in` (no zlib header) into `out`, replacing
// its content; stops after the final block, ignoring what follows it. On a
// failure `out` holds what was decoded before the fault.
FlateStatus flate_decode(std::span<const std::uint8_t> in, std::size_t max_output, std::vector<std::uint8_t>& out);

// Checks and skips the two-byte zlib header (RFC 1950: method 8, window up to
// 32 KiB, no preset dictionary, header check) and decodes the rest. The
// Adler-32 checksum after the final block is not read.
FlateStatus zlib_decode(std::span<const std::uint8_t> in, std::size_t max_output, std::vector<std::uint8_t>& out);

// The same two, appending to what `out` holds: back-references reach only
// the bytes of this stream, and `max_output` counts only those. Decoding
// into a buffer whose capacity the caller reserved never moves it and
// touches little more memory than it writes.
FlateStatus flate_decode_append(std::span<const std::uint8_t> in, std::size_t max_output,
                                std::vector<std::uint8_t>& out);
FlateStatus zlib_decode_append(std::span<const std::uint8_t> in, std::size_t max_output,
                               std::vector<std::uint8_t>& out);

}  // namespace pdf
