// EPS and Illustrator pictures as page-content operators.
#pragma once

#include <cstdint>
#include <span>

#include "pdf/content/vector_picture.h"

namespace pdf {

// Reads the file's own "%%BoundingBox:" comment (the natural size; "(atend)"
// defers it to the trailer) and translates its drawing: from after its own
// first "%%EndSetup", else its first "%%EndProlog", else its
// "%%EndComments", up to its own "%%PageTrailer", "%%Trailer" or "%%EOF"
// or a `showpage` (one the file does not define); the comments of a
// document embedded in it (%%BeginDocument ... %%EndDocument) are not its
// own. What lies before and after the drawing is not drawn: PostScript's
// operators that paint, clip, change the coordinates or set colours and
// lines, written there outside procedures (up to a showpage after the
// drawing), refuse the picture. The DOS binary EPS header is followed to
// its PostScript section;
// lines may end in CR, LF or both, comments also in a form feed.
// The translator accepts only what it knows. Every token of the drawing is
// one of these:
// - a number; a string for x, X or Ln, an array of numbers for d or
//   setdash, right before that operator;
// - an operator of eps_operator() (eps_operators.h), with the operands it
//   takes: it is translated, or known to draw nothing. Illustrator's that
//   the file defines before the use by numbers, strings, arrays and
//   operators of that table it leaves alone (directly or through other
//   names defined so: `/s {stroke} def`) are the file's procedures;
//   otherwise they keep their meaning whatever the file defines them as,
//   unless its definitions make one of them reach an image or text
//   operator (by name, as a literal name, or in the characters of a string
//   they hold, which the file may make code: `(... show) cvx exec`), or a
//   number is left below the operands of one the file defines.
//   PostScript's are refused once the file defines or otherwise names
//   them. Numbers stay on the stack for the operators after them, as in
//   PostScript;
// - `/name {...} def` or `/name {...} bind def`: nothing is checked until
//   the drawing uses the name;
// - a name the file defines as a procedure, or as another name, before the
//   point of use: its body is run by these same rules as if it stood
//   there, procedures nested at most 32 deep. A name defined more than
//   once must be defined the same way each time.
// Every operand is written anew as a number of our own.
// Throws PdfError 321, its reason naming the token, for any name of a file
// that may define names the translator cannot tell (eps_definitions.h),
// for any other token (`exec`, `if`, `load`, `pop`, a procedure outside a
// definition, `cm`, an image or text operator, a gradient, ...), a number
// far beyond any page, too few operands or of the
// wrong kind, a string or array that no operator takes, a document
// embedded in the drawing, an operator that cannot be drawn where it
// stands (eps_operators.h), a drawing that paints nothing, a file with no
// usable bounding box or no PostScript; also for more than 65,536 literal
// names in the file, or procedures run at their uses for more than 16 MiB
// plus 16 times the file's size. 62 when the binary header points past
// the end.
VectorSize translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit, VectorOut& out);
VectorDrawing translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit);

}  // namespace pdf
