// Interactive form fields: AddField keeps a record per field of the open
// page, which EndPage writes as widget annotations; OnFieldEvent attaches
// scripts to the fields of one name.
#include <cmath>

#include "common/cp1252.h"
#include "pdf/core/error_texts.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/core/text_utils.h"
#include "pdf/extras/check_box_appearance.h"
#include "pdf/extras/field_options.h"

namespace {

// Param as the whole number a maximum length or a default option is.
std::int32_t whole_param(std::string_view param) {
    const double value = std::nearbyint(pdf::leading_number(param));
    if (!(value > 0)) return 0;
    return value >= 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(value);
}

}  // namespace

void PdfWriter::AddField(std::string& FieldName, std::int32_t& FieldType, float X, float Y, float XDim, float YDim,
                         std::string_view Value, std::string_view Param, std::string_view Tooltip,
                         std::int32_t Options) {
    const pdf::PublicCall call("AddField");
    // The text colour goes into the field's appearance: a pattern there would
    // make a field no reader can show, so it is refused before anything of
    // the field exists.
    if (TextColor.empty() || TextColor.front() != '#')
        RaiseError(13, "AddField", pdf::error_text(13) + " - the text colour of a field must be a colour, not a pattern");
    // A widget without a field type is no field at all: readers warn about
    // it and cannot fill it in.
    if (FieldType < pdf::kTextField || FieldType > pdf::kPushButton)
        RaiseError(5, "AddField", pdf::error_text(5) + " - unknown field type " + std::to_string(FieldType));
    const pdf::FieldOptions o = pdf::field_options(FieldType, Options);
    const float x = UserToPageX(X), y = UserToPageY(Y);
    const std::string rect = FormatNumber(x) + " " + FormatNumber(y) + " " + FormatNumber(x + XDim * UnitFactor) +
                             " " + FormatNumber(y - YDim * UnitFactor);
    // Without a selected font the field names Helvetica, which the form's
    // resources always carry.
    const std::string font = SelectedFont() ? CurrentFontName : StandardFontResource("Helvetica");
    const std::string appearance = "/" + font + " " + FormatNumber(o.automatic_font_size ? 0.0f : FontSize) +
                                   " Tf " + HexColorToRgb(TextColor) + " rg ";

    FieldRecord field;
    field.Name = FieldName;
    field.Type = FieldType;
    field.Tooltip = std::string(Tooltip);
    field.Appearance = appearance;
    field.Head = "<< /Type /Annot /Subtype /Widget \r /Rect [ " + rect + "]";
    if (o.annotation_flags != 0) field.Head += " /F " + std::to_string(o.annotation_flags) + " ";
    const std::string background =
        o.background && !FillColor.empty() && FillColor.front() == '#' ? HexColorToRgb(FillColor) : std::string();
    const std::string border =
        o.border && !LineColor.empty() && LineColor.front() == '#' ? HexColorToRgb(LineColor) : std::string();
    if (!background.empty()) field.Characteristics += " /BG [ " + background + " ] ";
    if (!border.empty()) {
        field.Head += "\r/BS << /Type /Border /W " + o.border_width + o.border_style + ">>";
        field.Characteristics += " /BC [ " + border + " ] ";
    }
    field.Characteristics += o.rotation;

    const std::string flags = std::to_string(o.field_flags);
    switch (FieldType) {
        case pdf::kTextField: {
            field.Head += " /FT /Tx /Ff " + flags + " ";
            if (!o.alignment.empty()) field.Head += "\r" + o.alignment;
            const std::int32_t max_length = whole_param(Param);
            if (max_length > 0) field.Head += " /MaxLen " + std::to_string(max_length) + " ";
            field.Value = std::string(Value);
            break;
        }
        case pdf::kCheckBox:
        case pdf::kRadioButton: {
            field.Caption = o.check_mark;
            const bool ticked = minuscolo(Value) == "true";
            field.Head += " /FT /Btn /Ff " + flags;
            field.Head += ticked ? " /V /S#EC /DV /S#EC " : " ";
            // Readers build no look for the on state from /V alone: without
            // appearances of its own a ticked box shows empty.
            pdf::CheckBoxLook look;
            look.width = std::fabs(XDim * UnitFactor);
            look.height = std::fabs(YDim * UnitFactor);
            look.mark = o.check_mark.front();
            look.mark_size = o.automatic_font_size ? 0.0f : FontSize;
            look.mark_colour = HexColorToRgb(TextColor);
            look.background = background;
            look.border = border;
            look.border_width = std::stof(o.border_width);
            look.font_resource = StandardFontResource("ZapfDingbats");
            const pdf::CheckBoxAppearances looks = pdf::check_box_appearances(look);
            const std::int32_t on = WriteAppearanceStream(look.width, look.height, looks.on);
            const std::int32_t off = WriteAppearanceStream(look.width, look.height, looks.off);
            field.Head += std::string(ticked ? "/AS /S#EC" : "/AS /Off") + " /AP << /N << /S#EC " +
                          std::to_string(on) + " 0 R /Off " + std::to_string(off) + " 0 R >> >> ";
            CheckMarkFields = true;
            break;
        }
        case pdf::kListBox:
        case pdf::kComboBox: {
            field.Head += " /FT /Ch /Ff " + flags + " ";
            field.Value = std::string(Value);
            const std::int32_t selected = whole_param(Param);
            field.ChoiceIndex = static_cast<std::int16_t>(selected > 32767 ? 0 : selected);
            break;
        }
        case pdf::kPushButton:
            field.Head += " /FT /Btn /Ff " + flags;
            field.Caption = std::string(Value);
            if (!Param.empty())
                field.Extra = " /A << /S /JavaScript /JS " + std::to_string(WriteContentObject(Param)) + " 0 R >> ";
            break;
    }
    RequireVersion(o.minor_version);

    if (FieldEntries.size() <= static_cast<std::size_t>(PageFieldCount)) FieldEntries.resize(PageFieldCount + 1);
    FieldEntries[static_cast<std::size_t>(PageFieldCount)] = std::move(field);
    ++PageFieldCount;
}

