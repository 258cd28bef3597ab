#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "gif89a.h"
#include "sign/disegno_cartellone.h"
#include "support/tools.h"

using testsupport::run_command;
using testsupport::shell_quote;
using testsupport::TempDir;

namespace {

// The pixels an independent reader decodes from our GIF file, as RGB bytes.
std::string decodifica_rgb(const std::string& gif, const TempDir& dir) {
    const auto file = dir / "figura.gif";
    testsupport::write_file(file, gif);
    const auto r = run_command("convert " + shell_quote(file.string()) + " -depth 8 rgb:-");
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return r.out;
}

void expect_stessi_pixel(const Disegno& d, const std::string& rgb) {
    ASSERT_EQ(rgb.size(), d.pixel.size() * 3);
    for (std::size_t i = 0; i < d.pixel.size(); ++i) {
        const Rgb& c = d.tavolozza[d.pixel[i]];
        const Rgb letto{static_cast<std::uint8_t>(rgb[3 * i]), static_cast<std::uint8_t>(rgb[3 * i + 1]),
                        static_cast<std::uint8_t>(rgb[3 * i + 2])};
        ASSERT_TRUE(letto == c) << "pixel " << i % static_cast<std::size_t>(d.larghezza) << ", "
                                << i / static_cast<std::size_t>(d.larghezza);
    }
}

// Every picture at its full size, and noise that keeps filling and clearing
// the code table, read back exactly by an independent decoder.
TEST(ImmaginiCartellone, AnIndependentReaderDecodesEveryPixel) {
    REQUIRE_TOOL("convert");
    TempDir dir;
    for (const FiguraCartellone f : FIGURE_CARTELLONE) {
        SCOPED_TRACE(std::string(nome_figura(f)));
        const Disegno d = disegna_figura(f, larghezza_figura(f), altezza_figura(f));
        const std::string gif = codifica_gif89a(d);
        EXPECT_EQ(gif.substr(0, 6), "GIF89a");
        EXPECT_EQ(codifica_gif89a(disegna_figura(f, larghezza_figura(f), altezza_figura(f))), gif)
            << "the drawing is deterministic";
        expect_stessi_pixel(d, decodifica_rgb(gif, dir));
    }
    Disegno rumore = disegna_figura(FiguraCartellone::CentroQP, 301, 257);
    std::mt19937 caso(7);
    for (auto& p : rumore.pixel) p = static_cast<std::uint8_t>(caso() % 4);
    expect_stessi_pixel(rumore, decodifica_rgb(codifica_gif89a(rumore), dir));
}

// The lettering of the area picture CSU against the word drawn here by
// hand, one character per font pixel: a letter mirrored, turned, shifted or
// swapped no longer matches. The black of the lettering is found in the
// decoded picture and read back at the middle of each font pixel.
TEST(ImmaginiCartellone, TheLetteringMatchesAWordDrawnByHand) {
    REQUIRE_TOOL("convert");
    const std::vector<std::string> atteso = {
        ".###...####.#...#",
        "#...#.#.....#...#",
        "#.....#.....#...#",
        "#......###..#...#",
        "#.........#.#...#",
        "#...#.....#.#...#",
        ".###..####...###.",
    };
    TempDir dir;
    const FiguraCartellone f = FiguraCartellone::CentroCSU;
    const int l = larghezza_figura(f), a = altezza_figura(f);
    const std::string rgb = decodifica_rgb(codifica_gif89a(disegna_figura(f, l, a)), dir);
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(l) * static_cast<std::size_t>(a) * 3);
    const auto nero = [&](int x, int y) {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(l) + static_cast<std::size_t>(x)) * 3;
        return rgb[i] == 0 && rgb[i + 1] == 0 && rgb[i + 2] == 0;
    };
    int x0 = l, x1 = -1, y0 = a, y1 = -1;
    for (int y = 0; y < a; ++y)
        for (int x = 0; x < l; ++x)
            if (nero(x, y)) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    ASSERT_GE(x1, x0) << "no lettering";
    const double passo_x = (x1 - x0 + 1) / static_cast<double>(atteso[0].size());
    const double passo_y = (y1 - y0 + 1) / static_cast<double>(atteso.size());
    std::vector<std::string> letto;
    for (std::size_t riga = 0; riga < atteso.size(); ++riga) {
        letto.emplace_back();
        for (std::size_t colonna = 0; colonna < atteso[0].size(); ++colonna)
            letto.back() += nero(x0 + static_cast<int>((static_cast<double>(colonna) + 0.5) * passo_x),
                                 y0 + static_cast<int>((static_cast<double>(riga) + 0.5) * passo_y))
                                ? '#'
                                : '.';
    }
    EXPECT_EQ(letto, atteso);
}

}  // namespace
