#include "sign/form/modulo_cartellone.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QFile>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QTest>
#include <QToolTip>

#include <deque>

#include "common/cartelle.h"
#include "common/dati.h"
#include "gif89a.h"
#include "sign/disegno_cartellone.h"
#include "support/in_vista.h"
#include "support/tools.h"
#include "ui/casella_testo.h"
#include "ui/gruppo_opzioni.h"
#include "ui/messaggi_ui.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::in_vista;
using testsupport::TempDir;

inline void PrintTo(const QString& testo, std::ostream* os) { *os << '"' << testo.toStdString() << '"'; }

namespace {

class ModuloCartelloneTest : public ::testing::Test {
protected:
    void SetUp() override {
        imposta_cartelle(dir.path(), dir.path());
        installa_gestore_messaggi();
        imposta_risponditore([this](const FinestraMessaggio& f) {
            finestre.push_back(f);
            if (risposte.empty()) return false;
            const bool r = risposte.front();
            risposte.pop_front();
            return r;
        });
        scrivi_contratto();
    }
    void scrivi_contratto() {
        testsupport::write_data_file(file_dati(), {{"INDIRIZZO_CONDOMINIO", "via Toledo 12"},
                                                   {"RAGIONE_SOCIALE_IMPRESA", "Edil Russo"},
                                                   {"NOME_PROGETTISTA", "Anna"},
                                                   {"COGNOME_PROGETTISTA", "Bianchi"}});
    }
    void TearDown() override {
        imposta_risponditore({});
        imposta_cartelle({}, {});
    }

    std::unique_ptr<ModuloCartellone> apri() {
        auto modulo = std::make_unique<ModuloCartellone>([this] { ++ritorni_al_menu; });
        EXPECT_TRUE(modulo->carica());
        modulo->show();
        QApplication::setActiveWindow(modulo.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(modulo.get()));
        return modulo;
    }
    std::vector<QString> titoli() const {
        std::vector<QString> t;
        for (const auto& f : finestre) t.push_back(f.tipo == FinestraMessaggio::Tipo::Domanda ? f.titolo : f.testo);
        return t;
    }

    TempDir dir;
    std::vector<FinestraMessaggio> finestre;
    std::deque<bool> risposte;
    int ritorni_al_menu = 0;
};

QColor sfondo(QWidget* w) { return w->palette().color(QPalette::Base); }

TEST_F(ModuloCartelloneTest, OpensWithTheContractsDataPlaceholdersAndTheFirstArea) {
    auto m = apri();
    EXPECT_EQ(m->text1(INDIRIZZO)->text(), QStringLiteral("via Toledo 12"));
    EXPECT_EQ(m->text1(IMPRESA)->text(), QStringLiteral("Edil Russo"));
    EXPECT_EQ(m->text1(PROGETTISTA)->text(), QStringLiteral(" Anna Bianchi"));
    EXPECT_EQ(m->text1(DATA_INIZIO)->text(), QStringLiteral("gg/mm/aaaa"));
    EXPECT_EQ(m->text1(DATA_FINE)->text(), QStringLiteral("gg/mm/aaaa"));
    EXPECT_EQ(m->option1()->selezionato(), 0);
    EXPECT_EQ(leggi_dato("CARTELLONE_TIPO_CENTRO"), "CSU");
    EXPECT_FALSE(m->cartellone_modificato());
    const char* const voci[NUMERO_CASELLE_CARTELLONE] = {
        "dell'edificio sito in ", "Lavori di", "titolo Edilizio", "Impresa appaltatrice", "data inizio lavori",
        "data fine lavori", "Progettista", "direttore dei lavori", "Coordinatore prog.ne D. leg.vo 81/08 e s.m.i.",
        "Coordinatore esecuzione D. leg.vo 81/08 e s.m.i.", "direttore tecnico di cantiere",
        "Impresa subappaltatrice", "direttore tecnico cantiere Impresa subappaltatrice"};
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i)
        EXPECT_EQ(m->label2(i)->text(), QString::fromUtf8(voci[i])) << "caption " << i;

