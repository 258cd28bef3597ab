#include "pdf/PdfWriter.h"
#include "pdf/core/text_utils.h"

// Under protection the text is encrypted with the current object's key
// before it is escaped, so the string must be made after WriteObjStart of
// the object that holds it.
std::string PdfWriter::PdfLiteralString(std::string_view text) {
    const std::string escaped =
        ProtectionOn && !text.empty() ? pdf::escape_string(EncryptLiteralText(text)) : pdf::escape_string(text);
    return pdf::concat({"(", escaped, ")"});
}

std::string PdfWriter::PdfTextString(std::string_view text) { return PdfLiteralString(pdf::pdf_text_bytes(text)); }
