// The remembered heights of the page's wrapped labels must always be the
// heights a plain wrapped label gives for the same text, font and width.
#include <QLabel>

#include <gtest/gtest.h>

#include "ui/etichetta_a_capo.h"

namespace {

int altezza_di_riferimento(const QString& testo, const QFont& carattere, int margine, int larghezza) {
    QLabel etichetta(testo);
    etichetta.setWordWrap(true);
    etichetta.setFont(carattere);
    etichetta.setContentsMargins(margine, margine, margine, margine);
    return etichetta.heightForWidth(larghezza);
}

}  // namespace

TEST(EtichettaACapo, HeightFollowsTextFontAndWidthAsAPlainLabel) {
    const QString breve = QStringLiteral("Edil Srl");
    const QString lunga = QStringLiteral(
        "Consorzio Stabile Costruzioni Generali e Restauri del Centro Antico e delle Periferie S.c.a r.l.");
    EtichettaACapo etichetta;
    QFont grassetto = etichetta.font();
    grassetto.setBold(true);
    grassetto.setPointSize(grassetto.pointSize() + 6);
    // Each step changes one thing the height depends on, after the old
    // height was asked for at the same widths. The widths start with the
    // one asked last, which a stale memory would still hold.
    const struct {
        const QString* testo;
        bool grassetto;
        int margine;
    } passi[] = {{&breve, false, 0}, {&lunga, false, 0}, {&lunga, true, 0},
                 {&lunga, true, 12}, {&breve, true, 12}, {&lunga, false, 0}};
    for (const auto& passo : passi) {
        etichetta.setText(*passo.testo);
        etichetta.setFont(passo.grassetto ? grassetto : QFont());
        etichetta.setContentsMargins(passo.margine, passo.margine, passo.margine, passo.margine);
        for (int larghezza : {45, 120, 300, 120, 700, 2000, 45}) {
            EXPECT_EQ(etichetta.heightForWidth(larghezza),
                      altezza_di_riferimento(*passo.testo, etichetta.font(), passo.margine, larghezza))
                << passo.testo->toStdString() << " bold " << passo.grassetto << " margin " << passo.margine
                << " at " << larghezza;
        }
    }
}

TEST(EtichettaInLinea, AsksForOneLineAndShrinksToItsLongestWord) {
    EtichettaInLinea etichetta;
    const QFontMetrics metriche(etichetta.font());
    const struct {
        const char* testo;
        const char* parola_piu_lunga;
    } casi[] = {
        {"Edil Srl", "Edil"},
        {"Consorzio Stabile Costruzioni Generali", "Costruzioni"},
        {"Unaparolasola", "Unaparolasola"},
        {"", ""},
    };
    for (const auto& caso : casi) {
        const QString testo = QString::fromUtf8(caso.testo);
        etichetta.setText(testo);
        const int riga = metriche.horizontalAdvance(testo);
        const int parola = metriche.horizontalAdvance(QString::fromUtf8(caso.parola_piu_lunga));
        EXPECT_NEAR(etichetta.sizeHint().width(), riga, 2) << caso.testo;
        EXPECT_NEAR(etichetta.minimumSizeHint().width(), parola, 2) << caso.testo;
        EXPECT_EQ(etichetta.sizeHint().height(), metriche.height()) << caso.testo;
    }
}
