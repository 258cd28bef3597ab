// A read position over the bytes of an untrusted file. Every read is checked
// against the end: reading past it throws PdfError 62 (input past end of
// file), so a reader never touches memory outside the file and never needs
// pointer arithmetic of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pdf {

// Throws PdfError 62 from "PdfWriter.DrawImage".
[[noreturn]] void picture_truncated();

class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> data, std::size_t position = 0)
        : data_(data), position_(position <= data.size() ? position : data.size()) {}

    std::size_t position() const { return position_; }
    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - position_; }
    bool at_end() const { return position_ >= data_.size(); }

    void seek(std::size_t position) {
        if (position > data_.size()) picture_truncated();
        position_ = position;
    }
    void skip(std::size_t count) {
        if (count > remaining()) picture_truncated();
        position_ += count;
    }
    std::uint8_t peek() const {
        if (at_end()) picture_truncated();
        return data_[position_];
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
    // The next `count` bytes, consumed.
    std::span<const std::uint8_t> bytes(std::size_t count) {
        if (count > remaining()) picture_truncated();
        const auto piece = data_.subspan(position_, count);
        position_ += count;
        return piece;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t position_;
};

}  // namespace pdf
