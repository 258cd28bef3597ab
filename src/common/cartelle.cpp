#include "common/cartelle.h"

#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>
#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/dati.h"
#include "common/errori_sistema.h"


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

[[noreturn]] void rifiuta(const fs::path& cartella, const std::string& perche) {
    throw ErroreDati("La cartella dei dati \"" + cartella.string() + "\" " + perche);
}

// A per-user folder that cannot be made. When the system refused to write,
// the user learns which folder must let them write (the nearest one that
// exists on the way), since the program offers no other place to choose.
[[noreturn]] void non_si_puo_creare(const fs::path& cartella, int errore) {
    if (errore != EACCES && errore != EPERM && errore != EROFS)
        rifiuta(cartella, "non si pu\u00f2 creare: " + descrizione_errore(errore) + ".");
    fs::path esistente = cartella.parent_path();
    std::error_code ec;
    while (esistente.has_relative_path() && !fs::is_directory(esistente, ec)) esistente = esistente.parent_path();
    throw ErroreDati("Il programma non pu\u00f2 conservare i dati: non riesce a creare la cartella dei dati \"" +
                     cartella.string() + "\" perch\u00e9 nella cartella \"" + esistente.string() +
                     "\" non si pu\u00f2 scrivere. Rendere la cartella \"" + esistente.string() +
                     "\" scrivibile dal proprio utente (o chiedere di farlo a chi gestisce il computer), poi "
                     "riavviare il programma.");
}

// The per-user folder, made when missing (0700: it holds personal data) and
// then checked: a folder that another user owns, or a link, is never used,
// since that user could read the data or put a file of theirs in its place
// (the fallback in the shared temporary folder can be made by anyone first).
// A folder of ours that others may write into is closed to them.
fs::path cartella_utente_sicura() {
    const fs::path cartella = cartella_utente();
    std::error_code ec;
    fs::create_directories(cartella.parent_path(), ec);
    // The parents' failure is the cause (a home folder that cannot be
    // written), not the missing parent that mkdir would report next.
    if (ec) non_si_puo_creare(cartella, ec.value());
    if (::mkdir(cartella.c_str(), 0700) != 0 && errno != EEXIST) non_si_puo_creare(cartella, errno);
    struct stat st {};
    if (::lstat(cartella.c_str(), &st) != 0)
        rifiuta(cartella, "non si pu\u00f2 usare: " + descrizione_errore(errno) + ".");
    if (!S_ISDIR(st.st_mode))
        rifiuta(cartella, "non \u00e8 una cartella: per proteggere i dati personali il programma non la usa.");
    if (st.st_uid != ::geteuid())
        rifiuta(cartella, "appartiene a un altro utente: per proteggere i dati personali il programma non la usa. "
                          "Impostare la variabile HOME o XDG_DATA_HOME su una cartella propria.");
    if ((st.st_mode & 0077) != 0 && ::chmod(cartella.c_str(), 0700) != 0)
        rifiuta(cartella, "\u00e8 accessibile ad altri utenti e non si pu\u00f2 proteggere: " +
                              descrizione_errore(errno) + ".");
    return cartella;
}

bool esiste(const fs::path& file) {
    struct stat st {};
    return ::lstat(file.c_str(), &st) == 0;
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
    // Once the per-user folder holds a data file it is the data file, even
    // if the program folder becomes writable again: never back to a stale copy.
    if (esiste(cartella_utente() / NOME_FILE_DATI)) return cartella_utente_sicura();
    const fs::path programma = cartella_programma();
    if (scrivibile(programma)) return programma;
    return cartella_utente_sicura();
}

std::optional<std::string> prepara_cartella_dati() {
    {
        std::lock_guard<std::mutex> lock(guardia());
        if (dati_fissato()) return std::nullopt;
    }
    const fs::path cartella = cartella_dati();
    const fs::path programma = cartella_programma();
    if (cartella == programma) return std::nullopt;
    const fs::path nuovo = cartella / NOME_FILE_DATI;
    const fs::path vecchio = programma / NOME_FILE_DATI;
    if (esiste(nuovo) || !fs::is_regular_file(vecchio)) return std::nullopt;
    // Copied under a work name and linked into place: a copy that fails
    // half-way is never taken for the data file, and link() never replaces
    // a file that appeared meanwhile.
    const fs::path copia = cartella / ("." + std::string(NOME_FILE_DATI) + ".copia");
    std::error_code ec;
    fs::remove(copia, ec);
    if (!fs::copy_file(vecchio, copia, ec)) return std::nullopt;  // unreadable: nothing to carry over
    ::chmod(copia.c_str(), 0600);
    const int collegato = ::link(copia.c_str(), nuovo.c_str());
    const int errore = errno;
    fs::remove(copia, ec);
    if (collegato != 0) {
        if (errore == EEXIST) return std::nullopt;
        throw ErroreDati("Impossibile copiare il file dei dati \"" + vecchio.string() + "\" in \"" +
                         cartella.string() + "\": " + descrizione_errore(errore) + ".");
    }
    return "La cartella del programma \"" + programma.string() +
           "\" non \u00e8 scrivibile: il file dei dati \u00e8 stato copiato in \"" + cartella.string() +
           "\", dove i dati sono conservati da ora in poi.";
}

void imposta_cartelle(const fs::path& programma, const fs::path& dati) {
    std::lock_guard<std::mutex> lock(guardia());
    programma_fissato() = programma.empty() ? std::nullopt : std::optional<fs::path>(programma);
    dati_fissato() = dati.empty() ? std::nullopt : std::optional<fs::path>(dati);
}

fs::path file_dati() { return cartella_dati() / NOME_FILE_DATI; }

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
