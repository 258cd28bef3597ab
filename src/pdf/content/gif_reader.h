// GIF87a and GIF89a pictures.
#pragma once

#include <cstdint>
#include <span>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture.h"

namespace pdf {

// Decodes frame `frame` (counted from 1; below 1 counts as 1) as an indexed
// picture of the frame's own size: 8-bit samples over an RGB palette (the
// frame's local colour table, else the global one, else a grey ramp), padded
// so every index the code size allows has an entry. Interlaced frames come
// out in display order. Extension blocks are skipped by their sub-block
// chains. A frame the file does not have, or any malformed structure,
// throws PdfError 321; data that stop early, 62. The file is read to the end
// of the frame's data.
RasterPicture read_gif(std::span<const std::uint8_t> file, std::int32_t frame);
// The same, the file read through `file` from its start.
RasterPicture read_gif(ByteCursor& file, std::int32_t frame);

}  // namespace pdf
