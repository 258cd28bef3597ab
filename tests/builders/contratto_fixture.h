// Shared by the contract tests: a data folder of its own, the messages shown
// to the user, fixture data files, and the document read back with the
// independent PDF readers.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/messaggi.h"
#include "support/tools.h"

namespace prova_contratto {

using Coppie = std::vector<std::pair<std::string, std::string>>;

inline constexpr const char* PASSWORD = "dezarezozidu";
inline constexpr const char* PIEDE_1 = "PROGETTO TAVORE 3, Avviso Pubblico Comune di Rezevi";
inline constexpr const char* PIEDE_2 = "mod. TAVORE 4 - contratto di appalto";

// A data set with every key the contract reads filled in (values UTF-8).
Coppie dati_completi();
// The data set with some values replaced or added (UTF-8).
Coppie con(Coppie base, const Coppie& modifiche);

// Runs of white space become one blank; ends trimmed.
std::string normalizza(const std::string& testo);
// Windows-1252 -> the normalised UTF-8 form pdftotext gives.
std::string atteso(std::string_view testo_cp1252);

struct Estratto {
    std::vector<std::string> pagine;  // pdftotext's text of each page (UTF-8)
    std::string corpo;                // the contract text without footers and page numbers, normalised
};
// The document's text as pdftotext reads it with the owner password.
Estratto estrai(const std::filesystem::path& pdf);
// Pages according to pdfinfo (-1 when it cannot tell).
int pagine_pdfinfo(const std::filesystem::path& pdf);
// qpdf --check passes the file with no error and no warning.
::testing::AssertionResult qpdf_senza_errori(const std::filesystem::path& pdf);

class Contratto : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes dati2.dat (values converted to Windows-1252).
    void scrivi_dati(const Coppie& coppie);
    // Builds the contract into the test folder; expects success.
    std::filesystem::path genera(const std::string& nome = "contratto.pdf");
    // Builds with the given data and returns the normalised contract text.
    std::string corpo_con(const Coppie& coppie);

    testsupport::TempDir cartella;
    std::vector<std::pair<TipoMessaggio, std::string>> messaggi;
};

}  // namespace prova_contratto
