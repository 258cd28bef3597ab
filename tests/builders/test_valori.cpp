// The values the contract prepares from the data store.
#include <gtest/gtest.h>

#include "builders/valori_contratto.h"

namespace {

TEST(ValoriContratto, NomiUnitiConUnoSpazioAncheSeVuoti) {
    ValoriContratto v({{"NOME_RICHIEDENTE", "Mario"}, {"COGNOME_RICHIEDENTE", "Rossi"},
                       {"TITOLO_PROGETTISTA", "Arch."}, {"COGNOME_PROGETTISTA", "Neri"}});
    EXPECT_EQ(v.nominativo_richiedente, " Mario Rossi");
    EXPECT_EQ(v.nominativo_progettista, "Arch.  Neri");
    EXPECT_EQ(v.nominativo_direttore_lavori, "  ");
    EXPECT_EQ(v.nominativo_rappresentante_impresa, "  ");
}

TEST(ValoriContratto, AltroIncaricoPreparatoAlPostoDelValore) {
    ValoriContratto v({{"ALTRO_INCARICO", "collaudatore"}, {"TITOLO_ALTRO_INCARICO", "Ing."},
                       {"NOME_ALTRO_INCARICO", "Ugo"}, {"COGNOME_ALTRO_INCARICO", "Viola"}});
    EXPECT_EQ(v.valore("ALTRO_INCARICO"), "collaudatore Ing. Ugo Viola");
    EXPECT_EQ(v.valore("NOME_ALTRO_INCARICO"), "Ugo");
}

TEST(ValoriContratto, TestiDegliArticoliUnitiDaiPezzi) {
    ValoriContratto v({{"TESTO_ARTICOLO_13_1", "Prima parte,"}, {"TESTO_ARTICOLO_13_3", "terza"},
                       {"TESTO_ARTICOLO_22_4", "solo l'ultimo | con barra"}});
    EXPECT_EQ(v.testo_articolo(13), "Prima parte,terza");
    EXPECT_EQ(v.testo_articolo(14), "");
    EXPECT_EQ(v.testo_articolo(22), "solo l'ultimo | con barra");
    EXPECT_EQ(v.testo_articolo(23), "");
}

TEST(ValoriContratto, SoloLeChiaviDelContratto) {
    ValoriContratto v({{"TOTALE_APPALTO", "999"}, {"CONTRATTO_CHIUSO", "S"}, {"DATA_CONTRATTO", "20090415"}});
    EXPECT_EQ(v.valore("DATA_CONTRATTO"), "20090415");
    EXPECT_EQ(v.valore("MISURA_FORFAIT"), "");
    EXPECT_THROW(v.valore("TOTALE_APPALTO"), std::logic_error);
    EXPECT_THROW(v["CONTRATTO_CHIUSO"], std::logic_error);
    EXPECT_EQ(ValoriContratto::chiavi().size(), 154u);
}

}  // namespace
