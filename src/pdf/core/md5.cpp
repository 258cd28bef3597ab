#include "pdf/core/md5.h"

#include <algorithm>
#include <cstring>

namespace pdf {

namespace {

constexpr std::uint32_t rotate_left(std::uint32_t x, int s) {
    return (x << s) | (x >> (32 - s));
}

inline std::uint32_t load_le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

// One step of a round: a = b + ((a + f + x + t) <<< s), all modulo 2^32.
#define MD5_STEP(f, a, b, c, d, x, s, t) \
    (a) = (b) + rotate_left((a) + f((b), (c), (d)) + (x) + (t), (s))

inline std::uint32_t md5_f(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return (x & y) | (~x & z); }
inline std::uint32_t md5_g(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return (x & z) | (y & ~z); }
inline std::uint32_t md5_h(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return x ^ y ^ z; }
inline std::uint32_t md5_i(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return y ^ (x | ~z); }

}  // namespace

Md5::Md5() : state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u} {}

void Md5::transform(const std::uint8_t* block) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = load_le32(block + 4 * i);
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

    MD5_STEP(md5_f, a, b, c, d, x[0], 7, 0xd76aa478u);
    MD5_STEP(md5_f, d, a, b, c, x[1], 12, 0xe8c7b756u);
    MD5_STEP(md5_f, c, d, a, b, x[2], 17, 0x242070dbu);
    MD5_STEP(md5_f, b, c, d, a, x[3], 22, 0xc1bdceeeu);
    MD5_STEP(md5_f, a, b, c, d, x[4], 7, 0xf57c0fafu);
    MD5_STEP(md5_f, d, a, b, c, x[5], 12, 0x4787c62au);
    MD5_STEP(md5_f, c, d, a, b, x[6], 17, 0xa8304613u);
    MD5_STEP(md5_f, b, c, d, a, x[7], 22, 0xfd469501u);
    MD5_STEP(md5_f, a, b, c, d, x[8], 7, 0x698098d8u);
    MD5_STEP(md5_f, d, a, b, c, x[9], 12, 0x8b44f7afu);
    MD5_STEP(md5_f, c, d, a, b, x[10], 17, 0xffff5bb1u);
    MD5_STEP(md5_f, b, c, d, a, x[11], 22, 0x895cd7beu);
    MD5_STEP(md5_f, a, b, c, d, x[12], 7, 0x6b901122u);
    MD5_STEP(md5_f, d, a, b, c, x[13], 12, 0xfd987193u);
    MD5_STEP(md5_f, c, d, a, b, x[14], 17, 0xa679438eu);
    MD5_STEP(md5_f, b, c, d, a, x[15], 22, 0x49b40821u);

    MD5_STEP(md5_g, a, b, c, d, x[1], 5, 0xf61e2562u);
    MD5_STEP(md5_g, d, a, b, c, x[6], 9, 0xc040b340u);
    MD5_STEP(md5_g, c, d, a, b, x[11], 14, 0x265e5a51u);
    MD5_STEP(md5_g, b, c, d, a, x[0], 20, 0xe9b6c7aau);
    MD5_STEP(md5_g, a, b, c, d, x[5], 5, 0xd62f105du);
    MD5_STEP(md5_g, d, a, b, c, x[10], 9, 0x02441453u);
    MD5_STEP(md5_g, c, d, a, b, x[15], 14, 0xd8a1e681u);
    MD5_STEP(md5_g, b, c, d, a, x[4], 20, 0xe7d3fbc8u);
    MD5_STEP(md5_g, a, b, c, d, x[9], 5, 0x21e1cde6u);
    MD5_STEP(md5_g, d, a, b, c, x[14], 9, 0xc33707d6u);
    MD5_STEP(md5_g, c, d, a, b, x[3], 14, 0xf4d50d87u);
    MD5_STEP(md5_g, b, c, d, a, x[8], 20, 0x455a14edu);
    MD5_STEP(md5_g, a, b, c, d, x[13], 5, 0xa9e3e905u);
    MD5_STEP(md5_g, d, a, b, c, x[2], 9, 0xfcefa3f8u);
    MD5_STEP(md5_g, c, d, a, b, x[7], 14, 0x676f02d9u);
    MD5_STEP(md5_g, b, c, d, a, x[12], 20, 0x8d2a4c8au);

    MD5_STEP(md5_h, a, b, c, d, x[5], 4, 0xfffa3942u);
    MD5_STEP(md5_h, d, a, b, c, x[8], 11, 0x8771f681u);
    MD5_STEP(md5_h, c, d, a, b, x[11], 16, 0x6d9d6122u);
    MD5_STEP(md5_h, b, c, d, a, x[14], 23, 0xfde5380cu);
    MD5_STEP(md5_h, a, b, c, d, x[1], 4, 0xa4beea44u);
    MD5_STEP(md5_h, d, a, b, c, x[4], 11, 0x4bdecfa9u);
    MD5_STEP(md5_h, c, d, a, b, x[7], 16, 0xf6bb4b60u);
    MD5_STEP(md5_h, b, c, d, a, x[10], 23, 0xbebfbc70u);
    MD5_STEP(md5_h, a, b, c, d, x[13], 4, 0x289b7ec6u);
    MD5_STEP(md5_h, d, a, b, c, x[0], 11, 0xeaa127fau);
    MD5_STEP(md5_h, c, d, a, b, x[3], 16, 0xd4ef3085u);
    MD5_STEP(md5_h, b, c, d, a, x[6], 23, 0x04881d05u);
    MD5_STEP(md5_h, a, b, c, d, x[9], 4, 0xd9d4d039u);
    MD5_STEP(md5_h, d, a, b, c, x[12], 11, 0xe6db99e5u);
    MD5_STEP(md5_h, c, d, a, b, x[15], 16, 0x1fa27cf8u);
    MD5_STEP(md5_h, b, c, d, a, x[2], 23, 0xc4ac5665u);

    MD5_STEP(md5_i, a, b, c, d, x[0], 6, 0xf4292244u);
    MD5_STEP(md5_i, d, a, b, c, x[7], 10, 0x432aff97u);
    MD5_STEP(md5_i, c, d, a, b, x[14], 15, 0xab9423a7u);
    MD5_STEP(md5_i, b, c, d, a, x[5], 21, 0xfc93a039u);
    MD5_STEP(md5_i, a, b, c, d, x[12], 6, 0x655b59c3u);
    MD5_STEP(md5_i, d, a, b, c, x[3], 10, 0x8f0ccc92u);
    MD5_STEP(md5_i, c, d, a, b, x[10], 15, 0xffeff47du);
    MD5_STEP(md5_i, b, c, d, a, x[1], 21, 0x85845dd1u);
    MD5_STEP(md5_i, a, b, c, d, x[8], 6, 0x6fa87e4fu);
    MD5_STEP(md5_i, d, a, b, c, x[15], 10, 0xfe2ce6e0u);
    MD5_STEP(md5_i, c, d, a, b, x[6], 15, 0xa3014314u);
    MD5_STEP(md5_i, b, c, d, a, x[13], 21, 0x4e0811a1u);
    MD5_STEP(md5_i, a, b, c, d, x[4], 6, 0xf7537e82u);
    MD5_STEP(md5_i, d, a, b, c, x[11], 10, 0xbd3af235u);
    MD5_STEP(md5_i, c, d, a, b, x[2], 15, 0x2ad7d2bbu);
    MD5_STEP(md5_i, b, c, d, a, x[9], 21, 0xeb86d391u);

    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

