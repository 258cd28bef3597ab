#include "pdf/core/colors.h"
#include "pdf/core/error_texts.h"

#include <array>
#include <cmath>
#include <utility>

#include "pdf/PdfWriter.h"
#include "pdf/core/number_format.h"
#include "pdf/core/public_call.h"
#include "pdf/core/text_utils.h"

namespace pdf {
namespace {

// RED and ORANGE are not the web values: documents made by this writer have
// always used these.
constexpr std::array<std::pair<std::string_view, std::string_view>, 35> color_names{{
    {"BLACK", "#000000"},     {"GRAY", "#808080"},      {"SILVER", "#C0C0C0"},    {"WHITE", "#FFFFFF"},
    {"MAROON", "#800000"},    {"RED", "#F7120D"},       {"PURPLE", "#800080"},    {"FUCHSIA", "#FF00FF"},
    {"MAGENTA", "#FF00FF"},   {"GREEN", "#008000"},     {"LIME", "#00FF00"},      {"OLIVE", "#808000"},
    {"YELLOW", "#FFFF00"},    {"NAVY", "#000080"},      {"BLUE", "#0000FF"},      {"TEAL", "#008080"},
    {"AQUA", "#00FFFF"},      {"CYAN", "#00FFFF"},      {"ORANGE", "#FF7F00"},    {"AZURE", "#F0FFFF"},
    {"GOLD", "#FFD700"},      {"LIGHTBLUE", "#ADD8E6"}, {"LIGHTCYAN", "#E0FFFF"}, {"LIGHTGREEN", "#90EE90"},
    {"LIGHTPINK", "#FFB6C1"}, {"LIGHTYELLOW", "#FFFFE0"}, {"TOMATO", "#FF6347"}, {"VIOLET", "#EE82EE"},
    {"PINK", "#FFC0CB"},      {"IVORY", "#FFFFF0"},     {"DARKGRAY", "#A9A9A9"},  {"DARKCYAN", "#008B8B"},
    {"DARKBLUE", "#00008B"},  {"BROWN", "#A52A2A"},     {"BEIGE", "#F5F5DC"},
}};

[[noreturn]] void overflow() { raise_error(6, "ParseColor", pdf::error_text(6)); }

// The last two hexadecimal digits of a 16-bit value (two's complement).
std::string hex_byte(long value) {
    static const char digits[] = "0123456789ABCDEF";
    const unsigned byte = static_cast<unsigned>(value) & 0xFFu;
    return {digits[byte >> 4], digits[byte & 0x0F]};
}

// A component rounded to a whole number, halves to even, as a 16-bit value.
long component(double value) {
    if (!std::isfinite(value)) overflow();
    const double rounded = std::nearbyint(value);  // default rounding: halves to even
    if (rounded < -32768.0 || rounded > 32767.0) overflow();
    return static_cast<long>(rounded);
}

std::string grey_percentage(std::string_view after_percent) {
    const double p = leading_number(after_percent);
    const double g = 255.0 - std::floor(p * 255.0 / 100.0);
    if (!std::isfinite(g) || g < -32768.0 || g > 32767.0) overflow();
    const std::string pair = hex_byte(static_cast<long>(g));
    return concat({"#", pair, pair, pair});
}

std::string components(std::string_view after_at) {
    std::string text(after_at);
    for (char& c : text)
        if (c == ',') c = '.';
    const auto parts = split_text(text, ";");
    if (parts.size() == 3) {
        return concat({"#", hex_byte(component(leading_number(parts[0]))),
                       hex_byte(component(leading_number(parts[1]))), hex_byte(component(leading_number(parts[2])))});
    }
    if (parts.size() == 4) {
        const double c = leading_number(parts[0]), m = leading_number(parts[1]), y = leading_number(parts[2]),
                     k = leading_number(parts[3]);
        const double r = std::fabs(100.0 - (c + k)) * 2.55;
        const double g = std::fabs(100.0 - (m + k)) * 2.55;
        const double b = std::fabs(100.0 - (y + k)) * 2.55;
        return concat({"#", hex_byte(component(r)), hex_byte(component(g)), hex_byte(component(b))});
    }
    return {};
}

// One colour without the "@" form's components split: used for the main
// colour and for the colour of an uncoloured pattern.
ParsedColor parse(std::string_view color, bool second_part) {
    ParsedColor out;
    if (color.empty()) return out;
    switch (color.front()) {
        case '#':
            out.color = std::string(color.substr(0, 7));
            return out;
        case '%':
            out.color = grey_percentage(color.substr(1));
            return out;
        case '@':
            out.color = components(color.substr(1));
            return out;
        default: break;
    }
    const auto parts = split_text(color, ";");
    const std::string name = upper_case(trim_blanks(parts[0]));
    for (const auto& [known, value] : color_names) {
        if (name == known) {
            out.color = std::string(value);
            return out;
        }
    }
    out.color = name;
    if (parts.size() > 1 && !second_part) {
        const std::string colour = upper_case(trim_blanks(parts[1]));
        out.pattern_colour = parse(colour, true).color;
    }
    return out;
}

}  // namespace

ParsedColor parse_color(std::string_view color) { return parse(color, false); }

std::string hex_color_to_rgb(std::string_view hex) {
    const std::string_view digits = hex.size() > 1 ? hex.substr(1, 6) : std::string_view{};
    if (digits.empty()) raise_error(13, "HexColorToRgb", pdf::error_text(13));
    std::uint32_t v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else raise_error(13, "HexColorToRgb", pdf::error_text(13));
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    auto part = [](std::uint32_t byte) { return format_number(static_cast<float>(byte) / 255.0f); };
    return concat({part((v >> 16) & 0xFF), " ", part((v >> 8) & 0xFF), " ", part(v & 0xFF)});
}

std::string paint_operator(std::int32_t options) {
    std::string_view op;
    if (options & 4) {
        op = (options & 1) ? "f*" : (options & 2) ? "b*" : "B*";
    } else if (options & 2) {
        op = (options & 1) ? "h" : "h S";
    } else {
        op = (options & 1) ? "" : "S";
    }
    return concat({(options & 128) ? "W " : "", op});
}

// ---- PdfWriter's own entry points ----

}  // namespace pdf

void PdfWriter::ParseColor(std::string& Color, std::string& PatternColour) {
    pdf::ParsedColor parsed = pdf::parse_color(Color);
    Color = std::move(parsed.color);
    PatternColour = std::move(parsed.pattern_colour);
}

std::string PdfWriter::HexColorToRgb(std::string_view Hex) { return pdf::hex_color_to_rgb(Hex); }

void PdfWriter::PaintOperator(std::int32_t Options) { PutContent(pdf::paint_operator(Options)); }
