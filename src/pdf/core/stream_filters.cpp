// The filter and encryption steps of every stream and the public Flate
// member.
#include <optional>

#include "pdf/PdfWriter.h"
#include "pdf/core/ascii85_encoder.h"
#include "pdf/core/ascii_hex_encoder.h"
#include "pdf/core/flate_encoder.h"
#include "pdf/core/lzw_encoder.h"
#include "pdf/core/rc4.h"
#include "pdf/core/run_length_encoder.h"
#include "pdf/core/stream_encoder.h"

namespace {

std::span<const std::uint8_t> as_bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The pieces of a content text, the blocks let go as they are taken.
pdf::StreamPieces pieces_of(std::string_view prefix, pdf::ContentText& content) {
    std::string tail = std::string(prefix) + content.tail(4);
    tail.erase(0, tail.size() - std::min<std::size_t>(tail.size(), 4));
    return {prefix.size() + content.size(), std::move(tail), [prefix, &content](const pdf::ByteSink& sink) {
                if (!prefix.empty()) sink(as_bytes(prefix));
                content.drain([&](std::string_view block) { sink(as_bytes(block)); });
            }};
}

}  // namespace

void PdfWriter::SetCompression(std::int32_t CompressionMode, std::uint8_t Quality) {
    FilterFlags = CompressionMode;
    CompressionQuality = Quality > 3 ? 3 : Quality;
    // The deflate base tables are constants of the encoder.
}

void PdfWriter::WriteStream(pdf::Bytes Data, std::int32_t ObjectNumber, std::string_view PresetFilter,
                            std::int32_t Length1) {
    const std::size_t size = Data.size();
    std::string tail(Data.end() - std::ptrdiff_t(std::min<std::size_t>(size, 4)), Data.end());
    pdf::StreamPieces pieces{size, std::move(tail), [&Data](const pdf::ByteSink& sink) {
                                 constexpr std::size_t piece = std::size_t{1} << 20;
                                 for (std::size_t at = 0; at < Data.size(); at += piece)
                                     sink(std::span(Data).subspan(at, std::min(piece, Data.size() - at)));
                                 pdf::Bytes().swap(Data);
                             }};
    WriteFilteredStream(pieces, ObjectNumber, PresetFilter, Length1);
}

void PdfWriter::WriteContentStream(std::string_view Prefix, pdf::ContentText& Content) {
    pdf::StreamPieces pieces = pieces_of(Prefix, Content);
    WriteFilteredStream(pieces, 0, {}, 0);
}

// Each filter works on the output of the one before and puts its name in
// front, so the /Filter array lists them in the order a reader undoes them.
// A stream with a filter of its own (JPEG data) gets only the ASCII ones.
// The first three make output whose length is known only at its end: it is
// kept, the input let go as it is taken. The ASCII filters' output length
// follows from their input's, and so does that of the encryption: the
// stream's length is written first, and their output is written as it is
// made.
void PdfWriter::WriteFilteredStream(pdf::StreamPieces& Source, std::int32_t ObjectNumber,
                                    std::string_view PresetFilter, std::int32_t Length1) {
    std::string names(PresetFilter);
    pdf::EncoderChain packing, text;
    if (names.empty()) {
        if (FilterFlags & 1) {
            names.insert(0, "/RunLengthDecode ");
            packing.add(std::make_unique<pdf::RunLengthEncoder>());
        }
        if (FilterFlags & 2) {
            names.insert(0, "/FlateDecode ");
            packing.add(std::make_unique<pdf::FlateStream>(CompressionQuality));
        }
        if (FilterFlags & 4) {
            names.insert(0, "/LZWDecode ");
            packing.add(std::make_unique<pdf::LzwEncoder>(CompressionQuality));
        }
    }
    if (FilterFlags & 8) {
        names.insert(0, "/ASCII85Decode ");
        text.add(std::make_unique<pdf::Ascii85Encoder>());
    }
    if (FilterFlags & 16) {
        names.insert(0, "/ASCIIHexDecode ");
        text.add(std::make_unique<pdf::AsciiHexEncoder>());
    }

    pdf::ContentText packed;
    pdf::StreamPieces packed_pieces;
    pdf::StreamPieces* source = &Source;
    if (!packing.empty()) {
        const pdf::ByteSink keep = [&packed](std::span<const std::uint8_t> piece) {
            packed.append(std::string_view(reinterpret_cast<const char*>(piece.data()), piece.size()));
        };
        Source.drain([&](std::span<const std::uint8_t> piece) { packing.put(piece, keep); });
        packing.finish(keep);
        packing = pdf::EncoderChain();  // its working memory goes before the ASCII filters' comes
        packed_pieces = pieces_of({}, packed);
        source = &packed_pieces;
    }

    std::uint64_t length = source->size;
    if (FilterFlags & 8) length = pdf::ascii85_length(length, source->tail == std::string(4, '\0'));
    if (FilterFlags & 16) length *= 2;
    std::optional<pdf::Rc4Stream> cipher;
    if (ProtectionOn) cipher.emplace(ObjectSchedule(ObjectNumber));

    if (!names.empty()) WriteLine("/Filter [" + names + "]");
    if (Length1 > 0) WriteLine("/Length1 " + std::to_string(Length1));
    WriteStreamHead(length);
    std::uint64_t written = 0;
    std::vector<std::uint8_t> encrypted;
    const pdf::ByteSink write = [&](std::span<const std::uint8_t> piece) {
        if (cipher) {
            encrypted.resize(piece.size());
            cipher->apply(piece.data(), encrypted.data(), piece.size());
            piece = encrypted;
        }
        WriteBytes(piece.data(), piece.size());
        written += piece.size();
    };
    source->drain([&](std::span<const std::uint8_t> piece) { text.put(piece, write); });
    text.finish(write);
    // A /Length that differs from the bytes would make readers guess.
    if (written != length) RaiseError(51, "WriteStream", "La lunghezza dello stream non corrisponde ai dati");
    WriteStreamTail();
}

// The whole array is the input (the incoming count is not read).
void PdfWriter::zzToFlateDecode(pdf::Bytes& ByteArray, std::int32_t& BufCount, std::uint8_t CompressionQuality) {
    pdf::Bytes encoded;
    pdf::flate_encode(ByteArray, CompressionQuality, encoded);
    ByteArray = std::move(encoded);
    BufCount = static_cast<std::int32_t>(ByteArray.size());
}
