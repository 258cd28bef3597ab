// A PDF file read through a read-only memory map: its header version, its
// classic cross-reference tables (subsections, /Prev chains of incremental
// updates and linearized files, the newest entry winning), its trailer, its
// objects located by offset and checked to be the object asked for, their
// streams bounded by /Length, and its page tree.
//
// Refused with PdfReadError 321, with a description saying why: files
// without a "%PDF-" header, cross-reference streams and object streams
// (PDF 1.5, hybrid files included), malformed structure. Files that end too
// early are refused with 62. Encrypted files, whichever form their
// cross-reference has, are read up to their trailer only (`encrypted()`),
// their objects never.
//
// Every count and offset taken from the file is checked against what the
// file can hold before it is used; chains (of /Prev, /Parent, page-tree
// nodes, /Length references) are walked with visited sets and depth caps.
//
// Memory: the file's bytes are the system's file cache, at most 4 MiB of
// them mapped between two reads (MappedFile::done_with); the object index holds 12 bytes per cross-reference entry the
// file lists (entries take at least 18 bytes of the file); the parsed
// values alive at once, cached or held by a caller, take at most
// kMaxParsedBytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pdf/extras/mapped_file.h"
#include "pdf/extras/pdf_syntax.h"

namespace pdf {

// Files larger than this are refused before they are read.
constexpr std::size_t kMaxPdfFileSize = std::size_t{256} << 20;
// Object numbers above this (the limit of PDF readers at large) are refused.
constexpr std::int64_t kMaxObjectNumber = 8388607;
// The memory the parsed values of one file may hold at once; an object, or
// a page's objects, that would need more are refused.
constexpr std::size_t kMaxParsedBytes = std::size_t{32} << 20;
// What the cached values of a file may keep between two calls.
constexpr std::size_t kRestingParsedBytes = std::size_t{4} << 20;

struct PdfObject {
    PdfValue value;
    bool has_stream = false;
    // Where the stream bytes stand in the file (not decoded).
    std::size_t data_offset = 0, data_size = 0;
    // The memory the object takes.
    std::size_t bytes = 0;
};

// A value read from the file, kept alive with the object that holds it.
using PdfValueHandle = std::shared_ptr<const PdfValue>;

struct PdfObjectId {
    std::int64_t number = 0;
    std::int32_t generation = 0;
};

class PdfFile {
public:
    // Maps the file and reads its header, cross-reference sections and
    // trailer.
    explicit PdfFile(const std::filesystem::path& path);
    // The same over bytes held in memory.
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
    // The object a reference names, or, when that object's whole value is
    // itself a reference, the object at the end of the chain: its number
    // and the object (null for a missing one). Every reference the reader
    // follows goes through here. A chain of more than 32 references, a loop
    // among them included, is refused (321).
    struct Referred {
        PdfObjectId id;
        std::shared_ptr<const PdfObject> object;
    };
    Referred referred(std::int64_t number, std::int32_t generation);
    // `value` itself, or the value at the end of the chain it starts
    // (`referred`). Not a copy: a direct value is handed back as it stands,
    // so it must outlive the handle.
    PdfValueHandle resolve(const PdfValue& value);

    // The page objects in page order (walked once, on first use).
    const std::vector<PdfObjectId>& pages();
    // The page's entry `key`, else its nearest ancestor's, resolved;
    // nullptr when no node of the /Parent chain has it.
    PdfValueHandle inherited(PdfObjectId page, std::string_view key);

    // Notes that the reader is done with `part` of the file's bytes
    // (MappedFile::done_with).
    void done_with(std::string_view part) const {
        if (map_) map_->done_with(part);
    }
    // The memory the parsed values of the file hold now.
    std::size_t parsed_bytes() const { return *live_bytes_; }
    // Between two calls, or before writing: keeps at most
    // kRestingParsedBytes of cached values.
    void rest();
    // False when the file was changed in place since it was mapped.
    bool unchanged() const { return !map_ || map_->unchanged(); }

private:
    struct Entry {
        std::uint32_t number = 0;
        std::uint32_t offset = 0;
        std::uint16_t generation = 0;
        bool in_use = false;
    };

    void read_header_and_cross_references();
    void read_cross_references(std::size_t offset);
    PdfValue read_section(std::size_t offset, bool& stream);
    const Entry* entry(std::int64_t number) const;
    std::shared_ptr<const PdfObject> read_object(std::int64_t number, const Entry& entry);
    std::size_t stream_length(const PdfValue& dict, std::int64_t number);

    std::unique_ptr<MappedFile> map_;
    std::string owned_;
    std::string_view bytes_;
    int minor_version_ = 0;
    bool encrypted_ = false;
    PdfValue root_, info_;
    // Sorted by number; one per number, from the newest section naming it.
    std::vector<Entry> entries_;
    // Shared with the deleter of every object read, so that an object held
    // by a caller still counts until it is gone.
    std::shared_ptr<std::size_t> live_bytes_ = std::make_shared<std::size_t>(0);
    std::unordered_map<std::int64_t, std::shared_ptr<const PdfObject>> cache_;
    std::vector<PdfObjectId> pages_;
    bool pages_walked_ = false;
    // Objects being read (a /Length that refers back to a stream being read).
    std::vector<std::int64_t> reading_;
};

}  // namespace pdf
