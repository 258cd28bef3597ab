// How a viewer is told to present the document: viewer preferences, page
// rotation, labels and transitions, layers and document scripts.
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "pdf/content/content_fixture.h"
#include "support/tools.h"

using namespace coretest;
using testsupport::read_file;
using testsupport::run_command;
using testsupport::shell_quote;
using testsupport::TempDir;

namespace {

std::string catalog_of(const std::string& pdf) { return object_text(pdf, reference_after(pdf, "/Root")); }

// qpdf's JSON of the file on one line: no line breaks, no indentation, no
// blank after a key's colon.
std::string flat_json(const std::filesystem::path& file) {
    const auto result = run_command("qpdf --json --json-key=qpdf --json-key=pages --json-stream-data=none " +
                                    shell_quote(file.string()));
    EXPECT_EQ(result.exit_code, 0) << result.err;
    std::string flat;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) flat += line.substr(line.find_first_not_of(' '));
    for (auto at = flat.find("\": "); at != std::string::npos; at = flat.find("\": ", at)) flat.erase(at + 2, 1);
    return flat;
}

// The entries of the last JSON array after `key` that begins before
// `before` (for "/OCGs" and no limit, the list of every layer, which follows
// the usage events), layers by their names.
std::vector<std::string> layer_names(const std::string& flat, const std::string& key,
                                     std::size_t before = std::string::npos) {
    std::vector<std::string> names;
    auto at = flat.rfind("\"" + key + "\":[", before);
    if (at == std::string::npos) return {"(no " + key + ")"};
    const auto end = flat.find(']', at);
    for (at = flat.find('"', at + key.size() + 4); at < end; at = flat.find('"', flat.find('"', at + 1) + 1)) {
        const std::string entry = flat.substr(at + 1, flat.find('"', at + 1) - at - 1);
        const std::string head = "\"obj:" + entry + "\":{\"value\":{\"/Name\":\"u:";
        const auto name = flat.find(head) + head.size();
        names.push_back(entry.find(" 0 R") == std::string::npos ? entry
                                                                : flat.substr(name, flat.find('"', name) - name));
    }
    return names;
}

}  // namespace

TEST(CorePresentation, PreferencesBecomeCatalogLines) {
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
        {16384 + 0x200 + 1, false,
         "/PageLayout /TwoColumnLeft\n/PageMode /FullScreen\n/ViewerPreferences << /FitWindow true  >>\n", '3'},
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
        writer.SetViewerPreferences(0xFFFF);  // replaced, not merged
        writer.SetViewerPreferences(c.mode);
        if (c.bookmark) writer.AddBookmark("x");
        writer.EndDoc();
        const std::string pdf = read_file(file);
        const std::string catalog = catalog_of(pdf);
        EXPECT_EQ(catalog.substr(catalog.find('\n', catalog.find("/Catalog")) + 1), c.lines + ">>\nendobj\n")
            << "mode " << c.mode;
        EXPECT_EQ(pdf[7], c.version) << "mode " << c.mode;
    }
}

