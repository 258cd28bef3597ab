// The Flate encoder: exact streams for the small cases, the block choices,
// and zlib's inflater as the judge of every stream.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <deque>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "pdf/core/flate_encoder.h"
#include "pdf/core/huffman_code_lengths.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Inflates with zlib (checksum included); fails the test on any error.
Bytes inflate_all(const Bytes& stream, std::size_t expected_size) {
    Bytes out(expected_size + 1);
    uLongf out_size = uLongf(out.size());
    const int rc = uncompress(out.data(), &out_size, stream.data(), uLong(stream.size()));
    EXPECT_EQ(rc, Z_OK) << "zlib refuses the stream";
    out.resize(out_size);
    return out;
}

// The deflate block type of a stream: the bits after the zlib header.
int block_type(const Bytes& stream) { return (stream.at(2) >> 1) & 3; }

TEST(FlateEncoder, SmallestStreams) {
    EXPECT_EQ(pdf::flate_encode({}, 3), (Bytes{0x78, 0x5E, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(pdf::flate_encode(bytes("A"), 3), (Bytes{0x78, 0x5E, 0x73, 0x04, 0x00, 0x00, 0x42, 0x00, 0x42}));
    // The header is a valid zlib header: a multiple of 31, deflate, 32K window.
    EXPECT_EQ((0x78 * 256 + 0x5E) % 31, 0);
}

TEST(FlateEncoder, NoMatchCoversTheLastByte) {
    // "abcdabcd": the second "abcd" repeats the first, but a match stops in
    // front of the last byte: four literals, a match of three at distance
    // four, one literal. In a fixed block: 32 + 7 + 5 + 8 bits, 7 for the
    // end of the block, 3 for the block header = 62 bits, 8 bytes. A match of
    // four would have made 54 bits, 7 bytes.
    const Bytes data = bytes("abcdabcd");
    const Bytes out = pdf::flate_encode(data, 3);
    EXPECT_EQ(block_type(out), 1);
    EXPECT_EQ(inflate_all(out, data.size()), data);
    EXPECT_EQ(out.size(), 2 + 8 + 4u);
}

TEST(FlateEncoder, FarThreeByteMatchesBecomeLiterals) {
    // A three-byte string repeated 5,000 bytes later is not worth a match;
    // a four-byte one is.
    std::mt19937 rng(1);
    auto stream_with_repeat = [&](std::size_t repeat_length) {
        Bytes data(6000);
        for (auto& b : data) b = std::uint8_t('a' + rng() % 20);
        data[0] = 'X', data[1] = 'Y', data[2] = 'Z', data[3] = 'W';
        for (std::size_t k = 0; k < repeat_length; ++k) data[5000 + k] = data[k];
        data[5000 + repeat_length] = '#';
        return data;
    };
    for (std::size_t len : {3u, 4u}) {
        const Bytes data = stream_with_repeat(len);
        EXPECT_EQ(inflate_all(pdf::flate_encode(data, 3), data.size()), data);
    }
}

TEST(FlateEncoder, IncompressibleInputIsStoredAndSplitAt65535) {
    std::mt19937 rng(99);
    for (std::size_t size : {1000u, 65535u, 65536u, 200000u}) {
        Bytes data(size);
        for (auto& b : data) b = std::uint8_t(rng());
        const Bytes out = pdf::flate_encode(data, 3);
        EXPECT_EQ(block_type(out), 0);
        const std::size_t blocks = (size + 65534) / 65535;
        EXPECT_EQ(out.size(), 2 + size + 5 * blocks + 4);
        EXPECT_EQ(inflate_all(out, size), data);
    }
}

TEST(FlateEncoder, DynamicBlockWithoutDistancesSendsOneZeroDistanceLength) {
    // Every byte value in a skewed mix and no three-byte string twice: a
    // dynamic block of literals only.
    Bytes data;
    std::mt19937 rng(5);
    std::vector<int> weights(256);
    for (int i = 0; i < 256; ++i) weights[std::size_t(i)] = i < 8 ? 200 : 1;
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    std::vector<bool> seen(1 << 24, false);
    while (data.size() < 4000) {
        const std::uint8_t b = std::uint8_t(pick(rng));
        if (data.size() >= 2) {
            const std::size_t key = (std::size_t(data[data.size() - 2]) << 16) | (std::size_t(data.back()) << 8) | b;
            if (seen[key]) continue;
            seen[key] = true;
        }
        data.push_back(b);
    }
    const Bytes out = pdf::flate_encode(data, 3);
    ASSERT_EQ(block_type(out), 2);
    // HDIST - 1 is 0: bits 8..12 after the 3 header bits of the block.
    const std::uint32_t bits = out[2] | (out[3] << 8) | (out[4] << 16);
    EXPECT_EQ((bits >> 8) & 31, 0u);
    EXPECT_EQ(inflate_all(out, data.size()), data);
}

std::vector<Bytes> varied_inputs() {
    std::vector<Bytes> inputs;
    std::mt19937 rng(20261207);
    const std::string words[] = {"BT ", "ET\r", "/F1 10 Tf ", "0 0 0 rg ", "(contratto) Tj ", "Td ",
                                 "q ", "Q\r", "1 0 0 1 ", "re f ", "appalto ", "committente "};
    for (int round = 0; round < 240; ++round) {
        const int kind = round % 6;
        const std::size_t size = kind == 5 ? rng() % 70000 : rng() % 6000;
        Bytes data;
        data.reserve(size);
        switch (kind) {
        case 0:  // uniform random: stored
            while (data.size() < size) data.push_back(std::uint8_t(rng()));
            break;
        case 1:  // few symbols: skewed frequencies, long matches
            while (data.size() < size) data.push_back(std::uint8_t("ab"[rng() % 16 == 0]));
            break;
        case 2: {  // geometric byte distribution: deep Huffman trees
            std::geometric_distribution<int> g(0.45);
            while (data.size() < size) data.push_back(std::uint8_t(std::min(g(rng), 255)));
            break;
        }
        case 3:  // page-content-like text
        case 5:
            while (data.size() < size) {
                const std::string& w = words[rng() % std::size(words)];
                data.insert(data.end(), w.begin(), w.end());
                if (rng() % 3 == 0) {
                    const std::string n = std::to_string(rng() % 600) + "." + std::to_string(rng() % 1000) + " ";
                    data.insert(data.end(), n.begin(), n.end());
                }
            }
            break;
        case 4:  // long runs mixed with noise
            while (data.size() < size) {
                const std::uint8_t b = std::uint8_t(rng());
                data.insert(data.end(), 1 + rng() % (rng() % 4 == 0 ? 400 : 3), b);
            }
            break;
        }
        inputs.push_back(std::move(data));
    }
    for (std::size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 7u}) inputs.push_back(Bytes(size, 'q'));
    return inputs;
}

TEST(FlateEncoder, EveryStreamInflatesToItsInputAtEveryQuality) {
    const auto inputs = varied_inputs();
    for (int quality = 0; quality <= 5; ++quality) {
        std::size_t total_in = 0, total_out = 0;
        for (const Bytes& input : inputs) {
            const Bytes out = pdf::flate_encode(input, quality);
            ASSERT_EQ(inflate_all(out, input.size()), input)
                << "quality " << quality << ", input of " << input.size() << " bytes";
            total_in += input.size();
            total_out += out.size();
        }
        EXPECT_LT(total_out, total_in) << "quality " << quality;
    }
}

TEST(FlateEncoder, QualitiesAboveTheTableCountAsTheHighest) {
    const auto inputs = varied_inputs();
    for (std::size_t i = 0; i < inputs.size(); i += 37)
        EXPECT_EQ(pdf::flate_encode(inputs[i], 200), pdf::flate_encode(inputs[i], 5));
}

TEST(FlateEncoder, HigherQualityIsNotWorseOnText) {
    Bytes text;
    for (int i = 0; i < 3000; ++i) {
        const std::string line = "BT /F1 11 Tf 56.693 " + std::to_string(700 - (i % 60) * 12) +
                                 " Td (Articolo " + std::to_string(i % 97) + " del contratto) Tj ET\r";
        text.insert(text.end(), line.begin(), line.end());
    }
    std::size_t previous = SIZE_MAX;
    for (int quality : {0, 3, 5}) {
        const std::size_t size = pdf::flate_encode(text, quality).size();
        EXPECT_LE(size, previous) << "quality " << quality;
        previous = size;
    }
}

// Long input goes out as one zlib stream of several blocks whose matches
// reach back across the cuts: zlib inflates it (checksum included), the
// cuts cost next to nothing against one block, and a stream given piece by
// piece is the same. Stored blocks follow Huffman ones at any bit.
TEST(FlateEncoder, LongInputIsBlocksSharingOneWindow) {
    std::mt19937 rng(7);
    Bytes noise(12000);
    for (auto& b : noise) b = std::uint8_t(rng());
    Bytes data;
    for (int i = 0; i < 2000; ++i) {
        const std::string line = "0 0 1 rg " + std::to_string(i * 37 % 1000) + " 0 m " + std::to_string(i % 89) + " l S\r";
        data.insert(data.end(), line.begin(), line.end());
    }
    // Found again only in the blocks before.
    for (int copy = 0; copy < 3; ++copy) data.insert(data.end(), noise.begin(), noise.end());
    constexpr std::size_t block = 10000;
    Bytes blocks;
    pdf::flate_encode(data, 3, blocks, block);
    EXPECT_EQ(inflate_all(blocks, data.size()), data);
    const Bytes one_block = pdf::flate_encode(data, 3);
    EXPECT_LT(blocks.size(), one_block.size() + one_block.size() / 20);

    pdf::FlateStream stream(3, block);
    Bytes pieces;
    for (std::size_t at = 0, piece = 1; at < data.size(); at += piece, piece = piece * 3 + 1) {
        piece = std::min(piece, data.size() - at);
        stream.put(std::span(data).subspan(at, piece), pieces);
    }
    stream.finish(pieces);
    EXPECT_EQ(pieces, blocks);

    // Input of one block is the single block it always was.
    Bytes exactly_one;
    pdf::flate_encode(std::span(data).first(block), 3, exactly_one, block);
    EXPECT_EQ(exactly_one, pdf::flate_encode(std::span(data).first(block), 3));
    // The writer's own block size, over one block by one byte.
    Bytes long_text(pdf::flate_block_size + 1);
    for (std::size_t i = 0; i < long_text.size(); ++i) long_text[i] = data[i % 60000];
    EXPECT_EQ(inflate_all(pdf::flate_encode(long_text, 0), long_text.size()), long_text);
}

TEST(HuffmanCodeLengths, LimitedLengthsFormACompleteCode) {
    // Fibonacci frequencies make the unadjusted sizes as deep as the
    // alphabet; the adjustment must bring them within the limit.
    std::vector<std::uint64_t> freq(40);
    freq[0] = freq[1] = 1;
    for (std::size_t i = 2; i < freq.size(); ++i) freq[i] = freq[i - 1] + freq[i - 2];
    for (int max_length : {7, 15}) {
        const auto lengths = pdf::limited_code_lengths(freq, max_length);
        double kraft = 0;
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            ASSERT_GE(lengths[i], 1);
            ASSERT_LE(lengths[i], max_length);
            kraft += std::ldexp(1.0, -lengths[i]);
            if (i > 0) {
                EXPECT_GE(lengths[i - 1], lengths[i]) << "a more frequent symbol got a longer code";
            }
        }
        EXPECT_DOUBLE_EQ(kraft, 1.0);
    }
}

TEST(HuffmanCodeLengths, FewSymbols) {
    std::vector<std::uint64_t> none(30, 0);
    EXPECT_EQ(pdf::limited_code_lengths(none, 15), std::vector<std::uint8_t>(30, 0));

    std::vector<std::uint64_t> one(30, 0);
    one[4] = 9;
    auto lengths = pdf::limited_code_lengths(one, 15);
    EXPECT_EQ(lengths[0], 1);  // the lowest unused symbol pairs up
    EXPECT_EQ(lengths[4], 1);
    EXPECT_EQ(std::accumulate(lengths.begin(), lengths.end(), 0), 2);

    // Equal frequencies: the higher symbols count as less frequent and get
    // the longer codes.
    const auto equal = pdf::limited_code_lengths(std::vector<std::uint64_t>{5, 5, 5}, 15);
    EXPECT_EQ(equal, (std::vector<std::uint8_t>{1, 2, 2}));
    EXPECT_EQ(pdf::canonical_codes(equal), (std::vector<std::uint16_t>{0, 2, 3}));
}

}  // namespace

