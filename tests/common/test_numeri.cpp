#include <gtest/gtest.h>

#include "common/numeri.h"

namespace {

std::string formatta(std::string numero, int decimali = 2, std::string_view migliaia = "",
                     std::string_view punto = "") {
    return formatta_numero(numero, decimali, migliaia, punto);
}

TEST(ValoreNumerico, NumbersAsTyped) {
    EXPECT_DOUBLE_EQ(*valore_numerico("1200,5"), 1200.5);
    EXPECT_DOUBLE_EQ(*valore_numerico("1.234.567,89"), 1234567.89);
    EXPECT_DOUBLE_EQ(*valore_numerico(" 12 "), 12.0);
    EXPECT_DOUBLE_EQ(*valore_numerico(",5"), 0.5);
    EXPECT_DOUBLE_EQ(*valore_numerico("7,"), 7.0);
    EXPECT_DOUBLE_EQ(*valore_numerico("-3,25"), -3.25);
    EXPECT_DOUBLE_EQ(*valore_numerico("1.000"), 1000.0);
    EXPECT_DOUBLE_EQ(*valore_numerico("0"), 0.0);
}

TEST(ValoreNumerico, TextsThatAreNotNumbers) {
    for (const char* t : {"", " ", ",", "abc", "-", "+", ".", "1,2,3", "1.5", "1.23", "12.3456", "1234.567",
                          ".123", "1..000", "1.000.", "1 000", "12a", "1,5a", "1e5", "0x10", "--1", "1,-5",
                          "inf", "nan"})
        EXPECT_FALSE(valore_numerico(t).has_value()) << '"' << t << '"';
}

TEST(FormattaNumero, RoundsAndHandsBackTheRoundedValue) {
    std::string numero = "1200,5";
    EXPECT_EQ(formatta_numero(numero, 2, "S"), "1.200,50");
    EXPECT_EQ(numero, "1200,50");

    numero = "1.234.567,891";
    EXPECT_EQ(formatta_numero(numero, 2, "S"), "1.234.567,89");
    EXPECT_EQ(numero, "1234567,89");

    numero = "abc";
    EXPECT_EQ(formatta_numero(numero), "0,00");
    EXPECT_EQ(numero, "abc");

    numero = "";
    EXPECT_EQ(formatta_numero(numero, 3), "0,000");
    EXPECT_EQ(numero, "");
}

TEST(FormattaNumero, HalfAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(formatta("0,005"), "0,01");
    EXPECT_EQ(formatta("0,015"), "0,02");
    EXPECT_EQ(formatta("1,005"), "1,01");  // 1.005 is below 1.005 in binary
    EXPECT_EQ(formatta("2,675"), "2,68");
    EXPECT_EQ(formatta("0,004999"), "0,00");
    EXPECT_EQ(formatta("-0,005"), "-0,01");
    EXPECT_EQ(formatta("-0,004"), "0,00");  // no "-0,00"
    EXPECT_EQ(formatta("999,995", 2, "S"), "1.000,00");
    EXPECT_EQ(formatta("9,5", 0), "10");
    EXPECT_EQ(formatta("0,45", 1), "0,5");
}

TEST(FormattaNumero, SeparatorsAndGrouping) {
    EXPECT_EQ(formatta("1234567,5"), "1234567,50");
    EXPECT_EQ(formatta("1234567,5", 2, "S"), "1.234.567,50");
    EXPECT_EQ(formatta("1234567,5", 2, "", "S"), "1234567.50");
    EXPECT_EQ(formatta("1234567,5", 2, "S", "S"), "1234567.50");  // both: no grouping
    EXPECT_EQ(formatta("123", 2, "S"), "123,00");
    EXPECT_EQ(formatta("123456", 2, "S"), "123.456,00");
    EXPECT_EQ(formatta("-1234", 2, "S"), "-1.234,00");
    EXPECT_EQ(formatta("007,1"), "7,10");
    EXPECT_EQ(formatta(",5"), "0,50");
    EXPECT_EQ(formatta("1,23456", 4), "1,2346");
    EXPECT_EQ(formatta("12", 0, "S"), "12");
    EXPECT_EQ(formatta("12", -3), "12");
}

TEST(NumeroInLettere, ItalianWordsJoinedWithoutBlanks) {
    const std::pair<const char*, std::string> attesi[] = {
        {"0", "Zero"},
        {"1", "uno"},
        {"3", "tre"},
        {"13", "tredici"},
        {"17", "diciassette"},
        {"21", "ventuno"},
        {"23", "ventitr\xE9"},
        {"28", "ventotto"},
        {"33", "trentatr\xE9"},
        {"80", "ottanta"},
        {"99", "novantanove"},
        {"100", "cento"},
        {"101", "centouno"},
        {"103", "centotr\xE9"},
        {"108", "centotto"},
        {"123", "centoventitr\xE9"},
        {"180", "centottanta"},
        {"188", "centottantotto"},
        {"200", "duecento"},
        {"1000", "mille"},
        {"1003", "milletr\xE9"},
        {"1200", "milleduecento"},
        {"2000", "duemila"},
        {"3000", "tremila"},
        {"21000", "ventunomila"},
        {"23000", "ventitremila"},
        {"100000", "centomila"},
        {"1000000", "unmilione"},
        {"1001000", "unmilionemille"},
        {"2000000", "duemilioni"},
        {"1000000000", "unmiliardo"},
        {"2000000001", "duemiliardiuno"},
        {"1234567", "unmilioneduecentotrentaquattromilacinquecentosessantasette"},
        {"1000000000000", "millemiliardi"},
    };
    for (const auto& [numero, parole] : attesi) EXPECT_EQ(numero_in_lettere(numero), parole) << numero;
}

TEST(NumeroInLettere, WholePartOnlyAndNonNumbers) {
    EXPECT_EQ(numero_in_lettere("12,99"), "dodici");
    EXPECT_EQ(numero_in_lettere("1.200"), "milleduecento");
    EXPECT_EQ(numero_in_lettere("-5"), "menocinque");
    EXPECT_EQ(numero_in_lettere("-0,5"), "Zero");
    EXPECT_EQ(numero_in_lettere(""), "");
    EXPECT_EQ(numero_in_lettere("  "), "");
    EXPECT_EQ(numero_in_lettere(","), "");
    EXPECT_EQ(numero_in_lettere("abc"), "");
    EXPECT_EQ(numero_in_lettere(std::string(400, '9')), "");  // too long to spell, no crash
    EXPECT_FALSE(numero_in_lettere(std::string(200, '9')).empty());
}

TEST(ImportoInLettere, WordsSlashCents) {
    EXPECT_EQ(importo_in_lettere("1200,50"), "milleduecento/50");
    EXPECT_EQ(importo_in_lettere("1.234.567,89"), "unmilioneduecentotrentaquattromilacinquecentosessantasette/89");
    EXPECT_EQ(importo_in_lettere("21"), "ventuno/00");
    EXPECT_EQ(importo_in_lettere("0,5"), "Zero/50");
    EXPECT_EQ(importo_in_lettere("0,005"), "Zero/01");
    EXPECT_EQ(importo_in_lettere("0,995"), "uno/00");  // rounded before splitting
    EXPECT_EQ(importo_in_lettere("1999,999"), "duemila/00");
    EXPECT_EQ(importo_in_lettere(""), "");
    EXPECT_EQ(importo_in_lettere("   "), "");
    EXPECT_EQ(importo_in_lettere(","), "");
    EXPECT_EQ(importo_in_lettere("abc"), "");
}

TEST(ImportoInLettere, TheFormattedValueFlowsIntoTheWords) {
    std::string importo = "1200,5";
    EXPECT_EQ(formatta_numero(importo, 2, "S"), "1.200,50");
    EXPECT_EQ(importo_in_lettere(importo), "milleduecento/50");

    importo = "10,999";
    EXPECT_EQ(formatta_numero(importo, 2, "S"), "11,00");
    EXPECT_EQ(importo_in_lettere(importo), "undici/00");
}

}  // namespace
