#include "pdf/core/number_format.h"

#include <charconv>
#include <cmath>

#include "pdf/PdfWriter.h"

namespace pdf {

float round_value(float x) {
    // Each intermediate is stored as float32, as the documents' layout was
    // computed that way; the 0.5 is added in double before the store.
    if (x < 0) {
        const float scaled = -x * 1000.0f;
        const float t = static_cast<float>(static_cast<double>(scaled) + 0.5);
        return static_cast<float>(-std::floor(static_cast<double>(t)) * 0.001);
    }
    const float scaled = x * 1000.0f;
    const float t = static_cast<float>(static_cast<double>(scaled) + 0.5);
    return static_cast<float>(std::floor(static_cast<double>(t)) * 0.001);
}

std::string format_number(float x) {
    if (!std::isfinite(x)) {
        throw PdfError(5, "PdfWriter.FormatNumber", "Invalid procedure call or argument: number not finite");
    }
    const float r = round_value(x);
    if (!std::isfinite(r)) {
        throw PdfError(5, "PdfWriter.FormatNumber", "Invalid procedure call or argument: number too large");
    }
    // Such a magnitude would need more than seven digits before the point
    // (and, far enough out, an exponent): it is no length on a page.
    if (std::fabs(r) >= 10000000.0f) throw PdfError(6, "PdfWriter.FormatNumber", "Overflow");
    if (r == 0.0f) return "0";

    // At most 7 significant digits and at most 3 decimals: the number of
    // decimals follows from the digits before the point.
    const double v = static_cast<double>(r);
    const double magnitude = std::fabs(v);
    int integer_digits = 1;
    for (double limit = 10.0; magnitude >= limit && integer_digits < 40; limit *= 10.0) ++integer_digits;
    int decimals = 7 - integer_digits;
    if (decimals > 3) decimals = 3;
    if (decimals < 0) decimals = 0;

    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        throw PdfError(5, "PdfWriter.FormatNumber", "Invalid procedure call or argument: number too large");
    }
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    return text;
}

}  // namespace pdf
