// Finding a few byte values in text sixteen bytes at a time: the text
// writers' scans for blanks and for the bytes a string must escape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pdf {

// Bit k (k < 16) is set where bytes[k] is one of Values.
template <char... Values>
inline std::uint32_t match16(const char* bytes) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    __m128i found = _mm_setzero_si128();
    ((found = _mm_or_si128(found, _mm_cmpeq_epi8(block, _mm_set1_epi8(Values)))), ...);
    return static_cast<std::uint32_t>(_mm_movemask_epi8(found));
#else
    std::uint32_t mask = 0;
    for (int k = 0; k < 16; ++k)
        if (((bytes[k] == Values) || ...)) mask |= std::uint32_t{1} << k;
    return mask;
#endif
}

// The number of bits set in a mask of match16, in a few operations (a
// generic x86-64 build turns std::popcount into a library call).
inline std::size_t count16(std::uint32_t mask) {
    mask = mask - ((mask >> 1) & 0x5555u);
    mask = (mask & 0x3333u) + ((mask >> 2) & 0x3333u);
    mask = (mask + (mask >> 4)) & 0x0F0Fu;
    return (mask + (mask >> 8)) & 0x1Fu;
}

// How many bytes of text are Value.
template <char Value>
inline std::size_t count_bytes(std::string_view text) {
    std::size_t count = 0, k = 0;
    for (; k + 16 <= text.size(); k += 16) count += count16(match16<Value>(text.data() + k));
    for (; k < text.size(); ++k) count += text[k] == Value;
    return count;
}

}  // namespace pdf
