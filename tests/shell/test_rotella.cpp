// A wheel turn over a list or number box, with the focus or without, in
// every window: it scrolls the page and changes nothing. An open drop-down
// list still scrolls its own items.
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "common/cartelle.h"
#include "contract_forms/modulo_contratto.h"
#include "dati_contratto.h"
#include "shell/crea_contratto.h"
#include "shell/intro.h"
#include "sign/form/modulo_cartellone.h"
#include "support/tools.h"
#include "ui/messaggi_ui.h"

namespace {

// One notch at `punto` of `sotto`, as the window system delivers it: to the
// innermost widget under the pointer, and on up while not taken.
void gira_su(QWidget* sotto, QPoint locale, bool giu) {
    QWheelEvent evento(locale, sotto->mapToGlobal(locale), QPoint(), QPoint(0, giu ? -120 : 120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&evento);
    qApp->notify(sotto, &evento);
}

// One notch at the middle of `controllo`.
void gira(QWidget* controllo, bool giu) {
    QWidget* finestra = controllo->window();
    const QPoint punto = controllo->mapTo(finestra, controllo->rect().center());
    QWidget* sotto = finestra->childAt(punto);
    gira_su(sotto, sotto->mapFrom(finestra, punto), giu);
}

QString valore(QWidget* controllo) {
    if (auto* combo = qobject_cast<QComboBox*>(controllo)) return QString::number(combo->currentIndex()) + combo->currentText();
    return qobject_cast<QAbstractSpinBox*>(controllo)->text();
}

TEST(Rotella, AWheelTurnOverAListScrollsThePageAndChangesNothingFocusedOrNot) {
    testsupport::TempDir cartella;
    imposta_cartelle(cartella.path(), cartella.path());
    testsupport::write_data_file(file_dati(), dati_prova::contratto_completo());
    const auto contratto = [](TipoContratto tipo) -> QWidget* {
        auto* modulo = new ModuloContratto(tipo, [] {});
        modulo->carica();
        return modulo;
    };
    const std::function<QWidget*()> finestre[] = {
        [&] { return contratto(TipoContratto::Comproprietario); }, [&] { return contratto(TipoContratto::Proprietario); },
        [] { return new ModuloCartellone([] {}); }, [] { return new Intro; },
        [] { return new crea_contratto([](const std::filesystem::path&, bool) { return false; }); }};
    int provati = 0;
    for (const auto& apri : finestre) {
        const std::unique_ptr<QWidget> finestra(apri());
        finestra->resize(900, 500);
        finestra->show();
        QApplication::setActiveWindow(finestra.get());
        QList<QWidget*> controlli;
        for (QComboBox* c : finestra->findChildren<QComboBox*>()) controlli << c;
        for (QAbstractSpinBox* n : finestra->findChildren<QAbstractSpinBox*>()) controlli << n;
        for (QWidget* controllo : controlli) {
            SCOPED_TRACE(controllo->objectName().toStdString());
            QScrollArea* pagina = nullptr;
            for (QWidget* w = controllo; w != nullptr && pagina == nullptr; w = w->parentWidget())
                pagina = qobject_cast<QScrollArea*>(w);
            ASSERT_NE(pagina, nullptr) << "every list lies on a scrolled page";
            // As the user meets it: the list chosen with a click and closed
            // (it keeps the focus), or never touched.
            for (const bool con_focus : {false, true}) {
                SCOPED_TRACE(con_focus ? "focused" : "not focused");
                pagina->ensureWidgetVisible(controllo, 0, pagina->viewport()->height() / 2);
                if (con_focus)
                    controllo->setFocus(Qt::MouseFocusReason);
                else
                    finestra->setFocus();
                const int scorrimento = pagina->verticalScrollBar()->value();
                const QString prima = valore(controllo);
                gira(controllo, scorrimento < pagina->verticalScrollBar()->maximum());
                EXPECT_EQ(valore(controllo), prima);
                EXPECT_EQ(controllo->hasFocus(), con_focus) << "a turn moves no focus";
                EXPECT_NE(pagina->verticalScrollBar()->value(), scorrimento) << "the page scrolled";
            }
            ++provati;
        }
        // An open drop-down list scrolls its items, and choosing stays the user's.
        if (auto* province = finestra->findChild<QComboBox*>(QStringLiteral("Combo3"))) {
            const int scelta = province->currentIndex();
            province->showPopup();
            QAbstractItemView* voci = province->view();
            ASSERT_TRUE(voci->isVisible());
            voci->scrollToTop();
            gira_su(voci->viewport(), voci->viewport()->rect().center(), true);
            EXPECT_GT(voci->verticalScrollBar()->value(), 0);
            province->hidePopup();
            EXPECT_EQ(province->currentIndex(), scelta);
        }
    }
    EXPECT_EQ(provati, 2 * 9) << "the municipality, the seven titles and the chamber of commerce of each form";
    imposta_cartelle({}, {});
}

}  // namespace
