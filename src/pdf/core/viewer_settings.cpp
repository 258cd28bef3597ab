// How a viewer presents the document: page rotation, page layout and mode,
// viewer preferences, page-label ranges and page transitions. Nothing is
// written here; the page end and the document end turn these into entries.
#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"

namespace {

// The style of each page-label code 1..5.
constexpr const char* kLabelStyles[] = {" /S /D", " /S /R", " /S /r", " /S /A", " /S /a"};

// The text of each transition code 1..17, after the effect's duration.
constexpr const char* kTransitions[] = {
    "/S /Split /Dm /H /M /I >> ", "/S /Split /Dm /V /M /I >> ", "/S /Split /Dm /H /M /O >> ",
    "/S /Split /Dm /V /M /O >> ", "/S /Wipe /Di 180 >> ",       "/S /Wipe /Di 0 >> ",
    "/S /Wipe /Di 270 >> ",       "/S /Wipe /Di 90 >> ",        "/S /Box /M /I >> ",
    "/S /Box /M /O >> ",          "/S /Blinds /Dm /H >> ",      "/S /Blinds /Dm /V >> ",
    "/S /Dissolve >> ",           "/S /Glitter /Di 0 >> ",      "/S /Glitter /Di 270 >> ",
    "/S /Glitter /Di 315 >> ",    "/S /R >> ",
};

}  // namespace

void PdfWriter::SetPageView(std::int32_t ViewMode_) {
    if (PageOpen) CurrentPageView = ViewMode_;
    else ViewMode = ViewMode_;
}

void PdfWriter::SetViewerPreferences(std::int32_t Mode) { ViewerPreferences = Mode; }

void PdfWriter::SetLabel(std::int32_t PageLabel, std::string_view LabelPrefix, std::int16_t FirstValue) {
    if (PageLabel < 1 || PageLabel > 5) return;
    PageLabelRange range;
    range.PageIndex = PageOpen ? PageCount - 1 : PageCount;
    range.Style = kLabelStyles[PageLabel - 1];
    range.Prefix = std::string(LabelPrefix);
    range.FirstValue = FirstValue;
    PageLabels.push_back(std::move(range));
}

// The prefixes are made into strings only here, inside the catalog, so that
// under protection they are encrypted with the catalog's key.
std::string PdfWriter::PageLabelsEntry() {
    if (PageLabels.empty()) return {};
    std::string nums;
    for (const PageLabelRange& range : PageLabels) {
        std::string s = range.Style;
        if (!range.Prefix.empty()) s += " /P " + PdfTextString(range.Prefix);
        if (range.FirstValue != -1) s += " /St " + std::to_string(range.FirstValue);
        nums += std::to_string(range.PageIndex) + " << " + s + " >> ";
    }
    return "/PageLabels << /Nums [ " + nums + " ] >>";
}

void PdfWriter::SetPageTransition(std::int32_t Transition, float ShowTime, float TransTime) {
    const pdf::PublicCall call("SetPageTransition");
    // Both durations are checked now: a value that cannot be written must
    // not stop the page end halfway through a page.
    std::string t = "<< /Type /Trans /D " + FormatNumber(TransTime) + " ";
    FormatNumber(ShowTime);
    if (Transition == 0) t.clear();
    else if (Transition >= 1 && Transition <= 17) t += kTransitions[Transition - 1];
    // An unknown code is the default effect, but its dictionary is closed so
    // the page object stays readable.
    else t += ">> ";
    if (PageOpen) {
        PageTransitionText = std::move(t);
        PageTransitionDuration = ShowTime;
    } else {
        TransitionText = std::move(t);
        TransitionDuration = ShowTime;
    }
}
