// The pieces of the contract page that repeat what the user typed elsewhere
// (names, the building's address, the firm) and the counts the closing
// sentence states. Plain functions of the form's state, so that they are
// tested without a window. Texts are Windows-1252.
#pragma once

#include <string>

#include "contract_record/modello_contratto.h"

// Title, first name and surname joined by single blanks, as the contract
// writes them, without the blanks that empty parts would leave.
std::string nominativo_richiedente(const ModelloContratto& m);
std::string nominativo_rappresentante_impresa(const ModelloContratto& m);
std::string nominativo_progettista(const ModelloContratto& m);
std::string nominativo_direttore_lavori(const ModelloContratto& m);

// A repeated value as shown on the page: the text, or a row of dots while
// the box it comes from is empty, so the sentence still reads.
std::string ripetuto(const std::string& testo);

// The address of the building in capitals, as the title block writes it.
std::string titolo_edificio(const ModelloContratto& m);

// Article 12's count of the articles beyond the eleven standard ones.
int altri_articoli(const ModelloContratto& m);

// The closing sentence; the pages are counted when the document is written.
std::string frase_consistenza(const ModelloContratto& m);
