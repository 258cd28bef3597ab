// What the vector translators (Windows metafiles, EPS/Illustrator) share:
// the size a picture is drawn at and the operand text of its numbers.
#pragma once

#include <functional>
#include <string>

namespace pdf {

struct VectorSize {
    double width = 0, height = 0;  // points
};

// Given the picture's own size in points, the size to draw it at.
using VectorFit = std::function<VectorSize(VectorSize natural)>;

// The picture's operators, in points, with the origin at the lower-left
// corner of the drawn rectangle and y upwards; the caller places them.
struct VectorDrawing {
    VectorSize size;
    std::string operators;  // lines joined by CR
};

// An operand as the writer writes every number (three decimals, no
// exponent); a value that is not finite throws PdfError 5.
std::string vector_number(double value);

}  // namespace pdf
