// Damaged pictures of every format through DrawImage: every prefix of small
// valid files and seeded mutations of them. Each call places the picture or
// refuses it (62, 321; vector pictures record the error), and the document
// stays sound. Under the sanitizers this also proves the readers stay inside
// the file; hangs are the fuzz targets' business (per-input time-out).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>

#include "../core/own_pdf.h"
#include "picture_files.h"
#include "support/tools.h"

namespace {

using namespace picturetest;

struct Sample {
    std::string ending;
    std::string bytes;
};

std::vector<Sample> small_files() {
    GifFrame second = halves_frame(5, 9);
    second.interlaced = true;
    second.local_colours = {kGreen, kWhite, kRed};
    const Image im = marked_halves(7, 4);
    const std::string soi = "\xFF\xD8";
    const std::string jpeg = soi + "\xFF\xE0\x00\x06JFIF\xFF\xEE\x00\x0E" + std::string("Adobe\0d\0\0\0\0\0", 12) +
                             "\xFF\xC0\x00\x14\x08\x00\x04\x00\x07\x04" + std::string("\x01\x11\0\x02\x11\0\x03\x11\0\x04\x11\0", 12) +
                             "\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x12\x34\xFF\xD9";
    return {
        {".gif", gif_file({kRed, kBlue, kGreen}, {halves_frame(6, 4), second})},
        {".bmp", bmp_file(im, {40, 8, 1})},
        {".bmp", bmp_file(im, {40, 4, 2})},
        {".bmp", bmp_file(im, {56, 16, 3, true, {0xF800, 0x07E0, 0x001F}})},
        {".bmp", bmp_file(im, {12, 8})},
        {".tga", tga_file(im, {10, 24, 24, 0, true})},
        {".tga", tga_file(im, {9, 16, 15, 3})},
        {".jpg", jpeg},
        {".wmf", red_over_blue_wmf() + wmf_pen(2, 3, kGreen) + wmf_select(3) +
                     wmf_record(0x0538, {2, 3, 2, 0, 0, 5, 5, 9, 0, 1, 1, 2, 2})},
        {".eps", red_over_blue_eps()},
        {".ai", eps_file("0 0 10 10", "q 0 0 m 1 2 3 4 v 5 w [1 2] 0 d 1 1 l W n Q 0.5 G S")},
    };
}

// A few faults of the kinds readers meet: flipped bytes, bytes set to 0 or
// 0xFF, a piece cut out or repeated, the file cut short.
std::string mutated(std::string s, std::mt19937& random) {
    auto upto = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random() % n); };
    for (std::size_t faults = 1 + upto(4); faults > 0 && !s.empty(); --faults) {
        const std::size_t at = upto(s.size());
        switch (upto(6)) {
            case 0: s[at] = static_cast<char>(s[at] ^ (1 << upto(8))); break;
            case 1: s[at] = '\0'; break;
            case 2: s[at] = '\xFF'; break;
            case 3: s[at] = static_cast<char>(random()); break;
            case 4: s.erase(at, 1 + upto(16)); break;
            default: s.insert(at, s.substr(at, 1 + upto(32))); break;
        }
    }
    if (upto(4) == 0) s.resize(upto(s.size() + 1));
    return s;
}

