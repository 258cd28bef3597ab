// What every barcode has in common: a symbology describes its bars and
// human-readable texts in modules, and one layout turns that description
// into rectangles and text lines in the caller's unit.
//
// A symbol is drawn from X, the left edge of its leading quiet zone, and Y,
// the top edge of its bars, Y growing downwards. The zoom scales everything,
// text size included, and is kept between 0.8 and 2.0. With the readable
// text shown, a band of 4.68 points x zoom is reserved for it under the bars.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pdf::barcode {

// How far a bar reaches down.
enum class BarReach {
    Bars,              // the symbol's bar height
    BarsAndTextBand,   // the bar height and the text band (EAN guard bars)
    Fixed,             // its own top and height, in modules (POSTNET)
};

// One dark element; x and width in modules from X.
struct Bar {
    float x = 0;
    float width = 0;
    BarReach reach = BarReach::Bars;
    float top = 0;     // Fixed only: below Y, in modules
    float height = 0;  // Fixed only, in modules
};

// One piece of readable text; x in modules from X. align: 1 begins at x,
// 4 centred on x (as DrawText takes it).
struct TextPiece {
    float x = 0;
    std::int32_t align = 4;
    std::string text;
};

// What a symbology makes of one code.
struct Symbol {
    float module_points = 1;        // the module (narrow element) at zoom 1
    float default_height_points = 0;// bar height at zoom 1 when none is asked
    std::vector<Bar> bars;
    std::vector<TextPiece> texts;
    float width = 0;                // modules, both quiet zones included
    // The text baseline below Y in modules before the text band, for
    // symbols of fixed height; negative: under the bars (1.6 text bands).
    float text_top = -1;
};

// The zoom actually used: below 0.8 (or not a number) 0.8, above 2.0 2.0.
float clamp_zoom(float zoom);

// Readable text size in points at a clamped zoom.
float text_size_points(float zoom);

// A symbol laid out in the caller's unit.
struct PlacedRect {
    float x = 0, y = 0, width = 0, height = 0;
};
struct PlacedText {
    float x = 0, y = 0;  // y is the baseline
    std::int32_t align = 4;
    std::string text;
};
struct PlacedSymbol {
    std::vector<PlacedRect> bars;
    std::vector<PlacedText> texts;  // empty when the text is not shown
    float width = 0;                // user units, both quiet zones included
};

// Lays the symbol out at (x, y). height 0 takes the symbology's default bar
// height; any other value is the whole height, text band included; a bar
// height that comes out 0 or less is one module. zoom is clamped here;
// unit_factor is points per user unit.
PlacedSymbol place_symbol(const Symbol& symbol, float x, float y, bool show_code, float zoom, float height,
                          float unit_factor);

// Dark runs of a pattern of '1' (dark module) and '0' (light), each run one
// bar starting `offset` modules from X.
void append_runs(std::vector<Bar>& bars, const std::string& pattern, float offset,
                 BarReach reach = BarReach::Bars);

// The digit value of code[index]: '1' to '9' give 1 to 9; any other byte,
// and an index past the end, give 0.
int digit_at(const std::string& code, std::size_t index);

}  // namespace pdf::barcode
