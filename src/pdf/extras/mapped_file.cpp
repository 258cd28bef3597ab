#include "pdf/extras/mapped_file.h"

#include <algorithm>

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
    // The map keeps the file; the descriptor is not needed any more.
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) ::munmap(data_, size_);
}

void MappedFile::release() const {
    if (data_ != nullptr) ::madvise(data_, size_, MADV_DONTNEED);
}

void MappedFile::release(std::string_view part) const {
    const auto* base = static_cast<const char*>(data_);
    if (data_ == nullptr || part.empty() || part.data() < base || part.data() + part.size() > base + size_) return;
    // The system may map a file's cache in blocks of up to 2 MiB, which go
    // back only whole: the range grows to such blocks (a neighbour's pages
    // given back are simply read again when needed).
    constexpr std::size_t block = std::size_t{2} << 20;
    const std::size_t offset = static_cast<std::size_t>(part.data() - base);
    const std::size_t first = offset / block * block;
    const std::size_t end = std::min(size_, (offset + part.size() + block - 1) / block * block);
    ::madvise(static_cast<char*>(data_) + first, end - first, MADV_DONTNEED);
}

bool MappedFile::unchanged() const {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) return true;  // gone: the map holds the file
    if (st.st_dev != device_ || st.st_ino != inode_) return true;
    return static_cast<std::size_t>(st.st_size) == size_ && st.st_mtim.tv_sec == modified_.tv_sec &&
           st.st_mtim.tv_nsec == modified_.tv_nsec;
}

}  // namespace pdf
