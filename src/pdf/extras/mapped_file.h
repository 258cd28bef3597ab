// A source file's bytes through a read-only memory map: nothing is copied,
// and the pages read are the system's file cache, which goes back to the
// system as the reader is done with them (they are read from the file again
// when next touched).
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <vector>
#include <sys/types.h>

namespace pdf {

class MappedFile {
public:
    // Maps the whole file. PdfReadError 53 when it cannot be opened, 7 when
    // it cannot be mapped.
    explicit MappedFile(const std::filesystem::path& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return {static_cast<const char*>(data_), size_}; }
    // Notes that the reader is done with `part` of the bytes. The system
    // maps a file's cache in blocks of up to 2 MiB; once the parts noted
    // since the last release lie in more than kResidentBlocks blocks, every
    // page goes back, so that no more than that stays resident however much
    // of the file is read.
    void done_with(std::string_view part) const;
    // False when the file was changed in place (its size or modification
    // time) since it was mapped: reading it through the old map could meet
    // other bytes, or fault on pages cut off. A file replaced by another
    // under the same name leaves the mapped one intact.
    bool unchanged() const;

    static constexpr std::size_t kBlock = std::size_t{2} << 20;
    static constexpr std::size_t kResidentBlocks = 2;

private:
    // Gives every page back; the bytes stay readable.
    void release() const;

    std::filesystem::path path_;
    void* data_ = nullptr;
    std::size_t size_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    timespec modified_{};
    // The blocks read since the last release.
    mutable std::vector<bool> touched_;
    mutable std::size_t touched_count_ = 0;
};

}  // namespace pdf
