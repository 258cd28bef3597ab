#include "pdf/core/number_format.h"
#include "pdf/core/error_texts.h"

#include <cmath>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "pdf/core/public_call.h"

namespace pdf {

namespace {

// What std::llrint does (the conversion in the current rounding mode,
// halves to even by default) without the library call, which costs more
// than the conversion itself.
long long round_half_even(double x) {
#if defined(__SSE2__) && defined(__x86_64__)
    return _mm_cvtsd_si64(_mm_set_sd(x));
#else
    return std::llrint(x);
#endif
}

}  // namespace

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

NumberText number_text(float x) {
    if (!std::isfinite(x)) {
        raise_error(5, "FormatNumber", pdf::error_text(5) + " - number not finite");
    }
    const float r = round_value(x);
    if (!std::isfinite(r)) {
        raise_error(5, "FormatNumber", pdf::error_text(5) + " - number too large");
    }
    // Such a magnitude would need more than seven digits before the point
    // (and, far enough out, an exponent): it is no length on a page.
    if (std::fabs(r) >= 10000000.0f) raise_error(6, "FormatNumber", pdf::error_text(6));
    NumberText out;
    if (r == 0.0f) {
        out.text[0] = '0';
        out.size = 1;
        return out;
    }

    // At most 7 significant digits and at most 3 decimals: the number of
    // decimals follows from the digits before the point.
    const double v = static_cast<double>(r);
    const double magnitude = std::fabs(v);
    int decimals = magnitude >= 1000000.0 ? 0 : magnitude >= 100000.0 ? 1 : magnitude >= 10000.0 ? 2 : 3;

    // The digits as one integer: v times 10^decimals is exact in double (a
    // float's 24 bits times at most 1000), and rounding it half to even is
    // what a correctly rounded fixed notation of v does.
    static constexpr double scales[] = {1.0, 10.0, 100.0, 1000.0};
    long long scaled = round_half_even(v * scales[decimals]);
    if (scaled == 0) {
        out.text[0] = '0';
        out.size = 1;
        return out;
    }
    const bool negative = scaled < 0;
    // Below 10^7 whatever the number of decimals.
    auto digits = static_cast<std::uint32_t>(negative ? -scaled : scaled);
    // Trailing zeros of the decimals are not written.
    while (decimals > 0 && digits % 10 == 0) {
        digits /= 10;
        --decimals;
    }
    // Written backwards from the end of the buffer, where the text stays.
    char* const end = out.text + sizeof out.text;
    char* p = end;
    for (int d = 0; d < decimals; ++d) {
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    if (decimals > 0) *--p = '.';
    do {
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
    } while (digits != 0);
    if (negative) *--p = '-';
    out.begin = static_cast<std::uint8_t>(p - out.text);
    out.size = static_cast<std::uint8_t>(end - p);
    return out;
}

std::string format_number(float x) { return std::string(number_text(x).view()); }

}  // namespace pdf
