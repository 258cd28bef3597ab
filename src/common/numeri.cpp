#include "common/numeri.h"

#include <array>
#include <charconv>

#include "common/cp1252.h"

namespace {

// A number kept as its decimal digits, so that rounding works on the value
// as written ("0,005" is exactly half a cent) and not on a binary
// approximation of it.
struct Decimale {
    bool negativo = false;
    std::string intero;    // digits, no leading zeros ("" for 0)
    std::string frazione;  // digits after the decimal separator
};

bool cifra(char c) { return c >= '0' && c <= '9'; }

std::optional<Decimale> leggi_decimale(std::string_view testo) {
    const std::string pulito = togli_spazi(testo);
    std::string_view t = pulito;
    Decimale d;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        d.negativo = t[0] == '-';
        t.remove_prefix(1);
    }
    const auto virgola = t.find(',');
    std::string_view parte_intera = t.substr(0, virgola);
    std::string_view parte_decimale;
    if (virgola != std::string_view::npos) parte_decimale = t.substr(virgola + 1);
    if (parte_intera.empty() && parte_decimale.empty()) return std::nullopt;
    for (char c : parte_decimale)
        if (!cifra(c)) return std::nullopt;

    // Either plain digits, or groups of three separated by "." after a first
    // group of one to three digits.
    std::string cifre;
    if (parte_intera.find('.') == std::string_view::npos) {
        for (char c : parte_intera)
            if (!cifra(c)) return std::nullopt;
        cifre = parte_intera;
    } else {
        std::size_t gruppo = 0;
        bool primo = true;
        for (char c : parte_intera) {
            if (c == '.') {
                if (gruppo == 0 || gruppo > 3 || (!primo && gruppo != 3)) return std::nullopt;
                primo = false;
                gruppo = 0;
            } else if (cifra(c)) {
                cifre += c;
                ++gruppo;
            } else {
                return std::nullopt;
            }
        }
        if (gruppo != 3) return std::nullopt;
    }
    const auto primo_non_zero = cifre.find_first_not_of('0');
    d.intero = primo_non_zero == std::string::npos ? "" : cifre.substr(primo_non_zero);
    d.frazione = parte_decimale;
    return d;
}

bool zero(const Decimale& d) {
    return d.intero.empty() && d.frazione.find_first_not_of('0') == std::string::npos;
}

// Rounds to `decimali` decimals, half away from zero.
Decimale arrotonda(Decimale d, std::size_t decimali) {
    if (d.frazione.size() <= decimali) {
        d.frazione.append(decimali - d.frazione.size(), '0');
    } else {
        const bool su = d.frazione[decimali] >= '5';
        d.frazione.resize(decimali);
        if (su) {
            // Add one unit of the last kept digit, carrying leftwards.
            std::string tutte = (d.intero.empty() ? std::string("0") : d.intero) + d.frazione;
            std::size_t i = tutte.size();
            while (i > 0) {
                --i;
                if (tutte[i] == '9') {
                    tutte[i] = '0';
                } else {
                    ++tutte[i];
                    break;
                }
                if (i == 0) tutte.insert(tutte.begin(), '1');
            }
            const std::size_t lunghezza_intera = tutte.size() - decimali;
            d.frazione = tutte.substr(lunghezza_intera);
            const std::string intero = tutte.substr(0, lunghezza_intera);
            const auto primo_non_zero = intero.find_first_not_of('0');
            d.intero = primo_non_zero == std::string::npos ? "" : intero.substr(primo_non_zero);
        }
    }
    if (zero(d)) d.negativo = false;
    return d;
}

std::string raggruppa(const std::string& cifre) {
    std::string out;
    const std::size_t n = cifre.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += '.';
        out += cifre[i];
    }
    return out;
}

bool si(std::string_view opzione) { return maiuscolo(togli_spazi(opzione)) == "S"; }

constexpr std::array<std::string_view, 20> unita = {
    "",        "uno",      "due",    "tre",     "quattro",     "cinque",   "sei",
    "sette",   "otto",     "nove",   "dieci",   "undici",      "dodici",   "tredici",
    "quattordici", "quindici", "sedici", "diciassette", "diciotto", "diciannove"};

constexpr std::array<std::string_view, 10> decine = {
    "", "", "venti", "trenta", "quaranta", "cinquanta", "sessanta", "settanta", "ottanta", "novanta"};

// 0 < n < 1000; the tens drop their last vowel before "uno" and "otto"
// ("ventuno", "ventotto"), and "cento" drops its "o" before "otto" and
// "ottanta" ("centotto", "centottanta").
std::string sotto_mille(unsigned n) {
    std::string out;
    const unsigned centinaia = n / 100;
    const unsigned resto = n % 100;
    if (centinaia > 0) {
        if (centinaia > 1) out += unita[centinaia];
        out += "cento";
        if (resto == 8 || (resto >= 80 && resto < 90)) out.pop_back();
    }
    if (resto < 20) {
        out += unita[resto];
    } else {
        std::string_view decina = decine[resto / 10];
        const unsigned u = resto % 10;
        if (u == 1 || u == 8) decina.remove_suffix(1);
        out += decina;
        out += unita[u];
    }
    return out;
}

