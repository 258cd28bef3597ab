#include "common/filtri.h"

bool tasto_di_modifica(int tasto) { return tasto > 0 && tasto < 32; }
int filtro_lettere(std::string_view, int, int, int tasto) { return tasto; }
int filtro_alfanumerico(std::string_view, int, int, int tasto) { return tasto; }
int filtro_cifre(std::string_view, int, int, int tasto) { return tasto; }
int filtro_decimale(std::string_view, int, int, int tasto, int) { return tasto; }
int filtro_ora(std::string_view, int, int, int tasto) { return tasto; }
int filtro_telefono(std::string_view, int, int, int tasto) { return tasto; }
int filtro_numerico(std::string_view, int, int, int tasto) { return tasto; }
int filtro_data(std::string&, int&, int&, int tasto) { return tasto; }
int filtra_tasto(std::string_view, std::string&, int&, int&, int tasto) { return tasto; }
bool testo_ammesso(std::string_view, std::string_view) { return true; }
