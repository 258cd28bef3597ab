// Streams of whole documents through every filter, alone and chained, with
// and without protection: qpdf must find the file clean and decode each page
// content back to the bytes the writer would have written unfiltered.
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <string>
#include <vector>

#include "../core/own_pdf.h"
#include "../pictures/picture_files.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/flate_encoder.h"
#include "support/tools.h"

using testsupport::run_command;
using testsupport::shell_quote;

namespace {

using coretest::content_objects;

struct Setup {
    int protection = -1;  // SetProtection mode, -1 for none
    int filters = 0;
    int quality = 3;
};

const std::string sample_text =
    "Il committente affida all'appaltatore (che accetta) l'esecuzione dei lavori \\ opere edili: "
    "importo complessivo euro 125.000,00. Il committente affida all'appaltatore i lavori.";

// Writes one page showing `text` and returns the file's bytes.
std::string write_page(const std::filesystem::path& file, const Setup& setup, const std::string& text) {
    PdfWriter writer;
    if (setup.protection >= 0) writer.SetProtection(setup.protection, "dezarezozidu");
    writer.SetCompression(setup.filters, static_cast<std::uint8_t>(setup.quality));
    writer.BeginDoc(file.string());
    writer.BeginPage();
    writer.SetFont("Courier", 10);
    writer.DrawText(20, 40, text);
    writer.EndDoc();
    return testsupport::read_file(file);
}

// The unfiltered page content: the stream of the page's /Contents.
std::string plain_content(const std::string& pdf) {
    const std::string trailer = pdf.substr(pdf.rfind("trailer"));
    const int root = coretest::reference_after(trailer, "/Root");
    const int pages = coretest::reference_after(coretest::object_text(pdf, root), "/Pages");
    const std::string tree = coretest::object_text(pdf, pages);
    const int page = std::stoi(tree.substr(tree.find("/Kids [") + 7));
    return coretest::stream_data(pdf, coretest::reference_after(coretest::object_text(pdf, page), "/Contents"));
}

void expect_decodes_to(const std::filesystem::path& file, const std::string& expected, const std::string& what) {
    coretest::expect_qpdf_clean(file, "", what);
    const auto contents = content_objects(file);
    ASSERT_EQ(contents.size(), 1u) << what;
    EXPECT_EQ(coretest::filtered_stream(file, contents[0], what), expected) << what;
}

// The number of codes the LZW encoder hands out for `data`, the one counted
// at the end included (table entries from 258; the count goes on across
// the clears).
int lzw_codes(const std::string& data, int quality) {
    const int largest = (1 << (9 + quality)) - 1;
    std::map<std::string, int> table;  // strings of two bytes and more
    int next = 258, total = 0;
    std::string current;
    for (char c : data) {
        if (current.empty() || table.count(current + c)) {
            current += c;
            continue;
        }
        table[current + c] = next;
        ++total;
        if (next++ == largest) {
            table.clear();
            next = 258;
        }
        current = std::string(1, c);
    }
    return data.empty() ? 0 : total + 1;
}

std::string fresh_text(std::size_t size) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,;:!?'\"#$%&*+-/<=>@[]^_`{|}~";
    std::string text;
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        text.push_back(alphabet[(state >> 16) % alphabet.size()]);
    }
    return text;
}

}  // namespace

TEST(FilteredDocument, EveryFilterAloneAndChainedWithAndWithoutProtection) {
    REQUIRE_TOOL("qpdf");
    testsupport::TempDir dir;
    const std::string expected = plain_content(write_page(dir / "plain.pdf", {}, sample_text));
    for (int protection : {-1, 4, 4100}) {
        for (int filters : {1, 2, 4, 8, 16, 3, 5, 6, 7, 10, 12, 17, 24, 26, 31}) {
            const std::string what = "filters " + std::to_string(filters) + ", protection " + std::to_string(protection);
            const auto file = dir / ("f" + std::to_string(filters) + "p" + std::to_string(protection) + ".pdf");
            write_page(file, {protection, filters}, sample_text);
            expect_decodes_to(file, expected, what);
        }
    }
}

