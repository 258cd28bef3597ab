// Arguments the writer refuses leave nothing behind: no half-written line,
// no stored value that breaks later lines; and recordings that could never
// be drawn, or would be lost, are not written that way.
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "content_fixture.h"

using namespace contenttest;

// A refused colour keeps the previous one: the later underlined lines are
// whole, in the colour in force, with every "q" closed.
TEST(RefusedValues, ARefusedColourIsNotKept) {
    REQUIRE_TOOL("pdftotext");
    Document doc;
    auto& w = doc.first_page();
    w.SetFont("Helvetica", 12, 4);
    w.SetColorFill("#00FF00");
    w.SetColorLine("#0000FF");
    expect_pdf_error([&] { w.SetColorFill("#GG0000"); }, 13, "", "fill");
    expect_pdf_error([&] { w.SetColorLine("#12345Z"); }, 13, "", "line");
    w.DrawText(10, 20, "Prima");
    w.DrawText(10, 40, "Seconda");
    const std::string pdf = doc.finish();
    const std::string content = page_content(pdf);
    EXPECT_EQ(count_of(content, "\rq\r"), 2u) << content;
    EXPECT_EQ(count_of(content, "\rQ"), 2u) << content;
    EXPECT_EQ(count_of(content, "0 1 0 rg"), 3u) << content;  // set, then restored after each line
    EXPECT_EQ(count_of(content, "0 0 1 RG"), 3u) << content;
    const std::string text = coretest::pdftotext(doc.file());
    EXPECT_NE(text.find("Prima"), std::string::npos) << text;
    EXPECT_NE(text.find("Seconda"), std::string::npos) << text;
}

// Magnitudes of ten million points or more are refused (6), values that are
// not numbers too (5), before anything of their line is written.
TEST(RefusedValues, HugeAndNonFiniteNumbersWriteNothing) {
    Document doc;
    auto& w = doc.first_page("Times", 12);
    const float huge = 1e30f, nan = std::nanf("");
    const struct {
        const char* what;
        int number;
        std::function<void(PdfWriter&)> call;
    } cases[] = {
        {"coordinate", 6, [&](PdfWriter& p) { p.DrawLine(huge, 0, 10, 10); }},
        {"line width", 6, [](PdfWriter& p) { p.SetLineWidth(1e20f); }},
        {"rounds up to ten million", 6, [](PdfWriter& p) { p.DrawRect(0, 0, 9999999.9f, 1); }},
        {"negative", 6, [](PdfWriter& p) { p.DrawCircle(-2e7f, 0, 5); }},
        {"text position", 6, [&](PdfWriter& p) { p.DrawText(huge, 10, "x"); }},
        {"box width", 6, [](PdfWriter& p) { p.DrawTextBox(0, 0, 1e12f, 100, "a b c", 0, 4); }},
        {"not a number", 5, [&](PdfWriter& p) { p.DrawLine(nan, 0, 10, 10); }},
        {"infinite width", 5, [](PdfWriter& p) { p.SetLineWidth(INFINITY); }},
    };
    for (const auto& c : cases) expect_pdf_error([&] { c.call(w); }, c.number, "", c.what);
    w.DrawLine(9999999, 0, -9999999, 0);
    const std::string pdf = doc.finish();
    EXPECT_EQ(page_content(pdf), "9999999 0 m -9999999 0 l\rS");
}

// An object played inside its own recording is left out (it would paint
// itself); recordings still open at the document's end are written and
// used, not dropped.
TEST(RefusedValues, RecordingsThatCouldNotBeDrawn) {
    REQUIRE_TOOL("pdftotext");
    Document doc;
    auto& w = doc.writer;
    w.BeginObject("Self", 7);
    w.DrawRect(0, 0, 10, 10, 4);
    w.PlayObject("Self");
    w.EndObject();
    w.BeginPage();
    w.SetFont("Helvetica", 12);
    w.BeginTiling("Cells", 0, 0, 4, 4, 4, 4);
    w.DrawRect(0, 0, 2, 2, 4);
    w.BeginObject("Late", 7 + 16);  // all pages, over their content
    w.DrawText(20, 20, "Registrato");
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Self Do"), 1u);  // on the page only
    EXPECT_NE(pdf.find("/Late "), std::string::npos);
    EXPECT_NE(pdf.find("/CELLS "), std::string::npos);
    EXPECT_NE(pdf.find("q /Late Do Q"), std::string::npos);
    const std::string text = coretest::pdftotext(doc.file());
    EXPECT_NE(text.find("Registrato"), std::string::npos) << text;
}
