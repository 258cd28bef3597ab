// Names chosen by callers (font families, reusable objects, patterns)
// written as PDF name tokens, and kept apart within one resource dictionary.
#pragma once

#include <cstdint>
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

// `name`, or when `taken(name)` says another resource of the document holds
// it, the first of `name` + "_2", "_3"... that none holds: one name, one
// resource, so that no reader meets a key twice and paints the wrong one.
template <typename Taken>
std::string unused_name(const std::string& name, const Taken& taken) {
    std::string candidate = name;
    for (std::int64_t n = 2; taken(candidate); ++n) candidate = name + "_" + std::to_string(n);
    return candidate;
}

// Whether `resources`, entries "/<name> <n> 0 R " one after the other, has
// an entry for `name` (a name as pdf_name writes it: "/" only in front).
inline bool has_resource_entry(std::string_view resources, std::string_view name) {
    for (std::size_t at = resources.find('/'); at != std::string_view::npos; at = resources.find('/', at + 1))
        if (resources.substr(at + 1, name.size()) == name && resources.substr(at + 1 + name.size(), 1) == " ")
            return true;
    return false;
}

}  // namespace pdf
