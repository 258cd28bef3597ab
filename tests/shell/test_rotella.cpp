// The mouse wheel over every list and number box of every window: a turn
// over one that does not have the focus scrolls the page and changes nothing.
#include <functional>
#include <memory>

#include <QAbstractScrollArea>
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

// A turn of one notch, down or up, at the middle of `controllo`, delivered
// as the window system does: to the innermost widget under the pointer.
void gira(QWidget* controllo, bool giu) {
    QWidget* finestra = controllo->window();
    const QPoint nella_finestra = controllo->mapTo(finestra, controllo->rect().center());
    QWidget* sotto = finestra->childAt(nella_finestra);
    ASSERT_NE(sotto, nullptr);
    const QPoint locale = sotto->mapFrom(finestra, nella_finestra);
    QWheelEvent evento(locale, sotto->mapToGlobal(locale), QPoint(), QPoint(0, giu ? -120 : 120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
    // From the window system, as QTest sends its key events: only such a
    // turn travels up to the parents when the widget does not take it.
    QSpontaneKeyEvent::setSpontaneous(&evento);
    qApp->notify(sotto, &evento);
}

QString valore(QWidget* controllo) {
    if (auto* combo = qobject_cast<QComboBox*>(controllo))
        return QString::number(combo->currentIndex()) + QLatin1Char('|') + combo->currentText();
    return qobject_cast<QAbstractSpinBox*>(controllo)->text();
}

QScrollArea* pagina_di(QWidget* controllo) {
    for (QWidget* w = controllo->parentWidget(); w != nullptr; w = w->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(w)) return area;
    return nullptr;
}

TEST(Rotella, AWheelTurnOverAnUnfocusedListScrollsThePageAndChangesNothing) {
    testsupport::TempDir cartella;
    imposta_cartelle(cartella.path(), cartella.path());
    const auto precedente = imposta_risponditore([](const FinestraMessaggio&) { return false; });
    testsupport::write_data_file(file_dati(), dati_prova::contratto_completo());

    const auto contratto = [](TipoContratto tipo) {
        auto modulo = std::make_unique<ModuloContratto>(tipo, [] {});
        EXPECT_TRUE(modulo->carica());
        return std::unique_ptr<QWidget>(std::move(modulo));
    };
    const struct {
        const char* nome;
        std::function<std::unique_ptr<QWidget>()> apri;
    } finestre[] = {
        {"contratto dei comproprietari", [&] { return contratto(TipoContratto::Comproprietario); }},
        {"contratto del proprietario", [&] { return contratto(TipoContratto::Proprietario); }},
        {"cartellone",
         [] {
             auto modulo = std::make_unique<ModuloCartellone>([] {});
             EXPECT_TRUE(modulo->carica());
             return std::unique_ptr<QWidget>(std::move(modulo));
         }},
        {"menu", [] { return std::make_unique<Intro>(); }},
        {"scelta della cartella",
         [] { return std::make_unique<crea_contratto>([](const std::filesystem::path&, bool) { return false; }); }},
    };
    int provati = 0;
    for (const auto& f : finestre) {
        const auto finestra = f.apri();
        finestra->resize(900, 500);
        finestra->show();
        QApplication::setActiveWindow(finestra.get());
        std::vector<QWidget*> controlli;
        for (QComboBox* c : finestra->findChildren<QComboBox*>()) controlli.push_back(c);
        for (QAbstractSpinBox* n : finestra->findChildren<QAbstractSpinBox*>()) controlli.push_back(n);
        for (QWidget* controllo : controlli) {
            SCOPED_TRACE(std::string(f.nome) + ": " + controllo->objectName().toStdString());
            QScrollArea* pagina = pagina_di(controllo);
            ASSERT_NE(pagina, nullptr) << "every list lies on a scrolled page";
            pagina->ensureWidgetVisible(controllo, 0, pagina->viewport()->height() / 2);
            finestra->setFocus();
            QApplication::processEvents();
            QScrollBar* barra = pagina->verticalScrollBar();
            const int scorrimento = barra->value();
            const bool giu = scorrimento < barra->maximum();
            const QString prima = valore(controllo);

            gira(controllo, giu);
            EXPECT_EQ(valore(controllo), prima);
            EXPECT_FALSE(controllo->hasFocus()) << "a turn gives no focus";
            EXPECT_NE(barra->value(), scorrimento) << "the page scrolled";

            // With the focus the same turn is the user's choice.
            if (auto* combo = qobject_cast<QComboBox*>(controllo); combo && combo->count() > 1) {
                combo->setFocus();
                gira(combo, combo->currentIndex() < combo->count() - 1);
                EXPECT_NE(valore(combo), prima);
            }
            ++provati;
        }
    }
    EXPECT_EQ(provati, 2 * 9) << "the municipality, the seven titles and the chamber of commerce of each form";
    imposta_risponditore(precedente);
    imposta_cartelle({}, {});
}

}  // namespace
