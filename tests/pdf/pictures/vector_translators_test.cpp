// The metafile and EPS translators: what each record or operator becomes,
// damaged files, and how DrawImage puts a translation into the page.
#include <gtest/gtest.h>

#include <sstream>

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

ByteString repeated(const ByteString& text, int count) {
    ByteString all;
    for (int i = 0; i < count; ++i) all += text;
    return all;
}
ByteString pens(int count, Rgb colour) { return repeated(wmf_pen(0, 0, colour), count); }

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
        {"polyline, dashed pen of 1 unit",
         wmf_pen(1, 1, kRed) + wmf_select(0) + wmf_record(0x0325, {3, 0, 0, 720, 720, 1440, 0}),
         "1 0 0 RG 0.05 w [3 1] 0 d 0 J 1 j 0 36 m 36 0 l 72 36 l S"},
        {"polyline, a dashed pen of 40 units is solid, as the player makes it",
         wmf_pen(1, 40, kRed) + wmf_select(0) + wmf_record(0x0325, {3, 0, 0, 720, 720, 1440, 0}),
         "1 0 0 RG 2 w [] 0 d 1 J 1 j 0 36 m 36 0 l 72 36 l S"},
        {"a dashed pen of 2 units is solid as well",
         wmf_pen(1, 2, kRed) + wmf_select(0) + wmf_record(0x0325, {3, 0, 0, 720, 720, 1440, 0}),
         "1 0 0 RG 0.1 w [] 0 d 1 J 1 j 0 36 m 36 0 l 72 36 l S"},
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
        {"a colour matched to a palette is painted as its red, green and blue",
         wmf_record(0x02FC, {0, 0x00FF, 0x0200, 0}) + wmf_select(0) + wmf_rectangle(0, 0, 1440, 720),
         "1 0 0 rg 0 0 0 RG 0.05 w [] 0 d 1 J 1 j 0 36 m 72 36 l 72 0 l 0 0 l h b*"},
        {"as many saved states as the translator keeps",
         repeated(wmf_record(0x001E, {}), 65535) + wmf_record(0x0127, {1}),
         repeated("q\r", 65535) + repeated("Q\r", 65534) + "Q"},
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
        {"selecting the slot just past the table", wmf_file(0, 0, 10, 10, 72, pens(1, kRed) + wmf_select(1)), 321},
        {"more objects than the table holds", wmf_file(0, 0, 10, 10, 72, pens(65536, kRed)), 321},
        {"more states saved than the translator keeps",
         wmf_file(0, 0, 10, 10, 72, repeated(wmf_record(0x001E, {}), 65536)), 321},
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

// Box 0 0 10 10, a line drawn, then `body`.
std::string eps_with_prolog(const std::string& prolog, const std::string& body) {
    return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%BeginProlog\n" + prolog +
           "\n%%EndProlog\n0 0 m 9 9 l S\n" + body + "\n%%EOF\n";
}

// The operators after the line, or the reason of the refusal.
std::string outcome_of(const std::string& file) {
    static const std::string line = "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r0 0 m\r9 9 l\rS";
    try {
        const std::string operators = pdf::translate_eps(span_of(file), kNatural).operators;
        return operators.starts_with(line) ? operators.substr(std::min(operators.size(), line.size() + 1)) : operators;
    } catch (const PdfError& e) {
        return std::to_string(e.number()) + " " + e.description();
    }
}

