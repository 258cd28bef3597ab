#include "common/date.h"

std::string data_per_archivio(std::string_view) { return "000000"; }
int controlla_data(std::string_view) { return 1; }
std::string data_da_archivio(std::string_view) { return {}; }
bool data_ammessa(std::string_view) { return false; }
bool anno_bisestile(int anno) { return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0; }
