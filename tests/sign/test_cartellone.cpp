#include "sign/cartellone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "common/cartelle.h"
#include "common/messaggi.h"
#include "gif89a.h"
#include "pdf/PdfWriter.h"
#include "pdf/content/reader_checks.h"
#include "pdf/core/own_pdf.h"
#include "sign/disegno_cartellone.h"
#include "support/tools.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::TempDir;
using testsupport::write_data_file;
using testsupport::write_file;

namespace {

constexpr double PT_PER_MM = 72.0 / 25.4;

struct Messaggio {
    TipoMessaggio tipo;
    std::string testo;
};

class Cartellone : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder name outside ASCII: paths go to the system as they are.
        fs::create_directory(cartella);
        imposta_cartelle(cartella, cartella);
        imposta_gestore_messaggi([this](TipoMessaggio t, const std::string& s) { messaggi.push_back({t, s}); });
        for (const FiguraCartellone f : FIGURE_CARTELLONE)
            write_file(cartella / std::string(nome_figura(f)),
                       codifica_gif89a(disegna_figura(f, larghezza_figura(f), altezza_figura(f))));
    }
    void TearDown() override {
        imposta_gestore_messaggi({});
        imposta_cartelle({}, {});
    }
    fs::path pdf() const { return cartella / "cartellone.pdf"; }

    TempDir dir;
    const fs::path cartella = dir / "Citt\xC3\xA0 d'Ar\xC3\xA8";
    std::vector<Messaggio> messaggi;
};

// Every sign key stored but the address's, which the contract gives.
const std::vector<std::pair<std::string, std::string>> DATI = {
    {"INDIRIZZO_CONDOMINIO", "via Toledo 12"},
    {"CARTELLONE_TIPO_CENTRO", " csp"},
    {"CARTELLONE_TIPOLOGIA_LAVORI", "facciate (lotto \\ 2)"},
    {"CARTELLONE_TITOLO_EDILIZIO", "DIA n. 5"},
    {"CARTELLONE_RAGIONE_SOCIALE_IMPRESA", "Edil Russo"},
    {"CARTELLONE_DATA_INIZIO_LAVORI", "20100315"},
    {"CARTELLONE_DATA_FINE_LAVORI", "20110630"},
    {"CARTELLONE_PROGETTISTA", "Arch. Anna Bianchi"},
    {"CARTELLONE_DIRETTORE_LAVORI", "Ing. Paolo Verdi"},
    {"CARTELLONE_COORDINATORE_PROGETTAZIONE", "Arch. Sara Gallo"},
    {"CARTELLONE_COORDINATORE_ESECUZIONE", "Ing. Neri"},
    {"CARTELLONE_DIRETTORE_TECNICO_IMPRESA", "Geom. Marco Blu"},
    {"CARTELLONE_IMPRESA_SUBAPPALTATRICE", "Impianti Sud"},
    {"CARTELLONE_DIRETTORE_TECNICO_IMPRESA_SUBAPPALTATRICE", "Geom. Gialli"},
};

// The first word of the text `testo` as `pdftotext -bbox` found it (texts
// side by side at one height share a line, so a text may start mid-line).
const contenttest::BboxWord* parola(const std::vector<contenttest::BboxLine>& righe, const std::string& testo) {
    for (const auto& r : righe) {
        for (std::size_t i = 0; i < r.words.size(); ++i) {
            std::string unito;
            for (std::size_t j = i; j < r.words.size() && unito.size() < testo.size(); ++j)
                unito += (j == i ? "" : " ") + r.words[j].text;
            if (unito == testo) return &r.words[i];
        }
    }
    return nullptr;
}

