// The PDF file reader on hand-made files: every form of the syntax read as
// qpdf reads it, information texts as pdfinfo shows them, page counts
// through incremental updates and damaged page trees, streams bounded by
// their /Length, and every refusal with its number and reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "common/cp1252.h"
#include "pdf_builder.h"
#include "qpdf_json.h"
#include "pdf/PdfWriter.h"
#include "pdf/extras/pdf_file.h"
#include "support/tools.h"

namespace {

using extrastest::PdfBuilder;
using extrastest::two_page_file;
using testsupport::run_command;
using testsupport::shell_quote;
using testsupport::TempDir;
using testsupport::write_file;

struct Info {
    std::int32_t pages = -1;
    std::string title = "?", subject = "?", author = "?";
    bool encrypted = false;
};

Info get_info(PdfWriter& writer, const std::filesystem::path& file) {
    Info info;
    info.pages = writer.GetInfo(file.string(), info.title, info.subject, info.author, info.encrypted);
    return info;
}

// The items of object 3, an array, as qpdf reads them: strings as their
// bytes, names, numbers and references as qpdf writes them.
std::vector<std::string> qpdf_items(const std::filesystem::path& file) {
    std::vector<std::string> items;
    const extrastest::Json objects = extrastest::qpdf_objects(file);
    for (const extrastest::Json& item : objects["obj:3 0 R"]["value"].items) {
        const bool string = item.text.rfind("u:", 0) == 0 || item.text.rfind("b:", 0) == 0;
        items.push_back(string ? extrastest::qpdf_string_bytes(item.text) : item.text);
    }
    return items;
}

TEST(PdfSyntax, EveryEscapeAndWhiteSpaceFormReadsAsQpdfReadsIt) {
    REQUIRE_TOOL("qpdf");
    // Escapes of every kind, octal of one to four digits, line ends raw and
    // escaped, hexadecimal strings spaced and odd, names with #xx,
    // references up to the highest generation, and NUL, form feed, tab, CR
    // and comments between tokens.
    const std::string items = std::string("[(a\\nb\\r\\t\\b\\f\\(\\)\\\\) (\\1\\12\\123\\1234) (\\0053) (x\\\r\ny) (x\\\ny) "
                                          "(x\\\ry) (l1\r\nl2\rl3\nl4) (\\q\\8\\9) (n(e)s\\)t) <41 42\n43> <414> <> () "
                                          "(\\351t\\351) 1") +
                              '\0' + "2 /A" + '\0' + "/B 3\f4 5%c\n6\t7\r8 +5%d\r-9.5 /A#20B#2f /C#41 5 65535 R 2 0 R]";
    TempDir dir;
    const auto file = dir / "syntax.pdf";
    write_file(file, two_page_file("").object(3, items).finish("/Size 8 /Root 1 0 R"));
    pdf::PdfFile ours(testsupport::read_file(file));
    std::vector<std::string> read;
    for (const pdf::PdfValue& item : ours.object(3, 0)->value.items) {
        switch (item.kind) {
            case pdf::PdfValue::Kind::integer: read.push_back(std::to_string(item.integer)); break;
            case pdf::PdfValue::Kind::name: read.push_back("/" + item.text); break;
            case pdf::PdfValue::Kind::reference:
                read.push_back(std::to_string(item.integer) + " " + std::to_string(item.generation) + " R");
                break;
            default: read.push_back(item.text);
        }
    }
    EXPECT_EQ(read, qpdf_items(file));
    EXPECT_EQ(read.size(), 30u);
    // A "#" without two hexadecimal digits after it, which qpdf reads its
    // own way, stands as written.
    pdf::PdfCursor names("/A#4G /B#4]");
    pdf::PdfParseBudget budget(1024);
    EXPECT_EQ(pdf::parse_value(names, budget).text, "A#4G");
    EXPECT_EQ(pdf::parse_value(names, budget).text, "B#4");
}

TEST(PdfSyntax, TheBudgetCountsTheMemoryParsedValuesHold) {
    std::string text = "[";
    for (int i = 0; i < 100000; ++i) text += "7 ";
    text += "(" + std::string(100000, 's') + ") /" + std::string(1000, 'n') + "]";
    pdf::PdfCursor cursor(text);
    pdf::PdfParseBudget budget(std::size_t{1} << 30);
    const pdf::PdfValue value = pdf::parse_value(cursor, budget);
    ASSERT_EQ(value.items.size(), 100002u);
    const std::size_t held = value.items.capacity() * sizeof(pdf::PdfValue) +
                             value.items[100000].text.capacity() + 1 + value.items[100001].text.capacity() + 1;
    EXPECT_EQ((std::size_t{1} << 30) - budget.left(), held);
    pdf::PdfCursor again(text);
    pdf::PdfParseBudget short_of_it(held * 3 / 4);
    EXPECT_THROW(pdf::parse_value(again, short_of_it), pdf::PdfReadError);
    pdf::PdfParseBudget exact(8);
    EXPECT_NO_THROW(exact.take(8)) << "the last byte left can be taken";
    EXPECT_THROW(exact.take(1), pdf::PdfReadError);
}

TEST(PdfReader, InformationTextsReadAsPdfinfoShowsThem) {
    REQUIRE_TOOL("pdfinfo");
    std::string every_byte;
    for (int b = 0x18; b < 0x100; ++b) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\%03o", b);
        every_byte += escape;
    }
    const std::vector<std::string> titles = {
        "(" + every_byte + ")",
        "(Contratto d\\222appalto \\(bozza\\) \\351t\\351)",
        "(\\376\\377\\000\\310\\040\\254\\000A)",
        "<FEFF00C8 20AC 0041 D83D DE00 0042>",
        "<FEFFD800004100>",
        "<FEFFDC00DC000041D800>",
        "<4142434>",
    };
    TempDir dir;
    const auto file = dir / "info.pdf";
    for (const std::string& title : titles) {
        write_file(file, two_page_file("/Title " + title).finish("/Size 8 /Root 1 0 R /Info 7 0 R"));
        const auto shown = run_command("pdfinfo " + shell_quote(file.string()));
        ASSERT_EQ(shown.exit_code, 0) << shown.err;
        const std::size_t at = shown.out.find("Title:");
        ASSERT_NE(at, std::string::npos) << title;
        const std::size_t start = shown.out.find_first_not_of(' ', at + 6);
        const std::string expected = utf8_per_messaggio(shown.out.substr(start, shown.out.find('\n', start) - start));
        PdfWriter writer;
        const Info info = get_info(writer, file);
        EXPECT_EQ(info.title, expected) << title;
        EXPECT_NE(info.title, "") << title;
    }
}

