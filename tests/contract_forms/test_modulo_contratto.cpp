#include "contract_forms/modulo_contratto.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>

#include "builders/contratto_comproprietari.h"
#include "common/cartelle.h"
#include "common/filtri.h"
#include "common/dati.h"
#include "contract_forms/apertura.h"
#include "contract_forms/paragrafi.h"
#include "contract_record/record_contratto.h"
#include "support/in_vista.h"
#include "support/modello_uguale.h"
#include "support/rapida_successione.h"
#include "support/schermo_portatile.h"
#include "support/tools.h"
#include "ui/casella_spunta.h"
#include "ui/casella_testo.h"
#include "ui/gruppo_opzioni.h"
#include "ui/messaggi_ui.h"
#include "ui/testo.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::TempDir;

namespace {

class ModuloTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The documents go beside the data file, never to the program folder.
        imposta_cartelle(dir / "programma", dir.path());
        installa_gestore_messaggi();
        imposta_risponditore([this](const FinestraMessaggio& f) {
            finestre.push_back(f);
            return risposta;
        });
    }
    void TearDown() override {
        imposta_risponditore({});
        imposta_cartelle({}, {});
    }

    // A form as the start menu opens it, loaded from the store.
    std::unique_ptr<ModuloContratto> apri(TipoContratto tipo = TipoContratto::Comproprietario) {
        auto modulo = std::make_unique<ModuloContratto>(tipo, [this] { ++ritorni_al_menu; });
        EXPECT_TRUE(modulo->carica());
        modulo->show();
        return modulo;
    }

    TempDir dir;
    std::vector<FinestraMessaggio> finestre;
    bool risposta = false;
    int ritorni_al_menu = 0;
};

// Types a text key by key; characters outside ASCII go as key events that
// carry their text, as a keyboard layout would send them.
void digita(QWidget* w, const QString& testo) {
    for (QChar c : testo) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(w, Qt::Key_Return);
        } else if (c.unicode() < 128) {
            QTest::keyClick(w, c.toLatin1());
        } else {
            QKeyEvent premuto(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &premuto);
            QKeyEvent rilasciato(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &rilasciato);
        }
    }
}

void incolla(CasellaTesto* casella, const QString& testo) {
    QApplication::clipboard()->setText(testo);
    QTest::keyClick(casella, Qt::Key_V, Qt::ControlModifier);
}

QString testo_di(ModuloContratto& m, int i) { return m.casella(i)->text(); }

// Clicks a check box or option button on its indicator (a wide box ignores a
// click on its empty right part).
void clicca(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); }

QString etichetta(ModuloContratto& m, const std::string& nome, std::size_t quale = 0) {
    auto trovate = m.ripetizioni(nome);
    return quale < trovate.size() ? trovate[quale]->text() : QStringLiteral("<none>");
}

}  // namespace

TEST_F(ModuloTest, EachBoxKeepsOnlyWhatItsClassAllowsTypedOrPasted) {
    auto m = apri();
    struct Caso {
        int casella;
        QString digitato;
        QString atteso;
    };
    const std::vector<Caso> casi = {
        {0, QString::fromUtf8("Nicolò 2 D'Amico"), QString::fromUtf8("Nicolò  D'Amico")},  // letters
        {3, QStringLiteral("NA1X"), QStringLiteral("NA")},                                  // province: 2 letters
        {2, QStringLiteral("S. Giorgio a Cremano"), QStringLiteral("S. Giorgio a Cremano")},  // a place: free text
        {40, QStringLiteral("Parigi (Francia)"), QStringLiteral("Parigi (Francia)")},
        {10, QStringLiteral("RSSMRA80A01F839Q"), QStringLiteral("RSSMRA80A01F839Q")},       // tax code
        {10, QStringLiteral("X"), QStringLiteral("RSSMRA80A01F839Q")},                      // 16 at most
        {20, QStringLiteral("01234a567890123"), QStringLiteral("01234567890")},             // VAT: 11 digits
        {55, QStringLiteral("12o0"), QStringLiteral("120")},                                // days
        {42, QStringLiteral("1a25.000,505"), QStringLiteral("125.000,50")},                // amount
        {5, QString::fromUtf8("Via Caracciolo, 10 – €"), QString::fromUtf8("Via Caracciolo, 10 – €")},
    };
    for (const auto& c : casi) {
        auto* box = m->casella(c.casella);
        box->setFocus();
        digita(box, c.digitato);
        EXPECT_EQ(box->text(), c.atteso) << "Text1(" << c.casella << ")";
    }
    // A character outside the code page never gets in.
    auto* indirizzo = m->casella(5);
    digita(indirizzo, QString::fromUtf8("Ω"));
    EXPECT_EQ(indirizzo->text(), QString::fromUtf8("Via Caracciolo, 10 – €"));

    // Dates: entering a box that shows the placeholder selects it, so the
    // first digit replaces it; digits only, the "/" added after day and month.
    auto* data = m->casella(4);
    m->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.get()));
    QTest::mouseClick(data, Qt::LeftButton, {}, QPoint(data->width() - 4, data->height() / 2));
    QApplication::processEvents();
    EXPECT_EQ(data->selectedText(), QStringLiteral("gg/mm/aaaa"));
    digita(data, QStringLiteral("0a1x0219b60"));
    EXPECT_EQ(data->text(), QStringLiteral("01/02/1960"));

    // Pasting: a text the class refuses is refused whole, an allowed one goes in.
    auto* giorni = m->casella(55);
    giorni->clear();
    incolla(giorni, QStringLiteral("12 giorni"));
    EXPECT_EQ(giorni->text(), QString());
    incolla(giorni, QStringLiteral("90"));
    EXPECT_EQ(giorni->text(), QStringLiteral("90"));
    auto* nome = m->casella(24);
    incolla(nome, QStringLiteral("R2D2"));
    EXPECT_EQ(nome->text(), QString());
    incolla(nome, QString::fromUtf8("Zoë"));
    EXPECT_EQ(nome->text(), QString::fromUtf8("Zoë"));
    auto* iva = m->casella(20);
    iva->clear();
    incolla(iva, QStringLiteral("IT0123"));
    EXPECT_EQ(iva->text(), QString());

    // The total is computed, not typed.
    EXPECT_TRUE(m->casella(46)->isReadOnly());

    // Every box against a lone box of its class and length: the same keys
    // and pastes leave the same text. Places, addresses and the other free
    // texts, the article titles among them, take any text of 255 bytes.
    const struct {
        const char* classe;
        int lunghezza;
        std::set<int> caselle;
    } classi[] = {
        {"MA", 255, {0, 1, 11, 12, 24, 25, 26, 27, 28, 29, 31, 32, 38, 39}},
        {"MA", 2, {3, 14}},
        {"DATA", 10, {4, 6, 9, 15, 21, 34, 36, 41, 82}},
        {"MANI", 16, {10, 19}},
        {"MANI", 34, {51}},
        {"PI", 11, {20}},
        {"NI", 255, {33}},
        {"NI", 5, {55}},
        {"ND2", 20, {42, 44, 45, 47, 48, 50, 56, 57}},
        {"ND2", 8, {43, 49}},
    };
    const auto prove = [](CasellaTesto* casella) {
        std::vector<QString> esiti;
        casella->clear();
        digita(casella, QString::fromUtf8("D'Amìco 1,2345/6789"));
        esiti.push_back(casella->text());
        for (const QChar c : {QLatin1Char('7'), QLatin1Char('a')}) {
            casella->clear();
            incolla(casella, QString(300, c));
            esiti.push_back(casella->text());
        }
        return esiti;
    };
    clicca(m->option1()->pulsante(1));  // opens the permit's number and date
    for (int i = 0; i < NUMERO_TESTI; ++i) {
        CasellaTesto* casella = m->casella(i);
        if (casella == nullptr || casella->isReadOnly()) continue;  // the article bodies, the total
        std::string classe;
        int lunghezza = 255;
        for (const auto& c : classi) {
            if (c.caselle.count(i)) std::tie(classe, lunghezza) = std::pair{std::string(c.classe), c.lunghezza};
        }
        CasellaTesto campione(classe, lunghezza);
        EXPECT_EQ(prove(casella), prove(&campione)) << "Text1(" << i << ")";
    }
}

