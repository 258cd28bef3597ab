#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <sys/stat.h>

#include "../content/content_fixture.h"
#include "../content/reader_checks.h"
#include "pdf/content/picture.h"
#include "pdf/core/error_texts.h"
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

// A picture file for the placement tests, made by our builders or by
// ImageMagick: its top half shows `top`, its bottom half `bottom`.
struct PictureFile {
    std::string name;
    std::function<void(const std::filesystem::path&)> make;
    bool needs_convert = false;
    Rgb top = kRed, bottom = kBlue;
    std::int16_t frame = 1;
};

void convert(const std::string& arguments, const std::filesystem::path& out) {
    const auto r = run_command("convert " + arguments + " " + shell_quote(out.string()));
    ASSERT_EQ(r.exit_code, 0) << r.err;
}

// Top half red, bottom half blue, 40 x 30 pixels, in any format convert knows.
const std::string kHalves = "-size 40x15 xc:red xc:blue -append";

std::function<void(const std::filesystem::path&)> written(std::string bytes) {
    return [bytes](const std::filesystem::path& f) { testsupport::write_file(f, bytes); };
}
std::function<void(const std::filesystem::path&)> converted(std::string arguments, std::string prefix = "") {
    return [arguments, prefix](const std::filesystem::path& f) {
        convert(arguments, prefix.empty() ? f : std::filesystem::path(prefix + f.string()));
    };
}

std::vector<PictureFile> red_over_blue_files() {
    const Image im = marked_halves(40, 30);
    const Rgb light_grey{192, 192, 192}, black{0, 0, 0};
    return {
        {"builder.gif", written(gif_file({kRed, kBlue}, {halves_frame(40, 30)}))},
        {"interlaced.gif", converted(kHalves + " -interlace GIF"), true},
        {"two-frame.gif", converted("-size 40x30 xc:green \\( " + kHalves + " \\)"), true, kRed, kBlue, 2},
        {"bottom-up.bmp", written(bmp_file(im, {40, 24}))},
        {"top-down-bit-fields.bmp", written(bmp_file(im, {124, 32, 3, true, {0xFF0000, 0xFF00, 0xFF}}))},
        {"rle4.bmp", written(bmp_file(im, {40, 4, 2}))},
        {"bmp2.bmp", converted(kHalves, "BMP2:"), true},
        {"bmp3.bmp", converted(kHalves, "BMP3:"), true},
        {"rle8.bmp", converted(kHalves + " -type Palette -compress RLE", "BMP3:"), true},
        {"bottom-left.tga", written(tga_file(im, {2, 24}))},
        {"top-left.tga", written(tga_file(im, {10, 32, 24, 0, true}))},
        {"bottom-right.tga", written(tga_file(im, {9, 8, 16, 1, false, true}))},
        {"top-right.tga", written(tga_file(im, {2, 16, 24, 0, true, true}))},
        // ImageMagick's own TGA writer stores the top row first while its
        // header says bottom first; netpbm writes what its header says.
        {"netpbm-rle.tga",
         [](const std::filesystem::path& f) {
             const auto r = run_command("convert " + kHalves + " ppm:- | ppmtotga -rgb > " + shell_quote(f.string()));
             ASSERT_EQ(r.exit_code, 0) << r.err;
         },
         true},
        {"shapes.wmf", written(red_over_blue_wmf())},
        {"shapes.eps", written(red_over_blue_eps())},
        {"shapes.ai", written(red_over_blue_eps())},
        {"baseline.jpg", converted(kHalves + " -quality 95"), true},
        {"progressive.jpg", converted(kHalves + " -quality 95 -interlace JPEG"), true},
        {"grey.jpg", converted("-size 40x15 xc:#C0C0C0 xc:black -append -colorspace Gray"), true, light_grey,
         black},
        // Poppler's plain CMYK to RGB gives this blue for C = M = 1.
        {"cmyk.jpg", converted(kHalves + " -quality 95 -colorspace CMYK"), true, kRed, Rgb{46, 49, 146}},
    };
}