// Whether the reason of a refusal names `token`, as a word of its own.
bool refused_naming(const std::string& outcome, const std::string& token) {
    if (!outcome.starts_with("321 ")) return false;
    std::istringstream words(outcome);
    std::string word;
    while (words >> word)
        if (word == token || word == token + ":") return true;
    return false;
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
        {"path operators", "10 20 m 110 70 L 20 30 40 50 60 70 c 1 2 3 4 v 5 6 7 8 y h S",
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
        {"line state", "2.5 w 1 j 2 J 4 M 1 M [3 2]1 d [] 0 d 10 20 m S",
         "2.5 w\r1 j\r2 J\r4 M\r1 M\r[3 2] 1 d\r[] 0 d\r0 0 m\rS"},
        {"definitions draw nothing; a string over two lines for x",
         "/n {0 0 m 1 1 l} def /p {S} bind def 0 0 0 1 (first 1 1 m\n2 2 l S) 0 x 7 8 m S",
         "0 0 0 1 k\r-3 -12 m\rS"},
        {"groups balanced at the end", "q q 1 1 m S Q Q q 10 20 m S", "q\rq\r-9 -19 m\rS\rQ\rQ\rq\r0 0 m\rS\rQ"},
        {"Illustrator's operators that draw nothing",
         "u 0 A 0 O 0 R 0 i 1 D 0 Ap 800 Ar 1 1 1 1 0 0 0 79 128 255 Lb (Layer 1) Ln 0 XR 10 20 m S LB U",
         "0 0 m\rS"},
        {"PostScript's paths, the r-operators from the current point",
         "newpath 10 20 moveto 5 0 rlineto 0 5 rmoveto 1 1 2 2 3 3 rcurveto closepath 0 10 rlineto "
         "20 30 lineto 1 2 3 4 5 6 curveto stroke fill closepath",
         "0 0 m\r5 0 l\r5 5 m\r6 6 7 7 8 8 c\rh\r5 15 l\r10 10 l\r-9 -18 -7 -16 -5 -14 c\rS"},
        {"PostScript's painting, rectangles and clipping",
         "10 20 moveto 20 20 lineto fill 10 20 moveto eofill 10 20 moveto 20 30 lineto clip newpath "
         "10 20 moveto eoclip newpath 20 30 5 5 rectfill 20 30 -5 5 rectstroke 10 20 moveto newpath",
         "0 0 m\r10 0 l\rf\r0 0 m\rf*\r0 0 m\r10 10 l\rW\rn\r0 0 m\rW*\rn\r10 10 5 5 re f\r10 10 -5 5 re S"},
        {"PostScript's state: colours for fill and stroke, lines, groups",
         "gsave 0.5 setgray 1 0 0 setrgbcolor 0 1 0 0 setcmykcolor 6 setlinewidth 1 setlinecap 2 setlinejoin "
         "3 setmiterlimit [10 10] 5 setdash grestore 10 20 moveto stroke",
         "q\r0.5 g 0.5 G\r1 0 0 rg 1 0 0 RG\r0 1 0 0 k 0 1 0 0 K\r6 w\r1 J\r2 j\r3 M\r[10 10] 5 d\rQ\r0 0 m\rS"},
        {"what is set while a path is open comes before it",
         "10 20 moveto 20 20 lineto 0 0 1 setrgbcolor 3 w 1 0 0 0 K stroke",
         "0 0 1 rg 0 0 1 RG\r3 w\r1 0 0 0 K\r0 0 m\r10 0 l\rS"},
        {"1 XR: the even-odd rule, for clipping too; 0 XR: back to non-zero",
         "1 XR 10 20 m 20 20 l f 10 20 m F 10 20 m b 10 20 m B 10 20 m W n 0 XR 10 20 m F",
         "0 0 m\r10 0 l\rh f*\r0 0 m\rf*\r0 0 m\rb*\r0 0 m\rB*\r0 0 m\rW*\rn\r0 0 m\rf"},
        {"a compound path: one path, painted once at *U by its last operator",
         "*u 10 20 m 20 20 l 20 30 l f 12 22 m 12 24 l 14 24 l f 1 0 0 0 k *U *u 10 20 m 30 30 l S 10 20 m B *U",
         "1 0 0 0 k\r0 0 m\r10 0 l\r10 10 l\rh\r2 2 m\r2 4 l\r4 4 l\rh\rf\r0 0 m\r20 10 l\r0 0 m\rB"},
        {"procedures of the file's, run where the drawing uses them",
         "/sq {moveto 10 0 rlineto} def 10 20 sq stroke", "0 0 m\r10 0 l\rS"},
        {"a clipping path, then a grey line", "0 0 m 9 9 l W n 1 g 0 0 moveto 9 9 lineto stroke",
         "-10 -20 m\r-1 -11 l\rW\rn\r1 g\r-10 -20 m\r-1 -11 l\rS"},
        {"the capitals of h, v and y; clip ended by N", "10 20 m 1 2 3 4 V 5 6 7 8 Y H 20 30 lineto clip N 10 20 m S",
         "0 0 m\r-9 -18 -7 -16 v\r-5 -14 -3 -12 y\rh\r10 10 l\rW\rn\r0 0 m\rS"},
        {"b closes its part of a compound path", "*u 10 20 m 20 20 l b 12 22 m 14 24 l b *U",
         "0 0 m\r10 0 l\rh\r2 2 m\r4 4 l\rh\rB"},
        {"dashes: an odd pattern's period is twice its lengths; dots; no dashes from before their start",
         "[3] -1 d [0 4] 0 setdash [] -1 d 10 20 m S", "[3] 5 d\r[0 4] 0 d\r[] 1 d\r0 0 m\rS"},
        {"a W between q and Q ends with them", "q 10 20 m W Q 10 20 m 20 30 l f", "q\rQ\r0 0 m\r10 10 l\rh f"},
        {"string operands as PostScript reads them: escapes, spaced hex and base-85",
         "0 0 0 1 (a \\) b) 0 x 0 0 0 1 <4F 72\n61> 0 X 0 0 0 1 <~9jq o~> 0 x 10 20 m S",
         "0 0 0 1 k\r0 0 0 1 K\r0 0 0 1 k\r0 0 m\rS"},
        {"the drawing ends at its showpage", "10 20 m S showpage 20 30 m S", "0 0 m\rS"},
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
    EXPECT_EQ(d.operators, "0 g 0 G 4 w [] 0 d 0 j 0 J 10 M\r12 w\r[4 8] 0 d\r2 8 m\rS");

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
        {"nothing painted", eps_file("0 0 10 10", "0 0 m 9 9 l W n 1 g 9 9 m"), 321},
    };
    for (const Case& c : cases)
        expect_pdf_error([&] { pdf::translate_eps(span_of(c.file), kNatural); }, c.error, "", c.what);
}