TEST(PdfReader, PagesAndInformationOfReadableFiles) {
    TempDir dir;
    struct Case {
        std::string what;
        std::string bytes;
        std::int32_t pages;
        std::string title, subject = "", author = "";
    };
    const auto info_file = [](const std::string& entries,
                              const std::string& trailer = "/Size 9 /Root 1 0 R /Info 7 0 R") {
        return two_page_file(entries).object(8, "(Indiretto)").finish(trailer);
    };
    std::vector<Case> cases = {
        {"values held in other objects", info_file("/Title 8 0 R /Author (Rossi) /Subject 99 0 R"), 2, "Indiretto", "",
         "Rossi"},
        {"no texts", info_file("/Keywords (x)"), 2, ""},
        {"no /Info in the trailer: no texts of another object", info_file("/Title (x)", "/Size 9 /Root 1 0 R"), 2,
         ""},
        {"a key's name as a value, a name, a number with decimals",
         info_file("/Title (Subject) /Subject 2.7 /Author /Nome#20Uno"), 2, "Subject", "3", "/Nome Uno"},
        {"information in the highest object number",
         two_page_file("").object(8388607, "<< /Title (Alto) >>").finish("/Size 8388608 /Root 1 0 R /Info 8388607 0 R"),
         2, "Alto"},
        {"a value in an object listed free reads as null",
         [&] {
             std::string s = two_page_file("/Title 8 0 R").promise(8, 0).finish("/Size 9 /Root 1 0 R /Info 7 0 R");
             return s.replace(s.find("0000000000 00000 n"), 18, "0000000000 00000 f");
         }(),
         2, ""},
        {"UTF-8 after its mark in a 1.4 file, one ? per malformed sequence or character beyond the code page",
         info_file("/Title <EFBBBF 43616666C3A8 20E2809420 E282AC> "
                   "/Subject (\\357\\273\\277A\\342\\202B\\200C\\360\\237\\230\\200D\\303) "
                   "/Author <EFBBBF 41EDA080 42C080 43F8 44E08080>"),
         2, "Caff\xE8 \x97 \x80", "A?B?C?D?", "A?B?C?D?"},
    };
    {
        // An incremental update replaces the page tree, the catalog (the old
        // one left without pages) and the information and adds a page; its
        // /Size is larger than any object number.
        PdfBuilder b = two_page_file("/Title (Vecchio)");
        b.finish("/Size 8 /Root 1 0 R /Info 7 0 R");
        b.object(1, "<< /Type /Catalog >>")
            .object(2, "<< /Type /Pages /Kids [3 0 R 4 0 R 8 0 R] /Count 3 /MediaBox [0 0 300 400] >>")
            .object(8, "<< /Type /Page /Parent 2 0 R >>")
            .object(9, "<< /Title (Nuovo) >>")
            .object(10, "<< /Type /Catalog /Pages 2 0 R >>");
        cases.push_back({"incremental update", b.finish("/Size 1000 /Root 10 0 R /Info 9 0 R"), 3, "Nuovo"});
    }
    {
        // Two sections whose /Prev entries lead to each other.
        PdfBuilder b = two_page_file("/Title (Giro)");
        std::string first = b.finish("/Size 8 /Root 1 0 R /Info 7 0 R /Prev 0000000000");
        const std::size_t second = first.size();
        char offset[16];
        std::snprintf(offset, sizeof offset, "%010zu", second);
        first.replace(first.rfind("0000000000"), 10, offset);
        first += "xref\n0 0\ntrailer\n<< /Prev " + std::to_string(first.rfind("\nxref") + 1) + " >>\nstartxref\n" +
                 std::to_string(second) + "\n%%EOF\n";
        cases.push_back({"/Prev loop", first, 2, "Giro"});
    }
    cases.push_back({"a kid whose /Type is a text, not a name, is no page",
                     two_page_file("/Title (Tipo)")
                         .object(4, "<< /Type (Page) /Parent 2 0 R >>")
                         .finish("/Size 8 /Root 1 0 R /Info 7 0 R"),
                     1, "Tipo"});
    cases.push_back({"a tree whose kids, held in another object, list the tree, a page twice and a missing kid",
                     two_page_file("/Title (Albero)")
                         .object(2, "<< /Type /Pages /Kids 8 0 R /MediaBox [0 0 1 1] >>")
                         .object(8, "[3 0 R 2 0 R 3 0 R 99 0 R 4 0 R]")
                         .finish("/Size 9 /Root 1 0 R /Info 7 0 R"),
                     2, "Albero"});
    {
        // The information object stands after the table, its endobj at the
        // very end of the file; a reference split over lines.
        const std::string trailer = "/Size 10 /Root 1\n0\nR /Info 9 0 R";
        const std::size_t end = two_page_file("").promise(9, 0).finish(trailer).size();
        cases.push_back({"endobj at the end of the file",
                         two_page_file("").promise(9, end).finish(trailer) + "9 0 obj\n<< /Title (Fine) >>\nendobj", 2,
                         "Fine"});
    }
    for (const Case& c : cases) {
        const auto file = dir / "pages.pdf";
        write_file(file, c.bytes);
        PdfWriter writer;
        const Info info = get_info(writer, file);
        EXPECT_EQ(info.pages, c.pages) << c.what;
        EXPECT_EQ(info.title, c.title) << c.what;
        EXPECT_EQ(info.subject, c.subject) << c.what;
        EXPECT_EQ(info.author, c.author) << c.what;
        EXPECT_EQ(writer.ErrNumber(), 0) << c.what << ": " << writer.ErrDescription();
    }
}

