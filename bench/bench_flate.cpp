// Speed and compressed size of our Flate encoder at each quality, next to
// zlib at levels 1, 6 and 9 and libdeflate at levels 1, 6 and 9, on four
// kinds of stream the writer produces: page contents of a text-heavy
// document, one long content (as of a page holding a large drawing, which
// the encoder cuts into blocks), an embedded TrueType font, and
// incompressible data.
//
// The figures are meant to measure compression, not the C library: the
// references keep their state between streams (deflateReset, one
// libdeflate compressor), every output buffer is sized before the timed
// loop, and the heap is told to keep freed memory instead of handing it
// back to the system after every call (which otherwise dominates the
// small content streams).
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <malloc.h>
#include <zlib.h>

#include <unistd.h>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "contract_sentences.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/flate_encoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The page content streams of a twelve-page contract-like document as the
// writer itself lays it out (justified text boxes in two fonts, a header
// object painted on every page), taken from the uncompressed file.
std::vector<Bytes> text_pages() {
    const std::string file =
        (std::filesystem::temp_directory_path() / ("bench_flate_" + std::to_string(::getpid()) + ".pdf")).string();
    {
        PdfWriter w;
        w.SetScale(3);
        w.SetMargins(2, 2, 2.5f, 2);
        w.BeginDoc(file);
        const float width = w.GetPageWidth(true);
        const float height = w.GetPageHeight(true);
        w.BeginObject("header_footer", 7);
        w.SetFont("Arial", 8);
        w.DrawTextBox(0, -1, width, 0.5f, "CONTRATTO DI APPALTO PER L'ESECUZIONE DI LAVORI EDILI", 0, 4, 1);
        w.EndObject();
        w.BeginPage();
        float y = 0;
        int article = 1;
        std::string pending;
        for (;;) {
            if (pending.empty()) {
                w.SetFont("Arial", 12, 1);
                w.DrawTextBox(0, y, width, 1, "Art. " + std::to_string(article), 0, 64, 1);
                y = w.GetY() + 0.1f;
                w.SetFont("Times new roman", 11);
                for (int i = 0; i < 3 + article % 4; ++i) {
                    if (i) pending += ' ';
                    pending += bench::kContractSentences[(article * 7 + i) % std::size(bench::kContractSentences)];
                }
                ++article;
            }
            if (height - y < 1) {
                if (w.GetPage() == 12) break;
                w.BeginPage();
                y = 0;
            }
            pending = w.DrawTextBox(0, y, width, height - y, pending, 0.5f, 64, 1);
            y = w.GetY() + (pending.empty() ? 0.3f : height);
        }
        w.EndDoc();
    }
    std::ifstream in(file, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::filesystem::remove(file);
    // Page contents are the streams whose dictionary holds nothing but
    // their length.
    constexpr std::string_view head = " 0 obj\n<<\n/Length ";
    std::vector<Bytes> pages;
    for (std::size_t at = pdf.find(head); at != std::string::npos; at = pdf.find(head, at + 1)) {
        const std::size_t number = at + head.size();
        const std::size_t length = std::stoul(pdf.substr(number, pdf.find(' ', number) - number));
        const std::size_t data = pdf.find("stream\n", number) + 7;
        pages.emplace_back(pdf.begin() + std::ptrdiff_t(data), pdf.begin() + std::ptrdiff_t(data + length));
    }
    return pages;
}

// The pages' contents one after the other up to 16 MiB, each time with
// other numbers, so that the repeats lie within reach as a drawing's do.
std::vector<Bytes> long_content(const std::vector<Bytes>& pages) {
    Bytes data;
    for (std::size_t round = 0; data.size() < (std::size_t{16} << 20); ++round)
        for (const auto& page : pages)
            for (const std::uint8_t b : page) data.push_back(b >= '0' && b <= '9' ? '0' + (b - '0' + round) % 10 : b);
    return {data};
}

std::vector<Bytes> font_file() {
    std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary);
    Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return {data};
}

std::vector<Bytes> random_mebibyte() {
    std::mt19937 rng(1);
    Bytes data(1 << 20);
    for (auto& b : data) b = std::uint8_t(rng());
    return {data};
}

std::size_t total_size(const std::vector<Bytes>& streams) {
    std::size_t total = 0;
    for (const auto& s : streams) total += s.size();
    return total;
}

