// The error record and the exception that carries a failure to the caller.
#include <utility>

#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"

PdfError::PdfError(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(source + " - " + description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

void PdfWriter::RecordError(std::int32_t number, std::string_view procedure, std::string_view description,
                            std::string_view detail) {
    // A later error overwrites an earlier one: callers look at the last.
    ErrorNumber = number;
    ErrorSource = "PdfWriter." + std::string(procedure);
    ErrorDescription = std::string(description);
    if (!detail.empty()) {
        ErrorDescription += " - ";
        ErrorDescription += detail;
    }
}

void pdf::raise_error(std::int32_t number, std::string_view internal, std::string description) {
    throw PdfError(number, "PdfWriter." + std::string(PublicCall::current_or(internal)), std::move(description));
}

void PdfWriter::RaiseError(std::int32_t number, std::string_view member, std::string_view description) {
    pdf::raise_error(number, member, std::string(description));
}

std::int32_t PdfWriter::ErrNumber() const { return ErrorNumber; }
std::string PdfWriter::ErrSource() const { return ErrorSource; }
std::string PdfWriter::ErrDescription() const { return ErrorDescription; }
