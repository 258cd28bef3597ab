// Every window of the program on a 1366 x 768 laptop screen at the scale
// factors offices use: the window, frame included, lies inside the screen's
// free area and each of its buttons can be reached.
//
// The screen is fixed when the application starts, so each scale runs in a
// child test program on the offscreen platform's configured screen.
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QPushButton>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "common/cartelle.h"
#include "contract_forms/modulo_contratto.h"
#include "shell/crea_contratto.h"
#include "shell/help_intro.h"
#include "shell/intro.h"
#include "sign/form/aiuto_cartellone.h"
#include "sign/form/modulo_cartellone.h"
#include "support/in_vista.h"
#include "support/schermo_portatile.h"
#include "support/tools.h"
#include "ui/casella_testo.h"
#include "ui/messaggi_ui.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* FIGLIO = "CONTRATTO_PROVA_SCHERMO_FINESTRE";

// The window and its visible buttons, in screen coordinates, inside the
// screen's free area.
void controlla_finestra(QWidget* finestra, const std::string& nome) {
    ASSERT_NE(finestra, nullptr) << nome;
    QApplication::processEvents();
    const QRect area = finestra->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(finestra->frameGeometry()))
        << nome << ": " << finestra->frameGeometry().width() << "x" << finestra->frameGeometry().height()
        << " at " << finestra->frameGeometry().x() << "," << finestra->frameGeometry().y() << " on "
        << area.width() << "x" << area.height();
    // The offscreen platform draws no frame; a window cut to the screen
    // leaves room for a usual one, whose title bar a real desktop adds.
    EXPECT_LE(finestra->height() + 34, area.height()) << nome;
    EXPECT_LE(finestra->width() + 8, area.width()) << nome;
    const QRect interno(finestra->mapToGlobal(QPoint(0, 0)), finestra->size());
    for (QPushButton* pulsante : finestra->findChildren<QPushButton*>()) {
        if (!pulsante->isVisibleTo(finestra)) continue;
        // Buttons inside a scroll area count where the window shows them.
        QRect dove(pulsante->mapToGlobal(QPoint(0, 0)), pulsante->size());
        QWidget* vista = pulsante->parentWidget();
        while (vista != finestra && vista != nullptr) {
            dove &= QRect(vista->mapToGlobal(QPoint(0, 0)), vista->size());
            vista = vista->parentWidget();
        }
        EXPECT_FALSE(dove.isEmpty()) << nome << ": " << pulsante->text().toStdString() << " out of sight";
        EXPECT_TRUE(area.contains(dove) && interno.contains(dove)) << nome << ": " << pulsante->text().toStdString();
    }
}

// The sign opens with its titles and its first box in sight and one
// vertical scroll bar, the preview's; where the screen is tall enough for
// both (scale 1) the preview shows the sheet from its top.
void controlla_cartellone(ModuloCartellone* cartellone) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == cartellone->text1(0); }));
    int verticali = 0, orizzontali = 0;
    for (QScrollBar* barra : cartellone->findChildren<QScrollBar*>())
        if (barra->isVisibleTo(cartellone)) ++(barra->orientation() == Qt::Vertical ? verticali : orizzontali);
    EXPECT_EQ(verticali, 1);
    EXPECT_EQ(orizzontali, 0);
    for (QLabel* etichetta : cartellone->findChildren<QLabel*>()) {
        if (etichetta->text() == QStringLiteral("Cartellonistica")) {
            EXPECT_TRUE(testsupport::in_vista(etichetta));
        }
    }
    EXPECT_TRUE(testsupport::in_vista(cartellone->text1(0)));
    EXPECT_TRUE(testsupport::in_vista(cartellone->anteprima())) << "the preview, its bar's ends too";
    if (qgetenv("QT_SCALE_FACTOR") == "1") {
        EXPECT_EQ(cartellone->anteprima()->verticalScrollBar()->value(), 0) << "the sheet from its top";
    }
}

// A window the program opens with exec(): checked while it is up, then closed.
void controlla_modale(const std::function<void()>& apri, const std::string& nome) {
    bool vista = false;
    QTimer::singleShot(0, [&] {
        QWidget* finestra = QApplication::activeModalWidget();
        vista = finestra != nullptr;
        controlla_finestra(finestra, nome);
        if (finestra != nullptr) finestra->close();
    });
    apri();
    EXPECT_TRUE(vista) << nome;
}

void controlla_ogni_finestra() {
    testsupport::TempDir cartella;
    imposta_cartelle(cartella.path(), cartella.path());
    installa_gestore_messaggi();

    Intro menu;
    menu.show();
    controlla_finestra(&menu, "menu");
    controlla_modale([&] { Help_intro(&menu).exec(); }, "aiuto del menu");
    {
        crea_contratto scelta([](const fs::path&, bool) { return true; }, &menu, [] {});
        controlla_modale([&] { scelta.exec(); }, "scelta della cartella");
    }
    menu.hide();

    ModuloContratto contratto(TipoContratto::Comproprietario, [] {});
    ASSERT_TRUE(contratto.carica());
    contratto.show();
    controlla_modale([&] { contratto.aiuto(); }, "aiuto del contratto");
    contratto.hide();

    ASSERT_TRUE(apri_cartellone([] {}));
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* cartellone = qobject_cast<ModuloCartellone*>(w); cartellone && cartellone->isVisible()) {
            controlla_finestra(cartellone, "cartellone");
            controlla_cartellone(cartellone);
            controlla_modale([&] { Help_cartellone(cartellone).exec(); }, "aiuto del cartellone");
            cartellone->close();
        }
    }
    imposta_cartelle({}, {});
}

}  // namespace

TEST(Schermo, EveryWindowAndItsButtonsFitALaptopScreenAtEachScale) {
    if (qEnvironmentVariableIsSet(FIGLIO)) {
        controlla_ogni_finestra();
        return;
    }
    testsupport::TempDir cartella;
    for (const char* scala : {"1", "1.5"}) {
        ASSERT_TRUE(testsupport::passa_su_schermo_portatile(cartella.path(), FIGLIO, scala,
                                                             "Schermo.EveryWindowAndItsButtonsFitALaptopScreenAtEachScale"));
    }
}
