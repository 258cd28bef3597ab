#include "pdf/extras/barcode_ean.h"

namespace pdf::barcode {

const std::array<std::string_view, 10> kEanSetA = {
    "0001101", "0011001", "0010011", "0111101", "0100011",
    "0110001", "0101111", "0111011", "0110111", "0001011",
};
const std::array<std::string_view, 10> kEanSetB = {
    "0100111", "0110011", "0011011", "0100001", "0011101",
    "0111001", "0000101", "0010001", "0001001", "0010111",
};
const std::array<std::string_view, 10> kEan13Parity = {
    "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
    "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",
};

namespace {

constexpr float kModulePoints = 0.936f;
constexpr float kEan13HeightPoints = 64.8f;
constexpr float kEan8HeightPoints = 48.96f;
// The light space before the first bar, in modules.
constexpr float kLeadingSpace = 11;

// Data digits alternate weights 3 and 1 from the right.
int check_digit(const std::string& code, std::size_t data_digits) {
    int sum = 0;
    for (std::size_t i = 0; i < data_digits; ++i) {
        const bool weighs_three = (data_digits - i) % 2 == 1;
        sum += digit_at(code, i) * (weighs_three ? 3 : 1);
    }
    return (10 - sum % 10) % 10;
}

std::string reversed(std::string_view pattern) { return std::string(pattern.rbegin(), pattern.rend()); }

// Guard bars, one module each, reach into the text band.
void add_guards(Symbol& symbol, std::initializer_list<int> positions) {
    for (int p : positions) symbol.bars.push_back({kLeadingSpace + static_cast<float>(p), 1, BarReach::BarsAndTextBand});
}

// The characters of code from `first` (0-based) on, at most `count`.
std::string characters(const std::string& code, std::size_t first, std::size_t count) {
    return first < code.size() ? code.substr(first, count) : std::string();
}

}  // namespace

int ean13_check_digit(const std::string& code) { return check_digit(code, 12); }
int ean8_check_digit(const std::string& code) { return check_digit(code, 7); }

Symbol ean13_symbol(const std::string& code) {
    Symbol symbol;
    symbol.module_points = kModulePoints;
    symbol.default_height_points = kEan13HeightPoints;
    const int check = ean13_check_digit(code);
    const std::string_view parity = kEan13Parity[static_cast<std::size_t>(digit_at(code, 0))];
    add_guards(symbol, {0, 2, 46, 48, 92, 94});
    for (std::size_t i = 0; i < 6; ++i) {
        const auto digit = static_cast<std::size_t>(digit_at(code, i + 1));
        const std::string_view pattern = parity[i] == 'A' ? kEanSetA[digit] : kEanSetB[digit];
        append_runs(symbol.bars, std::string(pattern), kLeadingSpace + 3 + 7 * static_cast<float>(i));
    }
    for (std::size_t i = 0; i < 6; ++i) {
        const int digit = i < 5 ? digit_at(code, i + 7) : check;
        append_runs(symbol.bars, reversed(kEanSetB[static_cast<std::size_t>(digit)]),
                    kLeadingSpace + 50 + 7 * static_cast<float>(i));
    }
    symbol.texts = {{3, 1, characters(code, 0, 1)},
                    {35, 4, characters(code, 1, 6)},
                    {82, 4, characters(code, 7, 5) + std::to_string(check)}};
    symbol.width = kLeadingSpace + 95 + 7;
    return symbol;
}

Symbol ean8_symbol(const std::string& code) {
    Symbol symbol;
    symbol.module_points = kModulePoints;
    symbol.default_height_points = kEan8HeightPoints;
    const int check = ean8_check_digit(code);
    add_guards(symbol, {0, 2, 32, 34, 64, 66});
    for (std::size_t i = 0; i < 4; ++i) {
        append_runs(symbol.bars, std::string(kEanSetA[static_cast<std::size_t>(digit_at(code, i))]),
                    kLeadingSpace + 3 + 7 * static_cast<float>(i));
    }
    for (std::size_t i = 0; i < 4; ++i) {
        const int digit = i < 3 ? digit_at(code, i + 4) : check;
        append_runs(symbol.bars, reversed(kEanSetB[static_cast<std::size_t>(digit)]),
                    kLeadingSpace + 36 + 7 * static_cast<float>(i));
    }
    symbol.texts = {{28, 4, characters(code, 0, 4)}, {61, 4, characters(code, 4, 3) + std::to_string(check)}};
    symbol.width = kLeadingSpace + 67 + 7;
    return symbol;
}

}  // namespace pdf::barcode
