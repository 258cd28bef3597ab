// Placeable Windows metafiles as page-content operators.
#pragma once

#include <cstdint>
#include <span>

#include "pdf/content/vector_picture.h"

namespace pdf {

// Every record, known by its full function number, is translated, known to
// draw nothing, or refuses the file. Translated: move/line, polyline,
// polygon, poly-polygon (a line or polygon of fewer than two points left
// out, as the player leaves it), rectangle; pens (width, colour, dash style,
// ends and joins: round by default, square, flat; miter and bevel joins;
// dashes keep flat ends, and a pen wider than one logical unit is solid
// whatever its dashes, as the player draws it; "inside frame" solid, a
// rectangle drawn with it shrunk by half its width to keep within its
// corners), brushes (solid or hollow), colours in red, green and blue,
// selecting and deleting objects;
// the window origin and extent, moved and scaled; SaveDC and RestoreDC
// (absolute or relative: pen, brush, window, current position, fill mode,
// clip), each saved state a graphics state saved in the content (`q`, `Q`
// for each one restored, and for each one the file leaves saved); the clip
// cut to a rectangle (IntersectClipRect, placed by the window in force); the
// fill mode (WINDING nonzero, ALTERNATE even-odd, the default); PatBlt, and
// BitBlt and StretchBlt without a bitmap, that copy the brush (PATCOPY): a
// rectangle filled with it. The placeable header's frame and units per inch
// give the natural size.
// Known to draw nothing: background mode and colour, text colour,
// alignment, spacing, justification and mapper flags, stretching mode,
// SetRelAbs, fonts and palettes, escapes; the mapping mode MM_ANISOTROPIC
// (the window stretched onto the frame), the drawing mode R2_COPYPEN.
// Pattern brushes take a slot and refuse only a fill; a pen of a style the
// translator does not draw refuses only a stroke.
// Throws PdfError 321 for a file that is not a placeable metafile, a
// malformed record (a record of fewer than 3 words included), a record it
// does not know (texts, bitmaps, the other shapes, the other clip records,
// layout and palette changes among them) and one whose value it does not
// follow (a block transfer with a bitmap, a fill with a hatched or pattern
// brush, a stroke with a pen of another line style (user-defined,
// alternate), end or join, a stroke or fill in a palette's colour, another
// mapping or drawing mode or raster operation, a fill mode other than those
// two, restoring a state never saved, a window scaled by 0 or to nothing, a
// region selected), each
// naming the record by its number; 62 for a record that runs past the end
// of the file.
VectorSize translate_wmf(std::span<const std::uint8_t> file, const VectorFit& fit, VectorOut& out);
VectorDrawing translate_wmf(std::span<const std::uint8_t> file, const VectorFit& fit);

}  // namespace pdf
