#include <gtest/gtest.h>

#include "common/date.h"
#include "common/numeri.h"

namespace {

TEST(DataPerArchivio, DisplayedDatesBecomeEightDigits) {
    EXPECT_EQ(data_per_archivio("1/2/2020"), "20200201");
    EXPECT_EQ(data_per_archivio("31/12/1999"), "19991231");
    EXPECT_EQ(data_per_archivio("05/07/0020"), "00200705");
}

TEST(DataPerArchivio, PlaceholderAndEmptyBoxGiveNoDate) {
    EXPECT_EQ(data_per_archivio("gg/mm/aaaa"), "aaaammgg");
    EXPECT_FALSE(valore_numerico(data_per_archivio("gg/mm/aaaa")).has_value());
    EXPECT_EQ(data_per_archivio(""), "000000");
    EXPECT_EQ(data_per_archivio("12345"), "000000");
    EXPECT_EQ(data_per_archivio("7/"), "00000007");
    EXPECT_EQ(data_per_archivio("//"), "");
}

TEST(ControllaData, ValidAndInvalidDates) {
    EXPECT_EQ(controlla_data("20200201"), 0);
    EXPECT_EQ(controlla_data("20200431"), 1);  // 31 April
    EXPECT_EQ(controlla_data("20201301"), 2);  // month 13
    EXPECT_EQ(controlla_data("20200001"), 2);
    EXPECT_EQ(controlla_data("20200100"), 1);  // day 0
    EXPECT_EQ(controlla_data("20200132"), 1);
    EXPECT_EQ(controlla_data("17991231"), 1);
    EXPECT_EQ(controlla_data("21010101"), 1);
    EXPECT_EQ(controlla_data("aaaammgg"), 1);
    EXPECT_EQ(controlla_data(""), 1);
    EXPECT_EQ(controlla_data("000000"), 1);
    EXPECT_EQ(controlla_data("2020"), 0);  // month and day blank
    EXPECT_EQ(controlla_data("202002"), 0);
}

TEST(ControllaData, TwentyNinthOfFebruaryFollowsTheGregorianRule) {
    EXPECT_EQ(controlla_data("20000229"), 0);
    EXPECT_EQ(controlla_data("19000229"), 1);
    EXPECT_EQ(controlla_data("21000229"), 1);
    EXPECT_EQ(controlla_data("18000229"), 1);
    EXPECT_EQ(controlla_data("20240229"), 0);
    EXPECT_EQ(controlla_data("20230229"), 1);
    EXPECT_EQ(controlla_data("20230228"), 0);
}

TEST(DataDaArchivio, StoredDatesAreShownDayFirst) {
    EXPECT_EQ(data_da_archivio("20200201"), "01/02/2020");
    EXPECT_EQ(data_da_archivio("202002011230"), "01/02/2020 12:30");
    EXPECT_EQ(data_da_archivio("2020020112"), "01/02/2020 12:");
    EXPECT_EQ(data_da_archivio("2020020112301"), "01/02/2020");  // longer than 12: no time
    EXPECT_EQ(data_da_archivio("2020"), "//2020");  // not validated
    EXPECT_EQ(data_da_archivio(""), "");
    EXPECT_EQ(data_da_archivio("   "), "");
    EXPECT_EQ(data_da_archivio("0"), "");
    EXPECT_EQ(data_da_archivio("000000"), "");
}

TEST(DataAmmessa, OnlyEmptyPlaceholderOrRealDates) {
    EXPECT_TRUE(data_ammessa(""));
    EXPECT_TRUE(data_ammessa("gg/mm/aaaa"));
    EXPECT_TRUE(data_ammessa("1/2/2020"));
    EXPECT_TRUE(data_ammessa("01/02/2020"));
    EXPECT_TRUE(data_ammessa("29/02/2000"));
    EXPECT_TRUE(data_ammessa("31/12/2100"));
    EXPECT_TRUE(data_ammessa("1/1/1800"));
    EXPECT_FALSE(data_ammessa("29/02/1900"));
    EXPECT_FALSE(data_ammessa("31/04/2020"));
    EXPECT_FALSE(data_ammessa("1/1/1799"));
    EXPECT_FALSE(data_ammessa("1/1/2101"));
    EXPECT_FALSE(data_ammessa("0/1/2020"));
    EXPECT_FALSE(data_ammessa("1/13/2020"));
    EXPECT_FALSE(data_ammessa("1/2/20"));
    EXPECT_FALSE(data_ammessa("001/2/2020"));
    EXPECT_FALSE(data_ammessa(" 1/2/2020"));
    EXPECT_FALSE(data_ammessa("1/2/2020 "));
    EXPECT_FALSE(data_ammessa("GG/MM/AAAA"));
    EXPECT_FALSE(data_ammessa("gg/02/2020"));
    EXPECT_FALSE(data_ammessa("1/2/2020/"));
    EXPECT_FALSE(data_ammessa("1-2-2020"));
    EXPECT_FALSE(data_ammessa("+1/2/2020"));
    EXPECT_FALSE(data_ammessa("   "));
}

// Every month's last day, typed in a box and as stored: accepted, and the
// day after refused.
TEST(DataAmmessa, LastDayOfEveryMonthTypedAndStored) {
    const struct {
        int mese, anno, ultimo;
    } mesi[] = {{1, 2023, 31}, {2, 2023, 28}, {2, 2024, 29}, {3, 2023, 31},  {4, 2023, 30},  {5, 2023, 31},
                {6, 2023, 30}, {7, 2023, 31}, {8, 2023, 31}, {9, 2023, 30}, {10, 2023, 31}, {11, 2023, 30},
                {12, 2023, 31}};
    for (const auto& m : mesi) {
        for (const int giorno : {m.ultimo, m.ultimo + 1}) {
            const std::string digitata =
                std::to_string(giorno) + "/" + std::to_string(m.mese) + "/" + std::to_string(m.anno);
            const bool esiste = giorno == m.ultimo;
            EXPECT_EQ(data_ammessa(digitata), esiste) << digitata;
            EXPECT_EQ(controlla_data(data_per_archivio(digitata)), esiste ? 0 : 1) << digitata;
        }
    }
}

TEST(DataAmmessa, AgreesWithTheStoredCheck) {
    // Every date the save accepts is stored as a date the other checks accept.
    for (const char* d : {"1/2/2020", "29/02/2000", "31/12/2100", "1/1/1800"}) {
        ASSERT_TRUE(data_ammessa(d));
        EXPECT_EQ(controlla_data(data_per_archivio(d)), 0) << d;
    }
}

}  // namespace
