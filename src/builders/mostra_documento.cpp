#include "builders/mostra_documento.h"

#include "common/messaggi.h"
#include "common/visualizzatore.h"
#include "pdf/PdfWriter.h"

void mostra_documento(PdfWriter& pdf, const std::filesystem::path& file) {
    if (trova_apertura().empty()) {
        mostra_avviso(messaggio_senza_visualizzatore(file));
        return;
    }
    try {
        pdf.OpenDoc();
    } catch (const PdfError& errore) {
        mostra_errore_critico(errore.source() + " - " + errore.description());
    }
}
