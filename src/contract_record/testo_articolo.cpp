#include "contract_record/testo_articolo.h"

#include <algorithm>

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

namespace {

// The bytes from the start of a normalised body that the pieces store
// whole: all of them, or the longest beginning that can be stored (a CR LF
// is never split, no blank ends it).
std::size_t fine_memorizzabile(std::string_view normale) {
    std::array<std::string, 4> pezzi;
    std::size_t fine = dividi(normale, pezzi);
    if (fine < normale.size()) {
        // The last piece was cut where the next one could begin; with the
        // rest gone it may hold all it can.
        fine = std::min(normale.size(), fine - pezzi.back().size() + lunghezza_pezzo_articolo);
    }
    std::size_t inizio = 0;
    for (const auto& pezzo : pezzi) {
        // A run of blanks longer than a piece was cut inside: what stands
        // before the run is what is stored soundly.
        if (!pezzo.empty() && (e_blank(pezzo.front()) || e_blank(pezzo.back()))) {
            fine = e_blank(pezzo.front()) ? inizio : inizio + senza_blank_esterni(pezzo).size();
            break;
        }
        inizio += pezzo.size();
    }
    if (fine > 0 && fine < normale.size() && normale[fine - 1] == '\r' && normale[fine] == '\n') --fine;
    while (fine > 0 && e_blank(normale[fine - 1])) --fine;
    return fine;
}

// Characters as the box shows them: a CR LF is one.
std::size_t caratteri(std::string_view normale) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < normale.size(); ++i)
        if (!(normale[i] == '\n' && i > 0 && normale[i - 1] == '\r')) ++n;
    return n;
}

}  // namespace

ParteMemorizzabile parte_memorizzabile(std::string_view corpo) {
    const std::string_view senza_blank = senza_blank_esterni(corpo);
    const std::size_t blank_iniziali = static_cast<std::size_t>(senza_blank.data() - corpo.data());
    const std::string normale = a_capo_crlf(senza_blank);
    const std::size_t fine = fine_memorizzabile(normale);
    const std::string_view tutto(normale);
    return {blank_iniziali + caratteri(tutto.substr(0, fine)), caratteri(tutto.substr(fine))};
}

bool testo_articolo_memorizzabile(std::string_view corpo) { return parte_memorizzabile(corpo).da_togliere == 0; }
