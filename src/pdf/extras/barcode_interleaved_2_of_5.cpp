#include "pdf/extras/barcode_interleaved_2_of_5.h"

namespace pdf::barcode {

const std::array<std::string_view, 10> kInterleavedPatterns = {
    "nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw", "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn",
};

namespace {
constexpr float kNarrowPoints = 0.72f;
constexpr float kHeightPoints = 14.4f;
constexpr float kQuietZone = 5;  // narrow widths, on either side
constexpr float kWide = 3;
}  // namespace

int interleaved_check_digit(const std::string& code) {
    int sum = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const bool weighs_three = (code.size() - i) % 2 == 1;
        sum += digit_at(code, i) * (weighs_three ? 3 : 1);
        sum %= 10;
    }
    return (10 - sum % 10) % 10;
}

Symbol interleaved_2_of_5_symbol(const std::string& code, bool add_check) {
    Symbol symbol;
    symbol.module_points = kNarrowPoints;
    symbol.default_height_points = kHeightPoints;
    symbol.texts = {{0, 4, code}};

    std::string digits = code;
    if (add_check) digits += static_cast<char>('0' + interleaved_check_digit(code));
    if (digits.size() % 2 == 1) digits.insert(digits.begin(), '0');

    std::string elements(kInterleavedStart);
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        const std::string_view first = kInterleavedPatterns[static_cast<std::size_t>(digit_at(digits, i))];
        const std::string_view second = kInterleavedPatterns[static_cast<std::size_t>(digit_at(digits, i + 1))];
        for (std::size_t k = 0; k < 5; ++k) {
            elements += first[k];
            elements += second[k];
        }
    }
    elements += kInterleavedStop;

    float x = kQuietZone;
    bool bar = true;
    for (const char element : elements) {
        const float width = element == 'w' ? kWide : 1;
        if (bar) symbol.bars.push_back({x, width});
        x += width;
        bar = !bar;
    }
    symbol.width = x + kQuietZone;
    symbol.texts.front().x = symbol.width / 2;
    return symbol;
}

}  // namespace pdf::barcode