TEST(PdfReader, StreamsAreBoundedByTheirLength) {
    const std::string data = "BT /F1 24 Tf (endstream endobj) Tj ET";
    PdfBuilder b = two_page_file("");
    b.stream(6, "/Length1 500", data)
        .stream(9, "", data, "10 0 R")
        .object(10, std::to_string(data.size()))
        .stream(11, "", data, "11 0 R")
        .stream(12, "", data, "999999")
        .stream(13, "", data, "5");
    // Lengths that refer to streams whose lengths refer on and on.
    for (int n = 14; n < 30; ++n) b.stream(n, "", data, std::to_string(n + 1) + " 0 R");
    b.object(31, "<< /Length " + std::to_string(data.size()) + " >>\nstream\r\n" + data + "\r\nendstream")
        .stream(32, "", data, "-5")
        .stream(33, "", data, "34 0 R")
        .object(34, "10 0 R");
    pdf::PdfFile file(b.finish("/Size 35 /Root 1 0 R"));
    EXPECT_EQ(file.stream_data(*file.object(6, 0)), data);
    EXPECT_EQ(file.stream_data(*file.object(9, 0)), data);
    EXPECT_EQ(file.stream_data(*file.object(33, 0)), data);
    EXPECT_EQ(file.stream_data(*file.object(31, 0)), data);
    // A missing or free object, or one of another generation, reads as null.
    EXPECT_TRUE(file.object(50, 0)->value.is(pdf::PdfValue::Kind::null));
    EXPECT_TRUE(file.object(0, 0)->value.is(pdf::PdfValue::Kind::null));
    EXPECT_TRUE(file.object(6, 1)->value.is(pdf::PdfValue::Kind::null));
    const std::vector<std::tuple<int, int, std::string>> refusals = {
        {11, 321, "stream stesso"}, {12, 62, "oltre la fine"}, {13, 321, "/Length errata"}, {14, 321, "troppo lunga"},
        {32, 321, "/Length non valida"}};
    for (const auto& [n, number, reason] : refusals) {
        try {
            file.object(n, 0);
            ADD_FAILURE() << "object " << n << " read";
        } catch (const pdf::PdfReadError& e) {
            EXPECT_EQ(e.number(), number) << n << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << n << ": " << e.what();
        }
    }
}

