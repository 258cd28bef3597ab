// Transforms, reusable objects, tiling patterns and gradients.
#include <algorithm>

#include <gtest/gtest.h>

#include "../pictures/picture_files.h"
#include "content_fixture.h"
#include "reader_checks.h"

namespace {

using contenttest::count_of;
using contenttest::Document;
using contenttest::has_line;

using contenttest::page_content;

TEST(Transforms, Lines) {
    Document doc;
    auto& w = doc.first_page();
    for (float angle : {0.0f, 360.0f, -720.0f, 0.4f}) w.AxisRotation(angle);
    w.AxisRotation(0.6f);
    w.AxisRotation(315);
    w.AxisRotation(90);
    w.AxisRotation(30);
    w.AxisScaling(1, 1);
    w.AxisSkewing(45, 0);
    w.AxisSkewing(30, 0);
    w.SetScale(2);
    w.SetXY(5, 5);
    w.AxisTranslation(10, 20);
    EXPECT_FLOAT_EQ(w.GetX(), 0);
    EXPECT_FLOAT_EQ(w.GetY(), 0);
    EXPECT_THROW(w.AxisSkewing(90, 0), PdfError);
    EXPECT_THROW(w.AxisRotation(3.0e9f), PdfError);
    EXPECT_EQ(page_content(doc.finish()),
              "1 -0.01 0.01 1 0 0 cm\r0.707 0.707 -0.707 0.707 0 0 cm\r0 -1 1 0 0 0 cm\r"
              "0.866 -0.5 0.5 0.866 0 0 cm\r1 0 0 1 0 0 cm\r1 1 0 1 0 0 cm\r1 0.577 0 1 0 0 cm\r"
              "1 0 0 1 28.346 56.693 cm");
}

TEST(ReusableObjects, RecordedOnceAndPaintedByTheFlags) {
    Document doc;
    auto& w = doc.writer;
    const std::pair<const char*, int> objects[] = {{"every", 7}, {"even", 2}, {"odd", 5},
                                                   {"notfirst", 15}, {"firstover", 1 + 16}, {"never", 0}};
    for (const auto& [name, options] : objects) {
        w.BeginObject(name, options);
        w.BeginObject("ignored", 7);  // already recording: nothing changes
        w.DrawLine(0, 0, 10, 10);
        w.EndObject();
    }
    w.EndObject();  // nothing open: ignored
    for (int page = 1; page <= 3; ++page) {
        w.BeginPage();
        w.DrawLine(1, 1, 2, 2);
        w.PlayObject("never");
    }
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Subtype /Form"), 6u);
    EXPECT_EQ(count_of(pdf, "ignored"), 0u);
    EXPECT_NE(pdf.find("<< /Type /XObject /Subtype /Form /FormType 1 /Name /every\r/BBox [-1192 -1684 1192 1684]\r"
                       "/Matrix [1 0 0 1 0 0]\n/Length "),
              std::string::npos);
    std::vector<std::string> pages;
    for (std::size_t at = pdf.find("0 0 0 RG\r"); at != std::string::npos; at = pdf.find("0 0 0 RG\r", at + 1))
        pages.push_back(page_content(pdf, at));
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], "q /every Do Q\rq /odd Do Q\r1 1 m 2 2 l\rS\rq /never Do Q\rq /firstover Do Q");
    EXPECT_EQ(pages[1], "q /every Do Q\rq /even Do Q\rq /notfirst Do Q\r1 1 m 2 2 l\rS\rq /never Do Q");
    EXPECT_EQ(pages[2], "q /every Do Q\rq /odd Do Q\rq /notfirst Do Q\r1 1 m 2 2 l\rS\rq /never Do Q");
}

// Any alias gives a valid name; a page begun while an object is still being
// recorded does not paint it into itself or name a missing resource.
TEST(ReusableObjects, AliasesAndPagesDuringARecording) {
    Document doc;
    auto& w = doc.writer;
    w.BeginObject("intestazione (pagina)", 7);
    w.DrawLine(0, 0, 10, 0);
    w.EndObject();
    w.BeginObject("late", 7);
    w.DrawLine(0, 5, 10, 5);
    w.BeginPage();  // "late" is still open: no automatic placement now
    w.EndObject();
    w.PlayObject("intestazione (pagina)");
    w.BeginPage();
    const std::string pdf = doc.finish();
    EXPECT_NE(pdf.find("/Name /intestazione#20#28pagina#29\r"), std::string::npos);
    EXPECT_EQ(count_of(pdf, "q /intestazione#20#28pagina#29 Do Q"), 2u);
    EXPECT_EQ(count_of(pdf, "q /late Do Q"), 1u);  // on the second page only
}

