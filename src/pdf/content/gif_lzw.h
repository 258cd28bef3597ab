// The variable-width LZW of GIF pictures: codes packed least significant bit
// first, starting one bit wider than the minimum code size, widening only
// once the table has grown to the current width's limit (one code later
// than the PDF LZW encoder widens), Clear and End-of-information codes, the
// code that refers to the entry being built (KwKwK), and a full table of
// 4096 entries that stays in use until the encoder sends Clear.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "pdf/PdfWriter.h"
#include "pdf/content/byte_cursor.h"

namespace pdf {

// The most pixels `data_bytes` bytes of image data (sub-block sizes not
// counted) can decode to: the n-th code
// after a Clear stands for at most n pixels, and no code for more than the
// table's 4096. A frame announcing more is cut short whatever the data hold,
// and is refused before room is made for it.
std::uint64_t gif_lzw_most_pixels(int min_code_size, std::size_t data_bytes);

// Refuses (321, naming it) a minimum code size outside 2..8.
void check_gif_code_size(int min_code_size);

// Where the n-th row of the frame, in the order the data hold the rows
// (from 0), is to be written: `width` bytes.
using GifRowTarget = std::function<std::uint8_t*(std::size_t n)>;

// Decodes the indices of a width x height frame from its image data as the
// file holds them, a chain of sub-blocks (a size byte, then that many
// bytes; size 0 ends it) read from `sub_blocks` on, straight into the rows
// `row` gives. Codes after the last pixel are not read. Throws PdfError 321
// for a minimum code size outside 2..8, a code that is not in the table, or
// data that end before the frame is complete.
void decode_gif_lzw(int min_code_size, ByteCursor& sub_blocks, std::size_t width, std::size_t height,
                    const GifRowTarget& row);

}  // namespace pdf