// Pixels of the placed rectangle (100, 100) - (180, 160) at 72 dpi: `top`
// above the middle, `bottom` below, white around.
void expect_upright(const std::filesystem::path& pdf, const PictureFile& file, const std::string& what) {
    const auto image = contenttest::render_colour(pdf, 1, 72);
    ASSERT_GT(image.width, 200) << what;
    auto is = [&](int x, int y, Rgb c) {
        const unsigned char* p = image.at(x, y);
        return std::abs(p[0] - c.r) < 40 && std::abs(p[1] - c.g) < 40 && std::abs(p[2] - c.b) < 40;
    };
    auto colour = [&](int x, int y) {
        const unsigned char* p = image.at(x, y);
        return std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]);
    };
    EXPECT_TRUE(is(140, 110, file.top)) << what << ": top is " << colour(140, 110);
    EXPECT_TRUE(is(140, 150, file.bottom)) << what << ": bottom is " << colour(140, 150);
    EXPECT_TRUE(is(140, 95, kWhite)) << what << ": above the rectangle";
    EXPECT_TRUE(is(140, 165, kWhite)) << what << ": below the rectangle";
    EXPECT_TRUE(is(95, 130, kWhite)) << what << ": left of the rectangle";
    EXPECT_TRUE(is(185, 130, kWhite)) << what << ": right of the rectangle";
}

TEST(DrawImage, EveryFormatShowsUprightPlainAndProtected) {
    REQUIRE_TOOL("pdftoppm");
    testsupport::TempDir dir;
    for (const PictureFile& file : red_over_blue_files()) {
        if (file.needs_convert && !(testsupport::have_tool("convert") && testsupport::have_tool("ppmtotga"))) {
            if (testsupport::running_in_ci()) ADD_FAILURE() << "missing tool: convert or ppmtotga";
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
            w.DrawImage(picture.string(), 100, 100, 80, 60, file.frame);
            w.EndDoc();
            ASSERT_EQ(w.ErrNumber(), 0) << what;
            EXPECT_EQ(contenttest::reader_complaints(pdf), "") << what;
            expect_upright(pdf, file, what);
        }
    }
}

// Pictures whose stream is written in pieces of 1 MiB: a JPEG file copied
// as it lies (ending in zeros, which the ASCII85 length depends on) keeps
// every byte and its own filter only, and samples of more than a piece keep
// their length.
TEST(DrawImage, PicturesOfSeveralPiecesArriveWhole) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("pdfimages");
    testsupport::TempDir dir;
    const auto jpeg = dir / "noise.jpg";
    convert("-size 900x900 xc: +noise Random -quality 100", jpeg);
    std::string jpeg_bytes = testsupport::read_file(jpeg);
    ASSERT_GT(jpeg_bytes.size(), std::size_t{2} << 20);
    // Bytes after the end of the picture, a whole group of zeros last.
    jpeg_bytes += std::string(4 - jpeg_bytes.size() % 4, 'x') + std::string(4, '\0');
    testsupport::write_file(jpeg, jpeg_bytes);
    const auto bmp = dir / "wide.bmp";
    testsupport::write_file(bmp, bmp_file(marked_halves(1000, 400), {40, 24}));
    struct Case {
        std::filesystem::path file;
        int filters;
        const char* image_filter;
    };
    const Case cases[] = {
        {jpeg, 0, "[/DCTDecode ]"},
        {jpeg, 2, "[/DCTDecode ]"},
        {jpeg, 8, "[/ASCII85Decode /DCTDecode ]"},
        {bmp, 0, ""},
    };
    for (const Case& c : cases) {
        const std::string what = c.file.filename().string() + ", filters " + std::to_string(c.filters);
        Document doc;
        doc.writer.SetCompression(c.filters);
        doc.first_page().DrawImage(c.file.string(), 10, 10, 200, 80);
        const std::string pdf = doc.finish();
        const std::size_t at = pdf.find("/Subtype /Image");
        const std::string image = pdf.substr(at, pdf.find("stream", at) - at);
        const std::size_t filter = image.find("/Filter ");
        EXPECT_EQ(filter == std::string::npos ? "" : image.substr(filter + 8, image.find(']', filter) - filter - 7),
                  c.image_filter)
            << what;
        if (c.file != jpeg) continue;
        const auto r = run_command("pdfimages -all " + shell_quote(doc.file().string()) + " " +
                                   shell_quote((dir / "out").string()));
        ASSERT_EQ(r.exit_code, 0) << r.err;
        EXPECT_TRUE(testsupport::read_file(dir / "out-000.jpg") == jpeg_bytes) << what;
        std::filesystem::remove(dir / "out-000.jpg");
    }
}

