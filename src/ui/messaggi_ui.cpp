#include "ui/messaggi_ui.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>

#include "common/messaggi.h"
#include "common/visualizzatore.h"
#include "ui/testo.h"

namespace {

Risponditore& risponditore_attivo() {
    static Risponditore risponditore;
    return risponditore;
}

int mostra(QWidget* padre, QMessageBox::Icon icona, const QString& titolo, const QString& testo) {
    QMessageBox box(icona, titolo, testo, QMessageBox::NoButton, padre);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    return box.exec();
}

}  // namespace

Risponditore imposta_risponditore(Risponditore risponditore) {
    Risponditore precedente = std::move(risponditore_attivo());
    risponditore_attivo() = std::move(risponditore);
    return precedente;
}

namespace {

// The two answers with their letters; Enter presses `predefinita`.
struct DomandaSiNo {
    QMessageBox box;
    QPushButton* si;
    QPushButton* no;

    DomandaSiNo(QWidget* padre, const QString& titolo, const QString& testo, Risposta predefinita)
        : box(QMessageBox::Question, titolo, testo, QMessageBox::NoButton, padre),
          si(box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole)),
          no(box.addButton(QStringLiteral("&No"), QMessageBox::NoRole)) {
        box.setDefaultButton(predefinita == Risposta::No ? no : si);
    }
};

}  // namespace

bool chiedi_si_no(QWidget* padre, const QString& titolo, const QString& testo, Risposta predefinita) {
    if (risponditore_attivo())
        return risponditore_attivo()(
            FinestraMessaggio{FinestraMessaggio::Tipo::Domanda, titolo, testo, predefinita});
    DomandaSiNo domanda(padre, titolo, testo, predefinita);
    domanda.box.setEscapeButton(domanda.no);
    domanda.box.exec();
    return domanda.box.clickedButton() == domanda.si;
}

Risposta chiedi_si_no_resta(QWidget* padre, const QString& titolo, const QString& testo) {
    if (risponditore_attivo())
        return risponditore_attivo()(FinestraMessaggio{FinestraMessaggio::Tipo::Domanda, titolo, testo})
                   ? Risposta::Si
                   : Risposta::No;
    DomandaSiNo domanda(padre, titolo, testo, Risposta::Si);
    // Esc and the close button press this hidden button, so they can never
    // be taken for "No".
    QPushButton* resta = domanda.box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
    resta->hide();
    domanda.box.setEscapeButton(resta);
    domanda.box.exec();
    if (domanda.box.clickedButton() == domanda.si) return Risposta::Si;
    if (domanda.box.clickedButton() == domanda.no) return Risposta::No;
    return Risposta::Resta;
}

void avviso(QWidget* padre, const QString& testo) {
    if (risponditore_attivo()) {
        risponditore_attivo()(FinestraMessaggio{FinestraMessaggio::Tipo::Avviso, TITOLO_PROGRAMMA, testo});
        return;
    }
    mostra(padre, QMessageBox::NoIcon, TITOLO_PROGRAMMA, testo);
}

void errore_critico(QWidget* padre, const QString& testo) {
    if (risponditore_attivo()) {
        risponditore_attivo()(
            FinestraMessaggio{FinestraMessaggio::Tipo::ErroreCritico, TITOLO_PROGRAMMA, testo});
        return;
    }
    mostra(padre, QMessageBox::Critical, TITOLO_PROGRAMMA, testo);
}

void installa_gestore_messaggi() {
    imposta_gestore_messaggi([](TipoMessaggio tipo, const std::string& testo) {
        QWidget* padre = QApplication::activeModalWidget();
        if (padre == nullptr) padre = QApplication::activeWindow();
        if (tipo == TipoMessaggio::ErroreCritico)
            errore_critico(padre, da_cp1252(testo));
        else
            avviso(padre, da_cp1252(testo));
    });
    // A viewer's end is awaited by the event loop, never by blocking: it may
    // come long after, when the user closes the viewer.
    imposta_osservatore_apertura([](int esito, const std::filesystem::path& file) {
        auto* avviso_pronto = new QSocketNotifier(esito, QSocketNotifier::Read, qApp);
        QObject::connect(avviso_pronto, &QSocketNotifier::activated, avviso_pronto, [avviso_pronto, esito, file] {
            avviso_pronto->setEnabled(false);
            avviso_pronto->deleteLater();
            if (const auto messaggio = esito_apertura(esito, file)) mostra_avviso(*messaggio);
        });
    });
}
