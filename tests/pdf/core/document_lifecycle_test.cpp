// One writer, several documents; and the file under the final name, which
// only a complete document replaces.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "own_pdf.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/creation_date_hook.h"
#include "pdf/core/replacing_file.h"
#include "support/tools.h"

using namespace coretest;
using testsupport::read_file;
using testsupport::TempDir;
namespace fs = std::filesystem;

namespace {

// A page of text in a standard font and a layer, a reusable object played
// on it and a transparency state: objects and resources that the next
// document must not inherit.
void draw_page(PdfWriter& writer, const std::string& text) {
    writer.BeginObject("Logo", 0);
    writer.DrawRect(10, 10, 50, 20, 4);
    writer.EndObject();
    writer.BeginPage();
    writer.SetFont("Times", 12);
    writer.SetAlpha(50);
    writer.BeginLayer("Piano");
    writer.DrawText(72, 100, text);
    writer.EndLayer();
    writer.PlayObject("Logo");
}

std::vector<fs::path> folder_entries(const fs::path& folder) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Everything a document collects besides its pages, some of it left open,
// for the next document to show if it were carried over.
void collect_everything(PdfWriter& writer) {
    writer.BeginPage();
    writer.SetFont("Helvetica", 10);
    writer.BeginTiling("Trama", 0, 0, 10, 10, 10, 10);
    writer.EndTiling();
    writer.SetColorFill("Trama");
    writer.DrawRect(10, 10, 50, 20, 4);
    writer.SetColorFill("#FFFFFF");
    std::string name = "totale", script = "event.value = 1;";
    std::int32_t text = 0, box = 1, calculate = 8;
    writer.AddField(name, text, 10, 40, 50, 10, "1");
    writer.OnFieldEvent(calculate, name, script);
    std::string tick = "spunta";
    writer.AddField(tick, box, 10, 60, 10, 10, "true");
    writer.AddNoteBox("Nota", 10, 80, 50, 10);
    writer.AddNoteIcon("Icona", 0, 10, 100);
    writer.AddBookmark("Capitolo", 1, 0, 0, 0, 0, 0, 0, "Red", 1);
    writer.DefineRef("Qui");
    writer.LinkTo("ref:Qui");
    writer.LinkTo("page:1");
    writer.SetLabel(2, "A-");
    for (int type = 0; type <= 8; ++type) writer.OnDocEvent(type, "app.alert(" + std::to_string(type) + ");");
    writer.BeginLayer("Piano", false);
    writer.BeginTable(10, 120);
    writer.BeginRow(10);
    writer.BeginObject("Cornice", 7);
}

}  // namespace

