// For targets whose code reads a named file: the input's bytes written to a
// file of this process in the temporary directory, replaced at each input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

inline std::filesystem::path fuzz_input_file(const std::string& stem, const std::uint8_t* data, std::size_t size) {
    const auto file = std::filesystem::temp_directory_path() / (stem + "_" + std::to_string(::getpid()) + ".dat");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
}
