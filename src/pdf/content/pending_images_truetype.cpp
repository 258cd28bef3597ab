// Image placement and TrueType fonts: not written yet.
#include "pdf/PdfWriter.h"
#include "pdf/core/not_available.h"

void PdfWriter::DrawImage(std::string_view, float, float, float, float, std::int16_t, std::string_view) {
    pdf::not_available("DrawImage");
}

std::string PdfWriter::AddFont(std::string_view, std::string_view, bool, std::int32_t) {
    pdf::not_available("AddFont");
}
