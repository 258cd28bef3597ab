// The last few heights a widget or layout gave for a width: a page's layout
// asks for the same few widths (the page with and without its scroll bar,
// its minimum width) many times between two changes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

class AltezzePerLarghezza {
public:
    std::optional<int> cerca(int larghezza) const {
        for (const Misura& m : misure_)
            if (m.larghezza == larghezza) return m.altezza;
        return std::nullopt;
    }
    void ricorda(int larghezza, int altezza) {
        misure_[prossima_] = {larghezza, altezza};
        prossima_ = (prossima_ + 1) % misure_.size();
    }
    void dimentica() { misure_.fill({}); }

private:
    struct Misura {
        int larghezza = -1;
        int altezza = 0;
    };
    std::array<Misura, 4> misure_{};
    std::size_t prossima_ = 0;
};
