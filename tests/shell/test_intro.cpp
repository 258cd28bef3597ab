// The start menu, the output-folder chooser and the start-up lock, with the
// message boxes answered by a responder.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <map>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFileSystemModel>
#include <QLabel>
#include <QTreeView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "common/blocco_istanza.h"
#include "common/cartelle.h"
#include "common/dati.h"
#include "contract_forms/modulo_contratto.h"
#include "pdf/PdfWriter.h"
#include "shell/avvio.h"
#include "shell/crea_contratto.h"
#include "shell/intro.h"
#include "support/rapida_successione.h"
#include "support/tools.h"
#include "ui/gruppo_opzioni.h"
#include "ui/messaggi_ui.h"
#include "ui/protetto.h"
#include "dati_contratto.h"

namespace fs = std::filesystem;

// Readable QString values in failure messages.
inline void PrintTo(const QString& testo, std::ostream* os) { *os << '"' << testo.toStdString() << '"'; }

namespace {

// The window's button with this caption; nullptr when there is none.
QPushButton* pulsante(const QWidget* finestra, const QString& testo) {
    for (QPushButton* p : finestra->findChildren<QPushButton*>())
        if (p->text() == testo) return p;
    return nullptr;
}

class Menu : public ::testing::Test {
protected:
    void SetUp() override {
        imposta_cartelle(cartella.path(), cartella.path());
        precedente = imposta_risponditore([this](const FinestraMessaggio& f) {
            finestre.push_back(f);
            return risposta;
        });
        azioni.apri_contratto = [this](TipoContratto tipo, std::function<void()> torna) {
            aperture.push_back(tipo);
            torna_al_menu = std::move(torna);
            if (apertura_lancia) throw PdfError(53, "PdfWriter.DrawImage", "file non trovato");
            return apertura_riesce;
        };
        azioni.scegli_cartella = [this](QWidget*, CostruttoreContratto c) {
            ++scelte_cartella;
            costruttore_ricevuto = static_cast<bool>(c);
        };
        azioni.apri_cartellone = [this](std::function<void()> torna) {
            ++aperture_cartellone;
            torna_al_menu = std::move(torna);
            return apertura_riesce;
        };
        azioni.costruttore = [](TipoRichiedente t) -> CostruttoreContratto {
            if (t == TipoRichiedente::Amministratore) return {};
            return [](const fs::path&, bool) { return true; };
        };
    }
    void TearDown() override {
        imposta_risponditore(precedente);
        imposta_cartelle({}, {});
    }

    void scrivi(const dati_prova::Coppie& coppie) { testsupport::write_data_file(file_dati(), coppie); }
    // A builder that counts its runs and writes a small document.
    CostruttoreContratto costruttore_contato() {
        return [this](const fs::path& file, bool) {
            ++generazioni;
            testsupport::write_file(file, "%PDF-1.4 nuovo");
            return true;
        };
    }
    // The menu shown again after the store changed under it.
    void riapri(Intro& intro, const dati_prova::Coppie& coppie) {
        scrivi(coppie);
        intro.hide();
        intro.show();
    }

    std::vector<bool> abilitate(const Intro& intro) const {
        std::vector<bool> v;
        for (int i = 0; i < 4; ++i) v.push_back(intro.scelte()->pulsante(i)->isEnabled());
        return v;
    }

    testsupport::TempDir cartella;
    Risponditore precedente;
    std::vector<FinestraMessaggio> finestre;
    bool risposta = true;
    Intro::Azioni azioni;
    std::vector<TipoContratto> aperture;
    int aperture_cartellone = 0;
    std::function<void()> torna_al_menu;
    bool apertura_riesce = true;
    bool apertura_lancia = false;
    int scelte_cartella = 0;
    bool costruttore_ricevuto = false;
    int generazioni = 0;
};

}  // namespace

