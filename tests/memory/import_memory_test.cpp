// Reading other people's PDF files within the memory budget that PdfWriter.h
// states: each hostile shape met in audit is read and imported (or refused)
// in a child process whose peak resident memory is held to the budget of its
// file size.
#include <gtest/gtest.h>
#include <malloc.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/extras/pdf_builder.h"
#include "support/peak_memory.h"
#include "support/tools.h"

namespace {

using extrastest::PdfBuilder;
using extrastest::two_page_file;
using testsupport::TempDir;
using testsupport::write_file;

constexpr std::size_t MiB = std::size_t{1} << 20;

// A limit as measured: under AddressSanitizer its shadow memory (an eighth
// of what is touched), the redzones around each block and its own tables
// come on top.
std::uint64_t measured(std::uint64_t limit) {
    return testsupport::built_with_address_sanitizer() ? limit + limit / 4 + 8 * MiB : limit;
}

// `copies` times `unit`, zlib-compressed a piece at a time (no buffer of the
// whole in this process).
std::string zlib_of_repeated(const std::string& unit, std::size_t copies) {
    z_stream z{};
    deflateInit(&z, unit.size() > MiB ? 0 : 9);
    std::string piece;
    while (piece.size() < MiB) piece += unit;
    const std::size_t per_piece = piece.size() / unit.size();
    std::string out;
    std::vector<unsigned char> buffer(1 << 16);
    for (std::size_t done = 0; done < copies;) {
        const std::size_t n = std::min(per_piece, copies - done);
        done += n;
        z.next_in = reinterpret_cast<Bytef*>(piece.data());
        z.avail_in = uInt(n * unit.size());
        const int flush = done == copies ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = buffer.data();
            z.avail_out = uInt(buffer.size());
            deflate(&z, flush);
            out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return out;
}

std::string numbers(std::size_t count) {
    std::string s = "[";
    for (std::size_t i = 0; i < count; ++i) s += i % 2 ? "1 " : "0 ";
    return s + "]";
}

// A one-page file whose content is the two Flate streams given.
std::string two_content_streams(const std::string& first, const std::string& second) {
    return two_page_file("")
        .object(3, "<< /Type /Page /Parent 2 0 R /Contents [6 0 R 9 0 R] >>")
        .stream(6, "/Filter /FlateDecode", first)
        .stream(9, "/Filter /FlateDecode", second)
        .finish("/Size 10 /Root 1 0 R");
}

// `pages` pages, each drawing its own picture of `picture` incompressible
// bytes: a large file most of which one page does not need.
std::string large_source(int pages, std::size_t picture) {
    PdfBuilder b;
    std::string kids;
    std::mt19937 random(7);
    std::string samples(picture, '\0');
    for (int p = 0; p < pages; ++p) {
        const int page = 3 + 3 * p;
        kids += std::to_string(page) + " 0 R ";
        for (char& c : samples) c = static_cast<char>(random());
        b.object(page, "<< /Type /Page /Parent 2 0 R /Contents " + std::to_string(page + 1) +
                           " 0 R /Resources << /XObject << /I " + std::to_string(page + 2) + " 0 R >> >> >>")
            .stream(page + 1, "", "q 500 0 0 700 50 50 cm /I Do Q")
            .stream(page + 2,
                    "/Type /XObject /Subtype /Image /Width " + std::to_string(picture / 1024) +
                        " /Height 1024 /ColorSpace /DeviceGray /BitsPerComponent 8",
                    samples);
    }
    b.object(1, "<< /Type /Catalog /Pages 2 0 R >>")
        .object(2, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) +
                       " /MediaBox [0 0 600 800] >>");
    return b.finish("/Size " + std::to_string(3 + 3 * pages) + " /Root 1 0 R");
}

TEST(ImportMemory, HostileAndLargeFilesStayWithinTheBudget) {
    // What a refusal at a cap, or a page below it, may take: the file's
    // pages it reads, one cap of decoded content or parsed values, and a
    // little more.
    const auto about_one_cap = [](const std::string& source) -> std::uint64_t {
        return 38'000'000 + source.size();
    };
    struct Row {
        const char* what;
        std::string source;
        bool imported;             // page 1 comes in, or is refused
        std::uint64_t limit = 0;   // 0: the budget
        bool compress = false;     // the document's streams in Flate
        bool every_page = false;   // all pages imported, not only the first
    };
    std::vector<Row> rows;
    {
        const std::string array = numbers(999'000);
        std::string source = two_page_file("")
                                 .object(3, "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources << /Properties "
                                            "<< /A " + array + " /B 8 0 R /C 9 0 R >> >> >>")
                                 .object(8, array)
                                 .object(9, array)
                                 .finish("/Size 10 /Root 1 0 R");
        rows.push_back({"inline resources holding 999,000 numbers and referring to two more such arrays", source,
                        false, about_one_cap(source)});
        source = two_page_file("")
                     .object(3, "<< /Type /Page /Parent 2 0 R /Resources << /Properties << /A 8 0 R >> >> >>")
                     .object(8, numbers(3'000'000))
                     .finish("/Size 10 /Root 1 0 R");
        rows.push_back({"one object of 3,000,000 numbers", source, false, about_one_cap(source)});
    }
    {
        // Together more values than may be parsed at once, each page small.
        PdfBuilder b;
        std::string kids;
        const std::string array = numbers(300);
        for (int p = 0; p < 2000; ++p) {
            kids += std::to_string(3 + p) + " 0 R ";
            b.object(3 + p, "<< /Type /Page /Parent 2 0 R /Resources << /Properties << /A " + array + " >> >> >>");
        }
        b.object(1, "<< /Type /Catalog /Pages 2 0 R >>")
            .object(2, "<< /Type /Pages /Kids [" + kids + "] /Count 2000 /MediaBox [0 0 600 800] >>");
        const std::string source = b.finish("/Size 2003 /Root 1 0 R");
        rows.push_back({"2,000 pages of 300 numbers each", source, true, about_one_cap(source)});
    }
    {
        const std::string bomb = zlib_of_repeated(std::string(1024, ' '), 140 * 1024);
        const std::string source = two_content_streams(bomb, bomb);
        rows.push_back({"two content streams of Flate bombs", source, false, about_one_cap(source)});
    }
    {
        const std::string half = zlib_of_repeated("0 0 m 10 10 l S\n", 63 * MiB / 2 / 16);
        std::string source = two_content_streams(half, half);
        rows.push_back({"two content streams decoding to 63 MiB", source, false, about_one_cap(source), true});
        const std::string smaller = zlib_of_repeated("0 0 m 10 10 l S\n", 15 * MiB / 16);
        source = two_content_streams(smaller, smaller);
        rows.push_back({"two content streams decoding to 30 MiB", source, true, about_one_cap(source), true});
    }
    {
        std::string noise(16 * MiB - 1024, '\0');
        std::mt19937 random(5);
        for (char& c : noise) c = static_cast<char>(random());
        const std::string stored = zlib_of_repeated(noise, 1);
        rows.push_back(
            {"two content streams of 16 MiB of noise each", two_content_streams(stored, stored), true, 0, true});
    }
    rows.push_back({"one cross-reference entry for object 8,388,000",
                    "%PDF-1.4\nxref\n8388000 1\n0000000009 00000 n\r\ntrailer\n<< /Size 8388001 /Root 8388000 0 R >>\n"
                    "startxref\n9\n%%EOF\n",
                    false, 4'000'000});
    {
        // The file is never held whole.
        std::string large = large_source(40, MiB);
        std::uint64_t quarter = large.size() / 4;
        rows.push_back({"every page of a 40 MiB file", std::move(large), true, quarter, false, true});
        large = large_source(1, 40 * MiB);
        quarter = large.size() / 4;
        rows.push_back({"a page drawing a picture of 40 MiB", std::move(large), true, quarter});
    }

    TempDir dir;
    for (const Row& row : rows) {
        const auto src = dir / "src.pdf", out = dir / "out.pdf";
        write_file(src, row.source);
        // Freed memory still resident would be reused without growing the
        // child's resident set: it goes back first.
        malloc_trim(0);
        const auto peak = testsupport::peak_memory_of([&] {
            PdfWriter w;
            if (row.compress) w.SetCompression(2);
            w.BeginDoc(out.string());
            const std::int32_t pages = w.GetInfo(src.string());
            for (std::int32_t p = 1; p <= (row.every_page ? pages : std::min(pages, 1)); ++p) {
                w.BeginPage();
                try {
                    w.ImportPage(src.string(), p, 0, 0);
                } catch (const PdfError&) {
                }
            }
            w.EndDoc();
        });
        ASSERT_TRUE(peak.ok) << row.what << ": " << peak.failure;
        const std::uint64_t peak_bytes = std::uint64_t(peak.grown_kib) * 1024;
        std::printf("%s: %zu bytes, peak %.1f MB, output %ju bytes\n", row.what, row.source.size(),
                    double(peak_bytes) / 1e6, std::uintmax_t(std::filesystem::file_size(out)));
        // Form dictionaries are written plain, whatever the filters.
        EXPECT_EQ(testsupport::read_file(out).find("/Subtype /Form") != std::string::npos, row.imported) << row.what;
        EXPECT_LE(peak_bytes, measured(row.limit ? row.limit : pdf::import_memory_budget(row.source.size())))
            << row.what;
        EXPECT_LE(row.limit, pdf::import_memory_budget(row.source.size())) << row.what;
    }
}

}  // namespace
