// Table-driven inflate: a 64-bit bit buffer refilled a word at a time while
// the input allows it, and two-level decoding tables (a primary table indexed
// by the next bits, sub-tables for the few longer codes), so that one lookup
// usually decodes one symbol.
#include "pdf/core/flate_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace pdf {

namespace {

constexpr std::array<std::uint16_t, 29> length_base = {3,  4,  5,  6,  7,  8,  9,  10,  11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> length_extra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> distance_base = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> distance_extra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::array<std::uint8_t, 19> code_length_order = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                            11, 4,  12, 3, 13, 2, 14, 1, 15};

// A table entry: the symbol (or, for a link, where its sub-table starts) in
// the low 16 bits, the code length (for a link, the sub-table's index bits)
// in bits 16-23, and two flags.
constexpr std::uint32_t kLink = 1u << 24;
constexpr std::uint32_t kInvalid = 1u << 25;

struct Huffman {
    std::vector<std::uint32_t> table;
    unsigned primary_bits = 0;
};

enum class Shape { code_lengths, literals, distances };

// Builds the canonical code of `lengths`. Refuses over-subscribed codes and
// incomplete ones, except that the literal and distance trees may hold a
// single one-bit code and the distance tree may be empty (a block without
// matches), as zlib allows; codes missing from such a tree decode as errors.
bool build(Huffman& h, std::span<const std::uint8_t> lengths, unsigned primary, Shape shape) {
    std::array<unsigned, 16> count{};
    for (std::uint8_t l : lengths) ++count[l];
    unsigned max_length = 15;
    while (max_length > 0 && count[max_length] == 0) --max_length;
    h.table.clear();
    if (max_length == 0) {
        if (shape != Shape::distances) return false;
        h.primary_bits = 1;
        h.table.assign(2, kInvalid);
        return true;
    }
    int left = 1;
    for (unsigned len = 1; len <= 15; ++len) {
        left = left * 2 - static_cast<int>(count[len]);
        if (left < 0) return false;
    }
    if (left > 0 && (shape == Shape::code_lengths || max_length != 1)) return false;

    std::array<unsigned, 16> next{};
    unsigned code = 0;
    count[0] = 0;
    for (unsigned len = 1; len <= 15; ++len) {
        code = (code + count[len - 1]) << 1;
        next[len] = code;
    }
    const unsigned pb = std::min(primary, max_length);
    const unsigned sub_bits = max_length > pb ? max_length - pb : 0;
    h.primary_bits = pb;
    h.table.assign(std::size_t{1} << pb, kInvalid);
    for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
        const unsigned len = lengths[symbol];
        if (len == 0) continue;
        const unsigned canonical = next[len]++;
        unsigned reversed = 0;
        for (unsigned b = 0; b < len; ++b) reversed |= ((canonical >> b) & 1u) << (len - 1 - b);
        const std::uint32_t entry = static_cast<std::uint32_t>(symbol) | (len << 16);
        if (len <= pb) {
            for (std::size_t i = reversed; i < h.table.size() && i < (std::size_t{1} << pb); i += std::size_t{1} << len)
                h.table[i] = entry;
            continue;
        }
        const std::size_t low = reversed & ((1u << pb) - 1);
        if ((h.table[low] & kLink) == 0) {
            const std::size_t start = h.table.size();
            h.table.resize(start + (std::size_t{1} << sub_bits), kInvalid);
            h.table[low] = static_cast<std::uint32_t>(start) | (sub_bits << 16) | kLink;
        }
        const std::size_t start = h.table[low] & 0xFFFFu;
        for (std::size_t i = reversed >> pb; i < (std::size_t{1} << sub_bits); i += std::size_t{1} << (len - pb))
            h.table[start + i] = entry;
    }
    return true;
}

