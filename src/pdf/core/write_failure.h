// The description of a failed write to the output file, as the user reads it
// in the "source - description" box: Italian (Windows-1252), the cause and
// what can be done (disk full, no permission, a file open elsewhere).
#pragma once

#include <string>

namespace pdf {

std::string write_failure(int error);

}  // namespace pdf