TEST_F(ModuloTest, TypedNamesAppearWhereTheContractRepeatsThem) {
    auto m = apri();
    EXPECT_EQ(etichetta(*m, "nominativo_richiedente"), QStringLiteral("........"));
    m->combo2(0)->setCurrentIndex(0);
    digita(m->casella(0), QStringLiteral("Mario"));
    digita(m->casella(1), QString::fromUtf8("Rossì"));
    const auto nominativi = m->ripetizioni("nominativo_richiedente");
    ASSERT_GE(nominativi.size(), 2u);
    for (auto* l : nominativi) EXPECT_EQ(l->text(), QString::fromUtf8("Sig. Mario Rossì"));

    digita(m->casella(5), QString::fromUtf8("via Toledo 1"));
    EXPECT_EQ(etichetta(*m, "indirizzo_edificio", 0), QString::fromUtf8("VIA TOLEDO 1"));
    EXPECT_EQ(etichetta(*m, "indirizzo_edificio", 1), QString::fromUtf8("via Toledo 1"));

    digita(m->casella(16), QStringLiteral("Edil Srl"));
    for (auto* l : m->ripetizioni("impresa")) EXPECT_EQ(l->text(), QStringLiteral("Edil Srl"));
    digita(m->casella(18), QStringLiteral("via Roma 2"));
    EXPECT_EQ(etichetta(*m, "recapito_impresa"), QStringLiteral("Edil Srl via Roma 2"));

    m->combo2(1)->lineEdit()->clear();
    digita(m->combo2(1)->lineEdit(), QStringLiteral("Cav."));
    digita(m->casella(12), QStringLiteral("Bianchi"));
    for (auto* l : m->ripetizioni("nominativo_rappresentante_impresa"))
        EXPECT_EQ(l->text(), QStringLiteral("Cav. Bianchi"));
    m->combo2(2)->lineEdit()->clear();
    digita(m->combo2(2)->lineEdit(), QStringLiteral("Ing."));
    digita(m->casella(25), QStringLiteral("Verdi"));
    EXPECT_EQ(etichetta(*m, "nominativo_progettista"), QStringLiteral("Ing. Verdi"));
    // Title, name, surname, as the contract writes them.
    m->combo2(2)->lineEdit()->clear();
    digita(m->combo2(2)->lineEdit(), QStringLiteral("Arch."));
    digita(m->casella(24), QStringLiteral("Anna"));
    m->casella(25)->clear();
    digita(m->casella(25), QStringLiteral("Neri"));
    EXPECT_EQ(etichetta(*m, "nominativo_progettista"), QStringLiteral("Arch. Anna Neri"));
    digita(m->casella(26), QStringLiteral("Anna"));
    EXPECT_EQ(etichetta(*m, "nominativo_direttore_lavori"), QStringLiteral("Anna"));
    EXPECT_EQ(m->contratto_modificato(), 1);

    // A long company name wraps: the page keeps the window's width, so the
    // centred headings stay in view.
    m->resize(800, 600);
    m->casella(16)->setText(QString(QStringLiteral("Costruzioni Edili ")).repeated(10));
    QApplication::processEvents();
    auto* scorrimento = m->findChild<QScrollArea*>();
    ASSERT_NE(scorrimento, nullptr);
    EXPECT_EQ(scorrimento->horizontalScrollBar()->maximum(), 0);
    for (auto* l : m->ripetizioni("impresa")) EXPECT_LE(l->width(), scorrimento->viewport()->width());
}

TEST_F(ModuloTest, AmountsKeepTheTotalCurrent) {
    auto m = apri();
    digita(m->casella(42), QStringLiteral("1000"));
    EXPECT_EQ(testo_di(*m, 46), QStringLiteral("1000,00"));
    digita(m->casella(44), QStringLiteral("200,5"));
    EXPECT_EQ(testo_di(*m, 46), QStringLiteral("1200,50"));
    digita(m->casella(45), QStringLiteral("0,505"));  // the third decimal is not typed
    EXPECT_EQ(testo_di(*m, 45), QStringLiteral("0,50"));
    EXPECT_EQ(testo_di(*m, 46), QStringLiteral("1201,00"));
    digita(m->casella(47), QStringLiteral("5000"));  // the split does not change the total
    EXPECT_EQ(testo_di(*m, 46), QStringLiteral("1201,00"));
    m->casella(42)->clear();
    EXPECT_EQ(testo_di(*m, 46), QStringLiteral("201,00"));

    // Loaded amounts give their total too, whatever total was stored.
    testsupport::write_data_file(file_dati(), {{"IMPORTO_LAVORI_NETTO_IVA", "120.000,50"},
                                               {"ONERI_SICUREZZA_NETTO_IVA", "3500"},
                                               {"TOTALE_APPALTO", ""}});
    auto caricato = apri();
    EXPECT_EQ(testo_di(*caricato, 46), QStringLiteral("123500,50"));
    EXPECT_EQ(caricato->contratto_modificato(), 0);
}

