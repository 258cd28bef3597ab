// What the vector translators (Windows metafiles, EPS/Illustrator) share:
// the size a picture is drawn at, where its operators go and the operand
// text of its numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "pdf/core/content_text.h"

namespace pdf {

struct VectorSize {
    double width = 0, height = 0;  // points
};

// Given the picture's own size in points, the size to draw it at. A
// translator calls it once, before its first operator: the caller may
// write lines of its own to the output then (the placement).
using VectorFit = std::function<VectorSize(VectorSize natural)>;

// Where a translator writes its operators, in points, with the origin at
// the lower-left corner of the drawn rectangle and y upwards: each line as
// CR + line, as PutContent would put it, straight into the content being
// drawn (or only counted, without one).
class VectorOut {
public:
    // `limit`: the most bytes the lines may take.
    VectorOut(ContentText* target, std::uint64_t limit) : target_(target), limit_(limit) {}

    // Refuses the drawing (PdfError 321) when it would pass the limit; the
    // caller cuts the content back.
    void line(std::string_view text);
    std::uint64_t written() const { return written_; }

private:
    ContentText* target_;
    std::uint64_t limit_;
    std::uint64_t written_ = 0;
};

// A translation held apart: the drawn size and the lines joined by CR.
struct VectorDrawing {
    VectorSize size;
    std::string operators;
};

using VectorTranslator = VectorSize (*)(std::span<const std::uint8_t> file, const VectorFit& fit, VectorOut& out);

// Runs `translate` into a drawing of its own (for looking at a translation
// rather than placing it).
VectorDrawing translate_apart(VectorTranslator translate, std::span<const std::uint8_t> file, const VectorFit& fit);

// An operand as the writer writes every number (three decimals, no
// exponent); a value that is not finite throws PdfError 5.
std::string vector_number(double value);

}  // namespace pdf
