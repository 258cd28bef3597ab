#include "ui/rotella.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace {

class AllaPagina : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() != QEvent::Wheel) return false;
        // Not taken: the application hands the turn on to the parents, up
        // to the scroll area of the page.
        evento->ignore();
        return true;
    }
};

QObject* filtro() {
    static AllaPagina* unico = new AllaPagina;
    return unico;
}

void proteggi(QWidget* controllo) {
    // Qt's default for these, WheelFocus, would give the focus on the turn.
    controllo->setFocusPolicy(Qt::StrongFocus);
    controllo->installEventFilter(filtro());
}

}  // namespace

void rotella_alla_pagina(QWidget* finestra) {
    for (QComboBox* combo : finestra->findChildren<QComboBox*>()) proteggi(combo);
    for (QAbstractSpinBox* numero : finestra->findChildren<QAbstractSpinBox*>()) proteggi(numero);
}
