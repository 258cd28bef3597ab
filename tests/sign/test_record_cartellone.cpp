#include "sign/record_cartellone.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/cartelle.h"
#include "common/cp1252.h"
#include "common/dati.h"
#include "common/messaggi.h"
#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::TempDir;
using testsupport::write_data_file;
using Coppie = std::vector<std::pair<std::string, std::string>>;

namespace {

class RecordCartellone : public ::testing::Test {
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
    ModelloCartellone carica() {
        auto m = carica_cartellonistica();
        EXPECT_TRUE(m.has_value());
        return m.value_or(ModelloCartellone{});
    }

    TempDir dir;
    std::vector<std::string> messaggi;
};

const Coppie CONTRATTO = {
    {"INDIRIZZO_CONDOMINIO", "via Toledo 12"},
    {"RAGIONE_SOCIALE_IMPRESA", "Edil Russo S.r.l."},
    {"TITOLO_PROGETTISTA", "Arch."},
    {"NOME_PROGETTISTA", "Anna"},
    {"COGNOME_PROGETTISTA", "Bianchi"},
    {"TITOLO_DIRETTORE_LAVORI", ""},
    {"NOME_DIRETTORE_LAVORI", "Paolo"},
    {"COGNOME_DIRETTORE_LAVORI", "Verdi"},
    {"TITOLO_DIRETTORE_TECNICO_IMPRESA", "Geom."},
    {"COGNOME_DIRETTORE_TECNICO_IMPRESA", "Neri"},
    {"DIA_SI_NO", "S"},
};

// What each box shows on a store that holds only the contract.
TEST_F(RecordCartellone, EveryBoxFallsBackToTheContractOrShowsNothing) {
    write_data_file(file(), CONTRATTO);
    const ModelloCartellone m = carica();
    const std::array<std::string, NUMERO_CASELLE_CARTELLONE> attesi = {
        "via Toledo 12", "", "DIA", "Edil Russo S.r.l.", "gg/mm/aaaa", "gg/mm/aaaa", "Arch. Anna Bianchi",
        " Paolo Verdi",  // untitled: the blank is kept
        "", "", "Geom.  Neri", "", ""};
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i)
        EXPECT_EQ(m.testi[static_cast<std::size_t>(i)], attesi[static_cast<std::size_t>(i)]) << "box " << i;
    // No area was stored: the first is chosen and stored at once.
    EXPECT_EQ(m.tipo_centro, 0);
    EXPECT_EQ(leggi_dato(CHIAVE_TIPO_CENTRO), "CSU");
    EXPECT_TRUE(messaggi.empty());
}

TEST(TitoloEdilizio, LaterRulesReplaceEarlierOnes) {
    const struct {
        Coppie dati;
        std::string atteso;
    } casi[] = {
        {{}, ""},
        {{{"DIA_SI_NO", "S"}, {"DISPOSIZIONE_DIRIGENZIALE_NUM", "77"}, {"AUTORIZZAZIONE_COMUNE_DIRIDO", "N"}}, "DIA"},
        {{{"DIA_SI_NO", "S"},
          {"AUTORIZZAZIONE_COMUNE_DIRIDO", "S"},
          {"DISPOSIZIONE_DIRIGENZIALE_NUM", "77"},
          {"DATA_DISPOSIZIONE_DIRIGENZIALE", "20090305"}},
         "Provv. aut. Comune Rezevi n.77 del 05/03/2009"},
        {{{"AUTORIZZAZIONE_COMUNE_DIRIDO", "S"}, {"DISPOSIZIONE_DIRIGENZIALE_NUM", ""}}, ""},
        {{{"AUTORIZZAZIONE_COMUNE_DIRIDO", "S"}, {"DISPOSIZIONE_DIRIGENZIALE_NUM", "8"}, {"RELAZIONE_ASSEVERATA", "S"}},
         "Relazione asseverata"},
    };
    for (const auto& c : casi) {
        std::map<std::string, std::string> archivio(c.dati.begin(), c.dati.end());
        EXPECT_EQ(titolo_edilizio(archivio), c.atteso);
    }
}

