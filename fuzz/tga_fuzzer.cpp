// Any bytes given to the TGA reader: a picture that fits its size, or 62/321.
#include "pdf/content/tga_reader.h"
#include "picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz_raster_reader(data, size, [](pdf::ByteCursor& at) { return pdf::read_tga(at); });
}
