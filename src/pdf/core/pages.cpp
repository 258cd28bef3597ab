// Pages and content buffers: every drawing member sends its operator lines
// through PutContent into the buffer of whatever is open; EndPage writes the
// page's widgets, the page object, its content stream and its annotations.
#include <utility>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/growth.h"
#include "pdf/core/public_call.h"
#include "pdf/core/text_utils.h"

std::int32_t PdfWriter::BeginPage() {
    const pdf::PublicCall call("BeginPage");
    if (PageOpen) EndPage();
    if (PageCount == 2147483647) RaiseError(6, "BeginPage", pdf::error_text(6));
    PageCount += 1;
    pdf::make_room(PageObjects, PageCount, MemoryFactor);
    PageAnnots.clear();
    PageOpenScript.clear();
    PageCloseScript.clear();
    BufferReset(ContentBuffers[PageBuffer]);
    PageOpen = true;
    SetColorFill("Black");
    SetColorLine("Black");
    SetColorText("Black");
    // While an object or pattern is being recorded the placement lines would
    // land in that recording, and an object would paint itself; they are
    // left out then.
    if (ObjectCount > 0 && !ObjectOpen && !TilingOpen) PlayAutoObjects(false);
    CurrentPageView = ViewMode;
    CharSpacing = 0;
    WordSpacing = 0;
    HorizontalScaling = 100.0f;
    // A table carried over from the last page keeps its column: its next
    // row begins at its X, not at the page's edge.
    CurrentX = TableStates.empty() ? 0 : TableX * UnitFactor;
    CurrentY = 0;
    LineSpacing = 1.0f;
    PageTransitionText = TransitionText;
    PageTransitionDuration = TransitionDuration;
    PageFieldCount = 0;
    return PageCount;
}

void PdfWriter::EndPage() {
    if (!PageOpen) return;
    const pdf::PublicCall call("EndPage");
    // A table the page leaves open outside a cell goes on on the next page;
    // one drawn into a recording is not the page's.
    if (!TableStates.empty() && !CellOpen && ActiveContentBuffer() == PageBuffer) CarryTableOver();
    // The page's content ends with every save restored and every layer
    // mark ended, before what is painted over it.
    CloseOpenMarks(PageBuffer);
    if (ObjectCount > 0 && !ObjectOpen && !TilingOpen) PlayAutoObjects(true);
    PageOpen = false;

    // The first operator puts the origin at the top-left corner of the
    // margin box with y growing downwards; the clip keeps drawing inside it.
    std::string prefix = "1 0 0 -1 " + FormatNumber(Margins.Left) + " " + FormatNumber(PageHeight - Margins.Top) +
                         " cm \r";
    if (ClipPage) {
        prefix += "0 0 " + FormatNumber(PageWidth - Margins.Right - Margins.Left) + " " +
                  FormatNumber(PageHeight - Margins.Bottom - Margins.Top) + " re W n\r";
    }
    const std::string media = FormatNumber(PageWidth) + " " + FormatNumber(PageHeight) + "]\r";

    std::int32_t open_script = 0, close_script = 0;
    if (!PageOpenScript.empty()) open_script = WriteContentObject(PageOpenScript);
    if (!PageCloseScript.empty()) close_script = WriteContentObject(PageCloseScript);

    if (PageFieldCount >= 1) WriteFieldWidgets(LastObjectNumber + PageFieldCount + 1);

    const std::int32_t p = WriteObjStart(0);
    PageObjects[static_cast<std::size_t>(PageCount)] = p;
    std::string page = "<< /Type /Page /Parent 1 0 R /Contents " + std::to_string(p + 1) + " 0 R\r";
    switch (CurrentPageView) {
        case 3: page += "/Rotate 90\r"; break;
        case 2: page += "/Rotate 180\r"; break;
        case 1: page += "/Rotate 270\r"; break;
        default: break;
    }
    page += "/MediaBox [0 0 " + media;
    page += "/CropBox [0 0 " + media;
    page += "/BleedBox [0 0 " + media;
    if (!PageAnnots.empty()) page += "/Annots " + std::to_string(p + 2) + " 0 R";
    page += "/Resources 2 0 R";
    if (!PageTransitionText.empty()) {
        page += "\r/Dur " + FormatNumber(PageTransitionDuration) + " /Trans " + PageTransitionText;
    }
    if (open_script != 0 || close_script != 0) {
        page += "\n/AA <<";
        if (open_script != 0)
            page += " /O << /Type /Action /S /JavaScript /JS " + std::to_string(open_script) + " 0 R >>\r";
        if (close_script != 0)
            page += " /C << /Type /Action /S /JavaScript /JS " + std::to_string(close_script) + " 0 R >>\r";
        page += ">> ";
    }
    page += ">>";
    WriteLine(page);
    WriteObjEnd();
    PageKids += std::to_string(p) + " 0 R ";

    WriteObjStart(0);
    WriteLine("<<");
    // The page's content goes out as it was drawn, never copied whole.
    WriteContentStream(prefix, ContentBuffers[PageBuffer]);
    WriteObjEnd();

    if (!PageAnnots.empty()) {
        WriteObjStart(0);
        WriteLine("[ " + PageAnnots + " ]");
        WriteObjEnd();
    }
}

