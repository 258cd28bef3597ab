#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/blocco_istanza.h"
#include "common/cartelle.h"
#include "common/dati.h"
#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::TempDir;
using testsupport::without_privileges;
using testsupport::write_file;

namespace {

// Sets an environment variable for the life of the object.
class Ambiente {
public:
    Ambiente(const char* nome, const std::string& valore) : nome_(nome) {
        if (const char* v = std::getenv(nome)) vecchio_ = v;
        ::setenv(nome, valore.c_str(), 1);
    }
    ~Ambiente() {
        if (vecchio_)
            ::setenv(nome_, vecchio_->c_str(), 1);
        else
            ::unsetenv(nome_);
    }

private:
    const char* nome_;
    std::optional<std::string> vecchio_;
};

class Cartelle : public ::testing::Test {
protected:
    void TearDown() override { imposta_cartelle({}, {}); }
};

TEST_F(Cartelle, WritableProgramFolderHoldsTheData) {
    TempDir programma;
    imposta_cartelle(programma.path(), {});
    EXPECT_EQ(cartella_dati(), programma.path());
    EXPECT_EQ(file_dati(), programma / "dati2.dat");
}

// The per-user folder is chosen, and created, when the program folder cannot
// take new files.
void controlla_ripiego(const fs::path& programma) {
    TempDir utente;
    imposta_cartelle(programma, {});
    {
        Ambiente xdg("XDG_DATA_HOME", utente.path().string());
        EXPECT_EQ(cartella_dati(), utente / "contratto");
        EXPECT_TRUE(fs::is_directory(utente / "contratto"));
        EXPECT_EQ(file_dati(), utente / "contratto" / "dati2.dat");
    }
    // An empty or relative XDG_DATA_HOME is no place at all.
    for (const char* nessuna : {"", "relativa/dati"}) {
        Ambiente xdg("XDG_DATA_HOME", nessuna);
        Ambiente home("HOME", utente.path().string());
        EXPECT_EQ(cartella_dati(), utente.path() / ".local" / "share" / "contratto") << nessuna;
        EXPECT_TRUE(fs::is_directory(utente.path() / ".local" / "share" / "contratto"));
    }
    EXPECT_EQ(cartella_programma(), programma);
}

TEST_F(Cartelle, ReadOnlyProgramFolderFallsBackToThePerUserFolder) {
    const bool eseguito = without_privileges([] {
        TempDir programma;
        fs::permissions(programma.path(), fs::perms::owner_read | fs::perms::owner_exec);
        controlla_ripiego(programma.path());
        fs::permissions(programma.path(), fs::perms::owner_all);
    });
    if (!eseguito) GTEST_SKIP() << "cannot drop root rights here";
}

TEST_F(Cartelle, PersonalDataAreTheOwnersAloneAndForeignFoldersAreRefused) {
    const bool eseguito = without_privileges([] {
        const mode_t maschera = ::umask(0);  // whatever the umask
        TempDir programma, utente;
        fs::permissions(programma.path(), fs::perms::owner_read | fs::perms::owner_exec);
        imposta_cartelle(programma.path(), {});
        Ambiente xdg("XDG_DATA_HOME", utente.path().string());
        scrivi_dato("CODICE_FISCALE", "RSSMRA80A01F839Q");
        struct stat st {};
        ASSERT_EQ(::stat((utente / "contratto").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        ASSERT_EQ(::stat(file_dati().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        // A folder of ours that others could read, enter or write into is
        // closed to them, whichever of their rights it gave.
        for (const mode_t modo : {0777u, 0755u, 0740u, 0720u, 0710u, 0704u, 0702u, 0701u}) {
            ::chmod((utente / "contratto").c_str(), modo);
            EXPECT_EQ(cartella_dati(), utente / "contratto");
            ASSERT_EQ(::stat((utente / "contratto").c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, 0700u) << std::oct << modo;
        }
        // A link in its place, or a folder that cannot be made, is refused
        // by name.
        fs::remove_all(utente / "contratto");
        TempDir altrove;
        fs::create_directory_symlink(altrove.path(), utente / "contratto");
        const auto rifiutata = [](const fs::path& cartella, const std::string& causa = {}) {
            try {
                cartella_dati();
                ADD_FAILURE() << "accepted " << cartella;
            } catch (const ErroreDati& e) {
                EXPECT_NE(std::string(e.what()).find(cartella.string()), std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find(causa), std::string::npos) << e.what();
            }
        };
        rifiutata(utente / "contratto");
        fs::permissions(programma.path(), fs::perms::owner_all);
        fs::remove(utente / "contratto");
        fs::permissions(utente.path(), fs::perms::owner_read | fs::perms::owner_exec);
        fs::permissions(programma.path(), fs::perms::owner_read | fs::perms::owner_exec);
        rifiutata(utente / "contratto");
        // A home folder that cannot be written: the cause named is the
        // refusal, not the parent folders that are missing because of it.
        {
            Ambiente xdg_vuota("XDG_DATA_HOME", "");
            Ambiente home("HOME", utente.path().string());
            rifiutata(utente.path() / ".local" / "share" / "contratto",
                      "nella cartella \"" + utente.path().string() + "\" non si pu\xC3\xB2 scrivere");
        }
        fs::permissions(utente.path(), fs::perms::owner_all);
        fs::permissions(programma.path(), fs::perms::owner_all);
        ::umask(maschera);
    });
    if (!eseguito) GTEST_SKIP() << "cannot drop root rights here";
    if (::geteuid() != 0) return;
    // The shared temporary folder's fallback made first by another user
    // (root here) is never used by an ordinary user.
    TempDir tmp;
    fs::create_directory(tmp / "contratto");
    fs::permissions(tmp / "contratto", fs::perms::owner_all);
    fs::permissions(tmp.path(), fs::perms::all | fs::perms::sticky_bit);
    const fs::path cartella = tmp / "contratto";
    without_privileges([&] {
        TempDir programma;
        fs::permissions(programma.path(), fs::perms::owner_read | fs::perms::owner_exec);
        imposta_cartelle(programma.path(), {});
        Ambiente xdg("XDG_DATA_HOME", "");
        Ambiente home("HOME", "");
        Ambiente temporanea("TMPDIR", tmp.path().string());
        try {
            cartella_dati();
            ADD_FAILURE() << "a folder owned by another user was used";
        } catch (const ErroreDati& e) {
            EXPECT_NE(std::string(e.what()).find(cartella.string()), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("un altro utente"), std::string::npos) << e.what();
        }
        fs::permissions(programma.path(), fs::perms::owner_all);
    });
}

TEST_F(Cartelle, AReadOnlyProgramFoldersDataFileIsCopiedOnceAndThenLeftAlone) {
    const bool eseguito = without_privileges([] {
        TempDir programma, utente;
        write_file(programma / "dati2.dat", std::string(510, 'x'));
        fs::permissions(programma.path(), fs::perms::owner_read | fs::perms::owner_exec);
        imposta_cartelle(programma.path(), {});
        Ambiente xdg("XDG_DATA_HOME", utente.path().string());
        const auto detto = prepara_cartella_dati();
        ASSERT_TRUE(detto.has_value());
        EXPECT_NE(detto->find((utente / "contratto").string()), std::string::npos) << *detto;
        EXPECT_EQ(testsupport::read_file(utente / "contratto" / "dati2.dat"), std::string(510, 'x'));
        struct stat st {};
        ASSERT_EQ(::stat((utente / "contratto" / "dati2.dat").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << "the copy is the owner's alone";
        EXPECT_EQ(prepara_cartella_dati(), std::nullopt) << "copied once";
        // The per-user copy stays the data file, even with the program folder
        // writable again and changed: never back to the stale copy.
        fs::permissions(programma.path(), fs::perms::owner_all);
        write_file(programma / "dati2.dat", std::string(510, 'y'));
        EXPECT_EQ(file_dati(), utente / "contratto" / "dati2.dat");
        EXPECT_EQ(prepara_cartella_dati(), std::nullopt);
        EXPECT_EQ(testsupport::read_file(file_dati()), std::string(510, 'x'));
    });
    if (!eseguito) GTEST_SKIP() << "cannot drop root rights here";
}

TEST_F(Cartelle, UnusableProgramFolderFallsBackToThePerUserFolder) {
    TempDir programma;
    controlla_ripiego(programma / "non_esiste");
}

TEST_F(Cartelle, ProgramFolderIsTheExecutablesFolderUnlessFixed) {
    const fs::path eseguibile = fs::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(cartella_programma(), eseguibile);
    TempDir a, b;
    imposta_cartelle(a.path(), b.path());
    EXPECT_EQ(cartella_programma(), a.path());
    EXPECT_EQ(cartella_dati(), b.path());
    imposta_cartelle({}, {});
    EXPECT_EQ(cartella_programma(), eseguibile);
}

TEST_F(Cartelle, FilesAreFoundByExactNameThenIgnoringCase) {
    TempDir d;
    write_file(d / "LOGO_TAVORE.GIF", "x");
    write_file(d / "loghi.gif", "y");
    write_file(d / "Loghi.GIF", "z");
    EXPECT_EQ(trova_file(d.path(), "loghi.gif"), d / "loghi.gif");
    EXPECT_EQ(trova_file(d.path(), "LOGO_TAVORE.gif"), d / "LOGO_TAVORE.GIF");
    EXPECT_EQ(trova_file(d.path(), "manca.gif"), d / "manca.gif");
    EXPECT_EQ(trova_file(d.path() / "non_esiste", "a.gif"), d.path() / "non_esiste" / "a.gif");
    // Every letter folds, both ways.
    for (const auto& [scritto, cercato] : {std::pair{"logo_tavore.gif", "LOGO_TAVORE.gif"},
                                           std::pair{"BOZZA.PDF", "bozza.pdf"}}) {
        TempDir sola;
        write_file(sola / scritto, "x");
        EXPECT_EQ(trova_file(sola.path(), cercato), sola / scritto) << cercato;
    }
}

TEST(BloccoIstanza, OnlyOneHolderAtATime) {
    TempDir d;
    const fs::path blocco = d / "dati2.lock";
    {
        BloccoIstanza primo(blocco);
        EXPECT_TRUE(primo.acquisito());
        BloccoIstanza secondo(blocco);
        EXPECT_FALSE(secondo.acquisito());
    }
    BloccoIstanza dopo(blocco);
    EXPECT_TRUE(dopo.acquisito());
}

TEST(BloccoIstanza, AnotherProcessIsRefused) {
    TempDir d;
    const fs::path blocco = d / "dati2.lock";
    BloccoIstanza nostro(blocco);
    ASSERT_TRUE(nostro.acquisito());
    const pid_t figlio = ::fork();
    ASSERT_GE(figlio, 0);
    if (figlio == 0) {
        BloccoIstanza suo(blocco);
        ::_exit(suo.acquisito() ? 1 : 0);
    }
    int stato = 0;
    ASSERT_EQ(::waitpid(figlio, &stato, 0), figlio);
    EXPECT_TRUE(WIFEXITED(stato));
    EXPECT_EQ(WEXITSTATUS(stato), 0);
}

TEST(BloccoIstanza, DefaultLockLivesBesideTheDataFile) {
    TempDir d;
    imposta_cartelle(d.path(), d.path());
    {
        BloccoIstanza b;
        EXPECT_TRUE(b.acquisito());
        EXPECT_TRUE(fs::exists(d / "dati2.lock"));
        EXPECT_FALSE(BloccoIstanza(d / "dati2.lock").acquisito());
    }
    imposta_cartelle({}, {});
}

TEST(BloccoIstanza, UnusableLockFileIsNotAcquired) {
    // Told apart from a lock that another copy holds.
    TempDir d;
    BloccoIstanza b(d / "manca" / "dati2.lock");
    EXPECT_FALSE(b.acquisito());
    EXPECT_EQ(b.errore_apertura(), ENOENT);
    BloccoIstanza primo(d / "dati2.lock");
    BloccoIstanza secondo(d / "dati2.lock");
    EXPECT_TRUE(primo.acquisito());
    EXPECT_FALSE(secondo.acquisito());
    EXPECT_EQ(secondo.errore_apertura(), 0);
    // A link in the lock's place is not followed to a file of its choosing.
    fs::create_directory(d / "altrove");
    fs::create_symlink(d / "altrove" / "bersaglio", d / "collegato.lock");
    BloccoIstanza collegato(d / "collegato.lock");
    EXPECT_FALSE(collegato.acquisito());
    EXPECT_NE(collegato.errore_apertura(), 0);
    EXPECT_FALSE(fs::exists(d / "altrove" / "bersaglio"));
}

}  // namespace
