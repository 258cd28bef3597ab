// Numbers as PDF operand text.
//
// Every measured value the writer puts into a file goes through FormatNumber:
// rounded to three decimals with halves away from zero, in single precision
// (the layout of existing documents depends on float32 arithmetic), then
// written in its shortest form with at most 7 significant digits, "." as
// decimal mark whatever the locale, never an exponent and never "-0".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pdf {

// x rounded to 3 decimals, halves away from zero, in float32 steps.
float round_value(float x);

// The operand text of round_value(x). A value that is not finite is refused
// with PdfError 5, one whose magnitude rounds to 10,000,000 or more with
// PdfError 6, named after the public member in progress (core/public_call.h).
std::string format_number(float x);

// The same text held in place, for writers that append it at once.
struct NumberText {
    char text[16];
    std::uint8_t begin = 0;  // the text is text[begin, begin + size)
    std::uint8_t size = 0;
    std::string_view view() const { return {text + begin, size}; }
};
NumberText number_text(float x);

}  // namespace pdf
