// Fixed wording: Articles 9 to 12 of the co-owners contract: duties, final account and inspection, arbitration, costs.
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

// Drafted, 344 characters.
inline constexpr std::string_view ART9_PUNTO_1A =
    "1a) Nomina, prima dell'inizio dei lavori, del Direttore tecnico di cantiere  che "
    "dovrà possedere i requisiti di legge. L'Impresa dovrà fornire alla Direzione dei "
    "Lavori un'apposita dichiarazione di accettazione dell'incarico da parte del Direttore "
    "tecnico di cantiere, il quale assume ogni responsabilità civile e penale relativa "
    "alla carica.  ";

// Drafted, 558 characters.
inline constexpr std::string_view ART9_PUNTO_2 =
    "2) I movimenti di terra ed ogni altro onere relativo alla formazione di cantiere "
    "attrezzato, in relazione all'entità dell'opera, con i più moderni impianti per "
    "assicurare una perfetta e rapida esecuzione delle opere prestabilite; la recinzione "
    "del cantiere stesso con solido steccato in legno, in muratura o metallico, secondo "
    "quanto richiesto dalla Direzione dei Lavori, nonché la pulizia e la manutenzione "
    "del cantiere, la sistemazione delle sue strade, in modo da rendere sicuri il transito "
    "e la circolazione dei veicoli e delle persone addette ai lavori.";

// Drafted, 253 characters.
inline constexpr std::string_view ART9_PUNTO_3 =
    "3) La guardiania e la sorveglianza, con il personale necessario, della sola area "
    "di cantiere, di tutti i materiali in esso esistenti, nonché di tutte le cose di "
    "proprietà del Committente stesso e delle piantagioni che saranno consegnate all'Appaltatore.";

// Drafted, 282 characters.
inline constexpr std::string_view ART9_PUNTO_5 =
    "5) La esecuzione, presso gli Istituti incaricati, di tutte le esperienze e prove "
    "sui materiali che verranno in ogni tempo ordinate dalla Direzione dei Lavori, "
    "compresa la confezione dei campioni e l'invio degli stessi agli Istituti, ai fini "
    "dell'accettazione dei materiali medesimi.";

// Drafted, 301 characters.
inline constexpr std::string_view ART9_PUNTO_6 =
    "6) La fornitura e manutenzione di cartelli di avviso, di fanali di segnalazione "
    "notturna nei punti all'uopo prescritti e di quanto altro venisse particolarmente "
    "indicato dalla Direzione dei Lavori, a scopo di sicurezza, nonché l'approntamento "
    "dei presidi antincendio di tutti gli impianti di cantiere.";

// Drafted, 678 characters.
inline constexpr std::string_view ART9_PUNTO_9 =
    "9) L'osservanza delle norme derivanti dalle vigenti leggi e decreti relativi alle "
    "assicurazioni varie degli operai contro gli infortuni sul lavoro, la disoccupazione "
    "involontaria, l'invalidità e la vecchiaia, e delle altre disposizioni in vigore "
    "o che potranno intervenire in corso di appalto. In caso di inadempienza accertata "
    "dal Committente o segnalata dall'Ispettorato del Lavoro, il Committente comunicherà "
    "all'Impresa l'inadempienza accertata e procederà a una detrazione del 20 % sui "
    "pagamenti in acconto, destinando le somme accantonate a garanzia dell'adempimento "
    "degli obblighi di cui sopra; sulle somme detratte non saranno per qualsiasi titolo "
    "corrisposti interessi.";

// Drafted, 303 characters.
inline constexpr std::string_view ART9_PUNTO_12 =
    "12) Il libero accesso al cantiere ed il passaggio, nello stesso e sotto le opere "
    "in corso di esecuzione, alle persone addette a qualunque altra impresa alla quale "
    "siano stati affidati lavori non compresi nel presente appalto, ed alle persone "
    "che eseguono lavori per conto diretto del Committente stesso.";

// Drafted, 657 characters.
inline constexpr std::string_view ART9_PUNTO_13 =
    "13) Provvedere, a sua cura e spese e sotto la sua completa responsabilità, al "
    "ricevimento in cantiere, allo scarico ed al trasporto nei luoghi di deposito del "
    "cantiere od a piè d'opera, secondo le disposizioni della Direzione dei Lavori, "
    "nonché alla buona conservazione ed alla perfetta custodia dei materiali e dei "
    "manufatti esclusi dal presente appalto e provvisti od eseguiti da altre imprese "
    "per conto del Committente. I danni che per cause dipendenti dall'Appaltatore fossero "
    "apportati ai materiali e manufatti anzidetti dovranno essere riparati a carico "
    "esclusivo dell'Appaltatore, restando il Committente sollevato da ogni responsabilità "
    "al riguardo.";

