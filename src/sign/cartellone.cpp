#include "sign/cartellone.h"

#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "builders/mostra_documento.h"
#include "builders/testi_intestazione.h"
#include "builders/testo_cp1252.h"
#include "common/cartelle.h"
#include "common/cp1252.h"
#include "common/dati.h"
#include "common/messaggi.h"
#include "pdf/PdfWriter.h"
#include "sign/chiavi_cartellone.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t SOLO_STAMPA = 4;  // 40-bit keys, printing allowed, nothing else
constexpr std::string_view PASSWORD_PROPRIETARIO = "dezarezozidu";
constexpr int ERRORE_FILE_NON_APRIBILE = 52;
constexpr std::int32_t FORMATO_UTENTE = 255;
constexpr std::int32_t MILLIMETRI = 2;
constexpr std::int32_t RIEMPI_E_CONTORNA = 4;
constexpr std::int32_t SOLO_TESTO = 1;
constexpr std::int32_t ALLINEA_SINISTRA = 1;
constexpr std::int16_t GRASSETTO = 1;

// Where the pictures go, in millimetres: a quarter of each picture's pixel
// size.
struct Posto {
    float x, y, larghezza, altezza;
};
constexpr Posto POSTI_IMMAGINI[4] = {
    {508, 60, 0.25f * 1106, 0.25f * 430},
    {55, 197, 0.25f * 3354, 0.25f * 882},
    {392, 435, 0.25f * 407, 0.25f * 776},
    {517, 434, 0.25f * 1714, 0.25f * 804},
};

struct Riquadro {
    std::string_view etichetta;
    float etichetta_x, etichetta_y;
    float casella_x, casella_y;
};
// In box order; the left column (boxes 1-8) has the smaller labels.
constexpr Riquadro RIQUADRI[NUMERO_CASELLE_CARTELLONE] = {
    {" condominio dell'edificio sito in", 52, 725, 52.57f, 748.25f},
    {" lavori di ", 52, 791, 52.57f, 814.25f},
    {" titolo edilizio", 52, 857, 52.57f, 880.25f},
    {" impresa appaltatrice", 52, 923, 52.57f, 946.25f},
    {" data inizio lavori", 52, 990, 52.57f, 1012.25f},
    {" data fine lavori", 52, 1055, 52.57f, 1078.25f},
    {" progettista", 52, 1121, 52.57f, 1144.25f},
    {" direttore dei lavori", 52, 1187, 52.57f, 1210.25f},
    {" coordinatore prog.ne D. leg.vo 81/08 e s.m.i.", 531, 921, 531.57f, 946.25f},
    {" coordinatore esecuzione D. leg.vo 81/08 e s.m.i.", 531, 990, 531.57f, 1012.25f},
    {" direttore tecnico di cantiere impresa", 531, 1053, 531.57f, 1078.25f},
    {" impresa subappaltatrice", 531, 1121, 531.57f, 1144.25f},
    {" direttore tecnico cantiere impresa subappaltatrice", 531, 1187, 531.57f, 1210.25f},
};
constexpr int PRIMA_ETICHETTA_GRANDE = 8;
constexpr float LARGHEZZA_CASELLA = 439.05f;
constexpr float ALTEZZA_CASELLA = 25.63f;
constexpr float ALTEZZA_ETICHETTA = 5.0f;

std::string da_utf8(std::string_view testo) {
    auto convertito = utf8_a_cp1252(testo);
    return convertito ? *convertito : std::string(testo);
}

// A picture the poster can read: a plain file name found in the program
// folder that opens for reading. nullopt otherwise.
std::optional<fs::path> immagine_leggibile(const fs::path& cartella, const std::string& nome) {
    // The area's name comes from the data file: never let it leave the folder.
    if (nome.find('/') != std::string::npos || nome.find('\0') != std::string::npos) return std::nullopt;
    const fs::path file = trova_file(cartella, nome);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return std::nullopt;
    std::ifstream prova(file, std::ios::binary);
    char byte = 0;
    if (!prova || !prova.read(&byte, 1)) return std::nullopt;
    return file;
}