TEST(PictureRobustness, PrefixesAndMutationsAreRefusedCleanly) {
    const int mutations = std::getenv("CI") != nullptr ? 1500 : 800;
    testsupport::TempDir dir;
    const auto pdf = dir / "robust.pdf";
    PdfWriter w;
    w.SetCompression(2);
    w.BeginDoc(pdf.string());
    w.BeginPage();
    std::mt19937 random(12);
    int placed = 0, refused = 0, calls = 0;
    for (const Sample& sample : small_files()) {
        std::vector<std::string> inputs;
        for (std::size_t n = 0; n <= sample.bytes.size(); ++n) inputs.push_back(sample.bytes.substr(0, n));
        for (int m = 0; m < mutations; ++m) inputs.push_back(mutated(sample.bytes, random));
        const bool vector = sample.ending == ".wmf" || sample.ending == ".eps" || sample.ending == ".ai";
        for (const std::string& input : inputs) {
            // A new name each time: a placed picture would otherwise be reused.
            const auto file = dir / ("p" + std::to_string(++calls) + sample.ending);
            testsupport::write_file(file, input);
            if (vector) {
                w.DrawImage(file.string(), 10, 10, 50, 40);
                const int n = w.ErrNumber();
                EXPECT_TRUE(n == 0 || n == 5 || n == 6 || n == 62 || n == 321) << n << " " << file;
                continue;
            }
            try {
                w.DrawImage(file.string(), 10, 10, 50, 40, static_cast<std::int16_t>(1 + calls % 2));
                ++placed;
            } catch (const PdfError& e) {
                EXPECT_TRUE(e.number() == 62 || e.number() == 321) << e.number() << " " << e.what() << " " << file;
                ++refused;
            }
            std::filesystem::remove(file);
        }
    }
    w.EndDoc();
    EXPECT_GT(placed, 100);
    EXPECT_GT(refused, 1000);
    REQUIRE_TOOL("qpdf");
    coretest::expect_qpdf_clean(pdf, "", "robustness document");
}

