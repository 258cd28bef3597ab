// The co-owners contract built from data files and read back with the
// independent PDF readers.
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "builders/contratto_comproprietari.h"
#include "builders/contratto_proprietari.h"
#include "builders/testi_articoli_1_4.h"
#include "builders/testi_articoli_5_8.h"
#include "builders/testi_articoli_9_12.h"
#include "builders/testi_chiusura.h"
#include "builders/testi_facoltativi_allegati.h"
#include "builders/testi_intestazione.h"
#include "builders/testi_premesse.h"
#include "builders/testo_cp1252.h"
#include "common/cartelle.h"
#include "common/cp1252.h"
#include "contratto_fixture.h"

namespace fs = std::filesystem;
using namespace prova_contratto;
using testsupport::run_command;
using testsupport::shell_quote;

namespace {

std::string t(std::string_view testo_utf8) { return atteso(testi::cp1252(testo_utf8)); }

bool contiene(const std::string& corpo, const std::string& pezzo) { return corpo.find(pezzo) != std::string::npos; }

#define EXPECT_CONTIENE(corpo, pezzo) EXPECT_TRUE(contiene(corpo, pezzo)) << "missing: " << (pezzo)
#define EXPECT_NON_CONTIENE(corpo, pezzo) EXPECT_FALSE(contiene(corpo, pezzo)) << "present: " << (pezzo)

TEST_F(Contratto, DocumentoProtettoA4ControllatoDaiLettori) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdfinfo");
    REQUIRE_TOOL("pdffonts");
    scrivi_dati(dati_completi());
    const auto file = genera();

    EXPECT_TRUE(qpdf_senza_errori(file));

    const auto cifratura = run_command("qpdf --show-encryption " + shell_quote(file.string()));
    EXPECT_EQ(cifratura.exit_code, 0) << cifratura.err;
    EXPECT_TRUE(contiene(cifratura.out, "R = 2")) << cifratura.out;
    EXPECT_TRUE(contiene(cifratura.out, "User password = \n") || contiene(cifratura.out, "User password = \r"))
        << cifratura.out;
    EXPECT_TRUE(contiene(cifratura.out, "print low resolution: allowed")) << cifratura.out;
    EXPECT_TRUE(contiene(cifratura.out, "modify anything: not allowed")) << cifratura.out;
    EXPECT_TRUE(contiene(cifratura.out, "extract for any purpose: not allowed")) << cifratura.out;
    EXPECT_TRUE(contiene(cifratura.out, "modify annotations: not allowed")) << cifratura.out;
    // The owner password opens every right.
    const auto proprietario =
        run_command(std::string("qpdf --password=") + PASSWORD + " --show-encryption " + shell_quote(file.string()));
    EXPECT_TRUE(contiene(proprietario.out, "owner password")) << proprietario.out << proprietario.err;

    const auto info = run_command("pdfinfo " + shell_quote(file.string()));
    EXPECT_TRUE(contiene(info.out, "Page size:       596 x 842 pts (A4)")) << info.out;
    EXPECT_TRUE(contiene(info.out, "Encrypted:       yes")) << info.out;
    EXPECT_TRUE(info.err.empty()) << info.err;

    // Three faces: the footer's sans serif, the text's roman and bold.
    const auto caratteri = run_command("pdffonts " + shell_quote(file.string()));
    std::vector<std::string> nomi;
    std::istringstream righe(caratteri.out);
    std::string riga;
    int numero = 0;
    while (std::getline(righe, riga))
        if (++numero > 2 && !riga.empty()) nomi.push_back(riga.substr(0, riga.find(' ')));
    ASSERT_EQ(nomi.size(), 3u) << caratteri.out;
    int sans = 0, tondo = 0, neretto = 0;
    for (const auto& nome : nomi) {
        const bool bold = contiene(nome, "Bold");
        if (contiene(nome, "Arial") || contiene(nome, "Helvetica")) sans += !bold;
        if (contiene(nome, "Times")) (bold ? neretto : tondo) += 1;
    }
    EXPECT_TRUE(sans == 1 && tondo == 1 && neretto == 1) << caratteri.out;
}

