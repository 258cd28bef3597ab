// One PDF file read by GetInfo or ImportPage, kept for the document being
// written: the file, its information texts, and what of it has been copied
// into the output.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>

#include "pdf/extras/pdf_file.h"

namespace pdf {

struct ImportedFile {
    // The canonical path: two names of one file are one record, two files
    // whose names differ only in case are two.
    std::filesystem::path identity;
    std::unique_ptr<PdfFile> file;
    std::int32_t source_version = 0;  // the header's minor version - 3
    std::string title, author, creator, producer, subject;
    // Output object number of every source object copied so far; shared by
    // all pages imported from the file. An object that is only a reference
    // has the number of the object at the end of its chain.
    std::unordered_map<std::int64_t, std::int32_t> new_numbers;
    // Pages already written as form objects, by page number: the form's
    // object and the box it was made with (x1, y1, x2, y2, normalised).
    struct Form {
        std::int32_t object = 0;
        std::array<float, 4> box{};
    };
    std::unordered_map<std::int32_t, Form> forms;
};

// The information text of a value as GetInfo returns it: a string decoded
// for display (text_string.h); a name with its "/"; a number as a whole
// number.
std::string info_text(const PdfValue& value);

}  // namespace pdf
