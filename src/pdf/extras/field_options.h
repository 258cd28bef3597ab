// What the Options bits and the type of a form field mean in the field's
// dictionary: flags, border, check mark, rotation, alignment and the PDF
// version they need.
#pragma once

#include <cstdint>
#include <string>

namespace pdf {

// Field type codes of AddField.
enum FieldTypeCode : std::int32_t {
    kTextField = 0,
    kCheckBox = 1,
    kListBox = 2,
    kComboBox = 3,
    kRadioButton = 4,
    kPushButton = 5,
};

struct FieldOptions {
    std::int32_t annotation_flags = 0;  // /F: 2 hidden, 4 printed
    std::int32_t field_flags = 0;       // /Ff
    bool border = true;                 // false: no /BS and no /BC
    std::string border_width;           // "1 ", "2 " or "3 "
    std::string border_style;           // "/S /S", "/S /D /D [ 1 1 ]", ...
    bool background = true;             // false: no /BG
    std::string check_mark;             // ZapfDingbats character of a check box or radio button
    std::string rotation;               // "/R 90 " etc., or ""
    std::string alignment;              // text box: "/Q 2 ", "/Q 1 " or ""
    bool automatic_font_size = false;   // size 0 in the appearance
    std::int32_t minor_version = 0;     // PDF 1.(3 + this) at least
};

// The meaning of `options` (bits counted from 0) for a field of `type`.
FieldOptions field_options(std::int32_t type, std::int32_t options);

}  // namespace pdf
