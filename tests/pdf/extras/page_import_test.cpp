// Page import: pages of files from several producers drawn into protected
// documents that every reader opens silently and that look and read like
// their sources; hand-made pages for what real producers rarely write; and
// refusals that write nothing.
#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "../content/content_fixture.h"
#include "../core/own_pdf.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/flate_encoder.h"
#include "pdf_builder.h"
#include "qpdf_json.h"
#include "support/tools.h"

namespace {

using extrastest::PdfBuilder;
using extrastest::two_page_file;
using testsupport::read_file;
using testsupport::run_command;
using testsupport::shell_quote;
using testsupport::TempDir;
using testsupport::write_file;

// Two A4 pages drawn by our writer: text in two fonts and filled shapes.
void own_source(const std::filesystem::path& file) {
    PdfWriter w;
    w.SetDocProperty("Sorgente di prova");
    w.BeginDoc(file.string());
    for (const char* text : {"Pagina uno", "Pagina due"}) {
        w.BeginPage();
        w.SetFont("Arial", 24);
        w.DrawText(72, 100, text);
        w.SetFont("Times New Roman", 14, 1);
        w.DrawText(72, 140, "Importazione di pagine");
        w.SetColorFill("#3366CC");
        w.DrawRect(72, 200, 300, 150, 4);
    }
    w.EndDoc();
}

void ghostscript_source(const std::filesystem::path& ps, const std::filesystem::path& file) {
    write_file(ps,
               "%!PS\n<< /PageSize [596 842] >> setpagedevice\n"
               "/Helvetica findfont 24 scalefont setfont 72 700 moveto (Pagina uno) show\n"
               "0.2 0.4 0.8 setrgbcolor 72 400 300 150 rectfill showpage\n"
               "/Times-Bold findfont 18 scalefont setfont 72 700 moveto (Pagina due) show\n"
               "0 0 0 setrgbcolor 100 100 moveto 400 600 lineto 8 setlinewidth stroke showpage\n");
    const auto r = run_command("ps2pdf " + shell_quote(ps.string()) + " " + shell_quote(file.string()));
    ASSERT_EQ(r.exit_code, 0) << r.err;
}

// The same file updated in place: a new information dictionary appended
// after the end of the original, its table pointing back with /Prev.
std::string updated(const std::string& original) {
    std::smatch root, size;
    const std::string trailer = original.substr(original.rfind("trailer"));
    EXPECT_TRUE(std::regex_search(trailer, root, std::regex("/Root (\\d+) 0 R")));
    EXPECT_TRUE(std::regex_search(trailer, size, std::regex("/Size (\\d+)")));
    const int n = std::stoi(size[1]);
    const std::size_t prev = std::stoul(original.substr(original.rfind("startxref") + 10));
    std::string out = original;
    const std::size_t offset = out.size();
    out += std::to_string(n) + " 0 obj\n<< /Title (Aggiornato) >>\nendobj\n";
    const std::size_t xref = out.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offset);
    out += "xref\n" + std::to_string(n) + " 1\n" + entry + "trailer\n<< /Size " + std::to_string(n + 1) + " /Root " +
           std::string(root[1]) + " 0 R /Info " + std::to_string(n) + " 0 R /Prev " + std::to_string(prev) +
           " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

// The page count and the (plain ASCII) title as pdfinfo reads them.
std::pair<int, std::string> pdfinfo_pages_title(const std::filesystem::path& file) {
    std::smatch pages, title;
    const std::string info = coretest::pdfinfo(file);
    return {std::regex_search(info, pages, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(pages[1]) : -1,
            std::regex_search(info, title, std::regex("Title:\\s+([^\n]*)")) ? std::string(title[1]) : ""};
}

// A page whose resources hold every form of value: strings with every
// escape, hexadecimal and odd, names with #xx, numbers as PDF writes them,
// references to object 0, to a missing object and to another generation, a
// resource that refers to itself, and streams whose dictionaries refer to
// objects nothing else refers to (a form's resources, an image's mask).
std::string resources_of_every_kind() {
    const std::string values =
        "/Esc (a\\(b\\)c\\\\\\n\\r\\t\\b\\f\\101\\0531 \\351) /Hex <41 42 4> /N /A#20B#2fC "
        "/Nums [+5 -.5 5. 0.25 -0 007] /B [true false null] /Zero 0 0 R /Gen 12 0 R /Missing 99 0 R /Self 11 0 R "
        "/Deep [[[<< /K [1 [2]] >>]]]";
    const std::string image =
        "/Type /XObject /Subtype /Image /Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8";
    // A4, as the pages it is drawn on.
    return two_page_file("")
        .object(2, "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 /MediaBox [0 0 596 842] /Resources << /Font << "
                   "/F1 5 0 R >> >> >>")
        .object(3, "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources 11 0 R >>")
        .object(4, "<< /Type /Page /Parent 2 0 R /Contents 6 0 R >>")
        .stream(10, "/Type /XObject /Subtype /Form /BBox [0 0 10 10] /Resources 14 0 R /Group << /S /Transparency >>",
                "BT /F9 5 Tf ET", "16 0 R")
        .object(11, "<< /Font << /F1 12 3 R /F2 5 0 R >> /XObject << /X1 10 0 R /Im 13 0 R >> /Properties << /P << " +
                        values + " >> >> >>")
        .object(12, "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>", 3)
        .stream(13, image + " /SMask 15 0 R", "\x10\xF0")
        .object(14, "<< /Font << /F9 5 0 R >> >>")
        .stream(15, image, "\xFF\x80")
        .object(16, "14")
        .finish("/Size 17 /Root 1 0 R");
}

// Walks a value of one file and a value of another in step, as qpdf reads
// them, following references (one to a missing object is null); "" when
// they are the same, else where they first differ.
class SameValues {
public:
    SameValues(const extrastest::Json& a, const extrastest::Json& b) : a_(a), b_(b) {}

    std::string compare(const extrastest::Json& x, const extrastest::Json& y, const std::string& where) {
        using Kind = extrastest::Json::Kind;
        if (is_reference(x) || is_reference(y)) {
            if (!seen_.insert({x.text, y.text}).second) return "";
            return compare(resolve(a_, x), resolve(b_, y), where + " (" + x.text + " / " + y.text + ")");
        }
        if (x.kind != y.kind) return where + ": " + x.text + " / " + y.text;
        if (x.kind == Kind::number ? std::strtod(x.text.c_str(), nullptr) != std::strtod(y.text.c_str(), nullptr)
                                   : x.text != y.text)
            return where + ": " + x.text + " / " + y.text;
        if (x.items.size() != y.items.size()) return where + ": arrays of different lengths";
        for (std::size_t i = 0; i < x.items.size(); ++i) {
            const std::string differs = compare(x.items[i], y.items[i], where + "[" + std::to_string(i) + "]");
            if (!differs.empty()) return differs;
        }
        for (const auto& [key, value] : x.members) {
            if (!y.members.count(key)) return where + ": " + key + " missing";
            const std::string differs = compare(value, y[key], where + " " + key);
            if (!differs.empty()) return differs;
        }
        return x.members.size() == y.members.size() ? "" : where + ": keys added";
    }

    // The value a reference of `objects` names: a value, or a stream's
    // dictionary and data.
    static const extrastest::Json& resolve(const extrastest::Json& objects, const extrastest::Json& v) {
        if (!is_reference(v)) return v;
        const extrastest::Json& object = objects["obj:" + v.text];
        return object.members.count("stream") ? object["stream"] : object["value"];
    }

private:
    static bool is_reference(const extrastest::Json& v) {
        return v.kind == extrastest::Json::Kind::string && std::regex_match(v.text, std::regex("\\d+ \\d+ R"));
    }
    const extrastest::Json &a_, &b_;
    std::set<std::pair<std::string, std::string>> seen_;
};

// Whether the resources of page `page` of `source` and those of the form
// that draws it on page `page` of `output` are the same, object for object.
std::string imported_resources_differ(const std::filesystem::path& source, const std::filesystem::path& output,
                                      int page) {
    const extrastest::Json in = extrastest::qpdf_json(source, true), out = extrastest::qpdf_json(output, true);
    const extrastest::Json &in_objects = in["qpdf"].items.at(1), &out_objects = out["qpdf"].items.at(1);
    // The source page's own resources, else its nearest ancestor's.
    const extrastest::Json* node = &SameValues::resolve(in_objects, in["pages"].items.at(page - 1)["object"]);
    for (int depth = 0; depth < 32 && !node->members.count("/Resources"); ++depth)
        node = &SameValues::resolve(in_objects, (*node)["/Parent"]);
    const auto in_output = [&](const extrastest::Json& v) -> const extrastest::Json& {
        return SameValues::resolve(out_objects, v);
    };
    const auto& out_page = in_output(out["pages"].items.at(page - 1)["object"]);
    const auto& xobjects = in_output(in_output(out_page["/Resources"])["/XObject"]);
    const auto& form = in_output(xobjects["/_PDF_1." + std::to_string(page)]);
    return SameValues(in_objects, out_objects).compare((*node)["/Resources"], form["dict"]["/Resources"], "/Resources");
}

// Share of pixels whose grey differs by more than 48 levels.
double differing_share(const contenttest::GreyImage& a, const contenttest::GreyImage& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 1.0;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        if (std::abs(int(a.pixels[i]) - int(b.pixels[i])) > 48) ++differing;
    return double(differing) / double(a.pixels.size());
}

TEST(PageImport, PagesOfSeveralProducersLookAndReadLikeTheirSources) {
    for (const char* tool : {"qpdf", "mutool", "pdftocairo", "ps2pdf", "pdftoppm", "pdftotext", "pdfinfo"})
        REQUIRE_TOOL(tool);
    TempDir dir;
    const auto own = dir / "own.pdf";
    own_source(own);
    struct Source {
        const char* producer;
        std::string command;  // makes "src.pdf" from own.pdf ("" = own.pdf itself)
    };
    const std::vector<Source> sources = {
        {"this writer", ""},
        {"qpdf", "qpdf own.pdf src.pdf"},
        {"qpdf --qdf", "qpdf --qdf own.pdf src.pdf"},
        {"qpdf --linearize", "qpdf --linearize own.pdf src.pdf"},
        {"mutool clean", "mutool clean -gg own.pdf src.pdf"},
        {"cairo", "pdftocairo -pdf own.pdf src.pdf"},
        {"ghostscript", "gs"},
        {"incremental update", "update"},
        {"hand-made resources of every kind", "every kind"},
    };
    for (const Source& s : sources) {
        const auto src = dir / "src.pdf";
        std::filesystem::remove(src);
        if (s.command.empty()) {
            std::filesystem::copy_file(own, src);
        } else if (s.command == "gs") {
            ghostscript_source(dir / "src.ps", src);
        } else if (s.command == "update") {
            write_file(src, updated(read_file(own)));
        } else if (s.command == "every kind") {
            write_file(src, resources_of_every_kind());
        } else {
            const auto r = run_command("cd " + shell_quote(dir.path().string()) + " && " + s.command);
            ASSERT_EQ(r.exit_code, 0) << s.producer << r.err;
        }
        const auto [pages, title] = pdfinfo_pages_title(src);
        ASSERT_EQ(pages, 2) << s.producer;

        const auto out = dir / "out.pdf";
        {
            PdfWriter w;
            std::string our_title, subject, author;
            bool encrypted = true;
            EXPECT_EQ(w.GetInfo(src.string(), our_title, subject, author, encrypted), pages) << s.producer;
            EXPECT_EQ(our_title, title) << s.producer;
            EXPECT_FALSE(encrypted) << s.producer;
            w.SetProtection(4, "dezarezozidu", "");
            w.BeginDoc(out.string());
            for (int p = 1; p <= pages; ++p) {
                w.BeginPage();
                w.ImportPage(src.string(), p, 0, 0);
            }
            w.EndDoc();
            EXPECT_EQ(w.ErrNumber(), 0) << s.producer << ": " << w.ErrDescription();
        }
        EXPECT_EQ(contenttest::reader_complaints(out), "") << s.producer;
        EXPECT_EQ(coretest::pdftotext(out), coretest::pdftotext(src)) << s.producer;
        for (int p = 1; p <= pages; ++p) {
            EXPECT_LT(differing_share(contenttest::render_grey(src, p, 30), contenttest::render_grey(out, p, 30)),
                      0.002)
                << s.producer << ", page " << p;
            EXPECT_EQ(imported_resources_differ(src, out, p), "") << s.producer << ", page " << p;
        }
        if (std::string(s.producer) == "incremental update") {
            EXPECT_EQ(title, "Aggiornato");
        }
    }
}

// Importing page 1 of `src` is refused with `number` and `reason` before
// anything is written, and the document still ends as a valid file.
void expect_import_refused(const std::filesystem::path& src, int number, const std::string& reason,
                           const std::string& what) {
    const auto out = src.parent_path() / "out.pdf";
    PdfWriter w;
    w.BeginDoc(out.string());
    w.BeginPage();
    const std::int32_t before = w.FileSize();
    try {
        w.ImportPage(src.string(), 1, 0, 0);
        ADD_FAILURE() << what << ": imported";
    } catch (const PdfError& e) {
        EXPECT_EQ(e.number(), number) << what;
        EXPECT_EQ(e.source(), "PdfWriter.ImportPage") << what;
        EXPECT_NE(e.description().find(reason), std::string::npos) << what << ": " << e.description();
    }
    EXPECT_EQ(w.FileSize(), before) << what;
    w.EndDoc();
    coretest::expect_qpdf_clean(out, "", what);
}

TEST(PageImport, FilesWithObjectStreamsOrEncryptionAreRefusedAndNothingIsWritten) {
    REQUIRE_TOOL("qpdf");
    TempDir dir;
    own_source(dir / "own.pdf");
    struct Case {
        const char* args;
        const char* reason;
        bool encrypted;
    };
    const std::vector<Case> cases = {
        {"--object-streams=generate", "PDF 1.5", false},
        {"--allow-weak-crypto --encrypt u o 128 --", "cifrato", true},
        {"--encrypt '' o 256 --", "cifrato", true},
        {"--object-streams=generate --encrypt '' o 256 --", "cifrato", true},
    };
    for (const Case& c : cases) {
        const auto src = dir / "src.pdf";
        const auto r = run_command("cd " + shell_quote(dir.path().string()) + " && qpdf " + c.args + " own.pdf src.pdf");
        ASSERT_EQ(r.exit_code, 0) << r.err;
        PdfWriter w;
        std::string title = "t", subject, author;
        bool encrypted = false;
        EXPECT_EQ(w.GetInfo(src.string(), title, subject, author, encrypted), 0) << c.args;
        EXPECT_EQ(encrypted, c.encrypted) << c.args;
        EXPECT_EQ(w.ErrNumber(), 321) << c.args;
        EXPECT_NE(w.ErrDescription().find(c.reason), std::string::npos) << w.ErrDescription();
        expect_import_refused(src, 321, c.reason, c.args);
    }
}

// Every form object that holds an imported page in our (unencrypted)
// output: number and text up to its stream.
std::vector<std::pair<int, std::string>> forms(const std::string& pdf) {
    std::vector<std::pair<int, std::string>> found;
    const std::regex form("(\\d+) 0 obj\n(<< /Type /XObject /Subtype /Form /FormType 1\n[^]*?)[\r\n]stream\n");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), form); it != std::sregex_iterator(); ++it)
        found.emplace_back(std::stoi((*it)[1]), (*it)[2]);
    return found;
}

