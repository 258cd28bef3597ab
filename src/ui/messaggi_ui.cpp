#include "ui/messaggi_ui.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
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

constexpr QChar UNISCI{0x2060};  // word joiner: no line break on either side

// Qt may break a line after "/" or "-", so a folder's path would be split over
// lines in mid-sentence although it fits on one. Inside a quoted absolute
// path (the messages quote every path) each break is closed; a path wider
// than the box is still broken where it must be.
QString percorsi_interi(const QString& testo) {
    QString risultato;
    risultato.reserve(testo.size() * 2);
    for (qsizetype i = 0; i < testo.size(); ++i) {
        risultato += testo[i];
        if (testo[i] != QLatin1Char('"') || i + 1 >= testo.size() || testo[i + 1] != QLatin1Char('/')) continue;
        const qsizetype fine = testo.indexOf(QLatin1Char('"'), i + 1);
        if (fine < 0) continue;
        for (qsizetype j = i + 1; j < fine; ++j) {
            if (j > i + 1) risultato += UNISCI;
            risultato += testo[j];
        }
        i = fine - 1;
    }
    return risultato;
}

// The box shows its text with the paths kept whole; a path the user selects
// and copies out of it goes to the clipboard as written, without the joiners.
void metti_testo(QMessageBox& box, const QString& testo) {
    box.setText(percorsi_interi(testo));
    QClipboard* appunti = QGuiApplication::clipboard();
    QObject::connect(appunti, &QClipboard::changed, &box, [appunti](QClipboard::Mode modo) {
        const QString copiato = appunti->text(modo);
        if (copiato.contains(UNISCI)) appunti->setText(QString(copiato).remove(UNISCI), modo);
    });
}

// Drops the keys that reach the box before the keyboard has been quiet for
// QUIETE_PRIMA_DEI_TASTI_MS since the box appeared (or became active, which
// a window manager may do a while later). Each key dropped starts the wait
// again: typing that goes on is still meant for the window below.
class TastiNonLetti : public QObject {
public:
    explicit TastiNonLetti(QMessageBox& box) : QObject(&box), box_(box) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        const QEvent::Type tipo = evento->type();
        if ((tipo == QEvent::Show || tipo == QEvent::WindowActivate) && oggetto == &box_) quiete_.start();
        // The shortcut override comes first: accepted, no Alt letter's
        // shortcut runs for the key.
        if (tipo != QEvent::KeyPress && tipo != QEvent::ShortcutOverride) return false;
        const auto* widget = qobject_cast<QWidget*>(oggetto);
        if (widget == nullptr || widget->window() != &box_) return false;
        if (quiete_.isValid() && quiete_.elapsed() >= QUIETE_PRIMA_DEI_TASTI_MS) return false;
        if (tipo == QEvent::KeyPress) quiete_.start();
        evento->accept();
        return true;
    }

private:
    QMessageBox& box_;
    QElapsedTimer quiete_;
};

int mostra(QWidget* padre, QMessageBox::Icon icona, const QString& titolo, const QString& testo) {
    QMessageBox box(icona, titolo, {}, QMessageBox::NoButton, padre);
    new TastiNonLetti(box);
    metti_testo(box, testo);
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
        : box(QMessageBox::Question, titolo, {}, QMessageBox::NoButton, padre),
          si(box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole)),
          no(box.addButton(QStringLiteral("&No"), QMessageBox::NoRole)) {
        new TastiNonLetti(box);
        metti_testo(box, testo);
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
