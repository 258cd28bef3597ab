// The drafted passages of the contract must keep the opening, ending and
// length agreed for them, counted in Windows-1252 characters; every fixed
// text must be representable in Windows-1252.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "builders/testi_articoli_1_4.h"
#include "builders/testi_articoli_5_8.h"
#include "builders/testi_articoli_9_12.h"
#include "builders/testi_chiusura.h"
#include "builders/testi_facoltativi_allegati.h"
#include "builders/testi_intestazione.h"
#include "builders/testi_premesse.h"
#include "builders/testo_cp1252.h"

namespace {

struct Passaggio {
    const char* nome;
    std::string_view testo;
    std::string_view inizio;  // UTF-8, as agreed; "" when only the length is agreed
    std::string_view fine;    // "" when only the opening is agreed
    int lunghezza;            // Windows-1252 characters, -1 when free
};

// Openings, endings and lengths as agreed for each drafted passage.
const Passaggio PASSAGGI[] = {
    {"PREMESSA_EROGAZIONE_CONTRIBUTO", testi::PREMESSA_EROGAZIONE_CONTRIBUTO, "- che, ove ottenuta dal Comune di Rezevi l'assegnazione del contributo,", "", 457},
    {"PREMESSA_CONTROLLI", testi::PREMESSA_CONTROLLI, "- che l'Amministrazione Comunale, nonché la Soc. TAVORE S.C.p.A., provvederanno ad effettuare i controlli", "al fine dell'accertamento di:", -1},
    {"PREMESSA_OGGETTO_CONTROLLI", testi::PREMESSA_OGGETTO_CONTROLLI, "- dichiarazioni o rappresentazioni non veritiere, realizzazione dei lavori in difformità dei titoli abilitativi;", "", 498},
    {"PREMESSA_CONSEGUENZE", testi::PREMESSA_CONSEGUENZE, "- che si dà atto che dette dichiarazioni non veritiere, difformità ed irregolarità,", "all'esclusione dell'appaltatore dall' ", 347},
    {"ART1_RECEPIMENTO", testi::ART1_RECEPIMENTO, "Le parti, come innanzi costituite, confermano e ratificano la precedente narrativa", "è: Il delegato dei proprietari.", 379},
    {"ART2_ELABORATI", testi::ART2_ELABORATI, "Detti lavori saranno eseguiti in conformità agli elaborati tecnici esecutivi", "", 256},
    {"ART2_IMPORTI_PRESUNTI", testi::ART2_IMPORTI_PRESUNTI, "Gli importi suddetti vengono indicati al solo scopo di definire l'ammontare presunto", "", 475},
    {"ART3_CAUZIONE_ANTICIPAZIONE", testi::ART3_CAUZIONE_ANTICIPAZIONE, "A fronte della anticipazione suddetta l'Appaltatore dovrà versare, ove richiesto dal Committente,", "", 227},
    {"ART3_CESSAZIONE_INCARICO_1", testi::ART3_CESSAZIONE_INCARICO_1, "Resta inteso che in qualunque caso in cui la persona autorizzata a riscuotere", "", 143},
    {"ART3_CESSAZIONE_INCARICO_2", testi::ART3_CESSAZIONE_INCARICO_2, ", ", "", 310},
    {"ART3_RATA_SALDO", testi::ART3_RATA_SALDO, "L'ultima rata a saldo, qualunque sia l'ammontare al netto delle ritenute,", "", 286},
    {"ART3_INTERESSI", testi::ART3_INTERESSI, "Nell'ipotesi di ritardo nel pagamento di acconti e saldo, spettano all'Impresa gli interessi,", "", 343},
    {"ART3_SOLO_COMMITTENTE", testi::ART3_SOLO_COMMITTENTE, "Le parti convengono che i pagamenti saranno effettuati unicamente dal contraente-committente", "", 233},
    {"ART4_NUOVE_PRESTAZIONI", testi::ART4_NUOVE_PRESTAZIONI, "Qualora si provveda in corso d'opera alla richiesta di nuove prestazioni", "", 370},
    {"ART4_NUOVI_PREZZI", testi::ART4_NUOVI_PREZZI, "2)- i nuovi prezzi stabiliti secondo quanto previsto dalla vigente normativa", "", 376},
    {"ART4_RIBASSO_VARIANTI", testi::ART4_RIBASSO_VARIANTI, "Tutti i prezzi delle opere in variante - ove non già concordati in sede aggiudicazione -", "", 226},
    {"ART5_AUTORIZZAZIONE", testi::ART5_AUTORIZZAZIONE, "Ai sensi dell'art. 1656 c.c. l'appaltatore non può dare in subappalto l'esecuzione", "", 274},
    {"ART5_NOLI_FORNITURE", testi::ART5_NOLI_FORNITURE, "- per i noli a caldo e per le forniture in opera", "", 367},
    {"ART5_INTENDIMENTO", testi::ART5_INTENDIMENTO, "L'intendimento di subappaltare alcune lavorazioni o parti di opere  dovrà essere espressa", "iscritte all'Elenco TAVORE.", 396},
    {"ART5_COMUNICAZIONE", testi::ART5_COMUNICAZIONE, "Il nominativo del/dei subappaltatore/i  con i dati relativi al subappalto dovranno essere", " ", 267},
    {"ART6_CONTRATTI_COLLETTIVI", testi::ART6_CONTRATTI_COLLETTIVI, "Nell'esecuzione dei lavori che formano oggetto del presente appalto l'Appaltatore si obbliga", "", 432},
    {"ART6_CONTRIBUZIONE", testi::ART6_CONTRIBUZIONE, "L'impresa si obbliga conseguentemente ad osservare integralmente gli oneri di contribuzione e", "", 305},
    {"ART6_COMUNICAZIONE_INIZIO", testi::ART6_COMUNICAZIONE_INIZIO, "Il Committente  e  l'Appaltatore disgiuntamente provvederanno a dare comunicazione dell'inizio dei lavori", "", 350},
    {"ART6_SALDO_CAUZIONE", testi::ART6_SALDO_CAUZIONE, "Il pagamento all'Impresa del  saldo e lo svincolo della cauzione di buona", "", 431},
    {"ART6_INCIDENZA_MANODOPERA", testi::ART6_INCIDENZA_MANODOPERA, "Ai fini di cui sopra  si stabilisce che l'incidenza del costo della", "", 224},
    {"ART6_ELENCO_FIDUCIA", testi::ART6_ELENCO_FIDUCIA, "Inoltre l'inadempienza contrattuale ovvero amministrativa costituirà per TAVORE. elemento di valutazione per", "", 286},
    {"ART7_ACCESSO_CANTIERE", testi::ART7_ACCESSO_CANTIERE, "Le parti costituite, tenuto conto che il contributo concesso dal Comune di", "", 567},
    {"ART7_CONTROLLI_AGGIUNTIVI", testi::ART7_CONTROLLI_AGGIUNTIVI, "I controlli TAVORE. non sono sostitutivi di quelli contrattuali di competenza del", "", 248},
    {"ART7_CARTELLO_CANTIERE", testi::ART7_CARTELLO_CANTIERE, "L'Appaltatore si impegna inoltre ad esporre un cartello di cantiere secondo il", "", 510},
    {"ART8_POLIZZA_CAR", testi::ART8_POLIZZA_CAR, "L'Appaltatore ha stipulato per il cantiere oggetto del presente contratto una specifica", "", 466},
    {"ART8_ACCENSIONE_POLIZZE", testi::ART8_ACCENSIONE_POLIZZE, "Le polizze di cui ai precedenti comma dovranno essere accese prima della", "a TAVORE.  S.C.p.A..", 355},
    {"ART8_OGGETTO_CAUZIONE", testi::ART8_OGGETTO_CAUZIONE, "A maggior specificazione si precisa che detta  cauzione è prestata a garanzia", "", 393},
    {"ART8_FIDEIUSSIONE", testi::ART8_FIDEIUSSIONE, "La fideiussione bancaria o assicurativa di cui al comma precedente dovrà prevedere", "", 256},
    {"ART9_PUNTO_1A", testi::ART9_PUNTO_1A, "1a) Nomina, prima dell'inizio dei lavori, del Direttore tecnico di cantiere  che", "  ", 344},
    {"ART9_PUNTO_2", testi::ART9_PUNTO_2, "2) I movimenti di terra ed ogni altro onere relativo alla formazione", "", 558},
    {"ART9_PUNTO_3", testi::ART9_PUNTO_3, "3) La guardiania e la sorveglianza, con il personale necessario, della sola", "", 253},
    {"ART9_PUNTO_5", testi::ART9_PUNTO_5, "5) La esecuzione, presso gli Istituti incaricati, di tutte le esperienze e", "", 282},
    {"ART9_PUNTO_6", testi::ART9_PUNTO_6, "6) La fornitura e manutenzione di cartelli di avviso, di fanali di", "", 301},
    {"ART9_PUNTO_9", testi::ART9_PUNTO_9, "9) L'osservanza delle norme derivanti dalle vigenti leggi e decreti relativi alle", "", 678},
    {"ART9_PUNTO_12", testi::ART9_PUNTO_12, "12) Il libero accesso al cantiere ed il passaggio, nello stesso e", "", 303},
    {"ART9_PUNTO_13", testi::ART9_PUNTO_13, "13) Provvedere, a sua cura e spese e sotto la sua completa", "", 657},
    {"ART9_PUNTO_15", testi::ART9_PUNTO_15, "15) L'adozione, nell'esecuzione di tutti i lavori, dei procedimenti e delle cautele", "", 573},
    {"ART9_PUNTO_16", testi::ART9_PUNTO_16, "16) Consentire l'uso anticipato dei locali che venissero richiesti dalla Direzione dei", " ", 324},
    {"ART10_COLLAUDO", testi::ART10_COLLAUDO, "Fatte salve le procedure per il collaudo statico, ove necessario, per il", "", 648},
    {"ART10_AGIBILITA", testi::ART10_AGIBILITA, "L'ottenimento dei documenti di cui al punto 20 del precedente art.9, attestanti", "", 305},
    {"ART10_APPROVAZIONE_COLLAUDO", testi::ART10_APPROVAZIONE_COLLAUDO, "Entro novanta giorni dall'emissione del certificato di collaudo dovrà provvedersi da parte", "", 412},
    {"ART10_LIBERATORIE", testi::ART10_LIBERATORIE, "Il saldo sarà erogato solo a seguito della presentazione da parte dell'Impresa", "", 286},
    {"ART11_COLLEGIO", testi::ART11_COLLEGIO, "La definizione delle controversie, ove non si giunga all'accordo bonario, potrà essere", "", 233},
    {"ART11_NOMINA_ARBITRI", testi::ART11_NOMINA_ARBITRI, "Ognuna delle parti nominerà il proprio arbitro ed il terzo, con funzioni", "", 270},
    // Pieces of agreed wording whose length is part of the agreement.
    {"ART2_QUALITA_COMMITTENTE", testi::ART2_QUALITA_COMMITTENTE, "", "", 123},
    {"CHIUSURA_FIRMA_COSTITUITO", testi::CHIUSURA_FIRMA_COSTITUITO, "", "", 94},
    {"CHIUSURA_FIRMA_RUOLI", testi::CHIUSURA_FIRMA_RUOLI, "", "", 83},
    {"ART3_CESSAZIONE_INCARICO_1", testi::ART3_CESSAZIONE_INCARICO_1, "", "", 143},
    {"ART3_CESSAZIONE_INCARICO_2", testi::ART3_CESSAZIONE_INCARICO_2, "", "", 310},
};

TEST(TestiContratto, PassaggiRedattiRispettanoInizioFineELunghezza) {
    for (const auto& p : PASSAGGI) {
        SCOPED_TRACE(p.nome);
        const std::string testo = testi::cp1252(p.testo);
        const std::string inizio = testi::cp1252(p.inizio);
        const std::string fine = testi::cp1252(p.fine);
        EXPECT_EQ(testo.substr(0, inizio.size()), inizio);
        if (!fine.empty()) {
            ASSERT_GE(testo.size(), fine.size());
            EXPECT_EQ(testo.substr(testo.size() - fine.size()), fine);
        }
        if (p.lunghezza >= 0) {
            EXPECT_EQ(static_cast<int>(testo.size()), p.lunghezza);
        }
        // One byte per character: no stray UTF-8 left after conversion.
        EXPECT_EQ(testo.find('\xC3'), std::string::npos);
    }
}

TEST(TestiContratto, LettereAccentateEdEuroInUnSoloByte) {
    EXPECT_EQ(testi::cp1252("è"), "\xE8");
    EXPECT_EQ(testi::cp1252("€"), "\x80");
    EXPECT_EQ(testi::cp1252(testi::ART4_REVISIONE).substr(0, 1), "\xC8");
    EXPECT_EQ(testi::cp1252(testi::MESSAGGIO_FILE_APERTO), "Il file \xE8 aperto, mi \xE8 impossibile generarlo !");
    EXPECT_THROW(testi::cp1252("\xE2\x82\xAC\xE4\xB8\x80"), std::logic_error);  // a CJK letter
}

}  // namespace
