// Stream filters' encoders fed piece by piece, so that a long stream is
// encoded without being held whole, and a chain of them as the document's
// filters apply them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pdf {

// An encoder that takes its input in pieces: the output of each piece is
// appended to `out` as far as it is settled (an encoder may hold a little
// input back until it sees what follows), the rest by finish. However the
// input is cut, the output is that of the whole input at once.
class StreamEncoder {
public:
    virtual ~StreamEncoder() = default;
    virtual void put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) = 0;
    virtual void finish(std::vector<std::uint8_t>& out) = 0;
};

// An encoder whose output for the start of its input is settled once
// enough input follows: it holds back what is not settled yet and encodes
// it with what comes next. `encode` encodes from the start of `data`, all of
// it when `last`, otherwise as far as what follows in `data` settles, and
// returns the bytes it covered; `end` is written after the last output.
class HoldingEncoder : public StreamEncoder {
public:
    using Encode = std::size_t (*)(std::span<const std::uint8_t> data, bool last, std::vector<std::uint8_t>& out);
    HoldingEncoder(Encode encode, std::string_view end) : encode_(encode), end_(end) {}
    void put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) override;
    void finish(std::vector<std::uint8_t>& out) override;

private:
    Encode encode_;
    std::string_view end_;
    std::vector<std::uint8_t> pending_;
};

using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// Encoders applied one after the other, each to the output of the one
// before; what the last one puts out goes to a sink. Between two pieces it
// holds what its encoders hold back and the output of one piece.
class EncoderChain {
public:
    void add(std::unique_ptr<StreamEncoder> encoder);
    bool empty() const { return encoders_.empty(); }
    // An empty chain hands the piece on as it is.
    void put(std::span<const std::uint8_t> piece, const ByteSink& sink);
    void finish(const ByteSink& sink);

private:
    std::vector<std::unique_ptr<StreamEncoder>> encoders_;
    std::vector<std::vector<std::uint8_t>> outputs_;  // one per encoder, reused
};

// A stream handed over piece by piece: its length, its last four bytes (all
// of them when it is shorter), and `drain`, which gives the pieces to a
// sink in order and lets each go once the sink has it.
struct StreamPieces {
    std::uint64_t size = 0;
    std::string tail;
    std::function<void(const ByteSink&)> drain;
};

}  // namespace pdf
