// The XMP metadata packet that every document carries beside its
// information dictionary.
#pragma once

#include <string>
#include <string_view>

namespace pdf {

struct XmpFields {
    std::string_view title, subject, keywords, author, creator, producer, creation_date;  // Windows-1252
};

// The packet as UTF-8, lines separated by CR, the last without a line end.
// Values are converted from Windows-1252 and escaped for XML ("&", "<", ">",
// both quotes). The packet header's bytes attribute is the byte length of
// everything after the first line's CR, plus 64.
std::string build_xmp_packet(const XmpFields& fields);

}  // namespace pdf
