// Bookmarks and the outline tree the document end makes of them.
#include <sstream>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "pdf/core/outline_tree.h"
#include "pdf/core/own_pdf.h"
#include "support/tools.h"

using namespace coretest;
using testsupport::read_file;
using testsupport::run_command;
using testsupport::shell_quote;
using testsupport::TempDir;

namespace {

// The outline as mutool reads it: one "depth:title" per item, depth 0 for
// the title item.
std::vector<std::string> mutool_outline(const std::filesystem::path& file) {
    const auto result = run_command("mutool show " + shell_quote(file.string()) + " outline");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::vector<std::string> items;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        const auto quote = line.find('"');
        if (quote == std::string::npos) continue;
        const auto depth = std::count(line.begin(), line.begin() + static_cast<long>(quote), '\t') - 1;
        const auto end = line.find('"', quote + 1);
        items.push_back(std::to_string(depth) + ":" + line.substr(quote + 1, end - quote - 1));
    }
    return items;
}

}  // namespace

TEST(ExtrasOutlineTree, LinksFollowTheLevels) {
    using L = pdf::OutlineLinks;
    struct Case {
        std::vector<std::int16_t> levels;  // index 0 unused
        std::vector<L> links;              // parent, first, last, next, prev from index 1
        std::int32_t top_count;
    };
    const std::vector<Case> cases = {
        {{0, 0, 1}, {{0, 2, 2, 0, 0}, {1, 0, 0, 0, 0}}, 1},
        {{0, 0, 1, 2, 2, 1},
         {{0, 2, 5, 0, 0}, {1, 3, 4, 5, 0}, {2, 0, 0, 4, 0}, {2, 0, 0, 0, 3}, {1, 0, 0, 0, 2}}, 2},
        {{0, 0, 1, 2, 3, 1},
         {{0, 2, 5, 0, 0}, {1, 3, 3, 5, 0}, {2, 4, 4, 0, 0}, {3, 0, 0, 0, 0}, {1, 0, 0, 0, 2}}, 2},
        // Levels the rule does not allow are pulled into it: 5 after the
        // title is 1, 0 and -3 are 1.
        {{0, 0, 5, 0, -3}, {{0, 2, 4, 0, 0}, {1, 0, 0, 3, 0}, {1, 0, 0, 4, 2}, {1, 0, 0, 0, 3}}, 3},
    };
    for (const Case& c : cases) {
        const pdf::OutlineTree tree = pdf::link_outline(c.levels);
        ASSERT_EQ(tree.links.size(), c.links.size() + 1);
        for (std::size_t i = 0; i < c.links.size(); ++i) {
            const L& got = tree.links[i + 1];
            const L& want = c.links[i];
            EXPECT_EQ(std::vector<int>({got.parent, got.first, got.last, got.next, got.prev}),
                      std::vector<int>({want.parent, want.first, want.last, want.next, want.prev}))
                << "entry " << i + 1 << " of case with " << c.levels.size() - 1 << " entries";
        }
        EXPECT_EQ(tree.top_count, c.top_count);
    }
}

TEST(ExtrasBookmarks, LevelsAsReadersSeeThem) {
    struct Case {
        std::vector<std::int16_t> levels;  // the Level arguments, on a fresh writer
        std::vector<int> depths;           // the depth mutool shows for each
    };
    const std::vector<Case> cases = {
        {{0, 0}, {1, 1}},  // the default level right after construction
        {{-1}, {1}},
        {{1, 2, 2, 1}, {1, 2, 2, 1}},
        {{1, 2, 3, 1}, {1, 2, 3, 1}},
        {{1, 5}, {1, 2}},
        {{0, -1, -1, -5, -1}, {1, 2, 3, 1, 2}},
        {{1, -1, 0}, {1, 2, 2}},
    };
    TempDir dir;
    for (std::size_t c = 0; c < cases.size(); ++c) {
        const auto file = dir / ("levels" + std::to_string(c) + ".pdf");
        PdfWriter writer;
        writer.BeginDoc(file.string());
        writer.SetDocProperty("Titolo");
        std::vector<std::string> expected = {"0:Titolo"};
        for (std::size_t i = 0; i < cases[c].levels.size(); ++i) {
            const std::string caption = "b" + std::to_string(i + 2);
            EXPECT_EQ(writer.AddBookmark(caption, cases[c].levels[i]), "@" + std::to_string(i + 2));
            expected.push_back(std::to_string(cases[c].depths[i]) + ":" + caption);
        }
        writer.EndDoc();
        expect_qpdf_clean(file, "", file.filename().string());
        EXPECT_EQ(mutool_outline(file), expected) << "case " << c;
    }
}

