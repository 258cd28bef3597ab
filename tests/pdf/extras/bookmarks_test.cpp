// Bookmarks and the outline tree the document end makes of them.
#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "pdf/core/own_pdf.h"
#include "support/tools.h"

using namespace coretest;
using testsupport::read_file;
using testsupport::TempDir;

namespace {

// The outline as mutool reads it: "depth:title" per item, depth 0 for the
// title item.
std::vector<std::string> mutool_outline(const std::filesystem::path& file) {
    const auto result = testsupport::run_command("mutool show " + testsupport::shell_quote(file.string()) + " outline");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::vector<std::string> items;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        const auto quote = line.find('"');
        if (quote == std::string::npos) continue;
        const auto depth = std::count(line.begin(), line.begin() + static_cast<long>(quote), '\t') - 1;
        items.push_back(std::to_string(depth) + ":" + line.substr(quote + 1, line.find('"', quote + 1) - quote - 1));
    }
    return items;
}

}  // namespace

TEST(ExtrasBookmarks, LevelsAsReadersSeeThem) {
    struct Case {
        std::vector<std::int16_t> levels;  // the Level arguments, on a new writer
        std::vector<int> depths;           // mutool's depth of each; -1 = not added
        bool protect = false;
    };
    std::vector<Case> cases = {
        {{0, 0}, {1, 1}},  // the default level right after construction
        {{-1}, {1}},
        {{1, 2, 2, 1}, {1, 2, 2, 1}},
        {{1, 2, 3, 1}, {1, 2, 3, 1}, true},
        {{1, 5}, {1, 2}},
        {{0, -1, -1, -5, -1}, {1, 2, 3, 1, 2}},
        {{1, -1, 0}, {1, 2, 2}},
    };
    Case chain;  // 254 levels, then nothing deeper
    for (int i = 1; i <= 253; ++i) chain.levels.push_back(-1), chain.depths.push_back(i);
    chain.levels.insert(chain.levels.end(), {255, -1, 300, 0});
    chain.depths.insert(chain.depths.end(), {254, -1, -1, 254});
    cases.push_back(chain);

    TempDir dir;
    for (std::size_t c = 0; c < cases.size(); ++c) {
        const auto file = dir / ("levels" + std::to_string(c) + ".pdf");
        PdfWriter writer;
        if (cases[c].protect) writer.SetProtection(4, "proprietario", "");
        writer.BeginDoc(file.string());
        writer.SetDocProperty("Titolo");
        std::vector<std::string> expected = {"0:Titolo"};
        int added = 1;
        for (std::size_t i = 0; i < cases[c].levels.size(); ++i) {
            // Windows-1252 "città (€)": mutool prints it as UTF-8.
            const std::string caption = "citt\xE0 (\x80) " + std::to_string(i);
            const int depth = cases[c].depths[i];
            EXPECT_EQ(writer.AddBookmark(caption, cases[c].levels[i]), depth < 0 ? "" : "@" + std::to_string(++added))
                << "case " << c << " entry " << i;
            if (depth >= 0)
                expected.push_back(std::to_string(depth) + ":citt\xC3\xA0 (\xE2\x82\xAC) " + std::to_string(i));
        }
        writer.EndDoc();
        expect_qpdf_clean(file, "", file.filename().string());
        EXPECT_EQ(mutool_outline(file), expected) << "case " << c;
        // The title item is open on its level-1 entries only: the deeper
        // ones stay folded, so they are not counted.
        const std::string pdf = read_file(file);
        const auto top = std::count(cases[c].depths.begin(), cases[c].depths.end(), 1);
        EXPECT_NE(object_text(pdf, reference_after(pdf, "/Outlines") + 1).find("/Count " + std::to_string(top) + "\r"),
                  std::string::npos)
            << "case " << c;
        if (cases[c].protect) {
            EXPECT_EQ(pdf.find("citt"), std::string::npos);
        }
    }
}

TEST(ExtrasBookmarks, ItemsCarryViewColourAndStyle) {
    TempDir dir;
    const auto file = dir / "items.pdf";
    PdfWriter writer;
    writer.BeginDoc(file.string());
    writer.SetMargins(10, 0, 20, 0);
    writer.AddBookmark("(a\\b)");  // before any page: page 1, "/FitB"
    writer.BeginPage();
    writer.BeginPage();
    writer.AddBookmark("v1", 0, 1, 5, 30, 100, 50);
    writer.AddBookmark("v2", 0, 2, 5, 30, 100, 50);
    writer.AddBookmark("v3", 0, 3, 5, 30, 100, 50);
    writer.AddBookmark("v4", 0, 4, 5, 30, 0, 0, 150, "#FF0000", 3);
    writer.AddBookmark("v7", 0, 7, 0, 0, 0, 0, 0, "#00FF00", 1);
    expect_pdf_error([&] { writer.AddBookmark("pattern", 0, 0, 0, 0, 0, 0, 0, "TRAMA"); }, 13,
                     "PdfWriter.AddBookmark");
    EXPECT_EQ(writer.AddBookmark("italic", 0, 0, 0, 0, 0, 0, 0, {}, 2), "@8");
    writer.EndDoc();
    const std::string pdf = read_file(file);
    EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.4");
    const int root = reference_after(pdf, "/Outlines");
    auto ref = [&](int i) { return std::to_string(root + i) + " 0 R"; };
    // Page objects: 4 (content 5), then 6. Views are measured from the
    // margin box, as drawing is: x 10 + 5, y 842 - 20 - 30.
    const std::vector<std::string> items = {
        "<< /Count 1 /First " + ref(1) + " /Last " + ref(1) + " >>",
        "<< /Title (\\(senza titolo\\))\r/Parent " + ref(0) + "\r/First " + ref(2) + "\r/Last " + ref(8) +
            "\r/Count 7\r/Dest [4 0 R /FitB]\r>>",
        "<< /Title (\\(a\\\\b\\))\r/Parent " + ref(1) + "\r/Next " + ref(3) + "\r/Dest [4 0 R /FitB]\r>>",
        "/Prev " + ref(2) + "\r/Next " + ref(4) + "\r/Dest [6 0 R /FitV 15]\r>>",
        "/Dest [6 0 R /FitH 792]\r>>",
        "/Dest [6 0 R /FitR 15 742 115 792]\r>>",
        "/Dest [6 0 R /XYZ 15 792 1.5]\r/C [1 0 0]\r/F 3\r>>",
        "/Next " + ref(8) + "\r/C [0 1 0]\r/F 2\r>>",
        "<< /Title (italic)\r/Parent " + ref(1) + "\r/Prev " + ref(7) + "\r/Dest [6 0 R /FitB]\r/F 1\r>>",
    };
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_NE(object_text(pdf, root + static_cast<int>(i)).find(items[i] + "\nendobj"), std::string::npos)
            << "item " << i << ": " << object_text(pdf, root + static_cast<int>(i));
    expect_qpdf_clean(file, "", "items");

    // A colour or a style asks for PDF 1.4; a plain bookmark leaves the
    // version alone.
    const struct {
        const char* colour;
        std::int32_t style;
        char version;
    } versions[] = {{"", 0, '3'}, {"Red", 0, '4'}, {"", 2, '4'}};
    for (const auto& v : versions) {
        PdfWriter writer;
        writer.BeginDoc((dir / "version.pdf").string());
        writer.AddBookmark("x", 1, 0, 0, 0, 0, 0, 0, v.colour, v.style);
        writer.EndDoc();
        EXPECT_EQ(read_file(dir / "version.pdf")[7], v.version) << v.colour << " " << v.style;
    }
}
