// Local coordinate spaces and simple tables. A table is opened rows first
// (each row of column cells) or columns first (each column of row cells);
// every cell is a filled, outlined box whose local space puts (0, 0) at its
// top-left corner until the cell ends.
//
// End members that have no begin of their own kind open in the buffer being
// written do nothing, so a stray end never writes a "Q" without its "q".
#include <cmath>
#include <limits>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/public_call.h"
#include "pdf/core/error_texts.h"

void PdfWriter::BeginSpace(float NewX, float NewY, float ScaleX, float ScaleY, float Angle) {
    const pdf::PublicCall call("BeginSpace");
    // Everything is formatted and checked before the "q", so a refused
    // argument leaves no save open.
    std::string matrix;
    if (!(NewX == 0 && NewY == 0 && ScaleX == 1.0f && ScaleY == 1.0f)) {
        matrix = FormatNumber(ScaleX) + " 0 0 " + FormatNumber(ScaleY) + " " + FormatLength(NewX) + " " +
                 FormatLength(NewY) + " cm";
    }
    if (!std::isfinite(Angle) || std::fabs(Angle) > static_cast<float>(std::numeric_limits<std::int32_t>::max()))
        RaiseError(5, "BeginSpace", pdf::error_text(5) + " - angle");
    PutContent("q");
    const int active = ActiveContentBuffer();
    if (active >= 0) ++OpenLocalSaves[static_cast<std::size_t>(active)].Spaces;
    if (!matrix.empty()) PutContent(matrix);
    if (Angle != 0) AxisRotation(Angle);
    SetXY(0, 0);
}

void PdfWriter::EndSpace() {
    const int active = ActiveContentBuffer();
    if (active < 0 || OpenLocalSaves[static_cast<std::size_t>(active)].Spaces == 0) return;
    --OpenLocalSaves[static_cast<std::size_t>(active)].Spaces;
    PutContent("Q");
}

void PdfWriter::BeginTable(float X, float Y) {
    SetXY(X, Y);
    TableX = X;
    TableY = Y;
    PushGraphicState();
    InRow = false;
    InColumn = false;
    CellOpen = false;
    PutContent("q");
    const int active = ActiveContentBuffer();
    if (active >= 0) ++OpenLocalSaves[static_cast<std::size_t>(active)].Tables;
}

void PdfWriter::EndTable() {
    const int active = ActiveContentBuffer();
    if (active < 0 || OpenLocalSaves[static_cast<std::size_t>(active)].Tables == 0) return;
    --OpenLocalSaves[static_cast<std::size_t>(active)].Tables;
    PutContent("Q");
    PopGraphicState();
}

void PdfWriter::OpenCell(float Width, float Height) {
    // Both rectangles are formatted before the cell's "q" is written.
    std::string background, border;
    if (!FillColor.empty()) {
        const float inset = LineWidth / UnitFactor;
        background = FormatNumber(LineWidth / 2) + " " + FormatNumber(LineWidth / 2) + " " +
                     FormatLength(Width - inset) + " " + FormatLength(Height - inset) + " re f*";
    }
    if (LineWidth > 0) border = "0 0 " + FormatLength(Width) + " " + FormatLength(Height) + " re S";
    BeginSpace(TableX, TableY, 1.0f, 1.0f, 0);
    if (!background.empty()) PutContent(background);
    if (!border.empty()) PutContent(border);
    CellOpen = true;
}

void PdfWriter::BeginRow(float Height) {
    const pdf::PublicCall call("BeginRow");
    if (InColumn) {
        OpenCell(ColumnWidth, Height);
        TableY += Height;
        return;
    }
    RowHeight = Height;
    PushGraphicState();
    InRow = true;
}

void PdfWriter::EndRow() {
    if (InColumn) {
        if (!CellOpen) return;
        EndSpace();
        CellOpen = false;
        InRow = false;
        return;
    }
    if (!InRow) return;
    PopGraphicState();
    CurrentY += RowHeight * UnitFactor;
    TableX = CurrentX / UnitFactor;
    TableY += RowHeight;
    InRow = false;
}

void PdfWriter::BeginColumn(float Width) {
    const pdf::PublicCall call("BeginColumn");
    if (InRow) {
        OpenCell(Width, RowHeight);
        TableX += Width;
        return;
    }
    ColumnWidth = Width;
    PushGraphicState();
    InColumn = true;
}

void PdfWriter::EndColumn() {
    if (InRow) {
        if (!CellOpen) return;
        EndSpace();
        CellOpen = false;
        InColumn = false;
        return;
    }
    if (!InColumn) return;
    PopGraphicState();
    TableX += ColumnWidth;
    TableY = CurrentY / UnitFactor;
    InColumn = false;
}
