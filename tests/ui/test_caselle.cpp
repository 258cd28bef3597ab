// The text boxes through real key events, clipboard pastes and drops.
#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include "ui/casella_testo.h"
#include "ui/controlli.h"
#include "ui/testo.h"

namespace {

// Types one character carrying its own text (keyClicks takes ASCII only).
void digita_carattere(QWidget* w, const QString& carattere) {
    QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, carattere, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, carattere, Qt::NoModifier);
}

std::string testo(const CasellaTesto& c) { return c.testo_cp1252().value_or("<non cp1252>"); }
std::string testo(const CasellaTestoMultiriga& c) { return c.testo_cp1252().value_or("<non cp1252>"); }

void incolla_con_tastiera(QWidget* w, const QString& appunti) {
    QApplication::clipboard()->setText(appunti);
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
}

}  // namespace

TEST(CasellaTesto, TypingKeepsOnlyWhatTheClassAllows) {
    struct Caso {
        const char* classe;
        const char* digitato;
        const char* atteso;
    };
    const Caso casi[] = {
        {"MA", "Rossi 2x", "Rossi x"},
        {"MANI", "RSS#80a!", "RSS80a"},
        {"NI", "12a3.4", "1234"},
        {"PI", "0123 456", "0123456"},
        {"ND2", "125.000,50", "125.000,50"},
        {"ND2", "3.500", "3.500"},
        {"ND2", "0,5", "0,5"},
        {"ND2", "1200,567", "1200,56"},
        {"ND1", "3,25", "3,2"},
        {"DATA", "12052020", "12/05/2020"},
        {"DATA", "1/2/19999", "1/2/1999"},
        {"ORA", "2530", "23"},
        {"TEL", "+39 081-55a", "+39 081-55"},
        {"", "tutto |va| bene!", "tutto |va| bene!"},
    };
    for (const Caso& caso : casi) {
        CasellaTesto casella(caso.classe);
        QTest::keyClicks(&casella, QString::fromLatin1(caso.digitato));
        EXPECT_EQ(testo(casella), caso.atteso) << "classe " << caso.classe;
    }
}

TEST(CasellaTesto, AccentedLettersAndTheEuroGoInOtherScriptsStayOut) {
    CasellaTesto nome("MA");
    for (const char* c : {"N", "i", "c", "c", "o", "l", "ò", "1", "É"}) digita_carattere(&nome, QString::fromUtf8(c));
    EXPECT_EQ(testo(nome), "Niccol\xF2\xC9");

    CasellaTesto libero("");
    for (const char* c : {"€", "字", "’", "Ω", "a"}) digita_carattere(&libero, QString::fromUtf8(c));
    EXPECT_EQ(testo(libero), "\x80\x92" "a");
}

TEST(CasellaTesto, EditingKeysPassInEveryClass) {
    CasellaTesto data("DATA");
    QTest::keyClicks(&data, "1205");
    QTest::keyClick(&data, Qt::Key_Backspace);
    QTest::keyClick(&data, Qt::Key_Backspace);
    EXPECT_EQ(testo(data), "12/");
    QTest::keyClick(&data, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&data, Qt::Key_Delete);
    EXPECT_EQ(testo(data), "");
}

