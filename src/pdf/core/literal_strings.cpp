#include "pdf/PdfWriter.h"
#include "pdf/core/text_utils.h"

// Under protection the text is encrypted with the current object's key
// before it is escaped, so the string must be made after WriteObjStart of
// the object that holds it.
std::string PdfWriter::PdfLiteralString(std::string_view text) {
    if (ProtectionOn && !text.empty()) return "(" + pdf::escape_string(EncryptLiteralText(text)) + ")";
    return "(" + pdf::escape_string(text) + ")";
}
