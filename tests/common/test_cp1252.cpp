#include <gtest/gtest.h>

#include "common/cp1252.h"

namespace {

std::string byte(std::initializer_list<unsigned char> b) { return std::string(b.begin(), b.end()); }

TEST(Cp1252, TheDefinedBytesOf0x80To0x9FRoundTrip) {
    const std::pair<unsigned char, char32_t> attesi[] = {
        {0x80, U'€'}, {0x82, U'‚'}, {0x83, U'ƒ'}, {0x84, U'„'}, {0x85, U'…'}, {0x86, U'†'},
        {0x87, U'‡'}, {0x88, U'ˆ'}, {0x89, U'‰'}, {0x8A, U'Š'}, {0x8B, U'‹'}, {0x8C, U'Œ'},
        {0x8E, U'Ž'}, {0x91, U'‘'}, {0x92, U'’'}, {0x93, U'“'}, {0x94, U'”'}, {0x95, U'•'},
        {0x96, U'–'}, {0x97, U'—'}, {0x98, U'˜'}, {0x99, U'™'}, {0x9A, U'š'}, {0x9B, U'›'},
        {0x9C, U'œ'}, {0x9E, U'ž'}, {0x9F, U'Ÿ'},
    };
    for (const auto& [b, c] : attesi) {
        EXPECT_EQ(cp1252_a_unicode(b), c) << std::hex << int(b);
        ASSERT_TRUE(unicode_a_cp1252(c).has_value()) << std::hex << int(b);
        EXPECT_EQ(*unicode_a_cp1252(c), b);
    }
    EXPECT_EQ(cp1252_a_utf8(byte({0x80, 0x93, 'x', 0x94})), "€“x”");
    EXPECT_EQ(utf8_a_cp1252("€ “Œ” — Ÿ"), byte({0x80, ' ', 0x93, 0x8C, 0x94, ' ', 0x97, ' ', 0x9F}));
}

TEST(Cp1252, UndefinedBytesMapToC1ControlsAndSurviveTheRoundTrip) {
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(cp1252_a_unicode(b), static_cast<char32_t>(b));
        ASSERT_TRUE(unicode_a_cp1252(b).has_value());
        EXPECT_EQ(*unicode_a_cp1252(b), b);
    }
    // The other C1 controls belong to characters of the code page and are
    // not in it themselves.
    EXPECT_FALSE(unicode_a_cp1252(0x80).has_value());
    EXPECT_FALSE(unicode_a_cp1252(0x9F).has_value());
}

TEST(Cp1252, EveryByteStringRoundTripsThroughUtf8) {
    std::string tutti;
    for (int b = 0; b < 256; ++b) tutti += static_cast<char>(b);
    const auto indietro = utf8_a_cp1252(cp1252_a_utf8(tutti));
    ASSERT_TRUE(indietro.has_value());
    EXPECT_EQ(*indietro, tutti);
    // Every byte maps to a different character.
    for (int a = 0; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b)
            ASSERT_NE(cp1252_a_unicode(static_cast<unsigned char>(a)), cp1252_a_unicode(static_cast<unsigned char>(b)));
}

TEST(Cp1252, Latin1RangeIsIdentity) {
    EXPECT_EQ(utf8_a_cp1252("àèéìòù ÀÉ ß ÿ °"), byte({0xE0, 0xE8, 0xE9, 0xEC, 0xF2, 0xF9, ' ', 0xC0, 0xC9, ' ', 0xDF, ' ', 0xFF, ' ', 0xB0}));
    EXPECT_EQ(cp1252_a_utf8(byte({'L', 0x27, 0xE0, 0x00, 'z'})), std::string("L'à\0z", 6));
}

TEST(Cp1252, CharactersOutsideTheCodePageAreReportedNotReplaced) {
    EXPECT_FALSE(unicode_a_cp1252(U'Ā').has_value());
    EXPECT_FALSE(unicode_a_cp1252(U'€' + 1).has_value());
    EXPECT_FALSE(unicode_a_cp1252(0x1F600).has_value());
    EXPECT_FALSE(utf8_a_cp1252("prezzo 5 ₽").has_value());
    EXPECT_FALSE(utf8_a_cp1252("città 😀").has_value());
    EXPECT_FALSE(utf8_a_cp1252("Łódź").has_value());
}

TEST(Cp1252, MalformedUtf8IsRefused) {
    EXPECT_FALSE(utf8_a_cp1252(byte({0xE9})).has_value());              // a Latin-1 byte
    EXPECT_FALSE(utf8_a_cp1252(byte({0xC3})).has_value());              // cut short
    EXPECT_FALSE(utf8_a_cp1252(byte({0xC0, 0xA0})).has_value());        // overlong
    EXPECT_FALSE(utf8_a_cp1252(byte({0xE0, 0x80, 0xA0})).has_value());  // overlong
    EXPECT_FALSE(utf8_a_cp1252(byte({0xED, 0xA0, 0x80})).has_value());  // surrogate
    EXPECT_FALSE(utf8_a_cp1252(byte({0xE2, 0x82})).has_value());        // cut short
    EXPECT_EQ(utf8_a_cp1252(""), std::string());
}

TEST(Cp1252, UpperAndLowerCaseAreByteWise) {
    EXPECT_EQ(maiuscolo(byte({'a', 'z', 0xE0, 0xE9, 0xF9, 0x9A, 0x9C, 0x9E, 0xFF, 0xDF, 0xB5, 0xF7, '_', '1'})),
              byte({'A', 'Z', 0xC0, 0xC9, 0xD9, 0x8A, 0x8C, 0x8E, 0x9F, 0xDF, 0xB5, 0xF7, '_', '1'}));
    EXPECT_EQ(minuscolo(byte({'A', 0xC0, 0xC9, 0x8A, 0x9F, 0xD7})), byte({'a', 0xE0, 0xE9, 0x9A, 0xFF, 0xD7}));
    EXPECT_EQ(maiuscolo("nome_richiedente"), "NOME_RICHIEDENTE");
}

TEST(Cp1252, TrimRemovesBlanksOnly) {
    EXPECT_EQ(togli_spazi("  a b  "), "a b");
    EXPECT_EQ(togli_spazi("     "), "");
    EXPECT_EQ(togli_spazi(""), "");
    EXPECT_EQ(togli_spazi("\ta\t"), "\ta\t");
    EXPECT_EQ(togli_spazi(std::string_view("\0x ", 3)), std::string("\0x", 2));
}

}  // namespace
