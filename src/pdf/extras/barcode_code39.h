// Code 39 symbols.
//
// Every character of codes 0 to 127 is drawn, through the full-ASCII pairs
// where Code 39 has no character of its own ("$", "%", "*", "+" and "/"
// stand for themselves). A code holding a character above 127 has no
// encoding: no bar is drawn and the width is 0, but its readable text still
// shows, centred on the symbol's start.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "pdf/extras/barcode_geometry.h"

namespace pdf::barcode {

// The characters in the order of their values ("*", the start and stop
// character, is 43), and their patterns: 'b' narrow bar, 'w' narrow space,
// 'B' wide bar, 'W' wide space.
inline constexpr std::string_view kCode39Characters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
extern const std::array<std::string_view, 44> kCode39Patterns;

// The Code 39 characters that stand for `code`; nothing when a character
// lies above 127.
std::optional<std::string> code39_full_ascii(std::string_view code);

// The modulo-43 check character of converted characters ("*" counts 0).
char code39_check_character(std::string_view converted);

Symbol code39_symbol(const std::string& code, bool add_check);

}  // namespace pdf::barcode