TEST_F(Contratto, TestiFissiDiOgniBlocco) {
    REQUIRE_TOOL("pdftotext");
    const std::string corpo = corpo_con(dati_completi());
    for (auto testo : {testi::TITOLO_PROGRAMMA, testi::TITOLO_CONTRIBUTI, testi::TITOLO_DELIBERA,
                       testi::TITOLO_CONTRATTO, testi::TRA, testi::PREMESSO, testi::PREMESSA_NOMINANDO,
                       testi::PREMESSA_DIA, testi::PREMESSA_RELAZIONE_ASSEVERATA,
                       testi::PREMESSA_EROGAZIONE_CONTRIBUTO, testi::PREMESSA_RICHIESTA_EROGAZIONE,
                       testi::PREMESSA_CONTROLLI, testi::PREMESSA_OGGETTO_CONTROLLI, testi::PREMESSA_CONSEGUENZE,
                       testi::PREMESSA_STIPULA})
        EXPECT_CONTIENE(corpo, t(testo));
    for (auto testo : {testi::ART1_RECEPIMENTO, testi::ART2_QUALITA_COMMITTENTE, testi::ART2_ELABORATI,
                       testi::ART2_CONDUZIONE_FINE, testi::ART2_OSSERVANZA, testi::ART2_AMMONTARE,
                       testi::ART2_IMPORTI_PRESUNTI, testi::ART3_CAUZIONE_ANTICIPAZIONE, testi::ART3_RATA_SALDO,
                       testi::ART3_INTERESSI, testi::ART3_SOLO_COMMITTENTE, testi::ART4_TEMPO_CONGRUENTE,
                       testi::ART4_RITARDO, testi::ART4_PREZZI_FISSI, testi::ART4_REVISIONE,
                       testi::ART4_NUOVE_PRESTAZIONI, testi::ART4_VALUTAZIONE_VARIANTI,
                       testi::ART4_CONTABILIZZAZIONE, testi::ART4_PREZZARIO, testi::ART4_NUOVI_PREZZI,
                       testi::ART4_CONTRIBUTO_INVARIATO, testi::ART4_RIBASSO_VARIANTI})
        EXPECT_CONTIENE(corpo, t(testo));
    EXPECT_CONTIENE(corpo, atteso(testi::cp1252(testi::ART3_CESSAZIONE_INCARICO_1) + "\"ope legis\"" +
                                  testi::cp1252(testi::ART3_CESSAZIONE_INCARICO_2)));
    for (auto testo : {testi::ART5_DIVIETO_CESSIONE, testi::ART5_AUTORIZZAZIONE, testi::ART5_NON_SUBAPPALTI,
                       testi::ART5_FORNITURA_MATERIALI, testi::ART5_NOLI_FORNITURE, testi::ART5_INTENDIMENTO,
                       testi::ART5_COMUNICAZIONE, testi::ART5_RESPONSABILITA, testi::ART6_CONTRATTI_COLLETTIVI,
                       testi::ART6_CONTRIBUZIONE, testi::ART6_COMUNICAZIONE_INIZIO, testi::ART6_DETRAZIONE,
                       testi::ART6_SALDO_CAUZIONE, testi::ART6_INCIDENZA_MANODOPERA, testi::ART6_ELENCO_FIDUCIA,
                       testi::ART7_ACCESSO_CANTIERE, testi::ART7_CONTROLLI_AGGIUNTIVI, testi::ART7_CARTELLO_CANTIERE,
                       testi::ART8_POLIZZA_CAR, testi::ART8_MASSIMALE_INIZIO, testi::ART8_DURATA_POLIZZA,
                       testi::ART8_POLIZZA_MANUTENZIONE, testi::ART8_ACCENSIONE_POLIZZE, testi::ART8_CAUZIONE_DIECI,
                       testi::ART8_OGGETTO_CAUZIONE, testi::ART8_FIDEIUSSIONE})
        EXPECT_CONTIENE(corpo, t(testo));
    for (auto testo :
         {testi::ART9_ONERI_COMMITTENTE, testi::ART9_PUNTO_A, testi::ART9_PUNTO_B, testi::ART9_PUNTO_C,
          testi::ART9_PUNTO_D, testi::ART9_PUNTO_E, testi::ART9_PUNTO_F, testi::ART9_PUNTO_G, testi::ART9_PUNTO_H,
          testi::ART9_ONERI_APPALTATORE, testi::ART9_PUNTO_1A, testi::ART9_PUNTO_1B, testi::ART9_PUNTO_2,
          testi::ART9_PUNTO_3, testi::ART9_PUNTO_4, testi::ART9_PUNTO_5, testi::ART9_CAMPIONI, testi::ART9_PUNTO_6,
          testi::ART9_PUNTO_7, testi::ART9_PUNTO_8_INIZIO, testi::ART9_PUNTO_9, testi::ART9_PUNTO_10,
          testi::ART9_PUNTO_11, testi::ART9_PUNTO_12, testi::ART9_PUNTO_13, testi::ART9_PUNTO_14,
          testi::ART9_PUNTO_15, testi::ART9_PUNTO_16, testi::ART9_TRANSITO, testi::ART9_PUNTO_17,
          testi::ART9_PUNTO_18, testi::ART9_PUNTO_19, testi::ART9_PUNTO_20_INIZIO, testi::ART9_PUNTO_21,
          testi::ART10_CONTO_FINALE, testi::ART10_TERMINI_COLLAUDO, testi::ART10_COLLAUDO, testi::ART10_AGIBILITA,
          testi::ART10_APPROVAZIONE_COLLAUDO, testi::ART10_LIBERATORIE, testi::ART10_VIA_BONARIA,
          testi::ART10_ACCORDO_BONARIO, testi::ART10_NO_SOSPENSIONE, testi::ART10_MANCATO_ACCORDO,
          testi::ART11_COLLEGIO, testi::ART11_NOMINA_ARBITRI, testi::ART11_SEDE, testi::ART11_PROCEDURA_ARBITRALE,
          testi::ART12_SPESE, testi::ART12_COPIA, testi::ART12_CONFORMITA_INIZIO, testi::ART12_CONFORMITA_FINE})
        EXPECT_CONTIENE(corpo, t(testo));
    for (auto testo : {testi::ALLEGATI, testi::ALLEGATO_A, testi::ALLEGATO_B, testi::ALLEGATO_C, testi::ALLEGATO_D,
                       testi::ALLEGATO_E, testi::ALLEGATO_F, testi::ALLEGATO_G, testi::ALLEGATO_H, testi::ALLEGATO_I,
                       testi::ALLEGATO_J, testi::ALLEGATO_K, testi::CHIUSURA_ALLEGATI_INTEGRANTI,
                       testi::CHIUSURA_APPROVAZIONE, testi::CHIUSURA_FIRMA_COSTITUITO, testi::CHIUSURA_FIRMA_RUOLI})
        EXPECT_CONTIENE(corpo, t(testo));
    for (const char* titolo :
         {"ART. 1 Recepimento della narrativa", "ART. 2 Affidamento dei lavori. Ammontare dell'appalto",
          "ART. 3 Pagamenti", "ART. 4 Tempo e prezzi per l'esecuzione delle opere. Varianti.",
          "ART. 5 Disciplina del subappalto.", "ART. 6 Trattamento dei lavoratori",
          "ART. 7 Attività di controllo della TAVORE. S.C.p.A.",
          "ART. 8 Assicurazioni a carico dell'Appaltatore. Cauzione a garanzia dell'appalto",
          "ART. 9 Oneri ed obblighi diversi a carico del Committente e dell'Appaltatore.",
          "ART. 10 Conto finale e collaudo dei lavori. Definizione delle controversie", "ART.11 Arbitrato",
          "ART. 12 Spese del presente atto. Conformità al contratto tipo.", "ART. 13 Clausola di riservatezza",
          "AFFIDA", "Copie di tali documenti vengono allegate al presente contratto, contrassegnandole con le "
                    "lettere \"I\", \"J\" ed \"K\"."})
        EXPECT_CONTIENE(corpo, std::string(titolo));
    EXPECT_NON_CONTIENE(corpo, "\xC3\x83");  // no doubly-encoded accents
}

