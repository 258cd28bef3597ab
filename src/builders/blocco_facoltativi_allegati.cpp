#include "builders/blocchi_contratto.h"
#include "builders/testi_facoltativi_allegati.h"
#include "builders/testo_cp1252.h"
#include "common/cp1252.h"

using testi::cp1252;

namespace {

struct Allegato {
    const char* flag;
    std::string_view testo;
};

const Allegato ALLEGATI[] = {
    {"DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE", testi::ALLEGATO_A},
    {"DELIBERA_CONDOMINIALE_STIPULA_CONTRATTO_AMMINISTRATORE", testi::ALLEGATO_B},
    {"CERTIFICATO_CCIAA", testi::ALLEGATO_C},
    {"CAPITOLATO_APPALTO", testi::ALLEGATO_D},
    {"COMPUTO_METRICO", testi::ALLEGATO_E},
    {"ELENCO_PREZZI", testi::ALLEGATO_F},
    {"QUADRO_ECONOMICO", testi::ALLEGATO_G},
    {"DICHIARAZIONE_LAVORI_SUBAPPALTO", testi::ALLEGATO_H},
    {"POLIZZA_CAR", testi::ALLEGATO_I},
    {"POLIZZA_ASSICURATIVA_MANUTENZIONE", testi::ALLEGATO_J},
    {"CAUZIONE_A_GARANZIA", testi::ALLEGATO_K},
};

}  // namespace

void scrivi_articoli_facoltativi(Impaginatore& imp, const ValoriContratto& valori) {
    for (int n = 13; n <= 22; ++n) {
        const std::string& titolo = valori.valore("ARTICOLO_" + std::to_string(n));
        if (togli_spazi(titolo).empty()) continue;  // article not wanted; its number stays unused
        imp.grassetto();
        imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, "ART. " + std::to_string(n));
        imp.grassetto();  // a page break resets the font
        imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, titolo);
        imp.normale();
        imp.paragrafo_con_spazio(valori.testo_articolo(n));
    }
}

int scrivi_allegati(Impaginatore& imp, const ValoriContratto& valori) {
    imp.paragrafo_con_spazio(cp1252(testi::ALLEGATI));
    int numero_allegati = 0;
    for (const auto& allegato : ALLEGATI) {
        if (maiuscolo(togli_spazi(valori.valore(allegato.flag))) != "S") continue;
        ++numero_allegati;
        imp.paragrafo(cp1252(allegato.testo), numero_allegati == 1);
    }
    imp.paragrafo_senza_spazio("");
    return numero_allegati;
}