TEST_F(Menu, StateComesFromTheDataFileEachTimeItOpens) {
    Intro intro(azioni);
    intro.show();
    EXPECT_EQ(intro.scelte()->selezionato(), -1) << "no file: nothing preselected";
    EXPECT_EQ(abilitate(intro), (std::vector<bool>{false, true, true, true}))
        << "the condominium is not available in this version";

    riapri(intro, {{"TIPO_RICHIEDENTE", "comproprietario "}});
    EXPECT_EQ(intro.scelte()->selezionato(), Intro::Comproprietari);
    EXPECT_FALSE(intro.nota()->isVisible());

    riapri(intro, {{"TIPO_RICHIEDENTE", "Proprietario"}, {"CONTRATTO_CHIUSO", "S"}});
    EXPECT_TRUE(intro.contratto_chiuso());
    EXPECT_EQ(intro.scelte()->selezionato(), -1);
    EXPECT_EQ(abilitate(intro), (std::vector<bool>{false, false, false, true}))
        << "a closed contract leaves only the site sign";
    // Not a dead window: the menu says why nothing can be chosen.
    ASSERT_TRUE(intro.nota()->isVisible());
    EXPECT_TRUE(intro.nota()->text().contains(QStringLiteral("Il contratto è chiuso")));
    EXPECT_TRUE(intro.nota()->text().contains(QStringLiteral("cartellone")));
    EXPECT_GE(intro.height(), intro.nota()->geometry().bottom()) << "the note is not cut off";

    riapri(intro, {{"TIPO_RICHIEDENTE", "Amministratore"}});
    EXPECT_EQ(intro.scelte()->selezionato(), -1) << "a kind that cannot be chosen is not preselected";
    EXPECT_FALSE(intro.nota()->isVisible());
    EXPECT_TRUE(finestre.empty());
}

// The sign stays open to a closed contract; leaving it shows the menu again.
TEST_F(Menu, TheSiteSignOpensInPlaceOfTheMenu) {
    scrivi({{"TIPO_RICHIEDENTE", "Proprietario"}, {"CONTRATTO_CHIUSO", "S"}});
    Intro intro(azioni);
    intro.show();
    intro.scelte()->seleziona(Intro::Cartellone);
    intro.prosegui();
    EXPECT_EQ(aperture_cartellone, 1);
    EXPECT_TRUE(aperture.empty());
    EXPECT_FALSE(intro.isVisible());
    ASSERT_TRUE(torna_al_menu);
    torna_al_menu();
    EXPECT_TRUE(intro.isVisible());

    apertura_riesce = false;  // the store could not be read: the menu stays
    intro.scelte()->seleziona(Intro::Cartellone);
    intro.prosegui();
    EXPECT_TRUE(intro.isVisible());
    EXPECT_TRUE(finestre.empty());
}

TEST_F(Menu, AnUnreadableStoreLeavesNoWayIntoAForm) {
    fs::create_directory(file_dati());  // a folder where the file should be
    Intro intro(azioni);
    intro.show();
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::ErroreCritico);
    EXPECT_EQ(abilitate(intro), (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(intro.nota()->isVisible());
}

TEST_F(Menu, SwitchingKindAsksSovrascrivere) {
    scrivi({{"TIPO_RICHIEDENTE", "Proprietario"}});
    Intro intro(azioni);
    intro.show();
    intro.scelta(Intro::Comproprietari)->click();

    risposta = false;
    intro.prosegui();
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::Domanda);
    EXPECT_EQ(finestre[0].titolo, QStringLiteral("Sovrascrivere"));
    EXPECT_TRUE(aperture.empty());
    EXPECT_TRUE(intro.isVisible());

    // What the question says happens, and when: the real form stores its
    // kind as it opens, before any save.
    EXPECT_TRUE(finestre[0].testo.contains(QStringLiteral("subito un contratto per comproprietari")))
        << finestre[0].testo.toStdString();
    EXPECT_TRUE(finestre[0].testo.contains(QStringLiteral("anche senza salvare")));
    EXPECT_EQ(finestre[0].predefinita, Risposta::No) << "Enter alone keeps the stored kind";
    EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE"), "Proprietario") << "No changed nothing";
    risposta = true;
    azioni.apri_contratto = {};
    Intro reale(azioni);
    reale.show();
    reale.scelta(Intro::Comproprietari)->click();
    reale.prosegui();
    EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE"), "Comproprietario");
    EXPECT_FALSE(reale.isVisible()) << "the menu closes before the form opens";

    // Back from the form, the menu reads the store again.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<ModuloContratto*>(w); m && m->isVisible()) m->pulsante_menu()->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(reale.isVisible());
    EXPECT_EQ(reale.scelte()->selezionato(), Intro::Comproprietari);
}

TEST_F(Menu, SameKindOpensWithoutAsking) {
    scrivi({{"TIPO_RICHIEDENTE", "Proprietario"}});
    Intro intro(azioni);
    intro.show();
    intro.prosegui();
    EXPECT_TRUE(finestre.empty());
    EXPECT_EQ(aperture, std::vector<TipoContratto>{TipoContratto::Proprietario});
}

TEST_F(Menu, AFormThatDoesNotOpenBringsTheMenuBack) {
    Intro intro(azioni);
    intro.show();
    intro.scelta(Intro::Proprietario)->click();
    apertura_riesce = false;
    intro.prosegui();
    EXPECT_TRUE(intro.isVisible());

    apertura_lancia = true;
    intro.scelta(Intro::Proprietario)->click();
    intro.prosegui();
    EXPECT_TRUE(intro.isVisible());
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::ErroreCritico);
    EXPECT_EQ(finestre[0].testo, QStringLiteral("PdfWriter.DrawImage - file non trovato"));
}

