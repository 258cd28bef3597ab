// What the graphics-state setters write into the page content.
#include <cmath>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "support/tools.h"

using namespace coretest;

namespace {

// Runs `draw` on the only page of a fresh document and returns the page's
// content lines after the prefix and the page-begin colours.
template <typename Draw>
std::vector<std::string> lines_of(Draw draw, std::string* file_bytes = nullptr) {
    testsupport::TempDir dir;
    PdfWriter writer;
    writer.BeginDoc((dir / "g.pdf").string());
    writer.BeginPage();
    draw(writer);
    writer.EndDoc();
    const std::string pdf = testsupport::read_file(dir / "g.pdf");
    if (file_bytes) *file_bytes = pdf;
    const std::string tree = object_text(pdf, 1);
    const int page = std::stoi(tree.substr(tree.find("/Kids [") + 7));
    auto lines = content_lines(pdf, page);
    // "1 0 0 -1 ... cm ", "", "0 0 0 rg", "0 0 0 RG"
    if (lines.size() < 4) {
        ADD_FAILURE() << "page content too short";
        return {};
    }
    EXPECT_EQ(lines[2], "0 0 0 rg");
    EXPECT_EQ(lines[3], "0 0 0 RG");
    lines.erase(lines.begin(), lines.begin() + 4);
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(CoreGraphicsState, FillAndLineColours) {
    EXPECT_EQ(lines_of([](PdfWriter& w) {
                  w.SetColorFill("");
                  w.SetColorFill("RED");
                  w.SetColorLine("Black");
                  w.SetColorFill("#CFC5C5");
                  w.SetColorFill("stripes;red");
                  w.SetColorLine("stripes;red");
                  w.SetColorFill("stripes");
                  w.SetColorLine("stripes");
                  w.SetColorFill("stripes;other");  // a pattern colour that is a pattern: nothing
                  w.SetColorFill("@1;2");           // no colour at all: ignored
                  w.SetColorLine("@1;2");
              }),
              (Lines{"0.969 0.071 0.051 rg", "0 0 0 RG", "0.812 0.773 0.773 rg",
                     "/xxCSxx cs 0.969 0.071 0.051 /STRIPES scn", "/xxCSxx CS 0.969 0.071 0.051 /STRIPES SCN",
                     "/Pattern cs /STRIPES scn", "/Pattern CS /STRIPES SCN"}));
}

// The text colour is only remembered; a bad hex colour fails with a type
// mismatch. Neither writes a line.
TEST(CoreGraphicsState, TextColourAndABadHexColourWriteNothing) {
    EXPECT_EQ(lines_of([](PdfWriter& w) {
                  w.SetColorText("RED");
                  expect_pdf_error([&] { w.SetColorFill("#XYZ"); }, 13);
              }),
              Lines{});
}

TEST(CoreGraphicsState, LineWidthStyleAndDash) {
    EXPECT_EQ(lines_of([](PdfWriter& w) {
                  w.SetLineWidth(0);
                  w.SetLineWidth(-1);
                  w.SetLineStyle(2);
                  w.SetLineStyle(0, 10);
                  w.SetLineStyle(34);
                  w.SetDash();
                  w.SetDash("dash");
                  w.SetDash("3;1", 2);
                  w.SetDash("SOLID", 5);
                  w.SetDash("DashDot");
              }),
              (Lines{"0 w", "0 J", "1 j", "0 J", "0 j", "10 M", "1 J", "1 j", "[ ] 0 d", "[0.1 ] 0 d",
                     "[ 3 1 ] 2 d", "[ ] 0 d", "[0.1 0.05 0.05 0.05 ] 0 d"}));
}

TEST(CoreGraphicsState, LengthsFollowTheUnit) {
    EXPECT_EQ(lines_of([](PdfWriter& w) {
                  w.SetScale(3);
                  w.SetLineWidth(0.01f);
                  w.SetDash("DASH", 0.1f);
              }),
              (Lines{"0.283 w", "[2.835 ] 2.835 d"}));
}

TEST(CoreGraphicsState, TextStateOperators) {
    EXPECT_EQ(lines_of([](PdfWriter& w) {
                  w.SetCharSpacing(0.5f);
                  w.SetWordSpacing(-1.25f);
                  w.SetTextHorizontalScaling(80);
                  w.SetTextLineSpacing(1.5f);
                  w.SetTextMode(2);
              }),
              (Lines{"0.5 Tc", "-1.25 Tw", "80 Tz", "2 Tr"}));
}

TEST(CoreGraphicsState, EachAlphaMakesItsOwnState) {
    std::string pdf;
    EXPECT_EQ(lines_of(
                  [](PdfWriter& w) {
                      w.SetAlpha(150);
                      w.SetAlpha(50);
                      w.SetAlpha(50);
                      w.SetAlpha(-3);
                  },
                  &pdf),
              (Lines{"/GSTATE_1 gs", "/GSTATE_2 gs", "/GSTATE_3 gs", "/GSTATE_4 gs"}));
    EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.4");
    EXPECT_NE(object_text(pdf, 4).find("<</Type /ExtGState /ca 1 /CA 1 /BM /Normal >>"), std::string::npos);
    EXPECT_NE(object_text(pdf, 5).find("/ca 0.5 /CA 0.5"), std::string::npos);
    EXPECT_NE(object_text(pdf, 6).find("/ca 0.5 /CA 0.5"), std::string::npos);
    EXPECT_NE(object_text(pdf, 7).find("/ca 0 /CA 0"), std::string::npos);
    const std::string states = "/ExtGState << /GSTATE_1 4 0 R /GSTATE_2 5 0 R /GSTATE_3 6 0 R /GSTATE_4 7 0 R  >> \r";
    EXPECT_NE(object_text(pdf, 2).find(states), std::string::npos);
    EXPECT_NE(object_text(pdf, 3).find(states), std::string::npos);
}

TEST(CoreGraphicsState, NothingOpenDropsTheLine) {
    testsupport::TempDir dir;
    PdfWriter writer;
    writer.BeginDoc((dir / "d.pdf").string());
    EXPECT_NO_THROW(writer.SetColorFill("RED"));
    EXPECT_NO_THROW(writer.SetLineWidth(2));
    writer.EndDoc();
    const std::string pdf = testsupport::read_file(dir / "d.pdf");
    EXPECT_EQ(content_lines(pdf, 4), (Lines{"1 0 0 -1 0 842 cm ", "", "0 0 0 rg", "0 0 0 RG"}));
}

// Values that PDF readers reject are refused before anything is written,
// so the page stays readable.
TEST(CoreGraphicsState, ValuesReadersRejectAreRefusedAndWriteNothing) {
    auto refused = [](auto call) { expect_pdf_error(call, 5); };
    EXPECT_EQ(lines_of([&](PdfWriter& w) {
                  refused([&] { w.SetTextMode(8); });
                  refused([&] { w.SetTextMode(-1); });
                  refused([&] { w.SetDash("0;0"); });
                  refused([&] { w.SetDash("3;-1"); });
                  refused([&] { w.SetDash("3;1", -2); });
                  refused([&] { w.SetLineWidth(std::nanf("")); });
                  w.SetTextMode(7);
                  w.SetDash("0;2");
              }),
              (Lines{"7 Tr", "[ 0 2 ] 0 d"}));
}
