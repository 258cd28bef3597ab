// A button's Alt letter and a double-click, as the user meets them.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/scorciatoie_pulsanti.h"

// The letter's click lands a moment after the key: only on a button the
// user could still click then, and never when the letter is ambiguous
// (that only moves the focus).
TEST(ScorciatoiePulsanti, AnAltLetterClicksOnlyAButtonStillThereAndNamedAlone) {
    installa_scorciatoie_pulsanti();
    const struct {
        const char* caso;
        bool ambigua;
        void (*intanto)(QWidget& finestra, QPushButton& pulsante);
        int clic;
    } casi[] = {
        {"as it was", false, [](QWidget&, QPushButton&) {}, 1},
        {"window closed", false, [](QWidget& finestra, QPushButton&) { finestra.hide(); }, 0},
        {"button hidden", false, [](QWidget&, QPushButton& pulsante) { pulsante.hide(); }, 0},
        {"button disabled", false, [](QWidget&, QPushButton& pulsante) { pulsante.setEnabled(false); }, 0},
        {"ambiguous letter", true, [](QWidget&, QPushButton&) {}, 0},
    };
    for (const auto& c : casi) {
        QWidget finestra;
        QPushButton salva(QStringLiteral("&Salva"), &finestra);
        QPushButton stampa(c.ambigua ? QStringLiteral("&Stampa") : QStringLiteral("S&tampa"), &finestra);
        stampa.move(0, 40);
        int clic = 0;
        QObject::connect(&salva, &QPushButton::clicked, [&] { ++clic; });
        QObject::connect(&stampa, &QPushButton::clicked, [&] { ++clic; });
        finestra.show();
        QApplication::setActiveWindow(&finestra);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra)) << c.caso;
        stampa.setFocus();
        QTest::keyClick(&stampa, Qt::Key_S, Qt::AltModifier);
        c.intanto(finestra, salva);
        QTest::qWait(250);
        EXPECT_EQ(clic, c.clic) << c.caso;
        if (c.ambigua) {
            EXPECT_TRUE(salva.hasFocus()) << "the letter moved the focus";
        }
    }
}

// A double-click is one click of a push button (its action runs once) but
// two of a check box, which ends as it was, as everywhere else.
TEST(ScorciatoiePulsanti, ADoubleClickIsOneClickOfAPushButtonOnly) {
    installa_scorciatoie_pulsanti();
    QWidget finestra;
    QPushButton pulsante(QStringLiteral("Salva"), &finestra);
    QCheckBox spunta(QStringLiteral("allegato"), &finestra);
    spunta.move(0, 40);
    finestra.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&finestra));
    for (const auto& [bottone, clic_attesi] : {std::pair<QAbstractButton*, int>{&pulsante, 1}, {&spunta, 2}}) {
        int clic = 0;
        const auto connessione = QObject::connect(bottone, &QAbstractButton::clicked, [&] { ++clic; });
        // As a widget gets a double-click: a click, then the second press as
        // a double-click, then its release.
        QTest::mouseClick(bottone, Qt::LeftButton);
        QTest::mouseDClick(bottone, Qt::LeftButton);
        QTest::mouseRelease(bottone, Qt::LeftButton);
        EXPECT_EQ(clic, clic_attesi) << bottone->text().toStdString();
        QObject::disconnect(connessione);
    }
    EXPECT_FALSE(spunta.isChecked());
}
