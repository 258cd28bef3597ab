// How a family asked for by SetFont becomes a font's resource name. AddFont
// names its fonts by the same rule, so that SetFont finds what AddFont
// returned.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pdf {

// ",Bold", ",Italic", ",BoldItalic" or nothing, by style bits 1 and 2.
std::string_view style_suffix(std::int32_t style);

struct FontName {
    // The name after "/" in "Tf" and in the /Font resources; upper-cased it
    // is the font record's key.
    std::string resource;
    // The standard family the name stands for ("TimesNewRoman", "CourierNew",
    // "Arial", "Symbol", "ZapfDingbats"), else the family without blanks.
    std::string family;
    bool standard = false;
};

// Blanks removed; the family words of the standard fonts (any letter case)
// become the standard names, the three styled ones with the style's suffix;
// "MAC" in front for encoding 1; any other family written as a valid PDF name.
FontName font_name(std::string_view family, std::int32_t style, std::int32_t encoding);

}  // namespace pdf
