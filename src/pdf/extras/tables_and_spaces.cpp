// Local coordinate spaces and simple tables. A table is opened rows first
// (each row of column cells) or columns first (each column of row cells);
// every cell is a filled, outlined box whose local space puts (0, 0) at its
// top-left corner until the cell ends.
//
// End members write their "Q" only against a "q" of their own kind open in
// the buffer being written, so a stray end never writes a "Q" without its
// "q"; a page, object or pattern that ends closes what is still open in it.
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
    OpenMark(SpaceMark);
    if (!matrix.empty()) PutContent(matrix);
    if (Angle != 0) AxisRotation(Angle);
    SetXY(0, 0);
}

void PdfWriter::EndSpace() {
    if (CloseMark(SpaceMark)) PutContent("Q");
}

void PdfWriter::BeginTable(float X, float Y) {
    // Rows and columns have one level: a table begun in a cell would take
    // over the outer table's rows, whose next cell would be drawn over this
    // one.
    if (CellOpen) RaiseError(55, "BeginTable", "Una tabella non pu\xF2 iniziare dentro una cella di un'altra tabella");
    SetXY(X, Y);
    TableX = X;
    TableY = Y;
    TableStates.push_back(GraphicStateStack.size());
    PushGraphicState();
    InRow = false;
    InColumn = false;
    PutContent("q");
    OpenMark(TableMark);
}

void PdfWriter::EndTable() {
    if (TableStates.empty()) return;
    const std::size_t below = TableStates.back();
    TableStates.pop_back();
    // The "Q" only where its "q" is: a table carried to a new page had it
    // closed with the page it began on. Rows and columns left open end with
    // their table.
    if (CloseMark(TableMark)) PutContent("Q");
    InRow = false;
    InColumn = false;
    CellOpen = false;
    // The state the table saved comes back wherever the table ends.
    if (GraphicStateStack.size() <= below) return;
    GraphicStateStack.resize(below + 1);
    PopGraphicState();
}

void PdfWriter::CarryTableOver() {
    // The rest of the table starts at the top of the next page's content:
    // the old page's Y would put it below the new page's edge.
    TableY = 0;
    // A row or column left open began on the old page: its end must go on
    // from the new top, not bring back where it began.
    if ((InRow || InColumn) && !GraphicStateStack.empty()) GraphicStateStack.back().CurrentY = 0;
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