void PdfWriter::OnFieldEvent(std::int32_t& OnEvent, std::string& FieldName, std::string& Action) {
    const pdf::PublicCall call("OnFieldEvent");
    static const char* const keys[] = {" /A ", " /D ", " /E ", " /X ", " /Fo ", " /Bl ", " /K ", " /V ", " /C ", " /F "};
    if (Action.empty() || PageFieldCount == 0 || OnEvent < 0 || OnEvent > 9) return;
    const std::string action = "<< /S /JavaScript /JS " + std::to_string(WriteContentObject(Action)) + " 0 R >> ";
    const std::string branch = FieldName + ".";
    for (std::int32_t i = PageFieldCount - 1; i >= 0; --i) {
        if (static_cast<std::size_t>(i) >= FieldEntries.size()) continue;
        FieldRecord& field = FieldEntries[static_cast<std::size_t>(i)];
        if (field.Name != FieldName && field.Name.compare(0, branch.size(), branch) != 0) continue;
        if (OnEvent == 0) {
            field.Extra = keys[0] + action;
        } else {
            field.Actions += keys[OnEvent] + action;
            if (OnEvent == 8) field.Calculated = true;
        }
    }
}

std::int32_t PdfWriter::WriteAppearanceStream(float Width, float Height, std::string_view Content) {
    const std::int32_t n = WriteObjStart(0);
    WriteLine("<< /Type /XObject /Subtype /Form /BBox [0 0 " + FormatNumber(Width) + " " + FormatNumber(Height) +
              "] /Resources 2 0 R");
    WriteStream(pdf::Bytes(Content.begin(), Content.end()), n);
    WriteObjEnd();
    return n;
}
