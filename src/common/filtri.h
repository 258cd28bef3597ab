// Keystroke filters of the input boxes. A box's input class (its Tag) picks
// the filter:
//   "MA" letters, "MANI" letters and digits, "NI" digits, "ND1".."ND6" decimal
//   numbers with that many decimals, "DATA" dates, "ORA" times, "TEL"
//   telephone numbers, "PI" digits (VAT number), "" every key.
// A filter sees the box's text (Windows-1252), the selection (start and
// length, in bytes) and the key code of the character typed (its
// Windows-1252 byte, or a control code below 32) and returns the key code to
// insert, possibly changed (the "/" a date brings with a digit), or 0 to
// drop it.
//
// Editing keys (every control code below 32: backspace, tab, enter, the
// clipboard's Ctrl+C/V/X, Ctrl+Z, Ctrl+A) always pass; a pasted text is
// checked as a whole with testo_ammesso.
//
// Letters ("MA") are A-Z, a-z and the letters of Windows-1252 (à, é, ì, ò, ù,
// Š ...), plus blank, apostrophe (' and the typographic ’) and hyphen, as names
// need. "MANI" holds codes (tax code, IBAN): letters and digits only.
#pragma once

#include <string>
#include <string_view>

constexpr int TASTO_BACKSPACE = 8;

bool tasto_di_modifica(int tasto);

int filtro_lettere(std::string_view testo, int inizio_selezione, int lunghezza_selezione, int tasto);
int filtro_alfanumerico(std::string_view testo, int inizio_selezione, int lunghezza_selezione, int tasto);
int filtro_cifre(std::string_view testo, int inizio_selezione, int lunghezza_selezione, int tasto);
// Digits, "." between groups of three digits of the whole part, one ",", at
// most `decimali` digits after it. The group being typed may be short ("1.2"
// on the way to "1.250") until a "," closes it; testo_ammesso then checks
// the finished text when the box is left. No sign: amounts and percentages of a contract are never
// negative. A "." is never turned into ",": "3.500" typed is three thousand
// five hundred, as it is when pasted.
int filtro_decimale(std::string_view testo, int inizio_selezione, int lunghezza_selezione, int tasto,
                    int decimali);
// A time hh:mm being typed: hours 0-23, ":", minutes 0-59.
int filtro_ora(std::string_view testo, int inizio_selezione, int lunghezza_selezione, int tasto);
// Digits, blank, "+", "/", "-", ".", "(", ")".
int filtro_telefono(std::string_view testo, int inizio_selezione, int lunghezza_selezione, int tasto);
// Digits only (VAT number, "PI").
int filtro_numerico(std::string_view testo, int inizio_selezione, int lunghezza_selezione, int tasto);

// Date d/m/yyyy of at most 10 characters. When a digit is typed at the end of
// the text right after the day or the month ("12" + "3"), a "/" is added to
// `testo` first and the selection moved past it; the caller then inserts the
// returned key at the (new) selection. `testo` and the selection are the
// box's state before the key and are updated in place.
int filtro_data(std::string& testo, int& inizio_selezione, int& lunghezza_selezione, int tasto);

// Chooses the filter by input class, upper-cased (a box tagged "data" filters
// as "DATA"); an unknown class accepts every key.
// Only the "DATA" filter changes `testo` and the selection.
int filtra_tasto(std::string_view classe, std::string& testo, int& inizio_selezione,
                 int& lunghezza_selezione, int tasto);

// The number of decimals of a decimal class ("ND2" -> 2, any case), -1 for
// any other class.
int decimali_della_classe(std::string_view classe);

// Whole-text check for a paste, a drop or a box being left: true when
// `testo` could have been typed into a box of that class (an empty text
// always can). A decimal number must be finished: whole groups of three
// between its dots ("3.5" and "12.34" are refused, never read as another
// number).
bool testo_ammesso(std::string_view classe, std::string_view testo);
