// TrueType fonts added to a document: the file read and checked in memory,
// then one font record and its objects (dictionary, descriptor, font file).
#include <cmath>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

#include "common/cp1252.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/content/font_names.h"
#include "pdf/content/pdf_name.h"
#include "pdf/content/truetype_reader.h"

namespace {

// The file is embedded whole and its length goes into /Length1; no sound
// TrueType font comes near this.
constexpr std::uintmax_t kLargestFontFile = 64u << 20;

std::string_view platform_message(std::int32_t number) {
    switch (number) {
        case 5: return "Nome di carattere gi\xE0 in uso";
        case 7: return "Memoria insufficiente";
        case 52: return "Nessun file aperto";
        case 53: return "File del carattere non trovato";
        case 62: return "File del carattere troncato";
        case 75: return "Impossibile leggere il file del carattere";
        default: return "Il file non \xE8 un carattere TrueType utilizzabile";
    }
}

// The path's bytes go to the system unchanged: they are the system's own
// (UTF-8 here), not text of the document.
pdf::Bytes read_font_file(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) throw pdf::FontFileError(53, utf8_per_messaggio(path.string()));
    if (!std::filesystem::is_regular_file(status)) throw pdf::FontFileError(75, utf8_per_messaggio(path.string()) + " non \xE8 un file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw pdf::FontFileError(75, utf8_per_messaggio(path.string()));
    pdf::Bytes bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > kLargestFontFile) throw pdf::FontFileError(321, "file pi\xF9 grande di 64 MB");
    }
    if (in.bad()) throw pdf::FontFileError(75, utf8_per_messaggio(path.string()));
    return bytes;
}

// A font whose name table names it nowhere goes by its file's name, as
// Windows-1252 text without blanks.
std::string file_base_name(const std::filesystem::path& path) {
    const std::string stem = path.stem().string();
    std::string text = utf8_a_cp1252(stem).value_or("");
    if (text.empty())
        for (char c : stem)
            if (static_cast<unsigned char>(c) < 128) text += c;
    std::string name;
    for (char c : text)
        if (static_cast<unsigned char>(c) > 32 && c != 127) name += c;
    return name.empty() ? "TrueType" : name;
}

// The descriptor's entries in the order readers of our files have always
// seen them.
std::string descriptor_text(const pdf::TrueTypeMetrics& m, const std::string& italic_angle) {
    auto n = [](std::int64_t v) { return std::to_string(v); };
    const auto x_height = static_cast<std::int64_t>(std::floor(m.ascent / 2.0));
    return "/Flags " + n(m.flags) + " /FontBBox [" + n(m.bbox[0]) + " " + n(m.bbox[1]) + " " + n(m.bbox[2]) + " " +
           n(m.bbox[3]) + "]" + " /MissingWidth " + n(m.missing_width) + " /StemV " + n(m.stem_v) +
           " /ItalicAngle " + italic_angle + " /CapHeight " + n(m.ascent) + " /XHeight " + n(x_height) +
           " /Ascent " + n(m.ascent) + " /Descent " + n(m.descent) + " /MaxWidth " + n(m.max_width) +
           " /AvgWidth " + n(m.avg_width);
}

bool same_file(const std::string& a, std::string_view b) {
    if (a == b) return true;
    std::error_code error;
    return std::filesystem::equivalent(std::filesystem::path(a), std::filesystem::path(std::string(b)), error);
}

}  // namespace

std::string PdfWriter::AddFont(std::string_view TTFFile, std::string_view FontAlias, bool Embedded,
                               std::int32_t Encoding) {
    const pdf::PublicCall call("AddFont");
    // As in SetFont: every value but 1 (MacRoman) is WinAnsi.
    if (Encoding != 1) Encoding = 0;
    // Everything is read and checked before the first record or byte is
    // added, so a font that fails leaves the document as it was.
    try {
        const std::filesystem::path path(std::string{TTFFile});
        const pdf::Bytes file = read_font_file(path);
        const pdf::TrueTypeMetrics font =
            pdf::read_truetype(file, Encoding == 1 ? pdf::FontCodes::MacRoman : pdf::FontCodes::WinAnsi);
        const std::string own_name = font.name.empty() ? file_base_name(path) : font.name;
        const std::string alias = FontAlias.empty() ? own_name : std::string(FontAlias);
        const std::string resource = pdf::font_name(alias, 0, Encoding).resource;
        const std::string key = maiuscolo(resource);

        // One name, one font: SetFont finds fonts by key and encoding, and
        // /Font must not hold a resource name twice.
        for (std::int32_t i = 1; i <= FontCount && static_cast<std::size_t>(i) < FontTable.size(); ++i) {
            const FontRecord& record = FontTable[static_cast<std::size_t>(i)];
            const bool same_key = record.Key == key && record.Encoding == Encoding;
            if (!same_key && record.ResourceName != resource) continue;
            if (same_key && record.IsTrueType && same_file(record.SourceFile, TTFFile)) return alias;
            throw pdf::FontFileError(5, alias);
        }
        if (OutputFile == nullptr) throw pdf::FontFileError(52, "il documento non \xE8 stato iniziato (BeginDoc)");

        const std::string italic_angle = FormatNumber(font.italic_angle);
        FontRecord& record = AddFontRecord();
        record.IsTrueType = true;
        record.BaseFont = pdf::pdf_name(own_name) + std::string(pdf::style_suffix((font.bold ? 1 : 0) |
                                                                                   (font.italic ? 2 : 0)));
        record.Widths = font.widths;
        const std::int64_t height = static_cast<std::int64_t>(font.ascent) + std::abs(font.descent);
        record.Height = static_cast<std::int16_t>(height > 32767 ? 32767 : height < -32768 ? -32768 : height);
        record.Descent = font.descent;
        record.Encoding = Encoding;
        record.Key = key;
        record.ResourceName = resource;
        record.SourceFile = std::string(TTFFile);
        try {
            const auto length = static_cast<std::int32_t>(file.size());
            WriteFontObjects(resource, file, Embedded ? length : 0, descriptor_text(font, italic_angle));
        } catch (...) {
            --FontCount;  // FontResources is extended last: it never names the font
            throw;
        }
        return alias;
    } catch (const pdf::FontFileError& error) {
        RecordError(error.number(), "AddFont", platform_message(error.number()), error.what());
    } catch (const PdfError& error) {
        RecordError(error.number(), "AddFont", error.description(), {});
    } catch (const std::bad_alloc&) {
        RecordError(7, "AddFont", platform_message(7), {});
    }
    return {};
}
