// Byte-string helpers of the PDF writer: literal-string escaping, search and
// replace, splitting. Comparison is always exact (byte for byte).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace pdf {

// Escapes what a PDF literal string cannot hold raw: backslash, both
// parentheses (balanced or not), CR as \r and LF as \n. Every other byte,
// NUL and bytes above 127 included, passes unchanged.
std::string escape_string(std::string_view text);
// The same, appended to `out` (a content stream being built) without a
// temporary.
void append_escaped(std::string& out, std::string_view text);

// Replaces at most `count` non-overlapping occurrences of `searched`, looking
// from the 1-based position `start` (below 2: the first byte). The part
// before `start` is kept. An empty `searched` or a count below 1 changes
// nothing.
std::string replace_text(std::string_view text, std::string_view searched, std::string_view replacement,
                         std::int32_t start = 1, std::int32_t count = 2147483647);

// Cuts `text` at every non-overlapping occurrence of `delimiter`: k
// occurrences give k + 1 pieces, empty ones included. An empty text or
// delimiter gives one piece, the text.
std::vector<std::string> split_text(std::string_view text, std::string_view delimiter);

// The number at the start of `text` as a lenient reader of typed numbers
// takes it: blanks skipped, optional sign, digits, "." as decimal mark, an
// optional exponent; reading stops at the first byte that cannot continue
// the number. No number gives 0.
double leading_number(std::string_view text);

// The bytes of a text string outside content streams (information entries,
// titles): the Windows-1252 text as it stands when a reader decodes it the
// same way (PDFDocEncoding agrees with it on ASCII and 0xA1-0xFF but 0xAD),
// else the text as UTF-16BE with its byte-order mark, so that the euro sign,
// curly quotes and dashes reach the reader as they were typed.
std::string pdf_text_bytes(std::string_view cp1252);

// The pieces joined into one text. (Also keeps GCC 12 from a false
// -Wrestrict warning that "literal" + std::string temporaries raise.)
std::string concat(std::initializer_list<std::string_view> pieces);

// Blanks (spaces only) removed at both ends.
std::string_view trim_blanks(std::string_view text);

// Byte-wise upper case over Windows-1252.
std::string upper_case(std::string_view text);

}  // namespace pdf