TEST_F(Cartellone, OneProtectedPageWithLabelsAndValuesInTheirBoxes) {
    write_data_file(cartella / "dati2.dat", DATI);
    ASSERT_TRUE(genera_cartellone(pdf(), false));
    EXPECT_TRUE(messaggi.empty());

    const std::string info = coretest::pdfinfo(pdf());
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       2836 x 3689.84 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Encrypted:       yes (print:yes copy:no change:no addNotes:no algorithm:RC4)"),
              std::string::npos)
        << info;
    coretest::expect_qpdf_clean(pdf(), "dezarezozidu");
    EXPECT_EQ(contenttest::reader_complaints(pdf()), "");

    // Every label and value at its place (millimetres from the top-left
    // corner) in its type size; each text starts one blank into its box.
    const struct {
        std::string testo;
        double x, y, punti;
    } attesi[] = {
        {"condominio dell'edificio sito in", 52, 725, 50}, {"via Toledo 12", 52.57, 748.25, 46},
        {"lavori di", 52, 791, 50}, {"facciate (lotto \\ 2)", 52.57, 814.25, 46},
        {"titolo edilizio", 52, 857, 50}, {"DIA n. 5", 52.57, 880.25, 46},
        {"impresa appaltatrice", 52, 923, 50}, {"Edil Russo", 52.57, 946.25, 46},
        {"data inizio lavori", 52, 990, 50}, {"15/03/2010", 52.57, 1012.25, 46},
        {"data fine lavori", 52, 1055, 50}, {"30/06/2011", 52.57, 1078.25, 46},
        {"progettista", 52, 1121, 50}, {"Arch. Anna Bianchi", 52.57, 1144.25, 46},
        {"direttore dei lavori", 52, 1187, 50}, {"Ing. Paolo Verdi", 52.57, 1210.25, 46},
        {"coordinatore prog.ne D. leg.vo 81/08 e s.m.i.", 531, 921, 51}, {"Arch. Sara Gallo", 531.57, 946.25, 46},
        {"coordinatore esecuzione D. leg.vo 81/08 e s.m.i.", 531, 990, 51}, {"Ing. Neri", 531.57, 1012.25, 46},
        {"direttore tecnico di cantiere impresa", 531, 1053, 51}, {"Geom. Marco Blu", 531.57, 1078.25, 46},
        {"impresa subappaltatrice", 531, 1121, 51}, {"Impianti Sud", 531.57, 1144.25, 46},
        {"direttore tecnico cantiere impresa subappaltatrice", 531, 1187, 51}, {"Geom. Gialli", 531.57, 1210.25, 46},
    };
    const auto righe = contenttest::bbox_lines(contenttest::bbox_words(pdf()));
    std::vector<double> altezze_per_punto;
    for (const auto& a : attesi) {
        const auto* r = parola(righe, a.testo);
        ASSERT_NE(r, nullptr) << a.testo;
        const double x = a.x * PT_PER_MM, y = a.y * PT_PER_MM;
        // One blank of 46-51 points' type, then the text; its top a little
        // under the box's top.
        EXPECT_GT(r->x_min, x + 5) << a.testo;
        EXPECT_LT(r->x_min, x + 20) << a.testo;
        EXPECT_GT(r->y_min, y - 1) << a.testo;
        EXPECT_LT(r->y_min, y + 20) << a.testo;
        altezze_per_punto.push_back((r->y_max - r->y_min) / a.punti);
    }
    // One font throughout: a word's height is its type size times the same
    // factor, to well within the two percent between 50 and 51 points.
    const auto [minima, massima] = std::minmax_element(altezze_per_punto.begin(), altezze_per_punto.end());
    EXPECT_LT(*massima / *minima, 1.005);
}

