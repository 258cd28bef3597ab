// The Flate decoder: zlib's inflater is the judge of every stream, both the
// well-formed ones (zlib's own and our encoder's) and the hand-made faults.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "pdf/core/flate_decoder.h"
#include "pdf/core/flate_encoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using pdf::FlateStatus;

constexpr std::size_t kCap = 1 << 24;

// zlib's verdict on raw deflate data: true with its output when it reaches
// the end of the final block.
bool zlib_raw_inflate(const Bytes& in, Bytes& out) {
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return false;
    out.assign(kCap, 0);
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    return rc == Z_STREAM_END;
}

Bytes zlib_compress(const Bytes& data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level), Z_OK);
    out.resize(size);
    return out;
}

// Sample inputs: empty, every byte value, text with repeats, random bytes,
// a long run (overlapping copies), and a mix longer than the 32 KiB window.
std::vector<Bytes> samples() {
    std::vector<Bytes> all;
    all.emplace_back();
    Bytes every(256);
    for (int i = 0; i < 256; ++i) every[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
    all.push_back(every);
    std::string text;
    for (int i = 0; i < 400; ++i) text += "BT /F1 12 Tf 72 " + std::to_string(700 - i) + " Td (Riga " + std::to_string(i) + ") Tj ET\n";
    all.emplace_back(text.begin(), text.end());
    std::mt19937 rng(7);
    Bytes random(70000);
    for (auto& b : random) b = static_cast<std::uint8_t>(rng());
    all.push_back(random);
    all.emplace_back(100000, 'x');
    Bytes mix;
    for (int i = 0; i < 3000; ++i) {
        mix.insert(mix.end(), text.begin() + (i % 500), text.begin() + (i % 500) + 40);
        mix.push_back(static_cast<std::uint8_t>(rng()));
    }
    all.push_back(mix);
    return all;
}

TEST(FlateDecoder, DecodesEveryStreamOfZlibAndOfOurEncoder) {
    // One output buffer for all: each call replaces what it holds.
    Bytes out;
    for (const Bytes& data : samples()) {
        for (int level = 0; level <= 9; ++level) {
            ASSERT_EQ(pdf::zlib_decode(zlib_compress(data, level), kCap, out), FlateStatus::ok) << level;
            EXPECT_EQ(out, data) << "zlib level " << level << ", " << data.size() << " bytes";
        }
        for (int quality = 0; quality <= 5; ++quality) {
            ASSERT_EQ(pdf::zlib_decode(pdf::flate_encode(data, quality), kCap, out), FlateStatus::ok);
            EXPECT_EQ(out, data) << "quality " << quality << ", " << data.size() << " bytes";
        }
    }
}

// Builds deflate bit streams: plain fields least significant bit first,
// Huffman codes most significant bit first.
struct BitWriter {
    Bytes bytes;
    unsigned used = 0;  // bits in the last byte
    BitWriter& put(std::uint32_t value, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            if (used == 0) bytes.push_back(0);
            bytes.back() |= static_cast<std::uint8_t>(((value >> i) & 1u) << used);
            used = (used + 1) % 8;
        }
        return *this;
    }
    BitWriter& code(std::uint32_t code, unsigned length) {
        for (unsigned i = length; i-- > 0;) put((code >> i) & 1u, 1);
        return *this;
    }
    // Fixed-block codes of a literal/length symbol and of a distance code.
    BitWriter& fixed(std::uint32_t symbol) {
        if (symbol < 144) return code(0x30 + symbol, 8);
        if (symbol < 256) return code(0x190 + symbol - 144, 9);
        if (symbol < 280) return code(symbol - 256, 7);
        return code(0xC0 + symbol - 280, 8);
    }
    BitWriter& distance(std::uint32_t d) { return code(d, 5); }
    // A final dynamic-block header whose code-length code gives symbol 18
    // one bit (code 0) and symbols 0 and `other` (1 or 2) two bits (codes
    // 10 and 11).
    BitWriter& dynamic_header(unsigned hlit, unsigned hdist, unsigned other = 1) {
        put(1, 1).put(2, 2).put(hlit - 257, 5).put(hdist - 1, 5).put(18 - 4, 4);
        std::array<unsigned, 18> order_lengths{};  // 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1
        order_lengths[2] = 1;
        order_lengths[3] = 2;
        order_lengths[other == 1 ? 17 : 15] = 2;
        for (unsigned l : order_lengths) put(l, 3);
        return *this;
    }
    BitWriter& zeros(unsigned n) {  // code-length symbol 18 (code 0)
        return code(0, 1).put(n - 11, 7);
    }
};

