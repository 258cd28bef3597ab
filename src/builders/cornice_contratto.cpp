#include "builders/blocchi_contratto.h"
#include "builders/testi_intestazione.h"
#include "builders/testo_cp1252.h"
#include "common/cp1252.h"
#include "pdf/PdfWriter.h"

using testi::cp1252;

namespace {

constexpr int OGNI_PAGINA_SOTTO_IL_TESTO = 7;  // first, even and odd pages, beneath the content

void oggetto_piede(PdfWriter& pdf, float larghezza, float altezza, bool bozza) {
    pdf.BeginObject("header_footer", OGNI_PAGINA_SOTTO_IL_TESTO);
    pdf.DrawLine(0, altezza, larghezza, altezza, 0);
    pdf.SetFont("Arial", 8, 0);
    pdf.DrawTextBox(0, altezza, larghezza, 1.0f, cp1252(testi::PIEDE_PROGETTO), 0, ALLINEA_SINISTRA_PIEDE, 1);
    pdf.DrawTextBox(0, pdf.GetY(), larghezza, 1.0f, cp1252(testi::PIEDE_MODELLO), 0, ALLINEA_SINISTRA_PIEDE, 1);
    if (bozza) {
        pdf.SetFont("Arial", 160, 0);
        pdf.AxisRotation(315);
        pdf.SetColorText("#FF00FF");
        pdf.DrawTextBox(larghezza / 3, 0, larghezza * 5 / 4, altezza, cp1252(testi::FILIGRANA_BOZZA), 0,
                        ALLINEA_SINISTRA_PIEDE, 1);
        // Writes nothing: the rotation ends with the object's own saved
        // graphics state.
        pdf.AxisRotation(0);
        pdf.SetFont("Arial", 8, 0);
        pdf.SetColorText("#000000");
    }
    pdf.EndObject();
}

}  // namespace

void scrivi_cornice_e_titolo(PdfWriter& pdf, const ValoriContratto& valori, bool bozza, float& larghezza_utile) {
    pdf.SetScale(3, 1.0f);  // centimetres
    pdf.SetMargins(2, 2, 2, 1.5f, false);
    larghezza_utile = pdf.GetPageWidth(true);
    const float altezza_utile = pdf.GetPageHeight(true);

    oggetto_piede(pdf, larghezza_utile, altezza_utile, bozza);

    pdf.BeginPage();
    pdf.SetFont("Arial", 8, 0);
    pdf.DrawTextBox(larghezza_utile - 1.0f, altezza_utile, 1.0f, 1.0f, std::to_string(pdf.GetPage()), 0,
                    ALLINEA_DESTRA, 1);

    pdf.SetFont("Times new roman", 12, 1);
    const struct {
        float distanza;
        std::string testo;
    } titolo[] = {
        {0.0f, cp1252(testi::TITOLO_PROGRAMMA)},
        {0.1f, cp1252(testi::TITOLO_CONTRIBUTI)},
        {0.1f, cp1252(testi::TITOLO_DELIBERA)},
        {0.5f, cp1252(testi::TITOLO_CONTRATTO)},
        {0.5f, cp1252(testi::TITOLO_SITO_IN) + maiuscolo(valori.valore("INDIRIZZO_CONDOMINIO"))},
    };
    bool prima = true;
    for (const auto& riga : titolo) {
        const float y = prima ? 0.0f : pdf.GetY() + riga.distanza;
        prima = false;
        pdf.DrawTextBox(0, y, larghezza_utile, 5.0f, riga.testo, 0, ALLINEA_CENTRO, 1);
    }
}