// A picture's samples whose last group of four is zero: ASCII85 ends them
// with "z", and a reader decodes them back whole, protected or not.
TEST(FilteredDocument, PictureEndingInFourZeroBytesThroughAscii85) {
    REQUIRE_TOOL("qpdf");
    testsupport::TempDir dir;
    // 4 x 2 pixels, black but for a red one at the left of each row: the
    // samples (bottom row first) start with red and end in nine zero bytes.
    picturetest::Image black{4, 2, std::vector<picturetest::Rgb>(8, picturetest::Rgb{0, 0, 0})};
    black.pixels[0] = black.pixels[4] = picturetest::kRed;
    const auto bmp = dir / "nero.bmp";
    testsupport::write_file(bmp, picturetest::bmp_file(black, {40, 24}));
    // Writes the picture and returns the file's bytes and its image object.
    auto write_picture = [&](const std::filesystem::path& file, int protection, int filters) {
        PdfWriter writer;
        if (protection >= 0) writer.SetProtection(protection, "dezarezozidu");
        writer.SetCompression(filters);
        writer.BeginDoc(file.string());
        writer.BeginPage();
        writer.DrawImage(bmp.string(), 10, 10, 40, 20);
        writer.EndDoc();
        const std::string pdf = testsupport::read_file(file);
        return std::pair{pdf, coretest::reference_after(pdf.substr(pdf.rfind("/XObject <<")), "/_IMG_1")};
    };
    const auto [plain, plain_image] = write_picture(dir / "plain.pdf", -1, 0);
    const std::string samples = coretest::stream_data(plain, plain_image);
    ASSERT_EQ(samples.size(), 24u);
    ASSERT_EQ(samples.substr(20), std::string(4, '\0'));
    for (const int protection : {-1, 4}) {
        const std::string what = "protection " + std::to_string(protection);
        const auto file = dir / ("a85" + std::to_string(protection) + ".pdf");
        const auto [pdf, image] = write_picture(file, protection, 8);
        coretest::expect_qpdf_clean(file, "", what);
        EXPECT_EQ(coretest::filtered_stream(file, image, what), samples) << what;
        if (protection < 0) {
            EXPECT_TRUE(coretest::stream_data(pdf, image).ends_with("z~>")) << what;
        }
    }
}

TEST(FilteredDocument, FilterEntriesListTheDecodingOrder) {
    testsupport::TempDir dir;
    auto filter_line = [&](int filters) {
        const std::string pdf = write_page(dir / "f.pdf", {-1, filters}, sample_text);
        const auto at = pdf.find("/Filter [");
        return at == std::string::npos ? std::string() : pdf.substr(at, pdf.find('\n', at) - at);
    };
    EXPECT_EQ(filter_line(31), "/Filter [/ASCIIHexDecode /ASCII85Decode /LZWDecode /FlateDecode /RunLengthDecode ]");
    EXPECT_EQ(filter_line(10), "/Filter [/ASCII85Decode /FlateDecode ]");
    EXPECT_EQ(filter_line(0), "");
    EXPECT_EQ(filter_line(32), "");  // bits without a filter are ignored
}

TEST(FilteredDocument, FlateStreamIsTheEncoderOutputAtTheStoredQuality) {
    testsupport::TempDir dir;
    const std::string plain = plain_content(write_page(dir / "plain.pdf", {}, sample_text));
    const std::vector<std::uint8_t> bytes(plain.begin(), plain.end());
    for (int quality : {0, 1, 2, 3, 9}) {
        const std::string stream = plain_content(write_page(dir / "q.pdf", {-1, 2, quality}, sample_text));
        const auto expected = pdf::flate_encode(bytes, std::min(quality, 3));
        EXPECT_EQ(stream, std::string(expected.begin(), expected.end())) << "quality " << quality;
    }
}

