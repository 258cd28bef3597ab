// The final generation: what is on disk after success and after each kind of
// failure.
#include <csignal>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/cartelle.h"
#include "common/dati.h"
#include "common/messaggi.h"
#include "pdf/PdfWriter.h"
#include "shell/generazione.h"
#include "support/tools.h"
#include "dati_contratto.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::write_file;

namespace {

class Generazione : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(programma());
        fs::create_directories(dati());
        fs::create_directories(scelta());
        imposta_cartelle(programma(), dati());
        testsupport::write_data_file(file_dati(), dati_prova::contratto_completo());
        write_file(dati() / "bozza.pdf", "%PDF-1.4 bozza");
        imposta_gestore_messaggi([this](TipoMessaggio, const std::string& testo) { messaggi.push_back(testo); });
    }
    void TearDown() override {
        imposta_gestore_messaggi({});
        imposta_cartelle({}, {});
    }

    fs::path programma() const { return radice.path() / "programma"; }
    // The data file and the draft: not the program folder.
    fs::path dati() const { return radice.path() / "dati"; }
    fs::path scelta() const { return radice.path() / "Scrivania"; }
    fs::path uscita() const { return scelta() / "Files Contratto Tavore"; }

    // Everything under the chosen folder, for "nothing was left behind".
    std::vector<std::string> contenuto_scelta() const {
        std::vector<std::string> nomi;
        for (const auto& voce : fs::recursive_directory_iterator(scelta()))
            nomi.push_back(fs::relative(voce.path(), scelta()).string());
        std::sort(nomi.begin(), nomi.end());
        return nomi;
    }

    // An earlier output folder and what a failed run must leave exactly as
    // it was: the data file, everything under the chosen folder, the draft.
    struct Stato {
        std::string dati;
        std::vector<std::string> scelta;
    };
    Stato prepara_vecchia_uscita() {
        fs::create_directories(uscita());
        write_file(uscita() / "contratto.pdf", "vecchio contratto");
        write_file(uscita() / "appunti.txt", "note");
        return {read_file(file_dati()), contenuto_scelta()};
    }
    void expect_invariato(const Stato& prima, const std::string& caso = "") const {
        EXPECT_EQ(read_file(file_dati()), prima.dati) << caso;
        EXPECT_EQ(contenuto_scelta(), prima.scelta) << caso;
        EXPECT_EQ(read_file(uscita() / "contratto.pdf"), "vecchio contratto") << caso;
        EXPECT_TRUE(fs::exists(dati() / "bozza.pdf")) << caso;
    }

    testsupport::TempDir radice;
    std::vector<std::string> messaggi;
};

bool costruttore_finto(const fs::path& file, bool apri) {
    EXPECT_FALSE(apri) << "the final contract is not opened";
    write_file(file, "%PDF-1.4 finto");
    return true;
}

}  // namespace

TEST_F(Generazione, SuccessLeavesTheFolderTheMarkAndNoDraft) {
    (void)prepara_vecchia_uscita();
    ASSERT_TRUE(genera_contratto_finale(scelta(), costruttore_finto));
    EXPECT_TRUE(messaggi.empty());
    EXPECT_EQ(contenuto_scelta(), (std::vector<std::string>{"Files Contratto Tavore",
                                                           "Files Contratto Tavore/contratto.pdf",
                                                           "Files Contratto Tavore/dati2.dat"}))
        << "the old folder is replaced whole, nothing temporary is left";
    EXPECT_EQ(read_file(uscita() / "contratto.pdf"), "%PDF-1.4 finto");
    EXPECT_EQ(leggi_dato(uscita() / "dati2.dat", "CONTRATTO_CHIUSO"), "S");
    EXPECT_EQ(leggi_dato(uscita() / "dati2.dat", "NOME_RICHIEDENTE"), "Mario");
    EXPECT_EQ(leggi_dato("CONTRATTO_CHIUSO"), "S");
    EXPECT_FALSE(fs::exists(dati() / "bozza.pdf"));
}

TEST_F(Generazione, WithoutAnEarlierFolderOrDraft) {
    fs::remove(dati() / "bozza.pdf");
    ASSERT_TRUE(genera_contratto_finale(scelta(), costruttore_finto));
    EXPECT_TRUE(fs::exists(uscita() / "contratto.pdf"));
    EXPECT_EQ(leggi_dato("CONTRATTO_CHIUSO"), "S");
}

TEST_F(Generazione, AFailureChangesNothing) {
    const Stato prima = prepara_vecchia_uscita();

    struct Caso {
        const char* nome;
        CostruttoreContratto costruttore;
    };
    const Caso casi[] = {
        {"builder reports failure after a partial file",
         [](const fs::path& file, bool) {
             write_file(file, "%PDF-1.4 a met");
             return false;
         }},
        {"builder claims success but wrote nothing", [](const fs::path&, bool) { return true; }},
        {"builder claims success but wrote an empty file",
         [](const fs::path& file, bool) {
             write_file(file, "");
             return true;
         }},
        {"no builder for the kind", CostruttoreContratto{}},
    };
    for (const Caso& caso : casi) {
        messaggi.clear();
        EXPECT_FALSE(genera_contratto_finale(scelta(), caso.costruttore)) << caso.nome;
        expect_invariato(prima, caso.nome);
    }
}

