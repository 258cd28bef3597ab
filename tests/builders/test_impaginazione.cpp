// The paragraph layout on a real writer: how far each paragraph moves the
// current point, and where pages break.
#include <cmath>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builders/impaginazione.h"
#include "pdf/PdfWriter.h"
#include "support/tools.h"

namespace {

class Impaginazione : public ::testing::Test {
protected:
    void SetUp() override {
        pdf.BeginDoc((cartella / "prova.pdf").string());
        ASSERT_EQ(pdf.ErrNumber(), 0);
        pdf.SetScale(3, 1.0f);
        pdf.SetMargins(2, 2, 2, 1.5f, false);
        larghezza = pdf.GetPageWidth(true);
        pdf.BeginPage();
        imp = std::make_unique<Impaginatore>(pdf, larghezza);
        imp->normale();
        riga = 0.1f + pdf.TextHeight();
    }
    void TearDown() override {
        if (!chiuso) pdf.EndDoc();
    }
    // Ends the document; `pdftotext -bbox` of it: (page, xMax, word) per word.
    struct Parola {
        int pagina;
        double x_max;
        std::string testo;
    };
    std::vector<Parola> chiudi_e_leggi() {
        pdf.EndDoc();
        chiuso = true;
        const auto letto = testsupport::run_command("pdftotext -bbox " + (cartella / "prova.pdf").string() + " -");
        EXPECT_EQ(letto.exit_code, 0) << letto.err;
        std::vector<Parola> parole;
        int pagina = 0;
        const std::regex voce("<page |<word xMin=\"[^\"]*\" yMin=\"[^\"]*\" xMax=\"([^\"]*)\"[^>]*>([^<]*)</word>");
        for (auto it = std::sregex_iterator(letto.out.begin(), letto.out.end(), voce); it != std::sregex_iterator();
             ++it) {
            if ((*it)[0].str() == "<page ") {
                ++pagina;
                continue;
            }
            parole.push_back({pagina, std::stod((*it)[1].str()), (*it)[2].str()});
        }
        return parole;
    }
    bool chiuso = false;

