#include "pdf/core/write_failure.h"

#include "common/cp1252.h"
#include "common/errori_sistema.h"

namespace pdf {

std::string write_failure(int error) {
    return "Errore di scrittura del file: " + utf8_per_messaggio(descrizione_errore(error));
}

}  // namespace pdf
