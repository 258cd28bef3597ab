// Path drawing: lines, rectangles, ellipses, arcs, curves, polygons and
// polylines, each painted by the operator its Options select.
#include <cmath>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/core/error_texts.h"

namespace {

constexpr double kDegreesToRadians = 0.0174532925199433;

// An arc or polygon of more points than this is no drawing a caller means;
// it is refused rather than written for minutes.
constexpr double kMostPathPoints = 1.0e6;

}  // namespace

float PdfWriter::UserToPageX(float x) const { return Margins.Left + x * UnitFactor; }
float PdfWriter::UserToPageY(float y) const { return PageHeight - Margins.Top - y * UnitFactor; }

void PdfWriter::MoveTo(float X, float Y) {
    const pdf::PublicCall call("MoveTo");
    PutContent(FormatLength(X) + " " + FormatLength(Y) + " m");
    SetXY(X, Y);
}

void PdfWriter::DrawLine(float X1, float Y1, float X2, float Y2, std::int32_t Options) {
    const pdf::PublicCall call("DrawLine");
    PutContent(FormatLength(X1) + " " + FormatLength(Y1) + " m " + FormatLength(X2) + " " + FormatLength(Y2) +
               " l");
    PaintOperator(Options);
    SetXY(X2, Y2);
    SetLastRect(UserToPageX(X1), UserToPageY(Y1), UserToPageX(X2), UserToPageY(Y2));
}

void PdfWriter::DrawLineTo(float X, float Y, std::int32_t Options) {
    const pdf::PublicCall call("DrawLineTo");
    PutContent(FormatLength(X) + " " + FormatLength(Y) + " l");
    PaintOperator(Options);
    SetXY(X, Y);
}

void PdfWriter::DrawRect(float X, float Y, float XDim, float YDim, std::int32_t Options, float Ray,
                         std::int32_t RoundedCorner) {
    const pdf::PublicCall call("DrawRect");
    if (Ray <= 0) {
        PutContent(FormatLength(X) + " " + FormatLength(Y) + " " + FormatLength(XDim) + " " + FormatLength(YDim) +
                   " re");
    } else {
        if (XDim / 2 < Ray) Ray = XDim / 2;
        if (YDim / 2 < Ray) Ray = YDim / 2;
        const float k = Ray * 0.55f;
        const bool c1 = RoundedCorner & 1, c2 = RoundedCorner & 2, c4 = RoundedCorner & 4, c8 = RoundedCorner & 8;
        const float r1 = c1 ? Ray : 0, r2 = c2 ? Ray : 0, r4 = c4 ? Ray : 0, r8 = c8 ? Ray : 0;
        const float W = XDim, H = YDim;
        auto point = [&](float a, float b) { return FormatLength(a) + " " + FormatLength(b); };
        auto curve = [&](float a, float b, float c, float d, float e, float f) {
            return point(a, b) + " " + point(c, d) + " " + point(e, f) + " c";
        };
        std::string path = point(X + r1, Y) + " m\r";
        path += point(X + W - r2, Y) + " l\r";
        if (c2) path += curve(X + W - Ray + k, Y, X + W, Y + Ray - k, X + W, Y + Ray) + "\r";
        path += point(X + W, Y + H - r4) + " l\r";
        if (c4) path += curve(X + W, Y + H - Ray + k, X + W - Ray + k, Y + H, X + W - Ray, Y + H) + "\r";
        path += point(X + r8, Y + H) + " l\r";
        if (c8) path += curve(X + Ray - k, Y + H, X, Y + H - Ray + k, X, Y + H - Ray) + "\r";
        path += point(X, Y + r1) + " l\r";
        if (c1) path += curve(X, Y + Ray - k, X + Ray - k, Y, X + Ray, Y);
        PutContent(path);
    }
    PaintOperator(Options);
    SetXY(X, Y);
    SetLastRect(UserToPageX(X), UserToPageY(Y), UserToPageX(X + XDim), UserToPageY(Y + YDim));
}

void PdfWriter::DrawCircle(float X, float Y, float Ray, std::int32_t Options) {
    const pdf::PublicCall call("DrawCircle");
    DrawEllipse(X, Y, Ray, Ray, Options);
}

void PdfWriter::DrawEllipse(float X, float Y, float XRay, float YRay, std::int32_t Options) {
    const pdf::PublicCall call("DrawEllipse");
    const double factor = 4.0 / 3.0 * (std::sqrt(2.0) - 1.0);
    const auto kx = static_cast<float>(factor * XRay);
    const auto ky = static_cast<float>(factor * YRay);
    auto point = [&](float a, float b) { return FormatLength(a) + " " + FormatLength(b); };
    std::string path = point(X + XRay, Y) + " m\r";
    path += point(X + XRay, Y - ky) + " " + point(X + kx, Y - YRay) + " " + point(X, Y - YRay) + " c\r";
    path += point(X - kx, Y - YRay) + " " + point(X - XRay, Y - ky) + " " + point(X - XRay, Y) + " c\r";
    path += point(X - XRay, Y + ky) + " " + point(X - kx, Y + YRay) + " " + point(X, Y + YRay) + " c\r";
    path += point(X + kx, Y + YRay) + " " + point(X + XRay, Y + ky) + " " + point(X + XRay, Y) + " c";
    PutContent(path);
    PaintOperator(Options);
    SetXY(X, Y);
    SetLastRect(UserToPageX(X - XRay), UserToPageY(Y - YRay), UserToPageX(X + XRay), UserToPageY(Y + YRay));
}

