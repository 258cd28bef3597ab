// Damaged data files for the robustness tests of the data file's readers:
// a sound file (pairs already in Windows-1252) with a few seeded faults, the
// same bytes for the same seed on every machine (raw mt19937 output only).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/tools.h"

namespace testsupport {

inline std::string file_dati_guasto(const std::vector<std::pair<std::string, std::string>>& coppie,
                                    std::uint32_t seme) {
    constexpr std::size_t LUNGHEZZA = 255;  // one field of a record
    std::mt19937 caso(seme);
    auto fino = [&](std::size_t n) { return static_cast<std::size_t>(caso() % n); };
    static const char* const valori[] = {"-", ",", ".", "1e308", "99999999999999999999", "31/02/2020",
                                         "00000000", "S", "s", "N", " ", "0", ""};
    auto byte_strano = [&]() -> char {
        static const unsigned char scelti[] = {0x00, 0x0D, 0x0A, 0x7F, 0x80, 0x81, 0x9F, 0xA0, 0xFF};
        return static_cast<char>(fino(2) ? scelti[fino(sizeof scelti)] : 0x80 + fino(0x80));
    };
    std::vector<std::string> record;
    for (const auto& [chiave, valore] : coppie) record.push_back(data_record(chiave, valore));
    auto valore_di = [&](std::string& r, const std::string& v) {
        r = r.substr(0, LUNGHEZZA) + data_record("", v).substr(LUNGHEZZA);
    };
    const std::size_t guasti = 1 + fino(12);
    for (std::size_t g = 0; g < guasti; ++g) {
        std::string& r = record[fino(record.size())];
        switch (fino(6)) {
        case 0:  // flipped bytes, in the key or the value
            for (std::size_t k = 1 + fino(4); k > 0; --k) {
                const std::size_t i = fino(2) ? fino(LUNGHEZZA) : LUNGHEZZA + fino(LUNGHEZZA);
                if (i < r.size()) r[i] = byte_strano();
            }
            break;
        case 1: valore_di(r, std::string(LUNGHEZZA, byte_strano())); break;
        case 2: valore_di(r, valori[fino(std::size(valori))]); break;
        case 3: r.resize(fino(r.size())); break;  // a record cut short: the rest of the file shifts
        default: {  // the key again, in mixed case, later in the file
            std::string copia = r;
            for (std::size_t i = 0; i < LUNGHEZZA && i < copia.size(); ++i)
                if (copia[i] >= 'A' && copia[i] <= 'Z' && fino(2)) copia[i] = static_cast<char>(copia[i] + 32);
            if (fino(2)) valore_di(copia, valori[fino(std::size(valori))]);
            record.insert(record.begin() + static_cast<std::ptrdiff_t>(fino(record.size() + 1)), copia);
        }
        }
    }
    std::string byte;
    for (const auto& r : record) byte += r;
    if (fino(3) == 0) byte.resize(fino(byte.size() + 1));  // cut anywhere, even inside a record
    return byte;
}

}  // namespace testsupport
