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
using testsupport::run_command;
using testsupport::shell_quote;

const pdf::VectorFit kNatural = [](pdf::VectorSize natural) { return natural; };

ByteString pens(int count, Rgb colour) {
    ByteString records;
    for (int i = 0; i < count; ++i) records += wmf_pen(0, 0, colour);
    return records;
}

TEST(WmfTranslator, RecordsBecomeOperators) {
    // Frame 0,0 - 1440,720 at 1440 per inch: 72 x 36 points; y runs down.
    struct Case {
        const char* what;
        ByteString records;
        std::string operators;
    };
    const Case cases[] = {
        {"line with the default pen", wmf_record(0x0214, {100, 0}) + wmf_record(0x0213, {720, 1440}),
         "0 0 0 RG 0.05 w [] 0 d 1 J 1 j 0 31 m 72 0 l S"},
        {"polyline, dashed pen of 40 units",
         wmf_pen(1, 40, kRed) + wmf_select(0) + wmf_record(0x0325, {3, 0, 0, 720, 720, 1440, 0}),
         "1 0 0 RG 2 w [6 2] 0 d 0 J 1 j 0 36 m 36 0 l 72 36 l S"},
        {"polygon with a brush and the default pen",
         wmf_brush(0, kBlue) + wmf_select(0) + wmf_record(0x0324, {3, 0, 0, 720, 720, 1440, 0}),
         "0 0 1 rg 0 0 0 RG 0.05 w [] 0 d 1 J 1 j 0 36 m 36 0 l 72 36 l b*"},
        {"poly-polygon with a hollow brush, dotted pen",
         wmf_brush(1, kBlue) + wmf_pen(2, 0, kGreen) + wmf_select(0) + wmf_select(1) +
             wmf_record(0x0538, {2, 3, 0, 0, 0, 720, 0, 1440, 720, 720, 720, 720, 0}),
         "0 1 0 RG 0 w [1 1] 0 d 0 J 1 j 0 36 m 36 36 l 72 0 l h s"},
        {"rectangle, hollow pen, window moved and stretched",
         wmf_pen(5, 1, kRed) + wmf_select(0) + wmf_record(0x020B, {100, 200}) + wmf_record(0x020C, {72, 144}) +
             wmf_rectangle(200, 100, 344, 172),
         "1 1 1 rg 0 36 m 72 36 l 72 0 l 0 0 l h f*"},
        {"deleted object's slot taken by the next",
         wmf_pen(0, 0, kRed) + wmf_record(0x01F0, {0}) + wmf_pen(0, 0, kBlue) + wmf_select(0) +
             wmf_record(0x0213, {0, 1440}),
         "0 0 1 RG 0 w [] 0 d 1 J 1 j 0 36 m 72 36 l S"},
        {"the lowest free slot first, whatever the order of deletion",
         wmf_pen(0, 0, kRed) + wmf_pen(0, 0, kGreen) + wmf_pen(0, 0, kRed) + wmf_record(0x01F0, {0}) +
             wmf_record(0x01F0, {2}) + wmf_record(0x01F0, {2}) + wmf_pen(0, 0, kWhite) + wmf_pen(0, 0, kBlue) +
             wmf_pen(0, 0, kRed) + wmf_select(2) + wmf_record(0x0213, {0, 1440}) + wmf_select(3) +
             wmf_record(0x0213, {0, 0}),
         "0 0 1 RG 0 w [] 0 d 1 J 1 j 0 36 m 72 36 l S\r1 0 0 RG 0 w [] 0 d 1 J 1 j 72 36 m 0 36 l S"},
        {"the table's last slot", pens(65534, kRed) + wmf_pen(0, 0, kBlue) + wmf_select(65534) +
                                      wmf_record(0x0213, {0, 1440}),
         "0 0 1 RG 0 w [] 0 d 1 J 1 j 0 36 m 72 36 l S"},
        {"dash-dot and dash-dot-dot pens", wmf_pen(3, 0, kRed) + wmf_pen(4, 0, kBlue) + wmf_select(0) +
                                               wmf_record(0x0213, {0, 1440}) + wmf_select(1) + wmf_record(0x0213, {0, 0}),
         "1 0 0 RG 0 w [3 1 1 1] 0 d 0 J 1 j 0 36 m 72 36 l S\r"
         "0 0 1 RG 0 w [3 1 1 1 1 1] 0 d 0 J 1 j 72 36 m 0 36 l S"},
        {"a pen's width follows the window's horizontal scale",
         wmf_pen(0, 4, kRed) + wmf_select(0) + wmf_record(0x020C, {72, 288}) + wmf_record(0x0213, {0, 288}),
         "1 0 0 RG 1 w [] 0 d 1 J 1 j 0 36 m 72 36 l S"},
        {"selecting a font changes neither pen nor brush",
         wmf_brush(0, kBlue) + wmf_record(0x02FB, {0, 0, 0, 0, 0}) + wmf_select(0) + wmf_select(1) +
             wmf_rectangle(0, 0, 1440, 720),
         "0 0 1 rg 0 0 0 RG 0.05 w [] 0 d 1 J 1 j 0 36 m 72 36 l 72 0 l 0 0 l h b*"},
        {"fonts take a slot; a background colour draws nothing",
         wmf_record(0x02FB, {0, 0, 0, 0, 0}) + wmf_pen(0, 0, kBlue) + wmf_record(0x0201, {1, 2}) +
             wmf_select(1) + wmf_record(0x0213, {0, 1440}),
         "0 0 1 RG 0 w [] 0 d 1 J 1 j 0 36 m 72 36 l S"},
        {"a clip in a state left saved", wmf_record(0x001E, {}) + wmf_record(0x0416, {360, 720, 0, 0}),
         "q\r0 36 36 -18 re W n\rQ"},
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
        {"more objects than the table holds", wmf_file(0, 0, 10, 10, 72, pens(65536, kRed)), 321},
        {"window extent of 0", wmf_file(0, 0, 10, 10, 72, wmf_record(0x020C, {0, 5})), 321},
        {"record past the end", good.substr(0, good.size() - 10), 62},
        {"header cut short", good.substr(0, 30), 62},
    };
    for (const Case& c : cases)
        expect_pdf_error([&] { pdf::translate_wmf(span_of(c.file), kNatural); }, c.error, "", c.what);
}