TEST_F(Menu, ProseguiWithoutAChoiceTellsTheUser) {
    Intro intro(azioni);
    intro.show();
    for (const auto& [chiuso, testo] :
         {std::pair{"N", QStringLiteral("Scegliere il tipo di richiedente.")},
          {"S", QStringLiteral("Il contratto è chiuso: è possibile preparare solo il cartellone.")}}) {
        riapri(intro, {{"CONTRATTO_CHIUSO", chiuso}});
        finestre.clear();
        intro.prosegui();
        ASSERT_EQ(finestre.size(), 1u);
        EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::Avviso);
        EXPECT_EQ(finestre[0].titolo, QStringLiteral("Contratto di appalto"));
        EXPECT_EQ(finestre[0].testo, testo);
    }
    EXPECT_TRUE(aperture.empty());
}

TEST_F(Menu, StampaDatiNamesTheFirstMissingItemOrOpensTheChooser) {
    Intro intro(azioni);
    intro.show();
    scrivi(dati_prova::con(dati_prova::contratto_completo(), "RAGIONE_SOCIALE_IMPRESA", ""));
    intro.stampa_dati_e_genera();
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].testo, QStringLiteral("Manca la ragione sociale dell'impresa."));
    EXPECT_EQ(scelte_cartella, 0);

    finestre.clear();
    scrivi(dati_prova::contratto_completo());
    intro.stampa_dati_e_genera();
    EXPECT_TRUE(finestre.empty());
    EXPECT_EQ(scelte_cartella, 1);
    EXPECT_TRUE(costruttore_ricevuto);
}

TEST_F(Menu, ChooserGeneratesReportsAndEnds) {
    scrivi(dati_prova::contratto_completo());
    fs::create_directory(cartella.path() / "Scrivania");
    int terminazioni = 0;
    {
        crea_contratto finestra(costruttore_contato(), nullptr, [&] { ++terminazioni; });
        finestra.scegli_cartella(cartella.path() / "Scrivania");
        EXPECT_EQ(finestra.cartella_scelta(), cartella.path() / "Scrivania");
        EXPECT_TRUE(finestra.genera());
        EXPECT_EQ(finestra.result(), QDialog::Accepted);
    }
    EXPECT_EQ(terminazioni, 1);
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].testo, QStringLiteral("FILE GENERATI CON SUCCESSO!"));
    EXPECT_TRUE(fs::exists(cartella.path() / "Scrivania" / "Files Contratto Tavore" / "contratto.pdf"));

    // Afterwards the menu offers nothing of the contract, only the sign.
    Intro intro(azioni);
    intro.show();
    EXPECT_TRUE(intro.contratto_chiuso());
    EXPECT_EQ(abilitate(intro), (std::vector<bool>{false, false, false, true}));
}

// Every path under `cartella` with the bytes of its files.
std::map<std::string, std::string> albero(const fs::path& cartella) {
    std::map<std::string, std::string> voci;
    for (const auto& voce : fs::recursive_directory_iterator(cartella))
        voci[fs::relative(voce.path(), cartella).string()] = voce.is_regular_file() ? testsupport::read_file(voce) : "";
    return voci;
}