class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> in) : in_(in) {}

    // Tops the buffer up to at least 56 bits, as far as the input goes.
    void refill() {
        if (pos_ + 8 <= in_.size()) {
            std::uint64_t word;
            std::memcpy(&word, in_.data() + pos_, 8);
            if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
            bits_ |= word << count_;
            pos_ += (63 - count_) >> 3;
            count_ |= 56;
            return;
        }
        while (count_ <= 56 && pos_ < in_.size()) {
            bits_ |= std::uint64_t{in_[pos_++]} << count_;
            count_ += 8;
        }
    }

    bool take(unsigned n, std::uint32_t& value) {
        if (count_ < n) refill();
        if (count_ < n) return false;
        value = static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1));
        drop(n);
        return true;
    }

    void drop(unsigned n) {
        bits_ >>= n;
        count_ -= n;
    }

    // Decodes one symbol; false at a missing code or the end of the input.
    bool decode(const Huffman& h, std::uint32_t& symbol, FlateStatus& status) {
        if (count_ < 15) refill();
        std::uint32_t e = h.table[bits_ & ((std::uint64_t{1} << h.primary_bits) - 1)];
        if (e & kLink) {
            const unsigned sub = (e >> 16) & 0xFFu;
            e = h.table[(e & 0xFFFFu) + ((bits_ >> h.primary_bits) & ((std::uint64_t{1} << sub) - 1))];
        }
        const unsigned len = (e >> 16) & 0xFFu;
        // Missing bits read as zeros, and a zero code is never missing from
        // a tree that has codes: a missing code is one of the data's own,
        // unless no bit is left and the tree has none (no distance codes).
        if (e & kInvalid) {
            status = count_ == 0 ? FlateStatus::truncated : FlateStatus::bad_symbol;
            return false;
        }
        if (len > count_) {
            status = FlateStatus::truncated;
            return false;
        }
        drop(len);
        symbol = e & 0xFFFFu;
        return true;
    }

    // Drops the bits up to the next byte boundary and hands back the
    // position of that byte, leaving the buffer empty.
    std::size_t align_to_byte() {
        drop(count_ & 7u);
        const std::size_t position = pos_ - count_ / 8;
        bits_ = 0;
        count_ = 0;
        pos_ = position;
        return position;
    }
    void skip_to(std::size_t position) { pos_ = position; }

private:
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
};

const Huffman& fixed_literals() {
    static const Huffman table = [] {
        std::array<std::uint8_t, 288> lengths{};
        std::fill(lengths.begin(), lengths.begin() + 144, 8);
        std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
        std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
        std::fill(lengths.begin() + 280, lengths.end(), 8);
        Huffman h;
        build(h, lengths, 10, Shape::literals);
        return h;
    }();
    return table;
}

const Huffman& fixed_distances() {
    static const Huffman table = [] {
        std::array<std::uint8_t, 32> lengths{};
        lengths.fill(5);
        Huffman h;
        build(h, lengths, 8, Shape::distances);
        return h;
    }();
    return table;
}

// The output: the bytes after what `out` held before (`base`), which
// back-references cannot reach. Within the capacity a caller reserved the
// vector grows in steps that touch little more than is written; beyond it,
// by doubling. Cut to size at the end.
class Output {
public:
    Output(std::vector<std::uint8_t>& out, std::size_t cap, std::size_t guess)
        : out_(out), base_(out.size()), cap_(cap) {
        if (out_.capacity() - base_ < guess) out_.reserve(base_ + std::min(cap_, guess));
    }
    ~Output() { out_.resize(base_ + used); }
    bool room(std::size_t n) {
        if (n > cap_ - used) return false;
        const std::size_t needed = base_ + used + n;
        if (needed > out_.size()) {
            constexpr std::size_t step = std::size_t{1} << 16;
            const std::size_t grown = needed <= out_.capacity() ? std::min(out_.capacity(), needed + step)
                                                                : std::max(needed, out_.size() * 2);
            out_.resize(std::min(grown, base_ + cap_));
        }
        return true;
    }
    // The byte `i` of this output.
    std::uint8_t* at(std::size_t i) { return out_.data() + base_ + i; }
    std::size_t size() const { return out_.size() - base_; }

