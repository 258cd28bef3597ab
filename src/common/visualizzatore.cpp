#include "common/visualizzatore.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

#include <unistd.h>

#include "common/cp1252.h"

namespace fs = std::filesystem;

fs::path trova_apertura() {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return {};
    std::string_view resto(path);
    while (true) {
        const auto due_punti = resto.find(':');
        std::string_view cartella = resto.substr(0, due_punti);
        // An empty entry is the current folder, as execlp reads it.
        const fs::path candidato = fs::path(cartella.empty() ? "." : std::string(cartella)) / PROGRAMMA_APERTURA;
        std::error_code ec;
        if (fs::is_regular_file(candidato, ec) && ::access(candidato.c_str(), X_OK) == 0) return candidato;
        if (due_punti == std::string_view::npos) break;
        resto.remove_prefix(due_punti + 1);
    }
    return {};
}

std::string messaggio_senza_visualizzatore(const fs::path& file) {
    // The path is the system's (UTF-8); the message is Windows-1252, like
    // every text given to the message boxes.
    return utf8_per_messaggio("Il documento è stato scritto in \"" + file.string() +
                              "\", ma nessun programma lo ha aperto: sul computer non c'è un programma per "
                              "mostrare i file PDF (" + std::string(PROGRAMMA_APERTURA) +
                              "). Aprire il file con un lettore PDF.");
}
