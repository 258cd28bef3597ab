// The site sign's poster: one protected page of about 100 x 130 cm, red
// ground, the four pictures at the top, thirteen labelled white boxes with
// the site's data. Written from the data store only (what the sign form has
// saved, and the contract's data for the entries left empty).
#pragma once

#include <array>
#include <filesystem>
#include <string>

// Writes the poster to `nome_file` and shows it when `apri_pdf`. The four
// pictures are read from the program folder (cartella_programma()).
//
// Returns true only when the file was completely written. Every problem is
// told to the user through common/messaggi.h and leaves an earlier poster as
// it was: a missing or unreadable picture (named in the message) is found
// before the file is opened; a writer failure while drawing drops the
// unfinished file.
bool genera_cartellone(const std::filesystem::path& nome_file, bool apri_pdf);

// The picture files the poster draws, for the given stored area ("CSU",
// "CSP", "QP"; any other text still names a file, which will be missing).
std::array<std::string, 4> immagini_cartellone(const std::string& tipo_centro);
