// Members whose code has not been written yet throw this instead of
// pretending to work.
#pragma once

#include <string>
#include <string_view>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"

namespace pdf {

[[noreturn]] inline void not_available(std::string_view member) {
    throw PdfError(445, "PdfWriter." + std::string(member), error_text(445) + " - not available");
}

}  // namespace pdf