TEST(PdfReader, RefusesWhatItCannotReadSafely) {
    struct Case {
        const char* what;
        std::string bytes;
        std::int32_t number;
        std::string reason;  // part of the description
    };
    const std::string good = two_page_file("").finish("/Size 8 /Root 1 0 R /Info 7 0 R");
    std::string nested(100, '[');
    nested += std::string(100, ']');
    const std::vector<Case> cases = {
        {"not a PDF file", "GIF89a", 321, "%PDF-"},
        {"a header without its point", "%PDF-1x4" + good.substr(8), 321, "versione"},
        {"cut in half", good.substr(0, good.size() / 2), 62, "troncato"},
        {"an update cut off far from its start, the previous startxref still in the file",
         good + "8 0 obj\n<< /Length 3000 >>\nstream\n" + std::string(2000, 'x'), 62, "troncato"},
        {"cut inside a dictionary after the table",
         [] {
             const std::string trailer = "/Size 10 /Root 1 0 R /Info 9 0 R";
             const std::size_t end = two_page_file("").promise(9, 0).finish(trailer).size();
             return two_page_file("").promise(9, end).finish(trailer) + "9 0 obj\n<< /Title (Fine)";
         }(),
         62, "dizionario"},
        {"a negative /Prev", two_page_file("").finish("/Size 8 /Root 1 0 R /Prev -5"), 321, "/Prev"},
        {"one table read twice through an offset a blank before it, listing more entries than the file holds",
         "%PDF-1.4\nxref\n0 40\n" + [] {
             std::string entries;
             for (int i = 0; i < 40; ++i) entries += "0000000000 65535 f\r\n";
             return entries;
         }() + "trailer\n<< /Prev 8 >>\nstartxref\n9\n%%EOF\n",
         321, "voci"},
        {"an entry in use of generation 65536",
         [&] {
             std::string s = good;
             return s.replace(s.find(" 00000 n", s.find("xref")), 8, " 65536 n");
         }(),
         321, "voce"},
        {"a number with two points", two_page_file("/Title 1.2.3").finish("/Size 8 /Root 1 0 R /Info 7 0 R"), 321,
         "inattesa"},
        {"an object without endobj",
         [&] {
             std::string s = good;
             return s.replace(s.find("endobj", s.find("7 0 obj")), 6, "      ");
         }(),
         321, "endobj"},
        {"cross-reference stream",
         "%PDF-1.5\n1 0 obj\n<< /Type /XRef /Size 2 /W [1 1 1] /Length 0 >>\nstream\n\nendstream\nendobj\n"
         "startxref\n9\n%%EOF\n",
         321, "PDF 1.5"},
        {"hybrid file", two_page_file("").finish("/Size 8 /Root 1 0 R /XRefStm 9"), 321, "PDF 1.5"},
        {"more entries than the file holds", "%PDF-1.4\nxref\n0 99999999\ntrailer\n<< >>\nstartxref\n9\n%%EOF\n", 321,
         "voci"},
        {"object number out of range",
         "%PDF-1.4\nxref\n9000000 1\n0000000009 00000 n\r\ntrailer\n<< >>\nstartxref\n9\n%%EOF\n", 321, "numero"},
        {"another object at the offset",
         [] {
             std::string s = two_page_file("").finish("/Size 8 /Root 1 0 R");
             const std::size_t at = s.find("3 0 obj");
             s.replace(at, 1, "4");
             return s;
         }(),
         321, "oggetto 3"},
        {"an object listed beyond the end of the file",
         [] {
             std::string s = two_page_file("").finish("/Size 8 /Root 1 0 R");
             const std::size_t at = s.find(" 00000 n", s.find("xref"));
             s.replace(at - 10, 10, "0099999999");
             return s;
         }(),
         62, "oltre la fine"},
        {"another generation at the offset",
         [] {
             std::string s = two_page_file("").finish("/Size 8 /Root 1 0 R");
             s.replace(s.find("3 0 obj"), 7, "3 1 obj");
             return s;
         }(),
         321, "oggetto 3"},
        {"values nested too deep", two_page_file("/Title " + nested).finish("/Size 8 /Root 1 0 R /Info 7 0 R"), 321,
         "annidati"},
        {"no catalog", two_page_file("").finish("/Size 8"), 321, "/Root"},
        {"a catalog without a page tree", two_page_file("").finish("/Size 8 /Root 2 0 R"), 321, "/Pages"},
        {"a page tree that nests without end",
         [] {
             PdfBuilder b;
             b.object(1, "<< /Type /Catalog /Pages 2 0 R >>");
             for (int n = 2; n < 300; ++n)
                 b.object(n, "<< /Type /Pages /Kids [" + std::to_string(n + 1) + " 0 R] >>");
             return b.finish("/Size 300 /Root 1 0 R");
         }(),
         321, "profondo"},
        {"encrypted", two_page_file("").finish("/Size 8 /Root 1 0 R /Encrypt << /Filter /Standard >>"), 321,
         "cifrato"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const auto file = dir / "bad.pdf";
        write_file(file, c.bytes);
        PdfWriter writer;
        const Info info = get_info(writer, file);
        EXPECT_EQ(info.pages, 0) << c.what;
        EXPECT_EQ(info.title, "?") << c.what;  // left as the caller passed it
        EXPECT_EQ(info.encrypted, c.reason == "cifrato") << c.what;
        EXPECT_EQ(writer.ErrNumber(), c.number) << c.what << ": " << writer.ErrDescription();
        EXPECT_EQ(writer.ErrSource(), "PdfWriter.GetInfo") << c.what;
        EXPECT_NE(writer.ErrDescription().find(c.reason), std::string::npos) << c.what << ": " << writer.ErrDescription();
        EXPECT_NE(writer.ErrDescription().find(file.string()), std::string::npos) << c.what;
        // Nothing half-read is kept: the next call reads the file again.
        write_file(file, good);
        EXPECT_EQ(writer.GetInfo(file.string()), 2) << c.what;
    }
    PdfWriter writer;
    EXPECT_EQ(writer.GetInfo((dir / "missing.pdf").string()), 0);
    EXPECT_EQ(writer.ErrNumber(), 53);
    // A file above 256 MiB (sparse: it takes no room) is refused unread.
    const auto huge = dir / "huge.pdf";
    write_file(huge, good);
    std::filesystem::resize_file(huge, (std::uintmax_t{256} << 20) + 1);
    EXPECT_EQ(writer.GetInfo(huge.string()), 0);
    EXPECT_EQ(writer.ErrNumber(), 321);
    EXPECT_NE(writer.ErrDescription().find("256 MiB"), std::string::npos) << writer.ErrDescription();
}

}  // namespace
