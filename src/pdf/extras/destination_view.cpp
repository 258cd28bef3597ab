#include "pdf/extras/destination_view.h"

#include <algorithm>

#include "pdf/core/number_format.h"

namespace pdf {

std::string destination_view(std::int32_t type, float x, float y, float x2, float y2, float zoom) {
    switch (type) {
        case 0: return "/FitB";
        case 1: return "/FitV " + format_number(x);
        case 2: return "/FitH " + format_number(y);
        case 3:
            // PDF's order, whatever the sign of the width and height given:
            // a reader takes the numbers as they stand.
            return "/FitR " + format_number(std::min(x, x2)) + " " + format_number(std::min(y, y2)) + " " +
                   format_number(std::max(x, x2)) + " " + format_number(std::max(y, y2));
        case 4: return "/XYZ " + format_number(x) + " " + format_number(y) + " " + format_number(zoom / 100.0f);
        default: return {};
    }
}

}  // namespace pdf
