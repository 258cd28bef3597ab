// Fixed wording: Articles 5 to 8 of the co-owners contract: subcontracting, workers, checks, insurance and bond.
//
// The texts are kept here, apart from the layout code, so that they can be
// reviewed as a whole. They are UTF-8 in this file and become Windows-1252 bytes
// (one byte per character) through cp1252() when the document is written;
// lengths quoted below count those bytes. Texts marked "agreed wording" are
// used exactly as the model contract has them (double blanks, trailing blanks
// and all); texts marked "drafted" were written for this program to the
// agreed opening, ending, length and content and may be revised by counsel
// as long as those four stay as they are.
#pragma once

#include <string_view>

namespace testi {

// Drafted, 274 characters.
inline constexpr std::string_view ART5_AUTORIZZAZIONE =
    "Ai sensi dell'art. 1656 c.c. l'appaltatore non può dare in subappalto l'esecuzione "
    "di opere del presente contratto senza autorizzazione del Committente. In ogni "
    "caso le lavorazioni subappaltabili non potranno superare il 50% del valore complessivo "
    "delle opere del contratto.";

// Drafted, 367 characters.
inline constexpr std::string_view ART5_NOLI_FORNITURE =
    "- per i noli a caldo e per le forniture in opera di elementi speciali eseguite "
    "da ditte specializzate, ove l'incidenza del costo della manodopera sia inferiore "
    "al 50% dell'importo della fornitura; in tal caso l'Appaltatore, su richiesta del "
    "Committente, della Direzione dei Lavori o della Società TAVORE., è tenuto a esibire "
    "la relativa documentazione giustificativa.";

// Drafted, 396 characters.
inline constexpr std::string_view ART5_INTENDIMENTO =
    "L'intendimento di subappaltare alcune lavorazioni o parti di opere  dovrà essere "
    "espressa dall'Appaltatore all'atto della offerta e riportata in una apposita dichiarazione "
    "da allegarsi al presente contratto; resta salva la facoltà delle parti di convenire "
    "il ricorso al subappalto anche nel corso dei lavori. Tutti i subappaltatori dovranno "
    "in ogni caso essere imprese iscritte all'Elenco TAVORE.";

// Drafted, 267 characters.
inline constexpr std::string_view ART5_COMUNICAZIONE =
    "Il nominativo del/dei subappaltatore/i  con i dati relativi al subappalto dovranno "
    "essere comunicati al Committente entro venti giorni dall'inizio dei lavori, al "
    "fine di consentire a quest'ultimo le necessarie verifiche e l'eventuale diniego "
    "motivato del subappalto. ";

// Drafted, 432 characters.
inline constexpr std::string_view ART6_CONTRATTI_COLLETTIVI =
    "Nell'esecuzione dei lavori che formano oggetto del presente appalto l'Appaltatore "
    "si obbliga ad applicare integralmente le norme contenute nel Contratto Collettivo "
    "Nazionale di Lavoro per gli operai dipendenti delle imprese edili e affini, ovvero "
    "in altro contratto collettivo applicabile, e negli accordi integrativi territoriali "
    "dello stesso, vigenti nella Provincia di Rezevi per tutto il periodo di esecuzione "
    "dei lavori stessi.";

// Drafted, 305 characters.
inline constexpr std::string_view ART6_CONTRIBUZIONE =
    "L'impresa si obbliga conseguentemente ad osservare integralmente gli oneri di "
    "contribuzione e di accantonamento dovuti all'INPS, all'INAIL ed alla Cassa Edile "
    "della Provincia di Rezevi, secondo quanto previsto dai contratti collettivi di "
    "lavoro del settore edile e dalle norme di legge vigenti in materia.";

// Drafted, 350 characters.
inline constexpr std::string_view ART6_COMUNICAZIONE_INIZIO =
    "Il Committente  e  l'Appaltatore disgiuntamente provvederanno a dare comunicazione "
    "dell'inizio dei lavori all'INPS, all'INAIL, alla Cassa Edile ed all'Azienda Sanitaria "
    "Locale competenti. L'Impresa è responsabile in solido verso il Committente dell'osservanza "
    "delle norme anzidette da parte dei subappaltatori nei confronti dei rispettivi "
    "dipendenti.";

// Drafted, 431 characters.
inline constexpr std::string_view ART6_SALDO_CAUZIONE =
    "Il pagamento all'Impresa del  saldo e lo svincolo della cauzione di buona esecuzione "
    "non saranno effettuati sino a quando la Direzione dei Lavori non avrà accertato "
    "l'adempimento degli obblighi di cui sopra e non sarà intervenuta l'approvazione "
    "del collaudo finale. Per tale sospensione o ritardo dei pagamenti l'Appaltatore "
    "non potrà opporre eccezione alcuna al Committente, né avrà titolo al risarcimento "
    "di danni o ad interessi.";

// Drafted, 224 characters.
inline constexpr std::string_view ART6_INCIDENZA_MANODOPERA =
    "Ai fini di cui sopra  si stabilisce che l'incidenza del costo della manodopera "
    "è fissata in misura non inferiore al 20% dell'importo complessivo del contratto, "
    "al netto del ribasso e comprensivo degli oneri per la sicurezza.";

// Drafted, 286 characters.
inline constexpr std::string_view ART6_ELENCO_FIDUCIA =
    "Inoltre l'inadempienza contrattuale ovvero amministrativa costituirà per TAVORE. "
    "elemento di valutazione per le determinazioni in ordine alla permanenza dell'Impresa "
    "nell'elenco di imprese di fiducia del programma (\"Elenco di fiducia\"), secondo "
    "quanto previsto dal relativo regolamento.";

// Drafted, 567 characters.
inline constexpr std::string_view ART7_ACCESSO_CANTIERE =
    "Le parti costituite, tenuto conto che il contributo concesso dal Comune di Rezevi "
    "è subordinato al rispetto delle norme in materia edilizia, di lavoro, di previdenza "
    "e assistenza sociale e di sicurezza nei cantieri, autorizzano la TAVORE. S.C.p.A. "
    "e i suoi delegati all'uopo incaricati ad accedere in ogni momento al cantiere, "
    "a effettuare i controlli in materia di sicurezza e a verificare la documentazione "
    "relativa agli impegni assunti con il presente contratto e con l'allegato capitolato "
    "speciale d'appalto, impegnandosi a fornire ogni necessaria collaborazione.";

// Drafted, 248 characters.
inline constexpr std::string_view ART7_CONTROLLI_AGGIUNTIVI =
    "I controlli TAVORE. non sono sostitutivi di quelli contrattuali di competenza "
    "del Committente e del personale dallo stesso preposto alla direzione dei lavori "
    "e al collaudo delle opere, ma si aggiungono ai controlli istituzionali previsti "
    "per legge.";

// Drafted, 510 characters.
inline constexpr std::string_view ART7_CARTELLO_CANTIERE =
    "L'Appaltatore si impegna inoltre ad esporre un cartello di cantiere secondo il "
    "modello predisposto dalla TAVORE. S.C.p.A. ed a consentire, su richiesta del Committente "
    "e senza alcun onere a carico di quest'ultimo, l'installazione sui ponteggi di "
    "impianti pubblicitari, previa attestazione scritta del Direttore dei Lavori e "
    "del Coordinatore per la sicurezza in fase di esecuzione che tali installazioni "
    "non costituiranno intralcio alla esecuzione dei lavori né pregiudizio alcuno per "
    "la sicurezza del cantiere.";

// Drafted, 466 characters.
inline constexpr std::string_view ART8_POLIZZA_CAR =
    "L'Appaltatore ha stipulato per il cantiere oggetto del presente contratto una "
    "specifica polizza assicurativa C.A.R., per un importo pari al valore dei lavori, "
    "che tiene indenne il Committente da tutti i rischi di esecuzione, salvo quelli "
    "derivanti da errori di progettazione o insufficiente progettazione, e che prevede "
    "la garanzia di responsabilità civile per danni causati a terzi nell'esecuzione "
    "dei lavori sino alla data di emissione del certificato di collaudo.";

// Drafted, 355 characters.
inline constexpr std::string_view ART8_ACCENSIONE_POLIZZE =
    "Le polizze di cui ai precedenti comma dovranno essere accese prima della stipula "
    "del presente contratto, dovranno contenere una clausola di vincolo a favore del "
    "Committente ed essere corredate dalla quietanza di pagamento del premio relativo "
    "al periodo di copertura; le stesse vengono allegate al presente contratto e inviate "
    "in copia a TAVORE.  S.C.p.A..";

// Drafted, 393 characters.
inline constexpr std::string_view ART8_OGGETTO_CAUZIONE =
    "A maggior specificazione si precisa che detta  cauzione è prestata a garanzia "
    "dell'adempimento di tutte le obbligazioni assunte con il presente contratto, del "
    "risarcimento dei danni derivanti dall'eventuale inadempimento delle obbligazioni "
    "stesse, nonché del rimborso delle somme pagate in più all'Appaltatore rispetto "
    "alla liquidazione finale, salva sempre la risarcibilità del maggior danno.";

// Drafted, 256 characters.
inline constexpr std::string_view ART8_FIDEIUSSIONE =
    "La fideiussione bancaria o assicurativa di cui al comma precedente dovrà prevedere "
    "espressamente la rinuncia al beneficio della preventiva escussione del debitore "
    "principale e la sua operatività entro 15 giorni a semplice richiesta scritta del "
    "Committente.";

// Agreed wording.
inline constexpr std::string_view ART5_DIVIETO_CESSIONE =
    "È  vietato all'Appaltatore di cedere ad altri il contratto sotto pena della sua "
    "risoluzione e del risarcimento dei danni a favore del Committente.";

// Agreed wording.
inline constexpr std::string_view ART5_NON_SUBAPPALTI =
    "Non sono, in ogni caso, considerati subappalti le commesse date dall'Impresa ad "
    "altre imprese:";

// Agreed wording.
inline constexpr std::string_view ART5_FORNITURA_MATERIALI =
    "- per la fornitura di materiali;  ";

// Agreed wording.
inline constexpr std::string_view ART5_RESPONSABILITA =
    "L'Appaltatore resterà l'unico responsabile, nei confronti del committente, del "
    "rispetto da parte dei subappaltatori di quanto previsto dal presente Contratto "
    "d'appalto e dal Capitolato.";

// Agreed wording.
inline constexpr std::string_view ART6_DETRAZIONE =
    "In caso di accertata inadempienza  il committente procederà ad una detrazione "
    "fino al 20% a titolo cautelativo sui pagamenti da effettuarsi all'Impresa, dandone "
    "comunicazione alla società TAVORE..";

// Agreed wording.
inline constexpr std::string_view ART8_DURATA_POLIZZA =
    "che dovrà avere durata fino al termine dei lavori, ovvero fino  al completo disimpianto "
    "del cantiere.";

// Agreed wording.
inline constexpr std::string_view ART8_POLIZZA_MANUTENZIONE =
    "L'Appaltatore ha inoltre stipulato una polizza, di cui è beneficiario il committente, "
    "della durata di ventiquattro mesi a far data dall'avvenuto collaudo per la manutenzione "
    "delle opere eseguite.";

// Agreed wording.
inline constexpr std::string_view ART8_CAUZIONE_DIECI =
    "L'impresa ha prodotto una cauzione bancaria o assicurativa, a garanzia della buona "
    "e completa esecuzione dei lavori pari al 10% del valore del presente contratto "
    "che verrà liberata a collaudo avvenuto al termine dei lavori.";

// Agreed wording.
inline constexpr std::string_view ART8_MASSIMALE_INIZIO =
    "E' infatti  onere dell'Impresa appaltatrice, da ritenersi compensato nel corrispettivo "
    "dell'appalto, l'accensione di detta polizza relativa all'assicurazione CAR contro "
    "tutti i rischi derivanti dall'esecuzione dei lavori per manufatti, materiali, "
    "attrezzature e opere provvisionali di cantiere per un massimale pari al contratto "
    "con un valore delle preesistenze pari a  €: ";

}  // namespace testi
