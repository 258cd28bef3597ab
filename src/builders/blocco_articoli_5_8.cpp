#include "builders/blocchi_contratto.h"
#include "builders/testi_articoli_5_8.h"
#include "builders/testo_cp1252.h"

using contratto::importo;
using contratto::tra_virgolette;
using testi::cp1252;

namespace {

void intestazione(Impaginatore& imp, std::initializer_list<std::string_view> righe) {
    // Bold is already selected by the previous article.
    for (auto riga : righe) imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, cp1252(riga));
    imp.normale();
}

void articolo_5(Impaginatore& imp, ValoriContratto& v) {
    intestazione(imp, {"ART. 5 ", "Disciplina del subappalto."});
    imp.paragrafo_con_spazio(cp1252(testi::ART5_DIVIETO_CESSIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART5_AUTORIZZAZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART5_NON_SUBAPPALTI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART5_FORNITURA_MATERIALI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART5_NOLI_FORNITURE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART5_INTENDIMENTO));
    imp.paragrafo_senza_spazio(cp1252(testi::ART5_COMUNICAZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART5_RESPONSABILITA));
    // "S" is the form's option "will not subcontract".
    if (v["SUBAPPALTO"] == "S")
        imp.paragrafo_senza_spazio("L'Appaltatore " + v.nominativo_rappresentante_impresa +
                                   " dichiara di non voler subappaltare le lavorazioni di cui al presente contratto, "
                                   "come da dichiarazione allegata (all. H)");
    else
        imp.paragrafo_senza_spazio("L'Appaltatore " + v.nominativo_rappresentante_impresa +
                                   " ha presentato all'atto dell'offerta la dichiarazione che si allega  in merito "
                                   "alle eventuali lavorazioni da subappaltare (all. H).");
    imp.grassetto();
}

void articolo_6(Impaginatore& imp) {
    intestazione(imp, {"ART. 6", "Trattamento dei lavoratori"});
    imp.paragrafo_con_spazio(cp1252(testi::ART6_CONTRATTI_COLLETTIVI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART6_CONTRIBUZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART6_COMUNICAZIONE_INIZIO));
    imp.paragrafo_senza_spazio(cp1252(testi::ART6_DETRAZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART6_SALDO_CAUZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART6_INCIDENZA_MANODOPERA));
    imp.paragrafo_senza_spazio(cp1252(testi::ART6_ELENCO_FIDUCIA));
    imp.grassetto();
}

void articolo_7(Impaginatore& imp) {
    intestazione(imp, {"ART. 7", "Attività di controllo della TAVORE. S.C.p.A."});
    imp.paragrafo_con_spazio(cp1252(testi::ART7_ACCESSO_CANTIERE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART7_CONTROLLI_AGGIUNTIVI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART7_CARTELLO_CANTIERE));
    imp.grassetto();
}

void articolo_8(Impaginatore& imp, ValoriContratto& v) {
    intestazione(imp, {"ART. 8", "Assicurazioni a carico dell'Appaltatore.", "Cauzione a garanzia dell'appalto"});
    imp.paragrafo_con_spazio(cp1252(testi::ART8_POLIZZA_CAR));
    const auto massimale = importo(v["MASSIMALE_CAR"]);
    imp.paragrafo_senza_spazio(cp1252(testi::ART8_MASSIMALE_INIZIO) + massimale.cifre + cp1252(" (diconsi  €: ") +
                               massimale.lettere + "),");
    imp.paragrafo_senza_spazio(cp1252(testi::ART8_DURATA_POLIZZA));
    imp.paragrafo_senza_spazio(cp1252(testi::ART8_POLIZZA_MANUTENZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART8_ACCENSIONE_POLIZZE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART8_CAUZIONE_DIECI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART8_OGGETTO_CAUZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART8_FIDEIUSSIONE));
    imp.paragrafo_con_spazio(
        "Copie di tali documenti vengono allegate al presente contratto, contrassegnandole con le lettere " +
        tra_virgolette("I") + ", " + tra_virgolette("J") + " ed " + tra_virgolette("K") + ".");
    imp.grassetto();
}

}  // namespace

void scrivi_articoli_5_8(Impaginatore& imp, ValoriContratto& valori) {
    articolo_5(imp, valori);
    articolo_6(imp);
    articolo_7(imp);
    articolo_8(imp, valori);
}
