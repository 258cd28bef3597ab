// Names an EPS file gives to painting the translator cannot draw: images
// and text reached through procedures and aliases of its own.
#pragma once

#include <string_view>
#include <unordered_set>

namespace pdf {

// The operators that paint an image or text: PostScript's (image,
// imagemask, colorimage, show and its kin, charpath) and Illustrator's
// (XI; To, Tx, TX, Tj, TJ).
bool paints_image_or_text(std::string_view name);

// The names that `postscript` defines, anywhere in it and in any order, as
// a procedure that uses an image or text operator (`/I {image} bind def`)
// or as another name for one (`/I /image load def`, `/I //image def`),
// directly or through other such names. A name for which `kept` is true
// is never among them, nor carries them on: its meaning is the caller's
// own, whatever the file makes of it. The names view `postscript`.
// Throws PdfError 321 for more than 65,536 such names, procedures nested
// more than 1,024 deep, or a chain of such definitions that takes more
// than 8 readings of the file to follow (each written before the one it
// uses).
std::unordered_set<std::string_view> names_painting_images_or_text(std::string_view postscript,
                                                                   bool (*kept)(std::string_view));

}  // namespace pdf
