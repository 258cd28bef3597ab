// Any bytes given to the EPS translator.
#include "pdf/content/eps_translator.h"
#include "vector_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz_vector_translator(data, size, pdf::translate_eps);
}
