// Placing pictures: a 4000 x 3000 JPEG (photo-like, quality 90, made with
// libjpeg, the reference encoder linked here only) written into a document,
// with the peak memory one placement adds (a child process, counter
// "peak_MiB"); and a metafile's object table filled with 16,384 and 65,535
// pens, where the time per pen must stay the same (the larger is the
// reference of the smaller); an EPS whose name is defined and used thousands
// of times, likewise.
#include <benchmark/benchmark.h>

#include <jpeglib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/content/eps_translator.h"
#include "pdf/content/wmf_translator.h"
#include "support/peak_memory.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 4000, kHeight = 3000;

std::filesystem::path scratch(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("bench_pictures_" + std::to_string(::getpid()) + "_" + name);
}

void write(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Smooth shading with coarse grain, as a photograph of a wall has it: about
// 11 MiB at quality 90.
const Bytes& large_jpeg() {
    static const Bytes file = [] {
        jpeg_compress_struct c{};
        jpeg_error_mgr error{};
        c.err = jpeg_std_error(&error);
        jpeg_create_compress(&c);
        unsigned char* out = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&c, &out, &size);
        c.image_width = kWidth;
        c.image_height = kHeight;
        c.input_components = 3;
        c.in_color_space = JCS_RGB;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, 90, TRUE);
        jpeg_start_compress(&c, TRUE);
        std::mt19937 random(1);
        std::vector<unsigned char> row(kWidth * 3);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const double v = 120 + 60 * std::sin(x / 310.0) * std::cos(y / 270.0) + 40 * std::sin((x + y) / 53.0);
                for (int k = 0; k < 3; ++k)
                    row[static_cast<std::size_t>(x * 3 + k)] = static_cast<unsigned char>(
                        std::clamp(static_cast<int>(v) + k * 30 - 60 + static_cast<int>(random() % 64), 0, 255));
            }
            JSAMPROW rows[] = {row.data()};
            jpeg_write_scanlines(&c, rows, 1);
        }
        jpeg_finish_compress(&c);
        Bytes bytes(out, out + size);
        jpeg_destroy_compress(&c);
        std::free(out);
        return bytes;
    }();
    return file;
}

// Into /dev/null: the disk, shared and noisy, is not what is measured.
void place(const std::filesystem::path& picture) {
    PdfWriter w;
    w.BeginDoc("/dev/null");
    w.BeginPage();
    w.DrawImage(picture.string(), 0, 0, 500, 375);
    w.EndDoc();
}

void BM_DrawImage_jpeg(benchmark::State& state) {
    const auto jpg = scratch("photo.jpg");
    write(jpg, large_jpeg());
    for (auto _ : state) place(jpg);
    const auto peak = testsupport::peak_memory_of([&] { place(jpg); });
    state.counters["peak_MiB"] = peak.ok ? static_cast<double>(peak.grown_kib) / 1024.0 : -1.0;
    state.counters["file_MiB"] = static_cast<double>(large_jpeg().size()) / (1 << 20);
    std::filesystem::remove(jpg);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(large_jpeg().size()));
}
BENCHMARK(BM_DrawImage_jpeg)->Unit(benchmark::kMillisecond);

// A placeable metafile that creates `pens` pens (none deleted), selects
// the last and draws one line with it.
Bytes metafile(int pens) {
    Bytes s;
    auto u16 = [&](unsigned v) {
        s.push_back(static_cast<std::uint8_t>(v & 0xFF));
        s.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto record = [&](unsigned function, std::initializer_list<unsigned> params) {
        const auto words = static_cast<unsigned>(3 + params.size());
        u16(words & 0xFFFF), u16(words >> 16), u16(function);
        for (unsigned p : params) u16(p);
    };
    u16(0xCDD7), u16(0x9AC6), u16(0);
    for (unsigned v : {0u, 0u, 1440u, 1440u, 1440u}) u16(v);
    u16(0), u16(0), u16(0);
    u16(1), u16(9), u16(0x0300), u16(0), u16(0), u16(1), u16(8), u16(0), u16(0);
    for (int i = 0; i < pens; ++i) record(0x02FA, {0, 1, 0, static_cast<unsigned>(i & 0xFF), 0});
    record(0x012D, {static_cast<unsigned>(pens - 1)});
    record(0x0213, {720, 720});
    record(0, {});
    return s;
}

void BM_wmf_pens(benchmark::State& state) {
    const int pens = static_cast<int>(state.range(0));
    const Bytes file = metafile(pens);
    for (auto _ : state) {
        const auto drawing = pdf::translate_wmf(file, [](pdf::VectorSize natural) { return natural; });
        benchmark::DoNotOptimize(drawing.operators.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * pens);
}
BENCHMARK(BM_wmf_pens)->Arg(16384)->Arg(65535)->Unit(benchmark::kMillisecond);

// An EPS whose prolog defines `m` `count` times, used `count` times by its
// drawing: the time per use must stay the same.
void BM_eps_defined_names(benchmark::State& state) {
    const auto count = static_cast<std::int64_t>(state.range(0));
    std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n%%EndComments\n";
    for (std::int64_t i = 0; i < count; ++i) eps += "/m {moveto} def\n";
    eps += "%%EndProlog\n";
    for (std::int64_t i = 0; i < count; ++i) eps += "10 10 m 20 20 lineto stroke\n";
    const Bytes file(eps.begin(), eps.end());
    for (auto _ : state) {
        const auto drawing = pdf::translate_eps(file, [](pdf::VectorSize natural) { return natural; });
        benchmark::DoNotOptimize(drawing.operators.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * count);
}
BENCHMARK(BM_eps_defined_names)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
