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
        for (const auto& [file, testo] : {std::pair{strumenti / "cmake", "echo \"cmake $*\"" + nota},
                                          {strumenti / "ctest", "echo ctest" + nota},
                                          {strumenti / "dpkg-query", std::string("printf 'install ok installed'\n")},
                                          {progetto / "build" / "contratto", "echo contratto" + nota}}) {
            write_file(file, "#!/bin/sh\n" + testo);
            fs::permissions(file, fs::perms::owner_all);
        }
    }
    // The calls `make obiettivo` made, one a line.
    std::string make(const std::string& obiettivo, int esito_atteso = 0) {
        fs::remove(dir / "chiamate");
        // CI itself runs under "SANITIZE=1 make test": what that make hands down
        // must not choose the folder of the make under test.
        const auto esito = testsupport::run_command("env -u SANITIZE -u BUILD -u MAKEFLAGS -u MFLAGS -u MAKELEVEL PATH=" +
                                                    strumenti.string() + ":\"$PATH\" make -s -C " +
                                                    testsupport::shell_quote(progetto.string()) + " " + obiettivo);
        EXPECT_EQ(esito.exit_code, esito_atteso) << esito.out << esito.err;
        return fs::exists(dir / "chiamate") ? read_file(dir / "chiamate") : "";
    }

    // The number `make` builds with: the machine's processors.
    static std::string processori() {
        std::string n = testsupport::run_command("nproc").out;
        n.resize(n.find('\n'));
        return n;
    }

    testsupport::TempDir dir;
    const fs::path progetto = dir / "progetto", strumenti = dir / "bin";
    // The end of a script line that notes its call.
    const std::string nota = " >> " + testsupport::shell_quote((dir / "chiamate").string()) + "\n";
};

TEST_F(Make, RunBuildsOnlyTheProgramAndTestBuildsEverything) {
    const std::string n = processori();
    const std::string configura = "cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo\n";
    EXPECT_EQ(make("run"), configura + "cmake --build build -j " + n + " --target contratto\ncontratto\n");
    EXPECT_EQ(make("test"), configura + "cmake --build build -j " + n + "\nctest\n");
}

// Beside the benchmark programs, their folder holds the bench_*_autogen
// folders of their build.
TEST_F(Make, BenchRunsTheBenchmarkProgramsOnly) {
    const fs::path bench = progetto / "build-bench" / "bench";
    for (const char* cartella : {"bench_a_autogen", "bench_b_autogen"}) fs::create_directories(bench / cartella);
    for (const char* nome : {"bench_a", "bench_b"}) {
        write_file(bench / nome, std::string("#!/bin/sh\necho ") + nome + nota);
        fs::permissions(bench / nome, fs::perms::owner_all);
    }
    const std::string costruisci = "cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DCONTRATTO_BENCH=ON "
                                   "-DCONTRATTO_TESTS=OFF\ncmake --build build-bench -j " + processori() + "\n";
    EXPECT_EQ(make("bench"), costruisci + "bench_a\nbench_b\n");
    // A benchmark that fails fails the target, and the rest do not run.
    write_file(bench / "bench_a", "#!/bin/sh\nexit 3\n");
    EXPECT_EQ(make("bench", 2), costruisci);
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
