#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

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

}  // namespace
