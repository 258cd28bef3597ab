// Arbitrary input through every routine that takes text from the user or
// from the data file: nothing may crash or read out of bounds (the sanitizers
// watch), and the few invariants that hold for any input must hold.
#include <gtest/gtest.h>

#include <random>

#include "common/cp1252.h"
#include "common/date.h"
#include "common/filtri.h"
#include "common/numeri.h"

namespace {

std::string testo_a_caso(std::mt19937& gen) {
    static const std::string alfabeto = "0123456789,./:- +ag\x80\xE9";
    std::uniform_int_distribution<int> lunghezza(0, 14);
    std::uniform_int_distribution<int> tipo(0, 9);
    std::uniform_int_distribution<int> indice(0, static_cast<int>(alfabeto.size()) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string t;
    const int n = lunghezza(gen);
    for (int i = 0; i < n; ++i)
        t += tipo(gen) == 0 ? static_cast<char>(byte(gen)) : alfabeto[static_cast<std::size_t>(indice(gen))];
    return t;
}

TEST(Robustezza, NumbersAndDatesOnArbitraryText) {
    std::mt19937 gen(12345);
    for (int i = 0; i < 20000; ++i) {
        const std::string t = testo_a_caso(gen);
        const auto valore = valore_numerico(t);
        std::string numero = t;
        const std::string formattato = formatta_numero(numero, 2, "S");
        ASSERT_FALSE(formattato.empty());
        if (valore) {
            // The rounded value handed back reads as a number again and is stable.
            ASSERT_TRUE(valore_numerico(numero).has_value()) << t;
            std::string ancora = numero;
            ASSERT_EQ(formatta_numero(ancora, 2, "S"), formattato) << t;
            ASSERT_EQ(ancora, numero) << t;
            ASSERT_FALSE(importo_in_lettere(t).empty()) << t;
            ASSERT_FALSE(numero_in_lettere(t).empty()) << t;
        } else {
            ASSERT_EQ(numero, t);
            ASSERT_EQ(formattato, "0,00");
            ASSERT_EQ(importo_in_lettere(t), "");
            ASSERT_EQ(numero_in_lettere(t), "");
        }
        const int esito = controlla_data(t);
        ASSERT_TRUE(esito >= 0 && esito <= 2);
        data_per_archivio(t);
        data_da_archivio(t);
        if (data_ammessa(t) && !t.empty() && t != "gg/mm/aaaa") {
            ASSERT_EQ(controlla_data(data_per_archivio(t)), 0) << t;
        }
    }
}

TEST(Robustezza, FiltersOnArbitraryBoxes) {
    std::mt19937 gen(54321);
    std::uniform_int_distribution<int> tasto(-3, 260);
    std::uniform_int_distribution<int> posizione(-3, 20);
    const char* classi[] = {"MA", "MANI", "NI", "ND1", "ND2", "ND6", "DATA", "ORA", "TEL", "PI", "", "ND0", "ND"};
    for (int i = 0; i < 20000; ++i) {
        std::string testo = testo_a_caso(gen);
        int inizio = posizione(gen);
        int lunghezza = posizione(gen);
        const char* classe = classi[static_cast<std::size_t>(i) % std::size(classi)];
        const int k = tasto(gen);
        const int esito = filtra_tasto(classe, testo, inizio, lunghezza, k);
        ASSERT_TRUE(esito == 0 || esito == k || (k == '.' && esito == ','));
        testo_ammesso(classe, testo);
    }
}

TEST(Robustezza, CodecOnArbitraryBytes) {
    std::mt19937 gen(777);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 5000; ++i) {
        std::string t(static_cast<std::size_t>(i % 17), '\0');
        for (char& c : t) c = static_cast<char>(byte(gen));
        ASSERT_EQ(utf8_a_cp1252(cp1252_a_utf8(t)), t);
        utf8_a_cp1252(t);  // arbitrary bytes read as UTF-8: refused or converted, never a crash
        ASSERT_EQ(maiuscolo(t).size(), t.size());
    }
}

}  // namespace
