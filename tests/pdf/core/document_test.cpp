// The file structure the writer produces, read back byte for byte.
#include <unistd.h>

#include <filesystem>
#include <regex>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "support/tools.h"

using namespace coretest;
using testsupport::read_file;
using testsupport::TempDir;

namespace {
const std::string header = "%PDF-1.3\n% Contratto PDF writer rel. 2.4.4\n";
}

TEST(CoreDocument, NewWriterDefaults) {
    PdfWriter writer;
    EXPECT_EQ(writer.ErrNumber(), 0);
    EXPECT_EQ(writer.FileSize(), 0);
    EXPECT_EQ(writer.GetPage(), 0);
    EXPECT_EQ(writer.Version(), "2.4.4");
    EXPECT_FLOAT_EQ(writer.GetPageWidth(), 596.0f);
    EXPECT_FLOAT_EQ(writer.GetPageHeight(), 842.0f);
}

TEST(CoreDocument, HeaderIsTwoLinesAndFirstObjectIsFour) {
    TempDir dir;
    PdfWriter writer;
    EXPECT_EQ(writer.BeginDoc((dir / "a.pdf").string()), (dir / "a.pdf").string());
    EXPECT_EQ(writer.FileSize(), static_cast<std::int32_t>(header.size()));
    writer.EndDoc();
    const std::string pdf = read_file(dir / "a.pdf");
    ASSERT_EQ(pdf.substr(0, header.size()), header);
    EXPECT_EQ(pdf.substr(header.size(), 8), "4 0 obj\n");
}

