// Links (clickable rectangles over what was drawn last) and named places of
// a page that links can jump to.
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/cp1252.h"
#include "pdf/core/error_texts.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/content/pdf_name.h"
#include "pdf/core/text_utils.h"
#include "pdf/extras/destination_view.h"
#include "pdf/extras/layer_switch.h"

namespace {

bool starts_with(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The whole number a typed text starts with, rounded half to even as the
// page numbers of links always were, kept inside 32 bits.
std::int64_t leading_whole_number(std::string_view text) {
    const double value = std::nearbyint(pdf::leading_number(text));
    if (!(value > -2147483648.0)) return -2147483648LL;
    if (!(value < 2147483647.0)) return 2147483647LL;
    return static_cast<std::int64_t>(value);
}

std::int32_t clamp_page(std::int64_t page) {
    if (page > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (page < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(page);
}

}  // namespace

std::int32_t PdfWriter::AddDestination(std::int32_t Page, std::string View, std::string Name) {
    ++DestinationCount;
    if (DestinationEntries.size() <= static_cast<std::size_t>(DestinationCount))
        DestinationEntries.resize(static_cast<std::size_t>(DestinationCount) + 1);
    DestinationEntries[static_cast<std::size_t>(DestinationCount)] = {Page, std::move(View), std::move(Name)};
    return DestinationCount;
}

void PdfWriter::LinkTo(std::string_view Destination, std::int16_t BorderWidth, std::int32_t OnMouseDown,
                       std::int32_t TypeOfLink, float X, float Y, float Width, float Height, float Zoom) {
    const pdf::PublicCall call("LinkTo");
    const bool uri = starts_with(Destination, "http:") || starts_with(Destination, "https:") ||
                     starts_with(Destination, "mailto:");
    const bool file = starts_with(Destination, "file:"), script = starts_with(Destination, "script:"),
               ref = starts_with(Destination, "ref:"), layer = starts_with(Destination, "layer:"),
               page = starts_with(Destination, "page:"), bookmark = starts_with(Destination, "bookmark:@");
    if (!(uri || file || script || ref || layer || page || bookmark)) return;

    // Everything that can fail is settled before anything is written.
    std::size_t outline_entry = 0;
    if (bookmark) {
        const std::int64_t n = leading_whole_number(Destination.substr(10));
        if (n < 1 || n > OutlineCount || static_cast<std::size_t>(n) >= OutlineEntries.size())
            RaiseError(9, "LinkTo", pdf::error_text(9) + " - no bookmark " + std::to_string(n));
        outline_entry = static_cast<std::size_t>(n);
    }
    const std::string rect = FormatNumber(LastRect[0]) + " " + FormatNumber(LastRect[1]) + " " +
                             FormatNumber(LastRect[2]) + " " + FormatNumber(LastRect[3]);
    std::string view;
    if (page) {
        const float x = UserToPageX(X), y = UserToPageY(Y);
        view = pdf::destination_view(TypeOfLink, x, y, x + Width * UnitFactor, y - Height * UnitFactor, Zoom);
        if (!view.empty()) view = " " + view;
    }

    std::string border = BorderWidth != 0 ? "/Border [ 0 0 " + std::to_string(BorderWidth) + "]\r" : "/Border [ 0 0 0] ";
    switch (OnMouseDown) {
        case 0: border += " /H /N\r"; break;
        case 1: border += " /H /I\r"; break;
        case 2: border += " /H /O\r"; break;
        case 3: border += " /H /P\r"; break;
        default: break;
    }

    if (page || bookmark) {
        std::int32_t target = 0;
        if (bookmark) {
            const OutlineEntry& entry = OutlineEntries[outline_entry];
            target = entry.Page;
            view = entry.Destination;
        } else {
            const std::string_view rest = Destination.substr(5);
            if (starts_with(rest, "+") || starts_with(rest, "-")) {
                target = clamp_page(std::max<std::int64_t>(1, std::int64_t{PageCount} + leading_whole_number(rest)));
            } else if (starts_with(rest, "#")) {
                const std::string keyword = maiuscolo(rest.substr(1));
                if (keyword == "FIRST") target = 1;
                else if (keyword == "LAST") target = -1;
                else if (keyword == "NEXT") target = clamp_page(std::int64_t{PageCount} + 1);
                else if (keyword == "PREV") target = PageCount - 1;
            } else {
                target = clamp_page(leading_whole_number(rest));
            }
        }
        // The entry is added once its link is written: a link that fails
        // (no document open) leaves no destination behind for the next one.
        if (DestinationCount == std::numeric_limits<std::int32_t>::max())
            RaiseError(6, "LinkTo", pdf::error_text(6));
        const std::string name = "/_LINK_" + std::to_string(DestinationCount + 1);
        std::string dictionary = "<< /Type /Annot\r/Subtype /Link\r/Rect [" + rect + "]\r" + border + "/Dest " + name;
        WriteAnnotation(dictionary, {}, {}, {}, {});
        AddDestination(target, std::move(view), name);
        return;
    }

    std::string dictionary = "<< /Type /Annot\r/Subtype /Link /Rect [" + rect + "]\r" + border + "\r";
    if (uri || file) {
        WriteAnnotation(dictionary, {}, {}, {}, Destination);
    } else if (script || layer) {
        const std::string code = script ? std::string(Destination.substr(7)) : pdf::layer_switch_script(Destination.substr(6));
        dictionary += "/A << /S /JavaScript /JS " + std::to_string(WriteContentObject(code)) + " 0 R >> ";
        WriteAnnotation(dictionary, {}, {}, {}, {});
    } else {
        dictionary += "/Dest /_REF_" + pdf::pdf_name(Destination.substr(4));
        WriteAnnotation(dictionary, {}, {}, {}, {});
    }
}

void PdfWriter::DefineRef(std::string_view RefName, std::int32_t TypeOfBookmark, float X, float Y, float Width,
                          float Height, float Zoom) {
    const pdf::PublicCall call("DefineRef");
    // No coordinate given: the current point, which is kept inside the
    // margin box like every drawing position.
    const float x = X == 0 ? Margins.Left + CurrentX : UserToPageX(X);
    const float y = Y == 0 ? PageHeight - Margins.Top - CurrentY : UserToPageY(Y);
    std::string view =
        pdf::destination_view(TypeOfBookmark, x, y, x + Width * UnitFactor, y - Height * UnitFactor, Zoom);
    AddDestination(PageCount, std::move(view), "/_REF_" + pdf::pdf_name(RefName));
}
