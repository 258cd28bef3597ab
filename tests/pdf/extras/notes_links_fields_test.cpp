// Notes, links, named destinations and form fields: the dictionaries the
// writer makes, and what qpdf, poppler and mutool read back from them.
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../content/content_fixture.h"
#include "pdf/extras/field_options.h"
#include "pdf/extras/layer_switch.h"

namespace {

using contenttest::count_of;
using contenttest::Document;
using coretest::expect_pdf_error;
using testsupport::run_command;
using testsupport::shell_quote;

// The one line of the file that holds `piece` (annotations and fields are
// written one dictionary per line).
std::string line_with(const std::string& pdf, const std::string& piece) {
    const auto at = pdf.find(piece);
    if (at == std::string::npos) return {};
    const auto start = pdf.rfind('\n', at) + 1;
    return pdf.substr(start, pdf.find('\n', at) - start);
}

// qpdf's JSON view of the file's form (strings decrypted under protection).
std::string qpdf_form(const std::filesystem::path& file) {
    const auto r = run_command("qpdf --json --json-key=acroform " + shell_quote(file.string()));
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return r.out;
}

// What a mutool script prints about the file, line by line.
std::vector<std::string> mutool_run(const std::string& script, const std::filesystem::path& file) {
    testsupport::TempDir dir;
    testsupport::write_file(dir / "script.js", script);
    const auto r = run_command("mutool run " + shell_quote((dir / "script.js").string()) + " " +
                               shell_quote(file.string()));
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::vector<std::string> lines;
    std::istringstream out(r.out);
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    return lines;
}

TEST(FieldOptions, BitsGiveTheFlagsBorderMarkAndVersion) {
    using pdf::field_options;
    struct Row {
        std::int32_t type, options, annotation, field;
        const char *width, *style, *mark, *rotation, *alignment;
        std::int32_t version;
    } rows[] = {
        {0, 0, 4, 0, "1 ", "/S /S", "4", "", "", 0},
        {0, 1 | 2, 2, 0, "1 ", "/S /S", "4", "", "", 0},
        {0, 1 << 3 | 1 << 4 | 1 << 5, 4, 1 | 4096 | 8192, "1 ", "/S /S", "4", "", "", 0},
        {0, 1 << 8 | 1 << 11, 4, 1 << 22, "1 ", "/S /S", "4", "", "/Q 2 ", 1},
        {0, 1 << 9 | 1 << 12, 4, 1 << 23, "1 ", "/S /S", "4", "", "/Q 1 ", 1},
        {0, 1 << 8 | 1 << 10 | 1 << 11 | 1 << 12, 4, 1 << 22 | 1 << 24, "1 ", "/S /S", "4", "", "/Q 2 ", 2},
        {2, 1 << 7 | 1 << 15 | 1 << 16, 4, 1 << 21, "2 ", "/S /S", "4", "", "", 0},
        {3, 1 << 16 | 1 << 17 | 1 << 19, 4, 1 << 17, "3 ", "/S /D /D [ 1 1 ]", "4", "", "", 0},
        {1, 1 << 18 | 1 << 19 | 1 << 22 | 1 << 23, 4, 0, "1 ", "/S /I", "5", "", "", 0},
        {1, 1 << 18 | 1 << 23 | 1 << 21, 4, 0, "1 ", "/S /B", "F", "", "", 0},
        {1, 1 << 20 | 1 << 21 | 1 << 24, 4, 0, "1 ", "/S /U", "l", "", "", 0},
        {1, 1 << 24 | 1 << 25 | 1 << 26 | 1 << 27, 4, 0, "1 ", "/S /S", "H", "/R 90 ", "", 0},
        {1, 1 << 25 | 1 << 27 | 1 << 28, 4, 0, "1 ", "/S /S", "n", "/R 180 ", "", 0},
        {4, 1 << 22 | 1 << 28, 4, 1 << 15 | 1 << 14, "1 ", "/S /S", "l", "/R 270 ", "", 0},
        {5, 0, 4, 1 << 16, "1 ", "/S /S", "4", "", "", 0},
    };
    for (const Row& r : rows) {
        const auto o = field_options(r.type, r.options);
        const std::string what = "type " + std::to_string(r.type) + " options " + std::to_string(r.options);
        EXPECT_EQ(o.annotation_flags, r.annotation) << what;
        EXPECT_EQ(o.field_flags, r.field) << what;
        EXPECT_EQ(o.border_width, r.width) << what;
        EXPECT_EQ(o.border_style, r.style) << what;
        EXPECT_EQ(o.check_mark, r.mark) << what;
        EXPECT_EQ(o.rotation, r.rotation) << what;
        EXPECT_EQ(o.alignment, r.alignment) << what;
        EXPECT_EQ(o.minor_version, r.version) << what;
    }
    EXPECT_FALSE(field_options(0, 1 << 2).background);
    EXPECT_FALSE(field_options(0, 1 << 14).border);
    EXPECT_TRUE(field_options(0, 1 << 13).automatic_font_size);
}

TEST(LayerSwitch, OnThenOffThenToggleComparedInUpperCase) {
    const std::string script = pdf::layer_switch_script("ON( Piano1,piano2 ) OFF(Tetto) TOGGLE(it's) ON(x)");
    const auto on1 = script.find("name.toUpperCase() == 'PIANO1') { ocgArray[i].state = true;");
    const auto on2 = script.find("== 'PIANO2') { ocgArray[i].state = true;");
    const auto off = script.find("== 'TETTO') { ocgArray[i].state = false;");
    const auto toggle = script.find("== 'IT\\'S') { ocgArray[i].state = !ocgArray[i].state;");
    ASSERT_NE(toggle, std::string::npos) << script;
    EXPECT_TRUE(on1 < on2 && on2 < off && off < toggle) << script;
    EXPECT_EQ(script.find("'X'"), std::string::npos) << "only the first ON group counts";
    EXPECT_EQ(script.back(), '}');
}

TEST(Notes, BoxAndIconDictionaries) {
    Document doc;
    PdfWriter& w = doc.first_page("Times", 12);
    w.SetDocProperty("Titolo", "", "Rossi");
    w.SetColorFill("#FFFFFF");
    w.SetColorLine("#000000");
    w.AddNoteBox("Testo (nota)", 1, 2, 3, 4);
    w.AddNoteBox("", 1, 2, 3, 4, 4, 1);
    // Every alignment and border code (3 and 0 align nothing, 5 no style).
    const struct {
        std::int32_t align, border;
        const char *q, *style;
    } boxes[] = {{1, 0, "", "/S /S"}, {2, 1, "\r/Q 2", "/S /D /D [2 3]"}, {4, 2, "\r/Q 1", "/S /B"},
                 {3, 3, "", "/S /I"}, {0, 4, "", "/S /U"},               {2, 5, "\r/Q 2", ""}};
    for (int i = 0; i < 6; ++i)
        w.AddNoteBox("Box " + std::to_string(i), 1, 2, 3, 4, boxes[i].align, boxes[i].border, 2, 3);
    // Every icon code: 0-6 name an icon, any other none.
    const char* const icons[] = {"", "Note", "Comment", "Key", "Help", "Paragraph", "NewParagraph", "Insert", ""};
    for (int icon = -1; icon <= 7; ++icon) w.AddNoteIcon("Icona " + std::to_string(icon), icon, 5, 5, icon != -1);
    w.BeginTiling("Trama", 0, 0, 10, 10, 10, 10);
    w.EndTiling();
    w.SetColorFill("Trama");
    w.AddNoteIcon("Senza colore", 0, 5, 5);
    w.AddNoteBox("Senza sfondo", 1, 2, 3, 4);
    w.SetColorFill("#FFFFFF");
    w.SetColorLine("Trama");
    w.AddNoteBox("Testo senza colore", 1, 2, 3, 4);
    const std::string pdf = doc.finish();

    const std::string box = line_with(pdf, "(Testo \\(nota\\))");
    EXPECT_NE(box.find("/Subtype /FreeText\r/Rect [1 840 4 836]\r /F 0\r/C [1 1 1]"), std::string::npos) << box;
    EXPECT_EQ(box.find("/Q"), std::string::npos);
    EXPECT_NE(box.find("/W 0/S /S>>"), std::string::npos) << box;
    EXPECT_NE(box.find("/T (Rossi)"), std::string::npos);
    EXPECT_NE(box.find("/DA (/Arial 12 Tf 0 0 0 rg )"), std::string::npos) << box;
    const std::string dashed = line_with(pdf, "/S /D /D [1 1]");
    EXPECT_NE(dashed.find("/Q 1"), std::string::npos) << dashed;
    EXPECT_EQ(dashed.find("/Contents"), std::string::npos);
    for (int i = 0; i < 6; ++i)
        EXPECT_NE(line_with(pdf, "(Box " + std::to_string(i) + ")")
                      .find(std::string("/F 0") + boxes[i].q + "\r/C [1 1 1]\r/BS << /Type /Border /W 0" +
                            boxes[i].style + ">>\r"),
                  std::string::npos)
            << line_with(pdf, "(Box " + std::to_string(i) + ")");
    // The font the notes name is in the form's resources, though there is no field.
    EXPECT_NE(pdf.find("/AcroForm <</NeedAppearances true /Fields [] /CO [] /DR << /Font <<\r"), std::string::npos);
    EXPECT_NE(pdf.find("/Name /Arial"), std::string::npos);

    EXPECT_EQ(count_of(pdf, "/Subtype /Text"), 10u);
    for (int icon = -1; icon <= 7; ++icon) {
        const std::string note = line_with(pdf, "(Icona " + std::to_string(icon) + ")");
        const std::string name = icons[icon + 1];
        EXPECT_NE(note.find("/Rect [5 837 5 837]\r/F 0\r/C [1 1 1]" + (name.empty() ? "" : "\r /Name /" + name) +
                            "\r /Open "),
                  std::string::npos)
            << note;
    }
    // A pattern leaves out what it would colour: the background, the text.
    EXPECT_EQ(line_with(pdf, "(Senza colore)").find("/C ["), std::string::npos);
    EXPECT_EQ(line_with(pdf, "(Senza sfondo)").find("/C ["), std::string::npos);
    EXPECT_NE(line_with(pdf, "(Senza sfondo)").find("/DA (/Arial 12 Tf 0 0 0 rg )"), std::string::npos);
    EXPECT_NE(line_with(pdf, "(Testo senza colore)").find("/C [1 1 1]"), std::string::npos);
    EXPECT_NE(line_with(pdf, "(Testo senza colore)").find("/DA (/Arial 12 Tf)"), std::string::npos);
    EXPECT_NE(pdf.find("/Open false "), std::string::npos);
}

// Notes and fields name Helvetica for their text without changing the
// writer's font: with none chosen, a field after a note still sizes its text
// to its box (size 0); text after a note keeps the font chosen.
TEST(Notes, LeaveTheWritersFontAsItWas) {
    Document doc;
    PdfWriter& w = doc.first_page();
    w.AddNoteBox("Prima", 10, 10, 50, 10);
    std::string name = "campo";
    std::int32_t text = 0;
    w.AddField(name, text, 10, 30, 50, 10, "");
    w.SetFont("Times", 12);
    w.AddNoteBox("Seconda", 10, 50, 50, 10);
    w.DrawText(10, 80, "dopo");
    const std::string pdf = doc.finish();
    EXPECT_NE(line_with(pdf, "(Prima)").find("/DA (/Arial 0 Tf"), std::string::npos);
    EXPECT_NE(line_with(pdf, "(campo)").find("/DA (/Arial 0 Tf"), std::string::npos);
    EXPECT_NE(line_with(pdf, "(Seconda)").find("/DA (/Arial 12 Tf"), std::string::npos);
    EXPECT_NE(pdf.find("/TimesNewRoman 12 Tf"), std::string::npos);
}

TEST(Notes, InsideAnAutomaticObjectTheyGoOnEveryPageItIsPlacedOn) {
    Document doc;
    PdfWriter& w = doc.writer;
    w.BeginObject("Timbro", 7);
    w.AddNoteIcon("Timbro", 0, 10, 10);
    w.EndObject();
    w.BeginPage();
    w.BeginPage();
    w.PlayObject("Timbro");  // placed by name: not listed again
    const std::string pdf = doc.finish();
    const std::string note = pdf.substr(0, pdf.find("(Timbro)"));
    const std::string number = note.substr(note.rfind('\n', note.rfind(" 0 obj")) + 1);
    EXPECT_EQ(count_of(pdf, "[ " + number.substr(0, number.find(' ')) + " 0 R  ]"), 2u);
}

// Once a recording is closed, a note and a link belong to the page they were
// made on, also beside an object placed on every page.
TEST(Notes, AfterARecordingTheyStayOnTheirPage) {
    REQUIRE_TOOL("mutool");
    Document doc;
    PdfWriter& w = doc.writer;
    w.BeginObject("Cornice", 7);
    w.DrawRect(0, 0, 50, 50);
    w.EndObject();
    w.BeginPage();
    w.AddNoteIcon("Nota", 0, 10, 10);
    w.LinkTo("http://example.org/", 0, 0, 0, 10, 40, 30, 10);
    w.BeginPage();
    doc.finish();
    EXPECT_EQ(mutool_run("var doc = new PDFDocument(scriptArgs[0]);\n"
                         "for (var p = 0; p < doc.countPages(); ++p) {\n"
                         "  var annots = doc.findPage(p).get('Annots');\n"
                         "  for (var i = 0; annots && i < annots.length; ++i)\n"
                         "    print((p + 1) + ':' + annots.get(i).get('Subtype')); }\n",
                         doc.file()),
              (std::vector<std::string>{"1:Text", "1:Link"}));
}

TEST(Links, PagesBookmarksReferencesAndAddresses) {
    Document doc;
    PdfWriter& w = doc.writer;
    w.SetMargins(20, 0, 30, 0);
    for (int p = 1; p <= 5; ++p) w.BeginPage();
    w.DrawRect(10, 10, 50, 20);
    w.LinkTo("page:#LAST");  // made on page 5: below
    w.LinkTo("page:#NEXT");  // page 6
    w.BeginPage();
    w.DrawRect(10, 10, 50, 20);
    w.DefineRef("Capitolo 1", 4, 10, 10, 0, 0, 150);
    w.LinkTo("ref:Capitolo 1", 2, 1);
    w.LinkTo("page:-2");
    w.LinkTo("page:+1");
    w.LinkTo("page:#PREV", 0, 5, 9);  // no such view: the whole page
    w.LinkTo("https://example.org/a?b=(c)");
    w.LinkTo("HTTP://example.org");
    w.LinkTo("bookmark:senza-chiocciola");
    w.LinkTo("layer:ON(Piano)");
    w.LinkTo("script:app.alert(1);", -1);
    w.LinkTo("page:0");
    w.LinkTo("bookmark:@1", 0, 0);
    // A file, and the current point's place.
    w.LinkTo("file:altro (1).pdf");
    w.LinkTo("page:4.6");  // rounded: page 5
    w.SetXY(10, 20);
    w.DefineRef("Qui", 4, 0, 0, 0, 0, 100);
    const auto size = w.FileSize();
    for (const char* missing : {"bookmark:@2", "bookmark:@0", "bookmark:@-1"})
        expect_pdf_error([&] { w.LinkTo(missing); }, 9, "PdfWriter.LinkTo", missing);
    EXPECT_EQ(w.FileSize(), size) << "a refused bookmark link writes nothing";
    const char* highlights[] = {" /H /N\r", " /H /I\r", " /H /O\r", " /H /P\r", ""};  // modes 0 to 4
    for (int mode = 0; mode <= 4; ++mode) w.LinkTo("mailto:" + std::to_string(mode) + "@example.org", 0, mode);
    const std::string pdf = doc.finish();
    for (int mode = 0; mode <= 4; ++mode)
        EXPECT_NE(line_with(pdf, "(mailto:" + std::to_string(mode)).find("] " + std::string(highlights[mode]) + "\r"),
                  std::string::npos)
            << mode;

    EXPECT_EQ(count_of(pdf, "/Subtype /Link"), 13u + 5u);
    EXPECT_EQ(pdf.find(" /T ("), std::string::npos) << "a link has no author";
    // The scripts are the texts after their prefixes.
    EXPECT_NE(pdf.find("stream\napp.alert(1);\nendstream"), std::string::npos);
    EXPECT_NE(pdf.find("if (ocgArray[i].name.toUpperCase() == 'PIANO') { ocgArray[i].state = true; };"),
              std::string::npos);
    EXPECT_NE(pdf.find("/Border [ 0 0 -1]\r"), std::string::npos);
    // The rectangle drawn at (10, 10) with margins 20 and 30.
    EXPECT_NE(pdf.find("/Rect [30 802 80 782]"), std::string::npos);
    EXPECT_NE(pdf.find("/Border [ 0 0 2]\r /H /I\r\r/Dest /_REF_Capitolo#201"), std::string::npos);
    EXPECT_NE(pdf.find(" 0 R /XYZ 30 802 1.5] "), std::string::npos);
    EXPECT_NE(pdf.find("/URI (https://example.org/a?b=\\(c\\))"), std::string::npos);
    EXPECT_EQ(pdf.find("HTTP://"), std::string::npos);
    EXPECT_EQ(pdf.find("/_LINK_10"), std::string::npos) << "the refused links made no entry";
    EXPECT_NE(pdf.find(" /A << /Type /Action /S /GoToR /F (altro \\(1\\).pdf) /D [-1 /XYZ 0 0 0] >> "),
              std::string::npos);

    // pdfinfo resolves every named destination to its page.
    const auto r = run_command("pdfinfo -dests " + shell_quote(doc.file().string()));
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const struct {
        const char* name;
        int page;
        const char* view;
    } expected[] = {{"_LINK_1", 6, "FitB"}, {"_LINK_2", 6, "FitB"}, {"_REF_Capitolo 1", 6, "XYZ"},
                    {"_LINK_4", 4, "FitB"}, {"_LINK_5", 6, "FitB"}, {"_LINK_6", 5, "Fit "},
                    {"_LINK_7", 1, "FitB"}, {"_LINK_8", 1, "FitB"}, {"_LINK_9", 5, "FitB"},
                    {"_REF_Qui", 6, "XYZ +30 +792 "}};
    for (const auto& e : expected) {
        const std::regex row(" " + std::to_string(e.page) + R"( \[ )" + e.view + ".*\"" + e.name + "\"");
        EXPECT_TRUE(std::regex_search(r.out, row)) << e.name << "\n" << r.out;
    }
}

// Where mutool takes every bookmark and link, one "page:item#target" per
// line, in the order of the outline and then of the pages' links.
std::vector<std::string> mutool_targets(const std::filesystem::path& file) {
    return mutool_run("var doc = new Document(scriptArgs[0]);\n"
                      "function walk(items) { for (var i = 0; i < items.length; ++i) {\n"
                      "  print('outline:' + items[i].title + items[i].uri);\n"
                      "  if (items[i].down) walk(items[i].down); } }\n"
                      "walk(doc.loadOutline());\n"
                      "for (var p = 0; p < doc.countPages(); ++p) {\n"
                      "  var links = doc.loadPage(p).getLinks();\n"
                      "  for (var i = 0; i < links.length; ++i) print((p + 1) + ':link' + links[i].uri); }\n",
                      file);
}

// A name defined twice is one destination, the later one; a rectangle view
// is written as PDF orders it, however its corners were given, for
// bookmarks, named destinations and links alike.
TEST(Links, OneDestinationPerNameAndRectangleViewsReadersAgreeOn) {
    Document doc;
    PdfWriter& w = doc.writer;
    w.BeginPage();
    w.DefineRef("Capitolo", 0);
    w.BeginPage();
    w.DefineRef("Capitolo", 3, 100, 100, 200, 150);
    w.AddBookmark("Vista", 1, 3, 300, 400, -200, -150);
    w.DrawRect(10, 10, 50, 20);
    w.LinkTo("ref:Capitolo");
    w.LinkTo("page:1", 0, 0, 3, 100, 100, 200, 150);
    w.LinkTo("bookmark:@2");
    expect_pdf_error([&] { w.LinkTo("bookmark:@3"); }, 9, "", "past the last bookmark");
    doc.finish();  // qpdf finds no key twice
    REQUIRE_TOOL("mutool");
    EXPECT_EQ(mutool_targets(doc.file()),
              (std::vector<std::string>{"outline:(senza titolo)#page=1&view=FitB",
                                        "outline:Vista#page=2&viewrect=100,442,200,150",
                                        "2:link#page=2&viewrect=100,592,200,150",
                                        "2:link#page=1&viewrect=100,592,200,150",
                                        "2:link#page=2&viewrect=100,442,200,150"}));
    const auto dests = run_command("pdfinfo -dests " + shell_quote(doc.file().string())).out;
    EXPECT_EQ(count_of(dests, "\"_REF_Capitolo\""), 1u) << dests;
    EXPECT_NE(dests.find("2 [ FitR  100  592  300  742] \"_REF_Capitolo\""), std::string::npos) << dests;
}

// One field of every type, protected and not: qpdf reads the values back
// decrypted, the calculation order and the version are there.
TEST(Fields, EveryTypeReadsBackWithAndWithoutProtection) {
    for (bool protect : {false, true}) {
        testsupport::TempDir dir;
        const auto file = dir / "campi.pdf";
        PdfWriter w;
        if (protect) w.SetProtection(4, "proprietario");
        w.BeginDoc(file.string());
        w.SetMargins(10, 0, 10, 0);
        w.BeginPage();
        w.SetFont("Helvetica", 10);
        w.SetColorFill("#FFFF00");
        w.SetColorLine("#0000FF");
        struct Field {
            std::string name;
            std::int32_t type;
            std::string value, param;
            std::int32_t options;
        } fields[] = {{"nome", 0, "Mario (Rossi)", "20", 1 << 11},
                      {"accetto", 1, "TRUE", "0", 0},
                      {"lista", 2, "uno|due", "0", 1 << 7},
                      {"scelta", 3, "a|b|c", "2", 1 << 10},
                      {"fuori", 3, "a|b", "9", 0},
                      {"radio", 4, "false", "0", 0},
                      {"invia", 5, "Invia", "app.alert('ok');", 0},
                      {"sigla", 0, "X", "1", 0}};
        float y = 0;
        for (auto& f : fields) {
            w.AddField(f.name, f.type, 0, y, 50, 8, f.value, f.param, "Suggerimento " + f.name, f.options);
            y += 10;
        }
        std::int32_t calculate = 8, keystroke = 6;
        std::string name = "nome", script = "event.value = 1;";
        w.OnFieldEvent(calculate, name, script);
        w.OnFieldEvent(keystroke, name, script);
        w.AddNoteBox("Nota (riservata)", 0, 100, 50, 10);
        w.EndDoc();
        EXPECT_EQ(contenttest::reader_complaints(file), "");
        const std::string pdf = testsupport::read_file(file);

        const std::string form = qpdf_form(file);
        for (const char* text : {"\"value\": \"u:Mario (Rossi)\"", "\"alternativename\": \"Suggerimento scelta\"",
                                 "\"value\": \"u:b\"", "\"fullname\": \"invia\"", "\"due\""})
            EXPECT_NE(form.find(text), std::string::npos) << text << (protect ? " protected\n" : "\n") << form;
        const auto pdfinfo = coretest::pdfinfo(file);
        EXPECT_NE(pdfinfo.find("Form:            AcroForm"), std::string::npos) << pdfinfo;
        EXPECT_NE(pdfinfo.find("PDF version:     1.5"), std::string::npos) << pdfinfo;
        if (protect) {
            // Under protection the note's text is encrypted with its own key.
            EXPECT_EQ(pdf.find("(Nota \\(riservata\\))"), std::string::npos);
            const auto clear = dir / "chiaro.pdf";
            const auto r = run_command("qpdf --decrypt " + shell_quote(file.string()) + " " + shell_quote(clear.string()));
            ASSERT_EQ(r.exit_code, 0) << r.err;
            EXPECT_NE(testsupport::read_file(clear).find("/Contents (Nota \\(riservata\\))"), std::string::npos);
            continue;
        }
        const std::string nome = line_with(pdf, "(nome)");
        EXPECT_NE(nome.find("/Rect [ 10 832 60 824] /F 4 \r/BS << /Type /Border /W 1 /S /S>> "
                            "/FT /Tx /Ff 0 \r/Q 2  /MaxLen 20  /DA (/Arial 10 Tf 0 0 0 rg ) /T (nome)"),
                  std::string::npos)
            << nome;
        EXPECT_NE(line_with(pdf, "(sigla)").find(" /MaxLen 1 "), std::string::npos) << "one character";
        EXPECT_NE(line_with(pdf, "(accetto)").find("/V /S#EC /DV /S#EC"), std::string::npos);
        EXPECT_NE(line_with(pdf, "(scelta)").find("/DV (b) /V (b)"), std::string::npos);
        EXPECT_EQ(line_with(pdf, "(fuori)").find("/DV"), std::string::npos) << "a default past the options is none";
        EXPECT_NE(nome.find("/AA <<  /C << /S /JavaScript"), std::string::npos) << nome;
        const auto object_line = pdf.rfind(" 0 obj", pdf.find(nome));
        const std::string number = pdf.substr(pdf.rfind('\n', object_line) + 1, object_line - pdf.rfind('\n', object_line) - 1);
        EXPECT_NE(pdf.find("/CO [" + number + " 0 R ]"), std::string::npos) << number;
    }
}

// What mutool shows of the first page: each note's text and author, then
// each field's label (its tooltip, else its name) and value.
std::vector<std::string> mutool_annotations(const std::filesystem::path& file) {
    return mutool_run("var page = new PDFDocument(scriptArgs[0]).loadPage(0);\n"
                      "var a = page.getAnnotations();\n"
                      "for (var i = 0; i < a.length; i++) print(a[i].getContents() + '|' + a[i].getAuthor());\n"
                      "var w = page.getWidgets();\n"
                      "for (var i = 0; i < w.length; i++) print(w[i].getLabel() + '|' + w[i].getValue());\n",
                      file);
}

// The euro sign, curly quotes and dashes (Windows-1252 0x80-0x9F) come back
// as typed from every text a reader shows of notes and fields, whatever the
// protection.
TEST(Fields, NoteAndFieldTextsReadBackAsTyped) {
    for (const std::int32_t protection : {-1, 4, 4096 + 4}) {
        const std::string what = "protection " + std::to_string(protection);
        Document doc;
        if (protection >= 0) doc.writer.SetProtection(protection, "proprietario");
        PdfWriter& w = doc.first_page("Helvetica", 10);
        w.SetDocProperty("Titolo", "", "Autore \x80");
        w.AddNoteIcon("Importo 100 \x80 \x93ok\x94", 6, 10, 10);
        w.AddNoteBox("Nota \x96 fine", 10, 30, 100, 20);
        std::string text = "campo \x80", choice = "scelta \x80", button = "invia";
        std::int32_t text_type = 0, choice_type = 3, button_type = 5;
        w.AddField(text, text_type, 10, 60, 100, 12, "100 \x80 \x93ok\x94", "0", "Suggerimento \x97 s\xEC");
        w.AddField(choice, choice_type, 10, 80, 100, 12, "Uno|Due \x80", "2");
        w.AddField(button, button_type, 10, 100, 100, 12, "Invia \x80");
        doc.finish();

        const std::vector<std::string> shown = {
            "Importo 100 € “ok”|Autore €", "Nota – fine|Autore €", "Suggerimento — sì|100 € “ok”",
            "scelta €|Due €", "invia|"};
        EXPECT_EQ(mutool_annotations(doc.file()), shown) << what;
        const auto r =
            run_command("qpdf --json --json-key=acroform --json-key=qpdf " + shell_quote(doc.file().string()));
        for (const char* piece : {"\"fullname\": \"campo €\"", "\"alternativename\": \"Suggerimento — sì\"",
                                  "\"value\": \"u:100 € “ok”\"", "\"defaultvalue\": \"u:100 € “ok”\"",
                                  "\"Due €\"", "\"value\": \"u:Due €\"", "\"fullname\": \"scelta €\"",
                                  "\"/CA\": \"u:Invia €\"", "\"/Contents\": \"u:Importo 100 € “ok”\"",
                                  "\"/T\": \"u:Autore €\""})
            EXPECT_NE(r.out.find(piece), std::string::npos) << piece << "\n" << what;
    }
}

// Poppler and mutool draw a ticked box or radio button ticked, an unticked
// one empty; a field whose page ends while an object is being recorded
// stays on that page.
TEST(Fields, TickedBoxesShowTickedAndStayOnTheirPage) {
    for (const bool protect : {false, true}) {
        Document doc;
        if (protect) doc.writer.SetProtection(4, "proprietario");
        PdfWriter& w = doc.first_page("Helvetica", 0);
        w.SetColorFill("#FFFFFF");
        w.SetColorLine("#000000");
        struct Box {
            std::string name;
            std::int32_t type;
            const char* value;
            bool ticked;
        } boxes[] = {{"si", 1, "True", true}, {"no", 1, "no", false}, {"uno", 4, "TRUE", true}, {"due", 4, "", false}};
        for (int i = 0; i < 4; ++i)  // the last one with a border 3 points wide
            w.AddField(boxes[i].name, boxes[i].type, 100.0f + 100 * i, 100, 40, 40, boxes[i].value, "0", {},
                       1 << 13 | (i == 3 ? 1 << 16 : 0));
        w.BeginObject("Fondo");
        w.BeginPage();
        w.EndObject();
        doc.finish();

        const auto form = qpdf_form(doc.file());
        EXPECT_EQ(count_of(form, "\"pageposfrom1\": 1,"), 4u) << form;
        // And each names that page as its own.
        EXPECT_EQ(mutool_run("var doc = new PDFDocument(scriptArgs[0]);\n"
                             "for (var p = 0; p < doc.countPages(); ++p) {\n"
                             "  var page = doc.findPage(p), annots = page.get('Annots');\n"
                             "  for (var i = 0; annots && i < annots.length; ++i)\n"
                             "    print(annots.get(i).get('P').asIndirect() == page.asIndirect()); }\n",
                             doc.file()),
                  std::vector<std::string>(4, "true"));
        for (const bool mupdf : {false, true}) {
            const auto image = mupdf ? contenttest::render_grey_mupdf(doc.file(), 1, 72)
                                     : contenttest::render_grey(doc.file(), 1, 72);
            ASSERT_EQ(image.width, 596);
            const std::string what = std::string(mupdf ? " mutool" : " pdftoppm") + (protect ? " protected" : "");
            int dark[4] = {}, top = 135, bottom = 0, left = 335, right = 0;  // inside the border; the dot's extent
            for (int i = 0; i < 4; ++i) {
                for (int y = 105; y < 135; ++y) {
                    for (int x = 105 + 100 * i; x < 135 + 100 * i; ++x) {
                        if (image.at(x, y) >= 128) continue;
                        ++dark[i];
                        if (i == 2) top = std::min(top, y), bottom = std::max(bottom, y);
                        if (i == 2) left = std::min(left, x), right = std::max(right, x);
                    }
                }
                EXPECT_EQ(dark[i] > 30, boxes[i].ticked) << boxes[i].name << what << " " << dark[i];
                EXPECT_EQ(image.at(102 + 100 * i, 120) < 128, i == 3) << boxes[i].name << what << " border";
            }
            // The radio button's mark is a dot, which covers much more than
            // the check box's tick; mutool, which draws ZapfDingbats' own
            // dot, shows it in the middle of the button.
            EXPECT_GT(dark[2], dark[0] * 3 / 2) << what;
            if (mupdf) {
                EXPECT_LE(std::abs(top + bottom - 239), 3) << top << " " << bottom << what;
                EXPECT_LE(std::abs(left + right - 639), 3) << left << " " << right << what;
            }
        }
    }
}

// Every event code lands where poppler finds its event, on the fields of
// exactly the name given and on its branches; an activation replaces the
// one before. A push button's own script is its activation.
TEST(Fields, EventsReachExactNamesAndBranchesOnly) {
    Document doc;
    PdfWriter& w = doc.first_page("Courier", 9);
    std::int32_t text = 0, button = 5;
    std::vector<std::string> names = {"totale", "totale.iva", "totaleX"};
    for (auto& n : names) w.AddField(n, text, 0, 0, 10, 10, "");
    std::string invia = "invia";
    w.AddField(invia, button, 0, 20, 10, 10, "Invia", "premuto();");
    const char* const events[] = {"Widget Annotation Activated",   "Widget Annotation Mouse Pressed",
                                  "Widget Annotation Cursor Enter", "Widget Annotation Cursor Leave",
                                  "Widget Annotation Focus In",     "Widget Annotation Focus Out",
                                  "Field Modified",                 "Validate Field",
                                  "Calculate Field",                "Format Field"};
    std::string target = "totale", script;
    for (std::int32_t code = -1; code <= 10; ++code) {
        script = code == 0 ? "primo();" : "evento" + std::to_string(code) + "();";
        std::int32_t event = code;
        w.OnFieldEvent(event, target, script);
        if (code == 0) w.OnFieldEvent(event, target, script = "evento0();");
    }
    const std::string pdf = doc.finish();
    EXPECT_EQ(pdf.find("/MaxLen"), std::string::npos) << "Param 0: no maximum length";
    EXPECT_TRUE(std::regex_search(pdf, std::regex("/CO \\[\\d+ 0 R \\d+ 0 R \\]"))) << "two calculated fields";
    const std::string js = run_command("pdfinfo -js " + shell_quote(doc.file().string())).out;
    for (int code = 0; code <= 9; ++code)
        EXPECT_EQ(count_of(js, std::string(events[code]) + ":\nevento" + std::to_string(code) + "();\n"), 2u)
            << code << "\n" << js;
    EXPECT_EQ(count_of(js, "Widget Annotation Activated:\npremuto();\n"), 1u) << js;
    for (const char* never : {"evento-1", "evento10", "primo"}) EXPECT_EQ(js.find(never), std::string::npos) << never;
    EXPECT_EQ(line_with(pdf, "/T (totaleX)").find("/AA"), std::string::npos);
}

TEST(Fields, RefusalsComeBeforeAnythingIsWritten) {
    Document doc;
    PdfWriter& w = doc.first_page("Times", 10);
    w.BeginTiling("Trama", 0, 0, 10, 10, 10, 10);
    w.EndTiling();
    std::string name = "campo";
    const struct {
        const char* text_colour;
        std::int32_t type;
        int number;
    } refusals[] = {{"Trama", 5, 13}, {"Black", 9, 5}};  // a pattern text colour; a type outside 0-5
    for (const auto& r : refusals) {
        w.SetColorText(r.text_colour);
        std::int32_t type = r.type;
        const auto size = w.FileSize();
        expect_pdf_error([&] { w.AddField(name, type, 0, 0, 10, 10, "Invia", "script()"); }, r.number,
                         "PdfWriter.AddField", r.text_colour);
        EXPECT_EQ(w.FileSize(), size) << r.text_colour;
    }
    std::int32_t type = 5;
    w.AddField(name, type, 0, 0, 10, 10, "Invia");
    const std::string pdf = doc.finish();
    EXPECT_EQ(count_of(pdf, "/Subtype /Widget"), 1u);
}

// Poppler builds the appearances of fields and notes from their
// dictionaries: the colours must land where the same coordinates draw.
TEST(Fields, FieldAndNoteShowWhereTheyWerePlaced) {
    Document doc;
    PdfWriter& w = doc.writer;
    w.SetScale(3);
    w.SetMargins(2, 0, 3, 0);
    w.BeginPage();
    w.SetFont("Helvetica", 10);
    w.SetColorFill("#FFFF00");
    w.SetColorLine("#0000FF");
    std::string name = "nome";
    std::int32_t type = 0;
    w.AddField(name, type, 2, 2, 5, 2, "Mario");
    std::string bare = "spoglio";  // no background, no border
    w.AddField(bare, type, 2, 6, 5, 2, "", "0", {}, 1 << 2 | 1 << 14);
    w.SetColorFill("#00FF00");
    w.AddNoteBox("Nota", 10, 10, 5, 3);
    doc.finish();
    const auto image = contenttest::render_colour(doc.file(), 1, 72);
    auto colour_at = [&](float x_cm, float y_cm) {
        const unsigned char* p = image.at(static_cast<int>(x_cm * 72 / 2.54), static_cast<int>(y_cm * 72 / 2.54));
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(colour_at(6.5f, 6.5f), (std::vector<int>{255, 255, 0})) << "inside the field (4..9, 5..7 cm)";
    EXPECT_EQ(colour_at(14.5f, 14.5f), (std::vector<int>{0, 255, 0})) << "inside the note (12..17, 13..16 cm)";
    EXPECT_EQ(colour_at(3.5f, 4.5f), (std::vector<int>{255, 255, 255})) << "above and left of the field";
    int painted = 0;  // over the bare field (4..9, 9..11 cm) and a little around it
    for (float x = 3.9f; x < 9.1f; x += 0.02f)
        for (float y = 8.9f; y < 11.1f; y += 0.02f) painted += colour_at(x, y) != std::vector<int>{255, 255, 255};
    EXPECT_EQ(painted, 0);
}

}  // namespace
