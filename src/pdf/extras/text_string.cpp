#include "pdf/extras/text_string.h"

#include <array>

#include "common/cp1252.h"

namespace pdf {

namespace {

// PDFDocEncoding where it differs from Latin-1: the accents at 0x18-0x1F,
// the punctuation and letters at 0x80-0x9E, the euro sign at 0xA0; the
// bytes it leaves undefined read as U+FFFD, which no code page holds.
constexpr std::array<char32_t, 8> kAccents = {0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC};
constexpr std::array<char32_t, 33> kHigh = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0xFFFD, 0x20AC};

char32_t pdf_doc_character(unsigned char byte) {
    if (byte >= 0x18 && byte <= 0x1F) return kAccents[byte - 0x18];
    if (byte >= 0x80 && byte <= 0xA0) return kHigh[byte - 0x80];
    if (byte == 0x7F || byte == 0xAD) return 0xFFFD;
    return byte;
}

void append(std::string& out, char32_t c) {
    const auto byte = unicode_a_cp1252(c);
    out += byte ? static_cast<char>(*byte) : '?';
}

}  // namespace

std::string text_string_to_cp1252(std::string_view bytes) {
    // UTF-8 after its mark, as PDF 2.0 writes texts, is recognised in a file
    // of any version: no other encoding begins with those three bytes.
    if (bytes.starts_with("\xEF\xBB\xBF")) return utf8_per_messaggio(bytes.substr(3));
    std::string out;
    if (bytes.size() < 2 || bytes[0] != '\xFE' || bytes[1] != '\xFF') {
        for (unsigned char b : bytes) append(out, pdf_doc_character(b));
        return out;
    }
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = (char32_t{byte(i)} << 8) | byte(i + 1);
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            // A pair of surrogates is one character beyond the code page;
            // a lone one is broken. Either is one "?".
            if (unit <= 0xDBFF && i + 3 < bytes.size()) {
                const unsigned next = (unsigned{byte(i + 2)} << 8) | byte(i + 3);
                if (next >= 0xDC00 && next <= 0xDFFF) i += 2;
            }
            out += '?';
            continue;
        }
        append(out, unit);
    }
    return out;
}

}  // namespace pdf
