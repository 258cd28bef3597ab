// The standard fonts: selection, font records and objects, measurement.
#include <string>

#include "common/cp1252.h"
#include "pdf/core/error_texts.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/content/font_names.h"
#include "pdf/content/pdf_name.h"
#include "pdf/content/standard_font_metrics.h"
#include "pdf/content/word_widths.h"

namespace {

struct StandardFace {
    std::string_view family;       // the name SetFont arrives at
    pdf::StandardFamily metrics;
    std::string_view base_font;
    std::int16_t height;           // line height, 1/1000 of the size
    std::int32_t descent;          // below the baseline, negative
    bool styled;                   // takes ",Bold" / ",Italic" / ",BoldItalic"
};

// Line heights and descents are the writer's own values; layouts depend on
// them, so they are not taken from the font metrics files.
constexpr StandardFace kFaces[] = {
    {"TimesNewRoman", pdf::StandardFamily::Times, "TimesNewRoman", 1107, -216, true},
    {"CourierNew", pdf::StandardFamily::Courier, "CourierNew", 1133, -300, true},
    {"Symbol", pdf::StandardFamily::Symbol, "Symbol", 1225, -220, false},
    {"ZapfDingbats", pdf::StandardFamily::ZapfDingbats, "ZapfDingbats", 1221, -221, false},
    {"Arial", pdf::StandardFamily::Helvetica, "Arial", 1221, -221, true},
};

const StandardFace& face_of(std::string_view family) {
    for (const auto& face : kFaces)
        if (face.family == family) return face;
    return kFaces[4];  // every other family is measured as Arial
}

}  // namespace

const PdfWriter::FontRecord* PdfWriter::SelectedFont() const {
    // Abort empties the font list and the resource name; a selection made
    // before it must not pick a record made after it.
    if (CurrentFontName.empty() || CurrentFontIndex < 1 || CurrentFontIndex > FontCount ||
        static_cast<std::size_t>(CurrentFontIndex) >= FontTable.size())
        return nullptr;
    return &FontTable[static_cast<std::size_t>(CurrentFontIndex)];
}

const PdfWriter::FontRecord& PdfWriter::RequireFont(std::string_view member) const {
    const FontRecord* font = SelectedFont();
    if (!font) RaiseError(5, member, pdf::error_text(5) + " - no font selected (SetFont)");
    return *font;
}

PdfWriter::FontRecord& PdfWriter::AddFontRecord() {
    ++FontCount;
    if (FontTable.size() <= static_cast<std::size_t>(FontCount))
        FontTable.resize(static_cast<std::size_t>(FontCount) + 1);
    FontRecord& record = FontTable[static_cast<std::size_t>(FontCount)];
    record = FontRecord{};
    return record;
}

void PdfWriter::LoadStandardWidths(std::string_view Family, std::int32_t Style) {
    const StandardFace& face = face_of(Family);
    FontRecord& record = FontTable[static_cast<std::size_t>(FontCount)];
    record.IsTrueType = false;
    record.BaseFont = std::string(face.base_font);
    if (face.styled) record.BaseFont += pdf::style_suffix(Style);
    record.Height = face.height;
    record.Descent = face.descent;
    record.Widths = pdf::standard_font_widths(face.metrics, face.styled ? Style : 0);
    record.Key = maiuscolo(record.BaseFont);
}

void PdfWriter::SetFont(std::string_view FontFamily, float Size, std::int32_t Style, std::int32_t Encoding) {
    const pdf::PublicCall call("SetFont");
    // Every value but 1 (MacRoman) is WinAnsi and shares its record: a record
    // of its own would put a second font under the same resource name.
    if (Encoding != 1) Encoding = 0;

    const pdf::FontName chosen = pdf::font_name(FontFamily, Style, Encoding);
    const std::string& name = chosen.resource;
    const std::string& family = chosen.family;
    const bool recognised = chosen.standard;
    const std::string key = maiuscolo(name);

    std::int32_t index = 0;
    for (std::int32_t i = 1; i <= FontCount && static_cast<std::size_t>(i) < FontTable.size(); ++i) {
        const FontRecord& record = FontTable[static_cast<std::size_t>(i)];
        if (record.Key == key && record.Encoding == Encoding) {
            index = i;
            break;
        }
    }
    if (index == 0) {
        // The font object goes straight into the file: without one there
        // would be a record whose resource is never written.
        if (!OutputFile) RaiseError(52, "SetFont", pdf::error_text(52) + " - no document open (BeginDoc)");
        AddFontRecord();
        LoadStandardWidths(family, Style);
        FontRecord& loaded = FontTable[static_cast<std::size_t>(FontCount)];
        loaded.Encoding = Encoding;
        if (Encoding == 1) loaded.Key = "MAC" + loaded.Key;
        // A family of its own (neither standard nor added) is found again by
        // the name it was asked for, which is also its resource name.
        if (!recognised) loaded.Key = key;
        loaded.ResourceName = UnusedFontResource(name);
        index = FontCount;
        try {
            WriteFontObjects(loaded.ResourceName);
        } catch (...) {
            --FontCount;  // FontResources is extended last: it never names the font
            throw;
        }
    }
    // Nothing changes before the font is there.
    CurrentFontFamily = std::string(FontFamily);
    FontStyle = Style;
    if (Size != 0) FontSize = Size;
    if (FontSize == 0) FontSize = 10;
    // The record's own resource name: a family asked for in another letter
    // case must not name a resource that does not exist.
    CurrentFontName = FontTable[static_cast<std::size_t>(index)].ResourceName;
    CurrentFontIndex = index;
}