// Drafted, 573 characters.
inline constexpr std::string_view ART9_PUNTO_15 =
    "15) L'adozione, nell'esecuzione di tutti i lavori, dei procedimenti e delle cautele "
    "necessari per garantire la vita e l'incolumità degli operai, delle persone addette "
    "ai lavori stessi e dei terzi, nonché per evitare danni ai beni pubblici e privati, "
    "osservando le disposizioni contenute nel D.P.R. 7 gennaio 1956 n. 164 e nelle "
    "vigenti norme in materia di prevenzione degli infortuni; ogni responsabilità in "
    "caso di infortuni ricadrà pertanto sull'Appaltatore, restandone sollevati il Committente "
    "nonché il personale preposto alla direzione ed alla sorveglianza dei lavori.";

// Drafted, 324 characters.
inline constexpr std::string_view ART9_PUNTO_16 =
    "16) Consentire l'uso anticipato dei locali che venissero richiesti dalla Direzione "
    "dei Lavori, senza che l'Appaltatore abbia perciò diritto a speciali compensi. "
    "Esso potrà però richiedere che sia redatto apposito verbale circa lo stato delle "
    "opere, per essere garantito dai possibili danni che potrebbero derivare dall'uso. ";

// Drafted, 648 characters.
inline constexpr std::string_view ART10_COLLAUDO =
    "Fatte salve le procedure per il collaudo statico, ove necessario, per il collaudo "
    "delle opere oggetto del presente contratto si procederà mediante certificato redatto "
    "dal Direttore dei Lavori, ovvero, a insindacabile scelta del Committente, con "
    "la nomina di un collaudatore o di una commissione di collaudo, cui potrà essere "
    "affidato il solo collaudo finale ovvero anche quello in corso d'opera. Il processo "
    "verbale di visita ed il certificato di collaudo saranno redatti secondo quanto "
    "previsto dagli artt. 195 e 199 del Regolamento di attuazione della legge quadro "
    "in materia di lavori pubblici vigente, in quanto applicabili al presente appalto.";

// Drafted, 305 characters.
inline constexpr std::string_view ART10_AGIBILITA =
    "L'ottenimento dei documenti di cui al punto 20 del precedente art.9, attestanti "
    "l'agibilità e l'uso legittimo dell'edificio o di sue parti e degli impianti ivi "
    "installati, costituisce condizione essenziale per l'emissione del certificato "
    "di collaudo finale, salvo espressa rinuncia del Committente stesso.";

// Drafted, 412 characters.
inline constexpr std::string_view ART10_APPROVAZIONE_COLLAUDO =
    "Entro novanta giorni dall'emissione del certificato di collaudo dovrà provvedersi "
    "da parte del Committente e della Direzione dei Lavori all'approvazione del collaudo "
    "medesimo, al pagamento della rata di saldo all'Appaltatore ed al deposito della "
    "relativa documentazione presso il competente ufficio comunale ai fini dell'erogazione "
    "del saldo del contributo concesso, secondo quanto previsto dall'Avviso Pubblico.";

// Drafted, 286 characters.
inline constexpr std::string_view ART10_LIBERATORIE =
    "Il saldo sarà erogato solo a seguito della presentazione da parte dell'Impresa "
    "delle liberatorie emesse dall'INPS, dall'INAIL e dalla Cassa Edile, o del Documento "
    "Unico di Regolarità Contributiva (DURC), nonché della liberatoria del Direttore "
    "dei Lavori sulla regolarità dei versamenti.";

// Drafted, 233 characters.
inline constexpr std::string_view ART11_COLLEGIO =
    "La definizione delle controversie, ove non si giunga all'accordo bonario, potrà "
    "essere deferita ad un collegio arbitrale composto da tre arbitri, secondo le norme "
    "di cui al Titolo VIII del Libro Quarto del codice di procedura civile.";

// Drafted, 270 characters.
inline constexpr std::string_view ART11_NOMINA_ARBITRI =
    "Ognuna delle parti nominerà il proprio arbitro ed il terzo, con funzioni di Presidente, "
    "sarà nominato d'intesa dai due arbitri così designati, su istanza della parte "
    "più diligente. In mancanza di nomina si applicano le norme di cui al Capo II del "
    "Titolo VIII del codice.";