TEST_F(Contratto, ValoriDelleParti) {
    REQUIRE_TOOL("pdftotext");
    const std::string corpo = corpo_con(dati_completi());
    for (const char* pezzo : {
             "SITO IN DIRIDO VIA UNIVERSITÀ 12 TRA",
             "- il/la sottoscritto/a Dott. Mario Rossi, nato/a a Napoli (NA) il 05/03/1960 delegato dei "
             "proprietari dell' immobile in comunione dei beni non costituente condominio dell'edificio sito in "
             "Rezevi, Municipalità 2 in via Università 12, domiciliato in Portici in via Libertà 4, come da "
             "dichiarazione che si allega in duplice copia (All. A3), codice fiscale RSSMRA60C05F839X, autorizzato",
             "E il Ing. Luca Bianchi, nato a Salerno (SA) il 31/12/1970, nella qualità di legale rappresentante "
             "della impresa Edilizia Bianchi S.r.l., con sede in Caserta in corso Trieste 8, codice fiscale "
             "01234567890 e Partita I.V.A. 01234567890 PREMESSO",
             "hanno deciso l'esecuzione dei seguenti lavori: Facciate, Ripristino fascia basamentale,",
             "Fondazioni, Eliminazione delle barriere architettoniche, rifacimento balconi, Impianto ascensore,",
             "impianto fognario, impianto gas. inerenti il fabbricato, nominando:",
             "- progettista: Arch. Anna Neri, - direttore dei lavori: Ing. Carlo Gialli, - coordinatore per la "
             "sicurezza Geom. Sara Blu, - collaudatore Ing. Ugo Viola, autorizzando il sottoscritto Dott. Mario Rossi",
             "con disposizione dirigenziale n. 321 del 01/03/2008;",
             "C.C.I.A.A. di Caserta Prot. n. 4711 in data 15/01/2008 in corso di validità",
             "redatti dal progettista incaricato Arch. Anna Neri secondo",
             "Il/La Dott. Mario Rossi di cui in premessa anche nominato \"committente\"",
             "alla Impresa Edilizia Bianchi S.r.l. (di seguito anche denominata \"Appaltatore\")",
             "affidata a: Geom. Paolo Verdi, nato a Avellino il 10/06/1975, in qualità di Direttore Tecnico",
             "che verrà espletata da Ing. Carlo Gialli all'uopo nominato dal committente.",
             "con IBAN IT60X0542811101000000123456 presso istituto Banca del Sud agenzia Caserta 2 intestato alla "
             "società Edilizia Bianchi S.r.l. con spese",
             "recapito postale: Società Edilizia Bianchi S.r.l. corso Trieste 8 Caserta.",
             "il/i sig./sigg. Luca Bianchi.",
             "L'Appaltatore Ing. Luca Bianchi dichiara di non voler subappaltare",
             "i) spese di pubblicità", "a titolo gratuito ed oneroso: a carico del committente.",
             "come di seguito indicato: certificato di conformità.", "22) pulizia finale delle facciate",
             "Le parti mantengono riservate le informazioni scambiate.", "Rezevi, 15/04/2009",
         })
        EXPECT_CONTIENE(corpo, std::string(pezzo));
}