// Writes the seed corpora of the picture fuzz targets (run by hand:
// --gtest_also_run_disabled_tests, PICTURE_SEEDS=<the repository's fuzz/corpus>).
TEST(PictureRobustness, DISABLED_WriteFuzzSeeds) {
    const char* root = std::getenv("PICTURE_SEEDS");
    ASSERT_NE(root, nullptr);
    std::map<std::string, std::string> target = {{".gif", "gif"}, {".bmp", "bmp"}, {".tga", "tga"},
                                                 {".jpg", "jpeg"}, {".wmf", "wmf"}, {".eps", "eps"},
                                                 {".ai", "eps"}};
    std::mt19937 random(5);
    std::vector<Sample> samples = small_files();
    // The table filled to 4096 codes, kept (no Clear) and cleared.
    for (bool deferred : {true, false}) {
        GifFrame noisy = halves_frame(90, 60);
        noisy.min_code_size = 8;
        noisy.lzw.deferred_clear = deferred;
        for (auto& p : noisy.pixels) p = static_cast<std::uint8_t>(random() % 256);
        samples.push_back({".gif", gif_file({kRed, kBlue}, {noisy})});
    }
    GifFrame literal = halves_frame(9, 9);
    literal.lzw.literal_only = true;
    samples.push_back({".gif", gif_file({kRed, kBlue}, {literal})});
    int n = 0;
    for (const Sample& sample : samples) {
        const auto folder = std::filesystem::path(root) / (target[sample.ending] + "_fuzzer");
        std::filesystem::create_directories(folder);
        testsupport::write_file(folder / ("seed" + std::to_string(++n)), sample.bytes);
        for (int m = 0; m < 3; ++m)
            testsupport::write_file(folder / ("mutated" + std::to_string(n) + "_" + std::to_string(m)),
                                    mutated(sample.bytes, random));
    }

    // Hostile shapes: pictures announcing far more than their files hold,
    // frames readers cannot decode, drawings the translators must refuse.
    std::string lossless;
    for (const Sample& sample : small_files())
        if (sample.ending == ".jpg") lossless = sample.bytes;
    lossless[lossless.find("\xFF\xC0") + 1] = '\xC3';
    std::string short_gif = one_colour_gif(8192, 8192);
    short_gif.resize(200);
    std::string code_size_12 = gif_file({kRed, kBlue}, {halves_frame(4, 4)});
    code_size_12[code_size_12.find('\x2C', 13 + 12) + 10] = 12;
    // A grey frame and its scan, no quantisation table.
    const std::string no_tables = std::string("\xFF\xD8\xFF\xC0\x00\x0B\x08\x00\x04\x00\x07\x01\x01\x11\x00", 15) +
                                  std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x12\x34\xFF\xD9", 14);
    std::string bitmap = red_over_blue_wmf();
    bitmap.insert(bitmap.size() - 6, wmf_record(0x0F43, std::vector<int>(32, 1)));
    const std::pair<const char*, std::string> hostile[] = {
        {"bmp_fuzzer/rle8_8192_indexed", empty_rle8_bmp(8192, 8192)},
        {"bmp_fuzzer/rle8_8192_rgb", empty_rle8_bmp(8192, 8192) + '\0'},  // odd length: read as RGB
        {"tga_fuzzer/long_runs_1024", long_runs_tga(1024, 1024)},
        {"gif_fuzzer/full_table_2048", one_colour_gif(2048, 2048)},
        {"gif_fuzzer/8192_data_cut", short_gif},
        {"jpeg_fuzzer/lossless_frame", lossless},
        {"jpeg_fuzzer/no_quantisation_table", no_tables},
        {"gif_fuzzer/code_size_12", code_size_12},
        {"wmf_fuzzer/bitmap_after_shapes", bitmap},
        {"eps_fuzzer/text", eps_file("0 0 10 10", "0 0 m 9 9 l S (TESTO) Tx (ALTRO) show")},
        {"eps_fuzzer/image_through_names",
         eps_file("0 0 10 10", "/P {1 I} def /I /image load def /m {show} def 0 0 m 9 9 l S P")},
        {"eps_fuzzer/custom_colours", eps_file("0 0 10 10", "0 .8 .9 0 (Arancio) .25 x 1 0 0 0 (B) 1 X 0 0 m 9 9 l f S")},
        {"eps_fuzzer/no_current_point", eps_file("0 0 10 10", "5 5 l h f 1 1 2 2 3 3 c W n 0 0 m 1 1 l S 2 2 l S")},
        {"eps_fuzzer/raster", eps_file("0 0 10 10", "0 0 translate 10 10 scale 2 2 8 [2 0 0 -2 0 2] {<00ff>} image")},
        {"eps_fuzzer/pdf_like", eps_file("0 0 10 10", "q 0.1 0 0 0.1 0 0 cm 1 0 0 rg 0 0 90 90 re f Q")},
        {"eps_fuzzer/postscript_painting",
         eps_file("0 0 100 100", "gsave 0 0 moveto 50 0 lineto 50 50 lineto closepath clip newpath 1 0 0 setrgbcolor "
                                 "0 0 100 100 rectfill grestore 6 setlinewidth [10 10] 0 setdash 1 setlinecap "
                                 "0 1 0 0 setcmykcolor 10 10 moveto 20 0 rlineto 0 20 rmoveto 5 5 10 0 15 5 rcurveto "
                                 "closepath 0.5 setgray stroke 5 5 moveto 9 9 lineto eofill 60 60 30 30 rectstroke")},
        {"eps_fuzzer/compound_even_odd",
         eps_file("0 0 100 100", "u 0 A 0 D 800 Ar *u 10 10 m 90 10 l 90 90 l 10 90 l f 30 30 m 30 70 l 70 70 l "
                                 "70 30 l f *U 1 XR 50 95 m 76 14 l 8 64 l 92 64 l 24 14 l F 0 XR U")},
        {"eps_fuzzer/procedures_used",
         eps_file("0 0 100 100", "/box {moveto 30 0 rlineto 0 30 rlineto -30 0 rlineto closepath} bind def "
                                 "/two {box box} def 10 10 60 60 two fill /inner {\n%%BeginDocument: a.eps\n"
                                 "%!PS-Adobe-3.0 EPSF-3.0\n%%EndSetup\n5 5 m 9 9 l S\n%%EOF\n%%EndDocument\n} def "
                                 "inner")},
        {"wmf_fuzzer/slots_freed_out_of_order",
         wmf_file(0, 0, 100, 100, 72,
                  wmf_pen(0, 1, kRed) + wmf_pen(0, 1, kBlue) + wmf_pen(0, 1, kGreen) + wmf_record(0x01F0, {0}) +
                      wmf_record(0x01F0, {2}) + wmf_record(0x01F0, {2}) + wmf_pen(0, 1, kWhite) + wmf_select(0) +
                      wmf_record(0x0213, {50, 50}))},
    };
    for (const auto& [name, bytes] : hostile) testsupport::write_file(std::filesystem::path(root) / name, bytes);
}

}  // namespace
