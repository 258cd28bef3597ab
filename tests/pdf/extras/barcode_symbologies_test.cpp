// The symbologies on their own: check characters, code-set choice, widths
// in modules and the tables' structure. Whether the tables are the right
// ones is the scanner's verdict (barcode_scan_test.cpp); these catch the
// faults a scanner forgives or cannot see (POSTNET, quiet zones, ignored
// characters, refusals).
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/extras/barcode_code128.h"
#include "pdf/extras/barcode_code39.h"
#include "pdf/extras/barcode_ean.h"
#include "pdf/extras/barcode_interleaved_2_of_5.h"
#include "pdf/extras/barcode_postnet.h"

namespace {

using namespace pdf::barcode;

// The dark ('1') and light ('0') modules of a symbol with whole-module
// bars, from its left edge to the end of its trailing light space.
std::string modules_of(const Symbol& symbol) {
    std::string modules(static_cast<std::size_t>(symbol.width), '0');
    for (const Bar& bar : symbol.bars)
        for (int k = 0; k < static_cast<int>(bar.width); ++k) modules[static_cast<std::size_t>(bar.x) + k] = '1';
    return modules;
}

std::vector<std::string> texts_of(const Symbol& symbol) {
    std::vector<std::string> texts;
    for (const auto& piece : symbol.texts) texts.push_back(piece.text);
    return texts;
}

TEST(BarcodeSymbologies, WidthsInModulesQuietZonesIncluded) {
    struct Row {
        const char* what;
        Symbol symbol;
        float width;
        std::size_t bars;
    };
    const Row rows[] = {
        {"EAN-13", ean13_symbol("400638133393"), 113, 6 + 12 * 2},
        {"EAN-8", ean8_symbol("9638507"), 85, 6 + 8 * 2},
        {"Code 39 A: start, A, stop", code39_symbol("A", false), 10 + 3 * 16 + 9, 15},
        {"Code 39 A with its check", code39_symbol("A", true), 10 + 4 * 16 + 9, 20},
        {"Code 39 empty: no start or stop", code39_symbol("", false), 19, 0},
        {"2 of 5 empty: start and stop", interleaved_2_of_5_symbol("", false), 5 + 4 + 6 + 5, 4},
        {"2 of 5 123 as 0123", interleaved_2_of_5_symbol("123", false), 5 + 4 + 2 * 18 + 6 + 5, 2 + 10 + 2},
        {"POSTNET 12345", postnet_symbol("12345"), 5 + 32 * 2.5f + 5, 32},
        {"POSTNET 12345-6789", postnet_symbol("12345-6789"), 5 + 52 * 2.5f + 5, 52},
        {"Code 128 1234: start, 12, 34, check, stop", code128_symbol("1234"), 10 + 4 * 11 + 13 + 9, 4 * 3 + 4},
        {"Code 128 empty", code128_symbol(""), 0, 0},
        {"Code 128 with 198", code128_symbol("A\xC6"), 0, 0},
        {"Code 128 with 233", code128_symbol("\xE9"), 0, 0},
        {"Code 128 with a control character", code128_symbol("A\x1F"), 0, 0},
        {"Code 39 above 127", code39_symbol("A\xE9", true), 0, 0},
    };
    for (const Row& row : rows) {
        EXPECT_FLOAT_EQ(row.symbol.width, row.width) << row.what;
        EXPECT_EQ(row.symbol.bars.size(), row.bars) << row.what;
    }
    // Code 128 refuses what it cannot encode, text and all; Code 39 still
    // shows the code for a reader to type.
    EXPECT_TRUE(code128_symbol("\xE9").texts.empty());
    EXPECT_EQ(texts_of(code39_symbol("caf\xE9", false)), std::vector<std::string>{"caf\xE9"});
}

TEST(BarcodeSymbologies, CheckCharacters) {
    EXPECT_EQ(ean13_check_digit("400638133393"), 1);  // sum 89
    EXPECT_EQ(ean8_check_digit("9638507"), 4);
    EXPECT_EQ(interleaved_check_digit("123"), 6);      // 3x3 + 2 + 3x1 = 14
    EXPECT_EQ(code39_check_character("A"), 'A');       // value 10
    EXPECT_EQ(code39_check_character("A*"), 'A');      // "*" counts nothing
    EXPECT_EQ(code128_values("AB").back(), 102);       // (104 + 33 + 2 x 34) mod 103
    // A 13th digit, right or wrong, changes nothing.
    EXPECT_EQ(modules_of(ean13_symbol("4006381333931")), modules_of(ean13_symbol("4006381333935")));
    EXPECT_EQ(modules_of(ean8_symbol("96385079")), modules_of(ean8_symbol("9638507")));
}

TEST(BarcodeSymbologies, MissingAndForeignDigitsCountAsZeroButShowAsGiven) {
    EXPECT_EQ(modules_of(ean13_symbol("12345")), modules_of(ean13_symbol("123450000000")));
    EXPECT_EQ(texts_of(ean13_symbol("12345")), (std::vector<std::string>{"1", "2345", "3"}));
    EXPECT_EQ(texts_of(ean13_symbol("400638133393")), (std::vector<std::string>{"4", "006381", "333931"}));
    EXPECT_EQ(texts_of(ean8_symbol("9638507")), (std::vector<std::string>{"9638", "5074"}));
    EXPECT_EQ(modules_of(ean8_symbol("96x8507")), modules_of(ean8_symbol("9608507")));
    EXPECT_EQ(texts_of(interleaved_2_of_5_symbol("123", true)), std::vector<std::string>{"123"});
    EXPECT_EQ(modules_of(interleaved_2_of_5_symbol("123", true)), modules_of(interleaved_2_of_5_symbol("1236", false)));
    EXPECT_EQ(modules_of(interleaved_2_of_5_symbol("1a3", false)), modules_of(interleaved_2_of_5_symbol("0103", false)));
}

TEST(BarcodeSymbologies, Code128ChoosesSetsBAndC) {
    const int B = kCode128StartB, C = kCode128StartC, toC = kCode128CodeC, toB = kCode128CodeB;
    struct Row {
        const char* code;
        std::vector<int> values;  // without the check character
    };
    const Row rows[] = {
        {"1234", {C, 12, 34}},
        {"12345", {C, 12, 34, toB, '5' - 32}},
        {"AB1234", {B, 33, 34, toC, 12, 34}},         // four digits remain at the third
        {"AB12345", {B, 33, 34, '1' - 32, toC, 23, 45}},  // six needed at the third, four remain at the fourth
        {"AB123", {B, 33, 34, '1' - 32, '2' - 32, '3' - 32}},
        {"12", {B, '1' - 32, '2' - 32}},               // shorter than four never starts in C
        {"x123456y", {B, 'x' - 32, toC, 12, 34, 56, toB, 'y' - 32}},
        {"x12345y", {B, 'x' - 32, '1' - 32, '2' - 32, '3' - 32, '4' - 32, '5' - 32, 'y' - 32}},
    };
    for (const Row& row : rows) {
        std::vector<int> values = code128_values(row.code);
        ASSERT_FALSE(values.empty()) << row.code;
        values.pop_back();
        EXPECT_EQ(values, row.values) << row.code;
    }
    for (const char* refused : {"", "A\xC6", "\xE9", "\x7F"}) EXPECT_TRUE(code128_values(refused).empty()) << refused;
}

TEST(BarcodeSymbologies, Code128TableIsWellFormed) {
    std::set<std::string_view> distinct(kCode128Patterns.begin(), kCode128Patterns.end());
    EXPECT_EQ(distinct.size(), kCode128Patterns.size());
    for (std::size_t value = 0; value < kCode128Patterns.size(); ++value) {
        const std::string_view p = kCode128Patterns[value];
        const bool stop = value == kCode128Stop;
        ASSERT_EQ(p.size(), stop ? 13u : 11u) << value;
        // Bars and spaces alternate from a bar to a space (the stop ends on
        // a bar), each one to four modules wide.
        std::vector<int> runs{1};
        for (std::size_t k = 1; k < p.size(); ++k) {
            if (p[k] == p[k - 1]) ++runs.back();
            else runs.push_back(1);
        }
        EXPECT_EQ(p.front(), '1') << value;
        EXPECT_EQ(runs.size(), stop ? 7u : 6u) << value;
        for (int run : runs) EXPECT_TRUE(run >= 1 && run <= 4) << value;
        // An even number of dark modules in each character (odd in none).
        int dark = 0;
        for (std::size_t k = 0; k < 11; ++k) dark += p[k] == '1';
        EXPECT_EQ(dark % 2, 0) << value;
    }
}

// The patterns themselves are the scanner's to judge; the full-ASCII pairs
// are not, as it reads them as they stand.
TEST(BarcodeSymbologies, Code39FullAsciiPairs) {
    struct Row {
        std::string code, converted;
    };
    const Row rows[] = {
        {std::string(1, '\0'), "%U"}, {"\x01", "$A"}, {"\x1A", "$Z"}, {"\x1B", "%A"}, {"\x1F", "%E"},
        {"!", "/A"}, {"\"", "/B"}, {"#", "/C"}, {"&", "/F"}, {"'", "/G"}, {"(", "/H"}, {")", "/I"},
        {",", "/L"}, {":", "/Z"}, {";", "%F"}, {"?", "%J"}, {"@", "%V"}, {"[", "%K"}, {"_", "%O"},
        {"`", "%W"}, {"a", "+A"}, {"z", "+Z"}, {"{", "%P"}, {"\x7F", "%T"},
        {"09AZ-. $/+%*", "09AZ-. $/+%*"},
    };
    for (const Row& row : rows) EXPECT_EQ(code39_full_ascii(row.code), row.converted) << row.code;
    EXPECT_FALSE(code39_full_ascii("ok\x80").has_value());
}

TEST(BarcodeSymbologies, PostnetBarSequence) {
    // Frame, 1 2 3 4 5, check 5, frame.
    EXPECT_EQ(postnet_bars("12345"), "1" "00011" "00101" "00110" "01001" "01010" "01010" "1");
    EXPECT_EQ(postnet_bars("12345-6789").size(), 52u);
    EXPECT_EQ(postnet_bars("12345-6789").substr(46, 5), kPostnetPatterns[5]);  // check digit 5
    EXPECT_EQ(postnet_bars("12345x6789"), postnet_bars("12345-6789"));        // the sixth is skipped
    EXPECT_EQ(postnet_bars("123456789"), postnet_bars("12345"));
    EXPECT_EQ(postnet_digits("12"), "12000");
    // Full bars from the top, half bars sharing their bottom edge.
    const Symbol symbol = postnet_symbol("0");
    EXPECT_FLOAT_EQ(symbol.bars[0].top + symbol.bars[0].height, symbol.bars[3].top + symbol.bars[3].height);
    EXPECT_FLOAT_EQ(symbol.bars[3].height * symbol.module_points, 3.6f);
    EXPECT_FLOAT_EQ(symbol.bars[0].height * symbol.module_points, 9.0f);
}

}  // namespace
