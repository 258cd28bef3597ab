// Members whose code has not been written yet throw this instead of
// pretending to work.
#pragma once

#include <string>
#include <string_view>

#include "pdf/PdfWriter.h"

namespace pdf {

[[noreturn]] inline void not_available(std::string_view member) {
    throw PdfError(445, "PdfWriter." + std::string(member), "not available");
}

}  // namespace pdf
