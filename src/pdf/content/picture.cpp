// Errors, limits and file reading shared by the picture readers.
#include "pdf/content/picture.h"
#include "pdf/core/error_texts.h"

#include <algorithm>
#include <cstring>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture_file.h"
#include "pdf/content/tga_reader.h"

namespace pdf {

void picture_truncated() { throw PdfError(62, "PdfWriter.DrawImage", pdf::error_text(62)); }

void picture_invalid(std::string_view why) {
    throw PdfError(321, "PdfWriter.DrawImage", pdf::error_text(321) + " - " + std::string(why));
}

void check_picture_size(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) picture_invalid("picture without pixels");
    if (width > kMostPicturePixels || height > kMostPicturePixels || width * height > kMostPicturePixels)
        picture_invalid("picture too large");
}

namespace {

// Whether `head` begins as `signature` does, as far as either goes.
bool begins_as(std::span<const std::uint8_t> head, std::string_view signature) {
    const std::size_t n = std::min(head.size(), signature.size());
    return n == 0 || std::memcmp(head.data(), signature.data(), n) == 0;
}

}  // namespace

void check_picture_head(PictureKind kind, std::span<const std::uint8_t> head) {
    using namespace std::string_view_literals;
    switch (kind) {
        case PictureKind::Gif:
            if (!begins_as(head, "GIF87a") && !begins_as(head, "GIF89a")) picture_invalid("not a GIF file");
            break;
        case PictureKind::Bmp:
            if (!begins_as(head, "BM")) picture_invalid("not a BMP file");
            break;
        case PictureKind::Jpeg:
            if (!begins_as(head, "\xFF\xD8\xFF")) picture_invalid("not a JPEG file");
            break;
        case PictureKind::Tga:
            if (head.size() >= kPictureHeadBytes) check_tga_header(head.first(kPictureHeadBytes));
            break;
        case PictureKind::Wmf:
            // Placeable, or a plain header: in memory or on disk, 9 words,
            // version 1 or 3.
            if (!begins_as(head, "\xD7\xCD\xC6\x9A"sv) && !begins_as(head, "\x01\x00\x09\x00\x00\x01"sv) &&
                !begins_as(head, "\x01\x00\x09\x00\x00\x03"sv) && !begins_as(head, "\x02\x00\x09\x00\x00\x01"sv) &&
                !begins_as(head, "\x02\x00\x09\x00\x00\x03"sv))
                picture_invalid("not a metafile");
            break;
        case PictureKind::Eps:
            if (!begins_as(head, "%!") && !begins_as(head, "\xC5\xD0\xD3\xC6")) picture_invalid("not a PostScript file");
            break;
    }
}

Bytes read_picture_file(std::string_view filename, PictureKind kind, std::uint64_t most_bytes) {
    PictureFile file(filename, kind, most_bytes);
    Bytes data(file.size());
    file.read(0, data);
    return data;
}

}  // namespace pdf
