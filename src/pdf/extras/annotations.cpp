// Note annotations (a box of text shown on the page, an icon that opens a
// pop-up note) and the one routine that writes every annotation object.
#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"

void PdfWriter::WriteAnnotation(std::string& Dictionary, std::string_view Contents, std::string_view Title,
                                std::string_view Appearance, std::string_view Target) {
    const std::int32_t n = WriteObjStart(0);
    // The strings are made after the object starts: under protection each
    // is encrypted with this object's own key. The author and the text are
    // what a reader shows, so they go through the text-string rule; the
    // appearance and the addresses are PDF syntax and file names, kept as
    // bytes.
    if (!Title.empty()) Dictionary += " /T " + PdfTextString(Title);
    if (!Contents.empty()) Dictionary += " /Contents " + PdfTextString(Contents);
    if (!Appearance.empty()) Dictionary += " /DA " + PdfLiteralString(Appearance);
    if (!Target.empty()) {
        if (Target.substr(0, 5) == "file:") {
            Dictionary += " /A << /Type /Action /S /GoToR /F " + PdfLiteralString(Target.substr(5)) +
                          " /D [-1 /XYZ 0 0 0] >> ";
        } else {
            Dictionary += " /A << /S /URI /URI " + PdfLiteralString(Target) + " >> ";
        }
    }
    Dictionary += " >>";
    WriteLine(Dictionary);
    WriteObjEnd();
    const std::string reference = std::to_string(n) + " 0 R ";
    if (ObjectOpen && ObjectCount >= 1 && static_cast<std::size_t>(ObjectCount) < ObjectTable.size())
        ObjectTable[static_cast<std::size_t>(ObjectCount)].AnnotationRefs += reference;
    else
        PageAnnots += reference;
}

std::string PdfWriter::StandardFontResource(std::string_view Family) {
    const std::string family = CurrentFontFamily, name = CurrentFontName;
    const std::int32_t style = FontStyle, index = CurrentFontIndex;
    const float size = FontSize;
    SetFont(Family, 0, 0, 0);
    std::string resource = CurrentFontName;
    CurrentFontFamily = family;
    CurrentFontName = name;
    FontStyle = style;
    CurrentFontIndex = index;
    FontSize = size;
    return resource;
}

void PdfWriter::AddNoteBox(std::string_view Text, float X, float Y, float Width, float Height,
                           std::int32_t TextAlign, std::int32_t Border, float DashOn, float DashOff,
                           std::int32_t Flag) {
    const pdf::PublicCall call("AddNoteBox");
    const float x1 = UserToPageX(X), y1 = UserToPageY(Y);
    std::string dictionary = "<< /Type /Annot /Subtype /FreeText\r/Rect [" + FormatNumber(x1) + " " +
                             FormatNumber(y1) + " " + FormatNumber(x1 + Width * UnitFactor) + " " +
                             FormatNumber(y1 - Height * UnitFactor) + "]\r /F " + std::to_string(Flag);
    if (TextAlign == 2) dictionary += "\r/Q 2";
    else if (TextAlign == 4) dictionary += "\r/Q 1";

    // A size alone is no valid appearance: the text is set in Helvetica,
    // which the form's resources (/DR) carry for the reader.
    std::string appearance = "/" + StandardFontResource("Helvetica") + " " + FormatNumber(FontSize) + " Tf";
    if (!LineColor.empty() && LineColor.front() == '#') appearance += " " + HexColorToRgb(LineColor) + " rg ";
    if (!FillColor.empty() && FillColor.front() == '#') dictionary += "\r/C [" + HexColorToRgb(FillColor) + "]";

    dictionary += "\r/BS << /Type /Border /W " + FormatNumber(LineWidth);
    switch (Border) {
        case 0: dictionary += "/S /S"; break;
        case 1: dictionary += "/S /D /D [" + FormatNumber(DashOn) + " " + FormatNumber(DashOff) + "]"; break;
        case 2: dictionary += "/S /B"; break;
        case 3: dictionary += "/S /I"; break;
        case 4: dictionary += "/S /U"; break;
        default: break;
    }
    dictionary += ">>\r";
    WriteAnnotation(dictionary, Text, DocInfo.Author, appearance, {});
    FreeTextNotes = true;
}

void PdfWriter::AddNoteIcon(std::string_view Text, std::int32_t Icon, float X, float Y, bool Opened,
                            std::int32_t Flag) {
    const pdf::PublicCall call("AddNoteIcon");
    static const char* const icons[] = {"Note", "Comment", "Key", "Help", "Paragraph", "NewParagraph", "Insert"};
    const std::string x = FormatNumber(UserToPageX(X)), y = FormatNumber(UserToPageY(Y));
    std::string dictionary =
        "<< /Type /Annot\r/Subtype /Text\r/Rect [" + x + " " + y + " " + x + " " + y + "]\r/F " + std::to_string(Flag);
    if (!FillColor.empty() && FillColor.front() == '#') dictionary += "\r/C [" + HexColorToRgb(FillColor) + "]";
    if (Icon >= 0 && Icon <= 6) dictionary += std::string("\r /Name /") + icons[Icon];
    dictionary += "\r /Open " + BoolToPdf(Opened) + " ";
    WriteAnnotation(dictionary, Text, DocInfo.Author, {}, {});
}
