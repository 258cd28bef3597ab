#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "content_fixture.h"
#include "reader_checks.h"

namespace {

using contenttest::count_of;
using contenttest::Document;
using contenttest::has_line;
using contenttest::words_of;

// The strings of every "(...) Tj" in the file, unescaped, in file order.
std::vector<std::string> shown_strings(const std::string& pdf) {
    std::vector<std::string> out;
    for (std::size_t at = pdf.find('('); at != std::string::npos; at = pdf.find('(', at + 1)) {
        std::string text;
        std::size_t i = at + 1;
        for (; i < pdf.size() && pdf[i] != ')'; ++i) {
            if (pdf[i] == '\\' && i + 1 < pdf.size()) {
                ++i;
                text += pdf[i] == 'r' ? '\r' : pdf[i] == 'n' ? '\n' : pdf[i];
            } else {
                text += pdf[i];
            }
        }
        if (pdf.compare(i, 4, ") Tj") == 0) out.push_back(text);
        at = i;
    }
    return out;
}

TEST(TextBox, FirstBaselineAndCurrentPoint) {
    Document doc;
    auto& w = doc.first_page("Times new roman", 12);
    EXPECT_EQ(w.DrawTextBox(20, 100, 300, 0, "Hello", 0, 9, 1), "");
    EXPECT_FLOAT_EQ(w.GetX(), 20);
    EXPECT_NEAR(w.GetY(), 100 + 13.284, 1e-4);
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "BT")) << pdf;
    EXPECT_TRUE(has_line(pdf, "/TimesNewRoman 12 Tf 12 TL"));
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 20 110.692 Tm"));
    EXPECT_TRUE(has_line(pdf, "(Hello) Tj"));
    // The text colour around the line, the fill colour after it.
    EXPECT_LT(pdf.find("0 0 0 rg\rBT"), pdf.find("(Hello) Tj"));
    EXPECT_NE(pdf.find("ET\r0 0 0 rg"), std::string::npos);
}

TEST(TextBox, EmptyTextIsOneEmptyLine) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    EXPECT_EQ(w.DrawTextBox(0, 50, 100, 0, ""), "");
    EXPECT_NEAR(w.GetY(), 50 + 13.284, 1e-4);
    const std::string pdf = doc.finish();
    EXPECT_EQ(pdf.find("BT"), std::string::npos);
}

TEST(TextBox, NoFontIsAnErrorNotAnEmptyFontName) {
    Document doc;
    auto& w = doc.first_page();
    contenttest::expect_pdf_error([&] { w.DrawTextBox(0, 0, 100, 0, "text"); }, 5, "PdfWriter.DrawTextBox");
    EXPECT_THROW(w.DrawText(0, 0, "text"), PdfError);
    EXPECT_THROW(w.WriteText("text"), PdfError);
    EXPECT_THROW(w.WriteTextLn("text"), PdfError);
    // A blank text draws nothing and needs no font; the line still moves.
    w.SetXY(30, 40);
    EXPECT_NO_THROW(w.DrawText(10, 20, "  "));
    EXPECT_FLOAT_EQ(w.GetX(), 10);
    EXPECT_NO_THROW(w.WriteText("", 1));
    EXPECT_NO_THROW(w.WriteTextLn(" "));
    EXPECT_FLOAT_EQ(w.GetX(), 0);
    EXPECT_FLOAT_EQ(w.GetY(), 20);
    EXPECT_EQ(w.TextLength("text"), 0);
    EXPECT_EQ(w.TextHeight(), 0);
    const std::string pdf = doc.finish();
    EXPECT_EQ(pdf.find(" Tf"), std::string::npos);
    EXPECT_EQ(pdf.find("BT"), std::string::npos);
}