TEST(CasellaTesto, PasteIsCheckedAsAWhole) {
    CasellaTesto cifre("NI");
    QTest::keyClicks(&cifre, "12");
    incolla_con_tastiera(&cifre, QStringLiteral("34"));
    EXPECT_EQ(testo(cifre), "1234");
    incolla_con_tastiera(&cifre, QStringLiteral("5x6"));
    EXPECT_EQ(testo(cifre), "1234") << "a paste with a letter is refused whole";

    CasellaTesto data("DATA");
    incolla_con_tastiera(&data, QStringLiteral("31/12/2024\n"));
    EXPECT_EQ(testo(data), "31/12/2024");
    data.selectAll();
    incolla_con_tastiera(&data, QStringLiteral("31-12-2024"));
    EXPECT_EQ(testo(data), "31/12/2024");

    CasellaTesto decimale("ND2");
    incolla_con_tastiera(&decimale, QStringLiteral("1,234"));
    EXPECT_EQ(testo(decimale), "") << "three decimals could not have been typed";

    CasellaTesto libero("");
    incolla_con_tastiera(&libero, QStringLiteral("prezzo 5€ ✓"));
    EXPECT_EQ(testo(libero), "") << "a character outside the code page refuses the paste";
    incolla_con_tastiera(&libero, QStringLiteral("prezzo 5€"));
    EXPECT_EQ(testo(libero), "prezzo 5\x80");
    libero.clear();
    incolla_con_tastiera(&libero, QStringLiteral("via Roma\r\n1\n"));
    EXPECT_EQ(testo(libero), "via Roma 1") << "a line break inside is one blank";
}

TEST(CasellaTesto, ARefusalSaysWhyBesideTheBox) {
    CasellaTesto libero("");
    libero.show();
    QToolTip::hideText();
    digita_carattere(&libero, QString::fromUtf8("字"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8("\u00AB字\u00BB non può essere usato"))) << QToolTip::text().toStdString();

    QToolTip::hideText();
    incolla_con_tastiera(&libero, QString::fromUtf8("ok ✓ Ω ✓ 字"));
    EXPECT_EQ(testo(libero), "");
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("Testo non inserito: i caratteri")));
    EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8("\u00AB✓\u00BB, \u00ABΩ\u00BB, \u00AB字\u00BB non possono")))
        << "each character named once: " << QToolTip::text().toStdString();

    // Every class says what it takes (a tax code takes no marks).
    const std::pair<const char*, const char*> classi[] = {
        {"MA", "solo lettere, spazi, apostrofi e trattini"},
        {"MANI", "solo lettere e cifre, senza spazi"},
        {"NI", "solo cifre"},
        {"PI", "solo cifre"},
        {"DATA", "una data nella forma gg/mm/aaaa"},
        {"ORA", "un'ora nella forma hh:mm"},
        {"TEL", "un numero di telefono"},
        {"ND2", "un numero come 1.250,50: il punto solo tra gruppi di tre cifre, la virgola prima dei decimali, "
                "al più 2 decimali"},
    };
    for (const auto& [classe, accetta] : classi) {
        CasellaTesto codice(classe);
        codice.show();
        incolla_con_tastiera(&codice, QStringLiteral("RSS-MRA 80A01"));
        EXPECT_EQ(testo(codice), "") << classe;
        EXPECT_EQ(QToolTip::text(), QStringLiteral("Testo non inserito: questa casella accetta ") +
                                        QString::fromUtf8(accetta) + QLatin1Char('.'))
            << classe;
    }

    CasellaTestoMultiriga corpo("", 1020);
    corpo.show();
    QApplication::clipboard()->setText(QString::fromUtf8("riga\n✓"));
    corpo.paste();
    EXPECT_EQ(testo(corpo), "");
    EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8("\u00AB✓\u00BB"))) << QToolTip::text().toStdString();
    QToolTip::hideText();
}

TEST(CasellaTesto, PasteReplacesTheSelectionAtTheCursor) {
    CasellaTesto libero("");
    libero.imposta_testo_cp1252("via Roma 1");
    libero.setSelection(4, 4);
    incolla_con_tastiera(&libero, QStringLiteral("Toledo"));
    EXPECT_EQ(testo(libero), "via Toledo 1");
    EXPECT_EQ(libero.cursorPosition(), 10);
}