TEST_F(Cartellone, RenderShowsRedGroundWhiteBoxesAndEveryPictureUpright) {
    REQUIRE_TOOL("pdftoppm");
    write_data_file(cartella / "dati2.dat", DATI);
    ASSERT_TRUE(genera_cartellone(pdf(), false));
    constexpr int DPI = 15;
    const auto img = contenttest::render_colour(pdf(), 1, DPI);
    ASSERT_GT(img.width, 500);
    const auto colore = [&](double x_mm, double y_mm) {
        const auto* p = img.at(static_cast<int>(x_mm / 25.4 * DPI), static_cast<int>(y_mm / 25.4 * DPI));
        return Rgb{p[0], p[1], p[2]};
    };
    const auto vicino = [](Rgb a, Rgb b) {
        return std::abs(a.r - b.r) < 30 && std::abs(a.g - b.g) < 30 && std::abs(a.b - b.b) < 30;
    };
    const Rgb rosso{0xF7, 0x12, 0x0D}, bianco{255, 255, 255};
    EXPECT_TRUE(vicino(colore(20, 20), rosso));
    EXPECT_TRUE(vicino(colore(980, 1290), rosso));
    EXPECT_TRUE(vicino(colore(40, 770), rosso));  // between a label and its box
    // White boxes, their values written in black.
    for (const auto& [x, y] : {std::pair{52.57, 748.25}, {52.57, 1210.25}, {531.57, 946.25}, {531.57, 1210.25}}) {
        EXPECT_TRUE(vicino(colore(x + 420, y + 20), bianco)) << x << " " << y;
        int piu_scuro = 255;
        for (double dx = 5; dx < 150; dx += 1)
            for (double dy = 3; dy < 23; dy += 1) {
                const Rgb c = colore(x + dx, y + dy);
                piu_scuro = std::min(piu_scuro, int{std::max({c.r, c.g, c.b})});
            }
        EXPECT_LT(piu_scuro, 100) << x << " " << y;
    }

    // Each picture: its band along the top, its left part on the left, its
    // body at the bottom right, so a turned or mirrored picture fails.
    const struct {
        FiguraCartellone figura;
        double x, y, l, a;
    } posti[] = {
        {FiguraCartellone::Loghi, 508, 60, 276.5, 107.5},
        {FiguraCartellone::ComuneDirido, 55, 197, 838.5, 220.5},
        {FiguraCartellone::LogoTavore, 392, 435, 101.75, 194},
        {FiguraCartellone::CentroCSP, 517, 434, 428.5, 201},  // the stored area, in lower case
    };
    for (const auto& p : posti) {
        const auto& c = colori_figura(p.figura);
        SCOPED_TRACE(std::string(nome_figura(p.figura)));
        EXPECT_TRUE(vicino(colore(p.x + p.l * 0.5, p.y + p.a * 0.1), c[FASCIA]));
        EXPECT_TRUE(vicino(colore(p.x + p.l * 0.06, p.y + p.a * 0.6), c[SINISTRA]));
        EXPECT_TRUE(vicino(colore(p.x + p.l * 0.94, p.y + p.a * 0.92), c[CORPO]));
    }
}

