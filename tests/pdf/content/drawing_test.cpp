#include <gtest/gtest.h>

#include "content_fixture.h"
#include "reader_checks.h"

namespace {

using contenttest::count_of;
using contenttest::Document;
using contenttest::has_line;

using contenttest::page_content;

TEST(Drawing, LineAndCurrentPoint) {
    Document doc;
    auto& w = doc.first_page();
    w.DrawLine(10, 20, 110, 20);
    EXPECT_FLOAT_EQ(w.GetX(), 110);
    EXPECT_FLOAT_EQ(w.GetY(), 20);
    w.MoveTo(5, 5);
    w.DrawLineTo(15, 25, 2);
    EXPECT_FLOAT_EQ(w.GetX(), 15);
    EXPECT_EQ(page_content(doc.finish()), "10 20 m 110 20 l\rS\r5 5 m\r15 25 l\rh S");
}

TEST(Drawing, Rectangles) {
    Document doc;
    auto& w = doc.writer;
    w.SetScale(2);
    w.BeginPage();
    w.DrawRect(10, 20, 30, 40);
    w.SetScale(0);
    w.DrawRect(0, 0, 100, 50, 0, 10, 0);  // round nothing: five corners, no curve
    w.DrawRect(0, 0, 20, 40, 5, 50, 1);   // radius clamped to 10
    const std::string content = page_content(doc.finish());
    EXPECT_NE(content.find("28.346 56.693 85.039 113.386 re\rS\r"), std::string::npos) << content;
    EXPECT_NE(content.find("0 0 m\r100 0 l\r100 50 l\r0 50 l\r0 0 l\r\rS\r"), std::string::npos) << content;
    EXPECT_NE(content.find("10 0 m\r20 0 l\r20 40 l\r0 40 l\r0 10 l\r0 4.5 4.5 0 10 0 c\rf*"), std::string::npos)
        << content;
}

TEST(Drawing, CircleIsTheEllipseOfEqualRadii) {
    Document a, b;
    a.writer.BeginPage();
    a.writer.DrawCircle(50, 60, 10, 4);
    b.writer.BeginPage();
    b.writer.DrawEllipse(50, 60, 10, 10, 4);
    const std::string content = page_content(a.finish());
    EXPECT_EQ(content, page_content(b.finish()));
    EXPECT_EQ(content,
              "60 60 m\r60 54.477 55.523 50 50 50 c\r44.477 50 40 54.477 40 60 c\r"
              "40 65.523 44.477 70 50 70 c\r55.523 70 60 65.523 60 60 c\rB*");
}

TEST(Drawing, ArcsAndPies) {
    Document doc;
    auto& w = doc.first_page();
    w.DrawArc(100, 100, 10);
    const std::string full = page_content(doc.finish());
    EXPECT_EQ(count_of(full, " l\r"), 361u);
    EXPECT_EQ(full.rfind("100 100 m\r110 100 m\r110 100 l\r", 0), 0u) << full.substr(0, 60);

    Document pie;
    pie.writer.BeginPage();
    pie.writer.DrawArc(0, 0, 10, 0, 90, 1, false, 45, 4);
    EXPECT_EQ(page_content(pie.finish()), "0 0 m\r10 0 l\r7.071 7.071 l\r0 10 l\r0 0 l\rB*");
}

TEST(Drawing, CurvesAndPolygons) {
    Document doc;
    auto& w = doc.first_page();
    w.MoveTo(0, 0);
    w.DrawCurve(1, 1, 2, 3, 4, 5, 6, 1);
    EXPECT_FLOAT_EQ(w.GetX(), 5);
    w.DrawCurve(2, 1, 2, 3, 4, 0, 0, 1);
    w.DrawCurve(3, 1, 2, 3, 4, 0, 0, 1);
    w.DrawCurve(5, 1, 2, 3, 4);
    EXPECT_FLOAT_EQ(w.GetX(), 3);
    w.DrawPolygon(50, 50, 10, 4);
    EXPECT_EQ(page_content(doc.finish()),
              "0 0 m\r1 2 3 4 5 6 c\r\r1 2 3 4 v\r\r1 2 3 4 y\r\rS\r"
              "60 50 m\r50 60 l\r40 50 l\r50 40 l\rh S");
}

TEST(Drawing, Polyline) {
    Document doc;
    auto& w = doc.first_page();
    std::vector<float> points{10, 10, 20, 30, 40, 5};
    w.DrawPolyline(points, 2);
    EXPECT_FLOAT_EQ(w.GetX(), 10);
    w.DrawPolyline(points);
    EXPECT_FLOAT_EQ(w.GetX(), 40);
    EXPECT_EQ(page_content(doc.finish()), "10 10 m\r20 30 l\r40 5 l\r\rh S\r10 10 m\r20 30 l\r40 5 l\r\rS");
}

// Arguments that would hang or read past the points are refused, and
// nothing of the refused drawing reaches the page.
TEST(Drawing, RefusedArguments) {
    Document doc;
    auto& w = doc.first_page();
    w.SetXY(1, 2);
    contenttest::expect_pdf_error([&] { w.DrawArc(0, 0, 10, 0, 360, 1, false, 0); }, 5);
    contenttest::expect_pdf_error([&] { w.DrawArc(0, 0, 10, 0, 3.0e9f, 1); }, 6);
    contenttest::expect_pdf_error([&] { w.DrawPolygon(0, 0, 10, 0); }, 11);
    std::vector<float> odd{1, 2, 3};
    contenttest::expect_pdf_error([&] { w.DrawPolyline(odd); }, 9);
    std::vector<float> none;
    contenttest::expect_pdf_error([&] { w.DrawPolyline(none); }, 9);
    contenttest::expect_pdf_error([&] { w.DrawLine(0, 0, std::numeric_limits<float>::infinity(), 0); }, 5);
    EXPECT_FLOAT_EQ(w.GetX(), 1);
    EXPECT_FLOAT_EQ(w.GetY(), 2);
    // A huge start angle with a span of nothing ends at once.
    w.DrawArc(0, 0, 1, 1.0e30f, 1.0e30f, 1, true);
    EXPECT_LE(count_of(page_content(doc.finish()), " l\r"), 3u);
}

// The site sign's page: a red rectangle over the whole margin box.
TEST(Drawing, FullPageFilledRectangleByPixels) {
    REQUIRE_TOOL("pdftoppm");
    Document doc;
    auto& w = doc.writer;
    w.SetScale(3);
    w.SetMargins(0, 0, 0, 0);
    w.BeginPage();
    w.SetColorFill("RED");
    w.SetColorLine("WHITE");
    w.DrawRect(0, 0, w.GetPageWidth(true), w.GetPageHeight(true), 4, 0, 15);
    const std::string pdf = doc.finish();
    EXPECT_NE(pdf.find("\r0 0 596 842 re\rB*"), std::string::npos);
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";
    const auto image = contenttest::render_colour(doc.file(), 1, 36);
    ASSERT_EQ(image.width, 298);
    ASSERT_EQ(image.height, 421);
    int red = 0;
    for (int y = 2; y < image.height - 2; ++y)
        for (int x = 2; x < image.width - 2; ++x) {
            const unsigned char* p = image.at(x, y);
            if (p[0] > 230 && p[1] < 40 && p[2] < 40) ++red;
        }
    EXPECT_EQ(red, (image.width - 4) * (image.height - 4));
}

TEST(Drawing, RoundedRectangleByPixels) {
    REQUIRE_TOOL("pdftoppm");
    Document doc;
    auto& w = doc.writer;
    w.SetMargins(50, 0, 50, 0, false);
    w.BeginPage();
    w.SetColorFill("Black");
    w.DrawRect(50, 50, 200, 100, 5, 30);
    doc.finish();
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";
    const auto image = contenttest::render_grey(doc.file(), 1, 72);
    ASSERT_EQ(image.width, 596);
    // Page coordinates: the rectangle spans 100..300 x 100..200.
    EXPECT_GT(image.at(102, 102), 200);  // cut away by the rounded corner
    EXPECT_GT(image.at(297, 197), 200);
    EXPECT_LT(image.at(130, 130), 50);   // inside the corner's circle
    EXPECT_LT(image.at(200, 150), 50);
    EXPECT_LT(image.at(101, 150), 50);   // the straight left edge
    EXPECT_LT(image.at(200, 101), 50);   // and the top edge
    EXPECT_GT(image.at(98, 150), 200);   // outside
    EXPECT_GT(image.at(200, 203), 200);
}

}  // namespace
