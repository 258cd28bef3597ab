#include "common/filtri.h"

#include <algorithm>

#include "common/cp1252.h"

namespace {

bool cifra(unsigned char c) { return c >= '0' && c <= '9'; }

// A letter of Windows-1252, accented ones included.
bool lettera_sola(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    if (c >= 0xC0 && c != 0xD7 && c != 0xF7) return true;  // À..ÿ without × and ÷
    switch (c) {
        case 0x8A: case 0x8C: case 0x8E:  // Š Œ Ž
        case 0x9A: case 0x9C: case 0x9E: case 0x9F:  // š œ ž Ÿ
            return true;
        default:
            return false;
    }
}

// What a name may hold: letters, blank, apostrophes (' and ’) and hyphen.
bool lettera(unsigned char c) { return lettera_sola(c) || c == ' ' || c == '\'' || c == 0x92 || c == '-'; }

// A code of letters and digits (tax code, IBAN): no blanks, marks or accented
// letters, which no such code holds, so that the stored text is the code itself.
bool alfanumerico(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || cifra(c); }

bool telefono(unsigned char c) {
    return cifra(c) || c == ' ' || c == '+' || c == '/' || c == '-' || c == '.' || c == '(' || c == ')';
}

template <typename Ammesso>
bool tutti(std::string_view testo, Ammesso ammesso) {
    return std::all_of(testo.begin(), testo.end(),
                       [&](char c) { return ammesso(static_cast<unsigned char>(c)); });
}

// Counts digits from `da`; returns the position after them.
std::size_t salta_cifre(std::string_view t, std::size_t da, std::size_t& quante) {
    quante = 0;
    while (da < t.size() && cifra(static_cast<unsigned char>(t[da]))) {
        ++da;
        ++quante;
    }
    return da;
}

// A date being typed: up to two digits, "/", up to two digits, "/", up to four.
bool data_parziale(std::string_view t) {
    if (t.size() > 10) return false;
    std::size_t n = 0;
    std::size_t i = salta_cifre(t, 0, n);
    if (n > 2) return false;
    if (i == t.size()) return true;
    if (t[i] != '/' || n == 0) return false;
    i = salta_cifre(t, i + 1, n);
    if (n > 2) return false;
    if (i == t.size()) return true;
    if (t[i] != '/' || n == 0) return false;
    i = salta_cifre(t, i + 1, n);
    return n <= 4 && i == t.size();
}

// A time being typed: hours 0-23, ":", minutes 0-59, each of up to two digits.
bool ora_parziale(std::string_view t) {
    if (t.size() > 5) return false;
    std::size_t n = 0;
    std::size_t i = salta_cifre(t, 0, n);
    if (n > 2) return false;
    if (n == 2 && (t[0] - '0') * 10 + (t[1] - '0') > 23) return false;
    if (i == t.size()) return true;
    if (t[i] != ':' || n == 0) return false;
    const std::size_t inizio_minuti = i + 1;
    i = salta_cifre(t, inizio_minuti, n);
    if (n > 2 || i != t.size()) return false;
    return n == 0 || t[inizio_minuti] <= '5';
}

// A decimal number being typed: digits, at most one ",", at most `decimali`
// digits after it.
bool decimale_parziale(std::string_view t, int decimali) {
    const auto virgola = t.find(',');
    const std::string_view intera = t.substr(0, virgola);
    if (!tutti(intera, [](unsigned char c) { return cifra(c) || c == '.'; })) return false;
    if (virgola == std::string_view::npos) return true;
    if (decimali <= 0) return false;
    const std::string_view frazione = t.substr(virgola + 1);
    return tutti(frazione, cifra) && frazione.size() <= static_cast<std::size_t>(decimali);
}

// The thousands dots of a whole part: between groups of three digits, the
// first group one to three digits long. While typing (`completa` false) the
// last group may still be short ("1.2" on the way to "1.250").
bool gruppi_migliaia(std::string_view intera, bool completa) {
    if (intera.find('.') == std::string_view::npos) return true;
    std::size_t gruppo = 0;
    bool primo = true;
    for (char c : intera) {
        if (c != '.') {
            ++gruppo;
            continue;
        }
        if (gruppo == 0 || gruppo > 3 || (!primo && gruppo != 3)) return false;
        primo = false;
        gruppo = 0;
    }
    return completa ? gruppo == 3 : gruppo <= 3;
}

// A decimal number being typed: the decimals close the whole part, so its
// last group must be whole once a "," follows it.
bool decimale_digitato(std::string_view t, int decimali) {
    if (!decimale_parziale(t, decimali)) return false;
    const auto virgola = t.find(',');
    return gruppi_migliaia(t.substr(0, virgola), virgola != std::string_view::npos);
}

// A finished decimal number (pasted, or a box being left): dots only between
// whole groups of three digits ("1.200,50"), so that the text reads as the
// number it shows.
bool decimale_incollato(std::string_view t, int decimali) {
    return decimale_parziale(t, decimali) && gruppi_migliaia(t.substr(0, t.find(',')), true);
}

// The box's text once the key has replaced the selection (bounds clamped).
std::string dopo_il_tasto(std::string_view testo, int inizio, int lunghezza, unsigned char tasto) {
    const std::size_t da = static_cast<std::size_t>(std::clamp(inizio, 0, static_cast<int>(testo.size())));
    const std::size_t quanti =
        static_cast<std::size_t>(std::clamp(lunghezza, 0, static_cast<int>(testo.size() - da)));
    std::string nuovo(testo.substr(0, da));
    nuovo += static_cast<char>(tasto);
    nuovo.append(testo.substr(da + quanti));
    return nuovo;
}

// The common shape of every filter: editing keys pass, other keys must be a
// Windows-1252 character and leave a text the class accepts.
template <typename Valido>
int filtra(std::string_view testo, int inizio, int lunghezza, int tasto, Valido valido) {
    if (tasto_di_modifica(tasto)) return tasto;
    if (tasto < 32 || tasto > 255) return 0;
    return valido(dopo_il_tasto(testo, inizio, lunghezza, static_cast<unsigned char>(tasto))) ? tasto : 0;
}

}  // namespace