// A writer's next document is the one a new writer writes with the same
// settings, however the last one ended: completed or failed; an abandoned
// one also takes the settings back to a new writer's. One writer, several
// documents, as the builders use it.
TEST(DocumentLifecycle, TheNextDocumentOwesNothingToTheLastOne) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdfinfo");
    pdf::fix_creation_date("D:20240102030405Z+01'00'");
    TempDir dir;
    // The settings stay from document to document: the title, and the unit
    // (the text below is 72 mm from the left).
    auto settings = [](PdfWriter& writer) {
        writer.SetScale(2);
        writer.SetDocProperty("Primo");
    };
    // With a form field, what the form collects shows; without, whether
    // there is a form at all.
    auto next_document = [&](PdfWriter& writer, const std::string& name, bool field = true) {
        writer.BeginDoc((dir / name).string());
        EXPECT_EQ(writer.ErrNumber(), 0) << name;
        EXPECT_EQ(writer.GetPage(), 0) << name;
        draw_page(writer, "Gamma");
        writer.LinkTo("page:1");
        std::string field_name = "campo";
        std::int32_t type = 0;
        if (field) writer.AddField(field_name, type, 72, 120, 50, 10, "Delta");
        writer.EndDoc();
        return read_file(dir / name);
    };
    PdfWriter fresh, fresh_without_field, with_defaults;
    settings(fresh);
    settings(fresh_without_field);
    const std::string expected = next_document(fresh, "nuovo.pdf");
    expect_qpdf_clean(dir / "nuovo.pdf", "", "a new writer's document");
    EXPECT_NE(expected.find(" 204.094 "), std::string::npos);
    EXPECT_NE(pdfinfo(dir / "nuovo.pdf").find("Primo"), std::string::npos);
    const std::string without_field = next_document(fresh_without_field, "senza_campo.pdf", false);
    const std::string defaults = next_document(with_defaults, "predefinito.pdf");

    // Settings an abandoned document takes back to their defaults.
    auto other_settings = [](PdfWriter& writer) {
        writer.SetDocProperty("Altro", "Oggetto", "Autore", "Creatore", "Produttore", "chiavi");
        writer.SetViewerPreferences(0x2000 + 0x3F0 + 2);
        writer.SetPageView(2);
        writer.SetPaperSize(1);
        writer.SetMargins(10, 10, 10, 10);
        writer.SetCompression(2);
        writer.SetProtection(4, "proprietario");
    };
    const std::pair<const char*, std::function<void(PdfWriter&)>> endings[] = {
        {"EndDoc", [](PdfWriter& w) { w.EndDoc(); }},
        {"Abort", [](PdfWriter& w) { w.Abort(); }},
        {"failed EndDoc",
         [](PdfWriter& w) {
             pdf::fail_next_replacing_step(pdf::ReplacingStep::Rename, EIO);
             expect_pdf_error([&] { w.EndDoc(); }, 57, "PdfWriter.EndDoc");
         }},
    };
    for (const auto& [what, end] : endings) {
        PdfWriter writer;
        const bool aborted = std::string_view(what) == "Abort";
        settings(writer);
        if (aborted) other_settings(writer);
        writer.BeginDoc((dir / "primo.pdf").string());
        draw_page(writer, "Alfa");
        collect_everything(writer);
        // A second BeginDoc while the document is open is refused and changes
        // nothing: the open document goes on.
        EXPECT_EQ(writer.BeginDoc((dir / "altro.pdf").string()), "") << what;
        EXPECT_EQ(writer.ErrNumber(), 55) << what;
        EXPECT_EQ(writer.ErrSource(), "PdfWriter.BeginDoc") << what;
        EXPECT_FALSE(fs::exists(dir / "altro.pdf")) << what;
        end(writer);
        EXPECT_EQ(next_document(writer, "secondo.pdf"), aborted ? defaults : expected) << what;
        if (std::string_view(what) == "EndDoc") {
            expect_qpdf_clean(dir / "primo.pdf", "", what);
            // A link made with no document open fails and leaves nothing behind.
            expect_pdf_error([&] { writer.LinkTo("page:1"); }, 52, "", "link between documents");
            EXPECT_EQ(next_document(writer, "terzo.pdf", false), without_field) << "after a failed link";
        }
    }
    pdf::fix_creation_date("");

    // A document with no drawing at all: the font selection is gone with the
    // document that made the font.
    PdfWriter writer;
    writer.BeginDoc((dir / "1.pdf").string());
    draw_page(writer, "Alfa");
    writer.EndDoc();
    writer.BeginDoc((dir / "2.pdf").string());
    writer.BeginPage();
    expect_pdf_error([&] { writer.DrawText(10, 10, "x"); }, 5, "", "font of an ended document");
    writer.EndDoc();
    expect_qpdf_clean(dir / "2.pdf", "", "no drawing");
}

