#include "pdf/extras/barcode_code39.h"

namespace pdf::barcode {

const std::array<std::string_view, 44> kCode39Patterns = {
    "bwbWBwBwb", "BwbWbwbwB", "bwBWbwbwB", "BwBWbwbwb", "bwbWBwbwB",  // 0-4
    "BwbWBwbwb", "bwBWBwbwb", "bwbWbwBwB", "BwbWbwBwb", "bwBWbwBwb",  // 5-9
    "BwbwbWbwB", "bwBwbWbwB", "BwBwbWbwb", "bwbwBWbwB", "BwbwBWbwb",  // A-E
    "bwBwBWbwb", "bwbwbWBwB", "BwbwbWBwb", "bwBwbWBwb", "bwbwBWBwb",  // F-J
    "BwbwbwbWB", "bwBwbwbWB", "BwBwbwbWb", "bwbwBwbWB", "BwbwBwbWb",  // K-O
    "bwBwBwbWb", "bwbwbwBWB", "BwbwbwBWb", "bwBwbwBWb", "bwbwBwBWb",  // P-T
    "BWbwbwbwB", "bWBwbwbwB", "BWBwbwbwb", "bWbwBwbwB", "BWbwBwbwb",  // U-Y
    "bWBwBwbwb", "bWbwbwBwB", "BWbwbwBwb", "bWBwbwBwb", "bWbWbWbwb",  // Z - . space $
    "bWbWbwbWb", "bWbwbWbWb", "bwbWbWbWb", "bWbwBwBwb",               // / + % *
};

namespace {

constexpr float kNarrowPoints = 0.72f;
constexpr float kHeightPoints = 14.4f;
constexpr float kLeadingSpace = 10;   // narrow widths
constexpr float kTrailingSpace = 9;   // after the stop's inter-character gap
constexpr float kWide = 3;

int value_of(char c) {
    const auto at = kCode39Characters.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::optional<std::string> code39_full_ascii(std::string_view code) {
    std::string out;
    for (const char ch : code) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 127) return std::nullopt;
        if (value_of(static_cast<char>(c)) >= 0) {
            out += static_cast<char>(c);
        } else if (c == 0) {
            out += "%U";
        } else if (c <= 26) {
            out += {'$', static_cast<char>(c + 64)};
        } else if (c <= 31) {
            out += {'%', static_cast<char>(c + 38)};
        } else if (c == '!' || c == '"' || c == '#' || c == '&' || c == '\'' || c == '(' || c == ')' || c == ',' ||
                   c == ':') {
            out += {'/', static_cast<char>(c + 32)};
        } else if (c >= ';' && c <= '?') {
            out += {'%', static_cast<char>(c + 11)};
        } else if (c == '@') {
            out += "%V";
        } else if (c >= 91 && c <= 95) {
            out += {'%', static_cast<char>(c - 16)};
        } else if (c == 96) {
            out += "%W";
        } else if (c >= 'a' && c <= 'z') {
            out += {'+', static_cast<char>(c - 32)};
        } else {  // 123 to 127
            out += {'%', static_cast<char>(c - 43)};
        }
    }
    return out;
}

char code39_check_character(std::string_view converted) {
    int sum = 0;
    for (char c : converted) {
        const int value = value_of(c);
        if (value >= 0 && value != 43) sum += value;
    }
    return kCode39Characters[static_cast<std::size_t>(sum % 43)];
}

Symbol code39_symbol(const std::string& code, bool add_check) {
    Symbol symbol;
    symbol.module_points = kNarrowPoints;
    symbol.default_height_points = kHeightPoints;
    const std::optional<std::string> converted = code39_full_ascii(code);
    if (!converted) {
        // No bars, but the code is still there to be read: its text is
        // centred where the symbol would begin.
        symbol.texts = {{0, 4, code}};
        return symbol;
    }
    float x = kLeadingSpace;
    // An empty code is drawn as nothing at all, not as a bare start and stop.
    if (!converted->empty()) {
        std::string characters = "*" + *converted;
        if (add_check) characters += code39_check_character(*converted);
        characters += '*';
        for (const char c : characters) {
            for (const char element : kCode39Patterns[static_cast<std::size_t>(value_of(c))]) {
                const float width = element == 'B' || element == 'W' ? kWide : 1;
                // Bars fill their whole element: bars trimmed to 0.8 leave a
                // wide bar only twice a narrow space, which scanners misread
                // at the smaller zooms.
                if (element == 'b' || element == 'B') symbol.bars.push_back({x, width});
                x += width;
            }
            x += 1;  // inter-character gap
        }
    }
    symbol.width = x + kTrailingSpace;
    symbol.texts = {{symbol.width / 2, 4, code}};
    return symbol;
}

}  // namespace pdf::barcode
