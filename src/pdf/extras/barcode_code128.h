// Code 128 symbols in code sets B and C.
//
// The code starts in set C when it opens with four digits (or more), and
// switches to C for a run of six digits, or for the last four; it goes back
// to B where a digit pair ends. A code that is empty or holds a character
// outside 32 to 126 has no encoding: nothing is drawn and the width is 0.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/extras/barcode_geometry.h"

namespace pdf::barcode {

// The patterns of the values 0 to 106, '1' a dark module: eleven modules
// each, thirteen for the stop (106).
extern const std::array<std::string_view, 107> kCode128Patterns;

inline constexpr int kCode128CodeC = 99;
inline constexpr int kCode128CodeB = 100;
inline constexpr int kCode128StartB = 104;
inline constexpr int kCode128StartC = 105;
inline constexpr int kCode128Stop = 106;

// The symbol values: start, data and switches, check (no stop); empty when
// the code cannot be encoded.
std::vector<int> code128_values(std::string_view code);

Symbol code128_symbol(const std::string& code);

}  // namespace pdf::barcode