TEST_F(ModuloTest, ArticleTitlesOpenTheNextPairAndCountsFollow) {
    auto m = apri();
    EXPECT_TRUE(m->casella(62)->isEnabled());
    EXPECT_TRUE(m->corpo_articolo(13)->isEnabled());
    EXPECT_FALSE(m->casella(64)->isEnabled());
    EXPECT_FALSE(m->corpo_articolo(14)->isEnabled());
    EXPECT_EQ(etichetta(*m, "consistenza"),
              QString::fromUtf8("Il presente contratto consta di n° 11 articoli, di n° ... pagine e di n° 0 allegati."));

    digita(m->casella(62), QStringLiteral("Penali"));
    EXPECT_TRUE(m->casella(64)->isEnabled());
    EXPECT_TRUE(m->corpo_articolo(14)->isEnabled());
    EXPECT_FALSE(m->casella(66)->isEnabled());
    digita(m->casella(64), QStringLiteral("Oneri"));
    EXPECT_TRUE(m->casella(66)->isEnabled());
    clicca(m->check1());
    EXPECT_EQ(m->check1()->valore(), SPUNTATA);
    EXPECT_EQ(etichetta(*m, "altri_articoli"), QStringLiteral("3"));

    // The attachments other than d) open only with d).
    EXPECT_FALSE(m->check2(0)->isEnabled());
    clicca(m->check2(3));
    EXPECT_TRUE(m->check2(0)->isEnabled());
    clicca(m->check2(8));
    EXPECT_EQ(etichetta(*m, "consistenza"),
              QString::fromUtf8("Il presente contratto consta di n° 14 articoli, di n° ... pagine e di n° 2 allegati."));
    clicca(m->check2(3));
    EXPECT_EQ(m->check2(8)->valore(), NON_SPUNTATA);
    EXPECT_FALSE(m->check2(8)->isEnabled());
    EXPECT_NE(etichetta(*m, "consistenza").indexOf(QString::fromUtf8("n° 0 allegati")), -1);

    // The permit's number and date follow the authorisation option.
    EXPECT_FALSE(m->casella(33)->isEnabled());
    clicca(m->option1()->pulsante(1));
    EXPECT_TRUE(m->casella(33)->isEnabled());
    EXPECT_TRUE(m->casella(34)->isEnabled());
    clicca(m->option1()->pulsante(0));
    EXPECT_FALSE(m->casella(34)->isEnabled());
}

TEST_F(ModuloTest, EveryKindOfChangeMarksTheForm) {
    auto m = apri();
    EXPECT_EQ(m->contratto_modificato(), 0);
    const std::vector<std::function<void()>> azioni = {
        [&] { digita(m->casella(7), QStringLiteral("N")); },
        [&] { digita(m->corpo_articolo(13), QStringLiteral("x")); },
        [&] { m->combo1()->setCurrentIndex(2); },
        [&] { m->combo2(3)->setCurrentIndex(4); },
        [&] { digita(m->combo2(5)->lineEdit(), QStringLiteral("Cav.")); },
        [&] { m->combo3()->setCurrentIndex(5); },
        [&] { clicca(m->check3(5)); },
        [&] { clicca(m->check1()); },
        [&] { clicca(m->option3()->pulsante(1)); },
        [&] { clicca(m->option1()->pulsante(2)); },
    };
    for (std::size_t i = 0; i < azioni.size(); ++i) {
        ASSERT_TRUE(m->salva());
        ASSERT_EQ(m->contratto_modificato(), 0);
        azioni[i]();
        EXPECT_EQ(m->contratto_modificato(), 1) << "change " << i;
    }
}

TEST_F(ModuloTest, SalvaWritesWhatTheRecordSaveWrites) {
    auto m = apri();
    m->combo2(0)->setCurrentIndex(2);
    digita(m->casella(0), QString::fromUtf8("Nicolò"));
    m->casella(4)->selectAll();
    digita(m->casella(4), QStringLiteral("05031971"));
    m->casella(82)->selectAll();
    digita(m->casella(82), QStringLiteral("10052021"));
    m->casella(9)->clear();
    digita(m->casella(62), QStringLiteral("Clausola"));
    digita(m->corpo_articolo(13), QString::fromUtf8("prima | riga\nseconda riga è"));
    clicca(m->check3(0));
    m->combo1()->setCurrentIndex(9);

    QTest::mouseClick(m->pulsante_salva(), Qt::LeftButton);
    EXPECT_TRUE(finestre.empty());
    EXPECT_EQ(m->contratto_modificato(), 0);

    const auto archivio = leggi_archivio();
    EXPECT_EQ(archivio.at("TITOLO_RICHIEDENTE"), "Dott.");
    EXPECT_EQ(archivio.at("NOME_RICHIEDENTE"), "Nicol\xF2");
    EXPECT_EQ(archivio.at("DATA_NASCITA_RICHIEDENTE"), "19710305");
    EXPECT_EQ(archivio.at("DATA_CONTRATTO"), "20210510");
    EXPECT_EQ(archivio.at("DATA_DELIBERA_AUTORIZZAZIONE_FIRMA_CONTRATTO"), "000000");
    EXPECT_EQ(archivio.at("DATA_DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE"), "0");
    EXPECT_EQ(archivio.at("MUNICIPALITA_CONDOMINIO"), "10");
    EXPECT_EQ(archivio.at("LAVORI_DELIBERATI_FACCIATE_SI_NO"), "S");
    EXPECT_EQ(archivio.at("ARTICOLO_13"), "Clausola");
    EXPECT_EQ(archivio.at("TESTO_ARTICOLO_13_1"), "prima | riga\r\nseconda riga \xE8");
    EXPECT_EQ(archivio.at("TIPO_RICHIEDENTE"), "Comproprietario");
    EXPECT_EQ(archivio.at("PERCENTUALE_VERSAMENTO_ANTICIPAZIONE"), "10");

    // Byte for byte what the record save writes for the same inputs, after
    // the kind of client that the load recorded first.
    std::string atteso = testsupport::data_record("TIPO_RICHIEDENTE", "Comproprietario");
    for (const auto& [k, v] : coppie_contratto(m->modello(), TIPO_COMPROPRIETARIO))
        if (k != "TIPO_RICHIEDENTE") atteso += testsupport::data_record(k, v);
    EXPECT_EQ(read_file(file_dati()), atteso);
}