// The earlier output folder is replaced whole: what the user put there is
// named before "Genera" deletes it, and "No" writes nothing at all.
TEST_F(Menu, GeneraNamesTheUsersOwnFilesInTheOutputFolderBeforeTheyGo) {
    const fs::path scrivania = cartella / "Scrivania", uscita = scrivania / "Files Contratto Tavore";
    struct {
        std::vector<std::string> estranei;  // a name without a dot is a folder
        bool risposta, generato;
    } casi[] = {{{}, false, true}, {{"firmato.pdf"}, false, false}, {{"scansioni"}, true, true}};
    // Ten names at most are listed: here twelve, in order, "e altri 2".
    for (int i = 101; i <= 111; ++i) casi[2].estranei.push_back("f" + std::to_string(i) + ".pdf");
    std::sort(casi[2].estranei.begin(), casi[2].estranei.end());
    for (const auto& c : casi) {
        SCOPED_TRACE(c.estranei.size() + c.risposta);
        scrivi(dati_prova::contratto_completo());
        fs::remove_all(scrivania);
        fs::create_directories(uscita);
        for (const std::string nome : {"contratto.pdf", "dati2.dat"}) testsupport::write_file(uscita / nome, "vecchio");
        for (const auto& nome : c.estranei) {
            if (nome.find('.') == std::string::npos) fs::create_directory(uscita / nome);
            else testsupport::write_file(uscita / nome, "firmato a mano");
        }
        const auto prima = albero(cartella.path());
        finestre.clear();
        risposta = c.risposta;
        generazioni = 0;
        crea_contratto finestra(costruttore_contato(), nullptr, [] {});
        finestra.scegli_cartella(scrivania);
        finestra.show();
        QTest::mouseClick(pulsante(&finestra, QStringLiteral("&Genera")), Qt::LeftButton);
        ASSERT_FALSE(finestre.empty());
        const bool chiesto = finestre[0].titolo == QStringLiteral("Sovrascrivere");
        EXPECT_EQ(chiesto, !c.estranei.empty());
        if (chiesto) {
            EXPECT_EQ(finestre[0].predefinita, Risposta::No) << "Enter alone keeps the user's files";
            for (std::size_t i = 0; i < c.estranei.size(); ++i)
                EXPECT_EQ(finestre[0].testo.contains(QString::fromStdString(c.estranei[i])), i < 10) << c.estranei[i];
            EXPECT_EQ(finestre[0].testo.contains(QStringLiteral("e altri 2")), c.estranei.size() == 12);
            EXPECT_FALSE(finestre[0].testo.contains(QStringLiteral("contratto.pdf"))) << "nor the program's own";
        }
        EXPECT_EQ(generazioni, c.generato ? 1 : 0);
        if (c.generato) {
            EXPECT_EQ(testsupport::read_file(uscita / "contratto.pdf"), "%PDF-1.4 nuovo");
            for (const auto& nome : c.estranei) EXPECT_FALSE(fs::exists(uscita / nome)) << nome;
        } else {
            EXPECT_EQ(albero(cartella.path()), prima) << "nothing written, nothing deleted";
        }
    }
}

// What generations cut short left in the chosen folder: the previous output
// moved aside gets its name back before "Genera" asks about the folder, and
// the other hidden folders of dead generations go, even when the user then
// answers "No". A link, a folder of a running generation, another user's
// folder and names that only look alike stay.
TEST_F(Menu, GeneraPutsBackWhatACutShortGenerationMovedAsideAndRemovesItsLeftovers) {
    scrivi(dati_prova::contratto_completo());
    const fs::path scrivania = cartella / "Scrivania";
    const std::string nascosta = scrivania / ".Files Contratto Tavore.";
    const auto pid_finito = [] {
        const pid_t figlio = ::fork();
        if (figlio == 0) ::_exit(0);
        ::waitpid(figlio, nullptr, 0);
        return std::to_string(figlio);
    };
    const std::string morto = pid_finito(), altro_morto = pid_finito();
    const auto cartella_con = [](const fs::path& dove, const std::string& contratto) {
        fs::create_directories(dove);
        testsupport::write_file(dove / "contratto.pdf", contratto);
    };
    cartella_con(nascosta + "vecchia-" + morto, "precedente");
    testsupport::write_file(nascosta + "vecchia-" + morto + "/firmato.pdf", "firmato a mano");
    cartella_con(nascosta + "vecchia-" + altro_morto + "-1", "ancora prima");
    fs::last_write_time(nascosta + "vecchia-" + altro_morto + "-1",
                        fs::last_write_time(nascosta + "vecchia-" + morto) - std::chrono::hours(24));
    cartella_con(nascosta + "nuova-" + morto, "%PDF-1.4 a met");
    cartella_con(nascosta + "nuova-" + altro_morto + "-2", "%PDF-1.4 a met");
    const std::vector<std::string> intoccabili = {
        nascosta + "nuova-" + std::to_string(::getpid()),   // a generation running now
        nascosta + "vecchia-" + altro_morto + "x",          // not our name
        (scrivania / "Files Contratto Tavore.nuova-").string() + morto,
        nascosta + "nuova-" + morto + "-",
    };
    for (const auto& nome : intoccabili) cartella_con(nome, "altro");
    cartella_con(cartella / "altrove", "altro");
    fs::create_directory_symlink(cartella / "altrove", nascosta + "vecchia-" + altro_morto);
    const bool root = ::geteuid() == 0;
    if (root) {
        cartella_con(nascosta + "nuova-" + altro_morto, "di un altro utente");
        ASSERT_EQ(::chown((nascosta + "nuova-" + altro_morto).c_str(), 65534, 65534), 0);
    }

    risposta = false;
    crea_contratto finestra(costruttore_contato(), nullptr, [] {});
    finestra.scegli_cartella(scrivania);
    finestra.show();
    QTest::mouseClick(pulsante(&finestra, QStringLiteral("&Genera")), Qt::LeftButton);
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].titolo, QStringLiteral("Sovrascrivere"));
    EXPECT_TRUE(finestre[0].testo.contains(QStringLiteral("firmato.pdf"))) << finestre[0].testo.toStdString();
    EXPECT_EQ(generazioni, 0);

    EXPECT_EQ(testsupport::read_file(scrivania / "Files Contratto Tavore" / "contratto.pdf"), "precedente");
    std::vector<std::string> restano;
    for (const auto& voce : fs::directory_iterator(scrivania)) restano.push_back(voce.path().string());
    std::vector<std::string> attese = intoccabili;
    attese.push_back(nascosta + "vecchia-" + altro_morto);
    if (root) attese.push_back(nascosta + "nuova-" + altro_morto);
    attese.push_back((scrivania / "Files Contratto Tavore").string());
    std::sort(restano.begin(), restano.end());
    std::sort(attese.begin(), attese.end());
    EXPECT_EQ(restano, attese);
    EXPECT_EQ(testsupport::read_file(cartella / "altrove" / "contratto.pdf"), "altro") << "a link is not followed";
}

