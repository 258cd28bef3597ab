// Any bytes given to the BMP reader, indexed or (odd lengths) made RGB as for
// a colour key: a picture that fits its size, or 62/321.
#include "pdf/content/bmp_reader.h"
#include "picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz_raster_reader(data, size, [size](pdf::ByteCursor& at) { return pdf::read_bmp(at, size % 2 == 1); });
}
