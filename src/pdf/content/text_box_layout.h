// Word wrap of a text box: paragraphs at CR LF, lines at blanks, and the
// remainder that a further box continues without breaking the paragraph.
// Kept apart from the writer so that it can be exercised on its own; the
// writer supplies the measuring.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pdf {

// Marks a remainder that starts in the middle of a paragraph: the next box
// must not indent its first line.
inline constexpr char kContinuationMark = '\0';

struct BoxText {
    bool continuation = false;            // the text started with the mark
    std::vector<std::string> paragraphs;  // never empty
};

// Removes a leading continuation mark, collapses runs of blanks when asked
// (justified boxes), turns an empty paragraph into one blank and gives a
// text ending in CR LF a last blank paragraph, then splits at CR LF.
BoxText prepare_box_text(std::string_view text, bool collapse_blanks);

struct BoxLine {
    std::string_view text;  // within the laid out BoxText's paragraphs
    bool first = false;  // first line of a paragraph: takes the indentation
    bool last = false;   // last line of a paragraph: never justified
    // The widths of the line's words added up in order, as measured for the
    // layout: what justifying the line needs, so it is not measured again.
    float word_widths = 0;
};

struct BoxLayout {
    std::vector<BoxLine> lines;
    std::string remainder;  // empty when everything was placed
};

struct BoxGeometry {
    float width = 0;         // user units
    float indentation = 0;   // user units
    float blank_width = 0;   // user units, as measured for one " "
    bool no_wrap = false;    // shrink/fit alignments: a paragraph is one line
    float line_pitch = 0;    // points
    float height = 0;        // points; <= 0 means no bottom
};

// The words of one paragraph, split at every blank (so a run of blanks
// gives empty words), and the width of each, in user units.
struct MeasuredWords {
    std::vector<std::string_view> words;
    std::vector<float> widths;
};

// Fills `out` (emptied first) with the words of `paragraph` and their
// widths. The writer splits and measures in one pass over the paragraph.
using ParagraphMeasure = std::function<void(std::string_view paragraph, MeasuredWords& out)>;

// Lays the paragraphs out in lines, measuring each word once. The first
// word of a line is always placed, so every call places at least one line.
BoxLayout layout_box(const BoxText& text, const BoxGeometry& geometry, const ParagraphMeasure& measure);

// The same with a measure of one word at a time.
BoxLayout layout_box(const BoxText& text, const BoxGeometry& geometry,
                     const std::function<float(std::string_view)>& measure);

// The lines are views into the text: it must outlive the layout.
BoxLayout layout_box(const BoxText&& text, const BoxGeometry& geometry, const ParagraphMeasure& measure) = delete;
BoxLayout layout_box(const BoxText&& text, const BoxGeometry& geometry,
                     const std::function<float(std::string_view)>& measure) = delete;

}  // namespace pdf
