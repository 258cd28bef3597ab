// The variable-width LZW of GIF pictures: codes packed least significant bit
// first, starting one bit wider than the minimum code size, widening only
// once the table has grown to the current width's limit (one code later
// than the PDF LZW encoder widens), Clear and End-of-information codes, the
// code that refers to the entry being built (KwKwK), and a full table of
// 4096 entries that stays in use until the encoder sends Clear.
#pragma once

#include <cstdint>
#include <span>

#include "pdf/PdfWriter.h"

namespace pdf {

// Decodes exactly `pixel_count` indices from the joined sub-block data.
// Codes after the last pixel are not read. Throws PdfError 321 for a
// minimum code size outside 2..8, a code that is not in the table, or data
// that end before the picture is complete.
Bytes decode_gif_lzw(int min_code_size, std::span<const std::uint8_t> data, std::size_t pixel_count);

}  // namespace pdf
