// Windows-1252 text: the byte encoding of every text below the user interface
// (the data file, the PDF writer, the builders).
//
// The conversion uses a full 256-entry table of our own rather than Latin-1,
// because the code page puts the euro sign, curly quotes, dashes and a few
// letters (Š, Ž, Œ, Ÿ ...) in 0x80-0x9F where Latin-1 has control codes.
//
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 control characters of the same value (U+0081, U+008D, ...),
// and those characters map back to the same bytes, so that any byte string
// survives a round trip through Unicode unchanged. A character outside the
// code page is reported (nullopt); it is never replaced by "?".
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Unicode character of one Windows-1252 byte (every byte has one).
char32_t cp1252_a_unicode(unsigned char byte);

// The Windows-1252 byte of a Unicode character, nullopt when the code page
// cannot hold it.
std::optional<unsigned char> unicode_a_cp1252(char32_t carattere);

// Windows-1252 bytes to UTF-8. Never fails.
std::string cp1252_a_utf8(std::string_view testo);

// UTF-8 to Windows-1252 bytes; nullopt when the text holds a character outside
// the code page or is not well-formed UTF-8.
std::optional<std::string> utf8_a_cp1252(std::string_view testo);

// For a message only (a path or a system text named in it): as utf8_a_cp1252,
// but a character the code page cannot hold, or a malformed sequence (a lead
// byte with what follows it of its continuation bytes, or a byte that leads
// nothing), becomes one "?", so that the rest still reads. Never for data.
std::string utf8_per_messaggio(std::string_view testo);

// Byte-wise upper case over Windows-1252: a-z, the accented letters
// (à -> À, é -> É, ...), š -> Š, œ -> Œ, ž -> Ž, ÿ -> Ÿ. ß, µ and every other
// byte are kept. The length never changes.
std::string maiuscolo(std::string_view testo);

// Byte-wise lower case, the inverse of maiuscolo on the letters it changes.
std::string minuscolo(std::string_view testo);

// Removes leading and trailing blanks (0x20 only: tabs and other white space
// are text), as the data store trims its fields.
std::string togli_spazi(std::string_view testo);
