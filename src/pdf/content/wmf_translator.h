// Placeable Windows metafiles as page-content operators.
#pragma once

#include <cstdint>
#include <span>

#include "pdf/content/vector_picture.h"

namespace pdf {

// Translates the records that draw lines and shapes: move/line, polyline,
// polygon, poly-polygon, rectangle; pens (width, colour, dash style),
// brushes (colour, hollow), selecting and deleting objects, the window
// origin and extent. Other records are skipped by their size. The
// placeable header's frame and units per inch give the natural size.
// Throws PdfError 321 for a file that is not a placeable metafile or a
// malformed record (a record of fewer than 3 words included), 62 for one
// that runs past the end of the file.
VectorDrawing translate_wmf(std::span<const std::uint8_t> file, const VectorFit& fit);

}  // namespace pdf