// Text, and images or text reached through names the file defines, in its
// prolog or later, in any order: the drawing's use of such a name is
// refused, and so is its use of one of the translator's own operators that
// the file makes reach them. Definitions the drawing does not use change
// nothing, however long their chains.
TEST(EpsTranslator, RefusesTextAndWhatTheFilesOwnNamesPaint) {
    const auto eps = eps_with_prolog;
    const std::string drawn = pdf::translate_eps(span_of(eps("", "")), kNatural).operators;
    // An Illustrator procset: its text and image operators, and its own
    // meaning for the path operators.
    const std::string procset =
        "/Adobe_Illustrator 40 dict dup begin /_tx {show} bind def /Tx {_tx} bind def /Tj /Tx load def "
        "/XI {/mask exch def image} bind def /m /moveto load def /l {lineto} def /_s {stroke} def /S {_s} def "
        "/f {fill} def end";
    std::string chain = "/d12 {(a) show} def";
    for (int i = 11; i > 0; --i) chain += " /d" + std::to_string(i) + " {d" + std::to_string(i + 1) + "} def";
    struct Case {
        std::string what;
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
        {"a chain of 12 definitions, never used", eps(chain, ""), false},
        {"a path operator defined as text", eps("/l {S} def /S {(a) show} def", ""), true},
        {"a path operator as another name for text", eps("/l /show load def", ""), true},
        {"a string before a path operator defined as text", eps("/s {show} bind def", "2 2 m (Hidden) s"), true},
        {"a number more than the translator's operator takes", eps("/M {exch moveto} def", "2 2 M"), true},
        {"load given a meaning of the file's", eps("/load {pop /show cvx} def /l /lineto load def", ""), true},
    };
    for (const std::string text : {"show", "ashow", "widthshow", "awidthshow", "kshow", "xshow", "yshow", "xyshow",
                                   "glyphshow", "cshow", "charpath", "To", "Tx", "TX", "Tj", "TJ", "image",
                                   "imagemask", "colorimage", "XI"}) {
        cases.push_back({text, eps("", "(ALTRO) " + text), true});
        cases.push_back({"S defined to reach " + text, eps("/S {stroke " + text + "} def", ""), true});
    }
    for (const Case& c : cases) {
        if (c.refused)
            expect_pdf_error([&] { pdf::translate_eps(span_of(c.file), kNatural); }, 321, "", c.what);
        else
            EXPECT_EQ(pdf::translate_eps(span_of(c.file), kNatural).operators, drawn) << c.what;
    }
}

