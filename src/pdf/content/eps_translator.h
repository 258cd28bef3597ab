// EPS and Illustrator pictures as page-content operators.
#pragma once

#include <cstdint>
#include <span>

#include "pdf/content/vector_picture.h"

namespace pdf {

// Reads the "%%BoundingBox:" comment (the natural size), skips the prolog
// up to "%%EndProlog" or "%%EndSetup" (the later one), and translates the
// path language that follows: m l L c C v V y Y, the closing and painting
// operators (h n N f F s S b B, W for clipping), grey (g G), CMYK (k K),
// custom (x X: CMYK scaled by 1 - tint) and RGB (Xa XA) colours, line
// width, joins, caps, miter limit, dash and q/Q groups, whatever the file
// defines these names as; anything else is skipped. Path pieces, painting
// and clipping without a current point are dropped. It stops at
// "%%PageTrailer", "%%Trailer" or a `showpage`. The DOS binary EPS header
// is followed to its PostScript section. Every operand is written anew as
// a number of our own.
// Throws PdfError 321 when the file is no PostScript or has no usable
// bounding box, when it paints in a way the translator cannot follow (an
// image or text, also through a name the file defines for one anywhere in
// it, a change of coordinates, PDF-like paths, colours or shadings, as
// raster EPS and general PostScript writers use them) or paints nothing it
// can translate; 62 when the binary header points past the end.
VectorSize translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit, VectorOut& out);
VectorDrawing translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit);

}  // namespace pdf
