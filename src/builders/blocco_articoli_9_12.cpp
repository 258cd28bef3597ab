#include "builders/blocchi_contratto.h"
#include "builders/testi_articoli_9_12.h"
#include "builders/testo_cp1252.h"
#include "common/cp1252.h"

using testi::cp1252;

namespace {

void intestazione(Impaginatore& imp, std::initializer_list<std::string_view> righe) {
    // Bold is already selected by the previous article.
    for (auto riga : righe) imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, cp1252(riga));
    imp.normale();
}

void paragrafi(Impaginatore& imp, std::initializer_list<std::string_view> testi_fissi) {
    for (auto testo : testi_fissi) imp.paragrafo_senza_spazio(cp1252(testo));
}

void articolo_9(Impaginatore& imp, ValoriContratto& v) {
    intestazione(imp, {"ART. 9 ", "Oneri ed obblighi diversi a carico del Committente e dell'Appaltatore."});
    imp.paragrafo_con_spazio(cp1252(testi::ART9_ONERI_COMMITTENTE));
    paragrafi(imp, {testi::ART9_PUNTO_A, testi::ART9_PUNTO_B, testi::ART9_PUNTO_C, testi::ART9_PUNTO_D,
                    testi::ART9_PUNTO_E, testi::ART9_PUNTO_F, testi::ART9_PUNTO_G, testi::ART9_PUNTO_H});
    if (!togli_spazi(v["ALTRI_ONERI"]).empty()) imp.paragrafo_senza_spazio("i) " + v["ALTRI_ONERI"]);
    paragrafi(imp, {testi::ART9_ONERI_APPALTATORE, testi::ART9_PUNTO_1A, testi::ART9_PUNTO_1B, testi::ART9_PUNTO_2,
                    testi::ART9_PUNTO_3, testi::ART9_PUNTO_4, testi::ART9_PUNTO_5, testi::ART9_CAMPIONI,
                    testi::ART9_PUNTO_6, testi::ART9_PUNTO_7});
    imp.paragrafo_senza_spazio(cp1252(testi::ART9_PUNTO_8_INIZIO) + v["FORNITURA_ACQUA"] + ".");
    paragrafi(imp, {testi::ART9_PUNTO_9, testi::ART9_PUNTO_10, testi::ART9_PUNTO_11, testi::ART9_PUNTO_12,
                    testi::ART9_PUNTO_13, testi::ART9_PUNTO_14, testi::ART9_PUNTO_15, testi::ART9_PUNTO_16,
                    testi::ART9_TRANSITO, testi::ART9_PUNTO_17, testi::ART9_PUNTO_18, testi::ART9_PUNTO_19});
    imp.paragrafo_senza_spazio(cp1252(testi::ART9_PUNTO_20_INIZIO) + v["LICENZE_APPALTATORE"] + ".");
    paragrafi(imp, {testi::ART9_PUNTO_21});
    if (!togli_spazi(v["ARTICOLO_9_ALTRO"]).empty()) imp.paragrafo_senza_spazio("22) " + v["ARTICOLO_9_ALTRO"]);
    imp.grassetto();
}

void articolo_10(Impaginatore& imp) {
    intestazione(imp, {"ART. 10 ", "Conto finale e collaudo dei lavori.", "Definizione delle controversie"});
    imp.paragrafo_con_spazio(cp1252(testi::ART10_CONTO_FINALE));
    paragrafi(imp, {testi::ART10_TERMINI_COLLAUDO, testi::ART10_COLLAUDO, testi::ART10_AGIBILITA,
                    testi::ART10_APPROVAZIONE_COLLAUDO, testi::ART10_LIBERATORIE, testi::ART10_VIA_BONARIA,
                    testi::ART10_ACCORDO_BONARIO, testi::ART10_NO_SOSPENSIONE, testi::ART10_MANCATO_ACCORDO});
    imp.grassetto();
}

void articolo_11(Impaginatore& imp, ValoriContratto& v) {
    imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, "ART.11");
    const std::string& scelta = v["ARTICOLO_11"];
    if (scelta == "N" || togli_spazi(scelta).empty()) {
        imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, "OMISSIS");
        imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, "");
    } else {
        imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, "Arbitrato");
        imp.normale();
        imp.paragrafo_con_spazio(cp1252(testi::ART11_COLLEGIO));
        paragrafi(imp, {testi::ART11_NOMINA_ARBITRI, testi::ART11_SEDE, testi::ART11_PROCEDURA_ARBITRALE});
    }
    imp.grassetto();
}

int articolo_12(Impaginatore& imp, ValoriContratto& v) {
    intestazione(imp, {"ART. 12", "Spese del presente atto.  Conformità al contratto tipo."});
    imp.paragrafo_con_spazio(cp1252(testi::ART12_SPESE));
    paragrafi(imp, {testi::ART12_COPIA});
    // Articles beyond the eleven every contract has: arbitration when chosen
    // and each optional article with a title.
    int ulteriori = v["ARTICOLO_11"] == "S" ? 1 : 0;
    for (int n = 13; n <= 22; ++n)
        if (!togli_spazi(v["ARTICOLO_" + std::to_string(n)]).empty()) ++ulteriori;
    imp.paragrafo_senza_spazio(cp1252(testi::ART12_CONFORMITA_INIZIO) + std::to_string(ulteriori) +
                               cp1252(testi::ART12_CONFORMITA_FINE));
    return ulteriori + 11;
}

}  // namespace

int scrivi_articoli_9_12(Impaginatore& imp, ValoriContratto& valori) {
    articolo_9(imp, valori);
    articolo_10(imp);
    articolo_11(imp, valori);
    return articolo_12(imp, valori);
}