TEST(TextBox, ParagraphsAndBlankLines) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    EXPECT_EQ(w.DrawTextBox(0, 0, 300, 0, "A\r\n\r\nB"), "");
    EXPECT_NEAR(w.GetY(), 3 * 13.284, 1e-3);
    EXPECT_EQ(w.DrawTextBox(0, 100, 300, 0, "C\r\n"), "");
    EXPECT_NEAR(w.GetY(), 100 + 2 * 13.284, 1e-3);
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 0 10.692 Tm"));
    EXPECT_TRUE(has_line(pdf, "(A) Tj"));
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 0 37.26 Tm"));  // third line: 2 x 13.284 + 10.692
    EXPECT_TRUE(has_line(pdf, "(B) Tj"));
    EXPECT_EQ(count_of(pdf, "\rBT\r"), 3u);  // blank lines write nothing
}

TEST(TextBox, RemainderOfAFullBox) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    const float width = w.TextLength("word1 word2") + 0.01f;
    // Room for two lines: 2 x 13.284 fits, 3 x 13.284 does not.
    const std::string text = "word1 word2 word3 word4 word5 word6 word7 word8 word9 word10\r\nnext paragraph";
    const std::string rest = w.DrawTextBox(0, 0, width, 30, text, 0, 9, 1);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest, std::string(1, '\0') + "word5 word6 word7 word8 word9 word10\r\nnext paragraph");
    EXPECT_NEAR(w.GetY(), 2 * 13.284, 1e-3);

    // The continuation is not indented; the next paragraph is.
    const std::string again = w.DrawTextBox(0, 100, 1000, 0, rest, 25, 9, 1);
    EXPECT_EQ(again, "");
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 0 110.692 Tm"));
    EXPECT_TRUE(has_line(pdf, "(word5 word6 word7 word8 word9 word10) Tj"));
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 25 123.976 Tm"));
    EXPECT_TRUE(has_line(pdf, "(next paragraph) Tj"));
}

TEST(TextBox, BoxFullExactlyAtAParagraphEnd) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    // A box of one line that ends with its paragraph: no code 0 in front.
    EXPECT_EQ(w.DrawTextBox(0, 0, 500, 20, "one line\r\nsecond\r\nthird"), "second\r\nthird");
    // Lower than one line: one line is still drawn.
    const float narrow = w.TextLength("alpha") + 1;
    EXPECT_EQ(w.DrawTextBox(0, 0, narrow, 5, "alpha beta"), std::string(1, '\0') + "beta");
    EXPECT_NEAR(w.GetY(), 13.284, 1e-4);
    doc.finish();
}

// The blanks of a justified line share out the missing width on top of the
// word spacing in force, which comes back after the line.
TEST(TextBox, JustifiedLinesStretchAndTheLastStaysLeft) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    const float width = w.TextLength("aaa bbb ccc") + 5;
    w.DrawTextBox(0, 0, width, 0, "aaa  bbb   ccc ddd", 0, 64, 1);
    w.SetWordSpacing(1);
    w.DrawTextBox(0, 100, width + 2, 0, "aaa bbb ccc ddd", 0, 64, 1);
    const std::string pdf = doc.finish();
    // Two blanks of 3 points each make up the missing 5 points.
    EXPECT_TRUE(has_line(pdf, "2.5 Tw (aaa bbb ccc) Tj 0 Tw")) << pdf;
    EXPECT_TRUE(has_line(pdf, "(ddd) Tj"));
    EXPECT_TRUE(has_line(pdf, "3.5 Tw (aaa bbb ccc) Tj 1 Tw")) << pdf;
}

TEST(TextBox, FrameUnderTheText) {
    Document doc;
    auto& w = doc.first_page("Arial", 8);
    w.DrawTextBox(10, 20, 100, 50, "x", 0, 9, 0);
    w.DrawTextBox(10, 20, 100, 50, "y", 0, 9, 4);
    const std::string pdf = doc.finish();
    const auto rect = pdf.find("\r10 20 100 50 re\rS\r");
    ASSERT_NE(rect, std::string::npos) << pdf;
    EXPECT_LT(rect, pdf.find("(x) Tj"));
    EXPECT_NE(pdf.find("\r10 20 100 50 re\rB*\r"), std::string::npos);
}

