// TrueType fonts: not written yet.
#include "pdf/PdfWriter.h"
#include "pdf/core/not_available.h"

std::string PdfWriter::AddFont(std::string_view, std::string_view, bool, std::int32_t) {
    pdf::not_available("AddFont");
}