// Each works box, found by the caption the user reads, ticked on its own by
// a click and saved, lists its own work and no other in the premises of the
// contract built from the store.
TEST_F(ModuloTest, EachWorksBoxTickedAloneListsItsOwnWork) {
    REQUIRE_TOOL("pdftotext");
    const std::pair<const char*, const char*> lavori[] = {
        {"Facciate", "Facciate"},
        {"Ripristino fascia basamentale", "Ripristino fascia basamentale"},
        {"Ripristino elementi decorativi in facciata", "Ripristino elementi decorativi in facciata"},
        {"Cortile e/o aree esterne", "Cortile e/o aree esterne"},
        {"Cassa scale", "Cassa scale"},
        {"Androne", "Androne"},
        {"Locali comuni", "Locali comuni"},
        {"Copertura", "Copertura"},
        {"Strutture portanti", "Strutture portanti"},
        {"Fondazioni", "Fondazioni"},
        {"Eliminazione delle barriere architettoniche", "Eliminazione delle barriere architettoniche"},
        {"Altro intervento:", "rifacimento balconi"},
        {"Impianto ascensore", "Impianto ascensore"},
        {"Impianto di riscaldamento", "Impianto di riscaldamento"},
        {"Impianto elettrico e/o citofonico e/o antenna centralizzata",
         "Impianto elettrico e/o citofonico e/o antenna centralizzata"},
        {"Impianto di smaltimento delle acque meteoriche e/o impianto fognario",
         "Impianto di smaltimento delle acque meteoriche e/o impianto fognario"},
        {"Altri impianti:", "impianto gas"},
    };
    auto m = apri();
    digita(m->casella(22), QStringLiteral("Rifacimento balconi"));
    digita(m->casella(23), QStringLiteral("Impianto gas"));
    const fs::path bozza = cartella_dati() / NOME_BOZZA;
    for (const auto& [didascalia, lavoro] : lavori) {
        SCOPED_TRACE(didascalia);
        CasellaSpunta* casella = nullptr;
        for (int i = 0; i < 17; ++i)
            if (m->check3(i)->text() == QString::fromUtf8(didascalia)) casella = m->check3(i);
        ASSERT_NE(casella, nullptr);
        clicca(casella);
        QTest::mouseClick(m->pulsante_salva(), Qt::LeftButton);
        ASSERT_TRUE(genera_contratto_comproprietari(bozza, false));
        const auto testo = testsupport::run_command("pdftotext " + testsupport::shell_quote(bozza.string()) + " -");
        const std::string corpo = QString::fromStdString(testo.out).simplified().toStdString();
        const std::string inizio = "dei seguenti lavori: ";
        const auto da = corpo.find(inizio), a = corpo.find(". inerenti il fabbricato");
        ASSERT_TRUE(da != std::string::npos && a != std::string::npos && da < a) << corpo.substr(0, 2000);
        EXPECT_EQ(corpo.substr(da + inizio.size(), a - da - inizio.size()), lavoro);
        clicca(casella);
    }
    EXPECT_TRUE(finestre.empty()) << finestre.front().testo.toStdString();
}

TEST_F(ModuloTest, CloseAndReopenGivesEveryControlBack) {
    auto m = apri();
    ModelloContratto dati = m->modello();
    for (int i = 0; i < NUMERO_TESTI; ++i) {
        if (i == 4 || i == 6 || i == 9 || i == 15 || i == 21 || i == 34 || i == 36 || i == 41 || i == 82) continue;
        // An amount box saves only a number; every other box any text.
        const CasellaTesto* casella = m->casella(i);
        dati.text1[static_cast<std::size_t>(i)].testo =
            casella != nullptr && decimali_della_classe(casella->tag()) > 0
                ? std::to_string(i) + ".234,5"
                : "A" + std::to_string(i) + " \xE0 | b  c \x80 \x93x\x94  z";
    }
    dati.text1[46].testo = totale_appalto(dati);  // the load recomputes it
    dati.text1[4].testo = "01/02/1960";
    dati.text1[21].testo = "";
    dati.text1[82].testo = "15/03/2021";
    dati.text1[49].testo = "12,5";
    std::string corpo;
    for (int i = 0; corpo.size() < 1000; ++i) corpo += (i % 5 == 0) ? "\r\n" : (i % 3 ? "parola  \xE8 " : "|x");
    corpo.resize(1000);
    while (corpo.back() == ' ' || corpo.back() == '\r') corpo.pop_back();
    dati.text1[63].testo = corpo;
    dati.text1[81].testo = "solo\r\n\r\nrighe";
    seleziona_voce(dati.combo2[0], 5);
    dati.combo2[3].testo = "Cav. \xC8";
    seleziona_voce(dati.combo1, 4);
    seleziona_voce(dati.combo3, 10);
    dati.check1.valore = SPUNTATA;
    imposta_allegato(dati, 3, SPUNTATA);
    imposta_allegato(dati, 0, SPUNTATA);
    imposta_allegato(dati, 10, SPUNTATA);
    dati.check3[2].valore = SPUNTATA;
    dati.check3[15].valore = SPUNTATA;
    imposta_permesso(dati, 1, true);
    dati.text1[33].testo = "123";
    dati.text1[34].testo = "05/11/2020";
    imposta_subappalto(dati, 1, true);
    aggiorna_articoli(dati);
    m->mostra_modello(dati);
    digita(m->casella(5), QString::fromUtf8("ù"));  // and one change by hand
    ASSERT_EQ(m->contratto_modificato(), 1);
    const ModelloContratto prima = m->modello();

    risposta = true;  // "Sì" to saving when asked
    m->close();
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].titolo, QStringLiteral("Menu"));
    EXPECT_FALSE(m->isVisible());
    EXPECT_EQ(ritorni_al_menu, 1);

    auto riaperto = apri();
    const ModelloContratto dopo = riaperto->modello();
    testsupport::expect_stesso_modello(dopo, prima);
    EXPECT_EQ(dopo.combo1.indice, 4);
    EXPECT_EQ(riaperto->contratto_modificato(), 0);
    EXPECT_EQ(riaperto->corpo_articolo(13)->toPlainText().count(QLatin1Char('\n')),
              QString::fromStdString(corpo).count(QLatin1Char('\n')));
}

TEST_F(ModuloTest, ARefusedDateKeepsTheFormOpenWithItsEntries) {
    auto m = apri();
    m->casella(4)->selectAll();
    digita(m->casella(4), QStringLiteral("31022020"));
    ASSERT_EQ(testo_di(*m, 4), QStringLiteral("31/02/2020"));

    QTest::mouseClick(m->pulsante_salva(), Qt::LeftButton);
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::Avviso);
    EXPECT_EQ(finestre[0].testo, QString::fromUtf8("La Data di nascita del richiedente è errata!"));
    EXPECT_EQ(m->contratto_modificato(), 1);
    EXPECT_FALSE(fs::exists(file_dati()) && leggi_archivio().count("DATA_NASCITA_RICHIEDENTE"));

    // "&Menu", "Sì" to saving: the save is refused, so the form stays.
    risposta = true;
    finestre.clear();
    QTest::mouseClick(m->pulsante_menu(), Qt::LeftButton);
    ASSERT_EQ(finestre.size(), 2u);
    EXPECT_EQ(finestre[0].titolo, QStringLiteral("Menu"));
    EXPECT_EQ(finestre[1].testo, QString::fromUtf8("La Data di nascita del richiedente è errata!"));
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(ritorni_al_menu, 0);
    EXPECT_EQ(testo_di(*m, 4), QStringLiteral("31/02/2020"));

    // Closing the window asks the same and stays as well.
    EXPECT_FALSE(m->close());
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(ritorni_al_menu, 0);
}

