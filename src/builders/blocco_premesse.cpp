#include "builders/blocchi_contratto.h"
#include "builders/testi_premesse.h"
#include "builders/testo_cp1252.h"
#include "common/cp1252.h"
#include "common/date.h"

using testi::cp1252;

namespace {

struct LavoroDeliberato {
    const char* flag;
    const char* testo;        // fixed text, "" for the works typed by the user
    const char* testo_libero; // key of the typed text
};

const LavoroDeliberato LAVORI[] = {
    {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "Facciate, ", nullptr},
    {"LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO", "Ripristino fascia basamentale, ", nullptr},
    {"LAVORI_DELIBERATI_ELEMENTI_DECORATIVI_IN_FACCIATA_SI_NO", "Ripristino elementi decorativi in facciata, ", nullptr},
    {"LAVORI_DELIBERATI_CORTILE_SI_NO", "Cortile e/o aree esterne, ", nullptr},
    {"LAVORI_DELIBERATI_CASSA_SCALE_SI_NO", "Cassa scale, ", nullptr},
    {"LAVORI_DELIBERATI_ANDRONE_SI_NO", "Androne, ", nullptr},
    {"LAVORI_DELIBERATI_LOCALI_CONDOMINIALI_SI_NO", "Locali comuni, ", nullptr},
    {"LAVORI_DELIBERATI_COPERTURA_SI_NO", "Copertura, ", nullptr},
    {"LAVORI_DELIBERATI_STRUTTURE_PORTANTI_SI_NO", "Strutture portanti, ", nullptr},
    {"LAVORI_DELIBERATI_FONDAZIONI_SI_NO", "Fondazioni, ", nullptr},
    {"LAVORI_DELIBERATI_BARRIERE_ARCHITETTONICHE_SI_NO", "Eliminazione delle barriere architettoniche, ", nullptr},
    {"LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO", "", "LAVORI_DELIBERATI_ALTRO_INTERVENTO"},
    {"LAVORI_DELIBERATI_IMPIANTO_ASCENSORE_SI_NO", "Impianto ascensore, ", nullptr},
    {"LAVORI_DELIBERATI_IMPIANTO_RISCALDAMENTO_SI_NO", "Impianto di riscaldamento, ", nullptr},
    {"LAVORI_DELIBERATI_IMPIANTO_ELETTRICO_SI_NO", "Impianto elettrico e/o citofonico e/o antenna centralizzata, ", nullptr},
    {"LAVORI_DELIBERATI_IMPIANTO_SMALTIMENTO_ACQUE_SI_NO",
     "Impianto di smaltimento delle acque meteoriche e/o impianto fognario, ", nullptr},
    {"LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", "", "LAVORI_DELIBERATI_ALTRI_IMPIANTI"},
};

std::string clausola_richiedente(ValoriContratto& v) {
    return cp1252("- il/la sottoscritto/a ") + v.nominativo_richiedente + ", nato/a a " +
           v["COMUNE_NASCITA_RICHIEDENTE"] + " (" + v["PROVINCIA_NASCITA_RICHIEDENTE"] + ") il " +
           data_da_archivio(v["DATA_NASCITA_RICHIEDENTE"]) +
           cp1252(" delegato dei proprietari dell' immobile in comunione dei beni non costituente condominio "
                  "dell'edificio sito in Rezevi,") +
           cp1252(" Municipalità ") + v["MUNICIPALITA_CONDOMINIO"] + " in " + v["INDIRIZZO_CONDOMINIO"] + ", " +
           "domiciliato in " + v["COMUNE_DOMICILIO_RICHIEDENTE"] + " in " + v["INDIRIZZO_DOMICILIO_RICHIEDENTE"] +
           cp1252(", come da dichiarazione che si allega in duplice copia (All. A3), codice fiscale ") +
           v["CODICE_FISCALE_RICHIEDENTE"] + "," +
           cp1252(" autorizzato alla presente istanza giusta dichiarazione che si allega in duplice copia (all. B2).");
}

std::string clausola_impresa(ValoriContratto& v) {
    return "il " + v.nominativo_rappresentante_impresa + ", nato a " + v["COMUNE_NASCITA_RAPPRESENTANTE_IMPRESA"] +
           " (" + v["PROVINCIA_NASCITA_RAPPRESENTANTE_IMPRESA"] + ") il " +
           data_da_archivio(v["DATA_NASCITA_RAPPRESENTANTE_IMPRESA"]) + "," +
           cp1252(" nella qualità di legale rappresentante della impresa ") + v["RAGIONE_SOCIALE_IMPRESA"] +
           ", con sede in " + v["COMUNE_IMPRESA"] + " in " + v["INDIRIZZO_IMPRESA"] + ", codice fiscale " +
           v["CODICE_FISCALE_IMPRESA"] + " e Partita I.V.A. " + v["PARTITA_IVA_IMPRESA"];
}

std::string lavori_deliberati(ValoriContratto& v) {
    std::string frase = "- che i proprietari dell'edificio di " + v["INDIRIZZO_CONDOMINIO"] +
                        " hanno deciso l'esecuzione dei seguenti lavori: ";
    for (const auto& lavoro : LAVORI) {
        if (v[lavoro.flag] != "S") continue;
        if (lavoro.testo_libero == nullptr) {
            frase += cp1252(lavoro.testo);
        } else if (!togli_spazi(v[lavoro.testo_libero]).empty()) {
            frase += minuscolo(v[lavoro.testo_libero]) + ", ";
        }
    }
    // The last ", " (or the ": " of the opening when nothing was decided)
    // gives way to the full stop.
    frase.resize(frase.size() - 2);
    return frase + ".";
}

}  // namespace

