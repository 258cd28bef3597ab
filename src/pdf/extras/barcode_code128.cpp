#include "pdf/extras/barcode_code128.h"

namespace pdf::barcode {

const std::array<std::string_view, 107> kCode128Patterns = {
    "11011001100", "11001101100", "11001100110", "10010011000", "10010001100",  // 0-4
    "10001001100", "10011001000", "10011000100", "10001100100", "11001001000",  // 5-9
    "11001000100", "11000100100", "10110011100", "10011011100", "10011001110",  // 10-14
    "10111001100", "10011101100", "10011100110", "11001110010", "11001011100",  // 15-19
    "11001001110", "11011100100", "11001110100", "11101101110", "11101001100",  // 20-24
    "11100101100", "11100100110", "11101100100", "11100110100", "11100110010",  // 25-29
    "11011011000", "11011000110", "11000110110", "10100011000", "10001011000",  // 30-34
    "10001000110", "10110001000", "10001101000", "10001100010", "11010001000",  // 35-39
    "11000101000", "11000100010", "10110111000", "10110001110", "10001101110",  // 40-44
    "10111011000", "10111000110", "10001110110", "11101110110", "11010001110",  // 45-49
    "11000101110", "11011101000", "11011100010", "11011101110", "11101011000",  // 50-54
    "11101000110", "11100010110", "11101101000", "11101100010", "11100011010",  // 55-59
    "11101111010", "11001000010", "11110001010", "10100110000", "10100001100",  // 60-64
    "10010110000", "10010000110", "10000101100", "10000100110", "10110010000",  // 65-69
    "10110000100", "10011010000", "10011000010", "10000110100", "10000110010",  // 70-74
    "11000010010", "11001010000", "11110111010", "11000010100", "10001111010",  // 75-79
    "10100111100", "10010111100", "10010011110", "10111100100", "10011110100",  // 80-84
    "10011110010", "11110100100", "11110010100", "11110010010", "11011011110",  // 85-89
    "11011110110", "11110110110", "10101111000", "10100011110", "10001011110",  // 90-94
    "10111101000", "10111100010", "11110101000", "11110100010", "10111011110",  // 95-99
    "10111101110", "11101011110", "11110101110", "11010000100", "11010010000",  // 100-104
    "11010011100", "1100011101011",  // 105-106
};

namespace {

constexpr float kModulePoints = 0.72f;
constexpr float kHeightPoints = 14.4f;
constexpr float kLeadingSpace = 10;  // modules
constexpr float kTrailingSpace = 9;  // modules

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// True when `count` characters from `from` on exist and are all digits.
bool digits_ahead(std::string_view code, std::size_t from, std::size_t count) {
    if (from + count > code.size()) return false;
    for (std::size_t k = from; k < from + count; ++k)
        if (!is_digit(code[k])) return false;
    return true;
}

}  // namespace

std::vector<int> code128_values(std::string_view code) {
    if (code.empty()) return {};
    for (const char c : code) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u > 126) return {};
    }
    std::vector<int> values;
    int weighted = 0;
    int weight = 0;
    auto add = [&](int value) {
        values.push_back(value);
        ++weight;
        weighted = (weighted + value * weight) % 103;
    };
    bool set_c = false;
    std::size_t i = 0;  // 0-based
    while (i < code.size()) {
        if (!set_c) {
            // Four digits suffice at the start and at the end; elsewhere a
            // switch pays only for six.
            const bool four = i == 0 || i + 4 == code.size();
            if (digits_ahead(code, i, four ? 4 : 6)) {
                if (i == 0) values.push_back(kCode128StartC);
                else add(kCode128CodeC);
                set_c = true;
            } else {
                if (i == 0) values.push_back(kCode128StartB);
                add(static_cast<unsigned char>(code[i]) - 32);
                ++i;
                continue;
            }
        }
        if (digits_ahead(code, i, 2)) {
            add((code[i] - '0') * 10 + (code[i + 1] - '0'));
            i += 2;
        } else {
            add(kCode128CodeB);
            set_c = false;
            add(static_cast<unsigned char>(code[i]) - 32);
            ++i;
        }
    }
    values.push_back((values.front() + weighted) % 103);
    return values;
}

Symbol code128_symbol(const std::string& code) {
    Symbol symbol;
    symbol.module_points = kModulePoints;
    symbol.default_height_points = kHeightPoints;
    const std::vector<int> values = code128_values(code);
    if (values.empty()) return symbol;
    std::string modules;
    for (const int value : values) modules += kCode128Patterns[static_cast<std::size_t>(value)];
    modules += kCode128Patterns[kCode128Stop];
    append_runs(symbol.bars, modules, kLeadingSpace);
    symbol.width = kLeadingSpace + static_cast<float>(modules.size()) + kTrailingSpace;
    symbol.texts = {{symbol.width / 2, 4, code}};
    return symbol;
}

}  // namespace pdf::barcode