TEST_F(RecordCartellone, StoredEntriesWinAndTheLastRecordOfAKeyCounts) {
    write_data_file(file(), {{"INDIRIZZO_CONDOMINIO", "via Toledo 12"},
                             {"cartellone_indirizzo_condominio", "vecchio"},
                             {"  CARTELLONE_INDIRIZZO_CONDOMINIO", "  piazza Dante 3  "},
                             {"CARTELLONE_TIPO_CENTRO", " qp "},
                             {"CARTELLONE_DATA_INIZIO_LAVORI", "20100315"},
                             {"CARTELLONE_DATA_FINE_LAVORI", "000000"},
                             {"CARTELLONE_PROGETTISTA", "   "}});
    const auto prima = read_file(file());
    const ModelloCartellone m = carica();
    EXPECT_EQ(m.testi[INDIRIZZO], "piazza Dante 3");
    EXPECT_EQ(m.tipo_centro, 2);
    EXPECT_EQ(m.testi[DATA_INIZIO], "15/03/2010");
    EXPECT_EQ(m.testi[DATA_FINE], "gg/mm/aaaa");
    EXPECT_EQ(m.testi[PROGETTISTA], "  ");  // blank entry: the (empty) person text
    EXPECT_EQ(read_file(file()), prima) << "a load with a stored area writes nothing";
}

// Saving right after a fresh load writes the always-written keys and nothing
// for the boxes that show the contract's values.
TEST_F(RecordCartellone, SaveAfterAFreshLoadStoresNoFallback) {
    write_data_file(file(), CONTRATTO);
    const ModelloCartellone m = carica();
    const Coppie attese = {
        {"CARTELLONE_TIPO_CENTRO", "CSU"},
        {"CARTELLONE_DATA_INIZIO_LAVORI", "0"},
        {"CARTELLONE_DATA_FINE_LAVORI", "0"},
        {"CARTELLONE_COORDINATORE_PROGETTAZIONE", ""},
        {"CARTELLONE_COORDINATORE_ESECUZIONE", ""},
        {"CARTELLONE_IMPRESA_SUBAPPALTATRICE", ""},
        {"CARTELLONE_DIRETTORE_TECNICO_IMPRESA_SUBAPPALTATRICE", ""},
    };
    EXPECT_EQ(coppie_cartellone(m, leggi_archivio()), attese);
    // The contract's address typed in another case is still the fallback.
    ModelloCartellone minuscolo = m;
    minuscolo.testi[INDIRIZZO] = " VIA TOLEDO 12";
    EXPECT_EQ(coppie_cartellone(minuscolo, leggi_archivio()), attese);
}

TEST_F(RecordCartellone, EmptiedOrRevertedBoxesFallBackAgainAndEveryDuplicateIsRewritten) {
    Coppie dati = CONTRATTO;
    dati.insert(dati.end(), {{"CARTELLONE_INDIRIZZO_CONDOMINIO", "piazza Dante 3"},
                             {"CARTELLONE_TIPOLOGIA_LAVORI", "facciate"},
                             {"Cartellone_Progettista", "Ing. Primo"},
                             {"CARTELLONE_PROGETTISTA", "Ing. Secondo"},
                             {"CARTELLONE_TIPO_CENTRO", "CSP"}});
    write_data_file(file(), dati);
    ModelloCartellone m = carica();
    ASSERT_EQ(m.testi[PROGETTISTA], "Ing. Secondo");
    m.testi[INDIRIZZO] = "";                       // emptied
    m.testi[TIPOLOGIA_LAVORI] = "  ";              // emptied
    m.testi[PROGETTISTA] = "arch. anna bianchi";  // set back to the contract's
    m.testi[IMPRESA] = "Altra impresa";
    m.testi[DATA_INIZIO] = "1/2/2011";
    ASSERT_TRUE(salva_cartellone(m));
    EXPECT_TRUE(messaggi.empty());

    const ModelloCartellone di_nuovo = carica();
    EXPECT_EQ(di_nuovo.testi[INDIRIZZO], "via Toledo 12");
    EXPECT_EQ(di_nuovo.testi[TIPOLOGIA_LAVORI], "");
    EXPECT_EQ(di_nuovo.testi[PROGETTISTA], "Arch. Anna Bianchi");
    EXPECT_EQ(di_nuovo.testi[IMPRESA], "Altra impresa");
    EXPECT_EQ(di_nuovo.testi[DATA_INIZIO], "01/02/2011");
    EXPECT_EQ(di_nuovo.tipo_centro, 1);
    // Both records of the duplicated key now hold the saved (empty) value.
    int progettisti = 0;
    for (const auto& r : leggi_record())
        if (maiuscolo(r.chiave) == "CARTELLONE_PROGETTISTA") {
            ++progettisti;
            EXPECT_EQ(r.valore, "");
        }
    EXPECT_EQ(progettisti, 2);
    EXPECT_EQ(leggi_dato("CARTELLONE_DATA_INIZIO_LAVORI"), "20110201");
}

