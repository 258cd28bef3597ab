// How the writer's lists indexed from 1 grow: room for MemoryFactor x 10
// entries at first, then about ten more at a time (a fifth more plus ten
// with a larger factor), not one entry per addition.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace pdf {

template <typename T>
void make_room(std::vector<T>& list, std::int32_t index, int memory_factor) {
    if (memory_factor < 1) memory_factor = 1;
    const auto needed = static_cast<std::size_t>(index) + 1;
    if (list.empty()) {
        std::size_t first = static_cast<std::size_t>(memory_factor) * 10 + 1;
        list.resize(first > needed ? first : needed);
        return;
    }
    if (needed <= list.size()) return;
    double highest = memory_factor == 1
                         ? static_cast<double>(index) + 10.0
                         : std::nearbyint(memory_factor * static_cast<double>(index) / 5.0 + index + 10.0);
    list.resize(static_cast<std::size_t>(highest) + 1);
}

}  // namespace pdf
