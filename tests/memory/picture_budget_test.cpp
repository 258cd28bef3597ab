// Small pictures that announce 8192 x 8192 pixels cost, while they are
// placed, about their decoded samples (the budget stated at DrawImage) and
// their file: never a second copy of the samples (a JPEG's samples are its
// file). Each is placed in a child process, whose peak resident memory is
// the assertion.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <string>

#include "../pdf/pictures/picture_files.h"
#include "pdf/PdfWriter.h"
#include "support/peak_memory.h"
#include "support/tools.h"

namespace {

using namespace picturetest;

constexpr int kSide = 8192;

// A baseline JPEG's markers around `size` bytes of scan data.
std::string large_jpeg(std::size_t size) {
    std::string s("\xFF\xD8\xFF\xC0\x00\x11\x08\x20\x00\x20\x00\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00"
                  "\xFF\xDA\x00\x0C\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 35);
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

}  // namespace
