#include "pdf/content/text_box_layout.h"

#include "pdf/core/byte_match.h"
#include "pdf/core/text_utils.h"

namespace pdf {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Whether two blanks stand side by side, sixteen bytes at a time (a search
// for "  " stops at every single blank).
bool has_blank_run(std::string_view text) {
    const char* p = text.data();
    const size_t n = text.size();
    size_t k = 0;
    bool blank_before = false;  // the last byte of the previous block
    for (; k + 16 <= n; k += 16) {
        const std::uint32_t blanks = match16<' '>(p + k);
        if ((blanks & ((blanks << 1) | (blank_before ? 1u : 0u))) != 0) return true;
        blank_before = (blanks >> 15) != 0;
    }
    for (; k < n; ++k) {
        const bool blank = p[k] == ' ';
        if (blank && blank_before) return true;
        blank_before = blank;
    }
    return false;
}

bool ends_with_crlf(const std::string& s) {
    return s.size() >= 2 && s[s.size() - 2] == '\r' && s.back() == '\n';
}

}  // namespace

BoxText prepare_box_text(std::string_view text, bool collapse_blanks) {
    BoxText prepared;
    if (!text.empty() && text.front() == kContinuationMark) {
        prepared.continuation = true;
        text.remove_prefix(1);
    }
    // Most texts have neither line breaks nor blank runs to collapse: they
    // are one paragraph as they stand.
    if (text.find(kCrLf) == std::string_view::npos &&
        (!collapse_blanks || !has_blank_run(text))) {
        prepared.paragraphs.emplace_back(text);
        return prepared;
    }
    std::string t;
    t.reserve(text.size() + 8);
    // One pass does what repeated replacement of "  " by " " and of
    // CR LF CR LF by CR LF " " CR LF would do: blank runs become one blank,
    // and every empty paragraph becomes a paragraph of one blank.
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, kCrLf) == 0) {
            if (ends_with_crlf(t)) t += ' ';
            t += kCrLf;
            i += 2;
            continue;
        }
        const char c = text[i++];
        if (c == ' ' && collapse_blanks && !t.empty() && t.back() == ' ') continue;
        t += c;
    }
    if (ends_with_crlf(t)) t += ' ';
    prepared.paragraphs = split_text(t, kCrLf);
    return prepared;
}

BoxLayout layout_box(const BoxText& text, const BoxGeometry& g, const ParagraphMeasure& measure) {
    BoxLayout layout;
    layout.lines.reserve(11);
    bool continuation = text.continuation;
    const size_t paragraph_count = text.paragraphs.size();
    // Words are views into the paragraph: a line is the stretch of the
    // paragraph from its first word to its last, blanks as they stand.
    MeasuredWords measured;
    const std::vector<std::string_view>& words = measured.words;
    const std::vector<float>& widths = measured.widths;
    for (size_t p = 0; p < paragraph_count; ++p) {
        const std::string_view paragraph = text.paragraphs[p];
        measure(paragraph, measured);

        size_t i = 0;
        bool first_line = true;
        while (i < words.size()) {
            BoxLine line;
            const size_t start = static_cast<size_t>(words[i].data() - paragraph.data());
            float w = widths[i];
            float sum = widths[i];
            if (i == 0) w += g.indentation;
            ++i;
            int m = 0;
            while (i < words.size()) {
                const float candidate = static_cast<float>(m + 1) * g.blank_width + w + widths[i];
                if (!(candidate <= g.width) && !g.no_wrap) break;
                w += widths[i];
                sum += widths[i];
                ++m;
                ++i;
            }
            const size_t end = static_cast<size_t>(words[i - 1].data() - paragraph.data()) + words[i - 1].size();
            line.text = paragraph.substr(start, end - start);
            line.word_widths = sum;
            line.first = first_line && !continuation;
            line.last = i >= words.size();
            first_line = false;
            continuation = false;
            layout.lines.push_back(std::move(line));

            if (g.height > 0) {
                const float needed = g.line_pitch * static_cast<float>(layout.lines.size() + 1);
                if (needed > g.height) {
                    std::string& rest = layout.remainder;
                    if (i < words.size()) {
                        // The words left, one blank between each, are the
                        // paragraph's end as it stands.
                        rest += kContinuationMark;
                        rest += paragraph.substr(static_cast<size_t>(words[i].data() - paragraph.data()));
                    }
                    for (size_t q = p + 1; q < paragraph_count; ++q) {
                        if (!rest.empty()) rest += kCrLf;
                        rest += text.paragraphs[q];
                    }
                    return layout;
                }
            }
        }
    }
    return layout;
}

BoxLayout layout_box(const BoxText& text, const BoxGeometry& geometry,
                     const std::function<float(std::string_view)>& measure) {
    return layout_box(text, geometry, [&measure](std::string_view paragraph, MeasuredWords& out) {
        out.words.clear();
        out.widths.clear();
        for (size_t from = 0;;) {
            const size_t blank = paragraph.find(' ', from);
            out.words.push_back(paragraph.substr(from, blank == std::string_view::npos ? blank : blank - from));
            out.widths.push_back(measure(out.words.back()));
            if (blank == std::string_view::npos) break;
            from = blank + 1;
        }
    });
}

}  // namespace pdf