void disegna(PdfWriter& pdf, const DatiCartellone& dati, const std::array<fs::path, 4>& immagini) {
    // The page size is given in points, before the unit becomes millimetres.
    pdf.SetPaperSize(FORMATO_UTENTE, 2836.0f, 3689.84f);
    pdf.SetScale(MILLIMETRI, 1.0f);
    pdf.SetMargins(0, 0, 0, 0, true);
    pdf.BeginPage();
    const float larghezza = pdf.GetPageWidth(true);

    pdf.SetColorFill("RED");
    pdf.DrawRect(0, 0, pdf.GetPageWidth(true), pdf.GetPageHeight(true), RIEMPI_E_CONTORNA, 0, 15);

    for (std::size_t i = 0; i < immagini.size(); ++i) {
        const Posto& p = POSTI_IMMAGINI[i];
        pdf.DrawImage(immagini[i].string(), p.x, p.y, p.larghezza, p.altezza, 1, {});
    }

    pdf.SetColorText("WHITE");
    pdf.SetFont("Arial", 50, GRASSETTO, 0);
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i) {
        if (i == PRIMA_ETICHETTA_GRANDE) pdf.SetFont("Arial", 51, GRASSETTO, 0);
        const Riquadro& r = RIQUADRI[i];
        pdf.DrawTextBox(r.etichetta_x, r.etichetta_y, larghezza, ALTEZZA_ETICHETTA, std::string(r.etichetta), 0,
                        ALLINEA_SINISTRA, SOLO_TESTO);
    }

    pdf.SetColorText("BLACK");
    pdf.SetFont("Arial", 46, GRASSETTO, 0);
    pdf.SetColorFill("WHITE");
    pdf.SetColorLine("WHITE");
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i) {
        const Riquadro& r = RIQUADRI[i];
        // What does not fit in its box is left out.
        pdf.DrawTextBox(r.casella_x, r.casella_y, LARGHEZZA_CASELLA, ALTEZZA_CASELLA, " " + dati.testo(i), 0,
                        ALLINEA_SINISTRA, RIEMPI_E_CONTORNA);
    }
    pdf.EndDoc();
    if (pdf.ErrNumber() != 0) throw PdfError(pdf.ErrNumber(), pdf.ErrSource(), pdf.ErrDescription());
}

}  // namespace

std::array<std::string, 4> immagini_cartellone(const std::string& tipo_centro) {
    return {"loghi.gif", "comune_dirido.gif", "LOGO_TAVORE.gif", tipo_centro + ".GIF"};
}

bool genera_cartellone(const fs::path& nome_file, bool apri_pdf) {
    std::map<std::string, std::string> archivio;
    try {
        archivio = leggi_archivio();
    } catch (const ErroreDati& errore) {
        mostra_errore_critico(da_utf8(errore.what()));
        return false;
    }
    const DatiCartellone dati(archivio);

    // Every picture is checked before the file is opened: a missing one must
    // not cost the user the poster written before.
    const fs::path cartella = cartella_programma();
    const auto nomi = immagini_cartellone(dati.tipo_centro());
    std::array<fs::path, 4> immagini;
    for (std::size_t i = 0; i < nomi.size(); ++i) {
        const auto trovata = immagine_leggibile(cartella, nomi[i]);
        if (!trovata) {
            mostra_avviso(testi::cp1252("Il cartellone non è stato generato: manca o non si può leggere "
                                        "l'immagine \"") +
                          nomi[i] + testi::cp1252("\" nella cartella del programma (") +
                          da_utf8(cartella.string()) + ").");
            return false;
        }
        immagini[i] = *trovata;
    }

    PdfWriter pdf;
    pdf.SetProtection(SOLO_STAMPA, PASSWORD_PROPRIETARIO, "");
    // The poster names the parties, as the data file does: its owner's alone.
    const pdf::OwnerOnlyOutput riservato;
    // File names are the system's own bytes, handed over unchanged.
    pdf.BeginDoc(nome_file.string());
    if (const auto numero = pdf.ErrNumber(); numero != 0) {
        // The sentence of an open file, and what really stopped the writer
        // (a folder of that name, a missing folder...), as the contract
        // builder tells it.
        if (numero == ERRORE_FILE_NON_APRIBILE)
            mostra_avviso(testi::cp1252(testi::MESSAGGIO_FILE_APERTO) + "\n" + pdf.ErrDescription());
        else
            mostra_errore_critico(pdf.ErrSource() + " - " + pdf.ErrDescription());
        return false;
    }
    // The writer works on a temporary file beside the name; Abort drops it,
    // so a failure while drawing leaves an earlier poster as it was.
    try {
        disegna(pdf, dati, immagini);
    } catch (const PdfError& errore) {
        pdf.Abort();
        mostra_errore_critico(errore.source() + " - " + errore.description());
        return false;
    } catch (const std::exception& errore) {
        pdf.Abort();
        mostra_errore_critico(da_utf8(errore.what()));
        return false;
    }
    if (apri_pdf) mostra_documento(nome_file);
    return true;
}
