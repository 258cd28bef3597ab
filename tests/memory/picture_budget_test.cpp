// Small pictures that announce 8192 x 8192 pixels cost, while they are
// placed, about their decoded samples (the budget stated at DrawImage) and
// their file: never a second copy of the samples (a JPEG's samples are its
// file). Drawings and files that are no picture keep to the budget of their
// size. Each is placed in a child process, whose peak resident memory is
// the assertion.
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <string>

#include "../pdf/content/reader_checks.h"
#include "../pdf/pictures/decoded.h"
#include "../pdf/pictures/picture_files.h"
#include "pdf/PdfWriter.h"
#include "pdf/content/picture.h"
#include "pdf/content/wmf_translator.h"
#include "support/peak_memory.h"
#include "support/tools.h"

namespace {

using namespace picturetest;

constexpr int kSide = 8192;

// A baseline JPEG's markers around `size` bytes of scan data.
std::string large_jpeg(std::size_t size) {
    std::string s = std::string("\xFF\xD8\xFF\xDB\x00\x43\x00", 7) + std::string(64, '\x01');
    s += std::string("\xFF\xC0\x00\x11\x08\x20\x00\x20\x00\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00"
                     "\xFF\xDA\x00\x0C\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 33);
    s.resize(s.size() + size, '\x55');
    return s + "\xFF\xD9";
}
constexpr long long kPixels = static_cast<long long>(kSide) * kSide;

TEST(PictureBudget, AnnouncedPicturesCostTheirSamplesOnce) {
    struct Row {
        const char* what;
        std::string name;
        std::function<std::string()> make;
        std::string mask;
        long long sample_bytes;
    };
    const Row rows[] = {
        {"RLE8 BMP of 1,080 bytes", "a.bmp", [] { return empty_rle8_bmp(kSide, kSide); }, "", kPixels},
        {"the same BMP with a colour key (RGB)", "a.bmp", [] { return empty_rle8_bmp(kSide, kSide); }, "White",
         3 * kPixels},
        {"24-bit BMP announcing 8192 x 8192 pixels, holding 16", "f.bmp",
         [] {
             std::string small = bmp_file(marked_halves(4, 4), {40, 24});
             return small.replace(18, 8, std::string("\0\x20\0\0\0\x20\0\0", 8));
         },
         "", 0},
        {"RLE TGA of 2 MB", "b.tga", [] { return long_runs_tga(kSide, kSide); }, "", 3 * kPixels},
        // Under 2 bytes for every 128 pixels: too short even for the
        // longest runs, refused before room is made.
        {"the same TGA cut to 45 %", "e.tga",
         [] {
             const std::string whole = long_runs_tga(kSide, kSide);
             return whole.substr(0, whole.size() * 45 / 100);
         },
         "", 0},
        {"GIF of 27 KB, table full, no Clear", "c.gif", [] { return one_colour_gif(kSide, kSide); }, "", kPixels},
        // A JPEG's samples are its file, which is only walked for markers.
        {"JPEG of 64 MiB", "d.jpg", [] { return large_jpeg(64 << 20); }, "", 0},
    };
    // AddressSanitizer's shadow memory is an eighth more, its allocator's
    // bookkeeping a little on top.
    const double overhead = testsupport::built_with_address_sanitizer() ? 1.25 : 1.1;
    testsupport::TempDir dir;
    for (const Row& row : rows) {
        const auto file = dir / row.name;
        const std::string bytes = row.make();
        testsupport::write_file(file, bytes);
        const auto peak = testsupport::peak_memory_of([&] {
            PdfWriter w;
            w.BeginDoc("/dev/null");
            w.BeginPage();
            try {
                w.DrawImage(file.string(), 0, 0, 100, 100, 1, row.mask);
            } catch (const PdfError& e) {
                if (row.sample_bytes > 0 || e.number() != 62) throw;
            }
            w.EndDoc();
        });
        ASSERT_TRUE(peak.ok) << row.what << ": " << peak.failure;
        const long long budget_kib =
            static_cast<long long>(static_cast<double>(row.sample_bytes + static_cast<long long>(bytes.size())) *
                                   overhead / 1024) +
            16 * 1024;
        EXPECT_LE(peak.grown_kib, budget_kib) << row.what << " (" << bytes.size() << " bytes)";
        std::cout << row.what << ": " << bytes.size() << " bytes, peak " << peak.grown_kib / 1024 << " MiB, budget "
                  << budget_kib / 1024 << " MiB\n";
    }
}

// Drawings are translated at every placement into operators written into the
// page as they are made: from before DrawImage until EndPage has written the
// page, a WMF or EPS of N bytes takes at most pdf::import_memory_budget(N),
// and one whose operators would pass it is refused; so also through the
// stream filters, with protection, and drawn into a reusable object. A file
// that is not the picture its name says costs its first bytes only. The
// rows are split over three tests, which ctest runs side by side: under the
// sanitizers each large drawing takes a minute.
constexpr std::size_t MiB = std::size_t{1} << 20;

struct DrawingRow {
    const char* what;
    std::string name;
    std::string bytes;              // none: the file of the row before of that name
    std::uint64_t sparse_size = 0;  // the file is this long, its bytes at the start
    int error = 0;                  // the ErrNumber DrawImage leaves
    std::uint64_t limit = 0;        // 0: the budget of the file's size
    int filters = 0;                // SetCompression's flags
    bool protect = false;
    bool in_object = false;         // drawn into a reusable object the page plays
    bool shows_halves = false;      // the page shows the 16 x 16 red over blue picture
};

DrawingRow again(const char* what, const char* name, int filters, bool protect, bool in_object) {
    DrawingRow row{what, name, {}};
    row.filters = filters;
    row.protect = protect;
    row.in_object = in_object;
    return row;
}

int coordinate() {
    static std::mt19937 random(3);
    return static_cast<int>(random() % 32000);
}

void expect_within_budget(const std::vector<DrawingRow>& rows) {
    // Under AddressSanitizer its shadow memory, redzones and tables come on top.
    const auto measured = [](std::uint64_t limit) {
        return testsupport::built_with_address_sanitizer() ? limit + limit / 4 + 8 * MiB : limit;
    };
    testsupport::TempDir dir;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DrawingRow& row = rows[i];
        const auto file = dir / row.name;
        if (!row.bytes.empty()) testsupport::write_file(file, row.bytes);
        if (row.sparse_size > 0) std::filesystem::resize_file(file, row.sparse_size);
        const std::uint64_t size = std::filesystem::file_size(file);
        const std::uint64_t limit = row.limit > 0 ? row.limit : pdf::import_memory_budget(size);
        malloc_trim(0);
        const auto peak = testsupport::peak_memory_of([&] {
            PdfWriter w;
            if (row.protect) w.SetProtection(4, "segreto");
            // The quickest quality: the encoders' memory is the same at all.
            w.SetCompression(row.filters, 0);
            w.BeginDoc((dir / "out.pdf").string());
            w.BeginPage();
            if (row.in_object) w.BeginObject("disegno");
            int error = 0;
            try {
                w.DrawImage(file.string(), 0, 0, 100, 100);
                error = w.ErrNumber();
            } catch (const PdfError& e) {
                error = e.number();
            }
            if (error != row.error) throw std::runtime_error("unexpected outcome");
            if (row.in_object) {
                w.EndObject();
                w.PlayObject("disegno");
            }
            w.EndPage();
            if (row.shows_halves) w.EndDoc();
        });
        ASSERT_TRUE(peak.ok) << row.what << ": " << peak.failure;
        if (row.shows_halves) {
            // Drawn at (0, 0), 100 x 100 points.
            const auto page = contenttest::render_colour(dir / "out.pdf", 1, 72);
            ASSERT_GT(page.width, 150) << row.what;
            const std::string colours = {page.colour(50, 25), page.colour(50, 75), page.colour(150, 50)};
            EXPECT_EQ(colours, "RBW") << row.what;
        }
        const std::uint64_t peak_bytes = std::uint64_t(peak.grown_kib) * 1024;
        std::printf("%s: %ju bytes, peak %.1f MB, budget %.1f MB\n", row.what, std::uintmax_t(size),
                    double(peak_bytes) / 1e6, double(limit) / 1e6);
        EXPECT_LE(peak_bytes, measured(limit)) << row.what;
        if (std::none_of(rows.begin() + std::ptrdiff_t(i) + 1, rows.end(),
                         [&](const DrawingRow& later) { return later.name == row.name; }))
            std::filesystem::remove(file);
    }
}

TEST(PictureBudget, MetafilesOfLinesStayWithinTheBudget) {
    std::vector<DrawingRow> rows;
    // 312 Polyline records of 16,000 points: about 4 bytes of operators for
    // each byte of the file.
    std::string records;
    for (int r = 0; r < 312; ++r) {
        std::vector<int> points = {16000};  // the count, then x, y pairs
        for (int i = 0; i < 2 * 16000; ++i) points.push_back(coordinate());
        records += wmf_record(0x0325, points);
    }
    rows.push_back({"WMF of 20 MB of polylines", "lines.wmf", wmf_file(0, 0, 32000, 32000, 1440, records)});
    // Few, since every byte of their operators goes through the filters,
    // slowly under the sanitizers.
    rows.push_back(again("the same, ASCIIHex", "lines.wmf", 16, false, false));
    rows.push_back(again("the same, in a reusable object", "lines.wmf", 0, false, true));
    // The same points as one poly-polygon record.
    std::vector<int> polygons = {1000};
    polygons.insert(polygons.end(), 1000, 5000);
    for (int i = 0; i < 2 * 1000 * 5000; ++i) polygons.push_back(coordinate());
    rows.push_back({"WMF of one poly-polygon of 20 MB", "polygons.wmf",
                    wmf_file(0, 0, 32000, 32000, 1440, wmf_record(0x0538, polygons))});
    expect_within_budget(rows);
}

// A metafile whose operators take 3 % more than what its budget leaves
// them (the budget of its size less the file and the translator's 16 MiB)
// is refused.
TEST(PictureBudget, MetafileJustPastTheBudgetIsRefused) {
    const std::string head = wmf_brush(0, kRed) + wmf_select(0);
    const std::string rectangle = wmf_rectangle(1001, 2003, 30007, 31011);
    const auto file = [&](std::size_t rectangles) {
        std::string records = head;
        records.reserve(head.size() + rectangles * rectangle.size());
        for (std::size_t i = 0; i < rectangles; ++i) records += rectangle;
        return wmf_file(0, 0, 32000, 32000, 1440, records);
    };
    // The operators as DrawImage writes them at 100 x 100 points: those of
    // one rectangle, and of each further one.
    const auto operators = [&](std::size_t rectangles) {
        const std::string bytes = file(rectangles);
        const auto fit = [](pdf::VectorSize) { return pdf::VectorSize{100, 100}; };
        return static_cast<double>(pdf::translate_wmf(span_of(bytes), fit).operators.size());
    };
    const double first = operators(1), each = operators(2) - first;
    const double fixed = static_cast<double>(file(0).size()), record = static_cast<double>(rectangle.size());
    // first + each (n - 1) = 1.03 (100 MB + 4 size - size - 16 MiB), size = fixed + record n
    const double over = 1.03, left = 100e6 - 16.0 * MiB + 3 * fixed;
    const auto n = static_cast<std::size_t>((over * left - first + each) / (each - over * 3 * record)) + 1;
    const std::string bytes = file(n);
    const double budget = static_cast<double>(pdf::import_memory_budget(bytes.size()) - bytes.size() - 16 * MiB);
    ASSERT_GT(first + each * static_cast<double>(n - 1), 1.02 * budget);
    expect_within_budget({{"WMF of rectangles 3 % past the budget", "edge.wmf", bytes, 0, 321}});
}

TEST(PictureBudget, MetafilesNearAndPastTheBudget) {
    std::vector<DrawingRow> rows;
    for (const std::size_t size : {40 * MiB, 64 * MiB}) {
        // Filled rectangles: nearly 5 bytes of operators for each byte, so
        // that those of 40 MB take most of their budget (a second copy of
        // them would pass it) and those of 64 MB would pass it.
        std::string records = wmf_brush(0, kRed) + wmf_select(0);
        while (records.size() < size) records += wmf_rectangle(coordinate(), coordinate(), coordinate(), coordinate());
        rows.push_back({size < 64 * MiB ? "WMF of 40 MB of rectangles" : "WMF of 64 MB of rectangles", "boxes.wmf",
                        wmf_file(0, 0, 32000, 32000, 1440, records), 0, size < 64 * MiB ? 0 : 321});
        // Operators near the budget: a second copy of them, or of the
        // encoder's input, would pass it.
        if (size < 64 * MiB) rows.push_back(again("the same, Flate and protection", "boxes.wmf", 2, true, false));
    }
    expect_within_budget(rows);
}

TEST(PictureBudget, PostScriptAndNonPicturesStayWithinTheBudget) {
    std::vector<DrawingRow> rows;
    // Short curves of one-digit numbers, each of which becomes a number of
    // the page with three decimals.
    std::string body;
    body.reserve(40 * MiB + 64);
    while (body.size() < 40 * MiB) {
        for (int i = 0; i < 8; ++i) body += std::to_string(coordinate() % 10) + (i == 1 ? " m " : " ");
        body += "c S\n";
    }
    rows.push_back({"EPS of 40 MB of short curves", "curves.eps", eps_file("0 0 7 7", body)});
    for (const char* name : {"big.gif", "big.eps"})
        rows.push_back({"700 MB that are no picture", name, "no picture at all", 700'000'000, 321, 16 * MiB});
    // Under the largest drawing a file may be: only its first bytes refuse it.
    rows.push_back({"400 MB that are no drawing", "big.wmf", "no drawing at all", 400'000'000, 321, 16 * MiB});
    expect_within_budget(rows);
}

// Raster files of 700 MB, a picture's first bytes and then a hole: their
// readers read what the header lets the picture use, a piece at a time, and
// a JPEG is copied into its stream the same way. A raster file over the
// file limit is refused before it is read.
TEST(PictureBudget, RasterFilesOf700MBCostAPieceOfThem) {
    const Image halves = marked_halves(16, 16);
    const std::string gif = gif_file({kRed, kBlue}, {halves_frame(16, 16)});
    const std::string jpeg = large_jpeg(0);
    const std::uint64_t size = 700'000'000;
    std::vector<DrawingRow> rows = {
        {"16 x 16 BMP", "a.bmp", bmp_file(halves, {40, 24}), size},
        {"16 x 16 TGA, run-length", "a.tga", tga_file(halves, {10, 24}), size},
        {"16 x 16 GIF", "a.gif", gif, size},
        {"GIF header", "b.gif", gif.substr(0, 19), size, 321},
        {"JPEG header", "b.jpg", jpeg.substr(0, 71), size, 321},
        {"JPEG, its scan 700 MB", "a.jpg", jpeg.substr(0, jpeg.size() - 2), size},
        {"16 x 16 BMP over the file limit", "c.bmp", bmp_file(halves, {40, 24}), pdf::kMostPictureFileBytes + 1, 321},
    };
    for (DrawingRow& row : rows) {
        row.limit = 16 * MiB;
        row.shows_halves = row.error == 0 && row.name != "a.jpg";
    }
    expect_within_budget(rows);
}

}  // namespace
