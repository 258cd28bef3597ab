// Names chosen by callers (font families, reusable objects) written as PDF
// name tokens.
#pragma once

#include <string>
#include <string_view>

namespace pdf {

// Bytes that cannot stand raw in a PDF name (blanks, delimiters, "#",
// controls and bytes above 126) are written as #xx, so that any text gives
// one valid name; ordinary names pass unchanged.
inline std::string pdf_name(std::string_view text) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        const bool delimiter = c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
                               c == '}' || c == '/' || c == '%' || c == '#';
        if (c < 33 || c > 126 || delimiter) {
            out += '#';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace pdf