TEST(TextBox, UnderlineAndStrikeRules) {
    Document doc;
    auto& w = doc.first_page();
    w.SetFont("Times", 16, 4 | 16);
    w.SetColorText("RED");
    w.DrawText(10, 50, "AB");
    const std::string pdf = doc.finish();
    // Width of "AB" in Times 16: (722 + 667) x 16 / 1000 = 22.224.
    EXPECT_NE(pdf.find("\rq\r0.969 0.071 0.051 RG\r1 w \r1 0 0 1 10 50 cm\r0 2 m 22.224 2 l S\r"
                       "0 -4.8 m 22.224 -4.8 l S\r0 0 0 RG\rQ"),
              std::string::npos)
        << pdf;
    // The glyphs in the text colour, then the fill colour back.
    EXPECT_NE(pdf.find("\r0.969 0.071 0.051 rg\rBT\r"), std::string::npos) << pdf;
    EXPECT_NE(pdf.find("\rET\r0 0 0 rg\r"), std::string::npos) << pdf;
}

TEST(TextBox, OnlyExactAlignValuesPlace) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    w.DrawTextBox(0, 0, 200, 0, "six", 0, 6, 1);
    w.DrawTextBox(0, 20, 200, 0, "right", 0, 2 + 8, 1);
    w.DrawTextBox(0, 40, 200, 0, "both", 0, 66, 1);
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 0 10.692 Tm"));
    // The vertical bit does not disturb the right placement: 200 - 22.668.
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 177.332 30.692 Tm")) << pdf;
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 0 50.692 Tm"));
}

// Shrinking (128) and fitting (256) keep each paragraph on one line and
// scale it to the width for that line only.
TEST(TextBox, ShrinkAndFitByScaling) {
    Document doc;
    auto& w = doc.first_page();
    w.SetFont("Courier", 10);  // 6 points a character
    w.SetTextHorizontalScaling(90);
    EXPECT_EQ(w.DrawTextBox(0, 0, 30, 0, "abcdefghij klmnopqrst", 0, 128, 1), "");
    EXPECT_NEAR(w.GetY(), 11.33, 1e-4);  // one line
    w.DrawTextBox(0, 20, 30, 0, "abc", 0, 128, 1);
    w.DrawTextBox(0, 40, 30, 0, "abc", 0, 256, 1);
    w.DrawTextBox(0, 60, 30, 0, "abcdefghij", 0, 256, 1);
    EXPECT_FLOAT_EQ(w.TextLength("a"), 5.4f);  // the scaling in force is back
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "23.81 Tz (abcdefghij klmnopqrst) Tj 90 Tz")) << pdf;
    EXPECT_TRUE(has_line(pdf, "(abc) Tj"));
    EXPECT_TRUE(has_line(pdf, "166.667 Tz (abc) Tj  90 Tz"));
    EXPECT_TRUE(has_line(pdf, "50 Tz (abcdefghij) Tj 90 Tz"));
}

TEST(TextBox, VerticalPlacement) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    w.DrawTextBox(0, 100, 200, 100, "bottom", 0, 16 + 1, 1);
    w.DrawTextBox(0, 300, 200, 100, "middle", 0, 32 + 1, 1);
    const std::string pdf = doc.finish();
    // Bottom: the line's slot ends at Y + Height; baseline 2.592 above it.
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 0 197.408 Tm")) << pdf;
    // Middle: the slot is centred on Y + Height / 2.
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 0 354.05 Tm"));
}

