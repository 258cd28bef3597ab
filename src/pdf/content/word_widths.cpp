#include "pdf/content/word_widths.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <vector>

#include "pdf/content/text_box_layout.h"
#include "pdf/core/byte_match.h"

namespace pdf {

namespace {

// Up to 511 widths of at most 2^15 add up below 2^24, where float sums of
// integers are exact: below that many bytes integers give the same total as
// adding in float, faster.
constexpr std::size_t kExactIntegerWidths = 512;

float scaled_length(const TextScale& s, float widths, std::int64_t blanks, std::size_t bytes) {
    const double length = (static_cast<double>(widths) * s.font_size / 1000.0 +
                           static_cast<double>(blanks) * s.word_spacing +
                           static_cast<double>(bytes) * s.char_spacing) *
                          s.horizontal_scaling / 100.0 / s.unit_factor;
    return static_cast<float>(length);
}

float float_sum(const GlyphWidths& widths, std::string_view text) {
    float total = 0;
    for (unsigned char c : text) total += static_cast<float>(widths[c]);
    return total;
}

// Scaled lengths of word width sums, for one scale (compared bit for bit).
// Scaling takes three divisions, which cost more than summing a word, and
// a document repeats its words: each sum is scaled once. With a character
// spacing of zero (either sign) the word's byte count does not enter the
// result, so the sum alone identifies it.
struct LengthMemory {
    static constexpr std::size_t kSlots = 2048;
    // Never a sum: word sums stay below 2^24 in magnitude.
    static constexpr std::int32_t kEmpty = INT32_MIN;
    std::array<std::uint32_t, 5> scale_bits{};
    std::array<std::int32_t, kSlots> sums;
    std::array<float, kSlots> lengths{};

    LengthMemory() { sums.fill(kEmpty); }

    void keep_for(const TextScale& s) {
        const std::array<std::uint32_t, 5> bits = {
            std::bit_cast<std::uint32_t>(s.font_size), std::bit_cast<std::uint32_t>(s.word_spacing),
            std::bit_cast<std::uint32_t>(s.char_spacing), std::bit_cast<std::uint32_t>(s.horizontal_scaling),
            std::bit_cast<std::uint32_t>(s.unit_factor)};
        if (bits != scale_bits) {
            scale_bits = bits;
            sums.fill(kEmpty);
        }
    }
};

}  // namespace

float text_length(const GlyphWidths& widths, const TextScale& scale, std::string_view text) {
    std::int64_t blanks = 0;
    for (unsigned char c : text) blanks += c == ' ';
    if (text.size() >= kExactIntegerWidths) return scaled_length(scale, float_sum(widths, text), blanks, text.size());
    std::int32_t sum = 0;
    for (unsigned char c : text) sum += widths[c];
    return scaled_length(scale, static_cast<float>(sum), blanks, text.size());
}

void measure_words(const GlyphWidths* widths, const TextScale& scale, std::string_view paragraph,
                   MeasuredWords& out) {
    const char* text = paragraph.data();
    const std::size_t size = paragraph.size();
    // The scratch table stays from call to call, unless a huge text made it
    // large.
    thread_local std::vector<std::uint32_t> running;
    struct Release {
        ~Release() {
            if (running.capacity() > (std::size_t{1} << 16)) std::vector<std::uint32_t>().swap(running);
        }
    } release;

    // The words end at each blank, and the last at the end: counted first,
    // so that the tables grow once.
    out.words.clear();
    out.words.reserve(count_bytes<' '>(paragraph) + 1);
    std::size_t from = 0, k = 0;
    auto word_to = [&](std::size_t end) {
        out.words.emplace_back(text + from, end - from);
        from = end + 1;
    };
    for (; k + 16 <= size; k += 16)
        for (std::uint32_t found = match16<' '>(text + k); found != 0; found &= found - 1)
            word_to(k + static_cast<std::size_t>(std::countr_zero(found)));
    for (; k < size; ++k)
        if (text[k] == ' ') word_to(k);
    word_to(size);

    const std::size_t count = out.words.size();
    out.widths.resize(count);
    if (!widths) {
        std::fill(out.widths.begin(), out.widths.end(), 0.0f);
        return;
    }

    // Running sums of the glyph widths: a word's sum is the difference of
    // two of them, so that no loop stops at the end of each word (a branch
    // that goes wrong once a word). They wrap modulo 2^32; the difference is
    // exact for every word summed this way.
    running.resize(size + 1);
    running[0] = 0;
    std::uint32_t sum = 0;
    for (std::size_t b = 0; b < size; ++b) {
        sum += static_cast<std::uint32_t>(std::int32_t{(*widths)[static_cast<unsigned char>(text[b])]});
        running[b + 1] = sum;
    }

    thread_local LengthMemory memory;
    const bool remember = scale.char_spacing == 0;
    if (remember) memory.keep_for(scale);
    for (std::size_t w = 0; w < count; ++w) {
        const std::string_view word = out.words[w];
        const std::size_t bytes = word.size();
        if (bytes >= kExactIntegerWidths) {
            out.widths[w] = scaled_length(scale, float_sum(*widths, word), 0, bytes);
            continue;
        }
        const auto start = static_cast<std::size_t>(word.data() - text);
        const auto word_sum = static_cast<std::int32_t>(running[start + bytes] - running[start]);
        if (!remember) {
            out.widths[w] = scaled_length(scale, static_cast<float>(word_sum), 0, bytes);
            continue;
        }
        const std::size_t slot = static_cast<std::uint32_t>(word_sum) % LengthMemory::kSlots;
        if (memory.sums[slot] != word_sum) {
            memory.sums[slot] = word_sum;
            memory.lengths[slot] = scaled_length(scale, static_cast<float>(word_sum), 0, bytes);
        }
        out.widths[w] = memory.lengths[slot];
    }
}

}  // namespace pdf
