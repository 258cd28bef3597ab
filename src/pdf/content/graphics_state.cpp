// Graphics-state settings: colours, line attributes, transparency and the
// text-state values. Most write their operator into the open content at
// once; nothing is deduplicated.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/public_call.h"
#include "pdf/content/pdf_name.h"
#include "pdf/core/text_utils.h"

// Fill and stroke differ only in their operators and their state items.
namespace {
struct ColourOperators {
    const char* rgb;            // " rg" / " RG"
    const char* uncoloured;     // "/xxCSxx cs " / "/xxCSxx CS "
    const char* pattern_space;  // "/Pattern cs /" / "/Pattern CS /"
    const char* select;         // " scn" / " SCN"
};
constexpr ColourOperators fill_operators{" rg", "/xxCSxx cs ", "/Pattern cs /", " scn"};
constexpr ColourOperators line_operators{" RG", "/xxCSxx CS ", "/Pattern CS /", " SCN"};

// The last colour texts parsed, with what they gave: the text writers switch
// between the text colour and the fill colour on every line, and parsing is
// a pure function of the text, so the same text is not parsed again.
struct ParsedPaint {
    std::string input;
    std::string value, pattern_colour, line;
    // For a pattern: the operator line around its name, which is looked up
    // at every use (a pattern defined again is another resource).
    std::string pattern_head, pattern_name;
    const char* pattern_tail = "";
};
struct PaintCache {
    std::array<ParsedPaint, 4> entries;
    std::size_t used = 0, next = 0;
    ParsedPaint* find(std::string_view input) {
        for (std::size_t k = 0; k < used; ++k)
            if (entries[k].input == input) return &entries[k];
        return nullptr;
    }
    ParsedPaint& add(ParsedPaint entry) {
        ParsedPaint& slot = entries[next];
        slot = std::move(entry);
        next = (next + 1) % entries.size();
        if (used < entries.size()) ++used;
        return slot;
    }
};
thread_local PaintCache paint_cache[2];  // fill, line
}  // namespace


void PdfWriter::SetColorFill(std::string_view Color) {
    const pdf::PublicCall call("SetColorFill");
    SetPaintColor(Color, false);
}

void PdfWriter::SetColorLine(std::string_view Color) {
    const pdf::PublicCall call("SetColorLine");
    SetPaintColor(Color, true);
}

const std::string* PdfWriter::SetPaintColor(std::string_view Color, bool Stroke) {
    if (Color.empty() || UncolouredTiling) return nullptr;
    PaintCache& cache = paint_cache[Stroke ? 1 : 0];
    ParsedPaint* parsed = cache.find(Color);
    if (parsed == nullptr) {
        ParsedPaint entry;
        entry.input = std::string(Color);
        entry.value = entry.input;
        ParseColor(entry.value, entry.pattern_colour);
        // The operator is made before anything is stored: a colour it
        // refuses (a bad "#" text) must not become the current one, or every
        // later text line, which paints in the text colour and then restores
        // this one, would fail half-written.
        const ColourOperators& op = Stroke ? line_operators : fill_operators;
        const std::string& value = entry.value;
        const std::string& pattern_colour = entry.pattern_colour;
        if (value.empty()) {
        } else if (value.front() == '#') {
            entry.line = HexColorToRgb(value) + op.rgb;
        } else if (!pattern_colour.empty()) {
            if (pattern_colour.front() == '#')
                entry.pattern_head = op.uncoloured + HexColorToRgb(pattern_colour) + " /";
        } else {
            entry.pattern_head = op.pattern_space;
        }
        if (!entry.pattern_head.empty()) {
            entry.pattern_name = pdf::pdf_name(value);
            entry.pattern_tail = op.select;
        }
        parsed = &cache.add(std::move(entry));
    }
    // A text that names no colour at all ("@1;2") is ignored.
    if (parsed->value.empty()) return nullptr;
    (Stroke ? LineColor : FillColor) = parsed->value;
    // The pattern colour is kept only with the colour it came with: the text
    // writers restore the colour as colour + ";" + pattern colour, which must
    // not paint a later coloured pattern in an earlier pattern's colour.
    const std::string& pattern_colour = parsed->pattern_colour;
    (Stroke ? LinePatternColour : FillPatternColour) =
        !pattern_colour.empty() && pattern_colour.front() == '#' ? pattern_colour : std::string();
    if (!parsed->pattern_head.empty())
        parsed->line = parsed->pattern_head + PatternResource(parsed->pattern_name) + parsed->pattern_tail;
    if (parsed->line.empty()) return nullptr;
    PutContent(parsed->line);
    return &parsed->line;
}

void PdfWriter::SetColorText(std::string_view Color) {
    const pdf::PublicCall call("SetColorText");
    if (Color.empty() || UncolouredTiling) return;
    std::string value(Color), pattern_colour;
    ParseColor(value, pattern_colour);
    if (value.empty()) return;
    TextColor = value;
    TextPatternColour = pattern_colour;
}