TEST_F(Menu, ChooserStaysOpenWhenTheBuilderFails) {
    scrivi(dati_prova::contratto_completo());
    int terminazioni = 0;
    crea_contratto finestra([](const fs::path&, bool) -> bool { throw PdfError(52, "PdfWriter.BeginDoc", "in uso"); },
                            nullptr, [&] { ++terminazioni; });
    finestra.scegli_cartella(cartella.path());
    finestra.show();
    EXPECT_FALSE(finestra.genera());
    EXPECT_TRUE(finestra.isVisible());
    EXPECT_EQ(terminazioni, 0);
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::ErroreCritico);
    EXPECT_EQ(finestre[0].testo, QStringLiteral("PdfWriter.BeginDoc - in uso"));
    EXPECT_FALSE(leggi_dato("CONTRATTO_CHIUSO").has_value());
    // No folder chosen: the user is asked for one.
    finestre.clear();
    finestra.findChild<QTreeView*>()->setCurrentIndex({});
    EXPECT_FALSE(finestra.genera());
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_EQ(finestre[0].testo, QStringLiteral("Scegliere la cartella di destinazione."));
}

TEST_F(Menu, ChooserStartsAtTheDesktopOrHome) {
    const fs::path inizio = crea_contratto::cartella_iniziale();
    EXPECT_TRUE(fs::is_directory(inizio));
    crea_contratto finestra([](const fs::path&, bool) { return false; });
    EXPECT_EQ(finestra.cartella_scelta(), inizio);

    // The start folder is in sight, among its siblings, and the user can climb from there.
    fs::create_directories(cartella.path() / "Scrivania");
    finestra.scegli_cartella(cartella.path() / "Scrivania");
    auto* albero = finestra.findChild<QTreeView*>();
    ASSERT_NE(albero, nullptr);
    auto* modello = qobject_cast<QFileSystemModel*>(albero->model());
    ASSERT_NE(modello, nullptr);
    EXPECT_EQ(fs::path(modello->filePath(albero->rootIndex()).toStdString()), cartella.path());
    QPushButton* superiore = pulsante(&finestra, QStringLiteral("Cartella &superiore"));
    ASSERT_NE(superiore, nullptr);
    superiore->click();
    EXPECT_EQ(fs::path(modello->filePath(albero->rootIndex()).toStdString()), cartella.path().parent_path());
    EXPECT_EQ(finestra.cartella_scelta(), cartella.path() / "Scrivania") << "climbing keeps the choice";
}

TEST_F(Menu, ASecondCopyIsRefused) {
    {
        BloccoIstanza primo;
        ASSERT_TRUE(primo.acquisito());
        EXPECT_EQ(blocca_istanza(), nullptr);
        ASSERT_EQ(finestre.size(), 1u);
        EXPECT_TRUE(finestre[0].testo.contains(QStringLiteral("già aperto")));
    }
    EXPECT_NE(blocca_istanza(), nullptr) << "the lock goes with the first copy";

    // A lock that cannot be made is told apart, with the folder and the cause.
    finestre.clear();
    imposta_cartelle(cartella.path(), cartella / "manca");
    EXPECT_EQ(blocca_istanza(), nullptr);
    ASSERT_EQ(finestre.size(), 1u);
    EXPECT_TRUE(finestre[0].testo.contains(QString::fromStdString((cartella / "manca").string())))
        << finestre[0].testo.toStdString();
    EXPECT_TRUE(finestre[0].testo.contains(QStringLiteral("file o cartella inesistente")));
}

