// RC4 stream cipher, used by the standard security handler for strings and
// streams of a protected document.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pdf {

// The cipher state right after the key schedule.
struct Rc4Schedule {
    std::array<std::uint8_t, 256> s;
};

// Runs the key schedule for a key of 1 to 256 bytes (an empty key is taken
// as the single byte 0, so that no input can divide by zero).
Rc4Schedule rc4_key_schedule(std::string_view key);

// Encrypts (or decrypts: the operation is its own inverse) `size` bytes from
// `in` into `out`, starting from the freshly scheduled state, which is not
// changed: a kept schedule serves any number of texts under one key. `in`
// and `out` may be the same buffer.
void rc4_apply(const Rc4Schedule& schedule, const std::uint8_t* in, std::uint8_t* out,
               std::size_t size);

// The cipher partway through one text, for a text encrypted piece by
// piece: the pieces come out as the whole text would.
class Rc4Stream {
public:
    explicit Rc4Stream(const Rc4Schedule& schedule) : state_(schedule) {}
    // The next `size` bytes; `in` and `out` may be the same buffer.
    void apply(const std::uint8_t* in, std::uint8_t* out, std::size_t size);

private:
    Rc4Schedule state_;
    std::uint32_t i_ = 0, j_ = 0;
};

std::string rc4_crypt(std::string_view key, std::string_view data);

}  // namespace pdf
