// Fixed wording: Parties and recitals ("premesse") of the co-owners contract.
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

// Drafted, 457 characters.
inline constexpr std::string_view PREMESSA_EROGAZIONE_CONTRIBUTO =
    "- che, ove ottenuta dal Comune di Rezevi l'assegnazione del contributo, l'erogazione "
    "dello stesso resta subordinata al pieno rispetto della normativa vigente e delle "
    "prescrizioni contenute nell'Avviso Pubblico, e potrà avvenire in due rate ovvero "
    "in un'unica soluzione al termine dei lavori, a seguito di apposita richiesta da "
    "redigersi sui modelli predisposti dall'Amministrazione, secondo le modalità stabilite "
    "dall'art. 11, comma 2, dell'Avviso Pubblico;";

// Drafted, 307 characters.
inline constexpr std::string_view PREMESSA_CONTROLLI =
    "- che l'Amministrazione Comunale, nonché la Soc. TAVORE S.C.p.A., provvederanno "
    "ad effettuare i controlli previsti dal programma di recupero, già autorizzati "
    "dalle parti ai sensi del regolamento dell'Elenco Imprese, del presente contratto "
    "tipo e dell'Avviso Pubblico (art. 12), al fine dell'accertamento di:";

// Drafted, 498 characters.
inline constexpr std::string_view PREMESSA_OGGETTO_CONTROLLI =
    "- dichiarazioni o rappresentazioni non veritiere, realizzazione dei lavori in "
    "difformità dei titoli abilitativi; irregolarità nell'esecuzione dei lavori sotto "
    "il profilo del rispetto delle norme amministrative, della sicurezza e della salute "
    "nel cantiere e della regolare posizione contributiva e assicurativa dei lavoratori "
    "dichiarati; mancato rispetto di qualsivoglia altro impegno assunto in ordine alla "
    "concessione del contributo, all'esecuzione dei lavori e all'iscrizione nell'Elenco "
    "Imprese;";

// Drafted, 347 characters.
inline constexpr std::string_view PREMESSA_CONSEGUENZE =
    "- che si dà atto che dette dichiarazioni non veritiere, difformità ed irregolarità, "
    "ove accertate, potranno comportare la sospensione o la revoca del contributo concesso "
    "al comproprietario, con l'obbligo di restituzione delle somme eventualmente già "
    "erogate, e potranno altresì dare luogo alla sospensione od all'esclusione dell'appaltatore "
    "dall' ";

// Agreed wording.
inline constexpr std::string_view TRA =
    "TRA";

// Agreed wording.
inline constexpr std::string_view E =
    "E";

// Agreed wording.
inline constexpr std::string_view PREMESSO =
    "PREMESSO";

// Agreed wording.
inline constexpr std::string_view PREMESSA_NOMINANDO =
    "inerenti il fabbricato, nominando:";

// Agreed wording.
inline constexpr std::string_view PREMESSA_DIA =
    "- che a seguito di presentazione di DIA - Denuncia di inizio attività, nei successivi "
    "  trenta giorni, non è intervenuta alcuna interruzione dei termini con richiesta "
    "di chiarimenti o di implementazione di documenti, ovvero che le richieste formulate "
    "dall'Amministrazione a seguito di detta presentazione sono state soddisfatte;";

// Agreed wording.
inline constexpr std::string_view PREMESSA_RELAZIONE_ASSEVERATA =
    "- che, trattandosi unicamente di lavori di manutenzione ordinaria, è stata presentata "
    "al Comune di Rezevi relazione redatta ed asseverata da tecnico abilitato dei lavori "
    "previsti e la relativa documentazione fotografica; ";

// Agreed wording.
inline constexpr std::string_view PREMESSA_RICHIESTA_EROGAZIONE =
    "- che la richiesta di erogazione dei finanziamenti va presentata in duplice copia "
    "al Comune di Rezevi unitamente alla documentazione contabile ed amministrativa "
    "prevista dall'Avviso Pubblico all'art. 12;";

// Agreed wording.
inline constexpr std::string_view PREMESSA_STIPULA =
    "- che  fra le parti contraenti si è stabilito di addivenire oggi alla stipula "
    "del presente contratto con il  quale convengono quanto segue :";

}  // namespace testi
