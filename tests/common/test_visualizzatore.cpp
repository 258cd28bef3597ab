// Which program shows a document: the opener found along PATH.
#include "common/visualizzatore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::TempDir;
using testsupport::write_file;

namespace {

TEST(Visualizzatore, TheOpenerIsTheFirstProgramOfItsNameThatCanRun) {
    TempDir d;
    // Along PATH: a folder without it, a file of that name that cannot run,
    // a folder of that name, then the program.
    for (const char* cartella : {"vuota", "non_eseguibile", "cartella", "eseguibile"})
        fs::create_directory(d / cartella);
    write_file(d / "non_eseguibile" / PROGRAMMA_APERTURA, "#!/bin/sh\n");
    fs::create_directory(d / "cartella" / PROGRAMMA_APERTURA);
    write_file(d / "eseguibile" / PROGRAMMA_APERTURA, "#!/bin/sh\n");
    fs::permissions(d / "eseguibile" / PROGRAMMA_APERTURA, fs::perms::owner_all);
    const std::string prima = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    const std::string senza = (d / "vuota").string() + ":" + (d / "non_eseguibile").string() + ":" +
                              (d / "cartella").string();
    ::setenv("PATH", (senza + ":" + (d / "eseguibile").string()).c_str(), 1);
    EXPECT_EQ(trova_apertura(), d / "eseguibile" / PROGRAMMA_APERTURA);
    ::setenv("PATH", senza.c_str(), 1);
    EXPECT_EQ(trova_apertura(), fs::path());
    // An empty entry is the current folder, as the shell reads it.
    const fs::path cartella_prima = fs::current_path();
    fs::current_path(d / "eseguibile");
    ::setenv("PATH", (senza + ":").c_str(), 1);
    EXPECT_EQ(trova_apertura(), fs::path(".") / PROGRAMMA_APERTURA);
    fs::current_path(cartella_prima);
    ::setenv("PATH", prima.c_str(), 1);
}

}  // namespace
