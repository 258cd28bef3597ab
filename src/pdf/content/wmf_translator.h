// Placeable Windows metafiles as page-content operators.
#pragma once

#include <cstdint>
#include <span>

#include "pdf/content/vector_picture.h"

namespace pdf {

// Translates the records that draw lines and shapes: move/line, polyline,
// polygon, poly-polygon, rectangle; pens (width, colour, dash style),
// brushes (colour, hollow), selecting and deleting objects, the window
// origin and extent. The placeable header's frame and units per inch give
// the natural size. Records that paint what is not drawn (bitmaps, texts,
// ellipses, arcs and the other shapes) refuse the file; the other records
// are skipped by their size.
// Throws PdfError 321 for a file that is not a placeable metafile, a
// malformed record (a record of fewer than 3 words included) or one it does
// not draw, 62 for one that runs past the end of the file.
VectorSize translate_wmf(std::span<const std::uint8_t> file, const VectorFit& fit, VectorOut& out);
VectorDrawing translate_wmf(std::span<const std::uint8_t> file, const VectorFit& fit);

}  // namespace pdf
