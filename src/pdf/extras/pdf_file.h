// A PDF file read whole into memory: its header version, its classic
// cross-reference tables (subsections, /Prev chains of incremental updates
// and linearized files, the newest entry winning), its trailer, its objects
// located by offset and checked to be the object asked for, their streams
// bounded by /Length, and its page tree.
//
// Refused with PdfReadError 321, with a description saying why: files
// without a "%PDF-" header, cross-reference streams and object streams
// (PDF 1.5, hybrid files included), malformed structure. Files that end too
// early are refused with 62. Encrypted files are read up to their trailer
// only (`encrypted()`), their objects never.
//
// Every count and offset taken from the file is checked against what the
// file can hold before it is used; chains (of /Prev, /Parent, page-tree
// nodes, /Length references) are walked with visited sets and depth caps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "pdf/extras/pdf_syntax.h"

namespace pdf {

// Files larger than this are refused before they are read.
constexpr std::size_t kMaxPdfFileSize = std::size_t{256} << 20;
// Object numbers above this (the limit of PDF readers at large) are refused.
constexpr std::int64_t kMaxObjectNumber = 8388607;

struct PdfObject {
    PdfValue value;
    bool has_stream = false;
    // Where the stream bytes stand in the file (not decoded).
    std::size_t data_offset = 0, data_size = 0;
    // How many values the object holds (what it costs in memory).
    std::size_t values = 0;
};

struct PdfObjectId {
    std::int64_t number = 0;
    std::int32_t generation = 0;
};

class PdfFile {
public:
    // Reads the header, the cross-reference sections and the trailer.
    explicit PdfFile(std::string bytes);
    PdfFile(const PdfFile&) = delete;
    PdfFile& operator=(const PdfFile&) = delete;

    // The x of a "%PDF-1.x" header (a "%PDF-2.0" file counts as 1.7).
    int minor_version() const { return minor_version_; }
    bool encrypted() const { return encrypted_; }
    // The newest trailer's /Root and /Info (null when absent).
    const PdfValue& root_reference() const { return root_; }
    const PdfValue& info_reference() const { return info_; }

    // Whether object `number` of `generation` is in use in the newest
    // cross-reference entry that names it.
    bool exists(std::int64_t number, std::int32_t generation) const;
    // The object; a missing or free object reads as null.
    std::shared_ptr<const PdfObject> object(std::int64_t number, std::int32_t generation);
    // The stream bytes of an object.
    std::string_view stream_data(const PdfObject& object) const;
    // A copy of `value`, or of the object it refers to (chains of
    // references followed a bounded number of times; null at the end).
    PdfValue resolve(const PdfValue& value);

    // The page objects in page order (walked once, on first use).
    const std::vector<PdfObjectId>& pages();
    // The page's entry `key`, else its nearest ancestor's, resolved;
    // nothing when no node of the /Parent chain has it.
    std::optional<PdfValue> inherited(PdfObjectId page, std::string_view key);

private:
    struct Entry {
        std::uint32_t offset = 0;
        std::uint16_t generation = 0;
        std::uint8_t state = 0;  // 0 none, 1 free, 2 in use
    };

    void read_cross_references(std::size_t offset);
    PdfValue read_section(std::size_t offset);
    std::shared_ptr<const PdfObject> read_object(std::int64_t number, const Entry& entry);
    std::size_t stream_length(const PdfValue& dict, std::int64_t number);

    std::string bytes_;
    int minor_version_ = 0;
    bool encrypted_ = false;
    PdfValue root_, info_;
    std::vector<Entry> entries_;  // by object number
    std::unordered_map<std::int64_t, std::shared_ptr<const PdfObject>> cache_;
    std::size_t cached_values_ = 0;
    std::vector<PdfObjectId> pages_;
    bool pages_walked_ = false;
    // Objects being read (a /Length that refers back to a stream being read).
    std::vector<std::int64_t> reading_;
};

}  // namespace pdf