// What a metafile paints and the translator does not draw refuses it; so do
// the block transfers without a bitmap here, whose raster operation (1, 1)
// is not the brush's plain copy.
TEST(WmfTranslator, RefusesBitmapsTextsAndShapesItDoesNotDraw) {
    const ByteString box = wmf_rectangle(0, 0, 1440, 720);
    auto with = [](std::uint16_t function, std::size_t words) { return wmf_record(function, std::vector<int>(words, 1)); };
    struct Case {
        std::uint16_t function;
        std::size_t words;  // parameters
    };
    const Case cases[] = {
        {0x0922, 8 + 12}, {0x0940, 8 + 20}, {0x0B23, 10 + 12}, {0x0B41, 10 + 20}, {0x0F43, 11 + 20},
        {0x0D33, 9 + 20}, {0x0521, 4},      {0x0A32, 6},       {0x062F, 8},       {0x0418, 4},
        {0x061C, 6},      {0x041C, 6},      {0x0817, 8},       {0x081A, 8},       {0x0830, 8},
        {0x0419, 4},      {0x0228, 2},      {0x041F, 4},       {0x0922, 9},       {0x0940, 9},
        {0x0B23, 11},     {0x0B41, 11},     {0x061D, 6},
    };
    for (const Case& c : cases) {
        const std::string file = wmf_file(0, 0, 1440, 720, 1440, box + with(c.function, c.words));
        const std::string what = std::to_string(c.function) + " of " + std::to_string(c.words) + " words";
        expect_pdf_error([&] { pdf::translate_wmf(span_of(file), kNatural); }, 321, "", what);
    }
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
        {"painting, each of its own path",
         "10 20 m n 10 20 m N 10 20 m f 10 20 m F 10 20 m s 10 20 m S 10 20 m b 10 20 m B 10 20 m W n",
         "0 0 m\rn\r0 0 m\rn\r0 0 m\rh f\r0 0 m\rf\r0 0 m\rs\r0 0 m\rS\r0 0 m\rb\r0 0 m\rB\r0 0 m\rW\rn"},
        {"no current point: nothing to extend, close, paint or clip",
         "50 50 l 60 60 l h f S 1 2 3 4 5 6 c 1 2 3 4 v W n 10 20 m 20 20 l h f 30 30 l 1 2 3 4 y B",
         "0 0 m\r10 0 l\rh\rh f"},
        {"colours, clamped", ".5 g 2 G 0 1 .25 0 k 1 0 0 0 K 1 0.5 0 Xa 0 0 -1 XA 10 20 m S",
         "0.5 g\r1 G\r0 1 0.25 0 k\r1 0 0 0 K\r1 0.5 0 rg\r0 0 0 RG\r0 0 m\rS"},
        {"custom colours: CMYK by 1 - tint, tint clamped",
         "0 0.8 0.9 0 (Orange) 0.25 x 1 1 0 0 (Blue (dark)) 1 X .5 .5 .5 .5 (Grey) -1 x 0 0 0 1 (K) 0 X 10 20 m S",
         "0 0.6 0.675 0 k\r0 0 0 0 K\r0.5 0.5 0.5 0.5 k\r0 0 0 1 K\r0 0 m\rS"},
        {"line state, a dash only with its array", "2.5 w 1 j 2 J 4 M 7 j 0.5 M 1 M [3 2]1 d 4 d [] 0 d 10 20 m S",
         "2.5 w\r1 j\r2 J\r4 M\r1 M\r[3 2] 1 d\r[] 0 d\r0 0 m\rS"},
        {"strings, names and procedures draw nothing",
         "(a 1 2 m \\) (b) 3 4 l) pop /n {0 0 m 1 1 l} def <41 42> 7 8 m S",
         "-3 -12 m\rS"},
        {"a string over two lines", "(first 1 1 m\n2 2 l S) pop 5 5 m S", "-5 -15 m\rS"},
        {"groups balanced", "q q 1 1 m Q Q Q Q q 10 20 m S", "q\rq\r-9 -19 m\rQ\rQ\rq\r0 0 m\rS\rQ"},
        {"numbers with too few operands are dropped", "1 m 10 20 m 1 2 3 c 1 2 3 l S", "0 0 m\r-8 -17 l\rS"},
    };
    for (const Case& c : cases) {
        const std::string file = eps_file("10 20 110 70", c.body);
        const auto d = pdf::translate_eps(span_of(file), kNatural);
        EXPECT_DOUBLE_EQ(d.size.width, 100) << c.what;
        EXPECT_DOUBLE_EQ(d.size.height, 50) << c.what;
        EXPECT_EQ(d.operators, start + c.operators) << c.what;
    }

    // Stretched twice as wide and eight times as high: points follow each
    // direction, lengths the mean of the two (four times).
    const std::string file = eps_file("0 0 10 10", "1 1 m 3 w [1 2] 0 d S");
    const auto d = pdf::translate_eps(span_of(file), [](pdf::VectorSize) { return pdf::VectorSize{20, 80}; });
    EXPECT_EQ(d.operators, "0 g 0 G 4 w [] 0 d 0 j 0 J 10 M\r2 8 m\r12 w\r[4 8] 0 d\rS");

    // A DOS binary EPS: the PostScript section only; the bounding box at
    // the end.
    const std::string ps = "%!PS-Adobe-3.0 EPSF-3.0\r%%BoundingBox: (atend)\r0 0 m 4 4 l S\r%%Trailer\r"
                           "%%BoundingBox: 0 0 4 4\r4 0 m 0 4 l S\r";
    std::string binary = "\xC5\xD0\xD3\xC6";
    put32le(binary, 30);
    put32le(binary, static_cast<std::uint32_t>(ps.size()));
    binary += std::string(18, '\0') + ps + "TIFF preview";
    EXPECT_EQ(pdf::translate_eps(span_of(binary), kNatural).operators,
              "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r0 0 m\r4 4 l\rS");
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
        // Drawings the translator cannot follow, as raster EPS and general
        // PostScript writers make them, and drawings of nothing.
        {"an image", eps_file("0 0 10 10", "0 0 m 9 9 l S 10 10 8 [10 0 0 -10 0 10] {<00>} false 3 colorimage"), 321},
        {"a change of coordinates", eps_file("0 0 10 10", "q 0.1 0 0 0.1 0 0 cm 0 0 m 90 90 l S Q"), 321},
        {"a PDF rectangle", eps_file("0 0 10 10", "1 1 8 8 re f 0 0 m 9 9 l S"), 321},
        {"a PDF colour", eps_file("0 0 10 10", "1 0 0 rg 0 0 m 9 9 l 0 9 l f"), 321},
        {"nothing painted", eps_file("0 0 10 10", "0 0 m 9 9 l W n 1 g 0 0 moveto 9 9 lineto stroke"), 321},
    };
    for (const Case& c : cases)
        expect_pdf_error([&] { pdf::translate_eps(span_of(c.file), kNatural); }, c.error, "", c.what);
}

