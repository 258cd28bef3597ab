// Checks of written files with the independent readers, shared by the text,
// drawing and object tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace contenttest {

// One word as `pdftotext -bbox` reports it (points, origin top-left).
struct BboxWord {
    int page = 0;  // from 1
    double x_min = 0, y_min = 0, x_max = 0, y_max = 0;
    std::string text;  // UTF-8, entities decoded
};

// Parses the XHTML that `pdftotext -bbox` writes.
std::vector<BboxWord> parse_bbox(const std::string& xhtml);

// Runs `pdftotext -bbox` on the file and parses its output.
std::vector<BboxWord> bbox_words(const std::filesystem::path& pdf);

// Words grouped into lines: words of one page whose top edges are within
// 0.5 point of each other, in order of their first appearance.
struct BboxLine {
    int page = 0;
    double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
    std::vector<BboxWord> words;
};
std::vector<BboxLine> bbox_lines(const std::vector<BboxWord>& words);

// The lines of `mutool draw -F stext`, in page order: the extent of each
// line's characters (points, origin top-left).
struct StextLine {
    double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
};
std::vector<StextLine> stext_lines(const std::filesystem::path& pdf);

// Every reader must accept the file without a word of complaint: qpdf
// --check, pdftoppm and mutool draw (stderr free of errors and warnings).
// Returns an empty text when all is well, else what went wrong.
std::string reader_complaints(const std::filesystem::path& pdf);

// Renders page `page` at `dpi` with pdftoppm into a greyscale PGM and
// returns the pixel rows (0 black .. 255 white).
struct GreyImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    unsigned char at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
GreyImage render_grey(const std::filesystem::path& pdf, int page, int dpi);
// The same page drawn by mutool instead.
GreyImage render_grey_mupdf(const std::filesystem::path& pdf, int page, int dpi);

// Same in colour (PPM): three bytes per pixel.
struct ColourImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    const unsigned char* at(int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * width + x) * 3];
    }
    // The pixel as 'R' (red), 'B' (blue), 'W' (white), else '?'.
    char colour(int x, int y) const {
        const unsigned char* p = at(x, y);
        if (p[0] > 200 && p[1] < 60 && p[2] < 60) return 'R';
        if (p[0] < 60 && p[1] < 60 && p[2] > 200) return 'B';
        if (p[0] > 200 && p[1] > 200 && p[2] > 200) return 'W';
        return '?';
    }
};
ColourImage render_colour(const std::filesystem::path& pdf, int page, int dpi);

// The decompressed content of every page stream, via `qpdf --qdf`.
std::string uncompressed(const std::filesystem::path& pdf);

}  // namespace contenttest