// Every token of the drawing is translated or known to draw nothing, or the
// drawing is refused naming it: text and images however they are reached,
// operators of no meaning here, operands too few or of the wrong kind, and
// operators that cannot be drawn where they stand.
TEST(EpsTranslator, RefusesEveryTokenItDoesNotKnowNamingIt) {
    struct Case {
        std::string body;
        const char* named;
        std::string prolog = {};
    };
    std::string ones;  // more numbers than an array of the drawing's may hold
    for (int i = 0; i < 65; ++i) ones += "1 ";
    const Case cases[] = {
        {"{ (Hidden) show } exec", "{"},
        {"true { 0 0 moveto (Hidden) show } if", "true"},
        {"[(a) (b)] { show } forall", "(a)"},
        {"1 { 0 0 moveto (Hidden) show } repeat", "{"},
        {"/languagelevel where { pop languagelevel 2 ge } { false } ifelse", "/languagelevel"},
        {"/show load exec", "/show"},
        {"systemdict /show get exec", "systemdict"},
        {"(show) cvn cvx exec", "cvn"},
        {"(show) token pop exch pop exec", "token"},
        {"(other.ps) run", "run"},
        {"save 1 1 moveto restore", "save"},
        {"1 1 m (x) pop", "pop"},
        {"1 1 10 { 0 moveto 0 9 rlineto stroke } for", "{"},
        {"<< /a 1 >> begin", "<<"},
        {"5 5 translate", "translate"},
        {"1 0 0 1 0 0 cm", "cm"},
        {"[1 0 0 1 0 0] concat", "concat"},
        {"(Gradient) 0 0 0 0 1 0 Bb", "Bb"},
        {"0 Bg", "Bg"},
        {"(Pattern) 0 0 0 1 0 0 0 p", "p"},
        {"(ALTRO) Tx", "Tx"},
        {"//moveto", "//moveto"},
        {"} 1 1 m", "}"},
        {"] 1 1 m", "]"},
        {"[1 2", "["},
        {"4 d", "d"},
        {"1 m", "m"},
        {"0 0 m 1 2 3 c", "c"},
        {"0 setdash", "setdash"},
        {"(Hidden) S", "S"},
        {"1 0 0 0 (x) 1 k", "k"},
        {"0 0 m [1] 1 2 l", "l"},
        {"(x) 1 1 m", "m"},
        {"[1] 1 [2] 1 d", "another"},
        {"(the end)", "end"},
        {"7 j", "j"},
        {"0.5 M", "M"},
        {"3 setlinecap", "setlinecap"},
        {"2 XR", "XR"},
        {"5 5 lineto", "lineto"},
        {"1 1 rlineto", "rlineto"},
        {"0 0 m 5 5 l clip 0 0 m", "m"},
        {"0 0 m 5 5 l eoclip", "eoclip"},
        {"clip newpath", "clip"},
        {"0 0 moveto 1 1 2 2 rectfill", "rectfill"},
        {"*u 0 0 m gsave", "gsave"},
        {"grestore", "grestore"},
        {"q *u 0 0 m Q", "Q"},
        {"*U", "*U"},
        {"*u 0 0 m 5 5 l f", "*u"},
        {"*u 0 0 m 5 5 l fill *U", "fill"},
        {"*u 0 0 m 5 5 l *U", "*U"},
        {"1e30 1e30 moveto", "moveto"},
        {"+-1 setgray", "+-1"},
        {"[6 -3] 0 setdash", "setdash"},
        {"[0 0] 0 d", "d"},
        {"1.0 setlinecap", "setlinecap"},
        {"0 0 0 1 <4g> 0 x", "<4g>"},
        {"0 0 0 1 <~vw~> 0 x", "<~vw~>"},
        {"1e0 J", "J"},
        {"1 1 rmoveto", "rmoveto"},
        {"[" + ones + "] 0 d", "64"},
        // One of the translator's own operators that the file makes reach
        // text: through a string's characters, whatever turns them into
        // code or a name, and through its names and aliases.
        {"1 1 m 5 5 l S", "S", "/S {stroke (20 20 moveto (Hidden) show) cvx exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke (Hidden) (show) cvn load exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke (Hidden) (show) token pop exch pop exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke (Hidden) systemdict /show get exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke (Hidden) <73686f77> cvn load exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke (Hidden) (sh\\157w) cvn load exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke (Hidden) <~F(fK9~> cvn load exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke (Hidden) <~+<Y`=Dg)~> cvx exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke (Hidden) (show\\0401) cvx exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke ((Hidden) (show) cvn load exec) cvx exec} def"},
        {"1 1 m 5 5 l S", "S",
         "/S {stroke (t.ps) (w) file dup (20 20 moveto (Hidden) show) writestring closefile (t.ps) run} def"},
        {"1 1 m 5 5 l S", "S", "/S (stroke 20 20 moveto (Hidden) show) cvx def"},
        {"1 1 m 5 5 l S", "S", "/T {20 20 moveto (Hidden) show} def /S {stroke (T) cvx exec} def"},
        {"1 1 m 5 5 l S", "S", "/S {stroke " + std::string(33, '(') + std::string(33, ')') + " pop} def"},
        {"1 1 m 5 5 l 1 5 l f", "f", "/fill {0 0 moveto (Hidden) show} def /f /fill load def"},
        {"1 1 m 5 5 l 1 5 l f", "f", "/fill {(0 0 moveto (Hidden) show) cvx exec} def /f /fill load def"},
        {"20 20 m (Hidden) Ln", "Ln", "/Ln systemdict /show get def"},
    };
    for (const Case& c : cases) {
        const std::string outcome = outcome_of(eps_with_prolog(c.prolog, c.body));
        EXPECT_TRUE(refused_naming(outcome, c.named)) << c.prolog << " | " << c.body << ": " << outcome;
    }
}

