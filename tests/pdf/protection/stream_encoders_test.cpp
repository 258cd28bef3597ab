// The RunLength, LZW, ASCII85 and ASCIIHex encoders: exact output for the
// known cases, and a round trip through independent decoders.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "pdf/core/ascii85_encoder.h"
#include "pdf/core/ascii_hex_encoder.h"
#include "pdf/core/flate_encoder.h"
#include "pdf/core/lzw_encoder.h"
#include "pdf/core/run_length_encoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes hex_bytes(std::initializer_list<int> values) { return Bytes(values.begin(), values.end()); }

Bytes decode_run_length(const Bytes& in) {
    Bytes out;
    std::size_t i = 0;
    while (i < in.size()) {
        const int len = in[i++];
        if (len == 128) {
            EXPECT_EQ(i, in.size()) << "bytes after the end-of-data mark";
            return out;
        }
        if (len < 128) {
            EXPECT_LE(i + std::size_t(len) + 1, in.size());
            out.insert(out.end(), in.begin() + std::ptrdiff_t(i), in.begin() + std::ptrdiff_t(i + std::size_t(len) + 1));
            i += std::size_t(len) + 1;
        } else {
            out.insert(out.end(), std::size_t(257 - len), in.at(i++));
        }
    }
    ADD_FAILURE() << "no end-of-data mark";
    return out;
}

// LZW decoder with early change, as PDF readers use by default. Entries are
// (prefix code, last byte) pairs, spelt out backwards.
Bytes decode_lzw(const Bytes& in) {
    Bytes out;
    struct Entry {
        int prefix;
        std::uint8_t last;
        std::uint8_t first;
    };
    std::vector<Entry> table;
    auto reset = [&] {
        table.clear();
        for (int c = 0; c < 256; ++c) table.push_back({-1, std::uint8_t(c), std::uint8_t(c)});
        table.push_back({-1, 0, 0});  // Clear
        table.push_back({-1, 0, 0});  // end of data
    };
    auto append = [&](int code) {
        const std::size_t start = out.size();
        for (int c = code; c >= 0; c = table[std::size_t(c)].prefix) out.push_back(table[std::size_t(c)].last);
        std::reverse(out.begin() + std::ptrdiff_t(start), out.end());
    };
    reset();
    std::size_t bitpos = 0;
    int width = 9;
    int previous = -1;
    for (;;) {
        if (bitpos + std::size_t(width) > in.size() * 8) {
            ADD_FAILURE() << "no end-of-data code";
            return out;
        }
        int code = 0;
        for (int k = 0; k < width; ++k, ++bitpos)
            code = (code << 1) | ((in[bitpos / 8] >> (7 - bitpos % 8)) & 1);
        if (code == 257) break;
        if (code == 256) {
            reset();
            width = 9;
            previous = -1;
            continue;
        }
        if (code > int(table.size()) || (code == int(table.size()) && previous < 0) || (code >= 256 && code < 258)) {
            ADD_FAILURE() << "bad code " << code;
            return out;
        }
        if (previous >= 0) {
            const std::uint8_t first =
                code < int(table.size()) ? table[std::size_t(code)].first : table[std::size_t(previous)].first;
            table.push_back({previous, first, table[std::size_t(previous)].first});
        }
        append(code);
        previous = code;
        // Early change: the width grows one code before the table needs it.
        const int next = int(table.size()) + 1;
        width = next >= 2048 ? 12 : next >= 1024 ? 11 : next >= 512 ? 10 : 9;
    }
    return out;
}

Bytes decode_ascii85(const Bytes& in) {
    Bytes out;
    std::vector<int> group;
    std::size_t i = 0;
    for (; i < in.size(); ++i) {
        const int c = in[i];
        if (c == '~') break;
        if (c == 'z') {
            EXPECT_TRUE(group.empty());
            out.insert(out.end(), 4, 0);
            continue;
        }
        EXPECT_TRUE(c >= '!' && c <= 'u');
        group.push_back(c - 33);
        if (group.size() == 5) {
            std::uint64_t v = 0;
            for (int d : group) v = v * 85 + std::uint64_t(d);
            for (int s = 24; s >= 0; s -= 8) out.push_back(std::uint8_t(v >> s));
            group.clear();
        }
    }
    EXPECT_EQ(i + 2, in.size());
    if (!group.empty()) {
        const std::size_t kept = group.size() - 1;
        while (group.size() < 5) group.push_back(84);
        std::uint64_t v = 0;
        for (int d : group) v = v * 85 + std::uint64_t(d);
        for (std::size_t k = 0; k < kept; ++k) out.push_back(std::uint8_t(v >> (24 - 8 * k)));
    }
    return out;
}

