// Files written through the public interface alone, as the builders write
// them, checked by independent readers.
#include <cmath>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "support/tools.h"

using testsupport::run_command;
using testsupport::shell_quote;

namespace {

using coretest::expect_qpdf_clean;
using coretest::pdfinfo;
using coretest::pdftotext;

struct Paper {
    int code;
    int width, height;
};

}  // namespace

TEST(CoreExternalChecks, EveryPaperSizeWithTheBuildersRoad) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdfinfo");
    const Paper papers[] = {
        {-8, 2384, 3371}, {-7, 3371, 2384}, {-6, 1685, 2384}, {-5, 2384, 1685}, {-4, 1192, 1685}, {-3, 1685, 1192},
        {-2, 842, 1192},  {-1, 1192, 842},  {0, 596, 842},    {1, 842, 596},    {2, 421, 596},    {3, 596, 421},
        {4, 298, 421},    {5, 421, 298},    {6, 210, 298},    {7, 298, 210},    {8, 612, 792},    {9, 792, 612},
        {10, 792, 1224},  {11, 1224, 792},  {12, 612, 1008},  {13, 1008, 612},  {14, 396, 612},   {15, 612, 396},
        {16, 522, 756},   {17, 756, 522},
    };
    testsupport::TempDir dir;
    for (const Paper& paper : papers) {
        SCOPED_TRACE("paper " + std::to_string(paper.code));
        const auto file = dir / ("paper" + std::to_string(paper.code) + ".pdf");
        PdfWriter writer;
        writer.BeginDoc(file.string());
        ASSERT_EQ(writer.ErrNumber(), 0);
        writer.SetScale(3);
        writer.SetPaperSize(paper.code);
        writer.SetMargins(2, 2, 2, 1.5f);
        writer.SetLineWidth(0.01f);
        for (int page = 1; page <= 3; ++page) EXPECT_EQ(writer.BeginPage(), page);
        writer.EndDoc();
        expect_qpdf_clean(file);
        const std::string info = pdfinfo(file);
        EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
        const std::string size =
            "Page size:       " + std::to_string(paper.width) + " x " + std::to_string(paper.height) + " pts";
        EXPECT_NE(info.find(size), std::string::npos) << info;
    }
}

TEST(CoreExternalChecks, UserPaperSize) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdfinfo");
    testsupport::TempDir dir;
    const auto file = dir / "user.pdf";
    PdfWriter writer;
    writer.SetScale(2);
    writer.SetPaperSize(255, 148, 105);  // A6 landscape in millimetres
    writer.BeginDoc(file.string());
    writer.SetMargins(10, 10, 10, 10);
    writer.BeginPage();
    writer.BeginPage();
    writer.EndDoc();
    expect_qpdf_clean(file);
    const std::string info = pdfinfo(file);
    EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       419.528 x 297.638 pts"), std::string::npos) << info;
}

TEST(CoreExternalChecks, DocumentPropertiesWithItalianText) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdfinfo");
    REQUIRE_TOOL("pdftotext");
    testsupport::TempDir dir;
    const auto file = dir / "props.pdf";
    PdfWriter writer;
    // Windows-1252: à è é ì ò ù and the euro sign.
    writer.SetDocProperty("Contratto di appalto - Citt\xE0 di Napoli (bozza)", "Lavori \xE8 \xE9",
                          "Ing. Niccol\xF2 Bianchi", "Contratto \xF9", "Scrittore \xEC \x80", "appalto; condominio");
    writer.BeginDoc(file.string());
    writer.SetScale(3);
    writer.SetMargins(2, 2, 2, 1.5f);
    writer.BeginPage();
    writer.EndDoc();
    expect_qpdf_clean(file);
    const std::string info = pdfinfo(file);
    EXPECT_NE(info.find("Title:           Contratto di appalto - Città di Napoli (bozza)\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Subject:         Lavori è é\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Author:          Ing. Niccolò Bianchi\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Creator:         Contratto ù\n"), std::string::npos) << info;
    // The euro sign (0x80) lies where the readers' own byte encoding differs.
    EXPECT_NE(info.find("Producer:        Scrittore ì €\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Keywords:        appalto; condominio\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Metadata Stream: yes"), std::string::npos) << info;
    pdftotext(file);
}

TEST(CoreExternalChecks, MetadataPacketParsesAsXml) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("xmllint");
    testsupport::TempDir dir;
    const auto file = dir / "xmp.pdf";
    PdfWriter writer;
    writer.SetDocProperty("A <title> & 'quotes' \"too\" citt\xE0", "S\xE8", "", "", "", "k");
    writer.BeginDoc(file.string());
    writer.EndDoc();
    const std::string pdf = testsupport::read_file(file);
    const int catalog = coretest::reference_after(pdf.substr(pdf.rfind("trailer")), "/Root");
    const int metadata = coretest::reference_after(coretest::object_text(pdf, catalog), "/Metadata");
    ASSERT_GT(metadata, 0);
    const auto xml = dir / "packet.xml";
    const auto shown = run_command("qpdf --show-object=" + std::to_string(metadata) + " --filtered-stream-data " +
                                   shell_quote(file.string()) + " > " + shell_quote(xml.string()));
    ASSERT_EQ(shown.exit_code, 0) << shown.err;
    const auto parsed = run_command("xmllint --noout " + shell_quote(xml.string()));
    EXPECT_EQ(parsed.exit_code, 0) << parsed.err;
    EXPECT_EQ(parsed.err, "");
    const auto title = run_command("xmllint --xpath \"string(//*[local-name()='Title' and "
                                   "namespace-uri()='http://ns.adobe.com/pdf/1.3/'])\" " +
                                   shell_quote(xml.string()));
    std::string value = title.out;
    if (!value.empty() && value.back() == '\n') value.pop_back();
    EXPECT_EQ(value, "A <title> & 'quotes' \"too\" città");
}
