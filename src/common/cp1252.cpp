#include "common/cp1252.h"

#include <array>

namespace {

// 0x80-0x9F of Windows-1252; the undefined bytes keep their C1 control value
// so that every byte string round-trips.
constexpr std::array<char32_t, 32> alti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr std::array<char32_t, 256> crea_tabella() {
    std::array<char32_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) t[i] = i;
    for (unsigned i = 0; i < 32; ++i) t[0x80 + i] = alti[i];
    return t;
}

constexpr std::array<char32_t, 256> tabella = crea_tabella();

void aggiungi_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t cp1252_a_unicode(unsigned char byte) { return tabella[byte]; }

std::optional<unsigned char> unicode_a_cp1252(char32_t carattere) {
    if (carattere < 0x80 || (carattere >= 0xA0 && carattere <= 0xFF))
        return static_cast<unsigned char>(carattere);
    for (unsigned i = 0; i < alti.size(); ++i)
        if (alti[i] == carattere) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string cp1252_a_utf8(std::string_view testo) {
    std::string out;
    out.reserve(testo.size() + testo.size() / 4);
    for (char ch : testo) aggiungi_utf8(out, tabella[static_cast<unsigned char>(ch)]);
    return out;
}

namespace {

// With `sostituisci` a malformed sequence or a character outside the code
// page becomes one "?" instead of failing the whole text. A sequence is a
// lead byte with the continuation bytes that follow it, as many as it
// announces at most; a byte that leads nothing is a sequence of its own.
std::optional<std::string> converti_utf8(std::string_view testo, bool sostituisci) {
    std::string out;
    out.reserve(testo.size());
    std::size_t i = 0;
    const std::size_t n = testo.size();
    while (i < n) {
        const unsigned char b0 = static_cast<unsigned char>(testo[i]);
        char32_t c;
        std::size_t len;
        if (b0 < 0x80) {
            c = b0;
            len = 1;
        } else if (b0 >= 0xC0 && b0 <= 0xDF) {
            c = b0 & 0x1F;
            len = 2;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            c = b0 & 0x0F;
            len = 3;
        } else if (b0 >= 0xF0 && b0 <= 0xF7) {
            c = b0 & 0x07;
            len = 4;
        } else {
            c = 0;
            len = 0;  // a byte that leads nothing
        }
        std::size_t preso = 1;
        while (preso < len && i + preso < n && (static_cast<unsigned char>(testo[i + preso]) & 0xC0) == 0x80) {
            c = (c << 6) | (static_cast<unsigned char>(testo[i + preso]) & 0x3F);
            ++preso;
        }
        // Cut short, a stray byte, overlong forms, surrogates and values
        // beyond Unicode are malformed.
        const bool valido = preso == len && !((len == 2 && c < 0x80) || (len == 3 && c < 0x800) || (len == 4 && c < 0x10000) ||
                                              c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF));
        i += preso;
        if (!valido) {
            if (!sostituisci) return std::nullopt;
            out += '?';
            continue;
        }
        const auto byte = unicode_a_cp1252(c);
        if (!byte && !sostituisci) return std::nullopt;
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

}  // namespace

std::optional<std::string> utf8_a_cp1252(std::string_view testo) { return converti_utf8(testo, false); }

std::string utf8_per_messaggio(std::string_view testo) { return *converti_utf8(testo, true); }



namespace {

unsigned char maiuscola(unsigned char b) {
    if (b >= 'a' && b <= 'z') return static_cast<unsigned char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<unsigned char>(b - 0x20);
    switch (b) {
        case 0x9A: return 0x8A;  // š
        case 0x9C: return 0x8C;  // œ
        case 0x9E: return 0x8E;  // ž
        case 0xFF: return 0x9F;  // ÿ
        default: return b;
    }
}

unsigned char minuscola(unsigned char b) {
    if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 0x20);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 0x20);
    switch (b) {
        case 0x8A: return 0x9A;
        case 0x8C: return 0x9C;
        case 0x8E: return 0x9E;
        case 0x9F: return 0xFF;
        default: return b;
    }
}

}  // namespace

std::string maiuscolo(std::string_view testo) {
    std::string out(testo);
    for (char& ch : out) ch = static_cast<char>(maiuscola(static_cast<unsigned char>(ch)));
    return out;
}

std::string minuscolo(std::string_view testo) {
    std::string out(testo);
    for (char& ch : out) ch = static_cast<char>(minuscola(static_cast<unsigned char>(ch)));
    return out;
}

std::string togli_spazi(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(' ');
    if (inizio == std::string_view::npos) return {};
    const auto fine = testo.find_last_not_of(' ');
    return std::string(testo.substr(inizio, fine - inizio + 1));
}
