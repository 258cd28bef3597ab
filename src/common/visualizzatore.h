// The desktop's document viewer: the opener program that the writer's
// OpenDoc starts ("xdg-open"), looked up the way the start will look it up.
#pragma once

#include <filesystem>
#include <string>

inline constexpr const char* PROGRAMMA_APERTURA = "xdg-open";

// The opener's path when an executable file of that name lies in a folder
// of PATH; empty otherwise (then nothing could show a document).
std::filesystem::path trova_apertura();

// What the user is told (Windows-1252) when a document was written but no
// program can show it: where the file is, and that nothing opened it.
std::string messaggio_senza_visualizzatore(const std::filesystem::path& file);
