#include "pdf/core/stream_encoder.h"

namespace pdf {

void HoldingEncoder::put(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) {
    pending_.insert(pending_.end(), data.begin(), data.end());
    pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(encode_(pending_, false, out)));
}

void HoldingEncoder::finish(std::vector<std::uint8_t>& out) {
    encode_(pending_, true, out);
    pending_.clear();
    out.insert(out.end(), end_.begin(), end_.end());
}

void EncoderChain::add(std::unique_ptr<StreamEncoder> encoder) {
    encoders_.push_back(std::move(encoder));
    outputs_.emplace_back();
}

void EncoderChain::put(std::span<const std::uint8_t> piece, const ByteSink& sink) {
    for (std::size_t k = 0; k < encoders_.size(); ++k) {
        outputs_[k].clear();
        encoders_[k]->put(piece, outputs_[k]);
        piece = outputs_[k];
    }
    if (!piece.empty()) sink(piece);
}

void EncoderChain::finish(const ByteSink& sink) {
    // What an encoder puts out at its end goes through the ones after it
    // before they end in turn.
    std::span<const std::uint8_t> rest;
    for (std::size_t k = 0; k < encoders_.size(); ++k) {
        outputs_[k].clear();
        encoders_[k]->put(rest, outputs_[k]);
        encoders_[k]->finish(outputs_[k]);
        rest = outputs_[k];
    }
    if (!rest.empty()) sink(rest);
}

}  // namespace pdf
