// A document written into a temporary folder, for the content tests.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../core/own_pdf.h"
#include "pdf/PdfWriter.h"
#include "reader_checks.h"
#include "support/tools.h"

namespace contenttest {

using coretest::expect_pdf_error;

class Document {
public:
    explicit Document(const std::string& name = "doc.pdf") : file_(dir_ / name) {
        writer.BeginDoc(file_.string());
    }
    // Ends the document and returns the file's bytes. Every document of the
    // content tests must pass qpdf --check, pdftoppm and mutool draw without
    // a word of complaint.
    std::string finish() {
        writer.EndDoc();
        static const bool readers = testsupport::have_tool("qpdf") && testsupport::have_tool("pdftoppm") &&
                                    testsupport::have_tool("mutool");
        if (readers) {
            EXPECT_EQ(reader_complaints(file_), "") << file_;
        } else if (testsupport::running_in_ci()) {
            ADD_FAILURE() << "missing qpdf, pdftoppm or mutool";
        }
        return testsupport::read_file(file_);
    }
    const std::filesystem::path& file() const { return file_; }
    // Opens the first page, with `font` in force when one is named.
    PdfWriter& first_page(const std::string& font = "", float size = 0) {
        writer.BeginPage();
        if (!font.empty()) writer.SetFont(font, size);
        return writer;
    }

    PdfWriter writer;

private:
    testsupport::TempDir dir_;
    std::filesystem::path file_;
};

// The content lines of everything written so far in the file's streams are
// CR-separated; this finds one whole line.
inline bool has_line(const std::string& pdf, const std::string& line) {
    return pdf.find("\r" + line + "\r") != std::string::npos || pdf.find("\r" + line + "\n") != std::string::npos;
}

// Position of a whole content line, npos when absent.
inline std::size_t line_at(const std::string& pdf, const std::string& line, std::size_t from = 0) {
    return pdf.find("\r" + line + "\r", from);
}

// The content of the page stream that starts at or after `from`: what
// follows the colour lines that BeginPage writes, up to the stream's end.
inline std::string page_content(const std::string& pdf, std::size_t from = 0) {
    const auto start = pdf.find("0 0 0 RG\r", from);
    if (start == std::string::npos) return {};
    const auto end = pdf.find("\nendstream", start);
    return pdf.substr(start + 9, end - start - 9);
}

inline std::size_t count_of(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++n;
    return n;
}

// The words of a text: what lies between blanks and line breaks.
inline std::vector<std::string> words_of(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text + " ") {
        if (c == ' ' || c == '\r' || c == '\n') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

}  // namespace contenttest
