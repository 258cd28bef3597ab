// Hand-made PDF files for the reader's tests: objects as texts, classic
// cross-reference sections written from their real offsets, and incremental
// updates appended to an earlier file.
#pragma once

#include <cstdio>
#include <map>
#include <string>

namespace extrastest {

class PdfBuilder {
public:
    explicit PdfBuilder(std::string header = "%PDF-1.4\n") : bytes_(std::move(header)) {}

    // Appends "n g obj" body "endobj" and records its offset.
    PdfBuilder& object(int n, const std::string& body, int generation = 0) {
        offsets_[n] = {bytes_.size(), generation};
        bytes_ += std::to_string(n) + " " + std::to_string(generation) + " obj\n" + body + "\nendobj\n";
        return *this;
    }
    // A stream object whose /Length is written as `length` (the byte count
    // when empty).
    PdfBuilder& stream(int n, const std::string& dict_entries, const std::string& data, std::string length = "") {
        if (length.empty()) length = std::to_string(data.size());
        return object(n, "<< " + dict_entries + " /Length " + length + " >>\nstream\n" + data + "\nendstream");
    }
    // Lists object n at `offset` in the next section without writing it.
    PdfBuilder& promise(int n, std::size_t offset) {
        offsets_[n] = {offset, 0};
        return *this;
    }
    PdfBuilder& raw(const std::string& text) {
        bytes_ += text;
        return *this;
    }

    // Writes a cross-reference section for the objects added since the last
    // one (one subsection per run of numbers; object 0 free in the first),
    // then the trailer with `trailer_entries`, startxref and %%EOF.
    std::string finish(const std::string& trailer_entries) {
        const std::size_t xref = bytes_.size();
        bytes_ += "xref\n";
        if (first_section_) offsets_[0] = {0, 65535};
        auto it = offsets_.begin();
        while (it != offsets_.end()) {
            auto end = it;
            int count = 0;
            while (end != offsets_.end() && end->first == it->first + count) {
                ++end;
                ++count;
            }
            bytes_ += std::to_string(it->first) + " " + std::to_string(count) + "\n";
            for (; it != end; ++it) {
                char line[32];
                std::snprintf(line, sizeof line, "%010zu %05d %c\r\n", it->second.first, it->second.second,
                              it->first == 0 && first_section_ ? 'f' : 'n');
                bytes_ += line;
            }
        }
        bytes_ += "trailer\n<< " + trailer_entries + (first_section_ ? "" : " /Prev " + std::to_string(last_xref_)) +
                  " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        first_section_ = false;
        last_xref_ = xref;
        offsets_.clear();
        return bytes_;
    }

private:
    std::string bytes_;
    std::map<int, std::pair<std::size_t, int>> offsets_;
    bool first_section_ = true;
    std::size_t last_xref_ = 0;
};

// A two-page file: page tree 2 holding /MediaBox and /Resources (font 5)
// for its kids 3 and 4; page 4 has its own MediaBox; content 6 on page 3;
// info 7 from `info` entries.
inline PdfBuilder two_page_file(const std::string& info) {
    PdfBuilder b;
    b.object(1, "<< /Type /Catalog /Pages 2 0 R >>")
        .object(2, "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 /MediaBox [0 0 300 400] /Resources << /Font << /F1 5 0 R >> >> >>")
        .object(3, "<< /Type /Page /Parent 2 0 R /Contents 6 0 R >>")
        .object(4, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>")
        .object(5, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
        .stream(6, "", "BT /F1 24 Tf 20 300 Td (Uno) Tj ET")
        .object(7, "<< " + info + " >>");
    return b;
}

}  // namespace extrastest
