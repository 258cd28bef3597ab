// What every picture reader's fuzz target checks: the reader returns a
// picture whose samples fit its size, or refuses the bytes with 62 or 321;
// and it reads the same from bytes in memory as from a source that hands
// them over a few at a time (a file read in pieces), wherever a piece ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture.h"

// The input as a source read piece by piece.
class FuzzInputSource : public pdf::ByteSource {
public:
    explicit FuzzInputSource(std::span<const std::uint8_t> data) : data_(data) {}
    std::size_t size() const override { return data_.size(); }
    void read(std::size_t offset, std::span<std::uint8_t> into) override {
        if (offset > data_.size() || into.size() > data_.size() - offset) __builtin_trap();
        if (!into.empty()) std::memcpy(into.data(), data_.data() + offset, into.size());
    }

private:
    std::span<const std::uint8_t> data_;
};

// A picture, or the error that refused it.
struct FuzzOutcome {
    std::optional<pdf::RasterPicture> picture;
    int error = 0;
    std::string description;
};

template <typename Read>
FuzzOutcome fuzz_read(pdf::ByteCursor& at, Read& read) {
    FuzzOutcome outcome;
    try {
        outcome.picture = read(at);
    } catch (const PdfError& error) {
        if (error.number() != 62 && error.number() != 321) __builtin_trap();
        outcome.error = error.number();
        outcome.description = error.description();
    }
    return outcome;
}

template <typename Read>
int fuzz_raster_reader(const std::uint8_t* data, std::size_t size, Read read) {
    const std::span<const std::uint8_t> input(data, size);
    pdf::ByteCursor whole(input);
    const FuzzOutcome outcome = fuzz_read(whole, read);
    // Pieces of 1 to 64 bytes, by the last byte.
    FuzzInputSource source(input);
    pdf::ByteCursor pieces(source, size > 0 ? 1 + data[size - 1] % 64 : 1);
    const FuzzOutcome in_pieces = fuzz_read(pieces, read);
    if (in_pieces.error != outcome.error || in_pieces.description != outcome.description ||
        in_pieces.picture.has_value() != outcome.picture.has_value())
        __builtin_trap();
    if (!outcome.picture) return 0;

    const pdf::RasterPicture& p = *outcome.picture;
    const pdf::RasterPicture& q = *in_pieces.picture;
    if (p.width != q.width || p.height != q.height || p.bits != q.bits || p.colour_space != q.colour_space ||
        p.palette != q.palette || p.samples != q.samples || p.filter != q.filter || p.decode != q.decode)
        __builtin_trap();
    const auto pixels = static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height);
    if (p.width <= 0 || p.height <= 0 || pixels > static_cast<std::size_t>(pdf::kMostPicturePixels))
        __builtin_trap();
    if (p.filter.empty()) {
        const std::size_t components = !p.palette.empty() || p.colour_space == "/DeviceGray" ? 1 : 3;
        if (p.samples.size() != pixels * components) __builtin_trap();
        for (std::uint8_t index : p.palette.empty() ? pdf::Bytes{} : p.samples)
            if (std::size_t{index} * 3 + 3 > p.palette.size()) __builtin_trap();
    }
    return 0;
}
