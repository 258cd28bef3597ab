// For byte comparisons of whole documents (tests, benchmarks): every writer
// constructed or aborted afterwards takes this creation date instead of the
// clock's. An empty text goes back to the clock. Not for the program.
#pragma once

#include <string>

namespace pdf {

void fix_creation_date(std::string date);

}  // namespace pdf
