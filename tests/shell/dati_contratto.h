// A complete co-owners contract as the form stores it, for the shell tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace dati_prova {

using Coppie = std::vector<std::pair<std::string, std::string>>;

inline Coppie contratto_completo() {
    return {
        {"TITOLO_RICHIEDENTE", "Sig."},
        {"TIPO_RICHIEDENTE", "Comproprietario"},
        {"NOME_RICHIEDENTE", "Mario"},
        {"COGNOME_RICHIEDENTE", "Esposito"},
        {"COMUNE_NASCITA_RICHIEDENTE", "Rezevi"},
        {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"},
        {"DATA_NASCITA_RICHIEDENTE", "19600312"},
        {"MUNICIPALITA_CONDOMINIO", "1"},
        {"INDIRIZZO_CONDOMINIO", "via Toledo 12"},
        {"COMUNE_DOMICILIO_RICHIEDENTE", "Rezevi"},
        {"INDIRIZZO_DOMICILIO_RICHIEDENTE", "via Toledo 12"},
        {"CODICE_FISCALE_RICHIEDENTE", "SPSMRA60C12F839X"},
        {"TITOLO_RAPPRESENTANTE_IMPRESA", "Ing."},
        {"NOME_RAPPRESENTANTE_IMPRESA", "Luca"},
        {"COGNOME_RAPPRESENTANTE_IMPRESA", "Russo"},
        {"DATA_NASCITA_RAPPRESENTANTE_IMPRESA", "19700101"},
        {"RAGIONE_SOCIALE_IMPRESA", "Edil Russo S.r.l."},
        {"COMUNE_IMPRESA", "Rezevi"},
        {"INDIRIZZO_IMPRESA", "via Roma 1"},
        {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
        {"TITOLO_PROGETTISTA", "Arch."},
        {"NOME_PROGETTISTA", "Anna"},
        {"COGNOME_PROGETTISTA", "Bianchi"},
        {"TITOLO_DIRETTORE_LAVORI", "Geom."},
        {"NOME_DIRETTORE_LAVORI", "Paolo"},
        {"COGNOME_DIRETTORE_LAVORI", "Verdi"},
        {"DIA_SI_NO", "N"},
        {"AUTORIZZAZIONE_COMUNE_DIRIDO", "S"},
        {"DISPOSIZIONE_DIRIGENZIALE_NUM", "125"},
        {"DATA_DISPOSIZIONE_DIRIGENZIALE", "20240115"},
        {"RELAZIONE_ASSEVERATA", "N"},
        {"CCIAA", "NA"},
        {"NOME_DIRETTORE_TECNICO_IMPRESA", "Gino"},
        {"COGNOME_DIRETTORE_TECNICO_IMPRESA", "Neri"},
        {"IMPORTO_LAVORI_NETTO_IVA", "120.000,50"},
        {"PERCENTUALE_RIBASSO", "10"},
        {"ONERI_SICUREZZA_NETTO_IVA", "3500"},
        {"ONERI_DISCARICA_NETTO_IVA", ""},
        {"DURATA_LAVORI_GIORNI", "120"},
        {"PENALE_GIORNALIERA", "100"},
        {"SUBAPPALTO", "N"},
        {"ARTICOLO_11", "N"},
        {"ARTICOLO_13", "Pulizia del cantiere"},
        {"TESTO_ARTICOLO_13_1", "L'impresa pulisce il cantiere | ogni sera."},
        {"TESTO_ARTICOLO_13_2", ""},
        {"TESTO_ARTICOLO_13_3", ""},
        {"TESTO_ARTICOLO_13_4", ""},
        {"ARTICOLO_14", ""},
        {"TESTO_ARTICOLO_14_1", ""},
        {"CAPITOLATO_APPALTO", "S"},
        {"DATA_CONTRATTO", "20240301"},
    };
}

// The pairs with `chiave` given another value (added when missing).
inline Coppie con(Coppie coppie, const std::string& chiave, const std::string& valore) {
    for (auto& [k, v] : coppie) {
        if (k == chiave) {
            v = valore;
            return coppie;
        }
    }
    coppie.emplace_back(chiave, valore);
    return coppie;
}

}  // namespace dati_prova
