// The desktop's document viewer: the opener program that the writer's
// OpenDoc starts ("xdg-open"), and what the user is told when it cannot show
// a document.
//
// The opener runs detached and may stay until its viewer is closed, so its
// end is never waited for: a watcher process reports it through a pipe, and
// the user interface reads that report when it comes (imposta_osservatore_
// apertura). Without a user interface nobody waits and the report is dropped.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

inline constexpr const char* PROGRAMMA_APERTURA = "xdg-open";

// The opener's path when an executable file of that name lies in a folder
// of PATH; empty otherwise (then nothing could show a document).
std::filesystem::path trova_apertura();

struct AperturaAvviata {
    // The system's error number when the opener could not be started (no
    // process, or its program would not run); 0 when it runs.
    int errore = 0;
    // When it runs: a descriptor that becomes readable once the opener has
    // ended; its report is read by esito_apertura. -1 otherwise.
    int esito = -1;
};

// Starts the opener that trova_apertura finds on `file` and returns as soon
// as it runs (or failed to).
AperturaAvviata avvia_apertura(const std::filesystem::path& file);

// Hands the report descriptor of a running opener to the observer, which
// then owns it; without an observer it is closed.
void osserva_apertura(int esito, const std::filesystem::path& file);

using OsservatoreApertura = std::function<void(int esito, const std::filesystem::path& file)>;
// Installs the observer (an empty one goes back to dropping the reports).
void imposta_osservatore_apertura(OsservatoreApertura osservatore);

// Reads the opener's report from `esito` (once readable) and closes it.
// The message for the user (Windows-1252) when the opener failed; nullopt
// when it ended well or nothing is known.
std::optional<std::string> esito_apertura(int esito, const std::filesystem::path& file);

// What the user is told (Windows-1252) when a document was written but
// nothing showed it: where the file is, why (UTF-8; by default that the
// computer has no opener) and that a PDF reader opens it.
std::string messaggio_senza_visualizzatore(const std::filesystem::path& file, const std::string& perche = {});

// The cause for that message when the opener could not be started, from
// the system's error number (UTF-8).
std::string perche_apertura_non_avviata(int errore);