TEST(CorePresentation, RotationTransitionAndLabelOfEachPage) {
    TempDir dir;
    const auto file = dir / "pages.pdf";
    PdfWriter writer;
    writer.SetPageTransition(13);  // for the pages to come, surviving Abort
    writer.Abort();
    writer.BeginDoc(file.string());
    writer.SetPageView(2);
    writer.SetLabel(3);
    writer.SetLabel(0, "none");
    writer.SetLabel(6, "none");
    writer.BeginPage();
    writer.BeginPage();
    writer.SetLabel(2);  // every label code but 5, which the next test reads back
    writer.SetPageView(3);
    writer.SetPageTransition(0);
    writer.EndPage();
    writer.SetLabel(1, "A-(1)", 5);  // no page open: the next page, index 2
    writer.BeginPage();              // the transition of the pages to come again
    writer.BeginPage();
    writer.SetPageTransition(99, 2.5f, 0.25f);  // unknown effect: the dictionary is still closed
    writer.SetLabel(4, {}, 0);     // the open page, index 3
    expect_pdf_error([&] { writer.SetPageTransition(1, std::numeric_limits<float>::infinity()); }, 5, "",
                     "infinite duration");
    writer.EndDoc();
    const std::string pdf = read_file(file);
    const std::vector<std::string> rotation = {"180", "90", "180", "180"};
    const std::vector<std::string> transition = {
        "\r/Dur 1 /Trans << /Type /Trans /D 1 /S /Dissolve >> >>", "/Resources 2 0 R>>",
        "\r/Dur 1 /Trans << /Type /Trans /D 1 /S /Dissolve >> >>", "\r/Dur 2.5 /Trans << /Type /Trans /D 0.25 >> >>"};
    for (int i = 0; i < 4; ++i) {
        const std::string page = object_text(pdf, 4 + 2 * i);  // page objects 4, 6, 8, 10
        EXPECT_NE(page.find("/Rotate " + rotation[i] + "\r"), std::string::npos) << "page " << i + 1;
        EXPECT_NE(page.find(transition[i] + "\nendobj"), std::string::npos) << "page " << i + 1;
    }
    EXPECT_NE(catalog_of(pdf).find("\r/PageLabels << /Nums [ 0 <<  /S /r >> 1 <<  /S /R >> 2 <<  /S /D /P (A-\\(1\\)) /St 5 >> "
                                   "3 <<  /S /A /St 0 >>  ] >>\r"),
              std::string::npos);
    expect_qpdf_clean(file, "", "pages");
    const std::string info = run_command("pdfinfo -f 1 -l 2 " + shell_quote(file.string())).out;
    EXPECT_NE(info.find("Page    1 rot:   180\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    2 rot:   90\n"), std::string::npos) << info;
}

// Each transition code gives its effect, one page per code.
TEST(CorePresentation, EveryTransitionCodeGivesItsEffect) {
    const char* const effects[] = {
        "/S /Split /Dm /H /M /I", "/S /Split /Dm /V /M /I", "/S /Split /Dm /H /M /O", "/S /Split /Dm /V /M /O",
        "/S /Wipe /Di 180",       "/S /Wipe /Di 0",         "/S /Wipe /Di 270",       "/S /Wipe /Di 90",
        "/S /Box /M /I",          "/S /Box /M /O",          "/S /Blinds /Dm /H",      "/S /Blinds /Dm /V",
        "/S /Dissolve",           "/S /Glitter /Di 0",      "/S /Glitter /Di 270",    "/S /Glitter /Di 315",
        "/S /R",
    };
    TempDir dir;
    const auto file = dir / "transitions.pdf";
    PdfWriter writer;
    writer.BeginDoc(file.string());
    for (int code = 1; code <= 17; ++code) {
        writer.BeginPage();
        writer.SetPageTransition(code, 2, 0.5f);
    }
    writer.EndDoc();
    const std::string pdf = read_file(file);
    for (int code = 1; code <= 17; ++code)
        EXPECT_NE(object_text(pdf, 2 + 2 * code).find("\r/Dur 2 /Trans << /Type /Trans /D 0.5 " +
                                                      std::string(effects[code - 1]) + " >> >>\nendobj"),
                  std::string::npos)
            << "code " << code;
    expect_qpdf_clean(file, "", "transitions");
}

