// What a check box or radio button looks like in each of its two states:
// the content of its appearance streams, so that a reader shows a ticked box
// ticked without building the look itself.
#pragma once

#include <string>

namespace pdf {

struct CheckBoxLook {
    float width = 0, height = 0;       // the box, points
    char mark = '4';                   // ZapfDingbats code of the mark
    float mark_size = 0;               // points; 0 = sized to the box
    std::string mark_colour;           // "r g b"
    std::string background;            // "r g b", empty = none
    std::string border;                // "r g b", empty = none
    float border_width = 1;            // points
    std::string font_resource;         // the resource name of ZapfDingbats
};

struct CheckBoxAppearances {
    std::string on;   // the box with its mark
    std::string off;  // the box alone
};

// The two contents, in the box's own space (origin bottom-left, points).
// Throws PdfError 5 or 6 when a number cannot be written.
CheckBoxAppearances check_box_appearances(const CheckBoxLook& look);

}  // namespace pdf
