// Check boxes, option groups, list selection, message boxes and tab order.
#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "common/messaggi.h"
#include "ui/casella_spunta.h"
#include "ui/casella_testo.h"
#include "ui/controlli.h"
#include "ui/gruppo_opzioni.h"
#include "ui/messaggi_ui.h"

TEST(CasellaSpunta, ThreeValuesAndTheUsersClick) {
    CasellaSpunta casella(QStringLiteral("allegato"));
    std::vector<int> visti;
    QObject::connect(&casella, &CasellaSpunta::valore_cambiato, [&](int v) { visti.push_back(v); });
    EXPECT_EQ(casella.valore(), 0);
    casella.imposta_valore(2);
    EXPECT_EQ(casella.valore(), 2);
    casella.click();
    EXPECT_EQ(casella.valore(), 1) << "a greyed box becomes ticked";
    casella.click();
    EXPECT_EQ(casella.valore(), 0);
    casella.click();
    EXPECT_EQ(casella.valore(), 1) << "the user never reaches greyed";
    casella.imposta_valore(7);
    EXPECT_EQ(casella.valore(), 0);
    EXPECT_EQ(visti, (std::vector<int>{2, 1, 0, 1, 0}));
}

TEST(GruppoOpzioni, AtMostOneSelectedAndNoneIsPossible) {
    QWidget cornice;
    GruppoOpzioni gruppo;
    PulsanteOpzione a(QStringLiteral("a"), &cornice), b(QStringLiteral("b"), &cornice),
        c(QStringLiteral("c"), &cornice);
    gruppo.aggiungi(&a);
    gruppo.aggiungi(&b);
    gruppo.aggiungi(&c);
    std::vector<int> cliccati;
    QObject::connect(&gruppo, &GruppoOpzioni::opzione_selezionata, [&](int i) { cliccati.push_back(i); });

    EXPECT_EQ(gruppo.selezionato(), -1);
    b.click();
    EXPECT_EQ(gruppo.selezionato(), 1);
    b.click();
    EXPECT_TRUE(b.isChecked()) << "clicking the selected option keeps it";
    c.click();
    EXPECT_FALSE(b.isChecked());
    EXPECT_EQ(gruppo.selezionato(), 2);
    gruppo.seleziona(0);
    EXPECT_TRUE(a.isChecked());
    EXPECT_FALSE(c.isChecked());
    gruppo.seleziona(-1);
    EXPECT_EQ(gruppo.selezionato(), -1);
    EXPECT_FALSE(a.isChecked() || b.isChecked() || c.isChecked());
    EXPECT_EQ(cliccati, (std::vector<int>{1, 2, 0}));
}

TEST(GruppoOpzioni, TwoFramesDoNotInterfere) {
    QWidget finestra;
    GruppoOpzioni permesso, subappalto;
    PulsanteOpzione p0(QString(), &finestra), p1(QString(), &finestra), s0(QString(), &finestra);
    permesso.aggiungi(&p0);
    permesso.aggiungi(&p1);
    subappalto.aggiungi(&s0);
    p1.click();
    s0.click();
    EXPECT_TRUE(p1.isChecked());
    EXPECT_TRUE(s0.isChecked());
}

TEST(Combo, SelectionByTextByPrefixAndEditableText) {
    QComboBox municipalita;
    municipalita.addItems({QStringLiteral("1 - Chiaia,Posillipo,San Ferdinando"), QStringLiteral("2 - Municipalità 2"),
                           QStringLiteral("10 - Municipalità 10")});
    seleziona_combo_prefisso(&municipalita, std::string("1"));
    EXPECT_EQ(municipalita.currentIndex(), 0);
    seleziona_combo_prefisso(&municipalita, std::string("10"));
    EXPECT_EQ(municipalita.currentIndex(), 2);
    seleziona_combo_prefisso(&municipalita, std::string("2 - MUNICIPALIT\xC0 2"));
    EXPECT_EQ(municipalita.currentIndex(), 1) << "upper-cased over Windows-1252";
    seleziona_combo_prefisso(&municipalita, std::string("7"));
    EXPECT_EQ(municipalita.currentIndex(), -1);
    seleziona_combo_prefisso(&municipalita, std::nullopt);
    EXPECT_EQ(municipalita.currentIndex(), -1);

    QComboBox titolo;
    titolo.setEditable(true);
    titolo.addItems({QStringLiteral("Sig."), QStringLiteral("Dott."), QStringLiteral("Ing.")});
    seleziona_combo(&titolo, std::string(" dott. "));
    EXPECT_EQ(titolo.currentIndex(), 1);
    seleziona_combo_testo(&titolo, std::string("Cav."));
    EXPECT_EQ(titolo.currentIndex(), -1);
    EXPECT_EQ(titolo.currentText(), QStringLiteral("Cav.")) << "a stored title outside the list is kept";
    seleziona_combo_testo(&titolo, std::string("Ing."));
    EXPECT_EQ(titolo.currentIndex(), 2);
    seleziona_combo_prefisso(&titolo, std::string("Do"));
    EXPECT_EQ(titolo.currentIndex(), 1);
    EXPECT_EQ(titolo.currentText(), QStringLiteral("Do"));

    QComboBox fisso;
    fisso.addItems({QStringLiteral("NA"), QStringLiteral("RM")});
    seleziona_combo_testo(&fisso, std::string("MI"));
    EXPECT_EQ(fisso.currentIndex(), -1);
}