TEST(CasellaTesto, ContextMenuPasteGoesThroughTheCheck) {
    struct Sonda : CasellaTesto {
        using CasellaTesto::CasellaTesto;
        using CasellaTesto::contextMenuEvent;
    };
    Sonda cifre("NI");
    cifre.show();
    // The menu enables its paste only when the clipboard holds text.
    QApplication::clipboard()->setText(QStringLiteral("12a"));
    QContextMenuEvent evento(QContextMenuEvent::Mouse, QPoint(5, 5), cifre.mapToGlobal(QPoint(5, 5)));
    cifre.contextMenuEvent(&evento);
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m != nullptr && m->isVisible()) menu = m;
    ASSERT_NE(menu, nullptr);
    QAction* incolla = nullptr;
    for (QAction* a : menu->actions())
        if (a->objectName() == QLatin1String("edit-paste") || a->text().startsWith(QLineEdit::tr("&Paste")))
            incolla = a;
    ASSERT_NE(incolla, nullptr);
    ASSERT_TRUE(incolla->isEnabled());
    incolla->trigger();
    EXPECT_EQ(testo(cifre), "") << "the menu's paste is checked like Ctrl+V";
    QApplication::clipboard()->setText(QStringLiteral("12"));
    incolla->trigger();
    EXPECT_EQ(testo(cifre), "12");
    menu->close();
}

TEST(CasellaTesto, DropIsCheckedAsAWhole) {
    // Qt delivers a drop only inside a drag session; the handler is what matters.
    struct Sonda : CasellaTesto {
        using CasellaTesto::CasellaTesto;
        using CasellaTesto::dropEvent;
    };
    Sonda cifre("NI");
    cifre.resize(200, 30);
    cifre.show();
    auto prova = [&](const QString& testo_trascinato) {
        QMimeData dati;
        dati.setText(testo_trascinato);
        QDropEvent evento(QPointF(150, 10), Qt::CopyAction, &dati, Qt::LeftButton, Qt::NoModifier);
        evento.setAccepted(false);
        cifre.dropEvent(&evento);
        return evento.isAccepted();
    };
    EXPECT_FALSE(prova(QStringLiteral("12a")));
    EXPECT_EQ(testo(cifre), "");
    EXPECT_TRUE(prova(QStringLiteral("123")));
    EXPECT_EQ(testo(cifre), "123");
}

TEST(CasellaTesto, LimitCutsTypingAndPastesButNotCode) {
    CasellaTesto provincia("MA", 2);
    QTest::keyClicks(&provincia, "NAP");
    EXPECT_EQ(testo(provincia), "NA");
    provincia.selectAll();
    QTest::keyClicks(&provincia, "RM");
    EXPECT_EQ(testo(provincia), "RM") << "typing over a selection frees its room";

    CasellaTesto titolo("", 5);
    incolla_con_tastiera(&titolo, QStringLiteral("Articolo"));
    EXPECT_EQ(testo(titolo), "Artic");
    titolo.setSelection(1, 2);
    incolla_con_tastiera(&titolo, QStringLiteral("XYZ"));
    EXPECT_EQ(testo(titolo), "AXYic") << "a paste over a selection has its room";

    CasellaTesto caricata("", 3);
    imposta_testo(&caricata, std::string("valore caricato lungo"));
    EXPECT_EQ(testo(caricata), "valore caricato lungo");
    QTest::keyClicks(&caricata, "x");
    EXPECT_EQ(testo(caricata), "valore caricato lungo");
}

TEST(CasellaTesto, ImpostaTestoTakesTheValueAsGivenOrEmpty) {
    CasellaTesto casella("");
    imposta_testo(&casella, std::string("  due  spazi  "));
    EXPECT_EQ(testo(casella), "  due  spazi  ");
    imposta_testo(&casella, std::string("   "));
    EXPECT_EQ(testo(casella), "");
    imposta_testo(&casella, std::string("x"));
    imposta_testo(&casella, std::nullopt);
    EXPECT_EQ(testo(casella), "");
}

