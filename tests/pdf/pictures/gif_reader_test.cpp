#include <gtest/gtest.h>

#include <random>

#include "../core/own_pdf.h"
#include "pdf/content/gif_lzw.h"
#include "pdf/content/gif_reader.h"
#include "decoded.h"
#include "picture_files.h"

namespace {

using namespace picturetest;
using coretest::expect_pdf_error;

// Noise with some runs: fills the string table several times over.
std::vector<std::uint8_t> mixed_pixels(std::size_t n, int colours, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> p(n);
    for (std::size_t i = 0; i < n; ++i) {
        p[i] = (i / 37) % 3 == 0 ? static_cast<std::uint8_t>((i / 37) % colours)
                                 : static_cast<std::uint8_t>(random() % static_cast<unsigned>(colours));
    }
    return p;
}

// Decoded into rows of `width` pixels (which divides `count`), in order.
std::vector<std::uint8_t> decoded(int code_size, const std::string& data, std::size_t count, std::size_t width = 0) {
    if (width == 0) width = count;
    std::vector<std::uint8_t> out(count);
    const std::string chain = sub_blocks(data);
    pdf::ByteCursor at(span_of(chain));
    pdf::decode_gif_lzw(code_size, at, width, count / width, [&](std::size_t row) { return out.data() + row * width; });
    return out;
}

TEST(GifLzw, DecodesWhatTheEncoderWrote) {
    struct Case {
        const char* what;
        int code_size;
        std::size_t count;
        GifLzwOptions options;
        std::size_t row;  // strings run on from row to row
    };
    const Case cases[] = {
        {"two colours, code size 2", 2, 1000, {}, 8},
        {"full table, Clear at 4096", 8, 60000, {}, 240},
        {"full table kept until the end (deferred Clear)", 8, 60000, {true, false}, 3},
        {"literals only, many Clears", 4, 3000, {false, true}, 60},
        {"single pixel", 8, 1, {}, 1},
    };
    for (const Case& c : cases) {
        const auto pixels = mixed_pixels(c.count, 1 << c.code_size, 7);
        const std::string data = gif_lzw(pixels, c.code_size, c.options);
        EXPECT_EQ(decoded(c.code_size, data, pixels.size()), pixels) << c.what;
        EXPECT_EQ(decoded(c.code_size, data, pixels.size(), c.row), pixels) << c.what << ", rows of " << c.row;
    }
    // Data holding more than the frame: strings that run past its last
    // pixel leave the rows before as they were.
    const auto more = mixed_pixels(3000, 4, 5);
    const std::string longer = gif_lzw(more, 2);
    for (std::size_t rows = 40; rows < 50; ++rows) {
        EXPECT_EQ(decoded(2, longer, rows * 7, 7), std::vector<std::uint8_t>(more.begin(), more.begin() + rows * 7))
            << rows << " rows";
    }

    // The bound that refuses short data up front holds for the encoder's
    // longest strings: one colour, the table kept full, at every length.
    for (int code_size : {2, 5, 8}) {
        for (std::size_t pixels : {1, 2, 3, 10, 100, 300, 1000, 3000, 10000, 1 << 23}) {
            const std::string longest = gif_lzw(std::vector<std::uint8_t>(pixels, 0), code_size, {true, false});
            EXPECT_GE(pdf::gif_lzw_most_pixels(code_size, longest.size()), pixels) << code_size << " " << pixels;
        }
    }

    // A run of one colour makes the encoder send the entry it is building.
    int kwkwk = 0;
    const std::vector<std::uint8_t> run(5000, 3);
    const std::string data = gif_lzw(run, 2, {}, &kwkwk);
    EXPECT_GT(kwkwk, 10);
    EXPECT_EQ(decoded(2, data, run.size()), run);
}

TEST(GifLzw, RefusesDamagedData) {
    const auto pixels = mixed_pixels(2000, 16, 3);
    const std::string good = gif_lzw(pixels, 4);
    struct Case {
        const char* what;
        int code_size;
        std::string data;
    };
    const Case cases[] = {
        {"code size 1", 1, good},
        {"code size 9", 9, good},
        {"data cut in half", 4, good.substr(0, good.size() / 2)},
        {"no data", 4, ""},
        // Clear (16) then 31, a code far beyond the table.
        {"code not in the table", 4, std::string("\x10\x1F\x00", 3)},
        // Clear, a literal, End: too few pixels.
        {"End before the picture is complete", 4, std::string("\x10\x02\x11\x00", 4)},
    };
    for (const Case& c : cases) {
        expect_pdf_error([&] { decoded(c.code_size, c.data, pixels.size()); }, 321,
                         "PdfWriter.DrawImage", c.what);
    }
    // A sub-block announcing more bytes than the chain holds.
    const std::string chain = "\xFF" + good.substr(0, 100);
    std::vector<std::uint8_t> out(pixels.size());
    pdf::ByteCursor at(span_of(chain));
    expect_pdf_error([&] { pdf::decode_gif_lzw(4, at, out.size(), 1, [&](std::size_t) { return out.data(); }); }, 321,
                     "PdfWriter.DrawImage", "sub-block past the end");
}

TEST(GifReader, FramesTablesAndRowOrder) {
    const std::vector<Rgb> global = {kRed, kBlue, kGreen};
    GifFrame first = halves_frame(5, 6);
    GifFrame second = halves_frame(3, 11);
    second.local_colours = {kGreen, kWhite};
    second.interlaced = true;
    second.min_code_size = 8;
    for (std::size_t i = 0; i < second.pixels.size(); ++i) second.pixels[i] = static_cast<std::uint8_t>(i / 3 % 2);
    const std::string file = gif_file(global, {first, second});

    for (int frame : {-3, 0, 1}) {
        const pdf::RasterPicture p = pdf::read_gif(span_of(file), frame);
        EXPECT_EQ(p.width, 5);
        EXPECT_EQ(p.height, 6);
        // Four entries (code size 2), the global table padded by the file.
        ASSERT_EQ(p.palette.size(), 12u);
        EXPECT_EQ(p.palette[3], 0);
        EXPECT_EQ(p.palette[5], 255);
        // Bottom row first: the blue half (index 1) leads.
        EXPECT_EQ(p.samples.front(), 1);
        EXPECT_EQ(p.samples.back(), 0);
    }

    // Neither table: a grey ramp, entry i of grey i.
    const pdf::RasterPicture grey = pdf::read_gif(span_of(gif_file({}, {first})), 1);
    ASSERT_EQ(grey.palette.size(), 256u * 3);
    for (std::size_t i = 0; i < grey.palette.size(); ++i) EXPECT_EQ(grey.palette[i], i / 3) << i;

    const pdf::RasterPicture p = pdf::read_gif(span_of(file), 2);
    EXPECT_EQ(p.width, 3);
    EXPECT_EQ(p.height, 11);
    ASSERT_EQ(p.palette.size(), 256u * 3);  // code size 8: every byte a valid index
    EXPECT_EQ(p.palette[1], 255);          // the local table wins
    for (int row = 0; row < 11; ++row) {
        // Display row r holds r % 2; bottom row first in the samples.
        EXPECT_EQ(p.samples[static_cast<std::size_t>(row * 3)], (10 - row) % 2) << row;
    }
}

// Interlaced rows come in four passes (every 8th from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1): for every height up to two full
// cycles, the interlaced file shows what the plain one does.
TEST(GifReader, InterlacedFramesShowWhatPlainOnesDo) {
    for (int height = 1; height <= 17; ++height) {
        GifFrame plain = halves_frame(3, height);
        plain.min_code_size = 5;
        for (std::size_t i = 0; i < plain.pixels.size(); ++i) plain.pixels[i] = static_cast<std::uint8_t>(i / 3 + i % 3);
        GifFrame interlaced = plain;
        interlaced.interlaced = true;
        const std::string a = gif_file({kRed, kBlue}, {plain}), b = gif_file({kRed, kBlue}, {interlaced});
        const pdf::RasterPicture shown = pdf::read_gif(span_of(a), 1);
        EXPECT_EQ(pdf::read_gif(span_of(b), 1).samples, shown.samples) << "height " << height;
        for (int y = 0; y < height; ++y)
            EXPECT_EQ(shown.samples[static_cast<std::size_t>((height - 1 - y) * 3)], y) << "height " << height;
    }
}

TEST(GifReader, RefusesDamagedFiles) {
    const std::string good = gif_file({kRed, kBlue}, {halves_frame(4, 4)});
    std::string wide = good;
    wide[6] = wide[7] = '\xFF';  // the screen size is not read
    std::string huge = gif_file({kRed, kBlue}, {halves_frame(4, 4)});
    const std::size_t descriptor = huge.find('\x2C', 13 + 12);
    huge[descriptor + 5] = huge[descriptor + 6] = huge[descriptor + 7] = huge[descriptor + 8] = '\xFF';
    std::string empty_frame = good;
    empty_frame[descriptor + 5] = empty_frame[descriptor + 6] = '\0';

    struct Case {
        const char* what;
        std::string file;
        int frame;
        int error;
    };
    const Case cases[] = {
        {"not a GIF", "GIF88a" + good.substr(6), 1, 321},
        {"a frame the file does not have", good, 2, 321},
        {"65535 x 65535 pixels", huge, 1, 321},
        {"0 pixels wide", empty_frame, 1, 321},
        {"sub-blocks without a terminator", good.substr(0, good.size() - 2), 1, 62},
        {"last sub-block one byte longer than the file", good.substr(0, good.size() - 3), 1, 62},
        {"no trailer while looking for frame 2", good.substr(0, good.size() - 1), 2, 62},
        {"global table past the end", good.substr(0, 15), 1, 62},
        {"unknown block", good.substr(0, 19) + "\x99", 1, 321},
    };
    for (const Case& c : cases) {
        expect_pdf_error([&] { pdf::read_gif(span_of(c.file), c.frame); }, c.error, "PdfWriter.DrawImage", c.what);
    }
    EXPECT_EQ(pdf::read_gif(span_of(wide), 1).width, 4);

    // A code size outside 2..8 is named, not taken for data that end early.
    std::string code_size_12 = good;
    code_size_12[descriptor + 10] = 12;
    try {
        pdf::read_gif(span_of(code_size_12), 1);
        ADD_FAILURE() << "code size 12 taken";
    } catch (const PdfError& e) {
        EXPECT_EQ(e.number(), 321);
        EXPECT_NE(e.description().find("minimum code size 12"), std::string::npos) << e.description();
    }
}

}  // namespace
