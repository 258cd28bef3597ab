// A co-owners contract with every entry filled, as the form stores it: the
// load the benchmarks measure against.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "contract_record/testo_articolo.h"

namespace bench {

inline std::vector<std::pair<std::string, std::string>> dati_pieni() {
    std::vector<std::pair<std::string, std::string>> d = {
        {"TITOLO_RICHIEDENTE", "Dott."}, {"NOME_RICHIEDENTE", "Mario"}, {"COGNOME_RICHIEDENTE", "Rossi"},
        {"COMUNE_NASCITA_RICHIEDENTE", "Napoli"}, {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"},
        {"DATA_NASCITA_RICHIEDENTE", "19600305"}, {"COMUNE_DOMICILIO_RICHIEDENTE", "Portici"},
        {"INDIRIZZO_DOMICILIO_RICHIEDENTE", "via Libert\xE0 4"}, {"CODICE_FISCALE_RICHIEDENTE", "RSSMRA60C05F839X"},
        {"MUNICIPALITA_CONDOMINIO", "2"}, {"INDIRIZZO_CONDOMINIO", "via Universit\xE0 12"},
        {"TITOLO_RAPPRESENTANTE_IMPRESA", "Ing."}, {"NOME_RAPPRESENTANTE_IMPRESA", "Luca"},
        {"COGNOME_RAPPRESENTANTE_IMPRESA", "Bianchi"}, {"COMUNE_NASCITA_RAPPRESENTANTE_IMPRESA", "Salerno"},
        {"PROVINCIA_NASCITA_RAPPRESENTANTE_IMPRESA", "SA"}, {"DATA_NASCITA_RAPPRESENTANTE_IMPRESA", "19701231"},
        {"RAGIONE_SOCIALE_IMPRESA", "Edilizia Bianchi S.r.l."}, {"COMUNE_IMPRESA", "Caserta"},
        {"INDIRIZZO_IMPRESA", "corso Trieste 8"}, {"CODICE_FISCALE_IMPRESA", "01234567890"},
        {"PARTITA_IVA_IMPRESA", "01234567890"}, {"CCIAA", "Caserta"},
        {"PROTOCOLLO_ISCRIZIONE_CCIAA_IMPRESA", "4711"}, {"DATA_ISCRIZIONE_CCIAA_IMPRESA", "20080115"},
        {"TITOLO_DIRETTORE_TECNICO_IMPRESA", "Geom."}, {"NOME_DIRETTORE_TECNICO_IMPRESA", "Paolo"},
        {"COGNOME_DIRETTORE_TECNICO_IMPRESA", "Verdi"}, {"LUOGO_NASCITA_DIRETTORE_TECNICO_IMPRESA", "Avellino"},
        {"DATA_NASCITA_DIRETTORE_TECNICO_IMPRESA", "19750610"},
        {"TITOLO_PROGETTISTA", "Arch."}, {"NOME_PROGETTISTA", "Anna"}, {"COGNOME_PROGETTISTA", "Neri"},
        {"TITOLO_DIRETTORE_LAVORI", "Ing."}, {"NOME_DIRETTORE_LAVORI", "Carlo"}, {"COGNOME_DIRETTORE_LAVORI", "Gialli"},
        {"TITOLO_COORDINATORE_SICUREZZA", "Geom."}, {"NOME_COORDINATORE_SICUREZZA", "Sara"},
        {"COGNOME_COORDINATORE_SICUREZZA", "Blu"}, {"ALTRO_INCARICO", "collaudatore"},
        {"NOME_ALTRO_INCARICO", "Ugo"}, {"COGNOME_ALTRO_INCARICO", "Viola"},
        {"DIA_SI_NO", "S"}, {"AUTORIZZAZIONE_COMUNE_DIRIDO", "S"}, {"DISPOSIZIONE_DIRIGENZIALE_NUM", "321"},
        {"DATA_DISPOSIZIONE_DIRIGENZIALE", "20080301"}, {"RELAZIONE_ASSEVERATA", "S"},
        {"IMPORTO_LAVORI_NETTO_IVA", "125000"}, {"PERCENTUALE_RIBASSO", "12,5"},
        {"ONERI_SICUREZZA_NETTO_IVA", "3500,75"}, {"ONERI_DISCARICA_NETTO_IVA", "1200"},
        {"ONERI_PARTI_COMUNI", "100000"}, {"ONERI_PARTI_PRIVATE", "29700,75"},
        {"PERCENTUALE_VERSAMENTO_ANTICIPAZIONE", "10"}, {"TOTALE_RECUPERO_ANTICIPAZIONE", "25000"},
        {"IBAN_BANCA_IMPRESA", "IT60X0542811101000000123456"}, {"BANCA_IMPRESA", "Banca del Sud"},
        {"AGENZIA_BANCA_IMPRESA", "Caserta 2"}, {"DELEGATO_IMPRESA_PAGAMENTI", "Luca Bianchi"},
        {"DURATA_LAVORI_GIORNI", "120"}, {"PENALE_GIORNALIERA", "50"}, {"SUBAPPALTO", "S"},
        {"MASSIMALE_CAR", "2500"}, {"ALTRI_ONERI", "spese di pubblicit\xE0"},
        {"FORNITURA_ACQUA", "a carico del committente"}, {"LICENZE_APPALTATORE", "certificato di conformit\xE0"},
        {"ARTICOLO_9_ALTRO", "pulizia finale delle facciate"}, {"ARTICOLO_11", "S"},
        {"DATA_CONTRATTO", "20090415"},
    };
    for (const char* flag :
         {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "LAVORI_DELIBERATI_CORTILE_SI_NO", "LAVORI_DELIBERATI_COPERTURA_SI_NO",
          "LAVORI_DELIBERATI_IMPIANTO_ELETTRICO_SI_NO", "DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE",
          "DELIBERA_CONDOMINIALE_STIPULA_CONTRATTO_AMMINISTRATORE", "CERTIFICATO_CCIAA", "CAPITOLATO_APPALTO",
          "COMPUTO_METRICO", "ELENCO_PREZZI", "QUADRO_ECONOMICO", "DICHIARAZIONE_LAVORI_SUBAPPALTO", "POLIZZA_CAR",
          "POLIZZA_ASSICURATIVA_MANUTENZIONE", "CAUZIONE_A_GARANZIA"})
        d.emplace_back(flag, "S");
    // Every optional article with a body as long as the form allows.
    std::string corpo;
    while (corpo.size() < 1000) corpo += "le parti convengono quanto segue in merito all'esecuzione delle opere ";
    corpo.resize(1000);
    for (int n = 13; n <= 22; ++n) {
        d.emplace_back("ARTICOLO_" + std::to_string(n), "Clausola aggiuntiva numero " + std::to_string(n));
        const auto pezzi = dividi_testo_articolo(corpo);
        for (int k = 0; k < 4; ++k)
            d.emplace_back("TESTO_ARTICOLO_" + std::to_string(n) + "_" + std::to_string(k + 1),
                           pezzi[static_cast<std::size_t>(k)]);
    }
    return d;
}

}  // namespace bench