// No object paints itself, directly or through the objects it paints (which
// may be recorded after it): such a play is dropped, every other one kept.
TEST(ReusableObjects, NoObjectPaintsItself) {
    Document doc;
    auto& w = doc.writer;
    const std::pair<const char*, std::vector<const char*>> recordings[] = {
        {"A", {"B"}},            // B is not recorded yet
        {"B", {"A", "C"}},       // A paints B: dropped
        {"C", {"A", "D", "B"}},  // A and B paint C through B: dropped
        {"D", {"D"}},
    };
    for (const auto& [name, plays] : recordings) {
        w.BeginObject(name);
        w.DrawLine(0, 0, 1, 1);
        for (const char* played : plays) w.PlayObject(played);
        w.EndObject();
    }
    w.BeginPage();
    w.PlayObject("A");
    w.PlayObject("C");
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "q /A Do Q"), 1u);  // on the page only
    EXPECT_EQ(count_of(pdf, "q /B Do Q"), 1u);  // in A
    EXPECT_EQ(count_of(pdf, "q /C Do Q"), 2u);  // in B and on the page
    EXPECT_EQ(count_of(pdf, "q /D Do Q"), 1u);  // in C
}

// An object, an automatic object and a tiling pattern each defined twice
// under one name: every page shows the definition in force when it was
// drawn, and the second object may paint the first.
TEST(ReusableObjects, DefinedTwiceEachPageShowsItsOwn) {
    Document doc;
    auto& w = doc.writer;
    const auto square = [&](const char* colour, float x, float width) {
        w.SetColorFill(colour);
        w.DrawRect(x, 10, width, 20, 5);
    };
    const auto tiling = [&](const char* colour) {
        w.BeginTiling("dots", 0, 0, 10, 10, 10, 10);
        w.SetColorFill(colour);
        w.DrawRect(0, 0, 10, 10, 5);
        w.EndTiling();
    };
    w.BeginObject("logo");
    square("#FF0000", 10, 20);
    w.EndObject();
    w.BeginObject("band", 7);
    square("#FF0000", 100, 60);
    w.EndObject();
    tiling("#FF0000");
    w.BeginPage();
    w.PlayObject("logo");
    w.SetColorFill("dots");
    w.DrawRect(200, 10, 30, 20, 5);
    w.BeginObject("logo");
    square("#0000FF", 50, 20);
    w.PlayObject("logo");  // the first one: no loop
    w.EndObject();
    w.BeginObject("band", 7);
    square("#0000FF", 100, 20);
    w.EndObject();
    tiling("#0000FF");
    w.BeginPage();
    w.PlayObject("logo");
    w.SetColorFill("dots");
    w.DrawRect(200, 10, 30, 20, 5);
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Name /logo_2\r"), 1u);
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";
    // x: the first logo, the second, the first band, what only the first
    // band covers, the pattern.
    const int probes[] = {20, 60, 110, 150, 215};
    const std::string shown[] = {"RWRRR", "RBBWB"};
    for (int page = 1; page <= 2; ++page) {
        const auto image = contenttest::render_colour(doc.file(), page, 72);
        std::string seen;
        for (const int x : probes) seen += image.colour(x, 20);
        EXPECT_EQ(seen, shown[page - 1]) << "page " << page;
    }
}

// An object named as the writer names a picture takes a resource of its
// own: the picture painted before it stays the picture.
TEST(ReusableObjects, NamedAfterAPictureBothShow) {
    testsupport::TempDir dir;
    const auto gif = dir / "rosso_blu.gif";
    testsupport::write_file(gif, picturetest::gif_file({picturetest::kRed, picturetest::kBlue},
                                                       {picturetest::halves_frame(4, 4)}));
    Document doc;
    auto& w = doc.first_page();
    w.DrawImage(gif.string(), 10, 10, 40, 40);
    w.BeginObject("_IMG_1");
    w.SetColorFill("#0000FF");
    w.DrawRect(100, 10, 40, 40, 5);
    w.EndObject();
    w.PlayObject("_IMG_1");
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Name /_IMG_1_2\r"), 1u);
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";
    // The picture's red top and blue bottom, the object's square.
    const auto image = contenttest::render_colour(doc.file(), 1, 72);
    EXPECT_EQ(std::string({image.colour(30, 20), image.colour(30, 40), image.colour(120, 30)}), "RBB");
}

