#include "contratto_fixture.h"

#include <cctype>
#include <map>
#include <sstream>

#include "builders/contratto_comproprietari.h"
#include "common/cartelle.h"
#include "common/cp1252.h"

namespace fs = std::filesystem;
using testsupport::run_command;
using testsupport::shell_quote;

namespace prova_contratto {

Coppie dati_completi() {
    Coppie d = {
        {"TITOLO_RICHIEDENTE", "Dott."}, {"NOME_RICHIEDENTE", "Mario"}, {"COGNOME_RICHIEDENTE", "Rossi"},
        {"COMUNE_NASCITA_RICHIEDENTE", "Napoli"}, {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"},
        {"DATA_NASCITA_RICHIEDENTE", "19600305"}, {"COMUNE_DOMICILIO_RICHIEDENTE", "Portici"},
        {"INDIRIZZO_DOMICILIO_RICHIEDENTE", "via Libertà 4"}, {"CODICE_FISCALE_RICHIEDENTE", "RSSMRA60C05F839X"},
        {"MUNICIPALITA_CONDOMINIO", "2"}, {"INDIRIZZO_CONDOMINIO", "via Università 12"},
        {"DATA_DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE", "20070101"},
        {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20070202"},
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
        {"LAVORI_DELIBERATI_ALTRO_INTERVENTO", "RIFACIMENTO BALCONI"},
        {"LAVORI_DELIBERATI_ALTRI_IMPIANTI", "Impianto Gas"},
        {"TITOLO_PROGETTISTA", "Arch."}, {"NOME_PROGETTISTA", "Anna"}, {"COGNOME_PROGETTISTA", "Neri"},
        {"TITOLO_DIRETTORE_LAVORI", "Ing."}, {"NOME_DIRETTORE_LAVORI", "Carlo"}, {"COGNOME_DIRETTORE_LAVORI", "Gialli"},
        {"TITOLO_COORDINATORE_SICUREZZA", "Geom."}, {"NOME_COORDINATORE_SICUREZZA", "Sara"},
        {"COGNOME_COORDINATORE_SICUREZZA", "Blu"},
        {"ALTRO_INCARICO", "collaudatore"}, {"TITOLO_ALTRO_INCARICO", "Ing."}, {"NOME_ALTRO_INCARICO", "Ugo"},
        {"COGNOME_ALTRO_INCARICO", "Viola"},
        {"DIA_SI_NO", "S"}, {"DISPOSIZIONE_DIRIGENZIALE_NUM", "321"}, {"DATA_DISPOSIZIONE_DIRIGENZIALE", "20080301"},
        {"AUTORIZZAZIONE_COMUNE_DIRIDO", "S"}, {"RELAZIONE_ASSEVERATA", "S"},
        {"IMPORTO_LAVORI_NETTO_IVA", "125000"}, {"PERCENTUALE_RIBASSO", "12,5"},
        {"ONERI_SICUREZZA_NETTO_IVA", "3500,75"}, {"ONERI_DISCARICA_NETTO_IVA", "1200"},
        {"ONERI_PARTI_COMUNI", "100000"}, {"ONERI_PARTI_PRIVATE", "29700,75"},
        {"PERCENTUALE_VERSAMENTO_ANTICIPAZIONE", "10"}, {"TOTALE_RECUPERO_ANTICIPAZIONE", "25000"},
        {"IBAN_BANCA_IMPRESA", "IT60X0542811101000000123456"}, {"BANCA_IMPRESA", "Banca del Sud"},
        {"AGENZIA_BANCA_IMPRESA", "Caserta 2"}, {"DELEGATO_IMPRESA_PAGAMENTI", "Luca Bianchi"},
        {"DURATA_LAVORI_GIORNI", "120"}, {"PENALE_GIORNALIERA", "50"}, {"SUBAPPALTO", "S"},
        {"MASSIMALE_CAR", "2500"}, {"ALTRI_ONERI", "spese di pubblicità"}, {"FORNITURA_ACQUA", "a carico del committente"},
        {"LICENZE_APPALTATORE", "certificato di conformità"}, {"ARTICOLO_9_ALTRO", "pulizia finale delle facciate"},
        {"ARTICOLO_11", "S"},
        {"ARTICOLO_13", "Clausola di riservatezza"},
        {"TESTO_ARTICOLO_13_1", "Le parti mantengono riservate le informazioni scambiate."},
        {"DATA_CONTRATTO", "20090415"}, {"LETTERE_CONTRATTO", "quindici aprile duemilanove"},
    };
    for (const char* flag :
         {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO",
          "LAVORI_DELIBERATI_ELEMENTI_DECORATIVI_IN_FACCIATA_SI_NO", "LAVORI_DELIBERATI_CORTILE_SI_NO",
          "LAVORI_DELIBERATI_CASSA_SCALE_SI_NO", "LAVORI_DELIBERATI_ANDRONE_SI_NO",
          "LAVORI_DELIBERATI_LOCALI_CONDOMINIALI_SI_NO", "LAVORI_DELIBERATI_COPERTURA_SI_NO",
          "LAVORI_DELIBERATI_STRUTTURE_PORTANTI_SI_NO", "LAVORI_DELIBERATI_FONDAZIONI_SI_NO",
          "LAVORI_DELIBERATI_BARRIERE_ARCHITETTONICHE_SI_NO", "LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO",
          "LAVORI_DELIBERATI_IMPIANTO_ASCENSORE_SI_NO", "LAVORI_DELIBERATI_IMPIANTO_RISCALDAMENTO_SI_NO",
          "LAVORI_DELIBERATI_IMPIANTO_ELETTRICO_SI_NO", "LAVORI_DELIBERATI_IMPIANTO_SMALTIMENTO_ACQUE_SI_NO",
          "LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", "DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE",
          "DELIBERA_CONDOMINIALE_STIPULA_CONTRATTO_AMMINISTRATORE", "CERTIFICATO_CCIAA", "CAPITOLATO_APPALTO",
          "COMPUTO_METRICO", "ELENCO_PREZZI", "QUADRO_ECONOMICO", "DICHIARAZIONE_LAVORI_SUBAPPALTO", "POLIZZA_CAR",
          "POLIZZA_ASSICURATIVA_MANUTENZIONE", "CAUZIONE_A_GARANZIA"})
        d.emplace_back(flag, "S");
    return d;
}

Coppie con(Coppie base, const Coppie& modifiche) {
    for (const auto& [chiave, valore] : modifiche) {
        bool trovata = false;
        for (auto& coppia : base)
            if (coppia.first == chiave) {
                coppia.second = valore;
                trovata = true;
            }
        if (!trovata) base.emplace_back(chiave, valore);
    }
    return base;
}

std::string normalizza(const std::string& testo) {
    std::string risultato;
    bool spazio = false;
    for (char c : testo) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f') {
            spazio = true;
            continue;
        }
        if (spazio && !risultato.empty()) risultato += ' ';
        spazio = false;
        risultato += c;
    }
    return risultato;
}

std::string atteso(std::string_view testo_cp1252) { return normalizza(cp1252_a_utf8(testo_cp1252)); }

namespace {

bool solo_cifre(const std::string& riga) {
    if (riga.empty()) return false;
    for (char c : riga)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

Estratto estrai(const fs::path& pdf) {
    Estratto estratto;
    const auto risultato = run_command(std::string("pdftotext -raw -opw ") + PASSWORD + " -enc UTF-8 " +
                                       shell_quote(pdf.string()) + " -");
    EXPECT_EQ(risultato.exit_code, 0) << risultato.err;
    std::string pagina;
    for (char c : risultato.out) {
        if (c == '\f') {
            estratto.pagine.push_back(pagina);
            pagina.clear();
        } else {
            pagina += c;
        }
    }
    if (!normalizza(pagina).empty()) estratto.pagine.push_back(pagina);
    std::string corpo;
    for (const auto& testo_pagina : estratto.pagine) {
        std::istringstream righe(testo_pagina);
        std::string riga;
        while (std::getline(righe, riga)) {
            const std::string n = normalizza(riga);
            if (n == PIEDE_1 || n == PIEDE_2 || solo_cifre(n)) continue;
            corpo += riga + "\n";
        }
    }
    estratto.corpo = normalizza(corpo);
    return estratto;
}

int pagine_pdfinfo(const fs::path& pdf) {
    const auto risultato = run_command("pdfinfo " + shell_quote(pdf.string()));
    std::istringstream righe(risultato.out);
    std::string riga;
    while (std::getline(righe, riga))
        if (riga.rfind("Pages:", 0) == 0) return std::stoi(riga.substr(6));
    return -1;
}

::testing::AssertionResult qpdf_senza_errori(const fs::path& pdf) {
    const auto controllo = run_command("qpdf --check " + shell_quote(pdf.string()));
    if (controllo.exit_code == 0 && controllo.err.empty() &&
        controllo.out.find("No syntax or stream encoding errors") != std::string::npos &&
        controllo.out.find("WARNING") == std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "qpdf --check " << pdf << " exit " << controllo.exit_code << "\n"
                                         << controllo.out << controllo.err;
}

void Contratto::SetUp() {
    imposta_cartelle(cartella.path(), cartella.path());
    imposta_gestore_messaggi(
        [this](TipoMessaggio tipo, const std::string& testo) { messaggi.emplace_back(tipo, testo); });
}

void Contratto::TearDown() {
    imposta_gestore_messaggi({});
    imposta_cartelle({}, {});
}

void Contratto::scrivi_dati(const Coppie& coppie) {
    Coppie convertite;
    for (const auto& [chiave, valore] : coppie) {
        auto v = utf8_a_cp1252(valore);
        ASSERT_TRUE(v.has_value()) << valore;
        convertite.emplace_back(chiave, *v);
    }
    testsupport::write_data_file(file_dati(), convertite);
}

fs::path Contratto::genera(const std::string& nome) {
    const fs::path file = cartella / nome;
    EXPECT_TRUE(genera_contratto_comproprietari(file, false));
    for (const auto& [tipo, testo] : messaggi) ADD_FAILURE() << "message: " << cp1252_a_utf8(testo);
    messaggi.clear();
    return file;
}

std::string Contratto::corpo_con(const Coppie& coppie) {
    scrivi_dati(coppie);
    return estrai(genera()).corpo;
}

}  // namespace prova_contratto
