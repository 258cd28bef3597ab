// The BMP, TGA and JPEG readers on files of every kind they take, and on
// damaged ones.
#include <gtest/gtest.h>

#include "../core/own_pdf.h"
#include "decoded.h"
#include "pdf/content/bmp_reader.h"
#include "pdf/content/jpeg_reader.h"
#include "pdf/content/tga_reader.h"
#include "picture_files.h"

namespace {

using namespace picturetest;
using coretest::expect_pdf_error;

Image two_colours(int width, int height) {
    Image im = marked_halves(width, height);
    im.pixels[0] = kRed;
    return im;
}

TEST(BmpReader, EveryHeaderDepthAndCompression) {
    struct Case {
        const char* what;
        BmpSpec spec;
        bool two_colours = false;
    };
    const Case cases[] = {
        {"core header, 8-bit palette", {12, 8}},
        {"core header, 24-bit", {12, 24}},
        {"1-bit", {40, 1}, true},
        {"4-bit", {40, 4}},
        {"8-bit top-down", {40, 8, 0, true}},
        {"16-bit 5-5-5", {40, 16}},
        {"16-bit 5-6-5 bit fields after the header", {40, 16, 3, false, {0xF800, 0x07E0, 0x001F}}},
        {"24-bit", {40, 24}},
        {"24-bit top-down", {40, 24, 0, true}},
        {"32-bit", {40, 32}},
        {"32-bit bit fields in a 52-byte header", {52, 32, 3, false, {0xFF0000, 0xFF00, 0xFF}}},
        {"32-bit bit fields, 56-byte header", {56, 32, 3, true, {0xFF00, 0xFF0000, 0xFF000000}}},
        {"24-bit, 108-byte header", {108, 24}},
        {"8-bit, 124-byte header", {124, 8}},
        {"RLE8", {40, 8, 1}},
        {"RLE4", {40, 4, 2}},
    };
    for (const Case& c : cases) {
        for (int width : {1, 7, 13}) {
            const Image im = c.two_colours ? two_colours(width, 6) : marked_halves(width, 6);
            const std::string file = bmp_file(im, c.spec);
            const auto p = pdf::read_bmp(span_of(file));
            EXPECT_EQ(difference(p, im), "") << c.what << ", width " << width;
            if (c.spec.depth <= 8) {
                EXPECT_EQ(p.palette.size(), 3u << c.spec.depth) << c.what;
            }
            // Read for a colour key: the same picture, RGB.
            const auto rgb = pdf::read_bmp(span_of(file), true);
            EXPECT_EQ(difference(rgb, im), "") << c.what << " as RGB, width " << width;
            EXPECT_TRUE(rgb.palette.empty()) << c.what;
            EXPECT_EQ(rgb.samples.size(), std::size_t{3} * im.pixels.size()) << c.what;
        }
    }
}

// Files our builder does not write: runs that leave the row or the picture,
// pixels the runs leave out, deltas (one after every pixel), RLE4 runs of
// two colours, an odd-sized absolute run, a header counting more colours
// than the depth allows or than the room before the pixels holds. Read as
// indices and as RGB alike.
TEST(BmpReader, OddRunsAndPalettes) {
    // The file `spec` writes for a picture of that size, its pixel data
    // replaced by `data`.
    auto with_data = [](int width, int height, const BmpSpec& spec, const std::string& data) {
        const std::string file = bmp_file(marked_halves(width, height), spec);
        const auto pixels = static_cast<unsigned char>(file[10]) + 256u * static_cast<unsigned char>(file[11]);
        return file.substr(0, pixels) + data;
    };
    const Image halves = marked_halves(4, 2);
    std::string overlong = bmp_file(halves, {40, 8, 1});
    // A run of 200 past the row, a delta far below the picture, then data
    // that are never reached.
    overlong.insert(overlong.size() - 2, std::string("\xC8\x01\x00\x02\x05\x40\x04\x02", 8));
    // 4-bit, 256 colours counted: the palette is read for the 16 the depth
    // allows, the rest of the room before the pixels is skipped.
    std::string many_colours = bmp_file(halves, {40, 4});
    const std::size_t table_end = 14 + 40 + 4 * bmp_palette().size();
    many_colours.insert(table_end, std::string(1024, '\x33'));
    ByteString offset, count;
    put32le(offset, static_cast<std::uint32_t>(table_end + 1024));
    put32le(count, 256);
    many_colours.replace(10, 4, offset).replace(46, 4, count);
    // 8-bit, every colour counted: the palette ends where the pixels begin.
    std::string short_palette = bmp_file(halves, {40, 8});
    short_palette.replace(46, 4, std::string(4, '\0'));
    // Each row: one blue pixel, a move one right, again; the end of the row.
    std::string every_other;
    for (int row = 0; row < 2; ++row)
        every_other += std::string("\x01\x01\0\x02\x01\0\x01\x01\0\x02\x01\0\0\0", 14);
    const Rgb R = kRed, B = kBlue, G = kGreen, W = kWhite;
    struct Case {
        const char* what;
        std::string file;
        Image shown;
    };
    const Case cases[] = {
        {"runs past the row and the picture", overlong, halves},
        {"data ending at once: entry 0", with_data(4, 2, {40, 8, 1}, std::string("\x00\x01", 2)),
         {4, 2, {R, R, R, R, R, R, R, R}}},
        // Two blue, a delta 0 right and 1 up, one green, end.
        {"delta", with_data(4, 2, {40, 8, 1}, std::string("\x02\x01\x00\x02\x00\x01\x01\x02\x00\x01", 10)),
         {4, 2, {R, R, G, R, B, B, R, R}}},
        // Bottom row: an absolute run of five (three bytes and a pad
        // byte), one red; top row: a run alternating green and blue.
        {"RLE4 runs of two colours, odd absolute run",
         with_data(6, 2, {40, 4, 2},
                   std::string("\x00\x05\x12\x31\x20\x00\x01\x00\x00\x00\x06\x21\x00\x01", 14)),
         {6, 2, {G, B, G, B, G, B, B, G, W, B, G, R}}},
        {"more colours counted than the depth allows", many_colours, halves},
        {"a palette cut short by the pixels", short_palette, halves},
        {"a move after every pixel: more bytes than pixels", with_data(4, 2, {40, 8, 1}, every_other + '\0' + '\x01'),
         {4, 2, {B, R, B, R, B, R, B, R}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(difference(pdf::read_bmp(span_of(c.file)), c.shown), "") << c.what;
        EXPECT_EQ(difference(pdf::read_bmp(span_of(c.file), true), c.shown), "") << c.what << " as RGB";
    }
}

TEST(BmpReader, RefusesDamagedFiles) {
    const Image im = marked_halves(4, 4);
    const std::string good = bmp_file(im, {40, 24});
    auto patched = [&](std::size_t at, std::string bytes, std::string base = "") {
        if (base.empty()) base = good;
        return base.replace(at, bytes.size(), bytes);
    };
    const std::string fields = bmp_file(im, {40, 32, 3, false, {0xFF0000, 0xFF00, 0xFF}});
    // Moves by (0, 0) before the pixels, 84 bytes of them: more than the 82
    // that RLE8 data of 4 x 4 pixels take when each record paints a pixel or
    // ends a row.
    std::string moves;
    for (int i = 0; i < 21; ++i) moves += std::string("\0\x02\0\0", 4);
    std::string wasteful = bmp_file(im, {40, 8, 1});
    const std::size_t pixels_at =
        static_cast<std::uint8_t>(wasteful[10]) + 256u * static_cast<std::uint8_t>(wasteful[11]);
    wasteful.insert(pixels_at, moves);
    struct Case {
        const char* what;
        std::string file;
        int error;
    };
    const Case cases[] = {
        {"not BM", patched(0, "MB"), 321},
        {"header size 64", patched(14, std::string("\x40\0\0\0", 4)), 321},
        {"0 pixels wide", patched(18, std::string("\0\0\0\0", 4)), 321},
        {"100000 x 100000 pixels", patched(18, std::string("\xA0\x86\x01\0\xA0\x86\x01\0", 8)), 321},
        {"8193 x 8192 pixels", patched(18, std::string("\x01\x20\0\0\0\x20\0\0", 8)), 321},
        {"top-down RLE8", bmp_file(im, {40, 8, 1, true}), 321},
        {"12-bit pixels", patched(28, std::string("\x0C\0", 2)), 321},
        {"RLE8 on 24-bit pixels", patched(30, std::string("\x01\0\0\0", 4)), 321},
        {"a bit-field mask of 0", patched(54, std::string("\0\0\0\0", 4), fields), 321},
        {"pixel data cut short", good.substr(0, good.size() - 5), 62},
        {"data offset past the end", patched(10, std::string("\xFF\xFF\0\0", 4)), 62},
        {"header cut short", good.substr(0, 30), 62},
        {"RLE8 data longer than a picture of their size needs", wasteful, 321},
        {"the same, cut one byte past what such data may take", wasteful.substr(0, pixels_at + 83), 321},
    };
    for (const Case& c : cases)
        expect_pdf_error([&] { pdf::read_bmp(span_of(c.file)); }, c.error, "PdfWriter.DrawImage", c.what);
}

TEST(TgaReader, EveryTypeDepthAndOrigin) {
    struct Case {
        const char* what;
        TgaSpec spec;
    };
    const Case cases[] = {
        {"true colour 24", {2, 24}},
        {"true colour 32 from the top", {2, 32, 24, 0, true}},
        {"true colour 16 from the right", {2, 16, 24, 0, false, true}},
        {"true colour 15 from the top right", {2, 15, 24, 0, true, true}},
        {"mapped 8-bit index, 24-bit map", {1, 8, 24}},
        {"mapped 16-bit index, 32-bit map from index 5", {1, 16, 32, 5}},
        {"mapped, 16-bit map entries, first index 3", {1, 8, 16, 3, true}},
        {"mapped, 15-bit map entries", {1, 8, 15}},
        {"grey", {3, 8}},
        {"RLE mapped", {9, 8, 24, 2}},
        {"RLE true colour 24 from the top", {10, 24, 24, 0, true}},
        {"RLE true colour 32 from the right", {10, 32, 24, 0, false, true}},
        {"RLE grey", {11, 8}},
    };
    for (const Case& c : cases) {
        for (int width : {1, 5, 200}) {
            Image im = marked_halves(width, 4);
            const auto p = pdf::read_tga(span_of(tga_file(im, c.spec)));
            if ((c.spec.type & 7) == 3) {
                // Grey: compare with the grey the builder stored.
                for (auto& px : im.pixels) {
                    const auto v = static_cast<std::uint8_t>((px.r * 30 + px.g * 59 + px.b * 11) / 100);
                    px = {v, v, v};
                }
                EXPECT_EQ(p.colour_space, "/DeviceGray");
            }
            EXPECT_EQ(difference(p, im), "") << c.what << ", width " << width;
        }
    }
}

TEST(TgaReader, RefusesDamagedFilesAndCutsPackets) {
    const Image im = marked_halves(6, 4);
    const std::string good = tga_file(im, {10, 24});
    // One more run packet than the picture holds: cut, not an error.
    EXPECT_EQ(difference(pdf::read_tga(span_of(good + "\xFF\x01\x02\x03")), im), "");
    auto patched = [&](std::size_t at, std::string bytes) { return std::string(good).replace(at, bytes.size(), bytes); };
    struct Case {
        const char* what;
        std::string file;
        int error;
    };
    const Case cases[] = {
        {"type 4", patched(2, "\x04"), 321},
        {"type 0 (no picture)", patched(2, std::string(1, '\0')), 321},
        {"mapped without a map", patched(2, "\x01"), 321},
        {"12-bit pixels", patched(16, "\x0C"), 321},
        {"0 rows", patched(14, std::string("\0\0", 2)), 321},
        {"65535 x 65535", patched(12, "\xFF\xFF\xFF\xFF"), 321},
        {"packets run out", good.substr(0, good.size() - 4), 62},
        {"header cut short", good.substr(0, 10), 62},
    };
    for (const Case& c : cases)
        expect_pdf_error([&] { pdf::read_tga(span_of(c.file)); }, c.error, "PdfWriter.DrawImage", c.what);
}

// A JPEG skeleton: the segments the reader walks, no real scan data.
std::string segment(std::uint8_t marker, const std::string& body) {
    std::string s = "\xFF";
    s += static_cast<char>(marker);
    const auto n = body.size() + 2;
    s += static_cast<char>(n >> 8);
    s += static_cast<char>(n & 0xFF);
    return s + body;
}
std::string frame_header(int width, int height, int components, int precision = 8) {
    std::string b;
    b += static_cast<char>(precision);
    b += static_cast<char>(height >> 8);
    b += static_cast<char>(height & 0xFF);
    b += static_cast<char>(width >> 8);
    b += static_cast<char>(width & 0xFF);
    b += static_cast<char>(components);
    for (int i = 0; i < components; ++i) b += std::string("\x01\x11\x00", 3);
    return b;
}

TEST(JpegReader, MarkersOnly) {
    // Start of image and the quantisation table the frames use (table 0).
    const std::string table = segment(0xDB, std::string(1, '\0') + std::string(64, '\x01'));
    const std::string soi = "\xFF\xD8" + table;
    // An EXIF segment carrying a thumbnail with its own frame header.
    const std::string exif = segment(0xE1, "Exif" + std::string(2, '\0') + soi + segment(0xC0, frame_header(16, 8, 3)));
    const std::string adobe = segment(0xEE, std::string("Adobe\x00\x64\x00\x00\x00\x00\x00", 12));
    const std::string other_app14 = segment(0xEE, std::string("Other\x00\x64\x00\x00\x00\x00\x00", 12));
    // TEM and the eight restart markers stand alone; DAC (arithmetic
    // coding conditions) is a segment, not a frame.
    const std::string stand_alone = "\xFF\x01\xFF\xD0\xFF\xD1\xFF\xD2\xFF\xD3\xFF\xD4\xFF\xD5\xFF\xD6\xFF\xD7";
    const std::string dac = segment(0xCC, std::string("\x00\x10", 2));
    const std::string scan = segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6)) + "\x12\x34\xFF\xD9";
    struct Case {
        const char* what;
        std::string file;
        int width, height;
        const char* space;
        const char* decode;
    };
    const Case cases[] = {
        {"baseline RGB after a thumbnail", soi + exif + segment(0xC0, frame_header(640, 480, 3)) + scan, 640, 480,
         "/DeviceRGB", ""},
        {"progressive grey, fill bytes, stand-alone markers and DAC before it",
         soi + "\xFF\xFF" + stand_alone + dac + segment(0xC2, frame_header(3, 70000 % 65536, 1)) + scan, 3,
         70000 % 65536, "/DeviceGray", ""},
        {"Adobe CMYK", soi + adobe + segment(0xC1, frame_header(20, 10, 4)) + scan, 20, 10, "/DeviceCMYK",
         "/Decode [1 0 1 0 1 0 1 0]"},
        {"plain CMYK, APP14 of another maker", soi + other_app14 + segment(0xC0, frame_header(20, 10, 4)) + scan, 20,
         10, "/DeviceCMYK", ""},
        {"tables after the frame, of two-byte entries, two in a segment",
         "\xFF\xD8" + segment(0xC0, frame_header(5, 6, 1)) +
             segment(0xDB, "\x11" + std::string(128, '\0') + "\x10" + std::string(128, '\0')) + scan,
         5, 6, "/DeviceGray", ""},
    };
    for (const Case& c : cases) {
        const auto p = pdf::read_jpeg(bytes_of(c.file));
        EXPECT_EQ(p.width, c.width) << c.what;
        EXPECT_EQ(p.height, c.height) << c.what;
        EXPECT_EQ(p.colour_space, c.space) << c.what;
        EXPECT_EQ(p.decode, c.decode) << c.what;
        EXPECT_EQ(p.filter, "/DCTDecode ");
        EXPECT_EQ(std::string(p.samples.begin(), p.samples.end()), c.file) << c.what;
    }

    const std::string rgb = segment(0xC0, frame_header(8, 8, 3));
    struct Refused {
        const char* what;
        std::string file;
        int error;
    };
    const Refused refused[] = {
        {"not SOI", "\xFF\xD9" + rgb + scan, 321},
        {"segment length 0", soi + std::string("\xFF\xE0\x00\x00", 4) + rgb + scan, 321},
        {"segment length 1", soi + std::string("\xFF\xE0\x00\x01", 4) + rgb + scan, 321},
        {"no frame header before the scan", soi + scan, 321},
        {"two components", soi + segment(0xC0, frame_header(8, 8, 2)) + scan, 321},
        {"two frame headers", soi + rgb + rgb + scan, 321},
        {"12-bit samples", soi + segment(0xC0, frame_header(8, 8, 3, 12)) + scan, 321},
        {"0 rows", soi + segment(0xC0, frame_header(8, 0, 3)) + scan, 321},
        {"garbage where a marker belongs", soi + "\x12\x34" + rgb + scan, 321},
        {"segment longer than the file", soi + std::string("\xFF\xE0\x7F\xFF", 4), 62},
        {"ends among fill bytes", soi + "\xFF\xFF\xFF", 62},
        {"no quantisation table", "\xFF\xD8" + rgb + scan, 321},
        {"a component's table not among those defined",
         soi + segment(0xC0, frame_header(8, 8, 1).substr(0, 8) + "\x01") + scan, 321},
        {"the first component's table not defined, the others' defined",
         soi + segment(0xC0, frame_header(8, 8, 3).replace(8, 1, "\x01")) + scan, 321},
        {"a table number above 3", "\xFF\xD8" + segment(0xDB, "\x04" + std::string(64, '\0')) + rgb + scan, 321},
        {"a table of two-byte entries in 100 bytes",
         "\xFF\xD8" + segment(0xDB, "\x10" + std::string(100, '\0')) + rgb + scan, 321},
    };
    for (const Refused& c : refused)
        expect_pdf_error([&] { pdf::read_jpeg(bytes_of(c.file)); }, c.error, "PdfWriter.DrawImage", c.what);

    // Frames PDF readers decode, and the lossless and hierarchical ones they
    // do not (SOF3, 5-7, 11, 13-15).
    for (int marker = 0xC0; marker <= 0xCF; ++marker) {
        if (marker == 0xC4 || marker == 0xC8 || marker == 0xCC) continue;  // DHT, JPG, DAC
        const std::string file = soi + segment(static_cast<std::uint8_t>(marker), frame_header(8, 8, 3)) + scan;
        const bool decoded = marker <= 0xC2 || marker == 0xC9 || marker == 0xCA;
        if (decoded) {
            EXPECT_EQ(pdf::read_jpeg(bytes_of(file)).width, 8) << std::hex << marker;
        } else {
            expect_pdf_error([&] { pdf::read_jpeg(bytes_of(file)); }, 321, "PdfWriter.DrawImage",
                             "JPEG lossless or hierarchical frame");
        }
    }
}

}  // namespace
