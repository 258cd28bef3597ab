// Units, paper sizes and margins. Sizes and margins are kept in points and
// converted with the unit in force when they are set.
#include <array>
#include <cmath>

#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/core/error_texts.h"

namespace {

struct PaperSize {
    std::int32_t code;
    float width, height;
};

// -8..7 are close to ISO A0..A7 in whole points (A4 is 596 x 842), odd codes
// the landscape form of the code before; 8..17 the US sizes.
constexpr std::array<PaperSize, 26> paper_sizes{{
    {-8, 2384, 3371}, {-7, 3371, 2384}, {-6, 1685, 2384}, {-5, 2384, 1685}, {-4, 1192, 1685}, {-3, 1685, 1192},
    {-2, 842, 1192},  {-1, 1192, 842},  {0, 596, 842},    {1, 842, 596},    {2, 421, 596},    {3, 596, 421},
    {4, 298, 421},    {5, 421, 298},    {6, 210, 298},    {7, 298, 210},    {8, 612, 792},    {9, 792, 612},
    {10, 792, 1224},  {11, 1224, 792},  {12, 612, 1008},  {13, 1008, 612},  {14, 396, 612},   {15, 612, 396},
    {16, 522, 756},   {17, 756, 522},
}};

bool usable_length(float points) { return std::isfinite(points) && points > 0.0f; }

}  // namespace

void PdfWriter::SetScale(std::int32_t ScaleMode, float UserFactor) {
    switch (ScaleMode) {
        case 0: UnitFactor = 1.0f; break;
        case 1: UnitFactor = 72.0f; break;
        case 2: UnitFactor = 2.8346455f; break;
        case 3: UnitFactor = 28.346457f; break;
        case 255:
            // Every length is divided by the factor somewhere: a factor that
            // is not a positive finite number is refused like an unknown mode.
            if (usable_length(UserFactor)) UnitFactor = UserFactor;
            break;
        default: break;
    }
}

void PdfWriter::SetPaperSize(std::int32_t PaperSize, float UserWidth, float UserHeight) {
    if (PaperSize == 255) {
        const float width = UserWidth * UnitFactor;
        const float height = UserHeight * UnitFactor;
        // An empty (or negative, or endless) page is refused.
        if (usable_length(width) && usable_length(height)) {
            PageWidth = width;
            PageHeight = height;
        }
        return;
    }
    for (const auto& size : paper_sizes) {
        if (size.code == PaperSize) {
            PageWidth = size.width;
            PageHeight = size.height;
            return;
        }
    }
}

void PdfWriter::SetMargins(float Left, float Right, float Top, float Bottom, bool ClipPage_) {
    const pdf::PublicCall call("SetMargins");
    const MarginBox points{Left * UnitFactor, Right * UnitFactor, Top * UnitFactor, Bottom * UnitFactor};
    // Margins larger than the page are accepted (nothing is visible then),
    // but one that is not a finite number would make every page end fail.
    for (float margin : {points.Left, points.Right, points.Top, points.Bottom}) {
        if (!std::isfinite(margin)) RaiseError(5, "SetMargins", pdf::error_text(5));
    }
    Margins = points;
    ClipPage = ClipPage_;
}

float PdfWriter::GetPageWidth(bool KeepMargins) const {
    const float margins = KeepMargins ? Margins.Left + Margins.Right : 0.0f;
    return (PageWidth - margins) / UnitFactor;
}

float PdfWriter::GetPageHeight(bool KeepMargins) const {
    const float margins = KeepMargins ? Margins.Top + Margins.Bottom : 0.0f;
    return (PageHeight - margins) / UnitFactor;
}
