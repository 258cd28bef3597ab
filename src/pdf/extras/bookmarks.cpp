// Bookmarks: entries of the document outline, written by the document end.
#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/growth.h"
#include "pdf/extras/destination_view.h"

namespace {

// The deepest level an outline item can have.
constexpr std::int32_t kDeepestLevel = 254;

}  // namespace

std::string PdfWriter::AddBookmark(std::string_view Caption, std::int16_t Level, std::int32_t TypeOfBookmark, float X,
                                   float Y, float Width, float Height, float Zoom, std::string_view Color,
                                   std::int32_t FontStyle) {
    const pdf::PublicCall call("AddBookmark");
    std::int32_t level = 0;
    if (OutlineCount >= 1 && static_cast<std::size_t>(OutlineCount) < OutlineEntries.size()) {
        const std::int32_t previous = OutlineEntries[static_cast<std::size_t>(OutlineCount)].Level;
        if (Level == -1) level = previous + 1;
        else if (Level == 0) level = previous;
        else level = Level > previous + 1 ? previous + 1 : Level;
        if (level > kDeepestLevel) return {};
        // Only the title sits at level 0: an entry that would share it (the
        // default level right after the title) or sink below it hangs under
        // the title instead, so the outline stays a tree.
        if (level < 1) level = 1;
    }

    // Everything that can fail is worked out before the entry is added.
    const float x = UserToPageX(X);
    const float y = UserToPageY(Y);
    const float x2 = x + Width * UnitFactor;
    const float y2 = y - Height * UnitFactor;
    std::string view = pdf::destination_view(TypeOfBookmark, x, y, x2, y2, Zoom);

    std::string components;
    if (!Color.empty()) {
        std::string color(Color), pattern_colour;
        ParseColor(color, pattern_colour);
        // An outline item can only carry a plain RGB colour.
        if (color.empty() || color[0] != '#') RaiseError(13, "AddBookmark", pdf::error_text(13));
        components = HexColorToRgb(color);
    }
    std::int16_t style = 0;
    if ((FontStyle & 2) != 0) style += 1;
    if ((FontStyle & 1) != 0) style += 2;

    if (OutlineCount == 2147483647) RaiseError(6, "AddBookmark", pdf::error_text(6));
    OutlineCount += 1;
    pdf::make_room(OutlineEntries, OutlineCount, MemoryFactor);
    OutlineEntry& entry = OutlineEntries[static_cast<std::size_t>(OutlineCount)];
    entry = OutlineEntry{};
    entry.Caption = std::string(Caption);
    entry.Level = static_cast<std::int16_t>(level);
    entry.Page = PageCount >= 1 ? PageCount : 1;
    entry.Destination = std::move(view);
    entry.ColorComponents = std::move(components);
    entry.StyleFlags = style;
    if (!entry.ColorComponents.empty()) RequireVersion(1);
    if (FontStyle != 0) RequireVersion(1);
    return "@" + std::to_string(OutlineCount);
}
