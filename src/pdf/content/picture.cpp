// Errors, limits and file reading shared by the picture readers.
#include "pdf/content/picture.h"
#include "pdf/core/error_texts.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "pdf/content/byte_cursor.h"

namespace pdf {

namespace {
constexpr std::uintmax_t kMostFileBytes = std::uintmax_t{1} << 30;
}

void picture_truncated() { throw PdfError(62, "PdfWriter.DrawImage", pdf::error_text(62)); }

void picture_invalid(std::string_view why) {
    throw PdfError(321, "PdfWriter.DrawImage", pdf::error_text(321) + " - " + std::string(why));
}

void check_picture_size(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) picture_invalid("picture without pixels");
    if (width > kMostPicturePixels || height > kMostPicturePixels || width * height > kMostPicturePixels)
        picture_invalid("picture too large");
}

Bytes read_picture_file(std::string_view filename) {
    // The name's bytes are the path as the operating system knows it.
    const std::filesystem::path path{std::string(filename)};
    std::error_code error;
    if (filename.empty() || !std::filesystem::is_regular_file(path, error))
        throw PdfError(53, "PdfWriter.DrawImage", pdf::error_text(53) + " - " + std::string(filename));
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw PdfError(53, "PdfWriter.DrawImage", pdf::error_text(53) + " - " + std::string(filename));
    if (size > kMostFileBytes) picture_invalid("file too large");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PdfError(53, "PdfWriter.DrawImage", pdf::error_text(53) + " - " + std::string(filename));
    Bytes data(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

}  // namespace pdf
