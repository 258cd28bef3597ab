// Where the program finds its files.
//
// The program folder (the folder of the running executable) holds the
// pictures of the site sign. The data folder holds "dati2.dat", the draft
// "bozza.pdf" and "cartellone.pdf": it is the per-user folder
// ($XDG_DATA_HOME/contratto, ~/.local/share/contratto, or with neither HOME
// nor XDG_DATA_HOME "contratto" in the temporary folder) once that holds a
// data file; otherwise the program folder when that is writable; otherwise
// the per-user folder, created 0700 the first time it is asked for. A
// per-user folder that another user owns, or that is a link, is refused.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Folder of the running executable (from /proc/self/exe), unless set with
// imposta_cartelle.
std::filesystem::path cartella_programma();

// Folder of the data file and of the drafts (see above), unless set with
// imposta_cartelle. Throws ErroreDati (common/dati.h), naming the folder,
// when the per-user folder cannot be made or is refused; when it cannot be
// made for want of the right to write, the message names the folder that
// must become writable.
std::filesystem::path cartella_dati();

// At start-up: when the data folder is the per-user folder, holds no data
// file yet and the program folder holds a readable one, copies it there
// (never over an existing file) and returns what to tell the user (UTF-8):
// where the data are kept from now on. Throws as cartella_dati does.
std::optional<std::string> prepara_cartella_dati();

inline constexpr const char* NOME_FILE_DATI = "dati2.dat";
// The documents written in the data folder: the contract's draft and the
// site sign's poster.
inline constexpr const char* NOME_BOZZA = "bozza.pdf";
inline constexpr const char* NOME_CARTELLONE = "cartellone.pdf";

// Fixes both folders (tests, start-up). An empty path goes back to the
// automatic rule for that folder.
void imposta_cartelle(const std::filesystem::path& programma, const std::filesystem::path& dati);

// cartella_dati() / "dati2.dat".
std::filesystem::path file_dati();

// The file `nome` in `cartella`: the exact name when it exists, otherwise the
// first entry of the folder whose name matches ignoring ASCII case, otherwise
// the exact-name path (which does not exist).
std::filesystem::path trova_file(const std::filesystem::path& cartella, std::string_view nome);
