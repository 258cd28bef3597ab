// Reading back the files the writer made, byte for byte, for the checks of
// the file structure (the writer's own layout, unfiltered and unencrypted).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"

namespace coretest {

// The cross-reference table: entry k is the offset of object k (entry 0 is
// the free entry's 0). Fails the test when the table is malformed.
std::vector<long long> xref_offsets(const std::string& pdf);

// The number after "startxref".
long long startxref(const std::string& pdf);

// The text of object n from its "n 0 obj" line to its "endobj" line,
// located through the cross-reference table.
std::string object_text(const std::string& pdf, int n);

// The stream bytes of object n (between "stream" LF and LF "endstream"),
// checked against its /Length.
std::string stream_data(const std::string& pdf, int n);

// The number of the indirect object that `key` (e.g. "/Metadata") refers to
// in `text`, 0 when absent.
int reference_after(const std::string& text, const std::string& key);

// The page content lines (split at CR) of page object p's content stream.
std::vector<std::string> content_lines(const std::string& pdf, int page_object);

// qpdf --check (with `password`, if any) passes with nothing to say beyond
// its usual lines; `what` names the case in the failure messages.
void expect_qpdf_clean(const std::filesystem::path& file, const std::string& password = "",
                       const std::string& what = "");

// The content stream object of every page, as qpdf --show-pages finds them.
std::vector<int> content_objects(const std::filesystem::path& file);

// Stream object n of the file as qpdf decodes it (filters and encryption
// undone); a failing qpdf fails the test, `what` naming the case.
std::string filtered_stream(const std::filesystem::path& file, int n, const std::string& what = "");

// Runs `call`, which must throw PdfError `number` (raised by `source`, when
// one is named); `what` names the case in the failure messages.
template <typename Call>
void expect_pdf_error(Call&& call, int number, const std::string& source = "", const std::string& what = "") {
    try {
        call();
        ADD_FAILURE() << "no error " << number << " " << what;
    } catch (const PdfError& error) {
        EXPECT_EQ(error.number(), number) << what;
        if (!source.empty()) {
            EXPECT_EQ(error.source(), source) << what;
        }
    }
}

// What pdfinfo, and pdftotext with `options`, print for the file; either
// failing or writing to standard error fails the test.
std::string pdfinfo(const std::filesystem::path& file);
std::string pdftotext(const std::filesystem::path& file, const std::string& options = "");

// Writes a document with `pages` empty pages to `file` and returns the bytes.
std::string simple_document(const std::filesystem::path& file, int pages);

}  // namespace coretest
