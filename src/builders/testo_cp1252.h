// The builders keep their wording in UTF-8 source text; the PDF writer takes
// Windows-1252 bytes.
#pragma once

#include <string>
#include <string_view>

namespace testi {

// The Windows-1252 bytes of a text written in this program's sources (UTF-8).
// Throws std::logic_error for a character the code page cannot hold: that is
// a mistake in the sources, never a matter of user data.
std::string cp1252(std::string_view testo_utf8);

}  // namespace testi