std::vector<Bytes> sample_inputs() {
    std::vector<Bytes> inputs = {{}, bytes("a"), bytes("ab"), bytes("aaa"), Bytes(200, 7), Bytes(129, 0)};
    std::mt19937 rng(4125);
    for (int round = 0; round < 60; ++round) {
        const std::size_t size = rng() % 3000;
        const int alphabet = 1 + int(rng() % 6) * (round % 3 == 0 ? 50 : 1);
        Bytes data(size);
        for (auto& b : data) b = std::uint8_t(rng() % std::uint32_t(alphabet));
        inputs.push_back(std::move(data));
    }
    return inputs;
}

TEST(RunLengthEncoder, KnownRuns) {
    EXPECT_EQ(pdf::encode_run_length({}), hex_bytes({0x80}));
    EXPECT_EQ(pdf::encode_run_length(bytes("aaa")), hex_bytes({0xFE, 0x61, 0x80}));
    EXPECT_EQ(pdf::encode_run_length(bytes("ab")), hex_bytes({0x01, 0x61, 0x62, 0x80}));
    EXPECT_EQ(pdf::encode_run_length(bytes("abccc")), hex_bytes({0x01, 0x61, 0x62, 0xFE, 0x63, 0x80}));
    EXPECT_EQ(pdf::encode_run_length(bytes("a")), hex_bytes({0x00, 0x61, 0x80}));
    EXPECT_EQ(pdf::encode_run_length(Bytes(200, 'x')), hex_bytes({0x81, 'x', 0xB9, 'x', 0x80}));

    Bytes alternating(129);
    for (std::size_t i = 0; i < alternating.size(); ++i) alternating[i] = std::uint8_t(i % 2);
    const Bytes out = pdf::encode_run_length(alternating);
    ASSERT_EQ(out.size(), 1 + 128 + 2 + 1u);
    EXPECT_EQ(out[0], 0x7F);
    EXPECT_EQ(out[129], 0x00);
    EXPECT_EQ(out[130], alternating.back());
}

TEST(RunLengthEncoder, WorstCaseAndRoundTrip) {
    // One-byte literal runs between two-byte repeat runs: the largest output.
    Bytes worst;
    for (int i = 0; i < 300; ++i) {
        worst.push_back(std::uint8_t(i));
        worst.push_back(std::uint8_t(i + 1));
        worst.push_back(std::uint8_t(i + 1));
    }
    EXPECT_LE(pdf::encode_run_length(worst).size(), worst.size() * 4 / 3 + 2);
    EXPECT_EQ(decode_run_length(pdf::encode_run_length(worst)), worst);
    for (const Bytes& input : sample_inputs()) EXPECT_EQ(decode_run_length(pdf::encode_run_length(input)), input);
}

TEST(LzwEncoder, KnownCodes) {
    EXPECT_EQ(pdf::encode_lzw(bytes("A")), hex_bytes({0x80, 0x10, 0x60, 0x20}));
    EXPECT_EQ(pdf::encode_lzw(bytes("-----A---B")),
              hex_bytes({0x80, 0x0B, 0x60, 0x50, 0x22, 0x0C, 0x0C, 0x85, 0x01}));
    EXPECT_EQ(decode_lzw(pdf::encode_lzw({})), Bytes());
}

// Data that gives out one new code per input byte (after the first), so the
// length selects exactly which codes are given out.
Bytes fresh_pairs(std::size_t size) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = std::uint8_t((i * i / 2 + i / 256) & 0xFF);
    return data;
}

TEST(LzwEncoder, LengthsAcrossEveryCodeWidthBoundary) {
    for (int quality = 0; quality <= 3; ++quality) {
        for (std::size_t base : {250u, 508u, 766u, 1020u, 1790u, 2044u, 3830u, 4092u, 8000u}) {
            for (std::size_t size = base; size < base + 8; ++size) {
                const Bytes data = fresh_pairs(size);
                EXPECT_EQ(decode_lzw(pdf::encode_lzw(data, quality)), data)
                    << "quality " << quality << " size " << size;
            }
        }
    }
}

TEST(LzwEncoder, RoundTripOfMixedInputs) {
    for (const Bytes& input : sample_inputs())
        for (int quality = 0; quality <= 3; ++quality)
            ASSERT_EQ(decode_lzw(pdf::encode_lzw(input, quality)), input) << "size " << input.size();
}

