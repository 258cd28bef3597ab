// The README's make commands in a copy of the project's scripts, with cmake,
// ctest and the package check replaced by programs that note their calls:
// what "make run" and "make test" build, and what "make clean" leaves.
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::write_file;

namespace {

class Make : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(progetto / "scripts");
        fs::create_directories(progetto / "build");
        fs::create_directories(strumenti);
        fs::copy_file(fs::path(CONTRATTO_SOURCE_DIR) / "Makefile", progetto / "Makefile");
        fs::copy_file(fs::path(CONTRATTO_SOURCE_DIR) / "scripts" / "setup.sh", progetto / "scripts" / "setup.sh");
        const std::string nota = " >> " + testsupport::shell_quote((dir / "chiamate").string()) + "\n";
        for (const auto& [file, testo] : {std::pair{strumenti / "cmake", "echo \"cmake $*\"" + nota},
                                          {strumenti / "ctest", "echo ctest" + nota},
                                          {strumenti / "dpkg-query", std::string("printf 'install ok installed'\n")},
                                          {progetto / "build" / "contratto", "echo contratto" + nota}}) {
            write_file(file, "#!/bin/sh\n" + testo);
            fs::permissions(file, fs::perms::owner_all);
        }
    }
    // The calls `make obiettivo` made, one a line.
    std::string make(const std::string& obiettivo) {
        fs::remove(dir / "chiamate");
        // CI itself runs under "SANITIZE=1 make test": what that make hands down
        // must not choose the folder of the make under test.
        const auto esito = testsupport::run_command("env -u SANITIZE -u BUILD -u MAKEFLAGS -u MFLAGS -u MAKELEVEL PATH=" +
                                                    strumenti.string() + ":\"$PATH\" make -s -C " +
                                                    testsupport::shell_quote(progetto.string()) + " " + obiettivo);
        EXPECT_EQ(esito.exit_code, 0) << esito.out << esito.err;
        return fs::exists(dir / "chiamate") ? read_file(dir / "chiamate") : "";
    }

    testsupport::TempDir dir;
    const fs::path progetto = dir / "progetto", strumenti = dir / "bin";
};

TEST_F(Make, RunBuildsOnlyTheProgramAndTestBuildsEverything) {
    std::string n = testsupport::run_command("nproc").out;
    n.resize(n.find('\n'));
    const std::string configura = "cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo\n";
    EXPECT_EQ(make("run"), configura + "cmake --build build -j " + n + " --target contratto\ncontratto\n");
    EXPECT_EQ(make("test"), configura + "cmake --build build -j " + n + "\nctest\n");
}

TEST_F(Make, CleanKeepsTheUsersFilesInTheProgramsFolder) {
    const std::set<std::string> utente = {"dati2.dat", "bozza.pdf", "cartellone.pdf", "Files Contratto Tavore/contratto.pdf"};
    std::set<std::string> tutti = {"contratto", "CMakeCache.txt", "CMakeFiles/a.o", "tests/test_a", ".dati2.dat.Ab3dE9"};
    tutti.insert(utente.begin(), utente.end());
    for (const char* cartella : {"build", "build-asan"}) {
        for (const auto& nome : tutti) {
            fs::create_directories((progetto / cartella / nome).parent_path());
            write_file(progetto / cartella / nome, "dati di " + nome);
        }
    }
    fs::create_directories(progetto / "build-fuzz" / "fuzz");
    make("clean");
    for (const char* cartella : {"build", "build-asan"}) {
        std::set<std::string> rimasti;
        for (const auto& voce : fs::recursive_directory_iterator(progetto / cartella))
            if (voce.is_regular_file()) rimasti.insert(fs::relative(voce.path(), progetto / cartella).string());
        EXPECT_EQ(rimasti, utente) << cartella;
        for (const auto& nome : utente) EXPECT_EQ(read_file(progetto / cartella / nome), "dati di " + nome);
    }
    EXPECT_FALSE(fs::exists(progetto / "build-fuzz")) << "a folder of build outputs only goes whole";
}

}  // namespace
