#include <gtest/gtest.h>

#include "common/filtri.h"

namespace {

// Types `tasti` one after the other at the end of the box, as a user would,
// through the filter of `classe`; returns the box's text.
std::string digita(std::string_view classe, std::string_view tasti, std::string testo = "") {
    for (char c : tasti) {
        int inizio = static_cast<int>(testo.size());
        int lunghezza = 0;
        const int tasto = filtra_tasto(classe, testo, inizio, lunghezza, static_cast<unsigned char>(c));
        if (tasto != 0) testo.insert(static_cast<std::size_t>(inizio), 1, static_cast<char>(tasto));
    }
    return testo;
}

int tasto(std::string_view classe, std::string testo, int c, int inizio = -1, int lunghezza = 0) {
    if (inizio < 0) inizio = static_cast<int>(testo.size());
    return filtra_tasto(classe, testo, inizio, lunghezza, c);
}

TEST(Filtri, EditingKeysAlwaysPass) {
    for (const char* classe : {"MA", "MANI", "NI", "ND2", "DATA", "ORA", "TEL", "PI", ""}) {
        for (int k : {TASTO_BACKSPACE, 1, 3, 9, 13, 22, 24, 26})
            EXPECT_EQ(tasto(classe, "12/05/2020", k), k) << classe << ' ' << k;
        EXPECT_EQ(tasto(classe, "abc", TASTO_BACKSPACE), TASTO_BACKSPACE) << classe;
    }
}

TEST(Filtri, Letters) {
    for (int k : std::initializer_list<int>{'a', 'Z', ' ', '\'', '-', 0xE0, 0xE8, 0xE9, 0xEC, 0xF2, 0xF9, 0xC8, 0x92, 0x8A})
        EXPECT_EQ(tasto("MA", "Rossi", k), k) << k;
    for (int k : std::initializer_list<int>{'1', '.', ',', '/', '@', 0x80, 0xD7, 0xF7, 0xB0, 0, 256, -5})
        EXPECT_EQ(tasto("MA", "Rossi", k), 0) << k;
    EXPECT_EQ(digita("MA", "D'Ang\xE8lo-Rossi 2"), "D'Ang\xE8lo-Rossi ");
}

TEST(Filtri, LettersAndDigitsWithoutMarks) {
    // Tax codes and IBANs: blanks, apostrophes and hyphens are not part of them.
    EXPECT_EQ(digita("MANI", "RSS-MRA 80'A01/H501U"), "RSSMRA80A01H501U");
    EXPECT_EQ(tasto("MANI", "", 0xF9), 0);  // no code holds an accented letter
    for (int k : std::initializer_list<int>{' ', '\'', 0x92, '-'}) EXPECT_EQ(tasto("MANI", "IT60", k), 0) << k;
}

TEST(Filtri, ClassIsUpperCased) {
    EXPECT_EQ(digita("data", "12052020"), "12/05/2020");
    EXPECT_EQ(tasto("ma", "Rossi", '1'), 0);
    EXPECT_FALSE(testo_ammesso("ni", "12a"));
}

TEST(Filtri, Digits) {
    EXPECT_EQ(digita("NI", "12a 3,4.5-"), "12345");
    EXPECT_EQ(digita("PI", "IT01234567890"), "01234567890");
    EXPECT_EQ(filtro_cifre("", 0, 0, '7'), '7');
    EXPECT_EQ(filtro_numerico("", 0, 0, 'x'), 0);
}

TEST(Filtri, DecimalsTakeThousandsDotsAndLimitTheDecimals) {
    // Typed one key after the other at the end, as the user types them: a
    // "." is a thousands separator (as in a paste), never turned into ",".
    const struct {
        const char* classe;
        const char* tasti;
        const char* atteso;
    } digitati[] = {
        {"ND2", "125.000,50", "125.000,50"},
        {"ND2", "3.500", "3.500"},
        {"ND2", "0,5", "0,5"},
        {"ND2", "12.345.678,9", "12.345.678,9"},
        {"ND2", "1234.567", "1234567"},     // no dot after four digits
        {"ND2", "1.2345", "1.234"},         // a group holds three digits
        {"ND2", "1.23,4", "1.234"},         // a short group is not closed by ","
        {"ND2", "1..2", "1.2"},
        {"ND2", ".5", "5"},
        {"ND2", "12,3.4", "12,34"},         // no dot among the decimals
        {"ND2", "1200,567", "1200,56"},
        {"ND1", "3,14", "3,1"},
        {"ND6", "0,1234567", "0,123456"},
        {"ND3", "-1a2", "12"},
    };
    for (const auto& d : digitati)
        EXPECT_EQ(digita(d.classe, d.tasti), d.atteso) << d.tasti;
    // Keys in the middle, and over a selection.
    EXPECT_EQ(tasto("ND2", "12,34", '9', 0), '9');
    EXPECT_EQ(tasto("ND2", "12,34", '9', 3, 1), '9');
    EXPECT_EQ(tasto("ND2", "12,34", '9', 5), 0);
    EXPECT_EQ(tasto("ND2", "12,34", ',', 2, 3), ',');  // replaces ",34"
    EXPECT_EQ(tasto("ND2", "12345", '.', 2), '.');     // "12.345"
    EXPECT_EQ(tasto("ND2", "12345", '.', 1), 0);       // "1.2345"
    EXPECT_EQ(tasto("ND2", "1.200,5", '0'), '0');
    EXPECT_EQ(tasto("ND2", "1.200,50", '1'), 0);
    EXPECT_EQ(tasto("ND2", "1.200,50", '1', 2), 0);    // "1.2100,50"
    EXPECT_EQ(filtro_decimale("1", 1, 0, ',', 0), 0);
}

TEST(Filtri, DateAddsTheSlashes) {
    EXPECT_EQ(digita("DATA", "12052020"), "12/05/2020");
    EXPECT_EQ(digita("DATA", "1/5/2020"), "1/5/2020");
    EXPECT_EQ(digita("DATA", "1/052020"), "1/05/2020");
    EXPECT_EQ(digita("DATA", "12/05/20201"), "12/05/2020");  // ten characters at most
    EXPECT_EQ(digita("DATA", "12//05"), "12/05");
    EXPECT_EQ(digita("DATA", "ab-12.0"), "12/0");
    // A "/" never comes before the day's digits.
    EXPECT_EQ(tasto("DATA", "", '/'), 0);
    EXPECT_EQ(tasto("DATA", "12", '/', 0), 0);
    EXPECT_EQ(tasto("DATA", "1/05", '/', 2), 0);

    std::string testo = "12";
    int inizio = 2, lunghezza = 0;
    EXPECT_EQ(filtro_data(testo, inizio, lunghezza, '3'), '3');
    EXPECT_EQ(testo, "12/");
    EXPECT_EQ(inizio, 3);

    // Typed in the middle: no slash added, and nothing that breaks the date.
    testo = "12";
    inizio = 1;
    EXPECT_EQ(filtro_data(testo, inizio, lunghezza, '3'), 0);
    EXPECT_EQ(testo, "12");
    // A selection over the whole text is replaced.
    testo = "gg/mm/aaaa";
    inizio = 0;
    lunghezza = 10;
    EXPECT_EQ(filtro_data(testo, inizio, lunghezza, '1'), '1');
    EXPECT_EQ(testo, "gg/mm/aaaa");
    // Out-of-range selections are clamped, never read past the text.
    testo = "1";
    inizio = 50;
    lunghezza = 7;
    EXPECT_EQ(filtro_data(testo, inizio, lunghezza, '2'), '2');
    EXPECT_EQ(inizio, 1);
    EXPECT_EQ(lunghezza, 0);
}

TEST(Filtri, Time) {
    EXPECT_EQ(digita("ORA", "12:30"), "12:30");
    EXPECT_EQ(digita("ORA", "23:59"), "23:59");
    EXPECT_EQ(digita("ORA", "24"), "2");
    EXPECT_EQ(digita("ORA", "9:75"), "9:5");
    EXPECT_EQ(digita("ORA", "12:345"), "12:34");
    EXPECT_EQ(digita("ORA", ":1"), "1");
}

TEST(Filtri, Telephone) {
    EXPECT_EQ(digita("TEL", "+39 (06) 123-45.67/8"), "+39 (06) 123-45.67/8");
    EXPECT_EQ(digita("TEL", "06abc1"), "061");
}

TEST(Filtri, EmptyOrUnknownClassTakesEveryKey) {
    EXPECT_EQ(tasto("", "x", '@'), '@');
    EXPECT_EQ(tasto("", "x", 0x80), 0x80);
    EXPECT_EQ(tasto("XYZ", "x", '!'), '!');
    EXPECT_EQ(tasto("ND7", "x", '!'), '!');
}

TEST(TestoAmmesso, PastedTextsPerClass) {
    EXPECT_TRUE(testo_ammesso("MA", "Dell'Acqua-Ferr\xE0"));
    EXPECT_FALSE(testo_ammesso("MA", "Rossi2"));
    EXPECT_FALSE(testo_ammesso("MA", "Rossi\r\n"));
    EXPECT_TRUE(testo_ammesso("MANI", "IT60X0542811101000000123456"));
    EXPECT_FALSE(testo_ammesso("MANI", "IT60 X054"));
    EXPECT_FALSE(testo_ammesso("MANI", "RSS-MRA"));
    EXPECT_FALSE(testo_ammesso("MANI", "2/B"));
    EXPECT_TRUE(testo_ammesso("NI", "0123"));
    EXPECT_FALSE(testo_ammesso("NI", "12 3"));
    EXPECT_TRUE(testo_ammesso("PI", "01234567890"));
    EXPECT_FALSE(testo_ammesso("PI", "IT0123"));
    EXPECT_TRUE(testo_ammesso("ND2", "1200,50"));
    EXPECT_TRUE(testo_ammesso("ND2", "1200"));
    EXPECT_FALSE(testo_ammesso("ND2", "1200,505"));
    EXPECT_TRUE(testo_ammesso("ND2", "1.200,50"));
    EXPECT_TRUE(testo_ammesso("ND2", "12.345.678"));
    EXPECT_FALSE(testo_ammesso("ND2", "1.2,50"));
    EXPECT_FALSE(testo_ammesso("ND2", "1200.50"));
    EXPECT_FALSE(testo_ammesso("ND2", ".200"));
    EXPECT_FALSE(testo_ammesso("ND2", "1.200.,5"));
    EXPECT_FALSE(testo_ammesso("ND2", "-5"));
    // What typing leaves on the way is not a finished amount.
    EXPECT_FALSE(testo_ammesso("ND2", "3.5"));
    EXPECT_FALSE(testo_ammesso("ND2", "12.34"));
    EXPECT_FALSE(testo_ammesso("ND2", "125."));
    EXPECT_TRUE(testo_ammesso("DATA", "01/02/2020"));
    EXPECT_TRUE(testo_ammesso("DATA", "1/2"));
    EXPECT_FALSE(testo_ammesso("DATA", "01022020"));
    EXPECT_FALSE(testo_ammesso("DATA", "01/02/20201"));
    EXPECT_FALSE(testo_ammesso("DATA", "gg/mm/aaaa"));
    EXPECT_TRUE(testo_ammesso("ORA", "08:30"));
    EXPECT_FALSE(testo_ammesso("ORA", "25:00"));
    EXPECT_TRUE(testo_ammesso("TEL", "+39 06 1234"));
    EXPECT_FALSE(testo_ammesso("TEL", "06 12x"));
    EXPECT_TRUE(testo_ammesso("", "qualsiasi \x80 cosa\r\n"));
    for (const char* classe : {"MA", "MANI", "NI", "ND2", "DATA", "ORA", "TEL", "PI", ""})
        EXPECT_TRUE(testo_ammesso(classe, "")) << classe;
}

TEST(TestoAmmesso, AgreesWithTheKeystrokeFilters) {
    // A text that typing builds is always a text a paste may bring.
    const std::pair<const char*, const char*> casi[] = {
        {"MA", "D'Ang\xE8lo x9"}, {"MANI", "Via 1 /2"}, {"NI", "1a2"},        {"ND3", "1.2345"},
        {"DATA", "31122020"},    {"ORA", "0959"},      {"TEL", "+39 06/1"}, {"PI", "IT123"},
    };
    for (const auto& [classe, tasti] : casi) {
        const std::string risultato = digita(classe, tasti);
        EXPECT_TRUE(testo_ammesso(classe, risultato)) << classe << " " << risultato;
    }
}

}  // namespace