TEST(ExtrasBookmarks, AChainOf254LevelsAndNoDeeper) {
    TempDir dir;
    const auto file = dir / "deep.pdf";
    PdfWriter writer;
    writer.BeginDoc(file.string());
    for (int i = 1; i <= 254; ++i)
        ASSERT_EQ(writer.AddBookmark("L" + std::to_string(i), -1), "@" + std::to_string(i + 1));
    EXPECT_EQ(writer.AddBookmark("too deep", -1), "");
    EXPECT_EQ(writer.AddBookmark("too deep", 300), "");
    EXPECT_EQ(writer.AddBookmark("same", 0), "@256");
    writer.EndDoc();
    expect_qpdf_clean(file, "", "deep");
    const auto items = mutool_outline(file);
    ASSERT_EQ(items.size(), 256u);
    EXPECT_EQ(items[254], "254:L254");
    EXPECT_EQ(items[255], "254:same");
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
    writer.AddBookmark("v1", 0, 1, 5, 30);
    writer.AddBookmark("v2", 0, 2, 5, 30);
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
    ASSERT_GT(root, 0);
    // Page objects: 4 (content 5), then 6.
    const std::string t = std::to_string(root + 1) + " 0 R", p1 = "4", p2 = "6";
    auto item = [&](int i) { return object_text(pdf, root + i); };
    EXPECT_EQ(item(0), std::to_string(root) + " 0 obj\n<< /Count 1 /First " + t + " /Last " + t + " >>\nendobj\n");
    EXPECT_NE(item(1).find("/First " + std::to_string(root + 2) + " 0 R\r/Last " + std::to_string(root + 8) +
                           " 0 R\r/Count 7\r/Dest [" + p1 + " 0 R /FitB]\r>>"),
              std::string::npos);
    EXPECT_NE(item(2).find("<< /Title (\\(a\\\\b\\))\r/Parent " + t + "\r/Next "), std::string::npos);
    EXPECT_NE(item(2).find("/Dest [" + p1 + " 0 R /FitB]\r>>"), std::string::npos);
    // Views are measured from the margin box, as drawing is: x 10 + 5,
    // y 842 - 20 - 30.
    EXPECT_NE(item(3).find("/Dest [" + p2 + " 0 R /FitV 15]\r>>"), std::string::npos);
    EXPECT_NE(item(4).find("/Dest [" + p2 + " 0 R /FitH 792]\r>>"), std::string::npos);
    EXPECT_NE(item(5).find("/Dest [" + p2 + " 0 R /FitR 15 792 115 742]\r>>"), std::string::npos);
    EXPECT_NE(item(6).find("/Dest [" + p2 + " 0 R /XYZ 15 792 1.5]\r/C [1 0 0]\r/F 3\r>>"), std::string::npos);
    EXPECT_EQ(item(7).find("/Dest"), std::string::npos);
    EXPECT_NE(item(7).find("\r/C [0 1 0]\r/F 2\r>>"), std::string::npos);
    EXPECT_NE(item(8).find("(italic)"), std::string::npos);
    EXPECT_NE(item(8).find("/F 1\r>>"), std::string::npos);
    expect_qpdf_clean(file, "", "items");

    // A plain bookmark leaves the version alone.
    PdfWriter plain;
    plain.BeginDoc((dir / "plain.pdf").string());
    plain.AddBookmark("x");
    plain.EndDoc();
    EXPECT_EQ(read_file(dir / "plain.pdf").substr(0, 8), "%PDF-1.3");
}

TEST(ExtrasBookmarks, ProtectedCaptionsReadBack) {
    TempDir dir;
    const auto file = dir / "protected.pdf";
    PdfWriter writer;
    writer.SetProtection(4, "proprietario", "");
    writer.BeginDoc(file.string());
    writer.SetDocProperty("Contratto");
    writer.BeginPage();
    writer.AddBookmark("Premessa", 1);
    writer.AddBookmark("Citt\xE0 (\x80)", -1);
    writer.EndDoc();
    expect_qpdf_clean(file, "", "protected");
    EXPECT_EQ(read_file(file).find("(Premessa)"), std::string::npos);
    EXPECT_EQ(mutool_outline(file), (std::vector<std::string>{"0:Contratto", "1:Premessa", "2:Città (€)"}));
}
