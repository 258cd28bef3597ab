// The works contract for a building with a single owner.
#pragma once

#include <filesystem>

// This document is not available: tells the user so and returns false,
// writing nothing.
bool genera_contratto_proprietari(const std::filesystem::path& nome_file, bool apri_pdf);
