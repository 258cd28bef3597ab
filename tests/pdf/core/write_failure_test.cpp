// Failures of the output file reach the user in Italian, with the cause and
// what can be done, under the public member that was called.
#include <filesystem>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "support/tools.h"

namespace {

TEST(WriteFailure, FullDiskAndMissingFolderAreToldInItalian) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const std::string disco_pieno =
        "Errore di scrittura del file: spazio su disco esaurito: liberare spazio o scegliere un altro disco";
    PdfWriter pieno;
    pieno.BeginDoc("/dev/full");
    ASSERT_EQ(pieno.ErrNumber(), 0) << pieno.ErrDescription();
    pieno.BeginPage();
    pieno.SetFont("Times", 12);
    pieno.DrawText(72, 100, "testo");
    try {
        pieno.EndDoc();
        ADD_FAILURE() << "a full disk was not reported";
    } catch (const PdfError& errore) {
        EXPECT_EQ(errore.number(), 57);
        EXPECT_EQ(errore.source(), "PdfWriter.EndDoc");
        EXPECT_EQ(errore.description(), disco_pieno);
    }

    // A page large enough to reach the disk while the next page begins: the
    // failure is named after BeginPage, the member the program called.
    PdfWriter pagine;
    pagine.BeginDoc("/dev/full");
    pagine.BeginPage();
    pagine.SetFont("Times", 12);
    for (int riga = 0; riga < 4000; ++riga) pagine.DrawText(72, 100, "una riga di testo abbastanza lunga");
    try {
        pagine.BeginPage();
        ADD_FAILURE() << "a full disk was not reported";
    } catch (const PdfError& errore) {
        EXPECT_EQ(errore.number(), 57);
        EXPECT_EQ(errore.source(), "PdfWriter.BeginPage");
        EXPECT_EQ(errore.description(), disco_pieno);
    }
    pagine.Abort();

    // A name that cannot be opened: the cause, then the name.
    testsupport::TempDir cartella, con_un_file;
    testsupport::write_file(con_un_file / "lettera.txt", "non una cartella");
    const std::pair<std::string, std::string> aperture[] = {
        {(cartella / "manca" / "a.pdf").string(), "Cartella inesistente: file o cartella inesistente"},
        {(con_un_file / "lettera.txt" / "a.pdf").string(), "Cartella inesistente: il percorso non \xE8 una cartella"},
        {cartella.path().string(), "Impossibile creare il file: \xE8 una cartella"},
        {(cartella / "nuova").string() + "/", "Impossibile creare il file: \xE8 una cartella"},
    };
    for (const auto& [nome, causa] : aperture) {
        PdfWriter senza_file;
        senza_file.BeginDoc(nome);
        EXPECT_EQ(senza_file.ErrNumber(), 52) << nome;
        EXPECT_EQ(senza_file.ErrSource(), "PdfWriter.BeginDoc") << nome;
        EXPECT_EQ(senza_file.ErrDescription(), causa + " - " + nome);
    }
    EXPECT_TRUE(std::filesystem::is_empty(cartella.path()));
}

}  // namespace
