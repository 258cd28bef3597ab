// Life cycle of a PdfWriter: construction, reset (Abort), destruction, and
// the small informational members.
#include <ctime>
#include <cstdio>
#include <utility>

#include "common/cp1252.h"
#include "pdf/core/error_texts.h"
#include "common/errori_sistema.h"
#include "common/visualizzatore.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/creation_date_hook.h"
#include "pdf/core/writer_defaults.h"

namespace {

std::string& fixed_creation_date() {
    static std::string date;
    return date;
}

// "D:" + local date and time as 14 digits + a fixed zone text, which the
// documents have always carried whatever the machine's time zone.
std::string creation_date_now() {
    if (!fixed_creation_date().empty()) return fixed_creation_date();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char digits[32];
    std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return std::string("D:") + digits + "Z+01'00'";
}

}  // namespace

void pdf::fix_creation_date(std::string date) { fixed_creation_date() = std::move(date); }

PdfWriter::PdfWriter() {
    for (int i = 0; i <= 16; ++i) PowersOfTwo[static_cast<std::size_t>(i)] = 1 << i;
    Abort();
}

// A document still open is dropped: its temporary file would otherwise stay
// behind, and the final name keeps its previous contents.
PdfWriter::~PdfWriter() { DiscardOutputFile(); }

void PdfWriter::Abort() {
    DiscardOutputFile();
    ProtectionOn = false;
    CachedRC4Key.clear();
    FileName.clear();
    FinalFileSize = 0;
    MemoryFactor = 1;
    FilterFlags = 0;
    CompressionQuality = 0;

    DocInfo.Title = "(senza titolo)";
    DocInfo.Subject.clear();
    DocInfo.Keywords.clear();
    DocInfo.CreationDate = creation_date_now();
    DocInfo.Author = std::string(pdf::default_author);
    DocInfo.Creator = std::string(pdf::default_creator);
    DocInfo.Producer = std::string(pdf::default_producer);

    SetScale(0, 1.0f);
    SetPaperSize(0);
    Margins = MarginBox{};
    ClipPage = false;
    ViewMode = 0;
    ViewerPreferences = 0;
    ErrorNumber = 0;

    ResetDocumentState();
}

void PdfWriter::ResetDocumentState() {
    BytesWritten = 0;
    LastObjectNumber = 0;
    ObjectOffsets.assign(1, std::string());
    RequiredMinorVersion = 0;

    // Pages and what is open.
    PageCount = 0;
    PageObjects.clear();
    PageKids.clear();
    PageOpen = false;
    ObjectOpen = false;
    TilingOpen = false;
    UncolouredTiling = false;
    for (auto& buffer : ContentBuffers) BufferReset(buffer);
    PageAnnots.clear();
    CurrentPageView = 0;
    PageFieldCount = 0;
    FieldEntries.clear();
    FieldRefs.clear();
    CalcOrderRefs.clear();
    FreeTextNotes = false;
    CheckMarkFields = false;

    // Graphics and text state; the font selection names a font object of
    // the document that ended.
    TextColor = "#000000";
    FillColor = "#FFFFFF";
    LineColor = "#000000";
    CurrentFontName.clear();
    CurrentFontFamily.clear();
    CurrentFontIndex = 0;
    FontStyle = 0;
    FontSize = 0;
    CurrentX = 0;
    CurrentY = 0;
    CharSpacing = 0;
    WordSpacing = 0;
    HorizontalScaling = 100.0f;
    LineSpacing = 1.0f;

    // Tables and local spaces.
    TableX = 0;
    TableY = 0;
    InRow = false;
    InColumn = false;
    CellOpen = false;
    RowHeight = 0;
    ColumnWidth = 0;
    TableStates.clear();
    GraphicStateStack.clear();
    for (auto& marks : OpenMarks) marks.clear();

    // Resources.
    FontCount = 0;
    FontTable.clear();
    FontResources.clear();
    ImageCount = 0;
    ImageTable.clear();
    ImageResources.clear();
    ObjectCount = 0;
    ObjectTable.clear();
    ObjectResources.clear();
    PatternResources.clear();
    PatternNames.clear();
    TilingAlias.clear();
    TilingDictionary.clear();
    GStateCount = 0;
    ExtGStateResources.clear();

    // Outline, destinations, layers, labels, scripts, imported files.
    DestinationCount = 0;
    DestinationEntries.clear();
    LayerCount = 0;
    LayerTable.clear();
    LayerNumbers.clear();
    PageLabels.clear();
    OpenActionScript.clear();
    WillCloseScript.clear();
    WillSaveScript.clear();
    DidSaveScript.clear();
    WillPrintScript.clear();
    DidPrintScript.clear();
    DocumentScript.clear();
    PageOpenScript.clear();
    PageCloseScript.clear();
    ImportedFileCount = 0;
    ImportFileNumber = 0;
    CurrentImportedFile = 0;
    ImportedFiles.clear();

    // The outline's root entry carries the title: level 0, page 1, "/FitB",
    // no colour, no style (what AddBookmark(Title) gives on an empty list).
    OutlineEntry root;
    root.Caption = DocInfo.Title;
    root.Level = 0;
    root.Page = 1;
    root.Destination = "/FitB";
    OutlineEntries.assign(2, OutlineEntry{});
    OutlineEntries[1] = root;
    OutlineCount = 1;
}

std::int32_t PdfWriter::FileSize() const {
    if (OutputFile != nullptr) {
        if (BytesWritten > 2147483647) RaiseError(6, "FileSize", pdf::error_text(6));
        return static_cast<std::int32_t>(BytesWritten);
    }
    return FinalFileSize;
}

std::string PdfWriter::Version() const { return std::string(pdf::writer_version); }

std::int32_t PdfWriter::GetPage() const { return PageCount; }

// The desktop's default viewer is started detached and the call returns at
// once; a start that fails reaches the caller as an error. How the viewer
// ends later is the opener's observer's business (common/visualizzatore.h).
void PdfWriter::OpenDoc() {
    if (FileName.empty()) return;
    // The name is the system's own path bytes, as BeginDoc used them.
    const AperturaAvviata avviata = avvia_apertura(FileName);
    if (avviata.errore != 0)
        RaiseError(53, "OpenDoc",
                   "Impossibile avviare il programma per mostrare il file (xdg-open): " +
                       utf8_a_cp1252(descrizione_errore(avviata.errore)).value_or(""));
    osserva_apertura(avviata.esito, FileName);
}
