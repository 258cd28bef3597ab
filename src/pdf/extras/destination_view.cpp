#include "pdf/extras/destination_view.h"

#include "pdf/core/number_format.h"

namespace pdf {

std::string destination_view(std::int32_t type, float x, float y, float x2, float y2, float zoom) {
    switch (type) {
        case 0: return "/FitB";
        case 1: return "/FitV " + format_number(x);
        case 2: return "/FitH " + format_number(y);
        case 3:
            return "/FitR " + format_number(x) + " " + format_number(y) + " " + format_number(x2) + " " +
                   format_number(y2);
        case 4: return "/XYZ " + format_number(x) + " " + format_number(y) + " " + format_number(zoom / 100.0f);
        default: return {};
    }
}

}  // namespace pdf
