#include "pdf/content/text_box_layout.h"

#include <map>
#include <random>

#include <gtest/gtest.h>

#include "content_fixture.h"

namespace {

using pdf::BoxGeometry;
using pdf::layout_box;
using pdf::prepare_box_text;

// Every character is 1 unit wide: lines are easy to reason about.
float unit_width(std::string_view s) { return static_cast<float>(s.size()); }

BoxGeometry geometry(float width, int max_lines) {
    BoxGeometry g;
    g.width = width;
    g.blank_width = 1;
    g.line_pitch = 10;
    g.height = max_lines > 0 ? 10.0f * static_cast<float>(max_lines) + 5.0f : 0.0f;
    return g;
}

std::vector<std::string> texts(const pdf::BoxLayout& layout) {
    std::vector<std::string> out;
    for (const auto& line : layout.lines) out.emplace_back(line.text);
    return out;
}

TEST(TextBoxLayout, PreparationOfParagraphs) {
    auto t = prepare_box_text(std::string("A\r\n\r\nB"), false);
    EXPECT_FALSE(t.continuation);
    EXPECT_EQ(t.paragraphs, (std::vector<std::string>{"A", " ", "B"}));

    t = prepare_box_text("A\r\n\r\n\r\n\r\nB", false);
    EXPECT_EQ(t.paragraphs, (std::vector<std::string>{"A", " ", " ", " ", "B"}));

    t = prepare_box_text("A\r\n", false);
    EXPECT_EQ(t.paragraphs, (std::vector<std::string>{"A", " "}));

    t = prepare_box_text("", false);
    EXPECT_EQ(t.paragraphs, std::vector<std::string>{""});

    // Blank runs are collapsed only for justified boxes.
    EXPECT_EQ(prepare_box_text("a   b", true).paragraphs, std::vector<std::string>{"a b"});
    EXPECT_EQ(prepare_box_text("a   b", false).paragraphs, std::vector<std::string>{"a   b"});
    // Long texts are searched for blank runs in blocks: a run at every
    // place, also across a block's end, is found.
    for (size_t at = 0; at + 1 < 40; ++at) {
        std::string single = "abc defgh ijklmnopq rstu vwxyz ABC DEFGH";
        single[at] = ' ';
        std::string doubled = single;
        doubled.insert(at, " ");
        std::string expected;
        for (char c : doubled)
            if (!(c == ' ' && !expected.empty() && expected.back() == ' ')) expected += c;
        EXPECT_EQ(prepare_box_text(doubled, true).paragraphs, std::vector<std::string>{expected}) << at;
    }

    t = prepare_box_text(std::string("\0rest", 5), false);
    EXPECT_TRUE(t.continuation);
    EXPECT_EQ(t.paragraphs, std::vector<std::string>{"rest"});
    // A code 0 elsewhere is ordinary text.
    t = prepare_box_text(std::string("a\0b", 3), false);
    EXPECT_FALSE(t.continuation);
    EXPECT_EQ(t.paragraphs[0].size(), 3u);
}

TEST(TextBoxLayout, WrapsAtBlanksAndPlacesLongWordsAlone) {
    const auto layout_text = prepare_box_text("aaa bb cccccccccc d", false);
    const auto layout = layout_box(layout_text,
                                   geometry(6, 0), unit_width);
    EXPECT_EQ(texts(layout), (std::vector<std::string>{"aaa bb", "cccccccccc", "d"}));
    EXPECT_TRUE(layout.lines[0].first);
    EXPECT_FALSE(layout.lines[0].last);
    EXPECT_TRUE(layout.lines[2].last);
    EXPECT_TRUE(layout.remainder.empty());
}

TEST(TextBoxLayout, IndentationCountsOnTheFirstLine) {
    BoxGeometry g = geometry(6, 0);
    g.indentation = 2;
    const auto layout_text = prepare_box_text("aaa bb cc", false);
    const auto layout = layout_box(layout_text, g, unit_width);
    EXPECT_EQ(texts(layout), (std::vector<std::string>{"aaa", "bb cc"}));
}

TEST(TextBoxLayout, NoWrapKeepsEachParagraphOnOneLine) {
    BoxGeometry g = geometry(3, 0);
    g.no_wrap = true;
    const auto layout_text = prepare_box_text("aaa bbb ccc\r\ndd ee", false);
    const auto layout = layout_box(layout_text, g, unit_width);
    EXPECT_EQ(texts(layout), (std::vector<std::string>{"aaa bbb ccc", "dd ee"}));
}

TEST(TextBoxLayout, FullBoxInTheMiddleOfAParagraph) {
    // Two lines fit; the first paragraph needs five.
    const auto layout_text = prepare_box_text("a1 a2 a3 a4 a5\r\nb1 b2", false);
    const auto layout = layout_box(layout_text,
                                   geometry(2, 2), unit_width);
    EXPECT_EQ(texts(layout), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(layout.remainder, std::string("\0a3 a4 a5\r\nb1 b2", 16));

    // Drawn again: the continued paragraph is not indented, the next one is.
    const auto again_text = prepare_box_text(layout.remainder, false);
    const auto again = layout_box(again_text, geometry(2, 0),
                                  unit_width);
    EXPECT_EQ(texts(again), (std::vector<std::string>{"a3", "a4", "a5", "b1", "b2"}));
    EXPECT_FALSE(again.lines[0].first);
    EXPECT_TRUE(again.lines[3].first);
}

TEST(TextBoxLayout, FullBoxExactlyAtAParagraphEnd) {
    const auto layout_text = prepare_box_text("a1 a2\r\nb1\r\nc1", false);
    const auto layout = layout_box(layout_text,
                                   geometry(2, 2), unit_width);
    EXPECT_EQ(texts(layout), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(layout.remainder, "b1\r\nc1");
}

TEST(TextBoxLayout, BoxLowerThanOneLineStillPlacesOne) {
    BoxGeometry g = geometry(2, 0);
    g.height = 3;
    const auto layout_text = prepare_box_text("a1 a2", false);
    const auto layout = layout_box(layout_text, g, unit_width);
    EXPECT_EQ(texts(layout), std::vector<std::string>{"a1"});
    EXPECT_EQ(layout.remainder, std::string("\0a2", 3));
}

// Feeding every remainder back into a fresh box must place every word
// exactly once and in order, whatever the text and the box.
TEST(TextBoxLayout, RemaindersPlaceEveryWordExactlyOnce) {
    std::mt19937 random(20261207);
    const std::string alphabet = "abcdefghij";
    for (int round = 0; round < 400; ++round) {
        const bool justify = round % 2 == 1;
        std::string text;
        std::vector<std::string> expected;
        const int items = 1 + static_cast<int>(random() % 60);
        for (int n = 0; n < items; ++n) {
            const int kind = static_cast<int>(random() % 10);
            if (kind == 0) {
                text += "\r\n";
            } else if (kind == 1) {
                text += "  ";
            } else {
                std::string word;
                const int len = 1 + static_cast<int>(random() % 12);
                for (int c = 0; c < len; ++c) word += alphabet[random() % alphabet.size()];
                if (!text.empty() && text.back() != ' ' && text.back() != '\n') text += ' ';
                text += word;
                expected.push_back(word);
            }
        }
        const float width = 1.0f + static_cast<float>(random() % 20);
        const int lines_per_box = 1 + static_cast<int>(random() % 4);

        std::vector<std::string> placed;
        std::string pending = text;
        int boxes = 0;
        do {
            const auto layout_text = prepare_box_text(pending, justify);
            const auto layout = layout_box(layout_text,
                                           geometry(width, lines_per_box), unit_width);
            ASSERT_FALSE(layout.lines.empty());
            ASSERT_LE(layout.lines.size(), static_cast<size_t>(lines_per_box));
            for (const auto& line : layout.lines) {
                ASSERT_EQ(line.text.find_first_of("\r\n"), std::string::npos) << "a break left in a line";
                for (const auto& word : contenttest::words_of(std::string(line.text))) placed.push_back(word);
            }
            pending = layout.remainder;
            ASSERT_LT(++boxes, 10000) << "no progress";
        } while (!pending.empty());
        EXPECT_EQ(placed, expected) << "round " << round;
    }
}

}  // namespace