// A name the file defines is run where the drawing uses it, by the same
// rules, as if its body stood there; one the file defines in several ways,
// or after the use, is refused.
TEST(EpsTranslator, ProceduresAreRunWhereTheDrawingUsesThem) {
    struct Case {
        std::string prolog, body;
        const char* outcome;  // the operators, or the word the refusal names
        bool refused;
    };
    // Each use of p6 runs 8^6 copies of p0's 4 KB.
    std::string exponential = "/p0 {newpath" + std::string(4096, ' ') + "} def";
    for (int i = 1; i <= 6; ++i) {
        exponential += " /p" + std::to_string(i) + " {";
        for (int j = 0; j < 8; ++j) exponential += " p" + std::to_string(i - 1);
        exponential += "} def";
    }
    std::string deep_s = "/s {s1} def /s40 {stroke} def";
    for (int i = 1; i < 40; ++i) deep_s += " /s" + std::to_string(i) + " {s" + std::to_string(i + 1) + "} def";
    // r1 runs r2, ..., r`n` strokes.
    auto nested = [](int n) {
        std::string r = "/r" + std::to_string(n) + " {stroke} def";
        for (int i = 1; i < n; ++i) r += " /r" + std::to_string(i) + " {r" + std::to_string(i + 1) + "} def";
        return r;
    };
    const Case cases[] = {
        {"/mt /moveto load def /lt //lineto def", "1 1 mt 2 2 lt stroke", "1 1 m\r2 2 l\rS", false},
        {"/outer {inner stroke} def /inner {1 1 moveto 2 2 lineto} def", "outer", "1 1 m\r2 2 l\rS", false},
        {"/sq {moveto 1 0 rlineto 0 1 rlineto closepath} bind def", "1 1 3 3 sq sq fill",
         "3 3 m\r4 3 l\r4 4 l\rh\r1 1 m\r2 1 l\r2 2 l\rh\rf", false},
        {"/a {1 1 moveto} def /a {1 1 moveto} def", "a 2 2 lineto stroke", "1 1 m\r2 2 l\rS", false},
        {"", "/a {1 1 moveto} def a 2 2 lineto stroke", "1 1 m\r2 2 l\rS", false},
        {"/t {(x) show} def", "1 1 moveto t", "show", true},
        {"/a {1 1 moveto} def /a {(x) show} def", "a", "a", true},
        {"/a 5 def /a {1 1 moveto} def", "a 2 2 lineto stroke", "a", true},
        {"/a where {pop} {/a {1 1 moveto} def} ifelse", "a 2 2 lineto stroke", "a", true},
        {"", "a /a {1 1 moveto} def", "a", true},
        {"/a {a} def", "a", "a", true},
        {exponential, "p6", "run", true},
        {"/moveto {pop pop} def", "1 1 moveto", "moveto", true},
        {"", "/a {1 1 moveto} bind", "/a", true},
        {"", "/a {1 1 moveto", "/a", true},
        // Names the reading cannot tell (computed, or defined by the file's
        // own def): the drawing's first name, m, is refused.
        {"/a {1 1 moveto} def (a) cvn {(x) show} bind def", "a 2 2 lineto stroke", "m", true},
        {"(fill) cvn {1 0 0 setrgbcolor eofill} bind def", "1 1 moveto 5 1 lineto 5 5 lineto fill", "m", true},
        {"/def {pop pop} def", "/a {1 1 moveto} def", "m", true},
        {"/showpage {} def", "showpage 1 1 moveto 2 2 lineto stroke", "1 1 m\r2 2 l\rS", false},
        {nested(32), "1 1 moveto 2 2 lineto r1", "1 1 m\r2 2 l\rS", false},
        {nested(33), "1 1 moveto 2 2 lineto r1", "r33", true},
        // Illustrator's operators the file defines as it may: what running
        // them would refuse, and definitions of which one is not known.
        {"/s {s} def", "1 1 moveto 5 5 lineto s", "s", true},
        {deep_s, "1 1 moveto 5 5 lineto s", "s32", true},
        {"/S {stroke} def", "/S {fill} def 1 1 m 5 1 l 5 5 l S", "S", true},
        {"/_s {stroke} def /S {(Illustrator: S _s) pop _s} bind def", "1 1 m 5 5 l S", "1 1 m\r5 5 l\rS", false},
        {"/ldef {load def} bind def\n/d /setdash ldef\n/Tx {show} def", "[1 1] 0 d 1 1 m 2 2 l S",
         "[1 1] 0 d\r1 1 m\r2 2 l\rS", false},
        {"/W {clip} def", "1 1 m 5 5 l 1 5 l W n 1 1 moveto 2 2 lineto stroke",
         "1 1 m\r5 5 l\r1 5 l\rW\rn\r1 1 m\r2 2 l\rS", false},
    };
    for (const Case& c : cases) {
        const std::string outcome = outcome_of(eps_with_prolog(c.prolog, c.body));
        if (c.refused)
            EXPECT_TRUE(refused_naming(outcome, c.outcome)) << c.prolog << " | " << c.body << ": " << outcome;
        else
            EXPECT_EQ(outcome, c.outcome) << c.prolog << " | " << c.body;
    }
}

