#include "pdf/extras/barcode_geometry.h"

namespace pdf::barcode {

namespace {
constexpr float kSmallestZoom = 0.8f;
constexpr float kLargestZoom = 2.0f;
constexpr float kTextBandPoints = 4.68f;
constexpr float kTextSizePoints = 10.08f;
// The baseline under the bars, in text bands.
constexpr float kBaselineBands = 1.6f;
}  // namespace

float clamp_zoom(float zoom) {
    if (!(zoom >= kSmallestZoom)) return kSmallestZoom;
    if (zoom > kLargestZoom) return kLargestZoom;
    return zoom;
}

float text_size_points(float zoom) { return kTextSizePoints * zoom; }

PlacedSymbol place_symbol(const Symbol& symbol, float x, float y, bool show_code, float zoom, float height,
                          float unit_factor) {
    zoom = clamp_zoom(zoom);
    const float module = symbol.module_points * zoom / unit_factor;
    const float band = show_code ? kTextBandPoints * zoom / unit_factor : 0.0f;
    float bar_height = height == 0 ? symbol.default_height_points * zoom / unit_factor : height - band;
    if (!(bar_height > 0)) bar_height = module;

    PlacedSymbol placed;
    placed.width = symbol.width * module;
    placed.bars.reserve(symbol.bars.size());
    for (const Bar& bar : symbol.bars) {
        PlacedRect rect{x + bar.x * module, y, bar.width * module, bar_height};
        switch (bar.reach) {
            case BarReach::Bars: break;
            case BarReach::BarsAndTextBand: rect.height = bar_height + band; break;
            case BarReach::Fixed:
                rect.y = y + bar.top * module;
                rect.height = bar.height * module;
                break;
        }
        placed.bars.push_back(rect);
    }
    if (show_code) {
        const float baseline =
            symbol.text_top >= 0 ? y + symbol.text_top * module + band : y + bar_height + kBaselineBands * band;
        for (const TextPiece& piece : symbol.texts)
            placed.texts.push_back({x + piece.x * module, baseline, piece.align, piece.text});
    }
    return placed;
}

void append_runs(std::vector<Bar>& bars, const std::string& pattern, float offset, BarReach reach) {
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != '1') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < pattern.size() && pattern[end] == '1') ++end;
        bars.push_back({offset + static_cast<float>(i), static_cast<float>(end - i), reach});
        i = end;
    }
}

int digit_at(const std::string& code, std::size_t index) {
    if (index >= code.size()) return 0;
    const char c = code[index];
    return c >= '1' && c <= '9' ? c - '0' : 0;
}

}  // namespace pdf::barcode
