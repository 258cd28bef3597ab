#include "builders/contratto_proprietari.h"

#include "builders/testo_cp1252.h"
#include "common/messaggi.h"

bool genera_contratto_proprietari(const std::filesystem::path&, bool) {
    mostra_avviso(testi::cp1252("Il contratto per un unico proprietario non è disponibile in questa versione."));
    return false;
}
