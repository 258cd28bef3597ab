// Layers (optional content) and document scripts.
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "pdf/content/reader_checks.h"
#include "support/tools.h"

using namespace coretest;
using testsupport::read_file;
using testsupport::run_command;
using testsupport::shell_quote;
using testsupport::TempDir;

namespace {

// qpdf's JSON of the file on one line: no line breaks, no indentation, no
// blank after a key's colon.
std::string flat_json(const std::filesystem::path& file) {
    const auto result = run_command("qpdf --json --json-key=qpdf --json-stream-data=none " + shell_quote(file.string()));
    EXPECT_EQ(result.exit_code, 0) << result.err;
    std::string flat;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) flat += line.substr(line.find_first_not_of(' '));
    for (auto at = flat.find("\": "); at != std::string::npos; at = flat.find("\": ", at)) flat.erase(at + 2, 1);
    return flat;
}

// The names of the layers that the JSON array after `key` (e.g. "/ON")
// lists, in order; the last such array, which for "/OCGs" is the list of
// every layer (the usage events come before it).
std::vector<std::string> layer_names(const std::string& flat, const std::string& key) {
    std::vector<std::string> names;
    auto at = flat.rfind("\"" + key + "\":[");
    if (at == std::string::npos) return {"(no " + key + ")"};
    const auto end = flat.find(']', at);
    for (at = flat.find('"', at + key.size() + 4); at < end; at = flat.find('"', flat.find('"', at + 1) + 1)) {
        const std::string ref = flat.substr(at + 1, flat.find('"', at + 1) - at - 1);
        if (ref.find(" 0 R") == std::string::npos) {
            names.push_back(ref);  // the title string of /Order
            continue;
        }
        const std::string head = "\"obj:" + ref + "\":{\"value\":{\"/Name\":\"u:";
        const auto name = flat.find(head);
        names.push_back(name == std::string::npos
                            ? "?"
                            : flat.substr(name + head.size(), flat.find('"', name + head.size()) - name - head.size()));
    }
    return names;
}

}  // namespace

