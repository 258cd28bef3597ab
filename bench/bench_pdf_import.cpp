// The Flate decoder against zlib's inflate on the same compressed data, and
// importing every page of a 1,000-page file against
// `qpdf --empty --pages SRC -- OUT` on the same file, in the same run.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/core/flate_decoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::filesystem::path scratch(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("bench_import_" + std::to_string(::getpid()) + "_" + name);
}

// Page-content-like text (numbers and operators, some repetition) and
// font-like binary data, each about 4 MiB before compression.
const Bytes& plain(int kind) {
    static const Bytes text = [] {
        std::string s;
        std::mt19937 rng(3);
        while (s.size() < (4u << 20)) {
            s += "BT /F" + std::to_string(rng() % 3 + 1) + " " + std::to_string(9 + rng() % 4) + " Tf " +
                 std::to_string(rng() % 500) + "." + std::to_string(rng() % 1000) + " " + std::to_string(rng() % 800) +
                 " Td (Il corrispettivo " + std::to_string(rng() % 100000) + " comprende ogni onere) Tj ET\n";
        }
        return Bytes(s.begin(), s.end());
    }();
    static const Bytes font = [] {
        std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary);
        Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Bytes out;
        while (!data.empty() && out.size() < (4u << 20)) out.insert(out.end(), data.begin(), data.end());
        return out;
    }();
    return kind == 0 ? text : font;
}

const Bytes& compressed(int kind) {
    static Bytes cache[2];
    Bytes& c = cache[kind];
    if (c.empty()) {
        const Bytes& p = plain(kind);
        uLongf size = compressBound(uLong(p.size()));
        c.resize(size);
        compress2(c.data(), &size, p.data(), uLong(p.size()), 6);
        c.resize(size);
    }
    return c;
}

void DecodeOurs(benchmark::State& state) {
    const int kind = int(state.range(0));
    const Bytes& in = compressed(kind);
    Bytes out;
    for (auto _ : state) {
        if (pdf::zlib_decode(in, 64u << 20, out) != pdf::FlateStatus::ok) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.data());
    }
    if (out != plain(kind)) state.SkipWithError("wrong output");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(plain(kind).size()));
}

void DecodeZlib(benchmark::State& state) {
    const int kind = int(state.range(0));
    const Bytes& in = compressed(kind);
    Bytes out(plain(kind).size());
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        if (uncompress(out.data(), &size, in.data(), uLong(in.size())) != Z_OK) state.SkipWithError("zlib failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(plain(kind).size()));
}

BENCHMARK(DecodeOurs)->Arg(0)->Arg(1)->ArgNames({"font"})->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeZlib)->Arg(0)->Arg(1)->ArgNames({"font"})->Unit(benchmark::kMillisecond);

// A 1,000-page file of our writer with Flate-compressed pages of text in
// two fonts and a filled rectangle.
const std::filesystem::path& thousand_pages() {
    static const std::filesystem::path file = [] {
        const auto path = scratch("source.pdf");
        PdfWriter w;
        w.SetCompression(2);
        w.BeginDoc(path.string());
        for (int p = 1; p <= 1000; ++p) {
            w.BeginPage();
            w.SetFont("Arial", 16, 1);
            w.DrawText(72, 72, "Pagina " + std::to_string(p));
            w.SetFont("Times New Roman", 11);
            for (int line = 0; line < 40; ++line)
                w.DrawText(72, 110 + line * 16, "Riga " + std::to_string(line) + " del contratto di appalto, pagina " +
                                                    std::to_string(p));
            w.SetColorFill("#3366CC");
            w.DrawRect(72, 770, 200, 30, 4);
        }
        w.EndDoc();
        return path;
    }();
    return file;
}

void ImportOurs(benchmark::State& state) {
    const std::string source = thousand_pages().string();
    const std::string out = scratch("ours.pdf").string();
    for (auto _ : state) {
        PdfWriter w;
        w.BeginDoc(out);
        const std::int32_t pages = w.GetInfo(source);
        for (std::int32_t p = 1; p <= pages; ++p) {
            w.BeginPage();
            w.ImportPage(source, p, 0, 0);
        }
        w.EndDoc();
        if (pages != 1000 || w.ErrNumber() != 0) state.SkipWithError("import failed");
    }
    std::filesystem::remove(out);
}

void ImportQpdf(benchmark::State& state) {
    const std::string source = thousand_pages().string();
    const std::string out = scratch("qpdf.pdf").string();
    const std::string command = "qpdf --empty --pages '" + source + "' -- '" + out + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("qpdf failed");
    }
    std::filesystem::remove(out);
}

BENCHMARK(ImportOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportQpdf)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
