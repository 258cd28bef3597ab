#include "common/numeri.h"

std::optional<double> valore_numerico(std::string_view) { return std::nullopt; }
std::string formatta_numero(std::string&, int, std::string_view, std::string_view) { return "0,00"; }
std::string importo_in_lettere(std::string_view) { return {}; }
std::string numero_in_lettere(std::string_view) { return {}; }
