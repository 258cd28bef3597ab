#include "pdf/extras/field_options.h"

namespace pdf {

namespace {

constexpr bool bit(std::int32_t options, int k) { return (static_cast<std::uint32_t>(options) >> k) & 1u; }

// Field flags by their position (counted from 1) in the form-field flags.
constexpr std::int32_t flag(int position) { return static_cast<std::int32_t>(1u << (position - 1)); }

}  // namespace

FieldOptions field_options(std::int32_t type, std::int32_t options) {
    FieldOptions o;
    if (bit(options, 0)) o.annotation_flags |= 2;
    if (!bit(options, 1)) o.annotation_flags |= 4;
    o.background = !bit(options, 2);

    const struct {
        int bit;
        int position;
    } field_bits[] = {{3, 1}, {4, 13}, {5, 14}, {7, 22}, {8, 23}, {9, 24}, {10, 25}};
    for (const auto& b : field_bits)
        if (bit(options, b.bit)) o.field_flags |= flag(b.position);
    if (type == kComboBox) o.field_flags |= flag(18);
    if (type == kRadioButton) o.field_flags |= flag(16) | flag(15);
    if (type == kPushButton) o.field_flags |= flag(17);
    if (bit(options, 8) || bit(options, 9)) o.minor_version = 1;
    if (bit(options, 10)) o.minor_version = 2;

    if (bit(options, 11)) o.alignment = "/Q 2 ";
    else if (bit(options, 12)) o.alignment = "/Q 1 ";
    o.automatic_font_size = bit(options, 13);

    o.border = !bit(options, 14);
    o.border_width = bit(options, 15) ? "2 " : bit(options, 16) ? "3 " : "1 ";
    if (bit(options, 17)) o.border_style = "/S /D /D [ 1 1 ]";
    else if (bit(options, 19)) o.border_style = "/S /I";
    else if (bit(options, 18)) o.border_style = "/S /B";
    else if (bit(options, 20)) o.border_style = "/S /U";
    else o.border_style = "/S /S";

    if (type == kRadioButton) o.check_mark = "l";
    else if (bit(options, 22)) o.check_mark = "5";
    else if (bit(options, 23)) o.check_mark = "F";
    else if (bit(options, 21)) o.check_mark = "l";
    else if (bit(options, 24)) o.check_mark = "H";
    else if (bit(options, 25)) o.check_mark = "n";
    else o.check_mark = "4";

    if (bit(options, 26)) o.rotation = "/R 90 ";
    else if (bit(options, 27)) o.rotation = "/R 180 ";
    else if (bit(options, 28)) o.rotation = "/R 270 ";
    return o;
}

}  // namespace pdf
