// Page count, footers and margins over documents of growing length, and the
// draft watermark.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builders/contratto_comproprietari.h"
#include "contract_record/testo_articolo.h"
#include "contratto_fixture.h"

namespace fs = std::filesystem;
using namespace prova_contratto;
using testsupport::run_command;
using testsupport::shell_quote;

namespace {

// Page geometry in points, from the top-left corner of the page.
constexpr double CM = 28.346457;
constexpr double LARGHEZZA_PAGINA = 596;
constexpr double MARGINE = 2 * CM;
constexpr double RIGA_PIEDE = (2 + 26.2039) * CM;  // the footer rule
constexpr double TOLLERANZA = 0.75;

struct Parola {
    double x_min, y_min, x_max, y_max;
    std::string testo;
};

std::string html_in_testo(std::string s) {
    for (auto [da, a] : {std::pair{"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&#39;", "'"}, {"&amp;", "&"}}) {
        for (std::size_t p = 0; (p = s.find(da, p)) != std::string::npos; p += std::string(a).size())
            s.replace(p, std::string(da).size(), a);
    }
    return s;
}

double attributo(const std::string& testo, std::size_t da, const char* nome) {
    const auto p = testo.find(nome, da);
    return p == std::string::npos ? 0 : std::strtod(testo.c_str() + p + std::strlen(nome), nullptr);
}

// The words of each page with their boxes, from pdftotext -bbox.
std::vector<std::vector<Parola>> parole_per_pagina(const fs::path& pdf) {
    const auto risultato = run_command(std::string("pdftotext -bbox -opw ") + PASSWORD + " " +
                                       shell_quote(pdf.string()) + " -");
    EXPECT_EQ(risultato.exit_code, 0) << risultato.err;
    const std::string& html = risultato.out;
    std::vector<std::vector<Parola>> pagine;
    std::size_t p = 0;
    // The next page tag is looked up again only once it has been passed, so
    // reading a long document stays linear.
    auto pagina = html.find("<page ", p);
    for (;;) {
        const auto parola = html.find("<word ", p);
        if (pagina == std::string::npos && parola == std::string::npos) break;
        if (pagina != std::string::npos && (parola == std::string::npos || pagina < parola)) {
            pagine.emplace_back();
            p = pagina + 6;
            pagina = html.find("<page ", p);
            continue;
        }
        const auto chiusa = html.find('>', parola);
        const auto fine = html.find("</word>", chiusa);
        if (chiusa == std::string::npos || fine == std::string::npos || pagine.empty()) break;
        pagine.back().push_back({attributo(html, parola, "xMin=\""), attributo(html, parola, "yMin=\""),
                                 attributo(html, parola, "xMax=\""), attributo(html, parola, "yMax=\""),
                                 html_in_testo(html.substr(chiusa + 1, fine - chiusa - 1))});
        p = fine + 7;
    }
    return pagine;
}

// A word between the side margins.
void expect_nei_margini(const Parola& p) {
    EXPECT_GE(p.x_min, MARGINE - TOLLERANZA) << p.testo;
    EXPECT_LE(p.x_max, LARGHEZZA_PAGINA - MARGINE + TOLLERANZA) << p.testo;
}

// The four pieces of an article body, as the form would store them.
void aggiungi_articolo(Coppie& dati, int n, const std::string& titolo, const std::string& corpo) {
    dati.emplace_back("ARTICOLO_" + std::to_string(n), titolo);
    const auto pezzi = dividi_testo_articolo(corpo);
    for (int k = 0; k < 4; ++k)
        dati.emplace_back("TESTO_ARTICOLO_" + std::to_string(n) + "_" + std::to_string(k + 1),
                          pezzi[static_cast<std::size_t>(k)]);
}

std::string testo_di(std::size_t caratteri) {
    static const std::string frase = "la presente clausola integra il contratto secondo gli accordi delle parti ";
    std::string testo;
    while (testo.size() < caratteri) testo += frase;
    testo.resize(caratteri);
    while (!testo.empty() && testo.back() == ' ') testo.pop_back();
    return testo;
}

// The data set with `extra` more characters of optional articles: each
// article gets a title of up to 180 characters, then a body of up to 1,000.
Coppie dati_con_testo_aggiuntivo(std::size_t extra) {
    Coppie dati;
    for (auto& coppia : dati_completi())
        if (coppia.first.rfind("ARTICOLO_13", 0) != 0 && coppia.first.rfind("TESTO_ARTICOLO_13", 0) != 0)
            dati.push_back(coppia);
    constexpr std::size_t TITOLO = 180, CORPO = 1000;
    for (int n = 13; n <= 22 && extra > 0; ++n) {
        const std::size_t titolo = std::min(extra, TITOLO);
        extra -= titolo;
        const std::size_t corpo = std::min(extra, CORPO);
        extra -= corpo;
        aggiungi_articolo(dati, n, "Titolo " + testo_di(titolo), testo_di(corpo));
    }
    return dati;
}

// Reads the document back and checks every page: the page count the closing
// states, the footer and page number, no text past the side margins or over
// the footer rule, no page holding only the footer, the signatures last.
// Returns the number of pages.
int controlla_pagine(const fs::path& file) {
    const std::string conteggio = "articoli, di n\xC2\xB0 ";
    const std::set<std::string> parole_piede = {"PROGETTO", "TAVORE", "3,", "Avviso", "Pubblico", "Comune", "di",
                                                "Rezevi", "mod.", "4", "-", "contratto", "appalto"};
    const int pagine = pagine_pdfinfo(file);
    const auto parole = parole_per_pagina(file);
    EXPECT_EQ(static_cast<int>(parole.size()), pagine);
    if (parole.empty() || static_cast<int>(parole.size()) != pagine) return pagine;

    std::string tutto;
    for (const auto& pagina : parole)
        for (const auto& p : pagina) tutto += p.testo + " ";
    const auto trovato = tutto.find(conteggio);
    EXPECT_NE(trovato, std::string::npos);
    if (trovato != std::string::npos) {
        EXPECT_EQ(std::atoi(tutto.c_str() + trovato + conteggio.size()), pagine) << "page count stated in the closing";
    }

    for (int i = 0; i < pagine; ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const auto& pagina = parole[static_cast<std::size_t>(i)];
        bool numero = false, progetto = false, modello = false, corpo = false;
        for (const auto& p : pagina) {
            expect_nei_margini(p);
            if (p.y_min >= RIGA_PIEDE - TOLLERANZA) {
                // Under the rule: only the footer and the page number.
                if (p.testo == std::to_string(i + 1) && p.x_min > LARGHEZZA_PAGINA / 2) {
                    numero = true;
                } else {
                    EXPECT_TRUE(parole_piede.count(p.testo)) << "under the footer rule: " << p.testo;
                }
                progetto |= p.testo == "PROGETTO";
                modello |= p.testo == "mod.";
            } else {
                EXPECT_LE(p.y_max, RIGA_PIEDE + TOLLERANZA) << "crosses the footer rule: " << p.testo;
                corpo = true;
            }
        }
        EXPECT_TRUE(numero && progetto && modello) << "footer and page number";
        EXPECT_TRUE(corpo) << "a page holding only the footer";
    }
    bool firma_finale = false;
    for (const auto& p : parole.back()) firma_finale |= p.testo == "RAPPRESENTANTE";
    EXPECT_TRUE(firma_finale);
    return pagine;
}

TEST_F(Contratto, NumeroDiPagineEsattoPiedeSuOgniPaginaTestoNeiMargini) {
    REQUIRE_TOOL("pdftotext");
    REQUIRE_TOOL("pdfinfo");
    int pagine_minime = 1000, pagine_massime = 0;
    // Half a line of text more at every step over the first page and more
    // (every position of the closing on a page), then longer steps up to
    // several pages.
    for (std::size_t extra = 0; extra <= 11800; extra += extra < 5300 ? 48 : 480) {
        SCOPED_TRACE("extra characters: " + std::to_string(extra));
        scrivi_dati(dati_con_testo_aggiuntivo(extra));
        const int pagine = controlla_pagine(genera());
        pagine_minime = std::min(pagine_minime, pagine);
        pagine_massime = std::max(pagine_massime, pagine);
        if (HasFailure()) break;  // one document's report is enough
    }
    EXPECT_GE(pagine_massime - pagine_minime, 2) << "the sweep spans several pages";
}

TEST_F(Contratto, TestiAlMassimoNeiMarginiESopraIlPiede) {
    REQUIRE_TOOL("pdftotext");
    REQUIRE_TOOL("pdfinfo");
    // Every free text at the 255 characters a value holds: the party clauses
    // outgrow the first page and their boxes, names and titles wrap.
    std::string lungo;
    while (lungo.size() < 240) lungo += "Costruzioni Generali Partenopee ";
    lungo = lungo.substr(0, 250) + "fine.";
    Coppie dati = dati_completi();
    const std::set<std::string> importi = {"IMPORTO_LAVORI_NETTO_IVA", "PERCENTUALE_RIBASSO",
                                           "ONERI_SICUREZZA_NETTO_IVA", "ONERI_DISCARICA_NETTO_IVA",
                                           "ONERI_PARTI_COMUNI", "ONERI_PARTI_PRIVATE",
                                           "PERCENTUALE_VERSAMENTO_ANTICIPAZIONE", "TOTALE_RECUPERO_ANTICIPAZIONE",
                                           "DURATA_LAVORI_GIORNI", "PENALE_GIORNALIERA", "MASSIMALE_CAR"};
    for (auto& [chiave, valore] : dati)
        if (valore != "S" && chiave.rfind("DATA_", 0) != 0 && !importi.count(chiave)) valore = lungo;
    scrivi_dati(dati);
    const int pagine = controlla_pagine(genera());
    EXPECT_GT(pagine, 12);
}

TEST_F(Contratto, CodiceSenzaSpaziRestaNeiMargini) {
    REQUIRE_TOOL("pdftotext");
    Coppie dati = dati_completi();
    aggiungi_articolo(dati, 14, "Riferimenti", "Vedi " + std::string(300, 'X') + " e seguenti.");
    scrivi_dati(dati);
    const auto pagine = parole_per_pagina(genera());
    int pezzi = 0;
    for (const auto& pagina : pagine)
        for (const auto& p : pagina) {
            expect_nei_margini(p);
            if (p.testo.find("XXXX") != std::string::npos) ++pezzi;
        }
    EXPECT_GE(pezzi, 3) << "the code is cut over lines of its own";
}

// The text that one page (counted from 1) sets in a bold face, as mutool
// reads it; lines are joined by a blank.
std::string neretto_della_pagina(const fs::path& pdf, std::size_t pagina) {
    const auto letto =
        run_command("mutool draw -q -F stext -o - " + shell_quote(pdf.string()) + " " + std::to_string(pagina));
    EXPECT_EQ(letto.exit_code, 0) << letto.err;
    const std::string& xml = letto.out;
    std::string neretto;
    bool in_neretto = false;
    for (auto p = xml.find('<'); p != std::string::npos; p = xml.find('<', p + 1)) {
        if (xml.compare(p, 12, "<font name=\"") == 0) {
            in_neretto = xml.substr(p, xml.find('"', p + 12) - p).find("Bold") != std::string::npos;
        } else if (xml.compare(p, 6, "<line ") == 0) {
            neretto += ' ';
        } else if (xml.compare(p, 6, "<char ") == 0 && in_neretto) {
            const auto c = xml.find(" c=\"", p) + 4;
            neretto += html_in_testo(xml.substr(c, xml.find('"', c) - c));
        }
    }
    return neretto;
}

// An optional article's title of two lines that no longer fits under its
// heading starts the next page in bold, as it would on the heading's page.
TEST_F(Contratto, TitoloSpintoAllaPaginaDopoRestaInNeretto) {
    REQUIRE_TOOL("pdftotext");
    REQUIRE_TOOL("mutool");
    const std::string titolo = "Titolo " + testo_di(150);
    const std::string inizio_titolo = titolo.substr(0, 30);
    // Article 21 one line longer at every step moves article 22 down a line
    // (less than the room of the title's second line): the first step that
    // parts the title from its heading, after one that kept them together,
    // is the one where the title no longer fits.
    bool insieme = false, spinto = false;
    for (int righe = 0; righe < 80 && !spinto; ++righe) {
        SCOPED_TRACE("lines before: " + std::to_string(righe));
        Coppie dati = dati_completi();
        std::string prima;
        for (int i = 0; i < righe; ++i) prima += "riga\r\n";
        aggiungi_articolo(dati, 21, "Clausola", prima);
        aggiungi_articolo(dati, 22, titolo, "Testo della clausola.");
        scrivi_dati(dati);
        const auto file = genera();
        const auto pagine = estrai(file).pagine;
        for (std::size_t i = 0; i < pagine.size(); ++i) {
            if (pagine[i].find(inizio_titolo) == std::string::npos) continue;
            EXPECT_NE(neretto_della_pagina(file, i + 1).find(inizio_titolo), std::string::npos) << "page " << i + 1;
            const bool separati = pagine[i].find("ART. 22") == std::string::npos;
            spinto = separati && insieme;
            insieme = !separati;
        }
        if (HasFailure()) break;
    }
    EXPECT_TRUE(spinto);
}

// Magenta pixels of every page, rendered small.
std::vector<int> pixel_magenta(const fs::path& pdf, testsupport::TempDir& cartella) {
    const auto radice = cartella / "pagina";
    const auto risultato = run_command(std::string("pdftoppm -r 12 -opw ") + PASSWORD + " " +
                                       shell_quote(pdf.string()) + " " + shell_quote(radice.string()));
    EXPECT_EQ(risultato.exit_code, 0) << risultato.err;
    EXPECT_TRUE(risultato.err.empty()) << risultato.err;
    std::vector<fs::path> immagini;
    for (const auto& voce : fs::directory_iterator(cartella.path()))
        if (voce.path().filename().string().rfind("pagina", 0) == 0) immagini.push_back(voce.path());
    std::sort(immagini.begin(), immagini.end());
    std::vector<int> conteggi;
    for (const auto& immagine : immagini) {
        const std::string dati = testsupport::read_file(immagine);
        fs::remove(immagine);
        // P6, width, height, 255, then RGB bytes.
        std::istringstream intestazione(dati);
        std::string magico;
        int larghezza = 0, altezza = 0, massimo = 0;
        intestazione >> magico >> larghezza >> altezza >> massimo;
        const auto inizio = static_cast<std::size_t>(intestazione.tellg()) + 1;
        int magenta = 0;
        for (std::size_t i = inizio; i + 2 < dati.size(); i += 3) {
            const auto r = static_cast<unsigned char>(dati[i]), g = static_cast<unsigned char>(dati[i + 1]),
                       b = static_cast<unsigned char>(dati[i + 2]);
            if (r > 180 && b > 180 && g < 120) ++magenta;
        }
        conteggi.push_back(magenta);
    }
    return conteggi;
}

TEST_F(Contratto, FiligranaSoloNelleBozze) {
    REQUIRE_TOOL("pdftoppm");
    REQUIRE_TOOL("pdfinfo");
    scrivi_dati(dati_completi());
    testsupport::TempDir immagini;

    const auto bozza = genera("bozza.pdf");
    const auto pagine_bozza = pixel_magenta(bozza, immagini);
    EXPECT_EQ(static_cast<int>(pagine_bozza.size()), pagine_pdfinfo(bozza));
    for (std::size_t i = 0; i < pagine_bozza.size(); ++i)
        EXPECT_GT(pagine_bozza[i], 20) << "no watermark on page " << i + 1;

    const auto finale = genera("contratto.pdf");
    for (int magenta : pixel_magenta(finale, immagini)) EXPECT_EQ(magenta, 0);

    // The test is a plain substring of the upper-cased full name.
    fs::create_directory(cartella / "bozza");
    for (const auto& [nome, filigrana] : std::vector<std::pair<std::string, bool>>{
             {"BOZZA.PDF", true}, {"Bozza.Pdf", true}, {"vecchia_bozza.pdf.pdf", true}, {"bozza_1.pdf", false},
             {"bozza/contratto.pdf", false}}) {
        SCOPED_TRACE(nome);
        const auto file = genera(nome);
        const auto conteggi = pixel_magenta(file, immagini);
        ASSERT_FALSE(conteggi.empty());
        if (filigrana)
            EXPECT_GT(conteggi.front(), 20);
        else
            EXPECT_EQ(conteggi.front(), 0);
        fs::remove(file);
    }
}

}  // namespace
