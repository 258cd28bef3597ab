// Peak memory of one piece of work, measured in a child process so that what
// the test process already holds (other tests, the allocator's caches) does
// not count. Used to hold readers of hostile files to their memory budget.
#pragma once

#include <functional>
#include <string>

namespace testsupport {

struct PeakMemory {
    bool ok = false;            // the child ran `work` to its end
    long long grown_kib = 0;    // peak resident set minus the resident set at the start of `work`
    std::string failure;        // why not, when !ok
};

// Forks, resets the child's high-water mark, runs `work` in the child and
// reports how far its resident set grew at the worst instant. A child that
// crashes or throws gives ok == false with the reason.
PeakMemory peak_memory_of(const std::function<void()>& work);

// True in builds with AddressSanitizer, whose shadow memory and redzones add
// to every allocation: a budget measured there needs its own margin (and the
// allocator's quarantine switched off: ASAN_OPTIONS=quarantine_size_mb=0).
bool built_with_address_sanitizer();

}  // namespace testsupport
