// Any bytes as a PDF file whose pages are imported into a protected
// document: ImportPage imports or refuses (PdfError 62 or 321, nothing
// written), and what it writes is a file qpdf --check finds no error in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "pdf/PdfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string stem =
        (std::filesystem::temp_directory_path() / ("page_import_fuzz_" + std::to_string(::getpid()))).string();
    const std::string source = stem + "_in.pdf", output = stem + "_out.pdf";
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    bool imported = false;
    {
        PdfWriter writer;
        writer.SetProtection(4, "dezarezozidu", "");
        writer.BeginDoc(output);
        const std::int32_t pages = writer.GetInfo(source);
        for (std::int32_t page = 1; page <= pages && page <= 3; ++page) {
            writer.BeginPage();
            const std::int32_t before = writer.FileSize();
            try {
                writer.ImportPage(source, page, 10, 10, 200);
                imported = true;
            } catch (const PdfError& error) {
                if (error.number() != 62 && error.number() != 321) __builtin_trap();
                if (writer.FileSize() != before) __builtin_trap();
            }
        }
        writer.EndDoc();
    }
    // qpdf: exit 2 means errors (a warning, 3, may come from damaged stream
    // data copied as it stands).
    if (imported) {
        const int status = std::system(("qpdf --check " + output + " >/dev/null 2>&1").c_str());
        if (WIFEXITED(status) && WEXITSTATUS(status) == 2) __builtin_trap();
    }
    return 0;
}