void PdfWriter::SetLineWidth(float Width) {
    const pdf::PublicCall call("SetLineWidth");
    // A negative width is ignored as before; a width that is not a number
    // would reach the file as "nan".
    if (!std::isfinite(Width)) RaiseError(5, "SetLineWidth", pdf::error_text(5));
    if (!(Width >= 0)) return;
    const float points = Width * UnitFactor;
    const std::string text = FormatNumber(points);
    LineWidth = points;
    PutContent(text + " w");
}

void PdfWriter::SetLineStyle(std::int32_t Style, float MiterLimit) {
    const pdf::PublicCall call("SetLineStyle");
    const std::int32_t cap = (Style & 112) / 32;
    const std::int32_t join = (Style & 7) / 2;
    std::string miter;
    if (MiterLimit >= 1) miter = FormatNumber(MiterLimit) + " M";
    PutContent(std::to_string(cap) + " J");
    PutContent(std::to_string(join) + " j");
    if (!miter.empty()) PutContent(miter);
}

void PdfWriter::SetDash(std::string_view Pattern, float Phase) {
    const pdf::PublicCall call("SetDash");
    const std::string p = pdf::upper_case(pdf::trim_blanks(Pattern));
    std::string dashes;
    if (p.empty() || p == "SOLID") {
        Phase = 0;
    } else if (p == "DASH") {
        dashes = FormatLength(0.1f);
    } else if (p == "DOT") {
        dashes = FormatLength(0.05f);
    } else if (p == "DASHDOT") {
        dashes = FormatLength(0.1f) + " " + FormatLength(0.05f) + " " + FormatLength(0.05f) + " " +
                 FormatLength(0.05f);
    } else if (p == "DASHDOTDOT") {
        dashes = FormatLength(0.1f);
        for (int i = 0; i < 5; ++i) dashes += pdf::concat({" ", FormatLength(0.05f)});
    } else {
        // A dash array with a negative length, or with lengths that are all
        // zero, makes readers reject the page: such a pattern is refused.
        bool any_positive = false;
        std::vector<float> lengths;
        for (const auto& part : pdf::split_text(p, ";")) {
            const double value = pdf::leading_number(part);
            if (!(value >= 0) || !std::isfinite(value)) RaiseError(5, "SetDash", pdf::error_text(5));
            any_positive = any_positive || value > 0;
            lengths.push_back(static_cast<float>(value));
        }
        if (!any_positive) RaiseError(5, "SetDash", pdf::error_text(5));
        for (float value : lengths) dashes += pdf::concat({" ", FormatLength(value)});
    }
    if (!(Phase >= 0)) RaiseError(5, "SetDash", pdf::error_text(5));
    PutContent("[" + dashes + " ] " + FormatLength(Phase) + " d");
}

void PdfWriter::SetAlpha(std::int16_t Value) {
    const pdf::PublicCall call("SetAlpha");
    std::string a;
    if (Value < 0) a = "0";
    else if (Value > 100) a = "1";
    else a = FormatNumber(static_cast<float>(Value / 100.0));
    GStateCount += 1;
    const std::int32_t n = WriteObjStart(0);
    WriteLine("<</Type /ExtGState /ca " + a + " /CA " + a + " /BM /Normal >>");
    WriteObjEnd();
    ExtGStateResources += "/GSTATE_" + std::to_string(GStateCount) + " " + std::to_string(n) + " 0 R ";
    PutContent("/GSTATE_" + std::to_string(GStateCount) + " gs");
    RequireVersion(1);
}

void PdfWriter::SetCharSpacing(float w) {
    const pdf::PublicCall call("SetCharSpacing");
    const std::string text = FormatNumber(w);
    CharSpacing = w;
    PutContent(text + " Tc");
}

void PdfWriter::SetWordSpacing(float w) {
    const pdf::PublicCall call("SetWordSpacing");
    const std::string text = FormatNumber(w);
    WordSpacing = w;
    PutContent(text + " Tw");
}

void PdfWriter::SetTextHorizontalScaling(float Percent) {
    const pdf::PublicCall call("SetTextHorizontalScaling");
    const std::string text = FormatNumber(Percent);
    HorizontalScaling = Percent;
    PutContent(text + " Tz");
}

void PdfWriter::SetTextLineSpacing(float Value) {
    if (Value >= 0 && std::isfinite(Value)) LineSpacing = Value;
}

void PdfWriter::SetTextMode(std::int32_t Mode) {
    const pdf::PublicCall call("SetTextMode");
    if (Mode < -32768 || Mode > 32767) RaiseError(6, "SetTextMode", pdf::error_text(6));
    // PDF knows rendering modes 0 to 7 only; anything else breaks the page.
    if (Mode < 0 || Mode > 7) RaiseError(5, "SetTextMode", pdf::error_text(5));
    PutContent(std::to_string(Mode) + " Tr");
}