// Answers the next box with a key press, through the real box, once the box
// takes keys.
static void rispondi_con(int tasto, QString* titolo = nullptr, QStringList* pulsanti = nullptr) {
    QTimer::singleShot(QUIETE_PRIMA_DEI_TASTI_MS + 50, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (titolo != nullptr) *titolo = box->windowTitle();
        if (pulsanti != nullptr)
            for (QAbstractButton* b : box->buttons())
                if (b->isVisible()) *pulsanti << b->text();
        if (tasto == 0)
            box->close();  // the title bar's close button
        else
            QTest::keyClick(box, static_cast<Qt::Key>(tasto));
    });
}

TEST(Messaggi, BoxesCarryTheirTitlesAndItalianButtons) {
    QString titolo;
    QStringList pulsanti;
    rispondi_con(Qt::Key_N, &titolo, &pulsanti);
    EXPECT_FALSE(chiedi_si_no(nullptr, QStringLiteral("Sovrascrivere"), QStringLiteral("Procedere?")));
    EXPECT_EQ(titolo, QStringLiteral("Sovrascrivere"));
    pulsanti.sort();
    EXPECT_EQ(pulsanti, (QStringList{QStringLiteral("&No"), QStringLiteral("&Sì")}));

    rispondi_con(Qt::Key_Return, &titolo);
    errore_critico(nullptr, QStringLiteral("BeginDoc - errore"));
    EXPECT_EQ(titolo, QStringLiteral("Contratto di appalto"));
}

TEST(Messaggi, KeysAndTheCloseButtonAnswerAsTheQuestionMeans) {
    // 0 = the close button of the title bar.
    const struct {
        int tasto;
        Risposta predefinita;
        bool si;
    } si_no[] = {
        {Qt::Key_S, Risposta::Si, true},      {Qt::Key_N, Risposta::Si, false},
        {Qt::Key_Escape, Risposta::Si, false}, {0, Risposta::Si, false},
        {Qt::Key_Return, Risposta::Si, true}, {Qt::Key_Return, Risposta::No, false},
    };
    for (const auto& caso : si_no) {
        rispondi_con(caso.tasto);
        EXPECT_EQ(chiedi_si_no(nullptr, QStringLiteral("Sovrascrivere"), QStringLiteral("?"), caso.predefinita),
                  caso.si)
            << caso.tasto;
    }
    // Where "No" throws edits away, Esc and closing stay.
    const std::pair<int, Risposta> resta[] = {
        {Qt::Key_S, Risposta::Si}, {Qt::Key_N, Risposta::No}, {Qt::Key_Return, Risposta::Si},
        {Qt::Key_Escape, Risposta::Resta}, {0, Risposta::Resta},
    };
    for (const auto& [tasto, attesa] : resta) {
        QStringList pulsanti;
        rispondi_con(tasto, nullptr, &pulsanti);
        EXPECT_EQ(chiedi_si_no_resta(nullptr, QStringLiteral("Menu"), QStringLiteral("?")), attesa) << tasto;
        EXPECT_EQ(pulsanti.size(), 2) << "only Sì and No are shown";
    }
}

