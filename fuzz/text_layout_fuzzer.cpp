// The text box's scans, which read sixteen bytes at a time with
// bit tricks, against plain byte-at-a-time work on any text: the one-pass
// word measure against measuring each word alone, the box layout with both
// measures, and string escaping against its definition. The texts come from
// the data file the user fills in.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "pdf/content/text_box_layout.h"
#include "pdf/content/word_widths.h"
#include "pdf/core/text_utils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool justify = data[0] & 1;
    const pdf::TextScale scale{static_cast<float>(8 + data[1] % 8), 0,
                               (data[0] & 2) ? 0.25f : 0.0f, 100, 2.834646f};
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    pdf::GlyphWidths widths{};
    for (int c = 0; c < 256; ++c) widths[static_cast<std::size_t>(c)] = static_cast<std::int16_t>(200 + (c * 53) % 800);

    pdf::MeasuredWords measured;
    pdf::measure_words(&widths, scale, text, measured);
    std::size_t from = 0;
    for (std::size_t w = 0; w < measured.words.size(); ++w) {
        const std::size_t blank = text.find(' ', from);
        const std::size_t to = blank == std::string::npos ? text.size() : blank;
        if (measured.words[w] != std::string_view(text).substr(from, to - from)) __builtin_trap();
        if (measured.widths[w] != pdf::text_length(widths, scale, measured.words[w])) __builtin_trap();
        if ((blank == std::string::npos) != (w + 1 == measured.words.size())) __builtin_trap();
        from = to + 1;
    }

    pdf::BoxGeometry geometry;
    geometry.width = 120;
    geometry.blank_width = pdf::text_length(widths, scale, " ");
    geometry.line_pitch = 12;
    geometry.height = 12.0f * static_cast<float>(1 + data[1] % 5) + 6;
    const pdf::BoxText box = pdf::prepare_box_text(text, justify);
    const pdf::BoxLayout fast = pdf::layout_box(box, geometry, [&](std::string_view paragraph, pdf::MeasuredWords& out) {
        pdf::measure_words(&widths, scale, paragraph, out);
    });
    const pdf::BoxLayout plain =
        pdf::layout_box(box, geometry, [&](std::string_view word) { return pdf::text_length(widths, scale, word); });
    if (fast.remainder != plain.remainder || fast.lines.size() != plain.lines.size()) __builtin_trap();
    for (std::size_t k = 0; k < fast.lines.size(); ++k)
        if (fast.lines[k].text != plain.lines[k].text || fast.lines[k].word_widths != plain.lines[k].word_widths)
            __builtin_trap();

    std::string expected;
    for (char c : text) {
        if (c == '\\' || c == '(' || c == ')') expected += '\\';
        if (c == '\r') expected += "\\r";
        else if (c == '\n') expected += "\\n";
        else expected += c;
    }
    if (pdf::escape_string(text) != expected) __builtin_trap();
    return 0;
}