void PdfWriter::DrawArc(float X, float Y, float Ray, float StartAngle, float EndAngle, float Ratio, bool Pie,
                        std::int16_t Quality, std::int32_t Options) {
    const pdf::PublicCall call("DrawArc");
    // A step of 0 would never reach the end angle, and a span of millions of
    // steps would write for ever: both are refused before anything is written.
    if (Quality == 0) RaiseError(5, "DrawArc", pdf::error_text(5) + " - Quality 0");
    if (!std::isfinite(StartAngle) || !std::isfinite(EndAngle))
        RaiseError(5, "DrawArc", pdf::error_text(5) + " - angle not finite");
    const double span = (static_cast<double>(EndAngle) - StartAngle) / Quality;
    if (span > kMostPathPoints) RaiseError(6, "DrawArc", pdf::error_text(6) + " - too many points");
    // Float accumulation as the angle is stepped; the count bound only
    // guards against a step too small to move a large angle.
    const auto bound = static_cast<long>(span < 0 ? 0 : span) + 2;

    std::string path = FormatLength(X) + " " + FormatLength(Y) + " m";
    if (Options & 4) Pie = true;
    const auto step = static_cast<float>(Quality);
    long count = 0;
    for (float a = StartAngle; step > 0 ? a <= EndAngle : a >= EndAngle; a += step) {
        if (++count > bound) break;
        const double t = static_cast<double>(a) * kDegreesToRadians;
        const auto dx = static_cast<float>(Ray * std::cos(t));
        const auto dy = static_cast<float>(Ray * Ratio * std::sin(t));
        const std::string point = FormatLength(X + dx) + " " + FormatLength(Y + dy);
        if (a == StartAngle && !Pie) path += "\r" + point + " m";
        path += "\r" + point + " l";
    }
    if (Pie) path += "\r" + FormatLength(X) + " " + FormatLength(Y) + " l";
    // One content line per segment, as PutContent would have written them.
    std::size_t start = 0;
    for (;;) {
        const std::size_t cr = path.find('\r', start);
        PutContent(std::string_view(path).substr(start, cr == std::string::npos ? std::string::npos : cr - start));
        if (cr == std::string::npos) break;
        start = cr + 1;
    }
    PaintOperator(Options);
    SetXY(X, Y);
    SetLastRect(UserToPageX(X - Ray), UserToPageY(Y - Ray), UserToPageX(X + Ray), UserToPageY(Y + Ray));
}

void PdfWriter::DrawCurve(std::int16_t CurveType, float X1, float Y1, float X2, float Y2, float X3, float Y3,
                          std::int32_t Options) {
    const pdf::PublicCall call("DrawCurve");
    auto point = [&](float a, float b) { return FormatLength(a) + " " + FormatLength(b); };
    switch (CurveType) {
        case 1:
            PutContent(point(X1, Y1) + " " + point(X2, Y2) + " " + point(X3, Y3) + " c");
            break;
        case 2: PutContent(point(X1, Y1) + " " + point(X2, Y2) + " v"); break;
        case 3: PutContent(point(X1, Y1) + " " + point(X2, Y2) + " y"); break;
        default: break;
    }
    PaintOperator(Options);
    if (CurveType == 1) SetXY(X3, Y3);
    else if (CurveType == 2 || CurveType == 3) SetXY(X2, Y2);
}

void PdfWriter::DrawPolygon(float X, float Y, float Ray, std::int16_t Sides, std::int32_t Options) {
    const pdf::PublicCall call("DrawPolygon");
    if (Sides == 0) RaiseError(11, "DrawPolygon", pdf::error_text(11) + " - a polygon of 0 sides");
    const float R = std::fabs(Ray);
    const float step = 360.0f / static_cast<float>(Sides);
    const float s = step < 0 ? -1.0f : 1.0f;
    auto point = [&](float a, float b) { return FormatLength(a) + " " + FormatLength(b); };
    std::string path = point(X + s * R, Y) + " m";
    // Sides is 16-bit, so the loop ends after at most 32,768 vertices.
    for (float a = step; std::fabs(a) < 360.0f; a += step) {
        const double t = static_cast<double>(a) * kDegreesToRadians;
        const auto x = static_cast<float>(X + s * R * std::cos(t));
        const auto y = static_cast<float>(Y + R * std::sin(t));
        path += '\r';
        path += point(x, y);
        path += " l";
    }
    PutContent(path);
    PaintOperator(Options | 2);
    SetXY(X, Y);
    SetLastRect(UserToPageX(X - R), UserToPageY(Y - R), UserToPageX(X + R), UserToPageY(Y + R));
}

void PdfWriter::DrawPolyline(std::vector<float>& Points, std::int32_t Options) {
    const pdf::PublicCall call("DrawPolyline");
    // A missing y or no point at all is refused before anything changes.
    if (Points.empty() || Points.size() % 2 != 0)
        RaiseError(9, "DrawPolyline", pdf::error_text(9) + " - points come in x, y pairs");
    std::string path;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    for (std::size_t i = 0; i < Points.size(); i += 2) {
        const float px = Points[i] * UnitFactor;
        const float py = Points[i + 1] * UnitFactor;
        path += FormatNumber(px) + " " + FormatNumber(py) + (i == 0 ? " m\r" : " l\r");
        const float page_x = Margins.Left + px;
        const float page_y = PageHeight - Margins.Top - py;
        if (i == 0) {
            x1 = x2 = page_x;
            y1 = y2 = page_y;
        } else {
            if (page_x < x1) x1 = page_x;
            if (page_x > x2) x2 = page_x;
            if (page_y < y1) y1 = page_y;
            if (page_y > y2) y2 = page_y;
        }
    }
    SetLastRect(x1, y1, x2, y2);
    PutContent(path);
    PaintOperator(Options);
    if (Options & 2) SetXY(Points[0], Points[1]);
    else SetXY(Points[Points.size() - 2], Points[Points.size() - 1]);
}
