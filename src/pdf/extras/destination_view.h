// The view part of a destination: what follows the page reference inside a
// destination array, shared by bookmarks, named destinations and links.
#pragma once

#include <cstdint>
#include <string>

namespace pdf {

// Coordinates are page coordinates in points (origin bottom-left): (x, y)
// the top-left corner of the view, (x2, y2) the bottom-right one; zoom in
// percent. Codes: 0 "/FitB", 1 "/FitV x", 2 "/FitH y", 3 "/FitR left bottom
// right top" (the rectangle of the two corners, whichever way round they
// are given), 4 "/XYZ x y zoom/100"; any other code gives an empty text (no
// view).
// Throws PdfError 5 when a number it writes is not finite.
std::string destination_view(std::int32_t type, float x, float y, float x2, float y2, float zoom);

}  // namespace pdf
