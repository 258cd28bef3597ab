#include "pdf/core/rc4.h"

#include <utility>

namespace pdf {

Rc4Schedule rc4_key_schedule(std::string_view key) {
    static constexpr char zero_key[1] = {0};
    if (key.empty()) key = std::string_view(zero_key, 1);
    Rc4Schedule schedule;
    for (int i = 0; i < 256; ++i) schedule.s[i] = std::uint8_t(i);
    std::uint8_t j = 0;
    // The key's index wraps by a comparison: a division per step would cost
    // more than the step.
    for (std::size_t i = 0, k = 0; i < 256; ++i) {
        j = std::uint8_t(j + schedule.s[i] + std::uint8_t(key[k]));
        std::swap(schedule.s[i], schedule.s[j]);
        if (++k == key.size()) k = 0;
    }
    return schedule;
}

namespace {

// Runs the cipher over `size` bytes from the state `s` and its indexes, and
// leaves them where the next byte would start.
void run(std::uint32_t (&s)[256], std::uint32_t& i_index, std::uint32_t& j_index, const std::uint8_t* in,
         std::uint8_t* out, std::size_t size) {
    // The next S[i] is read before this step's swap, so that the next j
    // does not wait for the stores; the swap only changes it when j lands
    // on i + 1 (one step in 256), which a branch fixes up. A conditional
    // move there would put the comparison back on the j chain.
    std::uint32_t i = (i_index + 1) & 0xFF, j = j_index;
    std::uint32_t si = s[i];
    auto step = [&](std::size_t k) {
        j = (j + si) & 0xFF;
        const std::uint32_t sj = s[j];
        const std::uint32_t i_next = (i + 1) & 0xFF;
        std::uint32_t si_next = s[i_next];
        s[i] = sj;
        s[j] = si;
        if (j == i_next) [[unlikely]] {
            asm volatile("" : "+r"(si_next) : "r"(si));  // keeps the branch
            si_next = si;
        }
        out[k] = static_cast<std::uint8_t>(in[k] ^ s[(si + sj) & 0xFF]);
        i = i_next;
        si = si_next;
    };
    std::size_t k = 0;
    for (; k + 4 <= size; k += 4) {
        step(k);
        step(k + 1);
        step(k + 2);
        step(k + 3);
    }
    for (; k < size; ++k) step(k);
    i_index = (i - 1) & 0xFF;
    j_index = j;
}

}  // namespace

void rc4_apply(const Rc4Schedule& schedule, const std::uint8_t* in, std::uint8_t* out,
               std::size_t size) {
    // Word-sized state: byte-sized entries make every swap a partial-word
    // store that the next load has to wait for.
    std::uint32_t s[256];
    for (int k = 0; k < 256; ++k) s[k] = schedule.s[static_cast<std::size_t>(k)];
    std::uint32_t i = 0, j = 0;
    run(s, i, j, in, out, size);
}

void Rc4Stream::apply(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
    std::uint32_t s[256];
    for (int k = 0; k < 256; ++k) s[k] = state_.s[static_cast<std::size_t>(k)];
    run(s, i_, j_, in, out, size);
    for (int k = 0; k < 256; ++k) state_.s[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(s[k]);
}

std::string rc4_crypt(std::string_view key, std::string_view data) {
    std::string out(data.size(), '\0');
    const auto schedule = rc4_key_schedule(key);
    rc4_apply(schedule, reinterpret_cast<const std::uint8_t*>(data.data()),
              reinterpret_cast<std::uint8_t*>(out.data()), data.size());
    return out;
}

}  // namespace pdf
