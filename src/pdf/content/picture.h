// What the picture readers hand to the writer, and the limits and errors
// they share.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "pdf/PdfWriter.h"

namespace pdf {

class PictureFile;

// A decoded raster picture, ready to become an image XObject.
struct RasterPicture {
    std::int32_t width = 0;   // pixels
    std::int32_t height = 0;
    std::int32_t bits = 8;    // per component
    // "/DeviceGray", "/DeviceRGB" or "/DeviceCMYK"; the base colour space
    // when the picture has a palette.
    std::string colour_space = "/DeviceRGB";
    // RGB triples of an indexed picture (each sample is an index into it,
    // and the palette holds an entry for every possible sample); else empty.
    Bytes palette;
    // The sample rows, the BOTTOM row first: the placing matrix puts the
    // first row at the bottom edge. A JPEG instead carries its whole file,
    // which the other matrix places top row first: in memory here, or
    // `file`, which is copied into the stream piece by piece.
    Bytes samples;
    std::shared_ptr<PictureFile> file;
    std::string filter;      // "/DCTDecode " for a JPEG, else empty
    std::string decode;      // "/Decode [...]" or empty
    std::string colour_key;  // "[r r g g b b]" for /Mask, or empty
};

// More pixels than this is no picture for a printed page; refusing it keeps a
// hostile header from asking for gigabytes.
inline constexpr std::int64_t kMostPicturePixels = std::int64_t{1} << 26;

// Throws PdfError 321 (invalid file format) from "PdfWriter.DrawImage".
[[noreturn]] void picture_invalid(std::string_view why);

// Refuses (321) a size of 0 in either direction or above kMostPicturePixels.
void check_picture_size(std::int64_t width, std::int64_t height);

// The kinds of picture file, as DrawImage tells them by the name's ending.
enum class PictureKind { Gif, Bmp, Tga, Jpeg, Wmf, Eps };

// The largest picture file placed.
inline constexpr std::uint64_t kMostPictureFileBytes = std::uint64_t{1} << 30;

// The most first bytes check_picture_head looks at (a TGA header).
inline constexpr std::size_t kPictureHeadBytes = 18;

// Refuses (321, with the reason its reader gives) first bytes that no file
// of `kind` starts with: the signature of a GIF ("GIF87a", "GIF89a"), BMP
// ("BM"), JPEG (FF D8 FF), metafile (placeable, or the plain header of
// type 1 or 2, 9 words, version 1 or 3) or EPS ("%!", or the DOS binary
// header C5 D0 D3 C6); a TGA header's fields as the reader takes them.
// Fewer bytes than that are checked as far as they go: the reader tells a
// file cut short.
void check_picture_head(PictureKind kind, std::span<const std::uint8_t> head);

// The whole file, opened as a PictureFile: its first bytes are
// checked against `kind` before the rest is read, so a file of another kind
// costs no more than them. A missing file throws PdfError 53; a file of more
// than `most_bytes` 321.
Bytes read_picture_file(std::string_view filename, PictureKind kind,
                        std::uint64_t most_bytes = kMostPictureFileBytes);

}  // namespace pdf
