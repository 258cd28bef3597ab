#include <cmath>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "content_fixture.h"
#include "reader_checks.h"

namespace {

using contenttest::count_of;
using contenttest::Document;
using testsupport::run_command;
using testsupport::shell_quote;

TEST(StandardFonts, RecordsAndFontObjects) {
    Document doc;
    auto& w = doc.writer;
    w.SetFont("Times new roman", 12);
    w.SetFont("TIMES");
    EXPECT_FLOAT_EQ(w.TextLength("A"), 8.664f);  // same record, still 12 points
    w.SetFont("helvetica", 8);
    w.SetFont("Arial");
    w.SetFont("Arial", 8, 1);
    w.SetFont("Arial", 8, 3);
    w.SetFont("Arial", 8, 4);  // underline only: the plain face
    w.SetFont("Symbol", 10, 1);
    w.SetFont("Courier", 10);
    w.SetFont("Courier", 10, 2);
    w.SetFont("Arial", 10, 0, 1);
    w.SetFont("Arial", 10, 0, 0);
    w.SetFont("Arial", 10, 0, 2);  // any encoding but MacRoman is the WinAnsi record
    w.BeginPage();
    const std::string pdf = doc.finish();

    EXPECT_EQ(count_of(pdf, "/Type /Font "), 8u) << pdf;
    EXPECT_NE(pdf.find("/Name /TimesNewRoman /BaseFont /TimesNewRoman /FirstChar 0 /LastChar 255\n"
                       "/Encoding << /Type /Encoding /BaseEncoding /WinAnsiEncoding>>\n >>\nendobj"),
              std::string::npos);
    EXPECT_NE(pdf.find("/Name /Arial,Bold /BaseFont /Arial,Bold "), std::string::npos);
    EXPECT_NE(pdf.find("/Name /Arial,BoldItalic /BaseFont /Arial,BoldItalic "), std::string::npos);
    EXPECT_NE(pdf.find("/Name /Symbol /BaseFont /Symbol /FirstChar 0 /LastChar 255\n >>"), std::string::npos);
    EXPECT_NE(pdf.find("/Name /CourierNew,Italic /BaseFont /CourierNew,Italic "), std::string::npos);
    EXPECT_NE(pdf.find("/Name /MACArial /BaseFont /Arial /FirstChar 0 /LastChar 255\n"
                       "/Encoding << /Type /Encoding /BaseEncoding /MacRomanEncoding>>"),
              std::string::npos);
    EXPECT_EQ(count_of(pdf, "/Name /Arial "), 1u);

    REQUIRE_TOOL("pdffonts");
    const auto fonts = run_command("pdffonts " + shell_quote(doc.file().string()));
    EXPECT_EQ(fonts.err, "");
    const std::string expected[] = {"TimesNewRoman", "Arial", "Arial,Bold", "Arial,BoldItalic", "Symbol"};
    for (const auto& name : expected) EXPECT_NE(fonts.out.find("\n" + name + " "), std::string::npos) << name;
    std::istringstream lines(fonts.out);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("name", 0) == 0 || line.rfind("----", 0) == 0 || line.empty()) continue;
        ++rows;
        EXPECT_NE(line.find("Type 1"), std::string::npos) << line;
        if (line.rfind("Symbol", 0) == 0) {
            EXPECT_NE(line.find("Type 1            Symbol "), std::string::npos) << line;  // its own encoding
        } else if (line.find("MacRoman") == std::string::npos) {
            EXPECT_NE(line.find("WinAnsi"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(rows, 8);
}

TEST(StandardFonts, SizeRules) {
    Document doc;
    auto& w = doc.writer;
    w.SetFont("Courier");
    EXPECT_FLOAT_EQ(w.TextLength("x"), 6.0f);  // first font: 10 points
    w.SetFont("Courier", 20);
    w.SetFont("Times");
    EXPECT_FLOAT_EQ(w.TextLength(" "), 5.0f);  // the size is kept
    w.SetFontSize(0);
    EXPECT_FLOAT_EQ(w.TextLength("x"), 0.0f);
    w.SetFont("Times");
    EXPECT_FLOAT_EQ(w.TextLength(" "), 2.5f);  // 0 becomes 10
    w.SetFont("Times", 20);
    doc.finish();
    // The next document starts again at 10 points.
    testsupport::TempDir dir;
    w.BeginDoc((dir / "next.pdf").string());
    w.SetFont("Times");
    EXPECT_FLOAT_EQ(w.TextLength(" "), 2.5f);
    w.EndDoc();
}

// The writer's own line height and descent of each family: TextHeight, and
// the baseline of a box's first line at line height + descent below its top.
TEST(StandardFonts, LineHeightAndDescentOfEveryFamily) {
    struct Row { const char* family; int height; const char* baseline; };
    const Row rows[] = {{"Times", 1107, "108.91"},      {"Courier", 1133, "108.33"}, {"Symbol", 1225, "110.05"},
                        {"ZapfDingbats", 1221, "110"}, {"Arial", 1221, "110"},      {"Other", 1221, "110"}};
    Document doc;
    auto& w = doc.first_page();
    for (const Row& r : rows) {
        w.SetFont(r.family, 10);
        EXPECT_FLOAT_EQ(w.TextHeight(), r.height / 100.0f) << r.family;
        w.DrawTextBox(0, 100, 200, 0, r.family, 0, 0, 1);
    }
    const std::string pdf = doc.finish();
    for (const Row& r : rows)
        EXPECT_TRUE(contenttest::has_line(pdf, "1 0 0 -1 0 " + std::string(r.baseline) + " Tm")) << r.family;
}

TEST(StandardFonts, MeasurementWithTextSettings) {
    Document doc;
    auto& w = doc.first_page("Times new roman", 12);
    EXPECT_FLOAT_EQ(w.TextLength(""), 0.0f);
    w.SetWordSpacing(2);
    EXPECT_FLOAT_EQ(w.TextLength("   "), 15.0f);
    w.SetWordSpacing(0);
    w.SetCharSpacing(1);
    EXPECT_FLOAT_EQ(w.TextLength("AA"), 2 * 8.664f + 2);
    w.SetCharSpacing(0);
    w.SetTextHorizontalScaling(50);
    EXPECT_FLOAT_EQ(w.TextLength("A"), 4.332f);
    w.SetTextHorizontalScaling(100);
    // Apostrophe and grave accent: Italian text is full of them.
    EXPECT_NEAR(w.TextLength("'"), 180 * 0.012, 1e-5);
    EXPECT_NEAR(w.TextLength("`"), 333 * 0.012, 1e-5);
    w.SetFont("Arial", 10);
    w.SetScale(2);
    EXPECT_NEAR(w.TextHeight(), 12.21 / 2.8346455, 1e-5);
    w.SetFont("ZapfDingbats", 10);
    w.SetScale(0);
    EXPECT_FLOAT_EQ(w.TextLength("\xB7\xB8\xFF"), 7.88f + 7.88f);
    doc.finish();
}

// A family the writer does not know is measured as Arial, but its record is
// found again by its own name, so every "Tf" names a resource that exists,
// and no two fonts share a name (qpdf would find a key twice in /Font).
TEST(StandardFonts, UnknownFamilyKeepsItsOwnResource) {
    Document doc;
    auto& w = doc.first_page("My Font", 10);
    w.DrawText(10, 20, "one");
    w.SetFont("Arial", 10);
    w.DrawText(10, 40, "two");
    w.SetFont("my font", 10);
    w.DrawText(10, 60, "three");
    w.SetFont("Odd(Name)/x", 10);
    w.DrawText(10, 80, "four");
    // "MACArial" both as the MacRoman Arial and as a family of that name.
    w.SetFont("Arial", 10, 0, 1);
    w.DrawText(10, 100, "five");
    w.SetFont("MACArial", 10);
    w.DrawText(10, 120, "six");
    w.SetFont("Arial", 10, 0, 1);
    w.DrawText(10, 140, "seven");
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Type /Font "), 5u);  // MyFont, Arial, the odd name, two MACArial
    EXPECT_EQ(count_of(pdf, "/MACArial 10 Tf"), 2u);
    EXPECT_EQ(count_of(pdf, "/MACArial_2 10 Tf"), 1u);
    EXPECT_EQ(count_of(pdf, "/Name /MyFont "), 1u);
    EXPECT_EQ(count_of(pdf, "/MyFont 10 Tf"), 2u);
    EXPECT_NE(pdf.find("/Arial 10 Tf"), std::string::npos);
    EXPECT_NE(pdf.find("/Odd#28Name#29#2Fx 10 Tf"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Arial "), std::string::npos);
    REQUIRE_TOOL("pdftotext");
    const std::string text = coretest::pdftotext(doc.file());
    for (const char* word : {"four", "five", "six", "seven"}) EXPECT_NE(text.find(word), std::string::npos) << word;
}

// An empty family is a family of its own too: its "Tf" names a resource
// whose name is not empty, numbered like a name another font holds.
TEST(StandardFonts, EmptyFamilyGetsANamedResource) {
    Document doc;
    auto& w = doc.first_page();
    w.SetFont("", 10);
    w.DrawText(10, 20, "vuoto");
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/_2 10 Tf"), 1u);
    EXPECT_EQ(count_of(pdf, "/ 10 Tf"), 0u);
    REQUIRE_TOOL("pdftotext");
    EXPECT_NE(coretest::pdftotext(doc.file()).find("vuoto"), std::string::npos);
}

// A standard family in any letter case, bold, plain and bold again, gives
// the font objects, the /Font resources and the "Tf" lines its usual
// spelling gives.
TEST(StandardFonts, TheFamilysLetterCaseChangesNothing) {
    const auto fonts_of = [](const char* first, const char* then) {
        Document doc;
        auto& w = doc.first_page();
        w.SetFont(first, 10, 1);
        w.DrawText(10, 20, "uno");
        w.SetFont(then, 10, 0);
        w.DrawText(10, 40, "due");
        w.SetFont(then, 10, 1);
        w.DrawText(10, 60, "tre");
        const std::string pdf = doc.finish();
        std::string kept;
        for (std::size_t at = pdf.find("/Type /Font "); at != std::string::npos; at = pdf.find("/Type /Font ", at + 1))
            kept += pdf.substr(at, pdf.find("endobj", at) - at);
        const std::size_t resources = pdf.find("/Font <<\r");
        kept += pdf.substr(resources, pdf.find(">>", resources) - resources);
        return kept + contenttest::page_content(pdf);
    };
    const std::string usual = fonts_of("Arial", "Arial");
    EXPECT_EQ(count_of(usual, "/Type /Font "), 2u);
    EXPECT_EQ(fonts_of("arial", "ARIAL"), usual);
    EXPECT_EQ(fonts_of("ARIAL", "arial"), usual);
}

TEST(StandardFonts, AbortForgetsTheSelection) {
    Document doc;
    auto& w = doc.writer;
    w.SetFont("Times", 12);
    w.Abort();
    EXPECT_EQ(w.TextLength("A"), 0.0f);
    EXPECT_THROW(w.DrawTextBox(0, 0, 100, 0, "A"), PdfError);
}

TEST(StandardFonts, NewFontNeedsAnOpenDocumentAndItsFailureChangesNothing) {
    PdfWriter w;
    w.SetFontSize(7);
    contenttest::expect_pdf_error([&] { w.SetFont("Times", 12); }, 52);
    EXPECT_EQ(w.TextLength("A"), 0.0f);
    testsupport::TempDir dir;
    w.BeginDoc((dir / "a.pdf").string());
    w.SetFont("Times");  // no size: the one from before the failure
    EXPECT_FLOAT_EQ(w.TextHeight(), 1107 * 7 / 1000.0f);
}

struct Face {
    const char* family;
    int style;
    const char* label;
    const char* base_font;
};

// Codes whose widths are the writer's own rather than the font's.
bool exception_code(const std::string& family, int code) {
    if (family == "Symbol") return code < 32 || (code >= 127 && code <= 160) || code == 240 || code == 255;
    if (family == "ZapfDingbats") return code < 32 || code == 127 || (code >= 142 && code <= 160) || code == 240 || code == 255;
    if (code < 32 || code == 127 || code == 129 || code == 141 || code == 143 || code == 144 || code == 157) return true;
    if (family == "Courier") return false;
    return code == 175 || code == 177 || code == 181 || code == 247;
}

// Where poppler's built-in metrics have no glyph (ZapfDingbats 128-141)
// or another width than the font metrics (Courier plusminus), mutool's
// reading of the same file is the independent measure.
bool poppler_gap(const std::string& family, int code) {
    return (family == "ZapfDingbats" && code >= 128 && code <= 141) || (family == "Courier" && code == 177);
}

class GlyphWidths : public ::testing::TestWithParam<Face> {};

// A run of ten of each glyph between two markers; the distance pdftotext
// measures between the markers is the run's width.
TEST_P(GlyphWidths, MatchAnIndependentReader) {
    REQUIRE_TOOL("pdftotext");
    const Face face = GetParam();
    Document doc(std::string(face.label) + ".pdf");
    auto& w = doc.writer;
    w.SetFont(face.family, 10, face.style);
    const float marker = w.TextLength("H");
    std::vector<int> codes;
    std::vector<float> expected;
    float y = 0;
    for (int code = 32; code < 256; ++code) {
        if (exception_code(face.family, code)) continue;
        if (codes.size() % 50 == 0) {
            w.BeginPage();
            y = 30;
        }
        const std::string run(10, static_cast<char>(code));
        codes.push_back(code);
        expected.push_back(w.TextLength(run));
        w.DrawText(40, y, "H" + run + "H");
        y += 15;
    }
    doc.finish();
    // One font object, under the writer's name for the face.
    const auto fonts = run_command("pdffonts " + shell_quote(doc.file().string()));
    EXPECT_EQ(count_of(fonts.out, "Type 1 "), 1u) << fonts.out;
    EXPECT_NE(fonts.out.find("\n" + std::string(face.base_font) + " "), std::string::npos) << fonts.out;
    const auto lines = contenttest::bbox_lines(contenttest::bbox_words(doc.file()));
    ASSERT_EQ(lines.size(), codes.size());
    std::vector<contenttest::StextLine> mutool_lines;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (poppler_gap(face.family, codes[i])) {
            if (mutool_lines.empty()) mutool_lines = contenttest::stext_lines(doc.file());
            ASSERT_EQ(mutool_lines.size(), codes.size());
            const double measured = mutool_lines[i].x_max - mutool_lines[i].x_min - 2 * marker;
            EXPECT_NEAR(measured, expected[i], 0.01) << face.label << " code " << codes[i] << " (mutool)";
            continue;
        }
        const double measured = lines[i].x_max - lines[i].x_min - 2 * marker;
        EXPECT_NEAR(measured, expected[i], 0.01) << face.label << " code " << codes[i];
        EXPECT_NEAR(lines[i].x_min, 40, 0.01) << face.label << " code " << codes[i];
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStandardFace, GlyphWidths,
                         ::testing::Values(Face{"Arial", 0, "Helvetica", "Arial"},
                                           Face{"Arial", 1, "HelveticaBold", "Arial,Bold"},
                                           Face{"Arial", 2, "HelveticaOblique", "Arial,Italic"},
                                           Face{"Arial", 3, "HelveticaBoldOblique", "Arial,BoldItalic"},
                                           Face{"Times", 0, "TimesRoman", "TimesNewRoman"},
                                           Face{"Times", 1, "TimesBold", "TimesNewRoman,Bold"},
                                           Face{"Times", 2, "TimesItalic", "TimesNewRoman,Italic"},
                                           Face{"Times", 3, "TimesBoldItalic", "TimesNewRoman,BoldItalic"},
                                           Face{"Courier", 0, "Courier", "CourierNew"},
                                           Face{"Courier", 1, "CourierBold", "CourierNew,Bold"},
                                           Face{"Courier", 2, "CourierOblique", "CourierNew,Italic"},
                                           Face{"Courier", 3, "CourierBoldOblique", "CourierNew,BoldItalic"},
                                           Face{"Symbol", 0, "Symbol", "Symbol"},
                                           Face{"ZapfDingbats", 0, "ZapfDingbats", "ZapfDingbats"}),
                         [](const ::testing::TestParamInfo<Face>& info) { return std::string(info.param.label); });

}  // namespace