TEST(FlateDecoder, StreamsAppendedToOneReservedBufferFollowWhatItHolds) {
    Bytes expected = {'>'};
    for (const Bytes& sample : samples()) expected.insert(expected.end(), sample.begin(), sample.end());
    Bytes all = {'>'};
    all.reserve(expected.size());
    const std::uint8_t* const buffer = all.data();
    for (const Bytes& sample : samples()) {
        // The cap counts only the bytes of this stream.
        ASSERT_EQ(pdf::zlib_decode_append(zlib_compress(sample, 9), sample.size(), all), FlateStatus::ok);
    }
    EXPECT_EQ(all, expected);
    // Within the reserved capacity the buffer never moved.
    EXPECT_EQ(all.data(), buffer);
}

TEST(FlateDecoder, EdgeCasesOfWellFormedStreams) {
    struct Case {
        const char* what;
        Bytes stream;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"stored block, then an empty stored block, then a final fixed block",
         [] {
             Bytes s = {0x00, 0x03, 0x00, 0xFC, 0xFF, 'a', 'b', 'c', 0x00, 0x00, 0x00, 0xFF, 0xFF};
             BitWriter w;
             w.put(1, 1).put(1, 2).fixed('d').fixed(256);
             s.insert(s.end(), w.bytes.begin(), w.bytes.end());
             return s;
         }(),
         "abcd"},
        {"distance 1, length 10 after one literal", BitWriter().put(1, 1).put(1, 2).fixed('z').fixed(264).distance(0).fixed(256).bytes,
         std::string(11, 'z')},
        {"bytes 128 to 255 come back as they are",
         BitWriter().put(1, 1).put(1, 2).fixed(0x80).fixed(0xE9).fixed(0xFF).fixed(256).bytes, "\x80\xE9\xFF"},
        {"a lone one-bit end-of-block code and no distance codes",
         BitWriter().dynamic_header(257, 1).zeros(138).zeros(118).code(3, 2).code(2, 2).code(0, 1).bytes, ""},
        {"four bytes of checksum after the final block are ignored",
         BitWriter().put(1, 1).put(1, 2).fixed('q').fixed(256).put(0xFFFFFFFF, 32).bytes, "q"},
    };
    for (const Case& c : cases) {
        Bytes out;
        EXPECT_EQ(pdf::flate_decode(c.stream, kCap, out), FlateStatus::ok) << c.what;
        EXPECT_EQ(std::string(out.begin(), out.end()), c.expected) << c.what;
        Bytes oracle;
        EXPECT_TRUE(zlib_raw_inflate(c.stream, oracle)) << c.what;
        EXPECT_EQ(oracle, out) << c.what;
    }
}

