// Interleaved 2 of 5 symbols: digits in pairs, the first of each pair in
// the bars, the second in the spaces. Non-digits count as 0; an odd number
// of digits (check digit included) gets a leading 0. The readable text is
// the code as given.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "pdf/extras/barcode_geometry.h"

namespace pdf::barcode {

// Five elements per digit, 'n' narrow, 'w' wide.
extern const std::array<std::string_view, 10> kInterleavedPatterns;
inline constexpr std::string_view kInterleavedStart = "nnnn";
inline constexpr std::string_view kInterleavedStop = "wnnn";

// Modulo-10 check digit, weights 3 and 1 from the rightmost digit.
int interleaved_check_digit(const std::string& code);

Symbol interleaved_2_of_5_symbol(const std::string& code, bool add_check);

}  // namespace pdf::barcode
