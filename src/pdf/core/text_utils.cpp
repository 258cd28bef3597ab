#include "pdf/core/text_utils.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>

#include "common/cp1252.h"
#include "pdf/core/byte_match.h"

namespace pdf {

std::string escape_string(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    append_escaped(out, text);
    return out;
}

void append_escaped(std::string& out, std::string_view text) {
    // One pass gives the same result as replacing backslashes first and then
    // the other four: the added backslashes are never doubled. Runs without
    // any of the five are copied whole.
    static constexpr auto special = [] {
        std::array<bool, 256> table{};
        for (unsigned char c : {'\\', '(', ')', '\r', '\n'}) table[c] = true;
        return table;
    }();
    const char* p = text.data();
    const std::size_t n = text.size();
    std::size_t run = 0;
    auto escape_at = [&](std::size_t i) {
        const char c = p[i];
        out.append(p + run, i - run);
        out += '\\';
        out += c == '\r' ? 'r' : c == '\n' ? 'n' : c;
        run = i + 1;
    };
    constexpr std::size_t block = 16;
    std::size_t i = 0;
    for (; i + block <= n; i += block) {
        for (std::uint32_t found = match16<'\\', '(', ')', '\r', '\n'>(p + i); found != 0; found &= found - 1)
            escape_at(i + static_cast<std::size_t>(std::countr_zero(found)));
    }
    for (; i < n; ++i)
        if (special[static_cast<unsigned char>(p[i])]) escape_at(i);
    out.append(p + run, n - run);
}

std::string replace_text(std::string_view text, std::string_view searched, std::string_view replacement,
                         std::int32_t start, std::int32_t count) {
    if (searched.empty() || count < 1) return std::string(text);
    std::size_t from = start < 2 ? 0 : static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    out.append(text.substr(0, from));
    std::int32_t done = 0;
    while (done < count) {
        const std::size_t hit = text.find(searched, from);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(from, hit - from));
        out.append(replacement);
        from = hit + searched.size();
        ++done;
    }
    out.append(text.substr(from));
    return out;
}

std::vector<std::string> split_text(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> pieces;
    if (text.empty() || delimiter.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t from = 0;
    for (;;) {
        const std::size_t hit = text.find(delimiter, from);
        if (hit == std::string_view::npos) break;
        pieces.emplace_back(text.substr(from, hit - from));
        from = hit + delimiter.size();
    }
    pieces.emplace_back(text.substr(from));
    return pieces;
}

double leading_number(std::string_view text) {
    std::string digits;  // the number without blanks, for strtod
    std::size_t i = 0;
    auto skip_blanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    };
    skip_blanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
    bool any_digit = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits += c;
            any_digit = true;
        } else if (c == '.' && !point) {
            digits += c;
            point = true;
        } else if (c == ' ' || c == '\t') {
            continue;
        } else {
            break;
        }
    }
    if (!any_digit) return 0.0;
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) exponent += text[j++];
        std::size_t digits_start = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9' && j - digits_start < 5) exponent += text[j++];
        if (j > digits_start) digits += exponent;
    }
    // from_chars does not look at the locale; it takes no "+" sign.
    std::string_view number = digits;
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    if (number == "." || number == "-.") return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc()) return 0.0;
    return std::isfinite(value) ? value : 0.0;
}

std::string pdf_text_bytes(std::string_view cp1252) {
    bool same = true;
    for (unsigned char b : cp1252) {
        if ((b >= 0x80 && b <= 0xA0) || b == 0xAD) {
            same = false;
            break;
        }
    }
    if (same) return std::string(cp1252);
    std::string utf16 = "\xFE\xFF";
    for (unsigned char b : cp1252) {
        const char32_t c = cp1252_a_unicode(b);  // always in the basic plane
        utf16 += static_cast<char>((c >> 8) & 0xFF);
        utf16 += static_cast<char>(c & 0xFF);
    }
    return utf16;
}

std::string concat(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (auto piece : pieces) size += piece.size();
    std::string out;
    out.reserve(size);
    for (auto piece : pieces) out.append(piece);
    return out;
}

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string upper_case(std::string_view text) { return maiuscolo(text); }

}  // namespace pdf