    // Each option shows its own picture only; choosing one is a change.
    const FiguraCartellone aree[3] = {FiguraCartellone::CentroCSU, FiguraCartellone::CentroCSP,
                                      FiguraCartellone::CentroQP};
    for (int i : {2, 1, 0}) {
        m->option1()->pulsante(i)->click();
        for (int j = 0; j < 3; ++j) EXPECT_EQ(m->image3(j)->isVisible(), i == j) << i << " " << j;
        const QImage figura = m->image3(i)->pixmap().toImage();
        const Rgb corpo = colori_figura(aree[i])[CORPO];
        EXPECT_EQ(figura.pixelColor(figura.width() - 2, figura.height() - 2), QColor(corpo.r, corpo.g, corpo.b));
    }
    EXPECT_TRUE(m->cartellone_modificato());
}

// Enter, the keypad's Enter and Tab all move through the boxes in reading
// order (the left column, with each right-hand box after the left one at
// its height), always to a box in sight, and past the last box on to a
// control the user can see.
TEST_F(ModuloCartelloneTest, EnterKeypadEnterAndTabFollowTheReadingOrderInSight) {
    auto m = apri();
    const int ordine[] = {0, 1, 2, 3, 8, 4, 9, 5, 10, 6, 11, 7, 12};
    const struct {
        Qt::Key tasto;
        Qt::KeyboardModifiers modificatori;
    } tasti[] = {{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Tab, Qt::NoModifier}};
    for (const auto& t : tasti) {
        SCOPED_TRACE(QKeySequence(t.tasto).toString().toStdString());
        m->anteprima()->verticalScrollBar()->setValue(0);
        m->text1(0)->setFocus();
        for (std::size_t i = 1; i <= std::size(ordine); ++i) {
            QTest::keyClick(QApplication::focusWidget(), t.tasto, t.modificatori);
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            if (i < std::size(ordine)) {
                EXPECT_EQ(focus, m->text1(ordine[i])) << "step " << i;
            } else {
                EXPECT_EQ(qobject_cast<QAbstractScrollArea*>(focus), nullptr) << "no invisible stop";
            }
            EXPECT_TRUE(in_vista(focus)) << "step " << i;
        }
    }
    // Tab round the whole window, back to the first box: every stop is a
    // control the user sees.
    for (int i = 0; i < 40 && QApplication::focusWidget() != m->text1(0); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(qobject_cast<QAbstractScrollArea*>(QApplication::focusWidget()), nullptr) << "no invisible stop";
    }
    EXPECT_EQ(QApplication::focusWidget(), m->text1(0));
    EXPECT_EQ(m->text1(0)->text(), QStringLiteral("via Toledo 12")) << "Enter types nothing";
}

// A refused character is told in a note at its box, in both columns.
TEST_F(ModuloCartelloneTest, ARefusedCharacterIsToldAtItsBox) {
    auto m = apri();
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i) {
        SCOPED_TRACE(i);
        CasellaTesto* casella = m->text1(i);
        casella->setFocus();
        QToolTip::hideText();
        QTest::sendKeyEvent(QTest::Click, casella, Qt::Key_unknown, QString::fromUtf8("\u2713"), Qt::NoModifier);
        ASSERT_TRUE(QToolTip::isVisible());
        QWidget* nota = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible()) nota = w;
        ASSERT_NE(nota, nullptr);
        const QRect dove(casella->mapToGlobal(QPoint(0, 0)), casella->size());
        const QRect rettangolo = nota->frameGeometry(), schermo = nota->screen()->geometry();
        EXPECT_LE(std::abs(rettangolo.top() - dove.bottom()), 24) << "just under the box";
        EXPECT_TRUE(schermo.contains(rettangolo)) << "whole on the screen";
        // From the box's left edge, or moved left only as far as the
        // screen's right edge asks.
        EXPECT_TRUE(std::abs(rettangolo.left() - dove.left()) <= 4 ||
                    (rettangolo.left() < dove.left() && rettangolo.right() >= schermo.right() - 24))
            << rettangolo.left() << "-" << rettangolo.right() << " for a box at " << dove.left() << "-" << dove.right()
            << " on a screen to " << schermo.right();
    }
    QToolTip::hideText();
}