std::string PdfWriter::UnusedFontResource(const std::string& name) const {
    // "MACFoo" can be asked for both as the MacRoman "Foo" and as the
    // WinAnsi "MACFoo": the second one found is numbered.
    return pdf::unused_name(name, [this](const std::string& resource) {
        for (std::int32_t i = 1; i <= FontCount && static_cast<std::size_t>(i) < FontTable.size(); ++i)
            if (FontTable[static_cast<std::size_t>(i)].ResourceName == resource) return true;
        return false;
    });
}

void PdfWriter::SetFontSize(float Points) { FontSize = Points; }

float PdfWriter::TextLength(std::string_view Phrase) {
    const FontRecord* font = SelectedFont();
    if (!font) return 0;
    return pdf::text_length(font->Widths, CurrentTextScale(), Phrase);
}

pdf::TextScale PdfWriter::CurrentTextScale() const {
    return {FontSize, WordSpacing, CharSpacing, HorizontalScaling, UnitFactor};
}

float PdfWriter::TextHeight() {
    const FontRecord* font = SelectedFont();
    if (!font) return 0;
    return static_cast<float>(static_cast<double>(font->Height) * FontSize / 1000.0 / UnitFactor);
}

void PdfWriter::WriteFontObjects(std::string_view Name, const pdf::Bytes& FontFile, std::int32_t EmbeddedLength,
                                 std::string_view Descriptor) {
    const FontRecord& record = FontTable[static_cast<std::size_t>(FontCount)];
    const std::int32_t n = WriteObjStart(0);
    WriteLine("<< /Type /Font /Subtype /" + std::string(record.IsTrueType ? "TrueType" : "Type1") + " /Name /" +
              std::string(Name) + " /BaseFont /" + record.BaseFont + " /FirstChar 0 /LastChar 255");
    const std::string upper_base = maiuscolo(record.BaseFont);
    if (upper_base != "SYMBOL" && upper_base != "ZAPFDINGBATS")
        WriteLine(std::string("/Encoding << /Type /Encoding /BaseEncoding /") +
                  (record.Encoding == 1 ? "MacRomanEncoding" : "WinAnsiEncoding") + ">>");
    if (!record.IsTrueType) {
        WriteLine(" >>");
        WriteObjEnd();
    } else {
        WriteLine("/FontDescriptor " + std::to_string(n + 1) + " 0 R");
        std::string widths = "/Widths [";
        for (int code = 0; code < 256; ++code) {
            widths += std::to_string(record.Widths[static_cast<std::size_t>(code)]);
            widths += ' ';
            if (code % 16 == 15) widths += '\r';
        }
        widths += ']';
        WriteLine(widths);
        WriteLine(">>");
        WriteObjEnd();

        WriteObjStart(0);
        std::string descriptor = "<< /Type /FontDescriptor /FontName /" + record.BaseFont + " " +
                                 std::string(Descriptor) + " ";
        const bool embedded = EmbeddedLength > 0 && !FontFile.empty();
        descriptor += embedded ? "/FontFile2 " + std::to_string(n + 2) + " 0 R >>" : " >>";
        WriteLine(descriptor);
        WriteObjEnd();
        if (embedded) {
            WriteObjStart(0);
            WriteLine("<<");
            WriteStream(FontFile, 0, {}, EmbeddedLength);
            WriteObjEnd();
        }
    }
    FontResources += "/" + std::string(Name) + " " + std::to_string(n) + " 0 R ";
}
