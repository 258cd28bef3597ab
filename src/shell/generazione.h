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

// Puts right what a generation cut short (a crash, a power cut) left in
// `cartella_scelta`, before the user is asked about the folder: when
// "Files Contratto Tavore" is missing, the newest
// ".Files Contratto Tavore.vecchia-<pid>[-n]" (the previous output, moved
// aside for the new one) takes the name back; then the other
// ".Files Contratto Tavore.nuova-<pid>[-n]" and ".vecchia-<pid>[-n]" folders
// are removed. Only real folders (never links) of this user whose process
// no longer runs on this machine are touched; nothing else is. Failures are
// left for the generation itself to meet.
void ripristina_generazione_interrotta(const std::filesystem::path& cartella_scelta);

// Writes "contratto.pdf" and a copy of the data file into
// `cartella_scelta`/"Files Contratto Tavore".
//
// Everything is made first in a new folder beside the target; only when the
// builder succeeded and the copy (marked closed) is made does the new folder
// take the place of an existing one (with all it holds: the caller asks the
// user first about file_estranei). Only once it has its name does the
// contract become closed (CONTRATTO_CHIUSO "S" in the program's data file)
// and the draft "bozza.pdf" go. A crash before the mark leaves the contract
// open and the previous output in its place or moved aside, where
// ripristina_generazione_interrotta finds it. Whatever fails leaves the old
// output folder, the data file and the draft as they were and removes the
// partial output.
//
// Returns true on success. A failure of the builder has been reported by the
// builder; a failure of the files is reported here (mostra_avviso). An
// exception of the builder or of the data file propagates after the clean-up.
bool genera_contratto_finale(const std::filesystem::path& cartella_scelta, const CostruttoreContratto& costruttore);

// The steps of genera_contratto_finale once the new folder is complete.
enum class PassoGenerazione { SpostaVecchia, DaiIlNome, SegnaChiuso };
// For tests only: called just before each of those steps, so that a test can
// stand in for a crash there or make the step fail. Empty: nothing is called.
void osserva_passi_generazione(std::function<void(PassoGenerazione)> osservatore);
