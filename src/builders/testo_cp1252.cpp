#include "builders/testo_cp1252.h"

#include <stdexcept>

#include "common/cp1252.h"

namespace testi {

std::string cp1252(std::string_view testo_utf8) {
    auto convertito = utf8_a_cp1252(testo_utf8);
    if (!convertito)
        throw std::logic_error("wording outside Windows-1252: " + std::string(testo_utf8.substr(0, 60)));
    return std::move(*convertito);
}

}  // namespace testi