    testsupport::TempDir cartella;
    PdfWriter pdf;
    std::unique_ptr<Impaginatore> imp;
    float larghezza = 0;
    float riga = 0;  // one drawn line: 0.1 cm plus the line height
};

TEST_F(Impaginazione, MisureDiBase) {
    EXPECT_NEAR(larghezza, 17.0256f, 0.001f);
    EXPECT_NEAR(pdf.GetPageHeight(true), 26.2039f, 0.001f);
}

TEST_F(Impaginazione, ParagrafiBreviAvanzanoDiRigheIntere) {
    struct Caso {
        bool spazio;
        std::string testo;
        int righe;
        const char* perche;
    };
    const Caso casi[] = {
        {false, "", 1, "an empty paragraph leaves one empty line"},
        {true, "", 2, "with the spacer: two"},
        {true, "Una riga sola.", 2, "spacer and one line"},
        {false, "uno\r\ndue\r\n\r\ntre", 4, "a line break in the text closes the line"},
    };
    for (const Caso& c : casi) {
        const float y = pdf.GetY();
        if (c.spazio)
            imp->paragrafo_con_spazio(c.testo);
        else
            imp->paragrafo_senza_spazio(c.testo);
        EXPECT_NEAR(pdf.GetY() - y, static_cast<float>(c.righe) * riga, 1e-3f) << c.perche;
    }
}

TEST_F(Impaginazione, ParoleRiempionoLaRigaEAndanoACapo) {
    // Words of known width: as many as fit go on a line.
    const std::string parola = "parola";
    const float spazio = pdf.TextLength("parola parola") - 2 * pdf.TextLength(parola);
    const int per_riga = static_cast<int>((larghezza + spazio) / (pdf.TextLength(parola) + spazio));
    std::string testo;
    for (int i = 0; i < 3 * per_riga; ++i) testo += (i ? " " : "") + parola;
    const float y = pdf.GetY();
    imp->paragrafo_senza_spazio(testo);
    EXPECT_NEAR(pdf.GetY() - y, 3 * riga, 1e-3f);
    // One word more opens a fourth line.
    const float y2 = pdf.GetY();
    imp->paragrafo_senza_spazio(testo + " " + parola);
    EXPECT_NEAR(pdf.GetY() - y2, 4 * riga, 1e-3f);
}

TEST_F(Impaginazione, ParolaPiuLargaDellaRigaSuRigheProprie) {
    const std::string lunga(100, 'W');
    const float parti = pdf.TextLength(lunga) / larghezza;
    ASSERT_GT(parti, 2.0f);
    const int righe_parola = static_cast<int>(parti) + 1;
    const float y = pdf.GetY();
    imp->paragrafo_senza_spazio("prima " + lunga + " dopo");
    // "prima", the long word cut to the width, "dopo".
    EXPECT_NEAR(pdf.GetY() - y, static_cast<float>(2 + righe_parola) * riga, 1e-3f);
}

TEST_F(Impaginazione, SaltoPaginaOltreIlLimite) {
    const float limite = pdf.GetPageHeight(true) - 1.0f;
    int righe = 0;
    while (pdf.GetPage() == 1) {
        ASSERT_LT(++righe, 200);
        const float prima = pdf.GetY();
        imp->paragrafo_senza_spazio("riga");
        if (pdf.GetPage() == 1) {
            EXPECT_LE(pdf.GetY(), limite + 1e-4f);
        } else {
            // The line that crossed the limit stayed on page 1 and ended it.
            EXPECT_GT(prima + riga, limite);
        }
    }
    EXPECT_EQ(pdf.GetPage(), 2);
    EXPECT_FLOAT_EQ(pdf.GetY(), 0.0f);
    imp->paragrafo_senza_spazio("seguito");
    EXPECT_NEAR(pdf.GetY(), riga, 1e-3f);
}

TEST_F(Impaginazione, BloccoSuPiuRigheNonScavalcaIlPiede) {
    // Move close to the bottom, then a centred box of three lines.
    pdf.SetXY(0, pdf.GetPageHeight(true) - 1.2f);
    std::string lungo;
    while (pdf.TextLength(lungo) < 2.5f * larghezza) lungo += "titolo lungo ";
    imp->grassetto();
    imp->blocco_e_controllo(ALLINEA_CENTRO, 0.5f, lungo);
    EXPECT_EQ(pdf.GetPage(), 2) << "the box starts on a new page";
    EXPECT_LT(pdf.GetY(), 5.0f);
}

// A two-line title that would end in the strip kept free above the footer
// starts on the next page whole; a word wider than the page in a centred
// box is cut over lines inside the margins.
TEST_F(Impaginazione, TitoloMaiDivisoEParolaTroppoLungaTagliata) {
    REQUIRE_TOOL("pdftotext");
    imp->grassetto();
    std::string titolo;
    for (int i = 1; pdf.TextLength(titolo) < 1.5f * larghezza; ++i) titolo += "Titolo" + std::to_string(i) + " ";
    const float fondo = pdf.GetPageHeight(true);
    pdf.SetXY(0, fondo - 0.5f - 2 * pdf.TextHeight() - 0.2f);
    imp->blocco_e_controllo(ALLINEA_CENTRO, 0.5f, titolo);
    imp->blocco(ALLINEA_CENTRO, 0.5f, std::string(100, 'W'));
    const auto parole = chiudi_e_leggi();
    std::set<int> pagine_titolo;
    std::string w;
    for (const Parola& p : parole) {
        if (p.testo.rfind("Titolo", 0) == 0) pagine_titolo.insert(p.pagina);
        if (p.testo.find('W') == std::string::npos) continue;
        w += p.testo;
        EXPECT_LE(p.x_max, (21.0 - 2.0) / 2.54 * 72 + 0.5) << p.testo;
    }
    EXPECT_EQ(pagine_titolo, std::set<int>{2});
    EXPECT_EQ(w, std::string(100, 'W'));
}

TEST_F(Impaginazione, BloccoSenzaControlloSiFermaAlPiedeEProsegue) {
    // A party clause that starts low on page 1: what does not fit above the
    // footer rule goes on at the top of page 2, nothing is lost.
    const float fondo = pdf.GetPageHeight(true);
    std::string lungo;
    int parole = 0;
    while (pdf.TextLength(lungo) < 12 * larghezza) lungo += "clausola" + std::to_string(++parole) + " ";
    // The same clause at the top of a page, for its height.
    pdf.SetXY(0, 0);
    imp->blocco(ALLINEA_GIUSTIFICATO, 0.5f, lungo);
    const float altezza = pdf.GetY() - 0.5f;
    ASSERT_EQ(pdf.GetPage(), 1);
    ASSERT_GT(altezza, 5.0f) << "longer than one box";

    pdf.SetXY(0, fondo - 3.0f);
    imp->blocco(ALLINEA_GIUSTIFICATO, 0.5f, lungo);
    EXPECT_EQ(pdf.GetPage(), 2);
    // Page 1 took the whole lines that fit in the 2.5 cm left above the rule,
    // less the 0.4 cm kept free over it.
    const float riga_testo = pdf.TextHeight();
    const float righe_pagina_1 = std::floor(2.1f / riga_testo);
    EXPECT_NEAR(pdf.GetY(), altezza - righe_pagina_1 * riga_testo, 1e-3f);
}

}  // namespace