TEST_F(Contratto, ImportiInCifreEInLettere) {
    REQUIRE_TOOL("pdftotext");
    std::string corpo = corpo_con(con(dati_completi(), {{"IMPORTO_LAVORI_NETTO_IVA", "1000"},
                                                        {"ONERI_SICUREZZA_NETTO_IVA", "200,5"},
                                                        {"ONERI_DISCARICA_NETTO_IVA", ""},
                                                        {"PERCENTUALE_RIBASSO", "12,345"},
                                                        {"ONERI_PARTI_COMUNI", "1234567,891"},
                                                        {"ONERI_PARTI_PRIVATE", "7"}}));
    for (const char* pezzo : {
             "a) €. 1.000,00 (mille/00), per lavori a misura",
             "al netto del ribasso del 12,35% (dodici/35 per cento);",
             "b) €. 200,50 (duecento/50), per oneri per la sicurezza",
             "c) €. 0,00 (), per oneri di discarica",
             "pari a € 1.200,50 (diconsi milleduecento/50), di cui:",
             "1. €. 1.234.567,89 (unmilioneduecentotrentaquattromilacinquecentosessantasette/89), per lavori",
             "2. €. 7,00 (sette/00), per eventuali lavori",
             "nella misura minima del 10,00% (dieci/00 per cento) da effettuarsi",
             "raggiunga la cifra di € 25.000,00 A fronte della anticipazione",
             "consecutivi 120 (centoventi) decorrenti",
             "giornaliera di:€ 50,00 (diconsi € cinquanta/00).",
             "pari a €: 2.500,00 (diconsi €: duemilacinquecento/00), che dovrà avere durata",
         })
        EXPECT_CONTIENE(corpo, std::string(pezzo));

    // Amounts that are not numbers: figures 0,00, no words, no crash; the
    // total counts only the numbers.
    corpo = corpo_con(con(dati_completi(), {{"IMPORTO_LAVORI_NETTO_IVA", "mille euro"},
                                            {"ONERI_SICUREZZA_NETTO_IVA", "300"},
                                            {"ONERI_DISCARICA_NETTO_IVA", "12,3,4"},
                                            {"MASSIMALE_CAR", "tanti"},
                                            {"PENALE_GIORNALIERA", ""},
                                            {"PERCENTUALE_VERSAMENTO_ANTICIPAZIONE", "dieci"},
                                            {"DURATA_LAVORI_GIORNI", ""}}));
    for (const char* pezzo : {
             "a) €. 0,00 (), per lavori a misura", "c) €. 0,00 (), per oneri di discarica",
             "pari a € 300,00 (diconsi trecento/00), di cui:", "pari a €: 0,00 (diconsi €: ), che dovrà",
             "giornaliera di:€ 0,00 (diconsi € ).", "nella misura minima del 0,00% ( per cento)",
             "consecutivi () decorrenti",
         })
        EXPECT_CONTIENE(corpo, std::string(pezzo));
}