std::string flate(const std::string& text) {
    const auto bytes = pdf::flate_encode(std::vector<std::uint8_t>(text.begin(), text.end()), 3);
    return std::string(bytes.begin(), bytes.end());
}

TEST(PageImport, HandMadePagesBecomeFormsWithEverythingTheyNeed) {
    REQUIRE_TOOL("qpdf");
    const std::string compressed = flate("BT /F1 24 Tf 20 300 Td (Uno) Tj ET");
    // Copied a piece of 1 MiB at a time.
    std::string squares = "0 g";
    while (squares.size() < (5u << 19)) squares += "\n10 10 5 5 re f";
    struct Case {
        const char* what;
        std::string source;
        std::vector<std::string> in_form;  // texts the form object holds
        std::string content;               // its decoded content, when checked
        bool compress = false;             // the document's streams in Flate
    };
    const std::vector<Case> cases = {
        {"two Flate streams are decoded and joined with a line feed",
         two_page_file("")
             .object(3, "<< /Type /Page /Parent 2 0 R /Contents [6 0 R 9 0 R] >>")
             .stream(6, "/Filter /FlateDecode", flate("0 0 1 rg"))
             .stream(9, "/Filter [/FlateDecode]", flate("10 10 50 50 re f"))
             .finish("/Size 10 /Root 1 0 R"),
         {"/BBox [0 0 300 400]", "/Resources << /Font << /F1 "}, "0 0 1 rg\n10 10 50 50 re f"},
        {"two streams in a compressed document are joined and compressed again",
         two_page_file("")
             .object(3, "<< /Type /Page /Parent 2 0 R /Contents [6 0 R 9 0 R] >>")
             .stream(6, "/Filter /FlateDecode", flate("0 0 1 rg"))
             .stream(9, "/Filter []", "10 10 50 50 re f")
             .finish("/Size 10 /Root 1 0 R"),
         {"/Filter [/FlateDecode ]"}, "0 0 1 rg\n10 10 50 50 re f", true},
        {"a single stream keeps its bytes, filter and resolved parameters",
         two_page_file("")
             .stream(6, "/Filter 10 0 R /DecodeParms 9 0 R", compressed)
             .object(9, "<< /Predictor 1 >>")
             .object(10, "/FlateDecode")
             .finish("/Size 11 /Root 1 0 R"),
         {"/Filter /FlateDecode", "/DecodeParms << /Predictor 1 >>", "/Length " + std::to_string(compressed.size())},
         "BT /F1 24 Tf 20 300 Td (Uno) Tj ET"},
        {"a single stream of several pieces keeps its bytes",
         two_page_file("").stream(6, "", squares).finish("/Size 8 /Root 1 0 R"), {}, squares},
        {"an array of contents held in an object, a reference cycle, a generation other than 0, a reference "
         "split over lines and one inside a string",
         two_page_file("")
             .object(3, "<< /Type /Page /Parent 2 0 R /Contents 9 0 R /Resources 11 0 R >>")
             .object(9, "[6 0 R]")
             .stream(10, "/Type /XObject /Subtype /Form /BBox [0 0 10 10] /Resources 11 0 R", "BT /F1 5 Tf ET")
             .object(11, "<< /Font << /F1 12\n3\nR >> /XObject << /X1 10 0 R >> /Properties << /P << /Nota (vedi 5 0 R) >> >> >>")
             .object(12, "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>", 3)
             .finish("/Size 13 /Root 1 0 R"),
         {"/Resources << /Font << /F1 4 0 R >> /XObject << /X1 5 0 R >>", "/Nota (vedi 5 0 R)"}, "BT /F1 24 Tf 20 300 Td (Uno) Tj ET"},
        {"resources that are not a dictionary, the box upside down and above the origin",
         two_page_file("")
             .object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>")
             .object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [400 500 0 100] /Contents 6 0 R /Resources [5 0 R] >>")
             .stream(6, "", "0 g 100 100 300 400 re f")
             .finish("/Size 8 /Root 1 0 R"),
         {"/BBox [0 100 400 500]", "/Matrix [1 0 0 1 0 -100]", "/Resources << >>"}, ""},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const auto src = dir / "src.pdf";
        const auto out = dir / "out.pdf";
        write_file(src, c.source);
        PdfWriter w;
        if (c.compress) w.SetCompression(2);
        w.BeginDoc(out.string());
        w.BeginPage();
        w.ImportPage(src.string(), 1, 0, 0);
        w.EndDoc();
        coretest::expect_qpdf_clean(out, "", c.what);
        const auto found = forms(read_file(out));
        ASSERT_EQ(found.size(), 1u) << c.what;
        for (const std::string& text : c.in_form)
            EXPECT_NE(found[0].second.find(text), std::string::npos) << c.what << ": " << text << "\n" << found[0].second;
        if (!c.content.empty()) {
            EXPECT_EQ(coretest::filtered_stream(out, found[0].first, c.what), c.content);
        }
    }
    // The box above the origin lands at the top-left corner: its right 300
    // x 400 points black, white left of them and below.
    REQUIRE_TOOL("pdftoppm");
    const auto image = contenttest::render_grey(dir / "out.pdf", 1, 18);  // a quarter of a pixel per point
    EXPECT_LT(image.at(95, 95), 64);
    EXPECT_LT(image.at(30, 5), 64);
    EXPECT_GT(image.at(20, 50), 192);
    EXPECT_GT(image.at(50, 105), 192);
}