// Each script kind lands where its event is, and only the five document
// events ask for PDF 1.4.
TEST(CorePresentation, EveryScriptKindLandsInItsPlaceAndVersion) {
    const struct {
        const char* place;
        char version;
    } kinds[] = {{"/AA << /O << /Type /Action /S /JavaScript /JS ", '3'},
                 {"/AA << /C << /Type /Action /S /JavaScript /JS ", '3'},
                 {"/OpenAction << /S /JavaScript /JS ", '3'},
                 {"/AA << /WC << /Type /Action /S /JavaScript /JS ", '4'},
                 {"/AA << /WP << /Type /Action /S /JavaScript /JS ", '4'},
                 {"/AA << /WS << /Type /Action /S /JavaScript /JS ", '4'},
                 {"/AA << /DP << /Type /Action /S /JavaScript /JS ", '4'},
                 {"/AA << /DS << /Type /Action /S /JavaScript /JS ", '4'},
                 {"/JavaScript << /Names [ (globalscript) << /S /JavaScript /JS ", '3'}};
    TempDir dir;
    for (int type = 0; type <= 8; ++type) {
        const auto file = dir / ("script" + std::to_string(type) + ".pdf");
        PdfWriter writer;
        writer.BeginDoc(file.string());
        writer.BeginPage();
        writer.OnDocEvent(type, "app.alert(1);");
        writer.EndDoc();
        const std::string pdf = read_file(file);
        EXPECT_EQ(pdf[7], kinds[type].version) << "type " << type;
        EXPECT_NE(pdf.find(kinds[type].place), std::string::npos) << "type " << type;
    }
}

TEST(CorePresentation, LayerMarksAndScriptItems) {
    TempDir dir;
    const auto file = dir / "marks.pdf";
    PdfWriter writer;
    writer.BeginDoc(file.string());
    writer.EndLayer();                // no layer yet: nothing
    writer.OnDocEvent(0, "lost();");  // no page open: the next page drops it
    writer.BeginPage();
    writer.BeginLayer("Piano");
    writer.EndLayer();
    writer.EndLayer();                  // not matched: an EMC alone would be an error
    writer.BeginLayer("PIANO", false);  // the same layer; its first settings stay
    writer.EndLayer();
    writer.OnDocEvent(8, "var a;");
    writer.OnDocEvent(8, "var b;");
    writer.OnDocEvent(9, "ignored();");
    writer.OnDocEvent(-1, "ignored();");
    for (int type = 3; type <= 7; ++type) writer.OnDocEvent(type, "first();");
    writer.OnDocEvent(5, "second();", true);
    writer.BeginPage();
    writer.EndDoc();
    const std::string pdf = read_file(file);
    EXPECT_NE(stream_data(pdf, 5).find("\r/OC /_LAY_1 BDC\rEMC\r/OC /_LAY_1 BDC\rEMC"), std::string::npos);
    EXPECT_EQ(pdf.find("PIANO"), std::string::npos);
    EXPECT_NE(pdf.find("/ON [" + std::to_string(reference_after(pdf, "/Properties <</_LAY_1")) + " 0 R ] \n/OFF [] \n"),
              std::string::npos);
    EXPECT_EQ(pdf.find("ignored"), std::string::npos);
    EXPECT_EQ(pdf.find("lost"), std::string::npos);
    EXPECT_NE(pdf.find("var a;var b;"), std::string::npos);
    EXPECT_NE(pdf.find("second();"), std::string::npos);
    EXPECT_EQ(contenttest::count_of(pdf, "first();"), 4u);  // the reset one holds "second();" only
    const std::regex actions("\n/AA << /WC << /Type /Action /S /JavaScript /JS \\d+ 0 R >>\r /WS [^\r]*\r "
                             "/DS [^\r]*\r /WP [^\r]*\r /DP [^\r]*\r>> \n");
    EXPECT_TRUE(std::regex_search(pdf, actions));
    EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.5");
    expect_qpdf_clean(file, "", "marks");

    // An open script alone: /OpenAction, no layers, no higher version.
    PdfWriter plain;
    plain.BeginDoc((dir / "open.pdf").string());
    plain.OnDocEvent(2, "apri();");
    plain.EndDoc();
    const std::string open = read_file(dir / "open.pdf");
    EXPECT_EQ(open.substr(0, 8), "%PDF-1.3");
    EXPECT_NE(catalog_of(open).find("\r/OpenAction << /S /JavaScript /JS 6 0 R >>\r\n"), std::string::npos);
    EXPECT_EQ(open.find("/OCProperties"), std::string::npos);
}

