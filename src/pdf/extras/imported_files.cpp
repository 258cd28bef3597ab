// Reading other PDF files for the document being written: the list of files
// read, and GetInfo.
#include <cctype>
#include <cmath>
#include <fstream>
#include <system_error>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/extras/imported_file.h"

namespace pdf {

std::string info_text(const PdfValue& value) {
    switch (value.kind) {
        case PdfValue::Kind::string: {
            std::string text;
            const std::string& raw = value.raw;
            if (value.hex) {
                // Pairs of digits; a final odd digit is dropped; only
                // printable bytes are kept (a UTF-16 title keeps its ASCII).
                int high = -1;
                for (char c : raw) {
                    const int h = std::isxdigit(static_cast<unsigned char>(c))
                                      ? (c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10)
                                      : -1;
                    if (h < 0) continue;
                    if (high < 0) {
                        high = h;
                        continue;
                    }
                    const int byte = high * 16 + h;
                    high = -1;
                    if (byte >= 0x20 && byte <= 0x7E) text += static_cast<char>(byte);
                }
                return text;
            }
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] == '\\' && i + 1 < raw.size() &&
                    (raw[i + 1] == '\\' || raw[i + 1] == '(' || raw[i + 1] == ')')) {
                    ++i;
                }
                text += raw[i];
            }
            return text;
        }
        case PdfValue::Kind::name: return "/" + value.text;
        case PdfValue::Kind::integer: return std::to_string(value.integer);
        case PdfValue::Kind::real: {
            const double rounded = std::round(value.number());
            return std::isfinite(rounded) && std::abs(rounded) < 1e15 ? std::to_string(static_cast<long long>(rounded))
                                                                      : std::string();
        }
        default: return {};
    }
}

}  // namespace pdf

namespace {

std::string read_whole_file(const std::filesystem::path& path, std::uintmax_t size) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw pdf::PdfReadError(53, "");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) throw pdf::PdfReadError(62, "");
    return bytes;
}

}  // namespace

std::int32_t PdfWriter::LoadImportedFile(std::string_view Filename, bool& encrypted) {
    encrypted = false;
    CurrentImportedFile = 0;
    // The name is the operating system's path, used as it stands.
    const std::filesystem::path path{std::string(Filename)};
    std::error_code error;
    if (Filename.empty() || !std::filesystem::is_regular_file(path, error))
        throw pdf::PdfReadError(53, "");
    std::filesystem::path identity = std::filesystem::canonical(path, error);
    if (error) throw pdf::PdfReadError(53, "");
    for (std::size_t i = 0; i < ImportedFiles.size(); ++i) {
        if (ImportedFiles[i]->identity == identity) {
            CurrentImportedFile = static_cast<std::int32_t>(i + 1);
            return CurrentImportedFile;
        }
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) throw pdf::PdfReadError(53, "");
    if (size > pdf::kMaxPdfFileSize) pdf::refuse("file pi\xF9 grande di 256 MiB");

    // Everything is read and checked before the record joins the list.
    auto record = std::make_shared<pdf::ImportedFile>();
    record->identity = std::move(identity);
    record->file = std::make_unique<pdf::PdfFile>(read_whole_file(path, size));
    pdf::PdfFile& file = *record->file;
    if (file.encrypted()) {
        encrypted = true;
        pdf::refuse("file cifrato: non si legge");
    }
    record->source_version = file.minor_version() - 3;
    const pdf::PdfValue info = file.resolve(file.info_reference());
    const auto text = [&](std::string_view key) {
        const pdf::PdfValue* value = info.find(key);
        return value ? pdf::info_text(file.resolve(*value)) : std::string();
    };
    record->title = text("Title");
    record->author = text("Author");
    record->creator = text("Creator");
    record->producer = text("Producer");
    record->subject = text("Subject");
    file.pages();

    ImportedFiles.push_back(std::move(record));
    ImportedFileCount = static_cast<std::int32_t>(ImportedFiles.size());
    CurrentImportedFile = ImportedFileCount;
    return CurrentImportedFile;
}

std::int32_t PdfWriter::GetInfo(std::string_view Filename) {
    std::string title, subject, author;
    bool encrypted = false;
    return GetInfo(Filename, title, subject, author, encrypted);
}

std::int32_t PdfWriter::GetInfo(std::string_view Filename, std::string& PDFTitle, std::string& PDFSubject,
                                std::string& PDFAuthor, bool& PDFEncrypted) {
    bool encrypted = false;
    std::int32_t index = 0;
    try {
        index = LoadImportedFile(Filename, encrypted);
    } catch (const pdf::PdfReadError& failure) {
        const std::string why = failure.number() == 53 ? std::string() : failure.what();
        RecordError(failure.number(), "GetInfo", pdf::error_text(failure.number()) + (why.empty() ? "" : " - " + why),
                    Filename);
        // The caller learns why the file was refused.
        if (encrypted) PDFEncrypted = true;
        return 0;
    }
    const pdf::ImportedFile& record = *ImportedFiles[static_cast<std::size_t>(index - 1)];
    PDFTitle = record.title;
    PDFSubject = record.subject;
    PDFAuthor = record.author;
    PDFEncrypted = false;
    return static_cast<std::int32_t>(record.file->pages().size());
}