TEST_F(ModuloCartelloneTest, DateBoxesClearThePlaceholderFilterKeysAndShowTheFocus) {
    auto m = apri();
    CasellaTesto* data = m->text1(DATA_INIZIO);
    EXPECT_EQ(sfondo(data), QColor(Qt::white));
    data->setFocus();
    EXPECT_EQ(data->text(), QString());
    EXPECT_EQ(sfondo(data), QColor(0xC0, 0xFF, 0xFF));
    EXPECT_TRUE(m->cartellone_modificato()) << "emptying the placeholder is a change";
    QTest::keyClicks(data, "15a03x20101999");
    EXPECT_EQ(data->text(), QStringLiteral("15/03/2010"));
    m->text1(DATA_FINE)->setFocus();
    EXPECT_EQ(sfondo(data), QColor(Qt::white));
    EXPECT_EQ(m->text1(DATA_FINE)->text(), QString());

    // A date emptied and saved is no date; the placeholder comes back.
    m->text1(DATA_FINE)->clear();
    risposte = {true};
    ASSERT_TRUE(m->salva());
    EXPECT_EQ(leggi_dato("CARTELLONE_DATA_FINE_LAVORI"), "0");
    EXPECT_EQ(leggi_dato("CARTELLONE_DATA_INIZIO_LAVORI"), "20100315");
    EXPECT_FALSE(m->cartellone_modificato()) << "a completed save clears the flag";
    EXPECT_EQ(apri()->text1(DATA_FINE)->text(), QStringLiteral("gg/mm/aaaa"));

    // Typed through the keys, only the two date boxes filter (a date of ten
    // characters); every other box takes any text up to 255 bytes.
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i) {
        CasellaTesto* casella = m->text1(i);
        casella->clear();
        QTest::keyClicks(casella, QStringLiteral("x") + QString(300, QLatin1Char('1')));
        const bool data = i == DATA_INIZIO || i == DATA_FINE;
        const QString atteso =
            data ? QStringLiteral("11/11/1111") : QStringLiteral("x") + QString(254, QLatin1Char('1'));
        EXPECT_EQ(casella->text(), atteso) << "box " << i;
    }
}

