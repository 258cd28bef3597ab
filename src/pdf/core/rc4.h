// RC4 stream cipher, used by the standard security handler for strings and
// streams of a protected document.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pdf {

// The cipher state right after the key schedule.
struct Rc4Schedule {
    std::array<std::uint8_t, 256> s;
};

// Runs the key schedule for a key of 1 to 256 bytes (an empty key is taken
// as the single byte 0, so that no input can divide by zero).
Rc4Schedule rc4_key_schedule(std::string_view key);

// Encrypts (or decrypts: the operation is its own inverse) `size` bytes from
// `in` into `out`, starting from the freshly scheduled state. `in` and `out`
// may be the same buffer.
void rc4_apply(const Rc4Schedule& schedule, const std::uint8_t* in, std::uint8_t* out,
               std::size_t size);

std::string rc4_crypt(std::string_view key, std::string_view data);

// Keeps the schedule of the last key used, so that the many short strings of
// one object share a single key schedule. Every call starts from the freshly
// scheduled state: no keystream carries over between calls.
class Rc4Cipher {
public:
    std::string crypt(std::string_view key, std::string_view data);
    std::vector<std::uint8_t> crypt(std::string_view key, std::span<const std::uint8_t> data);
    // Encrypts in place.
    void crypt_in_place(std::string_view key, std::uint8_t* data, std::size_t size);
    // Forgets the cached schedule.
    void clear();

private:
    const Rc4Schedule& schedule_for(std::string_view key);

    std::string cached_key_;
    Rc4Schedule cached_schedule_{};
    bool has_cache_ = false;
};

}  // namespace pdf