// The poster names the parties: its owner's alone whatever the umask, also
// when it replaces one an older copy left readable to all.
TEST_F(Cartellone, ThePosterIsItsOwnersAlone) {
    write_data_file(file_dati(), DATI);
    const mode_t maschera = ::umask(022);
    for (int volta = 0; volta < 2; ++volta) {
        ASSERT_TRUE(genera_cartellone(pdf(), false));
        struct stat st {};
        ASSERT_EQ(::stat(pdf().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << (volta == 0 ? "new" : "rewritten");
        ::chmod(pdf().c_str(), 0644);
    }
    ::umask(maschera);
}

std::set<std::string> nomi_in(const fs::path& cartella) {
    std::set<std::string> nomi;
    for (const auto& voce : fs::directory_iterator(cartella)) nomi.insert(voce.path().filename().string());
    return nomi;
}

// Every failure leaves an earlier poster as it was, whether found before the
// file is opened or while drawing, and says why.
TEST_F(Cartellone, FailuresTellTheUserAndLeaveNoBrokenFile) {
    const std::string vecchio = "%PDF-1.3 earlier poster";
    const std::string aperto = "Il file \xE8 aperto, mi \xE8 impossibile generarlo !\n";
    const struct {
        const char* caso;
        std::string centro;
        const char* tolta;     // picture removed first
        const char* guastata;  // picture replaced by garbage
        const char* uscita;    // where the poster goes, under the data folder
        TipoMessaggio tipo;
        std::string nel_messaggio;
        std::string causa = {};          // after it
        const char* svuotata = nullptr;  // picture left with no byte
    } casi[] = {
        {"missing picture", "CSU", "loghi.gif", nullptr, "cartellone.pdf", TipoMessaggio::Avviso, "\"loghi.gif\""},
        {"missing area picture", "QP", "QP.GIF", nullptr, "cartellone.pdf", TipoMessaggio::Avviso, "\"QP.GIF\""},
        // Named as it is on disk, whatever the case of the stored area.
        {"missing area picture, area stored in lower case", "csu", "CSU.GIF", nullptr, "cartellone.pdf",
         TipoMessaggio::Avviso, "\"CSU.GIF\""},
        {"no area stored", "", nullptr, nullptr, "cartellone.pdf", TipoMessaggio::Avviso, "\".GIF\""},
        // A picture of that name lies just outside the program folder.
        {"area leaving the folder", "../CSU", nullptr, nullptr, "cartellone.pdf", TipoMessaggio::Avviso,
         "\"../CSU.GIF\""},
        {"damaged picture", "CSU", nullptr, "CSU.GIF", "cartellone.pdf", TipoMessaggio::ErroreCritico,
         "PdfWriter.DrawImage"},
        {"empty picture", "CSU", nullptr, nullptr, "cartellone.pdf", TipoMessaggio::Avviso,
         "manca o non si pu\xF2 leggere l'immagine \"comune_dirido.gif\"", {}, "comune_dirido.gif"},
        // The sentence of an open file, then the writer's real cause.
        {"output folder missing", "CSU", nullptr, nullptr, "manca/cartellone.pdf", TipoMessaggio::Avviso, aperto,
         "inesistente"},
        {"a folder in the poster's place", "CSU", nullptr, nullptr, "cartella/cartellone.pdf", TipoMessaggio::Avviso,
         aperto, "\xE8 una cartella"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        TempDir caso;
        const fs::path programma = caso / "programma";
        fs::create_directory(programma);
        imposta_cartelle(programma, caso.path());
        for (const FiguraCartellone f : FIGURE_CARTELLONE) {
            fs::copy_file(cartella / std::string(nome_figura(f)), programma / std::string(nome_figura(f)));
            fs::copy_file(cartella / std::string(nome_figura(f)), caso / std::string(nome_figura(f)));
        }
        if (c.tolta) fs::remove(programma / c.tolta);
        if (c.guastata) write_file(programma / c.guastata, "GIF89a\x10\x00\x10\x00 not a picture");
        if (c.svuotata) write_file(programma / c.svuotata, "");
        write_data_file(caso / "dati2.dat", {{"CARTELLONE_TIPO_CENTRO", c.centro}});
        const fs::path uscita = caso / c.uscita;
        if (uscita.parent_path() == caso / "cartella") fs::create_directories(uscita);
        if (uscita.parent_path() == caso.path()) write_file(uscita, vecchio);
        messaggi.clear();
        const auto prima = nomi_in(caso.path());

        EXPECT_FALSE(genera_cartellone(uscita, false));
        ASSERT_EQ(messaggi.size(), 1u);
        EXPECT_EQ(messaggi[0].tipo, c.tipo);
        const auto trovato = messaggi[0].testo.find(c.nel_messaggio);
        EXPECT_NE(trovato, std::string::npos) << messaggi[0].testo;
        if (!c.causa.empty()) {
            EXPECT_NE(messaggi[0].testo.find(c.causa, trovato), std::string::npos) << messaggi[0].testo;
        }
        if (uscita.parent_path() == caso.path()) {
            EXPECT_EQ(read_file(uscita), vecchio);
        }
        EXPECT_EQ(nomi_in(caso.path()), prima) << "nothing left behind";
    }
}

}  // namespace
