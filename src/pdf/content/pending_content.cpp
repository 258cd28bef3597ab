// Fonts, text boxes, free text, transforms, drawing primitives, gradients,
// reusable objects and tiling patterns: not written yet.
#include "pdf/PdfWriter.h"
#include "pdf/core/not_available.h"

using pdf::not_available;

void PdfWriter::SetFont(std::string_view, float, std::int32_t, std::int32_t) { not_available("SetFont"); }
void PdfWriter::SetFontSize(float) { not_available("SetFontSize"); }
float PdfWriter::TextLength(std::string_view) { not_available("TextLength"); }
float PdfWriter::TextHeight() { not_available("TextHeight"); }

std::string PdfWriter::DrawTextBox(float, float, float, float, std::string_view, float, std::int32_t, std::int32_t) {
    not_available("DrawTextBox");
}
float PdfWriter::GetX() { not_available("GetX"); }
float PdfWriter::GetY() { not_available("GetY"); }
void PdfWriter::SetXY(float, float) { not_available("SetXY"); }

void PdfWriter::DrawText(float, float, std::string_view, std::int32_t) { not_available("DrawText"); }
void PdfWriter::WriteText(std::string_view, std::int32_t, float) { not_available("WriteText"); }
void PdfWriter::WriteTextLn(std::string_view) { not_available("WriteTextLn"); }

void PdfWriter::AxisRotation(float) { not_available("AxisRotation"); }
void PdfWriter::AxisScaling(float, float) { not_available("AxisScaling"); }
void PdfWriter::AxisSkewing(float, float) { not_available("AxisSkewing"); }
void PdfWriter::AxisTranslation(float, float) { not_available("AxisTranslation"); }

void PdfWriter::DrawArc(float, float, float, float, float, float, bool, std::int16_t, std::int32_t) {
    not_available("DrawArc");
}
void PdfWriter::DrawCircle(float, float, float, std::int32_t) { not_available("DrawCircle"); }
void PdfWriter::DrawCurve(std::int16_t, float, float, float, float, float, float, std::int32_t) {
    not_available("DrawCurve");
}
void PdfWriter::DrawEllipse(float, float, float, float, std::int32_t) { not_available("DrawEllipse"); }
void PdfWriter::DrawLine(float, float, float, float, std::int32_t) { not_available("DrawLine"); }
void PdfWriter::DrawLineTo(float, float, std::int32_t) { not_available("DrawLineTo"); }
void PdfWriter::DrawPolygon(float, float, float, std::int16_t, std::int32_t) { not_available("DrawPolygon"); }
void PdfWriter::DrawPolyline(std::vector<float>&, std::int32_t) { not_available("DrawPolyline"); }
void PdfWriter::DrawRect(float, float, float, float, std::int32_t, float, std::int32_t) {
    not_available("DrawRect");
}
void PdfWriter::MoveTo(float, float) { not_available("MoveTo"); }

void PdfWriter::AddGradient(std::string_view, std::int32_t, std::string_view, std::string_view, float, float,
                            float, float, float, float, bool, bool) {
    not_available("AddGradient");
}

void PdfWriter::BeginObject(std::string_view, std::int32_t) { not_available("BeginObject"); }
// With nothing open EndObject and EndTiling are ignored.
void PdfWriter::EndObject() {
    if (!ObjectOpen) return;
    not_available("EndObject");
}
void PdfWriter::PlayObject(std::string_view) { not_available("PlayObject"); }
void PdfWriter::BeginTiling(std::string_view, float, float, float, float, float, float, const std::int32_t&) {
    not_available("BeginTiling");
}
void PdfWriter::EndTiling() {
    if (!TilingOpen) return;
    not_available("EndTiling");
}
// BeginPage/EndPage call this only when ObjectCount > 0.
void PdfWriter::PlayAutoObjects(bool) { not_available("BeginPage"); }
