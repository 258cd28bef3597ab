// Single lines of text without word wrap. The given Y is the baseline.
#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"

namespace {
bool blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }
}  // namespace

// A blank text draws nothing, so it needs no font; any other text does.
void PdfWriter::DrawText(float X, float Y, std::string_view Text, std::int32_t Align) {
    const pdf::PublicCall call("DrawText");
    if (!blank(Text)) RequireFont("DrawText");
    RenderTextLine(X, Y, 0, Text, 0, Align & 7, false);
}

void PdfWriter::WriteText(std::string_view Text, std::int32_t TextStyle, float PercenteSize) {
    const pdf::PublicCall call("WriteText");
    if (blank(Text)) {
        RenderTextLine(CurrentX / UnitFactor, CurrentY / UnitFactor, 0, Text, 0, 1, false);
        return;
    }
    const FontRecord& font = RequireFont("WriteText");
    const float size = FontSize;
    const float current_y = CurrentY;
    // Size and baseline are changed for this piece only, also when writing it
    // fails.
    struct Restore {
        PdfWriter& writer;
        float size, y;
        ~Restore() {
            writer.FontSize = size;
            writer.CurrentY = y;
        }
    } restore{*this, size, current_y};

    float y = CurrentY / UnitFactor;
    // Styles other than 1 (superscript), 2 (subscript) and 3 (reduced size)
    // are written as normal text.
    if (TextStyle >= 1 && TextStyle <= 3) {
        const float h = TextHeight();
        FontSize = PercenteSize / 100 * FontSize;
        const float descent = static_cast<float>(font.Descent);
        if (TextStyle == 2)
            y = (CurrentY - (size + FontSize) * descent / 1000) / UnitFactor;
        else if (TextStyle == 1)
            y = (CurrentY - FontSize * descent / 1000) / UnitFactor - h / 2;
    }
    RenderTextLine(CurrentX / UnitFactor, y, 0, Text, 0, 1, false);
}

void PdfWriter::WriteTextLn(std::string_view Text) {
    const pdf::PublicCall call("WriteTextLn");
    if (!blank(Text)) RequireFont("WriteTextLn");
    RenderTextLine(CurrentX / UnitFactor, CurrentY / UnitFactor, 0, Text, 0, 1, true);
}
