// Documents written under the standard security handler, checked by qpdf,
// pdftotext and pdfinfo as a reader would open them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../core/own_pdf.h"
#include "pdf/PdfWriter.h"
#include "pdf/core/ascii_hex_encoder.h"
#include "support/tools.h"

using testsupport::run_command;
using testsupport::shell_quote;

namespace {

using coretest::content_objects;
using coretest::expect_qpdf_clean;
using coretest::pdftotext;

constexpr const char* owner_password = "dezarezozidu";

struct Options {
    int mode = 4;  // -1: no protection
    std::string owner = owner_password;
    std::string user = "";
};

// A small contract page: information entries (literal strings), a text line
// and a text box (a content stream).
std::string write_document(const std::filesystem::path& file, const Options& options) {
    PdfWriter writer;
    if (options.mode >= 0) writer.SetProtection(options.mode, options.owner, options.user);
    writer.SetDocProperty("Contratto di appalto", "Lavori (edili) \\ ristrutturazione", "Impresa Edile");
    writer.BeginDoc(file.string());
    EXPECT_EQ(writer.ErrNumber(), 0);
    writer.SetScale(3);
    writer.SetMargins(2, 2, 2, 2);
    writer.BeginPage();
    writer.SetFont("Helvetica", 12);
    writer.DrawText(1, 1, "Il committente affida all'appaltatore i lavori.");
    writer.DrawTextBox(1, 3, 15, 10,
                       "Articolo 1 - Oggetto. L'appaltatore esegue le opere (vedi allegato) a regola d'arte "
                       "entro il termine convenuto.");
    writer.BeginPage();
    writer.SetFont("Times-Roman", 10);
    writer.DrawText(1, 1, "Seconda pagina");
    writer.EndDoc();
    return testsupport::read_file(file);
}

std::string show_encryption(const std::filesystem::path& file, const std::string& password) {
    const auto result = run_command("qpdf --password=" + shell_quote(password) + " --show-encryption " +
                                    shell_quote(file.string()));
    EXPECT_EQ(result.exit_code, 0) << result.err;
    return result.out;
}

std::string pdfinfo_line(const std::string& info, const std::string& key) {
    const auto at = info.find(key + ":");
    if (at == std::string::npos) return {};
    return info.substr(at, info.find('\n', at) - at);
}

// The encryption dictionary as the file carries it.
std::string encryption_dictionary(const std::string& pdf) {
    const int e = coretest::reference_after(pdf.substr(pdf.rfind("trailer")), "/Encrypt");
    EXPECT_GT(e, 0);
    return e > 0 ? coretest::object_text(pdf, e) : std::string();
}

void check_protected_document(int mode, const std::string& revision_line, const std::string& permission_line,
                              const std::string& dictionary_end, const std::string& header) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdftotext");
    REQUIRE_TOOL("pdfinfo");
    testsupport::TempDir dir;
    const auto file = dir / "protetto.pdf";
    const auto plain_file = dir / "in_chiaro.pdf";
    const std::string pdf = write_document(file, {mode});
    write_document(plain_file, {-1});
    EXPECT_EQ(pdf.substr(0, 8), header);

    expect_qpdf_clean(file);
    const std::string as_user = show_encryption(file, "");
    EXPECT_NE(as_user.find(revision_line + "\n"), std::string::npos) << as_user;
    EXPECT_NE(as_user.find(permission_line + "\n"), std::string::npos) << as_user;
    EXPECT_NE(as_user.find("Supplied password is user password"), std::string::npos) << as_user;
    EXPECT_NE(as_user.find("print low resolution: allowed"), std::string::npos) << as_user;
    EXPECT_NE(as_user.find("extract for any purpose: not allowed"), std::string::npos) << as_user;
    EXPECT_NE(as_user.find("modify anything: not allowed"), std::string::npos) << as_user;
    const std::string as_owner = show_encryption(file, owner_password);
    EXPECT_NE(as_owner.find("Supplied password is owner password"), std::string::npos) << as_owner;

    const std::string dictionary = encryption_dictionary(pdf);
    EXPECT_NE(dictionary.find("<< /Filter /Standard \r/O ("), std::string::npos) << dictionary;
    EXPECT_NE(dictionary.find(dictionary_end), std::string::npos) << dictionary;

    // The file identifier is the Producer text and the version, hexadecimal.
    const std::string id = pdf::encode_ascii_hex(std::string("Contratto PDF writer2.4.4"));
    EXPECT_NE(pdf.find("/ID [<" + id + "><" + id + ">]"), std::string::npos);

