// A PostScript string's characters, its escapes and encodings undone.
#include "pdf/content/postscript_string.h"

#include <cstdint>

namespace pdf {

namespace {

std::string literal(std::string_view inside) {
    auto octal = [&](std::size_t at) { return at < inside.size() && inside[at] >= '0' && inside[at] <= '7'; };
    std::string out;
    int depth = 1;
    for (std::size_t i = 0; i < inside.size(); ++i) {
        char c = inside[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) break;
        } else if (c == '\\' && ++i < inside.size()) {
            c = inside[i];
            switch (c) {
                case 'n': c = '\n'; break;
                case 'r': c = '\r'; break;
                case 't': c = '\t'; break;
                case 'b': c = '\b'; break;
                case 'f': c = '\f'; break;
                case '\r':
                    if (i + 1 < inside.size() && inside[i + 1] == '\n') ++i;
                    continue;
                case '\n': continue;
                default:
                    // One to three octal digits; any other character stands for itself.
                    if (octal(i)) {
                        int code = c - '0';
                        for (int more = 0; more < 2 && octal(i + 1); ++more) code = code * 8 + (inside[++i] - '0');
                        c = static_cast<char>(code & 0xFF);
                    }
                    break;
            }
        } else if (c == '\\') {
            break;  // a backslash at the very end
        }
        out += c;
    }
    return out;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string hex(std::string_view inside) {
    std::string out;
    int high = -1;
    for (const char c : inside) {
        if (c == '>') break;
        const int d = hex_digit(c);
        if (d < 0) continue;
        if (high < 0) {
            high = d;
        } else {
            out += static_cast<char>(high * 16 + d);
            high = -1;
        }
    }
    // An odd last digit is followed by 0.
    if (high >= 0) out += static_cast<char>(high * 16);
    return out;
}

std::string base85(std::string_view inside) {
    std::string out;
    std::uint32_t group = 0;
    int count = 0;
    auto put = [&](int bytes) {
        for (int b = 0; b < bytes; ++b) out += static_cast<char>((group >> (24 - 8 * b)) & 0xFF);
    };
    for (std::size_t i = 0; i < inside.size() && inside[i] != '~'; ++i) {
        const char c = inside[i];
        if (c == 'z' && count == 0) {
            out.append(4, '\0');
        } else if (c >= '!' && c <= 'u') {
            group = group * 85 + static_cast<std::uint32_t>(c - '!');
            if (++count == 5) {
                put(4);
                group = 0;
                count = 0;
            }
        }
    }
    // A last group of n characters is padded with 'u' and gives n - 1 bytes.
    if (count > 1) {
        for (int pad = count; pad < 5; ++pad) group = group * 85 + 84;
        put(count - 1);
    }
    return out;
}

}  // namespace

std::string ps_string_content(std::string_view token) {
    if (token.starts_with("<~")) return base85(token.substr(2));
    if (token.starts_with("<")) return hex(token.substr(1));
    if (token.starts_with("(")) return literal(token.substr(1));
    return {};
}

}  // namespace pdf
