#include "shell/generazione.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <optional>
#include <string>
#include <system_error>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

#include "common/cartelle.h"
#include "common/cp1252.h"
#include "common/dati.h"
#include "common/errori_sistema.h"
#include "common/messaggi.h"

#include "builders/contratto_comproprietari.h"

namespace fs = std::filesystem;

namespace {

void avvisa(const std::string& utf8) { mostra_avviso(utf8_per_messaggio(utf8)); }

// The system's reason in Italian, with what the user can do.
std::string perche(const std::error_code& ec) { return descrizione_errore(ec.value()); }

// The hidden folders a generation makes beside its target:
// "." + the output folder's name + "." + kind + "-" + pid, then "-" + n when
// that name was taken.
std::string prefisso_accanto(std::string_view tipo) {
    return "." + std::string(CARTELLA_USCITA) + "." + std::string(tipo) + "-";
}

// A folder name beside the target that no earlier run left behind.
fs::path cartella_accanto(const fs::path& cartella, const std::string& suffisso) {
    const std::string base = prefisso_accanto(suffisso) + std::to_string(::getpid());
    fs::path candidata = cartella / base;
    for (int n = 1; fs::exists(fs::symlink_status(candidata)); ++n)
        candidata = cartella / (base + "-" + std::to_string(n));
    return candidata;
}

// The pid in `nome` when it is the name of a hidden folder of kind `tipo`.
std::optional<pid_t> pid_accanto(std::string_view nome, std::string_view tipo) {
    const std::string prefisso = prefisso_accanto(tipo);
    if (nome.substr(0, prefisso.size()) != prefisso) return std::nullopt;
    nome.remove_prefix(prefisso.size());
    const auto numero = [](std::string_view testo) {
        return !testo.empty() && std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    const std::string_view pid = nome.substr(0, nome.find('-'));
    if (!numero(pid)) return std::nullopt;
    if (pid.size() < nome.size() && !numero(nome.substr(pid.size() + 1))) return std::nullopt;
    pid_t valore = 0;
    const auto [fine, errore] = std::from_chars(pid.data(), pid.data() + pid.size(), valore);
    if (errore != std::errc() || valore <= 0) return std::nullopt;
    return valore;
}

// A real folder of this user left by a process that no longer runs here.
bool abbandonata(const fs::path& cartella, pid_t pid, struct stat& st) {
    if (::lstat(cartella.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

std::function<void(PassoGenerazione)>& osservatore_passi() {
    static std::function<void(PassoGenerazione)> osservatore;
    return osservatore;
}

void passo(PassoGenerazione p) {
    if (osservatore_passi()) osservatore_passi()(p);
}

// Removes the folder when the generation does not complete.
class CartellaProvvisoria {
public:
    explicit CartellaProvvisoria(fs::path percorso) : percorso_(std::move(percorso)) {}
    ~CartellaProvvisoria() {
        if (!percorso_.empty()) {
            std::error_code ec;
            fs::remove_all(percorso_, ec);
        }
    }
    CartellaProvvisoria(const CartellaProvvisoria&) = delete;
    CartellaProvvisoria& operator=(const CartellaProvvisoria&) = delete;
    void conserva() { percorso_.clear(); }

private:
    fs::path percorso_;
};

}  // namespace

CostruttoreContratto costruttore_per_tipo(TipoRichiedente tipo) {
    switch (tipo) {
        case TipoRichiedente::Comproprietario:
            return [](const fs::path& file, bool apri) { return genera_contratto_comproprietari(file, apri); };
        case TipoRichiedente::Proprietario:
            // Its form works but it has no document yet: no builder, so the
            // menu says so before the folder chooser opens.
            break;
        case TipoRichiedente::Amministratore:
        case TipoRichiedente::Nessuno:
            break;
    }
    return {};
}

std::vector<std::string> file_estranei(const fs::path& cartella_scelta) {
    const fs::path destinazione = cartella_scelta / CARTELLA_USCITA;
    std::error_code ec;
    const auto stato = fs::symlink_status(destinazione, ec);
    if (!fs::exists(stato)) return {};
    if (!fs::is_directory(stato)) return {CARTELLA_USCITA};
    std::vector<std::string> estranei;
    fs::directory_iterator it(destinazione, ec);
    if (ec) return {CARTELLA_USCITA};
    for (const fs::directory_iterator fine; it != fine; it.increment(ec)) {
        if (ec) return {CARTELLA_USCITA};
        const std::string nome = it->path().filename().string();
        const bool nostro = (nome == "contratto.pdf" || nome == NOME_FILE_DATI) &&
                            fs::is_regular_file(it->symlink_status(ec));
        if (!nostro) estranei.push_back(nome);
    }
    std::sort(estranei.begin(), estranei.end());
    return estranei;
}

void ripristina_generazione_interrotta(const fs::path& cartella_scelta) {
    std::vector<fs::path> nuove;
    std::vector<std::pair<fs::path, struct timespec>> vecchie;
    std::error_code ec;
    fs::directory_iterator it(cartella_scelta, ec);
    if (ec) return;
    for (const fs::directory_iterator fine; it != fine; it.increment(ec)) {
        if (ec) return;
        const std::string nome = it->path().filename().string();
        struct stat st {};
        if (const auto pid = pid_accanto(nome, "nuova"); pid && abbandonata(it->path(), *pid, st))
            nuove.push_back(it->path());
        else if (const auto pid_v = pid_accanto(nome, "vecchia"); pid_v && abbandonata(it->path(), *pid_v, st))
            vecchie.emplace_back(it->path(), st.st_mtim);
    }
    const fs::path destinazione = cartella_scelta / CARTELLA_USCITA;
    if (!fs::exists(fs::symlink_status(destinazione, ec)) && !vecchie.empty()) {
        // The output most recently written is the previous contract.
        const auto piu_recente = std::max_element(vecchie.begin(), vecchie.end(), [](const auto& a, const auto& b) {
            return std::tie(a.second.tv_sec, a.second.tv_nsec, a.first) <
                   std::tie(b.second.tv_sec, b.second.tv_nsec, b.first);
        });
        fs::rename(piu_recente->first, destinazione, ec);
        if (!ec) vecchie.erase(piu_recente);
    }
    for (const auto& cartella : nuove) fs::remove_all(cartella, ec);
    // An earlier output is removed only once one is in place: should it not
    // have got its name back, it stays rather than be lost.
    if (!fs::exists(fs::symlink_status(destinazione, ec))) return;
    for (const auto& [cartella, data] : vecchie) fs::remove_all(cartella, ec);
}

void osserva_passi_generazione(std::function<void(PassoGenerazione)> osservatore) {
    osservatore_passi() = std::move(osservatore);
}

bool genera_contratto_finale(const fs::path& cartella_scelta, const CostruttoreContratto& costruttore) {
    if (!costruttore) {
        avvisa("Il documento per questo tipo di richiedente non è disponibile.");
        return false;
    }
    std::error_code ec;
    if (!fs::is_directory(cartella_scelta, ec)) {
        avvisa("La cartella " + cartella_scelta.string() + " non esiste.");
        return false;
    }
    const fs::path destinazione = cartella_scelta / CARTELLA_USCITA;
    const fs::path nuova = cartella_accanto(cartella_scelta, "nuova");
    if (!fs::create_directory(nuova, ec)) {
        avvisa("Impossibile creare una cartella in " + cartella_scelta.string() + ": " + perche(ec));
        return false;
    }
    CartellaProvvisoria provvisoria(nuova);

    // 1. The document. A builder that fails has told the user why, naming
    //    the folder the user chose rather than the hidden one it writes in.
    const fs::path pdf = nuova / "contratto.pdf";
    {
        const SostituzioneNeiMessaggi nome_scelto(utf8_per_messaggio(nuova.string()),
                                                  utf8_per_messaggio(destinazione.string()));
        if (!costruttore(pdf, false)) return false;
    }
    if (!fs::is_regular_file(pdf, ec) || fs::file_size(pdf, ec) == 0) {
        avvisa("Il file contratto.pdf non è stato scritto.");
        return false;
    }

    // 2. The copy of the data file, marked closed as the program's own will be.
    const fs::path dati = file_dati();
    const fs::path copia = nuova / "dati2.dat";
    if (!fs::copy_file(dati, copia, fs::copy_options::overwrite_existing, ec)) {
        avvisa("Impossibile copiare " + dati.string() + " in " + destinazione.string() + ": " + perche(ec));
        return false;
    }
    scrivi_dati(copia, {{"CONTRATTO_CHIUSO", "S"}});

    // 3. The new folder takes the place of the old one. The contract is
    //    still open: a crash from here to the mark leaves the previous
    //    output in its place or moved aside, where the next generation finds
    //    it, and the user simply generates again.
    fs::path vecchia;
    passo(PassoGenerazione::SpostaVecchia);
    if (fs::exists(fs::symlink_status(destinazione, ec))) {
        vecchia = cartella_accanto(cartella_scelta, "vecchia");
        fs::rename(destinazione, vecchia, ec);
        if (ec) {
            avvisa("Impossibile sostituire la cartella " + destinazione.string() + ": " + perche(ec));
            return false;
        }
    }
    const auto rimetti_vecchia = [&] {
        std::error_code ignorato;
        if (!vecchia.empty()) fs::rename(vecchia, destinazione, ignorato);
    };
    passo(PassoGenerazione::DaiIlNome);
    fs::rename(nuova, destinazione, ec);
    if (ec) {
        const std::string causa = perche(ec);
        rimetti_vecchia();
        avvisa("Impossibile creare la cartella " + destinazione.string() + ": " + causa);
        return false;
    }

    // 4. Only now is the contract closed. A data file that cannot take the
    //    mark undoes the swap, and its error tells the user why.
    passo(PassoGenerazione::SegnaChiuso);
    try {
        scrivi_dato("CONTRATTO_CHIUSO", "S");
    } catch (...) {
        std::error_code ignorato;
        fs::rename(destinazione, nuova, ignorato);
        rimetti_vecchia();
        throw;
    }
    provvisoria.conserva();
    if (!vecchia.empty()) fs::remove_all(vecchia, ec);

    // 5. The draft is out of date now; failing to delete it is no reason to
    //    undo a finished contract.
    fs::remove(trova_file(cartella_dati(), NOME_BOZZA), ec);
    return true;
}
