// Conversion between Qt's Unicode text and the Windows-1252 bytes that every
// layer below the windows works with.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>

// Every byte has a character, so this never fails.
QString da_cp1252(std::string_view testo);
inline QString da_cp1252(const std::string& testo) { return da_cp1252(std::string_view(testo)); }

// nullopt when the text holds a character the code page cannot hold: such a
// text is refused, never stored with a substitute.
std::optional<std::string> a_cp1252(const QString& testo);

// Line breaks of a multi-line box: Qt keeps "\n" (QChar::ParagraphSeparator
// in some paths), the data store and the documents keep CR LF.
// a_cp1252_crlf turns every line break into CR LF; da_cp1252_crlf turns CR LF,
// a lone CR and a lone LF into "\n".
std::optional<std::string> a_cp1252_crlf(const QString& testo);
QString da_cp1252_crlf(std::string_view testo);
