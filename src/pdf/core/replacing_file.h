// Output that takes its final name only once it is complete: a temporary
// file in the same folder, flushed to disk and renamed over the name, so a
// crash at any instant leaves there either the old file or the new one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace pdf {

// Opens the output for `target` (the system's path bytes, used as they are):
// a new temporary file "." + name + ".XXXXXX" beside the file it will
// replace, with the permissions of that file or, for a new name, those a
// new file gets (0600 for either while a pdf::OwnerOnlyOutput lives on this
// thread). The file replaced is `target` itself or, when `target` is a
// symbolic link, the file its links lead to: the link stays a link to the
// new document. A target that exists and is not a regular file (a device
// such as /dev/null) is opened itself: renaming over it would replace the
// device. Returns the file, `temporary` holding its name ("" when it is the
// target) and `destination` the name commit_replacing renames it over;
// nullptr on failure, `error` holding errno.
std::FILE* open_replacing(const std::string& target, std::string& temporary, std::string& destination,
                          int& error);

// Appends `size` bytes to `file`. Returns 0, or the errno of the failure.
int write_replacing(std::FILE* file, const void* data, std::size_t size);

// Writes `bytes` over the first bytes of `file`, once what was written
// before is flushed. Returns 0, or the errno of the step that failed.
int overwrite_start(std::FILE* file, std::string_view bytes);

// Flushes `file` to disk, closes it and renames `temporary` over
// `destination`. Returns 0, or the errno of the step that failed (the
// temporary file is then removed and the destination left as it was).
// `file` is closed either way.
int commit_replacing(std::FILE*& file, std::string& temporary, const std::string& destination);

// Closes `file` (if open) and removes `temporary` (if any).
void discard_replacing(std::FILE*& file, std::string& temporary);

// For tests of what a failure leaves behind: the next time any replacing
// file takes `step`, the step is not taken and fails with `error` instead.
// Once; a later call replaces an injection not yet used.
enum class ReplacingStep { Write, Flush, Sync, Rename };
void fail_next_replacing_step(ReplacingStep step, int error);

}  // namespace pdf