// The total adds all three amounts, and article 11 without a flag (empty
// or not stored at all) is left out as "OMISSIS", like with "N".
TEST_F(Contratto, TotaleDiTreImportiEArticolo11SenzaFlag) {
    REQUIRE_TOOL("pdftotext");
    Coppie senza_flag = dati_completi();
    std::erase_if(senza_flag, [](const auto& coppia) { return coppia.first == "ARTICOLO_11"; });
    const Coppie casi[] = {con(dati_completi(), {{"IMPORTO_LAVORI_NETTO_IVA", "1000"},
                                                 {"ONERI_SICUREZZA_NETTO_IVA", "200,5"},
                                                 {"ONERI_DISCARICA_NETTO_IVA", "99,25"},
                                                 {"ARTICOLO_11", ""}}),
                           senza_flag};
    for (const Coppie& dati : casi) {
        const std::string corpo = corpo_con(dati);
        EXPECT_CONTIENE(corpo, "ART.11 OMISSIS");
        EXPECT_NON_CONTIENE(corpo, "Arbitrato");
    }
    EXPECT_CONTIENE(corpo_con(casi[0]), "pari a € 1.299,75 (diconsi milleduecentonovantanove/75)");
}

TEST_F(Contratto, ParagrafiSceltiDaiFlag) {
    REQUIRE_TOOL("pdftotext");
    Coppie nessuno = dati_completi();
    for (auto& [chiave, valore] : nessuno)
        if (valore == "S") valore = "N";
    nessuno = con(nessuno, {{"LAVORI_DELIBERATI_FACCIATE_SI_NO", "s"},  // lower case does not count here
                            {"NOME_COORDINATORE_SICUREZZA", ""},
                            {"COGNOME_ALTRO_INCARICO", " "},
                            {"ALTRI_ONERI", "   "},
                            {"ARTICOLO_9_ALTRO", ""},
                            {"ARTICOLO_13", "  "},
                            {"FORNITURA_ACQUA", ""},
                            {"LICENZE_APPALTATORE", ""},
                            {"DATA_CONTRATTO", "0"},
                            {"SUBAPPALTO", "s"}});
    std::string corpo = corpo_con(nessuno);
    EXPECT_CONTIENE(corpo, "hanno deciso l'esecuzione dei seguenti lavori. inerenti il fabbricato");
    EXPECT_NON_CONTIENE(corpo, "coordinatore per la sicurezza");
    EXPECT_NON_CONTIENE(corpo, "- collaudatore");
    EXPECT_NON_CONTIENE(corpo, t(testi::PREMESSA_DIA));
    EXPECT_NON_CONTIENE(corpo, "disposizione dirigenziale n.");
    EXPECT_NON_CONTIENE(corpo, t(testi::PREMESSA_RELAZIONE_ASSEVERATA));
    EXPECT_CONTIENE(corpo, "ha presentato all'atto dell'offerta la dichiarazione che si allega in merito");
    EXPECT_CONTIENE(corpo, t(testi::ART9_PUNTO_H) + " " + t(testi::ART9_ONERI_APPALTATORE));
    EXPECT_CONTIENE(corpo, "a titolo gratuito ed oneroso: . 9)");
    EXPECT_CONTIENE(corpo, "come di seguito indicato: . " + t(testi::ART9_PUNTO_21) + " ART. 10");
    EXPECT_CONTIENE(corpo, "ART.11 OMISSIS ART. 12");
    EXPECT_NON_CONTIENE(corpo, "Arbitrato");
    EXPECT_CONTIENE(corpo, "dagli altri n° 0 articoli non");
    EXPECT_NON_CONTIENE(corpo, "ART. 13");
    EXPECT_CONTIENE(corpo, t(testi::ART12_CONFORMITA_FINE) + " Allegati: Il presente contratto consta di n° 11 "
                                                             "articoli, di n° ");
    EXPECT_CONTIENE(corpo, "pagine e di n° 0 allegati. " + t(testi::CHIUSURA_ALLEGATI_INTEGRANTI) + " Rezevi, Come");

    // Works flags, one by one; attachment flags in lower case count.
    corpo = corpo_con(con(nessuno, {{"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
                                    {"LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", "S"},
                                    {"LAVORI_DELIBERATI_ALTRI_IMPIANTI", "  "},
                                    {"AUTORIZZAZIONE_COMUNE_DIRIDO", "S"},
                                    {"RELAZIONE_ASSEVERATA", "S"},
                                    {"ARTICOLO_11", "S"},
                                    {"CERTIFICATO_CCIAA", "s"},
                                    {"CAPITOLATO_APPALTO", " S "},
                                    {"POLIZZA_CAR", "si"},
                                    {"ARTICOLO_13", "Prima clausola"},
                                    {"ARTICOLO_15", "Terza clausola"},
                                    {"ARTICOLO_22", "Ultima clausola"},
                                    {"TESTO_ARTICOLO_22_1", ""},
                                    {"SUBAPPALTO", "S"}}));
    EXPECT_CONTIENE(corpo, "dei seguenti lavori: Facciate. inerenti");
    EXPECT_CONTIENE(corpo, "disposizione dirigenziale n. 321 del 01/03/2008; " +
                               t(testi::PREMESSA_RELAZIONE_ASSEVERATA));
    EXPECT_CONTIENE(corpo, "ART.11 Arbitrato " + t(testi::ART11_COLLEGIO));
    EXPECT_CONTIENE(corpo, "dagli altri n° 4 articoli non");
    EXPECT_CONTIENE(corpo, "ART. 13 Prima clausola Le parti mantengono");
    EXPECT_NON_CONTIENE(corpo, "ART. 14");
    EXPECT_CONTIENE(corpo, "ART. 15 Terza clausola");
    EXPECT_CONTIENE(corpo, "ART. 22 Ultima clausola Allegati: " + t(testi::ALLEGATO_C) + " " +
                               t(testi::ALLEGATO_D) + " Il presente contratto consta di n° 15 articoli, di n° ");
    EXPECT_CONTIENE(corpo, "pagine e di n° 2 allegati.");
    EXPECT_NON_CONTIENE(corpo, t(testi::ALLEGATO_I));
    EXPECT_CONTIENE(corpo, "dichiara di non voler subappaltare");

    // Everything: 22 articles and 11 attachments.
    Coppie tutto = dati_completi();
    for (int n = 14; n <= 22; ++n) tutto.emplace_back("ARTICOLO_" + std::to_string(n), "Titolo " + std::to_string(n));
    corpo = corpo_con(tutto);
    EXPECT_CONTIENE(corpo, "dagli altri n° 11 articoli non");
    EXPECT_CONTIENE(corpo, "consta di n° 22 articoli, di n° ");
    EXPECT_CONTIENE(corpo, "pagine e di n° 11 allegati.");
}

// Article 9's free points i) and 22) each follow their own value, whatever
// the other one holds.
TEST_F(Contratto, Articolo9PuntiLiberiDalProprioValore) {
    REQUIRE_TOOL("pdftotext");
    const struct {
        const char* altri_oneri;
        const char* punto_22;
        std::string dopo_h;
        std::string dopo_21;
    } casi[] = {
        {"", "pulizia finale delle facciate", t(testi::ART9_PUNTO_H) + " " + t(testi::ART9_ONERI_APPALTATORE),
         t(testi::ART9_PUNTO_21) + " 22) pulizia finale delle facciate ART. 10"},
        {"spese di pubblicità", " ",
         t(testi::ART9_PUNTO_H) + " i) spese di pubblicità " + t(testi::ART9_ONERI_APPALTATORE),
         t(testi::ART9_PUNTO_21) + " ART. 10"},
    };
    for (const auto& caso : casi) {
        const std::string corpo =
            corpo_con(con(dati_completi(), {{"ALTRI_ONERI", caso.altri_oneri}, {"ARTICOLO_9_ALTRO", caso.punto_22}}));
        EXPECT_CONTIENE(corpo, caso.dopo_h);
        EXPECT_CONTIENE(corpo, caso.dopo_21);
    }
}

TEST_F(Contratto, BloccoPiuLungoDelSuoRiquadroNonPerdeTesto) {
    REQUIRE_TOOL("pdftotext");
    auto lungo = [](const std::string& fine) {
        std::string testo;
        const std::string parole = "opere di consolidamento ";
        while (testo.size() + parole.size() + fine.size() <= 255) testo += parole;
        return testo + fine;
    };
    const std::string corpo = corpo_con(con(dati_completi(), {{"INDIRIZZO_CONDOMINIO", lungo("fineindirizzo")},
                                                              {"LAVORI_DELIBERATI_ALTRO_INTERVENTO", lungo("finealtro")},
                                                              {"LAVORI_DELIBERATI_ALTRI_IMPIANTI", lungo("fineimpianti")}}));
    EXPECT_CONTIENE(corpo, "consolidamento finealtro, Impianto ascensore,");
    EXPECT_CONTIENE(corpo, "consolidamento fineimpianti. inerenti il fabbricato, nominando:");
}

TEST_F(Contratto, ArchivioLettoTuttoConLUltimoRecordPerChiave) {
    REQUIRE_TOOL("pdftotext");
    Coppie dati = dati_completi();
    dati.emplace_back("COGNOME_RICHIEDENTE", "Esposito");    // a later record wins
    dati.emplace_back("  comune_impresa  ", "  Benevento  ");  // keys match trimmed and upper-cased
    const std::string corpo = corpo_con(dati);
    EXPECT_CONTIENE(corpo, "sottoscritto/a Dott. Mario Esposito, nato/a");
    EXPECT_NON_CONTIENE(corpo, "Mario Rossi");
    EXPECT_CONTIENE(corpo, "con sede in Benevento in corso Trieste 8,");
}

TEST_F(Contratto, ArchivioMancanteOVuotoDaUnDocumentoValido) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdftotext");
    // No data file at all.
    auto file = genera();
    EXPECT_TRUE(qpdf_senza_errori(file));
    auto estratto = estrai(file);
    EXPECT_CONTIENE(estratto.corpo, "- il/la sottoscritto/a , nato/a a () il delegato");
    EXPECT_CONTIENE(estratto.corpo, "- progettista: , - direttore dei lavori: ,");
    EXPECT_CONTIENE(estratto.corpo, "consta di n° 11 articoli");
    // An empty file, and one whose last record is cut short.
    testsupport::write_file(file_dati(), "");
    file = genera("vuoto.pdf");
    EXPECT_TRUE(qpdf_senza_errori(file));
    testsupport::write_file(file_dati(), testsupport::data_record("NOME_RICHIEDENTE", "Mario") +
                                             testsupport::data_record("COGNOME_RICHIEDENTE", "Rossi").substr(0, 300));
    estratto = estrai(genera("troncato.pdf"));
    EXPECT_CONTIENE(estratto.corpo, "- il/la sottoscritto/a Mario , nato/a");
}