TEST(Ascii85Encoder, KnownGroups) {
    auto text = [](const Bytes& b) { return std::string(b.begin(), b.end()); };
    EXPECT_EQ(text(pdf::encode_ascii85({})), "~>");
    EXPECT_EQ(text(pdf::encode_ascii85(Bytes(8, 0))), "!!!!!z~>");
    EXPECT_EQ(text(pdf::encode_ascii85(Bytes(4, 0))), "z~>");
    EXPECT_EQ(text(pdf::encode_ascii85(Bytes(5, 0))), "!!!!!!!~>");
    EXPECT_EQ(text(pdf::encode_ascii85(Bytes(1, 0))), "!!~>");
    EXPECT_EQ(text(pdf::encode_ascii85(bytes("PDF"))), ":ddb~>");
    EXPECT_EQ(text(pdf::encode_ascii85(Bytes(4, 0xFF))), "s8W-!~>");
    for (const Bytes& input : sample_inputs()) EXPECT_EQ(decode_ascii85(pdf::encode_ascii85(input)), input);
}

TEST(AsciiHexEncoder, TwoUpperCaseDigitsPerByte) {
    EXPECT_EQ(pdf::encode_ascii_hex(hex_bytes({0x00, 0xAB, 0x7F})), bytes("00AB7F"));
    EXPECT_EQ(pdf::encode_ascii_hex(Bytes()), Bytes());
    EXPECT_EQ(pdf::encode_ascii_hex(std::string("\xFF\x10", 2)), "FF10");
}

// A page is filtered as it is let go, a piece at a time: however it is cut,
// each encoder puts out exactly what it does for the whole input, and the
// ASCII85 length known beforehand is the length it puts out.
TEST(StreamEncoders, PiecesGiveTheOutputOfTheWholeInput) {
    struct Encoder {
        const char* name;
        std::function<Bytes(const Bytes&)> whole;
        std::function<std::unique_ptr<pdf::StreamEncoder>()> make;
    };
    constexpr std::size_t flate_block = 3000;
    const Encoder encoders[] = {
        {"RunLength", [](const Bytes& b) { return pdf::encode_run_length(b); },
         [] { return std::make_unique<pdf::RunLengthEncoder>(); }},
        {"LZW 0", [](const Bytes& b) { return pdf::encode_lzw(b, 0); },
         [] { return std::make_unique<pdf::LzwEncoder>(0); }},
        {"LZW 3", [](const Bytes& b) { return pdf::encode_lzw(b, 3); },
         [] { return std::make_unique<pdf::LzwEncoder>(3); }},
        {"ASCII85", [](const Bytes& b) { return pdf::encode_ascii85(b); },
         [] { return std::make_unique<pdf::Ascii85Encoder>(); }},
        {"ASCIIHex", [](const Bytes& b) { return pdf::encode_ascii_hex(b); },
         [] { return std::make_unique<pdf::AsciiHexEncoder>(); }},
        {"Flate", [&](const Bytes& b) { Bytes out; pdf::flate_encode(b, 3, out, flate_block); return out; },
         [&] { return std::make_unique<pdf::FlateStream>(3, flate_block); }},
    };
    std::vector<Bytes> inputs = sample_inputs();
    inputs.push_back(fresh_pairs(9000));  // LZW tables cleared on the way
    // Cuts at every offset around a run's reach (130 bytes) and a group of four.
    const std::size_t cuts[] = {1, 129, 2, 130, 3, 131, 4, 5, 1000, 4096};
    for (const Encoder& encoder : encoders) {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const Bytes& input = inputs[i];
            const auto stream = encoder.make();
            Bytes out;
            for (std::size_t at = 0, k = i; at < input.size(); ++k) {
                const std::size_t piece = std::min(cuts[k % std::size(cuts)], input.size() - at);
                stream->put(std::span(input).subspan(at, piece), out);
                at += piece;
            }
            stream->finish(out);
            ASSERT_EQ(out, encoder.whole(input)) << encoder.name << ", input " << i << " of " << input.size();
        }
    }
    for (const Bytes& input : inputs) {
        const bool zero_group = input.size() >= 4 && std::all_of(input.end() - 4, input.end(), [](auto b) { return b == 0; });
        EXPECT_EQ(pdf::ascii85_length(input.size(), zero_group), pdf::encode_ascii85(input).size());
    }
}

}  // namespace
