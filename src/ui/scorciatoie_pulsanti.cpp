#include "ui/scorciatoie_pulsanti.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTimer>

namespace {

// As long as Qt's own delayed click shows the button pressed.
constexpr int DURATA_PRESSIONE_MS = 100;

// A modal window other than the button's own stands over it.
bool sotto_finestra_modale(const QAbstractButton* pulsante) {
    const QWidget* modale = QApplication::activeModalWidget();
    return modale != nullptr && modale != pulsante->window();
}

void rilascia(QAbstractButton* pulsante) {
    // A click, Space or Enter meanwhile clicked the button, which ended the
    // press: that was this press's click.
    if (!pulsante->isDown()) return;
    pulsante->setDown(false);
    if (!pulsante->isVisible() || !pulsante->isEnabled() || sotto_finestra_modale(pulsante)) return;
    pulsante->click();
}

class ScorciatoiePulsanti : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        // Not pressed, the button lets the release that follows go by.
        if (evento->type() == QEvent::MouseButtonDblClick) return qobject_cast<QPushButton*>(oggetto) != nullptr;
        if (evento->type() != QEvent::Shortcut) return false;
        auto* pulsante = qobject_cast<QAbstractButton*>(oggetto);
        // An ambiguous letter only moves the focus, as Qt does it.
        if (pulsante == nullptr || static_cast<QShortcutEvent*>(evento)->isAmbiguous()) return false;
        if (pulsante->isEnabled() && !pulsante->isDown()) {
            pulsante->setDown(true);
            QTimer::singleShot(DURATA_PRESSIONE_MS, pulsante, [pulsante] { rilascia(pulsante); });
        }
        return true;
    }
};

}  // namespace

void installa_scorciatoie_pulsanti() {
    static QPointer<ScorciatoiePulsanti> filtro;
    if (filtro != nullptr) return;
    filtro = new ScorciatoiePulsanti(qApp);
    qApp->installEventFilter(filtro);
}
