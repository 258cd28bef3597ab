// What a PDF font dictionary and descriptor need of a TrueType font file.
//
// The whole file is checked before any value is trusted: the table
// directory, the bounds of every table, and the tables the metrics come from.
// A file that fails throws FontFileError (62 cut short, 321 not a usable
// TrueType font), so a caller never gets half the metrics of a damaged font.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "pdf/content/truetype_view.h"

namespace pdf {

// The single-byte codes a text font is measured for: the font dictionary's
// /WinAnsiEncoding (Windows-1252) or /MacRomanEncoding.
enum class FontCodes { WinAnsi, MacRoman };

// Metrics in glyph-space units (1/1000 of the font size): font units scaled
// by 1000 / unitsPerEm in float32 and rounded half to even.
struct TrueTypeMetrics {
    // Advance width of the glyph a viewer shows for each code 0-255,
    // clamped to the int16 range.
    std::array<std::int16_t, 256> widths{};
    // xMin, yMin, xMax, yMax over the non-empty simple glyphs of the 256
    // codes, starting from 0.
    std::array<std::int32_t, 4> bbox{};
    // 32 for a text font or 4 for a symbol font, plus 64 when italic and 1
    // when fixed-pitch.
    std::int32_t flags = 0;
    std::int32_t missing_width = 0;  // glyph 0
    std::int32_t stem_v = 0;         // 70, or 120 above weight 500
    float italic_angle = 0;          // degrees, rounded to 2 decimals half to even
    std::int32_t ascent = 0;
    std::int32_t descent = 0;        // negative below the baseline
    std::int32_t max_width = 0;
    std::int32_t avg_width = 0;
    bool bold = false;               // weight above 500
    bool italic = false;             // italic angle not 0
    // The full name as Windows-1252 bytes with blanks and control characters
    // left out; empty when the name table holds no usable full or PostScript
    // name.
    std::string name;
};

// Reads `file` (a whole TrueType file) for the given codes. A symbol font
// (its Windows character map has encoding 0) keeps its own codes whatever
// `codes` says: code c is its character c or F000 + c.
TrueTypeMetrics read_truetype(std::span<const std::uint8_t> file, FontCodes codes);

}  // namespace pdf
