#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/cartelle.h"
#include "common/dati.h"
#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::data_record;
using testsupport::read_file;
using testsupport::TempDir;
using testsupport::write_data_file;
using testsupport::write_file;

namespace {

class Dati : public ::testing::Test {
protected:
    void SetUp() override { imposta_cartelle(cartella.path(), cartella.path()); }
    void TearDown() override {
        simula_guasto_prima_della_rinomina(false);
        imposta_cartelle({}, {});
    }
    fs::path file() const { return cartella / "dati2.dat"; }
    // Names in the folder other than the data file (temporary leftovers).
    std::vector<std::string> altri_file() const {
        std::vector<std::string> nomi;
        for (const auto& e : fs::directory_iterator(cartella.path()))
            if (e.path().filename() != "dati2.dat") nomi.push_back(e.path().filename().string());
        return nomi;
    }
    TempDir cartella;
};

TEST_F(Dati, WrittenRecordsAreByteExact) {
    ASSERT_EQ(file_dati(), file());
    scrivi_dato("NOME_RICHIEDENTE", "Rossi");
    scrivi_dato("citt\xE0", "Forl\xEC \x80 5");
    EXPECT_EQ(read_file(file()), data_record("NOME_RICHIEDENTE", "Rossi") + data_record("citt\xE0", "Forl\xEC \x80 5"));
    EXPECT_EQ(fs::file_size(file()), 2 * LUNGHEZZA_RECORD);
}

TEST_F(Dati, MissingFileReadsEmpty) {
    EXPECT_FALSE(leggi_dato("X").has_value());
    EXPECT_TRUE(leggi_archivio().empty());
    EXPECT_TRUE(leggi_record().empty());
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(Dati, KeysMatchTrimmedAndUpperCasedFirstRecordWins) {
    write_data_file(file(), {{"  nome  ", "primo  "}, {"NOME", "secondo"}, {"Nome", "terzo"}, {"altro", "x"}});
    EXPECT_EQ(leggi_dato("NOME"), "primo");
    EXPECT_EQ(leggi_dato(" nome "), "primo");
    EXPECT_EQ(leggi_dato("ALTRO"), "x");
    EXPECT_FALSE(leggi_dato("NOM").has_value());
    const auto archivio = leggi_archivio();
    EXPECT_EQ(archivio.size(), 2u);
    EXPECT_EQ(archivio.at("NOME"), "terzo");  // the last record wins here
    EXPECT_EQ(archivio.at("ALTRO"), "x");
}

TEST_F(Dati, AccentedKeysMatchByteWise) {
    write_data_file(file(), {{"citt\xE0", "a"}});
    EXPECT_EQ(leggi_dato("CITT\xC0"), "a");
}

TEST_F(Dati, EveryMatchIsRewrittenKeyAsSpelledOthersUntouched) {
    write_data_file(file(), {{"  nome", "a"}, {"altro", "b"}, {"NOME  ", "c"}});
    scrivi_dato("Nome", "nuovo");
    EXPECT_EQ(read_file(file()),
              data_record("Nome", "nuovo") + data_record("altro", "b") + data_record("Nome", "nuovo"));
    scrivi_dato("terzo", "t");
    EXPECT_EQ(read_file(file()).substr(3 * LUNGHEZZA_RECORD), data_record("terzo", "t"));
}

TEST_F(Dati, PartialTailIsIgnoredAndDroppedOnRewrite) {
    const std::string intero = data_record("A", "1") + data_record("B", "2");
    write_file(file(), intero + std::string(300, 'Z'));
    EXPECT_EQ(leggi_record().size(), 2u);
    EXPECT_EQ(leggi_dato("B"), "2");
    EXPECT_EQ(leggi_archivio().size(), 2u);
    scrivi_dato("C", "3");
    EXPECT_EQ(read_file(file()), intero + data_record("C", "3"));
}

TEST_F(Dati, ValuesOf255BytesAndLongerAreCut) {
    const std::string v255(255, 'v');
    const std::string v300 = std::string(255, 'w') + std::string(45, 'x');
    scrivi_dati({{"PIENO", v255}, {"LUNGO", v300}, {std::string(300, 'K'), "k"}});
    EXPECT_EQ(fs::file_size(file()), 3 * LUNGHEZZA_RECORD);
    EXPECT_EQ(leggi_dato("PIENO"), v255);
    EXPECT_EQ(leggi_dato("LUNGO"), std::string(255, 'w'));
    // A key is cut the same way when written and when looked up.
    EXPECT_EQ(leggi_dato(std::string(300, 'K')), "k");
    write_data_file(file(), {{"PIENO", v255}});
    EXPECT_EQ(leggi_dato("pieno"), v255);
}

TEST_F(Dati, BlanksAroundValuesAreTrimmedOnRead) {
    write_data_file(file(), {{"K", "  valore con  spazi  "}});
    EXPECT_EQ(leggi_dato("K"), "valore con  spazi");
    scrivi_dato("VUOTO", "");
    EXPECT_EQ(leggi_dato("VUOTO"), "");
}

TEST_F(Dati, BatchEqualsThePairsWrittenOneAfterTheOther) {
    const std::vector<std::pair<std::string, std::string>> iniziali = {
        {"a", "1"}, {"B", "2"}, {" a ", "3"}, {"c", "4"}};
    const std::vector<std::pair<std::string, std::string>> coppie = {
        {"A", "x"}, {"d", "y"}, {"D", "z"}, {"c", "w"}, {"e", ""}, {"A", "ultimo"}};

    write_data_file(file(), iniziali);
    for (const auto& [k, v] : coppie) scrivi_dato(k, v);
    const std::string uno_alla_volta = read_file(file());

    write_data_file(file(), iniziali);
    scrivi_dati(coppie);
    EXPECT_EQ(read_file(file()), uno_alla_volta);
    EXPECT_EQ(leggi_dato("d"), "z");
    EXPECT_EQ(leggi_dato("a"), "ultimo");
    EXPECT_EQ(fs::file_size(file()), 6 * LUNGHEZZA_RECORD);
}

TEST_F(Dati, InterruptedWriteLeavesTheOldFileOrNone) {
    simula_guasto_prima_della_rinomina(true);
    EXPECT_THROW(scrivi_dato("NOME", "x"), ErroreDati);
    EXPECT_FALSE(fs::exists(file()));
    EXPECT_TRUE(altri_file().empty());

    simula_guasto_prima_della_rinomina(false);
    write_data_file(file(), {{"NOME", "vecchio"}, {"ALTRO", "a"}});
    const std::string prima = read_file(file());
    simula_guasto_prima_della_rinomina(true);
    EXPECT_THROW(scrivi_dati({{"NOME", "nuovo"}, {"TERZO", "t"}}), ErroreDati);
    EXPECT_THROW(scrivi_dato("NOME", "nuovo"), ErroreDati);
    EXPECT_EQ(read_file(file()), prima);
    EXPECT_TRUE(altri_file().empty());  // no temporary file left behind
    simula_guasto_prima_della_rinomina(false);
    scrivi_dato("NOME", "nuovo");
    EXPECT_EQ(leggi_dato("NOME"), "nuovo");
    EXPECT_TRUE(altri_file().empty());
}

TEST_F(Dati, SavesKilledAtRandomLeaveNothingOnceTheLeftoversAreRemoved) {
    // Which names are a killed save's work files, and which are not ours.
    const std::pair<const char*, bool> nomi[] = {
        {".dati2.dat.Ab3dE9", true}, {".dati2.dat.000000", true}, {".dati2.dat.ABCDE", false},
        {".dati2.dat.ABCDEFG", false}, {".dati2.dat.AB-DEF", false}, {"dati2.dat.ABCDEF", false},
        {".dati2.dat.copia", false}, {".altro.dat.ABCDEF", false}, {".dati2.datXABCDEF", false},
        {".dati2.dat.-BCDEF", false},
    };
    for (const auto& [nome, avanzo] : nomi) EXPECT_EQ(avanzo_di_scrittura(nome, "dati2.dat"), avanzo) << nome;

    write_data_file(file(), {{"NOME", "vecchio"}});
    std::srand(7);
    for (int i = 0; i < 100; ++i) {
        const pid_t figlio = ::fork();
        ASSERT_GE(figlio, 0);
        if (figlio == 0) {
            for (int k = 0;; ++k) scrivi_dati({{"NOME", "nuovo " + std::to_string(k)}, {"ALTRO", "x"}});
        }
        ::usleep(static_cast<useconds_t>(std::rand() % 4000));
        ::kill(figlio, SIGKILL);
        ::waitpid(figlio, nullptr, 0);
        ASSERT_EQ(read_file(file()).size() % LUNGHEZZA_RECORD, 0u) << "the data file is always whole";
    }
    write_file(cartella / ".dati2.dat.estraneo", "not ours");
    fs::create_symlink(file(), cartella / ".dati2.dat.LINK00");
    std::vector<std::string> attesi = {".dati2.dat.LINK00", ".dati2.dat.estraneo"};
    // Another user's file of our pattern is theirs (root can make one).
    write_file(cartella / ".dati2.dat.ALTRUI", "");
    if (::chown((cartella / ".dati2.dat.ALTRUI").c_str(), 65534, 65534) == 0)
        attesi.insert(attesi.begin(), ".dati2.dat.ALTRUI");
    rimuovi_avanzi(file());
    auto rimasti = altri_file();
    std::sort(rimasti.begin(), rimasti.end());
    EXPECT_EQ(rimasti, attesi);
    EXPECT_TRUE(leggi_dato("NOME").has_value());
}

TEST_F(Dati, FailuresAreReportedInItalian) {
    if (::geteuid() == 0) {
        // root ignores permissions: use a data "file" that is a folder.
        fs::create_directory(file());
    } else {
        write_data_file(file(), {{"K", "v"}});
        fs::permissions(file(), fs::perms::none);
    }
    try {
        leggi_dato("K");
        FAIL() << "no error";
    } catch (const ErroreDati& e) {
        const std::string messaggio = e.what();
        EXPECT_NE(messaggio.find("file dei dati"), std::string::npos) << messaggio;
        EXPECT_NE(messaggio.find("dati2.dat"), std::string::npos) << messaggio;
    }
    EXPECT_THROW(scrivi_dato("K", "w"), ErroreDati);
    EXPECT_THROW(leggi_archivio(), ErroreDati);
}

TEST_F(Dati, WriteIntoMissingFolderFails) {
    const fs::path altrove = cartella / "manca" / "dati2.dat";
    EXPECT_THROW(scrivi_dati(altrove, {{"K", "v"}}), ErroreDati);
    EXPECT_FALSE(fs::exists(altrove));
}

TEST_F(Dati, RewriteKeepsThePermissionsOfTheFile) {
    write_data_file(file(), {{"K", "v"}});
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    scrivi_dato("K", "w");
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(Dati, ExplicitFileOverloadsLeaveTheDefaultFileAlone) {
    const fs::path altro = cartella / "copia.dat";
    scrivi_dati(altro, {{"K", "v"}});
    EXPECT_EQ(leggi_dato(altro, "k"), "v");
    EXPECT_EQ(leggi_archivio(altro).at("K"), "v");
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(Dati, BytesZeroAndHighBytesArePlainText) {
    const std::string valore("a\0b\x80\xFF", 5);
    scrivi_dato("K", valore);
    EXPECT_EQ(leggi_dato("K"), valore);
}

}  // namespace
