#include "pdf/core/outline_tree.h"

#include <array>

namespace pdf {

OutlineTree link_outline(const std::vector<std::int16_t>& levels) {
    OutlineTree tree;
    const std::size_t n = levels.size() < 2 ? 0 : levels.size() - 1;
    tree.links.assign(n + 1, OutlineLinks{});
    if (n == 0) return tree;

    // The most recent entry at each level since the last entry one level up;
    // 0 when there is none.
    std::array<std::int32_t, 256> last_at{};
    last_at[0] = 1;
    std::int32_t previous_level = 0;
    for (std::size_t k = 2; k <= n; ++k) {
        const auto i = static_cast<std::int32_t>(k);
        std::int32_t level = levels[k];
        if (level > previous_level + 1) level = previous_level + 1;
        if (level > 254) level = 254;
        if (level < 1) level = 1;
        previous_level = level;

        const std::int32_t parent = last_at[static_cast<std::size_t>(level - 1)];
        OutlineLinks& self = tree.links[k];
        self.parent = parent;
        OutlineLinks& up = tree.links[static_cast<std::size_t>(parent)];
        if (up.first == 0) up.first = i;
        up.last = i;

        const std::int32_t sibling = last_at[static_cast<std::size_t>(level)];
        if (sibling != 0) {
            tree.links[static_cast<std::size_t>(sibling)].next = i;
            self.prev = sibling;
        }
        last_at[static_cast<std::size_t>(level)] = i;
        last_at[static_cast<std::size_t>(level) + 1] = 0;
        if (level == 1) tree.top_count += 1;
    }
    return tree;
}

}  // namespace pdf
