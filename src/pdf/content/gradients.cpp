// Axial and radial gradients: shading patterns usable as fill or stroke
// colours by their name.
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/content/pdf_name.h"
#include "pdf/core/text_utils.h"

void PdfWriter::AddGradient(std::string_view Alias, std::int32_t Style, std::string_view StartColor,
                            std::string_view EndColor, float XStart, float YStart, float XEnd, float YEnd,
                            float RStart, float REnd, bool ExtendBefore, bool ExtendAfter) {
    const pdf::PublicCall call("AddGradient");
    std::string start(StartColor), end(EndColor), ignored;
    ParseColor(start, ignored);
    ParseColor(end, ignored);

    // Pattern space is the page's default space, or inside a reusable object
    // the object's space, which is the user space the page paints it in. The
    // matrix maps the top-down user coordinates onto either, margins
    // included, so the gradient lands where drawing at the same coordinates
    // lands.
    std::string origin_x, origin_y;
    if (ObjectOpen) {
        const float usable = GetPageHeight(true);
        YStart = usable - YStart;
        YEnd = usable - YEnd;
        origin_x = "0";
        origin_y = FormatNumber(usable * UnitFactor);
    } else {
        origin_x = FormatNumber(Margins.Left);
        origin_y = FormatNumber(PageHeight - Margins.Top);
    }

    std::string dictionary = "<</Type /Pattern /PatternType 2 /Matrix [ 1 0 0 -1 " + origin_x + " " + origin_y +
                             "] /Shading <<\r\n";
    dictionary += "/ColorSpace /DeviceRGB\r";
    if (Style == 1)
        dictionary += "/ShadingType 3 /Coords [" + FormatLength(XStart) + " " + FormatLength(YStart) + " " +
                      FormatLength(RStart) + " " + FormatLength(XEnd) + " " + FormatLength(YEnd) + " " +
                      FormatLength(REnd) + "]\r";
    else
        dictionary += "/ShadingType 2 /Coords [" + FormatLength(XStart) + " " + FormatLength(YStart) + " " +
                      FormatLength(XEnd) + " " + FormatLength(YEnd) + "]\r";
    dictionary += "/Extend [" + BoolToPdf(ExtendBefore) + " " + BoolToPdf(ExtendAfter) + "] \r";
    dictionary += "/Function \r";
    dictionary += "<< /FunctionType 3 /Domain [0.000 1.000] /Bounds [] /Encode [0 1 ] \r";
    dictionary += "/Functions [\r";
    dictionary += "<< /FunctionType 2 /Domain [0.000 1.000] /C0 [" + HexColorToRgb(start) + "] /C1 [" +
                  HexColorToRgb(end) + "] /N 1 >>]\r";
    dictionary += ">>\r>>\r>>";

    const std::int32_t n = WriteObjStart(0);
    WriteLine(dictionary);
    WriteObjEnd();
    // A valid name, written the way the colour setters write it; a name
    // used again gets a resource of its own, as for tiling patterns.
    PatternResources += "/" + NewPatternResource(pdf::pdf_name(pdf::upper_case(pdf::trim_blanks(Alias)))) + " " +
                        std::to_string(n) + " 0 R \r";
}
