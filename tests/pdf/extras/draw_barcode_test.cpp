// The geometry every symbology shares (zoom clamp, text band, bar heights,
// text placement, unit) and what DrawBarCode does to the writer's state.
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "../content/content_fixture.h"
#include "pdf/extras/barcode_ean.h"
#include "pdf/extras/barcode_geometry.h"
#include "pdf/extras/barcode_postnet.h"

namespace {

using contenttest::count_of;
using contenttest::Document;
using contenttest::has_line;
using contenttest::page_content;
using namespace pdf::barcode;

constexpr float kMillimetre = 2.8346455f;

TEST(BarcodeGeometry, ZoomIsClampedTo0Point8Through2) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> rows[] = {{0.5f, 0.8f}, {0, 0.8f}, {-1, 0.8f}, {nan, 0.8f}, {0.8f, 0.8f},
                                            {1, 1},       {2, 2},    {3, 2},     {inf, 2}};
    for (const auto& [asked, used] : rows) EXPECT_EQ(clamp_zoom(asked), used) << asked;
}

TEST(BarcodeGeometry, BarHeightsAndTextBand) {
    const Symbol ean = ean13_symbol("400638133393");
    const float band = 4.68f, module = 0.936f;
    struct Row {
        bool show;
        float height, zoom;
        float data_bars, guard_bars;
    };
    const Row rows[] = {
        {true, 0, 1, 64.8f, 64.8f + band},             // the default height leaves the band under the bars
        {false, 0, 1, 64.8f, 64.8f},
        {true, 0, 2, 129.6f, 129.6f + 2 * band},
        {true, 50, 1, 50 - band, 50},                  // a given height holds the band
        {false, 50, 1, 50, 50},
        {true, band, 1, module, module + band},        // nothing left: one module
        {true, -3, 1, module, module + band},
        {false, -3, 0.5f, 0.8f * module, 0.8f * module},
    };
    for (const Row& row : rows) {
        const PlacedSymbol placed = place_symbol(ean, 0, 0, row.show, row.zoom, row.height, 1);
        EXPECT_FLOAT_EQ(placed.bars.front().height, row.guard_bars) << row.show << " " << row.height;
        EXPECT_FLOAT_EQ(placed.bars[1].height, row.guard_bars) << row.show << " " << row.height;
        // The first data bar follows the six guard bars.
        EXPECT_FLOAT_EQ(placed.bars[6].height, row.data_bars) << row.show << " " << row.height;
        EXPECT_EQ(placed.texts.size(), row.show ? 3u : 0u);
    }
}

TEST(BarcodeGeometry, TextsAndWidthInTheCallersUnit) {
    const PlacedSymbol ean = place_symbol(ean13_symbol("400638133393"), 10, 20, true, 1, 0, kMillimetre);
    EXPECT_NEAR(ean.width, 37.313f, 0.001f);
    const float module = 0.936f / kMillimetre;
    ASSERT_EQ(ean.texts.size(), 3u);
    EXPECT_FLOAT_EQ(ean.texts[0].x, 10 + 3 * module);
    EXPECT_EQ(ean.texts[0].align, 1);
    EXPECT_FLOAT_EQ(ean.texts[1].x, 10 + 35 * module);
    EXPECT_FLOAT_EQ(ean.texts[2].x, 10 + 82 * module);
    EXPECT_EQ(ean.texts[2].align, 4);
    EXPECT_FLOAT_EQ(ean.texts[0].y, 20 + (64.8f + 1.6f * 4.68f) / kMillimetre);
    EXPECT_FLOAT_EQ(ean.bars.front().x, 10 + 11 * module);

    // POSTNET: fixed heights whatever is asked, text under the full bars.
    const PlacedSymbol postnet = place_symbol(postnet_symbol("12345"), 0, 100, true, 2, 500, 1);
    EXPECT_FLOAT_EQ(postnet.bars[0].height, 18);
    EXPECT_FLOAT_EQ(postnet.bars[1].height, 7.2f);
    EXPECT_FLOAT_EQ(postnet.bars[1].y, 100 + 10.8f);
    EXPECT_FLOAT_EQ(postnet.bars[1].width, 2.88f);
    EXPECT_FLOAT_EQ(postnet.bars[1].x - postnet.bars[0].x, 7.2f);
    EXPECT_FLOAT_EQ(postnet.texts[0].y, 100 + 28.8f + 9.36f);
    EXPECT_FLOAT_EQ(postnet.texts[0].x, postnet.width / 2);
}

TEST(DrawBarCode, WritesFilledRectanglesAndLeavesTheCallersState) {
    Document doc;
    PdfWriter& w = doc.first_page("Arial", 12);
    const float before = w.TextLength("abc");
    float x = 10, y = 20;
    const float width = w.DrawBarCode(0, "400638133393", x, y);
    EXPECT_FLOAT_EQ(width, 113 * 0.936f);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_FLOAT_EQ(w.TextLength("abc"), before);  // font and size are the caller's again
    w.DrawText(10, 200, "after");
    const std::string content = page_content(doc.finish());
    // The first guard bar reaches into the text band.
    EXPECT_TRUE(has_line("\r" + content, "20.296 20 0.936 69.48 re f*")) << content;
    // Six guard bars, two bars in each of the twelve digits.
    EXPECT_EQ(count_of(content, " re f*"), 6u + 24u);
    EXPECT_NE(content.find("/CourierNew 10.08 Tf"), std::string::npos);
    EXPECT_NE(content.find("/Arial 12 Tf", content.find("/CourierNew")), std::string::npos);
}

