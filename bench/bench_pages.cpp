// Pages per second of a contract-like document: justified Times 12 text in
// centimetres, paragraphs carried over page breaks by their remainders, and
// a header object painted on every page. The same document at 100 and at
// 1,000 pages shows whether the cost per page stays flat as it grows.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "contract_sentences.h"
#include "paginate.h"
#include "pdf/PdfWriter.h"

namespace {


std::string paragraph(int n) {
    std::string text = "Art. " + std::to_string(n) + " - ";
    for (int i = 0; i < 3 + n % 4; ++i) {
        if (i) text += ' ';
        text += bench::kContractSentences[(n + i) % 5];
    }
    return text;
}

// Writes the document and returns its size in bytes.
std::int64_t write_document(int pages, const std::string& file) {
    PdfWriter w;
    w.SetScale(3);
    w.SetMargins(2, 2, 2.5f, 2);
    w.BeginDoc(file);
    const float width = w.GetPageWidth(true);
    const float height = w.GetPageHeight(true);

    w.BeginObject("header_footer", 7);
    w.SetLineWidth(0.01f);
    w.DrawLine(0, -0.4f, width, -0.4f);
    w.SetFont("Arial", 8);
    w.DrawTextBox(0, -1, width, 0.5f, "CONTRATTO DI APPALTO PER L'ESECUZIONE DI LAVORI EDILI", 0, 4, 1);
    w.DrawTextBox(0, height + 0.5f, width, 0.5f, "Il committente ____________    L'appaltatore ____________", 0, 4,
                  1);
    w.EndObject();

    w.BeginPage();
    w.SetFont("Times new roman", 12);
    bench::fill_pages(w, pages, 0.5f, 0.2f, paragraph);
    w.EndDoc();
    return w.FileSize();
}

void BM_JustifiedPages(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const std::string file =
        (std::filesystem::temp_directory_path() / ("bench_pages_" + std::to_string(::getpid()) + ".pdf")).string();
    std::int64_t bytes = 0;
    for (auto _ : state) bytes = write_document(pages, file);
    std::filesystem::remove(file);
    state.counters["pages_per_second"] =
        benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["bytes_per_page"] = static_cast<double>(bytes) / pages;
}

}  // namespace

BENCHMARK(BM_JustifiedPages)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
