// The links of the outline tree, worked out from the flat list of entry
// levels that bookmarks are collected in.
#pragma once

#include <cstdint>
#include <vector>

namespace pdf {

// Links of one entry: indices into the level list, 0 = none.
struct OutlineLinks {
    std::int32_t parent = 0, first = 0, last = 0, next = 0, prev = 0;
};

struct OutlineTree {
    // Index 1..n as in the level list; entry 1 is the root item and has no
    // parent among the entries.
    std::vector<OutlineLinks> links;
    // Number of entries at level 1 (the root item's children).
    std::int32_t top_count = 0;
};

// levels[1] is the root entry; levels[2..] are 1 to 254, each at most one
// deeper than the entry before (index 0 is not read). An entry becomes a
// child of the nearest earlier entry one level up and the next sibling of
// the nearest earlier entry at its own level under the same parent. A level
// outside that rule is pulled into it (never below 1, never more than one
// deeper than its predecessor, never above 254), so any list gives a well
// formed tree. Runs in time linear in the number of entries.
OutlineTree link_outline(const std::vector<std::int16_t>& levels);

}  // namespace pdf
