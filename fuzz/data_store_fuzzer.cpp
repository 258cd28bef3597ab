// The data file is the one file every user edits by hand sooner or later:
// any bytes must read as records or as an ErroreDati, never crash.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "common/dati.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("dati_fuzz_" + std::to_string(::getpid()) + ".dat");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        auto records = leggi_record(file);
        auto archive = leggi_archivio(file);
        if (!records.empty()) (void)leggi_dato(file, records.front().chiave);
        if (archive.size() > records.size()) __builtin_trap();
    } catch (const ErroreDati&) {
    }
    return 0;
}
