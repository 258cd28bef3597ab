// Writes the site sign's six pictures, at their full size, into the folder
// given as the only argument (the build passes the executable's folder).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "gif89a.h"
#include "sign/disegno_cartellone.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s CARTELLA\n", argv[0]);
        return 2;
    }
    const std::filesystem::path cartella = argv[1];
    try {
        std::filesystem::create_directories(cartella);
        for (const FiguraCartellone f : FIGURE_CARTELLONE) {
            const auto file = cartella / std::string(nome_figura(f));
            const std::string byte =
                codifica_gif89a(disegna_figura(f, larghezza_figura(f), altezza_figura(f)));
            std::ofstream uscita(file, std::ios::binary | std::ios::trunc);
            uscita.write(byte.data(), static_cast<std::streamsize>(byte.size()));
            uscita.close();
            if (!uscita) {
                std::fprintf(stderr, "impossibile scrivere %s\n", file.string().c_str());
                return 1;
            }
        }
    } catch (const std::exception& errore) {
        std::fprintf(stderr, "%s\n", errore.what());
        return 1;
    }
    return 0;
}
