#include "contract_record/record_contratto.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/cartelle.h"
#include "common/dati.h"
#include "common/messaggi.h"
#include "contract_record/testo_articolo.h"
#include "support/modello_uguale.h"
#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::data_record;
using testsupport::expect_stesso_modello;
using testsupport::read_file;
using testsupport::TempDir;
using testsupport::write_data_file;

namespace {

class RecordContratto : public ::testing::Test {
protected:
    void SetUp() override {
        imposta_cartelle(dir.path(), dir.path());
        imposta_gestore_messaggi([this](TipoMessaggio, const std::string& t) { messaggi.push_back(t); });
    }
    void TearDown() override {
        imposta_gestore_messaggi({});
        imposta_cartelle({}, {});
    }
    fs::path file() const { return dir.path() / "dati2.dat"; }

    TempDir dir;
    std::vector<std::string> messaggi;
};

// The key of every pair in the order a save writes them, as the stored
// contract defines them.
std::vector<std::string> chiavi_attese() {
    std::vector<std::string> k = {
        "TITOLO_RICHIEDENTE", "TIPO_RICHIEDENTE", "NOME_RICHIEDENTE", "COGNOME_RICHIEDENTE",
        "COMUNE_NASCITA_RICHIEDENTE", "PROVINCIA_NASCITA_RICHIEDENTE", "DATA_NASCITA_RICHIEDENTE",
        "MUNICIPALITA_CONDOMINIO", "INDIRIZZO_CONDOMINIO", "DATA_DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE",
        "COMUNE_DOMICILIO_RICHIEDENTE", "INDIRIZZO_DOMICILIO_RICHIEDENTE",
        "DATA_DELIBERA_AUTORIZZAZIONE_FIRMA_CONTRATTO", "CODICE_FISCALE_RICHIEDENTE",
        "TITOLO_RAPPRESENTANTE_IMPRESA", "NOME_RAPPRESENTANTE_IMPRESA", "COGNOME_RAPPRESENTANTE_IMPRESA",
        "COMUNE_NASCITA_RAPPRESENTANTE_IMPRESA", "PROVINCIA_NASCITA_RAPPRESENTANTE_IMPRESA",
        "DATA_NASCITA_RAPPRESENTANTE_IMPRESA", "RAGIONE_SOCIALE_IMPRESA", "COMUNE_IMPRESA", "INDIRIZZO_IMPRESA",
        "CODICE_FISCALE_IMPRESA", "PARTITA_IVA_IMPRESA", "DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI",
        "LAVORI_DELIBERATI_FACCIATE_SI_NO", "LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO",
        "LAVORI_DELIBERATI_ELEMENTI_DECORATIVI_IN_FACCIATA_SI_NO", "LAVORI_DELIBERATI_CORTILE_SI_NO",
        "LAVORI_DELIBERATI_CASSA_SCALE_SI_NO", "LAVORI_DELIBERATI_ANDRONE_SI_NO",
        "LAVORI_DELIBERATI_LOCALI_CONDOMINIALI_SI_NO", "LAVORI_DELIBERATI_COPERTURA_SI_NO",
        "LAVORI_DELIBERATI_STRUTTURE_PORTANTI_SI_NO", "LAVORI_DELIBERATI_FONDAZIONI_SI_NO",
        "LAVORI_DELIBERATI_BARRIERE_ARCHITETTONICHE_SI_NO", "LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO",
        "LAVORI_DELIBERATI_ALTRO_INTERVENTO", "LAVORI_DELIBERATI_IMPIANTO_ASCENSORE_SI_NO",
        "LAVORI_DELIBERATI_IMPIANTO_RISCALDAMENTO_SI_NO", "LAVORI_DELIBERATI_IMPIANTO_ELETTRICO_SI_NO",
        "LAVORI_DELIBERATI_IMPIANTO_SMALTIMENTO_ACQUE_SI_NO", "LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO",
        "LAVORI_DELIBERATI_ALTRI_IMPIANTI", "TITOLO_PROGETTISTA", "NOME_PROGETTISTA", "COGNOME_PROGETTISTA",
        "TITOLO_DIRETTORE_LAVORI", "NOME_DIRETTORE_LAVORI", "COGNOME_DIRETTORE_LAVORI",
        "TITOLO_COORDINATORE_SICUREZZA", "NOME_COORDINATORE_SICUREZZA", "COGNOME_COORDINATORE_SICUREZZA",
        "ALTRO_INCARICO", "TITOLO_ALTRO_INCARICO", "NOME_ALTRO_INCARICO", "COGNOME_ALTRO_INCARICO", "DIA_SI_NO",
        "AUTORIZZAZIONE_COMUNE_DIRIDO", "DISPOSIZIONE_DIRIGENZIALE_NUM", "DATA_DISPOSIZIONE_DIRIGENZIALE",
        "RELAZIONE_ASSEVERATA", "CCIAA", "PROTOCOLLO_ISCRIZIONE_CCIAA_IMPRESA", "DATA_ISCRIZIONE_CCIAA_IMPRESA",
        "LETTERE_CONTRATTO", "TITOLO_DIRETTORE_TECNICO_IMPRESA", "COGNOME_DIRETTORE_TECNICO_IMPRESA",
        "NOME_DIRETTORE_TECNICO_IMPRESA", "LUOGO_NASCITA_DIRETTORE_TECNICO_IMPRESA",
        "DATA_NASCITA_DIRETTORE_TECNICO_IMPRESA", "IMPORTO_LAVORI_NETTO_IVA", "PERCENTUALE_RIBASSO",
        "ONERI_SICUREZZA_NETTO_IVA", "ONERI_DISCARICA_NETTO_IVA", "TOTALE_APPALTO", "ONERI_PARTI_COMUNI",
        "ONERI_PARTI_PRIVATE", "PERCENTUALE_VERSAMENTO_ANTICIPAZIONE", "TOTALE_RECUPERO_ANTICIPAZIONE",
        "IBAN_BANCA_IMPRESA", "BANCA_IMPRESA", "AGENZIA_BANCA_IMPRESA", "DELEGATO_IMPRESA_PAGAMENTI",
        "DURATA_LAVORI_GIORNI", "PENALE_GIORNALIERA", "SUBAPPALTO", "MASSIMALE_CAR", "ALTRI_ONERI",
        "FORNITURA_ACQUA", "LICENZE_APPALTATORE", "ARTICOLO_9_ALTRO", "ARTICOLO_11"};
    for (int n = 13; n <= 22; ++n) {
        k.push_back("ARTICOLO_" + std::to_string(n));
        for (int p = 1; p <= 4; ++p) k.push_back("TESTO_ARTICOLO_" + std::to_string(n) + "_" + std::to_string(p));
    }
    for (const char* a : {"DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE",
                          "DELIBERA_CONDOMINIALE_STIPULA_CONTRATTO_AMMINISTRATORE", "CERTIFICATO_CCIAA",
                          "CAPITOLATO_APPALTO", "COMPUTO_METRICO", "ELENCO_PREZZI", "QUADRO_ECONOMICO",
                          "DICHIARAZIONE_LAVORI_SUBAPPALTO", "POLIZZA_CAR", "POLIZZA_ASSICURATIVA_MANUTENZIONE",
                          "CAUZIONE_A_GARANZIA"})
        k.push_back(a);
    k.push_back("DATA_CONTRATTO");
    return k;
}

std::string& testo(ModelloContratto& m, int i) { return m.text1[static_cast<std::size_t>(i)].testo; }

// A contract with every input filled, in the forms the user would type.
ModelloContratto contratto_compilato() {
    ModelloContratto m = modello_iniziale();
    for (int i = 0; i < NUMERO_TESTI; ++i) testo(m, i) = "Testo " + std::to_string(i) + " \xE0\xE8\xEC\xF2\xF9 | \x80";
    testo(m, 4) = "01/02/1960";
    testo(m, 6) = "";
    testo(m, 9) = "gg/mm/aaaa";
    testo(m, 15) = "29/02/2000";
    testo(m, 21) = "15/03/2021";
    testo(m, 34) = "05/11/2020";
    testo(m, 36) = "31/12/1999";
    testo(m, 41) = "07/07/1970";
    testo(m, 82) = "15/03/2021";
    testo(m, 42) = "1000";
    testo(m, 43) = " , ";
    testo(m, 44) = "200,5";
    testo(m, 45) = "";
    testo(m, 56) = "12,50";
    testo(m, 57) = ",";
    std::string corpo;
    for (int i = 0; corpo.size() < 700; ++i) corpo += "riga " + std::to_string(i) + " \xE8 | ok\r\n";
    testo(m, 63) = corpo;
    seleziona_voce(m.combo2[0], 2);
    m.combo2[1].testo = "Cav.";  // typed, not in the list
    seleziona_voce(m.combo1, 9);
    seleziona_voce(m.combo3, 57);  // NA
    m.check1.valore = SPUNTATA;
    imposta_allegato(m, 3, SPUNTATA);
    imposta_allegato(m, 8, SPUNTATA);
    m.check3[0].valore = SPUNTATA;
    m.check3[16].valore = GRIGIA;
    imposta_permesso(m, 1, true);
    imposta_subappalto(m, 1, true);
    m.contratto_modificato = 1;
    return m;
}

}  // namespace

