#include "pdf/core/content_text.h"

#include <algorithm>

namespace pdf {

namespace {
// Blocks grow with the text up to this size; a small page stays small.
constexpr std::size_t kFirstBlock = 256;
constexpr std::size_t kLargestBlock = std::size_t{1} << 20;
}  // namespace

void ContentText::add_block(std::size_t at_least) {
    if (!blocks_.empty()) before_last_ += blocks_.back().size();
    std::string& block = blocks_.emplace_back();
    block.reserve(std::max(at_least, std::clamp(size(), kFirstBlock, kLargestBlock)));
}

void ContentText::append(std::string_view text) {
    while (!text.empty()) {
        if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) add_block(1);
        std::string& block = blocks_.back();
        const std::size_t piece = std::min(text.size(), block.capacity() - block.size());
        block.append(text.substr(0, piece));
        text.remove_prefix(piece);
    }
}

std::string& ContentText::room(std::size_t count) {
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < count) add_block(count);
    return blocks_.back();
}

void ContentText::clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    before_last_ = 0;
}

void ContentText::truncate(std::size_t size) {
    while (!blocks_.empty() && before_last_ >= size) {
        blocks_.pop_back();
        before_last_ -= blocks_.empty() ? 0 : blocks_.back().size();
    }
    if (!blocks_.empty() && size - before_last_ < blocks_.back().size()) blocks_.back().resize(size - before_last_);
}

std::string ContentText::text() const {
    std::string whole;
    whole.reserve(size());
    for (const std::string& block : blocks_) whole += block;
    return whole;
}

std::string ContentText::tail(std::size_t count) const {
    std::string last;
    for (auto block = blocks_.rbegin(); block != blocks_.rend() && last.size() < count; ++block)
        last.insert(0, std::string_view(*block).substr(block->size() - std::min(block->size(), count - last.size())));
    return last;
}

}  // namespace pdf
