// The data store "dati2.dat": a headerless sequence of 510-byte records, each a
// key of 255 Windows-1252 bytes and a value of 255 bytes, both padded with
// blanks. The record count is the file length divided by 510; a trailing
// partial record is ignored (and dropped when the file is next rewritten).
// Keys match trimmed and upper-cased (see maiuscolo); values read back trimmed.
//
// Every write rewrites the whole file into a temporary file in the same
// folder, flushes it to disk and renames it over the old one, so that an
// interruption leaves either the old or the new file, never a mix. A new
// file is readable by its owner only (0600); a rewrite keeps the mode.
//
// Failures to read or write throw ErroreDati; nothing is silently ignored.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One record as stored, fields already trimmed of their blank padding when
// read.
struct record_dati {
    std::string chiave;
    std::string valore;
};

constexpr std::size_t LUNGHEZZA_CAMPO = 255;
constexpr std::size_t LUNGHEZZA_RECORD = 2 * LUNGHEZZA_CAMPO;

// A failure of the data store. what() is an Italian message in UTF-8 that
// names the file and the cause.
class ErroreDati : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The trimmed value of the FIRST record whose key matches, nullopt when none
// does. A missing file reads as empty.
std::optional<std::string> leggi_dato(std::string_view chiave);

// Rewrites every record whose key matches with `chiave` as spelled and
// `valore` (each cut or padded to 255 bytes); appends one record when none
// matched.
void scrivi_dato(std::string_view chiave, std::string_view valore);

// Writes every pair as scrivi_dato would, in order, but as one atomic
// replacement of the file.
void scrivi_dati(const std::vector<std::pair<std::string, std::string>>& coppie);

// Every key, trimmed and upper-cased, with the trimmed value of its LAST
// record. A missing file reads as empty.
std::map<std::string, std::string> leggi_archivio();

// Every whole record in file order, trimmed. A missing file reads as empty.
std::vector<record_dati> leggi_record();

// The same operations on an explicit file instead of file_dati().
std::optional<std::string> leggi_dato(const std::filesystem::path& file, std::string_view chiave);
void scrivi_dati(const std::filesystem::path& file,
                 const std::vector<std::pair<std::string, std::string>>& coppie);
std::map<std::string, std::string> leggi_archivio(const std::filesystem::path& file);
std::vector<record_dati> leggi_record(const std::filesystem::path& file);

// A save killed between creating its work file and renaming it leaves the
// work file behind (".dati2.dat.XXXXXX" beside the data file; the PDF
// writer's replace names its work files the same way). True for such a
// name, given the file's name.
bool avanzo_di_scrittura(std::string_view nome, std::string_view nome_file);

// Removes the leftover work files of `file` (plain files of this user that
// match avanzo_di_scrittura); returns how many. Only safe while the
// single-instance lock is held: no save of ours is running.
int rimuovi_avanzi(const std::filesystem::path& file);

// For tests only: when set, the next writes fail after the temporary file is
// complete but before it replaces the data file (as a crash or a full disk
// would). The temporary file is removed and ErroreDati is thrown.
void simula_guasto_prima_della_rinomina(bool attivo);