// The parties' fiscal codes and bank details: the draft and the final
// contract are their owner's alone whatever the umask, and a draft an older
// copy left readable to all is closed when it is written again.
TEST_F(Contratto, DocumentiLeggibiliSoloDalProprietario) {
    scrivi_dati(dati_completi());
    const mode_t maschera = ::umask(022);
    const auto modo = [](const fs::path& file) {
        struct stat st {};
        EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
        return st.st_mode & 07777;
    };
    for (const char* nome : {"bozza.pdf", "bozza.pdf", "contratto.pdf"}) {
        EXPECT_EQ(modo(genera(nome)), 0600u) << nome;
        ::chmod((cartella / nome).c_str(), 0644);
    }
    ::umask(maschera);
}

TEST_F(Contratto, CartellaMancanteNonLasciaFile) {
    const fs::path file = cartella / "non_esiste" / "contratto.pdf";
    EXPECT_FALSE(genera_contratto_comproprietari(file, false));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(fs::exists(file.parent_path()));
    ASSERT_EQ(messaggi.size(), 1u);
    EXPECT_EQ(messaggi[0].first, TipoMessaggio::Avviso);
    EXPECT_EQ(messaggi[0].second, "Il file \xE8 aperto, mi \xE8 impossibile generarlo !\n"
                                  "Cartella inesistente: file o cartella inesistente - " + file.string());
}

