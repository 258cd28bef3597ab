#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "common/blocco_istanza.h"
#include "common/cartelle.h"
#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::TempDir;
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
    {
        Ambiente xdg("XDG_DATA_HOME", "");
        Ambiente home("HOME", utente.path().string());
        EXPECT_EQ(cartella_dati(), utente.path() / ".local" / "share" / "contratto");
        EXPECT_TRUE(fs::is_directory(utente.path() / ".local" / "share" / "contratto"));
    }
    EXPECT_EQ(cartella_programma(), programma);
}

TEST_F(Cartelle, ReadOnlyProgramFolderFallsBackToThePerUserFolder) {
    if (::geteuid() != 0) {
        TempDir programma;
        fs::permissions(programma.path(), fs::perms::owner_read | fs::perms::owner_exec);
        controlla_ripiego(programma.path());
        fs::permissions(programma.path(), fs::perms::owner_all);
        return;
    }
    // root may write everywhere: the check runs in a child that has given up
    // its rights, and reports through its exit status.
    const pid_t figlio = ::fork();
    ASSERT_GE(figlio, 0);
    if (figlio == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        int esito = 1;
        {
            TempDir programma;
            fs::permissions(programma.path(), fs::perms::owner_read | fs::perms::owner_exec);
            controlla_ripiego(programma.path());
            if (!::testing::Test::HasFailure()) esito = 0;
            fs::permissions(programma.path(), fs::perms::owner_all);
        }
        ::_exit(esito);
    }
    int stato = 0;
    ASSERT_EQ(::waitpid(figlio, &stato, 0), figlio);
    ASSERT_TRUE(WIFEXITED(stato));
    if (WEXITSTATUS(stato) == 2) GTEST_SKIP() << "cannot drop root rights here";
    EXPECT_EQ(WEXITSTATUS(stato), 0) << "the per-user folder was not chosen";
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
    TempDir d;
    BloccoIstanza b(d / "manca" / "dati2.lock");
    EXPECT_FALSE(b.acquisito());
}

}  // namespace
