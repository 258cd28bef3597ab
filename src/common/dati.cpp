#include "common/dati.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/cartelle.h"
#include "common/cp1252.h"
#include "common/errori_sistema.h"

namespace fs = std::filesystem;

namespace {

std::atomic<bool> guasto_simulato{false};

std::string causa(int codice) { return descrizione_errore(codice); }

[[noreturn]] void errore(const std::string& cosa, const fs::path& file, int codice) {
    throw ErroreDati(cosa + " \"" + file.string() + "\": " + causa(codice) + ".");
}

// A file descriptor that closes itself.
class Descrittore {
public:
    explicit Descrittore(int fd) : fd_(fd) {}
    ~Descrittore() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descrittore(const Descrittore&) = delete;
    Descrittore& operator=(const Descrittore&) = delete;
    int get() const { return fd_; }
    int rilascia() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// The whole records of the file; a missing file holds none.
std::string leggi_byte(const fs::path& file) {
    Descrittore fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return {};
        errore("Impossibile aprire il file dei dati", file, errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) errore("Impossibile leggere il file dei dati", file, errno);
    if (!S_ISREG(st.st_mode)) errore("Impossibile leggere il file dei dati", file, EISDIR);
    std::string byte;
    char buffer[65536];
    for (;;) {
        const ssize_t letti = ::read(fd.get(), buffer, sizeof buffer);
        if (letti < 0) {
            if (errno == EINTR) continue;
            errore("Impossibile leggere il file dei dati", file, errno);
        }
        if (letti == 0) break;
        byte.append(buffer, static_cast<std::size_t>(letti));
    }
    byte.resize(byte.size() / LUNGHEZZA_RECORD * LUNGHEZZA_RECORD);
    return byte;
}

std::string_view campo(std::string_view byte, std::size_t record, std::size_t n) {
    return byte.substr(record * LUNGHEZZA_RECORD + n * LUNGHEZZA_CAMPO, LUNGHEZZA_CAMPO);
}

std::string chiave_confronto(std::string_view chiave) {
    return maiuscolo(togli_spazi(chiave.substr(0, LUNGHEZZA_CAMPO)));
}

void metti_campo(std::string& byte, std::size_t posizione, std::string_view testo) {
    const std::string_view tagliato = testo.substr(0, LUNGHEZZA_CAMPO);
    byte.replace(posizione, tagliato.size(), tagliato);
    std::fill(byte.begin() + static_cast<std::ptrdiff_t>(posizione + tagliato.size()),
              byte.begin() + static_cast<std::ptrdiff_t>(posizione + LUNGHEZZA_CAMPO), ' ');
}

void scrivi_tutto(int fd, const std::string& byte, const fs::path& file) {
    std::size_t fatto = 0;
    while (fatto < byte.size()) {
        const ssize_t scritti = ::write(fd, byte.data() + fatto, byte.size() - fatto);
        if (scritti < 0) {
            if (errno == EINTR) continue;
            errore("Impossibile scrivere il file dei dati", file, errno);
        }
        fatto += static_cast<std::size_t>(scritti);
    }
}

// Writes the new contents beside the data file and renames them over it.
void sostituisci(const fs::path& file, const std::string& byte) {
    const fs::path cartella = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::string modello = (cartella / ("." + file.filename().string() + ".XXXXXX")).string();
    Descrittore fd(::mkstemp(modello.data()));
    if (fd.get() < 0) errore("Impossibile creare il file temporaneo dei dati in", cartella, errno);
    const fs::path temporaneo = modello;
    try {
        struct stat st {};
        // Personal data (tax codes, bank details): a new file is its owner's
        // alone; a rewrite keeps the mode the file was given.
        const mode_t modo = ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0600;
        ::fchmod(fd.get(), modo);
        scrivi_tutto(fd.get(), byte, file);
        if (::fsync(fd.get()) != 0) errore("Impossibile scrivere il file dei dati", file, errno);
        if (::close(fd.rilascia()) != 0) errore("Impossibile scrivere il file dei dati", file, errno);
        if (guasto_simulato.load())
            throw ErroreDati("Impossibile sostituire il file dei dati \"" + file.string() +
                             "\": interruzione simulata.");
        if (::rename(temporaneo.c_str(), file.c_str()) != 0)
            errore("Impossibile sostituire il file dei dati", file, errno);
    } catch (...) {
        ::unlink(temporaneo.c_str());
        throw;
    }
    // Makes the rename itself durable; a failure here loses nothing already
    // written, so it is not reported.
    Descrittore dir(::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

std::vector<record_dati> leggi_record(const fs::path& file) {
    const std::string byte = leggi_byte(file);
    const std::size_t n = byte.size() / LUNGHEZZA_RECORD;
    std::vector<record_dati> record;
    record.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        record.push_back({togli_spazi(campo(byte, i, 0)), togli_spazi(campo(byte, i, 1))});
    return record;
}

std::optional<std::string> leggi_dato(const fs::path& file, std::string_view chiave) {
    const std::string cercata = chiave_confronto(chiave);
    const std::string byte = leggi_byte(file);
    const std::size_t n = byte.size() / LUNGHEZZA_RECORD;
    for (std::size_t i = 0; i < n; ++i)
        if (chiave_confronto(campo(byte, i, 0)) == cercata) return togli_spazi(campo(byte, i, 1));
    return std::nullopt;
}

std::map<std::string, std::string> leggi_archivio(const fs::path& file) {
    std::map<std::string, std::string> archivio;
    const std::string byte = leggi_byte(file);
    const std::size_t n = byte.size() / LUNGHEZZA_RECORD;
    for (std::size_t i = 0; i < n; ++i)
        archivio[chiave_confronto(campo(byte, i, 0))] = togli_spazi(campo(byte, i, 1));
    return archivio;
}

void scrivi_dati(const fs::path& file, const std::vector<std::pair<std::string, std::string>>& coppie) {
    std::string byte = leggi_byte(file);
    for (const auto& [chiave, valore] : coppie) {
        const std::string cercata = chiave_confronto(chiave);
        bool trovata = false;
        const std::size_t n = byte.size() / LUNGHEZZA_RECORD;
        for (std::size_t i = 0; i < n; ++i) {
            if (chiave_confronto(campo(byte, i, 0)) != cercata) continue;
            metti_campo(byte, i * LUNGHEZZA_RECORD, chiave);
            metti_campo(byte, i * LUNGHEZZA_RECORD + LUNGHEZZA_CAMPO, valore);
            trovata = true;
        }
        if (!trovata) {
            const std::size_t inizio = byte.size();
            byte.resize(inizio + LUNGHEZZA_RECORD);
            metti_campo(byte, inizio, chiave);
            metti_campo(byte, inizio + LUNGHEZZA_CAMPO, valore);
        }
    }
    sostituisci(file, byte);
}

std::optional<std::string> leggi_dato(std::string_view chiave) { return leggi_dato(file_dati(), chiave); }

void scrivi_dato(std::string_view chiave, std::string_view valore) {
    scrivi_dati(file_dati(), {{std::string(chiave), std::string(valore)}});
}

void scrivi_dati(const std::vector<std::pair<std::string, std::string>>& coppie) {
    scrivi_dati(file_dati(), coppie);
}

std::map<std::string, std::string> leggi_archivio() { return leggi_archivio(file_dati()); }

std::vector<record_dati> leggi_record() { return leggi_record(file_dati()); }

bool avanzo_di_scrittura(std::string_view nome, std::string_view nome_file) {
    // mkstemp's pattern: "." + the file's name + "." + six letters or digits.
    if (nome.size() != nome_file.size() + 8 || nome[0] != '.' || nome.substr(1, nome_file.size()) != nome_file ||
        nome[nome_file.size() + 1] != '.')
        return false;
    for (char c : nome.substr(nome_file.size() + 2))
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

int rimuovi_avanzi(const fs::path& file) {
    const fs::path cartella = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string nome_file = file.filename().string();
    int rimossi = 0;
    std::error_code ec;
    fs::directory_iterator it(cartella, ec);
    if (ec) return 0;
    for (const fs::directory_iterator fine; it != fine; it.increment(ec)) {
        if (ec) break;
        if (!avanzo_di_scrittura(it->path().filename().string(), nome_file)) continue;
        // Only plain files of ours: never a link, nor another user's file.
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        if (::unlink(it->path().c_str()) == 0) ++rimossi;
    }
    return rimossi;
}

void simula_guasto_prima_della_rinomina(bool attivo) { guasto_simulato.store(attivo); }