// A JPEG that is cut while its stream is copied: the stream keeps its
// length, DrawImage fails with 62 and the page does not use the object. The
// document goes through a pipe, so the copy gets no further than what the
// test has read of it when the file is cut.
TEST(DrawImage, AJpegCutWhileItIsCopiedIsRefused) {
    REQUIRE_TOOL("convert");
    testsupport::TempDir dir;
    const auto jpeg = dir / "cut.jpg";
    convert(kHalves + " -quality 95", jpeg);
    constexpr std::uintmax_t MiB = 1 << 20;
    std::filesystem::resize_file(jpeg, 16 * MiB);  // a hole after the picture's end
    const auto pipe = dir / "pipe.pdf";
    const auto out = dir / "out.pdf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::thread reader([&] {
        std::ifstream from(pipe, std::ios::binary);
        std::ofstream to(out, std::ios::binary);
        std::vector<char> buffer(64 << 10);
        std::uintmax_t read = 0;
        while (from.read(buffer.data(), std::streamsize(buffer.size())) || from.gcount() > 0) {
            to.write(buffer.data(), from.gcount());
            const bool cut = read >= 4 * MiB;
            read += std::uintmax_t(from.gcount());
            if (!cut && read >= 4 * MiB) std::filesystem::resize_file(jpeg, 2 * MiB);
        }
    });
    PdfWriter w;
    w.BeginDoc(pipe.string());
    if (w.ErrNumber() != 0) std::ofstream{pipe};  // lets the reader go
    EXPECT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
    if (w.ErrNumber() == 0) {
        w.BeginPage();
        expect_pdf_error([&] { w.DrawImage(jpeg.string(), 10, 10, 80, 60); }, 62, "PdfWriter.DrawImage");
        w.EndDoc();
    }
    reader.join();
    EXPECT_EQ(contenttest::reader_complaints(out), "");
    EXPECT_EQ(count_of(testsupport::read_file(out), "/_IMG_1 Do"), 0u);
}

TEST(DrawImage, ReuseFramesAndPlacement) {
    testsupport::TempDir dir;
    const auto two_frames = dir / "Anim.gif";
    GifFrame small = halves_frame(4, 2);
    GifFrame tall = halves_frame(3, 12);
    testsupport::write_file(two_frames, gif_file({kRed, kBlue}, {small, tall}));
    // Another file whose name differs only in letter case: another picture.
    const auto upper = dir / "ANIM.GIF";
    testsupport::write_file(upper, gif_file({kGreen, kBlue}, {halves_frame(5, 5)}));

    Document doc;
    auto& w = doc.first_page();
    w.DrawImage(two_frames.string(), 5, 6);  // 4 x 2 pixels: 4 x 2 points
    EXPECT_FLOAT_EQ(w.GetX(), 5);
    EXPECT_FLOAT_EQ(w.GetY(), 6);
    // Reused whatever the frame number below 1 says: frame 1.
    w.DrawImage(two_frames.string(), 50, 60, 0, 10, 0);  // width from the height: 20
    w.DrawImage(upper.string(), 1, 2);
    w.DrawImage(two_frames.string(), 0, 0, 0, 24, 2);  // frame 2, 3 x 12: width 6
    w.DrawImage(two_frames.string(), 0, 0, 9, 0, 2);   // height from the width: 36
    const std::string pdf = doc.finish();

    EXPECT_EQ(count_of(pdf, "/Subtype /Image"), 3u);
    EXPECT_TRUE(has_line(pdf, "q 4 0 0 2 5 6 cm /_IMG_1 Do Q")) << pdf;
    EXPECT_TRUE(has_line(pdf, "q 20 0 0 10 50 60 cm /_IMG_1 Do Q"));
    EXPECT_TRUE(has_line(pdf, "q 5 0 0 5 1 2 cm /_IMG_2 Do Q"));
    EXPECT_TRUE(has_line(pdf, "q 6 0 0 24 0 0 cm /_IMG_3 Do Q"));
    EXPECT_TRUE(has_line(pdf, "q 9 0 0 36 0 0 cm /_IMG_3 Do Q"));
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
    EXPECT_EQ(sizes, (std::vector<std::string>{"4x2 index 8", "4x2 index 8", "5x5 index 8", "3x12 index 8",
                                               "3x12 index 8"}));
}

