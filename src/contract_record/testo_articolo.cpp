#include "contract_record/testo_articolo.h"

namespace {

bool e_blank(char c) { return c == ' '; }

std::string_view senza_blank_esterni(std::string_view testo) {
    std::size_t inizio = 0;
    std::size_t fine = testo.size();
    while (inizio < fine && e_blank(testo[inizio])) ++inizio;
    while (fine > inizio && e_blank(testo[fine - 1])) --fine;
    return testo.substr(inizio, fine - inizio);
}

// Splits greedily: each piece ends at the farthest point within 255 bytes
// where neither neighbour is a blank. Taking the farthest point each time
// covers the most text that any choice of cuts could cover. Returns how many
// bytes of the (normalised) body the pieces hold.
std::size_t dividi(std::string_view corpo, std::array<std::string, 4>& pezzi) {
    std::size_t pos = 0;
    for (std::size_t k = 0; k < pezzi.size(); ++k) {
        pezzi[k].clear();
        if (pos >= corpo.size()) continue;
        std::size_t resto = corpo.size() - pos;
        if (resto <= lunghezza_pezzo_articolo) {
            pezzi[k] = std::string(corpo.substr(pos));
            pos = corpo.size();
            continue;
        }
        std::size_t taglio = pos + lunghezza_pezzo_articolo;
        while (taglio > pos && (e_blank(corpo[taglio - 1]) || e_blank(corpo[taglio]))) --taglio;
        if (taglio == pos) {
            // A run of blanks longer than a piece: no sound cut exists. Keep
            // the piece full so that as much as possible is stored.
            taglio = pos + lunghezza_pezzo_articolo;
        }
        pezzi[k] = std::string(corpo.substr(pos, taglio - pos));
        pos = taglio;
    }
    return pos;
}

}  // namespace

std::string a_capo_crlf(std::string_view testo) {
    std::string risultato;
    risultato.reserve(testo.size() + testo.size() / 16);
    for (std::size_t i = 0; i < testo.size(); ++i) {
        char c = testo[i];
        if (c == '\r') {
            risultato += "\r\n";
            if (i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            risultato += "\r\n";
        } else {
            risultato += c;
        }
    }
    return risultato;
}

std::array<std::string, 4> dividi_testo_articolo(std::string_view corpo) {
    const std::string normale = a_capo_crlf(senza_blank_esterni(corpo));
    std::array<std::string, 4> pezzi;
    dividi(normale, pezzi);
    return pezzi;
}

std::string unisci_testo_articolo(const std::array<std::string, 4>& pezzi) {
    std::string corpo;
    for (const auto& pezzo : pezzi) corpo += pezzo;
    return corpo;
}

bool testo_articolo_memorizzabile(std::string_view corpo) {
    const std::string normale = a_capo_crlf(senza_blank_esterni(corpo));
    std::array<std::string, 4> pezzi;
    if (dividi(normale, pezzi) != normale.size()) return false;
    for (const auto& pezzo : pezzi) {
        if (!pezzo.empty() && (e_blank(pezzo.front()) || e_blank(pezzo.back()))) return false;
    }
    return true;
}
