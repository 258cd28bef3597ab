// Reading other PDF files for the document being written: the list of files
// read, and GetInfo.
#include <cmath>
#include <system_error>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/extras/imported_file.h"
#include "pdf/extras/text_string.h"

namespace pdf {

std::string info_text(const PdfValue& value) {
    switch (value.kind) {
        case PdfValue::Kind::string: return text_string_to_cp1252(value.text);
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
    record->file = std::make_unique<pdf::PdfFile>(path);
    pdf::PdfFile& file = *record->file;
    if (file.encrypted()) {
        encrypted = true;
        pdf::refuse("file cifrato: non si legge");
    }
    record->source_version = file.minor_version() - 3;
    const pdf::PdfValueHandle info = file.resolve(file.info_reference());
    const auto text = [&](std::string_view key) {
        const pdf::PdfValue* value = info->find(key);
        return value ? pdf::info_text(*file.resolve(*value)) : std::string();
    };
    record->title = text("Title");
    record->author = text("Author");
    record->creator = text("Creator");
    record->producer = text("Producer");
    record->subject = text("Subject");
    file.pages();
    file.rest();

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
