// The output file and the object writer: the header, lines, indirect objects
// with their cross-reference offsets, streams, and numbers as operands.
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <random>

#include "common/cp1252.h"
#include "pdf/core/error_texts.h"
#include "common/errori_sistema.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/growth.h"
#include "pdf/core/number_format.h"
#include "pdf/core/replacing_file.h"
#include "pdf/core/write_failure.h"
#include "pdf/core/writer_defaults.h"

namespace {

// "~" + hexadecimal of (day, hour, minute, second, one random digit).
std::string generated_file_name() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::random_device device;
    const unsigned digit = device() % 10;
    char decimal[32];
    std::snprintf(decimal, sizeof decimal, "%d%02d%02d%02d%u", local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec, digit);
    char name[32];
    std::snprintf(name, sizeof name, "~%lX.pdf", std::strtoul(decimal, nullptr, 10));
    return name;
}

// The platform's number and message for a failed open.
std::pair<std::int32_t, std::string> open_failure(int error) {
    // The user reads these: Italian, with what can be done about them.
    const std::string why = utf8_per_messaggio(descrizione_errore(error));
    switch (error) {
        case ENOENT:
        case ENOTDIR: return {76, "Cartella inesistente: " + why};
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return {75, "Impossibile creare il file: " + why};
        case ENOSPC: return {61, "Disco pieno: " + why};
        default: return {52, "Impossibile creare il file: " + why};
    }
}

}  // namespace

std::string PdfWriter::BeginDoc(std::string_view strFileName) {
    // Closing the open document here would lose it, and going on would mix
    // its objects into the new one: the call is refused instead.
    if (OutputFile != nullptr) {
        RecordError(55, "BeginDoc", "Un documento \xE8 gi\xE0 aperto", FileName);
        return {};
    }
    FileName = strFileName.empty() ? generated_file_name() : std::string(strFileName);
    BytesWritten = 0;
    WriteFailure = 0;
    int error = 0;
    OutputFile = pdf::open_replacing(FileName, TemporaryFileName, ReplacedFileName, error);
    bool failed = OutputFile == nullptr;
    std::string cause;
    // Pages go out in a few large writes rather than many small ones.
    if (!failed) std::setvbuf(OutputFile, nullptr, _IOFBF, 1 << 20);
    if (failed) {
        const auto [number, message] = open_failure(error);
        RecordError(number, "BeginDoc", message, FileName);
        cause = message;
    }
    // The header write fails too when the open failed; that is the error
    // number callers see (52), as the builders expect, with the open's cause
    // as its description.
    try {
        std::string header = "%PDF-1.3\n% ";
        header += pdf::default_producer;
        header += " rel. ";
        header += pdf::writer_version;
        WriteLine(header);
    } catch (const PdfError& error) {
        RecordError(error.number(), "BeginDoc", cause.empty() ? error.description() : cause, FileName);
        failed = true;
    }
    if (failed) {
        DiscardOutputFile();
    } else {
        ErrorNumber = 0;
    }
    LastObjectNumber = 3;
    return FileName;
}

void PdfWriter::DiscardOutputFile() { pdf::discard_replacing(OutputFile, TemporaryFileName); }

void PdfWriter::WriteBytes(const void* data, std::size_t size) {
    if (OutputFile == nullptr) RaiseError(52, "WriteLine", "Nessun file aperto: il documento non \xE8 stato iniziato (BeginDoc)");
    // After a failed write the file has a hole: nothing more goes into it.
    if (WriteFailure == 0 && size != 0) WriteFailure = pdf::write_replacing(OutputFile, data, size);
    if (WriteFailure != 0) RaiseError(57, "WriteLine", pdf::write_failure(WriteFailure));
    BytesWritten += static_cast<std::int64_t>(size);
}

void PdfWriter::WriteLine(std::string_view Text) {
    WriteBytes(Text.data(), Text.size());
    WriteBytes("\n", 1);
}

std::int32_t PdfWriter::WriteObjStart(std::int32_t n) {
    if (OutputFile == nullptr) RaiseError(52, "WriteLine", "Nessun file aperto: il documento non \xE8 stato iniziato (BeginDoc)");
    if (n == 0) {
        if (LastObjectNumber == 2147483647) RaiseError(6, "WriteObjStart", pdf::error_text(6));
        n = LastObjectNumber + 1;
    }
    if (n > LastObjectNumber) LastObjectNumber = n;
    pdf::make_room(ObjectOffsets, LastObjectNumber, MemoryFactor);
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010lld 00000 n\r", static_cast<long long>(BytesWritten % 10000000000LL));
    ObjectOffsets[static_cast<std::size_t>(n)] = entry;
    WriteLine(std::to_string(n) + " 0 obj");
    CurrentObjectNumber = n;
    return n;
}

void PdfWriter::WriteObjEnd() { WriteLine("endobj"); }

void PdfWriter::WriteStreamHead(std::size_t Length) {
    const std::string head = "/Length " + std::to_string(Length) + " >>\rstream\n";
    WriteBytes(head.data(), head.size());
}

void PdfWriter::WriteStreamTail() {
    static constexpr std::string_view tail = "\nendstream\n";
    WriteBytes(tail.data(), tail.size());
}

std::int32_t PdfWriter::WriteContentObject(std::string_view Text) {
    const std::int32_t n = WriteObjStart(0);
    WriteLine("<<");
    WriteStream(pdf::Bytes(Text.begin(), Text.end()), n);
    WriteObjEnd();
    return n;
}

std::string PdfWriter::FormatNumber(float x) { return pdf::format_number(x); }

std::string PdfWriter::FormatLength(float x) const { return pdf::format_number(x * UnitFactor); }

std::string PdfWriter::FormatSingle(std::uint8_t b) {
    return pdf::format_number(static_cast<float>(static_cast<double>(b) / 255.0));
}

std::string PdfWriter::BoolToPdf(bool b) { return b ? "true" : "false"; }

void PdfWriter::RequireVersion(std::int32_t level) {
    if (RequiredMinorVersion < level) RequiredMinorVersion = level;
}

void PdfWriter::SetLastRect(float a, float b, float c, float d) { LastRect = {a, b, c, d}; }
