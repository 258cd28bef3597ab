// JPEG pictures, embedded as they are: only the markers are read.
#pragma once

#include <cstdint>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture.h"

namespace pdf {

// Walks the segments from SOI by their lengths up to the first start of
// scan (never by searching for marker bytes: an embedded thumbnail carries
// a frame header of its own), for the frame's size and components (1 grey,
// 3 RGB, 4 CMYK; 8-bit samples only). Only the baseline, extended and
// progressive frames (Huffman or arithmetic) are taken: PDF readers decode
// no lossless or hierarchical ones. The picture's samples are the whole
// file, moved in, filter "/DCTDecode ". CMYK written by Adobe's convention
// (an APP14 "Adobe" segment) is stored inverted and gets /Decode [1 0 1 0 1
// 0 1 0]. Malformed markers or segments and other frame types throw PdfError
// 321; a file that ends inside them, 62.
RasterPicture read_jpeg(Bytes file);
// The same through `file`, read from its start up to the start of scan; the
// samples are left empty, for the caller to copy the file into the stream.
RasterPicture read_jpeg(ByteCursor& file);

}  // namespace pdf
