// Messages from plain code to the user. The user interface installs a handler
// that shows them in message boxes; tests install one that collects them.
// Without a handler they are printed to stderr (converted to UTF-8).
#pragma once

#include <functional>
#include <string>
#include <string_view>

enum class TipoMessaggio { Avviso, ErroreCritico };

// `testo` is Windows-1252.
using GestoreMessaggi = std::function<void(TipoMessaggio, const std::string& testo)>;

// Installs the handler (an empty one goes back to stderr).
void imposta_gestore_messaggi(GestoreMessaggi gestore);

// An OK box with the application's title, TITOLO_APPLICAZIONE.
void mostra_avviso(const std::string& testo);

// A box with the critical icon; `testo` is "source - description".
void mostra_errore_critico(const std::string& testo);

// While it lives, every message has each `da` replaced by `a` (both
// Windows-1252) before it is shown: work done in a hidden folder is reported
// under the folder the user chose, never under the hidden one.
class SostituzioneNeiMessaggi {
public:
    SostituzioneNeiMessaggi(std::string da, std::string a);
    ~SostituzioneNeiMessaggi();
    SostituzioneNeiMessaggi(const SostituzioneNeiMessaggi&) = delete;
    SostituzioneNeiMessaggi& operator=(const SostituzioneNeiMessaggi&) = delete;

private:
    GestoreMessaggi precedente_;
};

inline constexpr std::string_view TITOLO_APPLICAZIONE = "Contratto di appalto";
