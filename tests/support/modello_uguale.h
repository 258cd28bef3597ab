// The whole contract form compared control by control, for the tests that
// save a form and read it back (the record load and the Qt form).
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "contract_record/modello_contratto.h"

namespace testsupport {

// Every control of `letto` as in `atteso`: texts and whether they are open,
// combo selections and texts, boxes, options.
inline void expect_stesso_modello(const ModelloContratto& letto, const ModelloContratto& atteso) {
    for (std::size_t i = 0; i < atteso.text1.size(); ++i) {
        EXPECT_EQ(letto.text1[i].testo, atteso.text1[i].testo) << "Text1(" << i << ")";
        EXPECT_EQ(letto.text1[i].abilitata, atteso.text1[i].abilitata) << "Text1(" << i << ")";
    }
    auto stessa_combo = [](const StatoCombo& l, const StatoCombo& a, const std::string& nome) {
        EXPECT_EQ(l.testo, a.testo) << nome;
        EXPECT_EQ(l.indice, a.indice) << nome;
    };
    stessa_combo(letto.combo1, atteso.combo1, "Combo1");
    stessa_combo(letto.combo3, atteso.combo3, "Combo3");
    for (std::size_t i = 0; i < atteso.combo2.size(); ++i)
        stessa_combo(letto.combo2[i], atteso.combo2[i], "Combo2(" + std::to_string(i) + ")");
    EXPECT_EQ(letto.check1.valore, atteso.check1.valore);
    for (std::size_t i = 0; i < atteso.check2.size(); ++i) {
        EXPECT_EQ(letto.check2[i].valore, atteso.check2[i].valore) << "Check2(" << i << ")";
        EXPECT_EQ(letto.check2[i].abilitata, atteso.check2[i].abilitata) << "Check2(" << i << ")";
    }
    for (std::size_t i = 0; i < atteso.check3.size(); ++i)
        EXPECT_EQ(letto.check3[i].valore, atteso.check3[i].valore) << "Check3(" << i << ")";
    EXPECT_EQ(letto.option1, atteso.option1);
    EXPECT_EQ(letto.option3, atteso.option3);
}

}  // namespace testsupport
