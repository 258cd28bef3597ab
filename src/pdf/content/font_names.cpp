#include "pdf/content/font_names.h"

#include "common/cp1252.h"
#include "pdf/content/pdf_name.h"

namespace pdf {

std::string_view style_suffix(std::int32_t style) {
    switch (style & 3) {
        case 1: return ",Bold";
        case 2: return ",Italic";
        case 3: return ",BoldItalic";
        default: return "";
    }
}

FontName font_name(std::string_view family, std::int32_t style, std::int32_t encoding) {
    FontName result;
    std::string name;
    for (char c : family)
        if (c != ' ') name += c;
    const std::string upper = maiuscolo(name);
    result.standard = true;
    if (upper == "TIMES" || upper == "TIMESNEWROMAN") name = "TimesNewRoman";
    else if (upper == "COURIER" || upper == "COURIERNEW") name = "CourierNew";
    else if (upper == "HELVETICA" || upper == "ARIAL") name = "Arial";
    else if (upper == "SYMBOL") name = "Symbol";
    else if (upper == "ZAPFDINGBATS") name = "ZapfDingbats";
    else result.standard = false;
    result.family = name;
    if (name == "CourierNew" || name == "TimesNewRoman" || name == "Arial") name += style_suffix(style);
    if (encoding == 1) name = "MAC" + name;
    result.resource = result.standard ? name : pdf_name(name);
    return result;
}

}  // namespace pdf