TEST(CasellaTestoMultiriga, LineBreaksAreCrLfAndCountTwo) {
    CasellaTestoMultiriga corpo("", 7);
    corpo.show();
    QTest::keyClicks(&corpo, "ab");
    QTest::keyClick(&corpo, Qt::Key_Return);
    QTest::keyClicks(&corpo, "cd");
    EXPECT_EQ(testo(corpo), "ab\r\ncd");
    EXPECT_EQ(corpo.lunghezza_byte(), 6);
    QTest::keyClick(&corpo, Qt::Key_Return);
    EXPECT_EQ(testo(corpo), "ab\r\ncd") << "a line break needs two bytes of room";
    QTest::keyClicks(&corpo, "ef");
    EXPECT_EQ(testo(corpo), "ab\r\ncde");
}

TEST(CasellaTestoMultiriga, StoredTextComesBackByteForByte) {
    CasellaTestoMultiriga corpo("", 1020);
    const std::string originale =
        "  inizio con spazi | barra\r\n\r\nriga vuota sopra, \xE0\xE8\xEC\xF2\xF9 \x80\xA0nbsp  \r\nfine  ";
    imposta_testo(&corpo, originale);
    EXPECT_EQ(testo(corpo), originale);
    // Line breaks of other origins are stored as CR LF too.
    corpo.imposta_testo_cp1252("a\nb\rc");
    EXPECT_EQ(testo(corpo), "a\r\nb\r\nc");
}

TEST(CasellaTestoMultiriga, PasteIsCutAtTheLimitWithoutSplittingALineBreak) {
    CasellaTestoMultiriga corpo("", 5);
    corpo.show();
    QApplication::clipboard()->setText(QStringLiteral("abcd\nef"));
    corpo.paste();
    EXPECT_EQ(testo(corpo), "abcd");
    corpo.clear();
    QApplication::clipboard()->setText(QStringLiteral("ab\ncdef"));
    corpo.paste();
    EXPECT_EQ(testo(corpo), "ab\r\nc");
    corpo.clear();
    QApplication::clipboard()->setText(QStringLiteral("ok ✓"));
    corpo.paste();
    EXPECT_EQ(testo(corpo), "");
    // A line break pasted as CR LF is one; pasted over a selected break, a
    // text has the break's two bytes of room.
    corpo.clear();
    QApplication::clipboard()->setText(QStringLiteral("a\r\nb"));
    corpo.paste();
    EXPECT_EQ(testo(corpo), "a\r\nb");
    corpo.imposta_testo_cp1252("a\r\nbc");
    QTextCursor interruzione = corpo.textCursor();
    interruzione.setPosition(1);
    interruzione.setPosition(2, QTextCursor::KeepAnchor);
    corpo.setTextCursor(interruzione);
    QApplication::clipboard()->setText(QStringLiteral("XY"));
    corpo.paste();
    EXPECT_EQ(testo(corpo), "aXYbc");
}

TEST(Cp1252, ConversionRefusesWhatTheCodePageCannotHold) {
    std::string tutti;
    for (int b = 0; b < 256; ++b) tutti.push_back(static_cast<char>(b));
    EXPECT_EQ(a_cp1252(da_cp1252(tutti)), tutti);
    EXPECT_EQ(da_cp1252(std::string("\x80\x93\x94", 3)), QStringLiteral("€“”"));
    EXPECT_EQ(a_cp1252(QStringLiteral("€ ok")), std::string("\x80 ok"));
    EXPECT_FALSE(a_cp1252(QStringLiteral("Ω")).has_value());
    EXPECT_FALSE(a_cp1252(QString::fromUcs4(U"\U0001F600")).has_value());
}

