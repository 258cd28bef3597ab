// Local spaces, tables, rows and columns: the cell geometry in the content,
// the writer's state around them, stray end members, and a rendered table.
#include <algorithm>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../content/content_fixture.h"

namespace {

using contenttest::count_of;
using contenttest::Document;
using contenttest::expect_pdf_error;
using contenttest::page_content;

std::vector<std::string> lines_of(const std::string& content) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : content + "\r") {
        if (c == '\r') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    return lines;
}

// The save, restore, transform and rectangle lines: the cells' geometry
// without the colour lines that restoring the state writes.
std::vector<std::string> geometry_of(const std::string& content) {
    std::vector<std::string> kept;
    for (const std::string& line : lines_of(content))
        if (line == "q" || line == "Q" || line.ends_with(" cm") || line.ends_with(" re f*") ||
            line.ends_with(" re S"))
            kept.push_back(line);
    return kept;
}

using Lines = std::vector<std::string>;

TEST(LocalSpaces, SaveTransformAndNewOrigin) {
    struct Row {
        float x, y, sx, sy, angle;
        int scale;
        Lines expected;
    };
    const Row rows[] = {
        {0, 0, 1, 1, 0, 0, {"q", "Q"}},
        {0, 0, 1, 1, 90, 0, {"q", "0 -1 1 0 0 0 cm", "Q"}},
        {10, 20, 2, 3, 0, 0, {"q", "2 0 0 3 10 20 cm", "Q"}},
        {0, 0, 1, 0.5f, 0, 0, {"q", "1 0 0 0.5 0 0 cm", "Q"}},
        {10, 0, 1, 1, 0, 2, {"q", "1 0 0 1 28.346 0 cm", "Q"}},
    };
    for (const Row& row : rows) {
        Document doc;
        PdfWriter& w = doc.first_page();
        w.SetScale(row.scale);
        w.SetXY(5, 5);
        w.BeginSpace(row.x, row.y, row.sx, row.sy, row.angle);
        EXPECT_EQ(w.GetX(), 0);
        EXPECT_EQ(w.GetY(), 0);
        w.EndSpace();
        EXPECT_EQ(lines_of(page_content(doc.finish())), row.expected) << row.x << " " << row.angle;
    }
}

TEST(Tables, RowsOfColumnsAndColumnsOfRows) {
    Document doc;
    PdfWriter& w = doc.first_page();
    w.SetLineWidth(2);
    w.BeginTable(10, 100);
    w.BeginRow(20);
    w.BeginColumn(30);
    EXPECT_EQ(w.GetX(), 0);  // the cell's content starts at its corner
    w.EndColumn();
    w.BeginColumn(50);
    w.EndColumn();
    w.EndRow();
    EXPECT_EQ(w.GetX(), 10);  // the next row starts under the first
    EXPECT_EQ(w.GetY(), 120);
    w.BeginRow(10);
    w.BeginColumn(30);
    w.EndColumn();
    w.EndRow();
    w.EndTable();

    w.SetLineWidth(0);  // no border; the background fills the whole cell
    w.BeginTable(200, 100);
    w.BeginColumn(30);
    w.BeginRow(20);
    w.EndRow();
    w.BeginRow(10);
    w.EndRow();
    w.EndColumn();
    w.BeginColumn(40);
    w.BeginRow(5);
    w.EndRow();
    w.EndColumn();
    w.EndTable();
    EXPECT_EQ(geometry_of(page_content(doc.finish())),
              (Lines{"q",
                     "q", "1 0 0 1 10 100 cm", "1 1 28 18 re f*", "0 0 30 20 re S", "Q",
                     "q", "1 0 0 1 40 100 cm", "1 1 48 18 re f*", "0 0 50 20 re S", "Q",
                     "q", "1 0 0 1 10 120 cm", "1 1 28 8 re f*", "0 0 30 10 re S", "Q",
                     "Q",
                     "q",
                     "q", "1 0 0 1 200 100 cm", "0 0 30 20 re f*", "Q",
                     "q", "1 0 0 1 200 120 cm", "0 0 30 10 re f*", "Q",
                     "q", "1 0 0 1 230 100 cm", "0 0 40 5 re f*", "Q",
                     "Q"}));
}

