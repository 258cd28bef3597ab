// Decoding a large GIF (4000 x 3000, 256 colours, photo-like content that
// giflib's own encoder compressed) with our reader, and decoding plus placing
// it in a document (with the peak memory a placement adds, counter
// "peak_MiB"), next to giflib's DGifSlurp on the same bytes.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/content/gif_reader.h"
#include "support/peak_memory.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 4000, kHeight = 3000;

struct Memory {
    const Bytes* data;
    std::size_t at = 0;
};

int write_to(GifFileType* gif, const GifByteType* bytes, int n) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + n);
    return n;
}

int read_from(GifFileType* gif, GifByteType* bytes, int n) {
    auto* in = static_cast<Memory*>(gif->UserData);
    const std::size_t left = in->data->size() - in->at;
    const std::size_t k = std::min<std::size_t>(left, static_cast<std::size_t>(n));
    std::memcpy(bytes, in->data->data() + in->at, k);
    in->at += k;
    return static_cast<int>(k);
}

// Smooth shading with grain: long and short repeats, as a scanned photo
// reduced to 256 colours gives.
const Bytes& large_gif() {
    static const Bytes file = [] {
        Bytes out;
        int error = 0;
        GifFileType* gif = EGifOpen(&out, write_to, &error);
        if (gif == nullptr) throw std::runtime_error("EGifOpen");
        GifColorType colours[256];
        for (int i = 0; i < 256; ++i)
            colours[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                          static_cast<GifByteType>((i * 7) & 255)};
        ColorMapObject* map = GifMakeMapObject(256, colours);
        EGifSetGifVersion(gif, true);
        if (EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map) == GIF_ERROR ||
            EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_ERROR)
            throw std::runtime_error("EGifPut");
        std::mt19937 random(1);
        std::vector<GifPixelType> line(kWidth);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const double v = 96 + 60 * std::sin(x / 310.0) * std::cos(y / 270.0) + 40 * std::sin((x + y) / 53.0);
                line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(static_cast<int>(v) + random() % 4);
            }
            if (EGifPutLine(gif, line.data(), kWidth) == GIF_ERROR) throw std::runtime_error("EGifPutLine");
        }
        EGifCloseFile(gif, &error);
        GifFreeMapObject(map);
        return out;
    }();
    return file;
}

void BM_giflib_DGifSlurp(benchmark::State& state) {
    const Bytes& file = large_gif();
    for (auto _ : state) {
        Memory in{&file};
        int error = 0;
        GifFileType* gif = DGifOpen(&in, read_from, &error);
        if (gif == nullptr || DGifSlurp(gif) == GIF_ERROR) state.SkipWithError("giflib failed");
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        DGifCloseFile(gif, &error);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_giflib_DGifSlurp)->Unit(benchmark::kMillisecond);

void BM_our_read_gif(benchmark::State& state) {
    const Bytes& file = large_gif();
    for (auto _ : state) {
        const pdf::RasterPicture picture = pdf::read_gif(file, 1);
        benchmark::DoNotOptimize(picture.samples.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_our_read_gif)->Unit(benchmark::kMillisecond);

// The whole path of a placement: the file read, decoded, written as an image
// XObject (unfiltered, as the writer's default) and painted.
void BM_our_DrawImage(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path();
    const auto gif = folder / ("bench_gif_" + std::to_string(::getpid()) + ".gif");
    {
        std::ofstream out(gif, std::ios::binary);
        out.write(reinterpret_cast<const char*>(large_gif().data()), static_cast<std::streamsize>(large_gif().size()));
    }
    auto place = [&] {
        PdfWriter w;
        w.BeginDoc("/dev/null");  // the disk, shared and noisy, is not measured
        w.BeginPage();
        w.DrawImage(gif.string(), 0, 0, 500, 375);
        w.EndDoc();
        return w.ErrNumber() == 0;
    };
    for (auto _ : state) {
        if (!place()) state.SkipWithError("writer failed");
    }
    // What one placement adds to the resident memory at its worst instant.
    const auto peak = testsupport::peak_memory_of([&] { place(); });
    state.counters["peak_MiB"] = peak.ok ? static_cast<double>(peak.grown_kib) / 1024.0 : -1.0;
    std::filesystem::remove(gif);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_our_DrawImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