// Agreed wording.
inline constexpr std::string_view ART9_ONERI_COMMITTENTE =
    "Sono oneri a carico del Committente, oltre a quanto specificato nel presente contratto "
    "e nel capitolato speciale:";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_A =
    "a) progettazione delle opere da eseguirsi, a meno di quanto specificato a carico "
    "dell'Appaltatore nelle specifiche tecniche; redazione di disegni di progetto ad "
    "opera realizzata (\"as built\");";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_B =
    "b) prescrizioni dei D.Lgs. 14 agosto 1996 n. 494 e D.Lgs. 19 novembre 1999 n. "
    "528 per quanto di competenza del Committente;";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_C =
    "c) direzione lavori;";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_D =
    "d) libero accesso alle aree di cantiere e documentazione dimostrativa;";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_E =
    "e) coordinamento fra imprese/Appaltatori presenti in cantiere, in caso di compresenza "
    "di più soggetti esecutori;";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_F =
    "f) esecuzione della contabilità in contraddittorio con l'Appaltatore;";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_G =
    "g) IVA;";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_H =
    "h) pagamento Canone per l'Occupazione di Spazi e Aree Pubbliche (COSAP);";

// Agreed wording.
inline constexpr std::string_view ART9_ONERI_APPALTATORE =
    "Restano invece  a carico dell'Appaltatore, oltre a quanto specificato nel presente "
    "contratto e nel capitolato speciale i seguenti oneri che sono quindi compresi "
    "nel prezzo dell'appalto:";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_1B =
    "1b) Gli oneri di registrazione del contratto, nonché per tasse e concessioni comunali, "
    "per allacciamenti alle reti degli enti erogatori, per l'installazione delle apparecchiature "
    "del cantiere.";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_4 =
    "4) L'approntamento dei necessari locali di cantiere, ove richiesto e se realizzabile "
    "in relazione alla conformazione dell'area di cantiere.";

// Agreed wording.
inline constexpr std::string_view ART9_CAMPIONI =
    "Dei campioni potrà essere ordinata la conservazione nel competente ufficio direttivo "
    "munendoli di suggelli a firma del Direttore dei lavori e dell'Impresa nei modi "
    "più adatti a garantirne l'autenticità.";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_7 =
    "7) Il mantenimento, fino al collaudo, della continuità degli scoli delle acque "
    "e del transito sulle vie o sentieri pubblici o privati latistanti alle opere da "
    "eseguire.";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_8_INIZIO =
    "8) La fornitura di acqua potabile ed energia elettrica per gli operai addetti "
    "ai lavori, salvo la fornitura diretta da parte del Committente a titolo gratuito "
    "ed oneroso: ";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_10 =
    "10) Le spese per la fornitura di fotografie e rilievi delle opere in corso nei "
    "vari periodi dell'appalto, come richiesto dalla Direzione Lavori, per consentire "
    "la redazione dei disegni \"as built\" di cui al punto (a) del presente articolo "
    "(oneri del Committente).";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_11 =
    "11) La pulizia quotidiana dei locali in costruzione e delle vie di transito del "
    "cantiere, col personale necessario, compreso lo sgombero dei materiali di rifiuto "
    "lasciati da altre Ditte.";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_14 =
    "14) La tenuta presso il cantiere dei grafici di progetto; la predisposizione, "
    "prima dell'inizio dei lavori, del piano operativo di sicurezza di cui all'articolo "
    "9 del decreto legislativo n. 494/96 e s.m.i.";

// Agreed wording.
inline constexpr std::string_view ART9_TRANSITO =
    "L'appaltatore è a conoscenza che per le scale e il cortile dovrà, in ogni caso, "
    "garantire il transito delle persone, senza ulteriore compenso.";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_17 =
    "17) Provvedere alla redazione delle pratiche amministrative al fine dell'occupazione "
    "di suolo pubblico, resta inteso che tutti i relativi oneri, ove previsti saranno "
    "a carico del committente.";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_18 =
    "18) Provvedere, a sua cura e spese, alla fornitura e posa in opera, nei cantieri "
    "di lavoro, delle apposite tabelle indicative dei lavori.";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_19 =
    "19) Provvedere, a sua cura e spese, alla redazione del programma lavori, che sarà "
    "compilato tenendo conto dei relativi oneri e dei prezzi offerti dall'appaltatore.";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_20_INIZIO =
    "20) L'ottenimento di pareri, licenze, autorizzazioni, dichiarazioni ai sensi della "
    "legge 46/90 e s.m.i. e quant'altro necessario per il collaudo e l'agibilità delle "
    "opere eseguite e degli impianti installati, nonché il piano di manutenzione degli "
    "impianti. Sono altresì a carico dell'appaltatore le spese relative a quest'ultimo "
    "onere, ove non diversamente di seguito pattuito ed in particolare come di seguito "
    "indicato: ";