TEST(Tables, EndingATableRestoresTheWritersState) {
    Document doc;
    PdfWriter& w = doc.first_page();
    w.SetScale(2);
    w.SetColorFill("RED");
    w.SetLineWidth(0.5f);
    const float page_width = w.GetPageWidth();
    w.BeginTable(10, 10);
    w.BeginRow(5);
    w.BeginColumn(5);
    w.SetScale(0);
    w.SetColorFill("#0000FF");
    w.SetLineWidth(3);
    w.EndColumn();
    w.EndRow();
    w.BeginRow(5);  // the next row, 5 mm lower: in the table's unit
    w.BeginColumn(5);
    w.EndColumn();
    w.EndRow();
    w.EndTable();
    EXPECT_FLOAT_EQ(w.GetPageWidth(), page_width);
    EXPECT_FLOAT_EQ(w.GetX(), 10);
    const Lines lines = lines_of(page_content(doc.finish()));
    const auto last_restore = std::find(lines.rbegin(), lines.rend(), "Q");
    const Lines after(lines.end() - (last_restore - lines.rbegin()), lines.end());
    EXPECT_EQ(after, (Lines{"0 0 0 RG", "0.969 0.071 0.051 rg"}));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "1 0 0 1 28.346 42.52 cm"), lines.end());
    // A width comes back only where it changed: at the row's end, not again
    // at the table's.
    Lines widths;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(widths),
                 [](const std::string& line) { return line.ends_with(" w"); });
    EXPECT_EQ(widths, (Lines{"1.417 w", "3 w", "1.417 w"}));
}

TEST(Tables, EndsWithoutTheirBeginWriteNothing) {
    Document doc;
    PdfWriter& w = doc.first_page();
    w.EndSpace();
    w.EndTable();
    w.EndRow();
    w.EndColumn();
    w.BeginSpace(5, 5);
    w.BeginTable(0, 0);
    w.EndSpace();
    w.EndSpace();  // the space is closed already: the table's save stays
    w.EndTable();
    w.EndTable();
    w.BeginSpace();  // left open: the page's end closes it
    w.BeginObject("logo");
    w.EndSpace();
    w.BeginLayer("Logo");  // left open: the object's end closes it
    w.EndObject();
    w.BeginTiling("Trama", 0, 0, 10, 10, 10, 10);
    w.BeginSpace();  // left open: the pattern's end closes it
    w.EndTiling();
    w.BeginPage();
    w.EndSpace();
    w.BeginTable(0, 0);
    w.BeginRow(10);
    w.EndColumn();  // no cell is open in this row
    w.EndRow();
    w.EndRow();
    w.EndTable();
    w.SetColorFill("#FF0000");
    w.BeginTable(50, 50);
    w.SetColorFill("#0000FF");
    w.BeginRow(10);  // left open: it ends with its table
    w.EndTable();
    w.EndRow();
    EXPECT_EQ(w.GetY(), 50) << "the row ended with its table";
    w.DrawRect(0, 0, 1, 1, 4);
    const std::string pdf = doc.finish();
    const std::string first = page_content(pdf);
    const std::string second = page_content(pdf, pdf.find("endstream", pdf.find("0 0 0 RG")));
    EXPECT_EQ(geometry_of(first), (Lines{"q", "1 0 0 1 5 5 cm", "q", "Q", "Q", "q", "Q"}));
    EXPECT_EQ(geometry_of(second), (Lines{"q", "Q", "q", "Q"}));
    const Lines second_lines = lines_of(second);
    EXPECT_EQ(*std::find_if(second_lines.rbegin(), second_lines.rend(),
                            [](const std::string& line) { return line.ends_with(" rg"); }),
              "1 0 0 rg")
        << "the fill from before the table, not the row's";
    EXPECT_NE(pdf.find("\r/OC /_LAY_1 BDC\rEMC\nendstream"), std::string::npos) << "the object's stream";
    EXPECT_NE(pdf.find(" cm\rq\rQ\nendstream"), std::string::npos) << "the pattern's stream";
}

TEST(Tables, AnAbortedDocumentLeavesNoTableBehind) {
    Document doc;
    PdfWriter& w = doc.first_page();
    w.SetColorFill("RED");
    w.BeginTable(10, 10);
    w.BeginRow(20);
    w.Abort();
    w.BeginDoc(doc.file().string());
    w.BeginPage();
    // The new document's own table, once ended, is not carried to the next
    // page as the first document's would be.
    w.BeginTable(50, 10);
    w.EndTable();
    w.BeginPage();
    EXPECT_EQ(w.GetX(), 0);
    // An open row or saved state of the first document would be closed and
    // restored here, writing its colours.
    w.EndRow();
    w.EndTable();
    const std::string pdf = doc.finish();
    EXPECT_EQ(coretest::content_lines(pdf, 6),
              (std::vector<std::string>{"1 0 0 -1 0 842 cm ", "", "0 0 0 rg", "0 0 0 RG"}));
}

