#include "ui/messaggi_ui.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "common/messaggi.h"
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

bool chiedi_si_no(QWidget* padre, const QString& titolo, const QString& testo) {
    if (risponditore_attivo())
        return risponditore_attivo()(FinestraMessaggio{FinestraMessaggio::Tipo::Domanda, titolo, testo});
    QMessageBox box(QMessageBox::Question, titolo, testo, QMessageBox::NoButton, padre);
    QPushButton* si = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(si);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == si;
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
}
