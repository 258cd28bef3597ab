// The filter step of every stream and the public Flate member.
#include "pdf/PdfWriter.h"
#include "pdf/core/ascii85_encoder.h"
#include "pdf/core/ascii_hex_encoder.h"
#include "pdf/core/flate_encoder.h"
#include "pdf/core/lzw_encoder.h"
#include "pdf/core/run_length_encoder.h"

void PdfWriter::SetCompression(std::int32_t CompressionMode, std::uint8_t Quality) {
    FilterFlags = CompressionMode;
    CompressionQuality = Quality > 3 ? 3 : Quality;
    // The deflate base tables are constants of the encoder.
}

// Each filter works on the output of the one before and puts its name in
// front, so the /Filter array lists them in the order a reader undoes them.
// A stream with a filter of its own (JPEG data) gets only the ASCII ones.
void PdfWriter::FilterStreamData(pdf::Bytes& Data, std::string& names) {
    if (names.empty()) {
        if (FilterFlags & 1) {
            names.insert(0, "/RunLengthDecode ");
            Data = pdf::encode_run_length(Data);
        }
        if (FilterFlags & 2) {
            names.insert(0, "/FlateDecode ");
            pdf::Bytes encoded;
            pdf::flate_encode(Data, CompressionQuality, encoded);
            Data = std::move(encoded);
        }
        if (FilterFlags & 4) {
            names.insert(0, "/LZWDecode ");
            Data = pdf::encode_lzw(Data, CompressionQuality);
        }
    }
    if (FilterFlags & 8) {
        names.insert(0, "/ASCII85Decode ");
        Data = pdf::encode_ascii85(Data);
    }
    if (FilterFlags & 16) {
        names.insert(0, "/ASCIIHexDecode ");
        Data = pdf::encode_ascii_hex(Data);
    }
}

// The whole array is the input (the incoming count is not read).
void PdfWriter::zzToFlateDecode(pdf::Bytes& ByteArray, std::int32_t& BufCount, std::uint8_t CompressionQuality) {
    pdf::Bytes encoded;
    pdf::flate_encode(ByteArray, CompressionQuality, encoded);
    ByteArray = std::move(encoded);
    BufCount = static_cast<std::int32_t>(ByteArray.size());
}
