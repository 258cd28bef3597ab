#include <cmath>
#include <limits>
#include <tuple>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "support/tools.h"

using namespace coretest;

TEST(CoreUnits, MillimetreMarginsOnA4) {
    testsupport::TempDir dir;
    PdfWriter writer;
    writer.SetScale(2);
    writer.SetPaperSize(0);
    writer.SetMargins(20, 20, 20, 20);
    EXPECT_NEAR(writer.GetPageWidth(true), 170.2556, 1e-3);
    EXPECT_NEAR(writer.GetPageHeight(true), 257.0389, 1e-3);
    EXPECT_NEAR(writer.GetPageWidth(), 210.2558, 1e-3);
    writer.BeginDoc((dir / "mm.pdf").string());
    writer.BeginPage();
    writer.EndDoc();
    const auto lines = content_lines(testsupport::read_file(dir / "mm.pdf"), 4);
    EXPECT_EQ(lines[0], "1 0 0 -1 56.693 785.307 cm ");
    EXPECT_EQ(lines[1], "0 0 482.614 728.614 re W n");
}

TEST(CoreUnits, CentimetresAsTheBuildersUseThem) {
    PdfWriter writer;
    writer.SetScale(3);
    writer.SetMargins(2, 2, 2, 1.5f);
    EXPECT_NEAR(writer.GetPageWidth(true), 17.0256, 1e-4);
    EXPECT_NEAR(writer.GetPageHeight(true), 26.2039, 1e-4);
    writer.SetScale(1);
    EXPECT_NEAR(writer.GetPageWidth(), 596.0 / 72.0, 1e-5);
    writer.SetScale(255, 10);
    EXPECT_NEAR(writer.GetPageWidth(), 59.6, 1e-5);
}

TEST(CoreUnits, UserPaperSizeUsesTheUnitInForce) {
    testsupport::TempDir dir;
    PdfWriter writer;
    writer.SetScale(3);
    writer.SetPaperSize(255, 100, 50);
    EXPECT_NEAR(writer.GetPageWidth() * 28.346457f, 2834.6458, 1e-2);
    writer.BeginDoc((dir / "u.pdf").string());
    writer.BeginPage();
    writer.EndDoc();
    const std::string pdf = testsupport::read_file(dir / "u.pdf");
    EXPECT_NE(object_text(pdf, 4).find("/MediaBox [0 0 2834.646 1417.323]"), std::string::npos);
}

TEST(CoreUnits, UnknownCodesAndUnusableValuesChangeNothing) {
    PdfWriter writer;
    writer.SetScale(3);
    writer.SetPaperSize(18);
    writer.SetScale(4);
    EXPECT_NEAR(writer.GetPageWidth(), 596.0 / 28.346457, 1e-4);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float factor : {0.0f, -2.0f, nan, inf}) {
        writer.SetScale(255, factor);
        EXPECT_NEAR(writer.GetPageWidth(), 596.0 / 28.346457, 1e-4) << factor;
    }
    for (auto [w, h] : {std::pair{0.0f, 10.0f}, {10.0f, 0.0f}, {-5.0f, 10.0f}, {nan, 10.0f}, {10.0f, inf}}) {
        writer.SetPaperSize(255, w, h);
        EXPECT_NEAR(writer.GetPageWidth() * 28.346457f, 596.0, 1e-3);
        EXPECT_NEAR(writer.GetPageHeight() * 28.346457f, 842.0, 1e-3);
    }
}

TEST(CoreUnits, LandscapeCodesSwapTheSides) {
    PdfWriter writer;
    for (auto [code, width, height] : {std::tuple{1, 842.0f, 596.0f}, {-8, 2384.0f, 3371.0f}, {17, 756.0f, 522.0f}}) {
        writer.SetPaperSize(code);
        EXPECT_FLOAT_EQ(writer.GetPageWidth(), width) << code;
        EXPECT_FLOAT_EQ(writer.GetPageHeight(), height) << code;
    }
}

TEST(CoreUnits, MarginsThatAreNotFiniteAreRefused) {
    PdfWriter writer;
    writer.SetMargins(10, 10, 10, 10);
    EXPECT_THROW(writer.SetMargins(std::numeric_limits<float>::quiet_NaN()), PdfError);
    writer.SetScale(3);
    EXPECT_THROW(writer.SetMargins(1, 1e38f), PdfError);  // overflows in points
    writer.SetScale(0);
    EXPECT_FLOAT_EQ(writer.GetPageWidth(true), 576);
    // Margins larger than the page are accepted.
    writer.SetMargins(400, 400);
    EXPECT_FLOAT_EQ(writer.GetPageWidth(true), -204);
}