// An Alt letter draws its button pressed for a moment, then clicks it; a
// click or Space on the button meanwhile is that same press: one run.
TEST_F(ModuloTest, AnAltLetterAndAQuickClickOrSpaceRunTheButtonOnce) {
    auto m = apri();
    QApplication::setActiveWindow(m.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.get()));
    m->casella(4)->setText(QStringLiteral("31/02/2020"));  // each run of Salva says so once
    const std::function<void()> subito[] = {
        [] {},
        [&] { QTest::mouseClick(m->pulsante_salva(), Qt::LeftButton); },
        [&] { QTest::keyClick(m->pulsante_salva(), Qt::Key_Space); },
    };
    for (std::size_t i = 0; i < std::size(subito); ++i) {
        ASSERT_TRUE(testsupport::in_rapida_successione(
            [&] { finestre.clear(); }, [&] { QTest::keyClick(m.get(), Qt::Key_S, Qt::AltModifier); }, subito[i]));
        EXPECT_EQ(finestre.size(), 1u) << "case " << i;
    }
}

// A double-click on a button is one click: Salva says once why it refuses.
TEST_F(ModuloTest, ADoubleClickRunsTheButtonOnce) {
    auto m = apri();
    QApplication::setActiveWindow(m.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.get()));
    m->casella(4)->setText(QStringLiteral("31/02/2020"));
    // As a widget gets a double-click: a click, then the second press as a
    // double-click, then its release.
    QTest::mouseClick(m->pulsante_salva(), Qt::LeftButton);
    QTest::mouseDClick(m->pulsante_salva(), Qt::LeftButton);
    QTest::mouseRelease(m->pulsante_salva(), Qt::LeftButton);
    EXPECT_EQ(finestre.size(), 1u);
}

TEST_F(ModuloTest, MenuAsksOnlyWhenSomethingChanged) {
    {
        auto m = apri();
        QTest::mouseClick(m->pulsante_menu(), Qt::LeftButton);
        EXPECT_TRUE(finestre.empty());
        EXPECT_EQ(ritorni_al_menu, 1);
        EXPECT_FALSE(m->isVisible());
    }
    {
        auto m = apri();
        digita(m->casella(1), QStringLiteral("Rossi"));
        risposta = false;  // "No": leave without saving
        QTest::mouseClick(m->pulsante_menu(), Qt::LeftButton);
        ASSERT_EQ(finestre.size(), 1u);
        EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::Domanda);
        EXPECT_EQ(finestre[0].titolo, QStringLiteral("Menu"));
        EXPECT_EQ(finestre[0].testo,
                  QStringLiteral("Prima di tornare al menu, vuoi salvare le modifiche effettuate al contratto ?"));
        EXPECT_EQ(ritorni_al_menu, 2);
        EXPECT_EQ(leggi_dato("COGNOME_RICHIEDENTE"), std::nullopt);
    }
    {
        finestre.clear();
        auto m = apri();
        digita(m->casella(1), QStringLiteral("Bianchi"));
        ASSERT_TRUE(m->salva());  // after a completed save nothing is asked
        QTest::mouseClick(m->pulsante_menu(), Qt::LeftButton);
        EXPECT_TRUE(finestre.empty());
        EXPECT_EQ(ritorni_al_menu, 3);
        EXPECT_EQ(leggi_dato("COGNOME_RICHIEDENTE").value_or(""), "Bianchi");
    }
}

TEST_F(ModuloTest, TheSoleOwnerFormStoresItsOwnKind) {
    auto m = apri(TipoContratto::Proprietario);
    EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE").value_or(""), "Proprietario");
    digita(m->casella(0), QStringLiteral("Ugo"));
    ASSERT_TRUE(m->salva());
    EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE").value_or(""), "Proprietario");
}

TEST_F(ModuloTest, AnUnreadableStoreOpensNoForm) {
    fs::create_directory(file_dati());
    bool chiamato = false;
    EXPECT_FALSE(apri_contratto(TipoContratto::Comproprietario, [&] { chiamato = true; }));
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_TRUE(finestre[0].testo.startsWith(QStringLiteral("Impossibile aprire il contratto")));
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<ModuloContratto*>(w), nullptr);
    EXPECT_FALSE(chiamato);
}

TEST_F(ModuloTest, ApriContrattoShowsTheLoadedForm) {
    testsupport::write_data_file(file_dati(), {{"NOME_RICHIEDENTE", "Lia"}});
    ASSERT_TRUE(apri_contratto(TipoContratto::Comproprietario, [] {}));
    ModuloContratto* aperto = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<ModuloContratto*>(w); m && m->isVisible()) aperto = m;
    ASSERT_NE(aperto, nullptr);
    EXPECT_EQ(testo_di(*aperto, 0), QStringLiteral("Lia"));
    EXPECT_EQ(aperto->focusWidget(), aperto->text1(0)) << "the first box has the focus";
    QTest::mouseClick(aperto->pulsante_menu(), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ModuloTest, BozzaWritesTheDraftOfTheSavedContract) {
    // A stand-in for the desktop's viewer, so that no real one starts.
    const fs::path strumenti = dir.path() / "bin";
    fs::create_directory(strumenti);
    const fs::path avviato = dir / "avviato";
    testsupport::write_file(strumenti / "xdg-open",
                            "#!/bin/sh\n: > " + testsupport::shell_quote(avviato.string()) + "\nexit 0\n");
    fs::permissions(strumenti / "xdg-open", fs::perms::owner_all);
    const std::string path_prima = qEnvironmentVariable("PATH").toStdString();
    qputenv("PATH", QByteArray::fromStdString(strumenti.string() + ":" + path_prima));

    auto m = apri();
    digita(m->casella(0), QStringLiteral("Mario"));
    ASSERT_TRUE(m->salva());
    digita(m->casella(1), QStringLiteral("Nonsalvato"));
    QTest::mouseClick(m->pulsante_bozza(), Qt::LeftButton);
    // Removed only once it has run: a shell that finds its script gone
    // fails, and that failure would be reported.
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(avviato); }));
    // Without a viewer the draft is written all the same, and the user is
    // told where it is.
    std::vector<FinestraMessaggio> senza_visualizzatore;
    std::swap(finestre, senza_visualizzatore);
    fs::remove(strumenti / "xdg-open");
    qputenv("PATH", QByteArray::fromStdString(strumenti.string()));
    fs::remove(cartella_dati() / "bozza.pdf");
    QTest::mouseClick(m->pulsante_bozza(), Qt::LeftButton);
    qputenv("PATH", QByteArray::fromStdString(path_prima));
    EXPECT_TRUE(fs::exists(cartella_dati() / "bozza.pdf"));
    std::swap(finestre, senza_visualizzatore);
    ASSERT_EQ(senza_visualizzatore.size(), 1u);
    EXPECT_EQ(senza_visualizzatore[0].tipo, FinestraMessaggio::Tipo::Avviso);
    EXPECT_TRUE(senza_visualizzatore[0].testo.contains(QFile::decodeName((cartella_dati() / "bozza.pdf").c_str())))
        << senza_visualizzatore[0].testo.toStdString();
    EXPECT_TRUE(senza_visualizzatore[0].testo.contains(QStringLiteral("nessun programma lo ha aperto")));
    // The draft of the saved contract, and nothing said.
    const fs::path bozza = cartella_dati() / "bozza.pdf";
    EXPECT_TRUE(finestre.empty()) << (finestre.empty() ? "" : finestre[0].testo.toStdString());
    EXPECT_EQ(read_file(bozza).rfind("%PDF-", 0), 0u);
    if (testsupport::have_tool("pdftotext")) {
        const auto testo = testsupport::run_command("pdftotext " + testsupport::shell_quote(bozza.string()) + " -");
        EXPECT_NE(testo.out.find("Mario"), std::string::npos);
        EXPECT_EQ(testo.out.find("Nonsalvato"), std::string::npos);
    }
    finestre.clear();

    // The sole-owner document does not exist: the user is told, nothing written.
    fs::remove(cartella_dati() / "bozza.pdf");
    auto p = apri(TipoContratto::Proprietario);
    QTest::mouseClick(p->pulsante_bozza(), Qt::LeftButton);
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::Avviso);
    EXPECT_FALSE(fs::exists(cartella_dati() / "bozza.pdf"));
}