TEST(FlateDecoder, StopsAtTheFirstFault) {
    std::string text(5000, 'a');
    for (std::size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
    const Bytes whole = pdf::flate_encode(Bytes(text.begin(), text.end()), 3);
    const Bytes cut(whole.begin() + 2, whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));

    struct Case {
        const char* what;
        Bytes stream;
        FlateStatus expected;
    };
    const std::vector<Case> cases = {
        {"input ends before the final block", cut, FlateStatus::truncated},
        {"empty input", {}, FlateStatus::truncated},
        {"stored block cut short", {0x01, 0x05, 0x00, 0xFA, 0xFF, 'a', 'b'}, FlateStatus::truncated},
        {"stored block header cut short", {0x01, 0x05, 0x00}, FlateStatus::truncated},
        {"stored LEN and NLEN disagree", {0x01, 0x05, 0x00, 0x00, 0x00, 'a', 'b', 'c', 'd', 'e'},
         FlateStatus::bad_stored_length},
        {"block type 3", BitWriter().put(1, 1).put(3, 2).bytes, FlateStatus::bad_block_type},
        {"HLIT above 286", BitWriter().put(1, 1).put(2, 2).put(30, 5).put(0, 5).put(0, 4).bytes,
         FlateStatus::bad_code_counts},
        {"HDIST above 30", BitWriter().put(1, 1).put(2, 2).put(0, 5).put(30, 5).put(0, 4).bytes,
         FlateStatus::bad_code_counts},
        {"literal/length symbol 286", BitWriter().put(1, 1).put(1, 2).fixed(286).bytes, FlateStatus::bad_symbol},
        {"literal/length symbol 287", BitWriter().put(1, 1).put(1, 2).fixed(287).bytes, FlateStatus::bad_symbol},
        {"distance code 30", BitWriter().put(1, 1).put(1, 2).fixed('a').fixed(257).distance(30).bytes,
         FlateStatus::bad_symbol},
        {"distance code 31", BitWriter().put(1, 1).put(1, 2).fixed('a').fixed(257).distance(31).bytes,
         FlateStatus::bad_symbol},
        {"a length code that ends the data, with no distance codes to follow",
         BitWriter().dynamic_header(258, 1).zeros(138).zeros(117).code(2, 2).code(3, 2).code(3, 2).code(2, 2)
             .code(1, 1).bytes,
         FlateStatus::truncated},
        {"a code the one-code tree lacks in the last byte",
         BitWriter().dynamic_header(257, 1).zeros(138).zeros(118).code(3, 2).code(2, 2).put(1, 1).bytes,
         FlateStatus::bad_symbol},
        {"distance before the start of the output",
         BitWriter().put(1, 1).put(1, 2).fixed('a').fixed(257).distance(1).fixed(256).bytes,
         FlateStatus::bad_distance},
        {"over-subscribed code-length code",
         [] {
             BitWriter w;
             w.put(1, 1).put(2, 2).put(0, 5).put(0, 5).put(19 - 4, 4);
             for (int i = 0; i < 19; ++i) w.put(1, 3);
             return w.bytes;
         }(),
         FlateStatus::bad_code_lengths},
        {"incomplete code-length code (one one-bit code)",
         [] {
             BitWriter w;
             w.put(1, 1).put(2, 2).put(0, 5).put(0, 5).put(0, 4).put(0, 3).put(0, 3).put(1, 3).put(0, 3);
             return w.bytes;
         }(),
         FlateStatus::bad_code_lengths},
        {"incomplete literal tree (two-bit code alone)",
         BitWriter().dynamic_header(257, 1, 2).zeros(138).zeros(118).code(3, 2).code(2, 2).code(0, 2).bytes,
         FlateStatus::bad_code_lengths},
        {"no end-of-block code", BitWriter().dynamic_header(257, 1).zeros(138).zeros(120).bytes,
         FlateStatus::bad_code_lengths},
        {"repeat with nothing to repeat",
         [] {
             BitWriter w;
             // The code-length code: symbols 16 and 18 of one bit each.
             w.put(1, 1).put(2, 2).put(0, 5).put(0, 5).put(0, 4).put(1, 3).put(0, 3).put(1, 3).put(0, 3);
             return w.code(0, 1).put(0, 2).bytes;
         }(),
         FlateStatus::bad_code_lengths},
        {"repeat past the end of the table", BitWriter().dynamic_header(257, 1).zeros(138).zeros(138).bytes,
         FlateStatus::bad_code_lengths},
    };
    for (const Case& c : cases) {
        Bytes out, oracle;
        EXPECT_EQ(pdf::flate_decode(c.stream, kCap, out), c.expected) << c.what;
        EXPECT_FALSE(zlib_raw_inflate(c.stream, oracle)) << "zlib accepts: " << c.what;
        // Appended after other bytes, the same fault, and those bytes kept
        // (no back-reference reaches them).
        const Bytes held = {'h', 'e', 'l', 'd'};
        out = held;
        EXPECT_EQ(pdf::flate_decode_append(c.stream, kCap, out), c.expected) << c.what;
        EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), held) << c.what;
    }

    // The cap counts literals, copies and stored bytes alike.
    Bytes out;
    EXPECT_EQ(pdf::zlib_decode(whole, 4999, out), FlateStatus::output_too_large);
    EXPECT_LE(out.size(), 4999u);
    EXPECT_EQ(pdf::zlib_decode(pdf::flate_encode(Bytes(text.begin(), text.end()), 0), 4999, out),
              FlateStatus::output_too_large);
    EXPECT_EQ(pdf::zlib_decode(whole, 5000, out), FlateStatus::ok);
    // zlib headers: not deflate, preset dictionary, bad check value, a
    // window above 32 KiB.
    for (Bytes header : {Bytes{0x79, 0x9C}, Bytes{0x78, 0xBB}, Bytes{0x78, 0x9D}, Bytes{0x88, 0x1C}}) {
        Bytes stream = header;
        stream.insert(stream.end(), whole.begin() + 2, whole.end());
        EXPECT_EQ(pdf::zlib_decode(stream, kCap, out), FlateStatus::bad_zlib_header);
    }
}

}  // namespace
