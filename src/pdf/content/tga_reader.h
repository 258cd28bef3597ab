// Truevision TGA pictures.
#pragma once

#include <cstdint>
#include <span>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture.h"

namespace pdf {

// Reads image types 1 (colour-mapped), 2 (true colour), 3 (grey) and their
// run-length forms 9, 10, 11: colour maps of 15, 16, 24 or 32-bit entries
// from their first index on, 8 or 16-bit map indices, 15/16/24/32-bit true
// colour, 8-bit grey; rows from the bottom or the top, pixels from the left
// or the right as the descriptor says. Colour-mapped and true-colour
// pictures come out RGB, grey ones grey. Run-length packets are cut at the
// pixel count. Malformed headers throw PdfError 321; data past the end of
// the file, 62. Nothing past the pixel data is read.
RasterPicture read_tga(std::span<const std::uint8_t> file);
// The same, the file read through `file` from its start.
RasterPicture read_tga(ByteCursor& file);

// Refuses (321) an 18-byte header that read_tga would refuse.
void check_tga_header(std::span<const std::uint8_t> header);

}  // namespace pdf