// The desktop's viewer as it may behave: it ends well, fails (no program
// for PDF files), cannot run at all, or stays until its viewer is closed and
// fails then. The window never waits for it, and a failure is told with the
// draft's place whenever it comes.
TEST_F(ModuloTest, AFailingViewerIsToldWithTheFilesPlaceAndAStayingOneNeverBlocks) {
    const fs::path strumenti = dir / "bin", avviato = dir / "avviato", fine = dir / "fine";
    fs::create_directory(strumenti);
    const std::string path_prima = qEnvironmentVariable("PATH").toStdString();
    qputenv("PATH", QByteArray::fromStdString(strumenti.string() + ":" + path_prima));
    // Whatever happens below, no viewer of ours is left waiting.
    const std::shared_ptr<void> rilascia(nullptr, [&](void*) {
        testsupport::write_file(fine, "");
        qputenv("PATH", QByteArray::fromStdString(path_prima));
    });
    const std::string segna = "#!/bin/sh\n: > " + testsupport::shell_quote(avviato.string()) + "\n";
    // Stays until told, or at most about ten seconds.
    const std::string resta = "n=0; while [ ! -e " + testsupport::shell_quote(fine.string()) +
                              " ] && [ $n -lt 500 ]; do sleep 0.02; n=$((n+1)); done\n";
    const struct {
        const char* caso;
        std::string programma;
        bool parte, resta;
        const char* nel_messaggio;  // nullptr: nothing is said
    } casi[] = {
        {"ends well", segna + "exit 0\n", true, false, nullptr},
        {"no program for PDF files", segna + "exit 3\n", true, false, "codice 3 (sul computer non c'\u00e8 un programma"},
        {"cannot run", "#!/nonexistent/sh\n", false, false, "non si pu\u00f2 avviare"},
        {"killed", segna + "kill -9 $$\n", true, false, "si \u00e8 interrotto"},
        {"stays, then fails", segna + resta + "exit 4\n", true, true, "codice 4 (l'apertura non"},
    };
    auto m = apri();
    digita(m->casella(0), QStringLiteral("Mario"));
    ASSERT_TRUE(m->salva());
    const QString bozza = QFile::decodeName((cartella_dati() / "bozza.pdf").c_str());
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        testsupport::write_file(strumenti / "xdg-open", c.programma);
        fs::permissions(strumenti / "xdg-open", fs::perms::owner_all);
        fs::remove(avviato);
        fs::remove(fine);
        finestre.clear();
        QTest::mouseClick(m->pulsante_bozza(), Qt::LeftButton);
        if (c.parte) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(avviato); }));
        }
        if (c.resta) {
            // The viewer is up: the form answers and nothing is said yet.
            QTest::qWait(100);
            EXPECT_TRUE(finestre.empty());
            m->casella(1)->setFocus();
            digita(m->casella(1), QStringLiteral("Rossi"));
            EXPECT_EQ(testo_di(*m, 1), QStringLiteral("Rossi"));
            testsupport::write_file(fine, "");
        }
        if (c.nel_messaggio == nullptr) {
            QTest::qWait(300);
            EXPECT_TRUE(finestre.empty()) << finestre.front().testo.toStdString();
            continue;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !finestre.empty(); }));
        ASSERT_EQ(finestre.size(), 1u);
        EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::Avviso);
        EXPECT_TRUE(finestre[0].testo.contains(QStringLiteral("\"") + bozza + QStringLiteral("\"")))
            << finestre[0].testo.toStdString();
        EXPECT_TRUE(finestre[0].testo.contains(QStringLiteral("nessun programma lo ha aperto")));
        EXPECT_TRUE(finestre[0].testo.contains(QString::fromUtf8(c.nel_messaggio))) << finestre[0].testo.toStdString();
    }
}

TEST_F(ModuloTest, HelpIsAModalWindowThatExplainsTheScreen) {
    auto m = apri();
    QString titolo;
    QString testo;
    bool modale = false;
    QTimer::singleShot(0, [&] {
        QWidget* finestra = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->inherits("QDialog")) finestra = w;
        if (!finestra) return;
        modale = finestra->isModal() && QApplication::activeModalWidget() == finestra;
        titolo = finestra->windowTitle();
        if (auto* browser = finestra->findChild<QTextBrowser*>()) testo = browser->toPlainText();
        finestra->close();
    });
    m->aiuto();
    EXPECT_TRUE(modale);
    EXPECT_TRUE(titolo.startsWith(QStringLiteral("Aiuto")));
    EXPECT_NE(testo.indexOf(QStringLiteral("Salva")), -1);
    EXPECT_NE(testo.indexOf(QStringLiteral("Menu")), -1);
}

TEST_F(ModuloTest, EscOrClosingTheSaveQuestionLosesNothing) {
    auto m = apri();
    QApplication::setActiveWindow(m.get());
    digita(m->casella(1), QStringLiteral("Rossi"));
    imposta_risponditore({});  // the real question, answered by key or close button
    const std::vector<std::function<void()>> uscite = {
        [&] { QTest::mouseClick(m->pulsante_menu(), Qt::LeftButton); },
        [&] { m->close(); },
    };
    for (const auto& esci : uscite) {
        for (bool con_esc : {true, false}) {
            QTimer::singleShot(QUIETE_PRIMA_DEI_TASTI_MS + 50, [con_esc] {
                auto* box = QApplication::activeModalWidget();
                ASSERT_NE(box, nullptr);
                if (con_esc)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    box->close();
            });
            esci();
            EXPECT_TRUE(m->isVisible());
            EXPECT_EQ(ritorni_al_menu, 0);
            EXPECT_EQ(m->contratto_modificato(), 1);
            EXPECT_EQ(testo_di(*m, 1), QStringLiteral("Rossi"));
        }
    }
    EXPECT_EQ(leggi_dato("COGNOME_RICHIEDENTE"), std::nullopt);
}