// Where the lines end, as an independent reader sees them: in centimetres
// with margins, so the margin mapping is part of what is checked.
TEST(TextBox, AlignedLinesEndWhereTheyShould) {
    REQUIRE_TOOL("pdftotext");
    Document doc;
    auto& w = doc.writer;
    w.SetScale(3);
    w.SetMargins(2, 2, 2, 2);
    w.BeginPage();
    w.SetFont("Times new roman", 12);
    const float cm = 28.346457f;
    w.DrawTextBox(1, 1, 10, 0, "Right aligned line", 0, 2, 1);
    w.DrawTextBox(1, 2, 10, 0, "Centred line", 0, 4, 1);
    const std::string paragraph =
        "Il committente affida all'appaltatore, che accetta, l'esecuzione dei lavori descritti "
        "nel capitolato, secondo le regole dell'arte e le prescrizioni della direzione dei lavori, "
        "nei tempi e con i modi stabiliti dal presente contratto.";
    w.DrawTextBox(1, 3, 10, 0, paragraph, 0.5f, 64, 1);
    const float bottom = w.GetY();
    doc.finish();
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";

    const auto lines = contenttest::bbox_lines(contenttest::bbox_words(doc.file()));
    ASSERT_GE(lines.size(), 5u);
    const double left = (2 + 1) * cm, right = (2 + 11) * cm;
    EXPECT_NEAR(lines[0].x_max, right, 0.01);
    EXPECT_NEAR((lines[1].x_min + lines[1].x_max) / 2, (2 + 6) * cm, 0.01);
    const std::size_t last = lines.size() - 1;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        // The first line is indented by half a centimetre.
        EXPECT_NEAR(lines[i].x_min, i == 2 ? left + 0.5 * cm : left, 0.01) << i;
        if (i != last) {
            EXPECT_NEAR(lines[i].x_max, right, 0.01) << i;
        } else {
            EXPECT_LT(lines[i].x_max, right - 1);
        }
    }
    // The last line's descent (the reader takes the font's own, a little
    // deeper) ends at the box's bottom.
    EXPECT_NEAR(lines[last].y_max, (2 + bottom) * cm, 0.1);
}

// Boxes fed with their own remainders, over seeded random texts, show
// every word once and in order.
TEST(TextBox, RemaindersDrawEveryWordExactlyOnce) {
    std::mt19937 random(7121926);
    const std::string letters = "abcdefghijklmnopqrstuvwxyz\xE0\xE8\xE9\xEC\xF2\xF9'";
    for (int round = 0; round < 12; ++round) {
        Document doc;
        auto& w = doc.writer;
        w.SetScale(3);
        w.SetMargins(2, 2, 2, 2);
        w.BeginPage();
        w.SetFont("Times new roman", 12);
        std::string text;
        std::vector<std::string> expected;
        const int words = 50 + static_cast<int>(random() % 400);
        for (int n = 0; n < words; ++n) {
            const int kind = static_cast<int>(random() % 12);
            if (kind == 0) text += "\r\n";
            else if (kind == 1) text += "  ";
            std::string word;
            const int len = 1 + static_cast<int>(random() % 14);
            for (int c = 0; c < len; ++c) word += letters[random() % letters.size()];
            if (!text.empty() && text.back() != ' ' && text.back() != '\n') text += ' ';
            text += word;
            expected.push_back(word);
        }
        const std::int32_t align = (round % 4 == 0) ? 9 : (round % 4 == 1) ? 64 : (round % 4 == 2) ? 4 : 2;
        const float width = 3.0f + static_cast<float>(random() % 14);
        const float height = 0.2f + static_cast<float>(random() % 50) / 10.0f;
        std::string pending = text;
        int boxes = 0;
        float y = 0;
        do {
            if (y + height > w.GetPageHeight(true)) {
                w.BeginPage();
                y = 0;
            }
            pending = w.DrawTextBox(0, y, width, height, pending, 0.5f, align, 1);
            y += height;
            ASSERT_LT(++boxes, 5000);
        } while (!pending.empty());
        const std::string pdf = doc.finish();
        std::vector<std::string> shown;
        for (const auto& s : shown_strings(pdf))
            for (const auto& word : words_of(s)) shown.push_back(word);
        EXPECT_EQ(shown, expected) << "round " << round;
    }
}

}  // namespace
