// Life cycle of a PdfWriter: construction, reset (Abort), destruction, and
// the small informational members.
#include <csignal>
#include <ctime>
#include <cstdio>

#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/cp1252.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/writer_defaults.h"

namespace {

// "D:" + local date and time as 14 digits + a fixed zone text, which the
// documents have always carried whatever the machine's time zone.
std::string creation_date_now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char digits[32];
    std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return std::string("D:") + digits + "Z+01'00'";
}

}  // namespace

PdfWriter::PdfWriter() {
    for (int i = 0; i <= 16; ++i) PowersOfTwo[static_cast<std::size_t>(i)] = 1 << i;
    Abort();
}

// An open output file is closed (incomplete, without a trailer) rather than
// left to leak its handle.
PdfWriter::~PdfWriter() {
    if (OutputFile != nullptr) std::fclose(OutputFile);
}

void PdfWriter::Abort() {
    if (OutputFile != nullptr) {
        std::fclose(OutputFile);
        OutputFile = nullptr;
    }
    BytesWritten = 0;
    ProtectionOn = false;
    CachedRC4Key.clear();
    FileName.clear();
    FinalFileSize = 0;
    MemoryFactor = 1;
    RequiredMinorVersion = 0;
    FilterFlags = 0;

    DocInfo.Title = "(senza titolo)";
    DocInfo.Subject.clear();
    DocInfo.Keywords.clear();
    DocInfo.CreationDate = creation_date_now();
    DocInfo.Author = std::string(pdf::default_author);
    DocInfo.Creator = std::string(pdf::default_creator);
    DocInfo.Producer = std::string(pdf::default_producer);

    SetScale(0, 1.0f);
    SetPaperSize(0);

    ViewMode = 0;
    CurrentPageView = 0;
    Margins = MarginBox{};
    ClipPage = false;
    UncolouredTiling = false;
    TilingOpen = false;
    ObjectOpen = false;
    PageOpen = false;
    PageLabels.clear();
    PageAnnots.clear();
    for (auto& buffer : ContentBuffers) BufferReset(buffer);

    PageCount = 0;
    PageObjects.clear();
    PageKids.clear();
    FontCount = 0;
    FontTable.clear();
    TextColor = "#000000";
    FillColor = "#FFFFFF";
    LineColor = "#000000";
    CurrentFontName.clear();
    CurrentX = 0;
    CurrentY = 0;
    ViewerPreferences = 0;
    FontSize = 0;
    CompressionQuality = 0;
    CharSpacing = 0;
    WordSpacing = 0;
    HorizontalScaling = 100.0f;
    LineSpacing = 1.0f;

    OpenActionScript.clear();
    WillCloseScript.clear();
    WillSaveScript.clear();
    DidSaveScript.clear();
    WillPrintScript.clear();
    DidPrintScript.clear();
    DocumentScript.clear();
    PageOpenScript.clear();
    PageCloseScript.clear();
    PageFieldCount = 0;
    FieldEntries.clear();
    FieldRefs.clear();
    FreeTextNotes = false;
    CalcOrderRefs.clear();
    ErrorNumber = 0;
    GStateCount = 0;
    ExtGStateResources.clear();
    TilingAlias.clear();
    TilingDictionary.clear();
    PatternResources.clear();

    LastObjectNumber = 0;
    ObjectCount = 0;
    ObjectTable.clear();
    ObjectResources.clear();
    FontResources.clear();
    OutlineCount = 0;
    OutlineEntries.clear();
    ImportedFileCount = 0;
    ImportFileNumber = 0;
    CurrentImportedFile = 0;
    ImageCount = 0;
    ImageTable.clear();
    ImageResources.clear();
    GraphicStateDepth = 0;
    DestinationCount = 0;
    DestinationEntries.clear();
    LayerCount = 0;
    LayerTable.clear();

    ObjectOffsets.assign(1, std::string());

    // The outline's root entry carries the title: level 0, page 1, "/FitB",
    // no colour, no style (what AddBookmark(Title) gives on an empty list).
    OutlineEntry root;
    root.Caption = DocInfo.Title;
    root.Level = 0;
    root.Page = 1;
    root.Destination = "/FitB";
    OutlineEntries.resize(2);
    OutlineEntries[1] = root;
    OutlineCount = 1;
}

std::int32_t PdfWriter::FileSize() const {
    if (OutputFile != nullptr) {
        if (BytesWritten > 2147483647) RaiseError(6, "FileSize", "Overflow");
        return static_cast<std::int32_t>(BytesWritten);
    }
    return FinalFileSize;
}

std::string PdfWriter::Version() const { return std::string(pdf::writer_version); }

std::int32_t PdfWriter::GetPage() const { return PageCount; }

// The desktop's default viewer is started detached (through a second fork,
// so no child is left to reap) and the call returns at once; a viewer that
// cannot be started is not an error of the document.
void PdfWriter::OpenDoc() {
    if (FileName.empty()) return;
    const std::string path = cp1252_a_utf8(FileName);
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            const int null_fd = open("/dev/null", O_RDWR);
            if (null_fd >= 0) {
                dup2(null_fd, 0);
                dup2(null_fd, 1);
                dup2(null_fd, 2);
            }
            execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}
