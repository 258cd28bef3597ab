// Annotations, links, form fields, tables, page import and barcodes: not
// written yet.
#include "pdf/PdfWriter.h"
#include "pdf/core/not_available.h"

using pdf::not_available;

void PdfWriter::BeginColumn(float) { not_available("BeginColumn"); }
void PdfWriter::BeginRow(float) { not_available("BeginRow"); }
void PdfWriter::BeginSpace(float, float, float, float, float) { not_available("BeginSpace"); }
void PdfWriter::BeginTable(float, float) { not_available("BeginTable"); }
float PdfWriter::DrawBarCode(std::int32_t, std::string_view, float&, float&, bool, float, float, bool) {
    not_available("DrawBarCode");
}
void PdfWriter::EndColumn() { not_available("EndColumn"); }
void PdfWriter::EndRow() { not_available("EndRow"); }
void PdfWriter::EndSpace() { not_available("EndSpace"); }
void PdfWriter::EndTable() { not_available("EndTable"); }

