// The MacRoman code page as a PDF font's /MacRomanEncoding reads it.
#pragma once

namespace pdf {

// The Unicode character a viewer shows for `code` under /MacRomanEncoding:
// ASCII below 128; above, the Macintosh Roman characters, with 0xDB the
// currency sign (the encoding PDF names predates the euro there).
char32_t mac_roman_to_unicode(unsigned char code);

}  // namespace pdf