namespace {

// The first pass written as plainly as its rules read: a chain per
// three-byte string, newest first, at most chain-size long, with a search
// cursor; two separate searches for the continuation; a full search for the
// lazy step. The encoder's faster dictionary must choose the same symbols.
std::vector<pdf::FlateSymbol> reference_parse(const Bytes& data, int quality) {
    const pdf::FlateLevel level = pdf::flate_level(quality);
    struct Chain {
        std::deque<long> positions;
        std::size_t cursor = 0;
    };
    std::map<std::uint32_t, Chain> dictionary;
    const long n = long(data.size());
    auto key = [&](long q) { return std::uint32_t(data[q] | (data[q + 1] << 8) | (data[q + 2] << 16)); };
    auto insert = [&](long q) {
        Chain& chain = dictionary[key(q)];
        chain.positions.push_front(q);
        if (long(chain.positions.size()) > level.chain_size) chain.positions.pop_back();
    };
    struct Found {
        int length;
        long distance;
    };
    auto search = [&](long p, int stop, bool restart) {
        Found best{2, 0};
        auto it = dictionary.find(key(p));
        if (it == dictionary.end()) return best;
        Chain& chain = it->second;
        if (restart) chain.cursor = 0;
        std::size_t examined = 0;
        while (chain.cursor < chain.positions.size() && examined < chain.positions.size()) {
            const long candidate = chain.positions[chain.cursor];
            if (p - candidate > 32767) break;
            int len = 0;
            while (len < 258 && p + len < n - 1 && data[candidate + len] == data[p + len]) ++len;
            ++chain.cursor;
            ++examined;
            if (len > best.length) {
                best = {len, p - candidate};
                if (best.length >= stop) break;
            }
        }
        return best;
    };
    std::vector<pdf::FlateSymbol> symbols;
    long p = 0;
    for (;;) {
        if (p + 3 > n - 1) {
            for (; p < n; ++p) symbols.push_back({data[p], 0});
            break;
        }
        Found m = search(p, level.first_stop, true);
        if (m.length >= 3 && m.length < level.second_stop) {
            const Found more = search(p, level.second_stop, false);
            if (more.length > m.length) m = more;
        }
        if (m.length >= 3 && m.length < level.lazy_limit) {
            const Found next = search(p + 1, level.lazy_limit, true);
            if (next.length > m.length) {
                symbols.push_back({data[p], 0});
                insert(p);
                ++p;
                m = next;
            }
        }
        if (m.length == 3 && m.distance > 4096) m.length = 1;
        if (m.length < 3) {
            symbols.push_back({data[p], 0});
            insert(p);
            ++p;
            continue;
        }
        symbols.push_back({m.length, int(m.distance)});
        for (long q = p; q < p + m.length && q <= n - 3; ++q) insert(q);
        p += m.length;
    }
    return symbols;
}

}  // namespace

