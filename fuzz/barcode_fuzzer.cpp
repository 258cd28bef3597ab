// Barcode texts come from whoever calls DrawBarCode: any bytes must give a
// symbol whose bars stay inside its width, or no symbol at all, and never
// read outside a symbology's tables.
#include <cstddef>
#include <cstdint>
#include <string>

#include "pdf/extras/barcode_code128.h"
#include "pdf/extras/barcode_code39.h"
#include "pdf/extras/barcode_ean.h"
#include "pdf/extras/barcode_geometry.h"
#include "pdf/extras/barcode_interleaved_2_of_5.h"
#include "pdf/extras/barcode_postnet.h"

using namespace pdf::barcode;

namespace {

void check(const Symbol& symbol) {
    for (const Bar& bar : symbol.bars)
        if (!(bar.width > 0) || bar.x < 0 || bar.x + bar.width > symbol.width) __builtin_trap();
    const PlacedSymbol placed = place_symbol(symbol, 0, 0, true, 1, 0, 1);
    if (placed.bars.size() != symbol.bars.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool add_check = (data[0] & 1) != 0;
    const std::string code(reinterpret_cast<const char*>(data) + 1, size - 1);
    check(ean13_symbol(code));
    check(ean8_symbol(code));
    check(code39_symbol(code, add_check));
    check(interleaved_2_of_5_symbol(code, add_check));
    check(postnet_symbol(code));
    const Symbol code128 = code128_symbol(code);
    check(code128);
    for (const int value : code128_values(code))
        if (value < 0 || value > 105) __builtin_trap();
    return 0;
}
