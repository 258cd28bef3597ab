// The data file is the one file every user edits by hand sooner or later:
// any bytes must read as records or as an ErroreDati, never crash.
#include <cstddef>
#include <cstdint>

#include "common/dati.h"
#include "input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzz_input_file("dati_fuzz", data, size);
    try {
        auto records = leggi_record(file);
        auto archive = leggi_archivio(file);
        if (!records.empty()) (void)leggi_dato(file, records.front().chiave);
        if (archive.size() > records.size()) __builtin_trap();
    } catch (const ErroreDati&) {
    }
    return 0;
}