TEST(FlateEncoder, FirstPassChoosesExactlyTheSymbolsOfThePlainRules) {
    std::vector<Bytes> inputs;
    const auto varied = varied_inputs();
    for (std::size_t i = 0; i < varied.size(); i += 7)
        if (varied[i].size() <= 20000) inputs.push_back(varied[i]);
    // Short cycles fill the chains to their limit and keep equal-length
    // candidates side by side.
    for (std::size_t period : {3u, 7u, 50u, 300u}) {
        Bytes cyclic(9000);
        for (std::size_t i = 0; i < cyclic.size(); ++i) cyclic[i] = std::uint8_t("abcaabcbaacb"[i % period % 12] + i / 997 % 3);
        inputs.push_back(cyclic);
    }
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        for (int quality = 0; quality <= 5; ++quality)
            ASSERT_EQ(pdf::flate_parse(inputs[i], quality), reference_parse(inputs[i], quality))
                << "input " << i << " of " << inputs[i].size() << " bytes, quality " << quality;
    }
}

TEST(FlateEncoder, StringsThatShareTheDictionaryHashGetTheSameSymbols) {
    // Three-byte strings that all fall on one hash of the encoder's
    // dictionary (15 bits of a multiplicative hash), laid end to end: the
    // hash chains would step over the whole window at every search, so the
    // encoder changes to chains by string part way through; the symbols
    // must stay those of the plain rules, across the dropping of strings
    // that left the window too.
    std::vector<std::uint32_t> keys;
    for (std::uint32_t k = 0; k < (1u << 24); ++k)
        if (((k * 2654435761u) >> 17) == 12345u) keys.push_back(k);
    ASSERT_GT(keys.size(), 400u);
    std::mt19937 rng(4);
    Bytes data;
    while (data.size() < 135000) {
        const std::uint32_t k = keys[rng() % keys.size()];
        data.insert(data.end(), {std::uint8_t(k), std::uint8_t(k >> 8), std::uint8_t(k >> 16)});
    }
    ASSERT_EQ(pdf::flate_parse(data, 3), reference_parse(data, 3));
    EXPECT_EQ(inflate_all(pdf::flate_encode(data, 3), data.size()), data);
}

