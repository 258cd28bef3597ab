// A layout that places its items one after the other like words on a line
// and wraps them to the next line when the width runs out: the contract's
// sentences with their input boxes read as running text.
#pragma once

#include <QLayout>
#include <QList>

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

private:
    int disponi(const QRect& rettangolo, bool solo_misura) const;

    QList<QLayoutItem*> elementi_;
    int spazio_orizzontale_;
    int spazio_verticale_;
};
