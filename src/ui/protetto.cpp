#include "ui/protetto.h"

#include <exception>

#include <QString>

#include "pdf/PdfWriter.h"
#include "ui/messaggi_ui.h"
#include "ui/testo.h"

bool esegui_protetto(QWidget* padre, const std::function<void()>& azione) {
    QString messaggio;
    try {
        azione();
        return true;
    } catch (const PdfError& errore) {
        messaggio = da_cp1252(errore.source()) + QStringLiteral(" - ") + da_cp1252(errore.description());
    } catch (const std::exception& errore) {
        messaggio = QString::fromUtf8(errore.what());
    } catch (...) {
        messaggio = QStringLiteral("Errore imprevisto");
    }
    try {
        errore_critico(padre, messaggio);
    } catch (...) {
        // Showing the box must not end the program either.
    }
    return false;
}
