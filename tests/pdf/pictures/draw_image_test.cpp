#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <functional>
#include <sstream>

#include "../content/content_fixture.h"
#include "../content/reader_checks.h"
#include "picture_files.h"
#include "support/tools.h"

namespace {

using namespace picturetest;
using contenttest::count_of;
using contenttest::Document;
using contenttest::has_line;
using coretest::expect_pdf_error;
using testsupport::run_command;
using testsupport::shell_quote;

// A picture file for the placement tests: made by our builders or by
// ImageMagick, whose top half is red and bottom half blue.
struct PictureFile {
    std::string name;
    std::function<void(const std::filesystem::path&)> make;
    bool needs_convert = false;
};

void convert(const std::string& arguments, const std::filesystem::path& out) {
    const auto r = run_command("convert " + arguments + " " + shell_quote(out.string()));
    ASSERT_EQ(r.exit_code, 0) << r.err;
}

// Top half red, bottom half blue, 40 x 30 pixels, in any format convert knows.
const char* const kHalves = "-size 40x15 xc:red xc:blue -append";

std::vector<PictureFile> red_over_blue_files() {
    return {
        {"builder.gif",
         [](const auto& f) { testsupport::write_file(f, gif_file({kRed, kBlue}, {halves_frame(40, 30)})); }},
        {"interlaced.gif", [](const auto& f) { convert(std::string(kHalves) + " -interlace GIF", f); }, true},
    };
}

// Pixels of the placed rectangle (100, 100) - (180, 160) at 72 dpi: red
// above the middle, blue below, white around.
void expect_red_over_blue(const std::filesystem::path& pdf, const std::string& what) {
    const auto image = contenttest::render_colour(pdf, 1, 72);
    ASSERT_GT(image.width, 200) << what;
    auto is = [&](int x, int y, int r, int g, int b) {
        const unsigned char* p = image.at(x, y);
        return std::abs(p[0] - r) < 40 && std::abs(p[1] - g) < 40 && std::abs(p[2] - b) < 40;
    };
    EXPECT_TRUE(is(140, 110, 255, 0, 0)) << what << ": top not red";
    EXPECT_TRUE(is(140, 150, 0, 0, 255)) << what << ": bottom not blue";
    EXPECT_TRUE(is(140, 95, 255, 255, 255)) << what << ": above the rectangle";
    EXPECT_TRUE(is(140, 165, 255, 255, 255)) << what << ": below the rectangle";
    EXPECT_TRUE(is(95, 130, 255, 255, 255)) << what << ": left of the rectangle";
    EXPECT_TRUE(is(185, 130, 255, 255, 255)) << what << ": right of the rectangle";
}

TEST(DrawImage, EveryFormatShowsUprightPlainAndProtected) {
    REQUIRE_TOOL("pdftoppm");
    testsupport::TempDir dir;
    for (const PictureFile& file : red_over_blue_files()) {
        if (file.needs_convert && !testsupport::have_tool("convert")) {
            if (testsupport::running_in_ci()) ADD_FAILURE() << "missing tool: convert";
            continue;
        }
        const auto picture = dir / file.name;
        file.make(picture);
        for (bool protect : {false, true}) {
            const std::string what = file.name + (protect ? " protected" : "");
            const auto pdf = dir / ("out.pdf");
            PdfWriter w;
            if (protect) w.SetProtection(4, "proprietario");
            w.SetCompression(2);
            w.BeginDoc(pdf.string());
            w.BeginPage();
            w.DrawImage(picture.string(), 100, 100, 80, 60);
            w.EndDoc();
            ASSERT_EQ(w.ErrNumber(), 0) << what;
            EXPECT_EQ(contenttest::reader_complaints(pdf), "") << what;
            expect_red_over_blue(pdf, what);
        }
    }
}

TEST(DrawImage, ReuseFramesAndPlacement) {
    testsupport::TempDir dir;
    const auto two_frames = dir / "Anim.gif";
    GifFrame small = halves_frame(4, 2);
    GifFrame tall = halves_frame(3, 12);
    testsupport::write_file(two_frames, gif_file({kRed, kBlue}, {small, tall}));
    // Not a file on a case-sensitive system: the reuse reads nothing.
    const std::string upper = (dir / "ANIM.GIF").string();

    Document doc;
    auto& w = doc.first_page();
    w.DrawImage(two_frames.string(), 5, 6);  // 4 x 2 pixels: 4 x 2 points
    EXPECT_FLOAT_EQ(w.GetX(), 5);
    EXPECT_FLOAT_EQ(w.GetY(), 6);
    // Reused whatever the frame number below 1 says: frame 1.
    w.DrawImage(upper, 50, 60, 0, 10, 0);        // width from the height: 20
    w.DrawImage(two_frames.string(), 0, 0, 0, 24, 2);  // frame 2, 3 x 12: width 6
    w.DrawImage(two_frames.string(), 0, 0, 9, 0, 2);   // height from the width: 36
    const std::string pdf = doc.finish();

    EXPECT_EQ(count_of(pdf, "/Subtype /Image"), 2u);
    EXPECT_TRUE(has_line(pdf, "q 4 0 0 2 5 6 cm /_IMG_1 Do Q")) << pdf;
    EXPECT_TRUE(has_line(pdf, "q 20 0 0 10 50 60 cm /_IMG_1 Do Q"));
    EXPECT_TRUE(has_line(pdf, "q 6 0 0 24 0 0 cm /_IMG_2 Do Q"));
    EXPECT_TRUE(has_line(pdf, "q 9 0 0 36 0 0 cm /_IMG_2 Do Q"));
    EXPECT_NE(pdf.find("/ProcSet [/PDF /Text /ImageB /ImageC /ImageI ]"), std::string::npos);

    const auto list = run_command("pdfimages -list " + shell_quote(doc.file().string()));
    ASSERT_EQ(list.exit_code, 0) << list.err;
    EXPECT_TRUE(list.err.empty()) << list.err;
    // Four placements of two pictures: 4 x 2 and 3 x 12, indexed, 8 bits.
    std::istringstream rows(list.out);
    std::string line;
    std::getline(rows, line);
    std::getline(rows, line);
    std::vector<std::string> sizes;
    while (std::getline(rows, line)) {
        const auto words = contenttest::words_of(line);
        ASSERT_GE(words.size(), 8u) << line;
        sizes.push_back(words[3] + "x" + words[4] + " " + words[5] + " " + words[7]);
    }
    EXPECT_EQ(sizes, (std::vector<std::string>{"4x2 index 8", "4x2 index 8", "3x12 index 8", "3x12 index 8"}));
}

TEST(DrawImage, RefusedPicturesLeaveNoTrace) {
    testsupport::TempDir dir;
    const auto good = dir / "good.gif";
    testsupport::write_file(good, gif_file({kRed, kBlue}, {halves_frame(4, 4)}));
    const auto damaged = dir / "damaged.gif";
    testsupport::write_file(damaged, gif_file({kRed, kBlue}, {halves_frame(4, 4)}).substr(0, 30));

    Document doc;
    auto& w = doc.first_page();
    struct Case {
        std::string file;
        int frame;
        int error;
    };
    const Case cases[] = {
        {(dir / "missing.gif").string(), 1, 53},
        {(dir / "picture.png").string(), 1, 321},
        {(dir / "picture.jpeg").string(), 1, 321},
        {(dir / "picture.TIF").string(), 1, 321},
        {damaged.string(), 1, 62},
        {good.string(), 2, 321},
        {"", 1, 321},
    };
    for (const Case& c : cases) {
        // Twice: a failed picture is not remembered as placed.
        for (int i = 0; i < 2; ++i)
            expect_pdf_error([&] { w.DrawImage(c.file, 1, 1, 0, 0, static_cast<std::int16_t>(c.frame)); }, c.error,
                             "PdfWriter.DrawImage", c.file);
    }
    expect_pdf_error([&] { w.DrawImage(good.string(), 1, std::nanf(""), 10, 10); }, 5, "", "NaN position");
    w.DrawImage(good.string(), 1, 2, 3, 4);
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Subtype /Image"), 1u);
    EXPECT_EQ(count_of(pdf, " Do Q"), 1u);
    EXPECT_TRUE(has_line(pdf, "q 3 0 0 4 1 2 cm /_IMG_1 Do Q"));
}

}  // namespace
