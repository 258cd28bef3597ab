#include "contract_forms/layout_fluido.h"

#include <QWidget>

LayoutFluido::LayoutFluido(QWidget* padre, int spazio_orizzontale, int spazio_verticale)
    : QLayout(padre), spazio_orizzontale_(spazio_orizzontale), spazio_verticale_(spazio_verticale) {
    setContentsMargins(0, 0, 0, 0);
}

LayoutFluido::~LayoutFluido() {
    while (QLayoutItem* elemento = takeAt(0)) delete elemento;
}

void LayoutFluido::addItem(QLayoutItem* elemento) { elementi_.append(elemento); }
int LayoutFluido::count() const { return static_cast<int>(elementi_.size()); }
QLayoutItem* LayoutFluido::itemAt(int indice) const {
    return indice >= 0 && indice < elementi_.size() ? elementi_.at(indice) : nullptr;
}
QLayoutItem* LayoutFluido::takeAt(int indice) {
    return indice >= 0 && indice < elementi_.size() ? elementi_.takeAt(indice) : nullptr;
}
Qt::Orientations LayoutFluido::expandingDirections() const { return {}; }
bool LayoutFluido::hasHeightForWidth() const { return true; }
int LayoutFluido::heightForWidth(int larghezza) const {
    if (const auto altezza = altezze_.cerca(larghezza)) return *altezza;
    const int altezza = disponi(QRect(0, 0, larghezza, 0), true);
    altezze_.ricorda(larghezza, altezza);
    return altezza;
}

void LayoutFluido::invalidate() {
    altezze_.dimentica();
    QLayout::invalidate();
}

QSize LayoutFluido::minimumSize() const {
    QSize misura;
    for (const QLayoutItem* elemento : elementi_) misura = misura.expandedTo(elemento->minimumSize());
    const QMargins margini = contentsMargins();
    return misura + QSize(margini.left() + margini.right(), margini.top() + margini.bottom());
}

QSize LayoutFluido::sizeHint() const { return minimumSize(); }

void LayoutFluido::setGeometry(const QRect& rettangolo) {
    QLayout::setGeometry(rettangolo);
    disponi(rettangolo, false);
}

int LayoutFluido::disponi(const QRect& rettangolo, bool solo_misura) const {
    const QMargins margini = contentsMargins();
    const QRect area = rettangolo.adjusted(margini.left(), margini.top(), -margini.right(), -margini.bottom());
    int x = area.x();
    int y = area.y();
    int altezza_riga = 0;
    // Items of one line share its baseline roughly: each is centred in the
    // line's height, which needs the whole line before placing it.
    QList<QPair<QLayoutItem*, QRect>> riga;
    auto chiudi_riga = [&]() {
        if (!solo_misura) {
            for (const auto& [elemento, posto] : riga) {
                const int dy = (altezza_riga - posto.height()) / 2;
                elemento->setGeometry(posto.translated(0, dy));
            }
        }
        riga.clear();
    };
    for (QLayoutItem* elemento : elementi_) {
        if (elemento->widget() && elemento->widget()->isHidden()) continue;
        QSize s = elemento->sizeHint();
        if (s.width() > area.width()) {
            // An item wider than the line (a wrapping label) takes the line
            // and the height its text needs at that width.
            s.setWidth(area.width());
            if (elemento->hasHeightForWidth()) s.setHeight(elemento->heightForWidth(area.width()));
        }
        if (x > area.x() && x + s.width() > area.right() + 1) {
            chiudi_riga();
            x = area.x();
            y += altezza_riga + spazio_verticale_;
            altezza_riga = 0;
        }
        riga.append({elemento, QRect(QPoint(x, y), s)});
        x += s.width() + spazio_orizzontale_;
        altezza_riga = qMax(altezza_riga, s.height());
    }
    chiudi_riga();
    return y + altezza_riga - rettangolo.y() + margini.bottom();
}
