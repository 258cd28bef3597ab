// The final completeness check: which item is reported, in which order.
#include <gtest/gtest.h>

#include "common/dati.h"
#include "shell/controllo_dati.h"
#include "support/tools.h"
#include "dati_contratto.h"

using dati_prova::con;
using dati_prova::contratto_completo;

namespace {

ArchivioDati archivio(const dati_prova::Coppie& coppie) {
    ArchivioDati a;
    for (const auto& [k, v] : coppie) a[k] = v;
    return a;
}

std::string controlla(const dati_prova::Coppie& coppie) {
    return stampa_dati(archivio(coppie)).value_or("<completo>");
}

}  // namespace

TEST(StampaDati, CompleteContractPassesForBothKinds) {
    EXPECT_EQ(controlla(contratto_completo()), "<completo>");
    EXPECT_EQ(controlla(con(contratto_completo(), "TIPO_RICHIEDENTE", "proprietario ")), "<completo>");
}

// For either kind of client, every item but the condominium's own.
TEST(StampaDati, EachRequiredItemIsNamed) {
    const std::pair<const char*, const char*> casi[] = {
        {"NOME_RICHIEDENTE", "Manca il nome del richiedente."},
        {"COGNOME_RICHIEDENTE", "Manca il cognome del richiedente."},
        {"MUNICIPALITA_CONDOMINIO", "Manca la municipalit\xE0 dell'edificio."},
        {"INDIRIZZO_CONDOMINIO", "Manca l'indirizzo dell'edificio."},
        {"RAGIONE_SOCIALE_IMPRESA", "Manca la ragione sociale dell'impresa."},
        {"NOME_RAPPRESENTANTE_IMPRESA", "Manca il nome del rappresentante dell'impresa."},
        {"COGNOME_RAPPRESENTANTE_IMPRESA", "Manca il cognome del rappresentante dell'impresa."},
        {"NOME_PROGETTISTA", "Manca il nome del progettista."},
        {"COGNOME_PROGETTISTA", "Manca il cognome del progettista."},
        {"NOME_DIRETTORE_LAVORI", "Manca il nome del direttore dei lavori."},
        {"COGNOME_DIRETTORE_LAVORI", "Manca il cognome del direttore dei lavori."},
        {"NOME_DIRETTORE_TECNICO_IMPRESA", "Manca il nome del direttore tecnico dell'impresa."},
        {"COGNOME_DIRETTORE_TECNICO_IMPRESA", "Manca il cognome del direttore tecnico dell'impresa."},
        {"DISPOSIZIONE_DIRIGENZIALE_NUM", "Manca il numero della disposizione dirigenziale."},
        {"DATA_DISPOSIZIONE_DIRIGENZIALE", "Manca la data della disposizione dirigenziale."},
        {"IMPORTO_LAVORI_NETTO_IVA", "Manca l'importo dei lavori al netto dell'IVA."},
        {"ONERI_SICUREZZA_NETTO_IVA", "Manca l'importo degli oneri per la sicurezza al netto dell'IVA."},
        {"DURATA_LAVORI_GIORNI", "Manca la durata dei lavori in giorni."},
        {"DATA_CONTRATTO", "Manca la data del contratto."},
    };
    for (const char* tipo : {"Comproprietario", "Proprietario"}) {
        for (const auto& [chiave, messaggio] : casi) {
            EXPECT_EQ(controlla(con(con(contratto_completo(), "TIPO_RICHIEDENTE", tipo), chiave, "   ")), messaggio)
                << tipo << " " << chiave;
        }
    }
}

TEST(StampaDati, FirstMissingItemStopsTheCheck) {
    auto dati = con(contratto_completo(), "DATA_CONTRATTO", "0");
    dati = con(dati, "ARTICOLO_15", "Titolo senza testo");
    dati = con(dati, "COGNOME_PROGETTISTA", "");
    EXPECT_EQ(controlla(dati), "Manca il cognome del progettista.");
    dati = con(dati, "COGNOME_PROGETTISTA", "Bianchi");
    EXPECT_EQ(controlla(dati), "Manca la data del contratto.");
    dati = con(dati, "DATA_CONTRATTO", "20240301");
    EXPECT_EQ(controlla(dati), "Manca il testo dell'articolo 15.");
}

