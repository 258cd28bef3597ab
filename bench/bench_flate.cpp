// Speed and compressed size of our Flate encoder at each quality, next to
// zlib's compress2 at levels 1, 6 and 9, on three kinds of stream the writer
// produces: page contents of a text-heavy document, an embedded TrueType
// font, and incompressible data.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "pdf/core/flate_encoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Content streams as the text-box writer makes them: one text object per
// line, CR before every line, numbers with three decimals at most.
std::vector<Bytes> text_pages() {
    static const char* const words[] = {
        "il", "committente", "affida", "all'appaltatore", "che", "accetta", "l'esecuzione", "dei",
        "lavori", "di", "ristrutturazione", "dell'edificio", "sito", "in", "via", "secondo", "le",
        "modalità", "previste", "dal", "presente", "contratto", "e", "dal", "capitolato", "allegato",
        "importo", "complessivo", "euro", "articolo", "comproprietari", "direzione", "cantiere", "oneri",
        "sicurezza", "pagamento", "stato", "avanzamento", "collaudo", "penale", "giorno", "ritardo"};
    std::mt19937 rng(2026);
    std::vector<Bytes> pages;
    for (int page = 0; page < 12; ++page) {
        std::string s = "\r1 0 0 -1 0 842 cm\r0 0 0 RG\r1 1 1 rg\r/header_footer Do";
        float y = 70;
        for (int line = 0; line < 48; ++line) {
            std::string text;
            while (text.size() < 85) {
                if (!text.empty()) text += ' ';
                text += words[rng() % std::size(words)];
            }
            char head[160];
            std::snprintf(head, sizeof head, "\rBT\r/F%d %d Tf\r0 0 0 rg\r%s Tw\r1 0 0 -1 56.693 %.3f Tm\r(",
                          1 + int(rng() % 3 == 0), line % 12 == 0 ? 12 : 10, rng() % 4 ? "0" : "0.412", y);
            s += head;
            s += text;
            s += ") Tj\rET";
            y += 14.4f;
        }
        s += "\r0.5 w\r56.693 780.1 m\r538.583 780.1 l\rS";
        pages.emplace_back(s.begin(), s.end());
    }
    return pages;
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

void report(benchmark::State& state, const std::vector<Bytes>& streams, std::size_t compressed) {
    const std::size_t input = total_size(streams);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(input));
    state.counters["in_bytes"] = double(input);
    state.counters["out_bytes"] = double(compressed);
    state.counters["ratio"] = double(compressed) / double(input);
}

void ours(benchmark::State& state, const std::vector<Bytes>* streams, int quality) {
    if (total_size(*streams) == 0) {
        state.SkipWithError("input missing");
        return;
    }
    Bytes out;
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

void zlib(benchmark::State& state, const std::vector<Bytes>* streams, int level) {
    if (total_size(*streams) == 0) {
        state.SkipWithError("input missing");
        return;
    }
    Bytes out;
    std::size_t compressed = 0;
    for (auto _ : state) {
        compressed = 0;
        for (const auto& s : *streams) {
            out.resize(compressBound(uLong(s.size())));
            uLongf size = uLongf(out.size());
            compress2(out.data(), &size, s.data(), uLong(s.size()), level);
            compressed += size;
            benchmark::DoNotOptimize(out.data());
        }
    }
    report(state, *streams, compressed);
}

const std::vector<Bytes> pages = text_pages();
const std::vector<Bytes> font = font_file();
const std::vector<Bytes> noise = random_mebibyte();

int register_all() {
    const std::pair<const char*, const std::vector<Bytes>*> inputs[] = {
        {"content", &pages}, {"font", &font}, {"random", &noise}};
    for (const auto& [name, data] : inputs) {
        for (int quality = 0; quality <= 5; ++quality)
            benchmark::RegisterBenchmark((std::string("flate/") + name + "/quality:" + std::to_string(quality)).c_str(),
                                         ours, data, quality);
        for (int level : {1, 6, 9})
            benchmark::RegisterBenchmark((std::string("zlib/") + name + "/level:" + std::to_string(level)).c_str(),
                                         zlib, data, level);
    }
    return 0;
}

const int registered = register_all();

}  // namespace

BENCHMARK_MAIN();