// 0 < n < 1,000,000,000.
std::string sotto_miliardo(unsigned long n) {
    std::string out;
    const unsigned milioni = static_cast<unsigned>(n / 1000000);
    const unsigned migliaia = static_cast<unsigned>(n / 1000 % 1000);
    const unsigned resto = static_cast<unsigned>(n % 1000);
    if (milioni == 1)
        out += "unmilione";
    else if (milioni > 1)
        out += sotto_mille(milioni) + "milioni";
    if (migliaia == 1)
        out += "mille";
    else if (migliaia > 1)
        out += sotto_mille(migliaia) + "mila";
    if (resto > 0) out += sotto_mille(resto);
    return out;
}

// The digits of a whole number (no leading zeros, not empty) in words.
std::string in_lettere(std::string_view cifre) {
    if (cifre.size() <= 9) {
        unsigned long n = 0;
        for (char c : cifre) n = n * 10 + static_cast<unsigned long>(c - '0');
        return sotto_miliardo(n);
    }
    std::string_view miliardi = cifre.substr(0, cifre.size() - 9);
    std::string_view resto = cifre.substr(cifre.size() - 9);
    const auto primo_non_zero = resto.find_first_not_of('0');
    std::string out = miliardi == "1" ? std::string("unmiliardo") : in_lettere(miliardi) + "miliardi";
    if (primo_non_zero != std::string_view::npos) out += in_lettere(resto.substr(primo_non_zero));
    return out;
}

// Beyond this many digits a number is not spelled (a blank result): the
// words would be meaningless and the recursion deep.
constexpr std::size_t massime_cifre_in_lettere = 300;

std::string parole(const Decimale& d) {
    if (d.intero.empty()) return "Zero";
    if (d.intero.size() > massime_cifre_in_lettere) return {};
    std::string out = in_lettere(d.intero);
    // A compound ending in "tre" takes the accent: "ventitré", "centotré".
    const std::size_t n = d.intero.size();
    const bool finisce_in_tre = d.intero[n - 1] == '3' && (n == 1 || d.intero[n - 2] != '1');
    if (finisce_in_tre && d.intero != "3" && out.size() >= 3 && out.ends_with("tre"))
        out.back() = static_cast<char>(0xE9);
    return (d.negativo ? "meno" : "") + out;
}

}  // namespace

std::optional<double> valore_numerico(std::string_view testo) {
    const auto d = leggi_decimale(testo);
    if (!d) return std::nullopt;
    std::string semplice = (d->negativo ? "-" : "") + (d->intero.empty() ? std::string("0") : d->intero);
    if (!d->frazione.empty()) semplice += "." + d->frazione;
    double valore = 0;
    const auto [fine, errore] = std::from_chars(semplice.data(), semplice.data() + semplice.size(), valore);
    if (errore != std::errc() || fine != semplice.data() + semplice.size()) return std::nullopt;
    return valore;
}

std::string formatta_numero(std::string& numero, int decimali, std::string_view migliaia, std::string_view punto) {
    const std::size_t n_decimali = static_cast<std::size_t>(decimali < 0 ? 0 : (decimali > 30 ? 30 : decimali));
    const bool separatore_punto = si(punto);
    const bool gruppi = si(migliaia) && !separatore_punto;
    const auto letto = leggi_decimale(numero);
    const Decimale d = arrotonda(letto ? *letto : Decimale{}, n_decimali);
    const std::string intero = d.intero.empty() ? std::string("0") : d.intero;
    const std::string segno = d.negativo ? "-" : "";
    std::string risultato = segno + (gruppi ? raggruppa(intero) : intero);
    if (n_decimali > 0) risultato += (separatore_punto ? "." : ",") + d.frazione;
    if (letto) numero = segno + intero + (n_decimali > 0 ? "," + d.frazione : std::string());
    return risultato;
}

std::string importo_in_lettere(std::string_view importo) {
    const auto d = leggi_decimale(importo);
    if (!d) return {};
    const Decimale centesimi = arrotonda(*d, 2);
    const std::string intero = parole(centesimi);
    if (intero.empty()) return {};
    return intero + "/" + centesimi.frazione;
}

std::string numero_in_lettere(std::string_view numero) {
    auto d = leggi_decimale(numero);
    if (!d) return {};
    d->frazione.clear();
    if (d->intero.empty()) d->negativo = false;
    return parole(*d);
}
