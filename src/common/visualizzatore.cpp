#include "common/visualizzatore.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/cp1252.h"
#include "common/errori_sistema.h"

namespace fs = std::filesystem;

namespace {

std::mutex& guardia() {
    static std::mutex m;
    return m;
}

OsservatoreApertura& osservatore() {
    static OsservatoreApertura o;
    return o;
}

void scrivi_intero(int fd, int valore) { (void)!::write(fd, &valore, sizeof valore); }

// One int from `fd`; false at the end of the pipe.
bool leggi_intero(int fd, int& valore) {
    ssize_t letti;
    do {
        letti = ::read(fd, &valore, sizeof valore);
    } while (letti < 0 && errno == EINTR);
    return letti == static_cast<ssize_t>(sizeof valore);
}

// xdg-open's documented exit codes.
std::string perche_uscita(int stato) {
    if (!WIFEXITED(stato)) return "si è interrotto";
    const int codice = WEXITSTATUS(stato);
    const char* motivo = codice == 1   ? "richiesta non valida"
                         : codice == 2 ? "il file non si trova"
                         : codice == 3 ? "sul computer non c'è un programma associato ai file PDF"
                         : codice == 4 ? "l'apertura non è riuscita"
                                       : "errore";
    return "ha risposto con il codice " + std::to_string(codice) + " (" + motivo + ")";
}

}  // namespace

fs::path trova_apertura() {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return {};
    std::string_view resto(path);
    while (true) {
        const auto due_punti = resto.find(':');
        std::string_view cartella = resto.substr(0, due_punti);
        // An empty entry is the current folder, as the shell reads it.
        const fs::path candidato = fs::path(cartella.empty() ? "." : std::string(cartella)) / PROGRAMMA_APERTURA;
        std::error_code ec;
        if (fs::is_regular_file(candidato, ec) && ::access(candidato.c_str(), X_OK) == 0) return candidato;
        if (due_punti == std::string_view::npos) break;
        resto.remove_prefix(due_punti + 1);
    }
    return {};
}

AperturaAvviata avvia_apertura(const fs::path& file) {
    // The program trova_apertura found, and no other: a broken one is told
    // as such, not passed over for the next of the same name along PATH.
    const fs::path programma = trova_apertura();
    if (programma.empty()) return {ENOENT, -1};
    // `esito` carries the opener's wait status from the watcher; `avvio` the
    // error of an exec that failed (a successful exec closes it).
    int esito[2], avvio[2];
    if (::pipe2(esito, O_CLOEXEC) != 0) return {errno, -1};
    if (::pipe2(avvio, O_CLOEXEC) != 0) {
        const int errore = errno;
        ::close(esito[0]);
        ::close(esito[1]);
        return {errore, -1};
    }
    const pid_t figlio = ::fork();
    if (figlio == 0) {
        // Only starts the watcher and ends, so that no process of ours is
        // left to reap: the watcher and the opener belong to init.
        ::close(esito[0]);
        ::close(avvio[0]);
        ::setsid();
        const pid_t osservatore = ::fork();
        if (osservatore != 0) {
            if (osservatore < 0) scrivi_intero(avvio[1], errno);
            ::_exit(0);
        }
        const pid_t apertura = ::fork();
        if (apertura == 0) {
            const int nulla = ::open("/dev/null", O_RDWR);
            if (nulla >= 0) {
                ::dup2(nulla, 0);
                ::dup2(nulla, 1);
                ::dup2(nulla, 2);
            }
            ::execl(programma.c_str(), PROGRAMMA_APERTURA, file.c_str(), static_cast<char*>(nullptr));
            scrivi_intero(avvio[1], errno);
            ::_exit(127);
        }
        if (apertura < 0) scrivi_intero(avvio[1], errno);
        ::close(avvio[1]);
        int stato = 0;
        if (apertura > 0) {
            while (::waitpid(apertura, &stato, 0) < 0 && errno == EINTR) {
            }
            scrivi_intero(esito[1], stato);
        }
        ::_exit(0);
    }
    const int errore_fork = figlio < 0 ? errno : 0;
    ::close(esito[1]);
    ::close(avvio[1]);
    int errore = errore_fork;
    if (figlio > 0) {
        while (::waitpid(figlio, nullptr, 0) < 0 && errno == EINTR) {
        }
        // Returns once the opener's program runs or could not be run.
        if (!leggi_intero(avvio[0], errore)) errore = 0;
    }
    ::close(avvio[0]);
    if (errore != 0) {
        ::close(esito[0]);
        return {errore, -1};
    }
    return {0, esito[0]};
}

void imposta_osservatore_apertura(OsservatoreApertura nuovo) {
    std::lock_guard<std::mutex> lock(guardia());
    osservatore() = std::move(nuovo);
}

void osserva_apertura(int esito, const fs::path& file) {
    OsservatoreApertura o;
    {
        std::lock_guard<std::mutex> lock(guardia());
        o = osservatore();
    }
    if (o)
        o(esito, file);
    else
        ::close(esito);
}

std::optional<std::string> esito_apertura(int esito, const fs::path& file) {
    int stato = 0;
    const bool letto = leggi_intero(esito, stato);
    ::close(esito);
    if (!letto || (WIFEXITED(stato) && WEXITSTATUS(stato) == 0)) return std::nullopt;
    return messaggio_senza_visualizzatore(file, "il programma che mostra i file PDF (" +
                                                    std::string(PROGRAMMA_APERTURA) + ") " + perche_uscita(stato));
}

std::string perche_apertura_non_avviata(int errore) {
    return "il programma che mostra i file PDF (" + std::string(PROGRAMMA_APERTURA) + ") non si può avviare (" +
           descrizione_errore(errore) + ")";
}

std::string messaggio_senza_visualizzatore(const fs::path& file, const std::string& perche) {
    // The path is the system's (UTF-8); the message is Windows-1252, like
    // every text given to the message boxes.
    const std::string causa = perche.empty() ? "sul computer non c'è un programma per mostrare i file PDF (" +
                                                   std::string(PROGRAMMA_APERTURA) + ")"
                                             : perche;
    return utf8_per_messaggio("Il documento è stato scritto in \"" + file.string() +
                              "\", ma nessun programma lo ha aperto: " + causa + ". Aprire il file con un lettore PDF.");
}