TEST(DrawImage, LastRectFollowsTheMarginsAndVectorsLeaveIt) {
    testsupport::TempDir dir;
    const auto gif = dir / "a.gif";
    const auto wmf = dir / "a.wmf";
    testsupport::write_file(gif, gif_file({kRed, kBlue}, {halves_frame(4, 4)}));
    testsupport::write_file(wmf, red_over_blue_wmf());
    Document doc;
    doc.writer.SetMargins(10, 0, 20, 0);
    auto& w = doc.first_page();
    w.DrawImage(gif.string(), 5, 6, 40, 30);
    w.DrawImage(wmf.string(), 100, 100, 40, 30);
    // A link without a rectangle of its own covers the last drawn item.
    w.LinkTo("https://example.org");
    const std::string pdf = doc.finish();
    EXPECT_NE(pdf.find("/Rect [15 816 55 786]"), std::string::npos) << pdf;
}

TEST(DrawImage, NextDocumentWritesThePictureAgain) {
    testsupport::TempDir dir;
    const auto gif = dir / "a.gif";
    testsupport::write_file(gif, gif_file({kRed, kBlue}, {halves_frame(4, 4)}));
    PdfWriter w;
    // A picture that cannot be written (no document yet) is not counted.
    expect_pdf_error([&] { w.DrawImage(gif.string(), 1, 1); }, 52);
    for (const char* name : {"first.pdf", "second.pdf"}) {
        w.BeginDoc((dir / name).string());
        w.BeginPage();
        w.DrawImage(gif.string(), 1, 1);
        w.EndDoc();
        const std::string pdf = testsupport::read_file(dir / name);
        EXPECT_EQ(count_of(pdf, "/Subtype /Image"), 1u) << name;
        EXPECT_TRUE(has_line(pdf, "q 4 0 0 4 1 1 cm /_IMG_1 Do Q")) << name;
        coretest::expect_qpdf_clean(dir / name, "", name);
    }
}

