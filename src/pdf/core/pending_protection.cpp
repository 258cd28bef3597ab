// Stream filters, Flate encoder and the standard security handler: not
// written yet. The filter and encryption steps pass the data through
// unchanged until then (protection cannot be switched on meanwhile).
#include "pdf/PdfWriter.h"
#include "pdf/core/not_available.h"

void PdfWriter::SetProtection(std::int32_t, std::string_view, std::string_view) {
    pdf::not_available("SetProtection");
}

void PdfWriter::SetCompression(std::int32_t, std::uint8_t) { pdf::not_available("SetCompression"); }

void PdfWriter::zzToFlateDecode(pdf::Bytes&, std::int32_t&, std::uint8_t&) {
    pdf::not_available("zzToFlateDecode");
}

void PdfWriter::FilterStreamData(pdf::Bytes&, std::string&) {}

void PdfWriter::EncryptStreamData(pdf::Bytes&, std::int32_t) {}

std::string PdfWriter::EncryptLiteralText(std::string_view text) { return std::string(text); }

std::int32_t PdfWriter::WriteEncryptionDictionary() { pdf::not_available("EndDoc"); }

std::string PdfWriter::ObjectKey(std::int32_t&) { pdf::not_available("ObjectKey"); }

pdf::Bytes PdfWriter::RC4Crypt(std::string_view, const pdf::Bytes&, std::int32_t) {
    pdf::not_available("RC4Crypt");
}