void PdfWriter::WriteFieldWidgets(std::int32_t pageObject) {
    const auto count = static_cast<std::size_t>(PageFieldCount);
    for (std::size_t i = 0; i < count && i < FieldEntries.size(); ++i) {
        FieldRecord& field = FieldEntries[i];
        const std::int32_t w = WriteObjStart(0);
        // Names, tooltips, values, options and a push button's caption are
        // what a reader shows: text strings. The appearance is PDF syntax
        // and a check mark a ZapfDingbats code: bytes as they stand.
        std::string body = " /DA " + PdfLiteralString(field.Appearance) + " /T " + PdfTextString(field.Name);
        if (!field.Tooltip.empty()) body += " /TU " + PdfTextString(field.Tooltip);
        switch (field.Type) {
            case 0:
                body += " /MK <<" + field.Characteristics + ">> \r /V " + PdfTextString(field.Value) + " /DV " +
                        PdfTextString(field.Value) + " ";
                break;
            case 1:
            case 4:
            case 5:
                body += " /MK << /CA " +
                        (field.Type == 5 ? PdfTextString(field.Caption) : PdfLiteralString(field.Caption)) + " " +
                        field.Characteristics + ">> ";
                break;
            case 2:
            case 3: {
                // The option and the value are converted alike, so that the
                // value still matches its option.
                const auto items = pdf::split_text(field.Value, "|");
                body += " /MK <<" + field.Characteristics + ">> /Opt [ ";
                for (const auto& item : items) body += PdfTextString(item);
                body += " ] ";
                if (field.ChoiceIndex >= 1 && static_cast<std::size_t>(field.ChoiceIndex) <= items.size()) {
                    const std::string chosen = PdfTextString(items[static_cast<std::size_t>(field.ChoiceIndex) - 1]);
                    body += " /DV " + chosen + " /V " + chosen;
                }
                break;
            }
            default: break;
        }
        if (!field.Actions.empty()) {
            body += " /AA << " + field.Actions + " >> ";
            if (field.Calculated) CalcOrderRefs += std::to_string(w) + " 0 R ";
        }
        if (!field.Extra.empty()) body += field.Extra;
        field.Head += body;
        WriteLine(field.Head + " /P " + std::to_string(pageObject) + " 0 R >>");
        FieldRefs += std::to_string(w) + " 0 R ";
        WriteObjEnd();
        // A field belongs to the page it was added to, also when that page
        // ends while a reusable object is being recorded: listed nowhere
        // else, it would be in the form but on no page.
        PageAnnots += std::to_string(w) + " 0 R ";
    }
}

void PdfWriter::SetMemoryUsage(std::int16_t Value) {
    if (Value < 0) RaiseError(6, "SetMemoryUsage", pdf::error_text(6));
    // 0 would leave the lists no room for their first entry: it counts as 1.
    if (Value == 0) Value = 1;
    if (Value <= 10) MemoryFactor = static_cast<std::uint8_t>(Value);
}

int PdfWriter::ActiveContentBuffer() const {
    return ObjectOpen ? ObjectBuffer : TilingOpen ? TilingBuffer : PageOpen ? PageBuffer : -1;
}

void PdfWriter::PutContent(std::string_view Line) {
    const int active = ActiveContentBuffer();
    if (active < 0) return;
    pdf::ContentText& buffer = ContentBuffers[static_cast<std::size_t>(active)];
    BufferAppendChar(buffer, '\r');
    BufferAppend(buffer, Line);
}

void PdfWriter::OpenMark(MarkKind kind) {
    if (const int active = ActiveContentBuffer(); active >= 0)
        OpenMarks[static_cast<std::size_t>(active)].push_back(kind);
}

bool PdfWriter::CloseMark(MarkKind kind) {
    const int active = ActiveContentBuffer();
    if (active < 0) return false;
    std::string& marks = OpenMarks[static_cast<std::size_t>(active)];
    const auto innermost = marks.rfind(static_cast<char>(kind));
    if (innermost == std::string::npos) return false;
    marks.erase(innermost, 1);
    return true;
}

void PdfWriter::CloseOpenMarks(ContentBufferIndex buffer) {
    std::string& marks = OpenMarks[buffer];
    for (auto kind = marks.rbegin(); kind != marks.rend(); ++kind)
        BufferAppend(ContentBuffers[buffer], *kind == LayerMark ? "\rEMC" : "\rQ");
    marks.clear();
}

// std::string already grows geometrically, and ContentText by blocks, so
// appending is amortised constant time as the buffers require.
void PdfWriter::BufferAppend(std::string& buffer, std::string_view Text) { buffer.append(Text); }
void PdfWriter::BufferAppend(pdf::ContentText& buffer, std::string_view Text) { buffer.append(Text); }
void PdfWriter::BufferAppendChar(pdf::ContentText& buffer, std::uint8_t b) { buffer.push_back(static_cast<char>(b)); }
void PdfWriter::BufferReset(std::string& buffer) { buffer.clear(); }
void PdfWriter::BufferReset(pdf::ContentText& buffer) { buffer.clear(); }
std::string PdfWriter::BufferText(const std::string& buffer) const { return buffer; }
std::string PdfWriter::BufferText(const pdf::ContentText& buffer) const { return buffer.text(); }