TEST(CorePresentation, EveryFeatureReadsBack) {
    TempDir dir;
    for (const bool protect : {false, true}) {
        const auto file = dir / (protect ? "protected.pdf" : "plain.pdf");
        // Lower case "screen" is an ordinary layer; "SCREEN" and "PRINTER"
        // get their usage whatever StartState says.
        const std::string special = protect ? "SCREEN" : "screen";
        PdfWriter writer;
        if (protect) writer.SetProtection(4, "proprietario", "");
        writer.BeginDoc(file.string());
        // Texts with the euro sign and dashes read back as typed.
        writer.SetDocProperty("Livelli \x80");
        writer.SetViewerPreferences(8192 + 2 + 16 + 128);
        writer.SetPageView(1);
        writer.SetPageTransition(11);
        writer.SetLabel(5, "p\x96");
        for (int type = 2; type <= 8; ++type) writer.OnDocEvent(type, "app.alert(" + std::to_string(type) + ");");
        writer.BeginObject("fondo", 7);
        writer.BeginLayer("Fondo");
        writer.EndLayer();
        writer.EndObject();
        writer.BeginPage();
        writer.OnDocEvent(0, "app.alert(0);");
        writer.OnDocEvent(1, "app.alert(1);");
        writer.AddBookmark("Capitolo", 1, 4, 0, 0, 0, 0, 100, "Blue", 1);
        writer.BeginLayer("Visibile \x97");
        writer.DrawRect(100, 100, 100, 100, 4);
        writer.EndLayer();
        writer.BeginLayer("Nascosto", false, false);
        writer.DrawRect(300, 100, 100, 100, 4);
        writer.EndLayer();
        writer.BeginLayer(special, false);
        writer.EndLayer();
        if (protect) {
            writer.BeginLayer("PRINTER", true);
            writer.EndLayer();
        }
        writer.EndDoc();

        EXPECT_EQ(contenttest::reader_complaints(file), "") << file;
        const std::string info = pdfinfo(file);
        EXPECT_NE(info.find("JavaScript:      yes\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Page rot:        270\n"), std::string::npos) << info;
        const std::string json = flat_json(file);
        EXPECT_NE(json.find("\"label\":{\"/P\":\"u:p–\",\"/S\":\"/a\",\"/St\":1}"), std::string::npos);
        EXPECT_NE(json.find("\"/JavaScript\":{\"/Names\":[\"u:globalscript\",{\"/JS\":"), std::string::npos);
        EXPECT_NE(json.find("\"title\":\"Capitolo\""), std::string::npos);
        using Names = std::vector<std::string>;
        Names all = {"Fondo", "Visibile —", "Nascosto", special}, order = {"u:Livelli €", "Fondo", "Visibile —", special};
        Names on = {"Fondo", "Visibile —"}, off = {"Nascosto", special};
        if (protect) all.push_back("PRINTER"), order.push_back("PRINTER"), on.push_back("SCREEN"), off[1] = "PRINTER";
        EXPECT_EQ(layer_names(json, "/OCGs"), all);
        EXPECT_EQ(layer_names(json, "/ON"), on);
        EXPECT_EQ(layer_names(json, "/OFF"), off);
        EXPECT_EQ(layer_names(json, "/Order"), order);
        EXPECT_EQ(json.find("\"/Event\":\"/View\",\"/OCGs\":[") != std::string::npos, protect);
        EXPECT_EQ(json.find("\"/View\":{\"/ViewState\":\"/ON\"}") != std::string::npos, protect);
        // Both usage events name the printer layer, then the screen layer.
        if (protect) {
            for (const char* next : {"\"/Event\":\"/View\"", "\"/OFF\":["})
                EXPECT_EQ(layer_names(json, "/OCGs", json.find(next)), (Names{"PRINTER", "SCREEN"})) << next;
        }
        // The hidden layer's square is not painted; the visible one is (the
        // page is turned by 270 degrees).
        const auto image = contenttest::render_grey(file, 1, 72);
        EXPECT_LT(image.at(150, 596 - 150), 64);
        EXPECT_GT(image.at(150, 596 - 350), 192);
    }
}
