// Numbers as the user types them (Italian conventions: "," before the
// decimals, optionally "." between groups of three digits) and as the
// contract writes them, in figures and in words.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of a number as typed: optional blanks around, optional sign,
// digits with "." between groups of thousands (either every group or none),
// optional "," and decimals. nullopt when the text is not such a number
// (empty, ",", "abc", "1,2,3" ...).
std::optional<double> valore_numerico(std::string_view testo);

// Rounds `numero` to `decimali` decimals (half away from zero, on the decimal
// digits as written, not on the binary value) and returns it written with ","
// before the decimals and, when `migliaia` is "S", "." between groups of
// three digits; when `punto` is "S" the decimal separator is "." and grouping
// is dropped. When `numero` is a number it is rewritten in place as the
// rounded value with "," and no grouping ("1200,5" -> "1200,50"), so that the
// caller can spell the same value. When it is not a number it is left as it is
// and the result is "0," followed by `decimali` zeros.
std::string formatta_numero(std::string& numero, int decimali = 2, std::string_view migliaia = "",
                            std::string_view punto = "");

// The amount in Italian words for the contract: the whole part in words,
// "/", the cents as two digits ("1200,50" -> "milleduecento/50"). The amount
// is first rounded to cents, half away from zero. "" for a blank text or a
// text that is not a number.
std::string importo_in_lettere(std::string_view importo);

// The whole part of a number in Italian words, joined without blanks
// ("ventitré", "milleduecento", "unmilione", "duemilioni"), "Zero" for 0,
// "meno" before a negative number. "" for a blank text or a text that is not
// a number. Words are Windows-1252 ("é" is 0xE9).
std::string numero_in_lettere(std::string_view numero);