TEST_F(RecordCartellone, RefusedDatesLeaveTheFileByteIdentical) {
    const struct {
        std::string inizio, fine, messaggio;
        int casella;  // the box the user is sent to
    } casi[] = {
        {"15/13/2010", "", "La Data di inizio lavori \xE8 errata!", DATA_INIZIO},
        {"31/02/2010", "", "La Data di inizio lavori \xE8 errata!", DATA_INIZIO},
        {"12/03", "", "La Data di inizio lavori \xE8 errata!", DATA_INIZIO},
        {"", "29/02/2100", "La Data di fine lavori \xE8 errata!", DATA_FINE},
        {"15/03/2010", "14/03/2010", "La data fine lavori non pu\xF2 essere antecedente quella di inizio!",
         DATA_FINE},
    };
    write_data_file(file(), CONTRATTO);
    const auto prima = read_file(file());
    for (const auto& c : casi) {
        messaggi.clear();
        ModelloCartellone m;
        m.tipo_centro = 0;
        m.testi[DATA_INIZIO] = c.inizio;
        m.testi[DATA_FINE] = c.fine;
        int errata = -1;
        EXPECT_FALSE(salva_cartellone(m, &errata)) << c.inizio << " " << c.fine;
        EXPECT_EQ(errata, c.casella);
        EXPECT_EQ(messaggi, std::vector<std::string>{c.messaggio});
        EXPECT_EQ(read_file(file()), prima);
    }
    // Equal dates, the placeholder in any case, and an empty box pass.
    for (const auto& [inizio, fine] : {std::pair{"14/03/2010", "14/03/2010"}, {"GG/MM/AAAA", ""}}) {
        ModelloCartellone m;
        m.testi[DATA_INIZIO] = inizio;
        m.testi[DATA_FINE] = fine;
        EXPECT_FALSE(controlla_cartellone(m).has_value()) << inizio;
    }
}

TEST_F(RecordCartellone, Cp1252TextsRoundTripAndLongTextsAreCutAt255Bytes) {
    ModelloCartellone m;
    m.tipo_centro = 0;
    m.testi[COORDINATORE_ESECUZIONE] = "Ing. Nicol\xF2 \x80 \x93 D'Aria";
    m.testi[IMPRESA_SUBAPPALTATRICE] = std::string(300, 'x');
    ASSERT_TRUE(salva_cartellone(m));
    const ModelloCartellone letto = carica();
    EXPECT_EQ(letto.testi[COORDINATORE_ESECUZIONE], m.testi[COORDINATORE_ESECUZIONE]);
    EXPECT_EQ(letto.testi[IMPRESA_SUBAPPALTATRICE], std::string(255, 'x'));
    EXPECT_EQ(fs::file_size(file()) % 510, 0u);
}

}  // namespace