int decimali_della_classe(std::string_view classe_casella) {
    const std::string classe = maiuscolo(classe_casella);
    if (classe.size() == 3 && classe.substr(0, 2) == "ND" && classe[2] >= '1' && classe[2] <= '6')
        return classe[2] - '0';
    return -1;
}

bool tasto_di_modifica(int tasto) { return tasto > 0 && tasto < 32; }

int filtro_lettere(std::string_view testo, int inizio, int lunghezza, int tasto) {
    return filtra(testo, inizio, lunghezza, tasto, [](const std::string& t) { return tutti(t, lettera); });
}

int filtro_alfanumerico(std::string_view testo, int inizio, int lunghezza, int tasto) {
    return filtra(testo, inizio, lunghezza, tasto, [](const std::string& t) { return tutti(t, alfanumerico); });
}

int filtro_cifre(std::string_view testo, int inizio, int lunghezza, int tasto) {
    return filtra(testo, inizio, lunghezza, tasto, [](const std::string& t) { return tutti(t, cifra); });
}

int filtro_numerico(std::string_view testo, int inizio, int lunghezza, int tasto) {
    return filtro_cifre(testo, inizio, lunghezza, tasto);
}

int filtro_decimale(std::string_view testo, int inizio, int lunghezza, int tasto, int decimali) {
    return filtra(testo, inizio, lunghezza, tasto,
                  [decimali](const std::string& t) { return decimale_digitato(t, decimali); });
}

int filtro_ora(std::string_view testo, int inizio, int lunghezza, int tasto) {
    return filtra(testo, inizio, lunghezza, tasto, ora_parziale);
}

int filtro_telefono(std::string_view testo, int inizio, int lunghezza, int tasto) {
    return filtra(testo, inizio, lunghezza, tasto, [](const std::string& t) { return tutti(t, telefono); });
}

int filtro_data(std::string& testo, int& inizio, int& lunghezza, int tasto) {
    inizio = std::clamp(inizio, 0, static_cast<int>(testo.size()));
    lunghezza = std::clamp(lunghezza, 0, static_cast<int>(testo.size()) - inizio);
    if (tasto_di_modifica(tasto)) return tasto;
    if (tasto < '0' || tasto > '9') {
        return tasto == '/' && data_parziale(dopo_il_tasto(testo, inizio, lunghezza, '/')) ? tasto : 0;
    }
    // A digit typed at the end right after a complete day or month brings
    // its "/" with it.
    const bool in_fondo = lunghezza == 0 && inizio == static_cast<int>(testo.size());
    if (in_fondo && testo.size() >= 2 && cifra(static_cast<unsigned char>(testo.back())) &&
        cifra(static_cast<unsigned char>(testo[testo.size() - 2])) && data_parziale(testo + '/')) {
        testo += '/';
        inizio = static_cast<int>(testo.size());
    }
    return data_parziale(dopo_il_tasto(testo, inizio, lunghezza, static_cast<unsigned char>(tasto))) ? tasto
                                                                                                       : 0;
}

int filtra_tasto(std::string_view classe_casella, std::string& testo, int& inizio, int& lunghezza, int tasto) {
    const std::string classe = maiuscolo(classe_casella);
    if (classe == "MA") return filtro_lettere(testo, inizio, lunghezza, tasto);
    if (classe == "MANI") return filtro_alfanumerico(testo, inizio, lunghezza, tasto);
    if (classe == "NI") return filtro_cifre(testo, inizio, lunghezza, tasto);
    if (classe == "PI") return filtro_numerico(testo, inizio, lunghezza, tasto);
    if (classe == "DATA") return filtro_data(testo, inizio, lunghezza, tasto);
    if (classe == "ORA") return filtro_ora(testo, inizio, lunghezza, tasto);
    if (classe == "TEL") return filtro_telefono(testo, inizio, lunghezza, tasto);
    if (const int decimali = decimali_della_classe(classe); decimali > 0)
        return filtro_decimale(testo, inizio, lunghezza, tasto, decimali);
    return tasto;
}

bool testo_ammesso(std::string_view classe_casella, std::string_view testo) {
    if (testo.empty()) return true;
    const std::string classe = maiuscolo(classe_casella);
    if (classe == "MA") return tutti(testo, lettera);
    if (classe == "MANI") return tutti(testo, alfanumerico);
    if (classe == "NI" || classe == "PI") return tutti(testo, cifra);
    if (classe == "DATA") return data_parziale(testo);
    if (classe == "ORA") return ora_parziale(testo);
    if (classe == "TEL") return tutti(testo, telefono);
    if (const int decimali = decimali_della_classe(classe); decimali > 0)
        return decimale_incollato(testo, decimali);
    return true;
}
