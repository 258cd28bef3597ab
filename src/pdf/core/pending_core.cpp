// Temporary: the core members being written now.
#include "pdf/PdfWriter.h"
#include "pdf/core/not_available.h"

using pdf::not_available;

PdfError::PdfError(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(source + " - " + description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

PdfWriter::PdfWriter() {}
PdfWriter::~PdfWriter() {
    if (OutputFile) std::fclose(OutputFile);
}
void PdfWriter::Abort() { not_available("Abort"); }
std::string PdfWriter::BeginDoc(std::string_view) { not_available("BeginDoc"); }
std::int32_t PdfWriter::BeginPage() { not_available("BeginPage"); }
void PdfWriter::EndDoc() { not_available("EndDoc"); }
void PdfWriter::EndPage() { not_available("EndPage"); }
std::string PdfWriter::ErrDescription() const { return ErrorDescription; }
std::int32_t PdfWriter::ErrNumber() const { return ErrorNumber; }
std::string PdfWriter::ErrSource() const { return ErrorSource; }
std::int32_t PdfWriter::FileSize() const { return FinalFileSize; }
std::int32_t PdfWriter::GetPage() const { return PageCount; }
float PdfWriter::GetPageHeight(bool) const { not_available("GetPageHeight"); }
float PdfWriter::GetPageWidth(bool) const { not_available("GetPageWidth"); }
void PdfWriter::OpenDoc() { not_available("OpenDoc"); }
void PdfWriter::SetDocProperty(std::string_view, std::string_view, std::string_view, std::string_view,
                               std::string_view, std::string_view) {
    not_available("SetDocProperty");
}
void PdfWriter::SetMargins(float, float, float, float, bool) { not_available("SetMargins"); }
void PdfWriter::SetMemoryUsage(std::int16_t) { not_available("SetMemoryUsage"); }
void PdfWriter::SetPaperSize(std::int32_t, float, float) { not_available("SetPaperSize"); }
void PdfWriter::SetScale(std::int32_t, float) { not_available("SetScale"); }
std::string PdfWriter::Version() const { return "2.4.4"; }
void PdfWriter::SetAlpha(std::int16_t) { not_available("SetAlpha"); }
void PdfWriter::SetCharSpacing(float) { not_available("SetCharSpacing"); }
void PdfWriter::SetColorFill(std::string_view) { not_available("SetColorFill"); }
void PdfWriter::SetColorLine(std::string_view) { not_available("SetColorLine"); }
void PdfWriter::SetColorText(std::string_view) { not_available("SetColorText"); }
void PdfWriter::SetDash(std::string_view, float) { not_available("SetDash"); }
void PdfWriter::SetLineStyle(std::int32_t, float) { not_available("SetLineStyle"); }
void PdfWriter::SetLineWidth(float) { not_available("SetLineWidth"); }
void PdfWriter::SetTextHorizontalScaling(float) { not_available("SetTextHorizontalScaling"); }
void PdfWriter::SetTextLineSpacing(float) { not_available("SetTextLineSpacing"); }
void PdfWriter::SetTextMode(std::int32_t) { not_available("SetTextMode"); }
void PdfWriter::SetWordSpacing(float) { not_available("SetWordSpacing"); }
