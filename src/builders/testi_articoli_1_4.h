// Fixed wording: Articles 1 to 4 of the co-owners contract: recitals, award and amounts, payments, time and prices.
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

// Drafted, 379 characters.
inline constexpr std::string_view ART1_RECEPIMENTO =
    "Le parti, come innanzi costituite, confermano e ratificano la precedente narrativa, "
    "che dichiarano parte integrante e sostanziale del presente contratto, e riconoscono "
    "ed accettano espressamente che l'unico soggetto legittimato a sottoscrivere il "
    "presente contratto d'appalto in qualità di committente, così come individuato "
    "nel successivo art. 2, è: Il delegato dei proprietari.";

// Drafted, 256 characters.
inline constexpr std::string_view ART2_ELABORATI =
    "Detti lavori saranno eseguiti in conformità agli elaborati tecnici esecutivi di "
    "progetto che, sottoscritti dalle parti in segno di accettazione, formano parte "
    "integrante e sostanziale del presente contratto, ancorché non materialmente allegati "
    "allo stesso.";

// Drafted, 475 characters.
inline constexpr std::string_view ART2_IMPORTI_PRESUNTI =
    "Gli importi suddetti vengono indicati al solo scopo di definire l'ammontare presunto "
    "del corrispettivo, fatto salvo quanto previsto dal successivo art. 4. Il corrispettivo "
    "da riconoscere all'Appaltatore, sia per i pagamenti in acconto sia per il saldo, "
    "sarà determinato applicando alle quantità di lavori effettivamente eseguite i "
    "prezzi delle singole voci, diminuiti del ribasso convenuto per ciascuna di esse, "
    "come risulta dall'allegata offerta prezzi unitari sottoscritta.";

// Drafted, 227 characters.
inline constexpr std::string_view ART3_CAUZIONE_ANTICIPAZIONE =
    "A fronte della anticipazione suddetta l'Appaltatore dovrà versare, ove richiesto "
    "dal Committente, idonea cauzione di pari importo, svincolata progressivamente "
    "in misura pari alle trattenute operate sui certificati di pagamento.";

// Drafted, 143 characters.
inline constexpr std::string_view ART3_CESSAZIONE_INCARICO_1 =
    "Resta inteso che in qualunque caso in cui la persona autorizzata a riscuotere "
    "cessi o decada dall'incarico, anche quando la cessazione avvenga ";

// Drafted, 310 characters.
inline constexpr std::string_view ART3_CESSAZIONE_INCARICO_2 =
    ", l'Appaltatore sarà tenuto a darne tempestiva comunicazione scritta al Committente; "
    "in difetto di tale comunicazione, il Committente non assumerà alcuna responsabilità "
    "per i pagamenti eseguiti alla persona in precedenza autorizzata, che si intenderanno "
    "a tutti gli effetti validamente effettuati e liberatori.";

// Drafted, 286 characters.
inline constexpr std::string_view ART3_RATA_SALDO =
    "L'ultima rata a saldo, qualunque sia l'ammontare al netto delle ritenute, verrà "
    "corrisposta all'Appaltatore dopo il collaudo finale e previa acquisizione del "
    "certificato di regolarità contributiva dell'Impresa, entro centocinquanta giorni "
    "dalla data di accertata ultimazione dei lavori.";

// Drafted, 343 characters.
inline constexpr std::string_view ART3_INTERESSI =
    "Nell'ipotesi di ritardo nel pagamento di acconti e saldo, spettano all'Impresa "
    "gli interessi, nella misura e con le modalità previste dagli artt. 29 e 30 del "
    "Capitolato Generale d'Appalto per i lavori pubblici approvato con D.M. 19/4/2000 "
    "n. 145, le cui disposizioni in materia le parti dichiarano di recepire nel presente "
    "contratto d'appalto.";

// Drafted, 233 characters.
inline constexpr std::string_view ART3_SOLO_COMMITTENTE =
    "Le parti convengono che i pagamenti saranno effettuati unicamente dal contraente-committente "
    "individuato in premessa e nei precedenti artt. 1 e 2, ad esclusione di qualsiasi "
    "pagamento effettuato da soggetti terzi, a qualunque titolo.";

