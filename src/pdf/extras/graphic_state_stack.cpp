// The writer's own drawing state saved around tables, rows, columns and
// barcode texts. The PDF's "q"/"Q" restores what the reader draws with;
// this restores what the writer believes, and writes the colour and line
// operators again so both agree after a "Q".
#include <string>

#include "pdf/PdfWriter.h"

void PdfWriter::PushGraphicState() {
    SavedGraphicState saved;
    saved.UnitFactor = UnitFactor;
    saved.CurrentX = CurrentX;
    saved.CurrentY = CurrentY;
    saved.FillColor = FillColor;
    saved.FillPatternColour = FillPatternColour;
    saved.LineColor = LineColor;
    saved.LinePatternColour = LinePatternColour;
    saved.TextColor = TextColor;
    saved.TextPatternColour = TextPatternColour;
    saved.FontName = CurrentFontName;
    saved.FontFamily = CurrentFontFamily;
    saved.FontStyle = FontStyle;
    saved.FontIndex = CurrentFontIndex;
    saved.FontSize = FontSize;
    saved.LineWidth = LineWidth;
    GraphicStateStack.push_back(std::move(saved));
}

void PdfWriter::PopGraphicState() {
    if (GraphicStateStack.empty()) return;
    const SavedGraphicState saved = std::move(GraphicStateStack.back());
    GraphicStateStack.pop_back();
    CurrentX = saved.CurrentX;
    CurrentY = saved.CurrentY;
    UnitFactor = saved.UnitFactor;
    auto with_pattern = [](const std::string& colour, const std::string& pattern) {
        return pattern.empty() ? colour : colour + ";" + pattern;
    };
    SetColorLine(with_pattern(saved.LineColor, saved.LinePatternColour));
    SetColorFill(with_pattern(saved.FillColor, saved.FillPatternColour));
    SetColorText(with_pattern(saved.TextColor, saved.TextPatternColour));
    // Only a width that changed is written: the default width was never
    // written, and writing it ("0 w") would make every later line a hairline.
    if (LineWidth != saved.LineWidth) SetLineWidth(saved.LineWidth / UnitFactor);
    LineWidth = saved.LineWidth;
    // The selection itself comes back rather than a new SetFont: with no
    // font selected before there is nothing to select (and no nameless font
    // to make), and a MacRoman font stays MacRoman.
    CurrentFontName = saved.FontName;
    CurrentFontFamily = saved.FontFamily;
    FontStyle = saved.FontStyle;
    CurrentFontIndex = saved.FontIndex;
    FontSize = saved.FontSize;
}
