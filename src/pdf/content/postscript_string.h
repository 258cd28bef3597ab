// What a PostScript string holds, as PostScript reads it.
#pragma once

#include <string>
#include <string_view>

namespace pdf {

// The characters of `token`, a string as PsScanner reads it (brackets
// included; one cut off by the end of the text ends there): `(text)` with
// its escapes (\n, \ddd, a backslash before a line end, ...) turned into
// what they stand for, `<hex>` and `<~base85~>` decoded. Characters a hex
// or base-85 string may not hold are passed over.
std::string ps_string_content(std::string_view token);

}  // namespace pdf
