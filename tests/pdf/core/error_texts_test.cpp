// The user reads the writer's errors in Italian, worded as the system words
// each number, in Windows-1252 bytes like every other writer text, under the
// name of the member the program called.
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "support/tools.h"

namespace {

TEST(ErrorTexts, EachNumberHasItsItalianWording) {
    const std::pair<int, const char*> table[] = {
        {5, "Chiamata di routine o argomento non validi"},
        {6, "Overflow"},
        {9, "Indice non compreso nell'intervallo"},
        {13, "Tipo non corrispondente"},
        {52, "Nome o numero di file non valido"},
        {53, "File non trovato"},
        {55, "File gi\xE0 aperto"},
        {62, "Input oltre la fine del file"},
        {321, "Formato di file non valido"},
        {12345, "Errore 12345"},
    };
    for (const auto& [number, text] : table) EXPECT_EQ(pdf::error_text(number), text) << number;

    // A place's own detail follows the wording after " - ".
    PdfWriter writer;
    try {
        writer.DrawArc(0, 0, 1, 0, 90, 1, false, 0);
        ADD_FAILURE() << "Quality 0 accepted";
    } catch (const PdfError& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_EQ(error.description(), pdf::error_text(5) + " - Quality 0");
    }
}

// Every member that can fail names itself as the source, never a routine it
// called inside (a number's formatting, a line's writing, a font's choice, a
// colour's parsing): the user can only relate the member to what was done.
TEST(ErrorTexts, EveryFailingMemberNamesItself) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Row {
        const char* member;
        bool document;  // an open document with a page and Helvetica, else a new writer
        std::function<void(PdfWriter&)> call;
    };
    const Row rows[] = {
        {"AddBookmark", true, [&](PdfWriter& w) { w.AddBookmark("x", 1, 1, nan); }},
        {"AddField", false, [](PdfWriter& w) { std::string n = "x"; std::int32_t t = 0; w.AddField(n, t, 0, 0, 1, 1, ""); }},
        {"AddFont", false, [](PdfWriter& w) { w.AddFont("/nessuna/cartella/font.ttf"); }},
        {"AddGradient", true, [&](PdfWriter& w) { w.AddGradient("g", 0, "Red", "Blue", nan, 0, 1, 1); }},
        {"AddNoteBox", false, [](PdfWriter& w) { w.AddNoteBox("x", 0, 0, 1, 1); }},
        {"AddNoteIcon", false, [](PdfWriter& w) { w.AddNoteIcon("x", 0, 0, 0); }},
        {"AxisRotation", true, [&](PdfWriter& w) { w.AxisRotation(nan); }},
        {"AxisScaling", true, [&](PdfWriter& w) { w.AxisScaling(nan, 1); }},
        {"AxisSkewing", true, [&](PdfWriter& w) { w.AxisSkewing(nan, 0); }},
        {"AxisTranslation", true, [&](PdfWriter& w) { w.AxisTranslation(nan, 0); }},
        {"BeginColumn", true, [&](PdfWriter& w) { w.BeginTable(0, 0); w.BeginRow(10); w.BeginColumn(nan); }},
        {"BeginDoc", false, [](PdfWriter& w) { w.BeginDoc("/nessuna/cartella/x.pdf"); }},
        {"BeginPage", false, [](PdfWriter& w) { w.BeginPage(); w.BeginPage(); }},
        {"BeginRow", true, [&](PdfWriter& w) { w.BeginTable(0, 0); w.BeginColumn(10); w.BeginRow(nan); }},
        {"BeginSpace", true, [&](PdfWriter& w) { w.BeginSpace(nan); }},
        {"BeginTiling", true, [&](PdfWriter& w) { w.BeginTiling("t", nan, 0, 1, 1, 1, 1); }},
        {"DefineRef", true, [&](PdfWriter& w) { w.DefineRef("r", 1, nan, 1); }},
        {"DrawArc", true, [&](PdfWriter& w) { w.DrawArc(nan, 0, 1); }},
        {"DrawBarCode", true, [&](PdfWriter& w) { float x = nan, y = 0; w.DrawBarCode(0, "123456789012", x, y); }},
        {"DrawCircle", true, [&](PdfWriter& w) { w.DrawCircle(nan, 0, 1); }},
        {"DrawCurve", true, [&](PdfWriter& w) { w.DrawCurve(2, nan, 0, 1, 1); }},
        {"DrawEllipse", true, [&](PdfWriter& w) { w.DrawEllipse(nan, 0, 1, 1); }},
        {"DrawImage", true, [](PdfWriter& w) { w.DrawImage("/nessuna/cartella/x.gif", 0, 0); }},
        {"DrawLine", true, [&](PdfWriter& w) { w.DrawLine(nan, 0, 1, 1); }},
        {"DrawLineTo", true, [&](PdfWriter& w) { w.DrawLineTo(nan, 0); }},
        {"DrawPolygon", true, [&](PdfWriter& w) { w.DrawPolygon(nan, 0, 1, 5); }},
        {"DrawPolyline", true, [&](PdfWriter& w) { std::vector<float> p = {nan, 0, 1, 1}; w.DrawPolyline(p); }},
        {"DrawRect", true, [&](PdfWriter& w) { w.DrawRect(nan, 0, 1, 1); }},
        {"DrawText", true, [&](PdfWriter& w) { w.DrawText(nan, 0, "x"); }},
        {"DrawTextBox", true, [&](PdfWriter& w) { w.DrawTextBox(nan, 0, 100, 100, "x"); }},
        {"EndDoc", false, [](PdfWriter& w) { w.EndDoc(); }},
        {"EndObject", false, [](PdfWriter& w) { w.BeginObject("o"); w.EndObject(); }},
        {"EndPage", false, [](PdfWriter& w) { w.BeginPage(); w.EndPage(); }},
        {"EndTiling", false, [](PdfWriter& w) { w.BeginTiling("t", 0, 0, 1, 1, 1, 1); w.EndTiling(); }},
        {"GetInfo", false, [](PdfWriter& w) { w.GetInfo("/nessuna/cartella/x.pdf"); }},
        {"ImportPage", true, [](PdfWriter& w) { w.ImportPage("/nessuna/cartella/x.pdf", 1, 0, 0); }},
        {"LinkTo", false, [](PdfWriter& w) { w.LinkTo("http://example.org"); }},
        {"MoveTo", true, [&](PdfWriter& w) { w.MoveTo(nan, 0); }},
        {"SetAlpha", false, [](PdfWriter& w) { w.SetAlpha(50); }},
        {"SetCharSpacing", true, [&](PdfWriter& w) { w.SetCharSpacing(nan); }},
        {"SetColorFill", true, [](PdfWriter& w) { w.SetColorFill("@99999999999;0;0"); }},
        {"SetColorLine", true, [](PdfWriter& w) { w.SetColorLine("@99999999999;0;0"); }},
        {"SetColorText", true, [](PdfWriter& w) { w.SetColorText("@99999999999;0;0"); }},
        {"SetDash", true, [](PdfWriter& w) { w.SetDash("-1"); }},
        {"SetFont", false, [](PdfWriter& w) { w.SetFont("Times"); }},
        {"SetLineWidth", true, [](PdfWriter& w) { w.SetLineWidth(1e9f); }},
        {"SetMargins", true, [&](PdfWriter& w) { w.SetMargins(nan); }},
        {"SetMemoryUsage", true, [](PdfWriter& w) { w.SetMemoryUsage(-1); }},
        {"SetPageTransition", true, [&](PdfWriter& w) { w.SetPageTransition(1, nan); }},
        {"SetProtection", true, [](PdfWriter& w) { w.SetProtection(4); }},
        {"SetTextHorizontalScaling", true, [&](PdfWriter& w) { w.SetTextHorizontalScaling(nan); }},
        {"SetTextMode", true, [](PdfWriter& w) { w.SetTextMode(8); }},
        {"SetWordSpacing", true, [&](PdfWriter& w) { w.SetWordSpacing(nan); }},
        {"WriteText", false, [](PdfWriter& w) { w.WriteText("x"); }},
        {"WriteTextLn", false, [](PdfWriter& w) { w.WriteTextLn("x"); }},
    };
    testsupport::TempDir dir;
    for (const Row& row : rows) {
        PdfWriter w;
        if (row.document) {
            w.BeginDoc((dir / "doc.pdf").string());
            w.BeginPage();
            w.SetFont("Helvetica", 10);
        }
        const std::string source = std::string("PdfWriter.") + row.member;
        try {
            row.call(w);
            // The members that record their failure and carry on.
            EXPECT_NE(w.ErrNumber(), 0) << row.member << " did not fail";
            EXPECT_EQ(w.ErrSource(), source);
        } catch (const PdfError& error) {
            EXPECT_EQ(error.source(), source) << error.description();
        }
    }
}

}  // namespace
