#include "pdf/core/replacing_file.h"

#include "pdf/PdfWriter.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pdf {

namespace {

struct InjectedFailure {
    ReplacingStep step;
    int error;
};
std::optional<InjectedFailure> injected;

// How many OwnerOnlyOutput objects live on this thread.
thread_local int owner_only_scopes = 0;

// The error a test injected for `step`, used up; 0 when the step is to be
// taken.
int injected_failure(ReplacingStep step) {
    if (!injected || injected->step != step) return 0;
    const int error = injected->error;
    injected.reset();
    return error;
}

std::string random_suffix(std::mt19937& generator) {
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof letters) - 2);
    std::string suffix(6, 'X');
    for (char& c : suffix) c = letters[pick(generator)];
    return suffix;
}

fs::path folder_of(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// The file `path` names once its symbolic links are followed (a relative
// link read from the folder of the link); a name that is no link is itself.
// Links that never end give ELOOP, as the system does.
fs::path followed_links(fs::path path, int& error) {
    error = 0;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
        std::error_code failure;
        const fs::path next = fs::read_symlink(path, failure);
        if (failure) {
            error = failure.value();
            return path;
        }
        path = next.is_absolute() ? next : folder_of(path) / next;
    }
    error = ELOOP;
    return path;
}

}  // namespace

OwnerOnlyOutput::OwnerOnlyOutput() { ++owner_only_scopes; }
OwnerOnlyOutput::~OwnerOnlyOutput() { --owner_only_scopes; }

void fail_next_replacing_step(ReplacingStep step, int error) { injected = InjectedFailure{step, error}; }

std::FILE* open_replacing(const std::string& target, std::string& temporary, std::string& destination,
                          int& error) {
    temporary.clear();
    destination.clear();
    const fs::path path = followed_links(fs::path(target), error);
    if (error != 0) return nullptr;
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
        // any file the user creates; a private one is never more than 0600.
        const bool owner_only = owner_only_scopes > 0;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, owner_only ? 0600 : 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            error = errno;
            return nullptr;
        }
        if (owner_only)
            ::fchmod(fd, 0600);
        else if (exists)
            ::fchmod(fd, existing.st_mode & 07777);
        std::FILE* file = ::fdopen(fd, "wb");
        if (file == nullptr) {
            error = errno;
            ::close(fd);
            ::unlink(candidate.c_str());
            return nullptr;
        }
        temporary = candidate.string();
        destination = path.string();
        error = 0;
        return file;
    }
    error = EEXIST;
    return nullptr;
}

int write_replacing(std::FILE* file, const void* data, std::size_t size) {
    if (const int error = injected_failure(ReplacingStep::Write)) return error;
    errno = 0;
    if (std::fwrite(data, 1, size, file) != size) return errno != 0 ? errno : EIO;
    return 0;
}

int overwrite_start(std::FILE* file, std::string_view bytes) {
    if (const int error = injected_failure(ReplacingStep::Flush)) return error;
    if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_SET) != 0) return errno;
    return write_replacing(file, bytes.data(), bytes.size());
}

int commit_replacing(std::FILE*& file, std::string& temporary, const std::string& destination) {
    int error = injected_failure(ReplacingStep::Flush);
    if (error == 0 && std::fflush(file) != 0) error = errno;
    // A device needs no syncing (and /dev/null refuses it).
    if (error == 0 && !temporary.empty()) {
        error = injected_failure(ReplacingStep::Sync);
        if (error == 0 && ::fsync(::fileno(file)) != 0) error = errno;
    }
    if (std::fclose(file) != 0 && error == 0) error = errno;
    file = nullptr;
    if (temporary.empty()) return error;
    if (error == 0) {
        error = injected_failure(ReplacingStep::Rename);
        if (error == 0 && ::rename(temporary.c_str(), fs::path(destination).c_str()) != 0) error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        temporary.clear();
        return error;
    }
    temporary.clear();
    // Makes the rename itself durable; a failure here loses nothing written.
    const int folder = ::open(folder_of(fs::path(destination)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
