#include "ui/etichetta_a_capo.h"

#include <algorithm>

#include <QEvent>
#include <QFontMetrics>
#include <QTextLayout>
#include <QtMath>

EtichettaACapo::EtichettaACapo(const QString& testo, QWidget* padre) : QLabel(testo, padre) { setWordWrap(true); }

int EtichettaACapo::heightForWidth(int larghezza) const {
    // QLabel::setText is not virtual: the text is compared instead, which
    // costs far less than one layout of it.
    if (text() != testo_misurato_) {
        misure_.dimentica();
        testo_misurato_ = text();
    }
    if (const auto altezza = misure_.cerca(larghezza)) return *altezza;
    const int altezza = QLabel::heightForWidth(larghezza);
    misure_.ricorda(larghezza, altezza);
    return altezza;
}

void EtichettaACapo::changeEvent(QEvent* evento) {
    switch (evento->type()) {
        case QEvent::FontChange:
        case QEvent::StyleChange:
        case QEvent::ContentsRectChange:
            misure_.dimentica();
            break;
        default:
            break;
    }
    QLabel::changeEvent(evento);
}

void EtichettaInLinea::misura() const {
    if (misurata_ && text() == testo_misurato_) return;
    // One shaping of the whole line gives both its width and each word's.
    const QString testo = text();
    QTextLayout impaginazione(testo, font());
    impaginazione.beginLayout();
    QTextLine riga = impaginazione.createLine();
    int piu_lunga = 0;
    int larghezza = 0;
    if (riga.isValid()) {
        riga.setLineWidth(QWIDGETSIZE_MAX);
        larghezza = qCeil(riga.naturalTextWidth());
        qsizetype inizio = -1;
        for (qsizetype i = 0; i <= testo.size(); ++i) {
            const bool spazio = i == testo.size() || testo.at(i).isSpace();
            if (!spazio && inizio < 0) inizio = i;
            if (spazio && inizio >= 0) {
                piu_lunga = std::max(piu_lunga, qCeil(riga.cursorToX(static_cast<int>(i)) -
                                                      riga.cursorToX(static_cast<int>(inizio))));
                inizio = -1;
            }
        }
    }
    impaginazione.endLayout();
    const int altezza = fontMetrics().height();
    const QMargins m = contentsMargins();
    const QSize bordo(m.left() + m.right() + 2 * margin(), m.top() + m.bottom() + 2 * margin());
    riga_ = QSize(larghezza, altezza) + bordo;
    parola_ = QSize(piu_lunga, altezza) + bordo;
    testo_misurato_ = text();
    misurata_ = true;
}

QSize EtichettaInLinea::sizeHint() const {
    misura();
    return riga_;
}

QSize EtichettaInLinea::minimumSizeHint() const {
    misura();
    return parola_;
}

void EtichettaInLinea::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::FontChange || evento->type() == QEvent::StyleChange) misurata_ = false;
    EtichettaACapo::changeEvent(evento);
}