TEST(FilteredDocument, CompressionSwitchedOffAppliesToLaterPages) {
    REQUIRE_TOOL("qpdf");
    testsupport::TempDir dir;
    const auto file = dir / "switch.pdf";
    PdfWriter writer;
    writer.SetCompression(2);
    writer.BeginDoc(file.string());
    writer.BeginPage();
    writer.SetFont("Helvetica", 12);
    writer.DrawText(1, 1, "Pagina compressa");
    writer.BeginPage();  // the first page is written now, compressed
    writer.SetCompression(0);
    writer.DrawText(1, 1, "Pagina in chiaro");
    writer.EndDoc();
    const std::string pdf = testsupport::read_file(file);
    const auto contents = content_objects(file);
    ASSERT_EQ(contents.size(), 2u);
    EXPECT_NE(coretest::object_text(pdf, contents[0]).find("/Filter [/FlateDecode ]"), std::string::npos);
    EXPECT_EQ(coretest::object_text(pdf, contents[1]).find("/Filter"), std::string::npos);
    EXPECT_NE(coretest::stream_data(pdf, contents[1]).find("(Pagina in chiaro) Tj"), std::string::npos);
    const std::string text = coretest::pdftotext(file);
    EXPECT_NE(text.find("Pagina compressa"), std::string::npos);
    EXPECT_NE(text.find("Pagina in chiaro"), std::string::npos);
}

TEST(FilteredDocument, LzwStreamsAcrossEveryCodeWidthBoundary) {
    REQUIRE_TOOL("qpdf");
    testsupport::TempDir dir;
    const std::map<int, std::vector<int>> boundaries = {
        {0, {511}}, {1, {511, 1023}}, {2, {511, 1023, 2047}}, {3, {511, 1023, 2047, 4095}}};
    for (const auto& [quality, codes] : boundaries) {
        for (int boundary : codes) {
            // The shortest text whose content hands out the boundary's code.
            auto total_codes = [&](std::size_t size) {
                const std::string content = plain_content(write_page(dir / "probe.pdf", {}, fresh_text(size)));
                return lzw_codes(content, quality);
            };
            std::size_t low = 0, high = 8000;
            while (low < high) {
                const std::size_t mid = (low + high) / 2;
                if (total_codes(mid) + 257 < boundary)
                    low = mid + 1;
                else
                    high = mid;
            }
            bool boundary_met = false;
            for (std::size_t size = low > 3 ? low - 3 : 0; size < low + 4; ++size) {
                const std::string what = "quality " + std::to_string(quality) + ", text of " + std::to_string(size);
                const std::string content = plain_content(write_page(dir / "plain.pdf", {}, fresh_text(size)));
                boundary_met |= lzw_codes(content, quality) + 257 == boundary;
                const auto file = dir / "lzw.pdf";
                write_page(file, {size == low ? 4 : -1, 4, quality}, fresh_text(size));
                expect_decodes_to(file, content, what);
            }
            EXPECT_TRUE(boundary_met) << "quality " << quality << ", code " << boundary;
        }
    }
}

TEST(FilteredDocument, PublicFlateMemberTakesTheWholeArray) {
    PdfWriter writer;
    std::vector<std::uint8_t> data(5000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t("contratto di appalto "[i % 21]);
    const auto original = data;
    std::int32_t count = 3;  // not read
    writer.zzToFlateDecode(data, count, 5);  // the quality is only read
    ASSERT_EQ(count, std::int32_t(data.size()));
    std::vector<std::uint8_t> inflated(original.size() + 1);
    uLongf size = uLongf(inflated.size());
    ASSERT_EQ(uncompress(inflated.data(), &size, data.data(), uLong(count)), Z_OK);
    inflated.resize(size);
    EXPECT_EQ(inflated, original);
}
