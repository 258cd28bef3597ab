// Which metafile records the translator follows: each one is drawn as a
// metafile player shows it, or the drawing is refused naming the record.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "../content/content_fixture.h"
#include "decoded.h"
#include "pdf/content/wmf_translator.h"
#include "picture_files.h"

namespace {

using namespace picturetest;

const pdf::VectorFit kNatural = [](pdf::VectorSize natural) { return natural; };

// The parameters of a block transfer without a bitmap that copies the brush
// (its raster operation, low word first).
const std::vector<int> kPatCopy = {0x0021, 0x00F0};
std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A five-pointed star around (50, 50), drawn point by point across.
ByteString star() {
    std::vector<int> points = {5};
    for (int k = 0; k < 5; ++k) {
        const double angle = (-90 + 144 * k) * std::numbers::pi / 180;
        points.push_back(static_cast<int>(std::lround(50 + 45 * std::cos(angle))));
        points.push_back(static_cast<int>(std::lround(50 + 45 * std::sin(angle))));
    }
    return wmf_record(0x0324, points);
}

TEST(WmfRecords, RefusedNamingTheRecord) {
    const ByteString red = wmf_brush(0, kRed) + wmf_select(0);
    const ByteString box = wmf_rectangle(10, 10, 90, 90);
    struct Case {
        const char* what;
        ByteString records;
        const char* record;
    };
    const Case cases[] = {
        {"a hatched brush filling", wmf_brush(2, kRed) + wmf_select(0) + box, "041B"},
        {"a DIB pattern brush filling", wmf_record(0x0142, {5, 0, 40, 0, 8, 8}) + wmf_select(0) + star(), "0324"},
        {"a pattern brush in a block transfer",
         wmf_record(0x01F9, {0, 8, 8, 2, 1, 1, 0, 0}) + wmf_select(0) +
             wmf_record(0x061D, kPatCopy + std::vector{9, 9, 0, 0}),
         "061D"},
        {"a pen of style 7 stroking", wmf_pen(7, 1, kRed) + wmf_select(0) + wmf_record(0x0213, {50, 50}), "0213"},
        {"a rectangle cut out of the clip", wmf_record(0x0415, {50, 50, 0, 0}) + red + box, "0415"},
        {"a clip region reset", wmf_record(0x012C, {0}) + red + box, "012C"},
        {"a clip region moved", wmf_record(0x0220, {5, 5}) + red + box, "0220"},
        {"a region selected", wmf_record(0x06FF, std::vector<int>(11, 0)) + wmf_select(0) + box, "012D"},
        {"text mapping", wmf_record(0x0103, {1}) + box, "0103"},
        {"isotropic mapping", wmf_record(0x0103, {7}) + box, "0103"},
        {"drawing inverted", wmf_record(0x0104, {6}) + box, "0104"},
        {"a fill mode of 3", wmf_record(0x0106, {3}) + box, "0106"},
        {"restoring with nothing saved", wmf_record(0x0127, {-1}) + box, "0127"},
        {"restoring past the saved states", wmf_record(0x001E, {}) + wmf_record(0x0127, {2}) + box, "0127"},
        {"restoring state 0", wmf_record(0x001E, {}) + wmf_record(0x0127, {0}) + box, "0127"},
        {"a window scaled by 1/0", wmf_record(0x0410, {1, 1, 0, 1}) + box, "0410"},
        {"a window scaled to nothing", wmf_record(0x0410, {1000, 1, 1, 1}) + box, "0410"},
        {"a pattern inverting what lies below",
         red + wmf_record(0x061D, std::vector{0x0009, 0x0055, 9, 9, 0, 0}), "061D"},
        {"a block transfer painting black", red + wmf_record(0x0922, std::vector{0x0042, 0} + std::vector(7, 0)),
         "0922"},
        {"a block transfer a word longer than without a bitmap", red + wmf_record(0x0922, kPatCopy + std::vector(8, 0)),
         "0922"},
        {"a stretched one a word longer", red + wmf_record(0x0B23, kPatCopy + std::vector(10, 0)), "0B23"},
        {"a viewport extent", wmf_record(0x020E, {50, 50}) + box, "020E"},
        {"a layout", wmf_record(0x0149, {1, 0}) + box, "0149"},
        {"a polygon's low byte under another number", wmf_record(0x0124, {1, 0, 0}) + box, "0124"},
        {"a number no record has", wmf_record(0x7777, {}) + box, "7777"},
        {"a brush of a palette entry filling", wmf_record(0x02FC, {0, 3, 0x0100, 0}) + wmf_select(0) + box, "041B"},
    };
    for (const Case& c : cases) {
        const std::string file = wmf_file(0, 0, 100, 100, 72, c.records);
        try {
            pdf::translate_wmf(span_of(file), kNatural);
            ADD_FAILURE() << "placed: " << c.what;
        } catch (const PdfError& e) {
            EXPECT_EQ(e.number(), 321) << c.what;
            EXPECT_NE(e.description().find(std::string("(record ") + c.record + ")"), std::string::npos)
                << c.what << ": " << e.description();
        }
    }
}

// Each metafile placed at (100, 100) at its size of 100 x 100 points, and
// its pixels at 72 dpi: one pixel a unit.
TEST(WmfRecords, DrawnAsAMetafilePlayerShowsThem) {
    REQUIRE_TOOL("pdftoppm");
    // A red brush and no pen, made into the slots from `slot` on.
    auto red_from = [](int slot) {
        return wmf_brush(0, kRed) + wmf_pen(5, 0, kRed) + wmf_select(slot) + wmf_select(slot + 1);
    };
    const ByteString red = red_from(0);
    auto line = [](int y) { return wmf_record(0x0214, {y, 0}) + wmf_record(0x0213, {y, 100}); };
    const ByteString middle = wmf_record(0x0214, {50, 20}) + wmf_record(0x0213, {50, 80});
    struct Probe {
        int x, y;
        char colour;  // 'R', 'B' or 'W', as ColourImage tells them
    };
    struct Case {
        const char* what;
        ByteString records;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"RestoreDC(-1) brings the thin pen back",
         wmf_pen(0, 4, kBlue) + wmf_select(0) + wmf_record(0x001E, {}) + wmf_pen(0, 20, kRed) + wmf_select(1) +
             line(20) + wmf_record(0x0127, {-1}) + line(70),
         {{50, 14, 'R'}, {50, 70, 'B'}, {50, 76, 'W'}}},
        {"RestoreDC(1) brings the first window back",
         red + wmf_record(0x001E, {}) + wmf_record(0x020B, {0, 50}) + wmf_record(0x001E, {}) +
             wmf_record(0x020C, {50, 50}) + wmf_record(0x0127, {1}) + wmf_rectangle(0, 0, 50, 100),
         {{25, 50, 'R'}, {75, 50, 'W'}}},
        {"a star in WINDING, filled whole", wmf_record(0x0106, {2}) + red + star(),
         {{50, 50, 'R'}, {50, 15, 'R'}, {10, 90, 'W'}}},
        {"a star in ALTERNATE, with its hole", wmf_record(0x0106, {1}) + red + star(),
         {{50, 50, 'W'}, {50, 15, 'R'}, {10, 90, 'W'}}},
        {"block transfers without a bitmap paint the brush",
         wmf_brush(0, kBlue) + wmf_select(0) + wmf_record(0x061D, kPatCopy + std::vector{40, 40, 0, 0}) +
             wmf_record(0x0940, kPatCopy + std::vector{0, 0, 0, 40, 40, 60, 60}) +
             wmf_record(0x0B41, kPatCopy + std::vector{1, 1, 0, 0, 0, 40, 40, 0, 60}),
         {{20, 20, 'B'}, {80, 80, 'B'}, {80, 20, 'B'}, {20, 80, 'W'}, {50, 50, 'W'}}},
        {"a wide pen's round end", wmf_pen(0, 20, kBlue) + wmf_select(0) + middle,
         {{50, 50, 'B'}, {86, 50, 'B'}, {94, 50, 'W'}}},
        {"a wide pen's flat end", wmf_pen(0x0200, 20, kBlue) + wmf_select(0) + middle,
         {{50, 50, 'B'}, {76, 50, 'B'}, {84, 50, 'W'}}},
        {"a wide pen's square end", wmf_pen(0x0100, 20, kBlue) + wmf_select(0) + middle,
         {{50, 50, 'B'}, {86, 50, 'B'}, {88, 42, 'B'}, {94, 50, 'W'}}},
        {"a wide pen's bevelled corner",
         wmf_pen(0x1000, 20, kBlue) + wmf_select(0) + wmf_record(0x0325, {3, 20, 70, 70, 70, 70, 20}),
         {{50, 70, 'B'}, {73, 73, 'B'}, {76, 76, 'W'}}},
        {"an inside-frame pen keeps within the rectangle",
         wmf_pen(6, 20, kBlue) + wmf_brush(0, kRed) + wmf_select(0) + wmf_select(1) + wmf_rectangle(10, 10, 90, 90),
         {{5, 50, 'W'}, {15, 50, 'B'}, {25, 50, 'B'}, {35, 50, 'R'}, {50, 50, 'R'}}},
        {"a polygon of one point is left out of a poly-polygon",
         wmf_pen(0, 20, kBlue) + wmf_brush(0, kRed) + wmf_select(0) + wmf_select(1) +
             wmf_record(0x0538, {2, 1, 4, 50, 50, 10, 10, 90, 10, 90, 90, 10, 90}),
         {{50, 50, 'R'}, {10, 50, 'B'}}},
        {"IntersectClipRect clips to a quarter",
         wmf_record(0x0416, {50, 50, 0, 0}) + red + wmf_rectangle(0, 0, 100, 100),
         {{25, 25, 'R'}, {75, 25, 'W'}, {25, 75, 'W'}, {75, 75, 'W'}}},
        {"a clip and a brush end with RestoreDC(-1)",
         red + wmf_brush(0, kBlue) + wmf_rectangle(0, 0, 100, 20) + wmf_record(0x001E, {}) +
             wmf_record(0x0416, {50, 50, 0, 0}) + wmf_select(2) + wmf_rectangle(0, 20, 100, 40) +
             wmf_record(0x0127, {-1}) + wmf_select(2) + wmf_rectangle(0, 60, 100, 100),
         {{25, 10, 'R'}, {25, 30, 'B'}, {75, 30, 'W'}, {75, 80, 'B'}}},
        {"OffsetWindowOrg moves the drawing",
         red + wmf_record(0x020B, {0, 0}) + wmf_record(0x020F, {0, 50}) + wmf_rectangle(50, 0, 100, 100),
         {{25, 50, 'R'}, {75, 50, 'W'}}},
        {"OffsetWindowOrg moves it up",
         red + wmf_record(0x020B, {0, 0}) + wmf_record(0x020F, {50, 0}) + wmf_rectangle(0, 50, 100, 100),
         {{50, 25, 'R'}, {50, 75, 'W'}}},
        {"ScaleWindowExt stretches it", red + wmf_record(0x0410, {1, 1, 2, 1}) + wmf_rectangle(0, 0, 25, 100),
         {{45, 50, 'R'}, {55, 50, 'W'}}},
        {"records that draw nothing; a pattern brush never used to fill, a pen of style 7 never to stroke",
         wmf_record(0x0142, {5, 0, 40, 0, 8, 8}) + wmf_select(0) + wmf_pen(0, 10, kBlue) + wmf_select(1) +
             wmf_record(0x0103, {8}) + wmf_record(0x0104, {13}) + wmf_record(0x0102, {2}) +
             wmf_record(0x0201, {0, 0}) + wmf_record(0x0209, {0, 0}) + wmf_record(0x012E, {0}) +
             wmf_record(0x0107, {3}) + wmf_record(0x0105, {1}) + wmf_record(0x00F7, {0x300, 0}) +
             wmf_record(0x0234, {2}) + wmf_record(0x0035, {}) + wmf_record(0x0626, {15, 0}) +
             wmf_record(0x02FB, {0, 0, 0, 0, 0}) + wmf_record(0x0108, {2}) + wmf_record(0x020A, {3, 1}) +
             wmf_record(0x0231, {1, 0}) + line(80) + red_from(4) + wmf_rectangle(0, 0, 100, 50) +
             wmf_pen(7, 1, kBlue) + wmf_select(6),
         {{50, 25, 'R'}, {50, 80, 'B'}, {50, 65, 'W'}}},
    };
    testsupport::TempDir dir;
    contenttest::Document doc;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto file = dir / ("case" + std::to_string(i) + ".wmf");
        testsupport::write_file(file, wmf_file(0, 0, 100, 100, 72, cases[i].records));
        doc.writer.BeginPage();
        doc.writer.DrawImage(file.string(), 100, 100);
        EXPECT_EQ(doc.writer.ErrNumber(), 0) << cases[i].what << ": " << doc.writer.ErrDescription();
    }
    doc.finish();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto image = contenttest::render_colour(doc.file(), static_cast<int>(i + 1), 72);
        ASSERT_GT(image.width, 200);
        for (const Probe& p : cases[i].probes)
            EXPECT_EQ(image.colour(100 + p.x, 100 + p.y), p.colour) << cases[i].what << " at " << p.x << "," << p.y;
    }
}

}  // namespace
