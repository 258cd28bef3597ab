// Opening a picture file by its first bytes and reading it in pieces.
#include "pdf/content/picture_file.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "pdf/core/error_texts.h"

namespace pdf {

PictureFile::PictureFile(std::string_view filename, PictureKind kind, std::uint64_t most_bytes) {
    // The name's bytes are the path as the operating system knows it.
    const std::filesystem::path path{std::string(filename)};
    const auto missing = [&] {
        return PdfError(53, "PdfWriter.DrawImage", pdf::error_text(53) + " - " + std::string(filename));
    };
    std::error_code error;
    if (filename.empty() || !std::filesystem::is_regular_file(path, error)) throw missing();
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw missing();
    in_.open(path, std::ios::binary);
    if (!in_) throw missing();
    size_ = static_cast<std::size_t>(size);

    // The first bytes decide before the rest is read.
    std::array<std::uint8_t, kPictureHeadBytes> head{};
    check_picture_head(kind, std::span(head).first(read_some(0, head)));
    if (size > most_bytes) picture_invalid("file too large");
}

std::size_t PictureFile::read_some(std::size_t offset, std::span<std::uint8_t> into) {
    const std::size_t count = offset < size_ ? std::min(into.size(), size_ - offset) : 0;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(reinterpret_cast<char*>(into.data()), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in_.gcount());
}

void PictureFile::read(std::size_t offset, std::span<std::uint8_t> into) {
    if (read_some(offset, into) != into.size()) picture_truncated();
}

StreamPieces PictureFile::pieces() {
    std::string tail(std::min<std::size_t>(size_, 4), '\0');
    read(size_ - tail.size(), std::span(reinterpret_cast<std::uint8_t*>(tail.data()), tail.size()));
    return {size_, std::move(tail), [this](const ByteSink& sink) {
                constexpr std::size_t kPiece = std::size_t{1} << 20;
                Bytes piece(std::min(kPiece, size_));
                for (std::size_t at = 0; at < size_; at += piece.size()) {
                    const auto part = std::span(piece).first(std::min(piece.size(), size_ - at));
                    const std::size_t got = read_some(at, part);
                    if (got < part.size()) {
                        std::fill(part.begin() + static_cast<std::ptrdiff_t>(got), part.end(), 0);
                        shrank_ = true;
                    }
                    sink(part);
                }
            }};
}

}  // namespace pdf
