// Coordinate transforms: each writes one "cm" that multiplies into the
// current system of the page, object or pattern being drawn. Nothing undoes
// them but the graphics-state nesting of their container.
#include <cmath>
#include <limits>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/core/error_texts.h"

namespace {

constexpr double kDegreesToRadians = 0.0174532925199433;

// A tangent beyond this would need an exponent in the file; the skew is
// then as good as degenerate anyway.
constexpr float kLargestSkew = 1.0e6f;

}  // namespace

void PdfWriter::AxisRotation(float Angle) {
    const pdf::PublicCall call("AxisRotation");
    if (!std::isfinite(Angle)) RaiseError(5, "AxisRotation", pdf::error_text(5) + " - angle not finite");
    const double whole = std::nearbyint(static_cast<double>(Angle));  // halves to even
    if (whole > std::numeric_limits<std::int32_t>::max() || whole < std::numeric_limits<std::int32_t>::min())
        RaiseError(6, "AxisRotation", pdf::error_text(6));
    if (static_cast<std::int64_t>(whole) % 360 == 0) return;
    const double r = static_cast<double>(Angle) * kDegreesToRadians;
    const auto cosine = static_cast<float>(std::cos(r));
    const auto sine = static_cast<float>(std::sin(r));
    PutContent(FormatNumber(cosine) + " " + FormatNumber(-sine) + " " + FormatNumber(sine) + " " +
               FormatNumber(cosine) + " 0 0 cm");
}

void PdfWriter::AxisScaling(float ScaleX, float ScaleY) {
    const pdf::PublicCall call("AxisScaling");
    PutContent(FormatNumber(ScaleX) + " 0 0 " + FormatNumber(ScaleY) + " 0 0 cm");
}

void PdfWriter::AxisSkewing(float AngleX, float AngleY) {
    const pdf::PublicCall call("AxisSkewing");
    const auto a = static_cast<float>(std::tan(static_cast<double>(AngleX) * kDegreesToRadians));
    const auto b = static_cast<float>(std::tan(static_cast<double>(AngleY) * kDegreesToRadians));
    if (!std::isfinite(a) || !std::isfinite(b) || std::fabs(a) > kLargestSkew || std::fabs(b) > kLargestSkew)
        RaiseError(5, "AxisSkewing", pdf::error_text(5) + " - skew angle too close to 90 degrees");
    PutContent("1 " + FormatNumber(a) + " " + FormatNumber(b) + " 1 0 0 cm");
}

void PdfWriter::AxisTranslation(float TranslateX, float TranslateY) {
    const pdf::PublicCall call("AxisTranslation");
    PutContent("1 0 0 1 " + FormatLength(TranslateX) + " " + FormatLength(TranslateY) + " cm");
    SetXY(0, 0);
}
