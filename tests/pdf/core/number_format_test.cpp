#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <random>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/number_format.h"

using pdf::format_number;

TEST(CoreNumberFormat, RoundsToThreeDecimalsHalvesAwayFromZero) {
    EXPECT_EQ(format_number(12.3456f), "12.346");
    EXPECT_EQ(format_number(2.0f), "2");
    EXPECT_EQ(format_number(-0.0005f), "-0.001");
    EXPECT_EQ(format_number(0.0004f), "0");
    EXPECT_EQ(format_number(0.5f), "0.5");
    EXPECT_EQ(format_number(-12.5f), "-12.5");
    EXPECT_EQ(format_number(0.1f), "0.1");
    EXPECT_EQ(format_number(842.0f), "842");
    // A millimetre-based length: 10 mm.
    EXPECT_EQ(format_number(10.0f * 2.8346455f), "28.346");
    // Colour components: 128 / 255.
    EXPECT_EQ(format_number(128.0f / 255.0f), "0.502");
}

TEST(CoreNumberFormat, KeepsSevenSignificantDigitsAndNeverAnExponent) {
    EXPECT_EQ(format_number(12345.678f), "12345.68");
    EXPECT_EQ(format_number(1234567.0f), "1234567");
    EXPECT_EQ(format_number(9999999.0f), "9999999");
    EXPECT_EQ(format_number(-9999999.0f), "-9999999");
    // Ten million and beyond is no length on a page: refused, never written
    // as a long integer.
    for (float big : {123456789.0f, 1e7f, -1e7f, 9999999.6f, 1e30f})
        coretest::expect_pdf_error([&] { format_number(big); }, 6, "", std::to_string(big));
    EXPECT_EQ(format_number(0.001f), "0.001");
    EXPECT_EQ(format_number(-0.001f), "-0.001");
}

TEST(CoreNumberFormat, NeverWritesMinusZero) {
    EXPECT_EQ(format_number(-0.0f), "0");
    EXPECT_EQ(format_number(-0.0004f), "0");
    EXPECT_EQ(format_number(-1e-20f), "0");
}

TEST(CoreNumberFormat, RefusesValuesThatAreNotFinite) {
    for (float bad : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::max()}) {
        coretest::expect_pdf_error([&] { format_number(bad); }, 5, "", std::to_string(bad));
    }
}

namespace {
struct DecimalComma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};
}  // namespace

TEST(CoreNumberFormat, IgnoresTheLocalesDecimalComma) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new DecimalComma));
    const bool c_locale_changed = std::setlocale(LC_NUMERIC, "it_IT.UTF-8") != nullptr;
    EXPECT_EQ(format_number(12.3456f), "12.346");
    EXPECT_EQ(format_number(1234567.0f), "1234567");
    if (c_locale_changed) std::setlocale(LC_NUMERIC, "C");
    std::locale::global(previous);
}

TEST(CoreNumberFormat, RoundValueStaysInFloat32) {
    EXPECT_FLOAT_EQ(pdf::round_value(56.69291f), 56.693f);
    EXPECT_FLOAT_EQ(pdf::round_value(-2.0005f), -2.001f);
    EXPECT_FLOAT_EQ(pdf::round_value(0.0f), 0.0f);
}

// Against the C library's correctly rounded fixed notation of the rounded
// value, on values spread over every magnitude the pages use.
TEST(CoreNumberFormat, AgreesWithPrintfOverTheWholeRange) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> exponent(-4.0f, 6.99f);
    for (int n = 0; n < 300000; ++n) {
        float x = std::pow(10.0f, exponent(random));
        if (n % 2) x = -x;
        if (n % 5 == 0) x = std::round(x * 2000.0f) / 2000.0f;  // halves of the last decimal
        const float r = pdf::round_value(x);
        if (!(std::fabs(r) < 1e7f)) continue;
        const double magnitude = std::fabs(static_cast<double>(r));
        const int decimals = magnitude >= 1e6 ? 0 : magnitude >= 1e5 ? 1 : magnitude >= 1e4 ? 2 : 3;
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(r));
        std::string expected = text;
        if (expected.find('.') != std::string::npos) {
            while (expected.back() == '0') expected.pop_back();
            if (expected.back() == '.') expected.pop_back();
        }
        if (expected == "-0") expected = "0";
        ASSERT_EQ(format_number(x), expected) << std::hexfloat << x;
    }
}