// A cell whose box does not start at 0: what is drawn inside the box fills
// the pattern.
TEST(TilingPatterns, CellAwayFromTheOriginPaints) {
    Document doc;
    auto& w = doc.writer;
    w.BeginTiling("cell", 0, 10, 20, 30, 20, 20);
    w.SetColorFill("#0000FF");
    w.DrawRect(0, 10, 10, 10, 5);
    w.EndTiling();
    w.BeginPage();
    w.SetColorFill("cell");
    w.DrawRect(100, 100, 200, 200, 5);
    doc.finish();
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";
    const auto image = contenttest::render_colour(doc.file(), 1, 72);
    int blue = 0;
    for (int y = 101; y < 299; ++y)
        for (int x = 101; x < 299; ++x) blue += image.colour(x, y) == 'B';
    // A quarter of every cell.
    EXPECT_NEAR(blue, 198 * 198 / 4, 198 * 4);
}

// The contract's header: a rule, texts and the rotated draft watermark in
// one object painted on every page, while the page text stays horizontal.
TEST(ReusableObjects, RotatedWatermarkOnEveryPage) {
    REQUIRE_TOOL("pdftotext");
    Document doc;
    auto& w = doc.writer;
    w.SetScale(3);
    w.SetMargins(2, 2, 2, 2);
    w.BeginObject("header_footer", 7);
    w.SetLineWidth(0.01f);
    w.DrawLine(0, 0.8f, w.GetPageWidth(true), 0.8f);
    w.SetFont("Arial", 8);
    w.DrawTextBox(0, 0, w.GetPageWidth(true), 0.5f, "Contratto di appalto", 0, 4, 1);
    w.SetFont("Arial", 160);
    w.AxisRotation(315);
    w.SetColorText("#CFC5C5");
    w.DrawTextBox(3, 3, 30, 10, "BOZZA", 0, 9, 1);
    w.AxisRotation(0);
    w.SetFont("Arial", 8);
    w.SetColorText("#000000");
    w.EndObject();
    for (int page = 0; page < 3; ++page) {
        w.BeginPage();
        w.SetFont("Times new roman", 12);
        w.DrawTextBox(0, 2, w.GetPageWidth(true), 0,
                      "Il presente contratto regola i rapporti tra le parti per l'esecuzione dei lavori.", 0, 64, 1);
    }
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Name /header_footer"), 1u);
    EXPECT_NE(pdf.find("\r0.707 0.707 -0.707 0.707 0 0 cm\r"), std::string::npos);
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";

    const auto words = contenttest::bbox_words(doc.file());
    for (int page = 1; page <= 3; ++page) {
        int headers = 0;
        std::vector<contenttest::BboxWord> body, watermark;
        for (const auto& word : words) {
            if (word.page != page) continue;
            // The reader cuts the slanted 160-point word into tall pieces.
            if (word.y_max - word.y_min > 50) watermark.push_back(word);
            else if (word.text == "appalto") ++headers;
            else if (word.y_min > 100) body.push_back(word);
        }
        std::sort(watermark.begin(), watermark.end(),
                  [](const auto& a, const auto& b) { return a.x_min < b.x_min; });
        std::string slanted;
        for (const auto& piece : watermark) slanted += piece.text;
        EXPECT_EQ(slanted, "BOZZA") << page;
        // Running from the upper left towards the lower right.
        ASSERT_FALSE(watermark.empty());
        EXPECT_GT(watermark.back().y_min, watermark.front().y_min + 100);
        EXPECT_EQ(headers, 1) << page;
        ASSERT_FALSE(body.empty());
        // Horizontal text: every word of the first line on one baseline,
        // one font size high.
        for (const auto& word : body) {
            if (std::abs(word.y_min - body[0].y_min) > 20) continue;
            EXPECT_NEAR(word.y_min, body[0].y_min, 0.01) << word.text;
            EXPECT_NEAR(word.y_max - word.y_min, body[0].y_max - body[0].y_min, 0.01) << word.text;
            EXPECT_LT(word.y_max - word.y_min, 20);
        }
    }
}