// Text, and images or text reached through names the file defines, in its
// prolog or later, in any order: the drawing's use of such a name is
// refused. Definitions the drawing does not use, and the translator's own
// operators whatever the file makes of them, change nothing.
TEST(EpsTranslator, RefusesTextAndWhatTheFilesOwnNamesPaint) {
    auto eps = [](const std::string& prolog, const std::string& body) {
        return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%BeginProlog\n" + prolog +
               "\n%%EndProlog\n0 0 m 9 9 l S\n" + body + "\n%%EOF\n";
    };
    const std::string drawn = pdf::translate_eps(span_of(eps("", "")), kNatural).operators;
    // An Illustrator procset: its text and image operators, and its own
    // meaning for the path operators.
    const std::string procset =
        "/Adobe_Illustrator 40 dict dup begin /_tx {show} bind def /Tx {_tx} bind def /Tj /Tx load def "
        "/XI {/mask exch def image} bind def /m /moveto load def /l {lineto} def /S {_tx stroke} def "
        "/f {XI} def end";
    struct Case {
        const char* what;
        std::string file;
        bool refused;
    };
    std::vector<Case> cases = {
        {"a procedure", eps("/I {image} bind def", "I"), true},
        {"an alias", eps("/I /image load def", "I"), true},
        {"an immediate name", eps("/I //imagemask def", "I"), true},
        {"through a name defined after it", eps("/P {1 I} def /I {0 0 moveto (a) show} def", "P"), true},
        {"through an alias of an alias", eps("/I /colorimage load def /P /I load def", "P"), true},
        {"defined inside another procedure", eps("/init {/T {(a) ashow} def} def", "init T"), true},
        {"defined in the drawing", eps("", "/I {image} def I"), true},
        {"the procset's text", eps(procset, "(TESTO) _tx"), true},
        {"the procset, never used", eps(procset, ""), false},
        {"names defined, never used", eps("/I {image} def /T /show load def", "/U {I} def"), false},
        {"path operators defined as text", eps("/m {(a) show} def /l /show load def /S {m} def", ""), false},
    };
    for (const char* text : {"show", "ashow", "widthshow", "awidthshow", "kshow", "xshow", "yshow", "xyshow",
                             "glyphshow", "cshow", "charpath", "To", "Tx", "TX", "Tj", "TJ"})
        cases.push_back({text, eps("", std::string("(ALTRO) ") + text), true});
    for (const Case& c : cases) {
        if (c.refused)
            expect_pdf_error([&] { pdf::translate_eps(span_of(c.file), kNatural); }, 321, "", c.what);
        else
            EXPECT_EQ(pdf::translate_eps(span_of(c.file), kNatural).operators, drawn) << c.what;
    }
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
    // Refused after its shapes were translated: they go again.
    const auto late = dir / "late.wmf";
    std::string shapes = red_over_blue_wmf();
    shapes.insert(shapes.size() - 6, wmf_record(0x0521, {1, 'A', 0, 0}));
    testsupport::write_file(late, shapes);

    Document doc;
    auto& w = doc.first_page();
    w.SetXY(7, 8);
    struct Case {
        std::filesystem::path file;
        int error;
    };
    const Case failures[] = {
        {damaged, 321}, {late, 321}, {truncated, 62}, {dir / "missing.eps", 53}, {dir / "missing.wmf", 53}};
    for (const Case& c : failures) {
        w.DrawImage(c.file.string(), 10, 10, 50, 50);
        EXPECT_EQ(w.ErrNumber(), c.error) << c.file;
        EXPECT_EQ(w.ErrSource(), "PdfWriter.DrawImage") << c.file;
        // The file is named once.
        EXPECT_EQ(count_of(w.ErrDescription(), c.file.string()), 1u) << w.ErrDescription();
    }
    for (int i = 0; i < 2; ++i) {
        w.DrawImage(wmf.string(), 10, 10, 0, 30);  // 80 x 60 points: width 40
        w.DrawImage(eps.string(), 10, 10);
    }
    w.DrawImage(eps.string(), 10, 10, 40);  // height 30
    EXPECT_FLOAT_EQ(w.GetX(), 7);
    EXPECT_FLOAT_EQ(w.GetY(), 8);
    const std::string content = contenttest::page_content(doc.finish());
    EXPECT_EQ(content.rfind("q\r1 0 0 -1 10 40 cm\r", 0), 0u) << content;
    EXPECT_EQ(count_of(content, "q\r1 0 0 -1 10 40 cm\r"), 3u);
    EXPECT_EQ(count_of(content, "q\r1 0 0 -1 10 70 cm\r"), 2u);
    EXPECT_EQ(count_of(content, "q\r1 0 0 -1 "), 5u);
    EXPECT_EQ(count_of(content, "\rQ"), 5u);
    EXPECT_NE(content.find("0 15 m 40 15 l 40 0 l 0 0 l h f*"), std::string::npos) << content;
}

