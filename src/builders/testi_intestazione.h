// Fixed wording: Page frame and title block of the co-owners contract, and its message.
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
inline constexpr std::string_view PIEDE_PROGETTO =
    "PROGETTO TAVORE 3,   Avviso Pubblico Comune di Rezevi";

// Agreed wording.
inline constexpr std::string_view PIEDE_MODELLO =
    "mod. TAVORE 4 - contratto di appalto";

// Agreed wording.
inline constexpr std::string_view FILIGRANA_BOZZA =
    "BOZZA";

// Agreed wording.
inline constexpr std::string_view TITOLO_PROGRAMMA =
    "Programma di recupero delle parti comuni degli edifici  dei centri storici e  "
    "delle periferie";

// Agreed wording.
inline constexpr std::string_view TITOLO_CONTRIBUTI =
    "con contributi a fondo perduto del Comune di Rezevi di cui all'Avviso Pubblico "
    "approvato";

// Agreed wording.
inline constexpr std::string_view TITOLO_DELIBERA =
    "con delibera di Giunta Comunale n° 4349 del 28 dicembre 2007";

// Agreed wording.
inline constexpr std::string_view TITOLO_CONTRATTO =
    "CONTRATTO DI APPALTO PER L'ESECUZIONE DI LAVORI ALL'EDIFICIO";

// Agreed wording.
inline constexpr std::string_view TITOLO_SITO_IN =
    "SITO IN DIRIDO ";

// Agreed wording.
inline constexpr std::string_view MESSAGGIO_FILE_APERTO =
    "Il file è aperto, mi è impossibile generarlo !";

}  // namespace testi
