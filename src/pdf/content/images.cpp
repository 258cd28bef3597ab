// Picture placement: DrawImage chooses a reader by the file's ending, writes
// each raster picture once per file and frame as an image XObject, and
// paints it with one placing line per call.
#include <cctype>
#include <cmath>
#include <optional>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/public_call.h"
#include "pdf/content/bmp_reader.h"
#include "pdf/content/gif_reader.h"
#include "pdf/content/jpeg_reader.h"
#include "pdf/content/tga_reader.h"
#include "pdf/content/eps_translator.h"
#include "pdf/content/wmf_translator.h"
#include "pdf/content/picture.h"
#include "pdf/content/picture_file.h"
#include "pdf/core/colors.h"
#include "pdf/core/growth.h"
#include "pdf/core/text_utils.h"

namespace {

bool ends_with(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

std::optional<pdf::PictureKind> raster_kind(std::string_view upper_name) {
    if (ends_with(upper_name, ".GIF")) return pdf::PictureKind::Gif;
    if (ends_with(upper_name, ".BMP")) return pdf::PictureKind::Bmp;
    if (ends_with(upper_name, ".TGA")) return pdf::PictureKind::Tga;
    if (ends_with(upper_name, ".JPG")) return pdf::PictureKind::Jpeg;
    return std::nullopt;
}

// The colour ColorMask names, as [r r g g b b] for /Mask; empty for none.
std::string colour_key(std::string_view mask) {
    if (mask.empty()) return {};
    const std::string hex = pdf::parse_color(mask).color;
    bool valid = hex.size() == 7 && hex[0] == '#';
    for (std::size_t i = 1; valid && i < 7; ++i) valid = std::isxdigit(static_cast<unsigned char>(hex[i])) != 0;
    if (!valid) throw PdfError(5, "PdfWriter.DrawImage", pdf::error_text(5) + " - " + std::string(mask));
    std::string key = "[";
    for (int c = 0; c < 3; ++c) {
        const std::string v = std::to_string(std::stoi(hex.substr(1 + 2 * c, 2), nullptr, 16));
        key += v + " " + v + (c < 2 ? " " : "]");
    }
    return key;
}

// The file is read here a piece at a time, never whole, and closed once
// decoded; a JPEG's stays open to be copied into its stream. A colour key
// names colours, so a BMP that gets one is read as RGB.
pdf::RasterPicture decode(pdf::PictureKind kind, std::string_view filename, std::int16_t frame, std::string key) {
    auto file = std::make_shared<pdf::PictureFile>(filename, kind);
    pdf::ByteCursor at(*file);
    switch (kind) {
        case pdf::PictureKind::Gif: return pdf::read_gif(at, frame);
        case pdf::PictureKind::Jpeg: {
            pdf::RasterPicture picture = pdf::read_jpeg(at);
            picture.file = std::move(file);
            return picture;
        }
        case pdf::PictureKind::Tga: return pdf::read_tga(at);
        case pdf::PictureKind::Bmp: {
            pdf::RasterPicture picture = pdf::read_bmp(at, !key.empty());
            picture.colour_key = std::move(key);
            return picture;
        }
        default: break;
    }
    pdf::picture_invalid("unknown picture type");
}

}  // namespace

void PdfWriter::DrawImage(std::string_view Filename, float DestX, float DestY, float ImgWidth, float ImgHeight,
                          std::int16_t FrameNumber, std::string_view ColorMask) {
    const pdf::PublicCall call("DrawImage");
    const std::string upper = pdf::upper_case(Filename);
    if (ends_with(upper, ".EPS") || ends_with(upper, ".AI")) {
        ImportVectorEps(Filename, DestX, DestY, ImgWidth, ImgHeight);
        return;
    }
    if (ends_with(upper, ".WMF")) {
        ImportVectorWmf(Filename, DestX, DestY, ImgWidth, ImgHeight);
        return;
    }
    const std::optional<pdf::PictureKind> kind = raster_kind(upper);
    // Refused before anything changes: no table entry is left that a later
    // call could paint without an XObject behind it.
    if (!kind) RaiseError(321, "DrawImage", pdf::error_text(321) + " - " + std::string(Filename));
    if (FrameNumber < 1) FrameNumber = 1;
    // Only the BMP reader is given the colour to make transparent.
    const std::string key = kind == pdf::PictureKind::Bmp ? colour_key(ColorMask) : std::string();

    // The name exactly as given: on this system "logo.gif" and "LOGO.GIF"
    // can be two different files.
    std::int32_t n = 0;
    for (std::int32_t i = 1; i <= ImageCount; ++i) {
        const ImageRecord& entry = ImageTable[static_cast<std::size_t>(i)];
        if (entry.Frame == FrameNumber && entry.Name == Filename) {
            n = i;
            break;
        }
    }
    pdf::RasterPicture picture;
    std::int32_t pw = 0, ph = 0;
    if (n > 0) {
        pw = ImageTable[static_cast<std::size_t>(n)].Width;
        ph = ImageTable[static_cast<std::size_t>(n)].Height;
    } else {
        if (ImageCount >= 32767) RaiseError(6, "DrawImage", pdf::error_text(6));
        try {
            picture = decode(*kind, Filename, FrameNumber, key);
        } catch (const PdfError& error) {
            // A damaged picture says which file it is; a missing one already does.
            if (error.number() == 53) throw;
            throw PdfError(error.number(), error.source(), error.description() + " - " + std::string(Filename));
        }
        pw = picture.width;
        ph = picture.height;
    }

    if (ImgWidth == 0 && ImgHeight == 0) {
        ImgWidth = static_cast<float>(pw) / UnitFactor;
        ImgHeight = static_cast<float>(ph) / UnitFactor;
    } else if (ImgWidth == 0) {
        ImgWidth = ImgHeight * static_cast<float>(pw) / static_cast<float>(ph);
    } else if (ImgHeight == 0) {
        ImgHeight = ImgWidth * static_cast<float>(ph) / static_cast<float>(pw);
    }

    // The line is made before the picture is written, so a number that
    // cannot be written (not finite) leaves the document as it was.
    const bool top_row_first = kind == pdf::PictureKind::Jpeg;
    const std::string number = std::to_string(n > 0 ? n : ImageCount + 1);
    const std::string line =
        "q " + FormatLength(ImgWidth) + " 0 0 " + FormatLength(top_row_first ? -ImgHeight : ImgHeight) + " " +
        FormatLength(DestX) + " " + FormatLength(top_row_first ? DestY + ImgHeight : DestY) + " cm /_IMG_" + number +
        " Do Q";
    const std::array<float, 4> corners{UserToPageX(DestX), UserToPageY(DestY), UserToPageX(DestX + ImgWidth),
                                       UserToPageY(DestY + ImgHeight)};
    for (float c : corners) {
        if (!std::isfinite(c)) RaiseError(5, "DrawImage", pdf::error_text(5));
    }

    if (n == 0) {
        n = ImageCount + 1;
        pdf::make_room(ImageTable, n, MemoryFactor);
        ImageRecord& entry = ImageTable[static_cast<std::size_t>(n)];
        entry.Name = std::string(Filename);
        entry.Frame = FrameNumber;
        entry.Width = pw;
        entry.Height = ph;
        ImageCount = n;
        try {
            WriteImageObject(std::move(picture));
        } catch (...) {
            // No output file, or a failed write: the entry goes with it.
            entry = ImageRecord{};
            ImageCount = n - 1;
            throw;
        }
    }

    SetXY(DestX, DestY);
    SetLastRect(corners[0], corners[1], corners[2], corners[3]);
    PutContent(line);
}

std::int32_t PdfWriter::WriteImageObject(pdf::RasterPicture&& Picture) {
    std::int32_t palette = 0;
    const std::size_t entries = Picture.palette.size() / 3;
    if (!Picture.palette.empty()) {
        // Its own object, so under protection it is encrypted with its own
        // key like any other stream.
        palette = WriteObjStart(0);
        WriteLine("<<");
        WriteStream(std::move(Picture.palette), palette);
        WriteObjEnd();
    }
    const std::int32_t image = WriteObjStart(0);
    const std::string colour_space =
        palette > 0 ? "[/Indexed " + Picture.colour_space + " " + std::to_string(entries - 1) + " " +
                          std::to_string(palette) + " 0 R]"
                    : Picture.colour_space;
    WriteLine("<< /Type /XObject /Subtype /Image /Name /_IMG_" + std::to_string(ImageCount) + " /Width " +
              std::to_string(Picture.width) + " /Height " + std::to_string(Picture.height) +
              " /BitsPerComponent " + std::to_string(Picture.bits) + " /ColorSpace " + colour_space);
    if (!Picture.decode.empty()) WriteLine(Picture.decode);
    if (!Picture.colour_key.empty()) WriteLine("/Mask " + Picture.colour_key);
    if (Picture.file) {
        pdf::StreamPieces pieces = Picture.file->pieces();
        WriteFilteredStream(pieces, image, Picture.filter, 0);
    } else {
        WriteStream(std::move(Picture.samples), image, Picture.filter);
    }
    WriteObjEnd();
    // A file cut while it was copied leaves its object whole and unused.
    if (Picture.file && Picture.file->shrank()) pdf::picture_truncated();
    ImageResources += "/_IMG_" + std::to_string(ImageCount) + " " + std::to_string(image) + " 0 R ";
    return image;
}

namespace {

// What a translator holds besides the file and the operators it writes (its
// object table, the lines it is making, the definitions an EPS file makes
// and the path it is building), at most.
constexpr std::uint64_t kTranslatorBytes = 16u << 20;
// The largest drawing whose file and translator fit in any budget.
constexpr std::uint64_t kMostDrawingFileBytes = pdf::import_memory_budget(std::uint64_t{1} << 40) - kTranslatorBytes;

// The size a vector picture is drawn at, in points: as given, or derived
// from its own size as for raster pictures (a point of the picture becomes
// a point of the page).
pdf::VectorSize fitted(pdf::VectorSize natural, float width, float height, float unit) {
    pdf::VectorSize size{static_cast<double>(width) * unit, static_cast<double>(height) * unit};
    if (width == 0 && height == 0) return natural;
    if (width == 0) size.width = size.height * natural.width / natural.height;
    if (height == 0) size.height = size.width * natural.height / natural.width;
    return size;
}

}  // namespace

void PdfWriter::ImportVectorEps(std::string_view Filename, float DestX, float DestY, float ImgWidth,
                                float ImgHeight) {
    PlaceVectorPicture(Filename, DestX, DestY, ImgWidth, ImgHeight, false);
}

void PdfWriter::ImportVectorWmf(std::string_view Filename, float DestX, float DestY, float ImgWidth,
                                float ImgHeight) {
    PlaceVectorPicture(Filename, DestX, DestY, ImgWidth, ImgHeight, true);
}

void PdfWriter::PlaceVectorPicture(std::string_view Filename, float DestX, float DestY, float ImgWidth,
                                   float ImgHeight, bool Metafile) {
    // The operators go straight into the content being drawn, and it is cut
    // back to where it was when the drawing is refused: nothing half-drawn.
    const int active = ActiveContentBuffer();
    pdf::ContentText* content = active < 0 ? nullptr : &ContentBuffers[static_cast<std::size_t>(active)];
    const std::size_t before = content != nullptr ? content->size() : 0;
    try {
        // The file is held while it is translated, with the translator's
        // own state: what is left of the budget of its size is the
        // operators'.
        const pdf::Bytes file = pdf::read_picture_file(Filename, Metafile ? pdf::PictureKind::Wmf : pdf::PictureKind::Eps,
                                                       kMostDrawingFileBytes);
        const std::uint64_t held = file.size() + kTranslatorBytes;
        const std::uint64_t budget = pdf::import_memory_budget(file.size());
        pdf::VectorOut out(content, budget > held ? budget - held : 0);
        const float unit = UnitFactor;
        const pdf::VectorFit fit = [&](pdf::VectorSize natural) {
            const pdf::VectorSize size = fitted(natural, ImgWidth, ImgHeight, unit);
            // The rectangle's lower-left corner, y turned upwards: the
            // picture's own coordinates run that way.
            out.line("q");
            out.line("1 0 0 -1 " + FormatLength(DestX) + " " +
                     pdf::vector_number(static_cast<double>(DestY) * UnitFactor + size.height) + " cm");
            return size;
        };
        if (Metafile) pdf::translate_wmf(file, fit, out);
        else pdf::translate_eps(file, fit, out);
        out.line("Q");
    } catch (const PdfError& error) {
        if (content != nullptr) content->truncate(before);
        // A missing file's description names it already.
        RecordError(error.number(), "DrawImage", error.description(), error.number() == 53 ? "" : Filename);
    } catch (const std::bad_alloc&) {
        if (content != nullptr) content->truncate(before);
        RecordError(7, "DrawImage", pdf::error_text(7), Filename);
    }
}
