// The body of an optional article is stored in four data-store values of at
// most 255 bytes each. The store trims every value it reads back, so the
// pieces are cut only between two non-blank bytes: trimming then takes
// nothing from inside the body, and joining the trimmed pieces gives the
// body back exactly. The form and the contract builder use this one pair of
// routines, so they always agree.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Bytes one stored value holds, and the most an article body may hold.
inline constexpr std::size_t lunghezza_pezzo_articolo = 255;
inline constexpr std::size_t lunghezza_massima_articolo = 4 * lunghezza_pezzo_articolo;

// Line breaks of a body as they are stored: any lone CR or LF becomes CR LF.
std::string a_capo_crlf(std::string_view testo);

// Splits a body (Windows-1252) into its four pieces. Line breaks are stored
// as CR LF; "|" is ordinary text. Blanks before the first and after the last
// non-blank byte are not kept (the store trims them as it does every value).
// A body that cannot be stored whole (see testo_articolo_memorizzabile) gives
// as much of it as fits.
std::array<std::string, 4> dividi_testo_articolo(std::string_view corpo);

// Joins the pieces as read back (trimmed) from the store: the non-empty
// pieces in order, nothing between them.
std::string unisci_testo_articolo(const std::array<std::string, 4>& pezzi);

// True when the body comes back from the store as typed (apart from blanks
// at its two ends and line breaks turned into CR LF). False for a body too
// long for the four pieces, counting the few bytes lost because a piece
// cannot end or begin with a blank.
bool testo_articolo_memorizzabile(std::string_view corpo);

// How much of a body the store keeps, counted in characters as the user
// sees them in the box: a line break is one character, however it is
// written, and blanks at the start count. The first `tenuti` characters are
// kept whole; the `da_togliere` characters after them (blanks at the end,
// which are never kept, not counted) must go for the rest to be stored.
// For a body that testo_articolo_memorizzabile accepts, `da_togliere` is 0.
struct ParteMemorizzabile {
    std::size_t tenuti = 0;
    std::size_t da_togliere = 0;
};
ParteMemorizzabile parte_memorizzabile(std::string_view corpo);
