#include "pdf/extras/check_box_appearance.h"

#include <algorithm>

#include "pdf/content/standard_font_metrics.h"
#include "pdf/core/number_format.h"

namespace pdf {

CheckBoxAppearances check_box_appearances(const CheckBoxLook& look) {
    std::string box;
    if (!look.background.empty())
        box += look.background + " rg 0 0 " + format_number(look.width) + " " + format_number(look.height) +
               " re f\r";
    if (!look.border.empty()) {
        // Stroked inside the box, as readers draw a field's border.
        const float half = look.border_width / 2;
        box += look.border + " RG " + format_number(look.border_width) + " w " + format_number(half) + " " +
               format_number(half) + " " + format_number(look.width - look.border_width) + " " +
               format_number(look.height - look.border_width) + " re S\r";
    }
    // Without a size of its own the mark takes most of the box's shorter
    // side, as readers size an automatic check mark.
    const float size = look.mark_size > 0 ? look.mark_size : 0.8f * std::min(look.width, look.height);
    const auto code = static_cast<unsigned char>(look.mark);
    const float advance = standard_font_widths(StandardFamily::ZapfDingbats, 0)[code] * size / 1000;
    // The marks stand about 0.7 of the size tall on their baseline.
    const float x = (look.width - advance) / 2, y = (look.height - 0.7f * size) / 2;
    CheckBoxAppearances result;
    result.off = box;
    result.on = box + "BT /" + look.font_resource + " " + format_number(size) + " Tf " + look.mark_colour + " rg " +
                format_number(x) + " " + format_number(y) + " Td (" + look.mark + ") Tj ET";
    return result;
}

}  // namespace pdf
