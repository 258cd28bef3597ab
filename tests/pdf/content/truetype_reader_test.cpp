#include <cstdint>
#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "pdf/content/truetype_reader.h"
#include "sfnt_builder.h"

namespace {

using fonttest::Sfnt;
using pdf::FontCodes;

pdf::TrueTypeMetrics read(const std::string& bytes, FontCodes codes = FontCodes::WinAnsi) {
    return pdf::read_truetype({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, codes);
}

TEST(TrueTypeReader, NumbersAreBigEndianAndBoundsChecked) {
    const std::uint8_t bytes[] = {0x80, 0x00, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF};
    struct Row { std::int64_t position; int size; bool is_unsigned; std::optional<std::int64_t> value; };
    const Row rows[] = {{0, 2, true, 32768},        {0, 2, false, -32768},
                        {2, 2, false, -1},          {4, 2, false, 32767},
                        {0, 4, true, 2147549183},   {0, 4, false, 2147549183LL - 4294967296LL},
                        {4, 4, false, 2147483647},  {6, 2, true, 65535},
                        {7, 2, true, {}},           {5, 4, true, {}},
                        {-1, 2, true, {}},          {INT64_MAX - 1, 4, true, {}},
                        {0, 3, true, {}}};
    for (const Row& r : rows) {
        try {
            EXPECT_EQ(pdf::ReadTtfNumber(bytes, r.position, r.size, r.is_unsigned), r.value) << r.position;
        } catch (const pdf::FontFileError& e) {
            EXPECT_FALSE(r.value) << r.position;
            EXPECT_EQ(e.number(), 62);
        }
    }
}

TEST(TrueTypeReader, MetricsOfTheFace) {
    struct Row {
        const char* what;
        std::function<void(Sfnt&)> change;
        int width32, flags, stem_v;
        float angle;
        int ascent, descent, avg_width;
        std::string name;
    };
    const Row rows[] = {
        {"plain, 2048 units", [](Sfnt&) {}, 500, 32, 70, 0, 928, -244, 586, "TestSans"},
        {"symbol map F020-F0FF",
         [](Sfnt& f) {
             f.cmap_encoding = 0;
             f.segments = {{0xF020, 0xF020, std::uint16_t(1 - 0xF020)}, {0xF041, 0xF042, std::uint16_t(2 - 0xF041)}};
             f.names = {{3, 0, 1033, 4, "Test Symbol"}};
         },
         500, 4, 70, 0, 928, -244, 586, "TestSymbol"},
        {"weight 700", [](Sfnt& f) { f.weight = 700; }, 500, 32, 120, 0, 928, -244, 586, "TestSans"},
        {"weight 500 is not bold", [](Sfnt& f) { f.weight = 500; }, 500, 32, 70, 0, 928, -244, 586, "TestSans"},
        {"italic -12.5", [](Sfnt& f) { f.italic_angle = -819200; }, 500, 96, 70, -12.5f, 928, -244, 586, "TestSans"},
        {"angle 0.125 to even", [](Sfnt& f) { f.italic_angle = 8192; }, 500, 96, 70, 0.12f, 928, -244, 586, "TestSans"},
        {"angle -0.375 to even", [](Sfnt& f) { f.italic_angle = -24576; }, 500, 96, 70, -0.38f, 928, -244, 586,
         "TestSans"},
        {"fixed pitch", [](Sfnt& f) { f.fixed_pitch = 1; }, 500, 33, 70, 0, 928, -244, 586, "TestSans"},
        {"no OS/2, no post: hhea, weight 400, mean width",
         [](Sfnt& f) { f.omit = {"OS/2", "post"}, f.weight = 900, f.fixed_pitch = 1, f.italic_angle = 65536; },
         500, 32, 70, 0, 928, -244, 748, "TestSans"},
        {"16 units, widths clamped",
         [](Sfnt& f) { f.units_per_em = 16, f.glyphs[1].advance = 60000, f.win_ascent = 16; }, 32767, 32, 70, 0, 1000,
         -31250, 75000, "TestSans"},
    };
    for (const Row& r : rows) {
        Sfnt font;
        r.change(font);
        const auto m = read(font.bytes());
        EXPECT_EQ(m.widths[32], r.width32) << r.what;
        EXPECT_EQ(m.flags, r.flags) << r.what;
        EXPECT_EQ(m.stem_v, r.stem_v) << r.what;
        EXPECT_EQ(m.bold, r.stem_v == 120) << r.what;
        EXPECT_EQ(m.italic_angle, r.angle) << r.what;
        EXPECT_EQ(m.ascent, r.ascent) << r.what;
        EXPECT_EQ(m.descent, r.descent) << r.what;
        EXPECT_EQ(m.avg_width, r.avg_width) << r.what;
        EXPECT_EQ(m.name, r.name) << r.what;
    }
}

// Glyph g of this font advances 1000 + g units of 1000: a width names its glyph.
TEST(TrueTypeReader, CodesMapToTheGlyphsViewersShow) {
    Sfnt font;
    font.units_per_em = 1000;
    font.glyphs.clear();
    for (int g = 0; g < 12; ++g) font.glyphs.push_back({std::uint16_t(1000 + g), 0, 0, 10, 10});
    auto to = [](std::uint16_t c, int g) { return fonttest::Segment{c, c, std::uint16_t(g - c)}; };
    font.segments = {to(0x20, 1),   to(0x40, 3),  {0x61, 0x63, 2, {3, 0, 4}}, to(0x7A, 200), to(0x7B, 11),
                     to(0x7C, 12),  to(0x7D, 13), to(0x7E, 10),               to(0xA4, 9),   to(0xE9, 8),   to(0x201C, 6),
                     to(0x2022, 7), to(0x20AC, 5),              to(0xF041, 10), to(0xF0C8, 4)};
    // maxp may count fewer glyphs than loca holds: renderers go by maxp.
    struct Row { const char* what; FontCodes codes; bool symbol; int h_metrics, code, glyph, maxp = 0; };
    const Row rows[] = {
        {"WinAnsi 0x80 is the euro", FontCodes::WinAnsi, false, 0, 0x80, 5},
        {"WinAnsi 0x93 is a curly quote", FontCodes::WinAnsi, false, 0, 0x93, 6},
        {"WinAnsi 0x81 shows a bullet", FontCodes::WinAnsi, false, 0, 0x81, 7},
        {"WinAnsi 0xE9", FontCodes::WinAnsi, false, 0, 0xE9, 8},
        {"MacRoman 0x8E is e acute", FontCodes::MacRoman, false, 0, 0x8E, 8},
        {"MacRoman 0xDB is the currency sign", FontCodes::MacRoman, false, 0, 0xDB, 9},
        {"MacRoman 0x80 has no glyph here", FontCodes::MacRoman, false, 0, 0x80, 0},
        {"a text font keeps its code points", FontCodes::WinAnsi, false, 0, 0x41, 0},
        {"idRangeOffset then idDelta", FontCodes::WinAnsi, false, 0, 0x61, 5},
        {"a fetched glyph 0 stays 0", FontCodes::WinAnsi, false, 0, 0x62, 0},
        {"idRangeOffset, last code", FontCodes::WinAnsi, false, 0, 0x63, 6},
        {"glyph past the font is glyph 0", FontCodes::WinAnsi, false, 0, 0x7A, 0},
        {"the last glyph", FontCodes::WinAnsi, false, 0, 0x7B, 11},
        {"one past the last glyph", FontCodes::WinAnsi, false, 0, 0x7C, 0},
        {"two past the last glyph", FontCodes::WinAnsi, false, 0, 0x7D, 0},
        {"the last glyph maxp counts", FontCodes::WinAnsi, false, 0, 0x7E, 10, 11},
        {"one past the glyphs maxp counts", FontCodes::WinAnsi, false, 0, 0x7B, 0, 11},
        {"past hmtx: the last advance", FontCodes::WinAnsi, false, 3, 0x7B, 2},
        {"the first glyph past hmtx", FontCodes::WinAnsi, false, 3, 0x40, 2},
        {"symbol font: F000 + code", FontCodes::WinAnsi, true, 0, 0x41, 10},
        {"symbol font: F000 + a code above 127", FontCodes::WinAnsi, true, 0, 0xC8, 4},
        {"symbol font: the code itself", FontCodes::MacRoman, true, 0, 0x20, 1},
    };
    for (const Row& r : rows) {
        Sfnt f = font;
        f.cmap_encoding = r.symbol ? 0 : 1;
        f.h_metrics = std::uint16_t(r.h_metrics);
        f.maxp_glyphs = std::uint16_t(r.maxp);
        if (r.symbol) f.names[0].encoding = 0;
        EXPECT_EQ(read(f.bytes(), r.codes).widths[std::size_t(r.code)], 1000 + r.glyph) << r.what;
    }
    // Every code Windows-1252 leaves without a character shows the bullet.
    const auto widths = read(font.bytes()).widths;
    for (int code : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(widths[std::size_t(code)], 1007) << code;
}

TEST(TrueTypeReader, BoundingBoxSkipsEmptyAndCompositeGlyphs) {
    Sfnt font;
    font.glyphs = {font.glyphs[0], {1024}, {1000, -3000, -3000, 3000, 3000},
                   {1000, -2000, -2000, 2000, 2000, true}, font.glyphs[3], {1000, 0, -500, 100, 100}};
    font.glyphs[5].no_contours = true;  // no outline, but a box that counts
    font.segments = {{32, 32, std::uint16_t(1 - 32)}, {65, 67, std::uint16_t(3 - 65)}};
    EXPECT_EQ(read(font.bytes()).bbox, (std::array<std::int32_t, 4>{0, -244, 684, 781}));
}

TEST(TrueTypeReader, NamesAndTheirFallbacks) {
    struct Row { std::vector<fonttest::NameRecord> names; bool symbol; std::string expected; };
    const Row rows[] = {
        {{{3, 1, 1040, 4, "Prova Sans"}, {3, 1, 1033, 4, "Test Sans"}}, false, "TestSans"},
        {{{3, 1, 1040, 4, "Prova Sans"}, {3, 1, 1031, 4, "Test Sans"}}, false, "ProvaSans"},
        {{{3, 1, 1033, 4, "Text"}, {3, 0, 1033, 4, "Sym bol"}}, true, "Symbol"},
        {{{3, 1, 1033, 4, " \x01 "}, {1, 0, 0, 4, "Mac Caf\x8E"}}, false, "MacCaf\xE9"},
        {{{1, 0, 0, 6, "Mac-PS"}, {3, 1, 1033, 6, "Win-PS"}}, false, "Win-PS"},
        {{{3, 1, 1033, 6, "Win-PS"}, {1, 0, 0, 4, "Mac Full"}}, false, "MacFull"},
        // Two records taken: a third English one changes nothing.
        {{{3, 1, 1040, 4, "Prova Sans"}, {3, 1, 1033, 4, "Test Sans"}, {3, 1, 2057, 4, "Third"}}, false, "TestSans"},
        {{{3, 1, 1033, 1, "Family only"}}, false, ""},
    };
    for (const Row& r : rows) {
        Sfnt font;
        font.names = r.names;
        font.cmap_encoding = r.symbol ? 0 : 1;
        EXPECT_EQ(read(font.bytes()).name, r.expected);
    }
    for (std::uint16_t english : {1033, 2057, 3081, 4105, 5129, 6153}) {
        Sfnt font;
        font.names = {{3, 1, 1040, 4, "Prova Sans"}, {3, 1, english, 4, "Test Sans"}};
        EXPECT_EQ(read(font.bytes()).name, "TestSans") << english;
    }
}

TEST(TrueTypeReader, RefusesDamagedAndUnsupportedFiles) {
    struct Row { std::string what; std::function<std::string()> bytes; int number; };
    auto with = [](std::function<void(Sfnt&)> change) {
        return [change] { Sfnt f; change(f); return f.bytes(); };
    };
    std::vector<Row> rows = {
        {"CFF outlines", with([](Sfnt& f) { f.version = 0x4F54544F; }), 321},
        {"collection", with([](Sfnt& f) { f.version = 0x74746366; }), 321},
        {"unitsPerEm 0", with([](Sfnt& f) { f.units_per_em = 0; }), 321},
        {"unitsPerEm 15", with([](Sfnt& f) { f.units_per_em = 15; }), 321},
        {"unitsPerEm 16385", with([](Sfnt& f) { f.units_per_em = 16385; }), 321},
        {"Macintosh map only", with([](Sfnt& f) { f.cmap_platform = 1; }), 321},
        {"Windows Shift-JIS map only", with([](Sfnt& f) { f.cmap_encoding = 2; }), 321},
        {"Windows Big5 map only", with([](Sfnt& f) { f.cmap_encoding = 4; }), 321},
        {"hmtx short of its metrics", with([](Sfnt& f) { f.cut["hmtx"] = 14; }), 321},
        {"head cut", with([](Sfnt& f) { f.cut["head"] = 50; }), 321},
        {"OS/2 cut", with([](Sfnt& f) { f.cut["OS/2"] = 76; }), 321},
        {"glyph past glyf", with([](Sfnt& f) { f.cut["glyf"] = 20; }), 321},
        {"glyph ids past cmap", with([](Sfnt& f) { f.segments.push_back({0x61, 0x70, 0, {1}}); }), 321},
        {"name string outside", with([](Sfnt& f) { f.cut["name"] = 18; }), 321},
        {"empty file", [] { return std::string(); }, 62},
        {"header only", [] { return Sfnt().bytes().substr(0, 14); }, 62},
        {"cut short", [] { std::string b = Sfnt().bytes(); return b.substr(0, b.size() - 10); }, 62},
    };
    for (const char* table : {"head", "hhea", "hmtx", "cmap", "name", "glyf", "loca"})
        rows.push_back({std::string("no ") + table, with([table](Sfnt& f) { f.omit = {table}; }), 321});
    for (const Row& r : rows) {
        try {
            read(r.bytes());
            ADD_FAILURE() << r.what << " accepted";
        } catch (const pdf::FontFileError& e) {
            EXPECT_EQ(e.number(), r.number) << r.what << ": " << e.what();
        }
    }
    Sfnt edge;
    edge.units_per_em = 16384;
    EXPECT_NO_THROW(read(edge.bytes()));
}

}  // namespace
