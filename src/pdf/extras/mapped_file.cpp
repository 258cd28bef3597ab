#include "pdf/extras/mapped_file.h"

#include <algorithm>
#include <cstdint>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "pdf/extras/pdf_syntax.h"

namespace pdf {

MappedFile::MappedFile(const std::filesystem::path& path) : path_(path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw PdfReadError(53, "");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw PdfReadError(53, "");
    }
    size_ = static_cast<std::size_t>(st.st_size);
    device_ = st.st_dev;
    inode_ = st.st_ino;
    modified_ = st.st_mtim;
    // An empty file has nothing to map.
    if (size_ > 0) {
        data_ = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (data_ == MAP_FAILED) {
            data_ = nullptr;
            ::close(fd);
            throw PdfReadError(7, "il file non si pu\xF2 mappare in memoria");
        }
    }
    touched_.assign((size_ + kBlock - 1) / kBlock, false);
    // The map keeps the file; the descriptor is not needed any more.
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) ::munmap(data_, size_);
}

void MappedFile::release() const {
    if (data_ != nullptr) ::madvise(data_, size_, MADV_DONTNEED);
    std::fill(touched_.begin(), touched_.end(), false);
    touched_count_ = 0;
}

void MappedFile::done_with(std::string_view part) const {
    const auto base = reinterpret_cast<std::uintptr_t>(data_);
    const auto start = reinterpret_cast<std::uintptr_t>(part.data());
    if (data_ == nullptr || part.empty() || start < base || start - base > size_ - part.size()) return;
    const std::size_t offset = start - base;
    for (std::size_t block = offset / kBlock; block <= (offset + part.size() - 1) / kBlock; ++block) {
        if (!touched_[block]) {
            touched_[block] = true;
            ++touched_count_;
        }
    }
    if (touched_count_ > kResidentBlocks) release();
}

bool MappedFile::unchanged() const {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) return true;  // gone: the map holds the file
    if (st.st_dev != device_ || st.st_ino != inode_) return true;
    return static_cast<std::size_t>(st.st_size) == size_ && st.st_mtim.tv_sec == modified_.tv_sec &&
           st.st_mtim.tv_nsec == modified_.tv_nsec;
}

}  // namespace pdf
