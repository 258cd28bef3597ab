// DrawBarCode: picks the symbology, lays the symbol out and writes it. The
// bars take the current fill colour, the text the current text colour; the
// text's font and size are the caller's again afterwards.
#include <cmath>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/core/error_texts.h"
#include "pdf/extras/barcode_code128.h"
#include "pdf/extras/barcode_code39.h"
#include "pdf/extras/barcode_ean.h"
#include "pdf/extras/barcode_geometry.h"
#include "pdf/extras/barcode_interleaved_2_of_5.h"
#include "pdf/extras/barcode_postnet.h"

namespace {

enum BarCodeType { Ean13 = 0, Code39 = 1, Interleaved2of5 = 2, Postnet = 3, Code128 = 4, Ean8 = 5 };

}  // namespace

float PdfWriter::DrawBarCode(std::int32_t BarCodeType, std::string_view Code, float& X, float& Y, bool ShowCode,
                             float ZoomFactor, float Height, bool AddCheck) {
    const pdf::PublicCall call("DrawBarCode");
    using namespace pdf::barcode;
    // Checked before anything is saved or written.
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

    if (ShowCode) PushGraphicState();
    try {
        if (known) {
            for (const PlacedRect& bar : placed.bars) {
                PutContent(FormatLength(bar.x) + " " + FormatLength(bar.y) + " " + FormatLength(bar.width) + " " +
                           FormatLength(bar.height) + " re f*");
            }
            if (!placed.texts.empty()) {
                SetFont("CourierNew", text_size_points(zoom), 0, 0);
                for (const PlacedText& text : placed.texts) DrawText(text.x, text.y, text.text, text.align);
            }
        }
    } catch (...) {
        if (ShowCode) PopGraphicState();
        throw;
    }
    if (ShowCode) PopGraphicState();
    return known ? placed.width : 0;
}
