// A read position over the bytes of an untrusted file. Every read is checked
// against the end: reading past it throws PdfError 62 (input past end of
// file), so a reader never touches memory outside the file and never needs
// pointer arithmetic of its own. The bytes are in memory, or come from a
// source (an open file) one piece at a time, so that a reader of a large
// file holds a piece of it, never the whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace pdf {

// Throws PdfError 62 from "PdfWriter.DrawImage".
[[noreturn]] void picture_truncated();

// Bytes that a cursor reads a piece at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t size() const = 0;
    // Fills `into` with the bytes from `offset` on (all within size()).
    virtual void read(std::size_t offset, std::span<std::uint8_t> into) = 0;
};

class ByteCursor {
public:
    // The piece of a source a cursor holds, unless one read asks for more.
    static constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

    explicit ByteCursor(std::span<const std::uint8_t> data, std::size_t position = 0)
        : data_(data), end_(data.size()), stop_(data.size()), position_(position <= end_ ? position : end_) {}
    // Over `source`, which must outlive the cursor, `piece` bytes at a time.
    explicit ByteCursor(ByteSource& source, std::size_t piece = kPieceBytes)
        : end_(source.size()), stop_(end_), source_(&source), piece_(piece > 0 ? piece : 1) {}

    std::size_t position() const { return position_; }
    std::size_t size() const { return end_; }
    std::size_t remaining() const { return end_ - position_; }
    bool at_end() const { return position_ >= end_; }

    // Reading stops at position `stop` (or at the position, if that is
    // further): a read past it is refused (PdfError 321, `why`) when the
    // bytes go on, as past their end when they do not. What lies beyond is
    // never read.
    void stop_at(std::size_t stop, std::string_view why) {
        if (stop < stop_) {
            stop_ = stop < position_ ? position_ : stop;
            why_ = why;
        }
    }

    void seek(std::size_t position) {
        if (position > stop_) past_stop(position - position_);
        position_ = position;
    }
    void skip(std::size_t count) {
        if (count > stop_ - position_) past_stop(count);
        position_ += count;
    }
    std::uint8_t peek() {
        if (position_ >= stop_) past_stop(1);
        if (!held(1)) load(1);
        return data_[position_ - start_];
    }
    std::uint8_t u8() {
        const std::uint8_t b = peek();
        ++position_;
        return b;
    }
    std::uint16_t u16le() {
        const auto b = bytes(2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint16_t u16be() {
        const auto b = bytes(2);
        return static_cast<std::uint16_t>((b[0] << 8) | b[1]);
    }
    std::uint32_t u32le() {
        const auto b = bytes(4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    std::int32_t i32le() { return static_cast<std::int32_t>(u32le()); }
    std::int16_t i16le() { return static_cast<std::int16_t>(u16le()); }
    // The next `count` bytes, consumed. Over a source they stay valid until
    // the cursor reads again; over bytes in memory, as long as those.
    std::span<const std::uint8_t> bytes(std::size_t count) {
        if (count > stop_ - position_) past_stop(count);
        if (!held(count)) load(count);
        const auto piece = data_.subspan(position_ - start_, count);
        position_ += count;
        return piece;
    }

private:
    bool held(std::size_t count) const {
        // A skip or seek may have left the piece on either side.
        return position_ >= start_ && position_ - start_ <= data_.size() && count <= data_.size() - (position_ - start_);
    }
    // Reads the piece from the position on (only over a source: in memory
    // every byte up to the end is held).
    void load(std::size_t count);
    // A read of `count` bytes from the position on, past the stop.
    [[noreturn]] void past_stop(std::size_t count) const;

    std::span<const std::uint8_t> data_;  // the bytes held
    std::size_t start_ = 0;               // where they begin
    std::size_t end_;                     // where the bytes end
    std::size_t stop_;                    // where reading stops: the end, or before it
    std::string_view why_;
    std::size_t position_ = 0;
    ByteSource* source_ = nullptr;
    std::size_t piece_ = 0;
    // Shared by copies of the cursor, so that each keeps the piece it holds.
    std::shared_ptr<std::vector<std::uint8_t>> buffer_;
};

}  // namespace pdf
