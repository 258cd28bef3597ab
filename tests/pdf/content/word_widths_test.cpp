// The one-pass word measure of the text box layout against text_length,
// which measures a text on its own: the same width for every word, bit for
// bit, whatever the scale, and also after the scale changes and back.
#include "pdf/content/word_widths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/content/text_box_layout.h"

namespace {

std::vector<std::string_view> split_at_blanks(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t from = 0;;) {
        const std::size_t blank = text.find(' ', from);
        words.push_back(text.substr(from, blank == std::string_view::npos ? blank : blank - from));
        if (blank == std::string_view::npos) return words;
        from = blank + 1;
    }
}

TEST(WordWidths, EachWordMeasuresAsItsOwnText) {
    pdf::GlyphWidths widths{};
    for (int c = 0; c < 256; ++c) widths[static_cast<std::size_t>(c)] = static_cast<std::int16_t>((c * 37) % 1013);
    widths['W'] = 32767;  // long words of it need the float sum
    // Each scale after the first changes what a word measures; the second
    // and third change only the scaling and only the unit.
    const std::vector<pdf::TextScale> scales = {
        {12, 0, 0, 100, 1},
        {12, 0, 0, 80, 1},
        {12, 0, 0, 80, 2.834646f},
        {10.5f, 0, 0.3f, 100, 28.346457f},  // character spacing: the byte count counts
        {11, 2.5f, 0, 80, 2.834646f},
        {9, 0, -0.0f, 133, 1},
        {12, 0, 0, 100, 1},  // the first again, after others
    };
    const std::string long_word(600, 'W');
    const std::vector<std::string> texts = {
        "Il presente contratto ha per oggetto l'esecuzione dei lavori",
        "  blanks  at both ends and  doubled ",
        "\xe0 citt\xe0 perch\xe9 cos\xec \x80 " + long_word + " fine",
        "12345678 abcdefg abcdefgh a",
        "!! B",  // the same sum in two bytes and in one
        "",
        " ",
        std::string(511, 'W') + " " + std::string(512, 'W'),
    };
    pdf::MeasuredWords measured;
    for (const pdf::TextScale& scale : scales) {
        for (const std::string& text : texts) {
            pdf::measure_words(&widths, scale, text, measured);
            const auto expected = split_at_blanks(text);
            ASSERT_EQ(measured.words, expected) << text;
            ASSERT_EQ(measured.widths.size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i)
                EXPECT_EQ(measured.widths[i], pdf::text_length(widths, scale, expected[i]))
                    << "word " << i << " of \"" << text.substr(0, 40) << "\" at size " << scale.font_size;
        }
    }
    pdf::measure_words(nullptr, scales[0], "senza carattere", measured);
    EXPECT_EQ(measured.widths, (std::vector<float>{0, 0}));
}

}  // namespace
