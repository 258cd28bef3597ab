// Fixed wording: Closing and signatures of the co-owners contract.
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
inline constexpr std::string_view CHIUSURA_ALLEGATI_INTEGRANTI =
    "Le parti convengono che i predetti allegati, anche se non materialmente uniti "
    "al presente contratto, ne formano parte integrante.";

// Agreed wording.
inline constexpr std::string_view CHIUSURA_APPROVAZIONE =
    "I costituiti, ai sensi e per gli effetti dell'art. 1341 codice civile, approvano "
    "e sottoscrivono espressamente i su riportati  articoli 1, 2, 3, 4, 5, 6, 7, 8, "
    "9, 10 e 12 del presente contratto.";

// Agreed wording.
inline constexpr std::string_view CHIUSURA_FIRMA_COSTITUITO =
    "Come costituito                                                               "
    "   Per l'impresa";

// Agreed wording.
inline constexpr std::string_view CHIUSURA_FIRMA_RUOLI =
    "IL COMMITTENTE                                             IL LEGALE RAPPRESENTANTE";

}  // namespace testi
