#include "gif89a.h"

#include <stdexcept>
#include <unordered_map>

namespace {

constexpr int CODICI_MASSIMI = 4096;

class ScrittoreBit {
public:
    void scrivi(unsigned codice, int bit) {
        accumulo_ |= static_cast<std::uint32_t>(codice) << presenti_;
        presenti_ += bit;
        while (presenti_ >= 8) {
            byte_.push_back(static_cast<std::uint8_t>(accumulo_ & 0xFF));
            accumulo_ >>= 8;
            presenti_ -= 8;
        }
    }
    std::vector<std::uint8_t> chiudi() {
        if (presenti_ > 0) byte_.push_back(static_cast<std::uint8_t>(accumulo_ & 0xFF));
        accumulo_ = 0;
        presenti_ = 0;
        return std::move(byte_);
    }

private:
    std::vector<std::uint8_t> byte_;
    std::uint32_t accumulo_ = 0;
    int presenti_ = 0;
};

void parola16(std::string& out, int valore) {
    out += static_cast<char>(valore & 0xFF);
    out += static_cast<char>((valore >> 8) & 0xFF);
}

}  // namespace

std::vector<std::uint8_t> lzw_gif(const std::vector<std::uint8_t>& indici, int bit_minimi) {
    if (bit_minimi < 2 || bit_minimi > 8) throw std::invalid_argument("LZW minimum code size out of range");
    const unsigned azzera = 1u << bit_minimi, fine = azzera + 1;
    ScrittoreBit uscita;
    // A string of the table is its prefix code and its last index.
    std::unordered_map<std::uint32_t, unsigned> tabella;
    int bit = bit_minimi + 1;
    unsigned prossimo = fine + 1;
    uscita.scrivi(azzera, bit);
    if (indici.empty()) {
        uscita.scrivi(fine, bit);
        return uscita.chiudi();
    }
    unsigned prefisso = indici[0];
    for (std::size_t i = 1; i < indici.size(); ++i) {
        const unsigned c = indici[i];
        if (c >= azzera) throw std::invalid_argument("pixel index outside the palette");
        const std::uint32_t chiave = (prefisso << 8) | c;
        if (const auto trovato = tabella.find(chiave); trovato != tabella.end()) {
            prefisso = trovato->second;
            continue;
        }
        uscita.scrivi(prefisso, bit);
        if (prossimo < CODICI_MASSIMI) {
            tabella.emplace(chiave, prossimo++);
            // The reader widens its codes once its table, one entry behind
            // ours, fills the current width.
            if (prossimo > (1u << bit) && bit < 12) ++bit;
        } else {
            uscita.scrivi(azzera, bit);
            tabella.clear();
            bit = bit_minimi + 1;
            prossimo = fine + 1;
        }
        prefisso = c;
    }
    uscita.scrivi(prefisso, bit);
    uscita.scrivi(fine, bit);
    return uscita.chiudi();
}

std::string codifica_gif89a(const Disegno& disegno) {
    if (disegno.larghezza < 1 || disegno.altezza < 1 || disegno.larghezza > 0xFFFF || disegno.altezza > 0xFFFF ||
        disegno.pixel.size() != static_cast<std::size_t>(disegno.larghezza) * static_cast<std::size_t>(disegno.altezza))
        throw std::invalid_argument("picture size does not match its pixels");
    std::string out = "GIF89a";
    parola16(out, disegno.larghezza);
    parola16(out, disegno.altezza);
    out += static_cast<char>(0x80 | (1 << 4) | 1);  // global table of 4 colours, 2 bits per primary
    out += '\0';                                     // background: the body colour
    out += '\0';                                     // square pixels
    for (const Rgb& c : disegno.tavolozza) {
        out += static_cast<char>(c.r);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.b);
    }
    out += ',';
    parola16(out, 0);
    parola16(out, 0);
    parola16(out, disegno.larghezza);
    parola16(out, disegno.altezza);
    out += '\0';  // no local table, not interlaced
    constexpr int BIT_MINIMI = 2;
    out += static_cast<char>(BIT_MINIMI);
    const auto dati = lzw_gif(disegno.pixel, BIT_MINIMI);
    for (std::size_t i = 0; i < dati.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, dati.size() - i);
        out += static_cast<char>(n);
        out.append(reinterpret_cast<const char*>(dati.data() + i), n);
    }
    out += '\0';  // end of the image data
    out += ';';   // trailer
    return out;
}