TEST(DrawBarCode, ZoomOutsideTheRangeDrawsAsItsLimit) {
    const auto drawn = [](float zoom) {
        Document doc;
        PdfWriter& w = doc.first_page();
        for (int type = 0; type <= 5; ++type) {
            float x = 10, y = 20 + 90.0f * static_cast<float>(type);
            w.DrawBarCode(type, "12345", x, y, true, zoom, 0, true);
        }
        return page_content(doc.finish());
    };
    EXPECT_EQ(drawn(0.5f), drawn(0.8f));
    EXPECT_EQ(drawn(0), drawn(0.8f));
    EXPECT_EQ(drawn(3), drawn(2));
    EXPECT_NE(drawn(1), drawn(2));
}

TEST(DrawBarCode, WhatCannotBeDrawnDrawsNothingAndReturnsZero) {
    Document doc;
    PdfWriter& w = doc.first_page();
    float x = 100, y = 20;
    struct Row {
        int type;
        const char* code;
    };
    for (const Row& row : {Row{6, "123"}, Row{-1, "123"}, Row{4, ""}, Row{4, "A\xC6"}, Row{4, "\xE9"},
                           Row{1, "caf\xE9"}}) {
        EXPECT_EQ(w.DrawBarCode(row.type, row.code, x, y), 0) << row.type << " " << row.code;
    }
    const std::string content = page_content(doc.finish());
    EXPECT_EQ(content.find(" re f*"), std::string::npos) << content;
    // Code 39 has no bars for a byte above 127, but its text still shows.
    EXPECT_EQ(count_of(content, "BT"), 1u) << content;
    REQUIRE_TOOL("pdftotext");
    EXPECT_NE(coretest::pdftotext(doc.file()).find("caf\xC3\xA9"), std::string::npos);
}

TEST(DrawBarCode, RestoresNoFontWhenThereWasNoneAndKeepsMacRoman) {
    Document doc;
    PdfWriter& w = doc.first_page();
    w.SetFontSize(7);
    float x = 10, y = 20;
    w.DrawBarCode(4, "AB", x, y);
    EXPECT_EQ(w.TextLength("abc"), 0);  // still no font selected
    w.SetFont("Times", 0);              // size 0 keeps the restored 7
    EXPECT_FLOAT_EQ(w.TextHeight(), 1107 * 7 / 1000.0f);

    w.SetFont("Arial", 9, 0, 1);
    w.DrawBarCode(4, "AB", x, y);
    w.DrawText(10, 100, "mac");
    const std::string pdf = doc.finish();
    const std::string content = page_content(pdf);
    EXPECT_NE(content.find("/MACArial 9 Tf", content.rfind("/CourierNew")), std::string::npos) << content;
    // Courier, Times and the MacRoman Arial: no font without a name.
    EXPECT_EQ(count_of(pdf, "/Type /Font "), 3u);
    EXPECT_EQ(pdf.find("/BaseFont / "), std::string::npos);
}

// A symbol is drawn whole or not at all: a place that cannot be written,
// of its bars or of its text, is refused before anything is.
TEST(DrawBarCode, RefusesAPlaceThatCannotBeWrittenAndWritesNothing) {
    Document doc;
    PdfWriter& w = doc.first_page("Arial", 10);
    const float width = w.TextLength("abc");
    struct Row {
        int type;
        float x, y;
        int error;
    } rows[] = {
        {0, std::numeric_limits<float>::quiet_NaN(), 20, 5},
        {0, 10, 9999950, 6},     // the bars fit; the text's baseline lies past the limit
        {3, -9999900, 20, 6},    // POSTNET's long text reaches left of the limit
    };
    for (Row& row : rows) {
        const auto size = w.FileSize();
        contenttest::expect_pdf_error(
            [&] { w.DrawBarCode(row.type, std::string(200, '7'), row.x, row.y, true, 1, 0); }, row.error, "",
            std::to_string(row.y));
        EXPECT_EQ(w.FileSize(), size) << "no font object for the text";
        EXPECT_FLOAT_EQ(w.TextLength("abc"), width) << "the caller's font";
    }
    const std::string pdf = doc.finish();
    const std::string content = page_content(pdf);
    EXPECT_EQ(content, "") << content;
    EXPECT_EQ(pdf.find("/CourierNew"), std::string::npos);
}

// The state a barcode's text saved comes back without a width that was
// never set: lines drawn after it keep the reader's default width of one
// point, not a hairline.
TEST(DrawBarCode, LeavesTheLineWidthAlone) {
    Document doc;
    PdfWriter& w = doc.first_page("Arial", 10);
    float x = 10, y = 20;
    w.DrawBarCode(0, "400638133393", x, y);
    w.DrawLine(100, 400, 400, 400);
    const std::string content = page_content(doc.finish());
    EXPECT_EQ(content.find(" w\r"), std::string::npos) << content;
    REQUIRE_TOOL("pdftoppm");
    const auto image = contenttest::render_grey(doc.file(), 1, 288);
    int dark = 0;
    for (int row = 4 * 400 - 8; row <= 4 * 400 + 8; ++row) dark += image.at(4 * 200, row) < 128;
    EXPECT_GE(dark, 3) << "a one-point line is four pixels at 288 dpi";
}

}  // namespace