    std::size_t used = 0;

private:
    std::vector<std::uint8_t>& out_;
    std::size_t base_;
    std::size_t cap_;
};

FlateStatus read_dynamic_tables(BitReader& bits, Huffman& literals, Huffman& distances) {
    std::uint32_t hlit = 0, hdist = 0, hclen = 0;
    if (!bits.take(5, hlit) || !bits.take(5, hdist) || !bits.take(4, hclen)) return FlateStatus::truncated;
    hlit += 257;
    hdist += 1;
    hclen += 4;
    if (hlit > 286 || hdist > 30) return FlateStatus::bad_code_counts;

    std::array<std::uint8_t, 19> code_lengths{};
    for (std::uint32_t i = 0; i < hclen; ++i) {
        std::uint32_t v = 0;
        if (!bits.take(3, v)) return FlateStatus::truncated;
        code_lengths[code_length_order[i]] = static_cast<std::uint8_t>(v);
    }
    Huffman codes;
    if (!build(codes, code_lengths, 7, Shape::code_lengths)) return FlateStatus::bad_code_lengths;

    std::array<std::uint8_t, 286 + 30> lengths{};
    const std::uint32_t total = hlit + hdist;
    std::uint32_t i = 0;
    while (i < total) {
        std::uint32_t symbol = 0;
        FlateStatus status = FlateStatus::ok;
        if (!bits.decode(codes, symbol, status)) return status;
        if (symbol < 16) {
            lengths[i++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint32_t repeat = 0;
        std::uint8_t value = 0;
        if (symbol == 16) {
            if (i == 0) return FlateStatus::bad_code_lengths;
            value = lengths[i - 1];
            if (!bits.take(2, repeat)) return FlateStatus::truncated;
            repeat += 3;
        } else if (symbol == 17) {
            if (!bits.take(3, repeat)) return FlateStatus::truncated;
            repeat += 3;
        } else {
            if (!bits.take(7, repeat)) return FlateStatus::truncated;
            repeat += 11;
        }
        if (repeat > total - i) return FlateStatus::bad_code_lengths;
        std::fill_n(lengths.begin() + i, repeat, value);
        i += repeat;
    }
    if (lengths[256] == 0) return FlateStatus::bad_code_lengths;
    const std::span<const std::uint8_t> all(lengths.data(), total);
    if (!build(literals, all.first(hlit), 10, Shape::literals)) return FlateStatus::bad_code_lengths;
    if (!build(distances, all.subspan(hlit), 8, Shape::distances)) return FlateStatus::bad_code_lengths;
    return FlateStatus::ok;
}

FlateStatus decode_block(BitReader& bits, const Huffman& literals, const Huffman& distances, Output& o) {
    FlateStatus status = FlateStatus::ok;
    for (;;) {
        std::uint32_t symbol = 0;
        if (!bits.decode(literals, symbol, status)) return status;
        if (symbol < 256) {
            if (o.used == o.size() && !o.room(1)) return FlateStatus::output_too_large;
            *o.at(o.used++) = static_cast<std::uint8_t>(symbol);
            continue;
        }
        if (symbol == 256) return FlateStatus::ok;
        const std::uint32_t l = symbol - 257;
        if (l >= length_base.size()) return FlateStatus::bad_symbol;
        std::uint32_t extra = 0;
        if (!bits.take(length_extra[l], extra)) return FlateStatus::truncated;
        const std::size_t length = length_base[l] + extra;
        std::uint32_t d = 0;
        if (!bits.decode(distances, d, status)) return status;
        if (d >= distance_base.size()) return FlateStatus::bad_symbol;
        if (!bits.take(distance_extra[d], extra)) return FlateStatus::truncated;
        const std::size_t distance = distance_base[d] + extra;
        if (distance > o.used) return FlateStatus::bad_distance;
        if (!o.room(length)) return FlateStatus::output_too_large;
        std::uint8_t* to = o.at(o.used);
        const std::uint8_t* from = to - distance;
        if (distance >= length) {
            std::copy_n(from, length, to);
        } else {
            // An overlapping copy repeats the bytes it is producing.
            for (std::size_t k = 0; k < length; ++k) to[k] = from[k];
        }
        o.used += length;
    }
}

}  // namespace

const char* flate_status_text(FlateStatus status) {
    switch (status) {
        case FlateStatus::ok: return "nessun errore";
        case FlateStatus::truncated: return "dati compressi troncati";
        case FlateStatus::bad_stored_length: return "lunghezza incoerente di un blocco non compresso";
        case FlateStatus::bad_block_type: return "tipo di blocco non valido";
        case FlateStatus::bad_code_counts: return "numero di codici non valido";
        case FlateStatus::bad_code_lengths: return "lunghezze dei codici non valide";
        case FlateStatus::bad_symbol: return "codice non valido";
        case FlateStatus::bad_distance: return "distanza oltre l'inizio dei dati";
        case FlateStatus::output_too_large: return "dati decompressi oltre il limite";
        case FlateStatus::bad_zlib_header: return "intestazione zlib non valida";
    }
    return "errore sconosciuto";
}

FlateStatus flate_decode_append(std::span<const std::uint8_t> in, std::size_t max_output,
                               std::vector<std::uint8_t>& out) {
    Output o(out, max_output, in.size() * 4 + 1024);
    BitReader bits(in);
    Huffman literals, distances;
    for (;;) {
        std::uint32_t final_block = 0, type = 0;
        if (!bits.take(1, final_block) || !bits.take(2, type)) return FlateStatus::truncated;
        FlateStatus status = FlateStatus::ok;
        if (type == 0) {
            const std::size_t p = bits.align_to_byte();
            if (in.size() - p < 4) return FlateStatus::truncated;
            const std::size_t len = in[p] | (std::size_t{in[p + 1]} << 8);
            const std::size_t nlen = in[p + 2] | (std::size_t{in[p + 3]} << 8);
            if (len != (~nlen & 0xFFFFu)) return FlateStatus::bad_stored_length;
            const std::size_t available = in.size() - p - 4;
            const std::size_t n = std::min(len, available);
            if (!o.room(n)) return FlateStatus::output_too_large;
            std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(p + 4), n, o.at(o.used));
            o.used += n;
            if (n < len) return FlateStatus::truncated;
            bits.skip_to(p + 4 + len);
        } else if (type == 1) {
            status = decode_block(bits, fixed_literals(), fixed_distances(), o);
        } else if (type == 2) {
            status = read_dynamic_tables(bits, literals, distances);
            if (status == FlateStatus::ok) status = decode_block(bits, literals, distances, o);
        } else {
            return FlateStatus::bad_block_type;
        }
        if (status != FlateStatus::ok) return status;
        if (final_block) return FlateStatus::ok;
    }
}

FlateStatus zlib_decode_append(std::span<const std::uint8_t> in, std::size_t max_output,
                               std::vector<std::uint8_t>& out) {
    if (in.size() < 2) return FlateStatus::truncated;
    const unsigned cmf = in[0], flg = in[1];
    if ((cmf & 0x0Fu) != 8 || (cmf >> 4) > 7 || (cmf * 256 + flg) % 31 != 0 || (flg & 0x20u) != 0)
        return FlateStatus::bad_zlib_header;
    return flate_decode_append(in.subspan(2), max_output, out);
}

FlateStatus flate_decode(std::span<const std::uint8_t> in, std::size_t max_output, std::vector<std::uint8_t>& out) {
    out.clear();
    return flate_decode_append(in, max_output, out);
}

FlateStatus zlib_decode(std::span<const std::uint8_t> in, std::size_t max_output, std::vector<std::uint8_t>& out) {
    out.clear();
    return zlib_decode_append(in, max_output, out);
}

}  // namespace pdf