// The drawing lies between the file's own comments, not those of a document
// embedded in it. An embedded document is run by the same rules where the
// drawing uses it, and refused where it stands in the drawing itself. The
// prolog, setup and trailer are not drawn: a file that paints there is
// refused.
TEST(EpsTranslator, DrawingLiesBetweenTheFilesOwnComments) {
    const std::string inner =
        "%%BeginDocument: inner.eps\n%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 5 5\n%%EndComments\n"
        "%%BeginProlog\n%%EndProlog\n%%BeginSetup\n%%EndSetup\n5 5 moveto 6 6 lineto stroke\n%%Trailer\n%%EOF\n"
        "%%EndDocument\n";
    auto eps = [&](const std::string& drawing) {
        return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: (atend)\n%%EndComments\n%%BeginProlog\n/inner {\n" + inner +
               "} def\n%%EndProlog\n" + drawing + "\n%%Trailer\n%%BoundingBox: 0 0 10 10\n%%EOF\n";
    };
    std::string stray_end = eps("1 1 m 2 2 l S");
    stray_end.insert(stray_end.find("%%BeginProlog\n") + 14, "%%EndDocument\n");
    struct Case {
        const char* what;
        std::string file;
        const char* outcome;  // the operators, or the word the refusal names
    };
    const Case cases[] = {
        {"defined in the prolog, never used", eps("1 1 m 2 2 l S"), "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r1 1 m\r2 2 l\rS"},
        {"defined in the drawing: it goes on after it",
         eps("1 1 m 2 2 l S /later {\n" + inner + "} def 3 3 m 4 4 l S"),
         "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r1 1 m\r2 2 l\rS\r3 3 m\r4 4 l\rS"},
        {"used by the drawing", eps("1 1 m 2 2 l S inner 3 3 m 4 4 l S"),
         "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r1 1 m\r2 2 l\rS\r5 5 m\r6 6 l\rS\r3 3 m\r4 4 l\rS"},
        {"in the drawing itself", eps("1 1 m 2 2 l S\n" + inner + "3 3 m 4 4 l S"), "%%BeginDocument"},
        {"after the first of two %%EndSetup", eps("%%BeginSetup\n%%EndSetup\n1 1 m 2 2 l S\n%%EndSetup\n3 3 m 4 4 l S"),
         "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r1 1 m\r2 2 l\rS\r3 3 m\r4 4 l\rS"},
        // What is not drawn must not change the page.
        {"a scale in the setup", eps("%%BeginSetup\n2 2 scale\n%%EndSetup\n1 1 m 2 2 l S"), "scale"},
        {"a colour in the setup", eps("%%BeginSetup\n1 0 0 setrgbcolor\n%%EndSetup\n1 1 m 2 2 l S"), "setrgbcolor"},
        {"painting in the trailer", eps("1 1 m 2 2 l S\n%%Trailer\n0 0 5 5 rectfill"), "rectfill"},
        {"painting after showpage is another page's", eps("1 1 m 2 2 l S showpage 0 0 5 5 rectfill"),
         "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r1 1 m\r2 2 l\rS"},
        {"an %%EndDocument of no document before one", stray_end, "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r1 1 m\r2 2 l\rS"},
        {"the first bounding box of the file's", eps("1 1 m 2 2 l S") + "%%BoundingBox: 0 0 20 20\n",
         "0 g 0 G 1 w [] 0 d 0 j 0 J 10 M\r1 1 m\r2 2 l\rS"},
    };
    for (const Case& c : cases) {
        std::string outcome;
        try {
            const auto d = pdf::translate_eps(span_of(c.file), kNatural);
            EXPECT_DOUBLE_EQ(d.size.width, 10) << c.what;
            outcome = d.operators;
        } catch (const PdfError& e) {
            outcome = std::to_string(e.number()) + " " + e.description();
        }
        if (!std::string(c.outcome).starts_with("0 g "))
            EXPECT_TRUE(refused_naming(outcome, c.outcome)) << c.what << ": " << outcome;
        else
            EXPECT_EQ(outcome, c.outcome) << c.what;
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

// A page already past the first block of its content, and a drawing refused
// after its lines took several blocks more: the page is cut back to exactly
// what it was, and what is drawn after the refusal follows it.
TEST(DrawImage, RefusedDrawingLeavesALongPageAsItWas) {
    testsupport::TempDir dir;
    const auto refused = dir / "bitmap.wmf";
    ByteString lines;
    for (int i = 0; i < 400; ++i) lines += wmf_record(0x0213, {i % 720, (i * 7) % 1440});
    const ByteString bitmap_transfer = wmf_record(0x0922, std::vector<int>(8 + 12, 1));
    testsupport::write_file(refused, wmf_file(0, 0, 1440, 720, 1440, lines + bitmap_transfer));
    auto page = [&](bool with_refusals) {
        Document doc;
        auto& w = doc.first_page();
        for (int i = 0; i < 40; ++i) w.DrawLine(static_cast<float>(i), 0, static_cast<float>(i), 100);
        for (int i = 0; i < 2; ++i) {
            if (with_refusals) {
                w.DrawImage(refused.string(), 10, 10, 50, 50);
                EXPECT_EQ(w.ErrNumber(), 321) << w.ErrDescription();
            }
            w.DrawLine(0, 0, 50, static_cast<float>(50 + i));
        }
        return contenttest::page_content(doc.finish());
    };
    const std::string plain = page(false);
    ASSERT_GT(plain.size(), 600u);
    EXPECT_EQ(page(true), plain);
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

// What ghostscript draws, as 100 x 100 RGB pixels at 72 dpi, of an EPS
// file of box 0 0 100 100 and of a page on which DrawImage placed it.
struct Renderings {
    std::string eps, page;  // empty when it could not be drawn
    std::string placing_error;
};

Renderings ghostscript_renderings(const std::string& eps) {
    testsupport::TempDir dir;
    const auto file = dir / "disegno.eps";
    testsupport::write_file(file, eps);
    auto pixels = [](const std::filesystem::path& drawing, const char* options) {
        const auto r = run_command("gs -q -dNOPAUSE -dBATCH -dSAFER -r72 -sDEVICE=ppmraw -sOutputFile=- " +
                                   std::string(options) + shell_quote(drawing.string()) + " | convert ppm:- rgb:-");
        EXPECT_EQ(r.exit_code, 0) << r.err;
        return r.out.size() == 30000 ? r.out : std::string();
    };
    Renderings drawn;
    drawn.eps = pixels(file, "-dEPSCrop ");
    Document doc;
    doc.writer.SetPaperSize(255, 100, 100);
    doc.first_page().DrawImage(file.string(), 0, 0);
    if (doc.writer.ErrNumber() != 0) drawn.placing_error = doc.writer.ErrDescription();
    doc.finish();
    drawn.page = pixels(doc.file(), "");
    return drawn;
}

// An Illustrator drawing with custom colours, each filled or stroked at a
// tint, against ghostscript's rendering of the same file (its prolog gives
// the Illustrator operators their meaning).
TEST(DrawImage, IllustratorCustomColoursAsGhostscriptShowsThem) {
    for (const char* tool : {"gs", "convert"}) REQUIRE_TOOL(tool);
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
    const Renderings drawn = ghostscript_renderings(
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n%%EndComments\n%%BeginProlog\n" + prolog +
        "%%EndProlog\n" + body + "showpage\n%%EOF\n");
    ASSERT_EQ(drawn.placing_error, "");
    const std::string& a = drawn.eps;
    const std::string& b = drawn.page;
    ASSERT_FALSE(a.empty() || b.empty());
    // Inside each shape, away from its edges (y from the top), and between.
    for (const auto& p : {std::array{50, 70}, std::array{30, 25}, std::array{75, 28}, std::array{50, 50}}) {
        const std::size_t at = static_cast<std::size_t>(p[1] * 100 + p[0]) * 3;
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_NEAR(static_cast<unsigned char>(a[at + c]), static_cast<unsigned char>(b[at + c]), 3)
                << "pixel " << p[0] << "," << p[1] << " channel " << c;
    }
}

// The pixels of `a` that no pixel of `b` at most one pixel away matches:
// what differs beyond the rounding of edges.
int unmatched_pixels(const std::string& a, const std::string& b) {
    auto same = [&](int i, int j) {
        for (int c = 0; c < 3; ++c)
            if (std::abs(static_cast<unsigned char>(a[i * 3 + c]) - static_cast<unsigned char>(b[j * 3 + c])) > 24)
                return false;
        return true;
    };
    int unmatched = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = x + dx >= 0 && x + dx < 100 && y + dy >= 0 && y + dy < 100 &&
                            same(y * 100 + x, (y + dy) * 100 + x + dx);
            unmatched += found ? 0 : 1;
        }
    return unmatched;
}

// PostScript's own painting operators, procedures of the file's, and
// Illustrator's fill rule and compound paths, against ghostscript's
// rendering of the same files.
TEST(DrawImage, PaintingAsGhostscriptShowsIt) {
    for (const char* tool : {"gs", "convert"}) REQUIRE_TOOL(tool);
    // Illustrator's operators as a procedure set gives them meaning: the
    // parts of a compound path are painted together, at *U.
    const std::string procset =
        "/_eo false def /_compound false def /_paint {} def /XR {1 eq /_eo exch def} def\n"
        "/k /setcmykcolor load def /m /moveto load def /l /lineto load def\n"
        "/_fill {_eo {eofill} {fill} ifelse} def /F {_compound {/_paint {_fill} def} {_fill} ifelse} def\n"
        "/f {closepath F} def /*u {/_compound true def} def /*U {/_compound false def _paint} def\n";
    struct Case {
        const char* what;
        std::string prolog, body;
    };
    const Case cases[] = {
        {"colours of PostScript's operators fill", "",
         "1 0 0 setrgbcolor 5 5 moveto 45 5 lineto 45 45 lineto closepath fill 0 1 0 0 setcmykcolor 55 5 40 40 "
         "rectfill 0.5 setgray 5 55 moveto 45 55 lineto 25 95 lineto fill 0 0 1 setrgbcolor 55 55 40 40 rectstroke"},
        {"a wide dashed line", "",
         "0 0 1 setrgbcolor 6 setlinewidth [10 10] 0 setdash 10 50 moveto 90 50 lineto stroke"},
        {"a clip ends with its grestore", "",
         "gsave 0 0 moveto 50 0 lineto 50 50 lineto 0 50 lineto closepath clip newpath 1 0 0 setrgbcolor 0 0 100 "
         "100 rectfill grestore 0 0 1 setrgbcolor 60 60 30 30 rectfill"},
        {"relative pieces, even-odd", "",
         "10 10 moveto 80 0 rlineto 0 80 rlineto -80 0 rlineto closepath 20 20 rmoveto 40 0 rlineto 0 40 rlineto "
         "-40 0 rlineto closepath 5 5 rmoveto 10 20 20 -20 30 0 rcurveto eofill"},
        {"procedures of the file's, a colour set while the path is open",
         "/box {moveto 30 0 rlineto 0 30 rlineto -30 0 rlineto closepath} bind def",
         "1 0 0 setrgbcolor 10 10 box fill 60 60 box 0 0 1 setrgbcolor 4 setlinewidth stroke"},
        {"1 XR: the star has its hole", procset, "1 0 0 0 k 1 XR 50 95 m 76 14 l 8 64 l 92 64 l 24 14 l F"},
        {"a compound path shows its hole", procset,
         "0 1 1 0 k *u 10 10 m 90 10 l 90 90 l 10 90 l f 30 30 m 30 70 l 70 70 l 70 30 l f *U"},
        {"a comment ends at a form feed", "",
         "1 0 0 setrgbcolor 10 10 30 30 rectfill % note\f 0 0 1 setrgbcolor 60 60 30 30 rectfill"},
        {"a plotting program's short names for PostScript's operators",
         "/s {stroke} def /g {setgray} def /k {setcmykcolor} bind def /f /stroke load def /M {moveto} bind def",
         "0.5 g 8 setlinewidth 10 10 M 90 10 lineto 90 40 lineto s 0 1 1 0 k 10 60 M 90 90 lineto stroke "
         "10 90 M 40 60 lineto 10 60 lineto f"},
        {"one path filled and stroked", "",
         "10 10 moveto 90 10 lineto 50 90 lineto closepath gsave 1 1 0 setrgbcolor fill grestore 4 setlinewidth "
         "0 0 1 setrgbcolor stroke"},
        {"dashes from before their start", "",
         "0 0 1 setrgbcolor 6 setlinewidth [10 5] -3 setdash 10 50 moveto 90 50 lineto stroke"},
    };
    for (const Case& c : cases) {
        const Renderings drawn =
            ghostscript_renderings("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n%%BeginProlog\n" + c.prolog +
                                   "\n%%EndProlog\n" + c.body + "\nshowpage\n%%EOF\n");
        EXPECT_EQ(drawn.placing_error, "") << c.what;
        ASSERT_FALSE(drawn.eps.empty() || drawn.page.empty()) << c.what;
        EXPECT_EQ(unmatched_pixels(drawn.eps, drawn.page), 0) << c.what;
        EXPECT_EQ(unmatched_pixels(drawn.page, drawn.eps), 0) << c.what;
    }
}

}  // namespace
