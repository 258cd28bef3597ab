// Colour texts of the PDF writer.
//
// A colour argument is a colour name, "#RRGGBB", a grey percentage ("%50"),
// decimal components ("@R;G;B" or "@C;M;Y;K", "," or "." as decimal mark),
// or the name of a tiling pattern or gradient, optionally followed by ";"
// and the colour in which an uncoloured pattern is painted. Colours always
// end up as RGB.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pdf {

struct ParsedColor {
    // "#RRGGBB" (upper case unless the caller typed "#"), a pattern name
    // (trimmed, upper case) or empty.
    std::string color;
    // The "#RRGGBB" of an uncoloured pattern, else empty.
    std::string pattern_colour;
};

// Any notation to "#RRGGBB" or a pattern name. Never refuses a text: an
// unknown name is a pattern name and a malformed "#" text passes unchanged.
// A grey or component value outside the 16-bit range throws PdfError 6.
ParsedColor parse_color(std::string_view color);

// "#RRGGBB" to the three operands "r g b" of rg/RG (each component / 255,
// three decimals). Fewer than six digits read as a smaller number ("#FFF" is
// a blue). Throws PdfError 13 when the characters after the first are not
// hexadecimal digits (or there are none).
std::string hex_color_to_rgb(std::string_view hex);

// The path-painting operator of a drawing member's Options: bits 1 no
// outline, 2 close, 4 fill (even-odd), 128 clip as well ("W " in front).
std::string paint_operator(std::int32_t options);

}  // namespace pdf
