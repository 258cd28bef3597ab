// The contract built from damaged data files: whatever the file holds, the
// builder either writes a document every reader accepts or says no and
// leaves nothing behind.
#include <cstdint>
#include <filesystem>
#include <string>

#include "builders/contratto_comproprietari.h"
#include "common/cartelle.h"
#include "common/cp1252.h"
#include "contratto_fixture.h"
#include "support/mutazioni.h"

namespace fs = std::filesystem;
using namespace prova_contratto;

namespace {

class DatiGuasti : public Contratto {};

TEST_F(DatiGuasti, EveryDamagedFileGivesAValidDocumentOrNone) {
    REQUIRE_TOOL("qpdf");
    Coppie sano;
    for (const auto& [chiave, valore] : dati_completi()) sano.emplace_back(chiave, *utf8_a_cp1252(valore));
    int scritti = 0;
    int controllati = 0;
    for (std::uint32_t seme = 1; seme <= 30; ++seme) {
        SCOPED_TRACE("seed " + std::to_string(seme));
        testsupport::write_file(file_dati(), testsupport::file_dati_guasto(sano, seme));
        const fs::path pdf = cartella / ("c" + std::to_string(seme) + ".pdf");
        messaggi.clear();
        if (genera_contratto_comproprietari(pdf, false)) {
            ++scritti;
            ASSERT_TRUE(fs::is_regular_file(pdf));
            if (scritti % 4 == 1) {  // qpdf on a few only: it is slow under the sanitizers
                ++controllati;
                EXPECT_TRUE(qpdf_senza_errori(pdf));
            }
        } else {
            EXPECT_FALSE(fs::exists(pdf));
            EXPECT_FALSE(messaggi.empty()) << "refused without a word";
        }
        // Only the data file and the finished documents are in the folder:
        // no partial or temporary file of a refused build.
        for (const auto& voce : fs::directory_iterator(cartella.path())) {
            const std::string nome = voce.path().filename().string();
            if (nome == "dati2.dat") continue;
            EXPECT_EQ(nome.rfind('c', 0), 0u) << nome;
            EXPECT_EQ(voce.path().extension(), ".pdf") << nome;
        }
    }
    EXPECT_GT(controllati, 0) << "no damaged file gave a document";
}

}  // namespace