// A word typed on, or an Alt letter meant for the window below ("Stampa
// Dati", "Salva"), as a question appears does not answer it, however long
// the keys keep coming; the first key after a pause does.
TEST(Messaggi, KeysPressedAsAQuestionAppearsDoNotAnswerIt) {
    bool ancora_aperta = false;
    qint64 pausa_piu_lunga = 0;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        QApplication::setActiveWindow(box);
        QElapsedTimer tempo;
        tempo.start();
        for (int volta = 0; volta < 8 && QApplication::activeModalWidget() == box; ++volta) {
            // 8 keys 40 ms apart outlast the wait.
            pausa_piu_lunga = std::max(pausa_piu_lunga, tempo.restart());
            QTest::keyClick(box->focusWidget(), Qt::Key_S, volta % 2 ? Qt::AltModifier : Qt::NoModifier);
            QTest::qWait(40);
        }
        ancora_aperta = QApplication::activeModalWidget() == box;
        QTest::qWait(QUIETE_PRIMA_DEI_TASTI_MS + 50);
        if (ancora_aperta) QTest::keyClick(box->focusWidget(), Qt::Key_N);
    });
    EXPECT_FALSE(chiedi_si_no(nullptr, QStringLiteral("Sovrascrivere"), QStringLiteral("?"), Risposta::No));
    EXPECT_TRUE(ancora_aperta);
    ASSERT_LT(pausa_piu_lunga, QUIETE_PRIMA_DEI_TASTI_MS) << "the machine was too slow for the keys to come in a burst";
}

// A box that becomes active only a while after it appeared (as a window
// manager may make it) waits for the keyboard to be quiet from then on.
TEST(Messaggi, TheWaitForQuietKeysStartsAgainWhenTheBoxBecomesActive) {
    QWidget padre, altra;
    padre.show();
    altra.show();
    bool ancora_aperta = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!QTest::qWaitForWindowActive(box)) {
            box->close();
            return;
        }
        QApplication::setActiveWindow(&altra);
        QTest::qWait(QUIETE_PRIMA_DEI_TASTI_MS + 50);
        QApplication::setActiveWindow(box);
        QTest::keyClick(box->focusWidget(), Qt::Key_S);
        QTest::qWait(150);  // a letter's click lands a moment later
        ancora_aperta = QApplication::activeModalWidget() == box;
        QTest::qWait(QUIETE_PRIMA_DEI_TASTI_MS + 50);
        if (ancora_aperta) QTest::keyClick(box->focusWidget(), Qt::Key_N);
    });
    EXPECT_FALSE(chiedi_si_no(&padre, QStringLiteral("Sovrascrivere"), QStringLiteral("?"), Risposta::No));
    EXPECT_TRUE(ancora_aperta);
}

