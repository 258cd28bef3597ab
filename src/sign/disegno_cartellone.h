// The artwork of the site sign's pictures: the logo strip, the city's
// banner, the programme's logo and the three area pictures. Our own simple
// drawing (a top band, a left part, lettering from a built-in bitmap font), so
// that a picture placed upside down or mirrored shows at once.
//
// The same artwork at any size: the build writes the poster's pictures at
// their full size, the sign form shows small copies.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

enum class FiguraCartellone { Loghi, ComuneDirido, LogoTavore, CentroCSU, CentroCSP, CentroQP };

inline constexpr std::array<FiguraCartellone, 6> FIGURE_CARTELLONE = {
    FiguraCartellone::Loghi,     FiguraCartellone::ComuneDirido, FiguraCartellone::LogoTavore,
    FiguraCartellone::CentroCSU, FiguraCartellone::CentroCSP,    FiguraCartellone::CentroQP};

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The four colours of a picture, by palette index.
enum IndiceColore : std::uint8_t { CORPO = 0, FASCIA = 1, SINISTRA = 2, SCRITTA = 3 };

struct Disegno {
    int larghezza = 0;
    int altezza = 0;
    std::array<Rgb, 4> tavolozza{};
    // One palette index per pixel, rows from the top, left to right.
    std::vector<std::uint8_t> pixel;
};

// The file name the poster asks for (case matters) and the full pixel size.
std::string_view nome_figura(FiguraCartellone f);
int larghezza_figura(FiguraCartellone f);
int altezza_figura(FiguraCartellone f);

// The picture drawn at the given size (each side at least 1).
Disegno disegna_figura(FiguraCartellone f, int larghezza, int altezza);

// The palette of a picture, for checks of a rendered page.
const std::array<Rgb, 4>& colori_figura(FiguraCartellone f);

// The regions, as fractions of the picture: the band is the top FASCIA_ALTA
// of the height; the left part is the left PARTE_SINISTRA of the width below
// the band; the lettering stays in the middle of the rest, clear of its
// right and bottom edges.
inline constexpr double FASCIA_ALTA = 0.22;
inline constexpr double PARTE_SINISTRA = 0.18;