// What other programs write as EPS: a raster picture (netpbm), general
// PostScript (ghostscript's EPS device, poppler's converter). The translator
// cannot draw them: each is refused with 321 and leaves the page as it was.
TEST(DrawImage, EpsTheTranslatorCannotDrawIsRefused) {
    for (const char* tool : {"convert", "pnmtops", "gs", "pdftops"}) REQUIRE_TOOL(tool);
    testsupport::TempDir dir;
    const std::string d = shell_quote(dir.path().string());
    const std::string shape = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n1 0 0 setrgbcolor "
                              "10 10 moveto 90 10 lineto 90 90 lineto closepath fill showpage\n";
    testsupport::write_file(dir / "shape.eps", shape);
    const auto made = run_command("cd " + d +
                                  " && convert -size 20x10 xc:red red.ppm && pnmtops -nocenter -noturn red.ppm > "
                                  "raster.eps && gs -q -dNOPAUSE -dBATCH -sDEVICE=eps2write -sOutputFile=gs.eps "
                                  "shape.eps && gs -q -dNOPAUSE -dBATCH -dEPSCrop -sDEVICE=pdfwrite "
                                  "-sOutputFile=shape.pdf shape.eps && pdftops -eps shape.pdf poppler.eps");
    ASSERT_EQ(made.exit_code, 0) << made.err;
    for (const char* name : {"raster.eps", "gs.eps", "poppler.eps"}) {
        Document doc;
        auto& w = doc.first_page();
        w.DrawImage((dir / name).string(), 10, 10, 50, 50);
        EXPECT_EQ(w.ErrNumber(), 321) << name;
        EXPECT_EQ(w.ErrSource(), "PdfWriter.DrawImage") << name;
        EXPECT_NE(w.ErrDescription().find((dir / name).string()), std::string::npos) << w.ErrDescription();
        EXPECT_EQ(contenttest::page_content(doc.finish()).find("1 0 0 -1 "), std::string::npos) << name;
    }
}

