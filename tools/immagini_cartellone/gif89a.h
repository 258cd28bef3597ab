// Writes one picture as a GIF89a file: one image, one global colour table,
// LZW-compressed pixel indices.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sign/disegno_cartellone.h"

// The complete file's bytes. The palette has four entries, so the pixel
// indices must be 0 to 3.
std::string codifica_gif89a(const Disegno& disegno);

// The LZW code stream of GIF for indices of `bit_minimi` bits (2 to 8),
// before it is cut into sub-blocks: clear code first, end code last, codes
// packed from the lowest bit.
std::vector<std::uint8_t> lzw_gif(const std::vector<std::uint8_t>& indici, int bit_minimi);
