// What every vector translator's fuzz target checks: operators whose q/Q
// balance, or a refusal with 5 (a number that cannot be written), 6, 62 or 321.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/content/vector_picture.h"

inline int fuzz_vector_translator(const std::uint8_t* data, std::size_t size,
                                  pdf::VectorDrawing (*translate)(std::span<const std::uint8_t>, const pdf::VectorFit&)) {
    try {
        const auto drawing = translate(std::span<const std::uint8_t>(data, size),
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
