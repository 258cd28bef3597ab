// A source file's bytes through a read-only memory map: nothing is copied,
// and the pages read are the system's file cache, which `release` hands
// back (they are read from the file again when next touched).
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string_view>
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
    // Gives the pages read so far back to the system, all of them or those
    // that hold `part` of the bytes; the bytes stay readable.
    void release() const;
    void release(std::string_view part) const;
    // False when the file was changed in place (its size or modification
    // time) since it was mapped: reading it through the old map could meet
    // other bytes, or fault on pages cut off. A file replaced by another
    // under the same name leaves the mapped one intact.
    bool unchanged() const;

private:
    std::filesystem::path path_;
    void* data_ = nullptr;
    std::size_t size_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    timespec modified_{};
};

}  // namespace pdf