TEST_F(ModuloTest, RefusedEntriesAreFocusedInViewAndTypedAmountsReachTheContract) {
    auto m = apri();
    m->resize(900, 500);
    QApplication::setActiveWindow(m.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.get()));
    // A refused date far down the page: the box comes into view with the focus.
    m->casella(82)->setText(QStringLiteral("31/02/2021"));
    m->casella(0)->setFocus();
    QTest::mouseClick(m->pulsante_salva(), Qt::LeftButton);
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_TRUE(m->casella(82)->hasFocus());
    EXPECT_FALSE(m->casella(82)->visibleRegion().isEmpty());
    m->casella(82)->setText(QStringLiteral("15/03/2021"));

    // An amount that reads as no number is refused in its box, not saved.
    finestre.clear();
    m->casella(44)->setText(QStringLiteral("3.5"));
    m->casella(0)->setFocus();
    EXPECT_FALSE(m->salva());
    EXPECT_TRUE(m->casella(44)->hasFocus());
    EXPECT_EQ(leggi_dato("ONERI_SICUREZZA_NETTO_IVA"), std::nullopt);

    m->casella(44)->clear();
    m->casella(44)->setFocus();
    digita(m->casella(44), QStringLiteral("3.500"));
    m->casella(42)->setFocus();
    digita(m->casella(42), QStringLiteral("125.000,50"));
    EXPECT_EQ(testo_di(*m, 46), QStringLiteral("128500,50"));
    ASSERT_TRUE(m->salva());
    const auto archivio = leggi_archivio();
    EXPECT_EQ(archivio.at("IMPORTO_LAVORI_NETTO_IVA"), "125.000,50");
    EXPECT_EQ(archivio.at("ONERI_SICUREZZA_NETTO_IVA"), "3.500");
    EXPECT_EQ(archivio.at("TOTALE_APPALTO"), "128500,50");
}

// "Sì" to saving on the way out, by Menu or by closing the window, with an
// amount that reads as no number: the form stays, as Salva refuses, and the
// box's note is in sight once the question has gone.
TEST_F(ModuloTest, SavingOnTheWayOutWithARefusedAmountSaysWhy) {
    auto m = apri();
    QApplication::setActiveWindow(m.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.get()));
    digita(m->casella(44), QStringLiteral("3.5"));
    imposta_risponditore({});  // the real question, answered with its letter
    const std::function<void()> uscite[] = {
        [&] { QTest::mouseClick(m->pulsante_menu(), Qt::LeftButton); },
        [&] { m->close(); },
    };
    for (const auto& esci : uscite) {
        m->casella(0)->setFocus();
        QToolTip::hideText();
        QTimer::singleShot(QUIETE_PRIMA_DEI_TASTI_MS + 50,
                           [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_S); });
        esci();
        // The window system gives the form back its activation once the
        // question's window has gone; offscreen, the test asks for it.
        m->activateWindow();
        QTest::qWait(300);
        EXPECT_TRUE(m->isVisible());
        EXPECT_EQ(ritorni_al_menu, 0);
        EXPECT_TRUE(m->casella(44)->hasFocus());
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("Valore non valido"))) << QToolTip::text().toStdString();
    }
    QToolTip::hideText();
    EXPECT_EQ(leggi_dato("ONERI_SICUREZZA_NETTO_IVA"), std::nullopt);
}

TEST_F(ModuloTest, AnArticleTooLongIsLeftWithTheCursorWhereWhatIsStoredEnds) {
    auto m = apri();
    QApplication::setActiveWindow(m.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.get()));
    digita(m->casella(62), QStringLiteral("Penali"));
    CasellaTestoMultiriga* corpo = m->corpo_articolo(14);
    // Bodies of 1,020 bytes, which the box takes; a piece never begins or
    // ends with a blank, so blanks near the cuts cost the pieces room.
    struct Caso {
        std::vector<int> blank;  // among the first "a"s
        int a;
        const char* fine;        // typed after them
        int tenuti;
        int togliere;
    };
    const Caso casi[] = {
        // Blanks at characters 255, 510 and 765 cost each of the first three
        // pieces two bytes: the fourth ends inside the line break.
        {{254, 509, 764}, 1017, "\nb", 1017, 2},
        // Two blanks before the first cut cost it four bytes: the fourth
        // piece ends at the last "a", before the blank and the line break.
        {{252, 254}, 1016, " \nb", 1016, 3},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.tenuti);
        finestre.clear();
        QString testo(caso.a, QLatin1Char('a'));
        for (int i : caso.blank) testo[i] = QLatin1Char(' ');
        corpo->clear();
        QApplication::clipboard()->setText(testo);
        corpo->setFocus();
        QTest::keyClick(corpo, Qt::Key_V, Qt::ControlModifier);
        digita(corpo, QString::fromLatin1(caso.fine));
        ASSERT_EQ(corpo->lunghezza_byte(), 1020);

        QTest::mouseClick(m->pulsante_salva(), Qt::LeftButton);
        ASSERT_EQ(finestre.size(), 1u);
        EXPECT_EQ(finestre[0].testo.toStdString(),
                  std::string("Il testo dell'articolo 14 è troppo lungo per essere salvato per intero: accorciarlo di ") +
                      std::to_string(caso.togliere) +
                      " caratteri: ciò che si può salvare finisce dove è il cursore.");
        EXPECT_TRUE(corpo->hasFocus());
        EXPECT_FALSE(corpo->textCursor().hasSelection());
        EXPECT_EQ(corpo->textCursor().position(), caso.tenuti);

        // As many characters as it says deleted after the cursor, and the
        // article is saved.
        for (int i = 0; i < caso.togliere; ++i) QTest::keyClick(corpo, Qt::Key_Delete);
        QTest::mouseClick(m->pulsante_salva(), Qt::LeftButton);
        EXPECT_EQ(finestre.size(), 1u);
        EXPECT_EQ(m->contratto_modificato(), 0);
    }
}

namespace {

// The option in sight at the page's bottom edge, the rest of its sentence
// below it.
void al_bordo_inferiore(QScrollArea* scorrimento, QWidget* opzione) {
    const int dove = opzione->mapTo(scorrimento->widget(), QPoint(0, 0)).y();
    scorrimento->verticalScrollBar()->setValue(dove + opzione->height() - scorrimento->viewport()->height());
    ASSERT_TRUE(testsupport::in_vista(opzione));
    ASSERT_FALSE(testsupport::in_vista(opzione->parentWidget()));
}

}  // namespace

