#include "common/messaggi.h"

#include <iostream>
#include <mutex>
#include <utility>

#include "common/cp1252.h"

namespace {

std::mutex& guardia() {
    static std::mutex m;
    return m;
}

GestoreMessaggi& gestore_corrente() {
    static GestoreMessaggi g;
    return g;
}

void invia(TipoMessaggio tipo, const std::string& testo) {
    GestoreMessaggi gestore;
    {
        std::lock_guard<std::mutex> lock(guardia());
        gestore = gestore_corrente();
    }
    if (gestore) {
        gestore(tipo, testo);
        return;
    }
    std::cerr << (tipo == TipoMessaggio::ErroreCritico ? "ERRORE: " : "") << cp1252_a_utf8(testo)
              << '\n';
}

}  // namespace

void imposta_gestore_messaggi(GestoreMessaggi gestore) {
    std::lock_guard<std::mutex> lock(guardia());
    gestore_corrente() = std::move(gestore);
}

void mostra_avviso(const std::string& testo) { invia(TipoMessaggio::Avviso, testo); }

void mostra_errore_critico(const std::string& testo) { invia(TipoMessaggio::ErroreCritico, testo); }
