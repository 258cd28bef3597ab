// Text boxes with word wrap, the line writer they share with free text, and
// the current point.
#include <array>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/core/error_texts.h"
#include "pdf/content/text_box_layout.h"
#include "pdf/content/word_widths.h"
#include "pdf/core/byte_match.h"
#include "pdf/core/number_format.h"
#include "pdf/core/text_utils.h"

namespace {

constexpr std::int32_t kLeft = 1, kRight = 2, kCentre = 4, kJustify = 64, kShrink = 128, kFit = 256;
constexpr std::int32_t kBottom = 16, kMiddle = 32;
constexpr std::int32_t kPlacementBits = kLeft | kRight | kCentre | kJustify | kShrink | kFit;  // 455

bool blank_line(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

void require_finite(std::initializer_list<float> values, std::string_view member) {
    for (float v : values)
        if (!std::isfinite(v))
            throw PdfError(5, "PdfWriter." + std::string(member),
                           pdf::error_text(5) + " - number not finite");
}

}  // namespace

float PdfWriter::GetX() { return CurrentX / UnitFactor; }
float PdfWriter::GetY() { return CurrentY / UnitFactor; }

void PdfWriter::SetXY(float X, float Y) {
    CurrentX = X * UnitFactor;
    CurrentY = Y * UnitFactor;
}

std::string PdfWriter::DrawTextBox(float X, float Y, float Width, float Height, std::string_view Text,
                                   float Indentation, std::int32_t Align, std::int32_t Options) {
    const pdf::PublicCall call("DrawTextBox");
    // Without a font every line would have no height and name no font.
    const FontRecord& font = RequireFont("DrawTextBox");
    require_finite({X, Y, Width, Height, Indentation}, "DrawTextBox");

    const pdf::BoxText text = pdf::prepare_box_text(Text, (Align & kJustify) != 0);
    const float lh = TextHeight() * UnitFactor * LineSpacing;
    const float sw = TextLength(" ");

    if (Options != 1) {
        PutContent(FormatLength(X) + " " + FormatLength(Y) + " " + FormatLength(Width) + " " +
                   FormatLength(Height) + " re");
        PaintOperator(Options);
    }

    pdf::BoxGeometry geometry;
    geometry.width = Width;
    geometry.indentation = Indentation;
    geometry.blank_width = sw;
    geometry.no_wrap = (Align & (kShrink | kFit)) != 0;
    geometry.line_pitch = lh;
    geometry.height = Height > 0 ? Height * UnitFactor : 0.0f;
    const pdf::BoxLayout layout =
        pdf::layout_box(text, geometry, [&font, scale = CurrentTextScale()](std::string_view paragraph,
                                                                           pdf::MeasuredWords& out) {
            pdf::measure_words(&font.Widths, scale, paragraph, out);
        });
    const auto k = static_cast<float>(layout.lines.size());

    float y0;
    if (Align & kMiddle)
        y0 = (Y + Height / 2) * UnitFactor + lh * (2 - k) / 2;
    else if (Align & kBottom)
        y0 = (Y + Height) * UnitFactor - lh * (k - 1);
    else
        y0 = Y * UnitFactor + lh;
    y0 = y0 + static_cast<float>(font.Descent) * FontSize / 1000;

    for (std::size_t j = 0; j < layout.lines.size(); ++j) {
        const pdf::BoxLine& line = layout.lines[j];
        const std::int32_t align = (line.last && (Align & kJustify)) ? kLeft : Align;
        RenderTextLine(X, (static_cast<float>(j) * lh + y0) / UnitFactor, Width, line.text,
                       line.first ? Indentation : 0.0f, align, false, line.word_widths, sw);
    }

    const float top = UserToPageY(Y);
    SetLastRect(UserToPageX(X), top, UserToPageX(X + Width), top - k * lh);
    SetXY(X, Y + k * lh / UnitFactor);
    return layout.remainder;
}

void PdfWriter::RenderTextLine(float X, float Y, float Width, std::string_view Text, float Indent,
                               std::int32_t Align, bool NewLineFlag, float MeasuredWords,
                               float MeasuredBlank) {
    if (blank_line(Text)) {
        CurrentX = NewLineFlag ? 0.0f : X * UnitFactor;
        CurrentY = Y * UnitFactor;
        return;
    }
    const FontRecord& font = RequireFont("RenderTextLine");

    // Measure. A shrunk or fitted line is measured unscaled; the scaling in
    // force comes back when the line is done, also when writing it fails.
    const float remembered_scaling = HorizontalScaling;
    struct ScalingRestore {
        float& scaling;
        float value;
        bool active = false;
        ~ScalingRestore() {
            if (active) scaling = value;
        }
    } restore{HorizontalScaling, remembered_scaling};
    float lineW = 0, base = 0, sw = 0;
    std::size_t n = 0;
    if (Align & kJustify) {
        n = pdf::count_bytes<' '>(Text);
        float sum = MeasuredWords;
        if (sum < 0) {
            sum = 0;
            for (std::size_t from = 0;;) {
                const std::size_t blank = Text.find(' ', from);
                sum += TextLength(Text.substr(from, blank == std::string_view::npos ? blank : blank - from));
                if (blank == std::string_view::npos) break;
                from = blank + 1;
            }
        }
        sw = MeasuredBlank < 0 ? TextLength(" ") : MeasuredBlank;
        lineW = static_cast<float>(n) * sw + sum;
        base = sum;
    } else {
        if (Align & (kShrink | kFit)) {
            HorizontalScaling = 100;
            restore.active = true;
        }
        lineW = TextLength(Text);
        base = lineW;
    }
    if (Indent != 0) base = base + Indent;

    // Place.
    float xoff = 0;
    std::string prefix, suffix;
    switch (Align & kPlacementBits) {
        case kRight: xoff = Width - base; break;
        case kCentre: xoff = (Width - base) / 2; break;
        case kJustify:
            if (n >= 1) {
                const float extra = Width - base - static_cast<float>(n) * sw;
                const float per_blank = extra / static_cast<float>(n);
                // The stretch comes on top of the word spacing in force, and
                // text space is scaled horizontally: so the line still ends at
                // X + Width when either is set.
                float spacing = per_blank * UnitFactor;
                if (WordSpacing != 0 || HorizontalScaling != 100) {
                    if (HorizontalScaling != 0) spacing = spacing * 100 / HorizontalScaling;
                    spacing = WordSpacing + spacing;
                }
                prefix.append(pdf::number_text(spacing).view()).append(" Tw ");
                suffix.append(" ").append(pdf::number_text(WordSpacing).view()).append(" Tw");
                lineW = lineW + extra;
            }
            break;
        case kShrink:
            if (base > Width && base > 0) {
                prefix = FormatNumber(Width * 100 / base) + " Tz ";
                suffix = " " + FormatNumber(remembered_scaling) + " Tz";
            }
            break;
        case kFit:
            if (base > 0) {
                prefix = FormatNumber(Width * 100 / base) + " Tz ";
                suffix = (base > Width ? " " : "  ") + FormatNumber(remembered_scaling) + " Tz";
            }
            break;
        default: break;
    }
    if (Indent != 0) xoff = xoff + Indent;

    const float descent = static_cast<float>(font.Descent) * FontSize / 1000;
    const float yb = UserToPageY(Y) + descent;
    const float height = TextHeight();
    SetLastRect(UserToPageX(X + xoff), yb, UserToPageX(X + xoff + base), yb + height * LineSpacing * UnitFactor);

    const float lh = height * UnitFactor * LineSpacing;
    const float x = (X + xoff) * UnitFactor;
    const pdf::NumberText x_text = pdf::number_text(x);
    const pdf::NumberText y_text = pdf::number_text(Y * UnitFactor);
    // The size is the same line after line.
    thread_local float sized = 0;
    thread_local pdf::NumberText size_text = pdf::number_text(0);
    if (std::bit_cast<std::uint32_t>(sized) != std::bit_cast<std::uint32_t>(FontSize)) {
        size_text = pdf::number_text(FontSize);
        sized = FontSize;
    }

    // The glyphs are painted with the fill colour: the text colour for the
    // line, then the fill colour again. Mostly the two are the same, and
    // setting it again would only write its operator again.
    const bool same_colour = TextColor == FillColor && TextPatternColour == FillPatternColour;
    const std::string fill = same_colour ? std::string() : pdf::concat({FillColor, ";", FillPatternColour});
    const std::string* text_operator = SetPaintColor(pdf::concat({TextColor, ";", TextPatternColour}), false);
    // The five lines go straight into the content being built (what five
    // PutContent calls would write): no temporary string per line.
    if (const int active = ActiveContentBuffer(); active >= 0) {
        const std::array<std::string_view, 13> parts{
            std::string_view("\rBT\r/"), std::string_view(CurrentFontName), std::string_view(" "),
            size_text.view(), std::string_view(" Tf "), size_text.view(), std::string_view(" TL\r1 0 0 -1 "),
            x_text.view(), std::string_view(" "), y_text.view(), std::string_view(" Tm\r"),
            std::string_view(prefix), std::string_view("(")};
        // Escaping at most doubles the text.
        std::size_t most = 2 * Text.size() + suffix.size() + 8;
        for (std::string_view part : parts) most += part.size();
        std::string& out = ContentBuffers[static_cast<std::size_t>(active)].room(most);
        for (std::string_view part : parts) out.append(part);
        pdf::append_escaped(out, Text);
        out.append(") Tj");
        out.append(suffix);
        out.append("\rET");
    }
    if (!same_colour)
        SetColorFill(fill);
    else if (text_operator)
        PutContent(*text_operator);

    if (FontStyle & (4 | 8 | 16)) {
        // Every number first: a refused one must not leave an open "q" and
        // a shifted origin behind for the rest of the page.
        const std::string width = FormatNumber(FontSize / 16);
        const std::string length = FormatLength(lineW);
        std::vector<std::string> rules;
        auto rule = [&](float d) {
            const std::string dy = FormatNumber(d);
            rules.push_back("0 " + dy + " m " + length + " " + dy + " l S");
        };
        if (FontStyle & 4) rule(FontSize / 8);
        if (FontStyle & 8) rule(FontSize * -0.8f);
        if (FontStyle & 16) rule(FontSize * -0.3f);
        const std::string line = LineColor, line_pattern = LinePatternColour;
        PutContent("q");
        SetColorLine(TextColor + ";" + TextPatternColour);
        PutContent(width + " w ");
        PutContent(pdf::concat({"1 0 0 1 ", x_text.view(), " ", y_text.view(), " cm"}));
        for (const std::string& r : rules) PutContent(r);
        SetColorLine(line + ";" + line_pattern);
        PutContent("Q");
    }

    if (NewLineFlag) {
        CurrentX = 0;
        CurrentY = Y * UnitFactor + lh;
    } else {
        CurrentX = (X + lineW) * UnitFactor;
        CurrentY = Y * UnitFactor;
    }
}
