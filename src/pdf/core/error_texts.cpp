#include "pdf/core/error_texts.h"

namespace pdf {

std::string error_text(int number) {
    switch (number) {
        case 5: return "Chiamata di routine o argomento non validi";
        case 6: return "Overflow";
        case 7: return "Memoria esaurita";
        case 9: return "Indice non compreso nell'intervallo";
        case 11: return "Divisione per zero";
        case 13: return "Tipo non corrispondente";
        case 52: return "Nome o numero di file non valido";
        case 53: return "File non trovato";
        case 55: return "File gi\xE0 aperto";
        case 57: return "Errore di I/O della periferica";
        case 62: return "Input oltre la fine del file";
        case 321: return "Formato di file non valido";
        case 445: return "Azione non supportata dall'oggetto";
        default: return "Errore " + std::to_string(number);
    }
}

}  // namespace pdf