TEST(CasellaTesto, AmountsKeepTheValueTypedOrLeft) {
    // The keypad's decimal key is "," where a decimal separator may go and
    // nothing elsewhere; a refused key says why beside the box.
    const auto tastierino = [](QWidget* w) {
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_Period, QStringLiteral("."), Qt::KeypadModifier);
    };
    CasellaTesto importo("ND2");
    importo.show();
    QTest::keyClicks(&importo, "3.500");
    tastierino(&importo);
    QTest::keyClicks(&importo, "5");
    EXPECT_EQ(testo(importo), "3.500,5");
    QToolTip::hideText();
    tastierino(&importo);
    EXPECT_EQ(testo(importo), "3.500,5");
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("Carattere non inserito: questa casella accetta un numero")))
        << QToolTip::text().toStdString();

    // Leaving a box whose dots are not between whole groups of three: the
    // note, and the focus comes back; a finished amount lets the focus go.
    QWidget finestra;
    auto* primo = new CasellaTesto("ND2", 0, &finestra);
    auto* secondo = new CasellaTesto("ND2", 0, &finestra);
    secondo->move(0, 40);
    finestra.show();
    QApplication::setActiveWindow(&finestra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    // Left by Tab or by a click on the other box: the note is still in
    // sight once the focus has come back.
    const std::function<void()> lascia[] = {[&] { QTest::keyClick(primo, Qt::Key_Tab); },
                                            [&] { QTest::mouseClick(secondo, Qt::LeftButton); }};
    for (const auto& esci : lascia) {
        for (const char* testo_casella : {"3.5", "12.34", "125.", "1.234,5"}) {
            primo->setText(QString::fromLatin1(testo_casella));
            primo->setFocus(Qt::MouseFocusReason);
            QToolTip::hideText();
            esci();
            QApplication::processEvents();
            const bool valido = std::string_view(testo_casella) == "1.234,5";
            EXPECT_EQ(primo->hasFocus(), !valido) << testo_casella;
            EXPECT_EQ(QToolTip::isVisible(), !valido) << testo_casella;
            if (!valido) {
                EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("Valore non valido"))) << testo_casella;
            }
            EXPECT_EQ(primo->conferma(), valido) << testo_casella;
            EXPECT_EQ(testo(*primo), testo_casella) << "the text stays as typed";
        }
    }
    // Two refused boxes do not fight over the focus: the one left takes it
    // back, once.
    primo->setFocus(Qt::MouseFocusReason);
    for (CasellaTesto* casella : {primo, secondo}) casella->setText(QStringLiteral("3.5"));
    QTest::keyClick(primo, Qt::Key_Tab);
    QApplication::processEvents();
    int cambi = 0;
    QObject::connect(qApp, &QApplication::focusChanged, &finestra, [&] { ++cambi; });
    QTest::qWait(50);
    EXPECT_TRUE(primo->hasFocus());
    EXPECT_EQ(cambi, 0);

    // Opening the box's menu is no leaving of it: the box is not taken back
    // with its text selected under the open menu.
    primo->setCursorPosition(1);
    QContextMenuEvent menu_chiesto(QContextMenuEvent::Keyboard, QPoint(5, 5), primo->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(primo, &menu_chiesto);
    QTest::qWait(50);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(primo->hasSelectedText()) << primo->selectedText().toStdString();
    menu->close();
}

TEST(CasellaTesto, OfTwoRefusedAmountsTheOneTakingTheFocusBackShowsItsNote) {
    // As a data file of an older copy may leave them.
    QWidget finestra;
    auto* primo = new CasellaTesto("ND2", 0, &finestra);
    auto* secondo = new CasellaTesto("ND2", 0, &finestra);
    secondo->move(0, 40);
    primo->setText(QStringLiteral("3.5"));
    secondo->setText(QStringLiteral("1,2,3"));
    finestra.show();
    QApplication::setActiveWindow(&finestra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    // A click is a press and, once the program has handled it, a release.
    const std::function<void()> lascia[] = {[&] {
                                                QTest::mousePress(secondo, Qt::LeftButton);
                                                QApplication::processEvents();
                                                QTest::mouseRelease(secondo, Qt::LeftButton);
                                            },
                                            [&] { QTest::keyClick(primo, Qt::Key_Tab); }};
    for (int volta = 0; volta < 2; ++volta) {
        for (const auto& esci : lascia) {
            QTest::mouseClick(primo, Qt::LeftButton);
            QApplication::processEvents();
            QToolTip::hideText();
            esci();
            QApplication::processEvents();
            QApplication::processEvents();
            EXPECT_TRUE(primo->hasFocus());
            EXPECT_TRUE(QToolTip::isVisible()) << "time " << volta;
            EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("Valore non valido"))) << QToolTip::text().toStdString();
        }
    }
}

