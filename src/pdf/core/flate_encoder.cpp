#include "pdf/core/flate_encoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pdf/core/huffman_code_lengths.h"

namespace pdf {

namespace {

constexpr std::array<int, 19> code_length_order = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                   11, 4,  12, 3, 13, 2, 14, 1, 15};
constexpr std::array<int, 29> length_base = {3,  4,  5,  6,  7,  8,  9,   10,  11,  13,
                                             15, 17, 19, 23, 27, 31, 35,  43,  51,  59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> length_extra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 32> distance_base = {
    1,    2,    3,    4,    5,    7,     9,     13,    17,    25,    33,
    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025,  1537,
    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::array<int, 32> distance_extra = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,
                                                4, 5, 5, 6, 6, 7, 7,  8,  8,  9,  9,
                                                10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

constexpr std::array<FlateLevel, 6> levels = {{
    {4, 4, 16, 16},
    {8, 16, 32, 32},
    {8, 16, 128, 128},
    {8, 32, 128, 256},
    {32, 128, 258, 1024},
    {32, 258, 258, 4096},
}};

constexpr int max_match = 258;
// Every byte 0x80, so that a table is filled by memset; far below any
// position.
constexpr std::int32_t no_position = std::int32_t(0x80808080u);
constexpr std::size_t max_distance = 32767;
constexpr std::size_t far_for_three = 4096;
constexpr std::size_t max_stored_block = 65535;
constexpr int literal_symbols = 288;
constexpr int distance_symbols = 30;
constexpr int end_of_block = 256;

// Lookup of length and distance codes.
struct CodeLookup {
    std::array<std::uint8_t, max_match + 1> length_code{};  // by length
    std::array<std::uint8_t, 256> near_distance{};         // by distance - 1 below 256
    std::array<std::uint8_t, 256> far_distance{};          // by (distance - 1) >> 7

    constexpr CodeLookup() {
        for (int len = 3; len <= max_match; ++len) {
            int k = 0;
            while (k + 1 < int(length_base.size()) && length_base[std::size_t(k + 1)] <= len) ++k;
            length_code[std::size_t(len)] = std::uint8_t(k);
        }
        for (int d = 1; d <= 256; ++d) near_distance[std::size_t(d - 1)] = code_of_distance(d);
        // From code 16 on, every base distance minus one is a multiple of 128.
        for (int i = 2; i < 256; ++i) far_distance[std::size_t(i)] = code_of_distance((i << 7) + 1);
    }
    static constexpr std::uint8_t code_of_distance(int distance) {
        int k = 0;
        while (k + 1 < distance_symbols && distance_base[std::size_t(k + 1)] <= distance) ++k;
        return std::uint8_t(k);
    }
    constexpr int distance_code(std::size_t distance) const {
        return distance <= 256 ? near_distance[distance - 1] : far_distance[(distance - 1) >> 7];
    }
};

constexpr CodeLookup code_lookup{};

inline std::uint32_t load3(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

// The same as load3 for a position with a fourth readable byte after the
// three: one load instead of three.
inline std::uint32_t load3_of4(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v & 0xFFFFFFu;
    } else {
        return load3(p);
    }
}

inline std::uint32_t load4(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Number of equal bytes at a and b, knowing the first three are equal, at
// most max_len.
inline int match_length(const std::uint8_t* a, const std::uint8_t* b, int max_len) {
    int len = 3;
    if constexpr (std::endian::native == std::endian::little) {
        while (len + 8 <= max_len) {
            std::uint64_t x, y;
            std::memcpy(&x, a + len, 8);
            std::memcpy(&y, b + len, 8);
            if (const std::uint64_t diff = x ^ y; diff != 0)
                return len + (std::countr_zero(diff) >> 3);
            len += 8;
        }
    }
    while (len < max_len && a[len] == b[len]) ++len;
    return len;
}

std::uint16_t reverse_bits(std::uint16_t code, int length) {
    if (length == 0) return 0;
    std::uint32_t v = code;
    v = ((v >> 1) & 0x5555u) | ((v & 0x5555u) << 1);
    v = ((v >> 2) & 0x3333u) | ((v & 0x3333u) << 2);
    v = ((v >> 4) & 0x0F0Fu) | ((v & 0x0F0Fu) << 4);
    v = ((v >> 8) & 0x00FFu) | ((v & 0x00FFu) << 8);
    return std::uint16_t(v >> (16 - length));
}

// Deflate bits leave least significant first; Huffman codes are stored
// reversed so that they leave most significant first. Every put stores the
// whole 64-bit buffer and moves on by its complete bytes, which spares a
// branch per code that the data would make unpredictable; the output needs
// 8 bytes of room beyond the stream for it.
class BitWriter {
public:
    // The bits a block left short of a whole byte, for the block after it.
    struct Pending {
        std::uint64_t bits = 0;
        int count = 0;
    };
    BitWriter(std::uint8_t* out, Pending pending) : out_(out), buffer_(pending.bits), count_(pending.count) {}
    // At most 57 bits at a time.
    void put(std::uint64_t value, int count) {
        buffer_ |= value << count_;
        count_ += count;
        store64(out_, buffer_);
        const int bytes = count_ >> 3;
        out_ += bytes;
        buffer_ >>= bytes << 3;
        count_ &= 7;
    }
    // Writes the pending bits with zero bits up to the byte boundary.
    void align() {
        if (count_ > 0) *out_++ = std::uint8_t(buffer_);
        buffer_ = 0;
        count_ = 0;
    }
    void put_byte_aligned(std::uint8_t byte) { *out_++ = byte; }
    void put_bytes_aligned(const std::uint8_t* data, std::size_t size) {
        if (size > 0) std::memcpy(out_, data, size);
        out_ += size;
    }
    std::uint8_t* position() const { return out_; }
    Pending pending() const { return {buffer_, count_}; }

private:
    static void store64(std::uint8_t* p, std::uint64_t v) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(p, &v, 8);
        } else {
            for (int k = 0; k < 8; ++k) p[k] = std::uint8_t(v >> (8 * k));
        }
    }

    std::uint8_t* out_;
    std::uint64_t buffer_;
    int count_;
};

struct HuffmanTable {
    std::array<std::uint8_t, literal_symbols> lengths{};
    std::array<std::uint16_t, literal_symbols> codes{};  // reversed, ready for BitWriter
    std::size_t size = 0;

    // Code lengths for `frequencies`, at most `max_length` bits, with their codes.
    HuffmanTable(std::span<const std::uint64_t> frequencies, int max_length) : size(frequencies.size()) {
        limited_code_lengths(frequencies, max_length, std::span(lengths).first(size));
        assign_codes();
    }
    explicit HuffmanTable(std::span<const std::uint8_t> l) : size(l.size()) {
        std::copy(l.begin(), l.end(), lengths.begin());
        assign_codes();
    }

private:
    void assign_codes() {
        canonical_codes(std::span(lengths).first(size), std::span(codes).first(size));
        for (std::size_t i = 0; i < size; ++i) codes[i] = reverse_bits(codes[i], lengths[i]);
    }
};

const HuffmanTable& fixed_literal_table() {
    static const HuffmanTable table([] {
        std::array<std::uint8_t, literal_symbols> l{};
        for (int s = 0; s < literal_symbols; ++s)
            l[std::size_t(s)] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
        return HuffmanTable(l);
    }());
    return table;
}

const HuffmanTable& fixed_distance_table() {
    static const HuffmanTable table(std::array<std::uint8_t, 32>{5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5,
                                                                 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
    return table;
}

// One code-length symbol of the run-length coded lengths.
struct LengthToken {
    std::uint8_t symbol;
    std::uint8_t extra;
};

// Run-length codes one sequence of code lengths with the symbols 16, 17, 18.
void scan_lengths(std::span<const std::uint8_t> lengths, std::vector<LengthToken>& tokens) {
    int previous = -1;
    std::size_t i = 0;
    const std::size_t n = lengths.size();
    while (i < n) {
        const int value = lengths[i];
        const std::size_t max_run = value == 0 ? 138 : value == previous ? 6 : 7;
        const std::size_t min_run = (value == 0 || value == previous) ? 3 : 4;
        std::size_t run = 1;
        while (run < max_run && i + run < n && lengths[i + run] == value) ++run;
        i += run;
        if (run < min_run) {
            for (std::size_t k = 0; k < run; ++k) tokens.push_back({std::uint8_t(value), 0});
        } else if (value != 0) {
            if (value != previous) {
                tokens.push_back({std::uint8_t(value), 0});
                --run;
            }
            tokens.push_back({16, std::uint8_t(run - 3)});
        } else if (run <= 10) {
            tokens.push_back({17, std::uint8_t(run - 3)});
        } else {
            tokens.push_back({18, std::uint8_t(run - 11)});
        }
        previous = value;
    }
}

int token_extra_bits(int symbol) { return symbol == 16 ? 2 : symbol == 17 ? 3 : symbol == 18 ? 7 : 0; }

// Compresses one block: the bytes of `data` from `start` on. Those before
// it are history, the end of the stream before the block: matches reach
// back into it, but it is not written again.
class FlateCompressor {
public:
    FlateCompressor(std::span<const std::uint8_t> data, std::size_t start, const FlateLevel& level)
        : data_(data.data()), n_(data.size()), start_(start), level_(level) {}

    // Appends the block to `out`, after the bits the block before it left
    // pending, and leaves there those it leaves itself: none after the last
    // block, which ends on a byte boundary.
    void encode(std::vector<std::uint8_t>& out, bool last, BitWriter::Pending& pending);
    std::vector<FlateSymbol> parsed() {
        parse();
        std::vector<FlateSymbol> out;
        out.reserve(symbol_count_);
        for (const std::uint32_t s : std::span(symbols_.get(), symbol_count_))
            out.push_back(s < 256 ? FlateSymbol{int(s), 0} : FlateSymbol{int(s & 0xFFFF), int(s >> 16)});
        return out;
    }

private:
    struct Match {
        int length;
        std::size_t distance;
    };

    void set_up_dictionary();
    std::uint32_t hash(std::uint32_t key) const { return (key * 2654435761u) >> hash_shift_; }
    // The three bytes at a position; a position of the dictionary is at most
    // n - 3.
    std::uint32_t key_at(std::size_t position) const {
        return position + 4 <= n_ ? load3_of4(data_ + position) : load3(data_ + position);
    }
    void insert(std::size_t position) {
        if (by_string_) {
            insert_by_string(position);
            return;
        }
        const std::uint32_t h = hash(key_at(position));
        link(position, head_[h]);
        head_[h] = std::int32_t(position);
    }
    // Inserts the positions a match covers, from `first` up to `end`.
    void insert_range(std::size_t first, std::size_t end) {
        std::size_t q = first;
        if (!by_string_) {
            // Every position before n - 3 has a fourth byte to load with the
            // three; the tables stay in registers.
            const std::uint8_t* const data = data_;
            std::int32_t* const head = head_.get();
            std::uint16_t* const links = prev_.get();
            const std::size_t mask = prev_mask_;
            const std::size_t four_end = std::min(end, n_ - 3);
            if (!two_lanes_) {
                for (; q < four_end; ++q) {
                    const std::uint32_t h = hash(load3_of4(data + q));
                    links[q & mask] = link_to(q, head[h]);
                    head[h] = std::int32_t(q);
                }
            } else {
                std::uint16_t* const skips = skip_.get();
                for (; q < four_end; ++q) {
                    const std::uint32_t h = hash(load3_of4(data + q));
                    const std::uint16_t near = link_to(q, head[h]);
                    links[q & mask] = near;
                    skips[q & mask] = skip_link(near, links[std::size_t(head[h]) & mask]);
                    head[h] = std::int32_t(q);
                }
            }
        }
        for (; q < end; ++q) insert(q);
    }
    // The newest position of a string's chain.
    std::int32_t newest(std::uint32_t key) const {
        if (!by_string_) return head_[hash(key)];
        const Head& head = heads_[head_slot(key)];
        return head.key == key ? head.position : no_position;
    }
    // The slot of a string in the table of newest positions: its own, or
    // the free one where it goes.
    std::size_t head_slot(std::uint32_t key) const {
        std::size_t i = (key * slot_multiplier_) >> slot_shift_;
        while (heads_[i].key != key && heads_[i].key != no_key) i = (i + 1) & slot_mask_;
        return i;
    }
    void insert_by_string(std::size_t position) {
        const std::uint32_t key = key_at(position);
        std::size_t i = head_slot(key);
        if (heads_[i].key == no_key) {
            if (heads_used_ == heads_limit_) {
                drop_strings_before_window(position);
                i = head_slot(key);
            }
            ++heads_used_;
            heads_[i] = {key, no_position};
        }
        link(position, heads_[i].position);
        heads_[i].position = std::int32_t(position);
    }
    void change_to_chains_by_string(std::size_t position);
    void drop_strings_before_window(std::size_t position);
    // The longest match at position among those longer than `shorter_than`
    // (2 for any match): a search that has to beat a known length rejects
    // most candidates by one byte, and finds the same match as a search from
    // scratch whenever that one is longer than the known length.
    [[gnu::always_inline]] inline Match longest_match(std::size_t position, int stop, int continued_stop,
                                                      int shorter_than = 2) const;
    void literal(std::size_t position) {
        symbols_[symbol_count_++] = data_[position];
        ++literal_freq_[data_[position]];
    }
    void pair(int length, std::size_t distance) {
        symbols_[symbol_count_++] = std::uint32_t(distance << 16) | std::uint32_t(length);
        ++literal_freq_[std::size_t(257 + code_lookup.length_code[std::size_t(length)])];
        ++distance_freq_[std::size_t(code_lookup.distance_code(distance))];
    }
    void parse();
    void write_symbols(BitWriter& bits, const HuffmanTable& literals,
                       const HuffmanTable& distances) const;

    const std::uint8_t* data_;
    std::size_t n_;
    std::size_t start_;
    FlateLevel level_;

    std::unique_ptr<std::int32_t[]> head_;
    // A position's link is its distance to the previous position of its
    // chain, 65,535 for none: any distance beyond the window ends a walk
    // alike. Half the size of positions, so more of the ring stays in the
    // nearest cache.
    static std::uint16_t link_to(std::size_t position, std::int32_t previous) {
        return std::uint16_t(std::min<std::int64_t>(std::int64_t(position) - previous, 65535));
    }
    void link(std::size_t position, std::int32_t previous) {
        const std::uint16_t near = link_to(position, previous);
        prev_[position & prev_mask_] = near;
        if (two_lanes_)
            skip_[position & prev_mask_] = skip_link(near, prev_[std::size_t(previous) & prev_mask_]);
    }
    // The distance two steps down a chain, from the link of a position and
    // that of its previous one. A previous position outside the window may
    // have lost its slot of the ring to a newer one, but then the sum lies
    // outside too.
    static std::uint16_t skip_link(std::uint16_t near, std::uint16_t previous_link) {
        return std::uint16_t(std::min<std::uint32_t>(std::uint32_t(near) + previous_link, 65535));
    }
    void change_to_two_lanes(std::size_t position);
    std::unique_ptr<std::uint16_t[]> prev_;
    // Long walks follow the odd and the even steps of a chain as two chains
    // of loads that do not wait for each other; this ring holds every
    // position's distance two steps down its chain. Short walks, as on page
    // contents, would lose more on keeping it than they gain.
    std::unique_ptr<std::uint16_t[]> skip_;
    bool two_lanes_ = false;
    // Candidates looked at by the searches so far.
    mutable std::uint64_t steps_ = 0;
    std::size_t prev_mask_ = 0;
    int hash_shift_ = 0;
    // Positions of other strings stepped over by the searches so far.
    mutable std::uint64_t skipped_ = 0;

    // Chains by string: a table of the newest position of every string met
    // so far, found by the string itself (open addressing), so that a chain
    // holds the positions of one string only.
    struct Head {
        std::uint32_t key;
        std::int32_t position;
    };
    static constexpr std::uint32_t no_key = 0xFFFFFFFFu;  // keys have 24 bits
    bool by_string_ = false;
    std::unique_ptr<Head[]> heads_;
    std::size_t slot_mask_ = 0;
    std::size_t heads_used_ = 0;
    std::size_t heads_limit_ = 0;
    int slot_shift_ = 0;
    std::uint32_t slot_multiplier_ = 0;

    // A literal is its byte value; a pair is distance << 16 | length.
    std::unique_ptr<std::uint32_t[]> symbols_;  // at most one per input byte
    std::size_t symbol_count_ = 0;
    std::array<std::uint64_t, literal_symbols> literal_freq_{};
    std::array<std::uint64_t, 32> distance_freq_{};
};

void FlateCompressor::set_up_dictionary() {
    // The dictionary keeps, per three-byte string, the positions where it
    // starts, newest first. Chains of a hash of the string are walked and
    // candidates of other strings skipped, so the candidates and their order
    // are those of exact per-string chains. Only positions inside the window
    // are ever followed, so the links live in a ring of window size.
    // Heads for half the input, up to 2^18: a walk steps over about
    // 32,768 / 2^bits other strings of the window, which on data with few
    // repeats is most of the time; small streams would spend more on
    // filling a larger table than they save.
    int hash_bits = 8;
    while (hash_bits < 18 && (std::size_t(2) << hash_bits) < n_) ++hash_bits;
    hash_shift_ = 32 - hash_bits;
    const std::size_t heads = std::size_t(1) << hash_bits;
    head_ = std::make_unique_for_overwrite<std::int32_t[]>(heads);
    std::memset(head_.get(), 0x80, heads * sizeof(std::int32_t));
    // A link is always written when its position is inserted, before any
    // walk can read it, so the ring needs no initial values.
    std::size_t ring = 256;
    while (ring < 32768 && ring < n_) ring <<= 1;
    prev_ = std::make_unique_for_overwrite<std::uint16_t[]>(ring);
    prev_mask_ = ring - 1;
    // The slot that the end of a chain (no position) points to may be read
    // for a skip link before any position has written it.
    prev_[std::size_t(no_position) & prev_mask_] = 65535;
}

void FlateCompressor::change_to_two_lanes(std::size_t position) {
    skip_ = std::make_unique_for_overwrite<std::uint16_t[]>(prev_mask_ + 1);
    two_lanes_ = true;
    // Searches from here on reach back to position - 32,767 at most.
    const std::size_t first = position > max_distance ? position - max_distance : 0;
    for (std::size_t q = first; q < position; ++q) {
        const std::uint16_t near = prev_[q & prev_mask_];
        skip_[q & prev_mask_] = skip_link(near, prev_[(q - std::min<std::size_t>(near, q)) & prev_mask_]);
    }
}

void FlateCompressor::change_to_chains_by_string(std::size_t position) {
    // The table is kept at most half full: the window holds at most 32,767
    // strings, and once the table reaches its limit the strings last seen
    // before the window are dropped.
    const std::size_t live = std::min<std::size_t>(n_, 32768);
    int bits = 8;
    while ((std::size_t(1) << bits) < 2 * live) ++bits;
    if (n_ > live) bits = 17;
    const std::size_t size = std::size_t(1) << bits;
    slot_shift_ = 32 - bits;
    slot_mask_ = size - 1;
    // A multiplier drawn afresh, so that no input can be made to crowd the
    // strings into a few slots; the slots do not change the candidates.
    const auto now = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    slot_multiplier_ = std::uint32_t((now ^ (now >> 32)) * 2654435761u) | 1u;
    heads_limit_ = size / 2;
    heads_ = std::make_unique_for_overwrite<Head[]>(size);
    std::fill_n(heads_.get(), size, Head{no_key, no_position});
    heads_used_ = 0;
    by_string_ = true;
    // The window's positions again, oldest first: their links become links
    // within their own string.
    const std::size_t first = position > max_distance ? position - max_distance : 0;
    for (std::size_t q = first; q < position; ++q) insert_by_string(q);
}

void FlateCompressor::drop_strings_before_window(std::size_t position) {
    // Searches from here on reach back to position - 32,767 at most.
    const std::int64_t oldest = std::int64_t(position) - std::int64_t(max_distance);
    const std::size_t size = slot_mask_ + 1;
    const std::unique_ptr<Head[]> old = std::move(heads_);
    heads_ = std::make_unique_for_overwrite<Head[]>(size);
    std::fill_n(heads_.get(), size, Head{no_key, no_position});
    heads_used_ = 0;
    for (std::size_t k = 0; k < size; ++k)
        if (old[k].key != no_key && old[k].position >= oldest) {
            heads_[head_slot(old[k].key)] = old[k];
            ++heads_used_;
        }
}

FlateCompressor::Match FlateCompressor::longest_match(std::size_t position, int stop,
                                                      int continued_stop, int shorter_than) const {
    // A match never covers the last byte of the input.
    const int max_len = int(std::min<std::size_t>(max_match, n_ - 1 - position));
    int best = shorter_than;
    std::size_t best_distance = 0;
    if (max_len <= best) return {best, best_distance};

    // Locals, so that the loop keeps them in registers.
    const std::uint8_t* const data = data_;
    const std::uint16_t* const links = prev_.get();
    const std::size_t mask = prev_mask_;
    const int chain_size = level_.chain_size;
    const std::uint8_t* here = data + position;
    const std::uint32_t key = key_at(position);
    int seen = 0;
    std::uint64_t skipped = 0;
    // Looks at one candidate in chain order; true ends the walk.
    auto visit = [&](std::int32_t candidate) {
        const std::uint8_t* there = data + candidate;
        // Candidates lie before the position, so four bytes are readable.
        if (load3_of4(there) != key) {  // another string with the same hash
            ++skipped;
            return false;
        }
        // The chain holds only the newest chain-size positions of the string.
        if (++seen > chain_size) return true;
        // A longer match needs the four bytes up to offset best equal too
        // (any match beats best 2); one load rejects most candidates, so
        // few reach the full comparison only to come out no longer.
        if (best >= 3 && load4(there + best - 3) != load4(here + best - 3)) return false;
        const int len = match_length(there, here, max_len);
        if (len <= best) return false;
        best = len;
        best_distance = position - std::size_t(candidate);
        if (best >= max_len) return true;
        if (best >= stop) {
            // The search goes on from where it stopped with the longer stop.
            if (stop < continued_stop && best < continued_stop)
                stop = continued_stop;
            else
                return true;
        }
        return false;
    };
    // The end of a chain (65,535 back) lies below every window's start too;
    // positions fall along a chain, so the first one outside ends the walk.
    const std::int64_t window_start = std::int64_t(position) - std::int64_t(max_distance);
    std::int32_t candidate = newest(key);
    if (!two_lanes_) {
        for (; candidate >= window_start; candidate -= links[std::size_t(candidate) & mask])
            if (visit(candidate)) break;
    } else if (candidate >= window_start) {
        const std::uint16_t* const skips = skip_.get();
        std::int32_t odd = candidate - links[std::size_t(candidate) & mask];
        for (;;) {
            if (visit(candidate) || odd < window_start || visit(odd)) break;
            candidate -= skips[std::size_t(candidate) & mask];
            odd -= skips[std::size_t(odd) & mask];
            if (candidate < window_start) break;
        }
    }
    steps_ += std::uint64_t(seen) + skipped;
    skipped_ += skipped;
    return {best, best_distance};
}

void FlateCompressor::parse() {
    symbols_ = std::make_unique_for_overwrite<std::uint32_t[]>(n_ - start_ + 1);
    if (n_ >= 4) {
        set_up_dictionary();
        insert_range(0, std::min(start_, n_ - 2));
    }
    std::size_t p = start_;
    for (;;) {
        if (p + 4 > n_) {  // fewer than four bytes left: literals
            for (; p < n_; ++p) literal(p);
            break;
        }
        // Hash chains are the fast dictionary while strings rarely share a
        // hash (ordinary data steps over less than one other position per
        // byte). Input made of strings that share hashes would make every
        // search step over the whole window: then the chains change to
        // chains by string, whose searches see the same candidates.
        const std::uint64_t parsed = p - start_;
        if (!by_string_ && skipped_ > 8 * parsed + 65536) change_to_chains_by_string(p);
        if (!two_lanes_ && steps_ > 2 * parsed + 16384) change_to_two_lanes(p);
        Match m = longest_match(p, level_.first_stop, level_.second_stop);
        if (m.length >= 3 && m.length < level_.lazy_limit) {
            const Match next = longest_match(p + 1, level_.lazy_limit, level_.lazy_limit, m.length);
            if (next.length > m.length) {
                literal(p);
                insert(p);
                ++p;
                m = next;
            }
        }
        if (m.length == 3 && m.distance > far_for_three) m.length = 2;
        if (m.length < 3) {
            literal(p);
            insert(p);
            ++p;
            continue;
        }
        pair(m.length, m.distance);
        const std::size_t end = std::min(p + std::size_t(m.length), n_ - 2);
        insert_range(p, end);
        p += std::size_t(m.length);
    }
    ++literal_freq_[end_of_block];
}

void FlateCompressor::write_symbols(BitWriter& bits, const HuffmanTable& literals,
                                    const HuffmanTable& distances) const {
    const auto& codes = code_lookup;
    const std::uint16_t* lit_code = literals.codes.data();
    const std::uint8_t* lit_len = literals.lengths.data();
    const std::uint16_t* dist_code = distances.codes.data();
    const std::uint8_t* dist_len = distances.lengths.data();
    for (const std::uint32_t symbol : std::span(symbols_.get(), symbol_count_)) {
        if (symbol < 256) {
            bits.put(lit_code[symbol], lit_len[symbol]);
            continue;
        }
        const int length = int(symbol & 0xFFFF);
        const std::size_t distance = symbol >> 16;
        const int lc = codes.length_code[std::size_t(length)];
        const std::size_t ls = std::size_t(257 + lc);
        const std::size_t dc = std::size_t(codes.distance_code(distance));
        // Length and distance together: at most 20 + 28 bits.
        const int length_bits = lit_len[ls] + length_extra[std::size_t(lc)];
        const std::uint64_t length_part =
            lit_code[ls] | (std::uint64_t(length - length_base[std::size_t(lc)]) << lit_len[ls]);
        const std::uint64_t distance_part =
            dist_code[dc] | (std::uint64_t(distance - std::size_t(distance_base[dc])) << dist_len[dc]);
        bits.put(length_part | (distance_part << length_bits), length_bits + dist_len[dc] + distance_extra[dc]);
    }
    bits.put(lit_code[end_of_block], lit_len[end_of_block]);
}

void FlateCompressor::encode(std::vector<std::uint8_t>& out, bool last, BitWriter::Pending& pending) {
    parse();
    const std::size_t size = n_ - start_;

    // Bits of all symbols with given code lengths, extra bits included.
    auto symbol_bits = [&](std::span<const std::uint8_t> lit, std::span<const std::uint8_t> dist) {
        std::uint64_t bits = 0;
        for (int s = 0; s < literal_symbols; ++s) {
            bits += literal_freq_[std::size_t(s)] * lit[std::size_t(s)];
            if (s > 256 && s < 257 + int(length_extra.size()))
                bits += literal_freq_[std::size_t(s)] * std::uint64_t(length_extra[std::size_t(s - 257)]);
        }
        for (int d = 0; d < distance_symbols; ++d)
            bits += distance_freq_[std::size_t(d)] *
                    (std::uint64_t(dist[std::size_t(d)]) + std::uint64_t(distance_extra[std::size_t(d)]));
        return bits;
    };

    const std::size_t stored_blocks = std::max<std::size_t>(1, (size + max_stored_block - 1) / max_stored_block);
    const std::uint64_t stored_bytes = size + 5 * stored_blocks;
    const std::uint64_t fixed_bits =
        symbol_bits(fixed_literal_table().lengths, fixed_distance_table().lengths) + 3;
    const std::uint64_t fixed_bytes = fixed_bits / 8 + 1;

    const HuffmanTable literals(literal_freq_, 15);
    const HuffmanTable distances{std::span(distance_freq_).first(distance_symbols), 15};
    int hlit = 257;
    for (int s = literal_symbols - 1; s >= 257; --s)
        if (literals.lengths[std::size_t(s)] != 0) {
            hlit = s + 1;
            break;
        }
    int hdist = 1;
    for (int d = distance_symbols - 1; d >= 1; --d)
        if (distances.lengths[std::size_t(d)] != 0) {
            hdist = d + 1;
            break;
        }
    std::vector<LengthToken> tokens;
    scan_lengths(std::span(literals.lengths).first(std::size_t(hlit)), tokens);
    scan_lengths(std::span(distances.lengths).first(std::size_t(hdist)), tokens);
    std::array<std::uint64_t, 19> token_freq{};
    for (const auto& t : tokens) ++token_freq[t.symbol];
    const HuffmanTable length_codes(token_freq, 7);
    int hclen = 4;
    for (int k = 18; k >= 4; --k)
        if (length_codes.lengths[std::size_t(code_length_order[std::size_t(k)])] != 0) {
            hclen = k + 1;
            break;
        }
    std::uint64_t token_bits = 0;
    for (const auto& t : tokens)
        token_bits += length_codes.lengths[t.symbol] + std::uint64_t(token_extra_bits(t.symbol));
    const std::uint64_t dynamic_bits = symbol_bits(literals.lengths, distances.lengths) +
                                       3 * std::uint64_t(hclen - 1) + token_bits + 3;
    const std::uint64_t dynamic_bytes = dynamic_bits / 8 + 1;

    enum class Block { stored, fixed, dynamic };
    Block block = fixed_bytes < stored_bytes ? Block::fixed : Block::stored;
    if (dynamic_bytes < (block == Block::fixed ? fixed_bytes : stored_bytes)) block = Block::dynamic;

    // The dynamic estimate leaves out 17 bits of the block's header fields;
    // the slack covers them and the byte of pending bits, and 8 more bytes
    // the bit writer's wide stores.
    const std::uint64_t body = block == Block::stored  ? stored_bytes
                               : block == Block::fixed ? fixed_bytes
                                                       : dynamic_bytes;
    const std::size_t at = out.size();
    out.resize(at + std::size_t(body) + 1 + 8 + 8);
    BitWriter bits(out.data() + at, pending);
    const std::uint32_t final = last ? 1 : 0;

    switch (block) {
    case Block::stored: {
        std::size_t offset = 0;
        do {
            const std::size_t piece = std::min(max_stored_block, size - offset);
            bits.put(offset + piece == size ? final : 0, 1);
            bits.put(0, 2);
            bits.align();
            bits.put_byte_aligned(std::uint8_t(piece));
            bits.put_byte_aligned(std::uint8_t(piece >> 8));
            bits.put_byte_aligned(std::uint8_t(~piece));
            bits.put_byte_aligned(std::uint8_t(~piece >> 8));
            bits.put_bytes_aligned(data_ + start_ + offset, piece);
            offset += piece;
        } while (offset < size);
        break;
    }
    case Block::fixed:
        bits.put(final, 1);
        bits.put(1, 2);
        write_symbols(bits, fixed_literal_table(), fixed_distance_table());
        break;
    case Block::dynamic:
        bits.put(final, 1);
        bits.put(2, 2);
        bits.put(std::uint32_t(hlit - 257), 5);
        bits.put(std::uint32_t(hdist - 1), 5);
        bits.put(std::uint32_t(hclen - 4), 4);
        for (int k = 0; k < hclen; ++k)
            bits.put(length_codes.lengths[std::size_t(code_length_order[std::size_t(k)])], 3);
        for (const auto& t : tokens) {
            bits.put(length_codes.codes[t.symbol], length_codes.lengths[t.symbol]);
            if (const int extra = token_extra_bits(t.symbol); extra > 0) bits.put(t.extra, extra);
        }
        write_symbols(bits, literals, distances);
        break;
    }
    if (last) bits.align();
    pending = bits.pending();
    out.resize(std::size_t(bits.position() - out.data()));
}

void put_zlib_header(std::vector<std::uint8_t>& out) {
    out.push_back(0x78);
    out.push_back(0x5E);
}

void put_checksum(std::vector<std::uint8_t>& out, std::uint32_t checksum) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(checksum >> shift));
}

}  // namespace

FlateLevel flate_level(int quality) {
    return levels[std::size_t(std::clamp(quality, 0, int(levels.size()) - 1))];
}

void flate_encode(std::span<const std::uint8_t> data, int quality, std::vector<std::uint8_t>& out,
                  std::size_t block_size) {
    const FlateLevel level = flate_level(quality);
    block_size = std::max<std::size_t>(block_size, 1);
    out.clear();
    put_zlib_header(out);
    BitWriter::Pending pending;
    std::size_t start = 0;
    do {
        const std::size_t size = std::min(block_size, data.size() - start);
        const std::size_t history = std::min(start, max_distance);
        FlateCompressor(data.subspan(start - history, history + size), history, level)
            .encode(out, start + size == data.size(), pending);
        start += size;
    } while (start < data.size());
    put_checksum(out, adler32(data));
}

FlateStream::FlateStream(int quality, std::size_t block_size)
    : level_(flate_level(quality)), block_size_(std::max<std::size_t>(block_size, 1)) {}

void FlateStream::put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) {
    if (!started_) put_zlib_header(out);
    started_ = true;
    checksum_ = adler32(data, checksum_);
    while (!data.empty()) {
        // A full block is written once more input shows it is not the last.
        if (window_.size() - history_ == block_size_) write_block(out, false);
        const std::size_t take = std::min(data.size(), block_size_ - (window_.size() - history_));
        // Grown as the input comes, so that a short stream stays short,
        // but never beyond a block and its history.
        if (const std::size_t need = window_.size() + take; need > window_.capacity())
            window_.reserve(std::min(std::max(need, 2 * window_.capacity()), max_distance + block_size_));
        window_.insert(window_.end(), data.begin(), data.begin() + std::ptrdiff_t(take));
        data = data.subspan(take);
    }
}

