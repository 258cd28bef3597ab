#include "shell/generazione.h"

#include <algorithm>
#include <string>
#include <system_error>

#include <unistd.h>

#include "common/cartelle.h"
#include "common/cp1252.h"
#include "common/dati.h"
#include "common/errori_sistema.h"
#include "common/messaggi.h"

#if __has_include("builders/contratto_comproprietari.h")
#include "builders/contratto_comproprietari.h"
#define CONTRATTO_HA_COMPROPRIETARI 1
#endif

namespace fs = std::filesystem;

namespace {

void avvisa(const std::string& utf8) { mostra_avviso(utf8_per_messaggio(utf8)); }

// The system's reason in Italian, with what the user can do.
std::string perche(const std::error_code& ec) { return descrizione_errore(ec.value()); }

// A folder name beside the target that no earlier run left behind.
fs::path cartella_accanto(const fs::path& cartella, const std::string& suffisso) {
    const std::string base = "." + std::string(CARTELLA_USCITA) + "." + suffisso + "-" + std::to_string(::getpid());
    fs::path candidata = cartella / base;
    for (int n = 1; fs::exists(fs::symlink_status(candidata)); ++n)
        candidata = cartella / (base + "-" + std::to_string(n));
    return candidata;
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

std::optional<std::string> valore_attuale(std::string_view chiave) {
    const auto archivio = leggi_archivio();
    const auto trovato = archivio.find(std::string(chiave));
    if (trovato == archivio.end()) return std::nullopt;
    return trovato->second;
}

}  // namespace

CostruttoreContratto costruttore_per_tipo(TipoRichiedente tipo) {
    switch (tipo) {
        case TipoRichiedente::Comproprietario:
#ifdef CONTRATTO_HA_COMPROPRIETARI
            return [](const fs::path& file, bool apri) { return genera_contratto_comproprietari(file, apri); };
#else
            break;
#endif
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

    // 3. The program's data file: the contract is closed from now on. The old
    //    value is kept to undo the mark should the folder swap fail.
    const auto prima = valore_attuale("CONTRATTO_CHIUSO");
    scrivi_dato("CONTRATTO_CHIUSO", "S");

    // 4. The new folder takes the place of the old one.
    fs::path vecchia;
    if (fs::exists(fs::symlink_status(destinazione, ec))) {
        vecchia = cartella_accanto(cartella_scelta, "vecchia");
        fs::rename(destinazione, vecchia, ec);
        if (ec) {
            scrivi_dato("CONTRATTO_CHIUSO", prima.value_or(""));
            avvisa("Impossibile sostituire la cartella " + destinazione.string() + ": " + perche(ec));
            return false;
        }
    }
    fs::rename(nuova, destinazione, ec);
    if (ec) {
        const std::string causa = perche(ec);
        if (!vecchia.empty()) fs::rename(vecchia, destinazione, ec);
        scrivi_dato("CONTRATTO_CHIUSO", prima.value_or(""));
        avvisa("Impossibile creare la cartella " + destinazione.string() + ": " + causa);
        return false;
    }
    provvisoria.conserva();
    if (!vecchia.empty()) fs::remove_all(vecchia, ec);

    // 5. The draft is out of date now; failing to delete it is no reason to
    //    undo a finished contract.
    fs::remove(trova_file(cartella_dati(), NOME_BOZZA), ec);
    return true;
}
