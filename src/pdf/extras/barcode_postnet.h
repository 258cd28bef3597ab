// POSTNET symbols: five digits, or a ZIP+4 code of exactly ten characters
// (its sixth, the hyphen, skipped whatever it is), then a check digit, each
// digit as five full or half bars between two full frame bars. The bars are
// of fixed height; the asked bar height does not apply.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "pdf/extras/barcode_geometry.h"

namespace pdf::barcode {

// Five bars per digit, '1' full, '0' half.
extern const std::array<std::string_view, 10> kPostnetPatterns;

// The digits that the code encodes, check digit not included.
std::string postnet_digits(const std::string& code);

// The bar sequence, frame bars included.
std::string postnet_bars(const std::string& code);

Symbol postnet_symbol(const std::string& code);

}  // namespace pdf::barcode
