// Any bytes given to the JPEG reader: a picture that fits its size, or 62/321.
#include "pdf/content/jpeg_reader.h"
#include "picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz_raster_reader(data, size, [](pdf::ByteCursor& at) { return pdf::read_jpeg(at); });
}
