#include "pdf/extras/barcode_postnet.h"

namespace pdf::barcode {

const std::array<std::string_view, 10> kPostnetPatterns = {
    "11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100",
};

namespace {
// Everything in bar widths of 1.44 points.
constexpr float kBarPoints = 1.44f;
constexpr float kPitch = 2.5f;        // 3.6 points
constexpr float kFullHeight = 6.25f;  // 9.0 points
constexpr float kHalfHeight = 2.5f;   // 3.6 points
constexpr float kQuietZone = 5;
constexpr float kTextTop = 10;        // 14.4 points
constexpr std::size_t kZipPlusFourLength = 10;
}  // namespace

std::string postnet_digits(const std::string& code) {
    std::string digits;
    for (std::size_t i = 0; i < 5; ++i) digits += static_cast<char>('0' + digit_at(code, i));
    if (code.size() == kZipPlusFourLength)
        for (std::size_t i = 6; i < kZipPlusFourLength; ++i) digits += static_cast<char>('0' + digit_at(code, i));
    return digits;
}

std::string postnet_bars(const std::string& code) {
    const std::string digits = postnet_digits(code);
    int sum = 0;
    for (const char d : digits) sum += d - '0';
    const int check = (10 - sum % 10) % 10;
    std::string bars = "1";
    for (const char d : digits) bars += kPostnetPatterns[static_cast<std::size_t>(d - '0')];
    bars += kPostnetPatterns[static_cast<std::size_t>(check)];
    bars += '1';
    return bars;
}

Symbol postnet_symbol(const std::string& code) {
    Symbol symbol;
    symbol.module_points = kBarPoints;
    symbol.text_top = kTextTop;
    float x = kQuietZone;
    for (const char b : postnet_bars(code)) {
        const float height = b == '1' ? kFullHeight : kHalfHeight;
        symbol.bars.push_back({x, 1, BarReach::Fixed, kFullHeight - height, height});
        x += kPitch;
    }
    symbol.width = x + kQuietZone;
    symbol.texts = {{symbol.width / 2, 4, code}};
    return symbol;
}

}  // namespace pdf::barcode
