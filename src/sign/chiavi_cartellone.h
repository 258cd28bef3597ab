// The site sign's entries in the data store and the rules by which an entry
// left empty shows the contract's data instead.
//
// Thirteen entries fill the sign's thirteen boxes; a fourteenth key holds the
// kind of area ("CSU", "CSP", "QP"), which chooses the area picture. Every
// text here is Windows-1252, as stored.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int NUMERO_CASELLE_CARTELLONE = 13;

// The boxes in the sign's order (the form's boxes use the same indices).
enum CasellaCartellone {
    INDIRIZZO = 0,
    TIPOLOGIA_LAVORI,
    TITOLO_EDILIZIO,
    IMPRESA,
    DATA_INIZIO,
    DATA_FINE,
    PROGETTISTA,
    DIRETTORE_LAVORI,
    COORDINATORE_PROGETTAZIONE,
    COORDINATORE_ESECUZIONE,
    DIRETTORE_TECNICO,
    IMPRESA_SUBAPPALTATRICE,
    DIRETTORE_TECNICO_SUBAPPALTATRICE,
};

inline constexpr std::string_view CHIAVE_TIPO_CENTRO = "CARTELLONE_TIPO_CENTRO";

// The store key of each box, in box order.
const std::array<std::string_view, NUMERO_CASELLE_CARTELLONE>& chiavi_caselle_cartellone();

// The 14 sign keys: the area first, then the boxes' keys.
const std::array<std::string_view, 14>& chiavi_cartellone();

// The three kinds of area in the order the form offers them.
inline constexpr std::array<std::string_view, 3> TIPI_CENTRO = {"CSU", "CSP", "QP"};

// Index of a stored area in TIPI_CENTRO (trimmed, upper-cased), -1 for any
// other value.
int indice_tipo_centro(std::string_view valore);

// The values the sign reads, from the store's map (keys trimmed and
// upper-cased, values trimmed, the last record of each key).
class DatiCartellone {
public:
    explicit DatiCartellone(const std::map<std::string, std::string>& archivio);

    // The stored value of a box's key, "" when none is stored.
    const std::string& memorizzato(int casella) const;
    // True when some record holds the box's key (even with an empty value).
    bool presente(int casella) const;

    // The contract's value a box falls back to: the address, the building
    // title, the contractor or a person; nullopt for the boxes without one.
    std::optional<std::string> ripiego(int casella) const;

    // What the box shows: the stored value when not blank, else its
    // fallback; a date as day/month/year, "" for no date.
    std::string testo(int casella) const;

    // The stored area, trimmed and upper-cased ("" when none).
    const std::string& tipo_centro() const { return tipo_centro_; }

private:
    std::map<std::string, std::string> valori_;
    std::array<bool, NUMERO_CASELLE_CARTELLONE> presenti_{};
    std::string tipo_centro_;
};

// Title, first name and surname joined by one blank each, empty parts
// included (so an untitled person begins with a blank).
std::string testo_persona(std::string_view titolo, std::string_view nome, std::string_view cognome);

// The building title from the permit flags of the contract; a later rule
// replaces an earlier one: "DIA", then the city's authorisation with its
// number and date, then the sworn report. "" when none applies.
std::string titolo_edilizio(const std::map<std::string, std::string>& archivio);
