// The works contract for a building owned by several co-owners, as one
// protected PDF file written from the data store.
#pragma once

#include <filesystem>

// Writes the contract to `nome_file` (a draft when the upper-cased name
// contains "BOZZA.PDF": every page then carries the watermark) and shows it
// when `apri_pdf`. Returns true only when the file was completely written;
// problems are told to the user through common/messaggi.h, and on failure no
// partial file is left behind.
bool genera_contratto_comproprietari(const std::filesystem::path& nome_file, bool apri_pdf);