TEST_F(Contratto, NomeDelFileConLettereAccentate) {
    // Folder names reach the system as they are, whether the code page of
    // the document's texts could hold them or not (Cyrillic, "\u0142").
    REQUIRE_TOOL("qpdf");
    for (const char* nome : {"Citt\xC3\xA0", "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B",
                             "\xC5\x81\xC3\xB3" "d\xC5\xBA \xC5\x82"}) {
        const fs::path cartella_accentata = cartella / nome;
        fs::create_directory(cartella_accentata);
        const fs::path file = cartella_accentata / "contratto_propriet\xC3\xA0.pdf";
        EXPECT_TRUE(genera_contratto_comproprietari(file, false)) << nome;
        EXPECT_TRUE(messaggi.empty()) << (messaggi.empty() ? "" : messaggi[0].second);
        ASSERT_TRUE(fs::exists(file)) << nome;
        EXPECT_TRUE(qpdf_senza_errori(file));
        EXPECT_EQ(std::distance(fs::directory_iterator(cartella_accentata), fs::directory_iterator()), 1);
    }
}

TEST_F(Contratto, ScritturaFallitaDopoLAperturaLasciaIlNomeComEra) {
    // A name that opens but refuses every byte (the full-disk device behind
    // a link of the test's own): the failure is reported and the name keeps
    // what it held.
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    scrivi_dati(dati_completi());
    const fs::path file = cartella / "contratto.pdf";
    fs::create_symlink("/dev/full", file);
    EXPECT_FALSE(genera_contratto_comproprietari(file, false));
    EXPECT_TRUE(fs::is_symlink(file));
    for (const auto& voce : fs::directory_iterator(cartella.path()))
        EXPECT_NE(voce.path().filename().string().rfind(".contratto.pdf.", 0), 0u) << voce.path();
    ASSERT_FALSE(messaggi.empty());
    EXPECT_EQ(messaggi.back().first, TipoMessaggio::ErroreCritico);
}