    // No literal string of the file is readable without the key.
    EXPECT_EQ(pdf.find("Contratto di appalto"), std::string::npos);
    EXPECT_EQ(pdf.find("Impresa Edile"), std::string::npos);
    EXPECT_EQ(pdf.find("committente"), std::string::npos);

    // A reader sees what the unprotected document shows.
    EXPECT_EQ(pdftotext(file, "-layout"), pdftotext(plain_file, "-layout"));
    const auto info = coretest::pdfinfo(file);
    const auto plain_info = coretest::pdfinfo(plain_file);
    for (const char* key : {"Title", "Subject", "Author", "Creator", "Producer", "Pages"})
        EXPECT_EQ(pdfinfo_line(info, key), pdfinfo_line(plain_info, key)) << key;
    EXPECT_NE(pdftotext(file, "-layout").find("Il committente affida all'appaltatore i lavori."), std::string::npos);

    // Decrypted, the file holds the same page content, byte for byte.
    const auto decrypted = dir / "decifrato.pdf";
    const auto decrypt = run_command("qpdf --decrypt " + shell_quote(file.string()) + " " +
                                     shell_quote(decrypted.string()));
    EXPECT_EQ(decrypt.exit_code, 0) << decrypt.err;
    expect_qpdf_clean(decrypted);
    EXPECT_EQ(run_command("qpdf --show-encryption " + shell_quote(decrypted.string())).out,
              "File is not encrypted\n");
    const std::string plain = testsupport::read_file(plain_file);
    const auto plain_contents = content_objects(plain_file);
    const auto decrypted_contents = content_objects(decrypted);
    ASSERT_EQ(plain_contents.size(), 2u);
    ASSERT_EQ(decrypted_contents.size(), 2u);
    for (std::size_t page = 0; page < 2; ++page)
        EXPECT_EQ(coretest::filtered_stream(decrypted, decrypted_contents[page]),
                  coretest::stream_data(plain, plain_contents[page]))
            << "page " << page + 1;
    EXPECT_EQ(pdftotext(decrypted, "-layout"), pdftotext(plain_file, "-layout"));
}

}  // namespace

TEST(ProtectedDocument, FortyBitKeysAsTheBuildersWriteThem) {
    check_protected_document(4, "R = 2", "P = -60", "\r/P -60\r/V 1 /R 2 >>", "%PDF-1.3");
}

TEST(ProtectedDocument, HundredTwentyEightBitKeys) {
    check_protected_document(4100, "R = 3", "P = -3900", "\r/P -3900\r/V 2 /R 3 /Length 128 >>", "%PDF-1.4");
}

// Object numbers take three bytes of each object's key: the pages written
// past object 255 read back as those before.
TEST(ProtectedDocument, ObjectsPastNumber255ReadBack) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdftotext");
    testsupport::TempDir dir;
    const int pages = 150;
    for (const int mode : {4, 4100}) {
        const auto file = dir / ("molti_" + std::to_string(mode) + ".pdf");
        PdfWriter writer;
        writer.SetProtection(mode, owner_password);
        writer.SetDocProperty("Contratto di appalto");
        writer.BeginDoc(file.string());
        writer.SetFont("Helvetica", 12);
        for (int page = 1; page <= pages; ++page) {
            writer.BeginPage();
            writer.DrawText(1, 1, "Pagina " + std::to_string(page));
        }
        writer.EndDoc();
        const std::string what = "mode " + std::to_string(mode);
        ASSERT_GT(coretest::xref_offsets(testsupport::read_file(file)).size(), 300u) << what;
        expect_qpdf_clean(file, "", what);
        std::string expected;
        for (int page = 1; page <= pages; ++page) expected += "Pagina " + std::to_string(page) + "\n\n\f";
        EXPECT_EQ(pdftotext(file), expected) << what;
        EXPECT_NE(coretest::pdfinfo(file).find("Contratto di appalto"), std::string::npos) << what;
    }
}

TEST(ProtectedDocument, PermissionValuesOfTheModes) {
    testsupport::TempDir dir;
    const std::pair<int, int> cases[] = {{0, -64}, {4, -60}, {60, -4}, {64, -256}, {4096, -3904}, {4100, -3900}, {4096 + 3900, -4}};
    for (const auto& [mode, p] : cases) {
        const std::string pdf = write_document(dir / "p.pdf", {mode});
        EXPECT_NE(encryption_dictionary(pdf).find("\r/P " + std::to_string(p) + "\r"), std::string::npos)
            << "mode " << mode;
    }
}

