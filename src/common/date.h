// Dates as the forms show them ("gg/mm/aaaa", day/month/year) and as the data
// store keeps them (eight digits year, month, day; optionally four more for
// hour and minute).
#pragma once

#include <string>
#include <string_view>

// Displayed date -> stored text. The part before the first "/" is the day,
// the part up to the second "/" the month, the rest the year; numeric parts
// are zero-filled to 4/2/2 digits, other parts are copied unchanged. No "/"
// at all gives "000000" (an empty box); the placeholder "gg/mm/aaaa" gives
// "aaaammgg", which is not a number. Does not validate.
std::string data_per_archivio(std::string_view data_ggmmaaaa);

// Checks a stored date: 0 valid (or a part is blank), 1 not a number, year
// outside 1800-2100 or a day that the month does not have, 2 month not 1-12.
// 29 February follows the Gregorian rule.
int controlla_data(std::string_view data_aaaammgg);

// Stored date -> "gg/mm/aaaa", plus " hh:mm" when the text is 9 to 12
// characters long. Empty for a blank text, "0" or "000000". Does not validate.
std::string data_da_archivio(std::string_view data_aaaammgg);

// The strict check a form's save applies to a date box: true for an empty box,
// the exact placeholder "gg/mm/aaaa", or a real calendar date d/m/yyyy (day and
// month of one or two digits, year of four digits, 1800-2100).
bool data_ammessa(std::string_view testo_casella);

// True when `anno` is a leap year of the Gregorian calendar.
bool anno_bisestile(int anno);