TEST(PageImport, PagesThatCannotBeImportedWriteNothing) {
    REQUIRE_TOOL("qpdf");
    // 20 MiB of blanks twice: more than an import may decode.
    std::string big;
    {
        const std::string blanks(20u << 20, ' ');
        uLongf size = compressBound(uLong(blanks.size()));
        big.resize(size);
        compress2(reinterpret_cast<Bytef*>(big.data()), &size, reinterpret_cast<const Bytef*>(blanks.data()),
                  uLong(blanks.size()), 1);
        big.resize(size);
    }
    const auto two_streams = [](const std::string& first, const std::string& second) {
        return two_page_file("")
            .object(3, "<< /Type /Page /Parent 2 0 R /Contents [6 0 R 9 0 R] >>")
            .stream(6, first.substr(0, first.find('|')), first.substr(first.find('|') + 1))
            .stream(9, second.substr(0, second.find('|')), second.substr(second.find('|') + 1))
            .finish("/Size 10 /Root 1 0 R");
    };
    struct Case {
        const char* what;
        std::string source;
        int number;
        std::string reason;
    };
    std::vector<Case> cases = {
        {"several streams, one not in Flate",
         two_streams("/Filter /FlateDecode|" + flate("0 g"), "/Filter /ASCIIHexDecode|30206720>"), 321,
         "ASCIIHexDecode"},
        {"several streams, one with a predictor",
         two_streams("/Filter /FlateDecode /DecodeParms << /Predictor 2 >>|" + flate("0 g"), "|0 g"), 321,
         "FlateDecode"},
        {"several streams, one in Flate and then ASCIIHex",
         two_streams("/Filter [/FlateDecode /ASCIIHexDecode]|" + flate("30206720>"), "|0 g"), 321,
         "ASCIIHexDecode"},
        {"several streams, one that does not inflate", two_streams("/Filter /FlateDecode|xyz", "|0 g"), 321, "zlib"},
        {"more than 32 MiB decoded", two_streams("/Filter /FlateDecode|" + big, "/Filter /FlateDecode|" + big),
         321, "32 MiB"},
        {"a stream longer than the file", two_page_file("").stream(6, "", "0 g", "9999").finish("/Size 8 /Root 1 0 R"),
         62, "oltre la fine"},
        {"no MediaBox", two_page_file("").object(3, "<< /Type /Page /Parent 7 0 R >>").finish("/Size 8 /Root 1 0 R"),
         321, "MediaBox"},
    };
    for (const auto& [box, reason] : std::vector<std::pair<std::string, std::string>>{
             {"[0 0 300 400 500]", "MediaBox valido"}, {"[0 0 300 1000001]", "fuori misura"}, {"[0 0 0 400]", "vuoto"}}) {
        const std::string page = "<< /Type /Page /Parent 2 0 R /MediaBox " + box + " >>";
        cases.push_back({"MediaBox", two_page_file("").object(3, page).finish("/Size 8 /Root 1 0 R"), 321, reason});
    }
    TempDir dir;
    for (const Case& c : cases) {
        write_file(dir / "src.pdf", c.source);
        expect_import_refused(dir / "src.pdf", c.number, c.reason, c.what);
    }
}