TEST(TilingPatterns, RecordedCellUsedAsFill) {
    REQUIRE_TOOL("pdftoppm");
    Document doc;
    auto& w = doc.writer;
    // A name with a blank inside is still one valid name everywhere.
    w.BeginTiling(" Wide Stripes ", 0, 0, 10, 10, 10, 10);
    w.BeginTiling("second", 0, 0, 1, 1, 1, 1, 1);  // already recording: only the style flag
    w.SetColorFill("#FF0000");  // uncoloured while the flag is set: nothing
    w.BeginTiling("second", 0, 0, 1, 1, 1, 1, 0);
    w.SetColorFill("Black");
    w.DrawRect(0, 0, 5, 10, 5);
    w.EndTiling();
    w.EndTiling();
    w.BeginPage();
    w.SetColorFill("wide stripes");
    w.DrawRect(100, 100, 200, 200, 5);
    const std::string pdf = doc.finish();
    EXPECT_NE(pdf.find("<< /Type /Pattern /PatternType 1 /PaintType 1\r/TilingType 1\r/BBox [0 0 10 10]\r"
                       "/Resources 3 0 R\r/XStep 10 /YStep 10\r/Matrix [1 0 0 1 0 0]\n"),
              std::string::npos);
    EXPECT_NE(pdf.find("stream\n1 0 0 -1 0 10 cm\r0 0 0 rg\r0 0 5 10 re\rf*\nendstream"), std::string::npos) << pdf;
    EXPECT_EQ(count_of(pdf, "1 0 0 rg"), 0u);
    EXPECT_NE(pdf.find("/WIDE#20STRIPES "), std::string::npos);
    EXPECT_TRUE(has_line(pdf, "/Pattern cs /WIDE#20STRIPES scn"));
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";
    const auto image = contenttest::render_grey(doc.file(), 1, 72);
    int dark = 0, light = 0;
    for (int x = 101; x < 299; ++x) (image.at(x, 200) < 100 ? dark : light)++;
    EXPECT_GT(dark, 60);
    EXPECT_GT(light, 60);
}

TEST(Gradients, AxialAndRadialDictionaries) {
    Document doc;
    auto& w = doc.writer;
    w.SetScale(2);
    w.AddGradient(" soft fade ", 2, "RED", "#0000FF", 0, 0, 10, 0);
    w.AddGradient("glow", 1, "White", "Black", 5, 5, 5, 5, 0, 10, true, false);
    w.BeginPage();
    const std::string pdf = doc.finish();
    EXPECT_NE(pdf.find("<</Type /Pattern /PatternType 2 /Matrix [ 1 0 0 -1 0 842] /Shading <<\r\n"
                       "/ColorSpace /DeviceRGB\r/ShadingType 2 /Coords [0 0 28.346 0]\r/Extend [false false] \r"
                       "/Function \r<< /FunctionType 3 /Domain [0.000 1.000] /Bounds [] /Encode [0 1 ] \r"
                       "/Functions [\r<< /FunctionType 2 /Domain [0.000 1.000] /C0 [0.969 0.071 0.051] "
                       "/C1 [0 0 1] /N 1 >>]\r>>\r>>\r>>\n"),
              std::string::npos)
        << pdf;
    EXPECT_NE(pdf.find("/ShadingType 3 /Coords [14.173 14.173 0 14.173 14.173 28.346]\r/Extend [true false]"),
              std::string::npos);
    EXPECT_NE(pdf.find("/SOFT#20FADE "), std::string::npos);
    EXPECT_NE(pdf.find("/GLOW "), std::string::npos);
}

// A gradient lands where drawing at the same coordinates lands, on a page
// with margins and inside a reusable object alike.
TEST(Gradients, FollowTheMarginsByPixels) {
    REQUIRE_TOOL("pdftoppm");
    Document doc;
    auto& w = doc.writer;
    w.SetMargins(100, 0, 100, 0, false);
    w.AddGradient("page", 2, "#FF0000", "#0000FF", 0, 0, 100, 0);
    w.BeginObject("boxed", 7);
    w.AddGradient("inside", 2, "#FF0000", "#0000FF", 0, 300, 0, 400);
    w.SetColorFill("inside");
    w.DrawRect(0, 300, 100, 100, 5);
    w.EndObject();
    w.BeginPage();
    w.SetColorFill("page");
    w.DrawRect(0, 0, 100, 100, 5);
    doc.finish();
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";
    const auto image = contenttest::render_colour(doc.file(), 1, 72);
    // Red end and blue end of the page gradient (left to right over page x
    // 100..200, rows 100..200) and of the object's (top to bottom over page
    // rows 400..500).
    const std::pair<const unsigned char*, const unsigned char*> ends[] = {
        {image.at(103, 150), image.at(197, 150)}, {image.at(150, 403), image.at(150, 497)}};
    for (const auto& [red, blue] : ends) {
        EXPECT_GT(red[0], 230);
        EXPECT_LT(red[2], 25);
        EXPECT_LT(blue[0], 25);
        EXPECT_GT(blue[2], 230);
    }
}

}  // namespace
