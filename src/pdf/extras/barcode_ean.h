// EAN-13 and EAN-8 symbols.
//
// Each character of the code counts by its digit value (anything but '1' to
// '9', and a missing position, is 0), while the readable text shows the
// characters as given. The check digit is always computed and drawn:
// EAN-13 reads characters 1 to 12, EAN-8 characters 1 to 7; later ones are
// ignored.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "pdf/extras/barcode_geometry.h"

namespace pdf::barcode {

// The digit patterns, '1' a dark module: set A (odd parity), set B (even
// parity); the right-hand digits are set B read backwards.
extern const std::array<std::string_view, 10> kEanSetA;
extern const std::array<std::string_view, 10> kEanSetB;
// For each EAN-13 leading digit, the set of each of the six left digits.
extern const std::array<std::string_view, 10> kEan13Parity;

// Modulo-10 check digit, weights 3 and 1 from the rightmost data digit.
int ean13_check_digit(const std::string& code);
int ean8_check_digit(const std::string& code);

Symbol ean13_symbol(const std::string& code);
Symbol ean8_symbol(const std::string& code);

}  // namespace pdf::barcode
