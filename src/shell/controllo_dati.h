// The final completeness check of "Stampa Dati": before the final contract is
// written, every item the document needs must be in the data store. Plain
// C++, so it runs without a window.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

enum class TipoRichiedente { Nessuno, Amministratore, Proprietario, Comproprietario };

// The kind of client stored under TIPO_RICHIEDENTE, compared upper-cased.
TipoRichiedente tipo_richiedente(std::string_view valore);

// The text the forms store for a kind ("Amministratore", ...); "" for none.
std::string testo_tipo_richiedente(TipoRichiedente tipo);

// Every key trimmed and upper-cased with the value of its last record, as
// leggi_archivio gives it (the builders read the store the same way).
using ArchivioDati = std::map<std::string, std::string>;

// The first missing item of the stored contract, as an Italian message
// (Windows-1252) that names it; nullopt when the contract is complete. The
// items required depend on the stored kind of client; the optional articles
// are checked last (CHECK_ARTICOLI).
std::optional<std::string> stampa_dati(const ArchivioDati& archivio);

// The optional articles 13 to 22: each has both its title and its text, or
// neither. The first article with only one of the two gives the message.
std::optional<std::string> CHECK_ARTICOLI(const ArchivioDati& archivio);