TEST(DrawImage, ColorMaskShowsWhatLiesBelow) {
    REQUIRE_TOOL("pdftoppm");
    testsupport::TempDir dir;
    Image im = marked_halves(40, 30);
    for (auto& p : im.pixels)
        if (p == kRed) p = kGreen;
    const auto bmp = dir / "mask.bmp";
    testsupport::write_file(bmp, bmp_file(im, {40, 8}));
    const auto gif = dir / "mask.gif";
    testsupport::write_file(gif, gif_file({kRed, kBlue}, {halves_frame(4, 4)}));
    Document doc;
    auto& w = doc.first_page();
    w.SetColorFill("Red");
    w.DrawRect(90, 90, 100, 80, 4 | 1);
    w.DrawImage(bmp.string(), 100, 100, 80, 60, 1, "#0000FF");
    // Only a BMP is given the colour: another picture ignores it, even
    // one that names no colour.
    w.DrawImage(gif.string(), 300, 300, 0, 0, 1, "#12345G");
    const std::string pdf = doc.finish();
    EXPECT_NE(pdf.find("/Mask [0 0 0 0 255 255]"), std::string::npos);
    EXPECT_EQ(count_of(pdf, "/Mask "), 1u);
    const auto image = contenttest::render_colour(doc.file(), 1, 72);
    const unsigned char* top = image.at(140, 110);
    const unsigned char* bottom = image.at(140, 150);
    EXPECT_TRUE(top[0] < 60 && top[1] > 200 && top[2] < 60);
    EXPECT_TRUE(bottom[0] > 200 && bottom[1] < 60 && bottom[2] < 60) << "the red rectangle shows through";
    expect_pdf_error([&] { w.DrawImage(bmp.string(), 1, 1, 0, 0, 1, "#12345G"); }, 5, "PdfWriter.DrawImage");
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
    // A damaged picture says which file it is.
    try {
        w.DrawImage(damaged.string(), 1, 1, 0, 0);
    } catch (const PdfError& e) {
        EXPECT_EQ(e.description(), pdf::error_text(62) + " - " + damaged.string());
    }
    expect_pdf_error([&] { w.DrawImage(good.string(), 1, std::nanf(""), 10, 10); }, 5, "", "NaN position");
    w.DrawImage(good.string(), 1, 2, 3, 4);
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Subtype /Image"), 1u);
    EXPECT_EQ(count_of(pdf, " Do Q"), 1u);
    EXPECT_TRUE(has_line(pdf, "q 3 0 0 4 1 2 cm /_IMG_1 Do Q"));
}

// The first bytes of a file against the kind its name gives, looked at
// before the rest is read; fewer bytes than a signature are checked as far
// as they go.
TEST(PictureHead, FirstBytesAreTheKindTheNameGives) {
    using pdf::PictureKind;
    const std::string tga = tga_file(marked_halves(2, 2), {2, 24}).substr(0, 18);
    std::string tga_type_7 = tga;
    tga_type_7[2] = 7;
    struct Case {
        PictureKind kind;
        std::string head;
        bool taken;
    };
    const Case cases[] = {
        {PictureKind::Gif, "GIF89a\x10", true},
        {PictureKind::Gif, "GIF87a", true},
        {PictureKind::Gif, "GIF8", true},
        {PictureKind::Gif, "GIF88a", false},
        {PictureKind::Gif, "\x89PNG", false},
        {PictureKind::Bmp, "BM\x36", true},
        {PictureKind::Bmp, "MB", false},
        {PictureKind::Jpeg, "\xFF\xD8\xFF\xE0", true},
        {PictureKind::Jpeg, std::string("\xFF\xD8\x00", 3), false},
        {PictureKind::Tga, tga, true},
        {PictureKind::Tga, tga_type_7, false},
        {PictureKind::Tga, tga_type_7.substr(0, 10), true},
        {PictureKind::Wmf, "\xD7\xCD\xC6\x9A", true},
        {PictureKind::Wmf, std::string("\x01\x00\x09\x00\x00\x03\x10", 7), true},
        {PictureKind::Wmf, std::string("\x02\x00\x09\x00\x00\x01", 6), true},
        {PictureKind::Wmf, std::string("\x01\x00\x08\x00", 4), false},
        {PictureKind::Eps, "%!PS-Adobe-3.0 EPSF-3.0", true},
        {PictureKind::Eps, "\xC5\xD0\xD3\xC6", true},
        {PictureKind::Eps, "%%", false},
    };
    for (const Case& c : cases) {
        const auto head = std::span(reinterpret_cast<const std::uint8_t*>(c.head.data()), c.head.size());
        if (c.taken)
            EXPECT_NO_THROW(pdf::check_picture_head(c.kind, head)) << c.head;
        else
            expect_pdf_error([&] { pdf::check_picture_head(c.kind, head); }, 321, "PdfWriter.DrawImage", c.head);
    }
}

}  // namespace
