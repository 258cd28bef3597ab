// The README's commands, run by make in a copy of the project's scripts with
// cmake, ctest and the package check replaced by programs that note what
// they were asked: what "make run" and "make test" build, and what
// "make clean" leaves of the user's files in the program's folder.
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::shell_quote;
using testsupport::write_file;

namespace {

class Make : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path sorgenti = CONTRATTO_SOURCE_DIR;
        fs::create_directories(progetto / "scripts");
        fs::copy_file(sorgenti / "Makefile", progetto / "Makefile");
        fs::copy_file(sorgenti / "scripts" / "setup.sh", progetto / "scripts" / "setup.sh");
        fs::create_directories(strumenti);
        const std::string nota = " >> " + shell_quote((dir / "chiamate").string()) + "\n";
        eseguibile(strumenti / "cmake", "#!/bin/sh\necho \"cmake $*\"" + nota);
        eseguibile(strumenti / "ctest", "#!/bin/sh\necho ctest" + nota);
        eseguibile(strumenti / "dpkg-query", "#!/bin/sh\nprintf 'install ok installed'\n");
        fs::create_directories(progetto / "build");
        eseguibile(progetto / "build" / "contratto", "#!/bin/sh\necho contratto" + nota);
    }
    void eseguibile(const fs::path& file, const std::string& testo) {
        write_file(file, testo);
        fs::permissions(file, fs::perms::owner_all);
    }
    // The calls noted by `make obiettivo`, one per line.
    std::string make(const std::string& obiettivo) {
        fs::remove(dir / "chiamate");
        const auto esito = testsupport::run_command("PATH=" + shell_quote(strumenti.string()) + ":\"$PATH\" make -s -C " +
                                                    shell_quote(progetto.string()) + " " + obiettivo + " 2>&1");
        EXPECT_EQ(esito.exit_code, 0) << esito.out;
        return fs::exists(dir / "chiamate") ? read_file(dir / "chiamate") : std::string();
    }

    testsupport::TempDir dir;
    const fs::path progetto = dir / "progetto", strumenti = dir / "bin";
};

TEST_F(Make, RunBuildsOnlyTheProgramAndTestBuildsEverything) {
    std::string n = testsupport::run_command("nproc").out;
    n.resize(n.find('\n'));
    EXPECT_EQ(make("run"), "cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo\n"
                           "cmake --build build -j " + n + " --target contratto\n"
                           "contratto\n");
    EXPECT_EQ(make("test"), "cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo\n"
                            "cmake --build build -j " + n + "\n"
                            "ctest\n");
}

TEST_F(Make, CleanKeepsTheUsersFilesInTheProgramsFolder) {
    const std::set<std::string> utente = {"dati2.dat", "bozza.pdf", "cartellone.pdf",
                                          "Files Contratto Tavore/contratto.pdf"};
    const std::set<std::string> costruiti = {"contratto", "CMakeCache.txt", "CMakeFiles/x.o", "loghi.gif",
                                             "tests/test_common", ".dati2.dat.Ab3dE9"};
    for (const char* cartella : {"build", "build-asan"}) {
        for (const auto& nome : utente) {
            fs::create_directories((progetto / cartella / nome).parent_path());
            write_file(progetto / cartella / nome, "del\xE0 utente");
        }
        for (const auto& nome : costruiti) {
            fs::create_directories((progetto / cartella / nome).parent_path());
            write_file(progetto / cartella / nome, "costruito");
        }
    }
    fs::create_directories(progetto / "build-fuzz" / "fuzz");
    make("clean");
    for (const char* cartella : {"build", "build-asan"}) {
        std::set<std::string> rimasti;
        for (const auto& voce : fs::recursive_directory_iterator(progetto / cartella))
            if (voce.is_regular_file()) rimasti.insert(fs::relative(voce.path(), progetto / cartella).string());
        EXPECT_EQ(rimasti, utente) << cartella;
        for (const auto& nome : utente) EXPECT_EQ(read_file(progetto / cartella / nome), "del\xE0 utente");
    }
    EXPECT_FALSE(fs::exists(progetto / "build-fuzz")) << "a folder of build outputs only goes whole";
}

}  // namespace
