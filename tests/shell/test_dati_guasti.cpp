// The completeness check on damaged data files, read as the builders read
// them: it names a missing item or passes, whatever bytes the file holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/dati.h"
#include "shell/controllo_dati.h"
#include "support/mutazioni.h"
#include "support/tools.h"
#include "dati_contratto.h"

namespace {

TEST(StampaDati, DamagedFilesGiveAMessageOrPass) {
    testsupport::TempDir cartella;
    const auto file = cartella / "dati2.dat";
    auto sano = dati_prova::contratto_completo();
    sano = dati_prova::con(sano, "INDIRIZZO_CONDOMINIO", "via Libert\xE0 4 \x80");
    int completi = 0;
    for (std::uint32_t seme = 1; seme <= 60; ++seme) {
        SCOPED_TRACE("seed " + std::to_string(seme));
        testsupport::write_file(file, testsupport::file_dati_guasto(sano, seme));
        const ArchivioDati archivio = leggi_archivio(file);
        const auto esito = stampa_dati(archivio);
        if (esito) {
            EXPECT_FALSE(esito->empty());
        } else {
            ++completi;
            EXPECT_EQ(CHECK_ARTICOLI(archivio), std::nullopt);  // articles are part of the check
        }
    }
    EXPECT_GT(completi, 0) << "every damaged file was refused: the check was not reached";
}

}  // namespace