// A home folder that cannot be written: the start names the folder that
// must become writable, in an OK box (no document failed), and ends.
TEST_F(Menu, AnUnwritableHomeIsToldWithWhatToDoAndEndsTheStart) {
    testsupport::TempDir programma, casa;
    for (const auto* cartella : {&programma, &casa})
        fs::permissions(cartella->path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                              fs::perms::others_exec);
    const bool eseguito = testsupport::without_privileges([&] {
        imposta_cartelle(programma.path(), {});
        const QByteArray home = qgetenv("HOME"), xdg = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QByteArray(casa.path().c_str()));
        qunsetenv("XDG_DATA_HOME");
        EXPECT_EQ(prepara_avvio(), nullptr);
        qputenv("HOME", home);
        if (!xdg.isNull()) qputenv("XDG_DATA_HOME", xdg);
        ASSERT_EQ(finestre.size(), 1u);
        EXPECT_EQ(finestre[0].tipo, FinestraMessaggio::Tipo::Avviso);
        EXPECT_EQ(finestre[0].testo,
                  QStringLiteral("Il programma non può conservare i dati: non riesce a creare la cartella dei dati "
                                 "\"%1/.local/share/contratto\" perché nella cartella \"%1\" non si può scrivere. "
                                 "Rendere la cartella \"%1\" scrivibile dal proprio utente (o chiedere di farlo a "
                                 "chi gestisce il computer), poi riavviare il programma.")
                      .arg(QString::fromStdString(casa.path().string())));
    });
    for (const auto* cartella : {&programma, &casa}) fs::permissions(cartella->path(), fs::perms::owner_all);
    if (!eseguito) GTEST_SKIP() << "cannot drop root rights here";
}

// Documents and a save killed half-way leave their work files beside their
// names; the next start removes them, while it holds the lock, and nothing
// else. The child program writes them with the real writer and is killed.
TEST_F(Menu, TheStartRemovesTheWorkFilesOfKilledDocumentsAndSaves) {
    if (const QByteArray figlio = qgetenv("CONTRATTO_PROVA_UCCISO"); !figlio.isEmpty()) {
        imposta_cartelle(figlio.toStdString(), figlio.toStdString());
        for (const char* nome : {NOME_BOZZA, NOME_CARTELLONE}) {
            auto* pdf = new PdfWriter;
            pdf->BeginDoc((cartella_dati() / nome).string());
            pdf->BeginPage();
        }
        ::kill(::getpid(), SIGKILL);
    }
    const fs::path programma = fs::read_symlink("/proc/self/exe");
    testsupport::run_command("CONTRATTO_PROVA_UCCISO=" + testsupport::shell_quote(cartella.path().string()) + " " +
                             testsupport::shell_quote(programma.string()) +
                             " --gtest_filter=Menu.TheStartRemovesTheWorkFilesOfKilledDocumentsAndSaves");
    const auto nomi = [&] {
        std::vector<std::string> v;
        for (const auto& voce : fs::directory_iterator(cartella.path())) v.push_back(voce.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    };
    int avanzi = 0;
    for (const auto& nome : nomi())
        avanzi += avanzo_di_scrittura(nome, NOME_BOZZA) || avanzo_di_scrittura(nome, NOME_CARTELLONE);
    ASSERT_EQ(avanzi, 2) << "the killed child left the writer's two work files";
    testsupport::write_file(cartella / ".dati2.dat.Ab3dE9", "");  // a save's leftover, by its pattern
    testsupport::write_file(cartella / NOME_CARTELLONE, "%PDF-1.4 earlier");
    imposta_cartelle(cartella / "programma", cartella.path());  // they lie beside the data file
    {
        BloccoIstanza altra_copia;
        const auto prima = nomi();
        EXPECT_EQ(blocca_istanza(), nullptr);
        EXPECT_EQ(nomi(), prima) << "another copy may be writing them";
    }
    const auto blocco = blocca_istanza();
    ASSERT_NE(blocco, nullptr);
    EXPECT_EQ(nomi(), (std::vector<std::string>{NOME_CARTELLONE, "dati2.lock"}));
}

TEST(Protetto, EveryErrorBecomesTheCriticalBox) {
    std::vector<QString> testi;
    auto precedente = imposta_risponditore([&](const FinestraMessaggio& f) {
        EXPECT_EQ(f.tipo, FinestraMessaggio::Tipo::ErroreCritico);
        testi.push_back(f.testo);
        return true;
    });
    EXPECT_TRUE(esegui_protetto(nullptr, [] {}));
    EXPECT_FALSE(esegui_protetto(nullptr, [] { throw PdfError(52, "PdfWriter.BeginDoc", "Bad file name or number"); }));
    EXPECT_FALSE(esegui_protetto(nullptr, [] { throw ErroreDati("Impossibile leggere dati2.dat: è una cartella"); }));
    EXPECT_FALSE(esegui_protetto(nullptr, [] { throw 42; }));
    imposta_risponditore(precedente);
    EXPECT_EQ(testi, (std::vector<QString>{QStringLiteral("PdfWriter.BeginDoc - Bad file name or number"),
                                           QStringLiteral("Impossibile leggere dati2.dat: è una cartella"),
                                           QStringLiteral("Errore imprevisto")}));
}

namespace {

TEST_F(Menu, TheSoleOwnerHasNoDocumentAndStampaDatiSaysSoFirst) {
    azioni.costruttore = costruttore_per_tipo;
    Intro intro(azioni);
    intro.show();
    EXPECT_TRUE(intro.scelta(Intro::Proprietario)->text().contains(QStringLiteral("non è ancora disponibile")));
    // Incomplete and complete alike: the user hears it before any list of
    // missing items, and no folder is asked for. With no kind stored the
    // check says that nothing was filled in.
    const QString non_disponibile =
        QStringLiteral("Il contratto per proprietario unico non è disponibile in questa versione.");
    const std::pair<dati_prova::Coppie, QString> casi[] = {
        {{{"TIPO_RICHIEDENTE", "Proprietario"}}, non_disponibile},
        {dati_prova::con(dati_prova::contratto_completo(), "TIPO_RICHIEDENTE", "Proprietario"), non_disponibile},
        {{}, QStringLiteral("Nessun contratto è stato compilato: scegliere il tipo di richiedente e compilare il "
                            "contratto.")},
    };
    for (const auto& [coppie, messaggio] : casi) {
        riapri(intro, coppie);
        EXPECT_TRUE(intro.scelta(Intro::Proprietario)->isEnabled()) << "its form works";
        finestre.clear();
        intro.stampa_dati_e_genera();
        ASSERT_EQ(finestre.size(), 1u);
        EXPECT_EQ(finestre[0].testo, messaggio);
        EXPECT_EQ(scelte_cartella, 0);
    }
}

// A key press as the user makes it: to the widget that has the focus.
void premi(Qt::Key tasto, Qt::KeyboardModifiers modificatori = Qt::NoModifier) {
    QWidget* bersaglio = QApplication::focusWidget();
    QTest::keyClick(bersaglio != nullptr ? bersaglio : QApplication::activeWindow(), tasto, modificatori);
}
const std::pair<Qt::Key, Qt::KeyboardModifiers> INVII[] = {{Qt::Key_Return, {}}, {Qt::Key_Enter, Qt::KeypadModifier}};

ModuloContratto* modulo_aperto() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<ModuloContratto*>(w); m && m->isVisible()) return m;
    return nullptr;
}