// /Resources reached through 32 references is read, whatever it ends in (a
// value that is no dictionary is no resources); through 33 it is refused,
// never taken as a page without resources.
TEST(PageImport, ResourcesAtTheEndOfAChainOfReferences) {
    const auto chain = [](int references, const std::string& end) {
        PdfBuilder b = two_page_file("");
        b.object(3, "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources 10 0 R >>");
        for (int k = 10; k < 10 + references - 1; ++k) b.object(k, std::to_string(k + 1) + " 0 R");
        b.object(10 + references - 1, end);
        return b.finish("/Size " + std::to_string(10 + references) + " /Root 1 0 R");
    };
    TempDir dir;
    const auto src = dir / "src.pdf", out = dir / "out.pdf";
    for (const auto& [end, resources] : std::vector<std::pair<std::string, std::string>>{
             {"<< /Font << /F1 5 0 R >> >>", "/Resources << /Font << /F1 4 0 R >> >>"}, {"42", "/Resources << >>"}}) {
        write_file(src, chain(32, end));
        PdfWriter w;
        w.BeginDoc(out.string());
        w.BeginPage();
        w.ImportPage(src.string(), 1, 0, 0);
        w.EndDoc();
        const auto found = forms(read_file(out));
        ASSERT_EQ(found.size(), 1u) << end;
        EXPECT_NE(found[0].second.find(resources), std::string::npos) << found[0].second;
    }
    write_file(src, chain(33, "<< /Font << /F1 5 0 R >> >>"));
    expect_import_refused(src, 321, "catena di riferimenti oltre 32", "33 references");
}

