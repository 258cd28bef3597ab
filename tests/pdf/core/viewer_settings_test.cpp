// Page rotation, viewer preferences, page labels and transitions.
#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "support/tools.h"

using namespace coretest;
using testsupport::read_file;
using testsupport::run_command;
using testsupport::shell_quote;
using testsupport::TempDir;

namespace {

// The catalog of a finished file, found through the trailer's /Root.
std::string catalog_of(const std::string& pdf) { return object_text(pdf, reference_after(pdf, "/Root")); }

// The dictionary text of each page, in page order (pages are written with
// their content right after them, so the kids list is in file order).
std::vector<std::string> page_objects(const std::string& pdf) {
    std::vector<std::string> pages;
    const std::string kids = pdf.substr(pdf.find("/Kids [") + 7);
    for (std::size_t at = 0; at < kids.size() && kids[at] != ']';) {
        const auto end = kids.find(" 0 R ", at);
        pages.push_back(object_text(pdf, std::stoi(kids.substr(at, end - at))));
        at = end + 5;
    }
    return pages;
}

}  // namespace

TEST(CoreViewerSettings, PreferencesBecomeCatalogLines) {
    struct Case {
        std::int32_t mode;
        bool bookmark;
        std::string lines;  // what follows the first catalog line
        char version;
    };
    const std::vector<Case> cases = {
        {0, false, "/ViewerPreferences <<  >>\n", '3'},
        {8192 + 2 + 16, false, "/PageLayout /OneColumn\n/ViewerPreferences << /HideMenubar true  >>\n", '3'},
        {8192 + 2, true, "/PageLayout /OneColumn\n/PageMode /UseOutlines\n/ViewerPreferences <<  >>\n", '3'},
        {16384 + 1, false, "/PageLayout /TwoColumnLeft\n/PageMode /FullScreen\n/ViewerPreferences <<  >>\n", '3'},
        {static_cast<std::int32_t>(0xFFFF8000u) + 4, false,
         "/PageLayout /TwoColumnRight\n/PageMode /UseThumbs\n/ViewerPreferences <<  >>\n", '3'},
        {32768 + 3, false, "/ViewerPreferences <<  >>\n", '3'},
        {8, false, "/PageMode /UseOC\n/ViewerPreferences <<  >>\n", '5'},
        {0x3F0, false,
         "/ViewerPreferences << /HideMenubar true /HideToolbar true /HideWindowUI true /DisplayDocTitle true "
         "/CenterWindow true /FitWindow true  >>\n",
         '4'},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const auto file = dir / ("prefs" + std::to_string(c.mode) + ".pdf");
        PdfWriter writer;
        writer.BeginDoc(file.string());
        writer.SetViewerPreferences(12345);  // replaced, not merged
        writer.SetViewerPreferences(c.mode);
        if (c.bookmark) writer.AddBookmark("x");
        writer.EndDoc();
        const std::string pdf = read_file(file);
        const std::string catalog = catalog_of(pdf);
        const auto first_end = catalog.find('\n', catalog.find("/Type /Catalog"));
        EXPECT_EQ(catalog.substr(first_end + 1), c.lines + ">>\nendobj\n") << "mode " << c.mode;
        EXPECT_EQ(pdf[7], c.version) << "mode " << c.mode;
    }
}

TEST(CoreViewerSettings, RotationAndTransitionsPerPage) {
    TempDir dir;
    const auto file = dir / "pages.pdf";
    PdfWriter writer;
    writer.SetPageTransition(13);  // survives Abort, for every page to come
    writer.Abort();
    writer.BeginDoc(file.string());
    writer.SetPageView(2);
    writer.BeginPage();
    writer.BeginPage();
    writer.SetPageView(3);
    writer.SetPageTransition(0);
    writer.BeginPage();
    writer.SetPageTransition(5, 2.5f, 0.25f);
    writer.BeginPage();
    writer.SetPageTransition(99);  // unknown effect: the dictionary is still closed
    expect_pdf_error([&] { writer.SetPageTransition(1, std::numeric_limits<float>::infinity()); }, 5, "",
                     "infinite duration");
    writer.EndDoc();
    const std::string pdf = read_file(file);
    const auto pages = page_objects(pdf);
    ASSERT_EQ(pages.size(), 4u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"/Rotate 180\r", "\r/Dur 1 /Trans << /Type /Trans /D 1 /S /Dissolve >> >>"},
        {"/Rotate 90\r", "/Resources 2 0 R>>"},
        {"/Rotate 180\r", "\r/Dur 2.5 /Trans << /Type /Trans /D 0.25 /S /Wipe /Di 180 >> >>"},
        {"/Rotate 180\r", "\r/Dur 1 /Trans << /Type /Trans /D 1 >> >>"},
    };
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_NE(pages[i].find(expected[i].first), std::string::npos) << "page " << i + 1;
        EXPECT_NE(pages[i].find(expected[i].second + "\nendobj"), std::string::npos) << "page " << i + 1 << pages[i];
    }
    expect_qpdf_clean(file, "", "rotation and transitions");
    const std::string info = run_command("pdfinfo -f 1 -l 4 " + shell_quote(file.string())).out;
    for (const char* line : {"Page    1 rot:   180", "Page    2 rot:   90", "Page    4 rot:   180"})
        EXPECT_NE(info.find(line), std::string::npos) << line << "\n" << info;
}

TEST(CoreViewerSettings, PageLabelRanges) {
    TempDir dir;
    const auto file = dir / "labels.pdf";
    PdfWriter writer;
    writer.SetProtection(4, "proprietario", "");
    writer.BeginDoc(file.string());
    writer.SetLabel(3);
    writer.SetLabel(0, "nothing");
    writer.SetLabel(6, "nothing");
    writer.BeginPage();
    writer.BeginPage();
    writer.EndPage();
    writer.SetLabel(1, "A-(1)", 5);  // no page open: the next page, index 2
    writer.BeginPage();
    writer.BeginPage();
    writer.SetLabel(4, {}, 0);  // the open page, index 3
    writer.EndDoc();
    const std::string pdf = read_file(file);
    const std::string catalog = catalog_of(pdf);
    EXPECT_NE(catalog.find("/PageLabels << /Nums [ 0 <<  /S /r >> 2 <<  /S /D /P ("), std::string::npos);
    EXPECT_NE(catalog.find(" /St 5 >> 3 <<  /S /A /St 0 >>  ] >>"), std::string::npos);
    EXPECT_EQ(catalog.find("A-"), std::string::npos);  // the prefix is encrypted
    expect_qpdf_clean(file, "", "labels");
    std::string json = run_command("qpdf --json --json-key=pages " + shell_quote(file.string())).out;
    std::string flat;
    for (char ch : json)
        if (ch != '\n' && ch != ' ') flat += ch;
    EXPECT_NE(flat.find("\"label\":{\"/S\":\"/r\",\"/St\":1}"), std::string::npos);
    EXPECT_NE(flat.find("\"label\":{\"/P\":\"u:A-(1)\",\"/S\":\"/D\",\"/St\":5}"), std::string::npos) << flat;
    EXPECT_NE(flat.find("\"label\":{\"/S\":\"/A\",\"/St\":0}"), std::string::npos);
}