TEST_F(Generazione, AnErrorOfTheWriterPropagatesAfterTheCleanUp) {
    const Stato prima = prepara_vecchia_uscita();
    EXPECT_THROW(genera_contratto_finale(scelta(),
                                         [](const fs::path& file, bool) -> bool {
                                             write_file(file, "%PDF-1.4");
                                             throw PdfError(52, "PdfWriter.BeginDoc", "file in uso");
                                         }),
                 PdfError);
    expect_invariato(prima);
}

TEST_F(Generazione, AFailingDataStoreLeavesTheOldOutput) {
    const Stato prima = prepara_vecchia_uscita();
    simula_guasto_prima_della_rinomina(true);
    EXPECT_THROW(genera_contratto_finale(scelta(), costruttore_finto), ErroreDati);
    simula_guasto_prima_della_rinomina(false);
    expect_invariato(prima);
    EXPECT_NE(leggi_dato("CONTRATTO_CHIUSO"), std::optional<std::string>("S"));
}

// A crash during the swap, stood in for by a child killed just before a
// step: until the new folder has its name the contract stays open, and the
// next generation finds the previous output (put back by the clean-up that
// runs before it) and leaves nothing hidden. A mark that cannot be written
// undoes the swap.
TEST_F(Generazione, TheContractIsClosedOnlyOnceTheNewFolderHasItsName) {
    const struct {
        PassoGenerazione passo;
        bool uccisa;  // otherwise the data file refuses the mark
        const char* contratto_dopo;
    } casi[] = {
        {PassoGenerazione::SpostaVecchia, true, "vecchio contratto"},
        {PassoGenerazione::DaiIlNome, true, "vecchio contratto"},
        {PassoGenerazione::SegnaChiuso, true, "%PDF-1.4 finto"},
        {PassoGenerazione::SegnaChiuso, false, "vecchio contratto"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(static_cast<int>(c.passo) * 2 + c.uccisa);
        fs::remove_all(scelta());
        fs::create_directories(scelta());
        testsupport::write_data_file(file_dati(), dati_prova::contratto_completo());
        write_file(dati() / "bozza.pdf", "%PDF-1.4 bozza");
        const Stato prima = prepara_vecchia_uscita();
        if (c.uccisa) {
            const pid_t figlio = ::fork();
            ASSERT_GE(figlio, 0);
            if (figlio == 0) {
                osserva_passi_generazione([&](PassoGenerazione p) {
                    if (p == c.passo) ::kill(::getpid(), SIGKILL);
                });
                genera_contratto_finale(scelta(), costruttore_finto);
                ::_exit(0);
            }
            int stato = 0;
            ASSERT_EQ(::waitpid(figlio, &stato, 0), figlio);
            ASSERT_TRUE(WIFSIGNALED(stato)) << "the child reached its step";
        } else {
            osserva_passi_generazione([&](PassoGenerazione p) { simula_guasto_prima_della_rinomina(p == c.passo); });
            EXPECT_THROW(genera_contratto_finale(scelta(), costruttore_finto), ErroreDati);
            osserva_passi_generazione({});
            simula_guasto_prima_della_rinomina(false);
            expect_invariato(prima);
        }
        EXPECT_NE(leggi_dato("CONTRATTO_CHIUSO"), std::optional<std::string>("S"));
        EXPECT_TRUE(fs::exists(dati() / "bozza.pdf"));

        ripristina_generazione_interrotta(scelta());
        EXPECT_EQ(read_file(uscita() / "contratto.pdf"), c.contratto_dopo);
        for (const auto& nome : contenuto_scelta()) EXPECT_NE(nome[0], '.') << nome;
        ASSERT_TRUE(genera_contratto_finale(scelta(), costruttore_finto));
        EXPECT_EQ(leggi_dato("CONTRATTO_CHIUSO"), "S");
        EXPECT_EQ(contenuto_scelta(), (std::vector<std::string>{"Files Contratto Tavore",
                                                               "Files Contratto Tavore/contratto.pdf",
                                                               "Files Contratto Tavore/dati2.dat"}));
    }
}

// A previous output moved aside that cannot get its name back (the chosen
// folder is no longer writable) is all that is left of it: it stays whole.
TEST_F(Generazione, AMovedAsideOutputThatCannotGetItsNameBackStays) {
    const bool eseguito = testsupport::without_privileges([] {
        testsupport::TempDir scrivania;
        const pid_t figlio = ::fork();
        if (figlio == 0) ::_exit(0);
        ::waitpid(figlio, nullptr, 0);
        const fs::path vecchia = scrivania / (".Files Contratto Tavore.vecchia-" + std::to_string(figlio));
        fs::create_directory(vecchia);
        write_file(vecchia / "contratto.pdf", "vecchio contratto");
        fs::permissions(scrivania.path(), fs::perms::owner_read | fs::perms::owner_exec);
        ripristina_generazione_interrotta(scrivania.path());
        fs::permissions(scrivania.path(), fs::perms::owner_all);
        EXPECT_FALSE(fs::exists(scrivania / "Files Contratto Tavore"));
        EXPECT_EQ(read_file(vecchia / "contratto.pdf"), "vecchio contratto");
    });
    if (!eseguito) GTEST_SKIP() << "cannot drop root rights here";
}

// What an earlier output folder holds that the program did not write.
TEST_F(Generazione, ForeignFilesAreAllButTheProgramsOwnPlainFiles) {
    EXPECT_TRUE(file_estranei(scelta()).empty()) << "no folder yet";
    fs::create_directories(uscita() / "contratto.pdf");
    write_file(uscita() / "dati2.dat", "dati");
    write_file(uscita() / "firmato.pdf", "firmato");
    fs::create_symlink(uscita() / "dati2.dat", uscita() / "Dati2.dat");
    EXPECT_EQ(file_estranei(scelta()), (std::vector<std::string>{"Dati2.dat", "contratto.pdf", "firmato.pdf"}))
        << "a folder of our name is not ours";
    fs::remove_all(uscita());
    write_file(uscita(), "a file in the folder's place");
    EXPECT_EQ(file_estranei(scelta()), std::vector<std::string>{"Files Contratto Tavore"});
}

TEST_F(Generazione, AMissingTargetFolderIsReported) {
    EXPECT_FALSE(genera_contratto_finale(scelta() / "non esiste", costruttore_finto));
    ASSERT_EQ(messaggi.size(), 1u);
    EXPECT_NE(messaggi[0].find("non esiste"), std::string::npos);
    EXPECT_FALSE(leggi_dato("CONTRATTO_CHIUSO").has_value());
}

TEST_F(Generazione, ABuildersMessageNamesTheChosenFolderNotTheHiddenOne) {
    const auto costruttore = [](const fs::path& file, bool) {
        mostra_errore_critico("BeginDoc - Impossibile creare il file - " + file.string());
        return false;
    };
    EXPECT_FALSE(genera_contratto_finale(scelta(), costruttore));
    ASSERT_EQ(messaggi.size(), 1u);
    EXPECT_EQ(messaggi[0], "BeginDoc - Impossibile creare il file - " + (uscita() / "contratto.pdf").string());
    // The substitution ends with the generation.
    mostra_avviso("dopo");
    EXPECT_EQ(messaggi.back(), "dopo");
}

TEST_F(Generazione, BuilderOfTheStoredKind) {
    EXPECT_FALSE(costruttore_per_tipo(TipoRichiedente::Amministratore));
    EXPECT_FALSE(costruttore_per_tipo(TipoRichiedente::Nessuno));
    ASSERT_TRUE(costruttore_per_tipo(TipoRichiedente::Comproprietario));
    // The sole owner has no document yet: no builder, so the menu can say
    // so before asking for a folder.
    ASSERT_FALSE(costruttore_per_tipo(TipoRichiedente::Proprietario));

    // The sole-owner document is not available: it says so and nothing changes.
    EXPECT_FALSE(genera_contratto_finale(scelta(), costruttore_per_tipo(TipoRichiedente::Proprietario)));
    EXPECT_FALSE(messaggi.empty());
    EXPECT_FALSE(fs::exists(uscita()));
    EXPECT_FALSE(leggi_dato("CONTRATTO_CHIUSO").has_value());

    messaggi.clear();
    const bool riuscita =
        genera_contratto_finale(scelta(), costruttore_per_tipo(TipoRichiedente::Comproprietario));
    for (const auto& m : messaggi) ADD_FAILURE() << "message: " << m;
    ASSERT_TRUE(riuscita);
    REQUIRE_TOOL("qpdf");
    const auto controllo = testsupport::run_command("qpdf --check " +
                                                    testsupport::shell_quote((uscita() / "contratto.pdf").string()));
    EXPECT_EQ(controllo.exit_code, 0) << controllo.out << controllo.err;
    EXPECT_EQ(controllo.err, "");
    EXPECT_EQ(leggi_dato(uscita() / "dati2.dat", "CONTRATTO_CHIUSO"), "S");
    EXPECT_FALSE(fs::exists(dati() / "bozza.pdf"));
    // The document is the stored contract, written from the program's data.
    REQUIRE_TOOL("pdftotext");
    const auto testo = testsupport::run_command(
        "pdftotext " + testsupport::shell_quote((uscita() / "contratto.pdf").string()) + " -");
    EXPECT_EQ(testo.exit_code, 0) << testo.err;
    EXPECT_NE(testo.out.find("Esposito"), std::string::npos);
    EXPECT_NE(testo.out.find("Edil Russo"), std::string::npos);
}
