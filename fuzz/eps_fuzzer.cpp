// Any bytes given to the EPS translator: operators whose q/Q balance, or
// 5 (a number that cannot be written), 6, 62 or 321.
#include <cstddef>
#include <cstdint>
#include <span>

#include "pdf/PdfWriter.h"
#include "pdf/content/eps_translator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto drawing = pdf::translate_eps(std::span<const std::uint8_t>(data, size),
                                                [](pdf::VectorSize natural) { return natural; });
        long depth = 0;
        const std::string& ops = drawing.operators;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            const bool alone = (i == 0 || ops[i - 1] == '\r') && (i + 1 == ops.size() || ops[i + 1] == '\r');
            if (alone && ops[i] == 'q') ++depth;
            if (alone && ops[i] == 'Q' && --depth < 0) __builtin_trap();
        }
        if (depth != 0) __builtin_trap();
    } catch (const PdfError& error) {
        const int n = error.number();
        if (n != 5 && n != 6 && n != 62 && n != 321) __builtin_trap();
    }
    return 0;
}
