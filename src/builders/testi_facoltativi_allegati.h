// Fixed wording: The attachment list of the co-owners contract (the optional articles 13-22 are the user's own text).
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

// Agreed wording.
inline constexpr std::string_view ALLEGATI =
    "Allegati:";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_A =
    "A) Dichiarazione dei comproprietari di essere titolari della proprietà dell'intero "
    "immobile;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_B =
    "B) Dichiarazione con la quale i comproprietari approvano i lavori e autorizzano "
    "altresì il committente a stipulare e sottoscrivere il presente contratto;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_C =
    "C)  Certificato di iscrizione dell'appaltatore al Registro Imprese rilasciato "
    "dalla C.C.I.A.A.; ";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_D =
    "D) Capitolato Speciale d'Appalto;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_E =
    "E)  Computo metrico estimativo;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_F =
    "F) Elenco prezzi firmato da tecnico, impresa e committente;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_G =
    "G) Quadro economico dell'intervento;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_H =
    "H) Dichiarazione dell'appaltatore in merito ad eventuali lavorazioni da subappaltare;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_I =
    "I) Copia di polizza CAR per i rischi di esecuzione;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_J =
    "J) Copia di polizza assicurativa per la manutenzione dei lavori eseguiti;";

// Agreed wording.
inline constexpr std::string_view ALLEGATO_K =
    "K) Copia della cauzione a garanzia della buona e completa esecuzione dei lavori.";

}  // namespace testi