// The note of a refused amount hangs under its box, over the next box: with
// the pointer resting there, left by a click or by Tab, it is still in sight
// a second later.
TEST(CasellaTesto, ARefusedAmountsNoteStaysInSightWithThePointerUnderIt) {
    QWidget finestra;
    auto* primo = new CasellaTesto("ND2", 0, &finestra);
    auto* secondo = new CasellaTesto("ND2", 0, &finestra);
    primo->setGeometry(10, 10, 300, 24);
    secondo->setGeometry(10, 36, 300, 24);
    finestra.resize(400, 120);
    finestra.show();
    QApplication::setActiveWindow(&finestra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    primo->setText(QStringLiteral("3.5"));
    // Where the note comes with the pointer away from it: the pointer will
    // rest on the part of the next box that the note covers then.
    QTest::mouseMove(&finestra, QPoint(390, 110));
    primo->setFocus();
    ASSERT_FALSE(primo->conferma());
    QWidget* nota = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel") && w->isVisible()) nota = w;
    ASSERT_NE(nota, nullptr);
    const QRect coperta = QRect(secondo->mapToGlobal(QPoint(0, 0)), secondo->size()) & nota->frameGeometry();
    ASSERT_FALSE(coperta.isEmpty()) << "the note covers part of the next box";
    const QPoint sul_secondo = secondo->mapFromGlobal(coperta.center());
    const std::function<void()> lascia[] = {[&] { QTest::mouseClick(secondo, Qt::LeftButton, {}, sul_secondo); },
                                            [&] { QTest::keyClick(primo, Qt::Key_Tab); }};
    for (const auto& esci : lascia) {
        QToolTip::hideText();
        primo->setFocus();
        QTest::mouseMove(secondo, sul_secondo);
        esci();
        QApplication::processEvents();
        QApplication::processEvents();
        // A window that appears under a pointer at rest makes the window
        // system tell the window below that the pointer left it; offscreen
        // windows are not told, so the test tells it as the platform would.
        if (QGuiApplication::topLevelAt(QCursor::pos()) != finestra.windowHandle()) {
            QEvent uscita(QEvent::Leave);
            QApplication::sendEvent(finestra.windowHandle(), &uscita);
        }
        QTest::qWait(1000);
        EXPECT_TRUE(primo->hasFocus());
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("Valore non valido"))) << QToolTip::text().toStdString();
    }
    // Typing the correction takes it away.
    QTest::keyClick(primo, Qt::Key_End);
    EXPECT_TRUE(QToolTip::isVisible());
    QTest::keyClick(primo, Qt::Key_Backspace);
    QTest::qWait(500);
    EXPECT_FALSE(QToolTip::isVisible()) << QToolTip::text().toStdString();
    // A key refused while a note is shown brings its own.
    QTest::keyClick(primo, Qt::Key_Period);
    QTest::keyClick(primo, Qt::Key_A);
    QTest::qWait(500);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("Carattere non inserito"))) << QToolTip::text().toStdString();
    QToolTip::hideText();
}

// The note of a refused key goes with the key that corrects the text
// (Backspace, Delete, a character taken) and stays through the others.
TEST(CasellaTesto, ACorrectionTakesTheNoteOfARefusedKeyAway) {
    const std::pair<Qt::Key, bool> tasti[] = {
        {Qt::Key_Backspace, false}, {Qt::Key_Delete, false}, {Qt::Key_A, false}, {Qt::Key_Home, true}};
    for (const auto& [tasto, resta] : tasti) {
        QWidget finestra;
        auto* casella = new CasellaTesto("", 0, &finestra);
        casella->setText(QStringLiteral("Rossi"));
        finestra.show();
        QApplication::setActiveWindow(&finestra);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
        casella->setFocus();
        casella->setCursorPosition(2);
        digita_carattere(casella, QString::fromUtf8("字"));
        ASSERT_TRUE(QToolTip::isVisible());
        QTest::keyClick(casella, tasto);
        QTest::qWait(500);
        EXPECT_EQ(QToolTip::isVisible(), resta) << "key " << tasto;
        QToolTip::hideText();
    }
}

