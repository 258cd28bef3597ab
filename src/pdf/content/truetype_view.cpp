// The one routine that turns font bytes into numbers.
#include "pdf/content/truetype_view.h"

namespace pdf {

std::int64_t ReadTtfNumber(std::span<const std::uint8_t> bytes, std::int64_t position, int size, bool is_unsigned) {
    const auto length = static_cast<std::int64_t>(bytes.size());
    if ((size != 2 && size != 4) || position < 0 || position > length - size)
        throw FontFileError(62, "lettura di " + std::to_string(size) + " byte in " + std::to_string(position) +
                                    " oltre la fine di " + std::to_string(length) + " byte");
    std::int64_t value = 0;
    for (int i = 0; i < size; ++i) value = value * 256 + bytes[static_cast<std::size_t>(position + i)];
    if (!is_unsigned) {
        const std::int64_t half = size == 2 ? 32768 : 2147483648LL;
        if (value >= half) value -= 2 * half;
    }
    return value;
}

}  // namespace pdf