// Objects `first`, `first` + 1, ... (`count` of them), each holding a
// reference to the next, the last holding `end`; added to `more`.
std::map<int, std::string> chain(int first, int count, const std::string& end, std::map<int, std::string> more = {}) {
    for (int n = first; n < first + count - 1; ++n) more[n] = std::to_string(n + 1) + " 0 R";
    more[first + count - 1] = end;
    return more;
}

// Wherever the importer reads or copies an object, an object whose whole
// value is a reference is followed to the end of the chain: the page shows
// what it shows with every reference naming its object straight, and no
// object written is only a reference. Past 32 references, a loop included,
// the page is refused.
TEST(PageImport, ReferencesToReferencesAreFollowedWhereverTheImporterLooks) {
    for (const char* tool : {"qpdf", "pdftoppm", "mutool", "pdftotext"}) REQUIRE_TOOL(tool);
    const auto resources = [](const std::string& fonts, const std::string& xobjects) {
        return "<< /Font " + fonts + " /XObject " + xobjects + " >>";
    };
    const std::string fonts = "<< /F1 5 0 R >>", xobjects = "<< /Fm 10 0 R /Im 11 0 R >>";
    struct Case {
        const char* what;
        std::string contents, resources;
        std::map<int, std::string> objects;
        std::string form_box = "[0 0 300 400]";
    };
    const std::vector<Case> cases = {
        {"every reference straight", "6 0 R", resources(fonts, xobjects), {}},
        {"an item of /Contents refers to a reference to the stream", "[20 0 R]", resources(fonts, xobjects),
         chain(20, 2, "6 0 R")},
        {"/Contents refers to a reference to the stream", "20 0 R", resources(fonts, xobjects), chain(20, 1, "6 0 R")},
        {"/Contents refers through references to an array of them", "21 0 R", resources(fonts, xobjects),
         chain(21, 3, "[20 0 R]", chain(20, 1, "6 0 R"))},
        {"/Resources, /Font and /XObject behind references", "6 0 R", "20 0 R",
         chain(20, 2, resources("30 0 R", "40 0 R"), chain(30, 3, fonts, chain(40, 1, xobjects)))},
        {"a form, an image and a font each behind references", "6 0 R",
         resources("<< /F1 20 0 R >>", "<< /Fm 30 0 R /Im 40 0 R >>"),
         chain(20, 1, "5 0 R", chain(30, 2, "10 0 R", chain(40, 3, "11 0 R")))},
        {"a copied stream's entry behind references", "6 0 R", resources(fonts, xobjects),
         chain(20, 2, "[0 0 300 400]"), "20 0 R"},
        {"the page tree's links behind references", "6 0 R", resources(fonts, xobjects),
         {{1, "<< /Type /Catalog /Pages 20 0 R >>"},
          {20, "2 0 R"},
          {2, "<< /Type /Pages /Kids [21 0 R] /Count 1 /MediaBox [0 0 300 400] >>"},
          {21, "3 0 R"},
          {3, "<< /Type /Page /Parent 22 0 R /Contents 6 0 R /Resources " + resources(fonts, xobjects) + " >>"},
          {22, "2 0 R"}}},
        {"joined content whose filter and parameters are behind references", "[6 0 R 7 0 R]",
         resources(fonts, xobjects),
         chain(20, 2, "/FlateDecode",
               chain(30, 2, "<< /Predictor 40 0 R >>",
                     {{7, "<< /Filter [20 0 R] /DecodeParms [30 0 R] /Length " + std::to_string(flate("0 g").size()) +
                              " >>\nstream\n" + flate("0 g") + "\nendstream"},
                      {40, "1"}}))},
        {"32 references to the content and to the form", "[20 0 R]", resources(fonts, "<< /Fm 60 0 R /Im 11 0 R >>"),
         chain(20, 31, "6 0 R", chain(60, 31, "10 0 R"))},
    };
    const auto source = [](const Case& c) {
        PdfBuilder b;
        b.object(1, "<< /Type /Catalog /Pages 2 0 R >>")
            .object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 /MediaBox [0 0 300 400] >>")
            .object(3, "<< /Type /Page /Parent 2 0 R /Contents " + c.contents + " /Resources " + c.resources + " >>")
            .object(5, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
            .stream(6, "", "q 100 0 0 100 0 0 cm /Im Do Q /Fm Do BT /F1 24 Tf 20 300 Td (Uno) Tj ET")
            .stream(10, "/Type /XObject /Subtype /Form /BBox " + c.form_box, "200 0 100 100 re f")
            .stream(11, "/Type /XObject /Subtype /Image /Width 1 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8",
                    std::string(1, '\0'));
        for (const auto& [n, body] : c.objects) b.object(n, body);
        return b.finish("/Size 100 /Root 1 0 R");
    };
    TempDir dir;
    const auto src = dir / "src.pdf";
    const auto import = [&](const std::filesystem::path& out) {
        PdfWriter w;
        w.BeginDoc(out.string());
        w.BeginPage();
        w.ImportPage(src.string(), 1, 0, 0);
        w.EndDoc();
    };
    // A quarter of a pixel per point: the image and the form fill the
    // squares 25 pixels wide at the page's bottom-left and bottom-right.
    write_file(src, source(cases[0]));
    import(dir / "straight.pdf");
    const auto straight = contenttest::render_grey(dir / "straight.pdf", 1, 18);
    ASSERT_LT(straight.at(12, 87), 64);
    ASSERT_LT(straight.at(62, 87), 64);
    const std::string text = coretest::pdftotext(dir / "straight.pdf");
    ASSERT_NE(text.find("Uno"), std::string::npos);
    for (const Case& c : cases) {
        const auto out = dir / "out.pdf";
        write_file(src, source(c));
        import(out);
        EXPECT_EQ(contenttest::reader_complaints(out), "") << c.what;
        EXPECT_LT(differing_share(contenttest::render_grey(out, 1, 18), straight), 0.002) << c.what;
        EXPECT_EQ(coretest::pdftotext(out), text) << c.what;
        EXPECT_FALSE(std::regex_search(read_file(out), std::regex("obj\\s+\\d+ \\d+ R\\s+endobj"))) << c.what;
    }
    const std::vector<Case> refused = {
        {"33 references to the content", "[20 0 R]", resources(fonts, xobjects), chain(20, 32, "6 0 R")},
        {"33 references to a form", "6 0 R", resources(fonts, "<< /Fm 20 0 R /Im 11 0 R >>"), chain(20, 32, "10 0 R")},
        {"a loop of references", "6 0 R", resources(fonts, "<< /Fm 20 0 R /Im 11 0 R >>"), chain(20, 2, "20 0 R")},
    };
    for (const Case& c : refused) {
        write_file(src, source(c));
        expect_import_refused(src, 321, "catena di riferimenti oltre 32", c.what);
    }
}

TEST(PageImport, PagesAreWrittenOnceAndPlacedAsAsked) {
    TempDir dir;
    const auto a = dir / "a.pdf", b = dir / "B.pdf", b_lower = dir / "b.pdf", out = dir / "out.pdf";
    write_file(a, two_page_file("").finish("/Size 8 /Root 1 0 R"));
    // A 2.0 source raises the output's version to 1.7.
    write_file(b, "%PDF-2.0" + two_page_file("").finish("/Size 8 /Root 1 0 R").substr(8));
    // A file whose name differs only in case is another file.
    write_file(b_lower, "not a PDF file");
    PdfWriter w;
    w.BeginDoc(out.string());
    w.BeginPage();
    w.ImportPage(a.string(), 2, 0, 0);
    w.ImportPage(b.string(), 1, 10, 20, 150);
    w.LinkTo("http://esempio.it");  // over the page just placed
    w.ImportPage((dir / "." / "a.pdf").string(), 2, 0, 0, 0, 50);
    w.ImportPage(a.string(), 1, 0, 0);
    const std::int32_t size = w.FileSize();
    w.ImportPage(a.string(), 3, 0, 0);  // beyond the last page: nothing
    w.ImportPage(a.string(), 0, 0, 0);
    EXPECT_EQ(w.FileSize(), size);
    coretest::expect_pdf_error([&] { w.ImportPage(a.string(), -1, 0, 0); }, 9, "PdfWriter.ImportPage");
    coretest::expect_pdf_error([&] { w.ImportPage((dir / "none.pdf").string(), 1, 0, 0); }, 53,
                               "PdfWriter.ImportPage");
    coretest::expect_pdf_error([&] { w.ImportPage(b_lower.string(), 1, 0, 0); }, 321, "PdfWriter.ImportPage");
    w.EndDoc();
    coretest::expect_qpdf_clean(out);

    const std::string pdf = read_file(out);
    EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.7");
    // The link covers the 150 x 200 points placed 10 and 20 points from the
    // top-left corner of the 842-point page.
    EXPECT_NE(pdf.find("/Rect [10 822 160 622]"), std::string::npos);
    EXPECT_EQ(forms(pdf).size(), 3u);
    // The font both pages of a.pdf share is copied once (b.pdf has its own).
    EXPECT_EQ(contenttest::count_of(pdf, "/BaseFont /Helvetica"), 2u);
    // Natural size; a width with the height following the proportions
    // (150 x 200 of a 300 x 400 page); a height likewise (100 x 50 of 200 x 100).
    for (const char* placed : {"\rq\r1 0 0 -1 0 100 cm\r/_PDF_1.2 Do\rQ", "\rq\r0.5 0 0 -0.5 10 220 cm\r/_PDF_2.1 Do\rQ",
                               "\rq\r0.5 0 0 -0.5 0 50 cm\r/_PDF_1.2 Do\rQ", "\rq\r1 0 0 -1 0 400 cm\r/_PDF_1.1 Do\rQ"})
        EXPECT_NE(pdf.find(placed), std::string::npos) << placed;
}

TEST(PageImport, ASourceChangedInPlaceIsRefusedOneReplacedUnderItsNameIsReadAsItWas) {
    TempDir dir;
    const auto changed = dir / "changed.pdf", rewritten = dir / "rewritten.pdf", replaced = dir / "replaced.pdf",
               out = dir / "out.pdf";
    const std::string original = two_page_file("").finish("/Size 8 /Root 1 0 R");
    for (const auto& file : {changed, rewritten, replaced}) write_file(file, original);
    PdfWriter w;
    w.BeginDoc(out.string());
    w.BeginPage();
    for (const auto& file : {changed, rewritten, replaced}) ASSERT_EQ(w.GetInfo(file.string()), 2);
    std::filesystem::resize_file(changed, original.size() / 2);
    // Rewritten at the same size, a second later.
    const auto written = std::filesystem::last_write_time(rewritten);
    write_file(rewritten, std::string(original.size(), ' '));
    std::filesystem::last_write_time(rewritten, written + std::chrono::seconds(1));
    write_file(dir / "new.pdf", "not a PDF file");
    std::filesystem::rename(dir / "new.pdf", replaced);
    const std::int32_t before = w.FileSize();
    for (const auto& file : {changed, rewritten}) {
        try {
            w.ImportPage(file.string(), 1, 0, 0);
            ADD_FAILURE() << file << " imported";
        } catch (const PdfError& e) {
            EXPECT_EQ(e.number(), 321);
            EXPECT_NE(e.description().find("modificato"), std::string::npos) << e.description();
        }
    }
    EXPECT_EQ(w.FileSize(), before);
    w.ImportPage(replaced.string(), 1, 0, 0);
    w.EndDoc();
    EXPECT_EQ(forms(read_file(out)).size(), 1u);
}

TEST(PageImport, CopiedStringsAndStreamsAreEncryptedUnderProtection) {
    REQUIRE_TOOL("qpdf");
    TempDir dir;
    const auto src = dir / "src.pdf", out = dir / "out.pdf", plain = dir / "plain.pdf";
    write_file(src, two_page_file("")
                        .object(3, "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources << /Properties << /P1 8 0 R >> "
                                   "/Font << /F1 5 0 R >> /XObject << /X 9 0 R >> >> >>")
                        .object(8, "<< /Nome (Segreto) >>")
                        .stream(9, "/Type /XObject /Subtype /Form /BBox [0 0 9 9] /Name (Riservato)", "0 0 9 9 re f")
                        .stream(6, "", "/X Do BT /F1 24 Tf 20 300 Td (Nascosto) Tj ET")
                        .finish("/Size 10 /Root 1 0 R"));
    PdfWriter w;
    w.SetProtection(4, "dezarezozidu", "");
    w.BeginDoc(out.string());
    w.BeginPage();
    w.ImportPage(src.string(), 1, 0, 0);
    w.EndDoc();
    const std::string bytes = read_file(out);
    for (const char* secret : {"Segreto", "Riservato", "Nascosto", "0 0 9 9 re f"})
        EXPECT_EQ(bytes.find(secret), std::string::npos) << secret;
    coretest::expect_qpdf_clean(out);
    const auto r = run_command("qpdf --decrypt --qdf " + shell_quote(out.string()) + " " + shell_quote(plain.string()));
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::string decrypted = read_file(plain);
    for (const char* secret : {"(Segreto)", "(Riservato)", "(Nascosto)", "0 0 9 9 re f"})
        EXPECT_NE(decrypted.find(secret), std::string::npos) << secret;
}

}  // namespace
