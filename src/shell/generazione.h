// The final generation of the contract into the folder the user chose.
// Plain C++ (no window), so that every outcome is tested.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "shell/controllo_dati.h"

// A contract builder: writes the PDF `nome_file`, true only when the file was
// completely written (it tells the user itself what went wrong).
using CostruttoreContratto = std::function<bool(const std::filesystem::path& nome_file, bool apri_pdf)>;

// The builder of the stored kind of client; empty for a kind without one
// (the condominium contract is not available).
CostruttoreContratto costruttore_per_tipo(TipoRichiedente tipo);

inline constexpr const char* CARTELLA_USCITA = "Files Contratto Tavore";

// What an earlier output folder in `cartella_scelta` holds that the program
// did not write there, by name, sorted: everything but its plain files
// "contratto.pdf" and "dati2.dat". The generation replaces the folder, so
// these would be deleted. A file or link in the folder's place, or a folder
// whose contents cannot be listed, is named itself. Empty when there is no
// such folder.
std::vector<std::string> file_estranei(const std::filesystem::path& cartella_scelta);

// Writes "contratto.pdf" and a copy of the data file into
// `cartella_scelta`/"Files Contratto Tavore".
//
// Everything is made first in a new folder beside the target; only when the
// builder succeeded and the copy is made does the contract become closed
// (CONTRATTO_CHIUSO "S" in the copy and in the program's data file), the new
// folder take the place of an existing one (with all it holds: the caller
// asks the user first about file_estranei) and the draft "bozza.pdf" go.
// Whatever fails before that leaves the old output folder, the data file and
// the draft as they were and removes the partial output.
//
// Returns true on success. A failure of the builder has been reported by the
// builder; a failure of the files is reported here (mostra_avviso). An
// exception of the builder propagates after the clean-up.
bool genera_contratto_finale(const std::filesystem::path& cartella_scelta, const CostruttoreContratto& costruttore);
