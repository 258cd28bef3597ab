// The system's file errors told in Italian, with what the user can do about
// them: the C library's own texts follow the process's locale, which is
// often English even on an Italian desktop.
#pragma once

#include <string>

// UTF-8; an error without a text of ours gives the system's own.
std::string descrizione_errore(int codice);