// An Illustrator drawing with custom colours, each filled or stroked at a
// tint, against ghostscript's rendering of the same file (its prolog gives
// the Illustrator operators their meaning).
TEST(DrawImage, IllustratorCustomColoursAsGhostscriptShowsThem) {
    for (const char* tool : {"gs", "convert"}) REQUIRE_TOOL(tool);
    testsupport::TempDir dir;
    const std::string prolog =
        "/fc [0 0 0 1] def /sc [0 0 0 1] def\n"
        "/tinted {1 exch sub 5 1 roll 4 {4 index mul 4 1 roll} repeat 5 -1 roll pop 4 array astore} bind def\n"
        "/x {exch pop tinted /fc exch def} bind def /X {exch pop tinted /sc exch def} bind def\n"
        "/k {4 array astore /fc exch def} bind def\n"
        "/m /moveto load def /l /lineto load def /w /setlinewidth load def\n"
        "/f {closepath fc aload pop setcmykcolor fill} bind def\n"
        "/S {sc aload pop setcmykcolor stroke} bind def\n";
    const std::string body = "0 0.8 0.9 0 (Arancio) 0.25 x 10 10 m 90 10 l 90 45 l 10 45 l f\n"
                             "1 0.5 0 0.1 (Blu) 0.6 x 10 55 m 50 55 l 50 90 l 10 90 l f\n"
                             "0.1 0.9 0.2 0 (Rosso) 0 X 10 w 60 72 m 90 72 l S\n";
    const std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n%%EndComments\n"
                            "%%BeginProlog\n" + prolog + "%%EndProlog\n" + body + "showpage\n%%EOF\n";
    const auto file = dir / "colori.eps";
    testsupport::write_file(file, eps);
    // 100 x 100 pixels at 72 dpi, as raw RGB bytes.
    auto pixels = [](const std::filesystem::path& drawing, const char* options) {
        const auto r = run_command("gs -q -dNOPAUSE -dBATCH -dSAFER -r72 -sDEVICE=ppmraw -sOutputFile=- " +
                                   std::string(options) + shell_quote(drawing.string()) + " | convert ppm:- rgb:-");
        EXPECT_EQ(r.exit_code, 0) << r.err;
        return r.out.size() == 30000 ? r.out : std::string();
    };
    const std::string a = pixels(file, "-dEPSCrop ");

    Document doc;
    doc.writer.SetPaperSize(255, 100, 100);
    doc.first_page().DrawImage(file.string(), 0, 0);
    ASSERT_EQ(doc.writer.ErrNumber(), 0) << doc.writer.ErrDescription();
    doc.finish();
    const std::string b = pixels(doc.file(), "");
    ASSERT_FALSE(a.empty() || b.empty());
    // Inside each shape, away from its edges (y from the top), and between.
    for (const auto& p : {std::array{50, 70}, std::array{30, 25}, std::array{75, 28}, std::array{50, 50}}) {
        const std::size_t at = static_cast<std::size_t>(p[1] * 100 + p[0]) * 3;
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_NEAR(static_cast<unsigned char>(a[at + c]), static_cast<unsigned char>(b[at + c]), 3)
                << "pixel " << p[0] << "," << p[1] << " channel " << c;
    }
}

}  // namespace
