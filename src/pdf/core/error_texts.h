// The description the user reads for a writer error number, in Italian as the
// system words it (Windows-1252 bytes). Each place that raises the error adds
// its own detail after " - " (the file, the reason).
#pragma once

#include <string>

namespace pdf {

std::string error_text(int number);

}  // namespace pdf