// A quoted folder path is shown unbroken (a word joiner between each two of
// its characters); other quoted text keeps its breaks; the box shows every
// character it was given, and the text selected and copied is the text as
// it was written.
TEST(Messaggi, QuotedPathsAreKeptOnOneLineAndCopiedAsWritten) {
    const auto unito = [](const QString& percorso) {
        QString risultato;
        for (const QChar c : percorso) risultato += (risultato.isEmpty() ? QString() : QString(QChar(0x2060))) + c;
        return risultato;
    };
    const QString cartella = QStringLiteral("/home/utente/Scrivania/Files Contratto Tavore");
    const struct {
        QString testo;
        QString mostrato;
    } casi[] = {
        {"La cartella \"" + cartella + "\" non esiste.", "La cartella \"" + unito(cartella) + "\" non esiste."},
        {QStringLiteral("Il valore \"31-02 / 2020\" non va."), QStringLiteral("Il valore \"31-02 / 2020\" non va.")},
        {QStringLiteral("Da \"/a/b\" a \"/c\"."), "Da \"" + unito(QStringLiteral("/a/b")) + "\" a \"" +
                                                         unito(QStringLiteral("/c")) + "\"."},
    };
    for (const auto& c : casi) {
        QString mostrato, copiato;
        QTimer::singleShot(QUIETE_PRIMA_DEI_TASTI_MS + 50, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            auto* etichetta = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            mostrato = etichetta->text();
            QTest::mousePress(etichetta, Qt::LeftButton, {}, QPoint(1, 1));
            QTest::mouseMove(etichetta, QPoint(etichetta->width() - 1, etichetta->height() - 1));
            QTest::mouseRelease(etichetta, Qt::LeftButton, {}, QPoint(etichetta->width() - 1, etichetta->height() - 1));
            QTest::keyClick(etichetta, Qt::Key_C, Qt::ControlModifier);
            QApplication::processEvents();
            copiato = QGuiApplication::clipboard()->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        avviso(nullptr, c.testo);
        EXPECT_EQ(mostrato, c.mostrato) << c.testo.toStdString();
        EXPECT_EQ(copiato, c.testo);
    }
}

TEST(Messaggi, PlainCodeMessagesReachTheBoxes) {
    std::vector<FinestraMessaggio> viste;
    auto precedente = imposta_risponditore([&](const FinestraMessaggio& f) {
        viste.push_back(f);
        return true;
    });
    installa_gestore_messaggi();
    mostra_avviso("Manca il nome del richiedente \xE8 tutto");
    mostra_errore_critico("PdfWriter.BeginDoc - file aperto");
    imposta_gestore_messaggi({});
    imposta_risponditore(precedente);
    ASSERT_EQ(viste.size(), 2u);
    EXPECT_EQ(viste[0].tipo, FinestraMessaggio::Tipo::Avviso);
    EXPECT_EQ(viste[0].titolo, QStringLiteral("Contratto di appalto"));
    EXPECT_EQ(viste[0].testo, QStringLiteral("Manca il nome del richiedente è tutto"));
    EXPECT_EQ(viste[1].tipo, FinestraMessaggio::Tipo::ErroreCritico);
}

TEST(Form, TabOrderFollowsThePageAndFocusSelectsAll) {
    QWidget form;
    form.resize(400, 400);
    auto* sotto = new CasellaTesto("", 0, &form);
    sotto->setGeometry(10, 300, 100, 20);
    auto* destra = new CasellaSpunta(QStringLiteral("x"), &form);
    destra->setGeometry(200, 10, 100, 20);
    auto* area = new QScrollArea(&form);
    area->setGeometry(0, 100, 400, 150);
    auto* pagina = new QWidget;
    pagina->resize(380, 600);
    auto* in_pagina = new QComboBox(pagina);
    in_pagina->setEditable(true);
    in_pagina->setGeometry(10, 20, 100, 20);
    area->setWidget(pagina);
    auto* sinistra = new CasellaTesto("", 0, &form);
    sinistra->setGeometry(10, 10, 100, 20);
    ordina_tabindex(&form);
    form.show();

    EXPECT_EQ(sinistra->nextInFocusChain(), destra);
    // The combo's own line edit follows the combo; the box below comes after.
    QWidget* dopo_destra = destra->nextInFocusChain();
    EXPECT_EQ(dopo_destra, in_pagina);
    QWidget* w = in_pagina->nextInFocusChain();
    while (w != nullptr && w->parentWidget() == in_pagina) w = w->nextInFocusChain();
    EXPECT_EQ(w, sotto);

    sinistra->setText(QStringLiteral("testo"));
    QApplication::setActiveWindow(&form);
    seleziona_campo(sinistra);
    EXPECT_EQ(sinistra->selectedText(), QStringLiteral("testo"));
    sotto->setEnabled(false);
    seleziona_campo(sotto);
    EXPECT_FALSE(sotto->hasFocus());
}

// A form too large for the screen scrolls inside the window, and its own
// scrolled part (the sign's preview) inside that: the selected box must come
// into view in both, or the user types where nothing can be seen.
TEST(Form, SelectedBoxComesIntoViewThroughNestedScrollAreas) {
    QScrollArea finestra;
    finestra.resize(300, 200);
    auto* tela = new QWidget;
    tela->setFixedSize(280, 900);
    auto* anteprima = new QScrollArea(tela);
    anteprima->setGeometry(0, 500, 260, 300);
    auto* foglio = new QWidget;
    foglio->setFixedSize(240, 1500);
    auto* casella = new CasellaTesto("", 0, foglio);
    casella->setGeometry(10, 1200, 100, 20);
    anteprima->setWidget(foglio);
    finestra.setWidget(tela);
    finestra.show();
    QApplication::setActiveWindow(&finestra);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&finestra));

    seleziona_campo(casella);
    for (QScrollArea* area : {anteprima, &finestra}) {
        const QRect in_vista(casella->mapTo(area->viewport(), QPoint(0, 0)), casella->size());
        EXPECT_TRUE(area->viewport()->rect().contains(in_vista)) << (area == anteprima ? "preview" : "window");
    }
}

TEST(Form, CentredOnTheScreen) {
    QWidget form;
    form.resize(300, 200);
    centra_form(&form);
    const QRect area = form.screen()->availableGeometry();
    EXPECT_NEAR(form.frameGeometry().center().x(), area.center().x(), 2);
}