void FlateStream::finish(std::vector<std::uint8_t>& out) {
    if (!started_) put_zlib_header(out);
    started_ = true;
    write_block(out, true);
    put_checksum(out, checksum_);
}

void FlateStream::write_block(std::vector<std::uint8_t>& out, bool last) {
    BitWriter::Pending pending{pending_bits_, pending_count_};
    FlateCompressor(window_, history_, level_).encode(out, last, pending);
    pending_bits_ = pending.bits;
    pending_count_ = pending.count;
    // What the next block's matches can reach stays.
    history_ = std::min(window_.size(), max_distance);
    window_.erase(window_.begin(), window_.end() - std::ptrdiff_t(history_));
}

std::vector<FlateSymbol> flate_parse(std::span<const std::uint8_t> data, int quality) {
    return FlateCompressor(data, 0, flate_level(quality)).parsed();
}

std::uint32_t adler32(std::span<const std::uint8_t> data, std::uint32_t checksum) {
    constexpr std::uint32_t modulus = 65521;
    // The largest run of bytes whose sums cannot overflow 32 bits.
    constexpr std::size_t run = 5552;
    std::uint32_t a = checksum & 0xFFFF, b = checksum >> 16;
    const std::uint8_t* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        std::size_t take = std::min(left, run);
        left -= take;
#if defined(__SSE2__)
        // Sixteen bytes at a time. Over N bytes x_i, b gains N a plus the
        // sum of (N - i) x_i: per block, the bytes weighted 16 to 1, plus 16
        // times the sum of all bytes of the blocks before it.
        if (const std::size_t blocks = take / 16; blocks > 0) {
            const __m128i zero = _mm_setzero_si128();
            const __m128i first_weights = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
            const __m128i last_weights = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
            __m128i sums = zero, weighted = zero, earlier = zero;
            for (std::size_t k = 0; k < blocks; ++k, p += 16) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                earlier = _mm_add_epi32(earlier, sums);
                sums = _mm_add_epi32(sums, _mm_sad_epu8(bytes, zero));
                weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), first_weights));
                weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), last_weights));
            }
            auto total = [](__m128i v) {
                alignas(16) std::uint32_t lanes[4];
                _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v);
                return std::uint64_t(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
            };
            const std::uint64_t sum = total(sums);
            b = std::uint32_t((b + std::uint64_t(16 * blocks) * a + 16 * total(earlier) + total(weighted)) % modulus);
            a = std::uint32_t((a + sum) % modulus);
            take -= 16 * blocks;
        }
#endif
        // Eight bytes at a time: b gains 8 a plus the bytes weighted 8 to 1.
        for (; take >= 8; take -= 8, p += 8) {
            b += 8 * a + 8u * p[0] + 7u * p[1] + 6u * p[2] + 5u * p[3] + 4u * p[4] + 3u * p[5] +
                 2u * p[6] + p[7];
            a += std::uint32_t(p[0]) + p[1] + p[2] + p[3] + p[4] + p[5] + p[6] + p[7];
        }
        for (; take > 0; --take) {
            a += *p++;
            b += a;
        }
        a %= modulus;
        b %= modulus;
    }
    return (b << 16) | a;
}

}  // namespace pdf
