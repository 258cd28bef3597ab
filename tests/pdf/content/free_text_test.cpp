#include <gtest/gtest.h>

#include "content_fixture.h"
#include "reader_checks.h"

namespace {

using contenttest::Document;
using contenttest::has_line;

TEST(FreeText, DrawTextPlacement) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    const float width = w.TextLength("Testo");  // 26.664
    w.DrawText(100, 50, "Testo", 2);
    EXPECT_NEAR(w.GetX(), 100 + width, 1e-4);
    EXPECT_FLOAT_EQ(w.GetY(), 50);
    w.DrawText(100, 70, "Testo", 4);
    w.DrawText(100, 90, "Testo", 64);  // 64 And 7 is 0: left
    w.DrawText(100, 110, "   ");        // blank: nothing
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 73.336 50 Tm")) << pdf;
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 86.668 70 Tm"));
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 100 90 Tm"));
    EXPECT_EQ(pdf.find(" 110 Tm"), std::string::npos);
}

TEST(FreeText, WriteTextFlowsAlongTheBaseline) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    w.SetXY(10, 100);
    w.WriteText("E = mc");
    const float after_first = w.GetX();
    w.WriteText("2", 1);
    EXPECT_GT(w.GetX(), after_first);
    EXPECT_FLOAT_EQ(w.GetY(), 100);
    w.WriteText(" and H");
    w.WriteText("2", 2);
    w.WriteText("O");
    w.WriteText("small", 3, 50);
    EXPECT_FLOAT_EQ(w.GetY(), 100);
    w.SetFont("Times");
    EXPECT_NEAR(w.TextLength("A"), 8.664, 1e-4);  // the size came back
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 10 100 Tm"));
    // Superscript at 66 %: 7.92 points, baseline 100 + 7.92 x 0.216 - 13.284 / 2.
    EXPECT_TRUE(has_line(pdf, "/TimesNewRoman 7.92 Tf 7.92 TL"));
    EXPECT_NE(pdf.find(" 95.069 Tm"), std::string::npos) << pdf;
    // Subscript: 100 + 19.92 x 0.216.
    EXPECT_NE(pdf.find(" 104.303 Tm"), std::string::npos);
    EXPECT_TRUE(has_line(pdf, "/TimesNewRoman 6 Tf 6 TL"));
}

TEST(FreeText, WriteTextLnMovesToTheNextLine) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    w.SetXY(30, 40);
    w.WriteTextLn("first");
    EXPECT_FLOAT_EQ(w.GetX(), 0);
    EXPECT_NEAR(w.GetY(), 53.284, 1e-4);
    w.SetXY(30, 40);
    w.WriteTextLn("  ");
    EXPECT_FLOAT_EQ(w.GetX(), 0);
    EXPECT_FLOAT_EQ(w.GetY(), 40);
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "1 0 0 -1 30 40 Tm"));
    EXPECT_TRUE(has_line(pdf, "(first) Tj"));
}

TEST(FreeText, SpecialCharactersAreEscapedAndReadBack) {
    REQUIRE_TOOL("pdftotext");
    Document doc;
    auto& w = doc.first_page("Arial", 12);
    w.DrawText(50, 50, "perch\xE9 (art. 1) \\ l'opera \x80 100");
    const std::string pdf = doc.finish();
    EXPECT_TRUE(has_line(pdf, "(perch\xE9 \\(art. 1\\) \\\\ l'opera \x80 100) Tj"));
    const std::string text = coretest::pdftotext(doc.file());
    EXPECT_NE(text.find("perch\xC3\xA9 (art. 1) \\ l'opera \xE2\x82\xAC 100"), std::string::npos) << text;
}

}  // namespace