// A note that waits for a click to end is for the box the user is in then:
// a box left meanwhile shows none.
TEST(CasellaTesto, ANoteWaitingForAClickToEndIsShownOnlyInTheBoxStillInUse) {
    QWidget finestra;
    auto* primo = new CasellaTesto("ND2", 0, &finestra);
    auto* secondo = new CasellaTesto("ND2", 0, &finestra);
    secondo->move(0, 40);
    finestra.resize(200, 100);
    finestra.show();
    QApplication::setActiveWindow(&finestra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    for (const bool lasciata : {false, true}) {
        QToolTip::hideText();
        QTest::qWait(500);
        primo->setText(QStringLiteral("3.5"));
        QTest::mousePress(&finestra, Qt::LeftButton, {}, QPoint(5, 75));
        ASSERT_FALSE(primo->conferma());
        if (lasciata) secondo->setFocus();
        QTest::mouseRelease(&finestra, Qt::LeftButton, {}, QPoint(5, 75));
        QApplication::processEvents();
        QApplication::processEvents();
        EXPECT_EQ(QToolTip::isVisible(), !lasciata);
    }
    QToolTip::hideText();
}

// Qt puts a note a little below the point it is given: a pointer resting
// where the note will appear, even below the note's own height from that
// point, has the note hang from it instead of covering it.
TEST(CasellaTesto, ARefusedAmountsNoteNeverAppearsUnderThePointer) {
    QWidget finestra;
    auto* casella = new CasellaTesto("ND2", 0, &finestra);
    casella->setGeometry(10, 10, 300, 24);
    finestra.resize(400, 200);
    finestra.show();
    QApplication::setActiveWindow(&finestra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    const auto nota_mostrata = [&] {
        QToolTip::hideText();
        QTest::qWait(500);
        casella->setText(QStringLiteral("3.5"));
        EXPECT_FALSE(casella->conferma());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible()) return w->frameGeometry();
        return QRect();
    };
    QTest::mouseMove(&finestra, QPoint(390, 190));
    const QRect lontano = nota_mostrata();
    ASSERT_FALSE(lontano.isEmpty());
    // Near the bottom of the note as it comes with the pointer away.
    const QPoint sotto = lontano.bottomLeft() + QPoint(10, -2);
    ASSERT_TRUE(finestra.rect().contains(finestra.mapFromGlobal(sotto)));
    QTest::mouseMove(&finestra, finestra.mapFromGlobal(sotto));
    const QRect vicino = nota_mostrata();
    ASSERT_FALSE(vicino.isEmpty());
    EXPECT_FALSE(vicino.contains(QCursor::pos())) << vicino.top() << " " << QCursor::pos().y();
    QToolTip::hideText();
}

TEST(CasellaTesto, CodesLoseTheirBlanksAndACutPasteSaysSo) {
    CasellaTesto iban("MANI", 27);
    iban.show();
    incolla_con_tastiera(&iban, QStringLiteral("IT60 X054 2811 1010\u00A00000 0123 456"));
    EXPECT_EQ(testo(iban), "IT60X0542811101000000123456");

    CasellaTesto corta("", 5);
    corta.show();
    QToolTip::hideText();
    incolla_con_tastiera(&corta, QStringLiteral("abcdefgh"));
    EXPECT_EQ(testo(corta), "abcde");
    EXPECT_EQ(QToolTip::text(), messaggio_tagliato(5));
}
