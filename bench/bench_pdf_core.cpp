// The writer's core costs: number formatting (every operand of every page),
// colour parsing, a whole document of pages full of operator lines, and
// finding layers by name.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

#include "pdf/PdfWriter.h"
#include "pdf/core/colors.h"
#include "pdf/core/number_format.h"

static void BM_FormatNumber(benchmark::State& state) {
    float x = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pdf::format_number(x));
        x += 1.2345f;
        if (x > 1000.0f) x = -1000.0f;
    }
}
BENCHMARK(BM_FormatNumber);

static void BM_ParseColor(benchmark::State& state) {
    const char* colours[] = {"Black", "#CFC5C5", "%50", "@255;128;0", "stripes;red"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pdf::parse_color(colours[i++ % 5]));
    }
}
BENCHMARK(BM_ParseColor);

// A document of state.range(0) pages, each with 500 operator lines.
static void BM_Document(benchmark::State& state) {
    const auto file = std::filesystem::temp_directory_path() / ("bench_pdf_core_" + std::to_string(getpid()) + ".pdf");
    for (auto _ : state) {
        PdfWriter writer;
        writer.BeginDoc(file.string());
        writer.SetScale(3);
        writer.SetMargins(2, 2, 2, 1.5f);
        for (int page = 0; page < state.range(0); ++page) {
            writer.BeginPage();
            for (int line = 0; line < 100; ++line) {
                writer.SetLineWidth(0.01f * static_cast<float>(line));
                writer.SetColorFill("RED");
                writer.SetColorLine("#808080");
                writer.SetDash("3;1", 0.5f);
                writer.SetCharSpacing(0.25f);
            }
        }
        writer.EndDoc();
        state.counters["bytes"] = writer.FileSize();
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_Document)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// BeginLayer over state.range(0) distinct layers, against the same number
// of calls on one layer (the reference: a look-up that always finds).
static void Layers(benchmark::State& state, bool distinct) {
    const auto file = std::filesystem::temp_directory_path() / ("bench_layers_" + std::to_string(getpid()) + ".pdf");
    const auto calls = state.range(0);
    std::vector<std::string> names;
    for (std::int64_t i = 0; i < calls; ++i) names.push_back("Livello " + std::to_string(distinct ? i : 0));
    for (auto _ : state) {
        state.PauseTiming();
        PdfWriter writer;
        writer.BeginDoc(file.string());
        writer.BeginPage();
        state.ResumeTiming();
        for (const std::string& name : names) {
            writer.BeginLayer(name);
            writer.EndLayer();
        }
        state.PauseTiming();
        writer.Abort();
        state.ResumeTiming();
    }
    std::filesystem::remove(file);
}
static void BM_BeginLayerDistinct(benchmark::State& state) { Layers(state, true); }
static void BM_BeginLayerSame(benchmark::State& state) { Layers(state, false); }
BENCHMARK(BM_BeginLayerDistinct)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BeginLayerSame)->Arg(16000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
