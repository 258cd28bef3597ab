#include "builders/blocchi_contratto.h"

#include "common/numeri.h"

namespace contratto {

Importo importo(std::string& valore) {
    Importo risultato;
    // The figures round the value in place; the words must spell that
    // rounded value, so they are taken afterwards.
    risultato.cifre = formatta_numero(valore, 2, "S");
    risultato.lettere = importo_in_lettere(valore);
    return risultato;
}

std::string tra_virgolette(const std::string& testo) { return "\"" + testo + "\""; }

}  // namespace contratto
