// Loading a contract from the data store into the form's inputs, and saving
// the inputs back, for the sole-owner and the co-owners forms (they share
// every key; only the kind of client written under TIPO_RICHIEDENTE differs).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "contract_record/modello_contratto.h"

inline constexpr std::string_view TIPO_PROPRIETARIO = "Proprietario";
inline constexpr std::string_view TIPO_COMPROPRIETARIO = "Comproprietario";

// Fills the form from the stored records (keys already trimmed and upper-
// cased, values trimmed; the last record of a key decides), then shows the
// default advance percentage. Does not touch the store.
void applica_archivio(ModelloContratto& m, const std::map<std::string, std::string>& archivio);

// The whole load: reads the store, fills the form, records the kind of
// client in the store and marks the form not modified. When the store cannot
// be read or written the user is told why (mostra_avviso) and false is
// returned; the form is then not to be shown.
bool carica_contratto(ModelloContratto& m, std::string_view tipo);

// The checks of a save, in their order: nullopt when the form may be saved,
// else the message of the first failure.
// `casella_errata`, when given, receives the index of the box the message is
// about.
std::optional<std::string> controlla_contratto(const ModelloContratto& m, int* casella_errata = nullptr);

// The 156 pairs a save writes, in their order. Call only after
// controlla_contratto passed.
std::vector<std::pair<std::string, std::string>> coppie_contratto(const ModelloContratto& m,
                                                                  std::string_view tipo);

// The whole save: the checks (a failure shows its message and changes
// nothing), then every pair written to the store in one atomic batch, then
// the form marked not modified. A failure of the store is shown to the user
// and leaves both the file and the flag as they were. True when saved.
// A refused check also gives the box it is about in `casella_errata`.
bool salva(ModelloContratto& m, std::string_view tipo, int* casella_errata = nullptr);