TEST(ProtectedDocument, PasswordRules) {
    REQUIRE_TOOL("qpdf");
    testsupport::TempDir dir;
    // An owner password of spaces only counts as empty: the owner entry is
    // made from the user password, which then opens the file with the
    // owner's rights.
    const auto spaces = dir / "spazi.pdf";
    write_document(spaces, {4, "   ", "utente"});
    expect_qpdf_clean(spaces, "utente");
    EXPECT_NE(show_encryption(spaces, "utente").find("Supplied password is owner password"), std::string::npos);
    EXPECT_NE(run_command("qpdf --check " + shell_quote(spaces.string())).exit_code, 0)
        << "a user password is required";

    // Passwords count with their first 32 bytes only.
    const std::string long_owner(32, 'k');
    const std::string a = write_document(dir / "a.pdf", {4100, long_owner + "uno", "u"});
    const std::string b = write_document(dir / "b.pdf", {4100, long_owner + "due", "u"});
    EXPECT_EQ(encryption_dictionary(a), encryption_dictionary(b));
    EXPECT_NE(show_encryption(dir / "a.pdf", long_owner).find("Supplied password is owner password"),
              std::string::npos);

    // Both passwords empty: a file anyone opens with every right granted by
    // the mode.
    const auto empty = dir / "vuote.pdf";
    write_document(empty, {4, "", ""});
    expect_qpdf_clean(empty);
}

TEST(ProtectedDocument, UnprotectedDocumentHasNoEncryptionNorIdentifier) {
    testsupport::TempDir dir;
    const std::string pdf = write_document(dir / "in_chiaro.pdf", {-1});
    const std::string trailer = pdf.substr(pdf.rfind("trailer"));
    EXPECT_EQ(trailer.find("/Encrypt"), std::string::npos);
    EXPECT_EQ(trailer.find("/ID"), std::string::npos);
    EXPECT_NE(pdf.find("Contratto di appalto"), std::string::npos);
}

TEST(ProtectedDocument, IdentifierKeepsTheProducerOfTheMomentOfProtection) {
    REQUIRE_TOOL("qpdf");
    REQUIRE_TOOL("pdfinfo");
    testsupport::TempDir dir;
    const auto file = dir / "producer.pdf";
    PdfWriter writer;
    writer.SetDocProperty("Titolo", "", "", "", "Primo produttore");
    writer.SetProtection(4, owner_password);
    writer.SetDocProperty("Titolo", "", "", "", "Secondo produttore");
    writer.BeginDoc(file.string());
    writer.BeginPage();
    writer.EndDoc();
    const std::string pdf = testsupport::read_file(file);
    const std::string id = pdf::encode_ascii_hex(std::string("Primo produttore2.4.4"));
    EXPECT_NE(pdf.find("/ID [<" + id + "><" + id + ">]"), std::string::npos);
    expect_qpdf_clean(file);
    EXPECT_NE(coretest::pdfinfo(file).find("Secondo produttore"), std::string::npos);
}

TEST(ProtectedDocument, ProtectionOnceObjectsAreWrittenIsRefused) {
    REQUIRE_TOOL("qpdf");
    testsupport::TempDir dir;
    // Before the first object (right after BeginDoc) protection still
    // covers the whole file.
    {
        const auto file = dir / "dopo_begindoc.pdf";
        PdfWriter writer;
        writer.BeginDoc(file.string());
        writer.SetProtection(4, owner_password);
        writer.BeginPage();
        writer.SetFont("Helvetica", 12);
        writer.DrawText(1, 1, "Testo protetto");
        writer.EndDoc();
        expect_qpdf_clean(file);
        EXPECT_NE(show_encryption(file, "").find("R = 2"), std::string::npos);
    }
    // Once an object is in the file, the call is refused and the document
    // goes on unprotected and whole.
    {
        const auto file = dir / "rifiutato.pdf";
        PdfWriter writer;
        writer.BeginDoc(file.string());
        writer.BeginPage();
        writer.SetFont("Helvetica", 12);  // writes the font object
        writer.DrawText(1, 1, "Testo in chiaro");
        coretest::expect_pdf_error([&] { writer.SetProtection(4, owner_password); }, 5, "PdfWriter.SetProtection",
                                   "protection after objects were written");
        writer.SetDocProperty("Titolo in chiaro");
        writer.EndDoc();
        expect_qpdf_clean(file);
        EXPECT_EQ(run_command("qpdf --show-encryption " + shell_quote(file.string())).out, "File is not encrypted\n");
        EXPECT_NE(testsupport::read_file(file).find("(Titolo in chiaro)"), std::string::npos);
    }
}
