// Windows and OS/2 bitmaps (BMP).
#pragma once

#include <cstdint>
#include <span>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture.h"

namespace pdf {

// Reads a "BM" file with an information header of 12, 40, 52, 56, 108 or
// 124 bytes: 1, 4 and 8-bit palettes (uncompressed, RLE8, RLE4), 16-bit
// (5-5-5 or bit fields), 24 and 32-bit (plain or bit fields); rows stored
// bottom-up or top-down. Palette pictures come out indexed (the palette
// padded so every index the depth allows has an entry), or, with `as_rgb`,
// as the RGB of their entries (no index buffer is made on the way); the
// others RGB. Pixels that RLE data leave out are index 0. Malformed headers
// throw PdfError 321; data past the end of the file, 62. RLE runs that leave
// the row or the picture are cut at its edge. Nothing past the pixel data is
// read, nor more run-length data than a picture of its size takes when each
// record paints a pixel or ends a row: data that go on are refused (321).
RasterPicture read_bmp(std::span<const std::uint8_t> file, bool as_rgb = false);
// The same, the file read through `file` from its start.
RasterPicture read_bmp(ByteCursor& file, bool as_rgb = false);

}  // namespace pdf
