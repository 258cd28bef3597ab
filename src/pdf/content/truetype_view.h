// Reading numbers out of a TrueType font file that nobody vouches for: every
// read is checked against the end of the bytes it may use, so a damaged font
// can fail but never make the reader touch memory outside the file.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

namespace pdf {

// A font file the reader cannot use. number() is 62 when the file ends before
// the data it announces, 321 when the bytes are not a usable TrueType font;
// what() says where.
class FontFileError : public std::runtime_error {
public:
    FontFileError(std::int32_t number, const std::string& detail) : std::runtime_error(detail), number_(number) {}
    std::int32_t number() const noexcept { return number_; }

private:
    std::int32_t number_;
};

// The big-endian number of `size` bytes (2 or 4) at `position`, left where it
// is. With is_unsigned false, a 2-byte value above 32767 and a 4-byte value
// above 2147483647 stand for value - 65536 and value - 4294967296. A number
// that does not lie wholly within the bytes (or another size) throws
// FontFileError 62. The arithmetic is 64-bit, so no position overflows.
std::int64_t ReadTtfNumber(std::span<const std::uint8_t> bytes, std::int64_t position, int size, bool is_unsigned);

// A window on the bytes of one table (or of the whole file). A read past its
// end throws FontFileError with the window's own number: 62 for the file,
// 321 for a table, which may not spill into its neighbours.
class TtfView {
public:
    TtfView(std::span<const std::uint8_t> bytes, std::int32_t fault, std::string name)
        : bytes_(bytes), fault_(fault), name_(std::move(name)) {}

    std::int64_t size() const { return static_cast<std::int64_t>(bytes_.size()); }
    std::uint16_t u16(std::int64_t position) const {
        return static_cast<std::uint16_t>(ReadTtfNumber(checked(position, 2), position, 2, true));
    }
    std::int16_t i16(std::int64_t position) const {
        return static_cast<std::int16_t>(ReadTtfNumber(checked(position, 2), position, 2, false));
    }
    std::uint32_t u32(std::int64_t position) const {
        return static_cast<std::uint32_t>(ReadTtfNumber(checked(position, 4), position, 4, true));
    }
    // The `length` bytes at `offset` as a window of their own, failing with
    // `fault` when they are not all inside this one.
    TtfView window(std::int64_t offset, std::int64_t length, std::int32_t fault, std::string name) const {
        if (offset < 0 || length < 0 || offset > size() || length > size() - offset)
            throw FontFileError(fault_, name + " fuori da " + name_);
        return TtfView(bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)), fault,
                       std::move(name));
    }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

private:
    std::span<const std::uint8_t> checked(std::int64_t position, std::int64_t count) const {
        if (position < 0 || position > size() - count)
            throw FontFileError(fault_, "lettura in " + std::to_string(position) + " oltre la fine di " + name_);
        return bytes_;
    }

    std::span<const std::uint8_t> bytes_;
    std::int32_t fault_;
    std::string name_;
};

}  // namespace pdf
