// Loading a cursor's pieces and refusing reads past its stop.
#include "pdf/content/byte_cursor.h"

#include <algorithm>

#include "pdf/content/picture.h"

namespace pdf {

void ByteCursor::load(std::size_t count) {
    if (source_ == nullptr) picture_truncated();
    // Nothing past the stop is read, so a piece may be shorter.
    const std::size_t size = std::min(std::max(count, piece_), stop_ - position_);
    // A copy of the cursor may still read the piece held now.
    if (!buffer_ || buffer_.use_count() > 1) buffer_ = std::make_shared<std::vector<std::uint8_t>>();
    data_ = {};
    start_ = position_;
    buffer_->resize(size);
    source_->read(position_, *buffer_);
    data_ = *buffer_;
}

void ByteCursor::past_stop(std::size_t count) const {
    if (count > end_ - position_) picture_truncated();
    picture_invalid(why_);
}

}  // namespace pdf