// "&Menu", "&Salva" and the close box, with the questions they ask
// and what each answer leaves behind.
TEST_F(ModuloCartelloneTest, MenuSaveAndPrintAskAndKeepTheUsersWork) {
    const QString MENU = QStringLiteral("Menu"), SOVRASCRIVERE = QStringLiteral("Sovrascrivere"),
                  DATA_ERRATA = QStringLiteral("La Data di inizio lavori è errata!");
    const struct {
        const char* caso;
        const char* inizio;  // typed in the start-date box; nullptr: nothing changed
        std::deque<bool> risposte;
        bool chiudi;  // the close box instead of "&Menu"
        std::vector<QString> finestre;
        bool esce, salvato;
    } casi[] = {
        {"unchanged", nullptr, {}, false, {}, true, false},
        {"No", "01/02/2011", {false}, false, {MENU}, true, false},
        {"Yes, Yes", "01/02/2011", {true, true}, false, {MENU, SOVRASCRIVERE}, true, true},
        {"Yes, No", "01/02/2011", {true, false}, false, {MENU, SOVRASCRIVERE}, false, false},
        {"Yes, bad date", "31/02/2011", {true, true}, false, {MENU, SOVRASCRIVERE, DATA_ERRATA}, false, false},
        {"close box, No", "01/02/2011", {false}, true, {MENU}, true, false},
        {"close box, bad date", "31/02/2011", {true, true}, true, {MENU, SOVRASCRIVERE, DATA_ERRATA}, false, false},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        scrivi_contratto();
        auto m = apri();
        const std::string prima = read_file(file_dati());
        finestre.clear();
        ritorni_al_menu = 0;
        if (c.inizio) m->text1(DATA_INIZIO)->setText(QString::fromLatin1(c.inizio));
        risposte = c.risposte;
        if (c.chiudi)
            m->close();
        else
            QTest::mouseClick(m->command1(0), Qt::LeftButton);
        EXPECT_EQ(titoli(), c.finestre);
        for (const auto& f : finestre) {
            if (f.titolo == SOVRASCRIVERE) {
                EXPECT_EQ(f.predefinita, Risposta::No) << "Enter alone keeps the store";
            }
        }
        if (c.finestre.size() == 3) {
            EXPECT_EQ(QApplication::focusWidget(), m->text1(DATA_INIZIO)) << "sent to the refused date";
        }
        EXPECT_EQ(ritorni_al_menu, c.esce ? 1 : 0);
        EXPECT_EQ(m->isVisible(), !c.esce);
        EXPECT_EQ(read_file(file_dati()) != prima, c.salvato);
        if (!c.esce) {
            EXPECT_EQ(m->text1(DATA_INIZIO)->text(), QString::fromLatin1(c.inizio)) << "nothing lost";
        }
        if (c.salvato) {
            EXPECT_EQ(leggi_dato("CARTELLONE_DATA_INIZIO_LAVORI"), "20110201");
        }
        EXPECT_EQ(m->command1(1)->text(), QStringLiteral("&Salva"));
        EXPECT_EQ(m->command1(3)->text(), QStringLiteral("&Aiuto"));
    }
}

// "&Stampa" writes the poster of what is stored beside the data file and
// shows it; it neither saves nor asks.
TEST_F(ModuloCartelloneTest, StampaWritesThePosterOfTheStoredEntriesAndShowsIt) {
    const fs::path programma = dir / "programma", strumenti = dir / "bin", mostrato = dir / "mostrato";
    fs::create_directories(programma);
    fs::create_directories(strumenti);
    for (const FiguraCartellone f : FIGURE_CARTELLONE)
        testsupport::write_file(programma / std::string(nome_figura(f)),
                                codifica_gif89a(disegna_figura(f, larghezza_figura(f), altezza_figura(f))));
    imposta_cartelle(programma, dir.path());
    // A stand-in for the desktop's viewer that notes what it was asked to show.
    testsupport::write_file(strumenti / "xdg-open",
                            "#!/bin/sh\nprintf %s \"$1\" > " + testsupport::shell_quote(mostrato.string()) + "\n");
    fs::permissions(strumenti / "xdg-open", fs::perms::owner_all);
    const QByteArray path_prima = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(QString::fromStdString(strumenti.string())) + ":" + path_prima);

    auto m = apri();
    m->text1(TIPOLOGIA_LAVORI)->setText(QStringLiteral("facciate"));
    const std::string prima = read_file(file_dati());
    QTest::mouseClick(m->command1(2), Qt::LeftButton);
    const bool visto = QTest::qWaitFor([&] { return fs::exists(mostrato); });
    qputenv("PATH", path_prima);
    ASSERT_TRUE(visto) << "the poster was shown";
    EXPECT_EQ(m->command1(2)->text(), QStringLiteral("&Stampa"));
    EXPECT_EQ(read_file(mostrato), (dir / NOME_CARTELLONE).string());
    EXPECT_FALSE(fs::exists(programma / NOME_CARTELLONE));
    EXPECT_TRUE(finestre.empty());
    EXPECT_EQ(read_file(file_dati()), prima);
    REQUIRE_TOOL("pdftotext");
    const auto testo =
        testsupport::run_command("pdftotext " + testsupport::shell_quote((dir / NOME_CARTELLONE).string()) + " -");
    EXPECT_NE(testo.out.find("via Toledo 12"), std::string::npos) << testo.out;
    EXPECT_EQ(testo.out.find("facciate"), std::string::npos) << "what is typed is not saved, nor printed";
}

}  // namespace