TEST_F(ModuloTest, AnOptionTabbedToAtThePagesBottomEdgeComesWhollyIntoView) {
    auto m = apri();
    m->resize(900, 500);
    QApplication::setActiveWindow(m.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.get()));
    auto* scorrimento = m->findChild<QScrollArea*>();
    for (const char* nome : {"Option1_2", "Option3_1"}) {
        SCOPED_TRACE(nome);
        auto* opzione = m->findChild<PulsanteOpzione*>(QString::fromLatin1(nome));
        ASSERT_NE(opzione, nullptr);
        QWidget* prima = opzione->previousInFocusChain();
        while (!(prima->focusPolicy() & Qt::TabFocus) || !prima->isEnabled() || !prima->isVisible())
            prima = prima->previousInFocusChain();
        prima->setFocus();
        al_bordo_inferiore(scorrimento, opzione);
        QTest::keyClick(prima, Qt::Key_Tab);
        ASSERT_TRUE(opzione->hasFocus());
        EXPECT_TRUE(testsupport::in_vista(opzione->parentWidget())) << "its whole sentence";
    }
}

// A click is a press and a release at one point of the screen: the page
// stays still under it, so the release lands on the option pressed.
TEST_F(ModuloTest, AnOptionClickedAtThePagesBottomEdgeIsChosenWhereItStands) {
    auto m = apri();
    m->resize(900, 500);
    QApplication::setActiveWindow(m.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.get()));
    auto* scorrimento = m->findChild<QScrollArea*>();
    for (const char* nome : {"Option1_2", "Option3_1"}) {
        SCOPED_TRACE(nome);
        auto* opzione = m->findChild<PulsanteOpzione*>(QString::fromLatin1(nome));
        ASSERT_NE(opzione, nullptr);
        ASSERT_FALSE(opzione->isChecked());
        al_bordo_inferiore(scorrimento, opzione);
        const int pagina = scorrimento->verticalScrollBar()->value();
        const QPoint schermo = opzione->mapToGlobal(QPoint(6, opzione->height() / 2));
        QTest::mousePress(opzione, Qt::LeftButton, {}, opzione->mapFromGlobal(schermo));
        QTest::mouseRelease(opzione, Qt::LeftButton, {}, opzione->mapFromGlobal(schermo));
        EXPECT_TRUE(opzione->isChecked());
        EXPECT_EQ(scorrimento->verticalScrollBar()->value(), pagina);
    }
}

// Run in a child test program on a 1366 x 768 screen at the scale factor
// the parent chose (the screen is fixed when the application starts).
TEST_F(ModuloTest, TheFormAndItsButtonsFitALaptopScreenAtAnyScale) {
    if (!qEnvironmentVariableIsSet("CONTRATTO_PROVA_SCHERMO")) {
        for (const char* scala : {"1", "1.5", "2"}) {
            ASSERT_TRUE(testsupport::passa_su_schermo_portatile(dir.path(), "CONTRATTO_PROVA_SCHERMO", scala,
                                                                 "ModuloTest.TheFormAndItsButtonsFitALaptopScreenAtAnyScale"));
        }
        return;
    }
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_TRUE(apri_contratto(TipoContratto::Comproprietario, [] {}));
    ModuloContratto* aperto = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<ModuloContratto*>(w); m && m->isVisible()) aperto = m;
    ASSERT_NE(aperto, nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(area.contains(aperto->frameGeometry())) << area.width() << "x" << area.height();
    for (QPushButton* pulsante : {aperto->pulsante_salva(), aperto->pulsante_bozza(), aperto->pulsante_menu()}) {
        const QRect dove(pulsante->mapToGlobal(QPoint(0, 0)), pulsante->size());
        EXPECT_TRUE(pulsante->isVisible() && area.contains(dove)) << pulsante->text().toStdString();
    }
    aperto->close();
}

TEST_F(ModuloTest, ALongCompanyNameWrapsInsteadOfWideningThePage) {
    auto m = apri();
    m->resize(1000, 600);
    QApplication::processEvents();
    auto* scorrimento = m->findChild<QScrollArea*>();
    ASSERT_NE(scorrimento, nullptr);
    const int larghezza_pagina = scorrimento->widget()->width();
    const QString nome = QStringLiteral(
        "Consorzio Stabile Costruzioni Generali Restauri Conservativi Consolidamenti e Impianti Tecnologici "
        "del Centro Antico e delle Periferie Orientali e Occidentali S.c.a r.l.");
    digita(m->casella(16), nome);
    QApplication::processEvents();

    EXPECT_EQ(scorrimento->widget()->width(), larghezza_pagina);
    EXPECT_LE(scorrimento->widget()->width(), scorrimento->viewport()->width());
    EXPECT_FALSE(scorrimento->horizontalScrollBar()->isVisible());
    const auto ripetute = m->ripetizioni("impresa");
    ASSERT_FALSE(ripetute.empty());
    for (QLabel* l : ripetute) {
        EXPECT_EQ(l->text(), nome);
        // Whole, on several lines, inside its sentence.
        EXPECT_GE(l->height(), 2 * l->fontMetrics().height());
        EXPECT_LE(l->geometry().right(), l->parentWidget()->width());
    }
}

// A repeated name that needs one more line grows its own sentence only: the
// others keep their size (squeezed and stretched back, they would make the
// whole view paint again at every such key).
TEST_F(ModuloTest, TypingARepeatedNameResizesOnlyTheSentencesThatShowIt) {
    auto m = apri();
    m->resize(1300, 700);
    QApplication::processEvents();
    std::set<QWidget*> con_nome;
    for (const char* nome : {"impresa", "recapito_impresa"})
        for (QLabel* l : m->ripetizioni(nome)) con_nome.insert(l->parentWidget());
    QWidget* pagina = m->findChild<QScrollArea*>()->widget();

    struct Ridimensionamenti : QObject {
        std::set<QWidget*> esclusi;
        std::vector<std::string> visti;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Resize && !esclusi.count(static_cast<QWidget*>(o)))
                visti.push_back(o->objectName().toStdString() + " " + std::to_string(static_cast<QWidget*>(o)->height()));
            return false;
        }
    } ridimensionamenti;
    ridimensionamenti.esclusi = con_nome;
    for (QWidget* frase : pagina->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        frase->installEventFilter(&ridimensionamenti);

    const QString nome = QStringLiteral("Consorzio Stabile Costruzioni Generali e Restauri del Centro Antico S.c.a r.l.");
    const int altezza_prima = pagina->height();
    for (QChar c : nome) {
        QTest::keyClick(m->casella(16), c.toLatin1());
        QApplication::processEvents();
    }
    EXPECT_GT(pagina->height(), altezza_prima) << "the name was meant to need more lines";
    EXPECT_TRUE(ridimensionamenti.visti.empty()) << ridimensionamenti.visti.size() << " sentences resized, first "
                                                 << ridimensionamenti.visti.front();
}
