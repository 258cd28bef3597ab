// MD5 message digest (RFC 1321), used by the standard security handler to
// derive the document and object keys.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pdf {

// Incremental digest: feed the message in any number of pieces, then take
// the 16 digest bytes (word A low byte first, then B, C, D).
class Md5 {
public:
    Md5();
    void update(const std::uint8_t* data, std::size_t size);
    void update(std::string_view bytes) {
        update(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    // Ends the message; the object must not be updated afterwards.
    std::array<std::uint8_t, 16> finish();

private:
    void transform(const std::uint8_t* block);

    std::array<std::uint32_t, 4> state_;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pending_size_ = 0;
    std::uint64_t total_size_ = 0;
};

// The digest of one byte string as a 16-byte string.
std::string md5_digest(std::string_view bytes);

}  // namespace pdf
