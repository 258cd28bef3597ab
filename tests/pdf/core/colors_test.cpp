#include <tuple>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/colors.h"

using pdf::hex_color_to_rgb;
using pdf::paint_operator;
using pdf::parse_color;

namespace {
std::string colour(std::string_view text) { return parse_color(text).color; }
}  // namespace

TEST(CoreColors, EveryNamedColour) {
    const std::pair<const char*, const char*> names[] = {
        {"BLACK", "#000000"},     {"GRAY", "#808080"},        {"SILVER", "#C0C0C0"},    {"WHITE", "#FFFFFF"},
        {"MAROON", "#800000"},    {"RED", "#F7120D"},         {"PURPLE", "#800080"},    {"FUCHSIA", "#FF00FF"},
        {"MAGENTA", "#FF00FF"},   {"GREEN", "#008000"},       {"LIME", "#00FF00"},      {"OLIVE", "#808000"},
        {"YELLOW", "#FFFF00"},    {"NAVY", "#000080"},        {"BLUE", "#0000FF"},      {"TEAL", "#008080"},
        {"AQUA", "#00FFFF"},      {"CYAN", "#00FFFF"},        {"ORANGE", "#FF7F00"},    {"AZURE", "#F0FFFF"},
        {"GOLD", "#FFD700"},      {"LIGHTBLUE", "#ADD8E6"},   {"LIGHTCYAN", "#E0FFFF"}, {"LIGHTGREEN", "#90EE90"},
        {"LIGHTPINK", "#FFB6C1"}, {"LIGHTYELLOW", "#FFFFE0"}, {"TOMATO", "#FF6347"},    {"VIOLET", "#EE82EE"},
        {"PINK", "#FFC0CB"},      {"IVORY", "#FFFFF0"},       {"DARKGRAY", "#A9A9A9"},  {"DARKCYAN", "#008B8B"},
        {"DARKBLUE", "#00008B"},  {"BROWN", "#A52A2A"},       {"BEIGE", "#F5F5DC"},
    };
    for (const auto& [name, value] : names) {
        const auto parsed = parse_color(name);
        EXPECT_EQ(parsed.color, value) << name;
        EXPECT_EQ(parsed.pattern_colour, "") << name;
    }
    EXPECT_EQ(colour("red"), "#F7120D");
    EXPECT_EQ(colour("  Red  "), "#F7120D");
    EXPECT_EQ(colour("Black"), "#000000");
}

TEST(CoreColors, HexTextIsKeptAsTyped) {
    EXPECT_EQ(colour("#ff0000"), "#ff0000");
    const auto parsed = parse_color("#FF0000;#00FF00");
    EXPECT_EQ(parsed.color, "#FF0000");
    EXPECT_EQ(parsed.pattern_colour, "");
    EXPECT_EQ(colour(""), "");
}

TEST(CoreColors, GreyPercentages) {
    EXPECT_EQ(colour("%0"), "#FFFFFF");
    EXPECT_EQ(colour("%50"), "#808080");
    EXPECT_EQ(colour("%100"), "#000000");
    EXPECT_EQ(colour("%25"), "#C0C0C0");
    EXPECT_EQ(colour("% 25"), "#C0C0C0");
    EXPECT_EQ(colour("%101"), "#FEFEFE");  // low byte of -2
    EXPECT_EQ(colour("%"), "#FFFFFF");
    EXPECT_THROW(colour("%99999999"), PdfError);
}

TEST(CoreColors, DecimalComponents) {
    EXPECT_EQ(colour("@255;128;0"), "#FF8000");
    EXPECT_EQ(colour("@12,5;0;0"), "#0C0000");  // 12.5 rounds to even
    EXPECT_EQ(colour("@13.5;0;0"), "#0E0000");
    EXPECT_EQ(colour("@0;0;0;50"), "#7F7F7F");
    EXPECT_EQ(colour("@0;100;100;0"), "#FF0000");
    EXPECT_EQ(colour("@1;2"), "");
    EXPECT_EQ(colour("@1;2;3;4;5"), "");
}

TEST(CoreColors, PatternNamesAndTheirColour) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"stripes", "STRIPES", ""},
        {"stripes;red", "STRIPES", "#F7120D"},
        {" stripes ; %50 ", "STRIPES", "#808080"},
        {"red;blue", "#F7120D", ""},  // a colour takes no second colour
    };
    for (const auto& [text, color, pattern_colour] : cases) {
        const auto parsed = parse_color(text);
        EXPECT_EQ(parsed.color, color) << text;
        EXPECT_EQ(parsed.pattern_colour, pattern_colour) << text;
    }
}

TEST(CoreColors, HexToRgbOperands) {
    EXPECT_EQ(hex_color_to_rgb("#F7120D"), "0.969 0.071 0.051");
    EXPECT_EQ(hex_color_to_rgb("#808080"), "0.502 0.502 0.502");
    EXPECT_EQ(hex_color_to_rgb("#FFFFFF"), "1 1 1");
    EXPECT_EQ(hex_color_to_rgb("#000000"), "0 0 0");
    EXPECT_EQ(hex_color_to_rgb("#CFC5C5"), "0.812 0.773 0.773");
    EXPECT_EQ(hex_color_to_rgb("#cfc5c5"), "0.812 0.773 0.773");
    EXPECT_EQ(hex_color_to_rgb("#FFF"), "0 0.059 1");  // reads as 000FFF
    for (const char* bad : {"#", "", "#GG0000", "STRIPES"})
        coretest::expect_pdf_error([&] { hex_color_to_rgb(bad); }, 13, "", bad);
}

TEST(CoreColors, PaintOperatorFromOptions) {
    const std::pair<int, const char*> cases[] = {
        {0, "S"},  {1, ""},   {2, "h S"},      {3, "h"},        {4, "B*"},   {5, "f*"},
        {6, "b*"}, {7, "f*"}, {129, "W "},     {128 + 5, "W f*"}, {128, "W S"},
        {8 + 16 + 32 + 64, "S"},  // other bits do not count
    };
    for (const auto& [options, op] : cases) EXPECT_EQ(paint_operator(options), op) << options;
}