void scrivi_premesse(Impaginatore& imp, ValoriContratto& v) {
    const std::string Q = "\"";
    // The parties: no page-break test, the title block leaves room on page 1.
    imp.blocco(ALLINEA_CENTRO, 0.5f, cp1252(testi::TRA));
    imp.normale();
    imp.blocco(ALLINEA_GIUSTIFICATO, 0.5f, clausola_richiedente(v));
    imp.grassetto();
    imp.blocco(ALLINEA_CENTRO, 0.5f, cp1252(testi::E));
    imp.normale();
    imp.blocco(ALLINEA_GIUSTIFICATO, 0.5f, clausola_impresa(v));
    imp.grassetto();
    imp.blocco(ALLINEA_CENTRO, 0.5f, cp1252(testi::PREMESSO));
    imp.normale();

    imp.blocco_e_controllo(ALLINEA_GIUSTIFICATO, 0.5f, lavori_deliberati(v));

    // Professionals and the mandate.
    imp.blocco_e_controllo(ALLINEA_SINISTRA, 0.5f, cp1252(testi::PREMESSA_NOMINANDO));
    imp.blocco_e_controllo(ALLINEA_SINISTRA, 0.5f, "- progettista: " + v.nominativo_progettista + ",");
    imp.blocco_e_controllo(ALLINEA_SINISTRA, 0.1f, "- direttore dei lavori: " + v.nominativo_direttore_lavori + ",");
    if (!togli_spazi(v["COGNOME_COORDINATORE_SICUREZZA"]).empty() &&
        !togli_spazi(v["NOME_COORDINATORE_SICUREZZA"]).empty())
        imp.paragrafo_senza_spazio("- coordinatore per la sicurezza " + v.nominativo_coordinatore_sicurezza + ",");
    if (!togli_spazi(v["COGNOME_ALTRO_INCARICO"]).empty() && !togli_spazi(v["NOME_ALTRO_INCARICO"]).empty())
        imp.paragrafo_senza_spazio("- " + v["ALTRO_INCARICO"] + ",");
    imp.paragrafo_con_spazio("autorizzando il sottoscritto " + v.nominativo_richiedente +
                             " a presentare istanza per la concessione del contributo previsto per gli edifici dei "
                             "centri storici e delle periferie ai sensi dell'Avviso Pubblico, ");

    // Building permit: each test on its own.
    if (v["DIA_SI_NO"] == "S") imp.paragrafo_senza_spazio(cp1252(testi::PREMESSA_DIA));
    if (v["AUTORIZZAZIONE_COMUNE_DIRIDO"] == "S")
        imp.paragrafo_senza_spazio(
            cp1252("- che per i lavori in oggetto è stato rilasciato  provvedimento autorizzativo dal Servizio "
                   "edilizia privata del Comune di Rezevi con disposizione dirigenziale n. ") +
            v["DISPOSIZIONE_DIRIGENZIALE_NUM"] + " del " + data_da_archivio(v["DATA_DISPOSIZIONE_DIRIGENZIALE"]) + ";");
    if (v["RELAZIONE_ASSEVERATA"] == "S") imp.paragrafo_senza_spazio(cp1252(testi::PREMESSA_RELAZIONE_ASSEVERATA));

    // Fixed and closing recitals.
    imp.paragrafo_senza_spazio(cp1252(testi::PREMESSA_EROGAZIONE_CONTRIBUTO));
    imp.paragrafo_senza_spazio(cp1252(testi::PREMESSA_RICHIESTA_EROGAZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::PREMESSA_CONTROLLI));
    imp.paragrafo_senza_spazio(cp1252(testi::PREMESSA_OGGETTO_CONTROLLI));
    imp.paragrafo_senza_spazio(cp1252(testi::PREMESSA_CONSEGUENZE) + Q + "Elenco Imprese" + Q + ".");
    imp.paragrafo_senza_spazio(
        cp1252("- che il delegato dei proprietari dello stabile ha verificato che l'impresa è iscritta nello "
               "speciale ") +
        Q + "Elenco Imprese" + Q + " e  che l'impresa " + v["RAGIONE_SOCIALE_IMPRESA"] +
        cp1252(" è in possesso del certificato di iscrizione al Registro delle Imprese rilasciato dalla C.C.I.A.A. di ") +
        v["CCIAA"] + " Prot. n. " + v["PROTOCOLLO_ISCRIZIONE_CCIAA_IMPRESA"] + " in data " +
        data_da_archivio(v["DATA_ISCRIZIONE_CCIAA_IMPRESA"]) +
        cp1252(" in corso di validità che si allega in originale sotto la lettera ") + Q + "C" + Q + ".");
    imp.paragrafo_senza_spazio(
        "- che il computo metrico estimativo e il quadro economico sono stati redatti dal progettista incaricato " +
        v.nominativo_progettista + " secondo " + Q + "Il Nuovo Prezzario Lavori Pubblici in Campania" + Q +
        cp1252(" approvato con Delibera di Giunta Regionale n. 2184 del 29/12/2006 pubblicata sul BURC del "
               "2/3/2007,  e gli eventuali nuovi prezzi sono muniti di dichiarazione di congruità dei prezzi "
               "applicati in relazione ai costi elementari della manodopera e dei materiali attualmente vigenti "
               "nella Regione Campania effettuata dallo stesso progettista;"));
    imp.paragrafo_senza_spazio(cp1252(testi::PREMESSA_STIPULA));
}