// Drafted, 370 characters.
inline constexpr std::string_view ART4_NUOVE_PRESTAZIONI =
    "Qualora si provveda in corso d'opera alla richiesta di nuove prestazioni, l'Appaltatore "
    "sarà tenuto a eseguirle agli stessi patti, prezzi e condizioni del presente contratto. "
    "Il Committente si riserva altresì la facoltà di introdurre nelle opere oggetto "
    "dell'appalto tutte le varianti che riterrà opportune nell'interesse della buona "
    "riuscita e dell'economia dei lavori.";

// Drafted, 376 characters.
inline constexpr std::string_view ART4_NUOVI_PREZZI =
    "2)- i nuovi prezzi stabiliti secondo quanto previsto dalla vigente normativa in "
    "materia di lavori pubblici, da sottoporre al giudizio del progettista o del Direttore "
    "dei Lavori, che ne dichiarerà la congruità in relazione ai costi elementari della "
    "manodopera, dei materiali, dei noli e dei trasporti attualmente in vigore nella "
    "Regione Campania, secondo le analisi dei prezzi.";

// Drafted, 226 characters.
inline constexpr std::string_view ART4_RIBASSO_VARIANTI =
    "Tutti i prezzi delle opere in variante - ove non già concordati in sede aggiudicazione "
    "- saranno soggetti ad un ribasso non inferiore al ribasso medio ponderato offerto "
    "in sede di gara, come definito nel precedente articolo 2.";

// Agreed wording.
inline constexpr std::string_view ART2_QUALITA_COMMITTENTE =
    " di cui in premessa anche nominato \"committente\", in qualità di delegato dei "
    "proprietari del fabbricato sito in Rezevi, in ";

// Agreed wording.
inline constexpr std::string_view ART2_CONDUZIONE_FINE =
    ", in qualità di Direttore Tecnico e/o di Cantiere dell'Appaltatore, che non potrà "
    "essere sostituito nell'incarico senza il consenso del Committente.";

// Agreed wording.
inline constexpr std::string_view ART2_OSSERVANZA =
    "L'esecuzione dell'appalto è soggetta alla piena e incondizionata osservanza del "
    "presente contratto, del Cap. Spec. di Appalto e  delle procedure previste dall'Avviso "
    "Pubblico e dalle relative delibere comunali.";

// Agreed wording.
inline constexpr std::string_view ART2_AMMONTARE =
    "L'ammontare dell'appalto, al netto dell'importo IVA, resta stabilito in via presuntiva "
    "in : ";

// Agreed wording.
inline constexpr std::string_view ART4_TEMPO_CONGRUENTE =
    "Il tempo di esecuzione lavori dovrà essere in ogni caso congruente con quanto "
    "in particolare prescritto dagli artt. 7, 8 e 9    ";

// Agreed wording.
inline constexpr std::string_view ART4_RITARDO =
    "Se il ritardo dovesse essere superiore a giorni sessanta, il Committente potrà "
    "procedere alla risoluzione del contratto ed all'incameramento della cauzione.";

// Agreed wording.
inline constexpr std::string_view ART4_PREZZI_FISSI =
    "I prezzi, diminuiti dei singoli ribassi su ciascuna voce di prezzo, così come "
    "indicato nell'elenco prezzi (vedi lettera F), rimarranno fissi ed invariabili.";

// Agreed wording.
inline constexpr std::string_view ART4_REVISIONE =
    "È esclusa  la revisione dei prezzi.";

// Agreed wording.
inline constexpr std::string_view ART4_VALUTAZIONE_VARIANTI =
    "La valutazione delle eventuali varianti avverrà contabilizzando in aumento le "
    "opere in variante così come eseguite ed in detrazione le opere in progetto non "
    "più eseguite.";

// Agreed wording.
inline constexpr std::string_view ART4_CONTABILIZZAZIONE =
    "La suddetta contabilizzazione avverrà utilizzando nell'ordine:";

// Agreed wording.
inline constexpr std::string_view ART4_PREZZARIO =
    "1)- i prezzi de \"Il Nuovo Prezzario Lavori Pubblici in Campania\" approvato con "
    "Delibera di Giunta Regionale n. 2184 del 29/12/2006 pubblicata sul BURC del 2/3/2007 "
    "-numero speciale,   se esistenti; ovvero i prezzi ragguagliati a quelli di lavorazioni "
    "consimili già esistenti nel prezzario;";

// Agreed wording.
inline constexpr std::string_view ART4_CONTRIBUTO_INVARIATO =
    "Resta inteso che il contributo concesso non potrà subire alcuna variazione in "
    "aumento, in conseguenza delle varianti apportate.";

}  // namespace testi
