// Output that takes its final name only once it is complete: a temporary
// file in the same folder, flushed to disk and renamed over the name, so a
// crash at any instant leaves there either the old file or the new one.
#pragma once

#include <cstdio>
#include <string>

namespace pdf {

// Opens the output for `target` (the system's path bytes, used as they are):
// a new temporary file "." + name + ".XXXXXX" beside it, with the
// permissions of the file it will replace or, for a new name, those a new
// file gets. A target that exists and is not a regular file (a device such
// as /dev/null) is opened itself: renaming over it would replace the device.
// Returns the file, `temporary` holding its name ("" when it is the target);
// nullptr on failure, `error` holding errno.
std::FILE* open_replacing(const std::string& target, std::string& temporary, int& error);

// Flushes `file` to disk, closes it and renames `temporary` over `target`.
// Returns 0, or the errno of the step that failed (the temporary file is
// then removed and the target left as it was). `file` is closed either way.
int commit_replacing(std::FILE*& file, std::string& temporary, const std::string& target);

// Closes `file` (if open) and removes `temporary` (if any).
void discard_replacing(std::FILE*& file, std::string& temporary);

}  // namespace pdf
