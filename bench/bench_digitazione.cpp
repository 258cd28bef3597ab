// Typing into the contract form with a full contract loaded: the company
// name is repeated three times on the page, so each key changes the page's
// wording. A key counts from its press until every posted event (layout,
// repaint) has been handled, that is until the page has settled. The
// figures are the median and the 99th percentile over several hundred keys,
// as counters in milliseconds; opening the form and saving are timed too.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include "common/cartelle.h"
#include "common/dati.h"
#include "common/messaggi.h"
#include "contract_forms/modulo_contratto.h"
#include "dati_pieni.h"
#include "ui/casella_testo.h"
#include "ui/messaggi_ui.h"

namespace fs = std::filesystem;

namespace {

using Orologio = std::chrono::steady_clock;

class Cartella {
public:
    Cartella() : percorso_(fs::temp_directory_path() / ("bench-digitazione-" + std::to_string(::getpid()))) {
        fs::create_directories(percorso_);
        imposta_cartelle(percorso_, percorso_);
        auto dati = bench::dati_pieni();
        dati.emplace_back("TIPO_RICHIEDENTE", "Comproprietario");
        scrivi_dati(dati);
    }
    ~Cartella() {
        imposta_cartelle({}, {});
        std::error_code ignorato;
        fs::remove_all(percorso_, ignorato);
    }

private:
    fs::path percorso_;
};

// The form as the start menu opens it, on a 1366 x 768 desktop.
std::unique_ptr<ModuloContratto> apri() {
    auto modulo = std::make_unique<ModuloContratto>(TipoContratto::Comproprietario, [] {});
    modulo->carica();
    modulo->resize(1300, 700);
    modulo->show();
    QApplication::processEvents();
    return modulo;
}

// Events posted while others are handled (a sentence's new height asks the
// page for a layout, the layout for a repaint) wait for the next round.
void assesta() {
    for (int giro = 0; giro < 2; ++giro) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

double millisecondi(Orologio::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// This thread's processor time: on a shared machine the wall clock also
// counts the time other programs held the processor.
double millisecondi_cpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Tempi {
    std::vector<double> parete;
    std::vector<double> cpu;

    template <typename Tasto>
    void misura(Tasto tasto) {
        const auto inizio = Orologio::now();
        const double inizio_cpu = millisecondi_cpu();
        tasto();
        assesta();
        parete.push_back(millisecondi(Orologio::now() - inizio));
        cpu.push_back(millisecondi_cpu() - inizio_cpu);
    }
};

void riporta(benchmark::State& stato, const std::string& nome, std::vector<double> tempi) {
    if (tempi.empty()) return;
    std::sort(tempi.begin(), tempi.end());
    const auto quantile = [&](double q) {
        return tempi[std::min(tempi.size() - 1, static_cast<std::size_t>(q * static_cast<double>(tempi.size())))];
    };
    stato.counters[nome + "_mediana_ms"] = quantile(0.5);
    stato.counters[nome + "_p99_ms"] = quantile(0.99);
    stato.counters[nome + "_max_ms"] = tempi.back();
}

// Types a long company name and deletes it again, key by key.
void BM_DigitazioneRagioneSociale(benchmark::State& stato) {
    Cartella cartella;
    auto modulo = apri();
    CasellaTesto* casella = modulo->casella(16);
    casella->setFocus();
    casella->selectAll();
    QTest::keyClick(casella, Qt::Key_Delete);
    assesta();
    const std::string nome = "Consorzio Stabile Costruzioni Generali e Restauri del Centro Antico S.c.a r.l.";
    Tempi tempi;
    for (auto _ : stato) {
        for (int giro = 0; giro < 4; ++giro) {
            for (const char c : nome) tempi.misura([&] { QTest::keyClick(casella, c); });
            for (std::size_t i = 0; i < nome.size(); ++i)
                tempi.misura([&] { QTest::keyClick(casella, Qt::Key_Backspace); });
        }
    }
    stato.counters["tasti"] = static_cast<double>(tempi.parete.size());
    riporta(stato, "parete", std::move(tempi.parete));
    riporta(stato, "cpu", std::move(tempi.cpu));
}

void BM_AperturaModulo(benchmark::State& stato) {
    Cartella cartella;
    for (auto _ : stato) {
        auto modulo = apri();
        benchmark::DoNotOptimize(modulo.get());
    }
}

void BM_Salvataggio(benchmark::State& stato) {
    Cartella cartella;
    auto modulo = apri();
    for (auto _ : stato) {
        if (!modulo->salva()) stato.SkipWithError("the contract was not saved");
    }
}

BENCHMARK(BM_DigitazioneRagioneSociale)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_AperturaModulo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Salvataggio)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installa_gestore_messaggi();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
