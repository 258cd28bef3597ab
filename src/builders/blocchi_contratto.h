// The blocks of the co-owners contract text, in the order the document
// writes them. Each draws on the layout it is given, starting in the font the
// previous block left, and may round the amounts it prints in `valori`.
#pragma once

#include <string>

#include "builders/impaginazione.h"
#include "builders/valori_contratto.h"

// The page frame, the footer object and the title block, on an open document.
// Leaves page 1 open, bold selected, Y under the title.
void scrivi_cornice_e_titolo(PdfWriter& pdf, const ValoriContratto& valori, bool bozza, float& larghezza_utile);

// Parties and recitals, from "TRA" to the last recital.
void scrivi_premesse(Impaginatore& imp, ValoriContratto& valori);
// Articles 1 to 4; ends with bold selected.
void scrivi_articoli_1_4(Impaginatore& imp, ValoriContratto& valori);
// Articles 5 to 8; ends with bold selected.
void scrivi_articoli_5_8(Impaginatore& imp, ValoriContratto& valori);
// Articles 9 to 12; returns the number of articles of the whole contract.
int scrivi_articoli_9_12(Impaginatore& imp, ValoriContratto& valori);
// Optional articles 13 to 22.
void scrivi_articoli_facoltativi(Impaginatore& imp, const ValoriContratto& valori);
// The attachment list; returns the number of attachments listed.
int scrivi_allegati(Impaginatore& imp, const ValoriContratto& valori);
// Closing sentence, place and date, signatures. `numero_pagine` is the page
// count of the finished document (measured beforehand).
void scrivi_chiusura(Impaginatore& imp, const ValoriContratto& valori, int numero_articoli, int numero_pagine,
                     int numero_allegati);

// Helpers shared by the blocks.
namespace contratto {

// An amount as printed: the figures with "." thousands and "," decimals
// (the value is rounded to cents in place first), then its words.
struct Importo {
    std::string cifre;
    std::string lettere;
};
Importo importo(std::string& valore);

// A plain ASCII double quote around a text.
std::string tra_virgolette(const std::string& testo);

}  // namespace contratto
