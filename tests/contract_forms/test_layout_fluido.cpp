// The running text of the contract's sentences: items one after the other
// with their spacing, the next line when the width runs out, each item
// centred in its line's height, hidden ones left out.
#include "contract_forms/layout_fluido.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace {

TEST(LayoutFluido, ItemsRunAlongTheLineAndWrapWhenItIsFull) {
    QWidget frase;
    auto* riga = new LayoutFluido(&frase, 4, 6);
    std::vector<QWidget*> elementi;
    for (const QSize misura : {QSize(30, 20), QSize(9, 9), QSize(40, 10), QSize(26, 24), QSize(50, 30)}) {
        auto* w = new QWidget(&frase);
        w->setFixedSize(misura);
        riga->addWidget(w);
        elementi.push_back(w);
    }
    elementi[1]->hide();
    frase.show();
    // 30 + 4 + 40 + 4 + 26 = 104: the third item just fits a line of 104.
    const struct {
        int larghezza;
        QPoint posti[4];
        int altezza;
    } casi[] = {
        {104, {{0, 2}, {34, 7}, {78, 0}, {0, 30}}, 60},
        {103, {{0, 0}, {34, 5}, {0, 29}, {30, 26}}, 56},
    };
    for (const auto& c : casi) {
        frase.resize(c.larghezza, 200);
        QApplication::processEvents();
        const QWidget* visibili[] = {elementi[0], elementi[2], elementi[3], elementi[4]};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(visibili[i]->pos(), c.posti[i]) << c.larghezza << " item " << i;
        EXPECT_EQ(riga->heightForWidth(c.larghezza), c.altezza) << c.larghezza;
    }
}

}  // namespace
