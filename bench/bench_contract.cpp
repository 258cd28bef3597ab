// Building the co-owners contract from a full data file: the draft must
// appear at once when the user asks for it.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "builders/contratto_comproprietari.h"
#include "common/cartelle.h"
#include "common/dati.h"
#include "common/messaggi.h"
#include "dati_pieni.h"

namespace fs = std::filesystem;

namespace {

class Cartella {
public:
    Cartella() : percorso_(fs::temp_directory_path() / ("bench-contratto-" + std::to_string(::getpid()))) {
        fs::create_directories(percorso_);
        imposta_cartelle(percorso_, percorso_);
        scrivi_dati(bench::dati_pieni());
    }
    ~Cartella() {
        imposta_cartelle({}, {});
        std::error_code ignorato;
        fs::remove_all(percorso_, ignorato);
    }
    const fs::path& percorso() const { return percorso_; }

private:
    fs::path percorso_;
};

void genera(benchmark::State& stato, const char* nome) {
    Cartella cartella;
    imposta_gestore_messaggi([&](TipoMessaggio, const std::string& testo) { stato.SkipWithError(testo.c_str()); });
    const fs::path file = cartella.percorso() / nome;
    for (auto _ : stato) {
        if (!genera_contratto_comproprietari(file, false)) stato.SkipWithError("the contract was not written");
    }
    stato.counters["bytes"] = static_cast<double>(fs::exists(file) ? fs::file_size(file) : 0);
    imposta_gestore_messaggi({});
}

void BM_ContrattoCompletoBozza(benchmark::State& stato) { genera(stato, "bozza.pdf"); }
void BM_ContrattoCompletoFinale(benchmark::State& stato) { genera(stato, "contratto.pdf"); }

BENCHMARK(BM_ContrattoCompletoBozza)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContrattoCompletoFinale)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
