#include "common/date.h"

#include "common/cp1252.h"
#include "common/numeri.h"

namespace {

// The characters from position `da` (counted from 1), at most `quanti`; empty
// past the end, as a substring taken by position must be.
std::string_view pezzo(std::string_view testo, std::size_t da, std::size_t quanti) {
    if (da == 0 || da > testo.size()) return {};
    return testo.substr(da - 1, quanti);
}

bool vuoto(std::string_view testo) { return togli_spazi(testo).empty(); }

// The leading whole number of a piece, blanks skipped (0 when there is none).
long valore_intero(std::string_view testo) {
    long v = 0;
    bool negativo = false;
    bool inizio = true;
    for (char c : testo) {
        if (c == ' ') continue;
        if (inizio && (c == '-' || c == '+')) {
            negativo = c == '-';
            inizio = false;
            continue;
        }
        inizio = false;
        if (c < '0' || c > '9') break;
        if (v < 100000000) v = v * 10 + (c - '0');
    }
    return negativo ? -v : v;
}

// A part of a displayed date: a number is zero-filled to `cifre` digits
// (rounded to a whole number first), anything else is kept as written.
std::string parte_data(std::string_view parte, std::size_t cifre) {
    std::string numero(parte);
    const auto valore = valore_numerico(numero);
    if (!valore) return std::string(parte);
    formatta_numero(numero, 0);
    bool negativo = !numero.empty() && numero[0] == '-';
    std::string cifre_testo = negativo ? numero.substr(1) : numero;
    if (cifre_testo.size() < cifre) cifre_testo.insert(0, cifre - cifre_testo.size(), '0');
    return (negativo ? "-" : "") + cifre_testo;
}

int giorni_del_mese(int mese, int anno) {
    switch (mese) {
        case 2: return anno_bisestile(anno) ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11: return 30;
        default: return 31;
    }
}

bool solo_cifre(std::string_view testo, std::size_t minimo, std::size_t massimo) {
    if (testo.size() < minimo || testo.size() > massimo) return false;
    for (char c : testo)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

bool anno_bisestile(int anno) { return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0; }

std::string data_per_archivio(std::string_view data) {
    const auto primo = data.find('/');
    if (primo == std::string_view::npos) return "000000";
    const std::string_view giorno = data.substr(0, primo);
    const auto secondo = data.find('/', primo + 1);
    if (secondo == std::string_view::npos) return "000000" + parte_data(giorno, 2);
    const std::string_view mese = data.substr(primo + 1, secondo - primo - 1);
    const std::string_view anno = data.substr(secondo + 1);
    return parte_data(anno, 4) + parte_data(mese, 2) + parte_data(giorno, 2);
}

int controlla_data(std::string_view data) {
    if (!valore_numerico(data)) return 1;
    const std::string_view anno = pezzo(data, 1, 4);
    const std::string_view mese = pezzo(data, 5, 2);
    const std::string_view giorno = pezzo(data, 7, 2);
    const long a = valore_intero(anno);
    if (a < 1800 || a > 2100) return 1;
    const long g = valore_intero(giorno);
    if (!vuoto(giorno) && (g < 1 || g > 31)) return 1;
    const long m = valore_intero(mese);
    if (!vuoto(mese) && (m < 1 || m > 12)) return 2;
    if (!vuoto(giorno) && !vuoto(mese) && g > giorni_del_mese(static_cast<int>(m), static_cast<int>(a)))
        return 1;
    return 0;
}

std::string data_da_archivio(std::string_view data) {
    const std::string pulito = togli_spazi(data);
    if (pulito.empty() || pulito == "0" || pulito == "000000") return {};
    std::string risultato;
    risultato.append(pezzo(data, 7, 2)).append("/").append(pezzo(data, 5, 2)).append("/").append(
        pezzo(data, 1, 4));
    if (data.size() > 8 && data.size() <= 12)
        risultato.append(" ").append(pezzo(data, 9, 2)).append(":").append(pezzo(data, 11, 2));
    return risultato;
}

bool data_ammessa(std::string_view testo) {
    if (testo.empty() || testo == "gg/mm/aaaa") return true;
    const auto primo = testo.find('/');
    if (primo == std::string_view::npos) return false;
    const auto secondo = testo.find('/', primo + 1);
    if (secondo == std::string_view::npos) return false;
    const std::string_view giorno = testo.substr(0, primo);
    const std::string_view mese = testo.substr(primo + 1, secondo - primo - 1);
    const std::string_view anno = testo.substr(secondo + 1);
    if (!solo_cifre(giorno, 1, 2) || !solo_cifre(mese, 1, 2) || !solo_cifre(anno, 4, 4)) return false;
    const int g = static_cast<int>(valore_intero(giorno));
    const int m = static_cast<int>(valore_intero(mese));
    const int a = static_cast<int>(valore_intero(anno));
    if (a < 1800 || a > 2100 || m < 1 || m > 12) return false;
    return g >= 1 && g <= giorni_del_mese(m, a);
}