// Agreed wording.
inline constexpr std::string_view ART9_PUNTO_21 =
    "21) Sgombero del cantiere entro 20 gg dall'ultimazione dei lavori  dei materiali, "
    "mezzi d'opera ed impianti di sua proprietà.";

// Agreed wording.
inline constexpr std::string_view ART10_CONTO_FINALE =
    "Si stabilisce che il conto finale verrà compilato dal D.L. entro trenta giorni "
    "dalla data dell'ultimazione dei lavori.";

// Agreed wording.
inline constexpr std::string_view ART10_TERMINI_COLLAUDO =
    "Il collaudo finale dei lavori dovrà iniziare entro trenta giorni dalla data di "
    "effettiva ultimazione dei lavori e concludersi entro novanta giorni dalla stessa.";

// Agreed wording.
inline constexpr std::string_view ART10_VIA_BONARIA =
    "Qualora durante l'esecuzione dei lavori sorgessero controversie tra le parti in "
    "ordine all'interpretazione, esecuzione e risoluzione del presente contratto, le "
    "medesime saranno risolte in via bonaria. ";

// Agreed wording.
inline constexpr std::string_view ART10_ACCORDO_BONARIO =
    "A tale scopo il Direttore dei Lavori invita le parti a formalizzare le reciproche "
    "ragioni e formula proposta di accordo bonario, che, qualora sia accettata, vincola "
    "le parti.";

// Agreed wording.
inline constexpr std::string_view ART10_NO_SOSPENSIONE =
    "In nessun caso l'appaltatore è autorizzato a sospendere i lavori in ragione di "
    "controversie con il committente.";

// Agreed wording.
inline constexpr std::string_view ART10_MANCATO_ACCORDO =
    "In caso di mancato accordo,  e ove si proceda al ricorso in giudizio ordinario, "
    "i termini e le dichiarazioni contenute nella \"proposta di accordo bonario\" non "
    "sono vincolanti per le parti.";

// Agreed wording.
inline constexpr std::string_view ART11_SEDE =
    "Il Collegio avrà sede a Rezevi e deciderà secondo diritto.";

// Agreed wording.
inline constexpr std::string_view ART11_PROCEDURA_ARBITRALE =
    "Ove - in caso di mancato accordo bonario - si ricorra alla procedura arbitrale "
    "i termini e le dichiarazioni contenute nella \"proposta di accordo bonario\" non "
    "sono vincolanti per le parti, e ne possono essere utilizzate come elementi di "
    "fatto e/o di diritto utilizzabili ai fini della definizione del giudizio arbitrale.";

// Agreed wording.
inline constexpr std::string_view ART12_SPESE =
    "Le spese del presente atto, ivi compresa la registrazione sono a carico dell'Impresa "
    "Appaltatrice. ";

// Agreed wording.
inline constexpr std::string_view ART12_COPIA =
    "Il committente rimetterà copia del presente contratto e del Capitolato Speciale "
    "alla Società TAVORE.";

// Agreed wording.
inline constexpr std::string_view ART12_CONFORMITA_INIZIO =
    "Le parti espressamente danno atto che gli artt. dall'1 al 10 e 12 del presente "
    "contratto sono integralmente conformi al contratto tipo predisposto dalla TAVORE. "
    "S.C.p.A., e che quanto previsto dagli altri  n° ";

// Agreed wording.
inline constexpr std::string_view ART12_CONFORMITA_FINE =
    " articoli  non è in contrasto con detto contratto tipo e con le norme di cui all'Avviso "
    "Pubblico. Le parti danno altresì atto che quanto previsto dall'allegato Capitolato "
    "d'appalto non è in contrasto con il presente atto e con le norme di cui al suddetto "
    "Avviso Pubblico.";

}  // namespace testi
