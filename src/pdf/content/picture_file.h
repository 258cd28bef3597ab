// A picture file read where it lies, a piece at a time: a reader costs the
// pieces it reads, never the file.
#pragma once

#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture.h"
#include "pdf/core/stream_encoder.h"

namespace pdf {

class PictureFile : public ByteSource {
public:
    // Opens the file by its name exactly as given (the operating system's
    // path bytes) and checks its first bytes against `kind`
    // (check_picture_head) before anything else is read. A missing file
    // throws PdfError 53; first bytes of another kind, or a file of more
    // than `most_bytes`, 321.
    PictureFile(std::string_view filename, PictureKind kind, std::uint64_t most_bytes = kMostPictureFileBytes);

    std::size_t size() const override { return size_; }
    // Throws PdfError 62 when the file no longer holds the bytes (it was
    // cut since it was opened).
    void read(std::size_t offset, std::span<std::uint8_t> into) override;

    // The whole file as the pieces of a stream, for embedding it unchanged
    // (a JPEG): each piece is read as the stream takes it. Bytes the file no
    // longer holds by then are written as zeros, so that the stream keeps
    // its length, and shrank() tells.
    StreamPieces pieces();
    bool shrank() const { return shrank_; }

private:
    // Reads what the file holds of `into` from `offset`; returns the count.
    std::size_t read_some(std::size_t offset, std::span<std::uint8_t> into);

    std::ifstream in_;
    std::size_t size_ = 0;
    bool shrank_ = false;
};

}  // namespace pdf
