#include "pdf/core/lzw_encoder.h"

#include <algorithm>
#include <array>
#include <memory>

namespace pdf {

namespace {

constexpr int clear_code = 256;
constexpr int end_of_data = 257;
constexpr int first_free_code = 258;

// Codes packed most significant bit first; the bits short of a byte wait
// for the next code.
class BitPacker {
public:
    void put(int code, int width, std::vector<std::uint8_t>& out) {
        buffer_ = (buffer_ << width) | std::uint32_t(code);
        count_ += width;
        while (count_ >= 8) {
            count_ -= 8;
            out.push_back(std::uint8_t(buffer_ >> count_));
        }
        buffer_ &= (1u << count_) - 1;
    }
    void flush(std::vector<std::uint8_t>& out) {
        if (count_ > 0) out.push_back(std::uint8_t(buffer_ << (8 - count_)));
        buffer_ = 0;
        count_ = 0;
    }

private:
    std::uint32_t buffer_ = 0;
    int count_ = 0;
};

// String table: entry (prefix code, next byte) -> code, open addressing.
// Entries of an earlier table generation count as empty, so a Clear costs
// nothing.
class StringTable {
public:
    StringTable() { slots_.fill(Slot{}); }
    void clear() { ++generation_; }
    int find(int prefix, std::uint8_t byte) const {
        const std::uint32_t key = key_of(prefix, byte);
        for (std::uint32_t i = hash(key);; i = (i + 1) & mask) {
            const Slot& s = slots_[i];
            if (s.generation != generation_) return -1;
            if (s.key == key) return s.code;
        }
    }
    void add(int prefix, std::uint8_t byte, int code) {
        const std::uint32_t key = key_of(prefix, byte);
        std::uint32_t i = hash(key);
        while (slots_[i].generation == generation_) i = (i + 1) & mask;
        slots_[i] = Slot{key, std::uint16_t(code), generation_};
    }

private:
    // At most 4096 - 258 entries live at once: a table of 8192 slots stays
    // at most half full.
    static constexpr std::uint32_t mask = 8191;
    struct Slot {
        std::uint32_t key = 0;
        std::uint16_t code = 0;
        std::uint32_t generation = 0;
    };
    static std::uint32_t key_of(int prefix, std::uint8_t byte) {
        return (std::uint32_t(prefix) << 8) | byte;
    }
    static std::uint32_t hash(std::uint32_t key) { return (key * 2654435761u) >> 19; }

    std::array<Slot, mask + 1> slots_;
    std::uint32_t generation_ = 1;
};

}  // namespace

struct LzwEncoder::State {
    explicit State(int quality) : largest_code((1 << (9 + std::clamp(quality, 0, 3))) - 1) {}
    const int largest_code;
    BitPacker bits;
    StringTable table;
    int width = 9;
    int next_code = first_free_code;
    int current = -1;  // the code of the string read so far, -1 before the first byte
    bool started = false;

    // Counts the code just given out and applies the width rule to it.
    int give_out_code() {
        const int code = next_code++;
        if (code == 511 || code == 1023 || code == 2047) ++width;
        return code;
    }
};

LzwEncoder::LzwEncoder(int quality) : state_(std::make_unique<State>(quality)) {}

LzwEncoder::~LzwEncoder() = default;

void LzwEncoder::put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) {
    State& s = *state_;
    if (!s.started) s.bits.put(clear_code, s.width, out);
    s.started = true;
    std::size_t i = 0;
    if (s.current < 0 && !data.empty()) s.current = data[i++];
    int current = s.current;
    for (; i < data.size(); ++i) {
        const std::uint8_t byte = data[i];
        const int extended = s.table.find(current, byte);
        if (extended >= 0) {
            current = extended;
            continue;
        }
        s.bits.put(current, s.width, out);
        s.table.add(current, byte, s.next_code);
        if (s.give_out_code() == s.largest_code) {
            s.bits.put(clear_code, s.width, out);
            s.table.clear();
            s.next_code = first_free_code;
            s.width = 9;
        }
        current = byte;
    }
    s.current = current;
}

void LzwEncoder::finish(std::vector<std::uint8_t>& out) {
    put({}, out);
    State& s = *state_;
    if (s.current >= 0) {
        s.bits.put(s.current, s.width, out);
        s.give_out_code();
    }
    s.bits.put(end_of_data, s.width, out);
    s.bits.flush(out);
}

std::vector<std::uint8_t> encode_lzw(std::span<const std::uint8_t> data, int quality) {
    std::vector<std::uint8_t> out;
    out.reserve(data.size() + data.size() / 2 + 8);
    LzwEncoder encoder(quality);
    encoder.put(data, out);
    encoder.finish(out);
    return out;
}

}  // namespace pdf