// What qpdf decodes of each page's content: how many of each operator that
// must come in pairs.
std::vector<std::map<std::string, int>> pair_operators_per_page(const std::filesystem::path& file) {
    std::vector<std::map<std::string, int>> pages;
    for (const int content : coretest::content_objects(file)) {
        std::map<std::string, int> count;
        std::istringstream tokens(coretest::filtered_stream(file, content));
        for (std::string token; tokens >> token;)
            if (token == "q" || token == "Q" || token == "BDC" || token == "EMC") ++count[token];
        pages.push_back(count);
    }
    return pages;
}

// A table and a layer left open when the page ends: the page still ends
// with every save restored and every mark ended, and the table goes on on
// the next page in its own column, its saved state popped at its end.
TEST(Tables, CarriedToANewPageTheyKeepTheirColumnAndEveryPageIsBalanced) {
    Document doc;
    PdfWriter& w = doc.writer;
    w.SetMargins(20, 0, 20, 0);
    w.BeginPage();
    w.SetFont("Helvetica", 8);
    w.SetColorFill("#FF0000");
    w.BeginLayer("Tabella");
    w.BeginTable(22, 700);
    auto row = [&](const char* text) {
        w.BeginRow(20);
        w.BeginColumn(60);
        w.DrawText(2, 10, text);
        w.EndColumn();
        w.EndRow();
    };
    row("Uno");
    w.BeginPage();  // between rows
    row("Due");
    row("Tre");
    w.BeginRow(20);
    w.BeginColumn(60);
    // One level of rows and columns: a table in a cell is refused.
    expect_pdf_error([&] { w.BeginTable(0, 0); }, 55, "PdfWriter.BeginTable", "table in a cell");
    w.BeginPage();  // in a cell
    w.EndColumn();
    w.EndRow();
    w.SetColorFill("#0000FF");
    w.EndTable();
    w.DrawRect(300, 300, 20, 20, 4);  // in the fill from before the table
    doc.finish();

    using Count = std::map<std::string, int>;
    // Page 1: the table, its cell and the layer; page 2: three cells (the
    // refused table adds none); page 3: nothing left to close.
    EXPECT_EQ(pair_operators_per_page(doc.file()),
              (std::vector<Count>{{{"q", 2}, {"Q", 2}, {"BDC", 1}, {"EMC", 1}}, {{"q", 3}, {"Q", 3}}, {}}));
    const auto words = contenttest::bbox_words(doc.file());
    ASSERT_EQ(words.size(), 3u);
    for (const auto& word : words) {
        EXPECT_NEAR(word.x_min, 20 + 22 + 2, 0.5) << word.text << " on page " << word.page;
        EXPECT_EQ(word.page, word.text == "Uno" ? 1 : 2) << word.text;
    }
    const auto image = contenttest::render_colour(doc.file(), 3, 72);
    const unsigned char* square = image.at(20 + 310, 20 + 310);
    EXPECT_TRUE(square[0] > 200 && square[2] < 60) << int(square[0]) << " " << int(square[2]);
}

// Where a cell's text landed: page and the cell's top-left corner (the text
// stands 5 points right of it and a fixed distance below it, taken from the
// first word, whose cell top is `first_top`).
struct Placed {
    int page;
    double x, y;
};
void expect_cells_placed(const std::filesystem::path& file, const std::map<std::string, Placed>& expected,
                         double first_top) {
    const auto words = contenttest::bbox_words(file);
    ASSERT_EQ(words.size(), expected.size());
    const double below = words.front().y_min - first_top;
    for (const auto& word : words) {
        const Placed& place = expected.at(word.text);
        EXPECT_EQ(word.page, place.page) << word.text;
        EXPECT_NEAR(word.x_min, place.x + 5, 0.5) << word.text;
        EXPECT_NEAR(word.y_min - below, place.y, 0.5) << word.text;
    }
}

