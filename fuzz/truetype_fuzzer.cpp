// Font files come from anywhere: any bytes must give a font's metrics or a
// FontFileError (62 or 321), never a crash, a hang or a broken document.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include <unistd.h>

#include "pdf/PdfWriter.h"
#include "pdf/content/truetype_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    bool readable = false;
    for (auto codes : {pdf::FontCodes::WinAnsi, pdf::FontCodes::MacRoman}) {
        try {
            const pdf::TrueTypeMetrics m = pdf::read_truetype(bytes, codes);
            if ((m.flags & 36) != 4 && (m.flags & 36) != 32) __builtin_trap();
            if (m.name.find(' ') != std::string::npos) __builtin_trap();
            // AddFont reads for WinAnsi: a damage only the MacRoman codes skip
            // still refuses the font there.
            readable = readable || codes == pdf::FontCodes::WinAnsi;
        } catch (const pdf::FontFileError& error) {
            if (error.number() != 62 && error.number() != 321) __builtin_trap();
        }
    }
    if (!readable) return 0;

    // A readable font also goes the whole way through the writer: its names
    // become PDF names, its objects are written.
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("truetype_fuzz_" + std::to_string(::getpid()) + ".ttf");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    PdfWriter writer;
    writer.BeginDoc("/dev/null");
    const std::string alias = writer.AddFont(file.string());
    if (alias.empty() || writer.ErrNumber() != 0) __builtin_trap();
    writer.BeginPage();
    writer.SetFont(alias, 12);
    writer.DrawText(10, 20, "Prova \x80 \x93x\x94");
    writer.Abort();
    return 0;
}
