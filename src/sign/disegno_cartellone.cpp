#include "sign/disegno_cartellone.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

struct Descrizione {
    std::string_view nome;
    int larghezza, altezza;
    std::string_view scritta;
    std::array<Rgb, 4> colori;  // body, band, left part, lettering
};

constexpr Rgb NERO{0, 0, 0};
constexpr Rgb ARANCIO{250, 160, 0};

const Descrizione& descrizione(FiguraCartellone f) {
    static const std::array<Descrizione, 6> tutte = {{
        {"loghi.gif", 1106, 430, "LOGHI", {Rgb{232, 232, 232}, Rgb{0, 51, 153}, Rgb{255, 204, 0}, NERO}},
        {"comune_dirido.gif", 3354, 882, "COMUNE DI DIRIDO",
         {Rgb{255, 245, 200}, Rgb{0, 110, 60}, Rgb{120, 60, 0}, Rgb{0, 51, 153}}},
        {"LOGO_TAVORE.gif", 407, 776, "TAVORE", {Rgb{255, 255, 255}, Rgb{90, 0, 120}, Rgb{0, 160, 200}, NERO}},
        {"CSU.GIF", 1714, 804, "CSU", {Rgb{200, 240, 200}, Rgb{0, 90, 40}, ARANCIO, NERO}},
        {"CSP.GIF", 1714, 804, "CSP", {Rgb{200, 220, 255}, Rgb{20, 40, 160}, ARANCIO, NERO}},
        {"QP.GIF", 1714, 804, "QP", {Rgb{255, 225, 180}, Rgb{100, 60, 20}, ARANCIO, NERO}},
    }};
    return tutte.at(static_cast<std::size_t>(f));
}

// A 5 x 7 bitmap font holding the letters the pictures use; each row is five
// bits, the leftmost pixel in the highest bit.
struct Glifo {
    char lettera;
    std::array<std::uint8_t, 7> righe;
};

constexpr Glifo GLIFI[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}}, {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
};

bool punto_acceso(char lettera, int colonna, int riga) {
    if (colonna < 0 || colonna >= 5 || riga < 0 || riga >= 7) return false;
    for (const auto& g : GLIFI)
        if (g.lettera == lettera) return (g.righe[static_cast<std::size_t>(riga)] >> (4 - colonna)) & 1;
    return false;  // a blank
}

}  // namespace

std::string_view nome_figura(FiguraCartellone f) { return descrizione(f).nome; }
int larghezza_figura(FiguraCartellone f) { return descrizione(f).larghezza; }
int altezza_figura(FiguraCartellone f) { return descrizione(f).altezza; }
const std::array<Rgb, 4>& colori_figura(FiguraCartellone f) { return descrizione(f).colori; }

Disegno disegna_figura(FiguraCartellone f, int larghezza, int altezza) {
    if (larghezza < 1 || altezza < 1 || larghezza > 20000 || altezza > 20000)
        throw std::invalid_argument("picture size out of range");
    const Descrizione& d = descrizione(f);
    Disegno disegno;
    disegno.larghezza = larghezza;
    disegno.altezza = altezza;
    disegno.tavolozza = d.colori;
    disegno.pixel.assign(static_cast<std::size_t>(larghezza) * static_cast<std::size_t>(altezza), CORPO);

    const int fine_fascia = static_cast<int>(std::lround(altezza * FASCIA_ALTA));
    const int fine_sinistra = static_cast<int>(std::lround(larghezza * PARTE_SINISTRA));

    // Lettering: each glyph cell is 6 x 8 font pixels (one of spacing), scaled
    // to fit the middle of the body at most half its height.
    const double corpo_x = fine_sinistra, corpo_y = fine_fascia;
    const double corpo_l = larghezza - corpo_x, corpo_a = altezza - corpo_y;
    const double colonne = 6.0 * static_cast<double>(d.scritta.size()) - 1.0;
    const double scala = std::min(corpo_l * 0.8 / colonne, corpo_a * 0.5 / 7.0);
    const double testo_x = corpo_x + (corpo_l - colonne * scala) / 2.0;
    const double testo_y = corpo_y + (corpo_a - 7.0 * scala) / 2.0;

    for (int y = 0; y < altezza; ++y) {
        for (int x = 0; x < larghezza; ++x) {
            std::uint8_t colore = CORPO;
            if (y < fine_fascia) {
                colore = FASCIA;
            } else if (x < fine_sinistra) {
                colore = SINISTRA;
            } else if (scala > 0) {
                const double fx = (x + 0.5 - testo_x) / scala, fy = (y + 0.5 - testo_y) / scala;
                if (fx >= 0 && fy >= 0 && fx < colonne && fy < 7.0) {
                    const int cella = static_cast<int>(fx) / 6;
                    const int colonna = static_cast<int>(fx) % 6;
                    if (punto_acceso(d.scritta[static_cast<std::size_t>(cella)], colonna, static_cast<int>(fy)))
                        colore = SCRITTA;
                }
            }
            disegno.pixel[static_cast<std::size_t>(y) * static_cast<std::size_t>(larghezza) +
                          static_cast<std::size_t>(x)] = colore;
        }
    }
    return disegno;
}
