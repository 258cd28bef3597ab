#include "pdf/core/huffman_code_lengths.h"

#include <algorithm>
#include <array>

namespace pdf {

namespace {

// Working storage on the stack for deflate's alphabets, on the heap beyond.
// The encoder builds three codes per stream, so allocations showed in its
// profile.
template <typename T, std::size_t N>
class Scratch {
public:
    // Entries left unset, for tables that are written before being read.
    explicit Scratch(std::size_t size) {
        if (size > N) {
            grown_.resize(size);
            data_ = grown_.data();
        } else {
            data_ = fixed_.data();
        }
    }
    explicit Scratch(std::size_t size, T value) {
        if (size > N) {
            grown_.assign(size, value);
            data_ = grown_.data();
        } else {
            std::fill_n(fixed_.begin(), size, value);
            data_ = fixed_.data();
        }
    }
    T& operator[](std::size_t i) { return data_[i]; }
    T* data() { return data_; }

private:
    std::array<T, N> fixed_;
    std::vector<T> grown_;
    T* data_;
};

constexpr std::size_t usual_symbols = 288;

}  // namespace

void limited_code_lengths(std::span<const std::uint64_t> frequencies, int max_length,
                          std::span<std::uint8_t> lengths) {
    const std::size_t count = frequencies.size();
    std::fill(lengths.begin(), lengths.end(), std::uint8_t{0});

    // The work is done on the used symbols only, in ascending order: a
    // literal alphabet of 288 often uses a third of them.
    Scratch<std::size_t, usual_symbols> symbols(std::max<std::size_t>(count, 2));
    std::size_t used = 0;
    for (std::size_t v = 0; v < count; ++v)
        if (frequencies[v] > 0) symbols[used++] = v;
    if (used == 0) return;
    std::size_t added = count;  // a symbol given frequency 1, if any
    if (used == 1) {
        std::size_t unused = 0;
        while (unused < count && frequencies[unused] > 0) ++unused;
        if (unused == count) {  // a one-symbol alphabet: one one-bit code
            lengths[0] = 1;
            return;
        }
        added = unused;
        symbols[1] = std::max(symbols[0], unused);
        symbols[0] = std::min(symbols[0], unused);
        used = 2;
    }
    auto frequency = [&](std::size_t v) { return v == added ? std::uint64_t{1} : frequencies[v]; };

    // Code sizes (Figure K.1): repeatedly merge the two least frequent
    // entries; the merged entry goes on as the first of the two (its symbol
    // decides later ties). A symbol's size is the number of merges its
    // entry took part in, that is its depth in the tree of merges.
    // Queue keys: frequency, then the symbol reversed, so that among equal
    // frequencies the higher symbol comes first. Tree nodes: the used
    // symbols' leaves 0 to used - 1 in symbol order, then the merges.
    int symbol_bits = 1;
    while ((std::size_t(1) << symbol_bits) < count) ++symbol_bits;
    const std::uint64_t symbol_mask = (std::uint64_t(1) << symbol_bits) - 1;
    Scratch<int, usual_symbols> node_of(count);  // the tree node an entry stands for
    Scratch<int, 2 * usual_symbols> parent(2 * used);
    // Two queues, least first: the leaves sorted, and the merged entries in
    // the order they are made. Keys are unique (a live entry's symbol is its
    // own) and every merged key is above the one merged before it: sums
    // never fall, and on equal sums all four entries had the same frequency,
    // the earlier pair's first being the lesser symbol key. So the least
    // live key is always at the front of one of the queues.
    Scratch<std::uint64_t, usual_symbols> leaves(used);
    for (std::size_t i = 0; i < used; ++i) {
        const std::size_t v = symbols[i];
        node_of[v] = int(i);
        leaves[i] = (frequency(v) << symbol_bits) | (symbol_mask - v);
    }
    std::sort(leaves.data(), leaves.data() + used);
    Scratch<std::uint64_t, usual_symbols> merges(used);
    std::size_t next_leaf = 0, next_merge = 0, merge_count = 0;
    auto take_least = [&] {
        if (next_merge == merge_count || (next_leaf < used && leaves[next_leaf] < merges[next_merge]))
            return leaves[next_leaf++];
        return merges[next_merge++];
    };
    int next_node = int(used);
    for (std::size_t left = used; left > 1; --left) {
        const std::uint64_t first = take_least();
        const std::uint64_t second = take_least();
        const std::size_t v1 = std::size_t(symbol_mask - (first & symbol_mask));
        const std::size_t v2 = std::size_t(symbol_mask - (second & symbol_mask));
        const int merged = next_node++;
        parent[std::size_t(node_of[v1])] = merged;
        parent[std::size_t(node_of[v2])] = merged;
        node_of[v1] = merged;
        merges[merge_count++] =
            (((first >> symbol_bits) + (second >> symbol_bits)) << symbol_bits) | (first & symbol_mask);
    }
    // Depths: every merged node was made after its children, so walking the
    // nodes from the last made gives each parent's depth before its children.
    Scratch<int, 2 * usual_symbols> depth{std::size_t(next_node)};
    depth[std::size_t(next_node - 1)] = 0;  // the root, the only node without a parent
    for (int node = next_node - 2; node >= 0; --node)
        depth[std::size_t(node)] = depth[std::size_t(parent[std::size_t(node)])] + 1;
    int deepest = 0;
    for (std::size_t i = 0; i < used; ++i) deepest = std::max(deepest, depth[i]);

    // Number of codes of each size (Figure K.2); sizes can reach used - 1.
    const std::size_t sizes = std::size_t(std::max(deepest, max_length)) + 2;
    Scratch<int, usual_symbols + 2> bits(sizes, 0);
    for (std::size_t i = 0; i < used; ++i) ++bits[std::size_t(depth[i])];

    // Adjustment (Figure K.3): move codes up from beyond the maximum while
    // keeping the code complete.
    for (int i = deepest; i > max_length; --i) {
        while (bits[std::size_t(i)] > 0) {
            int j = i - 2;
            while (j > 0 && bits[std::size_t(j)] == 0) --j;
            if (j <= 0) break;  // cannot happen for a complete code that fits
            bits[std::size_t(i)] -= 2;
            bits[std::size_t(i - 1)] += 1;
            bits[std::size_t(j + 1)] += 2;
            bits[std::size_t(j)] -= 1;
        }
    }

    // Hand the adjusted lengths out by unadjusted size, then by symbol
    // (a counting sort keeps the symbols ascending within a size).
    Scratch<int, usual_symbols + 2> start_of_size(sizes, 0);
    for (std::size_t i = 0; i < used; ++i) ++start_of_size[std::size_t(depth[i]) + 1];
    for (std::size_t k = 1; k < sizes; ++k) start_of_size[k] += start_of_size[k - 1];
    Scratch<std::size_t, usual_symbols> order(used);
    for (std::size_t i = 0; i < used; ++i) order[std::size_t(start_of_size[std::size_t(depth[i])]++)] = symbols[i];
    std::size_t next = 0;
    for (int size = 1; size <= max_length; ++size)
        for (int k = 0; k < bits[std::size_t(size)] && next < used; ++k)
            lengths[order[next++]] = std::uint8_t(size);
}

std::vector<std::uint8_t> limited_code_lengths(std::span<const std::uint64_t> frequencies,
                                               int max_length) {
    std::vector<std::uint8_t> lengths(frequencies.size(), 0);
    limited_code_lengths(frequencies, max_length, lengths);
    return lengths;
}

void canonical_codes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
    int max_len = 0;
    for (auto l : lengths) max_len = std::max(max_len, int(l));
    // Only the counts up to the longest code are set: deflate's codes stay
    // within 15 bits.
    std::array<int, 256> bl_count;
    std::fill_n(bl_count.begin(), max_len + 1, 0);
    // Unused symbols come in long runs that would make every count wait
    // for the one before it.
    for (auto l : lengths)
        if (l > 0) ++bl_count[l];
    std::array<std::uint32_t, 257> next_code;
    std::uint32_t code = 0;
    for (int bits = 1; bits <= max_len; ++bits) {
        code = (code + std::uint32_t(bl_count[std::size_t(bits - 1)])) << 1;
        next_code[std::size_t(bits)] = code;
    }
    for (std::size_t v = 0; v < lengths.size(); ++v)
        codes[v] = lengths[v] > 0 ? std::uint16_t(next_code[lengths[v]]++) : 0;
}

std::vector<std::uint16_t> canonical_codes(std::span<const std::uint8_t> lengths) {
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    canonical_codes(lengths, codes);
    return codes;
}

}  // namespace pdf