TEST_F(RecordContratto, SaveWritesEveryPairOnceInItsOrderByteExact) {
    ModelloContratto m = contratto_compilato();
    ASSERT_TRUE(salva(m, TIPO_COMPROPRIETARIO)) << (messaggi.empty() ? "" : messaggi[0]);
    EXPECT_EQ(m.contratto_modificato, 0);

    const auto chiavi = chiavi_attese();
    ASSERT_EQ(chiavi.size(), 156u);
    const auto coppie = coppie_contratto(m, TIPO_COMPROPRIETARIO);
    ASSERT_EQ(coppie.size(), 156u);

    std::map<std::string, std::string> attesi;
    auto t = [&](int i) { return testo(m, i); };
    attesi["TITOLO_RICHIEDENTE"] = "Dott.";
    attesi["TIPO_RICHIEDENTE"] = "Comproprietario";
    attesi["NOME_RICHIEDENTE"] = t(0);
    attesi["DATA_NASCITA_RICHIEDENTE"] = "19600201";
    attesi["MUNICIPALITA_CONDOMINIO"] = "10";
    attesi["DATA_DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE"] = "000000";
    attesi["DATA_DELIBERA_AUTORIZZAZIONE_FIRMA_CONTRATTO"] = "0";
    attesi["TITOLO_RAPPRESENTANTE_IMPRESA"] = "Cav.";
    attesi["DATA_NASCITA_RAPPRESENTANTE_IMPRESA"] = "20000229";
    attesi["DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI"] = "20210315";
    attesi["LAVORI_DELIBERATI_FACCIATE_SI_NO"] = "S";
    attesi["LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO"] = "N";
    attesi["LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO"] = "N";  // greyed
    attesi["TITOLO_PROGETTISTA"] = "";
    attesi["DIA_SI_NO"] = "N";
    attesi["AUTORIZZAZIONE_COMUNE_DIRIDO"] = "S";
    attesi["RELAZIONE_ASSEVERATA"] = "N";
    attesi["DISPOSIZIONE_DIRIGENZIALE_NUM"] = t(33);
    attesi["DATA_DISPOSIZIONE_DIRIGENZIALE"] = "20201105";
    attesi["CCIAA"] = "NA";
    attesi["DATA_ISCRIZIONE_CCIAA_IMPRESA"] = "19991231";
    attesi["COGNOME_DIRETTORE_TECNICO_IMPRESA"] = t(39);
    attesi["NOME_DIRETTORE_TECNICO_IMPRESA"] = t(38);
    attesi["IMPORTO_LAVORI_NETTO_IVA"] = "1000";
    attesi["PERCENTUALE_RIBASSO"] = "";
    attesi["ONERI_SICUREZZA_NETTO_IVA"] = "200,5";
    attesi["ONERI_DISCARICA_NETTO_IVA"] = "";
    attesi["PENALE_GIORNALIERA"] = "12,50";
    attesi["MASSIMALE_CAR"] = "";
    attesi["SUBAPPALTO"] = "N";
    attesi["ARTICOLO_11"] = "S";
    attesi["ARTICOLO_13"] = t(62);
    attesi["ARTICOLO_22"] = t(80);
    attesi["DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE"] = "N";
    attesi["CAPITOLATO_APPALTO"] = "S";
    attesi["POLIZZA_CAR"] = "S";
    attesi["DATA_CONTRATTO"] = "20210315";

    std::string file_atteso;
    for (std::size_t j = 0; j < 156; ++j) {
        EXPECT_EQ(coppie[j].first, chiavi[j]) << j + 1;
        auto it = attesi.find(chiavi[j]);
        if (it != attesi.end()) {
            EXPECT_EQ(coppie[j].second, it->second) << chiavi[j];
        }
        file_atteso += data_record(chiavi[j], coppie[j].second);
    }
    EXPECT_EQ(read_file(file()), file_atteso);

    // The body of article 13 in four pieces that join back; the others empty.
    std::array<std::string, 4> pezzi;
    for (int p = 0; p < 4; ++p) {
        const auto& c = coppie[95 + p];
        EXPECT_EQ(c.first, "TESTO_ARTICOLO_13_" + std::to_string(p + 1));
        EXPECT_LE(c.second.size(), 255u);
        pezzi[static_cast<std::size_t>(p)] = c.second;
    }
    EXPECT_FALSE(pezzi[2].empty());
    EXPECT_EQ(unisci_testo_articolo(pezzi), t(63));
    EXPECT_EQ(coppie[99].first, "ARTICOLO_14");
    EXPECT_EQ(coppie[100].second, dividi_testo_articolo(t(65))[0]);
}

TEST_F(RecordContratto, SaveRewritesEveryMatchingRecordAndLeavesOthersAlone) {
    write_data_file(file(), {{"CARTELLONE_TIPO_CENTRO", "CSU"},
                             {"  nome_richiedente ", "vecchio"},
                             {"CONTRATTO_CHIUSO", "N"},
                             {"NOME_RICHIEDENTE", "doppio"}});
    ModelloContratto m = modello_iniziale();
    testo(m, 0) = "Anna";
    ASSERT_TRUE(salva(m, TIPO_PROPRIETARIO));
    const std::string byte = read_file(file());
    ASSERT_EQ(byte.size() % 510, 0u);
    EXPECT_EQ(byte.substr(0, 510), data_record("CARTELLONE_TIPO_CENTRO", "CSU"));
    EXPECT_EQ(byte.substr(510, 510), data_record("NOME_RICHIEDENTE", "Anna"));
    EXPECT_EQ(byte.substr(1020, 510), data_record("CONTRATTO_CHIUSO", "N"));
    EXPECT_EQ(byte.substr(1530, 510), data_record("NOME_RICHIEDENTE", "Anna"));
    EXPECT_EQ(byte.size(), (4 + 155) * 510u);
    EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE").value_or(""), "Proprietario");
}

TEST_F(RecordContratto, RefusedDateShowsItsMessageAndWritesNothing) {
    struct Caso {
        int casella;
        std::string testo;
        std::string messaggio;
    };
    const std::vector<Caso> casi = {
        {4, "31/04/2020", "La Data di nascita del richiedente \xE8 errata!"},
        {6, "1/13/2020", "La Data della delibera condominiale per l'autorizzazione \xE8 errata !"},
        {9, "01/01/1799", "La Data della delibera condominiale per l'autorizzazione alla firma del contratto !"},
        {15, "29/02/1900", "La Data di nascita del rappresentante dell'impresa \xE8 errata!"},
        {21, "12/12/20", "La Data della delibera condominiale per l'esecuzione \xE8 errata !"},
        {36, "gg/mm/aaa", "La Data della iscrizione impresa \xE8 errata !"},
        {41, "00/01/2000", "La Data nascita del direttore lavori \xE8 errata!"},
        {82, "01/01/2101", "La Data del documento \xE8 errata!"},
    };
    for (const auto& c : casi) {
        messaggi.clear();
        ModelloContratto m = modello_iniziale();
        m.contratto_modificato = 1;
        testo(m, c.casella) = c.testo;
        EXPECT_FALSE(salva(m, TIPO_COMPROPRIETARIO)) << c.casella;
        ASSERT_EQ(messaggi.size(), 1u);
        EXPECT_EQ(messaggi[0], c.messaggio);
        EXPECT_EQ(m.contratto_modificato, 1);
        EXPECT_EQ(testo(m, c.casella), c.testo);
        EXPECT_FALSE(fs::exists(file()));
    }
}

TEST_F(RecordContratto, PermitNumberAndDateAreCheckedOnlyForTheAuthorisation) {
    ModelloContratto m = modello_iniziale();
    testo(m, 33) = "   ";
    testo(m, 34) = "99/99/9999";
    EXPECT_TRUE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(leggi_dato("DATA_DISPOSIZIONE_DIRIGENZIALE").value_or("x"), "");
    EXPECT_EQ(leggi_dato("DISPOSIZIONE_DIRIGENZIALE_NUM").value_or("x"), "");

    imposta_permesso(m, 1, true);
    EXPECT_FALSE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(messaggi.back(), "Devo conoscere la disposizione dirigenziale del Comune di Rezevi!");
    testo(m, 33) = "123";
    EXPECT_FALSE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(messaggi.back(), "La Data della disposizione dirigenziale \xE8 errata!");
    testo(m, 34) = "gg/mm/aaaa";
    EXPECT_TRUE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(leggi_dato("DATA_DISPOSIZIONE_DIRIGENZIALE").value_or(""), "0");
}

TEST_F(RecordContratto, ResolutionsMayNotFollowTheContractDate) {
    const std::string auto_msg =
        "La Data della delibera condominiale per l'autorizzazione dei lavori non pu\xF2 essere successiva a "
        "quella del contratto";
    ModelloContratto m = modello_iniziale();
    testo(m, 82) = "10/05/2021";
    testo(m, 6) = "10/05/2021";
    testo(m, 21) = "10/05/2021";
    testo(m, 9) = "10/05/2021";
    EXPECT_TRUE(salva(m, TIPO_COMPROPRIETARIO));  // equal dates pass

    testo(m, 9) = "11/05/2021";
    testo(m, 21) = "11/05/2021";
    testo(m, 6) = "11/05/2021";
    EXPECT_FALSE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(messaggi.back(), auto_msg + " !");
    testo(m, 6) = "";
    EXPECT_FALSE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(messaggi.back(),
              "La Data della delibera condominiale per l'esecuzione dei lavori non pu\xF2 essere successiva a "
              "quella del contratto!");
    testo(m, 21) = "gg/mm/aaaa";
    EXPECT_FALSE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(messaggi.back(), auto_msg + "!");

    testo(m, 82) = "";  // no contract date: nothing to compare with
    EXPECT_TRUE(salva(m, TIPO_COMPROPRIETARIO));
}

TEST_F(RecordContratto, ABodyThatCannotBeStoredWholeIsRefused) {
    ModelloContratto m = modello_iniziale();
    testo(m, 62) = "Titolo";
    testo(m, 65) = std::string(1021, 'a');
    EXPECT_FALSE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(messaggi.back(), "Il testo dell'articolo 14 \xE8 troppo lungo per essere salvato per intero: "
                               "accorciarlo di un carattere: ci\xF2 che si pu\xF2 salvare finisce dove \xE8 il cursore.");
    EXPECT_FALSE(fs::exists(file()));
    testo(m, 65).pop_back();
    EXPECT_TRUE(salva(m, TIPO_COMPROPRIETARIO));
}

TEST_F(RecordContratto, AFailingStoreKeepsTheFileAndTheFlag) {
    ModelloContratto m = modello_iniziale();
    testo(m, 0) = "Primo";
    ASSERT_TRUE(salva(m, TIPO_COMPROPRIETARIO));
    const std::string prima = read_file(file());
    testo(m, 0) = "Secondo";
    m.contratto_modificato = 1;
    simula_guasto_prima_della_rinomina(true);
    EXPECT_FALSE(salva(m, TIPO_COMPROPRIETARIO));
    simula_guasto_prima_della_rinomina(false);
    EXPECT_EQ(m.contratto_modificato, 1);
    EXPECT_EQ(read_file(file()), prima);
    ASSERT_FALSE(messaggi.empty());
    EXPECT_EQ(messaggi.back().rfind("Salvataggio non riuscito", 0), 0u);
}

