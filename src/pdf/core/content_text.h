// The operator text of a page, reusable object or tiling pattern while it
// is drawn. Its bytes are kept in blocks: appending never moves what is
// already there, so a page that holds a large drawing grows by a block and
// never by a second copy of itself, and the page is written out block by
// block.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pdf {

class ContentText {
public:
    void append(std::string_view text);
    void push_back(char c) { append(std::string_view(&c, 1)); }

    // The block that takes the next `count` bytes without moving: a caller
    // may append up to `count` bytes to it directly.
    std::string& room(std::size_t count);

    std::size_t size() const { return blocks_.empty() ? 0 : before_last_ + blocks_.back().size(); }
    bool empty() const { return size() == 0; }

    // Gives every block back.
    void clear();
    // Keeps the first `size` bytes (no more than are there).
    void truncate(std::size_t size);

    // The whole text, joined.
    std::string text() const;
    // Its last `count` bytes (all of them when it is shorter).
    std::string tail(std::size_t count) const;
    // The blocks in order, for writing them out.
    const std::vector<std::string>& blocks() const { return blocks_; }
    // Gives the blocks back one by one: `take` is handed each block before
    // it is let go.
    template <typename Take>
    void drain(Take take) {
        for (std::string& block : blocks_) {
            take(std::string_view(block));
            std::string().swap(block);
        }
        clear();
    }

private:
    void add_block(std::size_t at_least);

    std::vector<std::string> blocks_;
    std::size_t before_last_ = 0;  // the bytes of every block but the last
};

}  // namespace pdf