TEST(StampaDati, ValuesThatSayNothingCountAsMissing) {
    const std::string data = "Manca la data del contratto.";
    for (const char* nessuna : {"0", "000000", "gg/mm/aaaa", "20240231", "18000101x", "2024031"})
        EXPECT_EQ(controlla(con(contratto_completo(), "DATA_CONTRATTO", nessuna)), data) << nessuna;
    EXPECT_EQ(controlla(con(contratto_completo(), "DATA_CONTRATTO", "20240229")), "<completo>");

    for (const auto& [chiave, importo] :
         {std::pair{"IMPORTO_LAVORI_NETTO_IVA", "Manca l'importo dei lavori al netto dell'IVA."},
          {"ONERI_SICUREZZA_NETTO_IVA", "Manca l'importo degli oneri per la sicurezza al netto dell'IVA."}}) {
        for (const char* non_numero : {",", "abc", "1,2,3"})
            EXPECT_EQ(controlla(con(contratto_completo(), chiave, non_numero)), importo) << chiave << " " << non_numero;
    }
    EXPECT_EQ(controlla(con(contratto_completo(), "ONERI_SICUREZZA_NETTO_IVA", "0")), "<completo>");

    const std::string durata = "Manca la durata dei lavori in giorni.";
    for (const char* giorni : {"0", "000", "12,5", "-3"})
        EXPECT_EQ(controlla(con(contratto_completo(), "DURATA_LAVORI_GIORNI", giorni)), durata) << giorni;
}

TEST(StampaDati, PermitNeedsOneChoiceAndItsNumberAndDateOnlyForTheAuthorisation) {
    auto nessuno = con(contratto_completo(), "AUTORIZZAZIONE_COMUNE_DIRIDO", "N");
    EXPECT_EQ(controlla(nessuno),
              "Manca il titolo dei lavori: scegliere DIA, autorizzazione del Comune o relazione asseverata.");
    EXPECT_NE(controlla(con(nessuno, "DIA_SI_NO", "s")), "<completo>") << "flags are \"S\" exactly";

    auto dia = con(nessuno, "DIA_SI_NO", "S");
    dia = con(dia, "DISPOSIZIONE_DIRIGENZIALE_NUM", "");
    dia = con(dia, "DATA_DISPOSIZIONE_DIRIGENZIALE", "");
    EXPECT_EQ(controlla(dia), "<completo>");
    EXPECT_EQ(controlla(con(nessuno, "RELAZIONE_ASSEVERATA", "S")), "<completo>");
}

TEST(StampaDati, KindDecidesTheTable) {
    EXPECT_EQ(controlla(con(contratto_completo(), "TIPO_RICHIEDENTE", "")).substr(0, 33),
              "Nessun contratto \xE8 stato compilat");
    const auto condominio = con(contratto_completo(), "TIPO_RICHIEDENTE", "Amministratore");
    EXPECT_EQ(controlla(condominio),
              "Manca la data della delibera condominiale di nomina dell'amministratore.");
    auto con_delibere = con(condominio, "DATA_DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE", "20231010");
    con_delibere = con(con_delibere, "DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20231110");
    EXPECT_EQ(controlla(con_delibere), "<completo>");
}

TEST(CheckArticoli, TitleAndTextTogetherOrNeither) {
    auto dati = contratto_completo();
    EXPECT_EQ(CHECK_ARTICOLI(archivio(dati)), std::nullopt);

    EXPECT_EQ(CHECK_ARTICOLI(archivio(con(dati, "ARTICOLO_13", "  "))), "Manca il titolo dell'articolo 13.");
    EXPECT_EQ(CHECK_ARTICOLI(archivio(con(dati, "TESTO_ARTICOLO_13_1", ""))), "Manca il testo dell'articolo 13.");
    EXPECT_EQ(CHECK_ARTICOLI(archivio(con(dati, "TESTO_ARTICOLO_22_3", "solo il terzo pezzo"))),
              "Manca il titolo dell'articolo 22.");
    EXPECT_EQ(CHECK_ARTICOLI(archivio(con(dati, "TESTO_ARTICOLO_14_2", "\r\n"))), std::nullopt)
        << "a body of line breaks only is empty";
    auto due = con(dati, "ARTICOLO_22", "Ultimo");
    due = con(due, "TESTO_ARTICOLO_22_4", "testo nel quarto pezzo");
    EXPECT_EQ(CHECK_ARTICOLI(archivio(due)), std::nullopt);
}

TEST(StampaDati, ReadsTheStoreAsTheBuildersDo) {
    // A key held twice counts with its last record, as in the document.
    testsupport::TempDir cartella;
    auto dati = contratto_completo();
    dati.insert(dati.begin(), {"data_contratto ", "0"});
    testsupport::write_data_file(cartella / "dati2.dat", dati);
    EXPECT_EQ(stampa_dati(leggi_archivio(cartella / "dati2.dat")), std::nullopt);
    dati.emplace_back("DATA_CONTRATTO", "0");
    testsupport::write_data_file(cartella / "dati2.dat", dati);
    EXPECT_EQ(stampa_dati(leggi_archivio(cartella / "dati2.dat")), "Manca la data del contratto.");
}