// Near the foot of a page, a table of rows broken inside a row and one of
// columns broken inside a column: what follows each break starts at the top
// of the next page, and every cell's text is read where its cell is.
TEST(Tables, CarriedOverTheyGoOnFromTheTopOfTheNextPage) {
    Document doc;
    PdfWriter& w = doc.writer;
    w.BeginPage();
    w.SetFont("Helvetica", 10);
    const auto cell = [&](const char* text) { w.DrawText(5, 30, text); };
    w.BeginTable(50, 650);
    for (const char* text : {"R1", "R2"}) {
        w.BeginRow(60);
        w.BeginColumn(100);
        cell(text);
        w.EndColumn();
        w.EndRow();
    }
    w.BeginRow(60);
    w.BeginColumn(100);
    cell("R3a");
    w.EndColumn();
    w.BeginPage();  // inside the row, between its cells
    w.BeginColumn(100);
    cell("R3b");
    w.EndColumn();
    w.EndRow();
    for (const char* text : {"R4", "R5"}) {
        w.BeginRow(60);
        w.BeginColumn(100);
        cell(text);
        w.EndColumn();
        w.EndRow();
    }
    w.EndTable();
    w.BeginTable(300, 650);
    w.BeginColumn(100);
    for (const char* text : {"C1a", "C1b"}) {
        w.BeginRow(60);
        cell(text);
        w.EndRow();
    }
    w.BeginPage();  // inside the column, between its cells
    w.BeginRow(60);
    cell("C1c");
    w.EndRow();
    w.EndColumn();
    w.BeginColumn(100);
    for (const char* text : {"C2a", "C2b"}) {
        w.BeginRow(60);
        cell(text);
        w.EndRow();
    }
    w.EndColumn();
    w.EndTable();
    doc.finish();

    const std::map<std::string, Placed> expected = {
        {"R1", {1, 50, 650}},  {"R2", {1, 50, 710}},   {"R3a", {1, 50, 770}},  {"R3b", {2, 150, 0}},
        {"R4", {2, 50, 60}},   {"R5", {2, 50, 120}},   {"C1a", {2, 300, 650}}, {"C1b", {2, 300, 710}},
        {"C1c", {3, 300, 0}},  {"C2a", {3, 400, 0}},   {"C2b", {3, 400, 60}},
    };
    expect_cells_placed(doc.file(), expected, 650);
}

// A page that ends inside a cell closes the cell's local space with it: the
// rest of that cell is drawn unplaced, from the new page's top-left corner,
// and the table goes on from the old page's positions.
TEST(Tables, BrokenInsideACellTheyGoOnFromTheOldPagesPositions) {
    Document doc;
    PdfWriter& w = doc.writer;
    w.BeginPage();
    w.SetFont("Helvetica", 10);
    const auto cell = [&](const char* text) { w.DrawText(5, 30, text); };
    w.BeginTable(50, 100);
    w.BeginRow(60);
    w.BeginColumn(100);
    cell("R1a");
    w.BeginPage();  // inside the cell
    cell("R1b");
    w.EndColumn();
    w.BeginColumn(100);
    cell("R1c");
    w.EndColumn();
    w.EndRow();
    w.BeginRow(60);
    w.BeginColumn(100);
    cell("R2");
    w.EndColumn();
    w.EndRow();
    w.EndTable();
    doc.finish();

    const std::map<std::string, Placed> expected = {
        {"R1a", {1, 50, 100}}, {"R1b", {2, 0, 0}}, {"R1c", {2, 150, 100}}, {"R2", {2, 50, 160}}};
    expect_cells_placed(doc.file(), expected, 100);
}

TEST(Tables, RenderedTableShowsBordersAndFillsWhereTheyBelong) {
    Document doc;
    PdfWriter& w = doc.first_page();
    w.SetColorFill("#FF0000");
    w.SetColorLine("#0000FF");
    w.SetLineWidth(4);
    w.BeginTable(100, 100);
    for (const float height : {50.0f, 70.0f}) {
        w.BeginRow(height);
        for (const float width : {80.0f, 120.0f}) {
            w.BeginColumn(width);
            w.EndColumn();
        }
        w.EndRow();
    }
    w.EndTable();
    const std::string content = page_content(doc.finish());
    const Lines lines = lines_of(content);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "q"), 5);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Q"), 5);
    ASSERT_FALSE(HasFailure()) << "the readers refuse the file (see finish)";
    const auto image = contenttest::render_colour(doc.file(), 1, 72);
    // Cells span x 100-180-300 and y 100-150-220; borders 4 wide on the
    // cell edges, fills inside.
    struct Probe {
        int x, y;
        char colour;
    };
    const Probe probes[] = {
        {140, 125, 'R'}, {240, 125, 'R'}, {140, 185, 'R'}, {240, 185, 'R'},  // cell centres
        {100, 125, 'B'}, {180, 125, 'B'}, {300, 185, 'B'}, {140, 100, 'B'},  // borders
        {240, 150, 'B'}, {140, 220, 'B'},
        {95, 125, 'W'},  {305, 125, 'W'}, {140, 95, 'W'},  {240, 225, 'W'},  // outside
    };
    for (const Probe& p : probes) EXPECT_EQ(image.colour(p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace
