// Where the program finds its files.
//
// The program folder (the folder of the running executable) holds the
// pictures of the site sign. The data folder holds "dati2.dat", the draft
// "bozza.pdf" and "cartellone.pdf": it is the program folder when that folder
// is writable, otherwise a per-user folder ($XDG_DATA_HOME/contratto, or
// ~/.local/share/contratto) created the first time it is asked for.
#pragma once

#include <filesystem>
#include <string_view>

// Folder of the running executable (from /proc/self/exe), unless set with
// imposta_cartelle.
std::filesystem::path cartella_programma();

// Folder of the data file and of the drafts (see above), unless set with
// imposta_cartelle. Created when missing; if it cannot be created the path is
// still returned and the first file operation reports the failure.
std::filesystem::path cartella_dati();

// Fixes both folders (tests, start-up). An empty path goes back to the
// automatic rule for that folder.
void imposta_cartelle(const std::filesystem::path& programma, const std::filesystem::path& dati);

// cartella_dati() / "dati2.dat".
std::filesystem::path file_dati();

// The file `nome` in `cartella`: the exact name when it exists, otherwise the
// first entry of the folder whose name matches ignoring ASCII case, otherwise
// the exact-name path (which does not exist).
std::filesystem::path trova_file(const std::filesystem::path& cartella, std::string_view nome);
