#include "pdf/core/huffman_code_lengths.h"

#include <algorithm>
#include <queue>

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

    // Code sizes (Figure K.1). The entry that survives a merge is the less
    // frequent one; each entry carries a chain of the symbols it holds.
    std::vector<int> code_size(count, 0);
    std::vector<int> others(count, -1);
    std::vector<int> chain_end(count);
    for (std::size_t v = 0; v < count; ++v) chain_end[v] = int(v);
    // Least frequent first; on equal frequencies the higher symbol first.
    auto after = [&](int a, int b) {
        return freq[a] != freq[b] ? freq[a] > freq[b] : a < b;
    };
    std::priority_queue<int, std::vector<int>, decltype(after)> queue(after);
    for (std::size_t v = 0; v < count; ++v)
        if (freq[v] > 0) queue.push(int(v));
    while (queue.size() > 1) {
        const int v1 = queue.top();
        queue.pop();
        const int v2 = queue.top();
        queue.pop();
        freq[v1] += freq[v2];
        freq[v2] = 0;
        for (int v = v1; v >= 0; v = others[v]) ++code_size[v];
        for (int v = v2; v >= 0; v = others[v]) ++code_size[v];
        others[chain_end[v1]] = v2;
        chain_end[v1] = chain_end[v2];
        queue.push(v1);
    }

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

    // Hand the adjusted lengths out by unadjusted size, then by symbol.
    std::vector<int> order;
    order.reserve(used);
    for (std::size_t v = 0; v < count; ++v)
        if (code_size[v] > 0) order.push_back(int(v));
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return code_size[a] < code_size[b]; });
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
