// The metafile and EPS translators: what each record or operator becomes,
// damaged files, and how DrawImage puts a translation into the page.
#include <gtest/gtest.h>

#include "../content/content_fixture.h"
#include "decoded.h"
#include "pdf/content/eps_translator.h"
#include "pdf/content/wmf_translator.h"
#include "picture_files.h"

namespace {

using namespace picturetest;
using contenttest::count_of;
using contenttest::Document;
using coretest::expect_pdf_error;

const pdf::VectorFit kNatural = [](pdf::VectorSize natural) { return natural; };

TEST(WmfTranslator, RecordsBecomeOperators) {
    // Frame 0,0 - 1440,720 at 1440 per inch: 72 x 36 points; y runs down.
    struct Case {
        const char* what;
        ByteString records;
        std::string operators;
    };
    const Case cases[] = {
        {"line with the default pen", wmf_record(0x0214, {100, 0}) + wmf_record(0x0213, {720, 1440}),
         "0 0 0 RG 0.05 w [] 0 d 0 31 m 72 0 l S"},
        {"polyline, dashed pen of 40 units",
         wmf_pen(1, 40, kRed) + wmf_select(0) + wmf_record(0x0325, {3, 0, 0, 720, 720, 1440, 0}),
         "1 0 0 RG 2 w [6 2] 0 d 0 36 m 36 0 l 72 36 l S"},
        {"polygon with a brush and the default pen",
         wmf_brush(0, kBlue) + wmf_select(0) + wmf_record(0x0324, {3, 0, 0, 720, 720, 1440, 0}),
         "0 0 1 rg 0 0 0 RG 0.05 w [] 0 d 0 36 m 36 0 l 72 36 l b*"},
        {"poly-polygon with a hollow brush, dotted pen",
         wmf_brush(1, kBlue) + wmf_pen(2, 0, kGreen) + wmf_select(0) + wmf_select(1) +
             wmf_record(0x0538, {2, 3, 0, 0, 0, 720, 0, 1440, 720, 720, 720, 720, 0}),
         "0 1 0 RG 0 w [1 1] 0 d 0 36 m 36 36 l 72 0 l h s"},
        {"rectangle, hollow pen, window moved and stretched",
         wmf_pen(5, 1, kRed) + wmf_select(0) + wmf_record(0x020B, {100, 200}) + wmf_record(0x020C, {72, 144}) +
             wmf_rectangle(200, 100, 344, 172),
         "1 1 1 rg 0 36 m 72 36 l 72 0 l 0 0 l h f*"},
        {"deleted object's slot taken by the next",
         wmf_pen(0, 0, kRed) + wmf_record(0x01F0, {0}) + wmf_pen(0, 0, kBlue) + wmf_select(0) +
             wmf_record(0x0213, {0, 1440}),
         "0 0 1 RG 0 w [] 0 d 0 36 m 72 36 l S"},
        {"fonts take a slot; unknown records are skipped",
         wmf_record(0x02FB, {0, 0, 0, 0, 0}) + wmf_pen(0, 0, kBlue) + wmf_record(0x0817, {1, 2, 3, 4, 5}) +
             wmf_select(1) + wmf_record(0x0213, {0, 1440}),
         "0 0 1 RG 0 w [] 0 d 0 36 m 72 36 l S"},
    };
    for (const Case& c : cases) {
        const std::string file = wmf_file(0, 0, 1440, 720, 1440, c.records);
        const auto d = pdf::translate_wmf(span_of(file), kNatural);
        EXPECT_DOUBLE_EQ(d.size.width, 72) << c.what;
        EXPECT_DOUBLE_EQ(d.size.height, 36) << c.what;
        EXPECT_EQ(d.operators, c.operators) << c.what;
    }
}

TEST(WmfTranslator, RefusesDamagedFiles) {
    const std::string good = red_over_blue_wmf();
    std::string no_key = good;
    no_key[0] = 'x';
    std::string tiny_record = wmf_file(0, 0, 10, 10, 72, "");
    tiny_record.replace(tiny_record.size() - 6, 4, std::string("\x02\0\0\0", 4));
    tiny_record.replace(tiny_record.size() - 2, 2, std::string("\x13\x02", 2));
    struct Case {
        const char* what;
        std::string file;
        int error;
    };
    const Case cases[] = {
        {"not placeable", no_key, 321},
        {"frame of no width", wmf_file(5, 0, 5, 10, 72, ""), 321},
        {"0 units per inch", wmf_file(0, 0, 10, 10, 0, ""), 321},
        {"record of 2 words", tiny_record, 321},
        {"more points than the record holds", wmf_file(0, 0, 10, 10, 72, wmf_record(0x0325, {9, 1, 1})), 321},
        {"too few parameters", wmf_file(0, 0, 10, 10, 72, wmf_record(0x041B, {1})), 321},
        {"selecting an object never made", wmf_file(0, 0, 10, 10, 72, wmf_select(3)), 321},
        {"window extent of 0", wmf_file(0, 0, 10, 10, 72, wmf_record(0x020C, {0, 5})), 321},
        {"record past the end", good.substr(0, good.size() - 10), 62},
        {"header cut short", good.substr(0, 30), 62},
    };
    for (const Case& c : cases)
        expect_pdf_error([&] { pdf::translate_wmf(span_of(c.file), kNatural); }, c.error, "", c.what);
}

TEST(EpsTranslator, OperatorsAreWrittenAnew) {
    const std::string start = "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r";
    struct Case {
        const char* what;
        std::string body;
        std::string operators;
    };
    // Box 10 20 110 70: the drawing's origin moves to (10, 20).
    const Case cases[] = {
        {"path operators", "10 20 m 110 70 L 20 30 40 50 60 70 c 1 2 3 4 v 5 6 7 8 y 9 9 C h S",
         "0 0 m\r100 50 l\r10 10 30 30 50 50 c\r-9 -18 -7 -16 v\r-5 -14 -3 -12 y\rh\rS"},
        {"painting", "n N f F s S b B 0 0 m W n", "n\rn\rh f\rf\rs\rS\rb\rB\r-10 -20 m\rW\rn"},
        {"colours, clamped", ".5 g 2 G 0 1 .25 0 k 1 0 0 0 K 1 0.5 0 Xa 0 0 -1 XA",
         "0.5 g\r1 G\r0 1 0.25 0 k\r1 0 0 0 K\r1 0.5 0 rg\r0 0 0 RG"},
        {"line state", "2.5 w 1 j 2 J 4 M 7 j 0.5 M [3 2]1 d [] 0 d", "2.5 w\r1 j\r2 J\r4 M\r[3 2] 1 d\r[] 0 d"},
        {"strings, names and procedures draw nothing",
         "(a 1 2 m \\) (b) 3 4 l) pop /n {0 0 m 1 1 l} def <41 42> 7 8 m",
         "-3 -12 m"},
        {"a string over two lines", "(first 1 1 m\n2 2 l) pop 5 5 m", "-5 -15 m"},
        {"groups balanced", "q q 1 1 m Q Q Q Q q", "q\rq\r-9 -19 m\rQ\rQ\rq\rQ"},
        {"numbers with too few operands are dropped", "1 m 1 2 3 c 1 2 3 l", "-8 -17 l"},
    };
    for (const Case& c : cases) {
        const std::string file = eps_file("10 20 110 70", c.body);
        const auto d = pdf::translate_eps(span_of(file), kNatural);
        EXPECT_DOUBLE_EQ(d.size.width, 100) << c.what;
        EXPECT_DOUBLE_EQ(d.size.height, 50) << c.what;
        std::string expected = start + c.operators;
        if (expected.back() == '\r') expected.pop_back();
        EXPECT_EQ(d.operators, expected) << c.what;
    }

    // Scaled to twice the size: points and lengths follow.
    const std::string file = eps_file("0 0 10 10", "1 1 m 3 w [1 2] 0 d");
    const auto d = pdf::translate_eps(span_of(file), [](pdf::VectorSize) { return pdf::VectorSize{20, 20}; });
    EXPECT_EQ(d.operators, "0 g 0 G 2 w [] 0 d 0 j 0 J 10 M\r2 2 m\r6 w\r[2 4] 0 d");

    // A DOS binary EPS: the PostScript section only; the bounding box at
    // the end.
    const std::string ps = "%!PS-Adobe-3.0 EPSF-3.0\r%%BoundingBox: (atend)\r0 0 m\r%%Trailer\r"
                           "%%BoundingBox: 0 0 4 4\r";
    std::string binary = "\xC5\xD0\xD3\xC6";
    put32le(binary, 30);
    put32le(binary, static_cast<std::uint32_t>(ps.size()));
    binary += std::string(18, '\0') + ps + "TIFF preview";
    EXPECT_EQ(pdf::translate_eps(span_of(binary), kNatural).operators, "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r0 0 m");
}

TEST(EpsTranslator, RefusesDamagedFiles) {
    std::string binary = "\xC5\xD0\xD3\xC6";
    put32le(binary, 30);
    put32le(binary, 1000);
    binary += std::string(30, ' ');
    struct Case {
        const char* what;
        std::string file;
        int error;
    };
    const Case cases[] = {
        {"not PostScript", "GIF89a", 321},
        {"no bounding box", "%!PS\n0 0 m\n", 321},
        {"empty bounding box", eps_file("10 10 10 20", ""), 321},
        {"bounding box of words", eps_file("a b c d", ""), 321},
        {"binary header past the end", binary, 62},
        {"binary header cut short", binary.substr(0, 6), 62},
    };
    for (const Case& c : cases)
        expect_pdf_error([&] { pdf::translate_eps(span_of(c.file), kNatural); }, c.error, "", c.what);
}

TEST(DrawImage, VectorPicturesAreTranslatedAtEveryCallOrNotAtAll) {
    testsupport::TempDir dir;
    const auto wmf = dir / "shapes.WMF";
    const auto eps = dir / "shapes.eps";
    const auto damaged = dir / "damaged.wmf";
    const auto truncated = dir / "truncated.ai";
    testsupport::write_file(wmf, red_over_blue_wmf());
    testsupport::write_file(eps, red_over_blue_eps());
    testsupport::write_file(damaged, red_over_blue_wmf().substr(0, 56) + std::string("\x01\0\0\0\x13\x02", 6));
    std::string binary = "\xC5\xD0\xD3\xC6";
    put32le(binary, 30);
    put32le(binary, 5000);
    testsupport::write_file(truncated, binary + red_over_blue_eps());

    Document doc;
    auto& w = doc.first_page();
    w.SetXY(7, 8);
    struct Case {
        std::filesystem::path file;
        int error;
    };
    const Case failures[] = {{damaged, 321}, {truncated, 62}, {dir / "missing.eps", 53}, {dir / "missing.wmf", 53}};
    for (const Case& c : failures) {
        w.DrawImage(c.file.string(), 10, 10, 50, 50);
        EXPECT_EQ(w.ErrNumber(), c.error) << c.file;
        EXPECT_EQ(w.ErrSource(), "PdfWriter.DrawImage") << c.file;
        EXPECT_NE(w.ErrDescription().find(c.file.string()), std::string::npos) << w.ErrDescription();
    }
    for (int i = 0; i < 2; ++i) {
        w.DrawImage(wmf.string(), 10, 10, 0, 30);  // 80 x 60 points: width 40
        w.DrawImage(eps.string(), 10, 10);
    }
    EXPECT_FLOAT_EQ(w.GetX(), 7);
    EXPECT_FLOAT_EQ(w.GetY(), 8);
    const std::string content = contenttest::page_content(doc.finish());
    EXPECT_EQ(content.rfind("q\r1 0 0 -1 10 40 cm\r", 0), 0u) << content;
    EXPECT_EQ(count_of(content, "q\r1 0 0 -1 10 40 cm\r"), 2u);
    EXPECT_EQ(count_of(content, "q\r1 0 0 -1 10 70 cm\r"), 2u);
    EXPECT_EQ(count_of(content, "q\r1 0 0 -1 "), 4u);
    EXPECT_EQ(count_of(content, "\rQ"), 4u);
    EXPECT_NE(content.find("0 15 m 40 15 l 40 0 l 0 0 l h f*"), std::string::npos) << content;
}

}  // namespace
