// Any bytes given to the GIF reader, as frame 0, 1 or 2 (by the length):
// a picture that fits its size, or 62/321.
#include "pdf/content/gif_reader.h"
#include "picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz_raster_reader(data, size, [size](pdf::ByteCursor& at) { return pdf::read_gif(at, static_cast<std::int32_t>(size % 3)); });
}
