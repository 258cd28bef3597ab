#include "common/cartelle.h"

#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>
#include <unistd.h>


namespace fs = std::filesystem;

namespace {

std::mutex& guardia() {
    static std::mutex m;
    return m;
}

std::optional<fs::path>& programma_fissato() {
    static std::optional<fs::path> p;
    return p;
}

std::optional<fs::path>& dati_fissato() {
    static std::optional<fs::path> p;
    return p;
}

fs::path cartella_eseguibile() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && !exe.empty()) return exe.parent_path();
    return fs::current_path(ec);
}

// A folder is writable when we may create files in it (the data file is
// always replaced by a rename, so the folder counts, not the file).
bool scrivibile(const fs::path& cartella) {
    return ::access(cartella.c_str(), W_OK | X_OK) == 0;
}

fs::path cartella_utente() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg != '\0' && fs::path(xdg).is_absolute())
        return fs::path(xdg) / "contratto";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return fs::path(home) / ".local" / "share" / "contratto";
    std::error_code ec;
    return fs::temp_directory_path(ec) / "contratto";
}

}  // namespace

fs::path cartella_programma() {
    {
        std::lock_guard<std::mutex> lock(guardia());
        if (programma_fissato()) return *programma_fissato();
    }
    return cartella_eseguibile();
}

fs::path cartella_dati() {
    {
        std::lock_guard<std::mutex> lock(guardia());
        if (dati_fissato()) return *dati_fissato();
    }
    const fs::path programma = cartella_programma();
    if (scrivibile(programma)) return programma;
    const fs::path utente = cartella_utente();
    std::error_code ec;
    fs::create_directories(utente, ec);
    return utente;
}

void imposta_cartelle(const fs::path& programma, const fs::path& dati) {
    std::lock_guard<std::mutex> lock(guardia());
    programma_fissato() = programma.empty() ? std::nullopt : std::optional<fs::path>(programma);
    dati_fissato() = dati.empty() ? std::nullopt : std::optional<fs::path>(dati);
}

fs::path file_dati() { return cartella_dati() / "dati2.dat"; }

fs::path trova_file(const fs::path& cartella, std::string_view nome) {
    const fs::path esatto = cartella / fs::path(std::string(nome));
    std::error_code ec;
    if (fs::exists(esatto, ec)) return esatto;
    // Only ASCII letters are folded: file names on disk are UTF-8 while
    // `nome` is ours, and the names we look up are plain ASCII.
    auto piega = [](std::string_view s) {
        std::string out(s);
        for (char& c : out)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
        return out;
    };
    const std::string cercato = piega(nome);
    fs::directory_iterator it(cartella, ec);
    if (ec) return esatto;
    for (const fs::directory_iterator fine; it != fine; it.increment(ec)) {
        if (ec) break;
        if (piega(it->path().filename().string()) == cercato) return it->path();
    }
    return esatto;
}