// The previous document stays whole until the new one is complete, whatever
// way the new one ends, and nothing is left of the new one: no temporary
// file, no open file. The same through a symbolic link, which stays a link
// to the file it names.
TEST(DocumentLifecycle, TheFinalNameHoldsTheOldOrTheCompleteNewDocument) {
    TempDir dir, elsewhere;
    const fs::path target = dir / "contratto.pdf";
    const fs::path link = elsewhere / "collegamento.pdf";
    fs::create_symlink(fs::relative(target, elsewhere.path()), link);
    const std::string old_document = simple_document(target, 1);
    ::chmod(target.c_str(), 0640);
    auto open_files = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()); };
    auto fails_at = [](pdf::ReplacingStep step) {
        return [step](PdfWriter& w) {
            pdf::fail_next_replacing_step(step, EIO);
            expect_pdf_error([&] { w.EndDoc(); }, 57, "PdfWriter.EndDoc");
            EXPECT_EQ(w.GetPage(), 0) << "the failed document is over";
        };
    };
    const std::pair<const char*, std::function<void(PdfWriter&)>> endings[] = {
        {"Abort", [](PdfWriter& w) { w.Abort(); }},
        {"destructor", [](PdfWriter&) {}},
        {"failed write", fails_at(pdf::ReplacingStep::Write)},
        {"failed flush", fails_at(pdf::ReplacingStep::Flush)},
        {"failed sync", fails_at(pdf::ReplacingStep::Sync)},
        {"failed rename", fails_at(pdf::ReplacingStep::Rename)},
        {"failed version rewrite",
         [&](PdfWriter& w) {
             w.SetViewerPreferences(0x80);  // a document of PDF 1.4
             fails_at(pdf::ReplacingStep::Flush)(w);
         }},
        {"EndDoc after a failed write",
         [](PdfWriter& w) {
             pdf::fail_next_replacing_step(pdf::ReplacingStep::Write, ENOSPC);
             expect_pdf_error([&] { w.BeginPage(); }, 57, "PdfWriter.BeginPage");
             // Nothing more goes into a file with a hole in it.
             w.BeginPage();
             expect_pdf_error([&] { w.BeginPage(); }, 57, "PdfWriter.BeginPage", "the next page");
             expect_pdf_error([&] { w.EndDoc(); }, 57, "PdfWriter.EndDoc");
         }},
    };
    for (const fs::path& name : {target, link}) {
        for (const auto& [what, end] : endings) {
            const std::string where = std::string(what) + " " + name.filename().string();
            const auto files = open_files();
            auto nothing_left = [&] {
                EXPECT_EQ(open_files(), files) << where;
                EXPECT_EQ(read_file(target), old_document) << where;
                EXPECT_EQ(folder_entries(dir.path()), std::vector<fs::path>{"contratto.pdf"}) << where;
                EXPECT_EQ(folder_entries(elsewhere.path()), std::vector<fs::path>{"collegamento.pdf"}) << where;
            };
            {
                PdfWriter writer;
                writer.BeginDoc(name.string());
                writer.BeginPage();
                writer.BeginPage();
                end(writer);
                // Every ending but the writer's own end has dropped the file.
                if (std::string_view(what) != "destructor") nothing_left();
            }
            nothing_left();
        }
    }

    // A writer whose documents failed writes the next one whole: through
    // the link, beside the file it names, replacing that file; the link
    // stays.
    PdfWriter writer;
    pdf::fail_next_replacing_step(pdf::ReplacingStep::Write, EIO);
    writer.BeginDoc(link.string());
    EXPECT_EQ(writer.ErrNumber(), 57) << "the header could not be written";
    writer.BeginDoc(link.string());
    writer.BeginPage();
    pdf::fail_next_replacing_step(pdf::ReplacingStep::Write, EIO);
    expect_pdf_error([&] { writer.BeginPage(); }, 57, "PdfWriter.BeginPage");
    expect_pdf_error([&] { writer.EndDoc(); }, 57, "PdfWriter.EndDoc");
    EXPECT_EQ(read_file(target), old_document);
    writer.BeginDoc(link.string());
    writer.BeginPage();
    writer.BeginPage();
    EXPECT_EQ(folder_entries(dir.path()).size(), 2u);
    EXPECT_EQ(folder_entries(elsewhere.path()), std::vector<fs::path>{"collegamento.pdf"});
    writer.EndDoc();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(xref_offsets(read_file(target)).size(), 1u + 3u + 4u + 3u);
    EXPECT_EQ(folder_entries(dir.path()), std::vector<fs::path>{"contratto.pdf"});
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replaced file's permissions";
    // A device is written in place, not replaced.
    PdfWriter to_device;
    to_device.BeginDoc("/dev/null");
    EXPECT_EQ(to_device.ErrNumber(), 0);
    to_device.EndDoc();
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// Generations killed at random instants: the name always holds the old
// document byte for byte, or a new one that qpdf finds complete.
TEST(DocumentLifecycle, AKilledGenerationLeavesTheOldOrTheNewDocument) {
    REQUIRE_TOOL("qpdf");
    TempDir dir;
    const fs::path target = dir / "contratto.pdf";
    std::string previous = simple_document(target, 1);
    std::mt19937 random(12345);
    int old_kept = 0, new_complete = 0;
    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            PdfWriter writer;
            writer.SetCompression(2);
            writer.BeginDoc(target.string());
            for (int page = 0; page < 400; ++page) {
                writer.BeginPage();
                writer.SetFont("Helvetica", 10);
                for (int line = 0; line < 20; ++line) writer.DrawText(20, 20 + 12 * line, "Riga di prova del documento");
            }
            writer.EndDoc();
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 150000)(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string now = read_file(target);
        if (now == previous) {
            ++old_kept;
            continue;
        }
        expect_qpdf_clean(target, "", "round " + std::to_string(round));
        EXPECT_NE(testsupport::run_command("qpdf --show-npages " + target.string()).out, "1\n");
        previous = now;
        ++new_complete;
    }
    std::cout << "old kept " << old_kept << ", new complete " << new_complete << "\n";
}
