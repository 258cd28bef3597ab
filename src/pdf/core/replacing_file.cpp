#include "pdf/core/replacing_file.h"

#include <cerrno>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pdf {

namespace {

std::string random_suffix(std::mt19937& generator) {
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof letters) - 2);
    std::string suffix(6, 'X');
    for (char& c : suffix) c = letters[pick(generator)];
    return suffix;
}

fs::path folder_of(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

}  // namespace

std::FILE* open_replacing(const std::string& target, std::string& temporary, int& error) {
    temporary.clear();
    const fs::path path(target);
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        error = file == nullptr ? errno : 0;
        return file;
    }
    if (path.filename().empty()) {
        error = EISDIR;
        return nullptr;
    }
    std::random_device seed;
    std::mt19937 generator(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = folder_of(path) / ("." + path.filename().string() + "." + random_suffix(generator));
        // 0666 lets the umask decide a new document's permissions, as for
        // any file the user creates.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            error = errno;
            return nullptr;
        }
        if (exists) ::fchmod(fd, existing.st_mode & 07777);
        std::FILE* file = ::fdopen(fd, "wb");
        if (file == nullptr) {
            error = errno;
            ::close(fd);
            ::unlink(candidate.c_str());
            return nullptr;
        }
        temporary = candidate.string();
        error = 0;
        return file;
    }
    error = EEXIST;
    return nullptr;
}

int commit_replacing(std::FILE*& file, std::string& temporary, const std::string& target) {
    int error = 0;
    if (std::fflush(file) != 0) error = errno;
    // A device needs no syncing (and /dev/null refuses it).
    if (error == 0 && !temporary.empty() && ::fsync(::fileno(file)) != 0) error = errno;
    if (std::fclose(file) != 0 && error == 0) error = errno;
    file = nullptr;
    if (temporary.empty()) return error;
    if (error == 0 && ::rename(temporary.c_str(), fs::path(target).c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        temporary.clear();
        return error;
    }
    temporary.clear();
    // Makes the rename itself durable; a failure here loses nothing written.
    const int folder = ::open(folder_of(fs::path(target)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return 0;
}

void discard_replacing(std::FILE*& file, std::string& temporary) {
    if (file != nullptr) std::fclose(file);
    file = nullptr;
    if (!temporary.empty()) ::unlink(temporary.c_str());
    temporary.clear();
}

}  // namespace pdf