TEST_F(Contratto, DatiIllegibiliSonoUnErrore) {
    fs::create_directory(file_dati());  // a folder where the data file should be
    const fs::path file = cartella / "contratto.pdf";
    EXPECT_FALSE(genera_contratto_comproprietari(file, false));
    EXPECT_FALSE(fs::exists(file));
    ASSERT_EQ(messaggi.size(), 1u);
    EXPECT_EQ(messaggi[0].first, TipoMessaggio::ErroreCritico);
}

TEST(ContrattoProprietari, NonDisponibile) {
    testsupport::TempDir cartella;
    std::vector<std::pair<TipoMessaggio, std::string>> messaggi;
    imposta_gestore_messaggi([&](TipoMessaggio tipo, const std::string& testo) { messaggi.emplace_back(tipo, testo); });
    EXPECT_FALSE(genera_contratto_proprietari(cartella / "bozza.pdf", true));
    imposta_gestore_messaggi({});
    EXPECT_FALSE(fs::exists(cartella / "bozza.pdf"));
    ASSERT_EQ(messaggi.size(), 1u);
    EXPECT_EQ(messaggi[0].first, TipoMessaggio::Avviso);
    EXPECT_NE(messaggi[0].second.find("non \xE8 disponibile"), std::string::npos);
}

}  // namespace