// Back from the real form, however the focus moved while the menu reread the
// store, Enter opens the form again: it never reaches "Stampa Dati", and a
// disabled "Prosegui" is never pressed.
TEST_F(Menu, EnterAfterComingBackOpensTheFormAndNeverTheChooser) {
    scrivi(dati_prova::contratto_completo());
    azioni.apri_contratto = {};  // the real form
    Intro intro(azioni);
    intro.show();
    QApplication::setActiveWindow(&intro);
    QPushButton* prosegui = pulsante(&intro, QStringLiteral("&Prosegui"));
    const auto al_menu = [&] {
        QTest::mouseClick(modulo_aperto()->pulsante_menu(), Qt::LeftButton);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::setActiveWindow(&intro);
    };
    for (const auto& [tasto, modificatori] : INVII) {
        QTest::mouseClick(prosegui, Qt::LeftButton);
        al_menu();
        EXPECT_EQ(QApplication::focusWidget(), prosegui) << "the focus is where the user left it";
        premi(tasto, modificatori);
        ModuloContratto* modulo = modulo_aperto();
        ASSERT_NE(modulo, nullptr) << "Enter opened the form";
        QApplication::setActiveWindow(modulo);
        premi(tasto, modificatori);
        EXPECT_EQ(modulo_aperto(), modulo) << "a second Enter stays in the form";
        al_menu();
    }
    // With the focus on another button Enter still means "Prosegui".
    pulsante(&intro, QStringLiteral("&Stampa Dati"))->setFocus();
    premi(Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(modulo_aperto(), nullptr) << "Alt+Enter is no Enter";
    premi(Qt::Key_Return);
    ASSERT_NE(modulo_aperto(), nullptr);
    al_menu();
    EXPECT_EQ(scelte_cartella, 0);
    EXPECT_FALSE(leggi_dato("CONTRATTO_CHIUSO").has_value());
    // "Prosegui" disabled (an unreadable store): Enter does nothing at all.
    fs::remove(file_dati());
    fs::create_directory(file_dati());
    riapri(intro, {});
    ASSERT_FALSE(prosegui->isEnabled());
    finestre.clear();
    QApplication::setActiveWindow(&intro);
    premi(Qt::Key_Return);
    EXPECT_TRUE(intro.isVisible());
    EXPECT_TRUE(finestre.empty()) << finestre.front().testo.toStdString();
}

// An Alt letter's click lands a moment after the key (Qt draws the button
// pressed meanwhile): Enter pressed before it lands belongs to the same user
// action, and so does a second Enter that reaches the menu just left. The
// form opens or Stampa Dati runs, once, never both.
TEST_F(Menu, AQuickAltLetterAndEnterRunOneAction) {
    scrivi(dati_prova::contratto_completo());
    std::optional<Intro> intro;
    const auto menu_nuovo = [&] {
        aperture.clear();
        scelte_cartella = 0;
        intro.reset();
        intro.emplace(azioni);
        intro->show();
        QApplication::setActiveWindow(&*intro);
    };
    for (const auto& [tasto, modificatori] : {std::pair{Qt::Key_P, Qt::KeyboardModifiers(Qt::AltModifier)},
                                              {Qt::Key_S, Qt::AltModifier},
                                              {Qt::Key_Return, Qt::NoModifier}}) {
        ASSERT_TRUE(testsupport::in_rapida_successione(menu_nuovo, [&] { premi(tasto, modificatori); },
                                                       [] { premi(Qt::Key_Return); }));
        EXPECT_EQ(aperture.size() + static_cast<std::size_t>(scelte_cartella), 1u)
            << QKeySequence(tasto | modificatori).toString().toStdString() << ": " << aperture.size()
            << " forms, " << scelte_cartella << " choosers";
    }
    // Enter asks whether to change the kind of client: the letter's click
    // does not land under the question either.
    imposta_risponditore({});
    const auto con_domanda = [&] {
        menu_nuovo();
        intro->scelta(Intro::Proprietario)->click();
        QTimer::singleShot(150 + QUIETE_PRIMA_DEI_TASTI_MS, [] {
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_N);
        });
    };
    ASSERT_TRUE(testsupport::in_rapida_successione(con_domanda, [] { premi(Qt::Key_S, Qt::AltModifier); },
                                                   [] { premi(Qt::Key_Return); }));
    EXPECT_TRUE(aperture.empty());
    EXPECT_EQ(scelte_cartella, 0);
}

