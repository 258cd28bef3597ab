#include "pdf/core/huffman_code_lengths.h"

#include <algorithm>
#include <functional>

namespace pdf {

std::vector<std::uint8_t> limited_code_lengths(std::span<const std::uint64_t> frequencies,
                                               int max_length) {
    const std::size_t count = frequencies.size();
    std::vector<std::uint8_t> lengths(count, 0);
    std::vector<std::uint64_t> freq(frequencies.begin(), frequencies.end());

    std::size_t used = 0;
    for (auto f : freq) used += f > 0;
    if (used == 0) return lengths;
    if (used == 1) {
        const auto unused = std::find(freq.begin(), freq.end(), std::uint64_t{0});
        if (unused == freq.end()) {  // a one-symbol alphabet: one one-bit code
            lengths[0] = 1;
            return lengths;
        }
        *unused = 1;
        used = 2;
    }

    // Code sizes (Figure K.1): repeatedly merge the two least frequent
    // entries; the merged entry goes on as the first of the two (its symbol
    // decides later ties). A symbol's size is the number of merges its
    // entry took part in, that is its depth in the tree of merges.
    // Queue keys: frequency, then the symbol reversed, so that among equal
    // frequencies the higher symbol comes first.
    int symbol_bits = 1;
    while ((std::size_t(1) << symbol_bits) < count) ++symbol_bits;
    const std::uint64_t symbol_mask = (std::uint64_t(1) << symbol_bits) - 1;
    std::vector<int> node_of(count);      // the tree node an entry stands for
    std::vector<int> parent(2 * count, -1);
    // The live entries' keys, sorted with the least at the back: the two to
    // merge are taken from there and the merged key goes back in its place
    // (alphabets are small, so an insertion beats a heap's unpredictable
    // branches).
    std::vector<std::uint64_t> queue;
    queue.reserve(count);
    for (std::size_t v = count; v-- > 0;) {
        node_of[v] = int(v);
        if (freq[v] > 0) queue.push_back((freq[v] << symbol_bits) | (symbol_mask - v));
    }
    std::sort(queue.begin(), queue.end(), std::greater<>());
    int next_node = int(count);
    while (queue.size() > 1) {
        const std::uint64_t first = queue.back();
        queue.pop_back();
        const std::uint64_t second = queue.back();
        queue.pop_back();
        const std::size_t v1 = std::size_t(symbol_mask - (first & symbol_mask));
        const std::size_t v2 = std::size_t(symbol_mask - (second & symbol_mask));
        const int merged = next_node++;
        parent[std::size_t(node_of[v1])] = merged;
        parent[std::size_t(node_of[v2])] = merged;
        node_of[v1] = merged;
        const std::uint64_t key =
            (((first >> symbol_bits) + (second >> symbol_bits)) << symbol_bits) | (first & symbol_mask);
        std::size_t at = queue.size();
        queue.push_back(key);
        for (; at > 0 && queue[at - 1] < key; --at) queue[at] = queue[at - 1];
        queue[at] = key;
    }
    // Depths: every merged node was made after its children, so walking the
    // nodes from the last made gives each parent's depth before its children.
    std::vector<int> depth(std::size_t(next_node), 0);
    for (int node = next_node - 1; node >= 0; --node)
        if (parent[std::size_t(node)] >= 0) depth[std::size_t(node)] = depth[std::size_t(parent[std::size_t(node)])] + 1;
    std::vector<int> code_size(count, 0);
    for (std::size_t v = 0; v < count; ++v)
        if (freq[v] > 0) code_size[v] = depth[v];

    // Number of codes of each size (Figure K.2); sizes can reach used - 1.
    int deepest = 0;
    for (int s : code_size) deepest = std::max(deepest, s);
    std::vector<int> bits(std::size_t(std::max(deepest, max_length)) + 1, 0);
    for (std::size_t v = 0; v < count; ++v)
        if (code_size[v] > 0) ++bits[std::size_t(code_size[v])];

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
    std::vector<int> start_of_size(std::size_t(deepest) + 2, 0);
    for (std::size_t v = 0; v < count; ++v)
        if (code_size[v] > 0) ++start_of_size[std::size_t(code_size[v]) + 1];
    for (std::size_t k = 1; k < start_of_size.size(); ++k) start_of_size[k] += start_of_size[k - 1];
    std::vector<int> order(used);
    for (std::size_t v = 0; v < count; ++v)
        if (code_size[v] > 0) order[std::size_t(start_of_size[std::size_t(code_size[v])]++)] = int(v);
    std::size_t next = 0;
    for (int size = 1; size <= max_length; ++size)
        for (int k = 0; k < bits[std::size_t(size)] && next < order.size(); ++k)
            lengths[std::size_t(order[next++])] = std::uint8_t(size);
    return lengths;
}

std::vector<std::uint16_t> canonical_codes(std::span<const std::uint8_t> lengths) {
    int max_len = 0;
    for (auto l : lengths) max_len = std::max(max_len, int(l));
    std::vector<int> bl_count(std::size_t(max_len) + 1, 0);
    for (auto l : lengths)
        if (l > 0) ++bl_count[l];
    std::vector<std::uint32_t> next_code(std::size_t(max_len) + 2, 0);
    std::uint32_t code = 0;
    for (int bits = 1; bits <= max_len; ++bits) {
        code = (code + std::uint32_t(bl_count[std::size_t(bits - 1)])) << 1;
        next_code[std::size_t(bits)] = code;
    }
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    for (std::size_t v = 0; v < lengths.size(); ++v)
        if (lengths[v] > 0) codes[v] = std::uint16_t(next_code[lengths[v]]++);
    return codes;
}

}  // namespace pdf
