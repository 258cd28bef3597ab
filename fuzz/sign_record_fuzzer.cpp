// The sign form's load and save on any data file: the rules never crash, and
// a form saved right after it was loaded loads again showing the same entries
// (up to case and outer blanks, which the fallback comparison ignores).
#include <cstddef>
#include <cstdint>

#include "common/cp1252.h"
#include "common/dati.h"
#include "input_file.h"
#include "sign/record_cartellone.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzz_input_file("cartellone_fuzz", data, size);
    try {
        const auto archivio = leggi_archivio(file);
        const ModelloCartellone caricato = modello_cartellone(archivio);
        if (controlla_cartellone(caricato)) return 0;  // a stored date the save refuses
        const auto coppie = coppie_cartellone(caricato, archivio);
        if (coppie.size() > 14) __builtin_trap();
        scrivi_dati(file, coppie);
        const ModelloCartellone riletto = modello_cartellone(leggi_archivio(file));
        if (riletto.tipo_centro != caricato.tipo_centro) __builtin_trap();
        for (std::size_t i = 0; i < caricato.testi.size(); ++i)
            if (maiuscolo(togli_spazi(riletto.testi[i])) != maiuscolo(togli_spazi(caricato.testi[i])))
                __builtin_trap();
    } catch (const ErroreDati&) {
    }
    return 0;
}