// Space on a button of the menu just left for a form, the window system
// still sending keys to it, does nothing: the form is the user's action.
TEST_F(Menu, ALateSpaceOnTheMenuLeftForAFormRunsNothing) {
    scrivi(dati_prova::contratto_completo());
    for (const QString& testo : {QStringLiteral("&Stampa Dati"), QStringLiteral("&Prosegui")}) {
        aperture.clear();
        scelte_cartella = 0;
        Intro intro(azioni);
        intro.show();
        QApplication::setActiveWindow(&intro);
        QPushButton* bottone = pulsante(&intro, testo);
        bottone->setFocus();
        QTest::mouseClick(pulsante(&intro, QStringLiteral("&Prosegui")), Qt::LeftButton);
        ASSERT_EQ(aperture.size(), 1u);
        ASSERT_FALSE(intro.isVisible());
        QTest::keyClick(bottone, Qt::Key_Space);
        EXPECT_EQ(aperture.size(), 1u) << testo.toStdString();
        EXPECT_EQ(scelte_cartella, 0) << testo.toStdString();
        EXPECT_TRUE(finestre.empty()) << testo.toStdString();
    }
}

// The irreversible generation runs only from a click or its Alt key: no run
// of Enter presses from any control of the chooser reaches it.
TEST_F(Menu, NoEnterInTheChooserGenerates) {
    scrivi(dati_prova::contratto_completo());
    crea_contratto finestra(costruttore_contato(), nullptr, [] {});
    finestra.scegli_cartella(cartella.path());
    EXPECT_FALSE(pulsante(&finestra, QStringLiteral("&Genera"))->isDefault());
    for (QWidget* controllo : finestra.findChildren<QWidget*>()) {
        if (!(controllo->focusPolicy() & Qt::TabFocus)) continue;
        for (const auto& [tasto, modificatori] : INVII) {
            for (int volte = 0; volte < 3; ++volte) {
                finestra.show();
                QApplication::setActiveWindow(&finestra);
                controllo->setFocus();
                premi(tasto, modificatori);
            }
        }
    }
    EXPECT_EQ(generazioni, 0);
    premi(Qt::Key_G, Qt::AltModifier);
    // A shortcut's click is animated: it lands a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return generazioni == 1; })) << "Alt+G generates";
}

}  // namespace
