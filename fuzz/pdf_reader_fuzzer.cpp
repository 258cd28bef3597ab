// Any bytes as a PDF file: GetInfo reads it or refuses it with 53, 62 or 321,
// never crashes, hangs or grows without bound; a refused file is not kept.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "pdf/PdfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("pdf_reader_fuzz_" + std::to_string(::getpid()) + ".pdf");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    PdfWriter writer;
    std::string title, subject, author;
    bool encrypted = false;
    const std::int32_t pages = writer.GetInfo(file.string(), title, subject, author, encrypted);
    const std::int32_t error = writer.ErrNumber();
    if (error != 0 && error != 62 && error != 321) __builtin_trap();
    if (error != 0 && pages != 0) __builtin_trap();
    if (encrypted && error != 321) __builtin_trap();
    // A second call answers the same from the list (or reads it again).
    if (writer.GetInfo(file.string()) != pages) __builtin_trap();
    return 0;
}
