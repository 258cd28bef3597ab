#include "builders/impaginazione.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/cp1252.h"
#include "pdf/PdfWriter.h"

namespace {

constexpr std::string_view CARATTERE = "Times new roman";
constexpr float CORPO = 12.0f;
constexpr float ALTEZZA_BOX = 5.0f;
constexpr float INTERLINEA = 0.1f;
// A new page starts when the current Y passes the usable height less this.
constexpr float RISERVA_PIEDE = 1.0f;
// Room a box that runs on over several lines leaves free above the footer
// rule.
constexpr float RISERVA_BOX = 0.4f;

std::vector<std::string_view> dividi_a_spazi(std::string_view testo) {
    std::vector<std::string_view> parole;
    std::size_t inizio = 0;
    for (;;) {
        auto fine = testo.find(' ', inizio);
        if (fine == std::string_view::npos) {
            parole.push_back(testo.substr(inizio));
            return parole;
        }
        parole.push_back(testo.substr(inizio, fine - inizio));
        inizio = fine + 1;
    }
}

}  // namespace

Impaginatore::Impaginatore(PdfWriter& pdf, float larghezza_utile) : pdf_(pdf), larghezza_utile_(larghezza_utile) {}

void Impaginatore::grassetto() {
    pdf_.SetFont(CARATTERE, CORPO, 1, 0);
    stile_ = 1;
}

void Impaginatore::normale() {
    pdf_.SetFont(CARATTERE, CORPO, 0, 0);
    stile_ = 0;
}

void Impaginatore::blocco(int allineamento, float distanza, std::string_view testo) {
    float y = pdf_.GetY() + distanza;
    std::string resto = parole_tagliate(testo);
    for (;;) {
        // No line is drawn over the footer rule: a box that would start too
        // low starts on a new page, and a box that grows towards the rule
        // stops a little above it, about where word-wrapped lines stop too.
        // What does not fit goes on in further boxes: no part of the
        // contract is ever dropped.
        if (pdf_.GetPageHeight(true) - y < pdf_.TextHeight() && y > 0) {
            nuova_pagina_stesso_stile();
            y = pdf_.GetY();
        }
        // The writer always draws the first line, whatever the height; a
        // height of 0 would mean no limit at all.
        const float spazio = fondo_testo() - y;
        const float altezza = std::max(std::min(ALTEZZA_BOX, spazio), 0.01f);
        std::string altro = pdf_.DrawTextBox(0, y, larghezza_utile_, altezza, resto, 0, allineamento, 1);
        if (altro.empty() || altro.size() >= resto.size()) break;  // all placed, or nothing placed: never loop
        resto = std::move(altro);
        y = pdf_.GetY();
        if (spazio < ALTEZZA_BOX) {  // stopped by the page, not by the box
            nuova_pagina_stesso_stile();
            y = pdf_.GetY();
        }
    }
}

void Impaginatore::nuova_pagina_stesso_stile() {
    const int stile = stile_;
    nuova_pagina();
    if (stile != 0) grassetto();
}

void Impaginatore::fai_spazio(float distanza, std::string_view testo) {
    const int righe = righe_necessarie(testo);
    if (righe <= 1) return;
    const float altezza = std::min(static_cast<float>(righe) * pdf_.TextHeight(), ALTEZZA_BOX);
    // The same bottom as the box's own: a box that passes this test is never
    // cut by it.
    const float fondo = pdf_.GetY() + distanza + altezza;
    if (fondo > fondo_testo() && pdf_.GetY() > 0) nuova_pagina_stesso_stile();
}

float Impaginatore::fondo_testo() { return pdf_.GetPageHeight(true) - RISERVA_BOX; }

void Impaginatore::blocco_e_controllo(int allineamento, float distanza, std::string_view testo) {
    const std::string tagliato = parole_tagliate(testo);
    fai_spazio(distanza, tagliato);
    blocco(allineamento, distanza, tagliato);
    controllo_pagina();
}

std::string Impaginatore::parole_tagliate(std::string_view testo) {
    std::string risultato;
    risultato.reserve(testo.size());
    std::size_t inizio = 0;
    while (inizio < testo.size()) {
        const auto fine = std::min(testo.find_first_of(" \r\n", inizio), testo.size());
        std::string_view parola = testo.substr(inizio, fine - inizio);
        while (!parola.empty() && pdf_.TextLength(parola) > larghezza_utile_) {
            const std::size_t entra = quanto_entra(parola);
            risultato.append(parola.substr(0, entra)).push_back(' ');
            parola.remove_prefix(entra);
        }
        risultato.append(parola);
        if (fine < testo.size()) risultato.push_back(testo[fine]);
        inizio = fine + 1;
    }
    return risultato;
}