using Input = const std::vector<Bytes>& (*)();

void report(benchmark::State& state, const std::vector<Bytes>& streams, std::size_t compressed) {
    const std::size_t input = total_size(streams);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(input));
    state.counters["in_bytes"] = double(input);
    state.counters["out_bytes"] = double(compressed);
    state.counters["ratio"] = double(compressed) / double(input);
}

void ours(benchmark::State& state, Input input, int quality) {
    const std::vector<Bytes>* streams = &input();
    if (total_size(*streams) == 0) {
        state.SkipWithError("input missing");
        return;
    }
    std::size_t largest = 0;
    for (const auto& s : *streams) largest = std::max(largest, s.size());
    Bytes out;
    out.reserve(largest + largest / 8 + 64);
    std::size_t compressed = 0;
    for (auto _ : state) {
        compressed = 0;
        for (const auto& s : *streams) {
            pdf::flate_encode(s, quality, out);
            compressed += out.size();
            benchmark::DoNotOptimize(out.data());
        }
    }
    report(state, *streams, compressed);
}

void zlib(benchmark::State& state, Input input, int level) {
    const std::vector<Bytes>* streams = &input();
    if (total_size(*streams) == 0) {
        state.SkipWithError("input missing");
        return;
    }
    z_stream z{};
    deflateInit(&z, level);
    std::size_t largest = 0;
    for (const auto& s : *streams) largest = std::max<std::size_t>(largest, deflateBound(&z, uLong(s.size())));
    Bytes out(largest);
    std::size_t compressed = 0;
    for (auto _ : state) {
        compressed = 0;
        for (const auto& s : *streams) {
            deflateReset(&z);
            z.next_in = const_cast<Bytef*>(s.data());
            z.avail_in = uInt(s.size());
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, Z_FINISH);
            compressed += out.size() - z.avail_out;
            benchmark::DoNotOptimize(out.data());
        }
    }
    deflateEnd(&z);
    report(state, *streams, compressed);
}

void libdeflate(benchmark::State& state, Input input, int level) {
    const std::vector<Bytes>* streams = &input();
    if (total_size(*streams) == 0) {
        state.SkipWithError("input missing");
        return;
    }
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    std::size_t largest = 0;
    for (const auto& s : *streams)
        largest = std::max(largest, libdeflate_zlib_compress_bound(compressor, s.size()));
    Bytes out(largest);
    std::size_t compressed = 0;
    for (auto _ : state) {
        compressed = 0;
        for (const auto& s : *streams) {
            compressed += libdeflate_zlib_compress(compressor, s.data(), s.size(), out.data(), out.size());
            benchmark::DoNotOptimize(out.data());
        }
    }
    libdeflate_free_compressor(compressor);
    report(state, *streams, compressed);
}

// Made on first use, after every static object of the writer is ready.
const std::vector<Bytes>& pages() {
    static const std::vector<Bytes> streams = text_pages();
    return streams;
}
const std::vector<Bytes>& long_page() {
    static const std::vector<Bytes> streams = long_content(pages());
    return streams;
}
const std::vector<Bytes>& font() {
    static const std::vector<Bytes> streams = font_file();
    return streams;
}
const std::vector<Bytes>& noise() {
    static const std::vector<Bytes> streams = random_mebibyte();
    return streams;
}

int register_all() {
    const std::pair<const char*, Input> inputs[] = {
        {"content", pages}, {"long_content", long_page}, {"font", font}, {"random", noise}};
    for (const auto& [name, data] : inputs) {
        for (int quality = 0; quality <= 5; ++quality)
            benchmark::RegisterBenchmark((std::string("flate/") + name + "/quality:" + std::to_string(quality)).c_str(),
                                         ours, data, quality);
        for (int level : {1, 6, 9})
            benchmark::RegisterBenchmark((std::string("zlib/") + name + "/level:" + std::to_string(level)).c_str(),
                                         zlib, data, level);
        for (int level : {1, 6, 9})
            benchmark::RegisterBenchmark(
                (std::string("libdeflate/") + name + "/level:" + std::to_string(level)).c_str(), libdeflate, data,
                level);
    }
    return 0;
}

const int registered = register_all();

}  // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the process: no trimming, no per-call mmap.
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    mallopt(M_MMAP_THRESHOLD, 512 << 20);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