TEST(CoreLayers, MarksListsAndReaders) {
    struct Case {
        bool protect;
        std::string special;  // the fourth layer, begun with StartState false
        std::vector<std::string> on, off, order;
    };
    const std::vector<Case> cases = {
        // Lower case is an ordinary name.
        {false, "screen", {"Fondo", "Visibile"}, {"Nascosto", "screen"}, {"u:Livelli", "Fondo", "Visibile", "screen"}},
        {true, "SCREEN", {"Fondo", "Visibile", "SCREEN"}, {"Nascosto", "PRINTER"},
         {"u:Livelli", "Fondo", "Visibile", "SCREEN", "PRINTER"}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const auto file = dir / (c.special + ".pdf");
        PdfWriter writer;
        if (c.protect) writer.SetProtection(4, "proprietario", "");
        writer.BeginDoc(file.string());
        writer.SetDocProperty("Livelli");
        writer.EndLayer();  // no layer yet: nothing
        writer.BeginObject("fondo", 7);
        writer.BeginLayer("Fondo");
        writer.EndLayer();
        writer.EndObject();
        writer.BeginPage();
        writer.BeginLayer("Visibile");
        writer.DrawRect(100, 100, 100, 100, 4);
        writer.EndLayer();
        writer.BeginLayer("VISIBILE", false);  // the same layer, first settings kept
        writer.EndLayer();
        writer.BeginLayer("Nascosto", false, false);
        writer.DrawRect(300, 100, 100, 100, 4);
        writer.EndLayer();
        writer.BeginLayer(c.special, false);
        writer.EndLayer();
        if (c.protect) {
            writer.BeginLayer("PRINTER", true);
            writer.EndLayer();
        }
        writer.EndDoc();
        const std::string json = flat_json(file);
        std::vector<std::string> all = {"Fondo", "Visibile", "Nascosto", c.special};
        if (c.protect) all.push_back("PRINTER");
        EXPECT_EQ(layer_names(json, "/OCGs"), all);
        EXPECT_EQ(layer_names(json, "/ON"), c.on);
        EXPECT_EQ(layer_names(json, "/OFF"), c.off);
        EXPECT_EQ(layer_names(json, "/Order"), c.order);
        const bool usage = json.find("\"/Usage\":{\"/Print\":{\"/PrintState\":\"/OFF\"},\"/View\":{\"/ViewState\":"
                                     "\"/ON\"}}") != std::string::npos;
        EXPECT_EQ(usage, c.protect);
        EXPECT_EQ(json.find("\"/Event\":\"/View\"") != std::string::npos, c.protect);
        EXPECT_EQ(contenttest::reader_complaints(file), "") << file;
        const std::string pdf = read_file(file);
        EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.5");
        if (c.protect) continue;
        EXPECT_EQ(pdf.find("Visibile"), pdf.rfind("Visibile"));  // stored once, as first given
        const std::string content = filtered_stream(file, content_objects(file).at(0), "page");
        for (const char* line : {"\r/OC /_LAY_2 BDC\r", "\r/OC /_LAY_2 BDC\rEMC\r", "\r/OC /_LAY_3 BDC\r"})
            EXPECT_NE(content.find(line), std::string::npos) << line;
        EXPECT_NE(pdf.find("/Properties <</_LAY_1 "), std::string::npos);
        // The hidden layer's square is not painted; the visible one is.
        const auto image = contenttest::render_grey(file, 1, 72);
        EXPECT_LT(image.at(150, 150), 64);
        EXPECT_GT(image.at(350, 150), 192);
    }

    // Begin and end are not matched: each EndLayer writes its line.
    const auto file = dir / "unmatched.pdf";
    PdfWriter writer;
    writer.BeginDoc(file.string());
    writer.BeginPage();
    writer.BeginLayer("a");
    writer.EndLayer();
    writer.EndLayer();
    writer.EndDoc();
    EXPECT_NE(stream_data(read_file(file), content_objects(file).at(0)).find("\r/OC /_LAY_1 BDC\rEMC\rEMC"),
              std::string::npos);
}

TEST(CoreScripts, EventsActionsAndNamesTree) {
    TempDir dir;
    for (const bool protect : {false, true}) {
        const auto file = dir / (protect ? "scripts-protected.pdf" : "scripts.pdf");
        PdfWriter writer;
        if (protect) writer.SetProtection(4, "proprietario", "");
        writer.BeginDoc(file.string());
        writer.OnDocEvent(0, "lost();");  // no page open: dropped by the next page
        writer.OnDocEvent(8, "var a;");
        writer.OnDocEvent(8, "var b;");
        writer.OnDocEvent(9, "ignored();");
        writer.OnDocEvent(-1, "ignored();");
        writer.OnDocEvent(2, "apri();");
        writer.BeginPage();
        writer.OnDocEvent(0, "pagina();");
        writer.BeginPage();
        writer.EndDoc();
        const std::string pdf = read_file(file);
        EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.3");  // the open script does not raise it
        const std::string catalog = object_text(pdf, reference_after(pdf, "/Root"));
        EXPECT_NE(catalog.find("\r/OpenAction << /S /JavaScript /JS "), std::string::npos);
        EXPECT_EQ(catalog.find("/OCProperties"), std::string::npos);
        EXPECT_EQ(catalog.find("/AA"), std::string::npos);
        const std::string json = flat_json(file);
        EXPECT_NE(json.find("\"/JavaScript\":{\"/Names\":[\"u:globalscript\",{\"/JS\":"), std::string::npos);
        expect_qpdf_clean(file, "", file.filename().string());
        EXPECT_NE(pdfinfo(file).find("JavaScript:      yes"), std::string::npos);
        if (protect) continue;
        EXPECT_NE(pdf.find("var a;var b;"), std::string::npos);
        EXPECT_EQ(pdf.find("ignored"), std::string::npos);
        EXPECT_EQ(pdf.find("lost"), std::string::npos);
        EXPECT_EQ(pdf.find("/AA"), pdf.rfind("/AA"));  // only the first page's
    }

    // The five event scripts, in their catalog order, and version 1.4.
    const auto file = dir / "events.pdf";
    PdfWriter writer;
    writer.BeginDoc(file.string());
    for (int type = 3; type <= 7; ++type) writer.OnDocEvent(type, "x();");
    writer.OnDocEvent(8, "first();");
    writer.OnDocEvent(8, "second();", true);
    writer.EndDoc();
    const std::string pdf = read_file(file);
    EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.4");
    const std::regex actions(
        "\n/AA << /WC << /Type /Action /S /JavaScript /JS \\d+ 0 R >>\r /WS [^\r]*\r /DS [^\r]*\r /WP [^\r]*\r "
        "/DP [^\r]*\r>> \n");
    EXPECT_TRUE(std::regex_search(pdf, actions));
    EXPECT_EQ(pdf.find("first"), std::string::npos);
    EXPECT_NE(pdf.find("second();"), std::string::npos);
    expect_qpdf_clean(file, "", "events");
}
