#include "builders/blocchi_contratto.h"
#include "builders/testi_chiusura.h"
#include "builders/testo_cp1252.h"
#include "common/date.h"

using testi::cp1252;

void scrivi_chiusura(Impaginatore& imp, const ValoriContratto& valori, int numero_articoli, int numero_pagine,
                     int numero_allegati) {
    imp.paragrafo_senza_spazio(cp1252("Il presente contratto consta di n° ") + std::to_string(numero_articoli) +
                               cp1252(" articoli, di n° ") + std::to_string(numero_pagine) +
                               cp1252(" pagine e di n° ") + std::to_string(numero_allegati) + " allegati.");
    imp.paragrafo_senza_spazio(cp1252(testi::CHIUSURA_ALLEGATI_INTEGRANTI));

    const std::string costituito = cp1252(testi::CHIUSURA_FIRMA_COSTITUITO);
    const std::string ruoli = cp1252(testi::CHIUSURA_FIRMA_RUOLI);
    struct Riga {
        std::string testo;
        float x;
        float passo;
    };
    const Riga righe[] = {
        {"Rezevi, " + data_da_archivio(valori.valore("DATA_CONTRATTO")), 0, 0.5f},
        {"", 0, 0.5f},
        {"", 0, 0.5f},
        {costituito, 1.3f, 0.5f},
        {ruoli, 1.0f, 0.1f},
        {"", 0, 0.5f},
        {"", 0, 0.5f},
        {cp1252(testi::CHIUSURA_APPROVAZIONE), 0, 0.5f},
        {"", 0, 0.5f},
        {"", 0, 0.5f},
        {costituito, 1.3f, 0.5f},
        {ruoli, 1.0f, 0.1f},
    };
    const std::size_t ultima = std::size(righe) - 1;
    for (std::size_t i = 0; i <= ultima; ++i) {
        // No page-break test after the last line: it would only add a page
        // holding nothing but the footer.
        imp.riga_libera(righe[i].x, righe[i].passo, righe[i].testo, i != ultima);
    }
}
