// Measuring text in the selected font: the length of a whole text, and the
// words of a paragraph measured in one pass for the text box layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pdf {

struct MeasuredWords;

// What a text's length depends on besides its glyphs.
struct TextScale {
    float font_size = 0;            // points
    float word_spacing = 0;         // points added after each blank
    float char_spacing = 0;         // points added after each byte
    float horizontal_scaling = 100; // percent
    float unit_factor = 1;          // points per user unit
};

using GlyphWidths = std::array<std::int16_t, 256>;  // font units, by byte

// The length in user units of `text` in a font with these widths.
float text_length(const GlyphWidths& widths, const TextScale& scale, std::string_view text);

// Splits `paragraph` at every blank (a run of blanks gives empty words) and
// gives each word the length text_length gives it, bit for bit; `out` is
// emptied first. Without widths (no font) every word measures 0.
void measure_words(const GlyphWidths* widths, const TextScale& scale, std::string_view paragraph,
                   MeasuredWords& out);

}  // namespace pdf