TEST(CoreDocument, EmptyDocumentLayout) {
    TempDir dir;
    const std::string pdf = simple_document(dir / "empty.pdf", 0);
    const auto offsets = xref_offsets(pdf);
    ASSERT_EQ(offsets.size(), 9u);
    EXPECT_NE(pdf.find("xref\n0 9\n0000000000 65535 f\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("trailer\n<< /Size 9 /Info 8 0 R /Root 7 0 R\n>>\nstartxref\n"), std::string::npos);
    // Objects in file order: page 4, content 5, metadata 6, then 3, 2, 1, catalog 7, info 8.
    std::vector<int> order = {4, 5, 6, 3, 2, 1, 7, 8};
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(offsets[static_cast<std::size_t>(order[i - 1])], offsets[static_cast<std::size_t>(order[i])]);
    EXPECT_EQ(content_lines(pdf, 4), (std::vector<std::string>{"1 0 0 -1 0 842 cm ", "", "0 0 0 rg", "0 0 0 RG"}));
    EXPECT_NE(object_text(pdf, 6).find("<< /Type /Metadata /Subtype /XML\n"), std::string::npos);
    EXPECT_NE(object_text(pdf, 1).find("/Type /Pages /Count 1\r/Kids [4 0 R ] \r>>"), std::string::npos);
    EXPECT_EQ(object_text(pdf, 7),
              "7 0 obj\n<< /Type /Catalog\r/Pages 1 0 R\r/Metadata 6 0 R\n/ViewerPreferences <<  >>\n>>\nendobj\n");
    EXPECT_EQ(pdf.find("/Encrypt"), std::string::npos);
    EXPECT_EQ(pdf.find("/ID"), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
}

TEST(CoreDocument, ASecondEndDocFailsAndLeavesTheFileAlone) {
    TempDir dir;
    PdfWriter writer;
    writer.BeginDoc((dir / "once.pdf").string());
    writer.EndDoc();
    const std::string first = read_file(dir / "once.pdf");
    EXPECT_EQ(writer.FileSize(), static_cast<std::int32_t>(first.size()));
    expect_pdf_error([&] { writer.EndDoc(); }, 52, "PdfWriter.EndDoc", "second EndDoc");
    EXPECT_EQ(read_file(dir / "once.pdf"), first);
    EXPECT_EQ(writer.FileSize(), static_cast<std::int32_t>(first.size()));
}

TEST(CoreDocument, CrossReferenceEntriesPointAtTheirObjects) {
    TempDir dir;
    const std::string pdf = simple_document(dir / "three.pdf", 3);
    const auto offsets = xref_offsets(pdf);
    ASSERT_EQ(offsets.size(), 13u);  // 3 reserved, 3 x (page, content), metadata, catalog, info
    for (std::size_t k = 1; k < offsets.size(); ++k) {
        const std::string head = std::to_string(k) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(static_cast<std::size_t>(offsets[k]), head.size(), head), 0) << "object " << k;
        if (offsets[k] > 0) {
            EXPECT_EQ(pdf[static_cast<std::size_t>(offsets[k] - 1)], '\n') << "object " << k;
        }
    }
    EXPECT_EQ(pdf.compare(static_cast<std::size_t>(startxref(pdf)), 5, "xref\n"), 0);
    // Every line of the file outside streams ends with LF alone.
    for (int k : {1, 2, 3, 4, 6}) {
        const std::string object = object_text(pdf, k);
        EXPECT_EQ(object.find("\r\n"), std::string::npos) << "object " << k;
    }
}

TEST(CoreDocument, PagesAreNumberedAndWrittenOnTheNextBeginPage) {
    TempDir dir;
    PdfWriter writer;
    writer.BeginDoc((dir / "p.pdf").string());
    EXPECT_EQ(writer.BeginPage(), 1);
    const auto before = writer.FileSize();
    EXPECT_EQ(writer.BeginPage(), 2);
    EXPECT_GT(writer.FileSize(), before);  // page 1 was written
    EXPECT_EQ(writer.GetPage(), 2);
    writer.EndPage();
    writer.EndPage();  // nothing open: nothing happens
    EXPECT_EQ(writer.GetPage(), 2);
    writer.EndDoc();
    const std::string pdf = read_file(dir / "p.pdf");
    EXPECT_NE(object_text(pdf, 1).find("/Count 2\r/Kids [4 0 R 6 0 R ] "), std::string::npos);
}

TEST(CoreDocument, ContentPrefixFollowsMarginsAndClip) {
    TempDir dir;
    PdfWriter writer;
    writer.BeginDoc((dir / "m.pdf").string());
    writer.BeginPage();
    writer.EndPage();
    // The margins in force when a page ends apply to it.
    writer.BeginPage();
    writer.SetMargins(20, 20, 20, 20);  // points, clipping on by default
    writer.EndPage();
    writer.BeginPage();
    writer.SetMargins(20, 20, 20, 20, false);
    writer.EndDoc();
    const std::string pdf = read_file(dir / "m.pdf");
    EXPECT_EQ(content_lines(pdf, 4)[0], "1 0 0 -1 0 842 cm ");
    const auto clipped = content_lines(pdf, 6);
    ASSERT_GE(clipped.size(), 2u);
    EXPECT_EQ(clipped[0], "1 0 0 -1 20 822 cm ");
    EXPECT_EQ(clipped[1], "0 0 556 802 re W n");
    const auto unclipped = content_lines(pdf, 8);
    ASSERT_GE(unclipped.size(), 2u);
    EXPECT_EQ(unclipped[0], "1 0 0 -1 20 822 cm ");
    EXPECT_EQ(unclipped[1], "");
    EXPECT_NE(object_text(pdf, 4).find("/MediaBox [0 0 596 842]\r/CropBox [0 0 596 842]\r/BleedBox [0 0 596 842]\r"),
              std::string::npos);
}

TEST(CoreDocument, RequiredVersionRewritesTheHeaderAndLengthIsReal) {
    TempDir dir;
    PdfWriter writer;
    writer.BeginDoc((dir / "v.pdf").string());
    writer.BeginPage();
    writer.SetAlpha(50);  // needs 1.4
    writer.EndDoc();
    const std::string pdf = read_file(dir / "v.pdf");
    EXPECT_EQ(pdf.substr(0, 9), "%PDF-1.4\n");
    EXPECT_EQ(pdf.substr(9, header.size() - 9), header.substr(9));
    EXPECT_EQ(writer.FileSize(), static_cast<std::int32_t>(pdf.size()));
    EXPECT_EQ(static_cast<std::uintmax_t>(writer.FileSize()), std::filesystem::file_size(dir / "v.pdf"));
    const auto offsets = xref_offsets(pdf);
    EXPECT_EQ(object_text(pdf, 4).find("<</Type /ExtGState"), 8u);
}

TEST(CoreDocument, BeginDocOnAnUnwritablePathRecords52) {
    TempDir dir;
    const std::string name = (dir / "missing-folder" / "x.pdf").string();
    PdfWriter writer;
    std::string returned;
    EXPECT_NO_THROW(returned = writer.BeginDoc(name));
    EXPECT_EQ(returned, name);
    EXPECT_EQ(writer.ErrNumber(), 52);
    EXPECT_EQ(writer.ErrSource(), "PdfWriter.BeginDoc");
    const std::string description = writer.ErrDescription();
    ASSERT_GE(description.size(), name.size() + 3);
    EXPECT_EQ(description.substr(description.size() - name.size() - 3), " - " + name);
    // The end of such a document neither crashes nor writes anything.
    expect_pdf_error([&] { writer.EndDoc(); }, 52, "", "EndDoc without a file");
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_EQ(writer.GetPage(), 0);
    // A page is kept in memory until it ends; writing it fails.
    EXPECT_EQ(writer.BeginPage(), 1);
    expect_pdf_error([&] { writer.EndPage(); }, 52, "", "EndPage without a file");
}

TEST(CoreDocument, AbortDropsTheFileAndKeepsTheErrorTexts) {
    TempDir dir;
    PdfWriter writer;
    writer.BeginDoc((dir / "missing" / "x.pdf").string());
    ASSERT_EQ(writer.ErrNumber(), 52);
    writer.BeginDoc((dir / "a.pdf").string());
    EXPECT_EQ(writer.ErrNumber(), 0);  // a successful BeginDoc clears the failure
    writer.BeginPage();
    EXPECT_GT(writer.FileSize(), 0);
    writer.Abort();
    EXPECT_EQ(writer.FileSize(), 0);
    EXPECT_EQ(writer.ErrNumber(), 0);
    EXPECT_EQ(writer.ErrSource(), "PdfWriter.BeginDoc");
    EXPECT_FALSE(writer.ErrDescription().empty());
    EXPECT_EQ(writer.GetPage(), 0);
    // Nothing is left behind: no file under the name, no temporary file.
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    // The writer serves a new document afterwards.
    writer.BeginDoc((dir / "b.pdf").string());
    writer.EndDoc();
    EXPECT_EQ(xref_offsets(read_file(dir / "b.pdf")).size(), 9u);
}

TEST(CoreDocument, GeneratedFileNameInTheCurrentFolder) {
    TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    PdfWriter writer;
    const std::string name = writer.BeginDoc();
    writer.EndDoc();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::regex_match(name, std::regex("~[0-9A-F]+\\.pdf"))) << name;
    EXPECT_TRUE(std::filesystem::exists(dir / name));
    const unsigned long number = std::stoul(name.substr(1, name.size() - 5), nullptr, 16);
    const unsigned long seconds = number / 10 % 100, minutes = number / 1000 % 100, hours = number / 100000 % 100,
                        day = number / 10000000;
    EXPECT_LT(seconds, 60u);
    EXPECT_LT(minutes, 60u);
    EXPECT_LT(hours, 24u);
    EXPECT_GE(day, 1u);
    EXPECT_LE(day, 31u);
}

TEST(CoreDocument, InformationDictionaryEscapesAndKeepsDefaults) {
    TempDir dir;
    PdfWriter writer;
    writer.SetDocProperty("Titolo (bozza) \\ città", "", "Autore");
    writer.SetDocProperty("Secondo", "Oggetto", "", "", "", "chiavi");
    writer.BeginDoc((dir / "i.pdf").string());
    writer.EndDoc();
    const std::string pdf = read_file(dir / "i.pdf");
    const std::string info = object_text(pdf, 8);
    EXPECT_NE(info.find("/Title (Secondo)\r/Author (Autore)\r/Creator (Contratto di appalto)\r"
                        "/Producer (Contratto PDF writer)\r/CreationDate (D:"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("Z+01'00')\r/Subject (Oggetto)\r/Keywords (chiavi)\r>>"), std::string::npos);

    PdfWriter second;
    second.SetDocProperty("Titolo (bozza) \\ citt\xE0");
    second.BeginDoc((dir / "j.pdf").string());
    second.EndDoc();
    const std::string pdf2 = read_file(dir / "j.pdf");
    EXPECT_NE(object_text(pdf2, 8).find("/Title (Titolo \\(bozza\\) \\\\ citt\xE0)"), std::string::npos);
    EXPECT_NE(object_text(pdf2, 8).find("/Subject ()\r/Keywords ()"), std::string::npos);
    // The packet carries the title unescaped for PDF, as UTF-8.
    EXPECT_NE(stream_data(pdf2, 6).find("<pdf:Title>Titolo (bozza) \\ citt\xC3\xA0</pdf:Title>"), std::string::npos);
}

TEST(CoreDocument, DefaultTitleAndSameCreationDateWithoutAbort) {
    TempDir dir;
    PdfWriter writer;
    writer.BeginDoc((dir / "1.pdf").string());
    writer.EndDoc();
    sleep(1);
    writer.BeginDoc((dir / "2.pdf").string());
    writer.EndDoc();
    auto date_of = [](const std::string& pdf) {
        const auto at = pdf.find("/CreationDate (");
        return pdf.substr(at, 40);
    };
    const std::string first = read_file(dir / "1.pdf");
    EXPECT_NE(first.find("/Title (\\(senza titolo\\))"), std::string::npos);
    EXPECT_TRUE(std::regex_search(first, std::regex("/CreationDate \\(D:[0-9]{14}Z\\+01'00'\\)")));
    EXPECT_EQ(date_of(first), date_of(read_file(dir / "2.pdf")));
}

TEST(CoreDocument, MemoryUsageChangesNothingInTheOutput) {
    TempDir dir;
    PdfWriter writer;
    EXPECT_THROW(writer.SetMemoryUsage(-1), PdfError);
    writer.SetMemoryUsage(0);
    writer.SetMemoryUsage(10);
    writer.SetMemoryUsage(11);
    writer.BeginDoc((dir / "big.pdf").string());
    for (int i = 0; i < 60; ++i) writer.BeginPage();
    writer.EndDoc();
    const std::string pdf = read_file(dir / "big.pdf");
    const auto offsets = xref_offsets(pdf);
    ASSERT_EQ(offsets.size(), 1u + 3u + 120u + 3u);
    EXPECT_NE(object_text(pdf, 1).find("/Count 60"), std::string::npos);
}

TEST(CoreDocument, RecordingsClosedWithNothingOpenAreIgnored) {
    PdfWriter writer;
    EXPECT_NO_THROW(writer.EndObject());
    EXPECT_NO_THROW(writer.EndTiling());
}

TEST(CoreDocument, OpenDocStartsTheViewerAndReturns) {
    TempDir dir;
    const auto viewer = dir / "xdg-open";
    const auto marker = dir / "opened.txt";
    testsupport::write_file(viewer, "#!/bin/sh\nprintf '%s' \"$1\" > " + testsupport::shell_quote(marker.string()) + "\n");
    std::filesystem::permissions(viewer, std::filesystem::perms::owner_all);
    const char* old_path = std::getenv("PATH");
    const std::string saved = old_path ? old_path : "";
    setenv("PATH", (dir.path().string() + ":" + saved).c_str(), 1);

    PdfWriter writer;
    writer.OpenDoc();  // no document yet: nothing to show
    writer.BeginDoc((dir / "shown.pdf").string());
    writer.EndDoc();
    writer.OpenDoc();
    setenv("PATH", saved.c_str(), 1);
    // The viewer runs detached; wait for it to have run.
    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) usleep(10000);
    usleep(50000);
    EXPECT_EQ(read_file(marker), (dir / "shown.pdf").string());
}
