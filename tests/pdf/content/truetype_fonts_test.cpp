// TrueType fonts added to documents: the objects written, the names they go
// by, real fonts read back by independent readers, and damaged files.
#include <cmath>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "content_fixture.h"
#include "sfnt_builder.h"

namespace {

using contenttest::count_of;
using contenttest::Document;
using fonttest::Sfnt;
using testsupport::read_file;
using testsupport::run_command;
using testsupport::shell_quote;
using testsupport::write_file;

// A font of a Debian package the tests need (fonts-dejavu-core,
// fonts-liberation2); empty when it is not installed.
std::string debian_font(const std::string& file) {
    for (const char* folder : {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/truetype/liberation2/"})
        if (std::filesystem::exists(folder + file)) return folder + file;
    return {};
}

#define REQUIRE_FONT(path, file)                                                         \
    const std::string path = debian_font(file);                                          \
    if (path.empty()) {                                                                  \
        if (testsupport::running_in_ci()) FAIL() << "missing font " << file;             \
        GTEST_SKIP() << "missing font " << file;                                         \
    }

std::vector<int> widths_array(const std::string& pdf, const std::string& font_name) {
    const auto at = pdf.find("/Widths [", pdf.find("/Name /" + font_name + " "));
    std::istringstream numbers(pdf.substr(at + 9, pdf.find(']', at) - at - 9));
    std::vector<int> widths;
    for (int w; numbers >> w;) widths.push_back(w);
    return widths;
}

TEST(TrueTypeFonts, ObjectsOfAnAddedFont) {
    Document doc;
    auto& w = doc.writer;
    const auto folder = doc.file().parent_path();
    const std::string bytes = Sfnt().bytes();
    write_file(folder / "sans.ttf", bytes);
    Sfnt bold;
    bold.weight = 700, bold.italic_angle = -819200, bold.advance_width_max = 2048;
    write_file(folder / "bold.ttf", bold.bytes());

    EXPECT_EQ(w.AddFont((folder / "sans.ttf").string()), "TestSans");
    EXPECT_EQ(w.AddFont((folder / "bold.ttf").string(), "Bold (2)", false), "Bold (2)");
    EXPECT_EQ(w.ErrNumber(), 0);
    w.BeginPage();
    w.SetFont("Test Sans", 20);
    EXPECT_FLOAT_EQ(w.TextLength("AB A"), (684 + 635 + 500 + 684) * 20 / 1000.0f);
    EXPECT_FLOAT_EQ(w.TextHeight(), (928 + 244) * 20 / 1000.0f);
    w.DrawText(10, 40, "AB A");
    w.SetFont("bold (2)", 12);
    w.DrawText(10, 80, "BA");
    const std::string pdf = doc.finish();

    EXPECT_NE(pdf.find("<< /Type /Font /Subtype /TrueType /Name /TestSans /BaseFont /TestSans /FirstChar 0 "
                       "/LastChar 255\n/Encoding << /Type /Encoding /BaseEncoding /WinAnsiEncoding>>\n/FontDescriptor "),
              std::string::npos);
    const std::string descriptor =
        "<< /Type /FontDescriptor /FontName /TestSans /Flags 32 /FontBBox [0 -195 684 781] /MissingWidth 750 "
        "/StemV 70 /ItalicAngle 0 /CapHeight 928 /XHeight 464 /Ascent 928 /Descent -244 /MaxWidth 750 "
        "/AvgWidth 586 /FontFile2 ";
    const auto at = pdf.find(descriptor);
    ASSERT_NE(at, std::string::npos) << pdf.substr(0, 3000);
    const int file_object = coretest::reference_after(pdf.substr(at, 300), "/FontFile2");
    EXPECT_EQ(coretest::stream_data(pdf, file_object), bytes);
    EXPECT_NE(coretest::object_text(pdf, file_object).find("/Length1 " + std::to_string(bytes.size())),
              std::string::npos);
    const auto widths = widths_array(pdf, "TestSans");
    ASSERT_EQ(widths.size(), 256u);
    EXPECT_EQ((std::vector<int>{widths[0], widths[32], widths[65], widths[66], widths[255]}),
              (std::vector<int>{750, 500, 684, 635, 750}));

    // Embedded false: dictionary and descriptor, no font file; the alias as
    // a valid name, the style in the base font's name.
    EXPECT_NE(pdf.find("/Name /Bold#282#29 /BaseFont /TestSans,BoldItalic "), std::string::npos);
    EXPECT_NE(pdf.find("/FontName /TestSans,BoldItalic /Flags 96 /FontBBox [0 -195 684 781] /MissingWidth 750 "
                       "/StemV 120 /ItalicAngle -12.5 /CapHeight 928 /XHeight 464 /Ascent 928 /Descent -244 "
                       "/MaxWidth 1000 "),
              std::string::npos);
    EXPECT_EQ(count_of(pdf, "/FontFile2 "), 1u);
    EXPECT_TRUE(contenttest::has_line(pdf, "/Bold#282#29 12 Tf 12 TL"));

    REQUIRE_TOOL("pdffonts");
    const auto fonts = run_command("pdffonts " + shell_quote(doc.file().string()));
    EXPECT_NE(fonts.out.find("TestSans                             TrueType          WinAnsi          yes"),
              std::string::npos) << fonts.out;
    EXPECT_NE(fonts.out.find("TestSans,BoldItalic                  TrueType          WinAnsi          no"),
              std::string::npos) << fonts.out;
    EXPECT_EQ(coretest::pdftotext(doc.file()), "AB A\nBA\n\n\f");
}

TEST(TrueTypeFonts, OneNameOneFont) {
    testsupport::TempDir dir;
    const std::string sans = (dir / "sans.ttf").string(), other = (dir / "other.ttf").string();
    write_file(sans, Sfnt().bytes());
    write_file(other, Sfnt().bytes());
    Sfnt nameless;
    nameless.names = {{3, 1, 1033, 1, "Family only"}};
    const std::string unnamed = (dir / "senza nome.ttf").string();
    write_file(unnamed, nameless.bytes());
    write_file(dir / "cut.ttf", Sfnt().bytes().substr(0, 300));
    write_file(dir / "otto.ttf", "OTTO" + Sfnt().bytes().substr(4));
    std::filesystem::create_directory(dir / "folder.ttf");

    PdfWriter w;
    EXPECT_EQ(w.AddFont(sans), "");  // no document yet
    EXPECT_EQ(w.ErrNumber(), 52);
    w.BeginDoc((dir / "doc.pdf").string());
    w.SetFont("Arial");
    struct Row { std::string file, alias; int encoding; std::string result; int error; bool writes; };
    const Row rows[] = {
        {sans, "", 0, "TestSans", 0, true},
        {sans, "", 0, "TestSans", 0, false},           // the same font again
        {sans, "Test Sans", 2, "Test Sans", 0, false},  // same name, encoding 2 is WinAnsi
        {sans, "", 1, "TestSans", 0, true},            // MacRoman: a font of its own, "MACTestSans"
        {other, "testsans", 0, "", 5, false},          // the name of another font
        {sans, "ARIAL", 0, "", 5, false},              // the name of a standard font in use
        {unnamed, "", 0, "senzanome", 0, true},        // no name in the font: its file's, without blanks
        {(dir / "none.ttf").string(), "", 0, "", 53, false},
        {(dir / "cut.ttf").string(), "", 0, "", 62, false},
        {(dir / "otto.ttf").string(), "", 0, "", 321, false},
        {(dir / "folder.ttf").string(), "", 0, "", 75, false},
    };
    for (const Row& r : rows) {
        const auto before = w.FileSize();
        EXPECT_EQ(w.AddFont(r.file, r.alias, true, r.encoding), r.result) << r.file << " " << r.alias;
        EXPECT_EQ(w.FileSize() > before, r.writes) << r.file << " " << r.alias;
        if (r.error != 0) {
            EXPECT_EQ(w.ErrNumber(), r.error) << r.file << " " << r.alias;
            EXPECT_EQ(w.ErrSource(), "PdfWriter.AddFont");
        }
    }
    w.BeginPage();
    w.SetFont("TESTSANS", 10, 0, 1);
    EXPECT_FLOAT_EQ(w.TextLength(" "), 5.0f);
    w.DrawText(1, 20, "A");
    w.SetFont("Arial", 10);
    EXPECT_FLOAT_EQ(w.TextLength(" "), 2.78f);
    w.EndDoc();
    const std::string pdf = read_file(dir / "doc.pdf");
    EXPECT_EQ(count_of(pdf, "/Type /Font "), 4u);
    EXPECT_NE(pdf.find("/MACTestSans 10 Tf"), std::string::npos);
    EXPECT_NE(pdf.find("/Name /MACTestSans /BaseFont /TestSans /FirstChar 0 /LastChar 255\n"
                       "/Encoding << /Type /Encoding /BaseEncoding /MacRomanEncoding>>"),
              std::string::npos);
    coretest::expect_qpdf_clean(dir / "doc.pdf");
}

// Text with accents, the euro and curly quotes in real fonts, written plain,
// compressed, protected and both: readers find the font embedded, give the
// text back and measure each word as TextLength does.
TEST(TrueTypeFonts, RealFontsReadBackAndMeasured) {
    REQUIRE_FONT(dejavu, "DejaVuSans.ttf");
    REQUIRE_FONT(liberation, "LiberationSerif-Italic.ttf");
    REQUIRE_TOOL("pdftotext");
    REQUIRE_TOOL("pdffonts");
    const std::string lines[] = {"Perch\xE9 l\x92\x93" "euro\x94 \x96 \x80" "100,50 citt\xE0 \x84s\xEC\x93",
                                 "\xC0 \xC8 \xF2 \xF9 \x91x\x92 \x97 \x85 \xAB\xBB"};
    struct Row { std::string font; int filters; bool protect; std::string flags; };
    const Row rows[] = {{dejavu, 0, false, "TrueType          WinAnsi          yes"},
                        {liberation, 2, false, "TrueType          WinAnsi          yes"},
                        {dejavu, 0, true, "TrueType          WinAnsi          yes"},
                        {liberation, 10, true, "TrueType          WinAnsi          yes"}};
    for (const Row& r : rows) {
        testsupport::TempDir dir;
        const auto file = dir / "doc.pdf";
        PdfWriter w;
        if (r.protect) w.SetProtection(4, "dezarezozidu");
        w.SetCompression(r.filters);
        w.BeginDoc(file.string());
        const std::string alias = w.AddFont(r.font);
        ASSERT_NE(alias, "") << w.ErrDescription();
        w.BeginPage();
        w.SetFont(alias, 13);
        std::vector<float> lengths;
        for (int i = 0; i < 2; ++i) {
            w.DrawText(40, 60 + 40 * i, lines[i]);
            for (const auto& word : contenttest::words_of(lines[i])) lengths.push_back(w.TextLength(word));
        }
        w.EndDoc();
        EXPECT_EQ(contenttest::reader_complaints(file), "") << r.font;

        const auto fonts = run_command("pdffonts " + shell_quote(file.string()));
        EXPECT_NE(fonts.out.find(r.flags), std::string::npos) << fonts.out;
        EXPECT_EQ(coretest::pdftotext(file), cp1252_a_utf8(lines[0] + "\n" + lines[1] + "\n\n\f")) << r.font;
        const auto words = contenttest::bbox_words(file);
        ASSERT_EQ(words.size(), lengths.size()) << r.font;
        for (std::size_t i = 0; i < words.size(); ++i)
            EXPECT_NEAR(words[i].x_max - words[i].x_min, lengths[i], 0.01) << words[i].text << " " << r.font;
    }
}

// A font whose objects the disk refuses (larger than the output's buffer,
// so the write fails at once) is not kept: adding it again tries again
// instead of finding it added.
TEST(TrueTypeFonts, AFontTheDiskRefusesIsNotKept) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    testsupport::TempDir dir;
    const auto font = dir / "grande.ttf";
    write_file(font, Sfnt().bytes() + std::string(std::size_t{2} << 20, '\0'));
    PdfWriter w;
    w.BeginDoc("/dev/full");
    for (int attempt = 1; attempt <= 2; ++attempt) {
        EXPECT_EQ(w.AddFont(font.string(), "Grande"), "") << attempt;
        EXPECT_EQ(w.ErrNumber(), 57) << attempt;
    }
    w.Abort();
}

// Cut and damaged copies of the synthetic font and of a real one: each is
// refused with an error and leaves the file as it was, or is read whole;
// the document stays sound either way.
TEST(TrueTypeFonts, DamagedFontsFailCleanly) {
    std::vector<std::string> sources = {Sfnt().bytes()};
    const std::string dejavu = debian_font("DejaVuSans.ttf");
    if (!dejavu.empty()) sources.push_back(read_file(dejavu));
    else if (testsupport::running_in_ci()) ADD_FAILURE() << "missing font DejaVuSans.ttf";

    testsupport::TempDir dir;
    const auto font = dir / "font.ttf";
    PdfWriter w;
    w.BeginDoc((dir / "doc.pdf").string());
    int attempt = 0, refused = 0;
    auto add = [&](const std::string& bytes, bool must_fail) {
        write_file(font, bytes);
        const auto before = w.FileSize();
        const std::string alias = "F" + std::to_string(++attempt);
        if (w.AddFont(font.string(), alias, false) == alias) {
            EXPECT_FALSE(must_fail) << "cut at " << bytes.size();
            return;
        }
        ++refused;
        EXPECT_TRUE(w.ErrNumber() == 62 || w.ErrNumber() == 321) << w.ErrNumber() << " " << w.ErrDescription();
        EXPECT_EQ(w.FileSize(), before);
    };
    for (const std::string& source : sources) {
        const std::size_t step = source.size() / 300 + 1;
        for (std::size_t cut = 0; cut < source.size(); cut += step) add(source.substr(0, cut), true);
        std::mt19937 random(13);
        for (int seed = 0; seed < 300; ++seed) {
            std::string bytes = source;
            // Half the faults in the directory and the first tables, where
            // every byte is read.
            const std::size_t span = random() % 2 ? std::min<std::size_t>(bytes.size(), 1024) : bytes.size();
            for (int k = 1 + random() % 8; k > 0; --k) {
                static const char values[] = {'\0', '\x01', '\x7F', '\x80', '\xFF'};
                const std::size_t at = random() % span;
                const auto value = random();
                bytes[at] = value % 2 ? values[value / 2 % 5] : char(value >> 8);
            }
            add(bytes, false);
        }
    }
    EXPECT_GT(refused, 400);
    w.EndDoc();
    coretest::expect_qpdf_clean(dir / "doc.pdf");
}

}  // namespace
