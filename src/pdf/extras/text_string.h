// The text of a PDF text string (an information entry, a title) for
// display: UTF-16BE or UTF-8 after its byte-order mark, else PDFDocEncoding,
// turned into Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace pdf {

// `bytes` are the string's bytes with its escapes already undone. A
// character Windows-1252 cannot hold, a byte PDFDocEncoding leaves undefined
// (0x7F, 0x9F, 0xAD) and a broken UTF-16 or UTF-8 sequence become "?"; a
// final odd byte of UTF-16 is dropped. Lossy by design: for someone else's texts
// shown to the user, never for data that is written back.
std::string text_string_to_cp1252(std::string_view bytes);

}  // namespace pdf
