// Loading the sign form's entries from the data store and saving them back,
// without the form: the form hands over and takes a ModelloCartellone.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sign/chiavi_cartellone.h"

inline constexpr std::string_view SEGNAPOSTO_DATA_CARTELLONE = "gg/mm/aaaa";

// What the form shows: the thirteen boxes (Windows-1252) and the chosen area
// (an index of TIPI_CENTRO, -1 for none).
struct ModelloCartellone {
    std::array<std::string, NUMERO_CASELLE_CARTELLONE> testi;
    int tipo_centro = -1;
};

// The form's entries from the store's map: each box its stored value or its
// fallback, the dates as day/month/year or the placeholder when there is no
// date ("", "0" or "000000"), the stored area or none.
ModelloCartellone modello_cartellone(const std::map<std::string, std::string>& archivio);

// The whole load: reads the store and fills the model; when no valid area is
// stored the first one is chosen and "CSU" is stored at once, so a store
// always holds an area once the form has been opened. Failures of the store
// are told to the user (mostra_avviso) and give nullopt.
std::optional<ModelloCartellone> carica_cartellonistica();

// A date a save refuses: the box to correct and the message (Windows-1252).
struct DataRifiutata {
    int casella;
    std::string messaggio;
};

// The checks of a save in their order: nullopt when the dates may be saved.
// A date box may be empty or show the placeholder (no date); otherwise it
// must hold a real calendar date, and the end may not come before the start.
std::optional<DataRifiutata> controlla_cartellone(const ModelloCartellone& m);

// The pairs a save writes, in key order, given what the store holds now.
// A box equal to its fallback (compared trimmed and upper-cased) or empty is
// not written, unless its key is stored already: it is then written empty,
// so the fallback shows again. Dates are stored as eight digits, "0" for
// none. Call only after controlla_cartellone passed.
std::vector<std::pair<std::string, std::string>> coppie_cartellone(
    const ModelloCartellone& m, const std::map<std::string, std::string>& archivio);

// The whole save after the user confirmed it: the checks (a failure shows
// its message and writes nothing), then one atomic rewrite of the store in
// which every record of a written key gets the new value. A failure of the
// store is shown to the user. True when saved; when a date was refused and
// `errata` is given, it receives the box to correct.
bool salva_cartellone(const ModelloCartellone& m, int* errata = nullptr);
