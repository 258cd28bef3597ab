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

SostituzioneNeiMessaggi::SostituzioneNeiMessaggi(std::string da, std::string a) {
    std::lock_guard<std::mutex> lock(guardia());
    precedente_ = gestore_corrente();
    gestore_corrente() = [da = std::move(da), a = std::move(a), successivo = precedente_](TipoMessaggio tipo,
                                                                                       const std::string& testo) {
        std::string sostituito = testo;
        if (!da.empty()) {
            for (std::size_t p = sostituito.find(da); p != std::string::npos; p = sostituito.find(da, p + a.size()))
                sostituito.replace(p, da.size(), a);
        }
        if (successivo)
            successivo(tipo, sostituito);
        else
            std::cerr << (tipo == TipoMessaggio::ErroreCritico ? "ERRORE: " : "") << cp1252_a_utf8(sostituito)
                      << '\n';
    };
}

SostituzioneNeiMessaggi::~SostituzioneNeiMessaggi() {
    std::lock_guard<std::mutex> lock(guardia());
    gestore_corrente() = std::move(precedente_);
}

void mostra_avviso(const std::string& testo) { invia(TipoMessaggio::Avviso, testo); }

void mostra_errore_critico(const std::string& testo) { invia(TipoMessaggio::ErroreCritico, testo); }