TEST_F(RecordContratto, LoadAfterSaveGivesBackEveryControl) {
    ModelloContratto m = contratto_compilato();
    // Blanks inside texts at many places, and around the piece boundaries.
    testo(m, 5) = "Via  Roma,   12";
    testo(m, 43) = "12,5";  // "," alone is stored as no amount
    testo(m, 57) = "1.500.000,00";
    std::string corpo;
    for (int i = 0; i < 1000; ++i) corpo += (i % 7 == 0 || (i >= 250 && i <= 260 && i % 2)) ? ' ' : 'x';
    corpo.front() = 'a';
    corpo.back() = 'z';
    corpo.replace(500, 2, "\r\n");
    testo(m, 81) = corpo;
    testo(m, 80) = "Ultimo";
    aggiorna_articoli(m);
    ASSERT_TRUE(salva(m, TIPO_COMPROPRIETARIO)) << (messaggi.empty() ? "" : messaggi[0]);

    ModelloContratto letto = modello_iniziale();
    ASSERT_TRUE(carica_contratto(letto, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(letto.contratto_modificato, 0);
    // Dates come back as dd/mm/yyyy, which is how they were typed here; a
    // greyed box is stored as "N"; "N" selects the subcontracting declaration.
    ModelloContratto atteso = m;
    atteso.check3[16].valore = NON_SPUNTATA;
    expect_stesso_modello(letto, atteso);
    EXPECT_EQ(letto.combo3.testo, "NA");
    EXPECT_EQ(letto.check1.valore, SPUNTATA);
    EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE").value_or(""), "Comproprietario");
}

TEST_F(RecordContratto, AnUntouchedFormComesBackAsItWasSaved) {
    ModelloContratto vuoto = modello_iniziale();
    ASSERT_TRUE(carica_contratto(vuoto, TIPO_COMPROPRIETARIO));  // shows the default advance
    ASSERT_TRUE(salva(vuoto, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(leggi_dato("DATA_DISPOSIZIONE_DIRIGENZIALE").value_or("x"), "");
    EXPECT_EQ(leggi_dato("DATA_CONTRATTO").value_or("x"), "0");
    ModelloContratto letto = modello_iniziale();
    ASSERT_TRUE(carica_contratto(letto, TIPO_COMPROPRIETARIO));
    expect_stesso_modello(letto, vuoto);
    EXPECT_EQ(letto.combo1.indice, 0);
    EXPECT_EQ(letto.combo3.indice, -1);

    // An empty box under the chosen authorisation stays empty.
    imposta_permesso(letto, 1, true);
    testo(letto, 33) = "7";
    testo(letto, 34) = "";
    ASSERT_TRUE(salva(letto, TIPO_COMPROPRIETARIO));
    ModelloContratto di_nuovo = modello_iniziale();
    ASSERT_TRUE(carica_contratto(di_nuovo, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(testo(di_nuovo, 34), "");
}

TEST_F(RecordContratto, LoadReadsKeysAsTheStoreMatchesThem) {
    write_data_file(file(), {
                                {"  nome_richiedente  ", "Mario"},
                                {"NOME RICHIEDENTE", "sbagliato"},
                                {"DATA_NASCITA_RICHIEDENTE", "0"},
                                {"DATA_CONTRATTO", "20210315"},
                                {"DATA_NASCITA_RAPPRESENTANTE_IMPRESA", ""},
                                {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "s"},
                                {"LAVORI_DELIBERATI_CORTILE_SI_NO", "S"},
                                {"SUBAPPALTO", "s"},
                                {"ARTICOLO_11", "s"},
                                {"CAPITOLATO_APPALTO", "N"},
                                {"POLIZZA_CAR", "S"},
                                {"MUNICIPALITA_CONDOMINIO", "1"},
                                {"TESTO_ARTICOLO_15_1", "inizio"},
                                {"TESTO_ARTICOLO_15_4", "fine"},
                                {"COGNOME_RICHIEDENTE", "Primo"},
                                {"COGNOME_RICHIEDENTE", "Secondo"},
                                {"TITOLO_RICHIEDENTE", "sig.ra"},
                            });
    testsupport::write_file(file(), read_file(file()) + "x");  // a partial record is ignored
    ModelloContratto m = modello_iniziale();
    ASSERT_TRUE(carica_contratto(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(testo(m, 0), "Mario");
    EXPECT_EQ(testo(m, 1), "Secondo");
    EXPECT_EQ(testo(m, 4), "gg/mm/aaaa");
    EXPECT_EQ(testo(m, 15), "");
    EXPECT_EQ(testo(m, 82), "15/03/2021");
    EXPECT_EQ(testo(m, 6), "gg/mm/aaaa");  // absent: as the form opened
    EXPECT_EQ(m.check3[0].valore, NON_SPUNTATA);
    EXPECT_EQ(m.check3[3].valore, SPUNTATA);
    EXPECT_TRUE(m.option3[0]);
    EXPECT_EQ(m.check1.valore, SPUNTATA);
    EXPECT_EQ(m.check2[3].valore, NON_SPUNTATA);
    EXPECT_EQ(m.check2[8].valore, NON_SPUNTATA);
    EXPECT_FALSE(m.check2[8].abilitata);
    EXPECT_EQ(m.combo1.indice, 0);
    EXPECT_EQ(testo(m, 67), "iniziofine");
    EXPECT_TRUE(m.text1[66].abilitata);  // holds text, so it stays reachable
    EXPECT_EQ(m.combo2[0].indice, 1);
    EXPECT_EQ(m.combo2[0].testo, "sig.ra");
    EXPECT_EQ(testo(m, 49), "10");
    EXPECT_EQ(m.contratto_modificato, 0);
    // The kind of client is recorded in place of nothing: appended at the end.
    const std::string byte = read_file(file());
    EXPECT_EQ(byte.substr(byte.size() - 510), data_record("TIPO_RICHIEDENTE", "Comproprietario"));
}

TEST_F(RecordContratto, ValuesOutsideTheFixedListsStaySelectableAndAreSavedBack) {
    write_data_file(file(), {{"MUNICIPALITA_CONDOMINIO", "11"},
                             {"CCIAA", "Napoli"},
                             {"TITOLO_PROGETTISTA", "Cav. Uff."},
                             {"CAPITOLATO_APPALTO", "S"},
                             {"ELENCO_PREZZI", "S"},
                             {"COMPUTO_METRICO", "N"}});
    ModelloContratto m = modello_iniziale();
    ASSERT_TRUE(carica_contratto(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(m.combo1.testo, "11");
    EXPECT_GE(m.combo1.indice, 10);
    EXPECT_EQ(m.combo3.testo, "Napoli");
    EXPECT_EQ(m.combo2[2].indice, -1);
    EXPECT_EQ(m.combo2[2].testo, "Cav. Uff.");
    EXPECT_EQ(m.check2[5].valore, SPUNTATA);
    EXPECT_TRUE(m.check2[4].abilitata);
    ASSERT_TRUE(salva(m, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(leggi_dato("MUNICIPALITA_CONDOMINIO").value_or(""), "11");
    EXPECT_EQ(leggi_dato("CCIAA").value_or(""), "Napoli");
    EXPECT_EQ(leggi_dato("TITOLO_PROGETTISTA").value_or(""), "Cav. Uff.");

    // "1" selects the first item, never "10 - ..."; a province in another
    // case selects its item.
    write_data_file(file(), {{"MUNICIPALITA_CONDOMINIO", "1"}, {"CCIAA", " na "}});
    ModelloContratto n = modello_iniziale();
    ASSERT_TRUE(carica_contratto(n, TIPO_COMPROPRIETARIO));
    EXPECT_EQ(n.combo1.indice, 0);
    EXPECT_EQ(n.combo3.testo, "NA");
    EXPECT_EQ(n.combo3.voci.size(), voci_province().size());
}

TEST_F(RecordContratto, AnUnreadableStoreOpensNothingAndSaysWhy) {
    fs::create_directory(file());
    ModelloContratto m = modello_iniziale();
    EXPECT_FALSE(carica_contratto(m, TIPO_COMPROPRIETARIO));
    ASSERT_EQ(messaggi.size(), 1u);
    EXPECT_EQ(messaggi[0].rfind("Impossibile aprire il contratto", 0), 0u);
}

TEST(ModelloContratto, RulesBetweenInputs) {
    ModelloContratto m = modello_iniziale();
    EXPECT_EQ(m.combo1.indice, 0);
    EXPECT_EQ(m.combo3.indice, -1);
    EXPECT_EQ(m.combo1.voci.size(), 10u);
    EXPECT_EQ(m.combo1.voci[1], "2 - Municipalit\xE0 2");
    EXPECT_FALSE(m.text1[33].abilitata);
    EXPECT_FALSE(m.check2[0].abilitata);
    EXPECT_TRUE(m.check2[3].abilitata);

    imposta_allegato(m, 3, SPUNTATA);
    imposta_allegato(m, 0, SPUNTATA);
    EXPECT_TRUE(m.check2[0].abilitata);
    imposta_allegato(m, 3, NON_SPUNTATA);
    EXPECT_EQ(m.check2[0].valore, NON_SPUNTATA);
    EXPECT_FALSE(m.check2[0].abilitata);

    imposta_permesso(m, 1, true);
    EXPECT_TRUE(m.text1[34].abilitata);
    imposta_permesso(m, 2, true);
    EXPECT_FALSE(m.option1[1]);
    EXPECT_FALSE(m.text1[34].abilitata);

    EXPECT_TRUE(m.text1[62].abilitata);
    EXPECT_FALSE(m.text1[64].abilitata);
    m.text1[62].testo = "   ";
    aggiorna_articoli(m);
    EXPECT_FALSE(m.text1[65].abilitata);
    m.text1[62].testo = "Titolo";
    aggiorna_articoli(m);
    EXPECT_TRUE(m.text1[65].abilitata);
    EXPECT_FALSE(m.text1[66].abilitata);

    EXPECT_EQ(numero_articoli(m), 12);
    m.check1.valore = SPUNTATA;
    EXPECT_EQ(numero_articoli(m), 13);
    EXPECT_EQ(numero_allegati(m), 0);
    imposta_allegato(m, 3, SPUNTATA);
    imposta_allegato(m, 10, SPUNTATA);
    EXPECT_EQ(numero_allegati(m), 2);

    EXPECT_EQ(totale_appalto(m), "");
    m.text1[42].testo = "1.000";
    m.text1[44].testo = "200,505";
    m.text1[45].testo = "abc";
    EXPECT_EQ(totale_appalto(m), "1200,51");
}