std::size_t Impaginatore::quanto_entra(std::string_view parola) {
    std::size_t entra = 1;
    while (entra < parola.size() && pdf_.TextLength(parola.substr(0, entra + 1)) <= larghezza_utile_) ++entra;
    return entra;
}

void Impaginatore::riga_libera(float x, float passo, std::string_view testo, bool controllo) {
    const std::string pulito = togli_spazi(testo);
    fai_spazio(passo, pulito);
    pdf_.DrawTextBox(x, pdf_.GetY() + passo, larghezza_utile_, ALTEZZA_BOX, pulito, 0, ALLINEA_SINISTRA_SPAZI, 1);
    if (controllo) controllo_pagina();
}

void Impaginatore::controllo_pagina() {
    const float limite = pdf_.GetPageHeight(true) - RISERVA_PIEDE;
    if (pdf_.GetY() > limite) nuova_pagina();
}

void Impaginatore::nuova_pagina() {
    pdf_.BeginPage();
    pdf_.SetLineWidth(0.01f);
    normale();
    pdf_.DrawTextBox(larghezza_utile_ - 1.0f, pdf_.GetPageHeight(true), 1.0f, 1.0f, std::to_string(pdf_.GetPage()),
                     0, ALLINEA_DESTRA, 1);
    pdf_.SetXY(0, 0);
}

void Impaginatore::disegna_riga(std::string_view riga) {
    pdf_.DrawTextBox(0, pdf_.GetY() + INTERLINEA, larghezza_utile_, ALTEZZA_BOX, riga, 0, ALLINEA_GIUSTIFICATO, 1);
    controllo_pagina();
}

void Impaginatore::paragrafo(std::string_view testo, bool con_riga_vuota) {
    if (con_riga_vuota) disegna_riga("");
    // Each line of the text is laid out on its own, so that every drawn
    // line gets its page-break test.
    std::size_t inizio = 0;
    for (;;) {
        const auto fine = testo.find_first_of("\r\n", inizio);
        if (fine == std::string_view::npos) {
            paragrafo_semplice(testo.substr(inizio));
            return;
        }
        paragrafo_semplice(testo.substr(inizio, fine - inizio));
        inizio = fine + 1;
        if (testo[fine] == '\r' && inizio < testo.size() && testo[inizio] == '\n') ++inizio;
    }
}

// Greedy fill: a word joins the line while the trimmed line, blanks as they
// stand in the text, is at most the usable width; a word wider than the
// width goes alone on lines of its own.
void Impaginatore::paragrafo_semplice(std::string_view testo) {
    const std::string con_spazio = std::string(testo) + " ";
    const auto parole = dividi_a_spazi(con_spazio);
    std::string riga;
    std::string riga_precedente;
    bool riga_scritta = false;
    for (std::size_t i = 0; i < parole.size(); ++i) {
        riga_scritta = false;
        riga.append(parole[i]).push_back(' ');
        if (pdf_.TextLength(togli_spazi(riga)) > larghezza_utile_) {
            if (!togli_spazi(riga_precedente).empty()) {
                --i;  // the word starts the next line
                disegna_riga(togli_spazi(riga_precedente));
            } else {
                parola_lunga(togli_spazi(riga));
            }
            riga.clear();
            riga_scritta = true;
        }
        riga_precedente = riga;
    }
    if (!riga_scritta) disegna_riga(togli_spazi(riga));
}

// A word wider than the usable width (a code, a link) is cut over as many
// lines of its own as it needs, so that it never runs past the right margin.
void Impaginatore::parola_lunga(std::string_view parola) {
    while (!parola.empty()) {
        const std::size_t entra = quanto_entra(parola);
        disegna_riga(parola.substr(0, entra));
        parola.remove_prefix(entra);
    }
}

int Impaginatore::righe_necessarie(std::string_view testo) {
    if (pdf_.TextLength(testo) <= larghezza_utile_ && testo.find_first_of("\r\n") == std::string_view::npos) return 1;
    int righe = 0;
    std::string riga;
    for (auto parola : dividi_a_spazi(testo)) {
        std::string prova = riga.empty() ? std::string(parola) : riga + " " + std::string(parola);
        if (!riga.empty() && pdf_.TextLength(prova) > larghezza_utile_) {
            ++righe;
            riga = std::string(parola);
        } else {
            riga = std::move(prova);
        }
    }
    return righe + 1;
}