#undef MD5_STEP

void Md5::update(const std::uint8_t* data, std::size_t size) {
    total_size_ += size;
    if (pending_size_ > 0) {
        const std::size_t take = std::min(size, 64 - pending_size_);
        std::memcpy(pending_.data() + pending_size_, data, take);
        pending_size_ += take;
        data += take;
        size -= take;
        if (pending_size_ < 64) return;
        transform(pending_.data());
        pending_size_ = 0;
    }
    // Whole blocks are compressed where they lie, without copying.
    for (; size >= 64; data += 64, size -= 64) transform(data);
    if (size > 0) {
        std::memcpy(pending_.data(), data, size);
        pending_size_ = size;
    }
}

std::array<std::uint8_t, 16> Md5::finish() {
    // The length is the full 64-bit bit count of RFC 1321, so no message size
    // is refused.
    const std::uint64_t bit_length = total_size_ * 8;
    pending_[pending_size_++] = 0x80;
    if (pending_size_ > 56) {
        std::memset(pending_.data() + pending_size_, 0, 64 - pending_size_);
        transform(pending_.data());
        pending_size_ = 0;
    }
    std::memset(pending_.data() + pending_size_, 0, 56 - pending_size_);
    for (int i = 0; i < 8; ++i) pending_[56 + i] = std::uint8_t(bit_length >> (8 * i));
    transform(pending_.data());
    pending_size_ = 0;

    std::array<std::uint8_t, 16> digest;
    for (int w = 0; w < 4; ++w)
        for (int i = 0; i < 4; ++i) digest[4 * w + i] = std::uint8_t(state_[w] >> (8 * i));
    return digest;
}

std::string md5_digest(std::string_view bytes) {
    Md5 md5;
    md5.update(bytes);
    const auto digest = md5.finish();
    return std::string(reinterpret_cast<const char*>(digest.data()), digest.size());
}

}  // namespace pdf
