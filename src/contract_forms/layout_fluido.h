// A layout that places its items one after the other like words on a line
// and wraps them to the next line when the width runs out: the contract's
// sentences with their input boxes read as running text. An item wider than
// the line that can wrap (a word-wrapped label) takes the whole line and
// the height its wrapped text needs.
#pragma once

#include <QLayout>
#include <QList>

#include "ui/altezze_per_larghezza.h"

class LayoutFluido : public QLayout {
public:
    explicit LayoutFluido(QWidget* padre = nullptr, int spazio_orizzontale = 4, int spazio_verticale = 4);
    ~LayoutFluido() override;

    void addItem(QLayoutItem* elemento) override;
    int count() const override;
    QLayoutItem* itemAt(int indice) const override;
    QLayoutItem* takeAt(int indice) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int larghezza) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rettangolo) override;
    void invalidate() override;

private:
    int disponi(const QRect& rettangolo, bool solo_misura) const;

    QList<QLayoutItem*> elementi_;
    int spazio_orizzontale_;
    int spazio_verticale_;
    // The page asks each sentence for its height at the same width many
    // times per change; only a change inside the sentence alters it.
    mutable AltezzePerLarghezza altezze_;
};
