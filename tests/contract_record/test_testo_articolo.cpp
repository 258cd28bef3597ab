#include "contract_record/testo_articolo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the data store hands back: every value trimmed of blanks.
std::array<std::string, 4> come_riletti(std::array<std::string, 4> pezzi) {
    for (auto& p : pezzi) {
        auto a = p.find_first_not_of(' ');
        if (a == std::string::npos) {
            p.clear();
            continue;
        }
        auto b = p.find_last_not_of(' ');
        p = p.substr(a, b - a + 1);
    }
    return pezzi;
}

std::string andata_e_ritorno(const std::string& corpo) {
    return unisci_testo_articolo(come_riletti(dividi_testo_articolo(corpo)));
}

}  // namespace

TEST(TestoArticolo, ShortBodiesSurviveWithPipesAccentsAndLineBreaks) {
    const std::string corpo = "Il prezzo \xE8 fisso | salvo \x80 1.000\r\nseconda riga\r\n\r\nfine";
    auto pezzi = dividi_testo_articolo(corpo);
    EXPECT_EQ(pezzi[0], corpo);
    EXPECT_TRUE(pezzi[1].empty() && pezzi[2].empty() && pezzi[3].empty());
    EXPECT_EQ(andata_e_ritorno(corpo), corpo);
    EXPECT_TRUE(testo_articolo_memorizzabile(corpo));

    auto vuoto = dividi_testo_articolo("");
    for (const auto& p : vuoto) EXPECT_TRUE(p.empty());
    EXPECT_EQ(unisci_testo_articolo(vuoto), "");
}

TEST(TestoArticolo, LoneLineBreaksBecomeCrLf) {
    EXPECT_EQ(a_capo_crlf("a\nb\rc\r\nd\n\n"), "a\r\nb\r\nc\r\nd\r\n\r\n");
    EXPECT_EQ(andata_e_ritorno("uno\ndue"), "uno\r\ndue");
}

TEST(TestoArticolo, ABlankAtEveryPositionNearTheCutsSurvives) {
    // Bodies of 1,000 bytes with one blank moved across every position of
    // the first two boundaries, and one with blanks in pairs.
    for (std::size_t i = 240; i < 530; ++i) {
        std::string corpo(1000, 'x');
        for (std::size_t j = 0; j < corpo.size(); ++j) corpo[j] = static_cast<char>('a' + j % 26);
        corpo[i] = ' ';
        corpo[i + 1 < 999 ? i + 1 : i] = (i % 2) ? ' ' : corpo[i + 1];
        ASSERT_TRUE(testo_articolo_memorizzabile(corpo)) << i;
        auto pezzi = dividi_testo_articolo(corpo);
        for (const auto& p : pezzi) {
            ASSERT_LE(p.size(), lunghezza_pezzo_articolo);
            if (!p.empty()) {
                ASSERT_NE(p.front(), ' ') << i;
                ASSERT_NE(p.back(), ' ') << i;
            }
        }
        ASSERT_EQ(andata_e_ritorno(corpo), corpo) << i;
    }
}

TEST(TestoArticolo, WordsAreCutInsideRatherThanAtBlanks) {
    std::string corpo;
    while (corpo.size() < 900) corpo += "parola ";
    corpo += "fine";
    auto pezzi = dividi_testo_articolo(corpo);
    EXPECT_EQ(pezzi[0].size(), 255u);  // the cut falls inside a word
    EXPECT_EQ(andata_e_ritorno(corpo), corpo);
}

TEST(TestoArticolo, LimitsOfTheFourPieces) {
    const std::string pieno(lunghezza_massima_articolo, 'z');
    EXPECT_TRUE(testo_articolo_memorizzabile(pieno));
    EXPECT_EQ(andata_e_ritorno(pieno), pieno);

    // One byte more does not fit: the check says so, the split keeps 1,020.
    const std::string troppo = pieno + "z";
    EXPECT_FALSE(testo_articolo_memorizzabile(troppo));
    EXPECT_EQ(andata_e_ritorno(troppo), pieno);

    // A full body whose boundary falls on a blank cannot keep every byte.
    std::string sfortunato = pieno;
    sfortunato[255] = ' ';
    EXPECT_FALSE(testo_articolo_memorizzabile(sfortunato));

    // A run of blanks longer than a piece has no sound cut.
    std::string buco = "a" + std::string(300, ' ') + "b";
    EXPECT_FALSE(testo_articolo_memorizzabile(buco));
    EXPECT_TRUE(testo_articolo_memorizzabile("a" + std::string(200, ' ') + "b"));
}

TEST(TestoArticolo, JoinSkipsEmptyPiecesAndBlanksAtTheEndsAreNotKept) {
    EXPECT_EQ(unisci_testo_articolo({"primo", "", "", "quarto"}), "primoquarto");
    EXPECT_EQ(andata_e_ritorno("  testo  "), "testo");
    EXPECT_TRUE(testo_articolo_memorizzabile("  testo  "));
}
