#include "own_pdf.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/tools.h"

namespace coretest {

std::vector<long long> xref_offsets(const std::string& pdf) {
    std::vector<long long> offsets;
    const auto at = pdf.rfind("\nxref\n");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no xref";
        return offsets;
    }
    std::size_t pos = at + 6;
    const auto line_end = pdf.find('\n', pos);
    const std::string subsection = pdf.substr(pos, line_end - pos);
    if (subsection.rfind("0 ", 0) != 0) {
        ADD_FAILURE() << "subsection " << subsection;
        return offsets;
    }
    const long count = std::stol(subsection.substr(2));
    pos = line_end + 1;
    for (long k = 0; k < count; ++k) {
        const std::string entry = pdf.substr(pos, 20);
        if (entry.size() != 20 || entry.substr(18) != "\r\n") {
            ADD_FAILURE() << "entry " << k << " is not 20 bytes ending CR LF";
            return offsets;
        }
        offsets.push_back(std::stoll(entry.substr(0, 10)));
        pos += 20;
    }
    return offsets;
}

long long startxref(const std::string& pdf) {
    const auto at = pdf.rfind("startxref\n");
    if (at == std::string::npos) return -1;
    return std::stoll(pdf.substr(at + 10));
}

std::string object_text(const std::string& pdf, int n) {
    const auto offsets = xref_offsets(pdf);
    if (n <= 0 || static_cast<std::size_t>(n) >= offsets.size()) {
        ADD_FAILURE() << "object " << n << " not in the table";
        return {};
    }
    const auto start = static_cast<std::size_t>(offsets[static_cast<std::size_t>(n)]);
    const std::string head = std::to_string(n) + " 0 obj\n";
    if (pdf.compare(start, head.size(), head) != 0) {
        ADD_FAILURE() << "offset of object " << n << " does not point at its first line";
        return {};
    }
    const auto end = pdf.find("\nendobj\n", start);
    return pdf.substr(start, end == std::string::npos ? std::string::npos : end + 8 - start);
}

std::string stream_data(const std::string& pdf, int n) {
    const std::string object = object_text(pdf, n);
    const auto length_at = object.find("/Length ");
    const auto stream_at = object.find(">>\rstream\n");
    if (length_at == std::string::npos || stream_at == std::string::npos) {
        ADD_FAILURE() << "object " << n << " has no stream";
        return {};
    }
    const auto length = std::stoul(object.substr(length_at + 8));
    const auto data_at = stream_at + 10;
    EXPECT_EQ(object.compare(data_at + length, 11, "\nendstream\n"), 0) << "/Length of object " << n;
    return object.substr(data_at, length);
}

int reference_after(const std::string& text, const std::string& key) {
    const auto at = text.find(key + " ");
    if (at == std::string::npos) return 0;
    return std::stoi(text.substr(at + key.size() + 1));
}

std::vector<std::string> content_lines(const std::string& pdf, int page_object) {
    const std::string page = object_text(pdf, page_object);
    const int contents = reference_after(page, "/Contents");
    const std::string data = stream_data(pdf, contents);
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const auto cr = data.find('\r', from);
        lines.push_back(data.substr(from, cr == std::string::npos ? std::string::npos : cr - from));
        if (cr == std::string::npos) break;
        from = cr + 1;
    }
    return lines;
}

std::string simple_document(const std::filesystem::path& file, int pages) {
    PdfWriter writer;
    writer.BeginDoc(file.string());
    for (int i = 0; i < pages; ++i) writer.BeginPage();
    writer.EndDoc();
    return testsupport::read_file(file);
}

void expect_qpdf_clean(const std::filesystem::path& file, const std::string& password, const std::string& what) {
    using testsupport::shell_quote;
    const auto result = testsupport::run_command("qpdf --password=" + shell_quote(password) + " --check " +
                                                 shell_quote(file.string()));
    EXPECT_EQ(result.exit_code, 0) << what << "\n" << result.out << result.err;
    EXPECT_EQ(result.out.find("WARNING"), std::string::npos) << what << "\n" << result.out;
    EXPECT_EQ(result.err, "") << what;
    EXPECT_NE(result.out.find("No syntax or stream encoding errors found"), std::string::npos)
        << what << "\n" << result.out;
}

std::vector<int> content_objects(const std::filesystem::path& file) {
    const std::string pages =
        testsupport::run_command("qpdf --show-pages " + testsupport::shell_quote(file.string())).out;
    std::vector<int> objects;
    const std::regex content("content:\\s+(\\d+) 0 R");
    for (auto it = std::sregex_iterator(pages.begin(), pages.end(), content); it != std::sregex_iterator(); ++it)
        objects.push_back(std::stoi((*it)[1]));
    return objects;
}

std::string filtered_stream(const std::filesystem::path& file, int n, const std::string& what) {
    const auto shown = testsupport::run_command("qpdf --show-object=" + std::to_string(n) + " --filtered-stream-data " +
                                                testsupport::shell_quote(file.string()));
    EXPECT_EQ(shown.exit_code, 0) << what << shown.err;
    return shown.out;
}

std::string pdfinfo(const std::filesystem::path& file) {
    const auto result = testsupport::run_command("pdfinfo " + testsupport::shell_quote(file.string()));
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return result.out;
}

std::string pdftotext(const std::filesystem::path& file, const std::string& options) {
    const auto result =
        testsupport::run_command("pdftotext " + options + " " + testsupport::shell_quote(file.string()) + " -");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return result.out;
}

}  // namespace coretest
