// Encoder of the RunLengthDecode stream filter.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pdf/core/stream_encoder.h"

namespace pdf {

// Runs are chosen greedily from the start: a repeat run for two or more
// equal bytes (at most 128), otherwise a literal run (at most 128) that stops
// in front of the first byte equal to its successor; 128 ends the data.
std::vector<std::uint8_t> encode_run_length(std::span<const std::uint8_t> data);

// The same runs for input given piece by piece; it holds back the last 129
// bytes of what it has been given, whose runs depend on what follows.
class RunLengthEncoder : public HoldingEncoder {
public:
    RunLengthEncoder();
};

}  // namespace pdf
