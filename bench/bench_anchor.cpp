// The anchor document: 1,000 protected A4 pages of justified Times 12, as
// the program writes its contracts, written by our writer and by libharu
// (the reference) side by side, uncompressed and with Flate. Pages per
// second are the figure to compare.
//
// Before timing, our output is compared byte for byte (through its MD5,
// with the creation date fixed) with the output of the writer as it was
// when this benchmark was written: a speed change that alters a single
// byte stops the benchmark.
#include <benchmark/benchmark.h>
#include <hpdf.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "contract_sentences.h"
#include "paginate.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/ascii_hex_encoder.h"
#include "pdf/core/creation_date_hook.h"
#include "pdf/core/md5.h"

namespace {

constexpr int kPages = 1000;
constexpr float kMarginCm = 2.0f;


std::string paragraph(int n) {
    std::string text = "Art. " + std::to_string(n) + " - ";
    for (int i = 0; i < 3 + n % 4; ++i) {
        if (i) text += ' ';
        text += bench::kContractSentences[(n * 7 + i) % std::size(bench::kContractSentences)];
    }
    return text;
}

std::string temporary_name(const char* what) {
    return (std::filesystem::temp_directory_path() /
            ("bench_anchor_" + std::string(what) + "_" + std::to_string(::getpid()) + ".pdf"))
        .string();
}

// Our writer: centimetres, 2 cm margins, paragraphs carried over page
// breaks by their remainders, print-only protection.
std::int64_t write_ours(const std::string& file, bool flate) {
    PdfWriter w;
    w.SetScale(3);
    w.SetMargins(kMarginCm, kMarginCm, kMarginCm, kMarginCm, false);
    w.SetProtection(4, "proprietario", "");
    if (flate) w.SetCompression(2, 3);
    w.BeginDoc(file);
    w.BeginPage();
    w.SetFont("Times new roman", 12);
    bench::fill_pages(w, kPages, 0, w.TextHeight() / 2, paragraph);
    w.EndDoc();
    return w.FileSize();
}

// The same document through libharu: TextRect justifies and reports how
// much of the paragraph it placed.
std::int64_t write_libharu(const std::string& file, bool flate) {
    HPDF_Doc pdf = HPDF_New(nullptr, nullptr);
    HPDF_SetCompressionMode(pdf, flate ? HPDF_COMP_ALL : HPDF_COMP_NONE);
    HPDF_SetPassword(pdf, "proprietario", "");
    HPDF_SetPermission(pdf, HPDF_ENABLE_PRINT);
    HPDF_SetEncryptionMode(pdf, HPDF_ENCRYPT_R2, 5);
    HPDF_Font font = HPDF_GetFont(pdf, "Times-Roman", "WinAnsiEncoding");
    const float margin = kMarginCm / 2.54f * 72;
    const float leading = 12 * 1.15f;
    HPDF_Page page = nullptr;
    float top = 0;
    auto new_page = [&] {
        if (page) HPDF_Page_EndText(page);
        page = HPDF_AddPage(pdf);
        HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
        HPDF_Page_BeginText(page);
        HPDF_Page_SetFontAndSize(page, font, 12);
        HPDF_Page_SetTextLeading(page, leading);
        top = HPDF_Page_GetHeight(page) - margin;
    };
    new_page();
    int pages = 1, article = 1;
    std::string pending;
    std::size_t from = 0;
    for (;;) {
        if (from >= pending.size()) {
            pending = paragraph(article++);
            from = 0;
        }
        if (top - margin < leading) {
            if (pages == kPages) break;
            new_page();
            ++pages;
        }
        HPDF_UINT placed = 0;
        const HPDF_STATUS status = HPDF_Page_TextRect(page, margin, top, HPDF_Page_GetWidth(page) - margin, margin,
                                                      pending.c_str() + from, HPDF_TALIGN_JUSTIFY, &placed);
        from += placed;
        if (status == HPDF_PAGE_INSUFFICIENT_SPACE || placed == 0) {
            top = margin;  // the page is full
        } else {
            top = HPDF_Page_GetCurrentTextPos(page).y - leading / 2;
        }
    }
    HPDF_Page_EndText(page);
    HPDF_SaveToFile(pdf, file.c_str());
    HPDF_Free(pdf);
    return static_cast<std::int64_t>(std::filesystem::file_size(file));
}

std::string md5_of_file(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return pdf::encode_ascii_hex(pdf::md5_digest(bytes));
}

// Digests of our anchor document (creation date fixed below) as the writer
// made it before any speed work.
const char* expected_digest(bool flate) {
    return flate ? "78D94B7F6569411D6292E5722F6F4FD3" : "A96BD347E683048FAF7FF7599F2BC5C7";
}

using Writer = std::int64_t (*)(const std::string&, bool);

void run(benchmark::State& state, const char* name, Writer writer, bool flate, bool check) {
    const std::string file = temporary_name(name);
    if (check) {
        pdf::fix_creation_date("D:20260101120000Z+01'00'");
        writer(file, flate);
        const std::string digest = md5_of_file(file);
        if (digest != expected_digest(flate)) {
            state.SkipWithError(("output changed: MD5 " + digest).c_str());
            std::filesystem::remove(file);
            return;
        }
    }
    std::int64_t bytes = 0;
    for (auto _ : state) bytes = writer(file, flate);
    // BENCH_ANCHOR_KEEP=folder keeps the last file of each case there, for
    // the readers (qpdf --check, pdfinfo).
    if (const char* keep = std::getenv("BENCH_ANCHOR_KEEP"))
        std::filesystem::copy_file(file, std::filesystem::path(keep) / std::filesystem::path(file).filename(),
                                   std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(file);
    state.counters["pages_per_second"] =
        benchmark::Counter(static_cast<double>(kPages), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes_per_page"] = static_cast<double>(bytes) / kPages;
}

}  // namespace

BENCHMARK_CAPTURE(run, ours_plain, "ours_plain", write_ours, false, true)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK_CAPTURE(run, libharu_plain, "libharu_plain", write_libharu, false, false)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK_CAPTURE(run, ours_flate, "ours_flate", write_ours, true, true)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK_CAPTURE(run, libharu_flate, "libharu_flate", write_libharu, true, false)->Unit(benchmark::kMillisecond)->MinTime(1);

BENCHMARK_MAIN();
