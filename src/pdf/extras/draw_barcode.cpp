// DrawBarCode: picks the symbology, lays the symbol out and writes it. The
// bars take the current fill colour, the text the current text colour; the
// text's font and size are the caller's again afterwards.
#include <cmath>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/content/standard_font_metrics.h"
#include "pdf/content/word_widths.h"
#include "pdf/core/public_call.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/number_format.h"
#include "pdf/extras/barcode_code128.h"
#include "pdf/extras/barcode_code39.h"
#include "pdf/extras/barcode_ean.h"
#include "pdf/extras/barcode_geometry.h"
#include "pdf/extras/barcode_interleaved_2_of_5.h"
#include "pdf/extras/barcode_postnet.h"

namespace {

enum BarCodeType { Ean13 = 0, Code39 = 1, Interleaved2of5 = 2, Postnet = 3, Code128 = 4, Ean8 = 5 };

// The operands DrawText will write for a piece of readable text in Courier,
// its start and baseline in points, made here to refuse a place past the
// number limit before the font is chosen or a bar is written.
void check_text_place(const pdf::barcode::PlacedText& text, const pdf::TextScale& scale) {
    const float length =
        text.align == 4 ? pdf::text_length(pdf::standard_font_widths(pdf::StandardFamily::Courier, 0), scale, text.text)
                        : 0;
    pdf::format_number((text.x - length / 2) * scale.unit_factor);
    pdf::format_number(text.y * scale.unit_factor);
}

}  // namespace

float PdfWriter::DrawBarCode(std::int32_t BarCodeType, std::string_view Code, float& X, float& Y, bool ShowCode,
                             float ZoomFactor, float Height, bool AddCheck) {
    const pdf::PublicCall call("DrawBarCode");
    using namespace pdf::barcode;
    if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(Height))
        RaiseError(5, "DrawBarCode", pdf::error_text(5) + " - position or height not finite");
    const std::string code(Code);
    Symbol symbol;
    bool known = true;
    switch (BarCodeType) {
        case Ean13: symbol = ean13_symbol(code); break;
        case Code39: symbol = code39_symbol(code, AddCheck); break;
        case Interleaved2of5: symbol = interleaved_2_of_5_symbol(code, AddCheck); break;
        case Postnet: symbol = postnet_symbol(code); break;
        case Code128: symbol = code128_symbol(code); break;
        case Ean8: symbol = ean8_symbol(code); break;
        default: known = false; break;
    }
    const float zoom = clamp_zoom(ZoomFactor);
    const PlacedSymbol placed = place_symbol(symbol, X, Y, ShowCode, zoom, Height, UnitFactor);

    // Every number is made before anything is written or chosen: a symbol
    // is drawn whole or not at all.
    std::vector<std::string> bars;
    bars.reserve(placed.bars.size());
    for (const PlacedRect& bar : placed.bars) {
        bars.push_back(FormatLength(bar.x) + " " + FormatLength(bar.y) + " " + FormatLength(bar.width) + " " +
                       FormatLength(bar.height) + " re f*");
    }
    const float text_size = text_size_points(zoom);
    for (const PlacedText& text : placed.texts)
        check_text_place(text, {text_size, WordSpacing, CharSpacing, HorizontalScaling, UnitFactor});

    if (ShowCode) PushGraphicState();
    if (!placed.texts.empty()) {
        try {
            SetFont("CourierNew", text_size, 0, 0);
        } catch (...) {
            // SetFont changed nothing: the state saved is dropped unwritten.
            GraphicStateStack.pop_back();
            throw;
        }
    }
    for (const std::string& bar : bars) PutContent(bar);
    for (const PlacedText& text : placed.texts) DrawText(text.x, text.y, text.text, text.align);
    if (ShowCode) PopGraphicState();
    return known ? placed.width : 0;
}
