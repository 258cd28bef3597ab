#include "support/peak_memory.h"

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace testsupport {

namespace {

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"), or -1.
long long status_kib(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0) return std::stoll(line.substr(prefix.size()));
    return -1;
}

}  // namespace

PeakMemory peak_memory_of(const std::function<void()>& work) {
    PeakMemory result;
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) {
        result.failure = "pipe failed";
        return result;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        result.failure = "fork failed";
        return result;
    }
    if (child == 0) {
        close(pipe_ends[0]);
        long long grown = -1;
        {
            // Memory the parent freed and the allocator kept would be
            // reused unseen: it is given back, and large buffers get pages
            // of their own, as in a fresh process.
            mallopt(M_MMAP_THRESHOLD, 128 * 1024);
            malloc_trim(0);
            // "5" resets the high-water mark to the present resident set.
            std::ofstream("/proc/self/clear_refs") << "5";
            const long long start = status_kib("VmRSS");
            try {
                work();
                grown = status_kib("VmHWM") - start;
            } catch (...) {
                grown = -2;
            }
        }
        const ssize_t written = write(pipe_ends[1], &grown, sizeof grown);
        _exit(written == sizeof grown ? 0 : 1);
    }
    close(pipe_ends[1]);
    long long grown = -1;
    const ssize_t got = read(pipe_ends[0], &grown, sizeof grown);
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof grown || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.failure = WIFSIGNALED(status) ? "the child died of signal " + std::to_string(WTERMSIG(status))
                                             : "the child did not report";
    } else if (grown == -2) {
        result.failure = "the work threw an exception";
    } else if (grown < 0) {
        result.failure = "/proc/self/status has no VmRSS or VmHWM";
    } else {
        result.ok = true;
        result.grown_kib = grown;
    }
    return result;
}

bool built_with_address_sanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

}  // namespace testsupport