TEST(FlateEncoder, LongWalksGetTheSameSymbols) {
    // Binary tables of small numbers, like a font's: three-byte strings
    // with chains of hundreds of positions, walks long enough for the
    // encoder to follow chains two steps at a time, across several turns of
    // the 32 KiB window and the ring of links.
    std::mt19937 rng(11);
    Bytes data;
    while (data.size() < 100000) {
        const std::uint32_t value = rng() % 5 == 0 ? rng() % 2000 : rng() % 40;
        data.insert(data.end(), {std::uint8_t(0), std::uint8_t(value >> 8), std::uint8_t(value)});
        if (rng() % 7 == 0) data.push_back(std::uint8_t(rng() % 3));
    }
    for (int quality : {0, 3})
        ASSERT_EQ(pdf::flate_parse(data, quality), reference_parse(data, quality)) << "quality " << quality;
    EXPECT_EQ(inflate_all(pdf::flate_encode(data, 3), data.size()), data);
}

namespace {

// Figure K.1 to K.3 of the annex as drawn: linear searches for the two least
// frequent entries, chains of "others", the counts and their adjustment,
// then the lengths handed out by unadjusted size and symbol.
std::vector<std::uint8_t> reference_lengths(std::vector<std::uint64_t> freq, int max_length) {
    const int count = int(freq.size());
    std::vector<std::uint8_t> lengths(freq.size(), 0);
    int used = 0;
    for (auto f : freq) used += f > 0;
    if (used == 0) return lengths;
    if (used == 1) *std::find(freq.begin(), freq.end(), 0u) = 1;
    std::vector<int> code_size(freq.size(), 0), others(freq.size(), -1);
    for (;;) {
        int v1 = -1, v2 = -1;
        for (int v = 0; v < count; ++v)  // least frequency; the largest symbol on ties
            if (freq[v] > 0 && (v1 < 0 || freq[v] <= freq[v1])) v1 = v;
        for (int v = 0; v < count; ++v)
            if (v != v1 && freq[v] > 0 && (v2 < 0 || freq[v] <= freq[v2])) v2 = v;
        if (v2 < 0) break;
        freq[v1] += freq[v2];
        freq[v2] = 0;
        int v = v1;
        for (++code_size[v]; others[v] >= 0; ++code_size[v]) v = others[v];
        others[v] = v2;
        v = v2;
        for (++code_size[v]; others[v] >= 0; ++code_size[v]) v = others[v];
    }
    std::vector<int> bits(400, 0);
    for (int v = 0; v < count; ++v)
        if (code_size[v] > 0) ++bits[code_size[v]];
    for (int i = 399; i > max_length;) {
        if (bits[i] > 0) {
            int j = i - 1;
            do --j; while (bits[j] == 0);
            bits[i] -= 2;
            bits[i - 1] += 1;
            bits[j + 1] += 2;
            bits[j] -= 1;
        } else {
            --i;
        }
    }
    int next_size = 1, left = bits[1];
    for (int size = 1; size < 400; ++size)
        for (int v = 0; v < count; ++v)
            if (code_size[v] == size) {
                while (left == 0) left = bits[++next_size];
                lengths[v] = std::uint8_t(next_size);
                --left;
            }
    return lengths;
}

}  // namespace

TEST(HuffmanCodeLengths, SameLengthsAsTheAnnexProcedureDrawn) {
    std::mt19937 rng(81);
    for (int round = 0; round < 400; ++round) {
        const std::size_t size = round % 3 == 0 ? 19 : round % 3 == 1 ? 30 : 288;
        const int max_length = size == 19 ? 7 : 15;
        std::vector<std::uint64_t> freq(size, 0);
        const int kind = round % 4;
        for (std::size_t v = 0; v < size; ++v) {
            if (rng() % (kind == 0 ? 2 : 5) == 0) continue;
            freq[v] = kind == 1   ? 1 + rng() % 4                      // many ties
                      : kind == 2 ? std::uint64_t(1) << (rng() % 30)   // deep trees
                                  : 1 + rng() % 1000;
        }
        ASSERT_EQ(pdf::limited_code_lengths(freq, max_length), reference_lengths(freq, max_length))
            << "round " << round;
    }
}
