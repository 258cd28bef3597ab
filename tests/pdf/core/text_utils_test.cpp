#include <gtest/gtest.h>

#include "pdf/core/text_utils.h"

using namespace std::string_literals;

TEST(CoreTextUtils, EscapeString) {
    EXPECT_EQ(pdf::escape_string("a(b)c\\d"), "a\\(b\\)c\\\\d");
    EXPECT_EQ(pdf::escape_string("x\r\ny"), "x\\r\\ny");
    const std::string raw = "\t\0\xE0\xFF"s;
    EXPECT_EQ(pdf::escape_string(raw), raw);
    EXPECT_EQ(pdf::escape_string(")("), "\\)\\(");
    EXPECT_EQ(pdf::escape_string(""), "");
    // Long texts are scanned in blocks: every byte value at every place of
    // two blocks and a tail, one byte at a time as the reference.
    for (int c = 0; c < 256; ++c) {
        for (std::size_t at = 0; at < 37; ++at) {
            std::string text(37, 'a');
            text[at] = static_cast<char>(c);
            text[(at + 17) % text.size()] = '(';
            std::string expected;
            for (char b : text) {
                if (b == '\\' || b == '(' || b == ')') expected += '\\';
                expected += b == '\r' ? "\\r" : b == '\n' ? "\\n" : std::string(1, b);
            }
            ASSERT_EQ(pdf::escape_string(text), expected) << "byte " << c << " at " << at;
        }
    }
}

TEST(CoreTextUtils, ReplaceText) {
    EXPECT_EQ(pdf::replace_text("aaa", "aa", "b"), "ba");
    EXPECT_EQ(pdf::replace_text("aXaXa", "a", "b", 3), "aXbXb");
    EXPECT_EQ(pdf::replace_text("abc", "", "x"), "abc");
    EXPECT_EQ(pdf::replace_text("abc", "b", "x", 1, 0), "abc");
    EXPECT_EQ(pdf::replace_text("ababab", "ab", "xyz", 1, 2), "xyzxyzab");
    EXPECT_EQ(pdf::replace_text("a,b,c", ",", ""), "abc");
    EXPECT_EQ(pdf::replace_text("abc", "c", "x", 10), "abc");
}

TEST(CoreTextUtils, SplitText) {
    using V = std::vector<std::string>;
    EXPECT_EQ(pdf::split_text("", ","), V{""});
    EXPECT_EQ(pdf::split_text("abc", ","), V{"abc"});
    EXPECT_EQ(pdf::split_text("abc", ""), V{"abc"});
    EXPECT_EQ(pdf::split_text("a,b,", ","), (V{"a", "b", ""}));
    EXPECT_EQ(pdf::split_text(",", ","), (V{"", ""}));
    EXPECT_EQ(pdf::split_text("x\r\n\r\ny", "\r\n"), (V{"x", "", "y"}));
    EXPECT_EQ(pdf::split_text("a   b", "  "), (V{"a", " b"}));
}

TEST(CoreTextUtils, LeadingNumber) {
    EXPECT_DOUBLE_EQ(pdf::leading_number(" 12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(pdf::leading_number("-3"), -3.0);
    EXPECT_DOUBLE_EQ(pdf::leading_number("1 2"), 12.0);
    EXPECT_DOUBLE_EQ(pdf::leading_number("abc"), 0.0);
    EXPECT_DOUBLE_EQ(pdf::leading_number(""), 0.0);
    EXPECT_DOUBLE_EQ(pdf::leading_number("."), 0.0);
    EXPECT_DOUBLE_EQ(pdf::leading_number("1e2x"), 100.0);
    EXPECT_DOUBLE_EQ(pdf::leading_number("1e400"), 0.0);
}

TEST(CoreTextUtils, TextStringsTurnToUtf16OnlyWhenReadersWouldMisreadThem) {
    EXPECT_EQ(pdf::pdf_text_bytes("Citt\xE0 (bozza)"), "Citt\xE0 (bozza)");
    EXPECT_EQ(pdf::pdf_text_bytes(""), "");
    // Euro sign, en dash, no-break space, soft hyphen.
    EXPECT_EQ(pdf::pdf_text_bytes("\x80"), std::string("\xFE\xFF\x20\xAC", 4));
    EXPECT_EQ(pdf::pdf_text_bytes("a\x96"), std::string("\xFE\xFF\x00\x61\x20\x13", 6));
    EXPECT_EQ(pdf::pdf_text_bytes("\xA0"), std::string("\xFE\xFF\x00\xA0", 4));
    EXPECT_EQ(pdf::pdf_text_bytes("\xAD\xE0"), std::string("\xFE\xFF\x00\xAD\x00\xE0", 6));
}
