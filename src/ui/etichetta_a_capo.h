// Word-wrapped labels for pages made of many paragraphs.
//
// A page that holds a hundred wrapped labels is laid out again whenever one
// of them changes, and the layout asks every label for its height at the
// page's width several times. A plain label lays its text out anew for each
// question; these remember the answer until their text or font changes, so
// a key typed into one box costs the measuring of what it changed only.
#pragma once

#include <QLabel>

#include "ui/altezze_per_larghezza.h"

class EtichettaACapo : public QLabel {
    Q_OBJECT
public:
    explicit EtichettaACapo(const QString& testo = QString(), QWidget* padre = nullptr);

    int heightForWidth(int larghezza) const override;

protected:
    void changeEvent(QEvent* evento) override;

private:
    mutable AltezzePerLarghezza misure_;
    mutable QString testo_misurato_;
};

// A wrapped label inside running text (a name repeated in a sentence): it
// asks for its text on one line and wraps only when the line is narrower,
// so a long name never makes the page wider than its window. Its narrowest
// is its longest word. Both are measured once per text: the text changes
// with every key typed into the box it repeats.
class EtichettaInLinea : public EtichettaACapo {
    Q_OBJECT
public:
    using EtichettaACapo::EtichettaACapo;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* evento) override;

private:
    void misura() const;

    mutable QString testo_misurato_;
    mutable bool misurata_ = false;
    mutable QSize riga_;
    mutable QSize parola_;
};
